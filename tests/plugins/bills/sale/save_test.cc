// The checks of a sales bill's save, each with its message and the cell the cursor goes to, in the
// order they run: one refusal at a time, and the fixed bill saves.
#include "sale_fixture.h"

namespace zov::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class SaleSaveTest : public SaleTest {
 protected:
  // A refused save: exactly `message`, the cursor on `cell`, nothing stored.
  void ExpectRefused(sim::BillForm& bill, const std::string& message, const std::string& cell) {
    EXPECT_FALSE(Save(bill));
    EXPECT_THAT(Messages(), ElementsAre(message));
    EXPECT_EQ(Cursor(bill), cell) << message;
    EXPECT_EQ(bill.CurBillID(), 0) << message;
  }
  void ExpectSaved(sim::BillForm& bill) {
    EXPECT_TRUE(Save(bill));
    EXPECT_THAT(Messages(), IsEmpty());
    EXPECT_GT(bill.CurBillID(), 0);
  }
};

TEST_F(SaleSaveTest, HeadChecksRefuseInTheirOrder) {
  auto& bill = Delivery("C005", {{"I001", 4}});       // a customer without payment term
  ASSERT_TRUE(bill.Edit("FDate", -1, "2026-11-20"));  // before the current period 2026/12
  ASSERT_TRUE(bill.Edit("FSettleLimitDate", -1, "2026-11-01"));  // and due before the bill date
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 20));               // paid without an account
  ExpectRefused(bill, "不能录入以前期间的单据", "FDate@-1");
  ASSERT_TRUE(bill.Edit("FDate", -1, "2026-12-05"));
  ExpectRefused(bill, "收款日期不能小于单据日期", "FSettleLimitDate@-1");
  ASSERT_TRUE(bill.Edit("FSettleLimitDate", -1, "2026-12-31"));
  ExpectRefused(bill, "结算账户不能为空", "FAcctNo@-1");
  ASSERT_TRUE(bill.Edit("FBalanceStyle", -1, "02"));  // wire transfer, booked on account 1002.01
  EXPECT_EQ(Num(bill, "FAcctNo"), 2);
  bill.AddRow();  // left empty at the end: not stored
  ExpectSaved(bill);
  EXPECT_EQ(
      Sql("SELECT COUNT(*) FROM t_cc_stockbillentry WHERE FID=" + std::to_string(bill.CurBillID())),
      "1");
}

TEST_F(SaleSaveTest, RowChecksNameTheRowAndPutTheCursorOnItsCell) {
  Start(
      {"UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND "
       "FKey='AllowDiscountRateOver100'"});
  auto& bill = Delivery("C001", {{"I001", 1}, {"I009", 2}});
  ASSERT_TRUE(bill.Edit("FDiscountRate", 1, 120));  // allowed above 100 by the option
  ASSERT_TRUE(bill.Edit("FDiscountRate", 2, 0));
  ExpectRefused(bill, "第2行折扣率必须大于0。", "FDiscountRate@2");
  ASSERT_TRUE(bill.Edit("FDiscountRate", 2, 100));
  ExpectRefused(bill, "第2行商品需要录入辅助属性",
                "FAuxPropID@2");  // the T-shirt comes in attributes
  ASSERT_TRUE(bill.Edit("FAuxPropID", 2, "RED-L"));
  ExpectSaved(bill);
}

TEST_F(SaleSaveTest, ARowWithAnAmountButNoPriceIsAskedAbout) {
  auto& bill = Delivery("C001", {{"I014", 2}});
  ASSERT_TRUE(bill.Edit("FPrice", 1, 0));
  ASSERT_TRUE(bill.Edit("FAmount", 1, 50));  // amounts do not drive prices on this bill
  ASSERT_DOUBLE_EQ(Num(bill, "FPrice", 1), 0);
  ASSERT_DOUBLE_EQ(Num(bill, "FAmount", 1), 50);

  ui_->Queue({"No"});
  EXPECT_FALSE(Save(bill));
  EXPECT_THAT(Messages(), ElementsAre("存在数量为零金额不为零的记录，是否继续？"));
  EXPECT_EQ(LastMessage().title, "青禾提示");
  EXPECT_EQ(LastMessage().buttons, host::vbYesNo | host::vbInformation);
  EXPECT_EQ(bill.CurBillID(), 0);

  ui_->Queue({"Yes"});
  EXPECT_TRUE(Save(bill));
  EXPECT_THAT(Messages(), ElementsAre("存在数量为零金额不为零的记录，是否继续？"));
  EXPECT_GT(bill.CurBillID(), 0);
}

