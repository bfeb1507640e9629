// The host's business components, created by ProgID through IHost::CreateObject. Each interface
// carries the members the library calls, in the callee's argument order. `props` is always the
// login properties string. A component raises vb::Error for a failure it cannot express in its
// result; the library's service routines trap those.
#pragma once

#include <string>
#include <vector>

#include "zov/host/dictionary.h"
#include "zov/host/recordset.h"

namespace zov::host {

// ProgIDs of the host components.
namespace progid {
inline constexpr const char* kDictionary = "QBX.Dictionary";
inline constexpr const char* kStringBuilder = "vrex.StringBuilder";
inline constexpr const char* kCacheFacade = "ZOVMtsCacheService.CacheFacade";
inline constexpr const char* kShareProps = "ZOVPropsMgr.ShareProps";
inline constexpr const char* kSecurityInfo = "ZOVEBSBase.SecurityInfo";
inline constexpr const char* kSystemProfile = "ZOVEBSBase.SystemProfile";
inline constexpr const char* kGLSystemProfile = "ZOVEBCGL.SystemProfile";
inline constexpr const char* kGLData = "ZOVEBCGLView.GLData";
inline constexpr const char* kGLView = "ZOVEBCGLView.GLView";
inline constexpr const char* kClassInfo = "ZOVMClass.ClassInfo";
inline constexpr const char* kClassUpdate = "ZOVMClass.ClassUpdate";
inline constexpr const char* kAppConnection = "ZOVMAPPConnection.AppConnection";
inline constexpr const char* kUserProfileInfo = "ZOVMProfile.ClassUserProfileInfo";
inline constexpr const char* kUserProfileUpdate = "ZOVMProfile.ClassUserProfileUpdate";
inline constexpr const char* kHelpTip = "ZovHelpTip.HelpTip";
inline constexpr const char* kDispBuilder = "ZOVDisplayer.DispBuilder";
inline constexpr const char* kRelateBillLookUp = "ZOVClassLookUp.RelateBilllookUp";
inline constexpr const char* kStockInfo = "ZOV_CC_PlugIns.clsStockInfo";
inline constexpr const char* kPublicSysInfo = "ZOVM_CC_PlugIns.PublicSysInfo";
inline constexpr const char* kSerialNumMgr = "ZOVMSerialNumMgr.clsInfo";
inline constexpr const char* kBatchNoRule = "ZOVMBatchNoRule.clsBatchNoRule";
inline constexpr const char* kItemInfo = "ZOVEBSGLItem.ItemInfo";
inline constexpr const char* kBarCodeUpdate = "ZOVEBSGLItem.clsBarCodeUpdate";
inline constexpr const char* kStockBillReader = "ZOVMCalCulateItemCost.StockBillReader";
inline constexpr const char* kTempConsignUpdate = "ZOVM_XS_PlugIns.TempConsignUpdate";
inline constexpr const char* kTempGJUpdate = "ZOVM_XS_PlugIns.TempGJUpdate";
inline constexpr const char* kGJUpdate = "ZOVM_CG_PlugIns.GJUpdate";
inline constexpr const char* kOrderUpdate = "ZOVM_XS_PlugIns.OrderUpdate";
inline constexpr const char* kPurchaseOrder = "ZOV_CG_PlugIns.BillEvent_Order";
inline constexpr const char* kCXUpdate = "ZOVM_XS_PlugIns.CXUpdate";
inline constexpr const char* kInvoiceManage = "ZOVInvoiceManage.InvoiceManage";
inline constexpr const char* kInvoiceManageServer = "ZOVMInvoiceManage.clsInvoiceManage";
inline constexpr const char* kLogisticApplication = "ZOVLogisticManage.Application";
inline constexpr const char* kLogisticInfo = "ZOVMLogisticManage.clsInfo";
inline constexpr const char* kMDIMain = "ZOVMain.MDIMain";
inline constexpr const char* kPriceMgr = "ZOVPriceMgr.Application";
}  // namespace progid

#define ZOV_COMPONENT_IID(text) static constexpr Guid IID = Guid::Parse(text)

// --- login ----------------------------------------------------------------------------------

// "ZOVMtsCacheService.CacheFacade": the host's login cache, keyed by process ID.
class ICacheFacade : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E01}");
  // The login value `key` of the process; Empty when absent. Key "IsOuterLogin" is the mode.
  virtual Variant GetItem(long processId, std::string_view key) = 0;

 protected:
  ~ICacheFacade() = default;
};

