// The sales bill's field changes: one dispatcher on the changed field's key, each branch handing
// the work to the routines of the class and of the line calculation, inventory and pricing.
#include "bills/sale/bill_event_sale.h"
#include "calc/charges.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "calc/recalc.h"
#include "calc/units.h"
#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/batch_numbers.h"
#include "inventory/batches.h"
#include "inventory/serials.h"
#include "inventory/shelf_life.h"
#include "inventory/stock.h"
#include "pricing/client_codes.h"
#include "pricing/sale_price.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const std::string kCrLf = "\r\n";

std::string Id(long id) { return std::to_string(id); }

bool IsGiftStock(PluginContext& ctx, long stock) {
  return stock > 0 && vb::Val(services::FirstValue(
                          ctx, "Select FTypeID From t_Stock Where FItemID=" + Id(stock))) == 502;
}

bool Is(std::string_view upperKey, std::initializer_list<const char*> keys) {
  for (const char* k : keys)
    if (upperKey == vb::UCase(k)) return true;
  return false;
}

}  // namespace

// --- row routines -------------------------------------------------------------------------------

void BillEvent_Sale::RefetchRowPrice(long row) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) return;
  const bool weight = services::IndustryType(ctx) == 1;
  std::string priceKey = "FPrice";
  long unit = FieldId(bill, "FShowUnitID", row);
  if (weight && calc::IsGCItem(ctx, item)) {
    priceKey = "FBasePrice";
    unit = FieldId(bill, "FUnitID", row);
  } else if (!weight && calc::GetSaleForIncludeTaxPrice(ctx) == 1) {
    priceKey = "FIncludeTaxPrice";
  }
  const long stock = FieldId(bill, "FSCStockID", row);
  double price = 0, discount = 0;
  const bool giftPrice =
      OptionChecked(ctx, kClassTypeId, "DoNotGetSalePriceWhenGiftStock") && IsGiftStock(ctx, stock);
  if (!giftPrice)
    price = pricing::GetSalePrice(ctx, item, unit, FieldId(bill, "FCustID"), stock,
                                  FieldText(bill, "FBatchNo", row), discount,
                                  priceKey == "FIncludeTaxPrice");
  // The price goes in as the person would type it, so amounts and taxes follow.
  Resume([&] {
    auto cell = bill.GetDataFldbyKey(priceKey, row);
    if (!cell) return;
    cell->SetItem("FDSP", price > 0 ? vb::CStr(Variant(price)) : std::string());
    calc::SetFieldWithAction(bill, priceKey, price > 0 ? Variant(price) : Variant(0.0), row, false);
  });
  if (discount != 0) calc::SetFieldWithAction(bill, "FDiscountRate", discount, row, false);
  if (weight && price > 0) Resume([&] { bill.SetFieldValue("FDisplayPrice", price, row); });
}

void BillEvent_Sale::RefreshRowCost(long row) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row), stock = FieldId(bill, "FSCStockID", row);
  if (item <= 0 || IsGiftStock(ctx, stock)) return;
  const double cost = inventory::GetItemCost(ctx, item, stock, FieldText(bill, "FBatchNo", row)) *
                      FieldNumber(bill, "FCoefficient", row);
  Resume([&] { bill.SetFieldValue("FCostPrice", cost, row); });
  Resume([&] {
    bill.SetFieldValue(
        "FCostAmount",
        services::FormatToPlaces(Variant(cost * FieldNumber(bill, "FShowQty", row)), 2).ToDouble(),
        row);
  });
}

void BillEvent_Sale::FillSalesman(long customer) {
  auto& bill = *m_BillInterface;
  const long employee = static_cast<long>(vb::Val(services::FirstValue(
      context(), "Select FDefaultOperator From t_Organization Where FItemID=" + Id(customer))));
  if (employee <= 0) return;
  Resume([&] { bill.SetFieldValue("FEmpID", employee, -1); });
  const std::string department =
      services::FirstValue(context(),
                           "Select FNumber From t_Department Where FItemID = (Select FDepartmentID "
                           "From t_Emp Where FItemID=" +
                               Id(employee) + ")");
  if (!department.empty()) Resume([&] { bill.SetFieldValue("FDeptID", department, -1); });
}