TEST_F(SaleSaveTest, ExpiredGoodsAreNotSoldUnderTheExpiryOption) {
  Start(
      {"UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND "
       "FKey='IsPeriodDateExpireNotSale'"});
  auto& bill = Delivery("C001", {{"I006", 1}});
  ASSERT_TRUE(bill.Edit("FBatchNo", 1, "B20261101"));
  ASSERT_EQ(Day(bill, "FPeriodDate", 1), "2026-11-22");  // the batch's expiry, from the stock
  ExpectRefused(bill, "第1行有效期至已经超过期限，不能销售。", "FPeriodDate@1");
  ASSERT_TRUE(bill.Edit("FBatchNo", 1, "B20261201"));
  ExpectSaved(bill);
}

TEST_F(SaleSaveTest, ABatchMustMatchTheStockExceptOnAReturn) {
  auto& bill = Delivery("C001", {{"I006", 1}});
  ASSERT_TRUE(bill.Edit("FBatchNo", 1, "B20261120"));
  ASSERT_TRUE(bill.Edit("FKFDate", 1, "2026-11-21"));  // the batch was made on the 20th
  EXPECT_FALSE(Save(bill));
  EXPECT_THAT(Messages(),
              ElementsAre("批号为B20261120的第1行商品,"
                          "与库存中同批号商品的辅助属性、生产日期、保质期或有效期至不同。"));
  EXPECT_EQ(Day(bill, "FKFDate", 1), "2026-11-20");  // taken back from the stock
  EXPECT_EQ(Day(bill, "FPeriodDate", 1), "2026-12-11");

  auto& refund = Delivery("C001", {{"I006", 1}}, 3002);
  ASSERT_TRUE(refund.Edit("FBatchNo", 1, "B20261120"));
  ASSERT_TRUE(refund.Edit("FKFDate", 1, "2026-11-21"));
  ExpectSaved(refund);
}

TEST_F(SaleSaveTest, ANegativeTotalIsRefused) {
  auto& bill = Delivery("C001", {{"I001", -1}});
  EXPECT_FALSE(Save(bill));
  EXPECT_THAT(Messages(), ElementsAre("总金额不能小于零,请修改"));
}

TEST_F(SaleSaveTest, SettlementAmountsMustAddUpToTheTotal) {
  auto& bill = Delivery("C001", {{"I001", 4}});  // 56.50
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 60));
  ASSERT_TRUE(bill.Edit("FBalanceStyle", -1, "01"));
  ExpectRefused(bill, "请输入优惠科目", "FDiscountAcctID@-1");  // 3.50 above the total

  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 20));
  ASSERT_TRUE(bill.Edit("FShowQty", 1, 1));  // the total falls to 14.13, below the 20 written off
  ASSERT_DOUBLE_EQ(Num(bill, "FCurCheckAmount"), 20);
  ExpectRefused(bill, "本次核销金额不准确，请修改", "FCurCheckAmount@-1");

  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, -10));
  ExpectRefused(bill, "本次收款金额不能小于零，请修改", "FCurPayAmount@-1");
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 10));
  ASSERT_TRUE(bill.Edit("FNeutralizeAmount", -1, 4.13));  // payment and offset settle the total
  ExpectSaved(bill);
}

TEST_F(SaleSaveTest, SeveralRowsPaidOrRefundedInFullSettleToTheCent) {
  // 14.13 and 67.80 add up to 81.929999... in binary; the person sees and pays 81.93.
  auto& bill = Delivery("C001", {{"I001", 1}, {"I006", 10}});
  ASSERT_TRUE(bill.Edit("FBatchNo", 2, "B20261120"));
  ASSERT_TRUE(bill.ClickTool("mnuEditAutoSumAmt"));
  ASSERT_TRUE(bill.Edit("FBalanceStyle", -1, "01"));
  ExpectSaved(bill);
  // Reopened and changed, the fully paid bill (its write-off stored as 81.93) saves again.
  auto& again =
      Load(Sql("SELECT FBillNo FROM t_cc_stockbill WHERE FID=" + std::to_string(bill.CurBillID())));
  ASSERT_TRUE(again.Edit("FNote", -1, "改送货时间"));
  ExpectSaved(again);

  auto& refund = Delivery("C001", {{"I001", 1}, {"I006", 10}}, 3002);
  ASSERT_TRUE(refund.Edit("FBatchNo", 2, "B20261120"));
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, 81.93));
  ASSERT_TRUE(refund.Edit("FBalanceStyle", -1, "01"));
  ExpectSaved(refund);
}

