// A browser session on a copy of the demo account set: its windows' outcomes, the dialogs of the
// host's own messages, and what the views leave out. The purchase bill has no plug-in, so what
// is tested here is the browser host and the host alone.
#include "web_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "../host/host_fixture.h"
#include "com/dictionary.h"
#include "zov/host/bill.h"
#include "zov/vb/convert.h"

namespace zov::web {
namespace {

constexpr long kPurchase = 1020002;

class WebSessionTest : public zov::testing::HostTest {
 protected:
  std::unique_ptr<WebSession> Login(const std::string& user = "admin",
                                    std::shared_ptr<const sim::TemplateSet> templates = nullptr) {
    if (path_.empty()) path_ = zov::testing::TestDatabases().freshCopy("demo");
    ServerSetup setup;
    setup.database = path_;
    setup.systemDirectory =
        (std::filesystem::temp_directory_path() / "zov-web-test-system").string();
    setup.templates = templates ? templates : zov::testing::TestDatabases().templates;
    return std::make_unique<WebSession>(setup, user);
  }

  static Json Op(Window& w, Json request) { return w.Perform(request); }
  static Json Edit(Window& w, const std::string& key, long row, Json value) {
    return w.Perform(Json{{"op", "edit"}, {"key", key}, {"row", row}, {"value", std::move(value)}});
  }
  // The header field `key` of a view, or null.
  static Json Head(const Json& view, const std::string& key) {
    for (const auto& f : view.value("head", Json::array()))
      if (f["key"] == key) return f;
    return nullptr;
  }
};

TEST_F(WebSessionTest, TheHostsQuestionsAreDialogsAndTheAnswerDecides) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  Json out = bill->Open(kPurchase, 0, {});
  ASSERT_FALSE(out.contains("dialog")) << out.dump();
  EXPECT_EQ(out["view"]["full"], true);

  // A required field left empty: the host's message, then the save is refused.
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  ASSERT_TRUE(out.contains("dialog")) << out.dump();
  EXPECT_EQ(out["dialog"]["kind"], "msgbox");
  EXPECT_EQ(out["dialog"]["text"], "供应商不能为空。");
  EXPECT_EQ(out["dialog"]["buttons"], Json::array({1}));
  EXPECT_EQ(out["dialog"]["icon"], 64);
  out = bill->Answer(Json{{"result", 6}});  // not a button of the box: taken as its OK
  EXPECT_EQ(out["result"]["ok"], false);
  EXPECT_EQ(out["result"]["cancelled"], true);

  ASSERT_EQ(Edit(*bill, "FSupplyID", -1, "S001")["result"]["ok"], true);
  Edit(*bill, "FItemID", 1, "I001");
  Edit(*bill, "FShowQty", 1, "4");
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  ASSERT_EQ(out["result"]["ok"], true) << out.dump();
  const std::string billNo = Head(out["view"], "FBillNo")["text"];
  EXPECT_FALSE(billNo.empty());

