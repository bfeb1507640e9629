// The layout of the sales bill and its second type: which tools, captions, columns and settlement
// fields the form shows for the bill's state and, on the sales bill, its kind (delivery 3001,
// return 3002, consignment settlement 3003 and its return 3004).
#include <algorithm>
#include <functional>
#include <initializer_list>

#include "bills/common/commands.h"
#include "bills/common/sale_bill.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/database.h"
#include "services/login.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

namespace {

constexpr const char* kQueryTools[] = {
    "mnuQueryPayIn",         "mnuQuerySaleReject", "mnuQuerySale",      "mnuQueryConsign",
    "mnuQueryConsignReject", "mnuQueryConsignBal", "mnuQuerySaleOrder", "mnuQueryGH"};
constexpr const char* kPushTools[] = {"mnuRelatePushBill_1050001", "mnuRelatePushBill_3000001",
                                      "mnuRelatePushBill_1030002"};
constexpr const char* kSourceTools[] = {"mnuRelate_1030001", "mnuRelate_1030002",
                                        "mnuRelate_1030003"};
constexpr const char* kLogisticsTools[] = {"mnuRelatePushBill_2000001", "mnuQueryLogisticList"};

void ForEachColumn(host::IBillInterface& bill, std::string_view keys, long grid,
                   const std::function<void(host::IQORField&)>& apply) {
  for (const std::string& key : vb::Split(keys, ",")) {
    Resume([&] {
      auto g = grid == 0 ? bill.BillHeads() : bill.BillEntrys(grid);
      apply(*g->QORFields(key));
    });
  }
}

// The comma-separated `keys` with the grid's suffix.
std::string Suffixed(std::string_view keys, const std::string& suffix) {
  std::string out;
  for (const std::string& key : vb::Split(keys, ","))
    out += (out.empty() ? "" : ",") + key + suffix;
  return out;
}

}  // namespace

void SaleBill::ApplyIndustrySetup() {
  if (services::IndustryType(ctx_) != 1) return;
  for (const SalesRowKeys* keys : Grids()) calc::ApplyRowLocks(ctx_, bill_, *keys);
}

void SaleBill::LockSettlementItemColumns() {
  const bool settlement = IsSettlementKind(Kind());
  for (const std::string& key :
       vb::Split("FItemID,FShowUnitID,FSCStockID,FBatchNo,FAuxPropID,FKFDate", ","))
    Resume([&] { bill_.BillEntrys(1)->QORFields(key)->SetFieldLock(settlement); });
}

void SaleBill::Bar(const char* tool, const char* property, bool value) {
  Resume([&] { bill_.SetBarStatus(tool, property, value); });
}

void SaleBill::HideFieldsByRights() {
  const std::string props = services::PropsString(ctx_);
  if (!services::AccessCheck(ctx_, props, 15, 900, 32, rules_.cls.progId))
    for (const SalesRowKeys* keys : Grids())
      ForEachColumn(bill_, keys->costPrice + "," + keys->costAmount, keys->grid,
                    [](host::IQORField& f) { f.SetVisible(false); });
  const bool invoiceAmountRight = state_.invoiceAmountRight
                                      ? *state_.invoiceAmountRight
                                      : services::AccessCheck(ctx_, props, 15, 2010, 32, "");
  if (!invoiceAmountRight)
    ForEachColumn(bill_, "FInvoiceAmt,FNoInvoiceAmt", 0,
                  [](host::IQORField& f) { f.SetVisible(false); });
}

void SaleBill::LockPaymentCells() {
  Resume([&] {
    auto cell = bill_.GetDataFldbyKey("FCurPayAmount", -1);
    const bool stored = cell && cell->Lookup("FieldData");
    const double payment = stored ? vb::Val(vb::CStr(cell->Item("FieldData"))) : 0;
    const bool lockStyle = !stored || payment == 0;
    calc::LockField(bill_, "FBalanceStyle", lockStyle, -1);
    calc::LockField(bill_, "FAcctNo", lockStyle, -1);
    calc::LockField(bill_, "FCurPayAmount", !stored, -1);
  });
}

