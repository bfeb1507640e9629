// Batch numbers and shelf life on the demo account set: the look-ups in their modes, the stock and
// in-bill checks with their messages, expired goods, the date arithmetic across month ends and
// leap years, automatic batch numbers and the filling of a row from a pick.
#include "inventory/batches.h"

#include <gmock/gmock.h>

#include "calc/units.h"
#include "inventory/batch_fill.h"
#include "inventory/batch_numbers.h"
#include "inventory/shelf_life.h"
#include "inventory_fixture.h"
#include "services/profile.h"

namespace zov::testing {
namespace {

using namespace plugins::inventory;
using ::testing::ElementsAre;

long Count(const Ref<host::IRecordset>& rs) { return rs ? rs->RecordCount() : -1; }

std::string DateField(const Ref<host::IRecordset>& rs, const char* name) {
  return vb::Format(rs->Value(name), "YYYY-MM-DD");
}

Variant Day(int y, int m, int d) { return vb::DateFromParts({y, m, d}); }

class BatchesTest : public InventoryTest {};

TEST_F(BatchesTest, LookUpsReadTheirSourcesQuoteTheBatchAndLeaveOutTheEditedBill) {
  Open();
  const BatchSources stock{true, false, false}, documents{false, true, false},
      second{false, false, true};

  auto quoted = BuildBatchQuery(ctx(), kWine, "LOT'A1", 0, stock, 0);
  ASSERT_EQ(Count(quoted), 1);
  EXPECT_EQ(vb::CStr(quoted->Value("FBatchNO")), "LOT'A1");
  EXPECT_TRUE(quoted->Value("FKFDate").IsNull());
  // A quote in the batch ends nothing: the text is looked for as it stands.
  EXPECT_EQ(Count(BuildBatchQuery(ctx(), kWine, "X' OR '1'='1", 0, stock, 0)), 0);

  EXPECT_EQ(Count(BuildBatchQuery(ctx(), kYoghurt, "B20261120", 602, stock, 0)),
            1);  // one stock's balance

  // Only the delivered sales bill (FID 2) names this batch among the documents.
  auto named = BuildBatchQuery(ctx(), kYoghurt, "B20261120", 0, documents, 0);
  ASSERT_EQ(Count(named), 1);
  EXPECT_EQ(DateField(named, "FPeriodDate"), "2026-12-11");
  EXPECT_EQ(Count(BuildBatchQuery(ctx(), kYoghurt, "B20261120", 0, documents, 2)), 0);

  // The second form finds the batch of a component row by its own date columns.
  auto component = BuildBatchQuery(ctx(), kYoghurt, "B20261201", 0, second, 0);
  ASSERT_EQ(Count(component), 1);
  EXPECT_EQ(DateField(component, "FKFDate"), "2026-12-01");
  EXPECT_EQ(vb::CLng(component->Value("FKFPeriod")), 21);

  EXPECT_FALSE(BuildBatchQuery(ctx(), kYoghurt, "B20261201", 0, BatchSources{}, 0));

  // The batches of one stock.
  EXPECT_EQ(Count(BuildStockBatchQuery(ctx(), kYoghurt, "", kMainStock, stock, 0)), 3);
  EXPECT_EQ(Count(BuildStockBatchQuery(ctx(), kYoghurt, "", 602, stock, 0)), 1);
  EXPECT_EQ(Count(BuildStockBatchQuery(ctx(), kWine, "LOT'A1", kMainStock, stock, 0)), 1);
  auto wine = BuildStockBatchQuery(ctx(), kWine, "", kMainStock, documents, 0);
  ASSERT_EQ(Count(wine), 1);
  EXPECT_EQ(vb::CStr(wine->Value("FBatchNO")), "W2025A");
  EXPECT_EQ(Count(BuildStockBatchQuery(ctx(), kWine, "", 602, second, 0)), 0);
}

TEST_F(BatchesTest, WhileTheOpeningStageIsOpenTheOpeningBalancesAndAuditedBillsAnswer) {
  Open({.bag = {{"InitClosed", false}}});
  const BatchSources both{true, true, false};
  auto opening = BuildBatchQuery(ctx(), kYoghurt, "B20261025", 0, both, 0);
  ASSERT_EQ(Count(opening), 1);
  EXPECT_EQ(DateField(opening, "FPeriodDate"), "2026-11-15");  // the opening balance's FdestDate
  EXPECT_EQ(Count(BuildBatchQuery(ctx(), kYoghurt, "B20261120", 0, both, 0)),
            1);  // the audited delivery
  EXPECT_EQ(Count(BuildBatchQuery(ctx(), kYoghurt, "B20261120", 0, both, 2)), 0);
  EXPECT_EQ(Count(BuildStockBatchQuery(ctx(), kYoghurt, "", kMainStock, both, 0)), 1);

  // The paint's batch is held under attribute 54 only in the opening balances: a row of attribute
  // 55 is compared with that record (and differs), a row of 54 agrees.
  RowBatch paint{kPaint, "Q20261015", 55, "", "", 0};
  StockBatch found;
  BatchError error = BatchError::None;
  bool auxCompared = false;
  AuxCompare aux = AuxCompare::Undecided;
  EXPECT_FALSE(
      CheckBatchInStock(ctx(), paint, {false, true, false}, 0, aux, found, error, auxCompared));
  EXPECT_EQ(aux, AuxCompare::Compare);
  EXPECT_TRUE(auxCompared);
  EXPECT_EQ(error, BatchError::Differs);
  EXPECT_EQ(found.auxPropId, 54);
  EXPECT_EQ(found.auxNumber, "W01");
  paint.auxPropId = 54;
  EXPECT_TRUE(
      CheckBatchInStock(ctx(), paint, {false, true, false}, 0, aux, found, error, auxCompared));
}

TEST_F(BatchesTest, ARowMustAgreeWithTheBatchTheStockHolds) {
  Open();
  const BatchSources save{true, true, false};
  StockBatch found;
  BatchError error = BatchError::Differs;
  bool auxCompared = false;
  AuxCompare aux = AuxCompare::Undecided;
  EXPECT_TRUE(CheckBatchInStock(ctx(),
                                {kYoghurt, "B20261120", 0, Day(2026, 11, 20), "2026-12-11", 21},
                                save, 0, aux, found, error, auxCompared));
  EXPECT_EQ(error, BatchError::None);
  EXPECT_TRUE(auxCompared);  // the yoghurt's tracking method 0 keeps batches per attribute

  // Dates the stock does not have compare as 1900-01-01, like empty row dates.
  AuxCompare wineAux = AuxCompare::Undecided;
  EXPECT_TRUE(CheckBatchInStock(ctx(), {kWine, "LOT'A1", 0, "", "", 0}, save, 0, wineAux, found,
                                error, auxCompared));
  EXPECT_EQ(wineAux, AuxCompare::Ignore);  // batch-specific costing keeps no batch per attribute
  EXPECT_FALSE(auxCompared);
  EXPECT_FALSE(CheckBatchInStock(ctx(), {kWine, "LOT'A1", 0, "1900-01-02", "", 0}, save, 0, wineAux,
                                 found, error, auxCompared));
}

TEST_F(BatchesTest, TheSaveCheckClearsAnUnknownBatchAndTakesTheStockValuesWhereCellsAreOpen) {
  Open();
  const BatchSources save{true, true, false};
  Put("FItemID", 1, kWine);
  Put("FBatchNo", 1, "LOT'A1");
  Put("FItemID", 2, kYoghurt);
  Put("FBatchNo", 2, "B20261120");
  Put("FKFDate", 2, "2026-11-19");
  Put("FPeriodDate", 2, "2026-12-11");
  Put("FKFPeriod", 2, 20);
  plugins::calc::LockField(bill(), "FKFPeriod", true, 2);
  Put("FItemID", 3, kYoghurt);
  Put("FBatchNo", 3, "NOPE");

  AuxCompare aux = AuxCompare::Undecided;
  EXPECT_TRUE(CheckRowBatchInStock(ctx(), bill(), 1, save, 0, aux));
  aux = AuxCompare::Undecided;
  EXPECT_FALSE(CheckRowBatchInStock(ctx(), bill(), 2, save, 0, aux));
  EXPECT_EQ(DateOf("FKFDate", 2), "2026-11-20");
  EXPECT_DOUBLE_EQ(Num("FKFPeriod", 2), 20);  // locked: stays
  EXPECT_EQ(form_->ActiveKey(), "FBatchNo");
  EXPECT_EQ(form_->ActiveRow(), 2);
  aux = AuxCompare::Ignore;
  EXPECT_FALSE(CheckRowBatchInStock(ctx(), bill(), 3, save, 0, aux));
  EXPECT_EQ(Text("FBatchNo", 3), "");
  Put("FKFDate", 2, "2026-11-18");
  EXPECT_FALSE(CheckRowBatchInStock(ctx(), bill(), 2, save, 0, aux));

  EXPECT_THAT(
      Messages(),
      ElementsAre(
          "批号为B20261120的第2行商品,"
          "与库存中同批号商品的辅助属性、生产日期、保质期或有效期至不同。",
          "第3行商品的批号NOPE在系统中不存在，请重新输入",
          "批号为B20261120的第2行商品,与库存中同批号商品的生产日期、保质期或有效期至不同。"));
  EXPECT_EQ(ui_->messages().front().title, "信息提示");
  EXPECT_EQ(ui_->messages().front().buttons, 64);
}

TEST_F(BatchesTest, RowsOfOneItemAndBatchMustAgree) {
  Open();
  Put("FItemID", 1, kYoghurt);
  Put("FBatchNo", 1, "B1");
  Put("FKFDate", 1, "2026-11-20");
  EXPECT_FALSE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided));  // one row

