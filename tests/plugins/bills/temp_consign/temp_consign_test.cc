// The opening consignment bill where a story shows too little: its public stock check, and the
// message list of a list audit with every message the server component returned.
#include <gmock/gmock.h>

#include "class_fixture.h"
#include "list/bill_list.h"
#include "zov/host/plugin.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using ::testing::HasSubstr;
using vb::Ref;

constexpr long kTempConsignClass = 1030004;

class TempConsignTest : public ClassTest {
 protected:
  TempConsignTest() : ClassTest(kTempConsignClass) {}
  // A saved, unaudited opening bill of one row of `qty` cups.
  std::string SavedBill(double qty) {
    auto open = session_->OpenBill(kTempConsignClass);
    auto& form = *open.form;
    form.NewBill();
    EXPECT_TRUE(form.Edit("FCustID", -1, "C001"));
    EXPECT_TRUE(form.Edit("FItemID", 1, "I001"));
    EXPECT_TRUE(form.Edit("FSCStockID", 1, "CK01"));
    EXPECT_TRUE(form.Edit("FShowQty", 1, qty));
    EXPECT_TRUE(form.Save());
    const std::string billNo = vb::CStr(form.Value("FBillNo"));
    session_->Close(open);
    return billNo;
  }
};

TEST_F(TempConsignTest, IsIsVirtualStockAnswersTrueForTheGiftStockAloneEvenForAnUnknownStock) {
  auto open = session_->OpenBill(kTempConsignClass);
  auto check = open.plugin.As<host::IVirtualStockCheck>();
  ASSERT_TRUE(check);
  auto answer = [&](long stock) {
    vb::Variant result = true;
    check->IsIsVirtualStock(stock, result);
    return result.Type() == vb::VarType::Boolean && result.AsBool();
  };
  EXPECT_TRUE(answer(603));   // CK03, type 502
  EXPECT_FALSE(answer(601));  // CK01, an ordinary stock
  EXPECT_FALSE(answer(99999));
  session_->Close(open);
}

TEST_F(TempConsignTest, AListUnAuditOfThreeUnauditedBillsListsTheComponentsThreeMessages) {
  std::vector<std::string> bills = {SavedBill(1), SavedBill(2), SavedBill(3)};
  auto list = session_->OpenList(kTempConsignClass);
  ASSERT_TRUE(list.list->Select(bills));
  list.list->AuditSelected(false);
  EXPECT_TRUE(ui_->messages().empty());
  ASSERT_EQ(ui_->windows().size(), 1u);
  const auto& window = ui_->windows().front();
  EXPECT_EQ(window.kind, "list");
  EXPECT_EQ(window.caption, "提示信息");
  ASSERT_EQ(window.lines.size(), 3u);
  for (std::size_t i = 0; i < bills.size(); ++i)
    EXPECT_THAT(window.lines[i], HasSubstr("单据[" + bills[i] + "]尚未审核，不能反审核。"));
}

}  // namespace
}  // namespace zov::testing
