// Editing stored bills: rows keep their entry IDs across saves, a save writes what changed and
// leaves what others wrote, and two sessions never edit one bill at once.
#include <gmock/gmock.h>

#include "bill/bill_form.h"
#include "host_fixture.h"
#include "list/bill_list.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using sim::BillForm;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vb::Ref;

// The sales tables with the fields these stories need, without a plug-in.
constexpr const char* kTemplate = R"({
  "classTypeId": 1030002, "title": "销售单",
  "tables": { "head": "t_cc_stockbill", "entry": "t_cc_stockbillentry" },
  "billNo": { "prefix": "XST" },
  "head": [
    { "key": "FBillNo", "column": "FBillNo" },
    { "key": "FDate", "type": "date", "column": "FDate", "default": "today" },
    { "key": "FCustID", "type": "base", "column": "FCustID",
      "base": { "table": "t_Organization", "id": "FItemID", "number": "FNumber", "name": "FName" } },
    { "key": "FNote", "column": "FNote" },
    { "key": "FStatus", "type": "number", "column": "FStatus", "visible": 0 },
    { "key": "FCheckerID", "type": "number", "column": "FCheckerID", "visible": 0 },
    { "key": "FBillTypeID", "type": "number", "column": "FBillTypeID", "default": 3001 }
  ],
  "grids": [ { "fields": [
    { "key": "FEntryID", "type": "number", "column": "FEntryID", "locked": true },
    { "key": "FItemID", "type": "base", "column": "FItemID", "base": { "table": "t_ICItem" } },
    { "key": "FShowQty", "type": "number", "decimals": 4, "column": "FShowQty" },
    { "key": "FPrice", "type": "number", "decimals": 4, "column": "FPrice" },
    { "key": "FNote", "column": "FNote" }
  ] } ]
})";

std::shared_ptr<const sim::TemplateSet> Templates() {
  static const auto set = [] {
    auto s = std::make_shared<sim::TemplateSet>();
    (*s)[1030002] = sim::ParseTemplate(kTemplate, "test template");
    return s;
  }();
  return set;
}

// A person at a workstation: a session of their own on the shared database, and a form.
struct Clerk {
  std::unique_ptr<sim::Session> session;
  Ref<sim::ScriptedUi> ui;
  Ref<BillForm> form;
  std::size_t seen = 0;

  // The messages shown since the last call.
  std::vector<std::string> TakeMessages() {
    std::vector<std::string> texts;
    for (std::size_t i = seen; i < ui->messages().size(); ++i)
      texts.push_back(ui->messages()[i].text);
    seen = ui->messages().size();
    return texts;
  }
  void Forget() { seen = ui->messages().size(); }
};

class StoredBillTest : public HostTest {
 protected:
  // A clerk logged in on the test's database; the fixture keeps them until the end of the test.
  Clerk& Login(const std::string& user) {
    if (path_.empty()) path_ = TestDatabases().freshCopy("demo");
    auto& c = *clerks_.emplace_back(std::make_unique<Clerk>());
    c.ui = sim::ScriptedUi::New();
    sim::SessionOptions options;
    options.user = user;
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    c.session =
        std::make_unique<sim::Session>(sim::ConnectToDatabase(path_), Templates(), options, c.ui);
    c.form = BillForm::New(Templates()->at(1030002), *c.session);
    return c;
  }
  void TearDown() override {
    for (auto& c : clerks_) {
      if (!c->session) continue;
      for (const auto& entry : c->session->journal().entries())
        ADD_FAILURE() << entry.where << ": " << entry.error << " " << entry.text;
      c->form = {};
      c->session.reset();
    }
  }
  // A saved bill of customer C001 with one row per item; its internal ID.
  long SavedBill(Clerk& c, std::vector<const char*> items) {
    c.form->NewBill();
    EXPECT_TRUE(c.form->Edit("FCustID", -1, "C001"));
    long row = 0;
    for (const char* item : items) {
      if (++row > c.form->RowCount()) c.form->AddRow();
      EXPECT_TRUE(c.form->Edit("FItemID", row, item));
      EXPECT_TRUE(c.form->Edit("FShowQty", row, static_cast<double>(row)));
    }
    EXPECT_TRUE(c.form->Save());
    return c.form->CurBillID();
  }
  std::vector<std::vector<long>> Rows(Clerk& c, long billId) {
    const auto sets = c.session->Run(
        "SELECT FEntryID, FIndex, FItemID, FShowQty FROM t_cc_stockbillentry WHERE FID=" +
        std::to_string(billId) + " ORDER BY FIndex");
    std::vector<std::vector<long>> rows;
    for (const auto& r : sets.at(0).rows)
      rows.push_back({vb::CLng(r[0]), vb::CLng(r[1]), vb::CLng(r[2]), vb::CLng(r[3])});
    return rows;
  }
  long MaxEntry(Clerk& c) {
    return vb::CLng(
        c.session->Run("SELECT MAX(FEntryID) FROM t_cc_stockbillentry").at(0).rows.at(0).at(0));
  }
  std::vector<std::unique_ptr<Clerk>> clerks_;
};