  Put("FItemID", 2, kWine);  // another item with the same batch
  Put("FBatchNo", 2, "B1");
  EXPECT_FALSE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided));

  Put("FItemID", 3, kYoghurt);
  Put("FBatchNo", 3, "B1");
  Put("FKFDate", 3, "2026-11-21");
  long row = 0;
  EXPECT_TRUE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided, &row));
  EXPECT_EQ(row, 3);
  Put("FKFDate", 3, "2026-11-20");
  EXPECT_FALSE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided));

  // Attributes count where they are compared.
  Put("FAuxPropID", 3, 51);
  EXPECT_TRUE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Compare));
  EXPECT_FALSE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Ignore));
  Put("FAuxPropID", 3, 0);

  // Two disagreeing groups: the one whose first line comes first is reported, though the other
  // group's disagreeing line comes earlier.
  Put("FItemID", 4, kWine);
  Put("FBatchNo", 4, "B1");
  Put("FKFDate", 4, "2026-11-22");
  Put("FItemID", 5, kYoghurt);
  Put("FBatchNo", 5, "B1");
  Put("FKFDate", 5, "2026-11-23");
  EXPECT_TRUE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided, &row));
  EXPECT_EQ(row, 5);

  EXPECT_EQ(BatchConsistencyMessage(true),
            "同一批号商品的辅助属性、生产日期、保质期、有效期至必须完全一致。");
  EXPECT_EQ(BatchConsistencyMessage(false, false),
            "同一批号商品的生产日期、保质期、有效期至必须完全一致");
}

