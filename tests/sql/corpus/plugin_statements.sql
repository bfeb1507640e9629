-- =====================================================================================================
-- The SQL texts that the sales plug-ins send to the host database, as they send them, with values
-- of the demo account set filled in. Run in order against a fresh copy of the demo account set
-- (schema.sql + demo.sql); a few entries write, and later expectations allow for them.
--
-- Format: entries are separated by a line "GO". Each entry starts with one comment line
-- "-- <routine or handler>: <what it reads or writes>", then the statement or batch, then
-- optional expectations about the last result set of the entry:
--   -- expect: <n> rows
--   -- expect: first row <v1> | <v2> | ...
-- Values are compared by column position: numbers numerically (1e-6), dates as YYYY-MM-DD
-- (a time part, when given, must match too), bit values as 1 or 0, NULL for Null and '' for an
-- empty text; any other text is compared as written.
-- "Today" is 2026-12-05 and "now" 10:30 in the statements that carry the date or time.
-- This header is a batch without statement and is skipped.
-- =====================================================================================================
GO

-- StartPeriodStartDate: first and last day of the start period while the ledger is closed and the opening stage open
SELECT CONVERT(DATETIME,a.FStartDate) AS FStartDate,CONVERT(DATETIME,a.FEndDate) AS FEndDate  FROM t_PeriodDate a, (select CONVERT(INT,FValue) as FYear FROM t_SystemProfile WHERE FCategory='IC' AND FKey='StartYear') AS b, (select CONVERT(INT,FValue)as FPeriod FROM t_SystemProfile WHERE FCategory='IC' AND FKey='StartPeriod') as c, (select CONVERT(INT,FValue) as FClosed FROM t_SystemProfile WHERE FCategory='GL' AND FKey='Closed') AS d, (select CONVERT(INT,FValue)as FInitClosed FROM t_SystemProfile WHERE FCategory='GL' AND FKey='InitClosed') as e WHERE a.FYear = b.FYear and a.FPeriod = c.FPeriod and d.FClosed = 1 and e.FInitClosed = 0 
-- expect: 1 rows
-- expect: first row 2026-11-01 | 2026-11-30
GO

-- IsGCItem: weight-calculated flag of the rebar
select FIsGC from t_ICItem where FItemID='104'
-- expect: first row 1
GO

-- IsGCItem: a Null flag (angle steel) comes back as Null
select FIsGC from t_ICItem where FItemID='105'
-- expect: first row NULL
GO

-- IsGCItem: an unknown item has no row
select FIsGC from t_ICItem where FItemID='999'
-- expect: 0 rows
GO

-- GetItemSecCoefficient: the item's secondary coefficient (rice, 0.04 bag per kg)
select FSecCoefficient from T_ICItem where FItemID=103
-- expect: first row 0.04
GO

-- GetUnitCoefficient: coefficient of a unit of the item (water in 箱)
select FCoefficient from vw_barcode where FItemID=102 and FUnitID=14
-- expect: first row 24
GO

-- GetBarcodeUnit: unit of barcode entry 2 of the rebar (支)
select FUnitID from t_barcode where FItemID=104 and FEntryNo=2
-- expect: first row 18
GO

-- ApplySecCoefficientLock, ApplyUnitLocks, FillSupplierRow: conversion method and secondary unit of the item
Select FConverMethod,FSecUnitID from t_ICItem Where FItemID=103
-- expect: first row 1078 | 16
GO

-- ApplySecCoefficientLock (all rows): conversion method and the whole item record
Select FConverMethod,* from t_ICItem Where FItemID=104
-- expect: 1 rows
-- expect: first row 1079 | 104 | I004
GO

-- ApplyPriceLocks, RowTakesShare, AfterFillRow: type of the row's stock (the gift stock is 502)
Select FTypeID From t_Stock Where FItemID=603
-- expect: first row 502
GO

-- ApplyPriceLocks: an ordinary stock
Select FTypeID From t_Stock Where FItemID=601
-- expect: first row 500
GO

-- IsAuxManaged: auxiliary-attribute flag of the T-shirt
Select FISAuxi From t_ICItem Where FItemID=109
-- expect: first row 1
GO

-- GetTrackMethod: costing method of the wine (batch-specific identification)
Select FTrack From t_ICItem Where FItemID=107
-- expect: first row 80
GO

-- IsBatchManaged: batch flag of the yoghurt
Select FISBatchManager From t_ICItem Where FItemID=106
-- expect: first row 1
GO

-- IsShelfLifeManaged: shelf-life flag of the yoghurt
Select FISKFPeriod From t_ICItem Where FItemID=106
-- expect: first row 1
GO

-- GetDefaultUnit: the item's default unit
select b.FItemID as FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from vw_Unit b where b.FIsDefaultUnit = 1 and b.FSrcItemId = 101
-- expect: 1 rows
-- expect: first row 11 | U01 | 个 | 1 | 6921001011000 | 101
GO

-- GetDefaultUnit: an item without default unit has none
select b.FItemID as FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from vw_Unit b where b.FIsDefaultUnit = 1 and b.FSrcItemId = 102
-- expect: 0 rows
GO

-- GetDefaultUnit (FSupplyID): unit of the supplier's last price
select a.FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from t_LatestPrice a left join vw_Unit b on a.FItemID=b.FSrcItemId and a.FUnitID=b.FItemID where a.FIsLast=1 and a.FSupplyID=2003 and a.FItemID=103
-- expect: first row 15 | U05 | 袋 | 1 | 6921001031000 | 103
GO

-- GetDefaultUnit (FCustID): unit of the customer's last price (C001 buys water by the 箱)
select a.FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from t_LatestPrice a left join vw_Unit b on a.FItemID=b.FSrcItemId and a.FUnitID=b.FItemID where a.FIsLast=1 and a.FCustID=1001 and a.FItemID=102
-- expect: 1 rows
-- expect: first row 14 | U04 | 箱 | 24 | 6921001023000 | 102
GO

-- GetDefaultUnit (FOther): unit of the general last price
select a.FUnitID,b.FNumber,b.FName,b.FCoefficient,b.FBarCode,b.FSrcItemId from t_LatestPrice a left join vw_Unit b on a.FItemID=b.FSrcItemId and a.FUnitID=b.FItemID where a.FIsLast=1 and a.FCustID=0 and a.FSupplyID=0 and a.FItemID=102
-- expect: first row 13 | U03 | 提 | 6 | 6921001022000 | 102
GO

-- GetDefaultUnit: the item's main unit
select FItemID,FNumber,FName,FCoefficient,FBarCode,FSrcItemId from vw_Unit where FIsMainUnit=1 and FSrcItemId=102 order by FOrder desc 
-- expect: 1 rows
-- expect: first row 12 | U02 | 瓶 | 1 | 6921001021000 | 102
GO

-- SetDefaultCalType: the calculation type named 理算
select FItemID,FNumber,FName from t_CalType where FName='理算'
-- expect: first row 1 | 01 | 理算
GO

-- GenerateBatchNo: automatic batch numbers of the bread
Select FAutoGenBatchNo From t_ICItem Where FItemID = 111
-- expect: first row 1
GO

-- BuildBatchQuery (opening balances and audited bills): batch of the opening balance
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
   IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From (
  Select * From (
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,Convert(DateTime,FdestDate,102) As FPeriodDate,FAuxPropID From ICInvInitial Where FItemID=106 And IsNull(FBatchNo,'')='B20261025' 
     Union
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
     From vw_cc_Receive_Audit
     Where FItemID=106 And IsNull(FStatus,0)>-1 And IsNull(FBatchNo,'')='B20261025' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042)) And FID<>12
     Union
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
     From vw_cc_Send_Audit
     Where FItemID=106 And IsNull(FStatus,0)>-1 And IsNull(FBatchNo,'')='B20261025' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042)) And FID<>12
  )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
) s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
Where s.FItemID=106 And s.FBatchNo='B20261025'
-- expect: 1 rows
-- expect: first row B20261025 | 0 | '' | 2026-10-25 | 21 | 2026-11-15 | ''
GO

-- BuildBatchQuery (opening balances and audited bills): batch that only a delivered sales bill names
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
   IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From (
  Select * From (
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,Convert(DateTime,FdestDate,102) As FPeriodDate,FAuxPropID From ICInvInitial Where FItemID=106 And IsNull(FBatchNo,'')='B20261120' 
     Union
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
     From vw_cc_Receive_Audit
     Where FItemID=106 And IsNull(FStatus,0)>-1 And IsNull(FBatchNo,'')='B20261120' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))
     Union
     Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
     From vw_cc_Send_Audit
     Where FItemID=106 And IsNull(FStatus,0)>-1 And IsNull(FBatchNo,'')='B20261120' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))
  )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
) s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
Where s.FItemID=106 And s.FBatchNo='B20261120'
-- expect: 1 rows
-- expect: first row B20261120 | 0 | '' | 2026-11-20 | 21 | 2026-12-11 | ''
GO

