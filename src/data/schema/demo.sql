-- =====================================================================================================
-- Demo account set "上海青禾商贸有限公司": base data, prices, stock and stored bills in which every
-- sales rule can be reached. Today is taken as 2026-12-05; the account set started in period
-- 2026/11 and the current period is 2026/12.
--
-- Important IDs (tests and scenarios rely on them; numbers are what a user types)
--
-- Users (t_User)
--   1 admin    系统管理员  administrator: every right
--   2 wangxm   王小明      salesperson: no price (group 15), cost (15/900) or invoice-amount (15/2010)
--                          rights; may query orders, logistics, print, offset advance receipts,
--                          see balances, issue invoices
--   3 lili     李丽        sales manager: all rights of groups 11, 12 and 15, balance, invoicing;
--                          checks duplicate items on entry (user profile Base/CheckDuplicateItem)
--   4 sunq     孙强        warehouse clerk: no balance right, no purchase query; stock data
--                          authorisation on (class list "5"): cannot see stock CK04
-- Customers (t_Organization; type = t_ClientType, term = t_SetDl)
--   1001 C001 上海联华超市    type 01 (ratio 100, level column FXSPrice1), term SK01 (30 days),
--                             balance 6930.54 / credit 100000, first contact 张伟 + contact 李娜,
--                             agreement prices for I002 (箱 30, 瓶 1.4, customer codes KH-SW-X/-P),
--                             last prices (I002 in 箱, I013 25 at 95 %)
--   1002 C002 北京华联商厦    type 03 (ratio 90, FXSPrice3: I001 11.00), term SK02 (monthly, day 31),
--                             balance 48500 / credit 50000 (a bill above 1500 exceeds the limit),
--                             the only customer of the customer-limited promotion CX000003
--   1003 C003 杭州西湖贸易    type 02 (ratio 95, FXSPrice2), term SK04 (cash), no credit limit,
--                             no contacts (a new contact becomes the first), no tax number
--   1004 C004 南京金陵百货    type 04 (ratio 85, FXSPrice4), term SK03 (monthly day 15, 5 days before)
--   1005 C005 苏州散客        no type, no payment term
--   1006 C006 天津滨海商贸    two contacts named 王强 (contact write-back refused); an overdue
--                             receivable (XSD000008, due 2026-12-02), credit 5000
--   1000 / 1100 customer groups 华东区 / 华北区 (FDetail 0)
-- Suppliers (t_Supplier)  2001 S001 美的暖通, 2002 S002 百货批发, 2003 S003 东北粮油
-- Departments 301 D01 销售一部 .. 305 D05 仓储部; employees 401 E001 王小明 (D01), 402 E002 李丽
--   (D02), 403 E003 赵刚 (D03, buyer), 404 E004 陈静 (D04), 405 E005 孙强 (D05)
-- Stocks (t_Stock)  601 CK01 主仓库, 602 CK02 北京仓, 603 CK03 赠品仓 (type 502: gift/virtual),
--   604 CK04 门店仓 (visible to users 1 and 3 only)
-- Units (t_MeasureUnit) 11 个, 12 瓶, 13 提, 14 箱, 15 袋, 16 公斤, 17 吨, 18 支, 19 捆, 20 过磅吨,
--   21 盒, 22 包, 23 桶, 24 件, 25 台
-- Items (t_ICItem)
--   101 I001 不锈钢保温杯   plain; default unit 个; standard price 12.50 (C001 gets 12.50, C002 the level
--                           price 11.00, C003 12.00, C004 10.50); default stock CK01
--   102 I002 矿泉水         units 瓶 (1, main), 提 (6), 箱 (24), no default unit; barcodes; composite
--                           quantities ("20箱"); agreement prices of C001; latest price of C001 in 箱
--   103 I003 东北大米       secondary unit 公斤 (0.04 袋 per kg, fixed conversion 1078); tax 9 %;
--                           purchase price from the supplier's last price (S003 98.00)
--   104 I004 螺纹钢         weight-calculated (FIsGC 1): base 吨, 支 (0.0288, barcode entry 2, default),
--                           捆 (2.88); secondary unit 过磅吨 (floating 1079); calculation types 1-3
--   105 I005 角钢           weight-calculated through FIsGC Null (read as set)
--   106 I006 原味酸奶       batch + shelf life 21 days, costing 0: batches B20261101 (expired
--                           2026-11-22), B20261120 (expires 2026-12-11), B20261201; opening batch
--                           B20261025
--   107 I007 干红葡萄酒     batch-managed, costing 80 (batch-specific): batches W2025A and LOT'A1
--   108 I008 笔记本电脑     serial-managed: SN-LT-0002..0006 received by GHD000001 row 2, the sample
--                           SN-LT-0001 by row 3; 0001/0002 sold by XSD000001, 0003 on the unaudited
--                           XSD000002
--   109 I009 纯棉T恤        auxiliary attributes 51 红色 L码, 52 蓝色 M码, 53 白色 XL码
--   110 I010 乳胶漆         auxiliary attributes 54/55 + batch, costing 0: batch Q20261015 under both
--                           attributes
--   111 I011 全麦面包       automatic batch numbers (rule MB, 3 digits, current serial 5), shelf life 3
--   112 I012 签字笔         no sales price; profit rate 0.25 and cost 8.00 -> cost-plus price 10.00
--   113 I013 A4复印纸       no sales price: C001's last price 25.00 at discount 95
--   114 I014 硒鼓           only the latest sales price 88.00
--   115 I015 洗衣液         standard 30.00; promotions CX000001 26.00 and CX000002 27.00 (all
--                           customers, the newer wins: 27.00), CX000003 25.00 (C002 only), expired
--                           CX000004 20.00, branch-shop CX000005 19.00
--   116 I016 环保购物袋     lives in the gift stock CK03 (its default stock); no own tax rate (general
--                           13 %) and no tax category
--   117 I017 空调           direct delivery: SO XSDD000007 (C004) -> PO CGDD000001 -> GHD000001
-- Stored bills
--   t_XS_Order  1 XSDD000001 C001 audited (row 1 I001 100, 40 delivered; row 2 I002 20 箱, no
--               composite text yet); 2 XSDD000002 C002 not audited; 3 XSDD000003 closed;
--               4 XSDD000004 audited and fully delivered; 5 XSDD000005 online order (3032);
--               6 XSDD000006 rejected; 7 XSDD000007 C004 audited, source of the purchase order
--   t_cg_Order  1 CGDD000001 audited, received; 2 CGDD000002 audited (I001 200 and I009/51 50 on
--               order); 3 CGDD000003 not audited
--   t_cc_stockbill
--       1 GHD000001   purchase bill 2012, audited: I017 5 (from CGDD000001), I008 5 + 1 sample,
--                     with serials
--       2 XSD000001   sales delivery 3001 C001, audited, from XSDD000001: I001 40 (35 still
--                     returnable), I006 B20261120 10, I008 2 (SN 0001/0002); receipt SK000001,
--                     invoice FP000001 (I001 20), logistics WL000001, rebate FL000001
--       3 XSD000002   sales delivery C002, not audited: I015 5, I008 1 (SN 0003)
--       4 WTD000001   consignment 3010 C004, audited: I001 50 (30 unsettled), I007 W2025A 12
--       5 XSD000003   consignment settlement 3003 C004, audited, from WTD000001 (taken over by
--                     receivables HX000001)
--       6 XSD000004   sales return 3002 C001, audited, from XSD000001
--       7 WTD000002   consignment 3010 C001, not audited
--       8 QCWT000001  opening consignment bill C002, audited (dated 2026-10-31)
--       9 QCWT000002  opening consignment bill C001 in the gift stock, not audited
--      10 QCGH000001  opening supplier bill 2030 S003, not audited
--      11 XSD000005   sales delivery C001, not audited, rejected
--      12 XSD000006   sales delivery C003 made from an online order: serial item without serials
--                     (reported once IC/CKSerialNum is 1), batch item without batch
--      13 XSD000007   sales delivery C002, not audited: weight-calculated I004 100 支, type 1
--      14 QCGH000002  opening supplier bill 2030 S002, audited
--      15 XSD000008   sales delivery C006, audited, unpaid, due 2026-12-02 (overdue)
--   t_cc_Change 1 XSH000001 exchange C001 (grid 1 I009/52 out, grid 2 I009/51 back);
--               2 XSH000002 rejected; 3 XSH000003 audited
--   T_LS_CX     1..5 audited special-price bills (published in t_LS_ItemPrice), 6 CX000006 not
--               audited
-- =====================================================================================================

-- -----------------------------------------------------------------------------------------------------
-- Host: users, rights, profiles, components, numbering, bill classes and kinds
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_User (FUserID, FNumber, FName, FIsAdmin, FEmpID, FNeedAuthorize, FAuthItemClassList) VALUES
    (1, 'admin',  N'系统管理员', 1, 0,   0, ''),
    (2, 'wangxm', N'王小明',     0, 401, 0, ''),
    (3, 'lili',   N'李丽',       0, 402, 0, ''),
    (4, 'sunq',   N'孙强',       0, 405, 1, '5')
GO

-- FObjectID 0 grants the bits on every object of the group.
INSERT INTO t_AccessRight (FUserID, FGroupID, FObjectID, FRights) VALUES
    (2, 11, 200, 1),
    (2, 12, 100, 1),
    (2, 12, 200, 64),
    (2, 12, 500, 1),
    (2, 14, 300, 2),
    (2, 33, 300, 32),
    (2, 40, 100, 1024),
    (3, 11, 0, 2147483647),
    (3, 12, 0, 2147483647),
    (3, 14, 300, 6),
    (3, 15, 0, 2147483647),
    (3, 33, 300, 32),
    (3, 40, 100, 1024),
    (4, 12, 100, 1),
    (4, 12, 200, 64)
GO

INSERT INTO t_UserProfile (FUserID, FSection, FKey, FValue) VALUES
    (0, 'Base', 'TZESaleName',     N'上海青禾商贸有限公司'),
    (0, 'Base', 'TZESaleTaxID',    '913101157030012345'),
    (0, 'Base', 'TZESaleAddress',  N'上海市浦东新区锦绣路1000号 021-68880000'),
    (0, 'Base', 'TZESaleBankInfo', N'中国工商银行上海浦东支行 1001234567890123456'),
    (1, 'XS1030002', 'InvoiceType', '2020'),
    (1, 'SaleListInterface', 'LogicMultiToOne', '0'),
    (2, 'XS1030002', 'InvoiceType', '2021'),
    (3, 'Base', 'CheckDuplicateItem', '1')
GO

INSERT INTO t_ComponentRegistry (FProgID, FCLSID, FLibraryPath, FDescription) VALUES
    ('ZOV_XS_PlugIns.BillEvent_Sale',        '{68F003F6-5FF5-45D1-A419-539071E56F8D}', 'libZOV_XS_PlugIns.so', N'销售单'),
    ('ZOV_XS_PlugIns.BillEvent_SaleChange',  '{65D5A219-6CCE-41BC-A37B-E478729F6292}', 'libZOV_XS_PlugIns.so', N'销售换货单'),
    ('ZOV_XS_PlugIns.BillEvent_Order',       '{662A77AB-8510-4BD3-9AE2-D5BCECCB0A66}', 'libZOV_XS_PlugIns.so', N'销售订单'),
    ('ZOV_XS_PlugIns.BillEvent_Consign',     '{E567DB16-F15D-45D2-B65C-B672AEAD759E}', 'libZOV_XS_PlugIns.so', N'委托代销单'),
    ('ZOV_XS_PlugIns.BillEvent_TempConsign', '{430E93A1-FA5F-4A6C-9CF4-2FE54E7BE506}', 'libZOV_XS_PlugIns.so', N'期初委托代销单'),
    ('ZOV_XS_PlugIns.BillEvent_TempGJ',      '{F425C804-853E-4D12-8A59-9A8E6420E7D1}', 'libZOV_XS_PlugIns.so', N'期初购货单'),
    ('ZOV_XS_PlugIns.BillEvent_XSCX',        '{D04B2A54-4322-4E7E-B156-D10263EE6955}', 'libZOV_XS_PlugIns.so', N'特价单')
