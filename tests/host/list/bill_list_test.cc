// The bill list of the substitute host: which bills it shows, the person's selection, audit,
// un-audit, delete and copy of the selection, and what a list's event sink receives. The list is
// driven without a plug-in so the host's own rules are what is tested.
#include "list/bill_list.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "host_fixture.h"
#include "list/list_table.h"
#include "zov/host/events.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using sim::BillList;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vb::Ref;
using vb::Variant;

// Records the list events with the selection the list held when each arrived.
class ListRecorder final : public vb::Implements<host::IListEventSink> {
 public:
  explicit ListRecorder(BillList* list) : list_(list) {}
  std::string TypeName() const override { return "ListRecorder"; }
  host::ListEventSet ConnectedEvents() const override { return host::ListEventSet().set(); }
  void MenuBarInitialize(const Ref<host::IActiveBar>& bar) override {
    events.push_back("MenuBarInitialize");
    initBar = bar;
  }
  void MenuBarClick(const Ref<host::ITool>& tool, bool& cancel) override {
    events.push_back("MenuBarClick " + tool->Name());
    cancel = cancelClick;
  }
  void BusinessCheck(bool& cancel) override { Check("BusinessCheck", cancel); }
  void UnBusinessCheck(bool& cancel) override { Check("UnBusinessCheck", cancel); }
  void AfterCopyBillCreateData(const Variant& id, const Variant& data) override {
    events.push_back("AfterCopyBillCreateData " + vb::CStr(id));
    copied = data;
  }
  void AfterMergeCopyBill(const Variant& data) override {
    events.push_back("AfterMergeCopyBill");
    copied = data;
  }

  std::vector<std::string> events;
  std::vector<std::vector<long>> selectionSeen;
  Ref<host::IActiveBar> initBar;
  Variant copied;
  bool cancelClick = false, cancelCheck = false, throwCheck = false;

 private:
  void Check(const char* name, bool& cancel) {
    events.push_back(name);
    selectionSeen.push_back(list_->SelectedBillIDs());
    if (throwCheck) throw std::runtime_error("check component failed");
    cancel = cancelCheck;
  }
  BillList* list_;
};

class BillListTest : public HostTest {
 protected:
  // A list of class `classTypeId` of the host's templates, as `user` sees it.
  void OpenList(long classTypeId = 1030002, const std::string& user = "admin", long billType = 0) {
    session_ = Open(user);
    list_ = BillList::New(TestDatabases().templates->at(classTypeId), *session_, billType);
    recorder_ = Ref<ListRecorder>::Adopt(new ListRecorder(list_.get()));
    list_->Advise(recorder_);
    list_->InitializeMenus();
    list_->Refresh();
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> numbers;
    long column = -1;
    for (std::size_t i = 0; i < list_->rows().columns.size(); ++i)
      if (list_->rows().columns[i].name == "FBillNo") column = static_cast<long>(i);
    for (const auto& r : list_->rows().rows)
      numbers.push_back(vb::CStr(r[static_cast<std::size_t>(column)]));
    return numbers;
  }
  // FStatus, FCheckerID of the stored bill `billNo`.
  std::pair<long, long> State(const std::string& billNo) {
    const auto r = session_->Run("SELECT FStatus, FCheckerID FROM t_cc_stockbill WHERE FBillNo='" +
                                 billNo + "'");
    return {vb::CLng(r[0].rows[0][0]), vb::CLng(r[0].rows[0][1])};
  }
  long Count(const std::string& sql) { return vb::CLng(session_->Run(sql)[0].rows[0][0]); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : ui_->messages()) texts.push_back(m.text);
    return texts;
  }

  std::unique_ptr<sim::Session> session_;
  Ref<BillList> list_;
  Ref<ListRecorder> recorder_;
};

