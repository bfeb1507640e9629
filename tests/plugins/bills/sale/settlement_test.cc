// The settlement of the sales bill: the due date from the customer's payment term, and what is
// paid, offset and written off against the bill total, with the account cells each case needs.
#include "sale_fixture.h"

namespace zov::testing {
namespace {

class SaleSettlementTest : public SaleTest {};

struct DueCase {
  const char* customer;
  const char* date;
  const char* due;
};

TEST_F(SaleSettlementTest, TheDueDateFollowsThePaymentTermOfTheCustomer) {
  const DueCase cases[] = {
      {"C001", "2026-12-05", "2027-01-04"},  // 30 days after the bill date
      {"C003", "2026-12-07", "2026-12-07"},  // cash on delivery
      {"C002", "2026-12-05", "2026-12-31"},  // monthly, on the 31st
      {"C002", "2026-11-30", "2026-11-30"},  // ... cut to the last day of a 30-day month
      {"C002", "2027-02-10", "2027-02-28"},
      {"C002", "2028-02-03", "2028-02-29"},  // ... and of February in a leap year
      {"C002", "2027-04-15", "2027-04-30"},
      {"C004", "2026-12-10",
       "2026-12-15"},  // monthly on the 15th, counted 5 days on: the 15th itself
      {"C004", "2026-12-11", "2027-01-15"},  // past the pay day: next month, into the next year
      {"C004", "2026-12-28", "2027-01-15"},  // the 5 days reach January, whose 15th is not past
      {"C004", "2027-01-27", "2027-02-15"},
  };
  auto& bill = NewBill();
  for (const auto& c : cases) {
    ASSERT_TRUE(bill.Edit("FCustID", -1, c.customer));
    ASSERT_TRUE(bill.Edit("FDate", -1, c.date));
    EXPECT_EQ(Day(bill, "FSettleLimitDate"), c.due) << c.customer << " dated " << c.date;
  }
  // Choosing the customer after the date computes the same.
  auto& later = NewBill();
  ASSERT_TRUE(later.Edit("FDate", -1, "2026-12-11"));
  ASSERT_TRUE(later.Edit("FCustID", -1, "C004"));
  EXPECT_EQ(Day(later, "FSettleLimitDate"), "2027-01-15");
}

TEST_F(SaleSettlementTest, WithoutPaymentTermTheDueDateStaysAndMayNotPrecedeTheBillDate) {
  auto& bill = NewBill();
  // A new bill is due the day it is dated, and that default is no change of the person's.
  EXPECT_EQ(Day(bill, "FSettleLimitDate"), "2026-12-05");
  EXPECT_EQ(vb::CLng(bill.GetDataFldbyKey("FSettleLimitDate", -1)->Item("FModify")), 0);

  ASSERT_TRUE(bill.Edit("FCustID", -1, "C005"));  // no payment term
  ASSERT_TRUE(bill.Edit("FItemID", 1, "I001"));
  ASSERT_TRUE(bill.Edit("FDate", -1, "2026-12-20"));
  EXPECT_EQ(Day(bill, "FSettleLimitDate"), "2026-12-05");
  EXPECT_FALSE(Save(bill));
  EXPECT_THAT(Messages(), ElementsAre("收款日期不能小于单据日期"));
  EXPECT_EQ(Cursor(bill), "FSettleLimitDate@-1");

  ASSERT_TRUE(bill.Edit("FSettleLimitDate", -1, "2026-12-20"));  // due the same day passes
  EXPECT_TRUE(Save(bill));
  EXPECT_THAT(Messages(), ::testing::IsEmpty());
}

TEST_F(SaleSettlementTest, PaymentAndOffsetAgainstTheTotalDecideWriteOffAndDiscountAccount) {
  auto& bill = Delivery("C001", {{"I001", 4}});  // 4 x 12.50 plus 13 % tax
  ASSERT_DOUBLE_EQ(Num(bill, "FInTaxAmount", 1), 56.5);

  // Above the total: the total is written off and the excess needs a discount account.
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 60));
  EXPECT_DOUBLE_EQ(Num(bill, "FCurCheckAmount"), 56.5);
  EXPECT_FALSE(Locked(bill, "FDiscountAcctID"));
  // Only an account kept in amounts of the home currency takes the discount.
  bill.Edit("FDiscountAcctID", -1, "1405");
  EXPECT_THAT(Messages(), ElementsAre("所选择的科目进行了数量金额核算，请重新选择科目。"));
  EXPECT_EQ(Num(bill, "FDiscountAcctID"), 0);
  bill.Edit("FDiscountAcctID", -1, "1002.03");
  EXPECT_THAT(Messages(), ElementsAre("所选择的科目进行了单一外币核算，请重新选择科目。"));
  EXPECT_EQ(Num(bill, "FDiscountAcctID"), 0);
  ASSERT_TRUE(bill.Edit("FDiscountAcctID", -1, "6603.03"));
  EXPECT_THAT(Messages(), ::testing::IsEmpty());
  EXPECT_EQ(Num(bill, "FDiscountAcctID"), 6603);

