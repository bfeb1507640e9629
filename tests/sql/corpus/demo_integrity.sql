-- =====================================================================================================
-- Consistency of the demo account set: every query lists the records that break one rule the
-- bills, the price look-up or the host rely on, so each must come back empty. Same format as
-- plugin_statements.sql; run against a fresh copy of the demo account set. This header is a
-- batch without statement and is skipped.
-- =====================================================================================================
GO

-- BaseDataClasses: every detail record has its base-data record of the right class
Select 'ICItem' As FKind,FItemID From t_ICItem Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=4)
Union All Select 'Stock',FItemID From t_Stock Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=5)
Union All Select 'Emp',FItemID From t_Emp Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=3)
Union All Select 'Department',FItemID From t_Department Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=2)
Union All Select 'Supplier',FItemID From t_Supplier Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=8)
Union All Select 'Unit',FItemID From t_MeasureUnit Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=7)
Union All Select 'Customer',FItemID From t_Organization Where FItemID Not In (Select FItemID From t_Item Where FItemClassID=1)
-- expect: 0 rows
GO

-- BaseDataNames: detail records carry the number and name of their base-data record
Select o.FItemID From t_Organization o Inner Join t_Item i On i.FItemID=o.FItemID Where o.FNumber<>i.FNumber Or o.FName<>i.FName
Union All Select c.FItemID From t_ICItem c Inner Join t_Item i On i.FItemID=c.FItemID Where c.FNumber<>i.FNumber Or c.FName<>i.FName
Union All Select s.FItemID From t_Stock s Inner Join t_Item i On i.FItemID=s.FItemID Where s.FNumber<>i.FNumber Or s.FName<>i.FName
-- expect: 0 rows
GO

-- ItemUnits: every item has exactly one main unit, it is the item's base unit with coefficient 1, and at most one default unit
Select i.FItemID From t_ICItem i
Where (Select Count(*) From vw_Unit u Where u.FSrcItemId=i.FItemID And u.FIsMainUnit=1) <> 1
   Or (Select Count(*) From vw_Unit u Where u.FSrcItemId=i.FItemID And u.FIsDefaultUnit=1) > 1
   Or Not Exists (Select * From vw_Unit u Where u.FSrcItemId=i.FItemID And u.FIsMainUnit=1 And u.FItemID=i.FUnitID And u.FCoefficient=1)
-- expect: 0 rows
GO

-- Barcodes: a barcode names one item unit only
Select FBarcode From t_barcode Where FBarcode<>'' Group By FBarcode Having Count(*)>1
-- expect: 0 rows
GO

-- EntryHeads: every entry row belongs to a stored head
Select 'stockbill' As FTable,FEntryID From t_cc_stockbillentry Where FID Not In (Select FID From t_cc_stockbill)
Union All Select 'order',FEntryID From t_XS_OrderEntry Where FID Not In (Select FID From t_XS_Order)
Union All Select 'purchase order',FEntryID From t_cg_OrderEntry Where FID Not In (Select FID From t_cg_Order)
Union All Select 'exchange',FEntryID From t_cc_ChangeEntry Where FID Not In (Select FID From t_cc_Change)
Union All Select 'special price',FEntryID From T_LS_CXEntry Where FID Not In (Select FID From T_LS_CX)
-- expect: 0 rows
GO

-- EntryKeys: lEntryID and lClassTypeID repeat the row's key and its bill's class
Select e.FEntryID From t_cc_stockbillentry e Inner Join t_cc_stockbill b On b.FID=e.FID Where e.lEntryID<>e.FEntryID Or e.lClassTypeID<>b.FClassTypeID
Union All Select e.FEntryID From t_XS_OrderEntry e Where e.lEntryID<>e.FEntryID Or e.lClassTypeID<>1030001
-- expect: 0 rows
GO

-- BillNumbers: bill numbers are unique per bill class
Select FClassTypeID,FBillNo From t_cc_stockbill Group By FClassTypeID,FBillNo Having Count(*)>1
Union All Select FClassTypeID,FBillNo From t_XS_Order Group By FClassTypeID,FBillNo Having Count(*)>1
Union All Select FClassTypeID,FBillNo From t_cg_Order Group By FClassTypeID,FBillNo Having Count(*)>1
Union All Select FClassTypeID,FBillNo From T_LS_CX Group By FClassTypeID,FBillNo Having Count(*)>1
-- expect: 0 rows
GO