// "ZOVPropsMgr.ShareProps": the properties shared by the host's components.
class IShareProps : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E02}");
  virtual Variant GetProperty(long processId, std::string_view key) = 0;

 protected:
  ~IShareProps() = default;
};

// --- rights and profile ----------------------------------------------------------------------

// "ZOVEBSBase.SecurityInfo".
class ISecurityInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E03}");
  // True when the user of `props` holds bit `right` of (group, object); `caller` is the ProgID
  // of the asking class.
  virtual bool AccessCheck(std::string_view props, long group, long object, long right, bool flag,
                           std::string_view caller) = 0;
  // True when data authorisation is switched on for the user.
  virtual Variant NeedAutorized(std::string_view props) = 0;

 protected:
  ~ISecurityInfo() = default;
};

// "ZOVEBSBase.SystemProfile": system profile values by category and key.
class IProfileService : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E04}");
  // The value of (category, key) as text; Null when the account set has no such value.
  virtual Variant GetProfile(std::string_view props, std::string_view category,
                             std::string_view key) = 0;

 protected:
  ~IProfileService() = default;
};

// "ZOVEBCGL.SystemProfile", and the SystemProfile property of the GL data object.
class IGLSystemProfile : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E05}");
  // Re-reads the profile from the database.
  virtual void Refresh() = 0;
  // The value of (category, key) as text, `defaultValue` when absent.
  virtual Variant GetSystemProfile(std::string_view category, std::string_view key,
                                   const Variant& defaultValue) = 0;

 protected:
  ~IGLSystemProfile() = default;
};

// "ZOVEBCGLView.GLData".
class IGLData : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E06}");
  virtual Ref<IGLSystemProfile> SystemProfile() = 0;
  // The item classes under data authorisation, as text ("1,5").
  virtual std::string GetAuthItemClassList() = 0;

 protected:
  ~IGLData() = default;
};

// --- data access -------------------------------------------------------------------------------

// "ZOVMClass.ClassInfo": queries.
class IClassInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E07}");
  // Runs the T-SQL batch `sql` on the account set of `props`; the recordset is the batch's first
  // result set (an empty one when the batch returns none). Raises the database's error.
  virtual Ref<IRecordset> Getdata(std::string_view props, std::string_view sql) = 0;

 protected:
  ~IClassInfo() = default;
};

// "ZOVMClass.ClassUpdate": updates.
class IClassUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E08}");
  // Runs the T-SQL batch `sql` in one transaction; raises the database's error and then leaves
  // the database unchanged.
  virtual void UpdateBatch(std::string_view props, std::string_view sql) = 0;

 protected:
  ~IClassUpdate() = default;
};

// "ZOVMAPPConnection.AppConnection": base-data look-ups on a connection string.
class IAppConnection : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E09}");
  virtual Ref<IRecordset> Execute(std::string_view connectString, std::string_view sql) = 0;

 protected:
  ~IAppConnection() = default;
};

// "vrex.StringBuilder".
class IStringBuilder : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0A}");
  virtual void Append(std::string_view text) = 0;
  virtual std::string StringValue() const = 0;

 protected:
  ~IStringBuilder() = default;
};

// --- user profile and windows
// ---------------------------------------------------------------------

// "ZOVMProfile.ClassUserProfileInfo".
class IUserProfileInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0B}");
  // The user's value of (section, key); "" when none.
  virtual std::string GetUserProfile(std::string_view props, std::string_view section,
                                     std::string_view key) = 0;

 protected:
  ~IUserProfileInfo() = default;
};

// "ZOVMProfile.ClassUserProfileUpdate".
class IUserProfileUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0C}");
  virtual void SaveUserProfile(std::string_view props, std::string_view section,
                               std::string_view key, const Variant& value) = 0;

 protected:
  ~IUserProfileUpdate() = default;
};