  // Exactly the total: nothing is left to book as discount.
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 56.5));
  EXPECT_DOUBLE_EQ(Num(bill, "FCurCheckAmount"), 56.5);
  EXPECT_TRUE(Locked(bill, "FDiscountAcctID"));
  EXPECT_EQ(Num(bill, "FDiscountAcctID"), 0);
  EXPECT_FALSE(Locked(bill, "FBalanceStyle"));
  EXPECT_EQ(Num(bill, "FMultiAccount"), 0);

  // The offset of advance receipts counts with the payment and leaves the payment's cells alone.
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 30));
  ASSERT_TRUE(bill.Edit("FNeutralizeAmount", -1, 30));
  EXPECT_DOUBLE_EQ(Num(bill, "FCurCheckAmount"), 56.5);
  EXPECT_FALSE(Locked(bill, "FDiscountAcctID"));
  ASSERT_TRUE(bill.Edit("FNeutralizeAmount", -1, 10));
  EXPECT_DOUBLE_EQ(Num(bill, "FCurCheckAmount"), 40);
  EXPECT_TRUE(Locked(bill, "FDiscountAcctID"));
  EXPECT_FALSE(Locked(bill, "FBalanceStyle"));
  EXPECT_FALSE(Locked(bill, "FAcctNo"));

  // The whole-bill receipt pays what the offset leaves of the total.
  auto& whole = Delivery("C001", {{"I001", 4}});
  ASSERT_TRUE(whole.Edit("FNeutralizeAmount", -1, 10));
  ASSERT_TRUE(whole.ClickTool("mnuEditAutoSumAmt"));
  EXPECT_DOUBLE_EQ(Num(whole, "FCurPayAmount"), 46.5);
  EXPECT_DOUBLE_EQ(Num(whole, "FCurCheckAmount"), 56.5);
  EXPECT_TRUE(Locked(whole, "FDiscountAcctID"));
  EXPECT_FALSE(Locked(whole, "FAcctNo"));
}

TEST_F(SaleSettlementTest, PayingTheTotalShownLeavesNoDiscountToBook) {
  auto& bill = Delivery("C001", {{"I001", 1}, {"I006", 10}});  // 14.13 and 67.80
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 90));
  ASSERT_TRUE(bill.Edit("FDiscountAcctID", -1, "6603.03"));
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 81.93));
  EXPECT_NEAR(Num(bill, "FCurCheckAmount"), 81.93, 0.001);
  EXPECT_TRUE(Locked(bill, "FDiscountAcctID"));
  EXPECT_EQ(Num(bill, "FDiscountAcctID"), 0);
}

TEST_F(SaleSettlementTest, AReturnWritesOffTheRefundAndItsWholeBillReceiptRefundsTheTotal) {
  auto& refund = Delivery("C001", {{"I001", 2}}, 3002);
  ASSERT_DOUBLE_EQ(Num(refund, "FInTaxAmount", 1), 28.25);
  EXPECT_EQ(refund.Caption("FCurPayAmount"), "本次退款:");
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, 10));
  EXPECT_DOUBLE_EQ(Num(refund, "FCurCheckAmount"), 10);
  EXPECT_TRUE(Locked(refund, "FDiscountAcctID"));
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, 0));
  EXPECT_TRUE(Locked(refund, "FBalanceStyle"));
  EXPECT_TRUE(Locked(refund, "FAcctNo"));

  ASSERT_TRUE(refund.ClickTool("mnuEditAutoSumAmt"));
  EXPECT_DOUBLE_EQ(Num(refund, "FCurPayAmount"), 28.25);
  EXPECT_DOUBLE_EQ(Num(refund, "FCurCheckAmount"), 28.25);
  EXPECT_FALSE(Locked(refund, "FBalanceStyle"));
  EXPECT_FALSE(Locked(refund, "FAcctNo"));

  // Refunded over several accounts: no single refund is filled in and no account is asked.
  auto& multi = Delivery("C001", {{"I001", 2}}, 3002);
  ASSERT_TRUE(multi.Edit("FMultiAccount", -1, 1));
  ASSERT_TRUE(multi.ClickTool("mnuEditAutoSumAmt"));
  EXPECT_EQ(Num(multi, "FCurPayAmount"), 0);
  EXPECT_EQ(Num(multi, "FMultiAccount"), 1);
  EXPECT_TRUE(Locked(multi, "FBalanceStyle"));
  EXPECT_TRUE(Locked(multi, "FAcctNo"));
}

TEST_F(SaleSettlementTest, AMultiAccountPaymentIsSavedWithoutAnAccountAndWithTheHeadTotals) {
  auto& bill = Delivery("C001", {{"I001", 4}});
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 20));
  ASSERT_TRUE(bill.Edit("FMultiAccount", -1, 1));
  ASSERT_TRUE(Save(bill)) << ::testing::PrintToString(Messages());
  EXPECT_THAT(Messages(), ::testing::IsEmpty());
  // The payer is the customer; total, written-off and open amounts go with the head.
  EXPECT_THAT(Row("SELECT FCurPayID, FAllAmount, FCheckAmount, FUnCheckAmount, FMultiAccount FROM "
                  "t_cc_stockbill "
                  "WHERE FID=" +
                  std::to_string(bill.CurBillID())),
              ElementsAre("1001", "56.5", "20", "36.5", "1"));
}

}  // namespace
}  // namespace zov::testing