void BillEvent_Sale::FillCustomerContact(long customer) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  Resume([&] {
    auto info = ctx.host().CreateObject(host::progid::kItemInfo).As<host::IItemInfo>();
    auto rs =
        info ? info->GetDetail(services::PropsString(ctx), 1, customer) : Ref<host::IRecordset>{};
    if (!rs || rs->Eof()) return;
    auto text = [&](const char* column) {
      return ResumeOr<std::string>({}, [&] { return vb::CStr(rs->Value(column)); });
    };
    bill.SetFieldValue("FAddress", text("FDeliverAddr"), -1);
    std::string phone = text("FCompanyPhone");
    if (vb::Trim(phone).empty()) phone = text("FPhone");
    if (vb::Trim(phone).empty()) phone = text("FMobilePhone");
    bill.SetFieldValue("FPhone", phone, -1);
  });
  auto rs = services::OpenRecordsetTolerant(
      ctx, "select  t2.FContact ,t2.FAddress as FReceiveAddr,t2.FPhone,t2.FMobilePhone" + kCrLf +
               "From t_Organization t1 " + "Inner join t_Contact t2  " +
               "On t1.FItemID =t2.FItemID and t2.FIsFirst =1 where t1.FItemID=" + Id(customer));
  if (!rs || rs->Eof()) return;
  Resume([&] {
    bill.SetFieldValue("FContact", rs->Value("FContact"), -1);
    bill.SetFieldValue("FReceiveAddr", rs->Value("FReceiveAddr"), -1);
    std::string phone = vb::CStr(rs->Value("FPhone"));
    if (vb::Trim(phone).empty()) phone = vb::CStr(rs->Value("FMobilePhone"));
    if (!vb::Trim(phone).empty()) bill.SetFieldValue("FPhone", phone, -1);
  });
}

void BillEvent_Sale::SetRowDefaultUnit(long row) {
  auto& bill = *m_BillInterface;
  calc::RowUnit unit;
  if (!calc::GetDefaultUnit(context(), FieldId(bill, "FCustID"), FieldId(bill, "FItemID", row),
                            "FCustID", unit))
    return;
  Resume([&] {
    auto cell = bill.GetDataFldbyKey("FShowUnitID", row);
    if (!cell) return;
    cell->SetItem("FFND", unit.number);
    cell->SetItem("FDSP", unit.name);
    cell->SetItem("FCoefficient", unit.coefficient);
    cell->SetItem("FBarCode", unit.barcode);
    cell->SetItem("FSrcItemId", unit.srcItemId);
    bill.SetFieldValue("FCoefficient", unit.coefficient, row);
    calc::SetFieldWithAction(bill, "FShowUnitID", unit.id, row, false);
  });
}

void BillEvent_Sale::SetRowTaxRate(long row) {
  auto& bill = *m_BillInterface;
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) return;
  std::string rate = services::FirstValue(
      context(), "select (isnull(FTaxRate, 0) * 100) from t_ICItem where FItemID=" + Id(item));
  if (vb::Val(rate) == 0)
    rate = services::FirstValue(
        context(),
        "select FValue from t_systemprofile where fcategory='General' And FKey='TaxRate'");
  if (!rate.empty()) calc::SetFieldWithAction(bill, "FTaxRate", vb::Val(rate), row, false);
}