GO

INSERT INTO t_BillNoRule (FClassTypeID, FPrefix, FNextNumber, FWidth) VALUES
    (1020001, 'CGDD', 4, 6),
    (1020002, 'GHD',  2, 6),
    (1020004, 'QCGH', 3, 6),
    (1030001, 'XSDD', 8, 6),
    (1030002, 'XSD',  9, 6),
    (1030003, 'WTD',  3, 6),
    (1030004, 'QCWT', 3, 6),
    (1030005, 'XSH',  4, 6),
    (1030006, 'CX',   7, 6),
    (3000001, 'FP',   2, 6),
    (5001,    'SK',   2, 6),
    (5003,    'HX',   2, 6)
GO

INSERT INTO t_BillClassType (FClassTypeID, FName, FHeadTable, FEntryTable, FTemplate, FProgID) VALUES
    (1020001, N'采购订单',       't_cg_Order',     't_cg_OrderEntry',     'purchase_order', ''),
    (1020002, N'购货单',         't_cc_stockbill', 't_cc_stockbillentry', 'purchase',       ''),
    (1020004, N'期初购货单',     't_cc_stockbill', 't_cc_stockbillentry', 'temp_gj',        'ZOV_XS_PlugIns.BillEvent_TempGJ'),
    (1030001, N'销售订单',       't_XS_Order',     't_XS_OrderEntry',     'order',          'ZOV_XS_PlugIns.BillEvent_Order'),
    (1030002, N'销售单',         't_cc_stockbill', 't_cc_stockbillentry', 'sale',           'ZOV_XS_PlugIns.BillEvent_Sale'),
    (1030003, N'委托代销单',     't_cc_stockbill', 't_cc_stockbillentry', 'consign',        'ZOV_XS_PlugIns.BillEvent_Consign'),
    (1030004, N'期初委托代销单', 't_cc_stockbill', 't_cc_stockbillentry', 'temp_consign',   'ZOV_XS_PlugIns.BillEvent_TempConsign'),
    (1030005, N'销售换货单',     't_cc_Change',    't_cc_ChangeEntry',    'sale_change',    'ZOV_XS_PlugIns.BillEvent_SaleChange'),
    (1030006, N'特价单',         'T_LS_CX',        'T_LS_CXEntry',        'xscx',           'ZOV_XS_PlugIns.BillEvent_XSCX'),
    (3000001, N'销售发票',       't_Invoice',      't_InvoiceEntry',      'invoice',        ''),
    (5001,    N'收款单',         't_RP_RBill',     '',                    'receipt',        ''),
    (5003,    N'核销单',         't_RP_CheckBill', 't_RP_CheckBillEntry1','write_off',      '')
GO

INSERT INTO t_BaseBillTypeData (FID, FNumber, FName, FClassTypeID) VALUES
    (2011, '2011', N'采购订单',     1020001),
    (2012, '2012', N'购货',         1020002),
    (2013, '2013', N'购货退货',     1020002),
    (2030, '2030', N'期初购货',     1020004),
    (2031, '2031', N'受托入库',     1020002),
    (2042, '2042', N'期初暂估入库', 1020004),
    (3001, '3001', N'销售发货',     1030002),
    (3002, '3002', N'销售退货',     1030002),
    (3003, '3003', N'委托结算',     1030002),
    (3004, '3004', N'委托结算退货', 1030002),
    (3005, '3005', N'销售换货',     1030005),
    (3010, '3010', N'委托代销',     1030003),
    (3011, '3011', N'委托退货',     1030003),
    (3020, '3020', N'期初委托代销', 1030004),
    (3031, '3031', N'销售订单',     1030001),
    (3032, '3032', N'网上订单',     1030001),
    (5024, '5024', N'应收转移',     5003),
    (5025, '5025', N'预收冲应收',   5003)
GO

-- Fields of the special-price bill template that the plug-in reads by FID.
INSERT INTO ICClassTableInfo (FID, FClassTypeID, FKey, FFieldName, FTableName, FCaption, FPage, FVisible) VALUES
    (103000601, 1030006, 'FBillNo',         'FBillNo',         'T_LS_CX',      N'单据编号', 1, 208),
    (103000602, 1030006, 'FDate',           'FDate',           'T_LS_CX',      N'日期',     1, 208),
    (103000603, 1030006, 'FCustomer',       'FCustomer',       'T_LS_CX',      N'客户',     1, 208),
    (103000604, 1030006, 'FBeginDate',      'FBeginDate',      'T_LS_CX',      N'开始日期', 1, 208),
    (103000605, 1030006, 'FEndDate',        'FEndDate',        'T_LS_CX',      N'结束日期', 1, 208),
    (103000606, 1030006, 'FBeginTime',      'FBeginTime',      'T_LS_CX',      N'开始时间', 1, 208),
    (103000607, 1030006, 'FEndTime',        'FEndTime',        'T_LS_CX',      N'结束时间', 1, 208),
    (103000608, 1030006, 'FPriceType',      'FPriceType',      'T_LS_CX',      N'价格类型', 1, 208),
    (103000609, 1030006, 'FEmpId',          'FEmpId',          'T_LS_CX',      N'业务员',   1, 208),
    (103000610, 1030006, 'FDeptID',         'FDeptID',         'T_LS_CX',      N'部门',     1, 208),
    (103000611, 1030006, 'FItemID',         'FItemID',         'T_LS_CXEntry', N'商品',     2, 208),
    (103000612, 1030006, 'FShowUnitID',     'FShowUnitID',     'T_LS_CXEntry', N'单位',     2, 208),
    (103000613, 1030006, 'FOldPrice',       'FOldPrice',       'T_LS_CXEntry', N'原价',     2, 208),
    (103000614, 1030006, 'FNewPrice',       'FNewPrice',       'T_LS_CXEntry', N'特价',     2, 208),
    (103000615, 1030006, 'FDifferPrice',    'FDifferPrice',    'T_LS_CXEntry', N'差价',     2, 208),
    (103000616, 1030006, 'FDiscountRate',   'FDiscountRate',   'T_LS_CXEntry', N'折扣率%',  2, 208),
    (103000617, 1030006, 'FTotalLimitQty',  'FTotalLimitQty',  'T_LS_CXEntry', N'总限量',   2, 208),
    (103000618, 1030006, 'FSingleLimitQty', 'FSingleLimitQty', 'T_LS_CXEntry', N'每单限量', 2, 208)
GO

-- -----------------------------------------------------------------------------------------------------
-- System profile and periods
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FDescription) VALUES
    ('IC', 'StartYear',                '2026', N'启用年度'),
    ('IC', 'StartPeriod',              '11',   N'启用期间'),
    ('IC', 'CurrentYear',              '2026', N'当前年度'),
    ('IC', 'CurrentPeriod',            '12',   N'当前期间'),
    ('IC', 'InitClosed',               '1',    N'期初已结束'),
    ('IC', 'IndustryType',             '0',    N'行业类型(1 钢材等按重量计算)'),
    ('IC', 'AppType',                  '2',    N'应用类型'),
    ('IC', 'QuantityDigitCount',       '2',    N'数量小数位数'),
    ('IC', 'StockOutCalCost',          '1',    N'出库计算成本'),
    ('IC', 'IsExpSourceToTarget',      '0',    N'摘要由源单生成'),
    ('IC', 'CKSerialNum',              '0',    N'检查序列号数量'),
    ('IC', 'AllowDiscountRateOver100', '0',    N'允许折扣率大于100'),
    ('IC', 'UpdateRelaxAddrInSale',    '1',    N'销售单据反写联系人'),
    ('IC', 'UnderStockBeforeSave',     '1',    N'保存前检查库存'),
    ('IC', 'IsPeriodDateExpireNotSale','0',    N'过有效期不允许销售'),
    ('IC', 'XSPriceLimitType',         '0',    N'限价比较(1 折后价)'),
    ('IC', 'ControlPoint',             '0',    N'信用控制点(0 保存时)'),
    ('IC', 'IsSaleForIncludeTaxPrice', '0',    N'按含税价取价'),
    ('IC', 'AllowWriteQty',            '0',    N'批号带出数量可修改'),
    ('IC', 'IsUsePrevStockForBill',    '1',    N'新行沿用仓库'),
    ('IC', 'SaveBeforePrint',          '0',    N'打印前先保存'),
    ('GL', 'Closed',                   '1',    N'总账已结账'),
    ('GL', 'InitClosed',               '0',    N'总账初始化结束'),
    ('General', 'TaxRate',             '13',   N'默认税率%'),
    ('General', 'GLAndJXCUnite',       '0',    N'业务财务一体化'),
    ('Base', 'TZESaleName',            N'上海青禾商贸有限公司', N'开票方名称'),
    ('Base', 'TZESaleTaxID',           '913101157030012345',   N'开票方税号'),
    ('Base', 'TZESaleAddress',         N'上海市浦东新区锦绣路1000号 021-68880000', N'开票方地址电话'),
    ('Base', 'TZESaleBankInfo',        N'中国工商银行上海浦东支行 1001234567890123456', N'开票方开户行及账号')
GO

INSERT INTO t_PeriodDate (FYear, FPeriod, FStartDate, FEndDate) VALUES
    (2026, 1,  '2026-01-01', '2026-01-31'),
    (2026, 2,  '2026-02-01', '2026-02-28'),
    (2026, 3,  '2026-03-01', '2026-03-31'),
    (2026, 4,  '2026-04-01', '2026-04-30'),
    (2026, 5,  '2026-05-01', '2026-05-31'),
    (2026, 6,  '2026-06-01', '2026-06-30'),
    (2026, 7,  '2026-07-01', '2026-07-31'),
    (2026, 8,  '2026-08-01', '2026-08-31'),
    (2026, 9,  '2026-09-01', '2026-09-30'),
    (2026, 10, '2026-10-01', '2026-10-31'),
    (2026, 11, '2026-11-01', '2026-11-30'),
    (2026, 12, '2026-12-01', '2026-12-31')
GO