TEST_F(BillListTest, ShowsTheStoredBillsOfItsOwnClassOnly) {
  // Sales, consignment and opening bills share one head table; each list shows its own class.
  OpenList(1030002);
  EXPECT_THAT(Shown(), ElementsAre("XSD000001", "XSD000002", "XSD000003", "XSD000004", "XSD000005",
                                   "XSD000006", "XSD000007", "XSD000008"));
  OpenList(1030003);
  EXPECT_THAT(Shown(), ElementsAre("WTD000001", "WTD000002"));
  EXPECT_EQ(list_->FID(), 1030003);
}

TEST_F(BillListTest, TheQueryChoosesTheBillsAndTheTextsSortAsShown) {
  OpenList(1030002);
  sim::ListQuery query;
  query.billNo = "00000%_5";  // the pattern's own characters are no pattern
  list_->SetQuery(query);
  list_->Refresh();
  EXPECT_THAT(Shown(), ElementsAre("XSD000005"));
  query.billNo = "";
  query.partner = "C001";
  query.sortKey = "FBillNo";
  query.descending = true;
  list_->SetQuery(query);
  list_->Refresh();
  const auto columns = sim::ListColumns(list_->tmpl(), sim::Withheld::Nothing());
  const auto rows = sim::ListTexts(*list_, columns, *session_);
  ASSERT_GE(rows.size(), 2u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GT(rows[i - 1].texts[0], rows[i].texts[0]);
  const long customer = static_cast<long>(
      std::find_if(columns.begin(), columns.end(), [](auto& c) { return c.key == "FCustID"; }) -
      columns.begin());
  for (const auto& r : rows)
    EXPECT_THAT(r.texts[static_cast<std::size_t>(customer)], HasSubstr("联华"));

  query = {};
  query.dateTo = "2026-13-01";
  EXPECT_THROW(list_->SetQuery(query), std::invalid_argument);
  EXPECT_TRUE(list_->query().dateTo.empty()) << "the query before stays";
}

TEST(ListCsv, QuotesWhatNeedsItAndKeepsFormulasOut) {
  const std::vector<sim::ListColumn> columns{{"FBillNo", "单据编号"}, {"FNote", "备注"}};
  const std::vector<sim::ListRow> rows{{1, {"XSD000001", "含,逗号"}},
                                       {2, {"XSD000002", "“引号\"内\"”\n两行"}},
                                       {3, {"-12.50", "=HYPERLINK(\"x\")"}},
                                       {4, {"@SUM(A1)", "+1"}}};
  EXPECT_EQ(sim::ListCsv(columns, rows),
            "\xEF\xBB\xBF单据编号,备注\r\n"
            "XSD000001,\"含,逗号\"\r\n"
            "XSD000002,\"“引号\"\"内\"\"”\n两行\"\r\n"
            "-12.50,\"'=HYPERLINK(\"\"x\"\")\"\r\n"
            "'@SUM(A1),+1\r\n");
}

TEST_F(BillListTest, AListOfOneKindShowsThatKindAloneAndStartsItsBillsWithIt) {
  OpenList(1030001);
  EXPECT_EQ(list_->BillTypeID(), 3031);  // the template's default kind
  EXPECT_EQ(Shown().size(), 7u);
  OpenList(1030001, "admin", 3032);
  EXPECT_THAT(Shown(), ElementsAre("XSDD000005"));
  EXPECT_EQ(list_->BillTypeID(), 3032);
  EXPECT_EQ(list_->billType(), 3032);
  // A kind chosen for a class without kinds lists every bill.
  OpenList(1030006, "admin", 3032);
  EXPECT_EQ(list_->billType(), 0);
  EXPECT_FALSE(Shown().empty());
}

TEST_F(BillListTest, TheListToolsAreBuiltOnceAndHandedToThePlugIn) {
  OpenList();
  list_->InitializeMenus();  // a second call builds nothing twice
  EXPECT_THAT(recorder_->events, ElementsAre("MenuBarInitialize"));
  ASSERT_TRUE(recorder_->initBar);
  // Audit and un-audit wait for a plug-in to show them; the file tools are there from the start.
  EXPECT_FALSE(list_->bar()->FindTool("mnuEditCheck")->Visible());
  EXPECT_TRUE(list_->bar()->FindTool("mnuFileNew")->Visible());
  list_->SetToolProperty("mnuEditCheck", "Visible", true);
  list_->SetToolProperty("mnuNoSuchTool", "Visible", true);  // ignored, as the contract says
  EXPECT_TRUE(list_->bar()->FindTool("mnuEditCheck")->Visible());
  EXPECT_FALSE(list_->bar()->FindTool("mnuNoSuchTool"));
}

TEST_F(BillListTest, SelectionKeepsItsOrderAndRefusesABillTheListDoesNotHold) {
  OpenList();
  ASSERT_TRUE(list_->Select({"XSD000008", "XSD000001"}));
  EXPECT_THAT(list_->SelectedBillIDs(), ElementsAre(15, 2));
  // A consignment bill is not in the sales list: the selection stays as it was.
  EXPECT_FALSE(list_->Select({"XSD000002", "WTD000001"}));
  EXPECT_THAT(list_->SelectedBillIDs(), ElementsAre(15, 2));

  auto info = list_->GetSelectedBillInfo();
  ASSERT_EQ(info->Count(), 2);
  auto first = info->Item(1).ObjectAs<host::IDictionary>();
  auto second = info->Item(2).ObjectAs<host::IDictionary>();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(vb::CStr(first->Item("BillNo")), "XSD000008");
  EXPECT_EQ(vb::CLng(first->Item("BillInterID")), 15);
  EXPECT_EQ(vb::CLng(first->Item("ClassTypeID")), 1030002);
  EXPECT_EQ(vb::CLng(first->Item("CustOrSupplyID")), 1006);
  EXPECT_DOUBLE_EQ(vb::CDbl(first->Item("AllAmount")), 180.8);
  EXPECT_EQ(vb::CLng(first->Item("FStatus")), 1);
  EXPECT_EQ(vb::CStr(second->Item("FBillNo")), "XSD000001");
  EXPECT_EQ(vb::CLng(second->Item("BillType")), 3001);
  EXPECT_EQ(vb::CLng(second->Item("CustOrSupplyID")), 1001);
}

TEST_F(BillListTest, ASupplierBillNamesItsSupplierAsCustomerOrSupplier) {
  OpenList(1020004);  // opening supplier bills: FCustID 0, the supplier in FSupplyID
  ASSERT_TRUE(list_->Select({"QCGH000001"}));
  auto bill = list_->GetSelectedBillInfo()->Item(1).ObjectAs<host::IDictionary>();
  ASSERT_TRUE(bill);
  EXPECT_EQ(vb::CLng(bill->Item("CustOrSupplyID")), 2003);
}

TEST_F(BillListTest, AuditChangesOnlyBillsAwaitingItAndRecordsTheChecker) {
  OpenList(1030002, "wangxm");                             // user 2
  ASSERT_TRUE(list_->Select({"XSD000002", "XSD000008"}));  // not audited; audited by user 1
  ASSERT_TRUE(list_->ClickTool("mnuEditCheck"));
  EXPECT_EQ(State("XSD000002"), std::make_pair(1L, 2L));
  EXPECT_EQ(State("XSD000008"), std::make_pair(1L, 1L));
  EXPECT_THAT(recorder_->events,
              ElementsAre("MenuBarInitialize", "MenuBarClick mnuEditCheck", "BusinessCheck"));
  // The plug-in's check sees the selection the audit is about.
  EXPECT_THAT(recorder_->selectionSeen, ElementsAre(ElementsAre(3, 15)));

  ASSERT_TRUE(list_->ClickTool("mnuEditUnCheck"));
  EXPECT_EQ(State("XSD000002"), std::make_pair(0L, 0L));
  EXPECT_EQ(State("XSD000008"), std::make_pair(0L, 0L));
  EXPECT_EQ(recorder_->events.back(), "UnBusinessCheck");
  // The list was refreshed and still holds the selection.
  EXPECT_THAT(list_->SelectedBillIDs(), ElementsAre(3, 15));
  EXPECT_FALSE(list_->lastCancelled());
  EXPECT_TRUE(session_->journal().empty());
}

TEST_F(BillListTest, ARefusedOrFailedCheckLeavesTheBillsAsTheyWere) {
  OpenList();
  ASSERT_TRUE(list_->Select({"XSD000002"}));
  recorder_->cancelCheck = true;
  EXPECT_FALSE(list_->AuditSelected(true));
  EXPECT_TRUE(list_->lastCancelled());
  EXPECT_EQ(State("XSD000002").first, 0);

  recorder_->cancelCheck = false;
  recorder_->throwCheck = true;
  EXPECT_FALSE(list_->AuditSelected(true));
  EXPECT_EQ(State("XSD000002").first, 0);
  const auto journal = session_->journal().entries();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].where, "ListEvent.BusinessCheck");
  EXPECT_THAT(journal[0].error, HasSubstr("check component failed"));

  // A click the plug-in cancels never reaches the host's own audit.
  recorder_->throwCheck = false;
  recorder_->cancelClick = true;
  EXPECT_FALSE(list_->ClickTool("mnuEditCheck"));
  EXPECT_EQ(recorder_->events.back(), "MenuBarClick mnuEditCheck");
  EXPECT_EQ(State("XSD000002").first, 0);
}

