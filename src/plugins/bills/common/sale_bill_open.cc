// The sales bill and its second type when a bill is created, loaded, copied or filled from source
// bills, when the cursor enters or leaves rows, and after the bill was saved.
#include <set>

#include "bills/common/commands.h"
#include "bills/common/customer.h"
#include "bills/common/row_data.h"
#include "bills/common/sale_bill.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "inventory/stock.h"
#include "pricing/client_codes.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "services/user_profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

SaleBill::SaleBill(PluginContext& ctx, host::IBillInterface& bill, const SaleBillRules& rules,
                   SaleBillState& state)
    : ctx_(ctx), bill_(bill), rules_(rules), state_(state) {}

SaleKind SaleBill::Kind() {
  return static_cast<SaleKind>(
      ResumeOr<long>(0, [&] { return static_cast<long>(FieldNumber(bill_, "FBillTypeID")); }));
}

std::vector<const SalesRowKeys*> SaleBill::Grids() const {
  if (rules_.secondGrid) return {&FirstGrid(), &SecondGrid()};
  return {&FirstGrid()};
}

const SalesRowKeys& SaleBill::GridOf(const Variant& grid) const {
  const long index = ResumeOr<long>(1, [&] {
    return grid.IsEmpty() || grid.IsNull() ? 1L : static_cast<long>(vb::Val(vb::CStr(grid)));
  });
  return rules_.secondGrid && index == 2 ? SecondGrid() : FirstGrid();
}

PriceLookup SaleBill::Pricing() {
  PriceLookup lookup;
  lookup.giftStockOption = rules_.userOptions && OptionChecked(ctx_, rules_.cls.classTypeId,
                                                               "DoNotGetSalePriceWhenGiftStock");
  lookup.stockPriceConditions = rules_.stockPriceConditions;
  lookup.costByStockOutOption = rules_.costByStockOutOption;
  return lookup;
}

bool SaleBill::OptionOn(const char* option) {
  return rules_.userOptions && OptionChecked(ctx_, rules_.cls.classTypeId, option);
}

// --- rows ---------------------------------------------------------------------------------------

void SaleBill::AddNewRow(long row) { inventory::ClearSerials(ctx_, bill_, row); }

void SaleBill::BeforeDeleteRow(const Variant& grid, long row, bool& cancel) {
  RefuseUsedSerialRowDelete(ctx_, bill_, row, cancel, GridOf(grid));
}

void SaleBill::AfterDeleteRow() { calc::SyncChargesTotal(ctx_, bill_); }

void SaleBill::EntryGridRow(const Variant& grid, long row) {
  ShowRowStock(Form(), row, GridOf(grid));
}

// --- new, load, copy ----------------------------------------------------------------------------

void SaleBill::AfterNewBill() {
  // 1. The invoice type this user used last, unmodified.
  const std::string stored = services::GetUserProfile(ctx_, rules_.invoiceSection, "InvoiceType");
  state_.invoiceType = stored.empty() ? 2020 : static_cast<long>(vb::Val(stored));
  Resume([&] { bill_.SetFieldValue("FInvoiceType", state_.invoiceType, -1); });
  Resume([&] { MarkCell(bill_, "FInvoiceType", -1, false); });
  // 2.-4.
  Resume([&] { bill_.SetStatusText(3, ""); });
  HideFieldsByRights();
  ApplyBillLayout();
  // 5. Without a customer the settlement date is the bill date.
  if (FieldId(bill_, "FCustID") == 0) {
    Resume([&] {
      bill_.SetFieldValue("FSettleLimitDate", bill_.GetFieldValue("FDate", -1), -1);
      MarkCell(bill_, "FSettleLimitDate", -1, false);
    });
  }
  // 6.-7.
  MarkAllCellsUnmodified(bill_);
  calc::ApplyPriceAndTaxRights(ctx_, bill_);
}

