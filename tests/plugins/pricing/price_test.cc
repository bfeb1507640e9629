// The price look-up on the demo account set: running promotions, the price profile in its order
// and without rows, level columns by customer type, cost plus profit, last and latest prices,
// agreements and the customers' own item codes.
#include <gmock/gmock.h>

#include <nlohmann/json.hpp>

#include "bill/bill_form.h"
#include "frame/plugin_context.h"
#include "host_fixture.h"
#include "pricing/client_codes.h"
#include "pricing/sale_price.h"
#include "zov/vb/convert.h"

namespace zov::testing {
namespace {

using namespace plugins::pricing;
using plugins::PluginContext;
using vb::Ref;
using vb::Variant;

constexpr long kCup = 101, kWater = 102, kWine = 107, kPen = 112, kPaper = 113, kToner = 114,
               kDetergent = 115;
constexpr long kPiece = 11, kBottle = 12, kPack = 13, kBox = 14, kCase = 21, kReam = 22;
constexpr long kC001 = 1001, kC002 = 1002, kC003 = 1003;

class PriceTest : public HostTest {
 protected:
  void SetUp() override {
    using nlohmann::json;
    auto base = [](const char* key, const char* table) {
      return json{{"key", key}, {"type", "base"}, {"base", {{"table", table}}}};
    };
    auto text = [](const char* key) { return json{{"key", key}, {"type", "text"}}; };
    const json tmpl = {
        {"classTypeId", 1030002},
        {"title", "test"},
        {"tables", {{"head", "t_cc_stockbill"}, {"entry", "t_cc_stockbillentry"}}},
        {"head", json::array({base("FCustID", "t_Organization")})},
        {"grids",
         json::array({{{"fields", json::array({base("FItemID", "t_ICItem"),
                                               base("FShowUnitID", "t_MeasureUnit"),
                                               text("FClientItemID"), base("FItemID01", "t_ICItem"),
                                               base("FShowUnitID01", "t_MeasureUnit"),
                                               text("FClientItemID01")})}}})}};
    auto set = std::make_shared<sim::TemplateSet>();
    (*set)[1030002] = sim::ParseTemplate(tmpl.dump(), "price test template");
    session_ = Open("admin", set);
    form_ = sim::BillForm::New(set->at(1030002), *session_);
    form_->NewBill();
    ctx_ = PluginContext::For(session_->Host());
  }
  void TearDown() override {
    for (const auto& e : session_->journal().entries())
      ADD_FAILURE() << e.where << ": " << e.error << "\n" << e.text;
  }

  // The price and the discount rate the look-up leaves (it starts at 55 to see whether it is set).
  std::pair<double, double> Price(long item, long unit, long customer, bool tax = false) {
    double rate = 55;
    const double price = GetSalePrice(*ctx_, item, unit, customer, 0, "", rate, tax);
    return {price, rate};
  }
  void Run(const std::string& sql) { session_->Run(sql); }
  std::string Cell(const char* key, const char* part, long row = 1) {
    return vb::CStr(form_->GetDataFldbyKey(key, row)->Item(part));
  }

