// Price rights per bill type and user, the tail-difference thresholds, the tax kept exact after
// the host's calculation and the discount-rate rule.
#include "calc/prices.h"

#include <gmock/gmock.h>

#include "calc_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::calc;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PricesTest : public CalcTest {
 protected:
  void Amounts(double amount, double tax, double inTax) {
    Put("FAmount", 1, amount);
    Put("FTaxAmount", 1, tax);
    Put("FInTaxAmount", 1, inTax);
  }
};

TEST_F(PricesTest, PriceColumnsAreHiddenFromUsersWithoutThePriceRight) {
  OpenBill({.billType = 1030002, .industry = 0, .user = "wangxm"});
  ApplyPriceRight(ctx(), bill());
  for (const char* key : {"FPrice", "FSecPrice", "FPriceDiscount", "FInTaxAmount"})
    EXPECT_FALSE(form_->IsVisible(key));
  EXPECT_TRUE(form_->IsVisible("FBasePrice"));  // the short list
  OpenBill({.billType = 1030002, .industry = 1, .user = "wangxm"});
  ApplyPriceRight(ctx(), bill());
  EXPECT_FALSE(form_->IsVisible("FBasePrice"));  // the long list of industry type 1
  EXPECT_TRUE(form_->IsVisible("FTaxRate"));
  ApplyTaxColumnRight(ctx(), bill());
  EXPECT_FALSE(form_->IsVisible("FTaxRate"));

  for (const char* user : {"admin", "lili"}) {  // an administrator, and a grant on the whole group
    OpenBill({.billType = 1030001, .user = user});
    ApplyPriceRight(ctx(), bill());
    EXPECT_TRUE(form_->IsVisible("FPrice")) << user;
  }
  OpenBill({.billType = 1030001, .appType = 1, .user = "wangxm"});
  EXPECT_TRUE(ApplyPriceRight(ctx(), bill()).grid1.empty());
  EXPECT_TRUE(form_->IsVisible("FPrice"));
}

TEST_F(PricesTest, ListsHideByCollectionAndSecondGridsByTheirOwnList) {
  OpenBill({.billType = 1040005, .industry = 0, .user = "wangxm", .secondGrid = true});
  std::vector<std::string> hidden;
  ApplyPriceRight(ctx(), 1040007, hidden);
  ApplyTaxColumnRight(ctx(), 1040007, hidden);
  EXPECT_THAT(hidden, ElementsAre("FInPrice", "FDisplayInPrice", "FInAmount"));
  ApplyPriceRight(ctx(), bill());
  for (const char* key : {"FPrice", "FAmount", "FPrice1", "FDisplayPrice1"})
    EXPECT_FALSE(form_->IsVisible(key));
  EXPECT_TRUE(form_->IsVisible("FSecPrice1"));
}

TEST_F(PricesTest, AmountTailDifferences) {
  OpenBill({.billType = 1030001});
  Row(kCup);
  // A taxed row: 0.04 moves into the tax so that the total stays; 0.05 is an ordinary change.
  Amounts(100.04, 13, 113);
  EXPECT_EQ(ApplyAmountTail(ctx(), bill(), 1, 100), AmountTail::kMovedToTax);
  EXPECT_DOUBLE_EQ(Num("FTaxAmount"), 12.96);
  Put("FPrice", 1, 10);
  Put("FSecCoefficient", 1, 6);
  Amounts(100.05, 13, 113);
  EXPECT_EQ(ApplyAmountTail(ctx(), bill(), 1, 100), AmountTail::kOrdinary);
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount"), 113.05);
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), 60);
  // A row without tax refuses a tail difference of either sign.
  Amounts(99.99, 0, 100);
  EXPECT_EQ(ApplyAmountTail(ctx(), bill(), 1, 100), AmountTail::kRestored);
  EXPECT_DOUBLE_EQ(Num("FAmount"), 100);
  EXPECT_THAT(Messages(), ElementsAre("非税尾差调整请直接调整价税合计"));
  // The opening supplier bill knows only that refusal.
  Amounts(100.01, 13, 113);
  EXPECT_EQ(ApplyAmountTail(ctx(), bill(), 1, 100, AmountTailRules::kNonTaxOnly),
            AmountTail::kOrdinary);
  EXPECT_DOUBLE_EQ(Num("FTaxAmount"), 13);

  OpenBill({.billType = 1030003, .amountCalcPrice = true});  // the host derives the price itself
  Row(kCup);
  Amounts(200, 13, 113);
  EXPECT_EQ(ApplyAmountTail(ctx(), bill(), 1, 100), AmountTail::kOrdinary);
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount"), 113);
}