TEST_F(BatchesTest, TwoRowsOfOneBatchWithOtherDatesReportTheSecondRow) {
  Open();
  for (long row : {1, 2}) {
    Put("FItemID", row, kYoghurt);
    Put("FBatchNo", row, "B1");
  }
  Put("FKFDate", 1, "2026-11-20");
  Put("FKFDate", 2, "2026-11-21");
  long row = 0;
  EXPECT_TRUE(CheckBatchConsistency(ctx(), bill(), AuxCompare::Undecided, &row));
  EXPECT_EQ(row, 2);
}

TEST_F(BatchesTest, ExpiredGoodsAreRefusedOnlyOnConsignmentBillsWithTheSwitchOn) {
  Open({.setup = {"update t_SystemProfile set FValue='1' where FCategory='IC' and "
                  "FKey='IsPeriodDateExpireNotSale'"}});
  Put("FDate", -1, "2026-12-01");
  Put("FBillTypeID", -1, 3010);
  Put("FItemID", 1, kYoghurt);
  Put("FPeriodDate", 1, "2026-11-30");
  std::string message;
  EXPECT_FALSE(CheckRowExpiry(ctx(), bill(), 1, "", message));
  EXPECT_EQ(message, "第1行有效期至已经超过期限，不能销售。");

  Put("FPeriodDate", 1, "2026-12-01");  // expires on the bill date: still for sale
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "", message));
  EXPECT_EQ(message, "");
  // Judged on another day, the same row is past its date.
  EXPECT_FALSE(CheckRowExpiry(ctx(), bill(), 1, "2026-12-02", message));
  EXPECT_EQ(message, "第1行有效期至已经超过期限，不能销售。");
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "2026-11-15", message));
  Put("FPeriodDate", 1, "");
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "", message));

  Put("FPeriodDate", 1, "2026-11-30");
  Put("FItemID", 1, kWine);  // not shelf-life managed
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "", message));
  Put("FItemID", 1, kYoghurt);
  Put("FBillTypeID", -1, 3001);
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "", message));

  Put("FBillTypeID", -1, 3010);
  Run("update t_SystemProfile set FValue='0' where FCategory='IC' and "
      "FKey='IsPeriodDateExpireNotSale'");
  plugins::services::ProfileObject(ctx())->Refresh();
  EXPECT_TRUE(CheckRowExpiry(ctx(), bill(), 1, "", message));
}