  // Delete asks first; "No" keeps the bill, "Yes" deletes it and starts a new one.
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileDelete"}});
  ASSERT_TRUE(out.contains("dialog"));
  EXPECT_EQ(out["dialog"]["buttons"], Json::array({6, 7}));
  EXPECT_EQ(out["dialog"]["icon"], 32);
  EXPECT_EQ(bill->Current()["dialog"]["text"], out["dialog"]["text"])
      << "a reload sees the same question";
  out = bill->Answer(Json{{"result", 7}});
  EXPECT_EQ(out["result"]["ok"], false);
  EXPECT_EQ(Head(bill->Current()["view"], "FBillNo")["text"], billNo);
  Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileDelete"}});
  out = bill->Answer(Json{{"result", 6}});
  EXPECT_EQ(out["result"]["ok"], true);
  EXPECT_EQ(Head(out["view"], "FBillNo")["text"], "");
  EXPECT_EQ(out["journal"]["count"], 0) << out["journal"].dump();
}

TEST_F(WebSessionTest, ClosingAWindowThatWaitsAnswersItsQuestionWithTheDefault) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  Edit(*bill, "FItemID", 1, "I001");
  Json saved = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  ASSERT_EQ(saved["result"]["ok"], true);
  const std::string billNo = Head(saved["view"], "FBillNo")["text"];
  ASSERT_TRUE(Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileDelete"}}).contains("dialog"));
  EXPECT_TRUE(session->CloseWindow(bill->id()));  // the question's default is "No"
  EXPECT_EQ(session->Find(bill->id()), nullptr);

  auto list = session->NewListWindow();
  Json out = list->Open(kPurchase);
  ASSERT_TRUE(out["view"].contains("rows")) << out.dump();
  bool listed = false;
  for (const auto& row : out["view"]["rows"]) listed = listed || row["cells"][0] == billNo;
  EXPECT_TRUE(listed) << "the bill was not deleted";
}

TEST_F(WebSessionTest, AnEditBringsBackOnlyWhatChanged) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  Op(*bill, {{"op", "addRow"}, {"grid", 1}});
  Edit(*bill, "FItemID", 1, "I001");
  Json out = Edit(*bill, "FShowQty", 1, "3");
  ASSERT_EQ(out["result"]["ok"], true);
  const Json& grid = out["view"]["grids"][0];
  EXPECT_EQ(grid["rowCount"], 2);
  EXPECT_FALSE(grid.contains("columns") || grid.contains("all") || grid.contains("ops") ||
               grid.contains("rows"));
  ASSERT_EQ(grid["patch"].size(), 1u) << grid.dump();
  // The quantity and what the formulas computed from it, each under its column.
  std::set<std::string> patched;
  const Json columns = bill->Current()["view"]["grids"][0]["columns"];
  for (const auto& [column, cell] : grid["patch"]["1"].get<std::vector<std::pair<int, Json>>>())
    patched.insert(columns[static_cast<std::size_t>(column)]["key"]);
  EXPECT_TRUE(patched.count("FShowQty") && patched.count("FQty")) << grid.dump();
  EXPECT_FALSE(patched.count("FItemID"));
  EXPECT_FALSE(out["view"].contains("head"));
  EXPECT_FALSE(out["view"].contains("bar"));
  // A reload gets everything again.
  Json full = bill->Current()["view"];
  EXPECT_EQ(full["grids"][0]["all"].size(), 2u);
  EXPECT_TRUE(full.contains("head") && full.contains("bar") &&
              full["grids"][0].contains("columns"));

  // Rows added and deleted come as operations, the new rows whole.
  Op(*bill, {{"op", "addRow"}, {"grid", 1}});
  out = Op(*bill, {{"op", "addRow"}, {"grid", 1}});
  EXPECT_EQ(out["view"]["grids"][0]["ops"], Json::parse("[[1, 4, 1]]"));
  EXPECT_TRUE(out["view"]["grids"][0]["rows"].contains("4"));
  out = Op(*bill, {{"op", "deleteRow"}, {"grid", 1}, {"row", 2}});
  EXPECT_EQ(out["view"]["grids"][0]["ops"], Json::parse("[[0, 2, 1]]"));
  EXPECT_EQ(out["view"]["grids"][0]["rowCount"], 3);
  EXPECT_FALSE(out["view"]["grids"][0].contains("rows"));

  // A field the person cannot see is neither typed into nor looked up.
  out = Edit(*bill, "FStatus", -1, "1");
  EXPECT_EQ(out["result"]["ok"], false);
  EXPECT_TRUE(out["result"].contains("error"));
  out = Op(*bill, {{"op", "pick"}, {"key", "FSupplyID"}, {"q", "美的"}});
  ASSERT_EQ(out["result"]["rows"].size(), 1u) << out.dump();
  EXPECT_EQ(out["result"]["rows"][0]["number"], "S001");
  EXPECT_FALSE(out.contains("view")) << "a look-up changes nothing on the form";
}

