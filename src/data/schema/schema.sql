-- =====================================================================================================
-- Host database of the trading and inventory ERP: tables and views that the sales plug-ins and the
-- host read and write.
--
-- Conventions
--   * T-SQL DDL; every batch ends with a line "GO". The same text applies to SQL Server and to the
--     embedded database behind the T-SQL front end.
--   * Internal IDs are int and are assigned by the host (the next free number inside the saving
--     transaction); no IDENTITY columns, so that account sets can be copied with their IDs.
--   * Flags are bit (0/1). Fields that the bills write as "0"/"1" texts but the rules compare with
--     numbers (FRejected, FMultiAccount) are int.
--   * Quantities, prices, coefficients and rates are decimal(28,10); amounts decimal(20,2).
--     Rates are percentages (FDiscountRate 100 = no discount, FTaxRate 13 = 13 %) except
--     t_ICItem.FTaxRate and t_ICItem.FProfitRate, which are fractions (0.13, 0.25).
--   * Numbers default to 0 and texts to '' so that a rule reading a column the host did not fill
--     finds 0 or '' and not NULL. Dates default to NULL (an empty date on a bill).
--   * Base data share one ID space through t_Item (FItemClassID 1 customers, 2 departments,
--     3 employees, 4 items, 5 stocks, 7 units, 8 suppliers); t_Organization, t_Department, t_Emp,
--     t_ICItem, t_Stock, t_MeasureUnit and t_Supplier hold the class details under the same FItemID.
--   * Bill class types (FClassTypeID): 1020001 purchase order, 1020002 purchase bill,
--     1020004 opening supplier bill, 1030001 sales order, 1030002 sales bill, 1030003 consignment
--     bill, 1030004 opening consignment bill, 1030005 sales exchange bill (second sales bill type),
--     1030006 special-price bill, 3000001 invoice, 5001 receipt bill, 5003 write-off bill.
--     t_BillClassType lists them with their tables.
-- =====================================================================================================

-- -----------------------------------------------------------------------------------------------------
-- Host: users, rights, user profile, components, bill numbering, bill classes
-- -----------------------------------------------------------------------------------------------------

-- t_User: the people who log in. FNumber is the login name ("admin"); an administrator (FIsAdmin 1)
-- passes every rights check. FNeedAuthorize switches data authorisation on for the user and
-- FAuthItemClassList lists the base-data classes under it ("5" = stocks, checked against
-- t_Stock.FRightUserID). FPassword is the password's salted slow hash (never the password; ''
-- = none set, and such a user cannot log in); FLoginFailures counts failed logins since the last
-- one that succeeded.
CREATE TABLE t_User (
    FUserID             int            NOT NULL,
    FNumber             nvarchar(50)   NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FIsAdmin            bit            NOT NULL DEFAULT 0,
    FEmpID              int            NOT NULL DEFAULT 0,
    FNeedAuthorize      bit            NOT NULL DEFAULT 0,
    FAuthItemClassList  varchar(100)   NOT NULL DEFAULT '',
    FForbidden          bit            NOT NULL DEFAULT 0,
    FPassword           varchar(255)   NOT NULL DEFAULT '',
    FLoginFailures      int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_User PRIMARY KEY (FUserID)
)
GO

-- t_AccessRight: rights granted to a user, by right group and object; FRights is the bit mask of
-- granted rights. A check (group, object, bit) passes when the user is an administrator or a row
-- of that group and object (or of that group with FObjectID 0, which stands for every object of
-- the group) has the bit set.
CREATE TABLE t_AccessRight (
    FUserID             int            NOT NULL,
    FGroupID            int            NOT NULL,
    FObjectID           int            NOT NULL,
    FRights             int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_AccessRight PRIMARY KEY (FUserID, FGroupID, FObjectID)
)
GO

-- t_UserProfile: per-user settings by section and key ("1030002BillSet" / "DoNotResetPrice",
-- "XS1030002" / "InvoiceType", "Base" / "CheckDuplicateItem" ...). FUserID 0 holds the values that
-- apply to every user who has no value of his own (the seller's invoicing data "Base" /
-- "TZESale...").
CREATE TABLE t_UserProfile (
    FUserID             int            NOT NULL,
    FSection            nvarchar(100)  NOT NULL,
    FKey                nvarchar(100)  NOT NULL,
    FValue              nvarchar(1000) NOT NULL DEFAULT '',
    CONSTRAINT PK_t_UserProfile PRIMARY KEY (FUserID, FSection, FKey)
)
GO

-- t_ComponentRegistry: creatable classes by ProgID: class ID and the library that serves them.
-- The host resolves a ProgID here, loads the library and asks it for the class.
CREATE TABLE t_ComponentRegistry (
    FProgID             varchar(100)   NOT NULL,
    FCLSID              varchar(38)    NOT NULL DEFAULT '',
    FLibraryPath        varchar(255)   NOT NULL DEFAULT '',
    FDescription        nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_ComponentRegistry PRIMARY KEY (FProgID)
)
GO

-- t_BillNoRule: numbering of new bills per bill class type: FBillNo = FPrefix followed by
-- FNextNumber padded with zeros to FWidth digits; the host takes the number and advances
-- FNextNumber in the saving transaction.
CREATE TABLE t_BillNoRule (
    FClassTypeID        int            NOT NULL,
    FPrefix             varchar(20)    NOT NULL DEFAULT '',
    FNextNumber         int            NOT NULL DEFAULT 1,
    FWidth              int            NOT NULL DEFAULT 6,
    CONSTRAINT PK_t_BillNoRule PRIMARY KEY (FClassTypeID)
)
GO

-- t_BillEditLock: who is editing a stored bill, and how often the host has written it. A form that
-- starts editing a stored bill takes the row's holder (FSessionKey, '' when free) and gives it back
-- on save and close; a holder whose session or process is gone, or idle for half an hour, is taken
-- over. FVersion counts the host's writes of the bill (save, audit, un-audit), so a form that was
-- opened before another session's write reads the bill again before it edits.
CREATE TABLE t_BillEditLock (
    FClassTypeID        int            NOT NULL,
    FBillID             int            NOT NULL,
    FVersion            int            NOT NULL DEFAULT 0,
    FSessionKey         varchar(120)   NOT NULL DEFAULT '',
    FUserID             int            NOT NULL DEFAULT 0,
    FUserName           nvarchar(80)   NOT NULL DEFAULT '',
    FHostName           nvarchar(120)  NOT NULL DEFAULT '',
    FProcessID          int            NOT NULL DEFAULT 0,
    FLockTime           datetime       NULL,
    FLastSeen           datetime       NULL,
    CONSTRAINT PK_t_BillEditLock PRIMARY KEY (FClassTypeID, FBillID)
)
GO

-- t_BillClassType: the bill class types the host can open: name, head and entry tables, the bill
-- template and the plug-in class (ProgID) that the host binds to the bill form ('' = none).
CREATE TABLE t_BillClassType (
    FClassTypeID        int            NOT NULL,
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FHeadTable          varchar(50)    NOT NULL DEFAULT '',
    FEntryTable         varchar(50)    NOT NULL DEFAULT '',
    FTemplate           varchar(50)    NOT NULL DEFAULT '',
    FProgID             varchar(100)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_BillClassType PRIMARY KEY (FClassTypeID)
)
GO

-- ICClassTableInfo: field definitions of the bill templates (one row per bill field). FVisible is
-- the visibility bit mask of the field (16 view, 64 new, 128 edit; 0 hidden).
CREATE TABLE ICClassTableInfo (
    FID                 int            NOT NULL,
    FClassTypeID        int            NOT NULL DEFAULT 0,
    FKey                varchar(50)    NOT NULL DEFAULT '',
    FFieldName          varchar(50)    NOT NULL DEFAULT '',
    FTableName          varchar(50)    NOT NULL DEFAULT '',
    FCaption            nvarchar(80)   NOT NULL DEFAULT '',
    FPage               int            NOT NULL DEFAULT 1,
    FVisible            int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_ICClassTableInfo PRIMARY KEY (FID)
)
GO

-- t_BaseBillTypeData: bill kinds (the head field FBillTypeID): 3001 sales delivery ... 3032 online
-- order; FClassTypeID is the bill class the kind belongs to.
CREATE TABLE t_BaseBillTypeData (
    FID                 int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_BaseBillTypeData PRIMARY KEY (FID)
)
GO

-- -----------------------------------------------------------------------------------------------------
-- Account set: system profile and accounting periods
-- -----------------------------------------------------------------------------------------------------

-- t_SystemProfile: account-set settings by category ("IC" inventory and sales, "GL" ledger state,
-- "General", "Base") and key; values are texts.
CREATE TABLE t_SystemProfile (
    FCategory           varchar(30)    NOT NULL,
    FKey                varchar(60)    NOT NULL,
    FValue              nvarchar(255)  NOT NULL DEFAULT '',
    FDescription        nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_SystemProfile PRIMARY KEY (FCategory, FKey)
)
GO

-- t_PeriodDate: accounting periods with their first and last day.
CREATE TABLE t_PeriodDate (
    FYear               int            NOT NULL,
    FPeriod             int            NOT NULL,
    FStartDate          datetime       NOT NULL,
    FEndDate            datetime       NOT NULL,
    CONSTRAINT PK_t_PeriodDate PRIMARY KEY (FYear, FPeriod)
)
GO

-- -----------------------------------------------------------------------------------------------------
-- Base data
-- -----------------------------------------------------------------------------------------------------

