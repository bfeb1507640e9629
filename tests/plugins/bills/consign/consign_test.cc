// The consignment bill's rules where a story shows too little: which save the stock check runs
// on, the rows of its related-bill windows, and the secondary cells of a row without a secondary
// unit.
#include <gmock/gmock.h>

#include "class_fixture.h"
#include "frame/bill_access.h"
#include "frame/plugin_context.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;
using vb::Ref;

constexpr long kConsignClass = 1030003;

class ConsignTest : public ClassTest {
 protected:
  ConsignTest() : ClassTest(kConsignClass) {}
  // A delivery of more cups than the stock holds, typed as a person does.
  sim::BillForm& OversizedDelivery() {
    auto& form = New();
    EXPECT_TRUE(form.Edit("FCustID", -1, "C001"));
    EXPECT_TRUE(form.Edit("FItemID", 1, "I001"));
    EXPECT_TRUE(form.Edit("FSCStockID", 1, "CK01"));
    EXPECT_TRUE(form.Edit("FShowQty", 1, 100000));
    return form;
  }
  void SetProfile(const std::string& key, const std::string& value) {
    session_->Run("update t_SystemProfile set FValue='" + value +
                  "' where FCategory='IC' and FKey='" + key + "'");
  }
};

TEST_F(ConsignTest, PrintingArmsTheStockCheckOfTheSaveTheHostMakesBeforePrintingOnlyWhereAsked) {
  // The credit control is the audit's here: only the stock check can refuse.
  SetProfile("ControlPoint", "1");
  // Setting 1: the host saves before it prints, and that save is the user's.
  SetProfile("SaveBeforePrint", "1");
  auto& printed = OversizedDelivery();
  printed.ClickTool("mnuFilePrint");
  auto refused = Messages();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_THAT(refused[0], ::testing::HasSubstr("库存"));
  // Any other setting but 0 arms the check as well: the host prints at once, and the next save
  // runs the stock check.
  SetProfile("SaveBeforePrint", "2");
  auto& armed = OversizedDelivery();
  armed.ClickTool("mnuFilePrint");
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_FALSE(armed.Save());
  refused = Messages();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_THAT(refused[0], ::testing::HasSubstr("库存"));
  // Without saving before printing, the host's own save is not the user's: no stock check.
  SetProfile("SaveBeforePrint", "0");
  auto& plain = OversizedDelivery();
  plain.ClickTool("mnuFilePrint");
  EXPECT_TRUE(plain.Save());
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ConsignTest, AReturnSavedByTheUserRunsNoStockCheck) {
  auto& form = New();
  ASSERT_TRUE(form.Edit("FCustID", -1, "C004"));
  ASSERT_TRUE(form.SelectSource("mnuRelate_1030003", {{4, 0}}));
  EXPECT_EQ(vb::CLng(form.GetFieldValue("FBillTypeID", -1, 0)), 3011);
  SetProfile("UnderStockBeforeSave", "1");
  EXPECT_TRUE(form.ClickTool("mnuEditFileSave"));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ConsignTest, ADeliveryAboveTheOrdersOpenQuantityNotGoneOnWithLeavesTheCursorOnIt) {
  auto& form = New();
  ASSERT_TRUE(form.Edit("FCustID", -1, "C001"));
  ASSERT_TRUE(form.SelectSource("mnuRelate_1030001", {{1, 0}}));
  ASSERT_TRUE(form.Edit("FShowQty", 1, 61));  // the order has 60 open
  form.SetActiveCell("FCustID", -1);
  EXPECT_FALSE(form.Save());  // the question's default is No
  EXPECT_THAT(Messages(), Contains("存在出库数量超过订单未执行数量的商品，是否继续?"));
  EXPECT_EQ(form.ActiveKey() + "@" + std::to_string(form.ActiveRow()), "FShowQty@1");
}