-- -----------------------------------------------------------------------------------------------------
-- Base data
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FFullNumber, FParentID, FLevel, FDetail) VALUES
    (1000, 1, '01',   N'华东区',               '01',   0,    1, 0),
    (1100, 1, '02',   N'华北区',               '02',   0,    1, 0),
    (1001, 1, 'C001', N'上海联华超市有限公司', 'C001', 1000, 2, 1),
    (1002, 1, 'C002', N'北京华联商厦股份有限公司', 'C002', 1100, 2, 1),
    (1003, 1, 'C003', N'杭州西湖贸易有限公司', 'C003', 1000, 2, 1),
    (1004, 1, 'C004', N'南京金陵百货有限公司', 'C004', 1000, 2, 1),
    (1005, 1, 'C005', N'苏州零售散客',         'C005', 1000, 2, 1),
    (1006, 1, 'C006', N'天津滨海商贸有限公司', 'C006', 1100, 2, 1),
    (301, 2, 'D01', N'销售一部', 'D01', 0, 1, 1),
    (302, 2, 'D02', N'销售二部', 'D02', 0, 1, 1),
    (303, 2, 'D03', N'采购部',   'D03', 0, 1, 1),
    (304, 2, 'D04', N'财务部',   'D04', 0, 1, 1),
    (305, 2, 'D05', N'仓储部',   'D05', 0, 1, 1),
    (401, 3, 'E001', N'王小明', 'E001', 0, 1, 1),
    (402, 3, 'E002', N'李丽',   'E002', 0, 1, 1),
    (403, 3, 'E003', N'赵刚',   'E003', 0, 1, 1),
    (404, 3, 'E004', N'陈静',   'E004', 0, 1, 1),
    (405, 3, 'E005', N'孙强',   'E005', 0, 1, 1),
    (101, 4, 'I001', N'不锈钢保温杯', 'I001', 0, 1, 1),
    (102, 4, 'I002', N'矿泉水',       'I002', 0, 1, 1),
    (103, 4, 'I003', N'东北大米',     'I003', 0, 1, 1),
    (104, 4, 'I004', N'螺纹钢',       'I004', 0, 1, 1),
    (105, 4, 'I005', N'角钢',         'I005', 0, 1, 1),
    (106, 4, 'I006', N'原味酸奶',     'I006', 0, 1, 1),
    (107, 4, 'I007', N'干红葡萄酒',   'I007', 0, 1, 1),
    (108, 4, 'I008', N'笔记本电脑',   'I008', 0, 1, 1),
    (109, 4, 'I009', N'纯棉T恤',      'I009', 0, 1, 1),
    (110, 4, 'I010', N'乳胶漆',       'I010', 0, 1, 1),
    (111, 4, 'I011', N'全麦面包',     'I011', 0, 1, 1),
    (112, 4, 'I012', N'签字笔',       'I012', 0, 1, 1),
    (113, 4, 'I013', N'A4复印纸',     'I013', 0, 1, 1),
    (114, 4, 'I014', N'激光打印机硒鼓', 'I014', 0, 1, 1),
    (115, 4, 'I015', N'洗衣液',       'I015', 0, 1, 1),
    (116, 4, 'I016', N'环保购物袋',   'I016', 0, 1, 1),
    (117, 4, 'I017', N'空调',         'I017', 0, 1, 1),
    (601, 5, 'CK01', N'主仓库', 'CK01', 0, 1, 1),
    (602, 5, 'CK02', N'北京仓', 'CK02', 0, 1, 1),
    (603, 5, 'CK03', N'赠品仓', 'CK03', 0, 1, 1),
    (604, 5, 'CK04', N'门店仓', 'CK04', 0, 1, 1),
    (11, 7, 'U01', N'个',     'U01', 0, 1, 1),
    (12, 7, 'U02', N'瓶',     'U02', 0, 1, 1),
    (13, 7, 'U03', N'提',     'U03', 0, 1, 1),
    (14, 7, 'U04', N'箱',     'U04', 0, 1, 1),
    (15, 7, 'U05', N'袋',     'U05', 0, 1, 1),
    (16, 7, 'U06', N'公斤',   'U06', 0, 1, 1),
    (17, 7, 'U07', N'吨',     'U07', 0, 1, 1),
    (18, 7, 'U08', N'支',     'U08', 0, 1, 1),
    (19, 7, 'U09', N'捆',     'U09', 0, 1, 1),
    (20, 7, 'U10', N'过磅吨', 'U10', 0, 1, 1),
    (21, 7, 'U11', N'盒',     'U11', 0, 1, 1),
    (22, 7, 'U12', N'包',     'U12', 0, 1, 1),
    (23, 7, 'U13', N'桶',     'U13', 0, 1, 1),
    (24, 7, 'U14', N'件',     'U14', 0, 1, 1),
    (25, 7, 'U15', N'台',     'U15', 0, 1, 1),
    (2001, 8, 'S001', N'广东美的暖通设备有限公司', 'S001', 0, 1, 1),
    (2002, 8, 'S002', N'上海百货批发有限公司',     'S002', 0, 1, 1),
    (2003, 8, 'S003', N'东北粮油贸易有限公司',     'S003', 0, 1, 1)
GO

INSERT INTO t_ClientType (FItemID, FNumber, FName, FAgioRatio) VALUES
    (71, '01', N'普通客户', 100),
    (72, '02', N'VIP客户',  95),
    (73, '03', N'批发客户', 90),
    (74, '04', N'代理商',   85)
GO

INSERT INTO t_SetDl (FItemID, FNumber, FName, FType, FStandDays, FMonthPayDay, FBeforeDays) VALUES
    (81, 'SK01', N'货到30天付款',          1, 30, 0,  0),
    (82, 'SK02', N'月结(每月31日)',        2, 0,  31, 0),
    (83, 'SK03', N'月结(每月15日,提前5天)', 2, 0,  15, 5),
    (84, 'SK04', N'现款现货',              1, 0,  0,  0)
GO

INSERT INTO t_SettleAcct (FItemID, FNumber, FName, FBankAccount) VALUES
    (1, '1001',    N'现金',           ''),
    (2, '1002.01', N'工商银行基本户', '1001234567890123456'),
    (3, '1002.02', N'建设银行一般户', '31001234567890000088')
GO

INSERT INTO t_Settle (FItemID, FNumber, FName, FAcctID) VALUES
    (91, '01', N'现金',     1),
    (92, '02', N'电汇',     2),
    (93, '03', N'转账支票', 3)
GO

INSERT INTO t_account (FAccountID, FNumber, FName, FQuantities, FCurrencyID) VALUES
    (6603,   '6603.03', N'财务费用-现金折扣', 0, 0),
    (6601,   '6601.01', N'销售费用-销售折让', 0, 0),
    (1405,   '1405',    N'库存商品',          1, 0),
    (100203, '1002.03', N'银行存款-美元户',   0, 2)
GO

INSERT INTO t_SubMessage (FID, FTypeID, FNumber, FName, FItemID) VALUES
    (2020, 20, '2020', N'增值税专用发票', 0),
    (2021, 20, '2021', N'增值税普通发票', 0),
    (2030, 20, '2030', N'普通收据',       0),
    (1,    22, 'B01',  N'中国工商银行上海浦东支行', 0),
    (2,    22, 'B02',  N'中国建设银行北京西单支行', 0),
    (3,    22, 'B03',  N'招商银行南京分行',         0),
    (31,   30, '01',   N'送货上门', 0),
    (32,   30, '02',   N'客户自提', 0),
    (33,   30, '03',   N'快递物流', 0),
    (661,  66, 'A01',  N'上海市闵行区莘庄工业区申富路88号 仓库收', 1001),
    (662,  66, 'A02',  N'北京市大兴区亦庄经济开发区科创街9号',     1002)
GO

INSERT INTO t_Department (FItemID, FNumber, FName, FManager) VALUES
    (301, 'D01', N'销售一部', 401),
    (302, 'D02', N'销售二部', 402),
    (303, 'D03', N'采购部',   403),
    (304, 'D04', N'财务部',   404),
    (305, 'D05', N'仓储部',   405)
GO

INSERT INTO t_Emp (FItemID, FNumber, FName, FDepartmentID, FPhone) VALUES
    (401, 'E001', N'王小明', 301, '13800001001'),
    (402, 'E002', N'李丽',   302, '13800001002'),
    (403, 'E003', N'赵刚',   303, '13800001003'),
    (404, 'E004', N'陈静',   304, '13800001004'),
    (405, 'E005', N'孙强',   305, '13800001005')
GO

INSERT INTO t_Organization (FItemID, FNumber, FName, FShortName, FParentID, FTypeID, FIntent, FPayMentTime,
                            FDefaultOperator, FCurComeGoBalance, FCreditAmount, FTaxNum, FAddress, FDeliverAddr,
                            FCompanyPhone, FPhone, FMobilePhone, FFax, FEmail, FBankID, FBankAccount) VALUES
    (1001, 'C001', N'上海联华超市有限公司', N'联华超市', 1000, 71, 1, 81, 401, 6930.54, 100000,
     '91310000132200821H', N'上海市浦东新区张杨路500号', N'上海市浦东新区张杨路500号 收货部',
     '021-58880000', '021-58880001', '13900000001', '021-58880009', 'purchase@lianhua.example', 1, '1001200019000012345'),
    (1002, 'C002', N'北京华联商厦股份有限公司', N'华联商厦', 1100, 73, 2, 82, 402, 48500, 50000,
     '91110000101100998X', N'北京市西城区西单北大街120号', N'北京市大兴区亦庄经济开发区科创街9号',
     '010-66010000', '010-66010001', '13900000002', '', '', 2, '11001018800053000888'),
    (1003, 'C003', N'杭州西湖贸易有限公司', N'西湖贸易', 1000, 72, 3, 84, 401, 0, 0,
     '', N'杭州市西湖区文三路90号', N'杭州市西湖区文三路90号', '', '0571-88880003', '13900000003', '', '', 0, ''),
    (1004, 'C004', N'南京金陵百货有限公司', N'金陵百货', 1000, 74, 4, 83, 402, 1922.13, 20000,
     '91320100134900555K', N'南京市秦淮区中山南路1号', N'南京市秦淮区中山南路1号 B1卸货区',
     '025-84500000', '025-84500001', '13900000004', '', '', 3, '125900000010888'),
    (1005, 'C005', N'苏州零售散客', N'散客', 1000, 0, 5, 0, 0, 0, 0,
     '', '', '', '', '', '', '', '', 0, ''),
    (1006, 'C006', N'天津滨海商贸有限公司', N'滨海商贸', 1100, 71, 6, 81, 402, 180.8, 5000,
     '91120116MA05K1234Q', N'天津市滨海新区第二大街66号', N'天津市滨海新区第二大街66号',
     '022-25320000', '022-25320001', '', '', '', 0, '')
GO

INSERT INTO t_Contact (FID, FItemID, FContact, FIsFirst, FAddress, FPhone, FMobilePhone, FEmail, FPosition, FDeptName) VALUES
    (1, 1001, N'张伟', 1, N'上海市浦东新区张杨路500号',   '021-58880001', '13900000011', 'zhangwei@lianhua.example', N'采购经理', N'采购部'),
    (2, 1001, N'李娜', 0, N'上海市浦东新区世纪大道100号', '021-58880002', '13900000012', '', N'仓库主管', N'物流部'),
    (3, 1002, N'刘洋', 1, N'北京市西城区西单北大街120号', '010-66010001', '13900000021', '', N'采购', N'采购部'),
    (4, 1004, N'周敏', 1, N'南京市秦淮区中山南路1号',     '025-84500001', '13900000041', '', N'店长', ''),
    (5, 1006, N'王强', 1, N'天津市滨海新区第二大街66号',  '022-25320001', '13900000061', '', N'采购', N'采购部'),
    (6, 1006, N'王强', 0, N'天津市滨海新区塘沽港路1号',   '022-25320002', '13900000062', '', N'仓管', N'仓储部')
GO

