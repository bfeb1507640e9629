// The bill runtime of the substitute host: the edit and action chain, cancellation, the depth
// limit, persistence and the order of the events a host operation raises.
#include "bill/bill_form.h"

#include <gmock/gmock.h>

#include <set>
#include <thread>

#include "host_fixture.h"
#include "zov/host/events.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"

namespace zov::testing {
namespace {

using sim::BillForm;
using vb::Ref;
using vb::Variant;

// A bill of the demo database's sales tables with the amount and tax formulas of a real form.
constexpr const char* kTemplate = R"({
  "classTypeId": 1030002, "title": "销售单",
  "tables": { "head": "t_cc_stockbill", "entry": "t_cc_stockbillentry" },
  "billNo": { "prefix": "XST" },
  "head": [
    { "key": "FBillNo", "column": "FBillNo" },
    { "key": "FDate", "type": "date", "column": "FDate", "default": "today" },
    { "key": "FCustID", "type": "base", "column": "FCustID",
      "base": { "table": "t_Organization", "id": "FItemID", "number": "FNumber", "name": "FName" } },
    { "key": "FStatus", "type": "number", "column": "FStatus", "visible": 0 },
    { "key": "FCheckerID", "type": "number", "column": "FCheckerID", "visible": 0 },
    { "key": "FBillTypeID", "type": "number", "column": "FBillTypeID", "default": 3001 },
    { "key": "FA", "type": "number", "actions": [ { "name": "Calculate", "parameter": "FB=FA+1" } ] },
    { "key": "FB", "type": "number", "actions": [ { "name": "Calculate", "parameter": "FA=FB+1" } ] }
  ],
  "grids": [ { "fields": [
    { "key": "FItemID", "type": "base", "column": "FItemID",
      "base": { "table": "t_ICItem", "props": [ "FTrack", "FISBatchManager AS FIsBatchNoManage" ] },
      "actions": [ { "name": "LockField", "parameter": "ME.FTrack<>80,FBatchNo=1,FBatchNo=0" } ] },
    { "key": "FBatchNo", "column": "FBatchNo" },
    { "key": "FShowQty", "type": "number", "decimals": 4, "column": "FShowQty",
      "actions": [ { "name": "Calculate", "parameter": "FQty=FShowQty*FCoefficient;FAmount=FShowQty*FPrice" } ] },
    { "key": "FCoefficient", "type": "number", "column": "FCoefficient", "default": 1 },
    { "key": "FQty", "type": "number", "decimals": 4, "column": "FQty" },
    { "key": "FPrice", "type": "number", "decimals": 4, "column": "FPrice",
      "actions": [ { "name": "Calculate", "parameter": "FAmount=FShowQty*FPrice" } ] },
    { "key": "FTaxRate", "type": "number", "column": "FTaxRate", "default": 13 },
    { "key": "FAmount", "type": "number", "decimals": 2, "column": "FAmount",
      "actions": [ { "name": "Calculate", "parameter": "FTaxAmount=FAmount*FTaxRate/100;FInTaxAmount=FAmount+FTaxAmount" } ] },
    { "key": "FTaxAmount", "type": "number", "decimals": 2, "column": "FTaxAmount" },
    { "key": "FInTaxAmount", "type": "number", "decimals": 2, "column": "FInTaxAmount" }
  ] } ]
})";

std::shared_ptr<const sim::TemplateSet> TestTemplates() {
  auto set = std::make_shared<sim::TemplateSet>();
  (*set)[1030002] = sim::ParseTemplate(kTemplate, "test template");
  return set;
}