TEST_F(StoredBillTest, RowsKeepTheirEntryIdsAndNewRowsGetFreshOnes) {
  Clerk& a = Login("admin");
  const long bill = SavedBill(a, {"I001"});
  const long first = Rows(a, bill).at(0).at(0);
  ASSERT_EQ(first, MaxEntry(a)) << "the newest row of the table";

  // A second row on the stored bill: the kept row keeps its ID, the new one comes after it.
  a.form->AddRow();
  ASSERT_TRUE(a.form->Edit("FItemID", 2, "I002"));
  ASSERT_TRUE(a.form->Edit("FShowQty", 2, 5));
  ASSERT_TRUE(a.form->Save()) << ::testing::PrintToString(a.TakeMessages());
  EXPECT_THAT(Rows(a, bill),
              ElementsAre(ElementsAre(first, 1, 101, 1), ElementsAre(first + 1, 2, 102, 5)));

  // Another bill takes the next IDs; deleting the first row and adding one gives the new row an
  // ID above them all, moves the kept row to the top, and the reloaded form shows the same.
  Clerk& b = Login("admin");
  SavedBill(b, {"I003", "I004"});
  const long highest = MaxEntry(a);
  ASSERT_TRUE(a.form->DeleteRow(1));
  a.form->AddRow();
  ASSERT_TRUE(a.form->Edit("FItemID", 2, "I005"));
  ASSERT_TRUE(a.form->Edit("FShowQty", 2, 7));
  ASSERT_TRUE(a.form->Save());
  EXPECT_THAT(Rows(a, bill),
              ElementsAre(ElementsAre(first + 1, 1, 102, 5), ElementsAre(highest + 1, 2, 105, 7)));
  ASSERT_TRUE(a.form->LoadBill(bill));
  EXPECT_EQ(a.form->RowCount(), 2);
  EXPECT_EQ(vb::CLng(a.form->Value("FEntryID", 1)), first + 1);
  EXPECT_EQ(vb::CLng(a.form->Value("FEntryID", 2)), highest + 1);
  EXPECT_DOUBLE_EQ(vb::CDbl(a.form->Value("FShowQty", 2)), 7);
}

TEST_F(StoredBillTest, ASaveWritesWhatChangedAndLeavesWhatOthersWrote) {
  Clerk& a = Login("admin");
  const long bill = SavedBill(a, {"I001", "I002"});
  ASSERT_TRUE(a.form->LoadBill(bill, host::kBillEdit));
  // A follow-up bill's audit updates the rows meanwhile (a column the form shows, too).
  a.session->Run("UPDATE t_cc_stockbillentry SET FNote=N'已出库', FRejectQty=2 WHERE FID=" +
                 std::to_string(bill));
  ASSERT_TRUE(a.form->Edit("FShowQty", 2, 9));
  ASSERT_TRUE(a.form->Save());
  const auto rows =
      a.session->Run("SELECT FShowQty, FNote, FRejectQty FROM t_cc_stockbillentry WHERE FID=" +
                     std::to_string(bill) + " ORDER BY FIndex");
  ASSERT_EQ(rows.at(0).rows.size(), 2u);
  EXPECT_EQ(vb::CDbl(rows[0].rows[1][0]), 9);
  for (const auto& r : rows[0].rows) {
    EXPECT_EQ(vb::CStr(r[1]), "已出库");
    EXPECT_EQ(vb::CDbl(r[2]), 2);
  }
}