// "ZovHelpTip.HelpTip".
class IHelpTip : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0D}");
  virtual void ShowPopTip(long style, std::string_view title, std::string_view text) = 0;

 protected:
  ~IHelpTip() = default;
};

// "ZOVDisplayer.DispBuilder": the list window.
class IDispBuilder : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0E}");
  virtual void SetCols(long count) = 0;
  // Column titles, each followed by "|".
  virtual void SetTitles(std::string_view titles) = 0;
  // Width in twips of 1-based column `col`.
  virtual void SetColWidth(long col, long width) = 0;
  // One line: cells each followed by "|".
  virtual void Add(std::string_view line) = 0;
  virtual void Show(long mode) = 0;

 protected:
  ~IDispBuilder() = default;
};

// "ZOVClassLookUp.RelateBilllookUp": the related-bill window.
class IRelateBillLookUp : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E0F}");
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetTitleName(std::string_view title) = 0;
  // Header items: keyed 1 .. n, each a dictionary with "FName", "FValue", "FFormat".
  virtual void SetTitleDict(const Ref<IDictionary>& dict) = 0;
  // Columns under "Header" and the records.
  virtual void SetEntryDict(const Ref<IDictionary>& dict) = 0;
  virtual void SetClassTypeID(long classTypeId) = 0;
  virtual void Show() = 0;

 protected:
  ~IRelateBillLookUp() = default;
};

// The result of "ZOVEBCGLView.GLView" ItemSelect: the checked items.
class IItemSelection : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E10}");
  // The number of checked items.
  virtual long CheckPoints() const = 0;
  // The internal ID of the checked item at 1-based `index`.
  virtual long CheckItems(long index) const = 0;
  // Its display name.
  virtual std::string ShowName(long index) const = 0;

 protected:
  ~IItemSelection() = default;
};

// "ZOVEBCGLView.GLView".
class IGLView : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E11}");
  // Shows the selection window over `items`, pre-checking `checked`; empty when cancelled.
  virtual Ref<IItemSelection> ItemSelect(const Ref<IRecordset>& items,
                                         const std::vector<long>& checked, std::string_view title,
                                         bool single, long mode, std::string_view filter) = 0;

 protected:
  ~IGLView() = default;
};

// --- stock, credit and audit services ------------------------------------------------------------

// "ZOV_CC_PlugIns.clsStockInfo".
class IStockInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E12}");
  // Stock sufficiency of the rows before `mode` ("SAVE"): -1 stop (with `message`, possibly
  // empty), 3 stop silently, anything else go on.
  virtual long CheckItemStockNum(std::string_view props, std::string_view mode,
                                 const Ref<IDictionary>& head, const Ref<IDictionary>& rows,
                                 std::string& message) = 0;
  // Lowest-price control of the rows; shows its own message. True when the prices may stand.
  virtual bool CheckLimitPrice(std::string_view props, const Ref<IDictionary>& bill,
                               const Ref<IDictionary>& rows) = 0;
  // Audit (op 1) or un-audit (op -1) checks of the bills in `billInfo` (one bill record or a
  // dictionary of them): 1 or 4 pass; 0, 2 and -1 fail with `message`.
  virtual long CheckBill(const Ref<IDictionary>& billInfo, long op, std::string_view props,
                         std::string& message) = 0;
  // Asks the user whether to go on past the credit limit described by `message`.
  virtual bool CreditSelectOK(std::string_view message) = 0;
  // Asks the user whether to go on despite the overdue receivables described by `message`.
  virtual bool UnCheckAmountOutOfDateSelectOK(std::string_view message) = 0;
  // Shows the rows whose serial-number count differs from their quantity: `errors` keyed 1 .. n,
  // each a record of "FIndex", "FNumber", "FName", "FModel", "FStockID", "FBatchNo".
  virtual void CheckSerialNoCount(std::string_view props, const Ref<IDictionary>& errors) = 0;

 protected:
  ~IStockInfo() = default;
};