// Records every event it receives ("Change FQty@1"); may cancel one kind of event.
class Recorder final : public vb::Implements<host::IBillEventSink> {
 public:
  std::string TypeName() const override { return "Recorder"; }
  host::BillEventSet ConnectedEvents() const override { return host::BillEventSet().set(); }
  void AfterNewBill() override { events.push_back("AfterNewBill"); }
  void AfterLoadBill() override { events.push_back("AfterLoadBill"); }
  void AfterCopyBill() override { events.push_back("AfterCopyBill"); }
  void BeforLoadBillFillData() override { events.push_back("BeforLoadBillFillData"); }
  void BeginEdit(const Variant&, const Variant&, const Variant&) override {
    events.push_back("BeginEdit");
  }
  void BeforeSave(bool& cancel) override {
    events.push_back("BeforeSave");
    cancel = cancelSave;
  }
  void AfterSave(const Variant&) override { events.push_back("AfterSave"); }
  void SaveBillSuccess(const Variant&) override { events.push_back("SaveBillSuccess"); }
  void BusinessCheck(bool&) override { events.push_back("BusinessCheck"); }
  void UnBusinessCheck(bool&) override { events.push_back("UnBusinessCheck"); }
  void MenuBarClick(const Ref<host::ITool>& tool, bool&) override {
    events.push_back("MenuBarClick " + tool->Name());
  }
  void AddNewRow(const Variant&, long row) override {
    events.push_back("AddNewRow " + std::to_string(row));
  }
  void BeforeDoAction(const Variant& info, const Variant&, const Variant&, const std::string&,
                      const std::string& name, const std::string&, bool& cancel) override {
    const std::string key = vb::CStr(info.ObjectAs<host::IDictionary>()->Item("FKey"));
    events.push_back("BeforeDoAction " + key + " " + name);
    if (key == cancelActionOf) cancel = true;
  }
  void Change(const Ref<host::IDictionary>& field, const Ref<host::IDictionary>& change, long,
              long row, bool& cancel) override {
    const std::string key = vb::CStr(field->Item("FKey"));
    events.push_back("Change " + key + "@" + std::to_string(row));
    previous[key] = change->Item("FFLD");
    if (key == cancelChangeOf) cancel = true;
  }
  // Only the events a test asks about.
  std::vector<std::string> Only(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }

  std::vector<std::string> events;
  std::map<std::string, Variant> previous;
  std::string cancelActionOf, cancelChangeOf;
  bool cancelSave = false;
};

class BillFormTest : public HostTest {
 protected:
  void SetUp() override {
    session_ = Open("admin", TestTemplates());
    form_ = BillForm::New(TestTemplates()->at(1030002), *session_);
    recorder_ = Ref<Recorder>::Adopt(new Recorder);
    form_->Advise(recorder_);
    form_->NewBill();
  }
  void TearDown() override {
    for (const auto& entry : session_->journal().entries())
      ADD_FAILURE() << entry.where << ": " << entry.error << " " << entry.text;
  }
  double Number(const char* key, long row = 1) { return vb::CDbl(form_->Value(key, row)); }

  std::unique_ptr<sim::Session> session_;
  Ref<BillForm> form_;
  Ref<Recorder> recorder_;
};

TEST_F(BillFormTest, TypingAQuantityRecomputesTheRowThroughTheFieldActions) {
  ASSERT_TRUE(form_->Edit("FItemID", 1, "I001"));
  ASSERT_TRUE(form_->Edit("FPrice", 1, 12.5));
  recorder_->events.clear();
  ASSERT_TRUE(form_->Edit("FShowQty", 1, 3));

  EXPECT_DOUBLE_EQ(Number("FQty"), 3);
  EXPECT_DOUBLE_EQ(Number("FAmount"), 37.5);
  EXPECT_DOUBLE_EQ(Number("FTaxAmount"), 4.88);  // 4.875 shown to 2 decimals, half away from zero
  EXPECT_DOUBLE_EQ(Number("FInTaxAmount"), 42.38);
  // The actions of the written fields ran inside the chain; Change is raised for the edited field.
  EXPECT_THAT(recorder_->Only("Change"), ::testing::ElementsAre("Change FShowQty@1"));
  EXPECT_THAT(recorder_->Only("BeforeDoAction"),
              ::testing::ElementsAre("BeforeDoAction FShowQty Calculate",
                                     "BeforeDoAction FAmount Calculate"));
  EXPECT_EQ(recorder_->previous["FShowQty"], Variant(""));  // the cell was empty before

  // A write through the field's action (as a plug-in makes it) raises its Change too.
  recorder_->events.clear();
  auto info = form_->GetFieldInfoByKey("FPrice", "", 0);
  auto priceCell = form_->GetDataFld(info, 1);
  priceCell->SetItem("FFLD", 10.0);
  form_->BillCtl()->DoAction(info, priceCell, 1);
  EXPECT_THAT(recorder_->Only("Change"), ::testing::ElementsAre("Change FPrice@1"));
  EXPECT_DOUBLE_EQ(Number("FAmount"), 30);
  EXPECT_EQ(form_->GetDataFldbyKey("FShowQty", 1)->Item("FModify"), Variant(1));
}

TEST_F(BillFormTest, CancelledActionsAndChangesTakeNoEffect) {
  form_->Edit("FPrice", 1, 10);
  recorder_->cancelActionOf = "FAmount";
  form_->Edit("FShowQty", 1, 2);
  EXPECT_DOUBLE_EQ(Number("FAmount"), 20);
  EXPECT_DOUBLE_EQ(Number("FTaxAmount"), 0);  // the tax action was refused: the tax of no amount

  recorder_->cancelChangeOf = "FShowQty";
  EXPECT_FALSE(form_->Edit("FShowQty", 1, 5));
  EXPECT_TRUE(form_->lastCancelled());
  EXPECT_DOUBLE_EQ(Number("FShowQty"), 2);  // the previous value is back, and so are its dependants
  EXPECT_DOUBLE_EQ(Number("FQty"), 2);
}