-- BuildBatchQuery (stock balance): the close-to-expiry yoghurt batch in the main stock
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,IsNull(s.FKFPeriod,0) As FKFPeriod,
   Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From (
   Select * From (
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID From T_CC_Stock_BatchNo Where FItemID=106 And IsNull(FBatchNo,'')='B20261120' 
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Receive
       Where FItemID=106 And IsNull(FBatchNo,'')='B20261120' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))  AND FID <> 12
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Send
       Where FItemID=106 And IsNull(FBatchNo,'')='B20261120' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))  AND FID <> 12
   )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
) s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID
Where s.FItemID=106 And s.FBatchNo='B20261120'
 and s.FstockID=601 
-- expect: 1 rows
-- expect: first row B20261120 | 0 | '' | 2026-11-20 | 21 | 2026-12-11 | ''
GO

-- BuildBatchQuery (stock balance): a batch number with a quote, quotes doubled
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,IsNull(s.FKFPeriod,0) As FKFPeriod,
   Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From (
   Select * From (
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID From T_CC_Stock_BatchNo Where FItemID=107 And IsNull(FBatchNo,'')='LOT''A1' 
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Receive
       Where FItemID=107 And IsNull(FBatchNo,'')='LOT''A1' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))  AND FID <> 0
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Send
       Where FItemID=107 And IsNull(FBatchNo,'')='LOT''A1' AND FClassTypeID<>1040008 AND (FClassTypeID<>1020004 OR (FClassTypeID=1020004 AND FBillTypeID = 2042))  AND FID <> 0
   )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
) s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID
Where s.FItemID=107 And s.FBatchNo='LOT''A1'
-- expect: 1 rows
-- expect: first row LOT'A1 | 0 | '' | NULL | 0 | NULL | ''
GO

-- BuildBatchQuery (documents): the batch as the bills, assembly and component rows name it
Select FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
From (
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From ICInvInitial s
   Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=106 And s.FBatchNo='B20261120'
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From T_CC_stockbillentry s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=106 And s.FBatchNo='B20261120' And s.FID<>12
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From t_CC_ZZCX_ENTRY s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=106 And s.FBatchNo='B20261120'
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From t_CC_ZZCX_ENTRY2 s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=106 And s.FBatchNo='B20261120'
) s Group By FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
-- expect: 1 rows
-- expect: first row B20261120 | 0 | '' | 2026-11-20 | 21 | 2026-12-11 | ''
GO

-- BuildBatchQuery (documents, second form): a batch that only a component row names
    Select FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber 
 From (Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
    From ICInvInitial s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
    Where s.FItemID=106 And s.FBatchNo='B20261201'
 Union All 
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
    From T_CC_stockbillentry s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
    Where s.FItemID=106 And s.FBatchNo='B20261201' And s.FID<>0
 Union All
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
    From t_CC_ZZCX_ENTRY s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
    Where s.FItemID=106 And s.FBatchNo='B20261201'
 Union All
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
    From t_CC_ZZCX_ENTRY2 s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
    Where s.FItemID=106 And s.FBatchNo='B20261201'
) s group by FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
-- expect: 1 rows
-- expect: first row B20261201 | 0 | '' | 2026-12-01 | 21 | 2026-12-22 | ''
GO

-- CheckBatchInStock (documents): one batch under two auxiliary attributes of the paint
Select FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
From (
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From ICInvInitial s
   Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=110 And s.FBatchNo='Q20261015'
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From T_CC_stockbillentry s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=110 And s.FBatchNo='Q20261015' And s.FID<>0
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From t_CC_ZZCX_ENTRY s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=110 And s.FBatchNo='Q20261015'
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FProDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FExpDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From t_CC_ZZCX_ENTRY2 s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=110 And s.FBatchNo='Q20261015'
) s Group By FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
-- expect: 1 rows
-- expect: first row Q20261015 | 54 | W01 | NULL | 0 | NULL | W01
GO

-- BuildStockBatchQuery (opening balances): batches of the item in one stock
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
   IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From ICInvInitial   s
Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
Where s.FItemID=106 And IsNull(s.FBatchNo,'')<>'' And s.FStockID = 601
-- expect: 1 rows
-- expect: first row B20261025 | 0 | '' | 2026-10-25 | 21 | 2026-11-15 | ''
GO

-- BuildStockBatchQuery (stock balance): batches of the item in one stock from balances and audited bills
Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,IsNull(s.FKFPeriod,0) As FKFPeriod,
   Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
From (
   Select * From (
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID From T_CC_Stock Where IsNull(FBatchNo,'')<>''  And FStockID = 601
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Receive
       Where IsNull(FStatus,0)>0 And IsNull(FBatchNo,'')<>'' AND FClassTypeID<>1040008  And FStockID = 601
       Union
       Select FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
       From vw_cc_Send
       Where IsNull(FStatus,0)>0 And IsNull(FBatchNo,'')<>'' AND FClassTypeID<>1040008  And FStockID = 601
   )t Group By FItemID,FStockID,FBatchNo,FKFDate,FKFPeriod,FPeriodDate,FAuxPropID
) s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID
Where s.FItemID=106
-- expect: 3 rows
GO

-- BuildStockBatchQuery (documents): batches of the item that bills of one stock name
Select FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
From (
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,IsNull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FdestDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From ICInvInitial s
   Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=107 And s.FStockID = 601
   Union All
   Select s.FBatchNO,IsNull(s.FAuxPropID,0) As FAuxPropID,isnull(a.Fnumber,'') as FAuxProp,Convert(DateTime,s.FKFDate,102) As FKFDate,
       IsNull(s.FKFPeriod,0) As FKFPeriod,Convert(DateTime,s.FPeriodDate,102) As FPeriodDate,IsNull(a.FNumber,'') as FNumber 
   From T_CC_stockbillentry s Left Join t_AuxItem a On s.FAuxPropID=a.FItemID 
   Where s.FItemID=107 And s.FID<>0 And (s.FSCStockID = 601 OR s.FDCStockID = 601)
) s Group By FBatchNO, FAuxPropID,FAuxProp, FKFDate,FKFPeriod,FPeriodDate,FNumber
-- expect: 1 rows
-- expect: first row W2025A | 0 | '' | NULL | 0 | NULL | ''
GO

-- FillFromBatchPick: production date of the item from the inventory
select top 1 FKFDate from T_CC_Inventory where FItemID=111
-- expect: first row 2026-12-04
GO

-- FillFromBatchPick: expiry date of the item from the inventory
select top 1 FPeriodDate from T_CC_Inventory where FItemID=111
-- expect: first row 2026-12-07
GO

-- IsSerialManaged: serial-number flag of the laptop
select FIsSerialNumMgr from t_icitem where FItemID=108
-- expect: first row 1
GO

-- GetSerialList: serial numbers of the purchase bill's laptop row; those sold later are used
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 1
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 1 AND T1.FBillIndexID = 2
-- expect: 5 rows
GO

-- GetSerialList: the purchase bill's sample laptop, sold later: used
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 1
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 1 AND T1.FBillIndexID = 3
-- expect: 1 rows
-- expect: first row SN-LT-0001 | 样机 | 1
GO

-- GetSerialList: serial numbers of the sales bill's laptop row; nothing later uses them
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 2
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 2 AND T1.FBillIndexID = 3
-- expect: 2 rows
GO

-- GetSerialList: the unaudited sales bill's laptop
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 3
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 3 AND T1.FBillIndexID = 2
-- expect: 1 rows
-- expect: first row SN-LT-0003 | '' | 0
GO

-- GetSerialList (assembly bill): serial numbers going in
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 1
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 1 AND T1.FBillIndexID = 2 AND FStatus = 1 
-- expect: 5 rows
GO

-- GetSerialList (disassembly bill): serial numbers going out
SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END AS FBeingUsed
 FROM t_SerialNumList T1 
 LEFT JOIN (
SELECT a.FItemID, a.FSerialNo, COUNT(*) AS FCount
FROM t_SerialNumList a
INNER JOIN (
SELECT MAX(FID) AS FID, FItemID, FSerialNo
FROM t_SerialNumList
WHERE FBillID = 1
GROUP BY FItemID, FSerialNo
) b ON a.FItemID = b.FItemID AND a.FSerialNo = b.FSerialNo
WHERE a.FID > b.FID And a.FBillID > 0 
GROUP BY a.FItemID, a.FSerialNo
) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = T2.FSerialNo
 WHERE T1.FBillID = 1 AND T1.FBillIndexID = 2 AND FStatus = 0 