-- BillNoRule: the next number of every class lies above the numbers in use
Select r.FClassTypeID,b.FBillNo From t_BillNoRule r Inner Join t_cc_stockbill b On b.FClassTypeID=r.FClassTypeID
Where LEFT(b.FBillNo,LEN(r.FPrefix))<>r.FPrefix Or CAST(SUBSTRING(b.FBillNo,LEN(r.FPrefix)+1,20) AS int)>=r.FNextNumber
Union All Select r.FClassTypeID,b.FBillNo From t_BillNoRule r Inner Join t_XS_Order b On b.FClassTypeID=r.FClassTypeID
Where LEFT(b.FBillNo,LEN(r.FPrefix))<>r.FPrefix Or CAST(SUBSTRING(b.FBillNo,LEN(r.FPrefix)+1,20) AS int)>=r.FNextNumber
Union All Select r.FClassTypeID,b.FBillNo From t_BillNoRule r Inner Join t_cg_Order b On b.FClassTypeID=r.FClassTypeID
Where LEFT(b.FBillNo,LEN(r.FPrefix))<>r.FPrefix Or CAST(SUBSTRING(b.FBillNo,LEN(r.FPrefix)+1,20) AS int)>=r.FNextNumber
Union All Select r.FClassTypeID,b.FBillNo From t_BillNoRule r Inner Join T_LS_CX b On b.FClassTypeID=r.FClassTypeID
Where LEFT(b.FBillNo,LEN(r.FPrefix))<>r.FPrefix Or CAST(SUBSTRING(b.FBillNo,LEN(r.FPrefix)+1,20) AS int)>=r.FNextNumber
Union All Select r.FClassTypeID,b.FBillNo From t_BillNoRule r Inner Join t_cc_Change b On b.FClassTypeID=r.FClassTypeID
Where LEFT(b.FBillNo,LEN(r.FPrefix))<>r.FPrefix Or CAST(SUBSTRING(b.FBillNo,LEN(r.FPrefix)+1,20) AS int)>=r.FNextNumber
-- expect: 0 rows
GO

-- BillKinds: every bill's kind belongs to its class
Select b.FBillNo From t_cc_stockbill b Left Join t_BaseBillTypeData d On d.FID=b.FBillTypeID Where IsNull(d.FClassTypeID,0)<>b.FClassTypeID
Union All Select b.FBillNo From t_XS_Order b Left Join t_BaseBillTypeData d On d.FID=b.FBillTypeID Where IsNull(d.FClassTypeID,0)<>b.FClassTypeID
Union All Select b.FBillNo From t_cc_Change b Left Join t_BaseBillTypeData d On d.FID=b.FBillTypeID Where IsNull(d.FClassTypeID,0)<>b.FClassTypeID
-- expect: 0 rows
GO

-- RowQuantities: base quantity = shown quantity x coefficient, and the shown unit is a unit of the item with that coefficient
Select 'stockbill' As FTable,e.FEntryID From t_cc_stockbillentry e Left Join vw_Unit u On u.FSrcItemId=e.FItemID And u.FItemID=e.FShowUnitID
Where ABS(e.FQty-e.FShowQty*e.FCoefficient)>0.0001 Or u.FItemID Is Null Or ABS(u.FCoefficient-e.FCoefficient)>0.0000001
Union All Select 'order',e.FEntryID From t_XS_OrderEntry e Left Join vw_Unit u On u.FSrcItemId=e.FItemID And u.FItemID=e.FShowUnitID
Where ABS(e.FQty-e.FShowQty*e.FCoefficient)>0.0001 Or u.FItemID Is Null Or ABS(u.FCoefficient-e.FCoefficient)>0.0000001
Union All Select 'purchase order',e.FEntryID From t_cg_OrderEntry e Left Join vw_Unit u On u.FSrcItemId=e.FItemID And u.FItemID=e.FShowUnitID
Where ABS(e.FQty-e.FShowQty*e.FCoefficient)>0.0001 Or u.FItemID Is Null Or ABS(u.FCoefficient-e.FCoefficient)>0.0000001
Union All Select 'exchange',e.FEntryID From t_cc_ChangeEntry e Left Join vw_Unit u On u.FSrcItemId=e.FItemID And u.FItemID=e.FShowUnitID
Where ABS(e.FQty-e.FShowQty*e.FCoefficient)>0.0001 Or u.FItemID Is Null Or ABS(u.FCoefficient-e.FCoefficient)>0.0000001
-- expect: 0 rows
GO