TEST_F(BillFormTest, ACycleOfActionsEndsAtTheDepthLimitAsAFailedEvent) {
  EXPECT_FALSE(form_->Edit("FA", -1, 1));
  // The chain stopped; the session journals it; the form still answers.
  const auto journal = session_->journal().entries();
  ASSERT_FALSE(journal.empty());
  EXPECT_THAT(journal.front().error, ::testing::HasSubstr("passed"));
  EXPECT_GT(vb::CDbl(form_->Value("FA")), 1);
  EXPECT_TRUE(form_->Edit("FShowQty", 1, 1));
  session_->journal().Clear();
}

TEST_F(BillFormTest, LockRulesReadTheChosenRecord) {
  ASSERT_TRUE(form_->Edit("FItemID", 1, "I001"));  // FTrack is not 80: the batch cell is locked
  const sim::FieldDef& batch = *form_->tmpl().Find("FBatchNo");
  EXPECT_TRUE(form_->IsCellLocked(batch, 1));
  EXPECT_FALSE(form_->Edit("FBatchNo", 1, "B1"));
  EXPECT_FALSE(form_->Edit("FCustID", -1, "NO-SUCH-CUSTOMER"));
  EXPECT_EQ(ui_->messages().back().title, "信息提示");
}

TEST_F(BillFormTest, SavedBillsLoadWithTheSameCells) {
  form_->Edit("FCustID", -1, "C001");
  form_->Edit("FItemID", 1, "I001");
  form_->Edit("FPrice", 1, 12.5);
  form_->Edit("FShowQty", 1, 2);
  form_->AddRow(1);
  form_->Edit("FItemID", 2, "I002");
  form_->Edit("FShowQty", 2, 4);
  recorder_->events.clear();
  ASSERT_TRUE(form_->ClickTool("mnuEditFileSave"));
  EXPECT_THAT(recorder_->events,
              ::testing::ElementsAre("MenuBarClick mnuEditFileSave", "BeforeSave", "AfterSave",
                                     "SaveBillSuccess"));
  const long id = form_->CurBillID();
  ASSERT_GT(id, 0);
  const std::string billNo = vb::CStr(form_->Value("FBillNo"));
  EXPECT_FALSE(billNo.empty());

  auto again = BillForm::New(TestTemplates()->at(1030002), *session_);
  auto recorder = Ref<Recorder>::Adopt(new Recorder);
  again->Advise(recorder);
  ASSERT_TRUE(again->LoadBillByNumber(billNo));
  EXPECT_THAT(recorder->events, ::testing::ElementsAre("BeforLoadBillFillData", "AfterLoadBill"));
  EXPECT_EQ(again->RowCount(), 2);
  EXPECT_EQ(again->GetFieldValue("FCustID", -1, host::kFieldNumber), Variant("C001"));
  EXPECT_DOUBLE_EQ(vb::CDbl(again->Value("FAmount", 1)), 25);
  EXPECT_DOUBLE_EQ(vb::CDbl(again->Value("FShowQty", 2)), 4);
  EXPECT_EQ(again->BillStatus(), host::kBillView);

  // Editing a stored bill starts the edit state first.
  recorder->events.clear();
  again->Edit("FShowQty", 2, 5);
  EXPECT_EQ(recorder->events.front(), "BeginEdit");
  EXPECT_EQ(again->BillStatus(), host::kBillEdit);
}