-- expect: 0 rows
GO

-- checkXSDBillSNErr: rows of an unaudited sales bill whose serial numbers do not match the quantity
SELECT a.FIndex, b.FNumber, b.FName, b.FModel, d.FName AS FStockID, a.FBatchNo 
,a.FItemID,b.FIsSerialNumMgr 
,v.FStatus,v.FBillTypeID   
,a.FQty, isnull(c.FSerialNoSum,0) AS FSerialNoSum  
FROM T_CC_StockBillEntry a 
LEFT JOIN t_ICItem b ON a.FItemID=b.FItemID 
LEFT JOIN (SELECT FItemID,FBillID,FBillIndexID, count(FSerialNo) AS FSerialNoSum 
from t_SerialNumList 
GROUP BY FItemID,FBillID,FBillIndexID 
) c ON a.FID=c.FBillID AND a.FIndex=c.FBillIndexID AND a.FItemID=c.FItemID 
LEFT JOIN t_Stock d ON a.FSCStockID=d.FItemID 
LEFT JOIN T_CC_StockBill v ON a.FID=v.FID 
WHERE a.FID=12 AND b.FIsSerialNumMgr=1 AND a.FQty<>isnull(c.FSerialNoSum,0) 
AND v.FClassTypeID =1030002 AND v.FStatus=0 AND v.FBillTypeID<>3003   
-- expect: 1 rows
-- expect: first row 1 | I008 | 笔记本电脑 | 14英寸 i5/16G/512G | 主仓库 | '' | 108 | 1 | 0 | 3001 | 1 | 0
GO

-- checkXSDBillSNErr: a bill whose serial numbers are complete
SELECT a.FIndex, b.FNumber, b.FName, b.FModel, d.FName AS FStockID, a.FBatchNo 
,a.FItemID,b.FIsSerialNumMgr 
,v.FStatus,v.FBillTypeID   
,a.FQty, isnull(c.FSerialNoSum,0) AS FSerialNoSum  
FROM T_CC_StockBillEntry a 
LEFT JOIN t_ICItem b ON a.FItemID=b.FItemID 
LEFT JOIN (SELECT FItemID,FBillID,FBillIndexID, count(FSerialNo) AS FSerialNoSum 
from t_SerialNumList 
GROUP BY FItemID,FBillID,FBillIndexID 
) c ON a.FID=c.FBillID AND a.FIndex=c.FBillIndexID AND a.FItemID=c.FItemID 
LEFT JOIN t_Stock d ON a.FSCStockID=d.FItemID 
LEFT JOIN T_CC_StockBill v ON a.FID=v.FID 
WHERE a.FID=3 AND b.FIsSerialNumMgr=1 AND a.FQty<>isnull(c.FSerialNoSum,0) 
AND v.FClassTypeID =1030002 AND v.FStatus=0 AND v.FBillTypeID<>3003   
-- expect: 0 rows
GO

-- checkXSDBillBatchNoErr: first row of a batch-managed item without batch
SELECT b.FisBatchManager,a.FBatchNo,a.FIndex, a.* FROM T_CC_StockBillEntry a LEFT JOIN t_ICItem b ON a.FItemID=b.FItemID WHERE a.FID=12 AND b.FISBatchManager=1 AND isnull(a.FBatchNo,'')='' 
-- expect: 1 rows
-- expect: first row 1 | '' | 2 | 18
GO

-- checkXSDBillBatchNoErr (sales bill): the same query as the sales bill sends it
SELECT b.FisBatchManager,a.FBatchNo,a.FIndex, a.* FROM T_CC_StockBillEntry a LEFT JOIN t_ICItem b ON a.FItemID=b.FItemID WHERE a.FID=2
 AND b.FISBatchManager=1 AND isnull(a.FBatchNo,'')='' 
-- expect: 0 rows
GO

-- GetBookedQty: quantity on audited purchase orders not yet received
Select Sum(t1.FUnStockInQty*t1.FCoefficient) as BookQty From t_cg_Orderentry t1 Inner Join t_cg_Order t2 On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=101
-- expect: first row 200
GO

-- GetBookedQty, RefreshRowAvailability: purchase-booked quantity of one auxiliary attribute
Select Sum(t1.FUnStockInQty*t1.FCoefficient) as BookQty From t_cg_Orderentry t1 Inner Join t_cg_Order t2 On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=109 And t1.FAuxPropID=51
-- expect: first row 50
GO

-- GetBookedQty: quantity on audited sales orders not yet sent (base units)
Select Sum((t1.FShowQty-t1.FSendQty)*t1.FCoefficient)  as BookQty From t_XS_OrderEntry t1 Inner Join t_XS_Order t2 On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=102
-- expect: first row 480
GO

-- RefreshRowAvailability: sales-booked quantity of one auxiliary attribute (the order was delivered in full)
Select Sum((t1.FShowQty-t1.FSendQty)*t1.FCoefficient)  as BookQty From t_XS_OrderEntry t1 Inner Join t_XS_Order t2 On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=109 And t1.FAuxPropID=52
-- expect: first row 0
GO

-- RefreshRowAvailability: an item nobody ordered gives an empty sum
Select Sum((t1.FShowQty-t1.FSendQty)*t1.FCoefficient)  as BookQty From t_XS_OrderEntry t1 Inner Join t_XS_Order t2 On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID=113 And t1.FAuxPropID=0
-- expect: first row NULL
GO

-- GetStockQty: stock on hand of the item in every stock
 Select b.FNumber,b.FName as ItemName,isNull(sum(FQty),0) as SumQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=101
 Group by b.FNumber,b.FName
-- expect: first row I001 | 不锈钢保温杯 | 490
GO

-- GetStockQty: stock on hand of one auxiliary attribute
 Select b.FNumber,b.FName as ItemName,c.FNumber,c.FName as AuxPropName,isNull(sum(FQty),0) as SumQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=109 and a.FAuxPropID=51
 Group by b.FNumber,b.FName,c.FNumber,c.FName
-- expect: first row I009 | 纯棉T恤 | RED-L | 红色 L码 | 100
GO

-- GetStockQty: stock on hand of one batch
 Select b.FNumber,b.FName as ItemName,a.FBatchNo,isNull(sum(FQty),0) as SumQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=106 and a.FBatchNo='B20261120'
 Group by b.FNumber,b.FName,a.FBatchNo
-- expect: first row I006 | 原味酸奶 | B20261120 | 190
GO

-- GetStockQty: a batch number with a quote
 Select b.FNumber,b.FName as ItemName,a.FBatchNo,isNull(sum(FQty),0) as SumQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=107 and a.FBatchNo='LOT''A1'
 Group by b.FNumber,b.FName,a.FBatchNo
-- expect: first row I007 | 干红葡萄酒 | LOT'A1 | 36
GO

-- GetStockQty: under stock data authorisation, only the stocks the user may see
 Select b.FNumber,b.FName as ItemName,isNull(sum(FQty),0) as SumQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=101 and Charindex('4',d.FRightUserID)>0 
 Group by b.FNumber,b.FName
-- expect: first row I001 | 不锈钢保温杯 | 440
GO

-- GetStockQty: weight-calculated item counted in a shown unit
 Select b.FNumber,b.FName as ItemName,e.FCoefficient,isNull(sum(FQty),0) as SumQty,isNull(sum(FSecQty),0) as SumSecQty,isNull(sum(FQty),0)/e.FCoefficient as SumShowQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid  left join vw_unit e on a.FItemID=e.FSrcItemID 
 Where a.FItemID=104 and e.FItemID=18
 Group by b.FNumber,b.FName,e.FCoefficient
-- expect: first row I004 | 螺纹钢 | 0.0288 | 57.6 | 58.1 | 2000
GO

-- GetStockText: name of the item
Select Fname from t_icitem where FitemID=101
-- expect: first row 不锈钢保温杯
GO

-- GetStockText: name of the auxiliary attribute
Select Fname from t_auxitem where FitemID=51
-- expect: first row 红色 L码
GO

-- GetStockText: number of barcode units of the item
select COUNT(*) from t_Barcode where FItemID = 102
-- expect: first row 3
GO

-- GetStockText: the quantity in mixed units
select dbo.GetComplexQty(102, 51) 
-- expect: first row 2箱3瓶
GO

-- GetStockText: name of the stock
Select Fname from t_stock where FitemID=601
-- expect: first row 主仓库
GO

-- GetStockText: stock on hand of the item in one stock, gift stocks left out
 Select b.FNumber,b.FName as ItemName,d.FNumber,d.FName as StockName,isNull(sum(FQty),0) as SumQty,isNull(sum(FSecQty),0) as SumSecQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=101 and a.FStockID=601 and d.FTypeID<>502 
 Group by b.FNumber,b.FName,d.FNumber,d.FName