TEST_F(BillListTest, AuditWithoutSelectionOrThroughADisabledToolIsRefused) {
  OpenList();
  EXPECT_FALSE(list_->ClickTool("mnuEditCheck"));
  EXPECT_TRUE(list_->lastCancelled());
  EXPECT_THAT(Messages(), ElementsAre("请先选择单据。"));
  EXPECT_EQ(std::count(recorder_->events.begin(), recorder_->events.end(), "BusinessCheck"), 0);

  ASSERT_TRUE(list_->Select({"XSD000002"}));
  list_->SetToolProperty("mnuEditCheck", "Enabled", false);
  recorder_->events.clear();
  EXPECT_FALSE(list_->ClickTool("mnuEditCheck"));
  EXPECT_TRUE(list_->lastCancelled());
  EXPECT_TRUE(recorder_->events.empty());
  EXPECT_EQ(State("XSD000002").first, 0);
}

TEST_F(BillListTest, RefreshShowsBillsStoredMeanwhileAndDropsDeletedOnesFromTheSelection) {
  OpenList();
  ASSERT_TRUE(list_->Select({"XSD000007", "XSD000002"}));
  session_->Run(
      "DELETE FROM t_cc_stockbillentry WHERE FID=13\nDELETE FROM t_cc_stockbill WHERE FID=13");
  session_->Run("UPDATE t_cc_stockbill SET FClassTypeID=1030002 WHERE FBillNo='WTD000002'");
  list_->Refresh();
  EXPECT_THAT(list_->SelectedBillIDs(), ElementsAre(3));
  EXPECT_THAT(Shown(), ElementsAre("XSD000001", "XSD000002", "XSD000003", "XSD000004", "WTD000002",
                                   "XSD000005", "XSD000006", "XSD000008"));
}