void SaleBill::ShowTaxColumns(bool taxed) {
  // The columns show as the template defines them for the form's state.
  auto map = ResumeOr<Ref<host::IDictionary>>(
      {}, [&] { return bill_.TableInfo()->Item("Map").ObjectAs<host::IDictionary>(); });
  const long state = ResumeOr<long>(0, [&] { return bill_.BillStatus(); });
  const long mask = state == host::kBillNew ? 64 : state == host::kBillEdit ? 128 : 16;
  for (const SalesRowKeys* keys : Grids())
    for (const std::string* key :
         {&keys->taxRate, &keys->taxPrice, &keys->taxAmount, &keys->inTaxAmount}) {
      bool visible = false;
      if (taxed && map)
        if (auto entry = map->Item(*key).ObjectAs<host::IDictionary>())
          visible = (vb::CLng(entry->Item("FVisible")) & mask) != 0;
      Resume([&] { bill_.BillEntrys(keys->grid)->QORFields(*key)->SetVisible(visible); });
    }
}

void SaleBill::ApplyBillLayout() {
  const long status =
      ResumeOr<long>(0, [&] { return static_cast<long>(FieldNumber(bill_, "FStatus")); });
  // The second type reads no kind: its kind-bound rules go as for a delivery.
  const SaleKind kind = rules_.byKind ? Kind() : SaleKind::kDelivery;
  const std::string billNo = ResumeOr<std::string>({}, [&] { return FieldText(bill_, "FBillNo"); });
  const bool logistic = ResumeOr<bool>(false, [&] {
    auto info = ctx_.host().CreateObject(host::progid::kLogisticInfo).As<host::ILogisticInfo>();
    return info && info->ExistsMakeLogistic(services::PropsString(ctx_), billNo);
  });
  (void)logistic;  // the logistics tools follow the audit state below
  const long state = ResumeOr<long>(0, [&] { return bill_.BillStatus(); });
  const long appType = services::AppType(ctx_);

  Bar("mnuEditCheckInfo", "Visible", appType == 4);
  // Fixed states first.
  ApplyFixedTools(bill_, true);
  Bar("mnuReject", "Visible", false);
  if (rules_.byKind) ApplyKindLayout(kind);

  // By the form's state: which tool groups are enabled, and the audit tool of a bill that is not
  // audited.
  const auto all = [&](const auto& tools, const char* property, bool value) {
    for (const char* t : tools) Bar(t, property, value);
  };
  const auto groups = [&](bool source, bool query, bool push) {
    all(kSourceTools, "Enabled", source);
    all(kQueryTools, "Enabled", query);
    all(kPushTools, "Enabled", push);
  };
  const auto auditTool = [&] {
    Bar("mnuEditCheck", "Visible", true);
    Bar("mnuEditCheck", "Enabled", true);
    Bar("mnuEditUnCheck", "Visible", false);
  };
  if (state == host::kBillNew) {
    auditTool();
    groups(true, false, false);
    const bool neutralizeShown = ResumeOr<bool>(false, [&] {
      auto map = bill_.TableInfo()->Item("Map").ObjectAs<host::IDictionary>();
      auto entry = map ? map->Item("FNeutralizeAmount").ObjectAs<host::IDictionary>()
                       : Ref<host::IDictionary>{};
      return entry && (vb::CLng(entry->Item("FVisible")) & 64) != 0;
    });
    Bar("mnuEditCheckInfo", "Enabled",
        (kind == SaleKind::kDelivery || kind == SaleKind::kSettlement) && neutralizeShown);
    all(kLogisticsTools, "Visible", false);
  } else if (state == host::kBillEdit) {
    auditTool();
    groups(false, true, false);
    Bar("mnuReject", "Visible", true);
    Bar("mnuEditCheckInfo", "Enabled", false);
    all(kLogisticsTools, "Visible", false);
  } else {
    groups(false, true, true);
    Bar("mnuEditAutoSumAmt", "Enabled", false);
    Bar("mnuEditCheckInfo", "Enabled", false);
    if (status == 0) {
      auditTool();
      Bar("mnuRelatePushBill_3000001", "Enabled", false);
    } else if (status == 1) {
      Bar("mnuRelateViewVoucher", "Enabled", true);
      Bar("mnuEditCheck", "Visible", false);
      Bar("mnuEditUnCheck", "Visible", true);
      Bar("mnuEditUnCheck", "Enabled", true);
      Bar("mnuRelatePushBill_3000001", "Enabled", true);
      if (kind == SaleKind::kDelivery || kind == SaleKind::kSettlement)
        all(kLogisticsTools, "Visible", true);
    }
  }

  // Tax columns by the invoice type; the template decides how they show when they show.
  const long invoiceType =
      static_cast<long>(ResumeOr<double>(0, [&] { return FieldNumber(bill_, "FInvoiceType"); }));
  if (invoiceType != 2020 && invoiceType != 2021)
    for (const SalesRowKeys* keys : Grids())
      ForEachColumn(bill_, Suffixed("FTaxRate,FTaxPrice,FTaxAmount,FInTaxAmount", keys->suffix),
                    keys->grid, [](host::IQORField& f) { f.SetVisible(false); });

  // The settlement fields stay editable only while a payment is entered on an unaudited bill.
  const bool paying = status == 0 && state != host::kBillView;
  ForEachColumn(
      bill_, "FBalanceStyle,FMultiAccount,FAcctNo,FDiscountAcctID,FCurCheckAmount,FUnCheckAmount",
      0, [&](host::IQORField& f) { f.SetFieldLock(!paying); });

  // The serial-number tool follows the items of the bill.
  bool serials = false;
  const long rows = GridRows(bill_);
  for (long row = 1; row <= rows && !serials; ++row) {
    const long item = FieldId(bill_, "FItemID", row);
    if (item > 0)
      serials = services::FirstFlag(
          ctx_, "select FIsSerialNumMgr from t_icitem where FItemID=" + std::to_string(item));
  }
  Bar("mnuSerialNum", "Enabled", serials);
}