TEST_F(WebSessionTest, AFailureIsJournaledAndTheWindowGoesOn) {
  // The purchase bill with its supplier looked up in a table the account set does not have.
  std::ifstream in(std::string(std::getenv("ZOV_SOURCE_DIR")) +
                   "/src/host/templates/purchase.json");
  std::stringstream text;
  text << in.rdbuf();
  std::string json = text.str();
  json.replace(json.find("\"t_Supplier\""), 12, "\"t_NoSuchTable\"");
  auto templates = std::make_shared<sim::TemplateSet>(*zov::testing::TestDatabases().templates);
  (*templates)[kPurchase] = sim::ParseTemplate(json, "purchase.json");

  auto session = Login("admin", templates);
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Json out = Op(*bill, {{"op", "pick"}, {"key", "FSupplyID"}, {"q", "S"}});
  EXPECT_TRUE(out["result"].contains("error"));
  ASSERT_EQ(out["journal"]["count"], 1) << out["journal"].dump();
  const Json& entry = out["journal"]["entries"][0];
  EXPECT_EQ(entry["kind"], "sql");
  // The statement and the message stay in the server's journal.
  EXPECT_EQ(out.dump().find("t_NoSuchTable"), std::string::npos) << out.dump();
  const auto journaled = session->host().journal().entries();
  ASSERT_EQ(journaled.size(), 1u);
  EXPECT_NE(journaled[0].text.find("t_NoSuchTable"), std::string::npos);

  // Nothing is lost: the bill goes on as it was.
  out = Edit(*bill, "FItemID", 1, "I001");
  EXPECT_EQ(out["result"]["ok"], true);
  EXPECT_EQ(out["journal"]["count"], 1);
}

TEST_F(WebSessionTest, AFormViewLeavesOutWhatThePersonMayNotSee) {
  auto session = Open();
  auto open = session->OpenBill(kPurchase);
  sim::BillForm& form = *open.form;
  form.NewBill();
  form.Edit("FItemID", 1, vb::Variant("I001"));
  form.Edit("FShowQty", 1, vb::Variant("3"));
  form.Edit("FPrice", 1, vb::Variant("12.34"));
  FormView view;
  const sim::Withheld everything = sim::Withheld::Nothing();
  Json shown = view.Render(form, true, everything);
  EXPECT_TRUE(Head(shown, "FStatus").is_null()) << "a field no form state shows";
  EXPECT_NE(shown.dump().find("\"FPrice\""), std::string::npos);
  EXPECT_NE(shown.dump().find("12.3400"), std::string::npos);

  // The price right hides the price columns as the plug-in does: through the grid's fields.
  for (const char* key : {"FPrice", "FBasePrice", "FPriceDiscount", "FBasePriceDiscount",
                          "FTaxPrice", "FBaseTaxPrice", "FIncludeTaxPrice", "FAmount",
                          "FNoDiscAmount", "FTaxAmount", "FInTaxAmount"})
    form.BillEntrys(1)->QORFields(key)->SetVisible(false);
  Json hidden = view.Render(form, false, everything);
  const Json& grid = hidden["grids"][0];
  ASSERT_TRUE(grid.contains("columns")) << "new columns come with the change";
  EXPECT_EQ(grid["all"].size(), 1u) << "and every row with them";
  for (const auto& row : grid["all"]) EXPECT_EQ(row.size(), grid["columns"].size());
  // The cells of a column gone are not patched either.
  form.Edit("FShowQty", 1, vb::Variant("4"));
  const std::string patched = view.Render(form, false, everything).dump();
  EXPECT_EQ(patched.find("49.36"), std::string::npos) << patched;
  const std::string text = hidden.dump() + view.Render(form, true, everything).dump();
  for (const char* gone : {"\"FPrice\"", "\"FAmount\"", "12.34", "37.02", "41.83"})
    EXPECT_EQ(text.find(gone), std::string::npos) << gone;
  EXPECT_NE(text.find("\"FShowQty\""), std::string::npos);
  session->Close(open);
}