TEST_F(SaleSaveTest, TheWeightIndustrysFreightMustMatchTheRowsToTheCent) {
  Start({}, "admin", {{"IndustryType", 1}});
  auto& bill = Delivery("C001", {{"I001", 1}, {"I002", 1}});
  ASSERT_TRUE(bill.Edit("FTranspotationCharges", 1, 0.1));
  ASSERT_TRUE(bill.Edit("FTranspotationCharges", 2, 0.2));  // the head follows: 0.30
  ASSERT_TRUE(bill.Edit("FTranspotationCosts", -1, 1));
  EXPECT_FALSE(Save(bill));
  EXPECT_THAT(Messages(), ElementsAre("表头我方支付运杂费数据与表体运杂费合计不等于！"));
  ASSERT_TRUE(bill.Edit("FTranspotationCosts", -1, 0.3));
  ExpectSaved(bill);
  // Stored as 0.30, the freight still matches its rows (0.1 + 0.2 in binary) when saved again.
  auto& again =
      Load(Sql("SELECT FBillNo FROM t_cc_stockbill WHERE FID=" + std::to_string(bill.CurBillID())));
  ASSERT_TRUE(again.Edit("FNote", -1, "补运费"));
  ExpectSaved(again);
}

TEST_F(SaleSaveTest, CreditAndOverdueControlsLetThePersonDecide) {
  // C002 has used 48500 of its 50000: 150 cups at 11.00 less 10 % with tax go past the limit.
  auto& credit = Delivery("C002", {{"I001", 150}});
  ASSERT_DOUBLE_EQ(Num(credit, "FInTaxAmount", 1), 1678.05);
  ui_->Queue({"No"});
  EXPECT_FALSE(Save(credit));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(LastMessage().buttons & 7, host::vbYesNo);
  EXPECT_EQ(credit.CurBillID(), 0);
  ui_->Queue({"Yes"});
  EXPECT_TRUE(Save(credit));
  EXPECT_EQ(Messages().size(), 1u);

  // C006 owes XSD000008 since 2026-12-02.
  auto& overdue = Delivery("C006", {{"I001", 1}});
  ui_->Queue({"No"});
  EXPECT_FALSE(Save(overdue));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(LastMessage().buttons & 7, host::vbYesNo);
  // A return is held by neither control. Its contact 王强 is not written back: C006 has two.
  auto& refund = Delivery("C006", {{"I001", 1}}, 3002);
  EXPECT_TRUE(Save(refund));
  EXPECT_THAT(Messages(),
              ElementsAre("反写联系人信息失败!\r\n\r\n客户资料中存在多个同名联系人 [王强]'"));
  EXPECT_EQ(LastWindow().lines, std::vector<std::string>{"保存成功！"});
  EXPECT_GT(refund.CurBillID(), 0);
}

TEST_F(SaleSaveTest, ABillOfZeroTotalTakesNoReceiptAndNoOffset) {
  auto& bill = Delivery("C001", {{"I014", 1}});
  ASSERT_TRUE(bill.Edit("FPrice", 1, 0));
  ASSERT_DOUBLE_EQ(Num(bill, "FInTaxAmount", 1), 0);
  ASSERT_TRUE(bill.Edit("FNeutralizeAmount", -1, 10));
  ExpectRefused(bill, "整单为零的销售单，不允许收款。", "FNeutralizeAmount@-1");
  ASSERT_TRUE(bill.Edit("FNeutralizeAmount", -1, 0));
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 10));
  ASSERT_TRUE(bill.Edit("FBalanceStyle", -1, "01"));
  ExpectRefused(bill, "整单为零的销售单，不允许收款。", "FCurPayAmount@-1");
  ASSERT_TRUE(bill.Edit("FCurPayAmount", -1, 0));
  ExpectSaved(bill);
}