-- t_Item: every base-data record (customers, departments, employees, items, stocks, units,
-- suppliers) with its class, number, name and place in the tree (FDetail 0 = a group).
CREATE TABLE t_Item (
    FItemID             int            NOT NULL,
    FItemClassID        int            NOT NULL DEFAULT 0,
    FNumber             nvarchar(80)   NOT NULL DEFAULT '',
    FName               nvarchar(255)  NOT NULL DEFAULT '',
    FFullNumber         nvarchar(255)  NOT NULL DEFAULT '',
    FParentID           int            NOT NULL DEFAULT 0,
    FLevel              int            NOT NULL DEFAULT 1,
    FDetail             bit            NOT NULL DEFAULT 1,
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Item PRIMARY KEY (FItemID)
)
GO

-- t_ClientType: customer types; their order by FNumber gives the price-level column of
-- t_ItemPrice (first type FXSPrice1, second FXSPrice2 ...). FAgioRatio is the type's discount
-- rate in percent, written to a new row's FDiscountRate.
CREATE TABLE t_ClientType (
    FItemID             int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FAgioRatio          decimal(18,4)  NOT NULL DEFAULT 100,
    CONSTRAINT PK_t_ClientType PRIMARY KEY (FItemID)
)
GO

-- t_SetDl: payment terms. FType 1: due FStandDays days after the bill date. FType 2: monthly
-- settlement on day FMonthPayDay, counted from the bill date plus FBeforeDays.
CREATE TABLE t_SetDl (
    FItemID             int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FType               int            NOT NULL DEFAULT 1,
    FStandDays          int            NOT NULL DEFAULT 0,
    FMonthPayDay        int            NOT NULL DEFAULT 0,
    FBeforeDays         int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_SetDl PRIMARY KEY (FItemID)
)
GO

-- t_SettleAcct: settlement accounts (cash and bank accounts that receive payments).
CREATE TABLE t_SettleAcct (
    FItemID             int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FBankAccount        varchar(50)    NOT NULL DEFAULT '',
    CONSTRAINT PK_t_SettleAcct PRIMARY KEY (FItemID)
)
GO

-- t_Settle: settlement styles (cash, transfer, cheque) with their default settlement account.
CREATE TABLE t_Settle (
    FItemID             int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FAcctID             int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Settle PRIMARY KEY (FItemID)
)
GO

-- t_account: ledger accounts (the discount account of a sales bill). FQuantities 1: the account
-- keeps quantities; FCurrencyID: 0 home currency only, -1 all currencies, above 0 one foreign
-- currency.
CREATE TABLE t_account (
    FAccountID          int            NOT NULL,
    FNumber             varchar(40)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FQuantities         bit            NOT NULL DEFAULT 0,
    FCurrencyID         int            NOT NULL DEFAULT 0,
    FDetail             bit            NOT NULL DEFAULT 1,
    CONSTRAINT PK_t_account PRIMARY KEY (FAccountID)
)
GO

-- t_SubMessage: small lists by type: 20 invoice types (FID = the FInvoiceType value), 22 banks,
-- 30 delivery styles, 66 stored delivery addresses of a customer (FItemID = the customer).
CREATE TABLE t_SubMessage (
    FID                 int            NOT NULL,
    FTypeID             int            NOT NULL DEFAULT 0,
    FNumber             varchar(30)    NOT NULL DEFAULT '',
    FName               nvarchar(255)  NOT NULL DEFAULT '',
    FItemID             int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_SubMessage PRIMARY KEY (FID)
)
GO

-- t_Department: departments.
CREATE TABLE t_Department (
    FItemID             int            NOT NULL,
    FNumber             varchar(30)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FManager            int            NOT NULL DEFAULT 0,
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Department PRIMARY KEY (FItemID)
)
GO

-- t_Emp: employees with their department.
CREATE TABLE t_Emp (
    FItemID             int            NOT NULL,
    FNumber             varchar(30)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FDepartmentID       int            NOT NULL DEFAULT 0,
    FPhone              varchar(50)    NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Emp PRIMARY KEY (FItemID)
)
GO

-- t_Organization: customers (FItemClassID 1). FTypeID is the customer type (t_ClientType),
-- FPayMentTime the payment term (t_SetDl), FDefaultOperator the salesman (t_Emp);
-- FCurComeGoBalance the receivable balance and FCreditAmount the credit limit (0 = no limit);
-- FBankID a bank of t_SubMessage type 22; FIntent orders the customer list.
CREATE TABLE t_Organization (
    FItemID             int            NOT NULL,
    FItemClassID        int            NOT NULL DEFAULT 1,
    FNumber             nvarchar(80)   NOT NULL DEFAULT '',
    FName               nvarchar(255)  NOT NULL DEFAULT '',
    FShortName          nvarchar(80)   NOT NULL DEFAULT '',
    FParentID           int            NOT NULL DEFAULT 0,
    FTypeID             int            NOT NULL DEFAULT 0,
    FIntent             int            NOT NULL DEFAULT 0,
    FPayMentTime        int            NOT NULL DEFAULT 0,
    FDefaultOperator    int            NOT NULL DEFAULT 0,
    FCurComeGoBalance   decimal(20,2)  NOT NULL DEFAULT 0,
    FCreditAmount       decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxNum             varchar(30)    NOT NULL DEFAULT '',
    FAddress            nvarchar(255)  NOT NULL DEFAULT '',
    FDeliverAddr        nvarchar(255)  NOT NULL DEFAULT '',
    FCompanyPhone       varchar(50)    NOT NULL DEFAULT '',
    FPhone              varchar(50)    NOT NULL DEFAULT '',
    FMobilePhone        varchar(50)    NOT NULL DEFAULT '',
    FFax                varchar(50)    NOT NULL DEFAULT '',
    FEmail              varchar(80)    NOT NULL DEFAULT '',
    FBankID             int            NOT NULL DEFAULT 0,
    FBankAccount        varchar(50)    NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Organization PRIMARY KEY (FItemID)
)
GO

-- t_Contact: contacts of a customer (FItemID); FIsFirst marks the first contact.
CREATE TABLE t_Contact (
    FID                 int            NOT NULL,
    FItemID             int            NOT NULL DEFAULT 0,
    FContact            nvarchar(50)   NOT NULL DEFAULT '',
    FIsFirst            bit            NOT NULL DEFAULT 0,
    FAddress            nvarchar(255)  NOT NULL DEFAULT '',
    FPhone              varchar(50)    NOT NULL DEFAULT '',
    FMobilePhone        varchar(50)    NOT NULL DEFAULT '',
    FFax                varchar(50)    NOT NULL DEFAULT '',
    FEmail              varchar(80)    NOT NULL DEFAULT '',
    FQQNum              varchar(30)    NOT NULL DEFAULT '',
    FPosition           nvarchar(50)   NOT NULL DEFAULT '',
    FDeptName           nvarchar(80)   NOT NULL DEFAULT '',
    FPhoto              varchar(255)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_Contact PRIMARY KEY (FID)
)
GO

-- t_Supplier: suppliers; FDefaultOperator is the buyer (t_Emp).
CREATE TABLE t_Supplier (
    FItemID             int            NOT NULL,
    FNumber             nvarchar(80)   NOT NULL DEFAULT '',
    FName               nvarchar(255)  NOT NULL DEFAULT '',
    FParentID           int            NOT NULL DEFAULT 0,
    FDefaultOperator    int            NOT NULL DEFAULT 0,
    FTaxNum             varchar(30)    NOT NULL DEFAULT '',
    FAddress            nvarchar(255)  NOT NULL DEFAULT '',
    FPhone              varchar(50)    NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Supplier PRIMARY KEY (FItemID)
)
GO

-- t_Stock: stocks (warehouses). FTypeID 500 ordinary stock, 501 stock awaiting inspection,
-- 502 virtual or gift stock. FRightUserID lists the user IDs allowed to see the stock
-- (",1,2," form) when stock-level data authorisation is on.
CREATE TABLE t_Stock (
    FItemID             int            NOT NULL,
    FNumber             varchar(30)    NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FTypeID             int            NOT NULL DEFAULT 500,
    FRightUserID        varchar(500)   NOT NULL DEFAULT '',
    FAddress            nvarchar(255)  NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_Stock PRIMARY KEY (FItemID)
)
GO

-- t_MeasureUnit: units of measure.
CREATE TABLE t_MeasureUnit (
    FItemID             int            NOT NULL,
    FNumber             varchar(30)    NOT NULL DEFAULT '',
    FName               nvarchar(30)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_MeasureUnit PRIMARY KEY (FItemID)
)
GO

-- t_CalType: calculation types of weight-calculated rows: 1 theoretical weight ("理算"),
-- 2 by piece, 3 by actual (weighed) weight.
CREATE TABLE t_CalType (
    FItemID             int            NOT NULL,
    FNumber             varchar(20)    NOT NULL DEFAULT '',
    FName               nvarchar(30)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_CalType PRIMARY KEY (FItemID)
)
GO

-- t_AuxItem: auxiliary attributes (item variants such as colour and size).
CREATE TABLE t_AuxItem (
    FItemID             int            NOT NULL,
    FItemClassID        int            NOT NULL DEFAULT 0,
    FNumber             nvarchar(50)   NOT NULL DEFAULT '',
    FName               nvarchar(80)   NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_AuxItem PRIMARY KEY (FItemID)
)
GO