TEST_F(WebSessionTest, WithoutThePriceRightNoWindowShowsAPriceWhateverThePlugInDid) {
  // The purchase bill has no plug-in that hides anything: the host withholds on its own.
  auto session = Login("wangxm");
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  Edit(*bill, "FItemID", 1, "I001");
  Edit(*bill, "FShowQty", 1, "3");
  Json out = Edit(*bill, "FPrice", 1, "12.34");
  EXPECT_EQ(out["result"]["ok"], false) << "a withheld field cannot be typed into";
  EXPECT_EQ(out["badRequest"], true);
  const std::string shown = bill->Current().dump();
  for (const char* key : {"\"FPrice\"", "\"FAmount\"", "\"FAllAmount\"", "\"FInTaxAmount\""})
    EXPECT_EQ(shown.find(key), std::string::npos) << key;
  EXPECT_NE(shown.find("\"FShowQty\""), std::string::npos);

  auto list = session->NewListWindow();
  const Json listed = list->Open(kPurchase);
  for (const auto& column : listed["view"]["columns"]) EXPECT_NE(column["key"], "FAllAmount");

  // The administrator's windows show them.
  auto admin = Login("admin");
  auto adminList = admin->NewListWindow();
  bool amounts = false;
  const Json adminListed = adminList->Open(kPurchase);
  for (const auto& column : adminListed["view"]["columns"])
    amounts = amounts || column["key"] == "FAllAmount";
  EXPECT_TRUE(amounts);
}

// The host's tools on a purchase bill: a printout, paging through the stored bills, exit and a
// paste of rows copied from a spreadsheet.
TEST_F(WebSessionTest, TheHostsToolsPrintPageExitAndPaste) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  Json out = Op(*bill, {{"op", "paste"},
                        {"grid", 1},
                        {"row", 1},
                        {"keys", {"FItemID", "FShowQty", "FPrice"}},
                        {"rows", {{"I001", "2", "10"}, {"I002", 3, "4.5"}, {"I001", "1.5", 2}}}});
  ASSERT_EQ(out["result"]["rows"], 3) << out.dump();
  const Json& grid = out["view"]["grids"][0];
  EXPECT_EQ(grid["rowCount"], 3);
  EXPECT_EQ(grid["ops"], Json::parse("[[1, 2, 2]]")) << "the rows past the last one are added";
  // A paste that does not fit changes nothing.
  out = Op(
      *bill,
      {{"op", "paste"}, {"grid", 1}, {"row", 1}, {"keys", {"FItemID"}}, {"rows", {{"I001", "2"}}}});
  EXPECT_EQ(out["badRequest"], true);
  out =
      Op(*bill,
         {{"op", "paste"}, {"grid", 1}, {"row", 1}, {"keys", {"FSupplyID"}}, {"rows", {{"S002"}}}});
  EXPECT_EQ(out["badRequest"], true) << "a header field is no column of the grid";

  // The printout: the header, every row and the totals of quantities and amounts.
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuFilePreview"}});
  ASSERT_TRUE(out["result"].contains("print")) << out.dump();
  const Json& print = out["result"]["print"];
  EXPECT_EQ(print["preview"], true);
  EXPECT_NE(print["head"].dump().find("美的"), std::string::npos) << print["head"].dump();
  const Json& rows = print["grids"][0];
  ASSERT_EQ(rows["rows"].size(), 3u);
  auto totalOf = [&](const std::string& caption) -> std::string {
    for (std::size_t c = 0; c < rows["columns"].size(); ++c)
      if (rows["columns"][c]["caption"] == caption) return rows["totals"][c];
    return "(none)";
  };
  EXPECT_EQ(std::stod(totalOf("数量")), 6.5);
  EXPECT_EQ(std::stod(totalOf("金额")), 20 + 13.5 + 3);
  EXPECT_EQ(totalOf("单价"), "") << "prices are not totalled";
  EXPECT_EQ(bill->Current()["view"]["billId"], 0) << "the account set does not save first";

  // With SaveBeforePrint the bill is saved before it prints; a save refused prints nothing.
  session->host().Run(
      "UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND FKey='SaveBeforePrint'");
  Edit(*bill, "FSupplyID", -1, "");
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuFilePrint"}});
  ASSERT_TRUE(out.contains("dialog"));
  out = bill->Answer(Json{{"result", 1}});
  EXPECT_FALSE(out["result"].contains("print"));
  Edit(*bill, "FSupplyID", -1, "S001");
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuFilePrint"}});
  ASSERT_TRUE(out["result"].contains("print")) << out.dump();
  EXPECT_EQ(out["result"]["print"]["preview"], false);
  const long first = out["view"]["billId"];
  EXPECT_GT(first, 0);

  // Previous and next page through the stored bills as they were made.
  Op(*bill, {{"op", "tool"}, {"key", "mnuFileNew"}});
  Edit(*bill, "FSupplyID", -1, "S001");
  Edit(*bill, "FItemID", 1, "I002");
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  const long second = out["view"]["billId"];
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuDataPre2"}});
  EXPECT_EQ(out["view"]["billId"], first);
  EXPECT_EQ(out["view"]["grids"][0]["all"].size(), 3u) << "the bill read comes whole";
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuDataNext2"}});
  EXPECT_EQ(out["view"]["billId"], second);
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuDataNext2"}});
  ASSERT_TRUE(out.contains("dialog"));
  EXPECT_EQ(out["dialog"]["text"], "已经是最后一张单据。");
  out = bill->Answer(Json{{"result", 1}});
  EXPECT_EQ(out["result"]["cancelled"], true);

  // A changed bill asks before it is left: Cancel stays, No leaves it unsaved.
  const std::string storedQty =
      "SELECT FShowQty FROM t_CC_StockBillEntry WHERE FID=" + std::to_string(second);
  const double before = vb::CDbl(session->host().Run(storedQty)[0].rows[0][0]);
  Edit(*bill, "FShowQty", 1, "9");
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuDataPre2"}});
  ASSERT_TRUE(out.contains("dialog"));
  EXPECT_EQ(out["dialog"]["text"], "单据已经修改，是否保存？");
  out = bill->Answer(Json{{"result", 2}});
  EXPECT_EQ(out["view"]["billId"], second);
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuFileExit"}});
  ASSERT_TRUE(out.contains("dialog"));
  out = bill->Answer(Json{{"result", 7}});
  EXPECT_EQ(out["view"]["closed"], true);
  EXPECT_EQ(vb::CDbl(session->host().Run(storedQty)[0].rows[0][0]), before) << "left unsaved";
  EXPECT_EQ(out["journal"]["count"], 0) << out["journal"].dump();
}