void BillEvent_Sale::ShowRowStock(long row) {
  auto& bill = *m_BillInterface;
  if (row < 1) return;
  const long item = FieldId(bill, "FItemID", row);
  if (item <= 0) {
    Resume([&] { bill.SetStatusText(2, ""); });
    return;
  }
  const bool weight = services::IndustryType(context()) == 1;
  double total = 0;
  std::vector<inventory::StockQty> perStock;
  const std::string text = inventory::GetStockText(
      context(), item, FieldId(bill, "FSCStockID", row), FieldId(bill, "FAuxPropID", row),
      FieldText(bill, "FBatchNo", row), false, total, perStock,
      weight ? static_cast<long>(FieldNumber(bill, "FCalTypeID", row)) : 1,
      weight ? FieldId(bill, "FShowUnitID", row) : 0);
  Resume([&] { bill.SetStatusText(2, text); });
}

// --- the item of a row
// ----------------------------------------------------------------------------

void BillEvent_Sale::ChangeItem(long row, bool& cancel) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  if (row < 1) return;
  const long item = FieldId(bill, "FItemID", row);
  // 1. Batch management of the item.
  const bool batch =
      services::FirstFlag(ctx, "Select FISBatchManager From t_ICItem Where FItemID=" + Id(item));
  Resume([&] { bill.SetFieldValue("FIsBatchNoManage", batch ? 1 : 0, row); });
  calc::LockField(bill, "FBatchNo", !batch, row);
  if (item > 0 &&
      services::FirstFlag(ctx, "Select FAutoGenBatchNo From t_ICItem Where FItemID = " + Id(item)))
    inventory::GenerateBatchNo(ctx, bill, row);
  // 2. The customer type's discount.
  const long customer = FieldId(bill, "FCustID");
  if (customer > 0) {
    auto rs = services::OpenRecordsetTolerant(ctx,
                                              "Select FAgioRatio From t_ClientType Where FItemID = "
                                              "(Select FTypeID From t_Organization Where FItemID=" +
                                                  Id(customer) + ")");
    if (rs && !rs->Eof() && !rs->Value(0L).IsNull())
      Resume([&] { bill.SetFieldValue("FDiscountRate", rs->Value(0L), row); });
  }
  // 3. An item cleared takes its units and serial numbers along.
  if (item < 1) {
    for (const char* key : {"FUnitID", "FSecUnitID", "FSerialNo"})
      Resume([&] { bill.SetFieldValue(key, "", row); });
    return;
  }
  // 4. The same item twice, when the user wants to be asked.
  if (Resume([] {}) && ResumeOr<bool>(false, [&] {
        auto tool = bill.ToolBar()->Tools()->Find("mnuCheckDuplicateItem");
        return tool && tool->Checked();
      })) {
    const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
    for (long other = 1; other <= rows; ++other) {
      if (other == row || FieldId(bill, "FItemID", other) != item) continue;
      if (services::ShowMessage(ctx,
                                "分录中第" + std::to_string(other) + "行已经存在相同的商品," +
                                    kCrLf + "是否继续添加?",
                                host::vbYesNo | host::vbQuestion | host::vbDefaultButton2) !=
          host::vbYes) {
        Resume([&] { bill.SetFieldValue("FITEMID", "", row); });
        Resume([&] { bill.SetActiveCell("FItemID", row); });
        cancel = true;
        return;
      }
      cancel = false;
      break;
    }
  }
  // 5. The default stock.
  if (FieldId(bill, "FSCStockID", row) <= 0)
    inventory::FillDefaultStock(ctx, bill, row, "FSCStockID");
  // 6. The tax rate on invoices with tax.
  const long invoiceType = static_cast<long>(FieldNumber(bill, "FInvoiceType"));
  if (invoiceType == 2020 || invoiceType == 2021) SetRowTaxRate(row);
  // 7. The item's secondary coefficient and shelf life.
  auto rs = services::OpenRecordsetTolerant(
      ctx,
      "select isnull(FSecCoefficient,0) as FSecCoefficient,isnull(FConverMethod,0) as "
      "FConverMethod,isnull(FKFPeriod,0) as "
      "FKFPeriod,* from t_icitem Where FItemID=" +
          Id(item));
  long secUnit = 0;
  if (rs && !rs->Eof()) {
    const double coefficient = vb::Val(vb::CStr(rs->Value("FSecCoefficient")));
    const long period = static_cast<long>(vb::Val(vb::CStr(rs->Value("FKFPeriod"))));
    secUnit = static_cast<long>(vb::Val(vb::CStr(rs->Value("FSecUnitID"))));
    Resume([&] { bill.SetFieldValue("FsecCoefficient", coefficient, row); });
    if (coefficient != 0)
      Resume([&] {
        bill.SetFieldValue("FSecQty", FieldNumber(bill, "FShowQty", row) / coefficient, row);
      });
    Resume([&] { bill.SetFieldValue("FKFPeriod", period, row); });
    Resume([&] {
      const Variant production = bill.GetFieldValue("FKFDate", row);
      Variant start = production;
      if (production.IsEmpty() ||
          (production.IsString() && vb::Trim(production.AsString()).empty())) {
        start = bill.GetFieldValue("FDate", -1);
        bill.SetFieldValue("FKFDate", start, row);
      }
      if (!(start.IsEmpty() || (start.IsString() && start.AsString().empty())))
        bill.SetFieldValue("FPeriodDate",
                           vb::DateAdd("d", static_cast<double>(period), vb::CDate(start)), row);
    });
  }
  // 8. Items without a secondary unit have no secondary cells.
  for (const char* key : {"FSecCoefficient", "FSecQty", "FSecPrice", "FsecCoefficient"}) {
    if (secUnit == 0) Resume([&] { bill.SetFieldValue(key, "", row); });
    calc::LockField(bill, key, secUnit == 0, row);
  }
  // 9. Unit, quantity, price, cost, customer code, secondary prices, serial numbers, stock.
  if (services::IndustryType(ctx) == 1) {
    // The weight industry's item choice: unit locks, default unit, quantity, calculation type and
    // the displayed quantity and weight.
    calc::ApplyItemChosen(ctx, bill, row);
    if (calc::IsGCItem(ctx, item))
      calc::ApplyCalTypeLocks(ctx, bill, row, static_cast<long>(FieldId(bill, "FCalTypeID", row)));
  } else {
    SetRowDefaultUnit(row);
    const double qty = FieldNumber(bill, "FShowQty", row);
    calc::SetFieldWithAction(bill, "FShowQty", qty == 0 ? 1.0 : qty, row, false);
  }
  RefetchRowPrice(row);
  RefreshRowCost(row);
  pricing::GetClientItemCode(ctx, bill, row);
  const double secCoefficient = FieldNumber(bill, "FSecCoefficient", row);
  Resume([&] {
    bill.SetFieldValue("FSecPrice", FieldNumber(bill, "FPrice", row) * secCoefficient, row);
  });
  if (secCoefficient != 0)
    Resume([&] {
      bill.SetFieldValue("FSecQty", FieldNumber(bill, "FShowQty", row) / secCoefficient, row);
    });
  Resume([&] { bill.SetFieldValue("FSerialNo", "", row); });
  ShowRowStock(row);
}

