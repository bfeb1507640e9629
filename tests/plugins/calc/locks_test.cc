// The cell locks of a row per bill type: calculation types, the two discount-field families, the
// bills with fixed prices, virtual stocks, units and the secondary coefficient.
#include "calc/locks.h"

#include <gmock/gmock.h>

#include "calc/units.h"
#include "calc_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::calc;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LocksTest : public CalcTest {
 protected:
  // Which of `keys` are locked in `row`.
  std::vector<std::string> LockedOf(std::initializer_list<const char*> keys, long row = 1) {
    std::vector<std::string> locked;
    for (const char* key : keys)
      if (Locked(key, row)) locked.push_back(key);
    return locked;
  }
};

TEST_F(LocksTest, TypeOneOnTheSalesBill) {
  OpenBill({.billType = 1030002});
  Row(kRebar, 1);
  Put("FShowQty", 1, 100);
  Put("FQty", 1, 2.88);
  ApplyCalTypeLocks(ctx(), bill(), 1, 1);
  EXPECT_THAT(LockedOf({"FQty", "FDisplayWeight", "FDisplayQty", "FBasePrice", "FBasePriceDiscount",
                        "FBaseTaxPrice", "FDisplayPrice", "FSecCoefficient", "FDiscountPrice",
                        "FShowUnitID", "FShowQty", "FPrice", "FSecQty", "FsecCoefficient",
                        "FSecPrice", "FSecTaxPrice", "FPriceDiscount", "FTaxPrice"}),
              ElementsAre("FShowUnitID", "FShowQty", "FPrice", "FSecQty", "FsecCoefficient",
                          "FSecPrice", "FSecTaxPrice", "FPriceDiscount", "FTaxPrice"));
  EXPECT_DOUBLE_EQ(Num("FDisplayQty"), 100);
  EXPECT_DOUBLE_EQ(Num("FDisplayWeight"), 2.88);
}

TEST_F(LocksTest, DiscountFamilyAndFixedPricesFollowTheBillType) {
  OpenBill(
      {.billType =
           1020001});  // discount fields ending in DiscountPrice; type 2 locks the secondary one
  Row(kRebar, 2);
  ApplyCalTypeLocks(ctx(), bill(), 1, 2);
  EXPECT_THAT(LockedOf({"FBaseDiscountPrice", "FDiscountPrice", "FSecDiscountPrice",
                        "FBasePriceDiscount", "FPrice"}),
              ElementsAre("FBaseDiscountPrice", "FSecDiscountPrice"));
  OpenBill({.billType = 1030001});  // the other family leaves its secondary discount price alone
  Row(kRebar, 2);
  ApplyCalTypeLocks(ctx(), bill(), 1, 2);
  EXPECT_THAT(
      LockedOf({"FBasePriceDiscount", "FPriceDiscount", "FSecPriceDiscount", "FDisplayWeight"}),
      ElementsAre("FBasePriceDiscount", "FDisplayWeight"));
  OpenBill({.billType = 1040002});  // fixed prices, no discount family
  Row(kRebar, 3);
  ApplyCalTypeLocks(ctx(), bill(), 1, 3);
  EXPECT_THAT(LockedOf({"FSecPrice", "FDisplayPrice", "FBasePriceDiscount", "FSecQty"}),
              ElementsAre("FSecPrice", "FDisplayPrice"));
}

TEST_F(LocksTest, CalculationTypeIsFixedOnRowsFromBillsThatFixedIt) {
  OpenBill({.billType = 1030002});
  Row(kRebar, 1);
  for (const auto& [source, locked] :
       std::vector<std::pair<const char*, bool>>{{"1030003", true},
                                                 {"1030002", true},
                                                 {"1030001", false},
                                                 {"", false},
                                                 {"1020003", false}}) {
    form_->SetFieldValue("FClassID_SRC", source, -1);
    ApplyCalTypeLocks(ctx(), bill(), 1, 1);
    EXPECT_EQ(Locked("FCalTypeID"), locked) << "source " << source;
  }
  OpenBill({.billType = 1040003});
  Row(kRebar, 1);
  LockField(bill(), "FCalTypeID", true, 1);
  ApplyCalTypeLocks(ctx(), bill(), 1, 1);
  EXPECT_TRUE(Locked("FCalTypeID"));  // left as it was
}