TEST_F(StoredBillTest, ARefreshShowsTheStoredBillOnceThePersonsOperationIsOver) {
  Clerk& a = Login("admin");
  const long bill = SavedBill(a, {"I001"});
  const std::string where = " WHERE FID=" + std::to_string(bill);
  // A server component writes the bill; the plug-in asks the form to show it anew.
  a.session->Run("UPDATE t_cc_stockbill SET FNote=N'已转交仓库'" + where);
  a.form->Refresh();
  EXPECT_EQ(vb::CStr(a.form->Value("FNote")), "");  // not in the middle of the plug-in's work
  EXPECT_TRUE(a.form->ClickTool("mnuAnyTool"));
  EXPECT_EQ(vb::CStr(a.form->Value("FNote")), "已转交仓库");
  EXPECT_EQ(a.form->refreshes(), 1);
  // Unsaved work stays as the person left it; the stored business state shows.
  ASSERT_TRUE(a.form->Edit("FNote", -1, "我的备注"));
  a.session->Run("UPDATE t_cc_stockbill SET FStatus=1, FNote=N'别人的备注'" + where);
  a.form->Refresh();
  EXPECT_TRUE(a.form->ClickTool("mnuAnyTool"));
  EXPECT_EQ(vb::CLng(a.form->Value("FStatus")), 1);
  EXPECT_EQ(vb::CStr(a.form->Value("FNote")), "我的备注");
  EXPECT_EQ(a.form->refreshes(), 1);
  // A bill not stored yet has nothing to show anew.
  a.form->NewBill();
  a.form->Refresh();
  EXPECT_TRUE(a.form->ClickTool("mnuAnyTool"));
  EXPECT_EQ(a.form->refreshes(), 1);
}

TEST_F(StoredBillTest, TheSecondEditorIsToldWhoHoldsTheBillAndOnlyViewsIt) {
  Clerk& a = Login("admin");
  Clerk& b = Login("wangxm");
  const long bill = SavedBill(a, {"I001"});
  const std::string adminName = a.session->UserName();

  ASSERT_TRUE(a.form->LoadBill(bill, host::kBillEdit));
  EXPECT_EQ(a.form->BillStatus(), host::kBillEdit);
  b.Forget();
  ASSERT_TRUE(b.form->LoadBill(bill, host::kBillEdit));
  EXPECT_THAT(b.TakeMessages(),
              ElementsAre("单据正在被用户“" + adminName + "”修改，现在只能查看。"));
  EXPECT_EQ(b.form->BillStatus(), host::kBillView);
  EXPECT_EQ(b.form->heldBy(), adminName);
  EXPECT_FALSE(b.form->IsEditable("FShowQty", 1));
  EXPECT_FALSE(b.form->Edit("FShowQty", 1, 4));
  EXPECT_FALSE(b.form->Save());
  EXPECT_FALSE(b.form->DeleteBill());
  EXPECT_THAT(b.TakeMessages(), ElementsAre("单据正在被用户“" + adminName + "”修改，不能保存。",
                                            "单据正在被用户“" + adminName + "”修改，不能删除。"));

  // Audit from another's list waits for the editor too.
  b.Forget();
  auto list = sim::BillList::New(Templates()->at(1030002), *b.session);
  list->Refresh();
  ASSERT_TRUE(list->Select({vb::CStr(a.form->Value("FBillNo"))}));
  EXPECT_FALSE(list->AuditSelected(true));
  EXPECT_THAT(b.TakeMessages(),
              ElementsAre(HasSubstr("正在被用户“" + adminName + "”修改，不能审核。")));

  // The save gives the bill back; the other session takes it on its next opening.
  ASSERT_TRUE(a.form->Edit("FShowQty", 1, 6));
  ASSERT_TRUE(a.form->Save());
  b.Forget();
  ASSERT_TRUE(b.form->LoadBill(bill, host::kBillEdit));
  EXPECT_THAT(b.TakeMessages(), ElementsAre());
  EXPECT_EQ(b.form->BillStatus(), host::kBillEdit);
  EXPECT_DOUBLE_EQ(vb::CDbl(b.form->Value("FShowQty", 1)), 6);
  // ... and its closing gives it back again.
  sim::OpenForm closing{b.form, {}};
  b.session->Close(closing);
  a.Forget();
  ASSERT_TRUE(a.form->LoadBill(bill, host::kBillEdit));
  EXPECT_THAT(a.TakeMessages(), ElementsAre());
}

