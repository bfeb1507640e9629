// The sales order's rules where a story shows too little: every result of the host's audit
// check, and the rows of the related-bill windows, which the stories see by their captions only.
#include <gmock/gmock.h>

#include <algorithm>

#include "bills/common/controls.h"
#include "class_fixture.h"
#include "frame/plugin_context.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vb::Ref;
namespace sales = plugins::sales;

constexpr long kOrderClass = 1030001;

class OrderTest : public ClassTest {
 protected:
  OrderTest() : ClassTest(kOrderClass) {}
  void SetUp() override {
    ClassTest::SetUp();
    ctx_ = plugins::PluginContext::For(session_->Host());
  }

  Ref<plugins::PluginContext> ctx_;
};

TEST_F(OrderTest, TheAuditCheckPassesOnOneAndFourAndShowsItsTextWhereItSays) {
  EXPECT_TRUE(sales::CheckAuditResult(*ctx_, 1, "", false));
  EXPECT_TRUE(sales::CheckAuditResult(*ctx_, 4, "已有预警", false));
  EXPECT_THAT(Messages(), IsEmpty());
  // A state that forbids it, or later bills: the text on the form, nothing in the list.
  EXPECT_FALSE(sales::CheckAuditResult(*ctx_, 0, "单据已经审核", false));
  EXPECT_FALSE(sales::CheckAuditResult(*ctx_, 2, "已经生成后续单据", true));
  EXPECT_FALSE(sales::CheckAuditResult(*ctx_, 2, "", false));
  EXPECT_THAT(Messages(), ElementsAre("单据已经审核"));
  // A bill that is not there: said wherever the check came from.
  EXPECT_FALSE(sales::CheckAuditResult(*ctx_, -1, "单据不存在", true));
  EXPECT_THAT(Messages(), ElementsAre("单据不存在"));
  // Anything else refuses without a word.
  EXPECT_FALSE(sales::CheckAuditResult(*ctx_, 3, "未知", false));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(OrderTest, ARejectedOrderIsNotDeletedFromItsForm) {
  // The form of a rejected order has its delete tools off; should the tool be reached all the
  // same, the command refuses.
  auto& order = Load("XSDD000002");
  order.SetFieldValue("FRejected", 1, -1);
  EXPECT_FALSE(order.ClickTool("mnuEditFileDelete"));
  EXPECT_THAT(Messages(), ElementsAre("不能删除驳回状态的单据！"));
  EXPECT_EQ(vb::CLng(session_->Run("SELECT COUNT(*) FROM t_XS_Order WHERE FBillNo='XSDD000002'")
                         .at(0)
                         .rows.at(0)
                         .at(0)),
            1);
}

TEST_F(OrderTest, TheExecutionWindowListsTheDeliveriesAndTheirReturnsNegated) {
  auto& order = Load("XSDD000001");
  ASSERT_TRUE(order.ClickTool("mnuExecuteProcess"));
  ASSERT_FALSE(ui_->windows().empty());
  EXPECT_EQ(ui_->windows().back().caption, "销售订单执行情况");
  const auto lines = WindowLines();
  EXPECT_THAT(lines, Contains("销售订单信息"));
  EXPECT_THAT(lines, Contains("ClassTypeID: 1030001"));
  EXPECT_THAT(lines, Contains("FValue: XSDD000001"));
  EXPECT_THAT(lines, Contains("FBillNo: XSD000001"));  // the delivery made from the order
  EXPECT_THAT(lines, Contains("FBillNo: XSD000004"));  // its return, made from the delivery
  EXPECT_THAT(lines, Contains("FShowQty: -5"));
  EXPECT_THAT(lines, Contains("FName: 发货数量合计"));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(OrderTest, ThePurchaseOrderWindowListsThePurchaseOrdersMadeFromTheOrder) {
  auto& order = Load("XSDD000007");
  ASSERT_TRUE(order.ClickTool("mnuQueryGHOrder"));
  const auto lines = WindowLines();
  EXPECT_THAT(lines, Contains("FBillNo: CGDD000001"));
  EXPECT_THAT(lines, Contains("FBillTypeName: 采购订单"));
  EXPECT_THAT(lines, Contains("FShowQty: 5"));
  // An order without purchase orders shows the columns and no record.
  auto& other = Load("XSDD000001");
  ASSERT_TRUE(other.ClickTool("mnuQueryGHOrder"));
  const auto none = WindowLines();
  EXPECT_TRUE(std::none_of(none.begin(), none.end(),
                           [](const std::string& l) { return l.rfind("FBillNo: CG", 0) == 0; }));
  EXPECT_THAT(none, Contains("FName: 含税金额"));
}

}  // namespace
}  // namespace zov::testing