TEST_F(LocksTest, PriceLocksByStockAndType) {
  const std::initializer_list<const char*> prices = {"FBasePrice", "FPrice", "FSecPrice",
                                                     "FDisplayPrice", "FTranspotationCharges"};
  OpenBill({.billType = 1020002});
  Row(kCup);
  Put("FDCStockID", 1, kGiftStock);
  Put("FDisplayPrice", 1, 12.5);
  ApplyStockPriceLocks(ctx(), bill(), 1);
  EXPECT_EQ(LockedOf(prices).size(), 5u);
  EXPECT_TRUE(Empty("FDisplayPrice"));
  Put("FDCStockID", 1, kMainStock);
  ApplyStockPriceLocks(ctx(), bill(), 1);
  EXPECT_THAT(LockedOf(prices), ElementsAre("FBasePrice", "FSecPrice"));

  // The sales bill prices a gift-stock row as any other; only its freight share is closed.
  OpenBill({.billType = 1030002});
  Row(kCup);
  Put("FSCStockID", 1, kGiftStock);
  ApplyStockPriceLocks(ctx(), bill(), 1);
  EXPECT_THAT(LockedOf(prices), ElementsAre("FBasePrice", "FSecPrice", "FTranspotationCharges"));

  OpenBill({.billType = 1040006});
  Row(kRebar);
  ApplyPriceLocks(ctx(), bill(), 1, kRebar, 0, 2);
  EXPECT_THAT(LockedOf(prices), ElementsAre("FBasePrice", "FPrice", "FSecPrice", "FDisplayPrice"));
  OpenBill({.billType = 1020003});
  Row(kRebar);
  ApplyPriceLocks(ctx(), bill(), 1, kRebar, kMainStock, 3);
  EXPECT_THAT(LockedOf(prices), ElementsAre("FBasePrice", "FPrice"));

  OpenBill({.billType = 1020002, .industry = 0});  // no price locks outside industry type 1
  Row(kCup);
  Put("FDCStockID", 1, kGiftStock);
  ApplyStockPriceLocks(ctx(), bill(), 1);
  EXPECT_THAT(LockedOf(prices), IsEmpty());
}

TEST_F(LocksTest, UnitLocksOfWeightCalculatedAndPlainItems) {
  OpenBill({.billType = 1030002});
  Row(kRebar);
  Put("FDisplayWeight", 1, 3);
  ApplyUnitLocks(ctx(), bill(), 1, kRebar);
  EXPECT_EQ(form_->Display("FShowUnitID", 1), "支");  // the unit of barcode entry 2
  // No secondary unit on the row: its secondary fields and the weight are closed, the weight
  // emptied.
  EXPECT_THAT(LockedOf({"FSecCoefficient", "FCalTypeID", "FSecQty", "FSecPrice", "FDisplayWeight"}),
              ElementsAre("FSecCoefficient", "FSecQty", "FSecPrice", "FDisplayWeight"));
  EXPECT_TRUE(Empty("FDisplayWeight"));
  Put("FSecUnitID", 1, 20);
  ApplyUnitLocks(ctx(), bill(), 1, kRebar);
  EXPECT_THAT(LockedOf({"FSecQty", "FSecCoefficient", "FSecPrice", "FDisplayWeight"}),
              ElementsAre("FSecPrice"));

  Row(kCup, 0, 2);
  ApplyUnitLocks(ctx(), bill(), 2, kCup);
  EXPECT_THAT(
      LockedOf({"FCalTypeID", "FBasePrice", "FQty", "FShowUnitID", "FShowQty", "FPrice"}, 2),
      ElementsAre("FCalTypeID", "FBasePrice", "FQty"));

  OpenBill({.billType = 1040005});  // the secondary unit told by the item's base property
  Row(kCup);
  Put("FSecUnitID", 1, 20);
  ApplyUnitLocks(ctx(), bill(), 1, kCup);
  EXPECT_THAT(LockedOf({"FDisplayPrice", "FSecQty", "FDisplayWeight"}),
              ElementsAre("FDisplayPrice", "FSecQty", "FDisplayWeight"));
}

TEST_F(LocksTest, RowLocksWalkEveryRow) {
  OpenBill({.billType = 1030002});
  Row(kRebar, 3, 1);
  Row(kCup, 0, 2);
  ApplyRowLocks(ctx(), bill());
  EXPECT_THAT(LockedOf({"FQty", "FSecQty", "FShowQty"}, 1), ElementsAre("FQty"));
  EXPECT_THAT(LockedOf({"FQty", "FCalTypeID", "FShowQty"}, 2), ElementsAre("FQty", "FCalTypeID"));
  LockColumns(bill(), "FItemID, FShowUnitID");
  form_->AddRow(1);
  EXPECT_FALSE(form_->IsEditable("FShowUnitID", 3));
  EXPECT_TRUE(form_->IsEditable("FShowQty", 3));
}

TEST_F(LocksTest, SecondaryCoefficientLockFollowsTheItemsConversion) {
  OpenBill();
  Row(kRice, 0, 1);   // fixed conversion 1078
  Row(kRebar, 0, 2);  // floating conversion with a secondary unit
  Row(kCup, 0, 3);    // no secondary unit
  form_->AddRow(1);   // no item: skipped
  ApplySecCoefficientLock(ctx(), bill(), 0);
  EXPECT_THAT(LockedOf({"FSecCoefficient"}, 1), ElementsAre("FSecCoefficient"));
  EXPECT_THAT(LockedOf({"FSecCoefficient"}, 2), IsEmpty());
  EXPECT_THAT(LockedOf({"FSecCoefficient"}, 3), ElementsAre("FSecCoefficient"));
  form_->SetFieldValue("FStatus", 1, -1);  // an audited bill keeps its locks
  ApplySecCoefficientLock(ctx(), bill(), 1);
  LockField(bill(), "FSecCoefficient", true, 2);
  ApplySecCoefficientLock(ctx(), bill(), 2);
  EXPECT_TRUE(Locked("FSecCoefficient", 2));
}

}  // namespace
}  // namespace zov::testing
