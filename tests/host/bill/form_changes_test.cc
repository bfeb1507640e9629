// What a bill form records of its changes for its view: the rows and cells an operation touched,
// rows inserted and deleted in order, and the header, columns, panels and tools only when they
// really changed. The purchase bill has no plug-in: what is recorded is the host's own doing.
#include <gmock/gmock.h>

#include "bill/bill_form.h"
#include "bill/form_parts.h"
#include "host_fixture.h"

namespace zov::testing {
namespace {

using sim::BillForm;
using sim::FormChanges;
using vb::Variant;

constexpr long kPurchase = 1020002;

class FormChangesTest : public HostTest {
 protected:
  void SetUp() override {
    session_ = Open();
    open_ = session_->OpenBill(kPurchase);
    form_ = open_.form.get();
    form_->NewBill();
    form_->Edit("FSupplyID", -1, Variant("S001"));
    form_->Edit("FItemID", 1, Variant("I001"));
  }
  void TearDown() override { session_->Close(open_); }

  const sim::FieldDef& Field(const char* key) { return *form_->tmpl().FindAt(key, 1); }
  // The rows of grid 1 listed as changed, by number (0: deleted since).
  std::vector<long> ChangedRows() {
    std::vector<long> rows;
    for (const auto& row : form_->changes().grid(1).rows) rows.push_back(row->number());
    return rows;
  }
  std::vector<std::tuple<bool, long, long>> Ops() {
    std::vector<std::tuple<bool, long, long>> ops;
    for (const auto& op : form_->changes().grid(1).ops)
      ops.emplace_back(op.insert, op.at, op.count);
    return ops;
  }
  // Takes the changes as a view does: every row it shows is seen.
  void Take() {
    for (const auto& row : form_->changes().grid(1).rows) row->MarkSeen();
    for (auto& row : form_->Page(1).rows()) row.cells->MarkSeen();
    form_->changes().Clear();
  }