// "ZOVM_CC_PlugIns.PublicSysInfo".
class IPublicSysInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E13}");
  // True when the bill would take the customer past the credit limit; `message` says by how
  // much.
  virtual bool CheckCredit(std::string_view props, const Ref<IDictionary>& bill,
                           std::string& message) = 0;
  // True when the customer has receivables past their settlement date.
  virtual bool CheckUnCheckAmountOutOfDate(std::string_view props, const Ref<IDictionary>& bill,
                                           std::string& message) = 0;
  virtual Variant GetSystemProfile(std::string_view category, std::string_view key,
                                   const Variant& defaultValue) = 0;

 protected:
  ~IPublicSysInfo() = default;
};

// "ZOVMSerialNumMgr.clsInfo": the serial-number manager. The library holds one while it locks
// rows whose serial numbers are used; the look-ups themselves run as SQL.
class ISerialNumMgr : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E14}");
  // The serial numbers recorded for bill `billId` of class `classTypeId`.
  virtual Ref<IRecordset> GetBillSerials(std::string_view props, long classTypeId, long billId) = 0;

 protected:
  ~ISerialNumMgr() = default;
};

// The rule "ZOVMBatchNoRule.clsBatchNoRule" returns.
class IBatchNoInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E15}");
  virtual long CurSerial() const = 0;
  virtual long SerialLen() const = 0;
  virtual std::string Prefix() const = 0;

 protected:
  ~IBatchNoInfo() = default;
};

// "ZOVMBatchNoRule.clsBatchNoRule".
class IBatchNoRule : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E16}");
  // The automatic batch-number rule of `itemId` on `billDate`.
  virtual Ref<IBatchNoInfo> GetBatchNo(std::string_view props, vb::Date billDate, long itemId) = 0;

 protected:
  ~IBatchNoRule() = default;
};

// "ZOVEBSGLItem.ItemInfo".
class IItemInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E17}");
  virtual bool isBatchManager(std::string_view props, long itemId) = 0;
  // The stocks the user may use (FItemID, FNumber, FName), the default first.
  virtual Ref<IRecordset> GetStockInfo(std::string_view props) = 0;
  // The base-data record of item `itemId` of class `itemClassId` (1 customers): its columns
  // (FDeliverAddr, FCompanyPhone, FPhone, FMobilePhone, ...).
  virtual Ref<IRecordset> GetDetail(std::string_view props, long itemClassId, long itemId) = 0;

 protected:
  ~IItemInfo() = default;
};

// "ZOVEBSGLItem.clsBarCodeUpdate".
class IBarCodeUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E18}");
  // Stores a customer contact (a new one when "FID" is 0); True on success.
  virtual bool SaveContactData(std::string_view props, const Ref<IDictionary>& contact) = 0;

 protected:
  ~IBarCodeUpdate() = default;
};

// "ZOVMCalCulateItemCost.StockBillReader".
class IStockBillReader : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E19}");
  // The cost of one base unit of the item in the stock (0: all stocks) and batch ("" : all).
  virtual double GetCost(std::string_view props, long itemId, long stockId,
                         std::string_view batchNo) = 0;
  virtual double GetCost80(std::string_view props, long itemId, long stockId,
                           std::string_view batchNo) = 0;

 protected:
  ~IStockBillReader() = default;
};

// --- server components of the bills ------------------------------------------------------------

// "ZOVM_XS_PlugIns.TempConsignUpdate" and "ZOVM_XS_PlugIns.TempGJUpdate".
class ITempBillUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1A}");
  // Audit (true) or un-audit checks of the stored bill, performing the operation when they pass.
  virtual bool CheckBill(std::string_view props, long billId, bool audit, std::string& message) = 0;
  // Audits (op 2) or un-audits (op 3) the bills of `bills`; one record per message into
  // `results` (item "Message").
  virtual void BatchOperate(std::string_view props, const Ref<IDictionary>& bills,
                            const Ref<IDictionary>& results, long op) = 0;
  virtual double GetFieldSumValue(std::string_view props, long billId,
                                  std::string_view fieldKey) = 0;
  virtual double GetLinkQty(std::string_view props, long billId) = 0;
  virtual double GetLinkTaxAmount(std::string_view props, long billId) = 0;

 protected:
  ~ITempBillUpdate() = default;
};