// A bill of many rows opens with its first rows; the others come as the browser asks for them,
// as the form holds them at the time, and without what the person may not see.
TEST_F(WebSessionTest, TheRowsPastTheFirstComeWhenAskedForAndKeepToTheRights) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  const long total = FormView::kFirstRows + 60;
  Json rows = Json::array();
  for (long r = 0; r < total; ++r) rows.push_back(Json::array({"I001", 1 + r % 3, "12.34"}));
  Json out = Op(*bill, {{"op", "paste"},
                        {"grid", 1},
                        {"row", 1},
                        {"keys", {"FItemID", "FShowQty", "FPrice"}},
                        {"rows", rows}});
  ASSERT_EQ(out["result"]["rows"], total) << out["result"].dump();
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  const long billId = out["view"]["billId"];
  ASSERT_GT(billId, 0) << out.dump().substr(0, 400);

  const Json full = bill->Current()["view"]["grids"][0];
  EXPECT_EQ(full["rowCount"], total);
  ASSERT_EQ(full["all"].size(), static_cast<std::size_t>(FormView::kFirstRows));
  auto fetch = [&](Window& w, long from, long count) {
    Json fetched = Op(w, {{"op", "rows"}, {"grid", 1}, {"from", from}, {"count", count}});
    EXPECT_FALSE(fetched.contains("view")) << "a fetch changes nothing on the form";
    return fetched["result"];
  };
  EXPECT_EQ(fetch(*bill, 1, FormView::kFirstRows)["rows"], full["all"]) << "the same rows";
  Json late = fetch(*bill, FormView::kFirstRows + 1, 100);
  ASSERT_EQ(late["rows"].size(), 60u) << "those that exist";
  EXPECT_EQ(late["from"], FormView::kFirstRows + 1);
  EXPECT_NE(late["rows"].dump().find("12.34"), std::string::npos);

  // A row changed before it was fetched comes as it stands.
  Edit(*bill, "FShowQty", total, "7");
  const std::string last = fetch(*bill, total, 1)["rows"].dump();
  EXPECT_NE(last.find("86.38"), std::string::npos) << last;  // 7 x 12.34
  // Rows out of the bill or too many at once are refused.
  for (const Json& bad :
       {Json{{"op", "rows"}, {"from", total + 1}},
        Json{{"op", "rows"}, {"from", 1}, {"count", 100000}}, Json{{"op", "rows"}, {"grid", 9}}})
    EXPECT_EQ(Op(*bill, bad)["badRequest"], true) << bad.dump();

  // A clerk without the price right fetches the rows without their prices and amounts.
  auto clerk = Login("wangxm");
  auto stored = clerk->NewBillWindow();
  const Json opened = stored->Open(kPurchase, billId, {});
  const Json& columns = opened["view"]["grids"][0]["columns"];
  const Json fetched = fetch(*stored, FormView::kFirstRows + 1, 60)["rows"];
  ASSERT_EQ(fetched.size(), 60u);
  for (const auto& row : fetched) EXPECT_EQ(row.size(), columns.size());
  for (const char* gone : {"12.34", "24.68", "37.02"})
    EXPECT_EQ(fetched.dump().find(gone), std::string::npos) << gone;
  EXPECT_EQ(out["journal"]["count"], 0) << out["journal"].dump();
}