TEST_F(BatchesTest, ShelfLifeArithmeticCrossesMonthEndsAndLeapYears) {
  Open();
  Put("FKFDate", 1, "2028-02-01");
  Put("FPeriodDate", 1, "2028-03-01");
  Put("FKFPeriod", 1, 0);
  RecalcShelfLife(bill(), "fperioddate", 1, kPlainShelfLife);  // the key in any case
  EXPECT_DOUBLE_EQ(Num("FKFPeriod"), 29);

  Put("FKFPeriod", 1, 30);
  Put("FPeriodDate", 1, "2026-03-01");
  RecalcShelfLife(bill(), bill().GetFieldInfoByKey("FPeriodDate"), 1, kPlainShelfLife);
  EXPECT_EQ(DateOf("FKFDate"), "2026-01-30");

  Put("FKFDate", 1, "2026-01-31");
  RecalcShelfLife(bill(), "FKFDate", 1, kPlainShelfLife);
  EXPECT_EQ(DateOf("FPeriodDate"), "2026-03-02");

  Put("FKFDate", 1, "2027-03-01");
  Put("FKFPeriod", 1, 365);
  RecalcShelfLife(bill(), "FKFPeriod", 1, kPlainShelfLife);
  EXPECT_EQ(DateOf("FPeriodDate"), "2028-02-29");

  RecalcShelfLife(bill(), "FKFPeriod", 0, kPlainShelfLife);  // no row: nothing
  RecalcShelfLife(bill(), "FBatchNo", 1, kPlainShelfLife);
  EXPECT_EQ(DateOf("FPeriodDate"), "2028-02-29");

  // The assembled item's and the component's keys.
  Put("FProDate", 1, "2026-12-31");
  Put("FKFPeriod", 1, 60);
  RecalcShelfLife(bill(), "FProDate", 1, kAssemblyShelfLife);
  EXPECT_EQ(DateOf("FExpDate"), "2027-03-01");
  Put("FDate1", 1, "2024-02-28");
  Put("FDate2", 1, "2024-03-01");
  RecalcShelfLife(bill(), "FDate2", 1, kComponentShelfLife);
  EXPECT_DOUBLE_EQ(Num("FInteger"), 2);
}

