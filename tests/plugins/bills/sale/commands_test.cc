// The sales bill's own commands on the form and on the list: electronic invoices and their data
// checks, logistics, receipts, related records, rights and the guards of rejected bills.
#include "sale_fixture.h"

namespace zov::testing {
namespace {

using ::testing::IsEmpty;

class SaleCommandsTest : public SaleTest {
 protected:
  sim::BillList& ListWith(std::vector<std::string> billNos) {
    auto& list = List();
    EXPECT_TRUE(list.Select(billNos));
    return list;
  }
  // Clicks `tool` on the list selecting `billNos`; the messages it showed.
  std::vector<std::string> OnList(const char* tool, std::vector<std::string> billNos) {
    auto& list = List();
    EXPECT_TRUE(list.Select(billNos));
    list.ClickTool(tool);
    return Messages();
  }
  int Invoices() { return std::stoi(Sql("SELECT COUNT(*) FROM t_Invoice")); }
};

TEST_F(SaleCommandsTest, TheListGuardsRejectedBillsAndLogisticsCommands) {
  Start({"UPDATE t_cc_stockbill SET FBillTypeID=3004 WHERE FBillNo='XSD000004'"});
  const char* rejected = "你选择的单据包含驳回状态的订单，不允许删除，请重新选择。";
  for (const char* tool : {"mnuEditDelete", "mnuEditCopyEntry"}) {
    auto& list = ListWith({"XSD000002", "XSD000005"});
    EXPECT_FALSE(list.ClickTool(tool)) << tool;
    EXPECT_THAT(Messages(), ElementsAre(rejected)) << tool;
  }
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_cc_stockbill WHERE FBillNo IN ('XSD000002','XSD000005')"),
            "2");

  // A settlement return among the selection: no logistics bill for any of them.
  EXPECT_THAT(OnList("mnuGenLogic", {"XSD000002", "XSD000004"}),
              ElementsAre("你选择的单据包含委托结算退货单，请重新选择。"));
  EXPECT_EQ(Sql("SELECT FLogisticNumber FROM t_cc_stockbill WHERE FBillNo='XSD000002'"), "");
  EXPECT_THAT(OnList("mnuQueryLogisticList", {"XSD000002"}),
              ElementsAre("请选择已经生成过物流单的销售单！"));
  EXPECT_THAT(OnList("mnuQueryLogisticList", {"XSD000001"}), IsEmpty());

  // The generation mode is the user's choice, kept for the next list.
  auto& list = List();
  ASSERT_TRUE(list.ClickTool("mnuLogicMultiToOne"));
  EXPECT_EQ(Tool(list, "mnuLogicMultiToOne", "Checked"), Variant(true));
  EXPECT_EQ(Tool(list, "mnuLogicOneToOne", "Checked"), Variant(false));
  const std::string stored =
      "SELECT FValue FROM t_UserProfile WHERE FUserID=1 AND FSection='SaleListInterface' AND "
      "FKey='LogicMultiToOne'";
  EXPECT_EQ(Sql(stored), "1");
  EXPECT_EQ(Tool(List(), "mnuLogicMultiToOne", "Checked"), Variant(true));
  ASSERT_TRUE(list.ClickTool("mnuLogicOneToOne"));
  EXPECT_EQ(Sql(stored), "0");
}

TEST_F(SaleCommandsTest, TheListInvoiceChecksTheSelectionInOrder) {
  Start({"UPDATE t_cc_stockbill SET FBillTypeID=3004, FStatus=0 WHERE FBillNo='XSD000004'",
         "UPDATE t_cc_stockbill SET FInvoiceType=2021 WHERE FBillNo='XSD000001'"});
  const std::vector<std::string> both = {"XSD000001", "XSD000004"};  // both of C001
  const int before = Invoices();
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", both),
              ElementsAre("所选单据中有委托结算退货单，不能生成发票！"));
  session_->Run("UPDATE t_cc_stockbill SET FBillTypeID=3002 WHERE FBillNo='XSD000004'");
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", both),
              ElementsAre("所选单据中有未审核的销售单，无法生成发票！\r\n请选择已审核的销售单。"));
  session_->Run("UPDATE t_cc_stockbill SET FStatus=1 WHERE FBillNo='XSD000004'");
  EXPECT_THAT(
      OnList("mnu_MakeTzeInvoice", both),
      ElementsAre("所选单据中包含有多种发票类型，无法生成发票！\r\n请选择同一发票类型的销售单。"));
  // Every type but 2020 is one kind of invoice: 2021 and 2030 go together.
  session_->Run("UPDATE t_cc_stockbill SET FInvoiceType=2030 WHERE FBillNo='XSD000004'");
  EXPECT_THAT(
      OnList("mnu_MakeTzeInvoice", both),
      ElementsAre(
          "所选单据中包含有已生成发票的单据，无法生成发票！\r\n请选择未生成过发票的销售单。"));
  EXPECT_EQ(Invoices(), before);

  // Nothing in the way: one invoice of both bills, the return's rows counted negative.
  session_->Run("UPDATE t_cc_stockbill SET FInvoiceAmt=0 WHERE FBillNo='XSD000001'");
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", both), IsEmpty());
  EXPECT_EQ(Invoices(), before + 1);
  EXPECT_THAT(
      Row("SELECT FQty, FAmount, FTaxAmount, FInTaxAmount FROM t_InvoiceEntry WHERE FID_SRC=6"),
      ElementsAre("-5", "-62.5", "-8.13", "-70.63"));
  EXPECT_THAT(Row("SELECT FQty, FAmount FROM t_InvoiceEntry WHERE FID_SRC=2 AND FEntryID_SRC=4"),
              ElementsAre("10", "60"));
}