void BillEvent_Sale::ChangeShowUnit(long row) {
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const long item = FieldId(bill, "FItemID", row);
  if (row < 1 || item <= 0) return;
  const double previous = FieldNumber(bill, "FCoefficient", row);
  const double coefficient = calc::GetUnitCoefficient(ctx, item, FieldId(bill, "FShowUnitID", row));
  if (FieldNumber(bill, "FEntryID_SRC", row) == 0) {
    Resume([&] { bill.SetFieldValue("FCoefficient", coefficient, row); });
    // The base quantity follows the new unit before the row is priced in it.
    calc::SetFieldWithAction(bill, "FShowQty", FieldNumber(bill, "FShowQty", row), row, false);
    RefetchRowPrice(row);
    pricing::GetClientItemCode(ctx, bill, row);
  } else if (previous != 0 && coefficient != 0) {
    // A row taken over from a source bill keeps its price, in the new unit.
    const double ratio = coefficient / previous;
    Resume([&] { bill.SetFieldValue("FCoefficient", coefficient, row); });
    calc::SetFieldWithAction(bill, "FShowQty", FieldNumber(bill, "FShowQty", row), row, false);
    if (FieldNumber(bill, "FShowQty", row) != 0)
      calc::SetFieldWithAction(bill, "FPrice", FieldNumber(bill, "FPrice", row) * ratio, row,
                               false);
    Resume(
        [&] { bill.SetFieldValue("FOrderQty", FieldNumber(bill, "FOrderQty", row) / ratio, row); });
    Resume([&] {
      bill.SetFieldValue("FCostPrice", FieldNumber(bill, "FCostPrice", row) * ratio, row);
    });
  }
  const double secCoefficient = calc::GetItemSecCoefficient(ctx, item, coefficient);
  Resume([&] { bill.SetFieldValue("FSecCoefficient", secCoefficient, row); });
  Resume([&] {
    bill.SetFieldValue("FSecPrice", FieldNumber(bill, "FPrice", row) * secCoefficient, row);
  });
  if (secCoefficient != 0)
    Resume([&] {
      bill.SetFieldValue("FSecQty", FieldNumber(bill, "FShowQty", row) / secCoefficient, row);
    });
  if (services::IndustryType(ctx) == 1)
    Resume([&] { bill.SetFieldValue("FDisplayQty", FieldNumber(bill, "FShowQty", row), row); });
}