-- t_ICItem: items. FUnitID base unit; FSecUnitID secondary unit (0 none) with FSecCoefficient
-- (base units per secondary unit) and FConverMethod (1078 fixed, 1079 floating conversion);
-- FIsGC weight-calculated (Null is read as set); FISAuxi auxiliary-attribute managed; FTrack
-- costing method (0 moving average, 80 batch-specific identification, 81 weighted average);
-- FISBatchManager batch-managed; FISKFPeriod shelf-life managed with FKFPeriod days;
-- FAutoGenBatchNo automatic batch numbers (rule in t_BatchNoRule); FIsSerialNumMgr
-- serial-number managed; FTaxRate and FProfitRate fractions; FDefaultLoc default stock;
-- FTaxCategoryCode the tax category for invoicing ('' = missing).
CREATE TABLE t_ICItem (
    FItemID             int            NOT NULL,
    FNumber             nvarchar(80)   NOT NULL DEFAULT '',
    FName               nvarchar(255)  NOT NULL DEFAULT '',
    FModel              nvarchar(255)  NOT NULL DEFAULT '',
    FParentID           int            NOT NULL DEFAULT 0,
    FUnitID             int            NOT NULL DEFAULT 0,
    FSecUnitID          int            NOT NULL DEFAULT 0,
    FSecCoefficient     decimal(28,10) NOT NULL DEFAULT 0,
    FConverMethod       int            NOT NULL DEFAULT 0,
    FIsGC               bit            NULL     DEFAULT 0,
    FISAuxi             bit            NOT NULL DEFAULT 0,
    FTrack              int            NOT NULL DEFAULT 0,
    FISBatchManager     bit            NOT NULL DEFAULT 0,
    FISKFPeriod         bit            NOT NULL DEFAULT 0,
    FKFPeriod           int            NOT NULL DEFAULT 0,
    FAutoGenBatchNo     bit            NOT NULL DEFAULT 0,
    FIsSerialNumMgr     bit            NOT NULL DEFAULT 0,
    FTaxRate            decimal(18,6)  NOT NULL DEFAULT 0,
    FProfitRate         decimal(18,6)  NOT NULL DEFAULT 0,
    FDefaultLoc         int            NOT NULL DEFAULT 0,
    FTaxCategoryCode    varchar(30)    NOT NULL DEFAULT '',
    FTaxCategoryName    nvarchar(80)   NOT NULL DEFAULT '',
    FDeleted            bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_ICItem PRIMARY KEY (FItemID)
)
GO

-- t_barcode: the units of an item (one row per unit, FEntryNo its position) with the unit's
-- coefficient (base units per unit) and barcode; FIsDefaultUnit the default sales unit,
-- FIsMainUnit the main (base) unit.
CREATE TABLE t_barcode (
    FItemID             int            NOT NULL,
    FEntryNo            int            NOT NULL,
    FUnitID             int            NOT NULL DEFAULT 0,
    FCoefficient        decimal(28,10) NOT NULL DEFAULT 1,
    FBarcode            varchar(50)    NOT NULL DEFAULT '',
    FIsDefaultUnit      bit            NOT NULL DEFAULT 0,
    FIsMainUnit         bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_barcode PRIMARY KEY (FItemID, FEntryNo)
)
GO

-- vw_barcode: coefficient and barcode of an item in a unit.
CREATE VIEW vw_barcode AS
SELECT b.FItemID, b.FUnitID, b.FCoefficient, b.FBarcode, b.FEntryNo
FROM t_barcode b
GO

-- vw_Unit: the units of an item; FItemID is the unit, FSrcItemId the item.
CREATE VIEW vw_Unit AS
SELECT u.FItemID, u.FNumber, u.FName, b.FCoefficient, b.FBarcode AS FBarCode,
       b.FItemID AS FSrcItemId, b.FIsDefaultUnit, b.FIsMainUnit, b.FEntryNo AS FOrder
FROM t_barcode b
INNER JOIN t_MeasureUnit u ON u.FItemID = b.FUnitID
GO

-- t_BatchNoRule: automatic batch numbers of an item (FItemID 0: the rule of every other item):
-- the next batch is FPrefix followed by FCurSerial + 1 with FSerialLen digits.
CREATE TABLE t_BatchNoRule (
    FItemID             int            NOT NULL,
    FPrefix             varchar(30)    NOT NULL DEFAULT '',
    FSerialLen          int            NOT NULL DEFAULT 3,
    FCurSerial          int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_BatchNoRule PRIMARY KEY (FItemID)
)
GO

-- -----------------------------------------------------------------------------------------------------
-- Prices
-- -----------------------------------------------------------------------------------------------------

-- t_ItemPrice: prices of an item per unit: standard sales price FXSPrice, level prices
-- FXSPrice1..FXSPrice10 (one per customer type in the order of t_ClientType.FNumber), latest sales
-- prices, lowest sales price (price-limit control) and purchase prices.
CREATE TABLE t_ItemPrice (
    FItemID                 int            NOT NULL,
    FUnitID                 int            NOT NULL,
    FXSPrice                decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice1               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice2               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice3               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice4               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice5               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice6               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice7               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice8               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice9               decimal(28,10) NOT NULL DEFAULT 0,
    FXSPrice10              decimal(28,10) NOT NULL DEFAULT 0,
    FXSLatestPrice          decimal(28,10) NOT NULL DEFAULT 0,
    FXSIncludeTaxLastPrice  decimal(28,10) NOT NULL DEFAULT 0,
    FXSLowPrice             decimal(28,10) NOT NULL DEFAULT 0,
    FCGPrice                decimal(28,10) NOT NULL DEFAULT 0,
    FCGLatestPrice          decimal(28,10) NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_ItemPrice PRIMARY KEY (FItemID, FUnitID)
)
GO

-- t_ItemPriceProfile: agreement prices of a customer for an item: three unit slots, each with the
-- agreed price and the customer's own code of the item.
CREATE TABLE t_ItemPriceProfile (
    FItemID             int            NOT NULL,
    FCustID             int            NOT NULL,
    FUnitID1            int            NOT NULL DEFAULT 0,
    FXSPrice1           decimal(28,10) NOT NULL DEFAULT 0,
    FClientGood1        nvarchar(50)   NOT NULL DEFAULT '',
    FUnitID2            int            NOT NULL DEFAULT 0,
    FXSPrice2           decimal(28,10) NOT NULL DEFAULT 0,
    FClientGood2        nvarchar(50)   NOT NULL DEFAULT '',
    FUnitID3            int            NOT NULL DEFAULT 0,
    FXSPrice3           decimal(28,10) NOT NULL DEFAULT 0,
    FClientGood3        nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_ItemPriceProfile PRIMARY KEY (FItemID, FCustID)
)
GO

-- t_LatestPrice: prices of past bills per item, unit and partner (FCustID for sales, FSupplyID
-- for purchases, both 0 for the general last price); FIsLast marks the newest of its kind.
CREATE TABLE t_LatestPrice (
    FID                 int            NOT NULL,
    FItemID             int            NOT NULL DEFAULT 0,
    FUnitID             int            NOT NULL DEFAULT 0,
    FCustID             int            NOT NULL DEFAULT 0,
    FSupplyID           int            NOT NULL DEFAULT 0,
    FPrice              decimal(28,10) NOT NULL DEFAULT 0,
    FIncludeTaxPrice    decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate       decimal(28,10) NOT NULL DEFAULT 100,
    FIsLast             bit            NOT NULL DEFAULT 0,
    FDate               datetime       NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_LatestPrice PRIMARY KEY (FID)
)
GO

-- t_XS_PriceProfile: the price sources of the sales price look-up in their order: FPriceID 2
-- agreement, 3 customer-type level, 4 standard, 5 cost plus profit, 6 customer's last price,
-- 7 latest sales price; rows with FIsUsed 0 are skipped.
CREATE TABLE t_XS_PriceProfile (
    FPriceID            int            NOT NULL,
    FName               nvarchar(50)   NOT NULL DEFAULT '',
    FIsUsed             bit            NOT NULL DEFAULT 1,
    FSortIndex          int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_XS_PriceProfile PRIMARY KEY (FPriceID)
)
GO

-- T_LS_CX: special-price bills (head). FStatus 0 not audited, 1 audited, 2 invalidated;
-- FPriceType the price type of the bill; FCustomer the display text of the customers the bill is
-- limited to ("全部客户" when none); FBeginTime/FEndTime "hh:mm".
CREATE TABLE T_LS_CX (
    FID                 int            NOT NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 1030006,
    FBillTypeID         int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    FCheckerID          int            NOT NULL DEFAULT 0,
    FCheckDate          datetime       NULL,
    FBillerID           int            NOT NULL DEFAULT 0,
    FDate               datetime       NULL,
    FBeginDate          datetime       NULL,
    FEndDate            datetime       NULL,
    FBeginTime          varchar(5)     NOT NULL DEFAULT '00:00',
    FEndTime            varchar(5)     NOT NULL DEFAULT '23:59',
    FPriceType          int            NOT NULL DEFAULT 1,
    FBranchShop         int            NOT NULL DEFAULT 0,
    FEmpId              int            NOT NULL DEFAULT 0,
    FDeptID             int            NOT NULL DEFAULT 0,
    FCustomer           nvarchar(2000) NOT NULL DEFAULT '',
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_T_LS_CX PRIMARY KEY (FID)
)
GO