-- expect: first row I001 | 不锈钢保温杯 | CK01 | 主仓库 | 300 | 0
GO

-- GetStockText: stock on hand of the item per stock, gift stocks left out
 Select b.FNumber,b.FName as ItemName,d.FName as StockName,d.FNumber,isNull(sum(FQty),0) as SumQty,isNull(sum(FSecQty),0) as SumSecQty
 from t_cc_inventory a left join  t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join  t_stock d on a.FStockID=d.fitemid 
 Where a.FItemID=101 and d.FTypeID<>502 
 Group by d.FNumber,d.FName,b.FNumber,b.FName
-- expect: 3 rows
GO

-- FillDefaultStock: the item's default stock
Select b.Fnumber from t_icitem  a Left join t_stock b on a.FDefaultLoc=b.Fitemid Where a.FitemID=101
-- expect: first row CK01
GO

-- FillDefaultStock: an item without default stock
Select b.Fnumber from t_icitem  a Left join t_stock b on a.FDefaultLoc=b.Fitemid Where a.FitemID=102
-- expect: first row NULL
GO

-- GetSalePrice: special price of the running promotions for a customer of a limited promotion
  Set NoCount On 
If Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp end
CREATE TABLE #tmp (FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )
insert into #tmp Select l.FID,p.FXSPrice
from t_LS_ItemPrice p 
left join t_LS_CX l on l.FBillNo=p.FXSBillNo
left join T_LS_CX_Customer c on c.FBillNo=p.FXSBillNo
Where p.FItemID=115 and p.FBranchShop=0 and p.FUnitID=12
and (p.FXSBeginDate<='2026-12-05' and p.FXSEndDate>='2026-12-05') and (p.FXSBeginTime<='10:30' and p.FXSEndTime>='10:30')
and (c.FItemID is null or c.FItemID =1002)
select top 1 FXSPrice from #tmp order by FID desc
-- expect: first row 25
GO

-- GetSalePrice: special price for another customer; the newest unrestricted promotion wins
  Set NoCount On 
If Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp end
CREATE TABLE #tmp (FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )
insert into #tmp Select l.FID,p.FXSPrice
from t_LS_ItemPrice p 
left join t_LS_CX l on l.FBillNo=p.FXSBillNo
left join T_LS_CX_Customer c on c.FBillNo=p.FXSBillNo
Where p.FItemID=115 and p.FBranchShop=0 and p.FUnitID=12
and (p.FXSBeginDate<='2026-12-05' and p.FXSEndDate>='2026-12-05') and (p.FXSBeginTime<='10:30' and p.FXSEndTime>='10:30')
and (c.FItemID is null or c.FItemID =1001)
select top 1 FXSPrice from #tmp order by FID desc
-- expect: first row 27
GO

-- GetSalePrice: special price without a customer
  Set NoCount On 
If Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp end
CREATE TABLE #tmp (FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )
insert into #tmp Select l.FID,p.FXSPrice
from t_LS_ItemPrice p 
left join t_LS_CX l on l.FBillNo=p.FXSBillNo
left join T_LS_CX_Customer c on c.FBillNo=p.FXSBillNo
Where p.FItemID=115 and p.FBranchShop=0 and p.FUnitID=12
and (p.FXSBeginDate<='2026-12-05' and p.FXSEndDate>='2026-12-05') and (p.FXSBeginTime<='10:30' and p.FXSEndTime>='10:30')
and c.FItemID is null
select top 1 FXSPrice from #tmp order by FID desc
-- expect: first row 27
GO

-- GetSalePrice: an item without promotion has no special price
  Set NoCount On 
If Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp end
CREATE TABLE #tmp (FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )
insert into #tmp Select l.FID,p.FXSPrice
from t_LS_ItemPrice p 
left join t_LS_CX l on l.FBillNo=p.FXSBillNo
left join T_LS_CX_Customer c on c.FBillNo=p.FXSBillNo
Where p.FItemID=101 and p.FBranchShop=0 and p.FUnitID=11
and (p.FXSBeginDate<='2026-12-05' and p.FXSEndDate>='2026-12-05') and (p.FXSBeginTime<='10:30' and p.FXSEndTime>='10:30')
and (c.FItemID is null or c.FItemID =1001)
select top 1 FXSPrice from #tmp order by FID desc
-- expect: 0 rows
GO

-- GetSalePrice: the price sources in their order
 select * from t_XS_PriceProfile Order by FSortIndex 
-- expect: 7 rows
-- expect: first row 2 | 客户协议价 | 1 | 1
GO

-- GetSalePrice (source 6): the customer's last price and discount
Select FPrice,FDiscountRate From t_LatestPrice Where FItemID=113 And FCustID=1001 and FUnitID=22
-- expect: first row 25 | 95
GO

-- GetSalePrice (source 7): the item's latest sales price
Select a.FXSLatestPrice From t_icitem b left join T_ItemPrice a on a.fitemid=b.fitemid  Where a.FItemID=114 And a.FUnitID=11
-- expect: first row 88
GO

-- GetSalePrice: the customer's type
Select FTypeID From t_Organization Where FItemID=1002
-- expect: first row 73
GO

-- GetSalePrice: the customer types in the order of the level columns
Select FItemID,FAgioRatio From t_ClientType Order By FNumber
-- expect: 4 rows
-- expect: first row 71 | 100
GO

-- GetSalePrice (sources 3 to 5): level, standard and latest price with the profit rate, third customer type
Select p.FXSPrice3, p.FXSPrice,p.FXSLatestPrice,t.FProfitRate From t_ICItem t right Join t_ItemPrice p ON p.FItemID=t.FItemID Where t.FItemID=101 and p.FUnitID=11
-- expect: first row 11 | 12.5 | 12.5 | 0
GO

-- GetSalePrice (sources 4 and 5): without customer type; an item priced by cost plus profit
Select  p.FXSPrice,p.FXSLatestPrice,t.FProfitRate From t_ICItem t right Join t_ItemPrice p ON p.FItemID=t.FItemID Where t.FItemID=112 and p.FUnitID=21
-- expect: first row 0 | 0 | 0.25
GO

-- GetSaleTaxPrice (sources 3 to 5): tax-inclusive prices, second customer type
Select p.FXSPrice2, p.FXSPrice,p.FXSIncludeTaxLastPrice,t.FProfitRate From t_ICItem t right Join t_ItemPrice p ON p.FItemID=t.FItemID Where t.FItemID=101 and p.FUnitID=11
-- expect: first row 12 | 12.5 | 14.125 | 0
GO

-- GetSaleTaxPrice (source 6): the customer's last tax-inclusive price
Select FIncludeTaxPrice,FDiscountRate From t_LatestPrice Where FItemID=113 And FCustID=1001 and FUnitID=22
-- expect: first row 28.25 | 95
GO

-- GetSaleTaxPrice (source 7): the item's latest tax-inclusive price
Select a.FXSIncludeTaxLastPrice From t_icitem b left join T_ItemPrice a on a.fitemid=b.fitemid  Where a.FItemID=114 And a.FUnitID=11
-- expect: first row 99.44
GO

-- GetAgreementPrice, GetClientItemCode: the customer's agreement for the item
select * from t_ItemPriceProfile where FItemID= 102 and FCustID= 1001
-- expect: 1 rows
-- expect: first row 102 | 1001 | 14 | 30 | KH-SW-X | 12 | 1.4 | KH-SW-P | 0 | 0 | ''
GO

-- FindItemByClientCode: the customer's agreements with the item numbers
select a.*,b.FNumber from t_ItemPriceProfile a left join t_icitem b on a.FItemID=b.FItemID  where  FCustID= 1001 Order by b.FNumber
-- expect: 1 rows
GO

-- GetUnitBarcode, AfterFillRow: barcode of the item in the unit
select FBarcode from vw_barcode where FItemID=102 and FUnitID=14
-- expect: first row 6921001023000
GO

-- ShowCustomerCredit: the customer's balance and credit limit
Select FCurComeGoBalance,FCreditAmount From t_Organization Where FItemID = 1001
-- expect: first row 6930.54 | 100000
GO

-- AfterLoadBill: composite quantity of a row
Select dbo.GetComplexQty(102,480) as FComplexQtyDis
-- expect: first row 20箱
GO

-- AfterLoadBill: composite quantity of a weight-calculated row
Select dbo.GetComplexQty(104,2.88) as FComplexQtyDis
-- expect: first row 1捆
GO

-- AfterLoadBill: stores the composite quantities of a sales bill's rows, a few hundred at a time
UPDATE T_CC_StockBillEntry SET FComplexQtyDis = CASE lEntryID WHEN 19 THEN '1捆' WHEN 20 THEN '2箱' END WHERE lEntryID IN (19,20)
GO

