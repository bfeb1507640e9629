// Freight allocation over the rows: the shares, the remainder in both directions, virtual stocks,
// the header kept in step and the state of the two share tools.
#include "calc/charges.h"

#include <gmock/gmock.h>
#include <rapidcheck/gtest.h>

#include <cmath>

#include "calc_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::calc;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ChargesTest : public CalcTest {
 protected:
  // Rows of the given quantities (and amounts ten times them) in the main stock.
  void Rows(std::initializer_list<double> quantities, const char* stockKey = "FSCStockID") {
    long row = 0;
    for (double qty : quantities) {
      Row(kCup, 0, ++row);
      Put("FQty", row, qty);
      Put("FAmount", row, qty * 10);
      Put(stockKey, row, kMainStock);
    }
  }
  double Charge(long row) { return Num("FTranspotationCharges", row); }
  double ChargeSum() { return form_->Sum(form_->FieldInfo("FTranspotationCharges")); }
};

TEST_F(ChargesTest, EqualRowsShareAThirdEachAndTheLastTakesTheRest) {
  OpenBill({.billType = 1030002});
  Rows({5, 5, 5});
  form_->SetFieldValue("FTranspotationCosts", 100, -1);
  form_->SetFieldValue("FTotaladvanceCosts", 50, -1);  // not part of the sales bill's total
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_EQ(Charge(1), 100 * (5.0 / 15));  // unrounded
  EXPECT_EQ(Charge(2), 100 * (5.0 / 15));
  EXPECT_NEAR(Charge(3), 100.0 / 3, 1e-12);
  EXPECT_DOUBLE_EQ(ChargeSum(), 100);
}

TEST_F(ChargesTest, SharesByAmountAndByAbsoluteValues) {
  OpenBill({.billType = 1020002});
  Rows({1, -3, 4}, "FDCStockID");
  form_->SetFieldValue("FTranspotationCosts", 30, -1);
  form_->SetFieldValue("FTotaladvanceCosts", 10, -1);  // freight and advance costs: 40
  AllocateCharges(ctx(), 2, bill(), true);
  EXPECT_DOUBLE_EQ(Charge(1), 5);
  EXPECT_DOUBLE_EQ(Charge(2), 15);
  EXPECT_DOUBLE_EQ(Charge(3), 20);

  AllocateCharges(ctx(), 7, bill(), false);  // any other basis is by quantity: 1 - 3 + 4 = 2
  EXPECT_DOUBLE_EQ(Charge(1), 20);
  EXPECT_DOUBLE_EQ(Charge(2), -60);
  EXPECT_DOUBLE_EQ(Charge(3), 80);
}

TEST_F(ChargesTest, VirtualStockRowsTakeNoShareAndAllVirtualIsRefused) {
  OpenBill({.billType = 1030003});
  Rows({2, 3, 5});
  Put("FSCStockID", 2, kGiftStock);
  Put("FTranspotationCharges", 2, 9);
  Put("FSCStockID", 3, "");  // no stock: takes a share
  form_->SetFieldValue("FTranspotationCosts", 70, -1);
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_DOUBLE_EQ(Charge(1), 20);
  EXPECT_TRUE(Empty("FTranspotationCharges", 2));
  EXPECT_DOUBLE_EQ(Charge(3), 50);
  EXPECT_FALSE(RowTakesShare(ctx(), bill(), 2));

  Put("FSCStockID", 1, kGiftStock);
  Put("FSCStockID", 3, kGiftStock);
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_THAT(Messages(), ElementsAre("单据中的仓库都为虚仓，不允许进行采购费用分摊。"));
  EXPECT_DOUBLE_EQ(Charge(1), 20);  // the charges stay

  OpenBill({.billType = 1030003, .industry = 0});  // industry type 0: nothing at all
  Rows({2});
  Put("FSCStockID", 1, kGiftStock);
  form_->SetFieldValue("FTranspotationCosts", 10, -1);
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ChargesTest, ZeroBasisOrZeroTotalWritesNothing) {
  OpenBill({.billType = 1030002});
  Rows({2, -2});
  Put("FTranspotationCharges", 1, 4);
  form_->SetFieldValue("FTranspotationCosts", 10, -1);
  AllocateCharges(ctx(), 1, bill(), false);  // the quantities add up to 0
  form_->SetFieldValue("FTranspotationCosts", 0, -1);
  AllocateCharges(ctx(), 1, bill(), true);
  EXPECT_DOUBLE_EQ(Charge(1), 4);
  EXPECT_DOUBLE_EQ(Charge(2), 0);
}