void SaleBill::ApplyKindLayout(SaleKind kind) {
  // Visibility by kind: a tool shows for the kinds listed (a bill without kind as a delivery).
  const SaleKind shown =
      kind == SaleKind::kReturn || IsSettlementKind(kind) ? kind : SaleKind::kDelivery;
  const auto showFor = [&](const char* tool, std::initializer_list<SaleKind> kinds) {
    Bar(tool, "Visible", std::find(kinds.begin(), kinds.end(), shown) != kinds.end());
  };
  constexpr auto kDelivery = SaleKind::kDelivery, kReturn = SaleKind::kReturn,
                 kSettlement = SaleKind::kSettlement,
                 kSettlementReturn = SaleKind::kSettlementReturn;
  showFor("mnuRelate_1030001", {kDelivery});
  showFor("mnuRelate_1030002", {kReturn, kSettlementReturn});
  showFor("mnuRelate_1030003", {kSettlement});
  showFor("mnuQueryPayIn", {kDelivery, kReturn, kSettlement, kSettlementReturn});
  for (const char* t : {"mnuQuerySaleOrder", "mnuQueryGH", "mnuQuerySaleReject"})
    showFor(t, {kDelivery});
  showFor("mnuQuerySale", {kReturn});
  showFor("mnuQueryConsign", {});
  showFor("mnuQueryConsignReject", {kSettlementReturn});
  showFor("mnuQueryConsignBal", {kSettlement});
  showFor("mnuRelatePushBill_1050001", {kDelivery, kReturn, kSettlement, kSettlementReturn});
  for (const char* t : {"mnuRelatePushBill_3000001", "mnuRelatePushBill_1030002",
                        "mnuRelatePushBill_2000001", "mnuQueryLogisticList"})
    showFor(t, {kDelivery, kSettlement});
  if (IsSettlementKind(kind)) {
    Bar("mnuEditAddRow", "Visible", false);
    Bar("mnuCopyRow", "Visible", false);
  }
  if (kind == SaleKind::kSettlementReturn) {
    Bar("mnuEditCopy", "Enabled", false);
    Bar("mnuImportGoods", "Enabled", false);
  }

  // Captions and labels of the kind.
  Resume([&] {
    bill_.SetToolProperty("mnuQueryPayIn", "Caption",
                          IsReturnKind(kind) ? "查询退款记录" : "查询收款记录");
  });
  if (kind == SaleKind::kSettlementReturn)
    Resume([&] { bill_.SetToolProperty("mnuQueryConsignReject", "Caption", "查询委托结算记录"); });
  if (kind == SaleKind::kReturn)
    Resume([&] { bill_.SetToolProperty("mnuRelate_1030002", "ToolTipText", "选择销售发货单"); });
  ForEachColumn(bill_, "FCurPayAmount", 0, [&](host::IQORField& f) {
    f.SetCaption(IsReturnKind(kind) ? "本次退款:" : "本次收款:");
  });
  if (IsReturnKind(kind))
    Resume([&] { bill_.SetEntryCtlProperty("TextColor", bill_.GetFieldValue("FTextColor", -1)); });

  // Order columns a kind does not use.
  const bool weight = services::IndustryType(ctx_) == 1;
  std::string hidden;
  if (IsReturnKind(kind))
    hidden = weight ? "FOrderQty,FBaseOrderQty,FRejectQty,FBaseRejectQty,FRejectAuxQty,"
                      "FUnRejectQty,FBaseUnRejectQty,FUnRejectAuxQty"
                    : "FOrderQty,FRejectQty,FRejectAuxQty,FUnRejectQty,FUnRejectAuxQty";
  else if (kind == SaleKind::kSettlement)
    hidden = weight ? "FOrderQty,FBaseOrderQty,FUnRejectQty,FBaseUnRejectQty,FUnRejectAuxQty"
                    : "FOrderQty,FUnRejectQty,FUnRejectAuxQty";
  else
    hidden = "FOrderQty";
  ForEachColumn(bill_, hidden, 1, [](host::IQORField& f) { f.SetVisible(false); });
  if (IsSettlementKind(kind))
    ForEachColumn(bill_, "FItemID,FClientItemID,FSCStockID,FBatchNo,FAuxPropID,FKFDate,FShowUnitID",
                  1, [](host::IQORField& f) { f.SetFieldLock(true); });
}

