// The conversion engine: a displayed field edited on rows of each calculation type, on the in- and
// out-price bill and on the component grid; failing divisions that must leave their targets, and
// values that must reach the host unrounded.
#include "calc/recalc.h"

#include <gmock/gmock.h>
#include <rapidcheck/gtest.h>

#include <cmath>

#include "calc_fixture.h"

namespace zov::testing {
namespace {

using plugins::calc::RecalcDisplayedField;

class RecalcTest : public CalcTest {
 protected:
  // A weight-calculated row of 100 支 (0.0288 t each) of calculation type `calType`.
  void RebarRow(long calType) {
    Row(kRebar, calType);
    Put("FCoefficient", 1, 0.0288);
    Put("FShowQty", 1, 100);
    Put("FQty", 1, 2.88);
  }
  void Edit(const char* key, double value, long row = 1) {
    Put(key, row, value);
    RecalcDisplayedField(ctx(), bill(), row, key);
  }
};

TEST_F(RecalcTest, DisplayedPriceGoesToThePriceOfTheCalculationType) {
  OpenBill();
  RebarRow(1);
  Edit("FDisplayPrice", 4200);
  EXPECT_DOUBLE_EQ(Num("FBasePrice"), 4200);
  EXPECT_TRUE(Modified("FBasePrice"));
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), 4200);
  Put("FCalTypeID", 1, 2);
  Edit("FDisplayPrice", 120.96);
  EXPECT_DOUBLE_EQ(Num("FBasePrice"), 120.96 / 0.0288);   // by the host's action on FPrice
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), Num("FBasePrice"));  // read after that action
  Put("FCalTypeID", 1, 3);
  Edit("FDisplayPrice", 4300);
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), 4300);
  EXPECT_DOUBLE_EQ(Num("FPrice"), 120.96);
  Put("FCalTypeID", 1, "");  // a type the engine does not know: nothing is written
  Edit("FDisplayPrice", 1);
  EXPECT_DOUBLE_EQ(Num("FSecPrice"), 4300);

  // A plain item: the shown-unit price with the host's actions, then the secondary price.
  Row(kCup, 0, 2);
  Put("FCoefficient", 2, 1);
  Put("FShowQty", 2, 3);
  Put("FTaxRate", 2, 13);
  Put("FSecCoefficient", 2, 2);
  Edit("fdisplayprice", 12.5, 2);  // the key is compared ignoring case
  EXPECT_DOUBLE_EQ(Num("FInTaxAmount", 2), 42.375);
  EXPECT_DOUBLE_EQ(Num("FSecPrice", 2), 25);
}

TEST_F(RecalcTest, WeightOfBaseTermTypes) {
  OpenBill();
  RebarRow(1);
  Put("FBasePrice", 1, 4200);
  Edit("FDisplayWeight", 5.76);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 5.76 / 0.0288);
  EXPECT_DOUBLE_EQ(Num("FDisplayQty"), Num("FShowQty"));
  EXPECT_EQ(Num("FSecCoefficient"), 1 / 0.0288);  // the item's 1 per row unit, unrounded
  EXPECT_DOUBLE_EQ(Num("FAmount"), 5.76 * 4200);  // the host's action on FQty ran
  Put("FCoefficient", 1, 3);
  Edit("FDisplayWeight", 1);
  EXPECT_EQ(Num("FShowQty"), 1.0 / 3);  // a third stays a third

  // Coefficient 0: the quantity is set, the shown quantity stays, the coefficient becomes 0.
  Put("FCoefficient", 1, 0);
  Put("FShowQty", 1, 7);
  Edit("FDisplayWeight", 2);
  EXPECT_DOUBLE_EQ(Num("FQty"), 2);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 7);
  EXPECT_DOUBLE_EQ(Num("FDisplayQty"), 7);
  EXPECT_DOUBLE_EQ(Num("FSecCoefficient"), 0);
}

TEST_F(RecalcTest, WeightOfSecondaryTermTypeAndOfPlainItems) {
  OpenBill();
  RebarRow(3);
  Put("FSecPrice", 1, 4300);
  Edit("FDisplayWeight", 2.9);
  EXPECT_DOUBLE_EQ(Num("FQty"), 2.88);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 100 / 2.9);
  EXPECT_DOUBLE_EQ(Num("FPrice"), 2.9 * 4300 / 100);
  EXPECT_FALSE(Modified("FPrice"));  // written with action, unmarked
  EXPECT_DOUBLE_EQ(Num("FAmount"), 12470);
  Put("FShowQty", 1, 0);  // the price division fails: the price stays
  Edit("FDisplayWeight", 3);
  EXPECT_DOUBLE_EQ(Num("FSecQty"), 3);
  EXPECT_DOUBLE_EQ(Num("FPrice"), 124.7);

  Row(kRice, 0, 2);
  Put("FCoefficient", 2, 1);
  Put("FSecCoefficient", 2, 25);
  Edit("FDisplayWeight", 4, 2);
  EXPECT_DOUBLE_EQ(Num("FSecQty", 2), 4);
  EXPECT_DOUBLE_EQ(Num("FQty", 2), 100);  // FShowQty was written with action
  EXPECT_DOUBLE_EQ(Num("FDisplayQty", 2), 100);
  Edit("FDisplayQty", 150, 2);
  EXPECT_DOUBLE_EQ(Num("FQty", 2), 150);
  EXPECT_DOUBLE_EQ(Num("FDisplayWeight", 2), 4);
}