-- UpdateComplexQtyText: stores the composite quantity of an order row
UPDATE t_XS_OrderEntry SET FComplexQtyDis = '20箱' WHERE lEntryID = 2
GO

-- CalcSettleLimitDate: payment term of the customer (monthly settlement on day 31)
 Select t2.FType,t2.FStandDays,t2.FMonthPayDay,t2.FBeforeDays From t_Organization t1 
 Left Join t_SetDl t2 ON t1.FPayMentTime=t2.FItemID Where t1.FItemID=1002
-- expect: first row 2 | 0 | 31 | 0
GO

-- CalcSettleLimitDate: a customer without payment term
 Select t2.FType,t2.FStandDays,t2.FMonthPayDay,t2.FBeforeDays From t_Organization t1 
 Left Join t_SetDl t2 ON t1.FPayMentTime=t2.FItemID Where t1.FItemID=1005
-- expect: first row NULL | NULL | NULL | NULL
GO

-- m_BillInterface_BeforeSelBills: returnable sales deliveries of the customer, narrowed to the kind 销售发货
Select t.FID,t.FBillNo,t.FDate,t_BaseBillTypeData2.FName As FBillTypeName,e.FEntryID,e.FItemID,e.FUnRejectQty
From t_cc_stockbill t Inner Join t_cc_stockbillentry e On t.FID=e.FID
Left Join t_BaseBillTypeData t_BaseBillTypeData2 On t.FBillTypeID=t_BaseBillTypeData2.FID
Where t.FClassTypeID=1030002 And t.FStatus=1 And t.FCustID=1001 And e.FUnRejectQty>0  and  t_BaseBillTypeData2.FName ='销售发货'  
-- expect: 3 rows
GO

-- m_BillInterface_BeforeSelBills: consignment settlements of the customer, narrowed to the kind 委托结算
Select t.FID,t.FBillNo,t.FDate,t_BaseBillTypeData2.FName As FBillTypeName,e.FEntryID,e.FItemID,e.FUnRejectQty
From t_cc_stockbill t Inner Join t_cc_stockbillentry e On t.FID=e.FID
Left Join t_BaseBillTypeData t_BaseBillTypeData2 On t.FBillTypeID=t_BaseBillTypeData2.FID
Where t.FClassTypeID=1030002 And t.FStatus=1 And t.FCustID=1004 And e.FUnRejectQty>0  and  t_BaseBillTypeData2.FName ='委托结算'  
-- expect: 1 rows
-- expect: first row 5 | XSD000003 | 2026-11-25 | 委托结算 | 10 | 101 | 20
GO

-- m_BillInterface_AfterSelBill: kind of the source sales bill of a return
Select FBillTypeID From t_cc_stockbill Where FID = 5
-- expect: first row 3003
GO

-- m_BillInterface_AfterSelBill: number of the source sales bill
select FBillNo from t_cc_stockbill where fid='2'
-- expect: first row XSD000001
GO

-- m_BillInterface_AfterSelBill: number of the source sales order
select FBillNo from t_xs_order where fid='1'
-- expect: first row XSDD000001
GO

-- m_BillInterface_AfterSelBill (purchase source): quantity of the purchase row already delivered by sales bills
Select b.FItemID,sum(b.FQty) as FQty from t_cc_stockbill a inner join t_cc_stockbillentry b on a.FID=b.FID where a.FClassTypeID=1030002 and b.FID_SRC=1 and b.FEntryID_SRC=1 and b.FClassID_SRC=1020002 group by b.FItemID
-- expect: 0 rows
GO

-- m_BillInterface_AfterSelBill (purchase source): customers of the sales orders behind the purchase bill
 select distinct t6.FCustID As FCustID,t7.FNumber As FNumber from t_CC_StockBill t1 
 inner join t_CC_StockBillEntry t2 on t1.FID=t2.FID
 inner join t_CG_OrderEntry t3 on t2.FClassID_SRC=1020001 and t2.FID_SRC=t3.FID and t2.FEntryID_SRC=t3.FEntryID
 inner join t_CG_Order t4 on t3.FID=t4.FID
 inner join t_XS_OrderEntry t5 on t3.FClassID_SRC=1030001 and t3.FID_SRC=t5.FID and t3.FEntryID_SRC=t5.FEntryID
 inner join t_XS_Order t6 on t5.FID=t6.FID
 inner join t_Item t7 on t6.FCustID=t7.FItemID
 where t2.FID in ( 1 )
-- expect: 1 rows
-- expect: first row 1004 | C004
GO

-- m_BillInterface_AfterSave: the customer's contacts of the bill's contact name (one found)
declare @FItemID    int
declare @FContact   varchar(50)
declare @ExistFirst tinyint
Set @FItemID=1001
Set @FContact='张伟'
Select @ExistFirst=Case When Exists(Select * From t_Contact Where FItemID=@FItemID And FIsFirst=1) Then 1 Else 0 End
if Exists(Select * from t_Contact Where FItemID=@FItemID and FContact=@FContact)
begin
     Select @ExistFirst As FWithFirst,0 As FIsNew,* From t_Contact Where FItemID=@FItemID and FContact=@FContact
end
else
begin
     Select @ExistFirst As FWithFirst,1 As FIsNew
end
-- expect: 1 rows
-- expect: first row 1 | 0 | 1 | 1001 | 张伟 | 1
GO

-- m_BillInterface_AfterSave: a contact name the customer holds twice
declare @FItemID    int
declare @FContact   varchar(50)
declare @ExistFirst tinyint
Set @FItemID=1006
Set @FContact='王强'
Select @ExistFirst=Case When Exists(Select * From t_Contact Where FItemID=@FItemID And FIsFirst=1) Then 1 Else 0 End
if Exists(Select * from t_Contact Where FItemID=@FItemID and FContact=@FContact)
begin
     Select @ExistFirst As FWithFirst,0 As FIsNew,* From t_Contact Where FItemID=@FItemID and FContact=@FContact
end
else
begin
     Select @ExistFirst As FWithFirst,1 As FIsNew
end
-- expect: 2 rows
GO

-- m_BillInterface_AfterSave: a new contact of a customer without first contact
declare @FItemID    int
declare @FContact   varchar(50)
declare @ExistFirst tinyint
Set @FItemID=1003
Set @FContact='陈晓'
Select @ExistFirst=Case When Exists(Select * From t_Contact Where FItemID=@FItemID And FIsFirst=1) Then 1 Else 0 End
if Exists(Select * from t_Contact Where FItemID=@FItemID and FContact=@FContact)
begin
     Select @ExistFirst As FWithFirst,0 As FIsNew,* From t_Contact Where FItemID=@FItemID and FContact=@FContact
end
else
begin
     Select @ExistFirst As FWithFirst,1 As FIsNew
end
-- expect: 1 rows
-- expect: first row 0 | 1
GO

-- FillCustomerContact: the customer's first contact
select  t2.FContact ,t2.FAddress as FReceiveAddr,t2.FPhone,t2.FMobilePhone
From t_Organization t1 Inner join t_Contact t2  On t1.FItemID =t2.FItemID and t2.FIsFirst =1 where t1.FItemID=1001
-- expect: 1 rows
-- expect: first row 张伟 | 上海市浦东新区张杨路500号 | 021-58880001 | 13900000011
GO

-- m_BillInterface_Change (FEmpID, FEmpId): department of the employee
Select FNumber From t_Department Where FItemID = (Select FDepartmentID From t_Emp Where FItemID=402)
-- expect: first row D02
GO

-- m_BillInterface_Change (FBalanceStyle): settlement account of the settlement style
Select FItemID,FNumber,FName From t_SettleAcct Where FItemID = (Select FAcctID From t_Settle Where FItemID=92)
-- expect: first row 2 | 1002.01 | 工商银行基本户
GO

-- m_BillInterface_Change (FDiscountAcctId): an account with quantity accounting
select FQuantities,FCurrencyID from t_account where   FAccountID='1405'
-- expect: first row 1 | 0
GO

-- m_BillInterface_Change (FDiscountAcctId): an account in one foreign currency
select FQuantities,FCurrencyID from t_account where   FAccountID='100203'
-- expect: first row 0 | 2
GO

-- m_BillInterface_Change (FItemID): discount ratio of the customer's type
Select FAgioRatio From t_ClientType Where FItemID = (Select FTypeID From t_Organization Where FItemID=1002)
-- expect: first row 90
GO

-- m_BillInterface_Change (FItemID): a customer without type has no discount ratio
Select FAgioRatio From t_ClientType Where FItemID = (Select FTypeID From t_Organization Where FItemID=1005)
-- expect: 0 rows
GO