void BillEvent_Sale::ChangeInvoiceType() {
  auto& bill = *m_BillInterface;
  const long type = static_cast<long>(FieldNumber(bill, "FInvoiceType"));
  const bool taxed = type == 2020 || type == 2021;
  const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
  auto map = ResumeOr<Ref<host::IDictionary>>(
      {}, [&] { return bill.TableInfo()->Item("Map").ObjectAs<host::IDictionary>(); });
  const long state = ResumeOr<long>(0, [&] { return bill.BillStatus(); });
  const long mask = state == host::kBillNew ? 64 : state == host::kBillEdit ? 128 : 16;
  for (const std::string& key : vb::Split("FTaxRate,FTaxPrice,FTaxAmount,FInTaxAmount", ",")) {
    bool visible = false;
    if (taxed && map)
      if (auto entry = map->Item(key).ObjectAs<host::IDictionary>())
        visible = (vb::CLng(entry->Item("FVisible")) & mask) != 0;
    Resume([&] { bill.BillEntrys(1)->QORFields(key)->SetVisible(visible); });
  }
  for (long row = 1; row <= rows; ++row) {
    if (taxed)
      SetRowTaxRate(row);
    else
      calc::SetFieldWithAction(bill, "FTaxRate", 0, row, false);
  }
}

// --- the dispatcher
// -------------------------------------------------------------------------------

