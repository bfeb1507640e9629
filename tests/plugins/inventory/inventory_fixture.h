// Bill forms for the inventory rules' tests: a session of the substitute host on a fresh copy of
// the demo account set and a stock bill whose rows carry the batch, shelf-life, serial-number and
// stock fields. The routines are called on the form directly; the session's journal must stay
// empty.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "bill/bill_form.h"
#include "frame/plugin_context.h"
#include "host_fixture.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::testing {

using plugins::PluginContext;
using vb::Ref;
using vb::Variant;

struct InventorySetup {
  long billType = 1030002;
  std::string user = "admin";
  std::map<std::string, Variant> bag{};
  std::vector<std::string> setup{};  // statements run before the session starts
};

class InventoryTest : public HostTest {
 protected:
  // A form of `setup.billType` on the stock bill tables; a new bill with one empty row unless
  // `load` names a stored bill.
  void Open(const InventorySetup& setup = {}, long load = 0) {
    using nlohmann::json;
    auto field = [](const char* key, const char* type, const char* column = "") {
      return json{{"key", key}, {"type", type}, {"column", column}};
    };
    auto base = [](const char* key, const char* table, const char* column = "") {
      return json{{"key", key}, {"type", "base"}, {"column", column}, {"base", {{"table", table}}}};
    };
    const json head = json::array(
        {field("FBillNo", "text", "FBillNo"), field("FDate", "date", "FDate"),
         base("FCustID", "t_Organization", "FCustID"),
         field("FBillTypeID", "number", "FBillTypeID"), field("FStatus", "number", "FStatus"),
         field("FExplanation", "text", "FExplanation")});
    json grid = json::array(
        {field("FIndex2", "number", "FIndex"),
         base("FItemID", "t_ICItem", "FItemID"),
         base("FAuxPropID", "t_AuxItem", "FAuxPropID"),
         base("FSCStockID", "t_Stock", "FSCStockID"),
         base("FDCStockID", "t_Stock", "FDCStockID"),
         base("FShowUnitID", "t_MeasureUnit", "FShowUnitID"),
         {{"key", "FShowQty"},
          {"type", "number"},
          {"column", "FShowQty"},
          {"actions",
           json::array({{{"name", "Calculate"}, {"parameter", "FQty=FShowQty*FCoefficient"}}})}}});
    // Saved cells carry their column; the others live in the form only.
    for (const char* key : {"FBatchNo", "FSerialNo", "FBaseProperty3", "FBaseProperty4"})
      grid.push_back(field(key, "text", key == std::string("FBatchNo") ? key : ""));
    for (const char* key : {"FKFDate", "FPeriodDate"}) grid.push_back(field(key, "date", key));
    for (const char* key : {"FProDate", "FExpDate", "FDate1", "FDate2"})
      grid.push_back(field(key, "date"));
    for (const char* key : {"FKFPeriod", "FCoefficient", "FQty", "FSecQty", "FSecCoefficient",
                            "FCostPrice", "FCostAmount"})
      grid.push_back(field(key, "number", key));
    for (const char* key : {"FInteger", "FsecCoefficient"}) grid.push_back(field(key, "number"));
    const json tmpl = {{"classTypeId", setup.billType},
                       {"title", "test"},
                       {"tables", {{"head", "t_cc_stockbill"}, {"entry", "t_cc_stockbillentry"}}},
                       {"head", head},
                       {"grids", json::array({{{"fields", grid}}})}};
    auto set = std::make_shared<sim::TemplateSet>();
    (*set)[setup.billType] = sim::ParseTemplate(tmpl.dump(), "inventory test template");
    sim::SessionOptions options;
    options.bag = setup.bag;
    session_ = HostTest::Open(setup.user, set, options);
    for (const auto& sql : setup.setup) session_->Run(sql);
    form_ = sim::BillForm::New(set->at(setup.billType), *session_);
    if (load == 0) {
      form_->NewBill();
    } else {
      EXPECT_TRUE(form_->LoadBill(load));
    }
    ctx_ = PluginContext::For(session_->Host());
  }

  void TearDown() override {
    if (session_)
      for (const auto& e : session_->journal().entries())
        ADD_FAILURE() << e.where << ": " << e.error << "\n" << e.text;
  }

  PluginContext& ctx() { return *ctx_; }
  host::IBillInterface& bill() { return *form_; }

  // Cells written as a plug-in writes them.
  void Put(const char* key, long row, const Variant& value) {
    while (row > 0 && form_->RowCount() < row) form_->AddRow(1);
    form_->SetFieldValue(key, value, row);
  }
  std::string Text(const char* key, long row = 1) { return vb::CStr(form_->Value(key, row)); }
  std::string DateOf(const char* key, long row = 1) {
    const Variant v = form_->Value(key, row);
    return v.Type() == vb::VarType::Date ? vb::Format(v, "YYYY-MM-DD") : vb::CStr(v);
  }
  double Num(const char* key, long row = 1) {
    const Variant v = form_->Value(key, row);
    return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
  }
  long Id(const char* key, long row = 1) { return static_cast<long>(Num(key, row)); }
  bool Locked(const char* key, long row = 1) {
    return form_->IsCellLocked(*form_->tmpl().Find(key), row);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : ui_->messages()) texts.push_back(m.text);
    return texts;
  }
  // The rows of the lists the host showed.
  std::vector<std::vector<std::string>> ListRows() const {
    std::vector<std::vector<std::string>> rows;
    for (const auto& w : ui_->windows())
      if (w.kind == "list")
        for (const auto& line : w.lines) rows.push_back(vb::Split(line, "|"));
    return rows;
  }
  void Run(const std::string& sql) { session_->Run(sql); }

  std::unique_ptr<sim::Session> session_;
  Ref<sim::BillForm> form_;
  Ref<PluginContext> ctx_;
};

// Items, stocks and stored bills of the demo account set.
inline constexpr long kCup = 101;        // I001, plain, default stock CK01
inline constexpr long kWater = 102;      // I002, three units, no default stock
inline constexpr long kRebar = 104;      // I004, weight-calculated
inline constexpr long kYoghurt = 106;    // I006, batches and shelf life 21 days
inline constexpr long kWine = 107;       // I007, batch-specific costing, batches W2025A and LOT'A1
inline constexpr long kLaptop = 108;     // I008, serial-managed
inline constexpr long kShirt = 109;      // I009, auxiliary attributes 51-53
inline constexpr long kPaint = 110;      // I010, attributes 54/55 with batch Q20261015
inline constexpr long kBread = 111;      // I011, automatic batch numbers MB + 3 digits
inline constexpr long kPen = 112;        // I012, cost 8.00
inline constexpr long kMainStock = 601;  // CK01
inline constexpr long kGiftStock = 603;  // CK03, type 502

}  // namespace zov::testing