-- T_LS_CX: a bill by its number.
CREATE INDEX IX_FBillNo ON T_LS_CX (FBillNo)
GO

-- T_LS_CXEntry: rows of the special-price bills: regular price, special price, difference, rate
-- and quantity limits.
CREATE TABLE T_LS_CXEntry (
    FEntryID            int            NOT NULL,
    FID                 int            NOT NULL,
    FIndex              int            NOT NULL DEFAULT 0,
    FItemID             int            NOT NULL DEFAULT 0,
    FShowUnitID         int            NOT NULL DEFAULT 0,
    FOldPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FNewPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FDifferPrice        decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate       decimal(28,10) NOT NULL DEFAULT 100,
    FXSPrice            decimal(28,10) NOT NULL DEFAULT 0,
    FBarCode            varchar(50)    NOT NULL DEFAULT '',
    FTotalLimitQty      decimal(28,10) NOT NULL DEFAULT 0,
    FSingleLimitQty     decimal(28,10) NOT NULL DEFAULT 0,
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_T_LS_CXEntry PRIMARY KEY (FEntryID)
)
GO

-- T_LS_CXEntry: a bill's rows.
CREATE INDEX IX_FID ON T_LS_CXEntry (FID)
GO

-- t_LS_ItemPrice: the special prices in force, published from audited special-price bills
-- (FXSBillNo): price per item and unit for a date window and a daily time window ("hh:mm").
-- FBranchShop 0 = the head office; other values belong to branch shops.
CREATE TABLE t_LS_ItemPrice (
    FID                 int            NOT NULL,
    FItemID             int            NOT NULL DEFAULT 0,
    FUnitID             int            NOT NULL DEFAULT 0,
    FBranchShop         int            NOT NULL DEFAULT 0,
    FXSBillNo           nvarchar(50)   NOT NULL DEFAULT '',
    FXSPrice            decimal(28,10) NOT NULL DEFAULT 0,
    FXSBeginDate        datetime       NULL,
    FXSEndDate          datetime       NULL,
    FXSBeginTime        varchar(5)     NOT NULL DEFAULT '00:00',
    FXSEndTime          varchar(5)     NOT NULL DEFAULT '23:59',
    FTotalLimitQty      decimal(28,10) NOT NULL DEFAULT 0,
    FSingleLimitQty     decimal(28,10) NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_LS_ItemPrice PRIMARY KEY (FID)
)
GO

-- T_LS_CX_Customer: the customers a special-price bill is limited to, one row per customer
-- (FItemID); a bill without rows applies to every customer. The special-price form stores its
-- rows positionally (bill ID, the chosen-customer list text, class, customer, number, shown
-- name), so the second column first holds that list; the audit that publishes the bill's prices
-- sets it to the bill number, by which the price look-up joins it.
CREATE TABLE T_LS_CX_Customer (
    FBillID             int            NOT NULL,
    FBillNo             nvarchar(2000) NOT NULL DEFAULT '',
    FItemClassID        int            NOT NULL DEFAULT 1,
    FItemID             int            NOT NULL,
    FNumber             nvarchar(80)   NOT NULL DEFAULT '',
    FShowName           nvarchar(400)  NOT NULL DEFAULT '',
    CONSTRAINT PK_T_LS_CX_Customer PRIMARY KEY (FBillID, FItemID)
)
GO

-- -----------------------------------------------------------------------------------------------------
-- Stock bills: sales bills (1030002), consignment bills (1030003), opening consignment bills
-- (1030004), purchase bills (1020002) and opening supplier bills (1020004)
-- -----------------------------------------------------------------------------------------------------

-- t_cc_stockbill: head of the stock bills. FStatus 0 not audited, 1 audited, 2 closed;
-- FRejected 1 while the bill is rejected in the workflow; FBalanceStyle settlement style
-- (t_Settle), FAcctNo settlement account (t_SettleAcct), FDiscountAcctID discount account
-- (t_account); FInvoiceType 2020 VAT special invoice, 2021 VAT ordinary invoice, 2030 receipt;
-- FClassID_SRC/FID_SRC the source bill the bill was made from; FTextColor the entry text colour of
-- return kinds.
CREATE TABLE t_cc_stockbill (
    FID                     int            NOT NULL,
    FBillNo                 nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID            int            NOT NULL DEFAULT 0,
    FBillTypeID             int            NOT NULL DEFAULT 0,
    FStatus                 int            NOT NULL DEFAULT 0,
    FCheckerID              int            NOT NULL DEFAULT 0,
    FCheckDate              datetime       NULL,
    FBillerID               int            NOT NULL DEFAULT 0,
    FDate                   datetime       NULL,
    FCustID                 int            NOT NULL DEFAULT 0,
    FSupplyID               int            NOT NULL DEFAULT 0,
    FEmpID                  int            NOT NULL DEFAULT 0,
    FDeptID                 int            NOT NULL DEFAULT 0,
    FSettleLimitDate        datetime       NULL,
    FInvoiceType            int            NOT NULL DEFAULT 0,
    FInvoiceNO              nvarchar(50)   NOT NULL DEFAULT '',
    FExplanation            nvarchar(255)  NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FBillNo_SRC             nvarchar(50)   NOT NULL DEFAULT '',
    FRejected               int            NOT NULL DEFAULT 0,
    FRejectedNote           nvarchar(255)  NOT NULL DEFAULT '',
    FRejectedTime           varchar(20)    NOT NULL DEFAULT '',
    FCurPayAmount           decimal(20,2)  NOT NULL DEFAULT 0,
    FCurPayID               int            NOT NULL DEFAULT 0,
    FBalanceStyle           int            NOT NULL DEFAULT 0,
    FAcctNo                 int            NOT NULL DEFAULT 0,
    FMultiAccount           int            NOT NULL DEFAULT 0,
    FDiscountAcctID         int            NOT NULL DEFAULT 0,
    FAllAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FCheckAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FCurCheckAmount         decimal(20,2)  NOT NULL DEFAULT 0,
    FUnCheckAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FNeutralizeAmount       decimal(20,2)  NOT NULL DEFAULT 0,
    FInvoiceAmt             decimal(20,2)  NOT NULL DEFAULT 0,
    FNoInvoiceAmt           decimal(20,2)  NOT NULL DEFAULT 0,
    FContact                nvarchar(50)   NOT NULL DEFAULT '',
    FReceiveAddr            nvarchar(255)  NOT NULL DEFAULT '',
    FAddress                nvarchar(255)  NOT NULL DEFAULT '',
    FPhone                  varchar(50)    NOT NULL DEFAULT '',
    FMobilePhone            varchar(50)    NOT NULL DEFAULT '',
    FFax                    varchar(50)    NOT NULL DEFAULT '',
    FTextColor              int            NOT NULL DEFAULT 0,
    FTranspotationCosts     decimal(20,2)  NOT NULL DEFAULT 0,
    FTotaladvanceCosts      decimal(20,2)  NOT NULL DEFAULT 0,
    FTotalProcurementCosts  decimal(20,2)  NOT NULL DEFAULT 0,
    FTranspotationCharges   decimal(20,2)  NOT NULL DEFAULT 0,
    FLogisticNumber         nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cc_stockbill PRIMARY KEY (FID)
)
GO

-- t_cc_stockbill: a bill by its number.
CREATE INDEX IX_FBillNo ON t_cc_stockbill (FBillNo)
GO