TEST_F(StoredBillTest, AFormReadBeforeAnotherSaveReadsTheBillAgainBeforeItEdits) {
  Clerk& a = Login("admin");
  Clerk& b = Login("wangxm");
  const long bill = SavedBill(a, {"I001"});
  ASSERT_TRUE(a.form->LoadBill(bill));  // viewing
  ASSERT_TRUE(b.form->LoadBill(bill, host::kBillEdit));
  ASSERT_TRUE(b.form->Edit("FShowQty", 1, 8));
  ASSERT_TRUE(b.form->Save());

  a.Forget();
  EXPECT_FALSE(a.form->Edit("FShowQty", 1, 3));
  EXPECT_THAT(a.TakeMessages(), ElementsAre("单据已被其他用户修改，已重新读取。"));
  EXPECT_DOUBLE_EQ(vb::CDbl(a.form->Value("FShowQty", 1)), 8);
  // On the bill as stored now, the edit goes through and saves.
  ASSERT_TRUE(a.form->Edit("FShowQty", 1, 3));
  ASSERT_TRUE(a.form->Save());
  EXPECT_EQ(Rows(a, bill).at(0).at(3), 3);

  // Audit from a form that read the bill before another session audited and un-audited it
  // reads it again first as well.
  ASSERT_TRUE(b.form->LoadBill(bill));
  ASSERT_TRUE(a.form->Audit());
  ASSERT_TRUE(a.form->UnAudit());
  b.Forget();
  EXPECT_FALSE(b.form->Audit());
  EXPECT_THAT(b.TakeMessages(), ElementsAre("单据已被其他用户修改，已重新读取，请核对后再审核。"));
  EXPECT_TRUE(b.form->Audit());
}

TEST_F(StoredBillTest, ALockWhoseHolderIsGoneIsTakenOver) {
  Clerk& a = Login("admin");
  Clerk& b = Login("wangxm");
  const long bill = SavedBill(a, {"I001"});

  // Idle for an hour: the other session takes the bill, and the idle one cannot save over it.
  ASSERT_TRUE(a.form->LoadBill(bill, host::kBillEdit));
  ASSERT_TRUE(a.form->Edit("FShowQty", 1, 2));
  a.session->Run("UPDATE t_BillEditLock SET FLastSeen=DATEADD(minute, -61, GETDATE())");
  b.Forget();
  ASSERT_TRUE(b.form->LoadBill(bill, host::kBillEdit));
  EXPECT_EQ(b.form->BillStatus(), host::kBillEdit);
  EXPECT_THAT(b.TakeMessages(), ElementsAre());
  a.Forget();
  EXPECT_FALSE(a.form->Save());
  EXPECT_THAT(a.TakeMessages(),
              ElementsAre("单据正在被用户“" + b.session->UserName() + "”修改，不能保存。"));
  ASSERT_TRUE(b.form->Edit("FShowQty", 1, 4));
  ASSERT_TRUE(b.form->Save());
  EXPECT_EQ(Rows(b, bill).at(0).at(3), 4);

  // A session that ended without closing its form leaves nothing held.
  ASSERT_TRUE(b.form->LoadBill(bill, host::kBillEdit));
  b.form = {};
  b.session.reset();
  a.Forget();
  ASSERT_TRUE(a.form->LoadBill(bill, host::kBillEdit));
  EXPECT_EQ(a.form->BillStatus(), host::kBillEdit);
  EXPECT_THAT(a.TakeMessages(), ElementsAre());
}

}  // namespace
}  // namespace zov::testing
