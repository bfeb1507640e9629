// What a user may not see: the price and cost rights read through the security component, and
// a rights check that fails withholds.
#include "session/withheld.h"

#include <gmock/gmock.h>

#include "host_fixture.h"

namespace zov::testing {
namespace {

using sim::ValueRight;

TEST(ValueRights, NamesAndCaptionsOfGuardedValues) {
  for (const char* price : {"FPrice", "FInTaxAmount", "FAllAmount", "FInvoiceAmt", "FXSDeposit",
                            "FTranspotationCharges", "Price", "AmountIncTax", "FXSLowPrice"})
    EXPECT_EQ(sim::RightOfName(price), ValueRight::Price) << price;
  for (const char* cost : {"FCostPrice", "FCostAmount", "FTotalProcurementCosts"})
    EXPECT_EQ(sim::RightOfName(cost), ValueRight::Cost) << cost;
  for (const char* plain : {"FShowQty", "FTaxRate", "FDiscountRate", "FPriceType", "FItemID",
                            "FBillNo", "FSecCoefficient"})
    EXPECT_EQ(sim::RightOfName(plain), ValueRight::None) << plain;
  EXPECT_EQ(sim::RightOfCaption("价税合计"), ValueRight::Price);
  EXPECT_EQ(sim::RightOfCaption("收款/核销金额"), ValueRight::Price);
  EXPECT_EQ(sim::RightOfCaption("成本单价"), ValueRight::Cost);
  EXPECT_EQ(sim::RightOfCaption("数量合计"), ValueRight::None);
}

class WithheldTest : public HostTest {};

TEST_F(WithheldTest, TheRightsOfTheUserDecide) {
  const sim::Withheld admin = sim::Withheld::Of(*Open("admin"));
  EXPECT_FALSE(admin.Any());
  const sim::Withheld clerk = sim::Withheld::Of(*Open("wangxm"));
  EXPECT_TRUE(clerk.Hides(ValueRight::Price));
  EXPECT_TRUE(clerk.Hides(ValueRight::Cost));
  EXPECT_FALSE(clerk.Hides(ValueRight::None));
  EXPECT_TRUE(clerk.HidesName("FAllAmount"));
  EXPECT_FALSE(clerk.HidesName("FShowQty"));
  // lili holds every right of group 15 (object 0 covers every object of the group).
  EXPECT_FALSE(sim::Withheld::Of(*Open("lili")).Any());
  EXPECT_TRUE(sim::Withheld().Hides(ValueRight::Price)) << "nothing confirmed, nothing shown";
}

TEST_F(WithheldTest, ACostRightAloneShowsCostsButNotPrices) {
  auto session = Open("wangxm");
  session->Run(
      "INSERT INTO t_AccessRight (FUserID, FGroupID, FObjectID, FRights) VALUES (2, 15, 900, 32)");
  const sim::Withheld w = sim::Withheld::Of(*session);
  EXPECT_FALSE(w.Hides(ValueRight::Cost));
  EXPECT_TRUE(w.Hides(ValueRight::Price));
}

TEST_F(WithheldTest, ARightsCheckThatFailsWithholds) {
  auto session = Open("lili");
  session->Run("DROP TABLE t_AccessRight");
  const sim::Withheld w = sim::Withheld::Of(*session);
  EXPECT_TRUE(w.Hides(ValueRight::Price));
  EXPECT_TRUE(w.Hides(ValueRight::Cost));
  EXPECT_FALSE(session->journal().empty()) << "the failure is journaled";
}

}  // namespace
}  // namespace zov::testing