-- m_BillInterface_Change (FItemID): the item's tax rate in percent
select (isnull(FTaxRate, 0) * 100) from t_ICItem where FItemID=101
-- expect: first row 13
GO

-- m_BillInterface_Change (FItemID): the general tax rate
select FValue from t_systemprofile where fcategory='General' And FKey='TaxRate'
-- expect: first row 13
GO

-- m_BillInterface_Change (FItemID): secondary coefficient, conversion method and shelf life of the item
select isnull(FSecCoefficient,0) as FSecCoefficient,isnull(FConverMethod,0) as FConverMethod,isnull(FKFPeriod,0) as FKFPeriod,* from t_icitem Where FItemID=106
-- expect: 1 rows
-- expect: first row 0 | 0 | 21 | 106 | I006
GO

-- ValidateSaleBill: first day of the current period
 SELECT FStartDate FROM t_PeriodDate WHERE  FYear =(SELECT CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'CurrentYear' ) AND  FPeriod =(SELECT CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'CurrentPeriod') 
-- expect: first row 2026-12-01
GO

-- ValidateSaleBill (direct delivery): quantity of the purchase row delivered by other sales bills
select isnull(sum(FQty),0) from t_cc_stockbill a inner join t_cc_stockbillentry b on a.fid=b.fid
where a.FClassTypeID=1030002 And (a.FBillTypeID=3001 OR a.FBillTypeID=3003) and b.FID_SRC= 1 and b.FClassID_SRC=1020002 and b.FEntryID_SRC=1 AND b.FEntryID <> 0
-- expect: first row 0
GO

-- ValidateSaleBill (direct delivery): base quantity of the purchase row not yet pushed on
select isnull((max(u1.FUnRejectQty*u1.FQty/u1.FShowQty) ), 0) 
from t_CC_StockBill v1 Inner Join t_CC_StockBillEntry u1 On v1.FID=u1.FID 
where v1.FClassTypeID=1020002 and v1.FID=1 and u1.FEntryID=1
-- expect: first row 5
GO

-- ValidateSaleBill: source rows a new bill exceeds (order row open 60, 70 entered; return of 40 against 35 open)
Select '',0,0 From t_CC_StockBillEntry Where 1=2 
 Union Select '1',Case When e.FUnSendQty+0<70*1/e.FCoefficient-0.000001 Then 1 Else 2 End as ErrType,e.FEntryID From t_XS_OrderEntry e Inner Join t_XS_Order t On e.FID=t.FID Where e.FEntryID=1 And (e.FUnSendQty+0<70*1/e.FCoefficient-0.000001 OR t.FDate>'2026-12-05')
 Union Select '2',Case When e.FUnRejectQty+0<40*1/e.FCoefficient-0.000001 Then 1 Else 2 End as ErrType,e.FEntryID From t_CC_StockBillEntry e Inner Join t_CC_StockBill t On e.FID=t.FID Where e.FEntryID=3 And (e.FUnRejectQty+0<40*1/e.FCoefficient-0.000001 OR t.FDate>'2026-12-05')
-- expect: 2 rows
GO

-- ValidateSaleBill: a stored bill counts its own earlier quantity and a source dated after the bill is a date error
Select '',0,0 From t_CC_StockBillEntry Where 1=2 
 Union Select '1',Case When e.FUnSendQty+c.FShowQty*c.FCoefficient/e.FCoefficient<70*1/e.FCoefficient-0.000001 Then 1 Else 2 End as ErrType,e.FEntryID From t_XS_OrderEntry e Inner Join t_XS_Order t On e.FID=t.FID Inner Join t_CC_StockBillEntry c On c.FEntryID=3 Where e.FEntryID=1 And (e.FUnSendQty+c.FShowQty*c.FCoefficient/e.FCoefficient<70*1/e.FCoefficient-0.000001 OR t.FDate>'2026-11-09')
-- expect: 1 rows
-- expect: first row 1 | 2 | 1
GO

-- ValidateSaleBill: the customer's credit limit and record
Select FCreditAmount,* From t_Organization Where FItemID=1002
-- expect: first row 50000 | 1002
GO

-- CheckAuditState: reject state of the sales bill
Select FRejected From t_cc_stockbill Where FClassTypeID=1030002 And FID=11
-- expect: first row 1
GO

-- m_BillInterface_BusinessCheck: first row of a serial-managed item without any serial number
select top 1 ti.FName,tcsben.FIndex from t_cc_stockbillentry tcsben 
left join t_SerialNumList tsn on tsn.FBillID=tcsben.FID and tsn.FBillIndexID=tcsben.FIndex and tsn.FItemID=tcsben.FItemID
inner join t_icitem ti on ti.FItemID=tcsben.FItemID
where tcsben.FID=12 and ti.FIsSerialNumMgr=1 and isnull(tsn.FID,0)=0
order by tcsben.FIndex
-- expect: first row 笔记本电脑 | 1
GO

-- m_ListInterface_BusinessCheck: bills of the selection with a serial-managed item without serial numbers
select top 1 tcsb.FBillNo from t_cc_stockbill tcsb inner join t_cc_stockbillentry tcsben on tcsb.FID=tcsben.FID
left join t_SerialNumList tsn on tsn.FBillID=tcsben.FID and tsn.FBillIndexID=tcsben.FIndex and tsn.FItemID=tcsben.FItemID
inner join t_icitem ti on ti.FItemID=tcsben.FItemID
where tcsb.FID in (2,3,12) and ti.FIsSerialNumMgr=1 and isnull(tsn.FID,0)=0
-- expect: first row XSD000006
GO

-- m_BillInterface_UnBusinessCheck: rebate bills made from the sales bill
If Object_Id('t_FL_SchemeLink') Is Not Null Select FBillNo From t_FL_SchemeLink Where FClassID_SRC=1030002 And FID_SRC=2
-- expect: first row FL000001
GO

-- m_BillInterface_AfterDoAction2: composite quantity after the quantity changed
Select dbo.GetComplexQty(101,40) As FComplexQtyDis
-- expect: first row 40个
GO

-- m_BillInterface_MenuBarClick (mnuRelatePushBill_1050001): the bill was taken over by receivables
Select top 1 1 from t_RP_CheckBillEntry1 t1 inner join t_RP_CheckBill t2 on t1.FID=t2.FID where t1.FSourceBillId=5 And t1.FSourceClassTypeId=1030002 And t2.FBillTypeId in(5024,5025)
-- expect: 1 rows
GO

-- m_BillInterface_MenuBarClick (mnuRelatePushBill_1050001): a bill still free for a receipt
Select top 1 1 from t_RP_CheckBillEntry1 t1 inner join t_RP_CheckBill t2 on t1.FID=t2.FID where t1.FSourceBillId=2 And t1.FSourceClassTypeId=1030002 And t2.FBillTypeId in(5024,5025)
-- expect: 0 rows
GO

-- m_BillInterface_MenuBarClick (mnuFilePrint, mnuFilePreview): save before printing
Select FValue From t_SystemProfile Where FCategory='IC' And FKey='SaveBeforePrint'
-- expect: first row 0
GO

-- m_ListInterface_MenuBarClick (mnuEditCopy, mnuEditDelete): reject state of a selected sales bill
Select FRejected From t_CC_StockBill Where FClassTypeID=1030002 And FID=11
-- expect: first row 1
GO

-- m_ListInterface_MenuBarClick (mnuGenLogic): kind of a selected sales bill
Select FBillTypeID From t_CC_StockBill Where FClassTypeID=1030002 And FID=5
-- expect: first row 3003
GO

-- GetSaleBillMakeTzeInvoiceDict: the buyer's tax, address and bank data
Select t1.FItemID As FCustID,t1.FNumber As FCustNumber,t1.FName As FCustName,t1.FTaxNum As FBuyerTaxID,t1.FAddress+' '+t1.FCompanyPhone As FBuyerAddress,ISNULL(t2.FName,'')+' '+t1.FBankAccount As FBuyerBankInfo,t1.FPhone As BuyerPhone From t_Organization t1 Left Join t_SubMessage t2 On t1.FBankID=t2.FID And t2.FTypeID=22 Where t1.FItemID=1001
-- expect: first row 1001 | C001 | 上海联华超市有限公司 | 91310000132200821H | 上海市浦东新区张杨路500号 021-58880000 | 中国工商银行上海浦东支行 1001200019000012345 | 021-58880001
GO