TEST_F(SaleCommandsTest, TheListInvoiceNeedsTypesBuyerTaxDataAndItemTaxCategories) {
  Start({"UPDATE t_cc_stockbill SET FInvoiceType=0 WHERE FBillNo='XSD000008'",
         "UPDATE t_cc_stockbill SET FStatus=1 WHERE FBillNo IN ('XSD000002','XSD000006')",
         "UPDATE t_ICItem SET FTaxCategoryCode='' WHERE FNumber='I015'"});
  const int before = Invoices();
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", {"XSD000008"}),
              ElementsAre("所选单据中没有发票类型，无法生成发票！"));
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", {"XSD000006"}),  // C003 has no tax number
              ElementsAre("客户纳税登记号为空，请先补充客户相关税务资料！"));
  EXPECT_THAT(
      OnList("mnu_MakeTzeInvoice", {"XSD000002"}),
      ElementsAre("如下商品税务资料信息不全，请先补充商品相关税务资料。\r\nI015 洗衣液 3kg"));
  auto& gone = List();  // a bill deleted since the list was shown
  gone.SelectIds({9999});
  gone.ClickTool("mnu_MakeTzeInvoice");
  EXPECT_THAT(Messages(),
              ElementsAre("所选单据中都不存在，无法生成发票！\r\n请选择有效的销售单。"));
  EXPECT_EQ(Invoices(), before);
}

TEST_F(SaleCommandsTest, TheClerkMayNeitherInvoiceNorQueryLogisticsNorOffset) {
  Start({}, "sunq");  // the warehouse clerk may not invoice
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", {"XSD000001"}), ElementsAre("您没有发票填开的权限！"));
  EXPECT_EQ(LastMessage().title, "青禾提示");
  EXPECT_THAT(OnList("mnuQueryLogisticList", {"XSD000001"}),
              ElementsAre("您没有查询物流单的权限。"));

  auto& fresh = Delivery("C001", {{"I001", 1}});
  EXPECT_FALSE(fresh.ClickTool("mnuEditCheckInfo"));
  EXPECT_THAT(Messages(), ElementsAre("您没有核销预收款的权限。"));
}

TEST_F(SaleCommandsTest, WithoutTheSellersTaxDataNoInvoiceIsMade) {
  Start({"DELETE FROM t_UserProfile WHERE FKey='TZESaleTaxID'",
         "DELETE FROM t_SystemProfile WHERE FKey='TZESaleTaxID'"});
  const int before = Invoices();
  EXPECT_THAT(OnList("mnu_MakeTzeInvoice", {"XSD000004"}),
              ElementsAre("未读取到开票方税务信息，无法进行开票操作，请先完成开票初始化。"));
  auto& bill = Load("XSD000004");
  EXPECT_FALSE(bill.ClickTool("mnuRelatePushBill_3000001"));
  EXPECT_THAT(Messages(),
              ElementsAre("未读取到开票方税务信息，无法进行开票操作，请先确保已完成开票初始化。"));
  EXPECT_EQ(Invoices(), before);
}

