// The shared row routines of the sales-family bills run on the second grid of the second sales
// bill type with its "01" keys, as on the first grid: the item, unit, amount and stock branches,
// and the row records handed to the check components.
#include <gmock/gmock.h>

#include "bill/bill_form.h"
#include "bills/common/records.h"
#include "bills/common/row_changes.h"
#include "frame/plugin_context.h"
#include "host_fixture.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"

namespace zov::testing {
namespace {

using vb::Ref;
using vb::Variant;
namespace sales = plugins::sales;

constexpr long kSaleChangeClass = 1030005;
constexpr sales::SalesClass kSaleChange{kSaleChangeClass, "ZOV_XS_PlugIns.BillEvent_SaleChange",
                                        "t_cc_Change", "t_cc_ChangeEntry"};

class SecondGridTest : public HostTest {
 protected:
  void SetUp() override {
    session_ = Open();
    // The form alone: the routines are called as the class's handlers call them.
    form_ = sim::BillForm::New(TestDatabases().templates->at(kSaleChangeClass), *session_);
    form_->NewBill();
    ctx_ = plugins::PluginContext::For(session_->Host());
    form_->SetFieldValue("FCustID", "C001", -1);
  }
  void TearDown() override {
    for (const auto& e : session_->journal().entries())
      ADD_FAILURE() << e.where << ": " << e.error << " " << e.text;
  }

  sales::SalesForm Form() { return {*ctx_, *form_, kSaleChange}; }
  double Num(const char* key, long row = 1) {
    const Variant v = form_->Value(key, row);
    if (v.IsEmpty() || v.IsNull()) return 0;
    return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
  }
  // The second grid's row 1 with `item`, as the item branch of the class leaves it.
  void ChooseItem(const char* item) {
    form_->SetFieldValue("FItemID01", item, 1);
    bool cancel = false;
    sales::ApplyItemChange(Form(), 1, sales::SecondGrid(), {}, cancel);
    ASSERT_FALSE(cancel);
  }

  std::unique_ptr<sim::Session> session_;
  Ref<sim::BillForm> form_;
  Ref<plugins::PluginContext> ctx_;
};

TEST_F(SecondGridTest, AnItemGetsUnitQuantityPriceTaxStockAndDatesOnItsOwnGrid) {
  ChooseItem("I002");
  EXPECT_EQ(form_->GetFieldValue("FShowUnitID01", 1, host::kFieldNumber), Variant("U04"));
  EXPECT_DOUBLE_EQ(Num("FCoefficient01"), 24);  // C001's last price unit, 箱
  EXPECT_DOUBLE_EQ(Num("FShowQty01"), 1);
  EXPECT_DOUBLE_EQ(Num("FQty01"), 24);
  EXPECT_DOUBLE_EQ(Num("FPrice01"), 30);  // C001's agreement
  EXPECT_DOUBLE_EQ(Num("FTaxRate01"), 13);
  EXPECT_EQ(form_->GetFieldValue("FSCStockID01", 1, host::kFieldNumber), Variant("CK01"));
  EXPECT_DOUBLE_EQ(Num("FCostPrice01"), 24);
  EXPECT_EQ(vb::Format(form_->Value("FKFDate01", 1), "yyyy-MM-dd"), "2026-12-05");
  // The first grid is not touched.
  EXPECT_EQ(form_->RowCount(), 1);
  EXPECT_DOUBLE_EQ(Num("FPrice"), 0);
}

TEST_F(SecondGridTest, AUnitConvertsCostAndAnAmountKeepsItsTaxInStep) {
  ChooseItem("I002");
  form_->SetFieldValue("FShowUnitID01", 13, 1);  // 提, 6 bottles
  sales::ApplyUnitChange(Form(), 1, sales::SecondGrid(), {});
  EXPECT_DOUBLE_EQ(Num("FCoefficient01"), 6);
  EXPECT_DOUBLE_EQ(Num("FQty01"), 6);
  EXPECT_DOUBLE_EQ(Num("FPrice01"), 8.5);  // the standard price of 提
  EXPECT_DOUBLE_EQ(Num("FCostPrice01"), 6);
  EXPECT_DOUBLE_EQ(Num("FCostAmount01"), 6);

  form_->SetFieldValue("FAmount01", 8, 1);  // amounts do not drive prices on this bill
  sales::ApplyAmountChange(Form(), 1, sales::SecondGrid(), false);
  EXPECT_DOUBLE_EQ(Num("FPrice01"), 8.5);
  EXPECT_DOUBLE_EQ(Num("FTaxAmount01"), 1.04);
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount01"), 9.04);
  form_->SetFieldValue("FInTaxAmount01", 10, 1);
  sales::ApplyAmountChange(Form(), 1, sales::SecondGrid(), true);
  EXPECT_DOUBLE_EQ(Num("FAmount01"), 8.85);
  EXPECT_DOUBLE_EQ(Num("FTaxAmount01"), 1.15);
}

TEST_F(SecondGridTest, RowRecordsNameTheCellsAsTheFirstGridDoes) {
  ChooseItem("I006");
  form_->SetFieldValue("FBatchNo01", "B20261120", 1);
  auto records =
      sales::RowRecords(Form(), sales::SecondGrid(), sales::RowRecord::kStock, "FPrice01");
  ASSERT_EQ(records->Count(), 1);
  auto row = records->Item(1L).ObjectAs<host::IDictionary>();
  ASSERT_TRUE(row);
  EXPECT_EQ(vb::CLng(row->Item("ItemID")), 106);
  EXPECT_EQ(vb::CLng(row->Item("FItemID")), 106);
  EXPECT_EQ(vb::CStr(row->Item("FBatchNo")), "B20261120");
  EXPECT_DOUBLE_EQ(vb::CDbl(row->Item("Price")), 6);
  EXPECT_DOUBLE_EQ(vb::CDbl(row->Item("FQty")), 1);
}

}  // namespace
}  // namespace zov::testing
