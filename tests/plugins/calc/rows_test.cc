// What follows the choice of an item, the calculation type of weight-calculated rows and the
// displayed price.
#include <gmock/gmock.h>

#include "calc/quantities.h"
#include "calc_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::calc;

class RowsTest : public CalcTest {};

TEST_F(RowsTest, ChosenItemGetsTheCustomersUnitAndOneOfIt) {
  OpenBill({.industry = 0});
  form_->SetFieldValue("FCustID", kC001, -1);
  Row(kWater);
  Put("FCoefficient", 1, 24);  // as the unit's own change handler leaves it
  ApplyItemChosen(ctx(), bill(), 1);
  auto unit = form_->GetDataFldbyKey("FShowUnitID", 1);
  EXPECT_EQ(unit->Item("FFLD"), Variant(14));  // C001's last price unit, 箱
  EXPECT_EQ(unit->Item("FFND"), Variant("U04"));
  EXPECT_EQ(unit->Item("FDSP"), Variant("箱"));
  EXPECT_DOUBLE_EQ(vb::CDbl(unit->Item("FCoefficient")), 24);
  EXPECT_EQ(unit->Item("FSrcItemId"), Variant(kWater));
  EXPECT_FALSE(Modified("FShowUnitID"));
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 1);
  EXPECT_DOUBLE_EQ(Num("FQty"), 24);  // FShowQty's action ran
  EXPECT_FALSE(Modified("FShowQty"));
  EXPECT_DOUBLE_EQ(Num("FSecCoefficient"), 0);  // the item has no secondary unit
  EXPECT_DOUBLE_EQ(Num("FDisplayQty"), 0);      // no weight fields outside industry type 1

  // A quantity already typed is kept.
  Put("FShowQty", 1, 5);
  ApplyItemChosen(ctx(), bill(), 1);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 5);
}

TEST_F(RowsTest, ChosenWeightCalculatedItemStartsWithTheDefaultCalculationType) {
  OpenBill();
  Row(kRebar);
  Put("FCoefficient", 1, 0.0288);
  Put("FBasePrice", 1, 4200);
  ApplyItemChosen(ctx(), bill(), 1);
  EXPECT_EQ(form_->Value("FShowUnitID", 1), Variant(18));  // its default unit 支
  EXPECT_EQ(form_->Value("FCalTypeID", 1), Variant(1));
  EXPECT_EQ(form_->GetFieldValue("FCalTypeID", 1, host::kFieldNumber), Variant("01"));
  EXPECT_EQ(form_->Display("FCalTypeID", 1), "理算");
  EXPECT_EQ(Num("FSecCoefficient"), 1 / 0.0288);
  EXPECT_DOUBLE_EQ(Num("FSecQty"), 0.0288);  // copied from the base quantity
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), 4200);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 1 / 0.0288);
  EXPECT_DOUBLE_EQ(Num("FDisplayQty"), 1);
  EXPECT_DOUBLE_EQ(Num("FDisplayWeight"), 0.0288);

  Row(kCup, 0, 2);
  Put("FCalTypeID", 2, 3);
  ApplyItemChosen(ctx(), bill(), 2);
  EXPECT_TRUE(Empty("FCalTypeID", 2));
  EXPECT_TRUE(Locked("FCalTypeID", 2));  // the unit locks came first
}

TEST_F(RowsTest, CalculationTypesAreRequiredOnWeightCalculatedRowsOnly) {
  OpenBill();
  Row(kCup, 0, 1);
  Row(kRebar, 1, 2);
  Row(kAngle, 0, 3);
  EXPECT_FALSE(CheckCalTypes(ctx(), bill()));
  EXPECT_THAT(Messages(), ::testing::ElementsAre("第3行计算方式不能为空。"));
  EXPECT_EQ(ui_->messages().back().title, "信息提示");
  EXPECT_EQ(form_->ActiveKey(), "FCalTypeID");
  EXPECT_EQ(form_->ActiveRow(), 3);

  SetDefaultCalType(ctx(), bill(), 3);
  EXPECT_TRUE(CheckCalTypes(ctx(), bill()));
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(RowsTest, DisplayedPriceIsThePriceOfTheRowsUnitForm) {
  OpenBill();
  for (long row : {1, 2, 3, 4, 5}) {
    Row(row == 5 ? kCup : kRebar, row <= 3 ? row : 0, row);
    Put("FBasePrice", row, 4200);
    Put("FPrice", row, 120.96);
    Put("FSecPrice", row, 4300);
    Put("FDisplayPrice", row, 1);
    RefreshDisplayPrice(ctx(), bill(), row);
  }
  // Types 1, 2, 3; a weight-calculated row without type is left alone; a plain item.
  for (auto [row, price] :
       std::vector<std::pair<long, double>>{{1, 4200}, {2, 120.96}, {3, 4300}, {4, 1}, {5, 120.96}})
    EXPECT_DOUBLE_EQ(Num("FDisplayPrice", row), price) << row;
}

TEST_F(RowsTest, SecondaryCoefficientAfterTheShownQuantitysAction) {
  OpenBill();
  Row(kRebar, 3);
  Put("FShowQty", 1, 100);
  Put("FSecQty", 1, 4);
  ApplyShowQtyAction(ctx(), bill(), 1);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 25);
  Put("FSecQty", 1, 0);
  Put("FShowQty", 1, 10);
  ApplyShowQtyAction(ctx(), bill(), 1);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 25);
}

}  // namespace
}  // namespace zov::testing