TEST_F(SaleCommandsTest, TheFormInvoicesWhatIsNotInvoicedYetAndOnlyOnce) {
  auto& bill = Load("XSD000001");  // 20 of its 40 cups are on invoice FP000001
  const int before = Invoices();
  EXPECT_FALSE(bill.ClickTool("mnuRelatePushBill_3000001"));  // carried out by the plug-in itself
  EXPECT_THAT(Messages(), IsEmpty());
  ASSERT_EQ(Invoices(), before + 1);
  EXPECT_THAT(Row("SELECT FQty, FAmount, FTaxAmount, FInTaxAmount FROM t_InvoiceEntry WHERE "
                  "FEntryID_SRC=3 AND FID<>1"),
              ElementsAre("20", "250", "32.5", "282.5"));
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM t_InvoiceEntry WHERE FID_SRC=2 AND FID<>1"), "3");

  EXPECT_FALSE(bill.ClickTool("mnuRelatePushBill_3000001"));
  EXPECT_THAT(Messages(), ElementsAre("销售单的所有分录均已全部下推生成发票，不允许重复生成。"));
  EXPECT_EQ(LastMessage().title, "青禾提示");
  EXPECT_EQ(Invoices(), before + 1);
}

TEST_F(SaleCommandsTest, TheFormInvoiceNeedsBuyerAndItemTaxData) {
  Start({"UPDATE t_cc_stockbill SET FStatus=1 WHERE FBillNo IN ('XSD000002','XSD000006')",
         "UPDATE t_ICItem SET FTaxCategoryCode='' WHERE FNumber='I015'"});
  const int before = Invoices();
  auto& untaxed = Load("XSD000006");  // C003 has no tax number
  EXPECT_FALSE(untaxed.ClickTool("mnuRelatePushBill_3000001"));
  EXPECT_THAT(Messages(), ElementsAre("客户纳税登记号为空，请先补充客户相关税务资料！"));
  auto& uncategorised = Load("XSD000002");
  EXPECT_FALSE(uncategorised.ClickTool("mnuRelatePushBill_3000001"));
  EXPECT_THAT(Messages(),
              ElementsAre("商品（ I015：洗衣液）税务资料信息不全，请先补充商品相关税务资料。"));
  EXPECT_EQ(Invoices(), before);
}

TEST_F(SaleCommandsTest, ReceiptsAndOffsetsOnTheForm) {
  // XSD000003 went over to receivables (HX000001): its receipts are made there.
  auto& moved = Load("XSD000003");
  EXPECT_FALSE(moved.ClickTool("mnuRelatePushBill_1050001"));
  EXPECT_THAT(Messages(), ElementsAre("该单据已经发生转移，请到应收应付系统制作收付款单"));

  // The receipts of a return are its refunds, its amounts shown negative.
  auto& refund = Load("XSD000004");
  ASSERT_TRUE(refund.ClickTool("mnuQueryPayIn"));
  const auto& window = LastWindow();
  EXPECT_EQ(window.kind, "related");
  EXPECT_EQ(window.caption, "查询退款记录");
  ASSERT_FALSE(window.lines.empty());
  EXPECT_EQ(window.lines[0], "销售退货单信息");
  EXPECT_THAT(window.lines, ::testing::Contains("  FValue: -70.63"));

  // Offsetting advance receipts needs the customer first.
  auto& bill = NewBill();
  bill.SetActiveCell("FNote", -1);
  EXPECT_FALSE(bill.ClickTool("mnuEditCheckInfo"));
  EXPECT_THAT(Messages(), ElementsAre("请先输入客户。"));
  EXPECT_EQ(Cursor(bill), "FCustID@-1");
  ASSERT_TRUE(bill.Edit("FCustID", -1, "C001"));
  EXPECT_TRUE(bill.ClickTool("mnuEditCheckInfo"));
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_EQ(Cursor(bill), "FNeutralizeAmount@-1");
}

}  // namespace
}  // namespace zov::testing