-- RowAmounts: amount = quantity x discounted price and amount + tax = amount including tax on every row
Select 'stockbill' As FTable,FEntryID From t_cc_stockbillentry
Where ABS(FAmount-ROUND(FShowQty*FPriceDiscount,2))>0.005 Or ABS(FAmount+FTaxAmount-FInTaxAmount)>0.005 Or ABS(FTaxAmount-ROUND(FAmount*FTaxRate/100,2))>0.005
Union All Select 'order',FEntryID From t_XS_OrderEntry
Where ABS(FAmount-ROUND(FShowQty*FPriceDiscount,2))>0.005 Or ABS(FAmount+FTaxAmount-FInTaxAmount)>0.005 Or ABS(FTaxAmount-ROUND(FAmount*FTaxRate/100,2))>0.005
Union All Select 'purchase order',FEntryID From t_cg_OrderEntry
Where ABS(FAmount-ROUND(FShowQty*FPrice,2))>0.005 Or ABS(FAmount+FTaxAmount-FInTaxAmount)>0.005
-- expect: 0 rows
GO

-- HeadTotals: the head total is the rows' total (opening supplier bills count amounts before tax; an exchange bill's first grid) and the open receivable is total - written off - offset
Select b.FBillNo From t_cc_stockbill b
Where ABS(b.FAllAmount-(Select Sum(Case When b.FClassTypeID=1020004 Then e.FAmount Else e.FInTaxAmount End) From t_cc_stockbillentry e Where e.FID=b.FID))>0.005
   Or (b.FClassTypeID=1030002 And ABS(b.FUnCheckAmount-(b.FAllAmount-b.FCurCheckAmount-b.FNeutralizeAmount))>0.005)
Union All Select b.FBillNo From t_cc_Change b
Where ABS(b.FAllAmount-(Select Sum(e.FInTaxAmount) From t_cc_ChangeEntry e Where e.FID=b.FID And e.FGrid=1))>0.005
   Or ABS(b.FUnCheckAmount-(b.FAllAmount-b.FCurCheckAmount-b.FNeutralizeAmount))>0.005
Union All Select b.FBillNo From t_XS_Order b
Where ABS(b.FAllAmount-(Select Sum(e.FInTaxAmount) From t_XS_OrderEntry e Where e.FID=b.FID))>0.005
Union All Select b.FBillNo From t_cg_Order b
Where ABS(b.FAllAmount-(Select Sum(e.FInTaxAmount) From t_cg_OrderEntry e Where e.FID=b.FID))>0.005
-- expect: 0 rows
GO

-- OpenQuantities: delivered + still to deliver = ordered, and open return and settlement quantities never exceed the row
Select 'order' As FTable,FEntryID From t_XS_OrderEntry Where ABS(FSendQty+FUnSendQty-FShowQty)>0.0001 Or FUnSendQty<0
Union All Select 'stockbill',FEntryID From t_cc_stockbillentry Where FUnRejectQty>FShowQty Or FUnSettleQty>FShowQty Or FUnRejectQty<0 Or FUnSettleQty<0
Union All Select 'purchase order',FEntryID From t_cg_OrderEntry Where ABS(FStockInQty+FUnStockInQty-FShowQty)>0.0001
-- expect: 0 rows
GO