-- t_cc_stockbillentry: rows of the stock bills. FEntryID is the row's key, unique in the table
-- (source links point to it together with the bill: FClassID_SRC, FID_SRC, FEntryID_SRC);
-- lEntryID is the same key as the bill template exposes it (field FEntryID2) and lClassTypeID the
-- row's bill class; FIndex the row number. FSecCoefficient is the price-side secondary coefficient
-- (field FSecCoefficient), FSecQtyCoefficient the quantity-side one (field FsecCoefficient:
-- shown units per secondary unit). Open quantities, in shown units: FUnRejectQty not yet
-- returned, FUnSettleQty not yet settled (consignment); the Aux columns in secondary units.
-- Serial numbers of a row are kept in t_SerialNumList.
CREATE TABLE t_cc_stockbillentry (
    FEntryID                int            NOT NULL,
    lEntryID                int            NOT NULL DEFAULT 0,
    lClassTypeID            int            NOT NULL DEFAULT 0,
    FID                     int            NOT NULL,
    FIndex                  int            NOT NULL DEFAULT 0,
    FItemID                 int            NOT NULL DEFAULT 0,
    FAuxPropID              int            NOT NULL DEFAULT 0,
    FBatchNo                nvarchar(100)  NOT NULL DEFAULT '',
    FBatchNoIndex           int            NOT NULL DEFAULT 0,
    FIsBatchNoManage        bit            NOT NULL DEFAULT 0,
    FKFDate                 datetime       NULL,
    FKFPeriod               int            NOT NULL DEFAULT 0,
    FPeriodDate             datetime       NULL,
    FSCStockID              int            NOT NULL DEFAULT 0,
    FDCStockID              int            NOT NULL DEFAULT 0,
    FUnitID                 int            NOT NULL DEFAULT 0,
    FShowUnitID             int            NOT NULL DEFAULT 0,
    FCoefficient            decimal(28,10) NOT NULL DEFAULT 1,
    FShowQty                decimal(28,10) NOT NULL DEFAULT 0,
    FQty                    decimal(28,10) NOT NULL DEFAULT 0,
    FSecUnitID              int            NOT NULL DEFAULT 0,
    FSecQty                 decimal(28,10) NOT NULL DEFAULT 0,
    FSecCoefficient         decimal(28,10) NOT NULL DEFAULT 0,
    FSecQtyCoefficient      decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayQty             decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayWeight          decimal(28,10) NOT NULL DEFAULT 0,
    FCalTypeID              int            NOT NULL DEFAULT 0,
    FBasePrice              decimal(28,10) NOT NULL DEFAULT 0,
    FPrice                  decimal(28,10) NOT NULL DEFAULT 0,
    FSecPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FBasePriceDiscount      decimal(28,10) NOT NULL DEFAULT 0,
    FPriceDiscount          decimal(28,10) NOT NULL DEFAULT 0,
    FSecPriceDiscount       decimal(28,10) NOT NULL DEFAULT 0,
    FBaseTaxPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FTaxPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FSecTaxPrice            decimal(28,10) NOT NULL DEFAULT 0,
    FIncludeTaxPrice        decimal(28,10) NOT NULL DEFAULT 0,
    FTaxRate                decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate           decimal(28,10) NOT NULL DEFAULT 100,
    FDiscountAmount         decimal(20,2)  NOT NULL DEFAULT 0,
    FNoDiscAmount           decimal(20,2)  NOT NULL DEFAULT 0,
    FAmount                 decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FInTaxAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FCostPrice              decimal(28,10) NOT NULL DEFAULT 0,
    FCostAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FEntryID_SRC            int            NOT NULL DEFAULT 0,
    FBillNo_SRC             nvarchar(50)   NOT NULL DEFAULT '',
    FOrderQty               decimal(28,10) NOT NULL DEFAULT 0,
    FBaseOrderQty           decimal(28,10) NOT NULL DEFAULT 0,
    FRejectQty              decimal(28,10) NOT NULL DEFAULT 0,
    FBaseRejectQty          decimal(28,10) NOT NULL DEFAULT 0,
    FRejectAuxQty           decimal(28,10) NOT NULL DEFAULT 0,
    FUnRejectQty            decimal(28,10) NOT NULL DEFAULT 0,
    FBaseUnRejectQty        decimal(28,10) NOT NULL DEFAULT 0,
    FUnRejectAuxQty         decimal(28,10) NOT NULL DEFAULT 0,
    FSettleQty              decimal(28,10) NOT NULL DEFAULT 0,
    FSettleAuxQty           decimal(28,10) NOT NULL DEFAULT 0,
    FUnSettleQty            decimal(28,10) NOT NULL DEFAULT 0,
    FUnSettleAuxQty         decimal(28,10) NOT NULL DEFAULT 0,
    FProfitLossQty          decimal(28,10) NOT NULL DEFAULT 0,
    FTranspotationCharges   decimal(20,2)  NOT NULL DEFAULT 0,
    FComplexQtyDis          nvarchar(255)  NOT NULL DEFAULT '',
    FBarcode                varchar(50)    NOT NULL DEFAULT '',
    FClientItemID           nvarchar(50)   NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    FBillUserText1          nvarchar(255)  NOT NULL DEFAULT '',
    FBillUserText2          nvarchar(255)  NOT NULL DEFAULT '',
    FBillUserText3          nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cc_stockbillentry PRIMARY KEY (FEntryID)
)
GO

-- t_cc_stockbillentry: a bill's rows.
CREATE INDEX IX_FID ON t_cc_stockbillentry (FID)
GO
-- t_cc_stockbillentry: a row by its row number (the plug-ins update rows one by one).
CREATE INDEX IX_lEntryID ON t_cc_stockbillentry (lEntryID)
GO

-- t_cc_Change: head of the sales exchange bills (1030005, the second sales bill type); the same
-- fields as t_cc_stockbill.
CREATE TABLE t_cc_Change (
    FID                     int            NOT NULL,
    FBillNo                 nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID            int            NOT NULL DEFAULT 1030005,
    FBillTypeID             int            NOT NULL DEFAULT 0,
    FStatus                 int            NOT NULL DEFAULT 0,
    FCheckerID              int            NOT NULL DEFAULT 0,
    FCheckDate              datetime       NULL,
    FBillerID               int            NOT NULL DEFAULT 0,
    FDate                   datetime       NULL,
    FCustID                 int            NOT NULL DEFAULT 0,
    FEmpID                  int            NOT NULL DEFAULT 0,
    FDeptID                 int            NOT NULL DEFAULT 0,
    FSettleLimitDate        datetime       NULL,
    FInvoiceType            int            NOT NULL DEFAULT 0,
    FInvoiceNO              nvarchar(50)   NOT NULL DEFAULT '',
    FExplanation            nvarchar(255)  NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FRejected               int            NOT NULL DEFAULT 0,
    FRejectedNote           nvarchar(255)  NOT NULL DEFAULT '',
    FRejectedTime           varchar(20)    NOT NULL DEFAULT '',
    FCurPayAmount           decimal(20,2)  NOT NULL DEFAULT 0,
    FCurPayID               int            NOT NULL DEFAULT 0,
    FBalanceStyle           int            NOT NULL DEFAULT 0,
    FAcctNo                 int            NOT NULL DEFAULT 0,
    FMultiAccount           int            NOT NULL DEFAULT 0,
    FDiscountAcctID         int            NOT NULL DEFAULT 0,
    FAllAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FCheckAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FCurCheckAmount         decimal(20,2)  NOT NULL DEFAULT 0,
    FUnCheckAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FNeutralizeAmount       decimal(20,2)  NOT NULL DEFAULT 0,
    FInvoiceAmt             decimal(20,2)  NOT NULL DEFAULT 0,
    FNoInvoiceAmt           decimal(20,2)  NOT NULL DEFAULT 0,
    FContact                nvarchar(50)   NOT NULL DEFAULT '',
    FReceiveAddr            nvarchar(255)  NOT NULL DEFAULT '',
    FAddress                nvarchar(255)  NOT NULL DEFAULT '',
    FPhone                  varchar(50)    NOT NULL DEFAULT '',
    FMobilePhone            varchar(50)    NOT NULL DEFAULT '',
    FFax                    varchar(50)    NOT NULL DEFAULT '',
    FTextColor              int            NOT NULL DEFAULT 0,
    FTranspotationCosts     decimal(20,2)  NOT NULL DEFAULT 0,
    FTotaladvanceCosts      decimal(20,2)  NOT NULL DEFAULT 0,
    FTranspotationCharges   decimal(20,2)  NOT NULL DEFAULT 0,
    FLogisticNumber         nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cc_Change PRIMARY KEY (FID)
)
GO

-- t_cc_Change: a bill by its number.
CREATE INDEX IX_FBillNo ON t_cc_Change (FBillNo)
GO

-- t_cc_ChangeEntry: rows of the sales exchange bills. FGrid 1 holds the first grid (goods that
-- leave), FGrid 2 the second grid (goods that come back); the second grid's "01" fields
-- (FItemID01, FShowQty01 ...) are stored in the columns of the same name without the suffix.
CREATE TABLE t_cc_ChangeEntry (
    FEntryID                int            NOT NULL,
    lEntryID                int            NOT NULL DEFAULT 0,
    lClassTypeID            int            NOT NULL DEFAULT 1030005,
    FID                     int            NOT NULL,
    FGrid                   int            NOT NULL DEFAULT 1,
    FIndex                  int            NOT NULL DEFAULT 0,
    FItemID                 int            NOT NULL DEFAULT 0,
    FAuxPropID              int            NOT NULL DEFAULT 0,
    FBatchNo                nvarchar(100)  NOT NULL DEFAULT '',
    FBatchNoIndex           int            NOT NULL DEFAULT 0,
    FKFDate                 datetime       NULL,
    FKFPeriod               int            NOT NULL DEFAULT 0,
    FPeriodDate             datetime       NULL,
    FSCStockID              int            NOT NULL DEFAULT 0,
    FDCStockID              int            NOT NULL DEFAULT 0,
    FUnitID                 int            NOT NULL DEFAULT 0,
    FShowUnitID             int            NOT NULL DEFAULT 0,
    FCoefficient            decimal(28,10) NOT NULL DEFAULT 1,
    FShowQty                decimal(28,10) NOT NULL DEFAULT 0,
    FQty                    decimal(28,10) NOT NULL DEFAULT 0,
    FSecUnitID              int            NOT NULL DEFAULT 0,
    FSecQty                 decimal(28,10) NOT NULL DEFAULT 0,
    FSecCoefficient         decimal(28,10) NOT NULL DEFAULT 0,
    FSecQtyCoefficient      decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayQty             decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayWeight          decimal(28,10) NOT NULL DEFAULT 0,
    FCalTypeID              int            NOT NULL DEFAULT 0,
    FBasePrice              decimal(28,10) NOT NULL DEFAULT 0,
    FPrice                  decimal(28,10) NOT NULL DEFAULT 0,
    FSecPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FBasePriceDiscount      decimal(28,10) NOT NULL DEFAULT 0,
    FPriceDiscount          decimal(28,10) NOT NULL DEFAULT 0,
    FSecPriceDiscount       decimal(28,10) NOT NULL DEFAULT 0,
    FBaseTaxPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FTaxPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FSecTaxPrice            decimal(28,10) NOT NULL DEFAULT 0,
    FIncludeTaxPrice        decimal(28,10) NOT NULL DEFAULT 0,
    FTaxRate                decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate           decimal(28,10) NOT NULL DEFAULT 100,
    FDiscountAmount         decimal(20,2)  NOT NULL DEFAULT 0,
    FNoDiscAmount           decimal(20,2)  NOT NULL DEFAULT 0,
    FAmount                 decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FInTaxAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FCostPrice              decimal(28,10) NOT NULL DEFAULT 0,
    FCostAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FEntryID_SRC            int            NOT NULL DEFAULT 0,
    FBillNo_SRC             nvarchar(50)   NOT NULL DEFAULT '',
    FOrderQty               decimal(28,10) NOT NULL DEFAULT 0,
    FUnRejectQty            decimal(28,10) NOT NULL DEFAULT 0,
    FUnRejectAuxQty         decimal(28,10) NOT NULL DEFAULT 0,
    FTranspotationCharges   decimal(20,2)  NOT NULL DEFAULT 0,
    FComplexQtyDis          nvarchar(255)  NOT NULL DEFAULT '',
    FBarcode                varchar(50)    NOT NULL DEFAULT '',
    FClientItemID           nvarchar(50)   NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cc_ChangeEntry PRIMARY KEY (FEntryID)
)
GO