TEST_F(SaleSaveTest, AReturnRefundsNoMoreThanItsTotalAndNothingNegative) {
  auto& refund = Delivery("C001", {{"I001", 2}}, 3002);  // 28.25
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, 30));
  ASSERT_TRUE(refund.Edit("FBalanceStyle", -1, "01"));
  ExpectRefused(refund, "本次退款金额不准确，请修改", "FCurPayAmount@-1");
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, -5));
  ExpectRefused(refund, "本次退款金额不能小于零，请修改", "FCurPayAmount@-1");
  ASSERT_TRUE(refund.Edit("FCurPayAmount", -1, 28.25));
  ExpectSaved(refund);
  EXPECT_EQ(
      Sql("SELECT FBillTypeID FROM t_cc_stockbill WHERE FID=" + std::to_string(refund.CurBillID())),
      "3002");
}

TEST_F(SaleSaveTest, SourceRowsTakeNoMoreThanTheirSourceStillHolds) {
  Start({"UPDATE t_XS_Order SET FDate='2026-12-04' WHERE FBillNo='XSDD000001'"});
  // A return of delivery XSD000001: 35 of its 40 cups are not returned yet.
  auto& refund = NewBill();
  ASSERT_TRUE(refund.Edit("FCustID", -1, "C001"));
  ui_->Queue({"XSD000001"});
  ASSERT_TRUE(refund.ClickTool("mnuRelate_1030002"));
  ASSERT_EQ(Num(refund, "FBillTypeID"), 3002);
  ASSERT_EQ(Num(refund, "FShowQty", 1), 35);
  ASSERT_EQ(refund.GetFieldValue("FItemID", 3, host::kFieldNumber), Variant("I008"));
  ASSERT_TRUE(refund.DeleteRow(3));  // the laptops would need their serial numbers back
  ASSERT_TRUE(refund.Edit("FShowQty", 1, 36));
  ExpectRefused(refund, "存在数量大于源单未退货数量的商品,不能保存", "FShowQty@1");
  ASSERT_TRUE(refund.Edit("FShowQty", 1, 35));
  ExpectSaved(refund);

  // A settlement of consignment WTD000001: 30 of its 50 cups are not settled yet.
  auto& settlement = NewBill();
  ASSERT_TRUE(settlement.Edit("FCustID", -1, "C004"));
  ui_->Queue({"WTD000001"});
  ASSERT_TRUE(settlement.ClickTool("mnuRelate_1030003"));
  ASSERT_EQ(Num(settlement, "FBillTypeID"), 3003);
  ASSERT_EQ(Num(settlement, "FShowQty", 1), 30);
  ASSERT_TRUE(settlement.Edit("FShowQty", 1, 31));
  ExpectRefused(settlement, "存在数量大于源单未结算数量的商品,不能保存", "FShowQty@1");
  ASSERT_TRUE(settlement.Edit("FShowQty", 1, 30));
  ExpectSaved(settlement);

  // A delivery dated before the order it delivers.
  auto& delivery = NewBill();
  ASSERT_TRUE(delivery.Edit("FCustID", -1, "C001"));
  ASSERT_TRUE(delivery.Edit("FDate", -1, "2026-12-03"));
  ui_->Queue({"XSDD000001"});
  ASSERT_TRUE(delivery.ClickTool("mnuRelate_1030001"));
  ExpectRefused(delivery, "单据日期不能小于分录源单日期", "FDate@-1");
  ASSERT_TRUE(delivery.Edit("FDate", -1, "2026-12-04"));
  ExpectSaved(delivery);
}

TEST_F(SaleSaveTest, StockIsCheckedWhenThePersonSavesADelivery) {
  auto& bill = Delivery("C001", {{"I001", 301}});  // 300 cups in the main stock
  EXPECT_FALSE(Save(bill));
  const auto shown = Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0], HasSubstr("库存不足"));
  EXPECT_EQ(bill.CurBillID(), 0);
  // A save the host makes on its own (as after a rejection) is not a save the person asked for.
  EXPECT_TRUE(bill.Save());
  EXPECT_THAT(Messages(), IsEmpty());
}

}  // namespace
}  // namespace zov::testing