-- GetSaleBillMakeTzeInvoiceDict: quantity and amounts of the bill's rows already invoiced
Select b.FEntryID_SRC,Sum(b.FQty) As FQty,Sum(b.FAmount) As FAmount,Sum(b.FTaxAmount) As FTaxAmount,Sum(b.FInTaxAmount) As FInTaxAmount From t_Invoice a Inner Join t_InvoiceEntry b On a.FID=b.FID Where b.FClassID_SRC=1030002 And b.FID_SRC=2 Group By b.FEntryID_SRC
-- expect: 1 rows
-- expect: first row 3 | 20 | 250 | 32.5 | 282.5
GO

-- mnu_MakeTzeInvoice: the selected bills' customers, kinds, states and invoice types
Select Count(Distinct FCustID) As FCustCount,Sum(Case When FBillTypeID=3004 Then 1 Else 0 End) As FReturnCount,Sum(Case When FStatus=0 Then 1 Else 0 End) As FUnCheckCount,Count(Distinct Case When FInvoiceType=2020 Then 3 Else 2 End) As FInvoiceKinds,Sum(Case When FInvoiceAmt>0 Then 1 Else 0 End) As FInvoicedCount From t_cc_stockbill Where FClassTypeID=1030002 And FID In(2,3)
-- expect: first row 2 | 0 | 1 | 1 | 1
GO

-- mnu_MakeTzeInvoice: items of the selected bills without tax category
Select top 10 i.FNumber,i.FName,i.FModel From t_cc_stockbillentry e Inner Join t_ICItem i On e.FItemID=i.FItemID Where e.FID In(2,3) And IsNull(i.FTaxCategoryCode,'')=''
-- expect: 0 rows
GO

-- BuildLookupEntries (mnuQuerySaleReject): returns made from the sales bill
Select Distinct e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,e.FShowQty,e.FQty,e.FSecQty,e.FRejectQty,e.FRejectAuxQty,e.FTaxPrice,e.FInTaxAmount From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID Inner Join t_BaseBillTypeData d On t.FBillTypeID=d.FID Inner Join t_ICItem i On e.FItemID=i.FItemID Left Join vw_Unit t7 On e.FShowUnitID=t7.FItemID And e.FItemID=t7.FSrcItemId Where d.FID=3002 And e.FClassID_SRC=1030002 And e.FID_SRC=2
-- expect: 1 rows
-- expect: first row 11 | 6 | 1030002 | 销售退货 | 2026-11-20 | XSD000004 | I001 | 不锈钢保温杯 | 500ml | 个 | 5 | 5 | 0 | 0 | 0 | 14.125 | 70.63
GO

-- BuildLookupEntries (mnuQuerySaleOrder): the sales orders the bill's rows came from
Select Distinct e.FEntryID,t.FID,t.FClassTypeID,'销售订单' as FBillTypeName,t.FDate,t.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,e.FShowQty,e.FQty,e.FSecQty,e.FTaxPrice,e.FInTaxAmount From t_XS_Order t Inner Join t_XS_OrderEntry e ON t.FID=e.FID Inner Join t_CC_StockBillEntry s On s.FClassID_SRC=1030001 And s.FID_SRC=e.FID And s.FEntryID_SRC=e.FEntryID Inner Join t_ICItem i On e.FItemID=i.FItemID Left Join vw_Unit t7 On e.FShowUnitID=t7.FItemID And e.FItemID=t7.FSrcItemId Where s.FID=2
-- expect: 1 rows
-- expect: first row 1 | 1 | 1030001 | 销售订单 | 2026-11-10 | XSDD000001 | I001 | 不锈钢保温杯 | 500ml | 个 | 100 | 100 | 0 | 14.125 | 1412.5
GO

-- BuildLookupEntries (mnuQueryPayIn): the bill's own write-off, its receipts and write-off bills
Select '销售单' As FBillTypeName,t.FID,t.FDate,t.FBillNo,'' As FAcctName,t.FCurCheckAmount As FAmount,t.FNote From t_cc_stockbill t Where t.FID=2
Union All
Select '收款单',r.FID,r.FDate,r.FBillNo,a.FName,r.FAmount,r.FNote From t_RP_RBill r Left Join t_SettleAcct a On r.FSettleAcctID=a.FItemID Where r.FSourceClassTypeId=1030002 And r.FSourceBillId=2
Union All
Select '核销单',c.FID,c.FDate,c.FBillNo,'',e.FAmount,c.FNote From t_RP_CheckBill c Inner Join t_RP_CheckBillEntry1 e On c.FID=e.FID Where e.FSourceClassTypeId=1030002 And e.FSourceBillId=2
-- expect: 2 rows
-- expect: first row 销售单 | 2 | 2026-11-15 | XSD000001 | '' | 5000 | ''
GO

-- CheckAuditState (second sales bill type): reject state of the exchange bill
Select FRejected From t_cc_Change Where FClassTypeID=1030005 And FID=2
-- expect: first row 1
GO

-- m_BillInterface_AfterSave (second sales bill type): writes the chosen contact's address back
update t_Contact set FAddress='上海市浦东新区世纪大道200号' where FID='2'
GO

-- m_BillInterface_AfterSave (second sales bill type): writes the chosen delivery address back
update t_SubMessage set FName='上海市闵行区莘庄工业区申富路99号 仓库收'  where FTypeID=66 and FID='661'
GO

-- m_BillInterface_Change (FItemID, sales order): tax rate of the item, else the general rate
  select case isnull(t1.FTaxRate,0) when 0 then isnull( Convert(decimal(18,0),t2.FValue),0) else isnull( Convert(decimal(18,0),t1.FTaxRate * 100), 0) end As FTaxRate 
  From  t_ICItem t1   Left Join (select FValue from t_systemprofile where fcategory='General' And FKey='TaxRate') t2 on 1=1   where t1.FItemID = 116
-- expect: first row 13
GO

-- m_BillInterface_Change (FItemID, sales order): tax rate of an item with its own rate
  select case isnull(t1.FTaxRate,0) when 0 then isnull( Convert(decimal(18,0),t2.FValue),0) else isnull( Convert(decimal(18,0),t1.FTaxRate * 100), 0) end As FTaxRate 
  From  t_ICItem t1   Left Join (select FValue from t_systemprofile where fcategory='General' And FKey='TaxRate') t2 on 1=1   where t1.FItemID = 103
-- expect: first row 9
GO

-- m_BillInterface_Change (FItemID, sales order, consignment, opening bills): secondary-unit data of the item
select FSecCoefficient,FConverMethod,* from t_icitem Where FItemID=103
-- expect: first row 0.04 | 1078 | 103 | I003
GO

-- m_BillInterface_AfterSelBill (consignment bill): number of the source consignment bill
select FBillNo from t_cc_stockbill where fid='4'
-- expect: first row WTD000001
GO

-- m_ListInterface_MenuBarClick (consignment bill): kind of a selected consignment bill
Select FBillTypeID From t_CC_StockBill Where FClassTypeID=1030003 And FID=4
-- expect: first row 3010
GO

-- BuildLookupEntries (mnuQueryConsignAccount): settlements made from the consignment bill
Select Distinct e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,e.FShowQty,e.FQty,e.FSecQty,e.FSettleQty,e.FSettleAuxQty,e.FTaxPrice,e.FInTaxAmount From t_CC_StockBill t Inner Join t_CC_StockBillEntry e ON t.FID=e.FID Inner Join t_BaseBillTypeData d On t.FBillTypeID=d.FID Inner Join t_ICItem i On e.FItemID=i.FItemID Left Join vw_Unit t7 On e.FShowUnitID=t7.FItemID And e.FItemID=t7.FSrcItemId Where d.FID=3003 And e.FClassID_SRC=1030003 And e.FID_SRC=4
-- expect: 1 rows
-- expect: first row 10 | 5 | 1030002 | 委托结算 | 2026-11-25 | XSD000003 | I001 | 不锈钢保温杯 | 500ml | 个 | 20 | 20
GO

-- CheckConsign: a consignment return exceeding the open quantity of its source row
Select '',0,0 From t_CC_StockBillEntry Where 1=2 
 Union Select '1',Case When e.FUnRejectQty+0<35*1/e.FCoefficient-0.000001 Then 1 Else 2 End as ErrType,e.FEntryID From t_CC_StockBillEntry e Inner Join t_CC_StockBill t On e.FID=t.FID Where e.FEntryID=8 And (e.FUnRejectQty+0<35*1/e.FCoefficient-0.000001 OR t.FDate>'2026-12-05')
-- expect: first row 1 | 1 | 8
GO

-- OpeningStartDate: first day of the start period (opening-balance bills)
 SELECT FStartDate FROM t_PeriodDate WHERE 
 FYear =(SELECT CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'StartYear' ) AND  FPeriod =(SELECT CONVERT(INT, FValue) FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'StartPeriod') 
-- expect: first row 2026-11-01
GO

