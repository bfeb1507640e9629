// The unit and item look-ups against the demo account set, and the three ways a cell is written.
#include "calc/units.h"

#include <gmock/gmock.h>

#include "calc_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::calc;

class UnitsTest : public CalcTest {
 protected:
  void SetUp() override { OpenBill(); }
};

TEST_F(UnitsTest, ItemAndStockLookUps) {
  EXPECT_FALSE(IsGCItem(ctx(), kCup));
  EXPECT_TRUE(IsGCItem(ctx(), kRebar));
  EXPECT_TRUE(IsGCItem(ctx(), kAngle));  // FIsGC Null reads as set
  EXPECT_FALSE(IsGCItem(ctx(), 9999));   // no such item
  EXPECT_TRUE(IsVirtualStock(ctx(), kGiftStock));
  EXPECT_FALSE(IsVirtualStock(ctx(), kMainStock));
  EXPECT_DOUBLE_EQ(GetUnitCoefficient(ctx(), kWater, 14), 24);
  EXPECT_EQ(GetBarcodeUnit(ctx(), kRebar, 2), 18);
  EXPECT_EQ(GetBarcodeUnit(ctx(), kCup, 2), 0);
  EXPECT_EQ(GetItemSecCoefficient(ctx(), kRice, 3), 0.04 / 3);  // per row unit, not cut to decimals
  EXPECT_EQ(GetItemSecCoefficient(ctx(), kRice, 0), 0);
}

TEST_F(UnitsTest, DefaultUnitSourcesInOrder) {
  RowUnit unit;
  ASSERT_TRUE(GetDefaultUnit(ctx(), kC001, kCup, "FCustID", unit));  // the item's own default unit
  EXPECT_EQ(unit.id, 11);
  EXPECT_EQ(unit.name, "个");
  ASSERT_TRUE(
      GetDefaultUnit(ctx(), kC001, kWater, "FCustID", unit));  // the customer's last price unit
  EXPECT_EQ(unit.id, 14);
  EXPECT_DOUBLE_EQ(unit.coefficient, 24);
  ASSERT_TRUE(
      GetDefaultUnit(ctx(), 0, kWater, "FCustID", unit));  // partner 0: straight to the main unit
  EXPECT_EQ(unit.id, 12);
  ASSERT_TRUE(GetDefaultUnit(ctx(), 0, kWater, "FOther", unit));  // the partner-free last price
  EXPECT_EQ(unit.id, 13);
  EXPECT_FALSE(GetDefaultUnit(ctx(), kC001, 9999, "FCustID", unit));
}

TEST_F(UnitsTest, WriteModesMarkAndRecomputeAsAsked) {
  Row(kCup);
  Put("FCoefficient", 1, 1);
  Put("FPrice", 1, 10);
  WriteField(bill(), "FShowQty", 3.0, 1, WriteMode::kSet);
  EXPECT_DOUBLE_EQ(Num("FQty"), 0);  // nothing recomputed
  WriteField(bill(), "FShowQty", 4.0, 1, WriteMode::kActUnmarked);
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount"), 40);
  EXPECT_FALSE(Modified("FShowQty"));
  WriteField(bill(), "FShowQty", 5.0, 1, WriteMode::kAct);
  EXPECT_DOUBLE_EQ(Num("FAmount"), 50);
  EXPECT_TRUE(Modified("FShowQty"));
  // A field the bill lacks is left alone, however it is written or locked.
  WriteField(bill(), "FNoSuchField", 1.0, 1, WriteMode::kAct);
  LockField(bill(), "FNoSuchField", true, 1);
}

}  // namespace
}  // namespace zov::testing