TEST_F(BatchesTest, ShelfLifeChecksNameTheRowAndFocusTheCell) {
  Open();
  std::string message;
  Put("FItemID", 2, kYoghurt);
  EXPECT_FALSE(CheckShelfLife(bill(), 2, message, kPlainShelfLife));
  EXPECT_EQ(message, "第2行商品未输入生产日期！");
  EXPECT_EQ(form_->ActiveKey(), "FKFDate");

  Put("FKFDate", 2, "2026-11-20");
  Put("FKFPeriod", 2, -1);
  EXPECT_FALSE(CheckShelfLife(bill(), 2, message, kPlainShelfLife));
  EXPECT_EQ(message, "第2行商品的保质期必须大于等于0！");
  EXPECT_EQ(form_->ActiveKey(), "FKFPeriod");

  Put("FKFPeriod", 2, 21);
  EXPECT_FALSE(CheckShelfLife(bill(), 2, message, kPlainShelfLife));
  EXPECT_EQ(message, "第2行商品未输入有效期至！");

  Put("FPeriodDate", 2, "2026-12-10");
  EXPECT_FALSE(CheckShelfLife(bill(), 2, message, kPlainShelfLife));
  EXPECT_EQ(message, "第2行商品不符合生产日期加保质期等于有效期至！");
  Put("FPeriodDate", 2, "2026-12-11");
  EXPECT_TRUE(CheckShelfLife(bill(), 2, message, kPlainShelfLife));
  EXPECT_EQ(message, "");

  Put("FProDate", 1, "2026-12-01");
  Put("FExpDate", 1, "2026-12-05");
  Put("FKFPeriod", 1, 3);
  EXPECT_FALSE(CheckShelfLife(bill(), 1, message, kAssemblyShelfLife));
  EXPECT_EQ(message, "组装件商品不符合生产日期加保质期等于有效期至！");
  EXPECT_FALSE(CheckShelfLife(bill(), 1, message, kComponentShelfLife));
  EXPECT_EQ(message, "子件第1行商品未输入生产日期！");
}

TEST(BatchNumberRule, TheNextNumberFollowsTheLargestInUseAndNeverPassesTheWidth) {
  EXPECT_EQ(CalcNextBatchNo("P", 3, 5, {"P007"}), "P008");
  EXPECT_EQ(CalcNextBatchNo("P", 3, 5, {"P999"}), "P999");
  EXPECT_EQ(CalcNextBatchNo("P", 3, 5, {"P003", "PX12", "Q010", "P", "P01A"}), "P006");
  EXPECT_EQ(CalcNextBatchNo("P", 3, 12, {"P007"}), "P013");
  EXPECT_EQ(CalcNextBatchNo("MB", 5, 0, {}), "MB00001");
}

TEST_F(BatchesTest, AutomaticBatchNumbersCountTheRowsOfTheBill) {
  Open();
  Put("FDate", -1, "2026-12-05");
  Put("FItemID", 1, kBread);
  GenerateBatchNo(ctx(), bill(), 1);
  EXPECT_EQ(Text("FBatchNo", 1), "MB006");  // rule MB, 3 digits, current serial 5
  Put("FItemID", 2, kBread);
  GenerateBatchNo(ctx(), bill(), 2);
  EXPECT_EQ(Text("FBatchNo", 2), "MB007");

  Put("FItemID", 3, kYoghurt);  // numbered by hand
  GenerateBatchNo(ctx(), bill(), 3);
  EXPECT_EQ(Text("FBatchNo", 3), "");
  Put("FItemID", 4, kBread);
  plugins::calc::LockField(bill(), "FBatchNo", true, 4);
  GenerateBatchNo(ctx(), bill(), 4);
  EXPECT_EQ(Text("FBatchNo", 4), "");
  EXPECT_TRUE(Messages().empty());

  Put("FDate", -1, "");
  Put("FItemID", 5, kBread);
  GenerateBatchNo(ctx(), bill(), 5);
  EXPECT_THAT(Messages(), ElementsAre("取商品批号出错，请检查批号规则"));
}