// Long work tells the window how far it got, for the browser to ask while it runs; a quick
// operation tells nothing.
TEST_F(WebSessionTest, LongWorkReportsHowFarItGot) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  Edit(*bill, "FSupplyID", -1, "S001");
  EXPECT_TRUE(bill->Progress().is_null()) << bill->Progress().dump();
  Json rows = Json::array();
  for (int r = 0; r < 300; ++r) rows.push_back(Json::array({r % 2 ? "I001" : "I002", 1 + r % 3}));
  Json out = Op(*bill, {{"op", "paste"},
                        {"grid", 1},
                        {"row", 1},
                        {"keys", {"FItemID", "FShowQty"}},
                        {"rows", rows}});
  ASSERT_EQ(out["result"]["rows"], 300) << out["result"].dump();
  EXPECT_EQ(bill->Progress(), Json::parse(R"({"what": "粘贴", "done": 300, "total": 300})"));
  out = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
  ASSERT_GT(out["view"]["billId"].get<long>(), 0) << out.dump().substr(0, 400);
  EXPECT_EQ(bill->Progress(), Json::parse(R"({"what": "保存单据", "done": 300, "total": 300})"));
  Edit(*bill, "FShowQty", 1, "5");
  EXPECT_TRUE(bill->Progress().is_null()) << "each operation starts with nothing told";
  EXPECT_EQ(out["journal"]["count"], 0) << out["journal"].dump();
}