TEST_F(BillListTest, DeleteRefusesAnAuditedBillAndRemovesAnUnauditedOneWithItsRows) {
  OpenList();
  ASSERT_GT(Count("SELECT COUNT(*) FROM t_cc_stockbillentry WHERE FID=3"), 0);
  ASSERT_TRUE(list_->Select({"XSD000002", "XSD000008"}));
  EXPECT_FALSE(list_->ClickTool("mnuEditDelete"));
  EXPECT_THAT(Messages(), ElementsAre("所选单据中有已审核的单据，不能删除。"));
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_cc_stockbill WHERE FID IN (3, 15)"), 2);

  // Delete asks first: "No" (the default) keeps the bill.
  ASSERT_TRUE(list_->Select({"XSD000002"}));
  EXPECT_FALSE(list_->ClickTool("mnuEditDelete"));
  EXPECT_EQ(Messages().back(), "确定要删除所选的1张单据吗？");
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_cc_stockbill WHERE FID=3"), 1);
  ui_->Queue({"Yes"});
  ASSERT_TRUE(list_->ClickTool("mnuEditDelete"));
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_cc_stockbill WHERE FID=3"), 0);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_cc_stockbillentry WHERE FID=3"), 0);
  EXPECT_TRUE(list_->SelectedBillIDs().empty());
  EXPECT_EQ(Shown().size(), 7u);
}