-- SourceLinks: every source link of a row names an existing row of the source class
Select e.FEntryID From t_cc_stockbillentry e
Where e.FClassID_SRC<>0 And Not Exists (
      Select 1 From t_XS_OrderEntry s Where e.FClassID_SRC=1030001 And s.FID=e.FID_SRC And s.FEntryID=e.FEntryID_SRC
      Union All
      Select 1 From t_cg_OrderEntry s Where e.FClassID_SRC=1020001 And s.FID=e.FID_SRC And s.FEntryID=e.FEntryID_SRC)
  And Not Exists (
      Select * From t_cc_stockbillentry s Inner Join t_cc_stockbill h On h.FID=s.FID
      Where h.FClassTypeID=e.FClassID_SRC And s.FID=e.FID_SRC And s.FEntryID=e.FEntryID_SRC)
Union All
Select e.FEntryID From t_cg_OrderEntry e
Where e.FClassID_SRC=1030001 And Not Exists (Select * From t_XS_OrderEntry s Where s.FID=e.FID_SRC And s.FEntryID=e.FEntryID_SRC)
-- expect: 0 rows
GO

-- SourceHeads: a bill made from one source bill names it in its head, with its number
Select b.FBillNo From t_cc_stockbill b
Where b.FID_SRC<>0 And Not Exists (Select * From t_cc_stockbillentry e Where e.FID=b.FID And e.FClassID_SRC=b.FClassID_SRC And e.FID_SRC=b.FID_SRC)
   Or (b.FClassID_SRC=1030001 And b.FBillNo_SRC<>(Select o.FBillNo From t_XS_Order o Where o.FID=b.FID_SRC))
   Or (b.FClassID_SRC In (1030002,1030003) And b.FBillNo_SRC<>(Select s.FBillNo From t_cc_stockbill s Where s.FID=b.FID_SRC))
-- expect: 0 rows
GO

-- SerialCounts: audited rows of serial-managed items carry one serial number per base unit
Select e.FID,e.FIndex From t_cc_stockbillentry e
Inner Join t_cc_stockbill b On b.FID=e.FID
Inner Join t_ICItem i On i.FItemID=e.FItemID
Where b.FStatus>=1 And i.FIsSerialNumMgr=1
  And e.FQty<>(Select Count(*) From t_SerialNumList s Where s.FBillID=e.FID And s.FBillIndexID=e.FIndex And s.FItemID=e.FItemID And s.FClassTypeID=b.FClassTypeID)
-- expect: 0 rows
GO

-- SerialBills: every serial-number record names a stored bill row of its item
Select s.FID From t_SerialNumList s
Where Not Exists (Select * From t_cc_stockbillentry e Inner Join t_cc_stockbill b On b.FID=e.FID
                  Where b.FID=s.FBillID And b.FClassTypeID=s.FClassTypeID And e.FIndex=s.FBillIndexID And e.FItemID=s.FItemID)
-- expect: 0 rows
GO

-- InventoryTracking: batches only on batch-managed items, attributes only on attribute-managed items, dates only on shelf-life items and expiry = production + shelf life
Select v.FID From t_cc_inventory v Inner Join t_ICItem i On i.FItemID=v.FItemID
Where (i.FISBatchManager=1 And v.FBatchNo='') Or (i.FISBatchManager=0 And v.FBatchNo<>'')
   Or (i.FISAuxi=1 And v.FAuxPropID=0) Or (i.FISAuxi=0 And v.FAuxPropID<>0)
   Or (i.FISKFPeriod=0 And (v.FKFDate Is Not Null Or v.FPeriodDate Is Not Null))
   Or (i.FISKFPeriod=1 And (v.FKFPeriod<>i.FKFPeriod Or DATEDIFF(day,v.FKFDate,v.FPeriodDate)<>v.FKFPeriod))
-- expect: 0 rows
GO

-- RowTracking: stored rows of shelf-life items keep expiry = production + shelf life, and batch rows name a batch known in stock, in the opening balances or on another bill
Select e.FEntryID From t_cc_stockbillentry e Inner Join t_ICItem i On i.FItemID=e.FItemID
Where (i.FISKFPeriod=1 And e.FKFDate Is Not Null And DATEDIFF(day,e.FKFDate,e.FPeriodDate)<>e.FKFPeriod)
   Or (e.FBatchNo<>'' And Not Exists (Select * From t_cc_inventory v Where v.FItemID=e.FItemID And v.FBatchNo=e.FBatchNo)
                      And Not Exists (Select * From ICInvInitial v Where v.FItemID=e.FItemID And v.FBatchNo=e.FBatchNo))