TEST_F(WebSessionTest, AListIsFilteredSortedAndExportedWithoutWhatIsWithheld) {
  auto session = Login();
  auto bill = session->NewBillWindow();
  bill->Open(kPurchase, 0, {});
  std::vector<std::string> numbers;
  for (const char* supplier : {"S001", "S002", "S001"}) {
    Op(*bill, {{"op", "tool"}, {"key", "mnuFileNew"}});
    Edit(*bill, "FSupplyID", -1, supplier);
    Edit(*bill, "FItemID", 1, "I001");
    Edit(*bill, "FShowQty", 1, "2");
    Edit(*bill, "FPrice", 1, "3");
    Json saved = Op(*bill, {{"op", "tool"}, {"key", "mnuEditFileSave"}});
    ASSERT_EQ(saved["result"]["ok"], true) << saved.dump();
    numbers.push_back(Head(saved["view"], "FBillNo")["text"]);
  }
  auto list = session->NewListWindow();
  list->Open(kPurchase);
  auto billNos = [](const Json& view) {
    std::vector<std::string> shown;
    for (const auto& r : view["rows"]) shown.push_back(r["cells"][0]);
    return shown;
  };
  // By supplier (number or name), by number, by state, by date.
  Json out = Op(*list, {{"op", "query"},
                        {"partner", "S001"},
                        {"billNo", numbers[0].substr(0, 3)},
                        {"sort", "FBillNo"},
                        {"descending", true}});
  std::vector<std::string> shown = billNos(out["view"]);
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(std::find(shown.begin(), shown.end(), numbers[1]), shown.end()) << "another supplier";
  EXPECT_TRUE(std::is_sorted(shown.rbegin(), shown.rend())) << "sorted by number, downwards";
  EXPECT_EQ(out["view"]["query"]["partner"], "S001");
  EXPECT_EQ(out["view"]["partnerCaption"], "供应商");
  out = Op(*list, {{"op", "query"}, {"billNo", numbers[1]}, {"status", 1}});
  EXPECT_TRUE(out["view"]["rows"].empty()) << "not audited yet";
  out = Op(*list, {{"op", "query"}, {"billNo", numbers[1]}, {"status", 0}});
  EXPECT_EQ(billNos(out["view"]), std::vector<std::string>{numbers[1]});
  out = Op(*list, {{"op", "query"}, {"dateFrom", "2000-01-01"}, {"dateTo", "2000-12-31"}});
  EXPECT_TRUE(out["view"]["rows"].empty());
  out = Op(*list, {{"op", "query"}, {"dateFrom", "2000-02-30"}});
  EXPECT_EQ(out["badRequest"], true);
  out = Op(*list, {{"op", "query"}, {"sort", "FNoSuchColumn"}});
  EXPECT_EQ(out["badRequest"], true);

  // The export: UTF-8 with a byte order mark, the captions, the bills shown.
  Op(*list, {{"op", "query"}, {"partner", "美的"}});
  out = Op(*list, {{"op", "export"}});
  const std::string csv = out["result"]["csv"];
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(csv.substr(3, csv.find("\r\n") - 3), "单据编号,日期,单据类型,供应商,业务员,总金额,状态")
      << csv.substr(0, 200);
  EXPECT_NE(csv.find(numbers[2]), std::string::npos);
  EXPECT_EQ(csv.find(numbers[1]), std::string::npos);
  EXPECT_NE(csv.find("美的"), std::string::npos);
  EXPECT_FALSE(out.contains("view")) << "an export changes nothing";

  // A clerk without the price right exports no amounts.
  auto clerk = Login("wangxm");
  auto clerkList = clerk->NewListWindow();
  clerkList->Open(kPurchase);
  const std::string theirs = Op(*clerkList, {{"op", "export"}})["result"]["csv"];
  EXPECT_EQ(theirs.find("金额"), std::string::npos) << theirs.substr(0, 200);
  EXPECT_NE(theirs.find(numbers[0]), std::string::npos);
}

TEST(WebViews, DialogValuesLeaveOutWhatIsWithheld) {
  const sim::Withheld clerk;  // nothing confirmed: every guarded value withheld
  auto dict = [] { return sim::Dictionary::New(); };
  auto title = dict();
  auto item = [&](const char* caption, const vb::Variant& value) {
    auto d = dict();
    d->SetItem("FName", caption);
    d->SetItem("FValue", value);
    return d;
  };
  title->SetItem(1, Ref<host::IDictionary>(item("客户", "上海百货")));
  title->SetItem(2, Ref<host::IDictionary>(item("价税合计", "1234.56")));
  auto record = dict();
  record->SetItem("FBillNo", "XSD000001");
  record->SetItem("FTaxPrice", 98.76);
  record->SetItem("FShowQty", 3);
  auto column = dict();
  column->SetItem("FName", "含税单价");
  column->SetItem("FField", "FTaxPrice");
  auto entry = dict();
  entry->SetItem("Header", Ref<host::IDictionary>(column));
  entry->SetItem("rs", Ref<host::IDictionary>(record));
  entry->SetItem("Title", Ref<host::IDictionary>(title));
  const std::string text = ToJson(vb::Variant(Ref<host::IDictionary>(entry)), clerk).dump();
  for (const char* gone : {"1234.56", "98.76", "FTaxPrice", "价税合计", "含税单价"})
    EXPECT_EQ(text.find(gone), std::string::npos) << gone << " in " << text;
  for (const char* kept : {"XSD000001", "上海百货", "FShowQty"})
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " not in " << text;
  const std::string all =
      ToJson(vb::Variant(Ref<host::IDictionary>(entry)), sim::Withheld::Nothing()).dump();
  EXPECT_NE(all.find("98.76"), std::string::npos);
}

}  // namespace
}  // namespace zov::web