INSERT INTO t_Supplier (FItemID, FNumber, FName, FDefaultOperator, FTaxNum, FAddress, FPhone) VALUES
    (2001, 'S001', N'广东美的暖通设备有限公司', 403, '91440606MA4UH1234A', N'佛山市顺德区北滘镇美的大道6号', '0757-26330000'),
    (2002, 'S002', N'上海百货批发有限公司',     403, '91310101607200456B', N'上海市黄浦区南京东路200号',     '021-63210000'),
    (2003, 'S003', N'东北粮油贸易有限公司',     403, '91220101MA14X7890C', N'长春市朝阳区人民大街3000号',    '0431-85600000')
GO

INSERT INTO t_Stock (FItemID, FNumber, FName, FTypeID, FRightUserID, FAddress) VALUES
    (601, 'CK01', N'主仓库', 500, ',1,2,3,4,', N'上海市浦东新区川沙路1号'),
    (602, 'CK02', N'北京仓', 500, ',1,2,3,4,', N'北京市大兴区亦庄'),
    (603, 'CK03', N'赠品仓', 502, ',1,2,3,4,', N'上海市浦东新区川沙路1号'),
    (604, 'CK04', N'门店仓', 500, ',1,3,',     N'上海市浦东新区锦绣路1000号')
GO

INSERT INTO t_MeasureUnit (FItemID, FNumber, FName) VALUES
    (11, 'U01', N'个'), (12, 'U02', N'瓶'), (13, 'U03', N'提'), (14, 'U04', N'箱'), (15, 'U05', N'袋'),
    (16, 'U06', N'公斤'), (17, 'U07', N'吨'), (18, 'U08', N'支'), (19, 'U09', N'捆'), (20, 'U10', N'过磅吨'),
    (21, 'U11', N'盒'), (22, 'U12', N'包'), (23, 'U13', N'桶'), (24, 'U14', N'件'), (25, 'U15', N'台')
GO

INSERT INTO t_CalType (FItemID, FNumber, FName) VALUES
    (1, '01', N'理算'),
    (2, '02', N'计件'),
    (3, '03', N'过磅')
GO

INSERT INTO t_AuxItem (FItemID, FItemClassID, FNumber, FName) VALUES
    (51, 1, 'RED-L',    N'红色 L码'),
    (52, 1, 'BLUE-M',   N'蓝色 M码'),
    (53, 1, 'WHITE-XL', N'白色 XL码'),
    (54, 2, 'W01',      N'象牙白'),
    (55, 2, 'Y01',      N'米黄')
GO