  std::unique_ptr<sim::Session> session_;
  Ref<sim::BillForm> form_;
  Ref<PluginContext> ctx_;
};

using Result = std::pair<double, double>;

TEST_F(PriceTest, TheNewestRunningPromotionOpenToTheCustomerWins) {
  EXPECT_EQ(Price(kDetergent, kBottle, kC002), Result(25, 55));  // CX000003 is C002's own
  EXPECT_EQ(Price(kDetergent, kBottle, kC001), Result(27, 55));  // CX000002 is newer than CX000001
  EXPECT_EQ(Price(kDetergent, kBottle, 0), Result(27, 55));
  EXPECT_EQ(Price(kDetergent, kBottle, kC002, true), Result(25, 55));
  // Past its dates the promotion gives way to the profile.
  session_->SetClock(vb::DateFromParts({2027, 1, 5, 10, 0, 0}));
  EXPECT_EQ(Price(kDetergent, kBottle, kC001), Result(30, 0));
}

TEST_F(PriceTest, TheProfileIsWalkedInItsOrder) {
  EXPECT_EQ(Price(kWater, kBox, kC001), Result(30, 55));     // 2: the agreement
  EXPECT_EQ(Price(kCup, kPiece, kC002), Result(11, 0));      // 3: FXSPrice3 of the third type
  EXPECT_EQ(Price(kCup, kPiece, kC001), Result(12.5, 0));    // 3 has 0 in FXSPrice1: 4
  EXPECT_EQ(Price(kPen, kCase, 0), Result(10, 0));           // 5: 1.25 x cost 8
  EXPECT_EQ(Price(kPaper, kReam, kC001), Result(25, 95));    // 6: the last price with its rate
  EXPECT_EQ(Price(kToner, kPiece, kC001), Result(88, 100));  // 7: the latest price
  EXPECT_EQ(Price(kToner, kPack, kC001), Result(0, 0));      // nothing anywhere
  // Tax-inclusive prices from the same sources.
  EXPECT_EQ(Price(kToner, kPiece, kC001, true), Result(99.44, 100));
  EXPECT_EQ(Price(kPaper, kReam, kC001, true), Result(28.25, 95));
  double rate = 0;
  EXPECT_DOUBLE_EQ(GetSaleTaxPrice(*ctx_, kCup, kPiece, kC003, 0, "", rate), 12);  // FXSPrice2

  Run("update t_XS_PriceProfile set FIsUsed=0 where FPriceID=2");
  EXPECT_EQ(Price(kWater, kBox, kC001), Result(32, 0));
  Run("update t_XS_PriceProfile set FSortIndex=0 where FPriceID=6");
  Run("update t_LatestPrice set FPrice=11.8, FDiscountRate=90 where FID=7");
  EXPECT_EQ(Price(kCup, kPiece, kC001), Result(11.8, 90));  // 6 before 3 and 4
}

TEST_F(PriceTest, AnEmptyLevelColumnFallsToTheNextSourceAndAnEmptyProfileToTheFixedOrder) {
  Run("update t_ItemPrice set FXSPrice3=0 where FItemID=101 and FUnitID=11");
  EXPECT_EQ(Price(kCup, kPiece, kC002), Result(12.5, 0));
  Run("delete from t_XS_PriceProfile");
  EXPECT_EQ(Price(kCup, kPiece, kC002), Result(12.5, 0));
  Run("update t_ItemPrice set FXSPrice3=11 where FItemID=101 and FUnitID=11");
  EXPECT_EQ(Price(kCup, kPiece, kC002), Result(11, 0));
  EXPECT_EQ(Price(kPen, kCase, kC001), Result(10, 0));
  EXPECT_EQ(Price(kPaper, kReam, kC001), Result(25, 95));
  EXPECT_EQ(Price(kToner, kPiece, kC001), Result(0, 0));  // the latest price is no source here
  EXPECT_DOUBLE_EQ(CalcCostPlusPrice(0.25, 8), 10);
}

TEST_F(PriceTest, AgreementsGiveThePriceAndTheCustomersCodeOfAUnit) {
  EXPECT_DOUBLE_EQ(GetAgreementPrice(*ctx_, kWater, kBottle, kC001), 1.4);
  EXPECT_DOUBLE_EQ(GetAgreementPrice(*ctx_, kWater, kPack, kC001), 0);
  EXPECT_DOUBLE_EQ(GetAgreementPrice(*ctx_, kWater, kBox, kC003), 0);

  form_->SetFieldValue("FCustID", kC001, -1);
  form_->SetFieldValue("FItemID", kWater, 1);
  form_->SetFieldValue("FShowUnitID", kBox, 1);
  form_->SetFieldValue("FClientItemID", "OLD", 1);
  GetClientItemCode(*ctx_, *form_, 1);
  EXPECT_EQ(Cell("FClientItemID", "FFLD"), "KH-SW-X");
  EXPECT_EQ(Cell("FClientItemID", "FDSP"), "KH-SW-X");
  form_->SetFieldValue("FShowUnitID", kPack, 1);
  GetClientItemCode(*ctx_, *form_, 1);
  EXPECT_EQ(Cell("FClientItemID", "FFLD"), "");

  form_->SetFieldValue("FItemID01", kWater, 1);
  form_->SetFieldValue("FShowUnitID01", kBottle, 1);
  GetClientItemCode(*ctx_, *form_, 1, kClientCodeKeys01);
  EXPECT_EQ(Cell("FClientItemID01", "FFLD"), "KH-SW-P");
}

TEST_F(PriceTest, ACustomersCodeFindsTheItemAndTheUnit) {
  form_->SetFieldValue("FCustID", kC003, -1);
  form_->SetFieldValue("FClientItemID", " HZ-WINE-06", 1);
  EXPECT_TRUE(FindItemByClientCode(*ctx_, *form_, 1));
  EXPECT_EQ(vb::CLng(form_->Value("FItemID", 1)), kWine);
  EXPECT_EQ(form_->Display("FItemID", 1), "干红葡萄酒");
  EXPECT_EQ(vb::CLng(form_->Value("FShowUnitID", 1)), kBox);

  form_->SetFieldValue("FCustID", kC001, -1);  // another customer's codes are not this one's
  EXPECT_FALSE(FindItemByClientCode(*ctx_, *form_, 1));
  form_->SetFieldValue("FClientItemID", "", 1);
  EXPECT_FALSE(FindItemByClientCode(*ctx_, *form_, 1));

  EXPECT_EQ(GetUnitBarcode(*ctx_, kWater, kBox), "6921001023000");
  EXPECT_EQ(GetUnitBarcode(*ctx_, kWater, 99), "");
}

}  // namespace
}  // namespace zov::testing
