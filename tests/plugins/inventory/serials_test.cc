// Serial numbers on the demo account set: loading a stored bill's serial numbers and locking the
// rows a later bill used, the count check with its profile switch by bill class and kind, and the
// sales bill's checks on stored bills.
#include "inventory/serials.h"

#include <gmock/gmock.h>

#include "inventory_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::inventory;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kSwitchOn =
    "update t_SystemProfile set FValue='1' where FCategory='IC' and FKey='CKSerialNum'";

class SerialsTest : public InventoryTest {
 protected:
  // A laptop row with `qty` base units and the serial-number text `serials`.
  void LaptopRow(long row, double qty, const char* serials) {
    Put("FIndex2", row, row);
    Put("FItemID", row, kLaptop);
    Put("FBaseProperty3", row, "笔记本电脑");
    Put("FSCStockID", row, kMainStock);
    Put("FDCStockID", row, 602);
    Put("FQty", row, qty);
    Put("FSerialNo", row, serials);
  }
};

TEST_F(SerialsTest, EachBaseUnitNeedsItsSerialNumber) {
  Open();
  Put("FBillTypeID", -1, 3002);  // a kind the switch does not govern: always checked
  LaptopRow(1, 2, "SN-1,,0|SN-2,,0");
  LaptopRow(2, 0, "");
  Put("FItemID", 3, kCup);  // not serial-managed
  Put("FQty", 3, 4);
  EXPECT_FALSE(CheckSerialCounts(ctx(), bill()));
  EXPECT_THAT(ListRows(), IsEmpty());

  LaptopRow(4, 2, "SN-3,note,0");
  EXPECT_TRUE(CheckSerialCounts(ctx(), bill()));
  EXPECT_THAT(ListRows(), ElementsAre(ElementsAre("4", "I008", "笔记本电脑", "", "CK01", "",
                                                  "序列号个数与数量不符")));
  EXPECT_EQ(CountSerials(""), 0);
  EXPECT_EQ(CountSerials("a,,0|b,,1|c,,0"), 3);
}

TEST_F(SerialsTest, TheProfileSwitchGovernsTheSalesKindsItNames) {
  Open();
  Put("FBillTypeID", -1, 3001);
  LaptopRow(1, 1, "");
  EXPECT_FALSE(SerialCountsApply(ctx(), bill()));
  EXPECT_FALSE(CheckSerialCounts(ctx(), bill()));
  Run(kSwitchOn);
  EXPECT_TRUE(SerialCountsApply(ctx(), bill()));
  EXPECT_TRUE(CheckSerialCounts(ctx(), bill()));
}

TEST_F(SerialsTest, TheRowByRowCheckReportsOnlyItsRow) {
  Open();
  LaptopRow(1, 2, "SN-1,,0|SN-2,,0");
  LaptopRow(2, 1, "");
  LaptopRow(3, 1, "");
  EXPECT_TRUE(CheckRowSerialCount(ctx(), bill(), 1));
  EXPECT_THAT(ListRows(), IsEmpty());
  EXPECT_FALSE(CheckRowSerialCount(ctx(), bill(), 3));
  EXPECT_THAT(ListRows(), ElementsAre(ElementsAre("3", "I008", "笔记本电脑", "", "CK01", "",
                                                  "序列号个数与数量不符")));
}

TEST_F(SerialsTest, PurchaseBillsOfOtherKindsAreCheckedWithTheSwitchOff) {
  Open({.billType = 1020002});
  Put("FBillTypeID", -1, 2012);
  LaptopRow(1, 1, "");
  EXPECT_FALSE(CheckSerialCounts(ctx(), bill()));
  Put("FBillTypeID", -1, 2030);
  EXPECT_TRUE(CheckSerialCounts(ctx(), bill()));
  // A purchase bill reports the destination stock.
  EXPECT_EQ(ListRows().at(0).at(4), "CK02");
}

TEST_F(SerialsTest, AStoredBillShowsItsSerialNumbersAndLocksTheRowsLaterBillsUsed) {
  Open({.billType = 1020002}, 1);  // GHD000001: row 2 five laptops, row 3 the sample
  LoadSerials(ctx(), bill());
  EXPECT_EQ(Text("FSerialNo", 1), "");  // the air conditioner has none
  const std::string five = Text("FSerialNo", 2);
  EXPECT_EQ(CountSerials(five), 5);
  EXPECT_THAT(five, HasSubstr("SN-LT-0002,,1"));  // sold by XSD000001
  EXPECT_THAT(five, HasSubstr("SN-LT-0003,,1"));  // on XSD000002
  EXPECT_THAT(five, HasSubstr("SN-LT-0004,,0"));
  EXPECT_EQ(Text("FSerialNo", 3), "SN-LT-0001,样机,1");

  for (const char* key : {"FItemID", "FShowQty", "FSecCoefficient", "FSecQty", "FDCStockID"}) {
    EXPECT_FALSE(Locked(key, 1)) << key;
    EXPECT_TRUE(Locked(key, 2)) << key;
    EXPECT_TRUE(Locked(key, 3)) << key;
  }
  EXPECT_FALSE(Locked("FSCStockID", 2));  // the purchase bill's rows enter the destination stock
  LockUsedSerialRows(ctx(), bill(), false);
  EXPECT_FALSE(Locked("FItemID", 3));

  // The assembly bills read only the serial numbers going in, or only those going out.
  EXPECT_EQ(CountSerials(GetSerialList(ctx(), 1040005, 1, 2)), 5);
  EXPECT_EQ(GetSerialList(ctx(), 1040006, 1, 2), "");
  EXPECT_EQ(GetSerialList(ctx(), 1020002, 1, 9), "");
}

TEST_F(SerialsTest, TheSalesBillChecksStoredBillsMadeFromOnlineOrders) {
  Open({}, 12);  // XSD000006: from an online order, a laptop without serial numbers
  EXPECT_FALSE(checkBillSNErr(ctx(), bill()));  // kind 3001 with the switch off
  EXPECT_FALSE(checkXSDBillSNErr(ctx(), 12));
  Run(kSwitchOn);
  EXPECT_TRUE(checkBillSNErr(ctx(), bill()));
  EXPECT_TRUE(checkXSDBillSNErr(ctx(), 12));
  EXPECT_EQ(ListRows().back(),
            std::vector<std::string>({"1", "I008", "笔记本电脑", "14英寸 i5/16G/512G", "主仓库", "",
                                      "序列号个数与数量不符"}));
  EXPECT_FALSE(checkXSDBillSNErr(ctx(), 3));  // its serial number is there
  EXPECT_FALSE(checkXSDBillSNErr(ctx(), 0));

  EXPECT_TRUE(checkXSDBillBatchNoErr(ctx(), 12));
  EXPECT_FALSE(checkXSDBillBatchNoErr(ctx(), 2));
  EXPECT_FALSE(checkXSDBillBatchNoErr(ctx(), 0));
  EXPECT_THAT(Messages(), ElementsAre("第2行商品需要录入批号"));
}

TEST_F(SerialsTest, BillsNotMadeFromOnlineOrdersAreLeftToTheOtherChecks) {
  Open({.setup = {kSwitchOn}}, 3);  // XSD000002, its laptop row without serial numbers loaded
  EXPECT_FALSE(checkBillSNErr(ctx(), bill()));
  EXPECT_TRUE(CheckSerialCounts(ctx(), bill()));
}

}  // namespace
}  // namespace zov::testing