-- t_cc_ChangeEntry: a bill's rows.
CREATE INDEX IX_FID ON t_cc_ChangeEntry (FID)
GO
-- t_cc_ChangeEntry: a row by its row number (the plug-ins update rows one by one).
CREATE INDEX IX_lEntryID ON t_cc_ChangeEntry (lEntryID)
GO

-- -----------------------------------------------------------------------------------------------------
-- Orders
-- -----------------------------------------------------------------------------------------------------

-- t_XS_Order: sales orders (1030001). FBillTypeID 3031 ordinary order, 3032 online order taken
-- over from a web shop; FStatus 0 not audited, 1 audited, 2 closed; FFetchDate delivery date,
-- FFetchStyle delivery style (t_SubMessage type 30); FXSDeposit deposit to receive in advance.
CREATE TABLE t_XS_Order (
    FID                     int            NOT NULL,
    FBillNo                 nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID            int            NOT NULL DEFAULT 1030001,
    FBillTypeID             int            NOT NULL DEFAULT 3031,
    FStatus                 int            NOT NULL DEFAULT 0,
    FCheckerID              int            NOT NULL DEFAULT 0,
    FCheckDate              datetime       NULL,
    FBillerID               int            NOT NULL DEFAULT 0,
    FDate                   datetime       NULL,
    FFetchDate              datetime       NULL,
    FFetchStyle             int            NOT NULL DEFAULT 0,
    FCustID                 int            NOT NULL DEFAULT 0,
    FEmpID                  int            NOT NULL DEFAULT 0,
    FDeptID                 int            NOT NULL DEFAULT 0,
    FSettleLimitDate        datetime       NULL,
    FInvoiceType            int            NOT NULL DEFAULT 0,
    FContact                nvarchar(50)   NOT NULL DEFAULT '',
    FPhone                  varchar(50)    NOT NULL DEFAULT '',
    FMobilePhone            varchar(50)    NOT NULL DEFAULT '',
    FFax                    varchar(50)    NOT NULL DEFAULT '',
    FAddress                nvarchar(255)  NOT NULL DEFAULT '',
    FReceiveAddr            nvarchar(255)  NOT NULL DEFAULT '',
    FAllAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FXSDeposit              decimal(20,2)  NOT NULL DEFAULT 0,
    FExplanation            nvarchar(255)  NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    FRejected               int            NOT NULL DEFAULT 0,
    FRejectedNote           nvarchar(255)  NOT NULL DEFAULT '',
    FRejectedTime           varchar(20)    NOT NULL DEFAULT '',
    FUserDefine1            nvarchar(255)  NOT NULL DEFAULT '',
    FUserDefine2            nvarchar(255)  NOT NULL DEFAULT '',
    FUserDefine3            nvarchar(255)  NOT NULL DEFAULT '',
    FUserDefine4            nvarchar(255)  NOT NULL DEFAULT '',
    FUserDefine5            nvarchar(255)  NOT NULL DEFAULT '',
    FUserDefine6            nvarchar(255)  NOT NULL DEFAULT '',
    FWebTradeID             varchar(50)    NOT NULL DEFAULT '',
    FWebshopID              varchar(50)    NOT NULL DEFAULT '',
    FWebBillAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FWebBillDiscountAmount  decimal(20,2)  NOT NULL DEFAULT 0,
    FWebBillTransAmount     decimal(20,2)  NOT NULL DEFAULT 0,
    FWebBillReceAmount      decimal(20,2)  NOT NULL DEFAULT 0,
    FReceiverCity           nvarchar(80)   NOT NULL DEFAULT '',
    FTextColor              int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_XS_Order PRIMARY KEY (FID)
)
GO

-- t_XS_Order: a bill by its number.
CREATE INDEX IX_FBillNo ON t_XS_Order (FBillNo)
GO

-- t_XS_OrderEntry: rows of the sales orders. FSendQty delivered and FUnSendQty still to deliver
-- (shown units; FUnSendAuxQty secondary units); FUnLinkCGQty not yet linked to purchase orders;
-- FTotalQty, FCgOrderQty, FXsOrderQty, FInTotalQty the availability snapshot of the row (shown
-- units) and the FBase... columns the same in base units. Keys as in t_cc_stockbillentry.
CREATE TABLE t_XS_OrderEntry (
    FEntryID                int            NOT NULL,
    lEntryID                int            NOT NULL DEFAULT 0,
    lClassTypeID            int            NOT NULL DEFAULT 1030001,
    FID                     int            NOT NULL,
    FIndex                  int            NOT NULL DEFAULT 0,
    FItemID                 int            NOT NULL DEFAULT 0,
    FAuxPropID              int            NOT NULL DEFAULT 0,
    FBatchNo                nvarchar(100)  NOT NULL DEFAULT '',
    FKFDate                 datetime       NULL,
    FKFPeriod               int            NOT NULL DEFAULT 0,
    FPeriodDate             datetime       NULL,
    FCalTypeID              int            NOT NULL DEFAULT 0,
    FUnitID                 int            NOT NULL DEFAULT 0,
    FShowUnitID             int            NOT NULL DEFAULT 0,
    FCoefficient            decimal(28,10) NOT NULL DEFAULT 1,
    FShowQty                decimal(28,10) NOT NULL DEFAULT 0,
    FQty                    decimal(28,10) NOT NULL DEFAULT 0,
    FSecUnitID              int            NOT NULL DEFAULT 0,
    FSecQty                 decimal(28,10) NOT NULL DEFAULT 0,
    FSecCoefficient         decimal(28,10) NOT NULL DEFAULT 0,
    FSecQtyCoefficient      decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayQty             decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayWeight          decimal(28,10) NOT NULL DEFAULT 0,
    FBasePrice              decimal(28,10) NOT NULL DEFAULT 0,
    FPrice                  decimal(28,10) NOT NULL DEFAULT 0,
    FSecPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FDisplayPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FBasePriceDiscount      decimal(28,10) NOT NULL DEFAULT 0,
    FPriceDiscount          decimal(28,10) NOT NULL DEFAULT 0,
    FSecPriceDiscount       decimal(28,10) NOT NULL DEFAULT 0,
    FBaseTaxPrice           decimal(28,10) NOT NULL DEFAULT 0,
    FTaxPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FSecTaxPrice            decimal(28,10) NOT NULL DEFAULT 0,
    FIncludeTaxPrice        decimal(28,10) NOT NULL DEFAULT 0,
    FTaxRate                decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate           decimal(28,10) NOT NULL DEFAULT 100,
    FDiscountAmount         decimal(20,2)  NOT NULL DEFAULT 0,
    FNoDiscAmount           decimal(20,2)  NOT NULL DEFAULT 0,
    FAmount                 decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FInTaxAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FWebBillAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FSendQty                decimal(28,10) NOT NULL DEFAULT 0,
    FBaseSendQty            decimal(28,10) NOT NULL DEFAULT 0,
    FUnSendQty              decimal(28,10) NOT NULL DEFAULT 0,
    FUnSendAuxQty           decimal(28,10) NOT NULL DEFAULT 0,
    FUnLinkCGQty            decimal(28,10) NOT NULL DEFAULT 0,
    FTotalQty               decimal(28,10) NOT NULL DEFAULT 0,
    FCgOrderQty             decimal(28,10) NOT NULL DEFAULT 0,
    FXsOrderQty             decimal(28,10) NOT NULL DEFAULT 0,
    FInTotalQty             decimal(28,10) NOT NULL DEFAULT 0,
    FBaseTotalQty           decimal(28,10) NOT NULL DEFAULT 0,
    FBaseCgOrderQty         decimal(28,10) NOT NULL DEFAULT 0,
    FBaseXsOrderQty         decimal(28,10) NOT NULL DEFAULT 0,
    FBaseInTotalQty         decimal(28,10) NOT NULL DEFAULT 0,
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FEntryID_SRC            int            NOT NULL DEFAULT 0,
    FComplexQtyDis          nvarchar(255)  NOT NULL DEFAULT '',
    FBarcode                varchar(50)    NOT NULL DEFAULT '',
    FClientItemID           nvarchar(50)   NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_XS_OrderEntry PRIMARY KEY (FEntryID)
)
GO

