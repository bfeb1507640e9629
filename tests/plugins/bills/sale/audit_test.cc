// Audit and un-audit of sales bills: the serial-number completeness, the rebate rule, the stock
// component's answer for each case, and the workflow's rejection.
#include "sale_fixture.h"

namespace zov::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class SaleAuditTest : public SaleTest {
 protected:
  std::string Status(const char* billNo) {
    return Sql(std::string("SELECT FStatus FROM t_cc_stockbill WHERE FBillNo='") + billNo + "'");
  }
};

TEST_F(SaleAuditTest, ASerialItemWithoutSerialNumbersIsNotAudited) {
  Start({"UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND FKey='CKSerialNum'"});
  auto& bill = Load("XSD000006");  // row 1: a laptop sold without serial numbers
  EXPECT_FALSE(bill.ClickTool("mnuEditCheck"));
  EXPECT_THAT(Messages(),
              ElementsAre("第1行商品--'笔记本电脑'未设置SN号，\r\n请将信息补充完整后再审核！"));
  EXPECT_EQ(Status("XSD000006"), "0");

  // XSD000002's laptop carries SN-LT-0003: the bill is audited.
  auto& complete = Load("XSD000002");
  EXPECT_TRUE(complete.ClickTool("mnuEditCheck"));
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_EQ(Status("XSD000002"), "1");
}

TEST_F(SaleAuditTest, TheStockComponentsRefusalIsShownOnTheForm) {
  // Audited meanwhile in another window: the component refuses a second audit.
  auto& bill = Load("XSD000002");
  session_->Run("UPDATE t_cc_stockbill SET FStatus=1 WHERE FBillNo='XSD000002'");
  EXPECT_FALSE(bill.ClickTool("mnuEditCheck"));
  auto shown = Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0], HasSubstr("XSD000002"));

  // Deleted meanwhile: the component finds no bill.
  auto& gone = Load("XSD000007");
  session_->Run(
      "DELETE FROM t_cc_stockbillentry WHERE FID=13 DELETE FROM t_cc_stockbill WHERE FID=13");
  EXPECT_FALSE(gone.ClickTool("mnuEditCheck"));
  shown = Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0], HasSubstr("XSD000007"));
}

TEST_F(SaleAuditTest, UnAuditIsRefusedForRebatesFollowUpBillsAndRejectedBills) {
  Start({"UPDATE t_cc_stockbill SET FRejected=1 WHERE FBillNo='XSD000008'"});
  // XSD000001 made the rebate bill FL000001.
  auto& rebated = Load("XSD000001");
  EXPECT_FALSE(rebated.ClickTool("mnuEditUnCheck"));
  EXPECT_THAT(Messages(), ElementsAre("销售单已经生成返利单FL000001,不允许反审核。"));
  EXPECT_EQ(Status("XSD000001"), "1");

  // Without the rebate its return XSD000004 still holds it: the component's reason is shown.
  session_->Run("DELETE FROM t_FL_SchemeLink WHERE FBillNo='FL000001'");
  EXPECT_FALSE(rebated.ClickTool("mnuEditUnCheck"));
  const auto shown = Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0], HasSubstr("XSD000004"));
  EXPECT_EQ(Status("XSD000001"), "1");

  // A bill rejected in the workflow.
  auto& rejected = Load("XSD000008");
  EXPECT_FALSE(rejected.ClickTool("mnuEditUnCheck"));
  EXPECT_THAT(Messages(), ElementsAre("你选择的单据为驳回状态，不允许反审核，请重新选择。"));
  EXPECT_EQ(Status("XSD000008"), "1");

  // An audited bill with nothing after it goes back to unaudited.
  auto& plain = Load("XSD000004");
  EXPECT_TRUE(plain.ClickTool("mnuEditUnCheck"));
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_EQ(Status("XSD000004"), "0");
}

TEST_F(SaleAuditTest, TheListShowsNoStateRefusalButReportsTheRebate) {
  auto& list = List();
  // A state refusal of the component is the list's own business: nothing is shown.
  ASSERT_TRUE(list.Select({"XSD000001"}));
  list.ClickTool("mnuEditCheck");
  EXPECT_THAT(Messages(), IsEmpty());
  // The rebate is reported from the list as well.
  list.ClickTool("mnuEditUnCheck");
  EXPECT_THAT(Messages(), ElementsAre("销售单已经生成返利单FL000001,不允许反审核。"));
}

}  // namespace
}  // namespace zov::testing