TEST_F(ConsignTest, TheWindowsListTheSettlementsOfADeliveryAndTheDeliveriesOfAReturn) {
  auto& delivery = Load("WTD000001");
  ASSERT_TRUE(delivery.ClickTool("mnuQueryConsignAccount"));
  auto lines = WindowLines();
  EXPECT_THAT(lines, Contains("FBillNo: XSD000003"));  // the settlement made from it
  EXPECT_THAT(lines, Contains("FBillTypeName: 委托结算"));
  EXPECT_THAT(lines, Contains("FValue: WTD000001"));
  EXPECT_THAT(lines, Contains("FName: 关联数量"));
  // Its returns: none yet, then the one made from it.
  ASSERT_TRUE(delivery.ClickTool("mnuQueryConsignReject"));
  lines = WindowLines();
  EXPECT_THAT(lines, Not(Contains("FBillTypeName: 委托退货")));
  auto& back = New();
  ASSERT_TRUE(back.Edit("FCustID", -1, "C004"));
  ASSERT_TRUE(back.SelectSource("mnuRelate_1030003", {{4, 0}}));
  ASSERT_TRUE(back.ClickTool("mnuEditFileSave"));
  ASSERT_TRUE(back.ClickTool("mnuQueryConsignSale"));
  lines = WindowLines();
  EXPECT_THAT(lines, Contains("FBillNo: WTD000001"));
  EXPECT_THAT(lines, Contains("委托退货单信息"));
  auto& again = Load("WTD000001");
  ASSERT_TRUE(again.ClickTool("mnuQueryConsignReject"));
  EXPECT_THAT(WindowLines(), Contains("FBillTypeName: 委托退货"));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ConsignTest, TheSalesOrderWindowNeedsTheRightAndListsTheSourceOrder) {
  auto& form = New();
  ASSERT_TRUE(form.Edit("FCustID", -1, "C001"));
  ASSERT_TRUE(form.SelectSource("mnuRelate_1030001", {{1, 0}}));
  SetProfile("UnderStockBeforeSave", "0");
  ASSERT_TRUE(form.ClickTool("mnuEditFileSave"));
  auto& saved = Load("WTD000003");
  ASSERT_TRUE(saved.ClickTool("mnuQuerySaleOrder"));
  EXPECT_THAT(WindowLines(), Contains("FBillNo: XSDD000001"));
  // Without the right to see sales orders the window does not open.
  session_->Run("update t_User set FIsAdmin=0 where FNumber='admin'");
  const auto windows = ui_->windows().size();
  saved.ClickTool("mnuQuerySaleOrder");
  EXPECT_THAT(Messages(), Contains("您没有查看销售订单的权限。"));
  EXPECT_EQ(ui_->windows().size(), windows);
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ConsignTest, TheSecondaryCellsOfARowWithoutSecondaryUnitAreLockedAndEmptied) {
  auto& form = New();
  ASSERT_TRUE(form.Edit("FCustID", -1, "C001"));
  ASSERT_TRUE(form.Edit("FItemID", 1, "I003"));  // a secondary unit
  ASSERT_TRUE(form.Edit("FShowQty", 1, 2));
  EXPECT_GT(vb::CDbl(form.GetFieldValue("FSecQty", 1, 0)), 0);
  EXPECT_FALSE(plugins::IsCellLocked(form, "FSecQty", 1));
  ASSERT_TRUE(form.Edit("FItemID", 1, "I001"));  // none
  const vb::Variant secQty = form.GetFieldValue("FSecQty", 1, 0);
  EXPECT_TRUE(secQty.IsEmpty() || vb::CStr(secQty).empty()) << vb::CStr(secQty);
  EXPECT_TRUE(plugins::IsCellLocked(form, "FSecQty", 1));
  EXPECT_TRUE(plugins::IsCellLocked(form, "FSecPrice", 1));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(ConsignTest, AReturnShowsItsRowsInItsTextColourAndADeliveryDoesNot) {
  auto& back = New();
  ASSERT_TRUE(back.Edit("FCustID", -1, "C004"));
  ASSERT_TRUE(back.SelectSource("mnuRelate_1030003", {{4, 0}}));
  EXPECT_EQ(vb::CLng(back.entryCtlProperty("TextColor")), 255);
  ASSERT_TRUE(back.ClickTool("mnuEditFileSave"));
  auto& stored = Load("WTD000003");
  EXPECT_EQ(vb::CLng(stored.entryCtlProperty("TextColor")), 255);
  auto& delivery = Load("WTD000001");
  EXPECT_TRUE(delivery.entryCtlProperty("TextColor").IsEmpty());
  // A bill turned back into a delivery loses the return's colour.
  auto& turned = New();
  ASSERT_TRUE(turned.Edit("FBillTypeID", -1, 3011));
  EXPECT_EQ(vb::CLng(turned.entryCtlProperty("TextColor")), 255);
  ASSERT_TRUE(turned.Edit("FBillTypeID", -1, 3010));
  EXPECT_EQ(vb::CLng(turned.GetFieldValue("FTextColor", -1, 0)), 0);
  EXPECT_EQ(vb::CLng(turned.entryCtlProperty("TextColor")), 0);
  EXPECT_THAT(Messages(), IsEmpty());
}

}  // namespace
}  // namespace zov::testing