TEST_F(PricesTest, TaxTailDifferences) {
  OpenBill({.billType = 1030001});
  Row(kCup);
  Amounts(100, 13.05, 113);
  EXPECT_TRUE(ApplyTaxAmountTail(ctx(), bill(), 1, 13, TaxTailFollower::kAmount));
  EXPECT_DOUBLE_EQ(Num("FAmount"), 99.95);  // the order keeps its tax-inclusive amount
  Put("FTaxAmount", 1, 12.94);
  EXPECT_FALSE(ApplyTaxAmountTail(ctx(), bill(), 1, 13, TaxTailFollower::kAmount));
  EXPECT_DOUBLE_EQ(Num("FTaxAmount"), 13);
  EXPECT_THAT(Messages(), ElementsAre("税额只能进行尾差调整"));
  Amounts(100, 12.95, 113);
  EXPECT_TRUE(ApplyTaxAmountTail(ctx(), bill(), 1, 13, TaxTailFollower::kInTaxAmount));
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount"), 112.95);  // the sales bill keeps its amount
}

TEST_F(PricesTest, TaxFollowsTheHostsCalculationExactly) {
  OpenBill({.billType = 1030002});
  Row(kCup);
  Amounts(37.5, 4.875, 42.38);
  EXPECT_FALSE(ApplyTaxAfterCalculate(ctx(), bill(), 1, "FAction", "LockField", "FAmount=1"));
  EXPECT_FALSE(ApplyTaxAfterCalculate(ctx(), bill(), 1, "FAction", "Calculate",
                                      "FQty=FShowQty*FCoefficient"));
  EXPECT_FALSE(
      ApplyTaxAfterCalculate(ctx(), bill(), 1, "FAction", "Calculate", "FAmount01=1", true,
                             SecondGridKeys()));  // the second grid's twin has its own kind
  EXPECT_DOUBLE_EQ(Num("FTaxAmount"), 4.875);
  EXPECT_TRUE(ApplyTaxAfterCalculate(ctx(), bill(), 1, "FAction", "Calculate",
                                     "FInTaxAmount=FAmount+FTaxAmount"));
  EXPECT_EQ(Num("FTaxAmount"), 4.88);
  EXPECT_EQ(CalcAmountSum(Num("FAmount"), Num("FTaxAmount")), 42.38);
  EXPECT_TRUE(Modified("FTaxAmount"));
  EXPECT_EQ(CalcTailDifference(100.05, 100), 0.05);  // in currency units, not a binary neighbour
}

TEST_F(PricesTest, DiscountRateAboveZeroAndAtMostAHundred) {
  OpenBill();
  Row(kCup, 0, 1);
  Row(kCup, 0, 2);
  form_->AddRow(1);  // an empty row is not checked
  Put("FDiscountRate", 1, 100);
  for (double rate : {0.0, 100.01}) {
    Put("FDiscountRate", 2, rate);
    EXPECT_FALSE(CheckDiscountRates(ctx(), bill(), false)) << rate;
  }
  EXPECT_THAT(Messages(), ElementsAre("第2行折扣率必须大于0小于等于100。",
                                      "第2行折扣率必须大于0小于等于100。"));
  EXPECT_EQ(form_->ActiveRow(), 2);
  Put("FDiscountRate", 2, 250);
  EXPECT_TRUE(CheckDiscountRates(ctx(), bill(), true));
  Put("FDiscountRate", 1, 0);
  EXPECT_FALSE(CheckDiscountRates(ctx(), bill(), true));
  EXPECT_EQ(Messages().back(), "第1行折扣率必须大于0。");
  // The sales bill's first save check words the upper bound with "且".
  EXPECT_FALSE(CheckDiscountRates(ctx(), bill(), false, DiscountWording::kAnd));
  EXPECT_EQ(Messages().back(), "第1行折扣率必须大于0且小于等于100。");
  EXPECT_TRUE(CheckRowDiscountRate(ctx(), bill(), 3, false));  // no item
  EXPECT_FALSE(AllowDiscountRateOver100(ctx()));
}

TEST_F(PricesTest, IncludeTaxPriceOption) {
  OpenBill();
  EXPECT_EQ(GetSaleForIncludeTaxPrice(ctx()), 0);
  session_->Run(
      "UPDATE t_SystemProfile SET FValue='1' WHERE FCategory='IC' AND "
      "FKey='IsSaleForIncludeTaxPrice'");
  EXPECT_EQ(GetSaleForIncludeTaxPrice(ctx()), 1);
}

}  // namespace
}  // namespace zov::testing
