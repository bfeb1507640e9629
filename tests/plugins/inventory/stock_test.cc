// Stock availability on the demo account set: booked quantities, stock on hand with its rounding,
// the stock rights of a user, the weight form, the stock text, the default stock of a row and the
// item cost.
#include "inventory/stock.h"

#include <gmock/gmock.h>

#include "inventory_fixture.h"

namespace zov::testing {
namespace {

using namespace plugins::inventory;
using ::testing::StartsWith;

class StockTest : public InventoryTest {
 protected:
  std::string Text(long item, long stock, long aux, std::string_view batch, bool excludeVirtual,
                   long mode = 1, long unit = 0) {
    total_ = -1;
    return GetStockText(ctx(), item, stock, aux, batch, excludeVirtual, total_, parts_, mode, unit);
  }
  using InventoryTest::Text;

  double total_ = 0;
  std::vector<StockQty> parts_;
};

TEST_F(StockTest, BookedQuantitiesCountAuditedOrdersAndNeverGoBelowZero) {
  Open({.setup = {"INSERT INTO t_XS_OrderEntry (FEntryID, FID, FIndex, FItemID, FCoefficient, "
                  "FShowQty, FSendQty) "
                  "VALUES (100, 1, 3, 114, 1, 5, 8)"}});
  double purchase = -1, sales = -1;
  EXPECT_TRUE(GetBookedQty(ctx(), 3, kCup, 0, purchase, sales));
  EXPECT_DOUBLE_EQ(purchase, 200);  // CGDD000002; CGDD000003 is not audited
  EXPECT_DOUBLE_EQ(sales, 60);      // XSDD000001: 100 ordered, 40 delivered
  GetBookedQty(ctx(), 1, kShirt, 51, purchase, sales);
  EXPECT_DOUBLE_EQ(purchase, 50);
  EXPECT_DOUBLE_EQ(sales, 0);
  GetBookedQty(ctx(), 2, kWater, 0, purchase, sales);
  EXPECT_DOUBLE_EQ(purchase, 0);
  EXPECT_DOUBLE_EQ(sales, 480);                     // 20 箱 of 24
  GetBookedQty(ctx(), 2, 114, 0, purchase, sales);  // delivered more than ordered
  EXPECT_DOUBLE_EQ(sales, 0);
}

TEST_F(StockTest, ABatchIsCountedInOneStock) {
  Open();
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kYoghurt, kMainStock, 0, "B20261120"), 150);
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kYoghurt, 602, 0, "B20261120"), 40);
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kYoghurt, 602, 0, "B20261201"), 0);
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kWine, kMainStock, 0, "LOT'A1"), 36);
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kPaint, kMainStock, 55, "Q20261015"), 30);
  EXPECT_DOUBLE_EQ(GetBatchQtyInStock(ctx(), kPaint, kMainStock, 0, "Q20261015"), 80);
}

TEST_F(StockTest, StockOnHandIsRoundedToTheQuantityDigits) {
  Open({.setup = {"update t_cc_inventory set FQty=1.005 where FItemID=112",
                  "update t_cc_inventory set FQty=2.675 where FItemID=113"}});
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kCup, 0, "", 1, 0), 490);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kShirt, 51, "", 1, 0), 100);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kYoghurt, 0, "B20261120", 1, 0), 190);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kWine, 0, "LOT'A1", 1, 0), 36);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kShirt, 53, "", 1, 0), 0);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), 999, 0, "", 1, 0), 0);
  // Two digits, rounded as VB's Round rounds: 1.005 is a shade below, 2.675 exactly half.
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kPen, 0, "", 1, 0), 1.0);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), 113, 0, "", 1, 0), 2.68);
  Run("update t_SystemProfile set FValue='3' where FCategory='IC' and FKey='QuantityDigitCount'");
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kPen, 0, "", 1, 0), 1.005);
}

TEST_F(StockTest, AUserWithoutTheRightOfAStockDoesNotSeeIt) {
  Open({.user = "sunq"});  // stock data authorisation on; CK04 lists users 1 and 3 only
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kCup, 0, "", 1, 0), 440);
  EXPECT_EQ(Text(kCup, 0, 0, "", false),
            "[商品不锈钢保温杯]总库存440,[主仓库]库存300,[北京仓]库存120,[赠品仓]库存20");
}