// "ZOVM_CG_PlugIns.GJUpdate".
class IGJUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1B}");
  virtual double GetFieldSumValue(std::string_view props, long billId,
                                  std::string_view fieldKey) = 0;
  virtual double GetGHDLinkQty(std::string_view props, long billId) = 0;
  virtual double GetGHDLinkTaxAmount(std::string_view props, long billId) = 0;

 protected:
  ~IGJUpdate() = default;
};

// "ZOVM_XS_PlugIns.OrderUpdate".
class IOrderUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1C}");
  // Closes the order, or re-opens it when `reopen` is true.
  virtual void CloseBill(std::string_view props, long billId, bool reopen) = 0;

 protected:
  ~IOrderUpdate() = default;
};

// "ZOV_CG_PlugIns.BillEvent_Order": the purchase module's order class.
class IPurchaseOrderLink : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1D}");
  // Refreshes the sales order's quantities not yet linked to purchase orders.
  virtual void updateXSOrderFUnLinkCGQty(long& billId) = 0;

 protected:
  ~IPurchaseOrderLink() = default;
};

// "ZOVM_XS_PlugIns.CXUpdate".
class ICXUpdate : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1E}");
  // Audits the special-price bill in `bill` ("FID", "FClassTypeID"); `message` says why not.
  virtual bool CheckBill(std::string_view props, const Ref<IDictionary>& bill,
                         std::string& message) = 0;
  // Invalidates it ("FID", "FClassTypeID", "FPriceType"): 1 done, -1 refused with `message`.
  virtual long InvalidBill(std::string_view props, const Ref<IDictionary>& bill,
                           std::string& message) = 0;

 protected:
  ~ICXUpdate() = default;
};

// "ZOVInvoiceManage.InvoiceManage" and "ZOVMInvoiceManage.clsInvoiceManage".
class IInvoiceManage : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E1F}");
  // Issues the electronic invoice described by `invoice` (head items and "Entries").
  virtual bool SaleBillMakeTzeInvoice(std::string_view props, const Ref<IDictionary>& invoice) = 0;
  // Tax data of the items (their tax category) by internal ID.
  virtual Ref<IRecordset> GetICItemInfo(std::string_view props, std::string_view itemIds) = 0;
  virtual Variant GetSystemProfile(std::string_view category, std::string_view key,
                                   const Variant& defaultValue) = 0;

 protected:
  ~IInvoiceManage() = default;
};

// "ZOVLogisticManage.Application".
class ILogisticApplication : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E20}");
  // Opens the logistics query for the condition items ("BillCode").
  virtual void ShowByCondition(const Ref<IDictionary>& condition) = 0;
  // The bill numbers to make logistics bills for (FBillCodeList.AddItem).
  virtual void AddBillCode(std::string_view billNo) = 0;
  // Makes logistics bills for the bill numbers added.
  virtual void BillToLogisticMake() = 0;
  // Makes logistics bills for `records` ("BillNo", "LogisticNum", "Status", "CustID") in mode
  // many-to-one (true) or one-to-one; returns one record per message ("Info", "Success").
  virtual Ref<IDictionary> BatchMakeLogisticDataProc(const Ref<IDictionary>& records,
                                                     bool manyToOne) = 0;

 protected:
  ~ILogisticApplication() = default;
};

// "ZOVMLogisticManage.clsInfo".
class ILogisticInfo : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E21}");
  // True when a logistics bill was made for the bill `billNo`.
  virtual bool ExistsMakeLogistic(std::string_view props, std::string_view billNo) = 0;

 protected:
  ~ILogisticInfo() = default;
};

// "ZOVPriceMgr.Application": the price window.
class IPriceMgr : public vb::IObject {
 public:
  ZOV_COMPONENT_IID("{6C1D2A30-7E55-4F2C-8B72-1D5A4C8B2E22}");
  virtual void Show() = 0;

 protected:
  ~IPriceMgr() = default;
};

#undef ZOV_COMPONENT_IID

}  // namespace zov::host