void SaleBill::AfterLoadBill() {
  const auto form = Form();
  ShowCustomerCredit(form);
  HideFieldsByRights();
  ApplyBillLayout();
  LockPaymentCells();
  ApplyIndustrySetup();
  inventory::LoadSerials(ctx_, bill_);
  MarkAllCellsUnmodified(bill_);
  calc::ApplyPriceAndTaxRights(ctx_, bill_);
  // A bill rejected in the workflow is neither audited nor deleted, and not copied.
  if (FieldNumber(bill_, "FRejected") == 1) {
    Resume([&] { bill_.SetToolProperty("mnuEditCheck", "Visible", false); });
    Resume([&] { bill_.SetToolProperty("mnuEditFileDelete", "Visible", false); });
    Resume([&] { bill_.SetToolProperty("mnuEditCopy", "Enabled", false); });
  }
  if (FieldNumber(bill_, "FStatus") > 0) {
    Bar("mnuBarCode", "Enabled", false);
    Bar("mnuImportGoods", "Enabled", false);
  }
  // Rows without a composite quantity text get it, stored with the row.
  ComplexQtyTexts texts(form);
  for (const SalesRowKeys* keys : Grids())
    for (long row = 1, rows = GridRows(bill_, keys->grid); row <= rows; ++row)
      if (vb::Trim(FieldText(bill_, keys->complexQty, row)).empty()) texts.Complete(row, *keys);
  texts.Store();
}

void SaleBill::AfterCopyBill() {
  if (FieldId(bill_, "FCustID") > 0) CalcSettleLimitDate(Form());
  if (vb::InStr(FieldText(bill_, "FExplanation"), "由网上订单") > 0) {
    Resume([&] { bill_.SetFieldValue("FExplanation", "", -1); });
    Resume([&] { bill_.SetFieldValue("FNote", "", -1); });
  }
  Resume([&] { bill_.SetFieldValue("FInvoiceNO", "", -1); });
  HideFieldsByRights();
  ApplyBillLayout();
  ApplyIndustrySetup();
  inventory::ClearSerials(ctx_, bill_, 0);
  calc::ApplyPriceAndTaxRights(ctx_, bill_);
}

// --- source selection ---------------------------------------------------------------------------

void SaleBill::BeforeSelBills(std::string& filter) {
  // Only the kinds narrow the selection; the second type leaves it as the host offers it.
  if (!rules_.byKind) return;
  const SaleKind kind = Kind();
  if (kind == SaleKind::kDelivery)
    filter = "  and  t_BaseBillTypeData2.FName ='销售发货'  " + filter;
  else if (kind == SaleKind::kSettlement)
    filter = "  and  t_BaseBillTypeData2.FName ='委托结算'  " + filter;
}