  std::unique_ptr<sim::Session> session_;
  sim::OpenForm open_;
  BillForm* form_ = nullptr;
};

TEST_F(FormChangesTest, AnEditRecordsItsRowAndTheCellsItChanged) {
  EXPECT_TRUE(form_->changes().grid(1).all) << "a new bill is new all over";
  for (int i = 0; i < 3; ++i) form_->AddRow();
  Take();
  EXPECT_FALSE(form_->changes().head());
  EXPECT_TRUE(ChangedRows().empty());

  ASSERT_TRUE(form_->Edit("FShowQty", 1, Variant(3)));
  ASSERT_TRUE(form_->Edit("FPrice", 1, Variant(10)));
  const FormChanges::Grid& grid = form_->changes().grid(1);
  EXPECT_FALSE(grid.all);
  EXPECT_TRUE(grid.ops.empty());
  EXPECT_THAT(ChangedRows(), ::testing::ElementsAre(1)) << "the row once, however often it changed";
  const sim::CellRow& row = *grid.rows.front();
  EXPECT_TRUE(row.Unseen(Field("FShowQty").slot));
  EXPECT_TRUE(row.Unseen(Field("FQty").slot)) << "what the formulas computed";
  EXPECT_TRUE(row.Unseen(Field("FAmount").slot));
  EXPECT_FALSE(row.Unseen(Field("FItemID").slot));
  EXPECT_FALSE(row.WholeUnseen());
  EXPECT_FALSE(form_->changes().head());

  // A plug-in's direct write reaches the record as well.
  Take();
  form_->GetDataFldbyKey("FBatchNo", 3)->SetItem(Variant("FFLD"), Variant("B-1"));
  EXPECT_THAT(ChangedRows(), ::testing::ElementsAre(3));
  form_->SetFieldValue("FNote", Variant("head"), -1);
  EXPECT_TRUE(form_->changes().head());
}

TEST_F(FormChangesTest, RowsInsertedAndDeletedAreRecordedInOrderAndTheRowsKeepTheirNumbers) {
  Take();
  form_->AddRow();
  form_->AddRow();
  form_->AddRow();
  EXPECT_THAT(Ops(), ::testing::ElementsAre(std::make_tuple(true, 2L, 3L)))
      << "rows added one after another are one insertion";
  EXPECT_THAT(ChangedRows(), ::testing::ElementsAre(2, 3, 4));
  for (const auto& row : form_->changes().grid(1).rows) EXPECT_TRUE(row->WholeUnseen());

  ASSERT_TRUE(form_->DeleteRow(3));
  ASSERT_TRUE(form_->DeleteRow(3));
  EXPECT_THAT(
      Ops(), ::testing::ElementsAre(std::make_tuple(true, 2L, 3L), std::make_tuple(false, 3L, 2L)));
  EXPECT_THAT(ChangedRows(), ::testing::ElementsAre(2, 0, 0)) << "deleted rows have no number";
  ASSERT_EQ(form_->RowCount(), 2);
  EXPECT_EQ(form_->Page(1).Row(2)->cells->number(), 2);

  // Past the limit of operations the grid counts as changed all over.
  Take();
  for (std::size_t i = 0; i <= FormChanges::kMaxOps; ++i) {
    form_->AddRow();
    form_->DeleteRow(1);
  }
  EXPECT_TRUE(form_->changes().grid(1).all);
  EXPECT_TRUE(Ops().empty());
}

TEST_F(FormChangesTest, LocksCaptionsPanelsAndToolsAreRecordedWhenTheyChange) {
  Take();
  auto column = form_->BillEntrys(1)->QORFields("FPrice");
  column->SetFieldLock(column->FieldLock());
  column->SetVisible(true);
  column->SetCaption(column->Caption());
  form_->SetStatusText(2, "");
  EXPECT_FALSE(form_->changes().columns());
  EXPECT_FALSE(form_->changes().panels());
  column->SetCaption("单价(元)");
  EXPECT_TRUE(form_->changes().columns());
  form_->SetStatusText(2, "库存 12");
  EXPECT_TRUE(form_->changes().panels());

  Take();
  form_->LockCell(Field("FPrice"), 1, true);
  EXPECT_THAT(ChangedRows(), ::testing::ElementsAre(1));
  EXPECT_TRUE(form_->changes().grid(1).rows.front()->Unseen(Field("FPrice").slot));
  EXPECT_EQ(form_->LockOf(Field("FPrice"), 1), BillForm::kCellLocked);
  Take();
  form_->LockCell(Field("FPrice"), 1, true);
  EXPECT_TRUE(ChangedRows().empty()) << "a lock set again changes nothing";

  const auto before = form_->bar()->changes();
  auto save = form_->bar()->FindTool("mnuEditFileSave");
  save->SetEnabled(save->Enabled());
  EXPECT_EQ(form_->bar()->changes(), before);
  save->SetEnabled(!save->Enabled());
  EXPECT_GT(form_->bar()->changes(), before);
}

TEST_F(FormChangesTest, ReadingABillChangesItAllOverAndASaveWritesWhatChanged) {
  form_->Edit("FShowQty", 1, Variant(2));
  ASSERT_TRUE(form_->Save());
  Take();
  ASSERT_TRUE(form_->LoadBill(form_->CurBillID()));
  EXPECT_TRUE(form_->changes().grid(1).all);
  EXPECT_TRUE(form_->changes().head());
  // Showing the bill is not saving it: the view's marks leave the save's alone.
  Take();
  ASSERT_TRUE(form_->Edit("FShowQty", 1, Variant(5)));
  Take();
  const auto& row = *form_->Page(1).Row(1)->cells;
  EXPECT_TRUE(row.Written(Field("FShowQty").slot));
  EXPECT_FALSE(row.Written(Field("FItemID").slot));
}

}  // namespace
}  // namespace zov::testing