void BillEvent_Sale::m_BillInterface_Change(const Ref<host::IDictionary>& field,
                                            const Ref<host::IDictionary>& change, long, long row,
                                            bool& cancel) {
  if (cancel) return;
  auto& bill = *m_BillInterface;
  auto& ctx = context();
  const std::string key = ResumeOr<std::string>({}, [&] { return vb::CStr(field->Item("FKey")); });
  const std::string k = vb::UCase(key);
  const Variant previous =
      ResumeOr<Variant>({}, [&] { return change ? change->Item("FFLD") : Variant{}; });
  const bool weight = services::IndustryType(ctx) == 1;
  auto costAmount = [&] {
    Resume([&] {
      bill.SetFieldValue(
          "FCostAmount",
          services::FormatToPlaces(
              Variant(FieldNumber(bill, "FCostPrice", row) * FieldNumber(bill, "FShowQty", row)), 2)
              .ToDouble(),
          row);
    });
  };
  auto weightFields = [&] {
    if (!weight || row < 1) return;
    const long type = static_cast<long>(FieldNumber(bill, "FCalTypeID", row));
    Resume([&] { bill.SetFieldValue("FDisplayQty", FieldNumber(bill, "FShowQty", row), row); });
    Resume([&] {
      bill.SetFieldValue("FDisplayWeight", FieldNumber(bill, type == 3 ? "FSecQty" : "FQty", row),
                         row);
    });
  };

  if (k == "FCUSTID") {
    const long customer = FieldId(bill, "FCustID");
    ShowCustomerCredit();
    if (customer > 0) FillSalesman(customer);
    if (!weight) {
      const bool keepPrices = OptionChecked(ctx, kClassTypeId, "DoNotResetPrice");
      const long rows = ResumeOr<long>(0, [&] { return bill.BillEntrys(1)->GridMaxDataRowNum(); });
      for (long r = 1; r <= rows; ++r) {
        if (FieldId(bill, "FItemID", r) <= 0) continue;
        if (!keepPrices) RefetchRowPrice(r);
        pricing::GetClientItemCode(ctx, bill, r);
      }
    }
    if (customer >= 1) {
      CalcSettleLimitDate();
      FillCustomerContact(customer);
    }
  } else if (k == "FDATE") {
    if (FieldId(bill, "FCustID") > 0) CalcSettleLimitDate();
  } else if (k == "FITEMID") {
    ChangeItem(row, cancel);
  } else if (k == "FSHOWUNITID") {
    ChangeShowUnit(row);
  } else if (k == "FEMPID") {
    const std::string department =
        services::FirstValue(ctx,
                             "Select FNumber From t_Department Where FItemID = (Select "
                             "FDepartmentID From t_Emp Where FItemID=" +
                                 Id(FieldId(bill, "FEmpID")) + ")");
    Resume([&] { bill.SetFieldValue("FDeptID", department, -1); });
  } else if (k == "FCALTYPEID") {
    calc::ApplyCalTypeLocks(ctx, bill, row,
                            static_cast<long>(FieldNumber(bill, "FCalTypeID", row)));
    calc::RefreshDisplayPrice(ctx, bill, row);
    weightFields();
    ShowRowStock(row);
  } else if (k == "FBILLTYPEID") {
    ApplyBillLayout();
    const long kind = Kind();
    for (const std::string& column :
         vb::Split("FItemID,FShowUnitID,FSCStockID,FBatchNo,FAuxPropID,FKFDate", ","))
      Resume([&] {
        bill.BillEntrys(1)->QORFields(column)->SetFieldLock(kind == 3003 || kind == 3004);
      });
    HideFieldsByRights();
    calc::ApplyPriceRight(ctx, bill);
  } else if (Is(k, {"FKFDate", "FKFPeriod", "FPeriodDate"})) {
    inventory::RecalcShelfLife(bill, field, row, inventory::kPlainShelfLife);
  } else if (k == "FCURPAYAMOUNT") {
    const bool multi = ResumeOr<bool>(
        false, [&] { return change && vb::Val(vb::CStr(change->Item("MultiItem"))) == 1; });
    SettleAmounts(true, multi);
  } else if (Is(k, {"FCurCheckAmount", "FNeutralizeAmount"})) {
    SettleAmounts(false, false);
  } else if (k == "FINVOICETYPE") {
    ChangeInvoiceType();
  } else if (k == "FBALANCESTYLE") {
    auto rs = services::OpenRecordsetTolerant(ctx,
                                              "Select FItemID,FNumber,FName From t_SettleAcct "
                                              "Where FItemID = (Select FAcctID From t_Settle "
                                              "Where FItemID=" +
                                                  Id(FieldId(bill, "FBalanceStyle")) + ")");
    if (rs && !rs->Eof()) Resume([&] { bill.SetFieldValue("FAcctNo", rs->Value("FItemID"), -1); });
  } else if (Is(k, {"FSecQty", "FSecPrice", "FQty", "FShowQty", "FSecCoefficient", "FPrice",
                    "FNoDiscAmount"})) {
    if (row >= 1) {
      const double showQty = FieldNumber(bill, "FShowQty", row),
                   secQty = FieldNumber(bill, "FSecQty", row);
      const double qtyCoefficient = FieldNumber(bill, "FsecCoefficient", row),
                   secCoefficient = FieldNumber(bill, "FSecCoefficient", row);
      if (k == "FSECQTY" && secQty != 0)
        Resume([&] { bill.SetFieldValue("FsecCoefficient", showQty / secQty, row); });
      if (k == "FSHOWQTY" && qtyCoefficient != 0)
        Resume([&] { bill.SetFieldValue("FSecQty", showQty / qtyCoefficient, row); });
      if (k == "FSECPRICE" && secCoefficient != 0)
        calc::SetFieldWithAction(bill, "FPrice",
                                 FieldNumber(bill, "FSecPrice", row) / secCoefficient, row, false);
      else
        Resume([&] {
          bill.SetFieldValue("FSecPrice", FieldNumber(bill, "FPrice", row) * secCoefficient, row);
        });
      costAmount();
      weightFields();
    }
  } else if (k == "FBASEPRICE") {
  } else if (k == "FAUXPROPID") {
    ShowRowStock(row);
  } else if (k == "FSCSTOCKID") {
    const long stock = FieldId(bill, "FSCStockID", row);
    if (FieldNumber(bill, "FPrice", row) == 0 &&
        vb::Trim(FieldText(bill, "FBillNo_SRC", row)).empty())
      RefetchRowPrice(row);
    if (IsGiftStock(ctx, stock)) RefetchRowPrice(row);
    RefreshRowCost(row);
    const std::string batch = FieldText(bill, "FBatchNo", row);
    if (Kind() != 3002 && !vb::Trim(batch).empty() && stock > 0) {
      double total = 0;
      std::vector<inventory::StockQty> perStock;
      inventory::GetStockText(ctx, FieldId(bill, "FItemID", row), stock,
                              FieldId(bill, "FAuxPropID", row), batch, false, total, perStock, 1,
                              0);
      if (total <= 0) Resume([&] { bill.SetFieldValue("FBatchNo", "", row); });
    }
    Resume([&] { bill.SetFieldValue("FSerialNo", "", row); });
    ShowRowStock(row);
    calc::ApplyStockPriceLocks(ctx, bill, row);
  } else if (k == "FBATCHNO") {
    const long item = FieldId(bill, "FItemID", row);
    const std::string batch = FieldText(bill, "FBatchNo", row);
    if (item > 0 && !vb::Trim(batch).empty()) {
      inventory::BatchSources sources;
      sources.stockBalance = true;
      auto rs = inventory::BuildBatchQuery(ctx, item, batch, 0, sources,
                                           ResumeOr<long>(0, [&] { return bill.CurBillID(); }));
      if (rs && !rs->Eof()) {
        Resume([&] { bill.SetFieldValue("FKFDate", rs->Value("FKFDate"), row); });
        Resume([&] { bill.SetFieldValue("FPeriodDate", rs->Value("FPeriodDate"), row); });
        Resume([&] { bill.SetFieldValue("FKFPeriod", rs->Value("FKFPeriod"), row); });
      }
    }
    RefreshRowCost(row);
    if (FieldNumber(bill, "FPrice", row) == 0) RefetchRowPrice(row);
    ShowRowStock(row);
  } else if (Is(k, {"FAmount", "FInTaxAmount"})) {
    Resume([&] {
      bill.SetFieldValue(
          "FSecPrice", FieldNumber(bill, "FPrice", row) * FieldNumber(bill, "FSecCoefficient", row),
          row);
    });
  } else if (k == "FTAXAMOUNT") {
    const double before = previous.IsEmpty() || previous.IsNull() ? 0 : vb::Val(vb::CStr(previous));
    calc::ApplyTaxAmountTail(ctx, bill, row, before, calc::TaxTailFollower::kInTaxAmount);
    weightFields();
  } else if (k == "FDISCOUNTACCTID") {
    auto rs = services::OpenRecordsetTolerant(
        ctx, "select FQuantities,FCurrencyID from t_account where   FAccountID='" +
                 Id(FieldId(bill, "FDiscountAcctId")) + "'");
    if (rs && !rs->Eof()) {
      std::string message;
      // FQuantities is a bit column: it reads as a Boolean, whose text "True" holds no number.
      const bool quantities = ResumeOr<bool>(false, [&] {
        const Variant v = rs->Value("FQuantities");
        return !v.IsNull() && !v.IsEmpty() && vb::CBool(v);
      });
      if (quantities)
        message = "所选择的科目进行了数量金额核算，请重新选择科目。";
      else if (vb::Val(vb::CStr(rs->Value("FCurrencyID"))) > 0)
        message = "所选择的科目进行了单一外币核算，请重新选择科目。";
      if (!message.empty()) {
        services::ShowMessage(ctx, message);
        Resume([&] { bill.SetFieldValue("FDiscountAcctId", "", -1); });
      }
    }
  } else if (Is(k, {"FBaseTaxPrice", "FTaxPrice", "FSecTaxPrice", "FBasePriceDiscount",
                    "FSecPriceDiscount", "FPriceDiscount", "FDiscountRate"})) {
    if (row >= 1 && Is(k, {"FPriceDiscount", "FDiscountRate"})) {
      const bool perUnit = ResumeOr<bool>(false, [&] {
        auto tool = bill.ToolBar()->Tools()->Find("mnuOptionPriceCalcDiscount");
        return tool && tool->Checked();
      });
      const double price = FieldNumber(bill, "FPrice", row),
                   discounted = FieldNumber(bill, "FPriceDiscount", row);
      if (k == "FPRICEDISCOUNT") {
        if (perUnit) {
          Resume([&] {
            bill.SetFieldValue("FDiscountAmount",
                               (price - discounted) * FieldNumber(bill, "FShowQty", row), row);
          });
          Resume([&] {
            bill.SetFieldValue("FNoDiscAmount", price * FieldNumber(bill, "FShowQty", row), row);
          });
        } else if (price != 0) {
          calc::SetFieldWithAction(bill, "FDiscountRate", discounted / price * 100, row, false);
        }
      }
    }
  } else if (k == "FCLIENTITEMID") {
    if (pricing::FindItemByClientCode(ctx, bill, row))
      RefetchRowPrice(row);
    else
      Resume([&] { bill.SetFieldValue("FClientItemID", "", row); });
  } else if (k == "FTRANSPOTATIONCHARGES") {
    calc::SyncChargesTotal(ctx, bill);
  } else if (k == "FTRANSPOTATIONCOSTS") {
    calc::UpdateShareTools(ctx, bill);
  } else if (Is(k, {"FDisplayPrice", "FDisplayWeight", "FDisplayQty"})) {
    calc::RecalcDisplayedField(ctx, bill, row, key);
    costAmount();
  }

  // Any change but of the reject state itself clears the workflow's rejection.
  if (!Is(k, {"FRejectedNote", "FRejectedTime", "FRejected"})) {
    Resume([&] { bill.SetFieldValue("FRejectedNote", "", -1); });
    Resume([&] { bill.SetFieldValue("FRejectedTime", "", -1); });
    Resume([&] { bill.SetFieldValue("FRejected", "0", -1); });
  }
}

}  // namespace zov::plugins