-- IsIsVirtualStock: the gift stock is virtual
SELECT 'X' FROM t_Stock WHERE FTypeID = 502 AND FItemID = 603
-- expect: first row X
GO

-- IsIsVirtualStock: an ordinary stock is not
SELECT 'X' FROM t_Stock WHERE FTypeID = 502 AND FItemID = 601
-- expect: 0 rows
GO

-- IsIsVirtualStock: nor is a stock that does not exist
SELECT 'X' FROM t_Stock WHERE FTypeID = 502 AND FItemID = 999
-- expect: 0 rows
GO

-- GetPurchasePrice: purchase prices of the item
select FCGLatestPrice,FCGPrice from T_ItemPrice where FItemID=103 and FUnitID=15
-- expect: first row 98 | 0
GO

-- GetPurchasePrice: the supplier's last price
select FDiscountRate,FPrice from t_LatestPrice where FItemID=103 and FUnitID=15 and FSupplyID>0 and FSupplyID=2003
-- expect: first row 98 | 98
GO

-- CheckOrder (save): the customer's credit limit and record
Select FCreditAmount,* From t_Organization Where FItemID=1001
-- expect: first row 100000 | 1001
GO

-- CheckOrder (close): an order with rows still to deliver
Select FID From t_XS_OrderEntry Where FUnSendQty>0 And FID=1
-- expect: 2 rows
-- expect: first row 1
GO

-- CheckOrder (close): an order delivered in full
Select FID From t_XS_OrderEntry Where FUnSendQty>0 And FID=4
-- expect: 0 rows
GO

-- CheckOrderAudit, m_ListInterface_MenuBarClick (mnuEditDelete): reject state of the sales order
Select FRejected From t_XS_Order Where FClassTypeID=1030001 And FID=6
-- expect: first row 1
GO

-- m_ListInterface_MenuBarClick (mnuEditCopy): kind of a selected sales order
Select FBillTypeID From t_XS_Order Where FClassTypeID=1030001 And FID=5
-- expect: first row 3032
GO

-- BuildLookupEntries (execution): bills made from the order and bills made from those, returns negated
 Select e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FShowQty  else e.FShowQty end) as FShowQty,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FQty  else e.FQty end) as FQty,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FSecQty  else e.FSecQty end) as FSecQty,
 e.FTaxPrice/e.FCoefficient as FTaxPrice,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FInTaxAmount  else e.FInTaxAmount end) as FInTaxAmount
 From t_CC_StockBill t Inner Join t_CC_StockBillEntry e On t.FID=e.FID
 Inner Join t_BaseBillTypeData d On t.FBillTypeID=d.FID
 Inner Join t_ICItem i On e.FItemID=i.FItemID
 Left Join vw_unit t7 On e.FShowUnitID=t7.FItemID And e.FItemID=t7.FSrcItemId
 Where e.FClassID_SRC=1030001  And e.FID_SRC=1
 Union All
 Select e.FEntryID,t.FID,t.FClassTypeID,d.FName as FBillTypeName,t.FDate,t.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FShowQty  else e.FShowQty end) as FShowQty,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FQty  else e.FQty end) as FQty,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FSecQty  else e.FSecQty end) as FSecQty,
 e.FTaxPrice/e.FCoefficient as FTaxPrice,
 (case when t.FBillTypeID=3011 or t.FBillTypeID=3002 then (-1)*e.FInTaxAmount  else e.FInTaxAmount end) as FInTaxAmount
 From t_CC_StockBill t Inner Join t_CC_StockBillEntry e On t.FID=e.FID
 Inner Join t_CC_StockBill ct On e.FClassID_SRC=ct.FClassTypeID And e.FID_SRC=ct.FID
 Inner Join t_CC_StockBillEntry c On c.FID=ct.FID And e.FEntryID_SRC=c.FEntryID
 Inner Join t_BaseBillTypeData d On t.FBillTypeID=d.FID
 Inner Join t_ICItem i On e.FItemID=i.FItemID
 Left Join vw_unit t7 On e.FShowUnitID=t7.FItemID And e.FItemID=t7.FSrcItemId
 Where d.FID In (3010,3011,3001,3002,3003) And e.FClassID_SRC<>1030001 And c.FClassID_SRC=1030001 And c.FID_SRC=1
-- expect: 2 rows
-- expect: first row 3 | 2 | 1030002 | 销售发货 | 2026-11-15 | XSD000001 | I001 | 不锈钢保温杯 | 500ml | 个 | 40 | 40 | 0 | 14.125 | 565
GO

-- BuildLookupEntries (purchase orders): purchase orders made from the sales order
 Select Distinct ee.FEntryID,tt.FID,tt.FClassTypeID,'采购订单' as FBillTypeName,tt.FDate,tt.FBillNo,i.FNumber as FItemNumber,i.FName as FItemName,i.FModel as FItemSpeci,t7.FName as FUnitName,ee.FShowQty,ee.FQty,ee.FSecQty,ee.FTaxPrice,ee.FInTaxAmount
 From t_XS_Order t Inner Join t_XS_OrderEntry e On t.FID=e.FID
 Inner Join t_cg_OrderEntry ee On ee.FClassID_SRC=t.FClassTypeID And ee.FID_SRC=e.FID And ee.FEntryID_SRC=e.FEntryID
 Inner Join t_cg_Order tt On ee.FID=tt.FID
 Inner Join t_ICItem i On ee.FItemID=i.FItemID
 Left Join vw_unit t7 On ee.FShowUnitID=t7.FItemID And ee.FItemID=t7.FSrcItemId
 Where tt.FCLassTypeID=1020001 And t.FCLassTypeID=1030001 And e.FID=7
-- expect: 1 rows
-- expect: first row 1 | 1 | 1020001 | 采购订单 | 2026-11-12 | CGDD000001 | I017 | 空调 | KFR-35GW 1.5匹 | 台 | 5 | 5 | 0 | 2712 | 13560
GO

-- m_BillInterface_AfterLoadBill (special-price bill): number to ID
select FID from T_LS_CX where FBillNo='CX000003'
-- expect: first row 3
GO

-- m_BillInterface_AfterLoadBill (special-price bill): the customers the bill is limited to
select FItemID from T_LS_CX_Customer where FBillID=3
-- expect: 1 rows
-- expect: first row 1002
GO

-- cmdSelCust_Click: every customer for the selection window
Select a.FItemID,a.FNumber,a.FName,a.FParentID,a.FDetail,a.FDeleted,b.FIntent From t_Item a left join  t_Organization b on a.FItemID=b.FItemID WHERE a.FItemClassID=1 ORDER BY b.FIntent,a.FNumber 
-- expect: 8 rows
-- expect: first row 1000 | 01 | 华东区 | 0 | 0 | 0 | NULL
GO

-- GetRegularPrice (special-price bill): the selected customer is one detail customer
select FItemID from t_Item where FDetail<>0 and  FItemID in (1002)
-- expect: 1 rows
GO

-- GetRegularPrice (special-price bill): several selected customers
select FItemID from t_Item where FDetail<>0 and  FItemID in (1001,1003)
-- expect: 2 rows
GO

-- GetRegularPrice (special-price bill): a customer group is no detail customer
select FItemID from t_Item where FDetail<>0 and  FItemID in (1000)
-- expect: 0 rows
GO

-- ApplyCustomerFieldVisibility: visibility of the customer field of the special-price bill
select FVisible from ICClassTableInfo where FID=103000603
-- expect: first row 208
GO

-- ChkPriceValidate: standard sales price of the item in the unit
select FXSPrice from t_ItemPrice where FItemID =101 and FUnitID=11
-- expect: first row 12.5
GO

-- ChkPriceValidate: an item without standard sales price
select FXSPrice from t_ItemPrice where FItemID =112 and FUnitID=21
-- expect: first row 0
GO

-- m_BillInterface_Change (FEmpId, special-price bill): department of the employee
Select FNumber From t_Department Where FItemID = (Select FDepartmentID From t_Emp Where FItemID=401)
-- expect: first row D01
GO

-- m_BillInterface_SaveBillSuccess: ID of the saved special-price bill
select FID from T_LS_CX where FBillNo='CX000006'
-- expect: first row 6
GO

-- m_BillInterface_SaveBillSuccess: clears the bill's customers
delete T_LS_CX_Customer where FBillID=6
GO

-- m_BillInterface_SaveBillSuccess: stores the chosen customers
insert into T_LS_CX_Customer select 6,'1001,1003',FItemClassID,FItemID,FNumber,FNumber + '-' + FName as FShowName from dbo.t_Item where FItemID in (1001,1003)
GO

-- m_BillInterface_AfterLoadBill (special-price bill): the customers just stored
select FItemID from T_LS_CX_Customer where FBillID=6
-- expect: 2 rows
-- expect: first row 1001
GO