TEST_F(RecalcTest, QuantityOfEachType) {
  OpenBill();
  RebarRow(2);
  Edit("FDisplayQty", 200);
  EXPECT_DOUBLE_EQ(Num("FDisplayWeight"), 200 * 0.0288);
  Put("FCalTypeID", 1, 3);
  Put("FSecQty", 1, 5);
  Put("FsecCoefficient", 1, 40);
  Put("FSecPrice", 1, 4000);
  Edit("FDisplayQty", 250);
  EXPECT_DOUBLE_EQ(Num("FSecCoefficient"), 50);  // the price-side key, from shown / secondary
  EXPECT_DOUBLE_EQ(Num("FPrice"), 100);          // FSecPrice / FsecCoefficient, the quantity side
  EXPECT_TRUE(Modified("FQty"));
  Put("FSecQty", 1, 0);  // no secondary quantity: the coefficient stays, the quantity follows
  Edit("FDisplayQty", 10);
  EXPECT_DOUBLE_EQ(Num("FSecCoefficient"), 50);
  EXPECT_DOUBLE_EQ(Num("FQty"), 10 * 0.0288);
}

TEST_F(RecalcTest, InAndOutPriceBill) {
  OpenBill({.billType = 1040007});
  RebarRow(3);
  Put("FInAmount", 1, 1000);
  Put("FSecOutPrice", 1, 7);
  Edit("FDisplayWeight", 2.5);
  EXPECT_DOUBLE_EQ(Num("FDisplayInPrice"), 400);
  EXPECT_DOUBLE_EQ(Num("FSecInPrice"), 400);
  EXPECT_DOUBLE_EQ(Num("FSecOutPrice"), 7);  // no out-amount: the out-price stays
  EXPECT_FALSE(Modified("FQty"));
  Put("FInPrice", 1, 3);
  Put("FsecCoefficient", 1, 10);
  Edit("FDisplayQty", 40);
  EXPECT_DOUBLE_EQ(Num("FDisplayInPrice"), 30);
  EXPECT_DOUBLE_EQ(Num("FPrice"), 0);  // the ordinary price is not this bill's

  Row(kCup, 0, 2);  // a plain item takes the shown-unit in-price only
  Put("FShowQty", 2, 5);
  Edit("FDisplayInPrice", 8, 2);
  EXPECT_DOUBLE_EQ(Num("FInAmount", 2), 40);
  EXPECT_DOUBLE_EQ(Num("FSecInPrice", 2), 0);
  Row(kRebar, 1, 3);
  Edit("FDisplayOutPrice", 9, 3);
  EXPECT_DOUBLE_EQ(Num("FSecOutPrice", 3), 9);
}

TEST_F(RecalcTest, ComponentGridUsesItsOwnKeys) {
  OpenBill({.billType = 1040005, .secondGrid = true});
  for (const auto& [key, value] :
       std::vector<std::pair<const char*, double>>{{"FCldItemID", kRebar},
                                                   {"FCalTypeid1", 3},
                                                   {"FShowQty1", 100},
                                                   {"FCoefficient1", 0.0288},
                                                   {"FSecPrice1", 4300},
                                                   {"FDisplayWeight1", 2.9}})
    Put(key, 1, value);
  RecalcDisplayedField(ctx(), bill(), 1, "FDisplayWeight1");
  EXPECT_DOUBLE_EQ(Num("FQty2"), 2.9);
  EXPECT_DOUBLE_EQ(Num("FDecimal"), 100 / 2.9);
  EXPECT_DOUBLE_EQ(Num("FAmount1"), 12470);
  EXPECT_DOUBLE_EQ(Num("FSecQty"), 0);  // the first grid's row is untouched
}

// Whatever the row holds, the engine neither raises nor writes a value that is not a number.
class RecalcProperty : public CalcTest {
 protected:
  void SetUp() override {}
};

RC_GTEST_FIXTURE_PROP(RecalcProperty, NeverRaisesForEmptyZeroOrNegativeCells, ()) {
  OpenBill({.billType = *rc::gen::element(1030002L, 1040007L)});
  Row(*rc::gen::element(0L, kCup, kRice, kRebar, kAngle), *rc::gen::inRange(0L, 5L));
  const char* keys[] = {"FCoefficient",    "FShowQty",        "FQty",        "FSecQty",
                        "FSecCoefficient", "FsecCoefficient", "FDisplayQty", "FDisplayWeight",
                        "FBasePrice",      "FPrice",          "FSecPrice",   "FDisplayPrice",
                        "FInAmount",       "FOutAmount",      "FInPrice",    "FOutPrice",
                        "FDisplayInPrice", "FDisplayOutPrice"};
  for (const char* key : keys) {
    const int kind = *rc::gen::inRange(0, 4);
    if (kind == 0)
      Put(key, 1, "");
    else
      Put(key, 1, kind == 1 ? 0 : (kind == 2 ? -1 : 1) * *rc::gen::inRange(1, 100000) / 100.0);
  }
  RecalcDisplayedField(ctx(), bill(), 1,
                       *rc::gen::element("FDisplayPrice", "FDisplayWeight", "FDisplayQty",
                                         "FDisplayInPrice", "FDisplayOutPrice"));
  for (const char* key : keys) {
    const Variant v = form_->Value(key, 1);
    const bool number = v.IsString() || std::isfinite(vb::CDbl(v));
    RC_ASSERT(number);
  }
  RC_ASSERT(session_->journal().empty());
}

}  // namespace
}  // namespace zov::testing