void SaleBill::AfterSelBillBeforeFillData(const Variant& selection) {
  const long source = ResumeOr<long>(0, [&] {
    auto dict = selection.ObjectAs<host::IDictionary>();
    return dict ? static_cast<long>(vb::Val(vb::CStr(dict->Item("FSourClassTypeID")))) : 0L;
  });
  if (source == 1030003 || source == 1030001) {
    const SaleKind kind = source == 1030003 ? SaleKind::kSettlement : SaleKind::kDelivery;
    Resume([&] { bill_.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
    Resume([&] { bill_.SetFieldValue("FInvoiceType", 2020, -1); });
  } else if (source == 1030002) {
    // A return is being made: of a settlement a settlement return, of a delivery a return.
    const SaleKind kind =
        IsSettlementKind(Kind()) ? SaleKind::kSettlementReturn : SaleKind::kReturn;
    Resume([&] { bill_.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
  }
  if (rules_.byKind) LockSettlementItemColumns();
}

void SaleBill::AfterSelBill() {
  if (FieldNumber(bill_, "FBillTypeID") == 0)
    Resume([&] { bill_.SetFieldValue("FBillTypeID", static_cast<long>(SaleKind::kDelivery), -1); });
  const long sourceClass = static_cast<long>(FieldNumber(bill_, "FClassID_SRC"));
  const std::string sourceId = std::to_string(static_cast<long>(FieldNumber(bill_, "FID_SRC")));
  const bool explain =
      vb::Val(vb::CStr(services::SystemProfileValue(ctx_, "IsExpSourceToTarget", "IC", "0"))) != 0;
  auto explanation = [&](const std::string& prefix, const std::string& table) {
    if (!explain) return;
    const std::string number = services::FirstValue(
        ctx_, "select FBillNo from " + table + " where fid='" + sourceId + "'");
    Resume([&] { bill_.SetFieldValue("FExplanation", prefix + number + "生成", -1); });
  };
  if (sourceClass == 1030002) {
    // The return of a settlement is a settlement return, that of a delivery a return.
    const auto sourceKind = static_cast<SaleKind>(static_cast<long>(vb::Val(services::FirstValue(
        ctx_, "Select FBillTypeID From t_cc_stockbill Where FID = " + sourceId))));
    auto setKind = [&](SaleKind kind) {
      Resume([&] { bill_.SetFieldValue("FBillTypeID", static_cast<long>(kind), -1); });
    };
    if (sourceKind == SaleKind::kSettlement)
      setKind(SaleKind::kSettlementReturn);
    else if (sourceKind == SaleKind::kDelivery)
      setKind(SaleKind::kReturn);
    if (rules_.sourceRowDefaults)
      Resume([&] { bill_.SetBarStatus("mnuBarCode", "Enabled", !IsSettlementKind(Kind())); });
    explanation("由销售单", "t_cc_stockbill");
  } else if (sourceClass == 1030001) {
    explanation("由销售订单", "t_xs_order");
    // Rows of an order: the batch rule, the secondary quantity of the shown quantity, the
    // secondary price of the price.
    for (long row = 1, rows = GridRows(bill_); row <= rows; ++row) {
      ApplyRowBatchRule(Form(), row, FirstGrid());
      const double qtyCoefficient = FieldNumber(bill_, "FsecCoefficient", row);
      // A zero coefficient is written back as the whole number 0; no secondary quantity is
      // derived from it (it would be a division by zero).
      if (qtyCoefficient == 0) {
        Resume([&] { bill_.SetFieldValue("FsecCoefficient", 0L, row); });
      } else {
        const double secQty = FieldNumber(bill_, "FShowQty", row) / qtyCoefficient;
        if (FieldNumber(bill_, "FSecQty", row) != secQty)
          Resume([&] { bill_.SetFieldValue("FSecQty", secQty, row); });
      }
      Resume([&] {
        bill_.SetFieldValue(
            "FSecPrice",
            FieldNumber(bill_, "FPrice", row) * FieldNumber(bill_, "FSecCoefficient", row), row);
      });
    }
  } else if (sourceClass == 1020002) {
    // Direct delivery: a bill without customer takes the customer of the sales orders the
    // purchase was ordered for.
    if (FieldId(bill_, "FCustID") <= 0) {
      std::set<long> purchases;
      for (long row = 1, rows = GridRows(bill_); row <= rows; ++row)
        if (FieldNumber(bill_, "FClassID_SRC", row) == 1020002 &&
            FieldNumber(bill_, "FID_SRC", row) > 0)
          purchases.insert(static_cast<long>(FieldNumber(bill_, "FID_SRC", row)));
      std::string ids;
      for (long id : purchases) ids += (ids.empty() ? "" : ",") + std::to_string(id);
      if (!ids.empty()) {
        auto rs = services::OpenRecordsetTolerant(
            ctx_,
            " select distinct t6.FCustID As FCustID,t7.FNumber As FNumber from t_CC_StockBill t1 "
            "inner join t_CC_StockBillEntry t2 on t2.FID=t1.FID "
            "inner join t_CG_OrderEntry t3 on t3.FEntryID=t2.FEntryID_SRC and "
            "t2.FClassID_SRC=1020001 "
            "inner join t_CG_Order t4 on t4.FID=t3.FID "
            "inner join t_XS_OrderEntry t5 on t5.FEntryID=t3.FEntryID_SRC and "
            "t3.FClassID_SRC=1030001 "
            "inner join t_XS_Order t6 on t6.FID=t5.FID "
            "inner join t_Item t7 on t7.FItemID=t6.FCustID "
            " where t2.FID in ( " +
                ids + ")");
        if (rs && !rs->Eof()) {
          const Variant customer = rs->Value("FCustID");
          Resume([&] { bill_.SetFieldValue("FCustID", customer, -1); });
        }
      }
    }
    explanation("由购货单", "t_cc_stockbill");
  } else if (sourceClass == 1030003) {
    explanation("由委托代销单", "t_cc_stockbill");
  }
  const long rows = GridRows(bill_);
  if (rules_.sourceRowDefaults) {
    // 6. Shelf-life dates of editable rows; the default stock of rows without one.
    for (long row = 1; row <= rows; ++row) {
      StartSourceRowShelfLife(bill_, row);
      if (vb::Trim(FieldText(bill_, "FSCStockID", row)).empty() ||
          FieldId(bill_, "FSCStockID", row) == 0)
        inventory::FillDefaultStock(ctx_, bill_, row, "FSCStockID");
    }
  }
  // 7.-8.
  ShowCustomerCredit(Form());
  if (rules_.sourceRowDefaults) {
    if (Kind() != SaleKind::kReturn && FieldId(bill_, "FCustID") >= 1) CalcSettleLimitDate(Form());
  } else if (const long customer = FieldId(bill_, "FCustID"); customer >= 1) {
    FillCustomerContact(Form(), customer, ContactFill::kAddress);
  }
  if (services::IndustryType(ctx_) == 1)
    for (long row = 1; row <= rows; ++row)
      Resume([&] {
        const long type = static_cast<long>(FieldNumber(bill_, "FCalTypeid", row));
        bill_.SetFieldValue("FDisplayWeight",
                            FieldNumber(bill_, type == 3 ? "FSecQty" : "FQty", row), row);
      });
}

void SaleBill::AfterFillRow(long row, const Variant& grid) {
  CompleteFilledRow(Form(), row, GridOf(grid));
  if (services::IndustryType(ctx_) == 1) {
    ApplyIndustrySetup();
    ApplyBillLayout();
  }
  ContinueGridImport(bill_);
}

void SaleBill::AfterSave() {
  // 1. The invoice type is the default of the user's next bill.
  services::SaveUserProfileItem(ctx_, rules_.invoiceSection, "InvoiceType",
                                static_cast<long>(FieldNumber(bill_, "FInvoiceType")));
  // 2.-4. The contact of the bill goes back to the customer's contacts, or the receive address
  // to the record it was chosen from.
  if (rules_.contactWriteBack)
    WriteBackContact(Form());
  else
    WriteBackReceiveAddress();
}

void SaleBill::WriteBackReceiveAddress() {
  // The host's receive-address box tells which record the address was chosen from: a contact of
  // the customer or one of its stored delivery addresses.
  long id = 0;
  std::string kind;
  Resume([&] {
    auto control = bill_.Controls()->Find("FRECEIVEADDR");
    if (!control || control->TypeName() != "EditPlus") return;
    id = static_cast<long>(vb::Val(vb::CStr(control->Property("RecordID"))));
    kind = vb::CStr(control->Property("RecordKind"));
  });
  if (id <= 0) return;
  const std::string address = services::SqlLiteral(FieldText(bill_, "FReceiveAddr"), false);
  std::string sql;
  if (kind == "Contact")
    sql = "update t_Contact set FAddress='" + address + "' where FID='" + std::to_string(id) + "'";
  else if (kind == "DeliveryAddress")
    sql = "update t_SubMessage set FName='" + address + "'  where FTypeID=66 and FID='" +
          std::to_string(id) + "'";
  if (!sql.empty()) Resume([&] { services::ExecuteUpdate(ctx_, sql); });
}

}  // namespace zov::plugins::sales