TEST_F(BatchesTest, APickedBatchFillsTheRowUnlessTheUserTypedTheQuantity) {
  Open();
  Put("FItemID", 1, kYoghurt);
  Put("FCoefficient", 1, 1);
  PickedStock pick;
  pick.batchNo = "B20261201";
  pick.stockNumber = "CK02";
  pick.kfDate = Day(2026, 12, 1);
  pick.periodDate = "2026-12-22";
  pick.qty = 5;
  pick.secQty = 0.5;
  pick.secCoefficient = 10;
  pick.costPrice = 4.123;
  FillFromBatchPick(ctx(), bill(), 1, pick, "FBatchNo", true);
  EXPECT_EQ(Text("FBatchNo"), "B20261201");
  EXPECT_EQ(Id("FSCStockID"), 602);
  EXPECT_EQ(DateOf("FKFDate"), "2026-12-01");
  EXPECT_EQ(DateOf("FPeriodDate"), "2026-12-22");
  EXPECT_DOUBLE_EQ(Num("FKFPeriod"), 21);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 5);
  EXPECT_DOUBLE_EQ(Num("FQty"), 5);  // the quantity's own action ran
  EXPECT_DOUBLE_EQ(Num("FSecQty"), 0.5);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 10);
  EXPECT_DOUBLE_EQ(Num("FCostAmount"), 20.62);  // 20.615 to 2 decimals, half away from zero

  pick.qty = 9;
  FillFromBatchPick(ctx(), bill(), 1, pick, "FShowQty", true);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 5);
  Run("update t_SystemProfile set FValue='1' where FCategory='IC' and FKey='AllowWriteQty'");
  FillFromBatchPick(ctx(), bill(), 1, pick, "FBatchNo", true);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 5);
  Run("update t_SystemProfile set FValue='0' where FCategory='IC' and FKey='AllowWriteQty'");
  plugins::calc::LockField(bill(), "FsecCoefficient", true, 1);
  pick.secCoefficient = 12;
  FillFromBatchPick(ctx(), bill(), 1, pick, "FBatchNo", false);
  EXPECT_DOUBLE_EQ(Num("FShowQty"), 9);
  EXPECT_DOUBLE_EQ(Num("FsecCoefficient"), 10);

  // A production date and a shelf life give the expiry; the attribute goes in by its number.
  Put("FItemID", 2, kPaint);
  Put("FKFPeriod", 2, 30);
  PickedStock paint;
  paint.batchNo = "Q20261015";
  paint.auxNumber = "Y01";
  paint.kfDate = "2026-01-31";
  FillFromBatchPick(ctx(), bill(), 2, paint, "FShowQty", true);
  EXPECT_EQ(Id("FAuxPropID", 2), 55);
  EXPECT_EQ(DateOf("FPeriodDate", 2), "2026-03-02");
}

TEST_F(BatchesTest, APickedStockRecordWithoutDatesTakesThemFromTheInventory) {
  Open();
  Put("FItemID", 1, kBread);
  Put("FBatchNo", 1, "MB005");
  PickedStock pick;
  pick.stockNumber = "CK01";
  pick.datesPicked = false;
  pick.qty = 2;
  pick.costPrice = 4;
  FillFromStockPick(ctx(), bill(), 1, pick, "FSCStockID");
  EXPECT_EQ(Text("FBatchNo"), "MB005");
  EXPECT_EQ(Id("FSCStockID"), kMainStock);
  EXPECT_EQ(DateOf("FKFDate"), "2026-12-04");
  EXPECT_EQ(DateOf("FPeriodDate"), "2026-12-07");
  EXPECT_DOUBLE_EQ(Num("FKFPeriod"), 3);
  EXPECT_DOUBLE_EQ(Num("FCostAmount"), 8);
}

}  // namespace
}  // namespace zov::testing