TEST_F(StockTest, TheStockTextNamesTheItemItsPartsAndTheStocks) {
  Open();
  EXPECT_EQ(Text(kWater, 0, 0, "", false),
            "[商品矿泉水]总库存3000(125箱),[主仓库]库存2400,[北京仓]库存600");
  EXPECT_DOUBLE_EQ(total_, 3000);
  ASSERT_EQ(parts_.size(), 2u);
  EXPECT_EQ(parts_[1].stockNumber, "CK02");
  EXPECT_DOUBLE_EQ(parts_[1].qty, 600);

  EXPECT_EQ(Text(kCup, 0, 0, "", true),
            "[商品不锈钢保温杯]总库存490,[主仓库]库存300,[北京仓]库存120,[门店仓]库存50");
  EXPECT_EQ(Text(kCup, kMainStock, 0, "", true), "[商品不锈钢保温杯]总库存490,[主仓库]库存300");
  ASSERT_EQ(parts_.size(), 1u);
  EXPECT_EQ(parts_[0].stockNumber, "CK01");
  EXPECT_EQ(Text(kCup, kGiftStock, 0, "", true), "[商品不锈钢保温杯]总库存490,[赠品仓]库存0");

  EXPECT_EQ(Text(kPaint, 0, 54, "Q20261015", false),
            "[商品乳胶漆,批号Q20261015,辅助属性象牙白]总库存50,[主仓库]库存50");
  EXPECT_EQ(Text(kWine, kMainStock, 0, "LOT'A1", false),
            "[商品干红葡萄酒,批号LOT'A1]总库存36(6箱),[主仓库]库存36");
}

TEST_F(StockTest, WeightCalculatedItemsAreCountedInTheKindTheRowShows) {
  Open({.bag = {{"IndustryType", 1}}});
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kRebar, 0, "", 1, 18), 57.6);
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kRebar, 0, "", 2, 18), 2000);  // 57.6 t in 支 of 0.0288 t
  EXPECT_DOUBLE_EQ(GetStockQty(ctx(), kRebar, 0, "", 3, 18), 58.1);
  EXPECT_THAT(Text(kRebar, kMainStock, 0, "", false, 2, 18),
              StartsWith("[商品螺纹钢]总数量库存2000("));
  EXPECT_THAT(Text(kRebar, kMainStock, 0, "", false, 3, 18),
              ::testing::EndsWith(",[主仓库]实际重量库存58.1"));
  EXPECT_THAT(Text(kRebar, 0, 0, "", false, 1, 18), StartsWith("[商品螺纹钢]总理论重量库存57.6("));
  EXPECT_EQ(Text(kCup, 0, 0, "", true, 2, 11),
            "[商品不锈钢保温杯]总库存490,[主仓库]库存300,[北京仓]库存120,[门店仓]库存50");
}

TEST_F(StockTest, NewRowsTakeTheItemsStockThenThePreviousRowsThenTheFirstUsable) {
  Open();
  Put("FItemID", 1, kWater);
  FillDefaultStock(ctx(), bill(), 1, "FSCStockID");
  EXPECT_EQ(Id("FSCStockID", 1), kMainStock);  // the first stock the user may use
  Put("FSCStockID", 1, 602);
  Put("FItemID", 2, kWater);
  FillDefaultStock(ctx(), bill(), 2, "FSCStockID");
  EXPECT_EQ(Id("FSCStockID", 2), 602);
  Put("FItemID", 3, 116);  // the shopping bag lives in the gift stock
  FillDefaultStock(ctx(), bill(), 3, "FSCStockID");
  EXPECT_EQ(Id("FSCStockID", 3), kGiftStock);

  Run("update t_SystemProfile set FValue='0' where FCategory='IC' and "
      "FKey='IsUsePrevStockForBill'");
  Put("FItemID", 4, kCup);
  FillDefaultStock(ctx(), bill(), 4, "FSCStockID");
  EXPECT_EQ(Text("FSCStockID", 4), "");
}

TEST_F(StockTest, TheItemCostComesFromTheCostComponent) {
  Open();
  EXPECT_DOUBLE_EQ(GetItemCost(ctx(), kPen, 0, ""), 8);
  EXPECT_DOUBLE_EQ(GetItemCost80(ctx(), kWine, 0, "W2025A"), 60);
  EXPECT_DOUBLE_EQ(GetItemCost80(ctx(), kWine, 0, "LOT'A1"), 70);
  EXPECT_DOUBLE_EQ(GetItemCost(ctx(), 999, 0, ""), 0);
}

}  // namespace
}  // namespace zov::testing