INSERT INTO t_ICItem (FItemID, FNumber, FName, FModel, FUnitID, FSecUnitID, FSecCoefficient, FConverMethod, FIsGC,
                      FISAuxi, FTrack, FISBatchManager, FISKFPeriod, FKFPeriod, FAutoGenBatchNo, FIsSerialNumMgr,
                      FTaxRate, FProfitRate, FDefaultLoc, FTaxCategoryCode, FTaxCategoryName) VALUES
    (101, 'I001', N'不锈钢保温杯',   '500ml',            11, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    601, '1070223990000000000', N'金属制品'),
    (102, 'I002', N'矿泉水',         '550ml',            12, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1030307020000000000', N'饮用水'),
    (103, 'I003', N'东北大米',       '25kg',             15, 16, 0.04, 1078, 0,    0, 0,  0, 0, 0,  0, 0, 0.09, 0,    0,   '1010101010000000000', N'谷物'),
    (104, 'I004', N'螺纹钢',         'HRB400 Φ20',       17, 20, 1,    1079, 1,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1080201010000000000', N'钢材'),
    (105, 'I005', N'角钢',           '50×5',             17, 0,  0,    0,    NULL, 0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1080201020000000000', N'钢材'),
    (106, 'I006', N'原味酸奶',       '200g',             21, 0,  0,    0,    0,    0, 0,  1, 1, 21, 0, 0, 0.13, 0,    0,   '1030201010000000000', N'乳制品'),
    (107, 'I007', N'干红葡萄酒',     '750ml',            12, 0,  0,    0,    0,    0, 80, 1, 0, 0,  0, 0, 0.13, 0,    0,   '1030402010000000000', N'葡萄酒'),
    (108, 'I008', N'笔记本电脑',     '14英寸 i5/16G/512G', 25, 0, 0,   0,    0,    0, 0,  0, 0, 0,  0, 1, 0.13, 0,    0,   '1090511030000000000', N'计算机'),
    (109, 'I009', N'纯棉T恤',        '圆领短袖',         24, 0,  0,    0,    0,    1, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1040202010000000000', N'服装'),
    (110, 'I010', N'乳胶漆',         '5L',               23, 0,  0,    0,    0,    1, 0,  1, 0, 0,  0, 0, 0.13, 0,    0,   '1070213010000000000', N'涂料'),
    (111, 'I011', N'全麦面包',       '400g',             15, 0,  0,    0,    0,    0, 0,  1, 1, 3,  1, 0, 0.13, 0,    0,   '1030105010000000000', N'焙烤食品'),
    (112, 'I012', N'签字笔',         '0.5mm 12支/盒',    21, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0.25, 0,   '1060301010000000000', N'文具'),
    (113, 'I013', N'A4复印纸',       '70g 500张/包',     22, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1060201010000000000', N'纸制品'),
    (114, 'I014', N'激光打印机硒鼓', 'CF230A',           11, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1090513010000000000', N'办公设备耗材'),
    (115, 'I015', N'洗衣液',         '3kg',              12, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1070304010000000000', N'洗涤用品'),
    (116, 'I016', N'环保购物袋',     '40×35cm',          11, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0,    0,    603, '',                    ''),
    (117, 'I017', N'空调',           'KFR-35GW 1.5匹',   25, 0,  0,    0,    0,    0, 0,  0, 0, 0,  0, 0, 0.13, 0,    0,   '1090415010000000000', N'空调器')
GO

INSERT INTO t_barcode (FItemID, FEntryNo, FUnitID, FCoefficient, FBarcode, FIsDefaultUnit, FIsMainUnit) VALUES
    (101, 1, 11, 1,       '6921001011000', 1, 1),
    (102, 1, 12, 1,       '6921001021000', 0, 1),
    (102, 2, 13, 6,       '6921001022000', 0, 0),
    (102, 3, 14, 24,      '6921001023000', 0, 0),
    (103, 1, 15, 1,       '6921001031000', 1, 1),
    (104, 1, 17, 1,       '',              0, 1),
    (104, 2, 18, 0.0288,  '',              1, 0),
    (104, 3, 19, 2.88,    '',              0, 0),
    (105, 1, 17, 1,       '',              0, 1),
    (105, 2, 18, 0.02262, '',              1, 0),
    (106, 1, 21, 1,       '6921001061000', 1, 1),
    (106, 2, 14, 12,      '6921001062000', 0, 0),
    (107, 1, 12, 1,       '6921001071000', 1, 1),
    (107, 2, 14, 6,       '6921001072000', 0, 0),
    (108, 1, 25, 1,       '6921001081000', 1, 1),
    (109, 1, 24, 1,       '6921001091000', 1, 1),
    (110, 1, 23, 1,       '6921001101000', 1, 1),
    (111, 1, 15, 1,       '6921001111000', 1, 1),
    (112, 1, 21, 1,       '6921001121000', 1, 1),
    (113, 1, 22, 1,       '6921001131000', 1, 1),
    (113, 2, 14, 5,       '6921001132000', 0, 0),
    (114, 1, 11, 1,       '6921001141000', 1, 1),
    (115, 1, 12, 1,       '6921001151000', 1, 1),
    (116, 1, 11, 1,       '6921001161000', 1, 1),
    (117, 1, 25, 1,       '6921001171000', 1, 1)
GO

INSERT INTO t_BatchNoRule (FItemID, FPrefix, FSerialLen, FCurSerial) VALUES
    (0,   'PH', 6, 0),
    (111, 'MB', 3, 5)
GO

-- -----------------------------------------------------------------------------------------------------
-- Prices
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_XS_PriceProfile (FPriceID, FName, FIsUsed, FSortIndex) VALUES
    (2, N'客户协议价',   1, 1),
    (3, N'客户等级价',   1, 2),
    (4, N'标准售价',     1, 3),
    (5, N'成本加成价',   1, 4),
    (6, N'客户最近售价', 1, 5),
    (7, N'最新售价',     1, 6),
    (1, N'零售价',       0, 7)
GO

INSERT INTO t_ItemPrice (FItemID, FUnitID, FXSPrice, FXSPrice1, FXSPrice2, FXSPrice3, FXSPrice4,
                         FXSLatestPrice, FXSIncludeTaxLastPrice, FXSLowPrice, FCGPrice, FCGLatestPrice) VALUES
    (101, 11, 12.5,   0, 12,    11,    10.5,  12.5,   14.125,  9,     7.5,  7.5),
    (102, 12, 1.5,    0, 1.45,  1.35,  1.3,   1.5,    1.695,   1,     1,    1),
    (102, 13, 8.5,    0, 8.2,   8,     7.8,   8.5,    9.605,   6,     6,    6),
    (102, 14, 32,     0, 31,    30,    29,    31,     35.03,   24,    24,   24),
    (103, 15, 125,    0, 0,     120,   118,   125,    136.25,  100,   0,    98),
    (104, 17, 4200,   0, 4150,  4100,  4080,  4200,   4746,    3900,  3800, 3800),
    (104, 18, 120.96, 0, 0,     0,     0,     120.96, 136.6848, 112.32, 0,  0),
    (104, 19, 12096,  0, 0,     0,     0,     12096,  13668.48, 11232, 0,   0),
    (105, 17, 4300,   0, 0,     0,     0,     4300,   4859,    4000,  3900, 3900),
    (105, 18, 97.266, 0, 0,     0,     0,     97.266, 109.9106, 90.48, 0,   0),
    (106, 21, 6,      0, 5.8,   5.5,   5.4,   6,      6.78,    4.5,   4,    4),
    (106, 14, 70,     0, 68,    64,    63,    70,     79.1,    54,    48,   48),
    (107, 12, 98,     0, 0,     0,     0,     98,     110.74,  70,    60,   60),
    (107, 14, 580,    0, 0,     0,     0,     580,    655.4,   420,   360,  360),
    (108, 25, 4999,   0, 0,     0,     0,     4999,   5648.87, 4500,  4200, 4200),
    (109, 24, 59,     0, 0,     0,     0,     59,     66.67,   40,    25,   25),
    (110, 23, 268,    0, 0,     0,     0,     268,    302.84,  200,   150,  150),
    (111, 15, 8,      0, 0,     0,     0,     8,      9.04,    5,     4,    4),
    (112, 21, 0,      0, 0,     0,     0,     0,      0,       0,     8,    8),
    (113, 22, 0,      0, 0,     0,     0,     0,      0,       0,     18,   18),
    (113, 14, 0,      0, 0,     0,     0,     0,      0,       0,     90,   90),
    (114, 11, 0,      0, 0,     0,     0,     88,     99.44,   0,     60,   60),
    (115, 12, 30,     0, 0,     0,     0,     30,     33.9,    18,    20,   20),
    (116, 11, 2,      0, 0,     0,     0,     2,      2.26,    0,     0.5,  0.5),
    (117, 25, 2999,   0, 0,     0,     0,     2999,   3388.87, 2600,  2400, 2400)
GO

INSERT INTO t_ItemPriceProfile (FItemID, FCustID, FUnitID1, FXSPrice1, FClientGood1, FUnitID2, FXSPrice2, FClientGood2,
                                FUnitID3, FXSPrice3, FClientGood3) VALUES
    (102, 1001, 14, 30, 'KH-SW-X',    12, 1.4, 'KH-SW-P',    0, 0, ''),
    (107, 1003, 12, 95, 'HZ-WINE-01', 14, 560, 'HZ-WINE-06', 0, 0, '')
GO

INSERT INTO t_LatestPrice (FID, FItemID, FUnitID, FCustID, FSupplyID, FPrice, FIncludeTaxPrice, FDiscountRate, FIsLast, FDate, FBillNo) VALUES
    (1, 102, 14, 1001, 0,    30,   33.9,   100, 1, '2026-11-10', 'XSDD000001'),
    (2, 102, 12, 1001, 0,    1.45, 1.6385, 100, 0, '2026-10-20', ''),
    (3, 113, 22, 1001, 0,    25,   28.25,  95,  1, '2026-10-28', ''),
    (4, 102, 13, 0,    0,    8,    9.04,   100, 1, '2026-11-02', ''),
    (5, 103, 15, 0,    2003, 98,   106.82, 98,  1, '2026-10-31', 'QCGH000001'),
    (6, 101, 11, 1002, 0,    11,   12.43,  100, 1, '2026-10-31', 'QCWT000001'),
    (7, 101, 11, 1001, 0,    12.5, 14.125, 100, 1, '2026-11-15', 'XSD000001')
GO

-- Special-price bills 1-5 are audited and published in t_LS_ItemPrice; 6 is not audited.
INSERT INTO T_LS_CX (FID, FBillNo, FClassTypeID, FStatus, FCheckerID, FCheckDate, FBillerID, FDate, FBeginDate, FEndDate,
                     FBeginTime, FEndTime, FPriceType, FBranchShop, FEmpId, FDeptID, FCustomer, FNote) VALUES
    (1, 'CX000001', 1030006, 1, 1, '2026-11-28', 1, '2026-11-28', '2026-12-01', '2026-12-31', '00:00', '23:59', 1, 0, 401, 301, N'全部客户', N'双十二洗衣液特价'),
    (2, 'CX000002', 1030006, 1, 1, '2026-11-30', 1, '2026-11-30', '2026-12-01', '2026-12-31', '00:00', '23:59', 1, 0, 401, 301, N'全部客户', N'调整特价'),
    (3, 'CX000003', 1030006, 1, 1, '2026-12-01', 3, '2026-12-01', '2026-12-01', '2026-12-20', '00:00', '23:59', 1, 0, 402, 302, N'北京华联商厦股份有限公司', N'华联专享'),
    (4, 'CX000004', 1030006, 1, 1, '2026-10-30', 1, '2026-10-30', '2026-11-01', '2026-11-30', '00:00', '23:59', 1, 0, 401, 301, N'全部客户', N'十一月特价(已过期)'),
    (5, 'CX000005', 1030006, 1, 1, '2026-11-30', 1, '2026-11-30', '2026-12-01', '2026-12-31', '00:00', '23:59', 1, 1, 401, 301, N'全部客户', N'门店特价'),
    (6, 'CX000006', 1030006, 0, 0, NULL,         2, '2026-12-05', '2026-12-05', '2027-01-04', '00:00', '23:59', 1, 0, 401, 301, N'全部客户', N'')
GO

INSERT INTO T_LS_CXEntry (FEntryID, FID, FIndex, FItemID, FShowUnitID, FOldPrice, FNewPrice, FDifferPrice, FDiscountRate,
                          FXSPrice, FBarCode, FTotalLimitQty, FSingleLimitQty) VALUES
    (1, 1, 1, 115, 12, 30,   26,  4,   86.6666666667, 30,   '6921001151000', 0,   0),
    (2, 2, 1, 115, 12, 30,   27,  3,   90,            30,   '6921001151000', 0,   0),
    (3, 3, 1, 115, 12, 30,   25,  5,   83.3333333333, 30,   '6921001151000', 500, 50),
    (4, 4, 1, 115, 12, 30,   20,  10,  66.6666666667, 30,   '6921001151000', 0,   0),
    (5, 5, 1, 115, 12, 30,   19,  11,  63.3333333333, 30,   '6921001151000', 0,   0),
    (6, 6, 1, 102, 12, 1.5,  1.3, 0.2, 86.6666666667, 1.5,  '6921001021000', 0,   0),
    (7, 6, 2, 101, 11, 12.5, 11.8, 0.7, 94.4,         12.5, '6921001011000', 100, 10)
GO

INSERT INTO t_LS_ItemPrice (FID, FItemID, FUnitID, FBranchShop, FXSBillNo, FXSPrice, FXSBeginDate, FXSEndDate,
                            FXSBeginTime, FXSEndTime, FTotalLimitQty, FSingleLimitQty) VALUES
    (1, 115, 12, 0, 'CX000001', 26, '2026-12-01', '2026-12-31', '00:00', '23:59', 0,   0),
    (2, 115, 12, 0, 'CX000002', 27, '2026-12-01', '2026-12-31', '00:00', '23:59', 0,   0),
    (3, 115, 12, 0, 'CX000003', 25, '2026-12-01', '2026-12-20', '00:00', '23:59', 500, 50),
    (4, 115, 12, 0, 'CX000004', 20, '2026-11-01', '2026-11-30', '00:00', '23:59', 0,   0),
    (5, 115, 12, 1, 'CX000005', 19, '2026-12-01', '2026-12-31', '00:00', '23:59', 0,   0)
GO

INSERT INTO T_LS_CX_Customer (FBillID, FBillNo, FItemClassID, FItemID, FNumber, FShowName) VALUES
    (3, 'CX000003', 1, 1002, 'C002', N'C002-北京华联商厦股份有限公司')
GO

-- -----------------------------------------------------------------------------------------------------
-- Stock on hand, opening balances, serial numbers, assembly rows
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_cc_inventory (FID, FItemID, FStockID, FAuxPropID, FBatchNo, FKFDate, FKFPeriod, FPeriodDate, FQty, FSecQty, FAmount) VALUES
    (1,  101, 601, 0,  '',          NULL,         0,  NULL,         300,  0,    2250),
    (2,  101, 602, 0,  '',          NULL,         0,  NULL,         120,  0,    900),
    (3,  101, 603, 0,  '',          NULL,         0,  NULL,         20,   0,    150),
    (4,  101, 604, 0,  '',          NULL,         0,  NULL,         50,   0,    375),
    (5,  102, 601, 0,  '',          NULL,         0,  NULL,         2400, 0,    2400),
    (6,  102, 602, 0,  '',          NULL,         0,  NULL,         600,  0,    600),
    (7,  103, 601, 0,  '',          NULL,         0,  NULL,         200,  5000, 20000),
    (8,  104, 601, 0,  '',          NULL,         0,  NULL,         57.6, 58.1, 218880),
    (9,  105, 601, 0,  '',          NULL,         0,  NULL,         30,   0,    117000),
    (10, 106, 601, 0,  'B20261101', '2026-11-01', 21, '2026-11-22', 20,   0,    80),
    (11, 106, 601, 0,  'B20261120', '2026-11-20', 21, '2026-12-11', 150,  0,    600),
    (12, 106, 601, 0,  'B20261201', '2026-12-01', 21, '2026-12-22', 300,  0,    1200),
    (13, 106, 602, 0,  'B20261120', '2026-11-20', 21, '2026-12-11', 40,   0,    160),
    (14, 107, 601, 0,  'W2025A',    NULL,         0,  NULL,         120,  0,    7200),
    (15, 107, 601, 0,  'LOT''A1',   NULL,         0,  NULL,         36,   0,    2520),
    (16, 108, 601, 0,  '',          NULL,         0,  NULL,         4,    0,    16800),
    (17, 109, 601, 51, '',          NULL,         0,  NULL,         100,  0,    2500),
    (18, 109, 601, 52, '',          NULL,         0,  NULL,         80,   0,    2000),
    (19, 109, 601, 53, '',          NULL,         0,  NULL,         0,    0,    0),
    (20, 110, 601, 54, 'Q20261015', NULL,         0,  NULL,         50,   0,    7500),
    (21, 110, 601, 55, 'Q20261015', NULL,         0,  NULL,         30,   0,    4500),
    (22, 111, 601, 0,  'MB005',     '2026-12-04', 3,  '2026-12-07', 40,   0,    160),
    (23, 112, 601, 0,  '',          NULL,         0,  NULL,         500,  0,    4000),
    (24, 113, 601, 0,  '',          NULL,         0,  NULL,         200,  0,    3600),
    (25, 114, 601, 0,  '',          NULL,         0,  NULL,         30,   0,    1800),
    (26, 115, 601, 0,  '',          NULL,         0,  NULL,         400,  0,    8000),
    (27, 116, 603, 0,  '',          NULL,         0,  NULL,         1000, 0,    500)
GO

INSERT INTO ICInvInitial (FID, FYear, FPeriod, FItemID, FStockID, FAuxPropID, FBatchNo, FKFDate, FKFPeriod, FdestDate, FQty, FSecQty, FAmount) VALUES
    (1, 2026, 11, 101, 601, 0,  '',          NULL,         0,  NULL,         200, 0, 1500),
    (2, 2026, 11, 106, 601, 0,  'B20261025', '2026-10-25', 21, '2026-11-15', 10,  0, 40),
    (3, 2026, 11, 107, 601, 0,  'W2025A',    NULL,         0,  NULL,         100, 0, 6000),
    (4, 2026, 11, 110, 601, 54, 'Q20261015', NULL,         0,  NULL,         40,  0, 6000),
    (5, 2026, 11, 115, 601, 0,  '',          NULL,         0,  NULL,         300, 0, 6000)
GO

-- SN-LT-0002..0006 came in with GHD000001 row 2 and the sample SN-LT-0001 with row 3; 0001/0002 left
-- with XSD000001 row 3, 0003 is on the unaudited XSD000002 row 2.
INSERT INTO t_SerialNumList (FID, FItemID, FSerialNo, FNote, FClassTypeID, FBillID, FBillIndexID, FStockID, FStatus) VALUES
    (1, 108, 'SN-LT-0001', N'样机', 1020002, 1, 3, 601, 1),
    (2, 108, 'SN-LT-0002', N'',     1020002, 1, 2, 601, 1),
    (3, 108, 'SN-LT-0003', N'',     1020002, 1, 2, 601, 1),
    (4, 108, 'SN-LT-0004', N'',     1020002, 1, 2, 601, 1),
    (5, 108, 'SN-LT-0005', N'',     1020002, 1, 2, 601, 1),
    (6, 108, 'SN-LT-0006', N'',     1020002, 1, 2, 601, 1),
    (7, 108, 'SN-LT-0001', N'',     1030002, 2, 3, 601, 0),
    (8, 108, 'SN-LT-0002', N'',     1030002, 2, 3, 601, 0),
    (9, 108, 'SN-LT-0003', N'',     1030002, 3, 2, 601, 0)
GO

INSERT INTO t_CC_ZZCX_ENTRY (FEntryID, FID, FIndex, FItemID, FAuxPropID, FBatchNo, FProDate, FKFPeriod, FExpDate, FStockID, FQty) VALUES
    (1, 1, 1, 111, 0, 'MB004', '2026-12-01', 3, '2026-12-04', 601, 20)
GO

INSERT INTO t_CC_ZZCX_ENTRY2 (FEntryID, FID, FIndex, FItemID, FAuxPropID, FBatchNo, FProDate, FKFPeriod, FExpDate, FStockID, FQty) VALUES
    (1, 1, 1, 106, 0, 'B20261201', '2026-12-01', 21, '2026-12-22', 601, 10)
GO

-- -----------------------------------------------------------------------------------------------------
-- Sales orders and purchase orders
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_XS_Order (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FCheckerID, FCheckDate, FBillerID, FDate, FFetchDate,
                        FFetchStyle, FCustID, FEmpID, FDeptID, FSettleLimitDate, FInvoiceType, FContact, FPhone, FMobilePhone,
                        FAddress, FReceiveAddr, FAllAmount, FXSDeposit, FExplanation, FRejected, FRejectedNote, FRejectedTime,
                        FUserDefine1, FWebTradeID, FWebshopID, FWebBillAmount, FWebBillDiscountAmount, FWebBillTransAmount,
                        FWebBillReceAmount, FReceiverCity) VALUES
    (1, 'XSDD000001', 1030001, 3031, 1, 1, '2026-11-10', 2, '2026-11-10', '2026-11-20', 31, 1001, 401, 301, '2026-12-10', 2020,
     N'张伟', '021-58880001', '13900000011', N'上海市浦东新区张杨路500号', N'上海市浦东新区张杨路500号', 2090.50, 500, N'', 0, N'', '',
     N'', '', '', 0, 0, 0, 0, N''),
    (2, 'XSDD000002', 1030001, 3031, 0, 0, NULL, 3, '2026-12-02', '2026-12-10', 31, 1002, 402, 302, '2026-12-31', 2020,
     N'刘洋', '010-66010001', '13900000021', N'北京市西城区西单北大街120号', N'北京市大兴区亦庄经济开发区科创街9号', 615.85, 0, N'', 0, N'', '',
     N'', '', '', 0, 0, 0, 0, N''),
    (3, 'XSDD000003', 1030001, 3031, 2, 1, '2026-11-05', 2, '2026-11-05', '2026-11-06', 32, 1001, 401, 301, '2026-12-05', 2020,
     N'张伟', '021-58880001', '', N'', N'', 141.25, 0, N'', 0, N'', '',
     N'', '', '', 0, 0, 0, 0, N''),
    (4, 'XSDD000004', 1030001, 3031, 1, 1, '2026-11-08', 2, '2026-11-08', '2026-11-12', 31, 1003, 401, 301, '2026-11-08', 2021,
     N'', '0571-88880003', '', N'', N'杭州市西湖区文三路90号', 1266.73, 0, N'', 0, N'', '',
     N'', '', '', 0, 0, 0, 0, N''),
    (5, 'XSDD000005', 1030001, 3032, 0, 0, NULL, 1, '2026-12-03', '2026-12-06', 33, 1003, 401, 301, '2026-12-03', 2021,
     N'陈晓', '', '13900000033', N'杭州市西湖区文三路90号', N'杭州市西湖区文三路90号 3号楼', 133.34, 0, N'由网上订单TB20261203001生成', 0, N'', '',
     N'天猫旗舰店', 'TB20261203001', 'TMALL-QH01', 133.34, 0, 10, 143.34, N'杭州市'),
    (6, 'XSDD000006', 1030001, 3031, 0, 0, NULL, 2, '2026-12-04', '2026-12-08', 31, 1001, 401, 301, '2027-01-03', 2020,
     N'张伟', '021-58880001', '', N'', N'上海市浦东新区张杨路500号', 706.25, 0, N'', 1, N'价格低于限价，请重新报价', '2026-12-04 16:30:00',
     N'', '', '', 0, 0, 0, 0, N''),
    (7, 'XSDD000007', 1030001, 3031, 1, 1, '2026-11-11', 3, '2026-11-11', '2026-11-25', 31, 1004, 402, 302, '2026-12-15', 2020,
     N'周敏', '025-84500001', '', N'', N'南京市秦淮区中山南路1号', 16944.35, 3000, N'', 0, N'', '',
     N'', '', '', 0, 0, 0, 0, N'')
GO

INSERT INTO t_XS_OrderEntry (FEntryID, lEntryID, lClassTypeID, FID, FIndex, FItemID, FAuxPropID, FUnitID, FShowUnitID, FCoefficient,
                             FShowQty, FQty, FBasePrice, FPrice, FPriceDiscount, FTaxPrice, FIncludeTaxPrice, FTaxRate, FDiscountRate,
                             FNoDiscAmount, FDiscountAmount, FAmount, FTaxAmount, FInTaxAmount, FSendQty, FBaseSendQty, FUnSendQty,
                             FUnSendAuxQty, FUnLinkCGQty, FComplexQtyDis, FBarcode) VALUES
    (1, 1, 1030001, 1, 1, 101, 0,  11, 11, 1,  100, 100, 12.5,  12.5, 12.5,  14.125,  14.125,  13, 100, 1250,  0,  1250,  162.5,   1412.5,   40, 40, 60, 0, 0, N'100个', '6921001011000'),
    (2, 2, 1030001, 1, 2, 102, 0,  12, 14, 24, 20,  480, 1.25,  30,   30,    33.9,    33.9,    13, 100, 600,   0,  600,   78,      678,      0,  0,  20, 0, 0, N'',      '6921001023000'),
    (3, 3, 1030001, 2, 1, 115, 0,  12, 12, 1,  10,  10,  27,    27,   27,    30.51,   30.51,   13, 100, 270,   0,  270,   35.1,    305.1,    0,  0,  10, 0, 10, N'10瓶', '6921001151000'),
    (4, 4, 1030001, 2, 2, 106, 0,  21, 21, 1,  50,  50,  5.5,   5.5,  5.5,   6.215,   6.215,   13, 100, 275,   0,  275,   35.75,   310.75,   0,  0,  50, 0, 50, N'4箱2盒', '6921001061000'),
    (5, 5, 1030001, 3, 1, 101, 0,  11, 11, 1,  10,  10,  12.5,  12.5, 12.5,  14.125,  14.125,  13, 100, 125,   0,  125,   16.25,   141.25,   10, 10, 0,  0, 0, N'10个',  '6921001011000'),
    (6, 6, 1030001, 4, 1, 109, 52, 24, 24, 1,  20,  20,  59,    59,   56.05, 63.3365, 63.3365, 13, 95,  1180,  59, 1121,  145.73,  1266.73,  20, 20, 0,  0, 0, N'20件',  '6921001091000'),
    (7, 7, 1030001, 5, 1, 109, 51, 24, 24, 1,  2,   2,   59,    59,   59,    66.67,   66.67,   13, 100, 118,   0,  118,   15.34,   133.34,   0,  0,  2,  0, 2, N'2件',    '6921001091000'),
    (8, 8, 1030001, 6, 1, 101, 0,  11, 11, 1,  50,  50,  12.5,  12.5, 12.5,  14.125,  14.125,  13, 100, 625,   0,  625,   81.25,   706.25,   0,  0,  50, 0, 50, N'50个', '6921001011000'),
    (9, 9, 1030001, 7, 1, 117, 0,  25, 25, 1,  5,   5,   2999,  2999, 2999,  3388.87, 3388.87, 13, 100, 14995, 0,  14995, 1949.35, 16944.35, 0,  0,  5,  0, 0, N'5台',    '6921001171000')
GO

INSERT INTO t_cg_Order (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FCheckerID, FCheckDate, FBillerID, FDate, FFetchDate,
                        FSupplyID, FEmpID, FDeptID, FAllAmount, FExplanation) VALUES
    (1, 'CGDD000001', 1020001, 2011, 1, 1, '2026-11-12', 1, '2026-11-12', '2026-11-13', 2001, 403, 303, 13560,  N'由销售订单XSDD000007生成'),
    (2, 'CGDD000002', 1020001, 2011, 1, 1, '2026-12-01', 1, '2026-12-01', '2026-12-10', 2002, 403, 303, 3107.5, N''),
    (3, 'CGDD000003', 1020001, 2011, 0, 0, NULL,         1, '2026-12-04', '2026-12-15', 2002, 403, 303, 847.5,  N'')
GO

INSERT INTO t_cg_OrderEntry (FEntryID, FID, FIndex, FItemID, FAuxPropID, FUnitID, FShowUnitID, FCoefficient, FShowQty, FQty,
                             FPrice, FTaxPrice, FTaxRate, FAmount, FTaxAmount, FInTaxAmount, FStockInQty, FUnStockInQty,
                             FClassID_SRC, FID_SRC, FEntryID_SRC) VALUES
    (1, 1, 1, 117, 0,  25, 25, 1, 5,   5,   2400, 2712,  13, 12000, 1560,  13560,  5, 0,   1030001, 7, 9),
    (2, 2, 1, 101, 0,  11, 11, 1, 200, 200, 7.5,  8.475, 13, 1500,  195,   1695,   0, 200, 0,       0, 0),
    (3, 2, 2, 109, 51, 24, 24, 1, 50,  50,  25,   28.25, 13, 1250,  162.5, 1412.5, 0, 50,  0,       0, 0),
    (4, 3, 1, 101, 0,  11, 11, 1, 100, 100, 7.5,  8.475, 13, 750,   97.5,  847.5,  0, 100, 0,       0, 0)
GO

-- -----------------------------------------------------------------------------------------------------
-- Stock bills
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_cc_stockbill (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FCheckerID, FCheckDate, FBillerID, FDate, FCustID,
                            FSupplyID, FEmpID, FDeptID, FSettleLimitDate, FInvoiceType, FExplanation, FNote, FClassID_SRC, FID_SRC,
                            FBillNo_SRC, FRejected, FRejectedNote, FRejectedTime, FCurPayAmount, FCurPayID, FBalanceStyle, FAcctNo,
                            FAllAmount, FCheckAmount, FCurCheckAmount, FUnCheckAmount, FInvoiceAmt, FNoInvoiceAmt, FContact,
                            FReceiveAddr, FAddress, FPhone, FTextColor, FTranspotationCosts, FLogisticNumber) VALUES
    (1,  'GHD000001',  1020002, 2012, 1, 1, '2026-11-13', 1, '2026-11-13', 0,    2001, 403, 303, '2026-12-13', 2020,
     N'', N'', 1020001, 1, 'CGDD000001', 0, N'', '', 0, 0, 0, 0, 41810, 0, 0, 41810, 0, 0, N'', N'', N'', '', 0, 0, ''),
    (2,  'XSD000001',  1030002, 3001, 1, 1, '2026-11-15', 2, '2026-11-15', 1001, 0,    401, 301, '2026-12-15', 2020,
     N'', N'', 1030001, 1, 'XSDD000001', 0, N'', '', 5000, 1001, 92, 2, 11930.54, 5000, 5000, 6930.54, 282.5, 11648.04, N'张伟',
     N'上海市浦东新区张杨路500号', N'上海市浦东新区张杨路500号 收货部', '021-58880001', 0, 0, 'WL000001'),
    (3,  'XSD000002',  1030002, 3001, 0, 0, NULL,         2, '2026-12-03', 1002, 0,    402, 302, '2026-12-31', 2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 1002, 0, 0, 5790.12, 0, 0, 5790.12, 0, 5790.12, N'刘洋',
     N'北京市大兴区亦庄经济开发区科创街9号', N'北京市大兴区亦庄经济开发区科创街9号', '010-66010001', 0, 0, ''),
    (4,  'WTD000001',  1030003, 3010, 1, 1, '2026-11-18', 3, '2026-11-18', 1004, 0,    402, 302, '2026-12-15', 2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 1922.13, 0, 0, 1922.13, 0, 0, N'周敏',
     N'南京市秦淮区中山南路1号', N'南京市秦淮区中山南路1号 B1卸货区', '025-84500001', 0, 60, ''),
    (5,  'XSD000003',  1030002, 3003, 1, 1, '2026-11-25', 3, '2026-11-25', 1004, 0,    402, 302, '2026-12-15', 2020,
     N'', N'', 1030003, 4, 'WTD000001', 0, N'', '', 0, 1004, 0, 0, 237.3, 0, 0, 237.3, 0, 237.3, N'周敏',
     N'南京市秦淮区中山南路1号', N'南京市秦淮区中山南路1号 B1卸货区', '025-84500001', 0, 0, ''),
    (6,  'XSD000004',  1030002, 3002, 1, 1, '2026-11-20', 2, '2026-11-20', 1001, 0,    401, 301, '2026-11-20', 2020,
     N'', N'', 1030002, 2, 'XSD000001', 0, N'', '', 0, 1001, 0, 0, 70.63, 0, 0, 70.63, 0, 70.63, N'张伟',
     N'上海市浦东新区张杨路500号', N'上海市浦东新区张杨路500号 收货部', '021-58880001', 255, 0, ''),
    (7,  'WTD000002',  1030003, 3010, 0, 0, NULL,         2, '2026-12-04', 1001, 0,    401, 301, '2027-01-03', 2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 678, 0, 0, 678, 0, 0, N'李娜',
     N'上海市浦东新区世纪大道100号', N'上海市浦东新区张杨路500号 收货部', '021-58880002', 0, 0, ''),
    (8,  'QCWT000001', 1030004, 3020, 1, 1, '2026-10-31', 1, '2026-10-31', 1002, 0,    402, 302, NULL,         2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 372.9, 0, 0, 0, 0, 0, N'', N'', N'', '', 0, 0, ''),
    (9,  'QCWT000002', 1030004, 3020, 0, 0, NULL,         1, '2026-10-30', 1001, 0,    401, 301, NULL,         2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 226, 0, 0, 0, 0, 0, N'', N'', N'', '', 0, 0, ''),
    (10, 'QCGH000001', 1020004, 2030, 0, 0, NULL,         1, '2026-10-31', 0,    2003, 403, 303, NULL,         2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 980, 0, 0, 0, 0, 0, N'', N'', N'', '', 0, 0, ''),
    (11, 'XSD000005',  1030002, 3001, 0, 0, NULL,         2, '2026-12-05', 1001, 0,    401, 301, '2027-01-04', 2020,
     N'', N'', 0, 0, '', 1, N'客户要求改期发货', '2026-12-05 09:15:00', 0, 1001, 0, 0, 67.8, 0, 0, 67.8, 0, 67.8, N'张伟',
     N'上海市浦东新区张杨路500号', N'上海市浦东新区张杨路500号 收货部', '021-58880001', 0, 0, ''),
    (12, 'XSD000006',  1030002, 3001, 0, 0, NULL,         1, '2026-12-01', 1003, 0,    401, 301, '2026-12-01', 2021,
     N'由网上订单TB20261130002生成', N'天猫订单', 0, 0, '', 0, N'', '', 0, 1003, 0, 0, 5682.77, 0, 0, 5682.77, 0, 5682.77, N'陈晓',
     N'杭州市西湖区文三路90号 3号楼', N'杭州市西湖区文三路90号', '13900000033', 0, 0, ''),
    (13, 'XSD000007',  1030002, 3001, 0, 0, NULL,         3, '2026-12-04', 1002, 0,    402, 302, '2026-12-31', 2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 1002, 0, 0, 13668.48, 0, 0, 13668.48, 0, 13668.48, N'刘洋',
     N'北京市大兴区亦庄经济开发区科创街9号', N'北京市大兴区亦庄经济开发区科创街9号', '010-66010001', 0, 0, ''),
    (14, 'QCGH000002', 1020004, 2030, 1, 1, '2026-10-31', 1, '2026-10-31', 0,    2002, 403, 303, NULL,         2020,
     N'', N'', 0, 0, '', 0, N'', '', 0, 0, 0, 0, 150, 0, 0, 0, 0, 0, N'', N'', N'', '', 0, 0, ''),
    (15, 'XSD000008',  1030002, 3001, 1, 1, '2026-11-02', 3, '2026-11-02', 1006, 0,    402, 302, '2026-12-02', 2021,
     N'', N'', 0, 0, '', 0, N'', '', 0, 1006, 0, 0, 180.8, 0, 0, 180.8, 0, 180.8, N'王强',
     N'天津市滨海新区第二大街66号', N'天津市滨海新区第二大街66号', '022-25320001', 0, 0, '')
GO

INSERT INTO t_cc_stockbillentry (FEntryID, lEntryID, lClassTypeID, FID, FIndex, FItemID, FAuxPropID, FBatchNo, FIsBatchNoManage,
                                 FKFDate, FKFPeriod, FPeriodDate, FSCStockID, FDCStockID, FUnitID, FShowUnitID, FCoefficient,
                                 FShowQty, FQty, FSecUnitID, FSecQty, FSecCoefficient, FSecQtyCoefficient, FDisplayQty,
                                 FDisplayWeight, FCalTypeID, FBasePrice, FPrice, FSecPrice, FDisplayPrice, FPriceDiscount,
                                 FTaxPrice, FTaxRate, FDiscountRate, FAmount, FTaxAmount, FInTaxAmount, FCostPrice, FCostAmount,
                                 FClassID_SRC, FID_SRC, FEntryID_SRC, FBillNo_SRC, FOrderQty, FRejectQty, FUnRejectQty,
                                 FUnRejectAuxQty, FSettleQty, FUnSettleQty, FUnSettleAuxQty, FTranspotationCharges,
                                 FComplexQtyDis, FBarcode) VALUES
    -- GHD000001: purchase bill from CGDD000001 (row 3: a display sample bought at a lower price)
    (1,  1,  1020002, 1,  1, 117, 0,  '',          0, NULL,         0,  NULL,         0,   601, 25, 25, 1,
     5,   5,    0,  0,   0,             0,             0,   0,    0, 2400,  2400,   0,    0,    2400,  2712,    13, 100, 12000, 1560,    13560,    2400, 12000,
     1020001, 1, 1, 'CGDD000001', 5,   0,  5,   0, 0,  0,  0,   0,  N'5台',   '6921001171000'),
    (2,  2,  1020002, 1,  2, 108, 0,  '',          0, NULL,         0,  NULL,         0,   601, 25, 25, 1,
     5,   5,    0,  0,   0,             0,             0,   0,    0, 4200,  4200,   0,    0,    4200,  4746,    13, 100, 21000, 2730,    23730,    4200, 21000,
     0,       0, 0, '',           0,   0,  5,   0, 0,  0,  0,   0,  N'5台',   '6921001081000'),
    (20, 20, 1020002, 1,  3, 108, 0,  '',          0, NULL,         0,  NULL,         0,   601, 25, 25, 1,
     1,   1,    0,  0,   0,             0,             0,   0,    0, 4000,  4000,   0,    0,    4000,  4520,    13, 100, 4000,  520,     4520,     4000, 4000,
     0,       0, 0, '',           0,   0,  1,   0, 0,  0,  0,   0,  N'1台',   '6921001081000'),
    -- XSD000001: sales delivery from XSDD000001
    (3,  3,  1030002, 2,  1, 101, 0,  '',          0, NULL,         0,  NULL,         601, 0,   11, 11, 1,
     40,  40,   0,  0,   0,             0,             0,   0,    0, 12.5,  12.5,   0,    0,    12.5,  14.125,  13, 100, 500,   65,      565,      7.5,  300,
     1030001, 1, 1, 'XSDD000001', 100, 5,  35,  0, 0,  0,  0,   0,  N'40个',  '6921001011000'),
    (4,  4,  1030002, 2,  2, 106, 0,  'B20261120', 1, '2026-11-20', 21, '2026-12-11', 601, 0,   21, 21, 1,
     10,  10,   0,  0,   0,             0,             0,   0,    0, 6,     6,      0,    0,    6,     6.78,    13, 100, 60,    7.8,     67.8,     4,    40,
     0,       0, 0, '',           0,   0,  10,  0, 0,  0,  0,   0,  N'10盒',  '6921001061000'),
    (5,  5,  1030002, 2,  3, 108, 0,  '',          0, NULL,         0,  NULL,         601, 0,   25, 25, 1,
     2,   2,    0,  0,   0,             0,             0,   0,    0, 4999,  4999,   0,    0,    4999,  5648.87, 13, 100, 9998,  1299.74, 11297.74, 4200, 8400,
     0,       0, 0, '',           0,   0,  2,   0, 0,  0,  0,   0,  N'2台',   '6921001081000'),
    -- XSD000002: sales delivery, not audited
    (6,  6,  1030002, 3,  1, 115, 0,  '',          0, NULL,         0,  NULL,         601, 0,   12, 12, 1,
     5,   5,    0,  0,   0,             0,             0,   0,    0, 25,    25,     0,    0,    25,    28.25,   13, 100, 125,   16.25,   141.25,   20,   100,
     0,       0, 0, '',           0,   0,  5,   0, 0,  0,  0,   0,  N'5瓶',   '6921001151000'),
    (7,  7,  1030002, 3,  2, 108, 0,  '',          0, NULL,         0,  NULL,         601, 0,   25, 25, 1,
     1,   1,    0,  0,   0,             0,             0,   0,    0, 4999,  4999,   0,    0,    4999,  5648.87, 13, 100, 4999,  649.87,  5648.87,  4200, 4200,
     0,       0, 0, '',           0,   0,  1,   0, 0,  0,  0,   0,  N'1台',   '6921001081000'),
    -- WTD000001: consignment delivery, 20 of row 1 settled by XSD000003
    (8,  8,  1030003, 4,  1, 101, 0,  '',          0, NULL,         0,  NULL,         601, 0,   11, 11, 1,
     50,  50,   0,  0,   0,             0,             0,   0,    0, 10.5,  10.5,   0,    0,    10.5,  11.865,  13, 100, 525,   68.25,   593.25,   7.5,  375,
     0,       0, 0, '',           0,   0,  30,  0, 20, 30, 0,   30, N'50个',  '6921001011000'),
    (9,  9,  1030003, 4,  2, 107, 0,  'W2025A',    1, NULL,         0,  NULL,         601, 0,   12, 12, 1,
     12,  12,   0,  0,   0,             0,             0,   0,    0, 98,    98,     0,    0,    98,    110.74,  13, 100, 1176,  152.88,  1328.88,  60,   720,
     0,       0, 0, '',           0,   0,  12,  0, 0,  12, 0,   30, N'2箱',   '6921001071000'),
    -- XSD000003: consignment settlement of WTD000001 row 1
    (10, 10, 1030002, 5,  1, 101, 0,  '',          0, NULL,         0,  NULL,         601, 0,   11, 11, 1,
     20,  20,   0,  0,   0,             0,             0,   0,    0, 10.5,  10.5,   0,    0,    10.5,  11.865,  13, 100, 210,   27.3,    237.3,    7.5,  150,
     1030003, 4, 8, 'WTD000001',  0,   0,  20,  0, 0,  0,  0,   0,  N'20个',  '6921001011000'),
    -- XSD000004: sales return of XSD000001 row 1
    (11, 11, 1030002, 6,  1, 101, 0,  '',          0, NULL,         0,  NULL,         601, 0,   11, 11, 1,
     5,   5,    0,  0,   0,             0,             0,   0,    0, 12.5,  12.5,   0,    0,    12.5,  14.125,  13, 100, 62.5,  8.13,    70.63,    7.5,  37.5,
     1030002, 2, 3, 'XSD000001',  0,   0,  5,   0, 0,  0,  0,   0,  N'5个',   '6921001011000'),
    -- WTD000002: consignment delivery, not audited
    (12, 12, 1030003, 7,  1, 115, 0,  '',          0, NULL,         0,  NULL,         601, 0,   12, 12, 1,
     20,  20,   0,  0,   0,             0,             0,   0,    0, 30,    30,     0,    0,    30,    33.9,    13, 100, 600,   78,      678,      20,   400,
     0,       0, 0, '',           0,   0,  20,  0, 0,  20, 0,   0,  N'20瓶',  '6921001151000'),
    -- QCWT000001 / QCWT000002: opening consignment bills (the second in the gift stock, no cost)
    (13, 13, 1030004, 8,  1, 101, 0,  '',          0, NULL,         0,  NULL,         601, 0,   11, 11, 1,
     30,  30,   0,  0,   0,             0,             0,   0,    0, 11,    11,     0,    0,    11,    12.43,   13, 100, 330,   42.9,    372.9,    7.5,  225,
     0,       0, 0, '',           0,   0,  30,  0, 0,  30, 0,   0,  N'30个',  '6921001011000'),
    (14, 14, 1030004, 9,  1, 116, 0,  '',          0, NULL,         0,  NULL,         603, 0,   11, 11, 1,
     100, 100,  0,  0,   0,             0,             0,   0,    0, 2,     2,      0,    0,    2,     2.26,    13, 100, 200,   26,      226,      0,    0,
     0,       0, 0, '',           0,   0,  100, 0, 0,  100, 0,  0,  N'100个', '6921001161000'),
    -- QCGH000001: opening supplier bill, rice with its secondary unit
    (15, 15, 1020004, 10, 1, 103, 0,  '',          0, NULL,         0,  NULL,         0,   601, 15, 15, 1,
     10,  10,   16, 250, 0.04,          0.04,          0,   0,    0, 98,    98,     3.92, 0,    98,    106.82,  9,   100, 980,   88.2,    1068.2,   0,    0,
     0,       0, 0, '',           0,   0,  0,   0, 0,  10, 250, 0,  N'10袋',  '6921001031000'),
    -- XSD000005: rejected, not audited
    (16, 16, 1030002, 11, 1, 102, 0,  '',          0, NULL,         0,  NULL,         601, 0,   12, 14, 24,
     2,   48,   0,  0,   0,             0,             0,   0,    0, 1.25,  30,     0,    0,    30,    33.9,    13, 100, 60,    7.8,     67.8,     24,   48,
     0,       0, 0, '',           0,   0,  2,   0, 0,  0,  0,   0,  N'2箱',   '6921001023000'),
    -- XSD000006: from an online order; the laptop has no serial numbers, the yoghurt no batch
    (17, 17, 1030002, 12, 1, 108, 0,  '',          0, NULL,         0,  NULL,         601, 0,   25, 25, 1,
     1,   1,    0,  0,   0,             0,             0,   0,    0, 4999,  4999,   0,    0,    4999,  5648.87, 13, 100, 4999,  649.87,  5648.87,  4200, 4200,
     0,       0, 0, '',           0,   0,  1,   0, 0,  0,  0,   0,  N'1台',   '6921001081000'),
    (18, 18, 1030002, 12, 2, 106, 0,  '',          1, NULL,         21, NULL,         601, 0,   21, 21, 1,
     5,   5,    0,  0,   0,             0,             0,   0,    0, 6,     6,      0,    0,    6,     6.78,    13, 100, 30,    3.9,     33.9,     4,    20,
     0,       0, 0, '',           0,   0,  5,   0, 0,  0,  0,   0,  N'5盒',   '6921001061000'),
    -- XSD000007: weight-calculated rebar, 100 支 = 2.88 t theoretical, 2.90 t weighed, type 1 (理算)
    (19, 19, 1030002, 13, 1, 104, 0,  '',          0, NULL,         0,  NULL,         601, 0,   17, 18, 0.0288,
     100, 2.88, 20, 2.9, 34.7222222222, 34.4827586207, 100, 2.88, 1, 4200,  120.96, 4200, 4200, 120.96, 136.6848, 13, 100, 12096, 1572.48, 13668.48, 109.44, 10944,
     0,       0, 0, '',           0,   0,  100, 2.9, 0, 0,  0,   0,  N'',      ''),
    -- QCGH000002: audited opening supplier bill
    (21, 21, 1020004, 14, 1, 101, 0,  '',          0, NULL,         0,  NULL,         0,   601, 11, 11, 1,
     20,  20,   0,  0,   0,             0,             0,   0,    0, 7.5,   7.5,    0,    0,    7.5,   8.475,   13, 100, 150,   19.5,    169.5,    0,    0,
     0,       0, 0, '',           0,   0,  0,   0, 0,  20, 0,   0,  N'20个',  '6921001011000'),
    -- XSD000008: audited, unpaid and due since 2026-12-02
    (22, 22, 1030002, 15, 1, 102, 0,  '',          0, NULL,         0,  NULL,         601, 0,   12, 14, 24,
     5,   120,  0,  0,   0,             0,             0,   0,    0, 1.3333333333, 32, 0, 0,    32,    36.16,   13, 100, 160,   20.8,    180.8,    24,   120,
     0,       0, 0, '',           0,   0,  5,   0, 0,  0,  0,   0,  N'5箱',   '6921001023000')
GO

-- The head totals are those of the first grid's rows (the goods that leave): FAllAmount their
-- tax-inclusive total, nothing written off or invoiced yet.
INSERT INTO t_cc_Change (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FCheckerID, FBillerID, FDate, FCustID, FEmpID, FDeptID,
                         FSettleLimitDate, FInvoiceType, FRejected, FRejectedNote, FRejectedTime, FAllAmount, FUnCheckAmount,
                         FNoInvoiceAmt, FContact, FReceiveAddr, FPhone) VALUES
    (1, 'XSH000001', 1030005, 3005, 0, 0, 2, '2026-12-02', 1001, 401, 301, '2027-01-01', 2020, 0, N'', '',
     133.34, 133.34, 133.34, N'张伟', N'上海市浦东新区张杨路500号', '021-58880001'),
    (2, 'XSH000002', 1030005, 3005, 0, 0, 3, '2026-12-03', 1002, 402, 302, '2026-12-31', 2020, 1, N'换货原因不明', '2026-12-03 14:00:00',
     12.43, 12.43, 12.43, N'刘洋', N'北京市西城区西单北大街120号', '010-66010001'),
    (3, 'XSH000003', 1030005, 3005, 1, 1, 3, '2026-11-28', 1004, 402, 302, '2026-12-15', 2020, 0, N'', '',
     23.73, 23.73, 23.73, N'周敏', N'南京市秦淮区中山南路1号', '025-84500001')
GO

INSERT INTO t_cc_ChangeEntry (FEntryID, lEntryID, FID, FGrid, FIndex, FItemID, FAuxPropID, FSCStockID, FUnitID, FShowUnitID, FCoefficient,
                              FShowQty, FQty, FBasePrice, FPrice, FPriceDiscount, FTaxPrice, FTaxRate, FDiscountRate, FAmount, FTaxAmount,
                              FInTaxAmount, FUnRejectQty, FComplexQtyDis, FBarcode) VALUES
    (1, 1, 1, 1, 1, 109, 52, 601, 24, 24, 1, 2, 2, 59, 59, 59, 66.67,  13, 100, 118, 15.34, 133.34, 2, N'2件', '6921001091000'),
    (2, 2, 1, 2, 1, 109, 51, 601, 24, 24, 1, 2, 2, 59, 59, 59, 66.67,  13, 100, 118, 15.34, 133.34, 2, N'2件', '6921001091000'),
    (3, 3, 2, 1, 1, 101, 0,  601, 11, 11, 1, 1, 1, 11, 11, 11, 12.43,  13, 100, 11,  1.43,  12.43,  1, N'1个', '6921001011000'),
    (4, 4, 2, 2, 1, 101, 0,  601, 11, 11, 1, 1, 1, 11, 11, 11, 12.43,  13, 100, 11,  1.43,  12.43,  1, N'1个', '6921001011000'),
    (5, 5, 3, 1, 1, 101, 0,  601, 11, 11, 1, 2, 2, 10.5, 10.5, 10.5, 11.865, 13, 100, 21, 2.73, 23.73, 2, N'2个', '6921001011000'),
    (6, 6, 3, 2, 1, 101, 0,  601, 11, 11, 1, 2, 2, 10.5, 10.5, 10.5, 11.865, 13, 100, 21, 2.73, 23.73, 2, N'2个', '6921001011000')
GO

-- -----------------------------------------------------------------------------------------------------
-- Receivables, invoices, rebates, logistics
-- -----------------------------------------------------------------------------------------------------

INSERT INTO t_RP_RBill (FID, FBillNo, FClassTypeID, FBillTypeID, FStatus, FDate, FCustID, FSettleAcctID, FAmount,
                        FSourceBillId, FSourceClassTypeId, FSourceBillNo, FNote) VALUES
    (1, 'SK000001', 5001, 0, 1, '2026-11-15', 1001, 2, 5000, 2, 1030002, 'XSD000001', N'首付款')
GO

INSERT INTO t_RP_CheckBill (FID, FBillNo, FClassTypeID, FBillTypeId, FStatus, FDate, FCustID, FAmount, FNote) VALUES
    (1, 'HX000001', 5003, 5024, 1, '2026-11-26', 1004, 237.3, N'委托结算转应收')
GO

INSERT INTO t_RP_CheckBillEntry1 (FEntryID, FID, FIndex, FSourceBillId, FSourceClassTypeId, FSourceBillNo, FAmount) VALUES
    (1, 1, 1, 5, 1030002, 'XSD000003', 237.3)
GO

INSERT INTO t_Invoice (FID, FBillNo, FClassTypeID, FInvoiceType, FStatus, FDate, FCustID, FAllAmount, FInvoiceCode, FNote) VALUES
    (1, 'FP000001', 3000001, 2020, 1, '2026-11-16', 1001, 282.5, '3100261130', N'')
GO

INSERT INTO t_InvoiceEntry (FEntryID, FID, FIndex, FItemID, FUnitID, FQty, FPrice, FTaxRate, FAmount, FTaxAmount, FInTaxAmount,
                            FClassID_SRC, FID_SRC, FEntryID_SRC, FBillNo_SRC) VALUES
    (1, 1, 1, 101, 11, 20, 12.5, 13, 250, 32.5, 282.5, 1030002, 2, 3, 'XSD000001')
GO

INSERT INTO t_FL_SchemeLink (FID, FBillNo, FSchemeID, FClassID_SRC, FID_SRC, FBillNo_SRC, FAmount) VALUES
    (1, 'FL000001', 1, 1030002, 2, 'XSD000001', 100)
GO

INSERT INTO t_LogisticBill (FID, FLogisticNumber, FDate, FCustID, FStatus, FClassID_SRC, FID_SRC, FBillNo_SRC) VALUES
    (1, 'WL000001', '2026-11-15', 1001, 1, 1030002, 2, 'XSD000001')
GO