TEST_F(ChargesTest, NegativeRemainderIsTakenFromTheLastRowsUpwards) {
  OpenBill({.billType = 1030002});
  // Six sixths of 1.3 add up past 1.3 in binary; the last row's share is smaller than the excess.
  Rows({1, 1, 1, 1, 1, 1, 1e-20});
  form_->SetFieldValue("FTranspotationCosts", 1.3, -1);
  AllocateCharges(ctx(), 1, bill(), false);
  const double sixth = 1.3 * (1.0 / 6);
  for (long row = 1; row <= 5; ++row) EXPECT_EQ(Charge(row), sixth) << row;
  EXPECT_EQ(Charge(7), 0);  // set to 0, not below
  EXPECT_LT(Charge(6), sixth);
  EXPECT_GT(Charge(6), sixth - 1e-15);
  EXPECT_NEAR(ChargeSum(), 1.3, 1e-15);

  // A negative total sends any difference to the last row, whatever its sign.
  OpenBill({.billType = 1030002});
  Rows({1, 1, 1});
  form_->SetFieldValue("FTranspotationCosts", -100, -1);
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_NEAR(ChargeSum(), -100, 1e-12);
  EXPECT_EQ(Charge(1), -100 * (1.0 / 3));
}

TEST_F(ChargesTest, AnExcessOnlyTheFirstRowCanTakeIsTakenThere) {
  OpenBill({.billType = 1030002});
  // 1.3 shared by 3 and -1: 1.95 and -0.65 add up past 1.3 in binary, and the negative last row
  // cannot give anything up.
  Rows({3, -1});
  form_->SetFieldValue("FTranspotationCosts", 1.3, -1);
  AllocateCharges(ctx(), 1, bill(), false);
  EXPECT_EQ(Charge(2), 0);
  EXPECT_NEAR(Charge(1), 1.3, 1e-15);
  EXPECT_NEAR(ChargeSum(), 1.3, 1e-15);
}

TEST_F(ChargesTest, HeaderFollowsTheRowsAndToolsFollowTheBill) {
  OpenBill({.billType = 1030002});
  for (const char* tool : {"mnuShareByQty", "mnuShareByAmt"}) form_->bar()->EnsureTool(tool);
  auto tool = [&](const char* key) { return form_->bar()->FindTool(key); };
  Rows({1, 1});
  Put("FTranspotationCharges", 1, 6);
  Put("FTranspotationCharges", 2, 4.5);
  SyncChargesTotal(ctx(), bill());
  EXPECT_DOUBLE_EQ(Num("FTranspotationCosts", -1), 10.5);
  EXPECT_TRUE(tool("mnuShareByQty")->Enabled());
  form_->SetFieldValue("FCheckerID", 1, -1);  // audited
  UpdateShareTools(ctx(), bill());
  EXPECT_FALSE(tool("mnuShareByQty")->Enabled());
  EXPECT_FALSE(tool("mnuShareByAmt")->Enabled());
  EXPECT_TRUE(tool("mnuShareByAmt")->Visible());

  // The purchase bill counts its procurement costs; app type 1 hides the tools and the freight.
  for (long appType : {2, 1}) {
    OpenBill({.billType = 1020002, .appType = appType});
    form_->bar()->EnsureTool("mnuShareByQty");
    form_->SetFieldValue("FTotalProcurementCosts", 3, -1);
    UpdateShareTools(ctx(), bill());
    EXPECT_EQ(tool("mnuShareByQty")->Enabled(), appType == 2);
    EXPECT_EQ(form_->IsVisible("FTranspotationCosts"), appType == 2);
  }
}

// Whatever the rows, once a share is written the column adds up to the cost total.
class ChargesProperty : public ChargesTest {
 protected:
  void SetUp() override {}
};

RC_GTEST_FIXTURE_PROP(ChargesProperty, ColumnSumEqualsTheCostTotal, ()) {
  OpenBill({.billType = *rc::gen::element(1030002L, 1020002L)});
  const char* stockKey = form_->FID() == 1030002 ? "FSCStockID" : "FDCStockID";
  const long basis = *rc::gen::inRange(1, 3);
  const bool absolute = *rc::gen::arbitrary<bool>();
  const auto rows = *rc::gen::inRange(1, 16);
  double weights = 0;  // of the sharing rows: a share is written only when it is not 0
  for (long row = 1; row <= rows; ++row) {
    Row(kCup, 0, row);
    const double qty = *rc::gen::inRange(-1000, 100000) / 100.0;
    const double amount = *rc::gen::inRange(-1000, 100000) / 10.0;
    Put("FQty", row, qty);
    Put("FAmount", row, amount);
    if (*rc::gen::inRange(0, 4) == 0) Put("FTranspotationCharges", row, *rc::gen::inRange(0, 500));
    if (*rc::gen::inRange(0, 5) == 4) {
      Put(stockKey, row, kGiftStock);
    } else {
      const double v = basis == 2 ? amount : qty;
      weights += absolute ? std::fabs(v) : v;
    }
  }
  RC_PRE(weights != 0);
  const double total = *rc::gen::inRange(1, 10000000) / 100.0;
  form_->SetFieldValue("FTranspotationCosts", total, -1);

  AllocateCharges(ctx(), basis, bill(), absolute);
  RC_ASSERT(std::fabs(ChargeSum() - total) <= 1e-9 * std::max(1.0, total));
  if (absolute) {
    for (long row = 1; row <= rows; ++row) RC_ASSERT(Charge(row) >= 0);  // none taken below 0
  }
  RC_ASSERT(session_->journal().empty());
}

}  // namespace
}  // namespace zov::testing