TEST_F(BillListTest, CopyHandsThePlugInTheBillAndMergeCopyAllSelectedRows) {
  OpenList();
  // XSD000001 has three rows (I001, I006, I008), XSD000002 two (I015, I008).
  ASSERT_TRUE(list_->Select({"XSD000001", "XSD000002"}));
  EXPECT_FALSE(list_->CopySelected(false));  // a plain copy takes one bill
  EXPECT_TRUE(list_->lastCancelled());

  auto merged = list_->CopySelected(true);
  ASSERT_TRUE(merged);
  EXPECT_EQ(recorder_->events.back(), "AfterMergeCopyBill");
  auto rows = merged->Item("Page2").ObjectAs<host::IDictionary>();
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->Count(), 5);
  EXPECT_EQ(recorder_->copied.ObjectAs<host::IDictionary>(), merged);
  // The header is the first selected bill's.
  auto head = merged->Item("Page1").ObjectAs<host::IDictionary>();
  ASSERT_TRUE(head);
  auto bill = head->Item("FBillNo").ObjectAs<host::IDictionary>();
  ASSERT_TRUE(bill);
  EXPECT_EQ(vb::CStr(bill->Item("FFLD")), "XSD000001");

  ASSERT_TRUE(list_->Select({"XSD000002"}));
  auto copy = list_->CopySelected(false);
  ASSERT_TRUE(copy);
  EXPECT_EQ(recorder_->events.back(), "AfterCopyBillCreateData 3");
  EXPECT_EQ(copy->Item("Page2").ObjectAs<host::IDictionary>()->Count(), 2);
  EXPECT_TRUE(session_->journal().empty());
}

TEST_F(BillListTest, AListActsOnlyOnBillsOfItsOwnClass) {
  // The opening consignment bill and the opening supplier bill share the sales bill's head table.
  OpenList();
  auto idOf = [&](const char* billNo) {
    return Count(std::string("SELECT FID FROM t_cc_stockbill WHERE FBillNo='") + billNo + "'");
  };
  const long own = idOf("XSD000002"), consignment = idOf("QCWT000001"),
             supplier = idOf("QCGH000001");
  ASSERT_GT(consignment, 0);
  ASSERT_GT(supplier, 0);
  auto status = [&](long id) {
    return Count("SELECT FStatus FROM t_cc_stockbill WHERE FID=" + std::to_string(id));
  };
  const long consignmentStatus = status(consignment), supplierStatus = status(supplier);

  list_->SelectIds({consignment, own, supplier, own});
  EXPECT_THAT(list_->SelectedBillIDs(), ElementsAre(own)) << "only its own bill, once";
  list_->SelectIds({consignment, supplier});
  EXPECT_TRUE(list_->SelectedBillIDs().empty());
  EXPECT_FALSE(list_->AuditSelected(!consignmentStatus));
  EXPECT_EQ(Messages().back(), "请先选择单据。");
  EXPECT_FALSE(list_->ClickTool("mnuEditDelete"));
  EXPECT_EQ(status(consignment), consignmentStatus);
  EXPECT_EQ(status(supplier), supplierStatus);
  EXPECT_EQ(Count("SELECT COUNT(*) FROM t_cc_stockbill WHERE FID IN (" +
                  std::to_string(consignment) + "," + std::to_string(supplier) + ")"),
            2);
}

}  // namespace
}  // namespace zov::testing