TEST_F(BillFormTest, TheBillDataIsADictionaryAPlugInMayRewrite) {
  form_->Edit("FItemID", 1, "I001");
  form_->Edit("FShowQty", 1, 2);
  auto data = form_->Data();
  auto row =
      data->Item("Page2").ObjectAs<host::IDictionary>()->Item(1).ObjectAs<host::IDictionary>();
  ASSERT_TRUE(row);

  // Keys come in field order, a plug-in's own after them.
  row->SetItem("MyNote", "kept");
  const auto keys = row->Keys();
  ASSERT_GE(keys.size(), 3u);
  EXPECT_EQ(vb::CStr(keys[0]), "FItemID");
  EXPECT_EQ(vb::CStr(keys.back()), "MyNote");
  EXPECT_EQ(row->Count(), static_cast<long>(keys.size()));
  EXPECT_THROW(row->Add("FItemID", 1), vb::Error);

  // A dictionary of the plug-in's own in a cell's place is what the host reads and calculates with.
  auto price = session_->CreateObject("QBX.Dictionary").As<host::IDictionary>();
  price->SetItem("FFLD", 7);
  row->SetItem("FPrice", Ref<host::IDictionary>(price));
  EXPECT_DOUBLE_EQ(Number("FPrice"), 7);
  form_->Edit("FShowQty", 1, 3);
  EXPECT_DOUBLE_EQ(Number("FAmount"), 21);

  // A removed cell reads as blank and comes back with the next value written.
  row->Remove("FBatchNo");
  EXPECT_FALSE(row->Lookup("FBatchNo"));
  EXPECT_EQ(form_->Value("FBatchNo", 1), Variant(""));
  form_->SetFieldValue("FBatchNo", "B7", 1);
  EXPECT_EQ(form_->Value("FBatchNo", 1), Variant("B7"));

  // A cell held by a plug-in outlives the bill data it came from.
  auto item = row->Item("FItemID").ObjectAs<host::IDictionary>();
  row = {};
  data = {};
  form_->NewBill();
  EXPECT_EQ(vb::CStr(item->Item("FFND")), "I001");
}

TEST_F(BillFormTest, ARefusedOrFailedSaveChangesNothing) {
  auto count = [&] {
    return vb::CLng(session_->Run("SELECT COUNT(*) FROM t_cc_stockbill")[0].rows[0][0]);
  };
  const long before = count();
  form_->Edit("FItemID", 1, "I001");
  recorder_->cancelSave = true;
  EXPECT_FALSE(form_->Save());
  EXPECT_EQ(count(), before);

  // A value the table refuses fails the save inside its transaction: no header without rows. The
  // person learns that the bill was not saved; the statement is in the journal only.
  recorder_->cancelSave = false;
  form_->SetFieldValue("FBillNo", "XSD000001", -1);  // already taken by a stored bill
  session_->Run("CREATE UNIQUE INDEX ux_billno ON t_cc_stockbill (FBillNo)");
  EXPECT_FALSE(form_->Save());
  EXPECT_EQ(count(), before);
  EXPECT_EQ(form_->CurBillID(), 0);
  EXPECT_EQ(ui_->messages().back().text, "保存失败，单据没有保存。");
  ASSERT_FALSE(session_->journal().empty());
  EXPECT_THAT(session_->journal().entries().back().text,
              ::testing::HasSubstr("INSERT INTO t_cc_stockbill"));
  session_->journal().Clear();
}

TEST_F(BillFormTest, ABillNumberBelongsToOneBillAndANewBillRecordsItsMaker) {
  auto count = [&] {
    return vb::CLng(session_->Run("SELECT COUNT(*) FROM t_cc_stockbill")[0].rows[0][0]);
  };
  const long before = count();
  form_->Edit("FItemID", 1, "I001");
  form_->SetFieldValue("FBillNo", "XSD000001", -1);  // a stored sales bill has it
  EXPECT_FALSE(form_->Save());
  EXPECT_EQ(ui_->messages().back().text, "单据编号“XSD000001”已经存在，请换一个编号再保存。");
  EXPECT_EQ(form_->ActiveKey(), "FBillNo");
  EXPECT_EQ(count(), before);
  EXPECT_EQ(form_->CurBillID(), 0);

  // The number the numbering would give next, typed by hand, is this bill's; the numbering then
  // passes over it.
  const auto rule =
      session_->Run("SELECT FPrefix, FNextNumber FROM t_BillNoRule WHERE FClassTypeID=1030002");
  const long next = vb::CLng(rule[0].rows[0][1]);
  auto numbered = [&](long n) { return vb::CStr(rule[0].rows[0][0]) + vb::Format(n, "000000"); };
  form_->SetFieldValue("FBillNo", numbered(next), -1);
  ASSERT_TRUE(form_->Save());
  const long id = form_->CurBillID();
  auto maker = [&](long bill) {
    return vb::CLng(
        session_->Run("SELECT FBillerID FROM t_cc_stockbill WHERE FID=" + std::to_string(bill))[0]
            .rows[0][0]);
  };
  EXPECT_EQ(maker(id), session_->UserId());
  form_->Edit("FShowQty", 1, 3);
  ASSERT_TRUE(form_->Save()) << "its own number does not stand in its way";

  auto other = BillForm::New(TestTemplates()->at(1030002), *session_);
  other->NewBill();
  other->Edit("FItemID", 1, "I002");
  ASSERT_TRUE(other->Save());
  EXPECT_EQ(vb::CStr(other->Value("FBillNo")), numbered(next + 1));

  // Another user's edit leaves the maker as it was.
  auto clerk = Open("wangxm", TestTemplates());
  auto again = BillForm::New(TestTemplates()->at(1030002), *clerk);
  ASSERT_TRUE(again->LoadBill(id, host::kBillEdit));
  again->Edit("FShowQty", 1, 4);
  ASSERT_TRUE(again->Save());
  EXPECT_EQ(maker(id), session_->UserId());
  EXPECT_NE(clerk->UserId(), session_->UserId());
  EXPECT_TRUE(clerk->journal().empty());
}