-- t_XS_OrderEntry: a bill's rows.
CREATE INDEX IX_FID ON t_XS_OrderEntry (FID)
GO
-- t_XS_OrderEntry: a row by its row number (the plug-ins update rows one by one).
CREATE INDEX IX_lEntryID ON t_XS_OrderEntry (lEntryID)
GO

-- t_cg_Order: purchase orders (1020001); FStatus as the sales order.
CREATE TABLE t_cg_Order (
    FID                     int            NOT NULL,
    FBillNo                 nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID            int            NOT NULL DEFAULT 1020001,
    FBillTypeID             int            NOT NULL DEFAULT 0,
    FStatus                 int            NOT NULL DEFAULT 0,
    FCheckerID              int            NOT NULL DEFAULT 0,
    FCheckDate              datetime       NULL,
    FBillerID               int            NOT NULL DEFAULT 0,
    FDate                   datetime       NULL,
    FFetchDate              datetime       NULL,
    FSupplyID               int            NOT NULL DEFAULT 0,
    FEmpID                  int            NOT NULL DEFAULT 0,
    FDeptID                 int            NOT NULL DEFAULT 0,
    FAllAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FExplanation            nvarchar(255)  NOT NULL DEFAULT '',
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cg_Order PRIMARY KEY (FID)
)
GO

-- t_cg_Order: a bill by its number.
CREATE INDEX IX_FBillNo ON t_cg_Order (FBillNo)
GO

-- t_cg_OrderEntry: rows of the purchase orders; FUnStockInQty not yet received (shown units);
-- the source columns link a row to the sales-order row it was made for. The purchase order names
-- its discounted prices ...DiscountPrice where the sales bills say ...PriceDiscount.
CREATE TABLE t_cg_OrderEntry (
    FEntryID                int            NOT NULL,
    FID                     int            NOT NULL,
    FIndex                  int            NOT NULL DEFAULT 0,
    FItemID                 int            NOT NULL DEFAULT 0,
    FAuxPropID              int            NOT NULL DEFAULT 0,
    FUnitID                 int            NOT NULL DEFAULT 0,
    FShowUnitID             int            NOT NULL DEFAULT 0,
    FCoefficient            decimal(28,10) NOT NULL DEFAULT 1,
    FShowQty                decimal(28,10) NOT NULL DEFAULT 0,
    FQty                    decimal(28,10) NOT NULL DEFAULT 0,
    FSecUnitID              int            NOT NULL DEFAULT 0,
    FSecQty                 decimal(28,10) NOT NULL DEFAULT 0,
    FPrice                  decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountRate           decimal(28,10) NOT NULL DEFAULT 100,
    FBaseDiscountPrice      decimal(28,10) NOT NULL DEFAULT 0,
    FDiscountPrice          decimal(28,10) NOT NULL DEFAULT 0,
    FSecDiscountPrice       decimal(28,10) NOT NULL DEFAULT 0,
    FTaxPrice               decimal(28,10) NOT NULL DEFAULT 0,
    FTaxRate                decimal(28,10) NOT NULL DEFAULT 0,
    FAmount                 decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxAmount              decimal(20,2)  NOT NULL DEFAULT 0,
    FInTaxAmount            decimal(20,2)  NOT NULL DEFAULT 0,
    FStockInQty             decimal(28,10) NOT NULL DEFAULT 0,
    FUnStockInQty           decimal(28,10) NOT NULL DEFAULT 0,
    FClassID_SRC            int            NOT NULL DEFAULT 0,
    FID_SRC                 int            NOT NULL DEFAULT 0,
    FEntryID_SRC            int            NOT NULL DEFAULT 0,
    FNote                   nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_cg_OrderEntry PRIMARY KEY (FEntryID)
)
GO

-- t_cg_OrderEntry: a bill's rows.
CREATE INDEX IX_FID ON t_cg_OrderEntry (FID)
GO

-- -----------------------------------------------------------------------------------------------------
-- Inventory: balances, opening balances, batches, serial numbers, assembly bills
-- -----------------------------------------------------------------------------------------------------

