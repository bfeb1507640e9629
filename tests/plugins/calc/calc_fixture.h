// Bill forms for the line calculation engine's tests: a session of the substitute host on a fresh
// copy of the demo account set, and a form of any bill type whose row carries the quantity,
// price, stock and freight families with the host's amount actions. The engine's routines are
// called on the form directly; the session's journal must stay empty.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "bill/bill_form.h"
#include "frame/plugin_context.h"
#include "host_fixture.h"
#include "zov/vb/convert.h"

namespace zov::testing {

using plugins::PluginContext;
using vb::Ref;
using vb::Variant;

struct BillSetup {
  long billType = 1030002;
  long industry = 1;  // the bag's "IndustryType"
  long appType = 2;   // the bag's "AppType"
  std::string user = "admin";
  bool secondGrid = false;  // a component grid with the "1" keys
  bool amountCalcPrice = false;
};

class CalcTest : public HostTest {
 protected:
  // Opens a new bill of `setup.billType` with one empty row.
  void OpenBill(const BillSetup& setup = {}) {
    using nlohmann::json;
    auto number = [](const char* key, json actions = json::array()) {
      return json{{"key", key}, {"type", "number"}, {"actions", actions}};
    };
    auto base = [](const char* key, const char* table, json props = json::array()) {
      return json{{"key", key}, {"type", "base"}, {"base", {{"table", table}, {"props", props}}}};
    };
    auto calc = [](const char* formula) {
      return json::array({{{"name", "Calculate"}, {"parameter", formula}}});
    };

    json head = json::array({base("FCustID", "t_Organization"),
                             number("FStatus"),
                             number("FCheckerID"),
                             number("FTranspotationCosts"),
                             number("FTotaladvanceCosts"),
                             number("FTotalProcurementCosts"),
                             {{"key", "FClassID_SRC"}, {"type", "text"}}});
    // Acyclic amount actions in the manner of the host's templates.
    json grid1 = json::array(
        {base("FItemID", "t_ICItem", json::array({"FIsGC"})), base("FShowUnitID", "t_MeasureUnit"),
         number("FCoefficient"),
         number("FShowQty", calc("FQty=FShowQty*FCoefficient;FAmount=FShowQty*FPrice")),
         number("FQty", calc("FAmount=FQty*FBasePrice")), base("FSecUnitID", "t_MeasureUnit"),
         number("FSecQty"), number("FSecCoefficient"), number("FsecCoefficient"),
         base("FCalTypeID", "t_CalType"), number("FDisplayQty"), number("FDisplayWeight"),
         number("FBaseProperty4"), number("FBasePrice"),
         number("FPrice", calc("FBasePrice=FPrice/FCoefficient;FAmount=FShowQty*FPrice")),
         number("FSecPrice"), number("FDisplayPrice"), number("FPriceDiscount"),
         number("FBasePriceDiscount"), number("FSecPriceDiscount"), number("FDiscountPrice"),
         number("FBaseDiscountPrice"), number("FSecDiscountPrice"), number("FTaxPrice"),
         number("FBaseTaxPrice"), number("FSecTaxPrice"), number("FTaxRate"),
         number("FDiscountRate"),
         number("FAmount", calc("FTaxAmount=FAmount*FTaxRate/100;FInTaxAmount=FAmount+FTaxAmount")),
         number("FTaxAmount"), number("FInTaxAmount"), base("FSCStockID", "t_Stock"),
         base("FDCStockID", "t_Stock"), number("FTranspotationCharges"),
         // the in- and out-prices of the bill that carries both
         number("FInAmount"), number("FOutAmount"), number("FBaseInPrice"),
         number("FInPrice", calc("FInAmount=FShowQty*FInPrice")), number("FSecInPrice"),
         number("FDisplayInPrice"), number("FBaseOutPrice"), number("FOutPrice"),
         number("FSecOutPrice"), number("FDisplayOutPrice")});
    json grids = json::array({{{"fields", grid1}}});
    if (setup.secondGrid)
      grids.push_back(
          {{"fields",
            json::array({base("FCldItemID", "t_ICItem"), base("FCalTypeid1", "t_CalType"),
                         number("FCoefficient1"), number("FShowQty1"), number("FQty1"),
                         number("FQty2"), number("FDecimal"), number("FDisplayQty1"),
                         number("FDisplayWeight1"), number("FBasePrice1"),
                         number("FPrice1", calc("FAmount1=FShowQty1*FPrice1")),
                         number("FSecPrice1"), number("FDisplayPrice1"), number("FAmount1")})}});
    const json tmpl = {{"classTypeId", setup.billType},
                       {"title", "test"},
                       {"tables", {{"head", "t_cc_stockbill"}, {"entry", "t_cc_stockbillentry"}}},
                       {"amountCalcPrice", setup.amountCalcPrice},
                       {"head", head},
                       {"grids", grids}};
    auto set = std::make_shared<sim::TemplateSet>();
    (*set)[setup.billType] = sim::ParseTemplate(tmpl.dump(), "calc test template");
    sim::SessionOptions options;
    options.bag["IndustryType"] = setup.industry;
    options.bag["AppType"] = setup.appType;
    session_ = Open(setup.user, set, options);
    form_ = sim::BillForm::New(set->at(setup.billType), *session_);
    form_->NewBill();
    ctx_ = PluginContext::For(session_->Host());
  }

  void TearDown() override {
    if (session_) {
      for (const auto& e : session_->journal().entries())
        ADD_FAILURE() << e.where << ": " << e.error << " " << e.text;
    }
  }

  PluginContext& ctx() { return *ctx_; }
  host::IBillInterface& bill() { return *form_; }

  // Row cells written as a plug-in writes them (nothing recomputed).
  void Put(const char* key, long row, const Variant& value) {
    form_->SetFieldValue(key, value, row);
  }
  double Num(const char* key, long row = 1) {
    const Variant v = form_->Value(key, row);
    return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
  }
  bool Empty(const char* key, long row = 1) {
    const Variant v = form_->Value(key, row);
    return v.IsString() && v.AsString().empty();
  }
  bool Locked(const char* key, long row = 1) {
    return form_->IsCellLocked(*form_->tmpl().Find(key), row);
  }
  bool Modified(const char* key, long row = 1) {
    return vb::CLng(form_->GetDataFldbyKey(key, row)->Item("FModify")) == 1;
  }
  // A row of item `item` (t_ICItem.FItemID) with calculation type `calType` (0: none).
  long Row(long item, long calType = 0, long row = 1) {
    while (form_->RowCount() < row) form_->AddRow(1);
    Put("FItemID", row, item);
    if (calType) Put("FCalTypeID", row, calType);
    return row;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : ui_->messages()) texts.push_back(m.text);
    return texts;
  }

  std::unique_ptr<sim::Session> session_;
  Ref<sim::BillForm> form_;
  Ref<PluginContext> ctx_;
};

// Items and stocks of the demo account set.
inline constexpr long kCup = 101;    // I001, plain, default unit 个 (11)
inline constexpr long kWater = 102;  // I002, units 瓶 12 (main) / 提 13 / 箱 14, no default unit
inline constexpr long kRice = 103;   // I003, secondary unit, FSecCoefficient 0.04, fixed conversion
inline constexpr long kRebar = 104;  // I004, weight-calculated, barcode entry 2 unit 支 (18)
inline constexpr long kAngle = 105;  // I005, FIsGC Null: weight-calculated
inline constexpr long kMainStock = 601;
inline constexpr long kGiftStock = 603;  // FTypeID 502
inline constexpr long kC001 = 1001;

}  // namespace zov::testing