TEST_F(BillFormTest, ConcurrentSavesTakeNumbersOnce) {
  constexpr int kSessions = 4, kBills = 5;
  std::vector<std::unique_ptr<sim::Session>> sessions;
  for (int i = 0; i < kSessions; ++i) sessions.push_back(Open("admin", TestTemplates()));
  std::vector<std::vector<std::string>> numbers(kSessions);
  std::vector<std::thread> threads;
  for (int i = 0; i < kSessions; ++i)
    threads.emplace_back([&, i] {
      auto form = BillForm::New(TestTemplates()->at(1030002), *sessions[i]);
      for (int b = 0; b < kBills; ++b) {
        form->NewBill();
        form->Edit("FItemID", 1, "I001");
        if (form->Save()) numbers[i].push_back(vb::CStr(form->Value("FBillNo")));
      }
    });
  for (auto& t : threads) t.join();
  std::set<std::string> distinct;
  for (const auto& mine : numbers)
    for (const auto& n : mine) distinct.insert(n);
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kSessions * kBills));
  for (const auto& s : sessions)
    for (const auto& e : s->journal().entries()) ADD_FAILURE() << e.error << " " << e.text;
  const auto duplicates = session_->Run(
      "SELECT COUNT(*) FROM (SELECT FBillNo FROM t_cc_stockbill GROUP BY FBillNo HAVING "
      "COUNT(*) > 1) d");
  EXPECT_EQ(vb::CLng(duplicates[0].rows[0][0]), 0);
}

TEST_F(BillFormTest, ADateBeyondTheCalendarIsRefusedAndTheFormGoesOn) {
  const Variant before = form_->Value("FDate");
  for (const Variant& typed : {Variant(2958466), Variant(-700000.0), Variant("10000-01-01"),
                               Variant("2026-02-30"), Variant("soon")}) {
    EXPECT_FALSE(form_->Edit("FDate", -1, typed)) << vb::CStr(typed);
    EXPECT_THAT(ui_->messages().back().text, ::testing::HasSubstr("不是有效的日期"));
    EXPECT_EQ(form_->Value("FDate"), before);
  }
  // A plug-in's write of such a serial leaves the cell empty instead of breaking the form.
  form_->SetFieldValue("FDate", Variant(2958466), -1);
  EXPECT_EQ(form_->Display("FDate"), "");
  EXPECT_TRUE(form_->Edit("FDate", -1, "2026-12-01"));
  form_->Edit("FItemID", 1, "I001");
  EXPECT_TRUE(form_->Save());
}

TEST_F(BillFormTest, AuditCopyAndRowsRaiseTheirEventsInOrder) {
  form_->Edit("FItemID", 1, "I001");
  recorder_->events.clear();
  ASSERT_TRUE(form_->ClickTool("mnuEditCheck"));  // a new bill is saved before it is audited
  EXPECT_THAT(recorder_->events,
              ::testing::ElementsAre("MenuBarClick mnuEditCheck", "BeforeSave", "AfterSave",
                                     "SaveBillSuccess", "BusinessCheck"));
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 1);
  EXPECT_EQ(vb::CLng(form_->Value("FCheckerID")), session_->UserId());
  EXPECT_FALSE(form_->Edit("FShowQty", 1, 9));  // audited bills are read-only
  EXPECT_FALSE(form_->Audit());

  recorder_->events.clear();
  ASSERT_TRUE(form_->UnAudit());
  EXPECT_THAT(recorder_->events, ::testing::ElementsAre("UnBusinessCheck"));
  EXPECT_EQ(vb::CLng(form_->Value("FStatus")), 0);

  recorder_->events.clear();
  ASSERT_TRUE(form_->CopyBill());
  EXPECT_THAT(recorder_->events, ::testing::ElementsAre("AfterCopyBill"));
  EXPECT_EQ(form_->CurBillID(), 0);
  EXPECT_EQ(form_->BillStatus(), host::kBillNew);
  EXPECT_EQ(form_->AddRow(1), 2);
  EXPECT_EQ(recorder_->events.back(), "AddNewRow 2");
}

}  // namespace
}  // namespace zov::testing