-- t_cc_inventory: stock on hand per item, stock, attribute and batch (with the batch's dates);
-- FQty base units, FSecQty secondary units, FAmount the cost of the quantity. A batch keeps its
-- row at 0 when it has been used up.
CREATE TABLE t_cc_inventory (
    FID                 int            NOT NULL,
    FItemID             int            NOT NULL DEFAULT 0,
    FStockID            int            NOT NULL DEFAULT 0,
    FAuxPropID          int            NOT NULL DEFAULT 0,
    FBatchNo            nvarchar(100)  NOT NULL DEFAULT '',
    FKFDate             datetime       NULL,
    FKFPeriod           int            NOT NULL DEFAULT 0,
    FPeriodDate         datetime       NULL,
    FQty                decimal(28,10) NOT NULL DEFAULT 0,
    FSecQty             decimal(28,10) NOT NULL DEFAULT 0,
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_cc_inventory PRIMARY KEY (FID)
)
GO

-- T_CC_Stock: stock balance by batch, as the batch look-ups read it.
CREATE VIEW T_CC_Stock AS
SELECT FItemID, FStockID, FAuxPropID, FBatchNo, FKFDate, FKFPeriod, FPeriodDate, FQty, FSecQty
FROM t_cc_inventory
GO

-- T_CC_Stock_BatchNo: the batches known in each stock with their dates.
CREATE VIEW T_CC_Stock_BatchNo AS
SELECT DISTINCT FItemID, FStockID, FBatchNo, FKFDate, FKFPeriod, FPeriodDate, FAuxPropID
FROM t_cc_inventory
WHERE ISNULL(FBatchNo, '') <> ''
GO

-- ICInvInitial: opening balances of the start period per item, stock, attribute and batch;
-- FdestDate is the expiry date of the batch.
CREATE TABLE ICInvInitial (
    FID                 int            NOT NULL,
    FYear               int            NOT NULL DEFAULT 0,
    FPeriod             int            NOT NULL DEFAULT 0,
    FItemID             int            NOT NULL DEFAULT 0,
    FStockID            int            NOT NULL DEFAULT 0,
    FAuxPropID          int            NOT NULL DEFAULT 0,
    FBatchNo            nvarchar(100)  NOT NULL DEFAULT '',
    FKFDate             datetime       NULL,
    FKFPeriod           int            NOT NULL DEFAULT 0,
    FdestDate           datetime       NULL,
    FQty                decimal(28,10) NOT NULL DEFAULT 0,
    FSecQty             decimal(28,10) NOT NULL DEFAULT 0,
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    CONSTRAINT PK_ICInvInitial PRIMARY KEY (FID)
)
GO

-- t_SerialNumList: the serial numbers of the bills, one row per bill (FBillID, with its class),
-- bill row (FBillIndexID = the row's FIndex) and serial number. A larger FID means a later
-- bill. FStatus: 1 the serial number goes in, 0 it goes out (assembly bills read it).
CREATE TABLE t_SerialNumList (
    FID                 int            NOT NULL,
    FItemID             int            NOT NULL DEFAULT 0,
    FSerialNo           nvarchar(100)  NOT NULL DEFAULT '',
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 0,
    FBillID             int            NOT NULL DEFAULT 0,
    FBillIndexID        int            NOT NULL DEFAULT 0,
    FStockID            int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_SerialNumList PRIMARY KEY (FID)
)
GO

-- t_CC_ZZCX_ENTRY: assembled-item rows of the assembly and disassembly bills (production date
-- FProDate, shelf life FKFPeriod, expiry FExpDate).
CREATE TABLE t_CC_ZZCX_ENTRY (
    FEntryID            int            NOT NULL,
    FID                 int            NOT NULL DEFAULT 0,
    FIndex              int            NOT NULL DEFAULT 0,
    FItemID             int            NOT NULL DEFAULT 0,
    FAuxPropID          int            NOT NULL DEFAULT 0,
    FBatchNo            nvarchar(100)  NOT NULL DEFAULT '',
    FProDate            datetime       NULL,
    FKFPeriod           int            NOT NULL DEFAULT 0,
    FExpDate            datetime       NULL,
    FStockID            int            NOT NULL DEFAULT 0,
    FQty                decimal(28,10) NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_CC_ZZCX_ENTRY PRIMARY KEY (FEntryID)
)
GO

-- t_CC_ZZCX_ENTRY: a bill's rows.
CREATE INDEX IX_FID ON t_CC_ZZCX_ENTRY (FID)
GO

-- t_CC_ZZCX_ENTRY2: component rows of the assembly and disassembly bills.
CREATE TABLE t_CC_ZZCX_ENTRY2 (
    FEntryID            int            NOT NULL,
    FID                 int            NOT NULL DEFAULT 0,
    FIndex              int            NOT NULL DEFAULT 0,
    FItemID             int            NOT NULL DEFAULT 0,
    FAuxPropID          int            NOT NULL DEFAULT 0,
    FBatchNo            nvarchar(100)  NOT NULL DEFAULT '',
    FProDate            datetime       NULL,
    FKFPeriod           int            NOT NULL DEFAULT 0,
    FExpDate            datetime       NULL,
    FStockID            int            NOT NULL DEFAULT 0,
    FQty                decimal(28,10) NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_CC_ZZCX_ENTRY2 PRIMARY KEY (FEntryID)
)
GO

-- t_CC_ZZCX_ENTRY2: a bill's rows.
CREATE INDEX IX_FID ON t_CC_ZZCX_ENTRY2 (FID)
GO

-- vw_cc_Receive: rows of bills that bring goods into a stock (receipts into FDCStockID, and the
-- sales, consignment-settlement and consignment returns that bring goods back into FSCStockID;
-- the second grid of the exchange bills), every status.
CREATE VIEW vw_cc_Receive AS
SELECT b.FID, e.FEntryID, b.FClassTypeID, b.FBillTypeID, b.FStatus, b.FDate, b.FBillNo,
       e.FItemID,
       CASE WHEN e.FDCStockID > 0 THEN e.FDCStockID ELSE e.FSCStockID END AS FStockID,
       e.FBatchNo, e.FKFDate, e.FKFPeriod, e.FPeriodDate, e.FAuxPropID, e.FQty, e.FSecQty
FROM t_cc_stockbill b
INNER JOIN t_cc_stockbillentry e ON e.FID = b.FID
WHERE (e.FDCStockID > 0 AND b.FBillTypeID <> 2013)
   OR (e.FSCStockID > 0 AND b.FBillTypeID IN (3002, 3004, 3011))
UNION ALL
SELECT c.FID, e.FEntryID, c.FClassTypeID, c.FBillTypeID, c.FStatus, c.FDate, c.FBillNo,
       e.FItemID, e.FSCStockID AS FStockID,
       e.FBatchNo, e.FKFDate, e.FKFPeriod, e.FPeriodDate, e.FAuxPropID, e.FQty, e.FSecQty
FROM t_cc_Change c
INNER JOIN t_cc_ChangeEntry e ON e.FID = c.FID
WHERE e.FGrid = 2
GO

-- vw_cc_Send: rows of bills that take goods out of a stock (deliveries from FSCStockID, purchase
-- returns from FDCStockID, the first grid of the exchange bills), every status.
CREATE VIEW vw_cc_Send AS
SELECT b.FID, e.FEntryID, b.FClassTypeID, b.FBillTypeID, b.FStatus, b.FDate, b.FBillNo,
       e.FItemID,
       CASE WHEN e.FSCStockID > 0 THEN e.FSCStockID ELSE e.FDCStockID END AS FStockID,
       e.FBatchNo, e.FKFDate, e.FKFPeriod, e.FPeriodDate, e.FAuxPropID, e.FQty, e.FSecQty
FROM t_cc_stockbill b
INNER JOIN t_cc_stockbillentry e ON e.FID = b.FID
WHERE (e.FSCStockID > 0 AND b.FBillTypeID NOT IN (3002, 3004, 3011))
   OR (e.FDCStockID > 0 AND b.FBillTypeID = 2013)
UNION ALL
SELECT c.FID, e.FEntryID, c.FClassTypeID, c.FBillTypeID, c.FStatus, c.FDate, c.FBillNo,
       e.FItemID, e.FSCStockID AS FStockID,
       e.FBatchNo, e.FKFDate, e.FKFPeriod, e.FPeriodDate, e.FAuxPropID, e.FQty, e.FSecQty
FROM t_cc_Change c
INNER JOIN t_cc_ChangeEntry e ON e.FID = c.FID
WHERE e.FGrid = 1
GO

-- vw_cc_Receive_Audit: the receipts of audited (posted) bills.
CREATE VIEW vw_cc_Receive_Audit AS
SELECT FID, FEntryID, FClassTypeID, FBillTypeID, FStatus, FDate, FBillNo, FItemID, FStockID,
       FBatchNo, FKFDate, FKFPeriod, FPeriodDate, FAuxPropID, FQty, FSecQty
FROM vw_cc_Receive
WHERE FStatus >= 1
GO

-- vw_cc_Send_Audit: the issues of audited (posted) bills.
CREATE VIEW vw_cc_Send_Audit AS
SELECT FID, FEntryID, FClassTypeID, FBillTypeID, FStatus, FDate, FBillNo, FItemID, FStockID,
       FBatchNo, FKFDate, FKFPeriod, FPeriodDate, FAuxPropID, FQty, FSecQty
FROM vw_cc_Send
WHERE FStatus >= 1
GO

-- -----------------------------------------------------------------------------------------------------
-- Receivables, invoices, rebates, logistics
-- -----------------------------------------------------------------------------------------------------

-- t_RP_RBill: receipt bills (5001); a receipt made from a sales bill names it as its source.
CREATE TABLE t_RP_RBill (
    FID                 int            NOT NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 5001,
    FBillTypeID         int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    FDate               datetime       NULL,
    FCustID             int            NOT NULL DEFAULT 0,
    FSettleAcctID       int            NOT NULL DEFAULT 0,
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    FSourceBillId       int            NOT NULL DEFAULT 0,
    FSourceClassTypeId  int            NOT NULL DEFAULT 0,
    FSourceBillNo       nvarchar(50)   NOT NULL DEFAULT '',
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_RP_RBill PRIMARY KEY (FID)
)
GO

-- t_RP_CheckBill: write-off bills of receivables and payables (5003); FBillTypeId 5024 and 5025
-- are the kinds that take a sales bill over into receivables.
CREATE TABLE t_RP_CheckBill (
    FID                 int            NOT NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 5003,
    FBillTypeId         int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    FDate               datetime       NULL,
    FCustID             int            NOT NULL DEFAULT 0,
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_RP_CheckBill PRIMARY KEY (FID)
)
GO

-- t_RP_CheckBillEntry1: the source bills a write-off bill takes over.
CREATE TABLE t_RP_CheckBillEntry1 (
    FEntryID            int            NOT NULL,
    FID                 int            NOT NULL,
    FIndex              int            NOT NULL DEFAULT 0,
    FSourceBillId       int            NOT NULL DEFAULT 0,
    FSourceClassTypeId  int            NOT NULL DEFAULT 0,
    FSourceBillNo       nvarchar(50)   NOT NULL DEFAULT '',
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_RP_CheckBillEntry1 PRIMARY KEY (FEntryID)
)
GO

-- t_RP_CheckBillEntry1: a bill's rows.
CREATE INDEX IX_FID ON t_RP_CheckBillEntry1 (FID)
GO

-- t_Invoice: issued invoices (3000001).
CREATE TABLE t_Invoice (
    FID                 int            NOT NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    FClassTypeID        int            NOT NULL DEFAULT 3000001,
    FInvoiceType        int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    FDate               datetime       NULL,
    FCustID             int            NOT NULL DEFAULT 0,
    FAllAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FInvoiceCode        varchar(30)    NOT NULL DEFAULT '',
    FNote               nvarchar(255)  NOT NULL DEFAULT '',
    CONSTRAINT PK_t_Invoice PRIMARY KEY (FID)
)
GO

-- t_Invoice: a bill by its number.
CREATE INDEX IX_FBillNo ON t_Invoice (FBillNo)
GO

-- t_InvoiceEntry: invoice rows with the sales-bill row they invoice (source columns).
CREATE TABLE t_InvoiceEntry (
    FEntryID            int            NOT NULL,
    FID                 int            NOT NULL,
    FIndex              int            NOT NULL DEFAULT 0,
    FItemID             int            NOT NULL DEFAULT 0,
    FUnitID             int            NOT NULL DEFAULT 0,
    FQty                decimal(28,10) NOT NULL DEFAULT 0,
    FPrice              decimal(28,10) NOT NULL DEFAULT 0,
    FTaxRate            decimal(28,10) NOT NULL DEFAULT 0,
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    FTaxAmount          decimal(20,2)  NOT NULL DEFAULT 0,
    FInTaxAmount        decimal(20,2)  NOT NULL DEFAULT 0,
    FClassID_SRC        int            NOT NULL DEFAULT 0,
    FID_SRC             int            NOT NULL DEFAULT 0,
    FEntryID_SRC        int            NOT NULL DEFAULT 0,
    FBillNo_SRC         nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_InvoiceEntry PRIMARY KEY (FEntryID)
)
GO

-- t_InvoiceEntry: a bill's rows.
CREATE INDEX IX_FID ON t_InvoiceEntry (FID)
GO

-- t_FL_SchemeLink: rebate bills (FBillNo) and the sales bills they were made from.
CREATE TABLE t_FL_SchemeLink (
    FID                 int            NOT NULL,
    FBillNo             nvarchar(50)   NOT NULL DEFAULT '',
    FSchemeID           int            NOT NULL DEFAULT 0,
    FClassID_SRC        int            NOT NULL DEFAULT 0,
    FID_SRC             int            NOT NULL DEFAULT 0,
    FBillNo_SRC         nvarchar(50)   NOT NULL DEFAULT '',
    FAmount             decimal(20,2)  NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_FL_SchemeLink PRIMARY KEY (FID)
)
GO

-- t_LogisticBill: logistics bills made from sales bills; FLogisticNumber is copied back into the
-- sales bill's head.
CREATE TABLE t_LogisticBill (
    FID                 int            NOT NULL,
    FLogisticNumber     nvarchar(50)   NOT NULL DEFAULT '',
    FDate               datetime       NULL,
    FCustID             int            NOT NULL DEFAULT 0,
    FStatus             int            NOT NULL DEFAULT 0,
    FClassID_SRC        int            NOT NULL DEFAULT 0,
    FID_SRC             int            NOT NULL DEFAULT 0,
    FBillNo_SRC         nvarchar(50)   NOT NULL DEFAULT '',
    CONSTRAINT PK_t_LogisticBill PRIMARY KEY (FID)
)
GO