-- expect: 0 rows
GO

-- SpecialPrices: published special prices come from audited special-price bills with the same item, unit and price
Select p.FID From t_LS_ItemPrice p
Where Not Exists (Select * From T_LS_CX h Inner Join T_LS_CXEntry e On e.FID=h.FID
                  Where h.FBillNo=p.FXSBillNo And h.FStatus=1 And e.FItemID=p.FItemID And e.FShowUnitID=p.FUnitID
                    And e.FNewPrice=p.FXSPrice And h.FBranchShop=p.FBranchShop)
-- expect: 0 rows
GO

-- PromotionCustomers: customer limits name an audited special-price bill by ID and number, and a customer
Select c.FBillID,c.FItemID From T_LS_CX_Customer c
Where Not Exists (Select * From T_LS_CX h Where h.FID=c.FBillID And h.FBillNo=c.FBillNo)
   Or Not Exists (Select * From t_Organization o Where o.FItemID=c.FItemID)
-- expect: 0 rows
GO

-- PriceData: every price row names an item unit, and agreement slots name units of the item
Select p.FItemID,p.FUnitID From t_ItemPrice p Where Not Exists (Select * From vw_Unit u Where u.FSrcItemId=p.FItemID And u.FItemID=p.FUnitID)
Union All Select p.FItemID,p.FUnitID From t_LatestPrice p Where Not Exists (Select * From vw_Unit u Where u.FSrcItemId=p.FItemID And u.FItemID=p.FUnitID)
Union All Select a.FItemID,a.FUnitID1 From t_ItemPriceProfile a
Where (a.FUnitID1<>0 And Not Exists (Select * From vw_Unit u Where u.FSrcItemId=a.FItemID And u.FItemID=a.FUnitID1))
   Or (a.FUnitID2<>0 And Not Exists (Select * From vw_Unit u Where u.FSrcItemId=a.FItemID And u.FItemID=a.FUnitID2))
   Or (a.FUnitID3<>0 And Not Exists (Select * From vw_Unit u Where u.FSrcItemId=a.FItemID And u.FItemID=a.FUnitID3))
-- expect: 0 rows
GO

-- LatestPrices: at most one last price per item, unit and partner
Select FItemID,FUnitID,FCustID,FSupplyID From t_LatestPrice Where FIsLast=1 Group By FItemID,FUnitID,FCustID,FSupplyID Having Count(*)>1
-- expect: 0 rows
GO

-- Contacts: at most one first contact per customer
Select FItemID From t_Contact Where FIsFirst=1 Group By FItemID Having Count(*)>1
-- expect: 0 rows
GO

-- PeriodCoverage: the periods of the start and current period exist and follow each other without gaps
Select a.FYear,a.FPeriod From t_PeriodDate a Inner Join t_PeriodDate b On b.FYear=a.FYear And b.FPeriod=a.FPeriod+1
Where DATEDIFF(day,a.FEndDate,b.FStartDate)<>1
Union All
Select 0,0 Where Not Exists (Select * From t_PeriodDate p Inner Join t_SystemProfile y On y.FCategory='IC' And y.FKey='StartYear'
                             Inner Join t_SystemProfile q On q.FCategory='IC' And q.FKey='StartPeriod'
                             Where p.FYear=CONVERT(INT,y.FValue) And p.FPeriod=CONVERT(INT,q.FValue))
-- expect: 0 rows
GO

-- PlugInRegistry: every bill class served by a plug-in names a registered class of the plug-in library
Select c.FClassTypeID From t_BillClassType c
Where c.FProgID<>'' And Not Exists (Select * From t_ComponentRegistry r Where r.FProgID=c.FProgID And r.FLibraryPath<>'' And LEN(r.FCLSID)=38)
-- expect: 0 rows
GO

-- UserRights: rights and profiles belong to known users (0 = every user)
Select FUserID From t_AccessRight Where FUserID Not In (Select FUserID From t_User)
Union All Select FUserID From t_UserProfile Where FUserID<>0 And FUserID Not In (Select FUserID From t_User)
-- expect: 0 rows
GO