void SaleBill::BeginEdit() { ApplyEditState(); }

void SaleBill::ApplyEditState() {
  const bool saved = CurBillId(bill_) > 0;
  if (!rules_.byKind) {
    // The second type only opens the whole-bill receipt of a saved bill.
    if (!saved) return;
    Bar("mnuEditAutoSumAmt", "Enabled", true);
    calc::LockField(bill_, "FCurPayAmount", false, -1);
    return;
  }
  const SaleKind kind = Kind();
  Bar("mnuEditCopy", "Visible", kind != SaleKind::kSettlementReturn);
  Bar("mnuRelate_1030001", "Visible", kind == SaleKind::kDelivery);
  Bar("mnuRelate_1030002", "Visible", IsReturnKind(kind));
  Bar("mnuRelate_1030003", "Visible", kind == SaleKind::kSettlement);
  for (const char* t : kSourceTools) Bar(t, "Enabled", !saved);
  Bar("mnuEditAutoSumAmt", "Enabled", true);
  calc::LockField(bill_, "FCurPayAmount", false, -1);
  if (kind == SaleKind::kDelivery)
    Resume([&] {
      bill_.SetToolProperty("mnuRelatePushBill_1030002", "Description", "生成销售退货单");
    });
  if (kind == SaleKind::kSettlement)
    Resume([&] {
      bill_.SetToolProperty("mnuRelatePushBill_1030002", "Description", "生成委托结算退货单");
    });
}

}  // namespace zov::plugins::sales
