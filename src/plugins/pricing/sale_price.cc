#include "pricing/sale_price.h"

#include <optional>
#include <vector>

#include "calc/units.h"
#include "frame/resume.h"
#include "inventory/stock.h"
#include "services/database.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::pricing {

namespace {

std::string Id(long id) { return std::to_string(id); }

double NumberOf(const Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return 0;
  return v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
}

// The statements of one price family: the plain prices, or the tax-inclusive ones.
struct PriceFamily {
  std::string_view basePrices;  // "##FXSPrice##" stands for the level column
  std::string_view lastPrice;
  std::string_view latestPrice;
};

constexpr PriceFamily kSalePrices{
    "Select ##FXSPrice## p.FXSPrice,p.FXSLatestPrice,t.FProfitRate "
    "From t_ICItem t right Join t_ItemPrice p ON p.FItemID=t.FItemID Where t.FItemID=",
    "Select FPrice,FDiscountRate From t_LatestPrice Where FItemID=",
    "Select a.FXSLatestPrice "
    "From t_icitem b left join T_ItemPrice a on a.fitemid=b.fitemid  Where a.FItemID="};
constexpr PriceFamily kTaxPrices{
    "Select ##FXSPrice## p.FXSPrice,p.FXSIncludeTaxLastPrice,t.FProfitRate "
    "From t_ICItem t right Join t_ItemPrice p ON p.FItemID=t.FItemID Where t.FItemID=",
    "Select FIncludeTaxPrice,FDiscountRate From t_LatestPrice Where FItemID=",
    "Select a.FXSIncludeTaxLastPrice "
    "From t_icitem b left join T_ItemPrice a on a.fitemid=b.fitemid  Where a.FItemID="};

// What one look-up asks for.
struct Request {
  long item, unit, customer, stock;
  std::string_view batch;
};

// The special price of the running promotions: the newest promotion bill (highest FID) among
// those open to the customer wins; 0 when none.
double PromotionPrice(PluginContext& ctx, const Request& r) {
  return ResumeOr<double>(0, [&] {
    const vb::Date now = ctx.host().Now();
    const std::string today = vb::Format(now, "YYYY-MM-DD");
    const std::string time = vb::Format(now, "Short Time");
    const std::vector<std::string> lines = {
        "  Set NoCount On ",
        "If Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp end",
        "CREATE TABLE #tmp (FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )",
        "insert into #tmp Select l.FID,p.FXSPrice",
        "from t_LS_ItemPrice p ",
        "left join t_LS_CX l on l.FBillNo=p.FXSBillNo",
        "left join T_LS_CX_Customer c on c.FBillNo=p.FXSBillNo",
        "Where p.FItemID=" + Id(r.item) + " and p.FBranchShop=0 and p.FUnitID=" + Id(r.unit),
        "and (p.FXSBeginDate<='" + today + "' and p.FXSEndDate>='" + today +
            "') and (p.FXSBeginTime<='" + time + "' and p.FXSEndTime>='" + time + "')",
        r.customer != 0 ? "and (c.FItemID is null or c.FItemID =" + Id(r.customer) + ")"
                        : "and c.FItemID is null",
        "select top 1 FXSPrice from #tmp order by FID desc"};
    auto rs = services::OpenRecordset(ctx, vb::Join(lines, vb::vbCrLf));
    return rs && !rs->Eof() ? NumberOf(rs->Value(0L)) : 0.0;
  });
}

// The customer type's level column and the item's base prices, read once per look-up.
class BasePrices {
 public:
  BasePrices(PluginContext& ctx, const Request& r, const PriceFamily& family)
      : ctx_(ctx), r_(r), family_(family) {}

  // The level price of the customer's type; 0 when the customer has no type with a column.
  double Level() { return Read().level; }
  double Standard() { return Read().standard; }
  // The cost-plus price; 0 without profit rate or unit cost.
  double CostPlus() {
    const double rate = Read().profitRate;
    if (rate <= 0) return 0;
    const double unitCost = calc::GetUnitCoefficient(ctx_, r_.item, r_.unit) *
                            inventory::GetItemCost(ctx_, r_.item, r_.stock, r_.batch);
    return unitCost > 0 ? CalcCostPlusPrice(rate, unitCost) : 0;
  }

 private:
  struct Prices {
    double level = 0, standard = 0, profitRate = 0;
  };

  // The 1-based position of the customer's type among the types by number; 0 when none.
  long LevelColumn() {
    if (r_.customer == 0) return 0;
    return ResumeOr<long>(0, [&]() -> long {
      const double type = vb::Val(services::FirstValue(
          ctx_, "Select FTypeID From t_Organization Where FItemID=" + Id(r_.customer)));
      if (type <= 0) return 0;
      auto rs = services::OpenRecordset(
          ctx_, "Select FItemID,FAgioRatio From t_ClientType Order By FNumber");
      long position = 0;
      for (; rs && !rs->Eof(); rs->MoveNext()) {
        ++position;
        if (NumberOf(rs->Value("FItemID")) == type) return position;
      }
      return 0;
    });
  }

  const Prices& Read() {
    if (prices_) return *prices_;
    prices_.emplace();
    Resume([&] {
      const long column = LevelColumn();
      const std::string sql = vb::Replace(family_.basePrices, "##FXSPrice##",
                                          column > 0 ? "p.FXSPrice" + Id(column) + "," : "") +
                              Id(r_.item) + " and p.FUnitID=" + Id(r_.unit);
      auto rs = services::OpenRecordset(ctx_, sql);
      if (!rs || rs->Eof()) return;
      if (column > 0) prices_->level = NumberOf(rs->Value(0L));
      prices_->standard = NumberOf(rs->Value("FXSPrice"));
      prices_->profitRate = NumberOf(rs->Value(rs->Fields()->Count() - 1));
    });
    return *prices_;
  }

  PluginContext& ctx_;
  const Request& r_;
  const PriceFamily& family_;
  std::optional<Prices> prices_;
};

// Source 6: the customer's last price in the unit, with its discount rate.
double LastPrice(PluginContext& ctx, const Request& r, const PriceFamily& family,
                 double& discountRate) {
  return ResumeOr<double>(0, [&] {
    auto rs = services::OpenRecordset(ctx, std::string(family.lastPrice) + Id(r.item) +
                                               " And FCustID=" + Id(r.customer) +
                                               " and FUnitID=" + Id(r.unit));
    if (!rs || rs->Eof()) return 0.0;
    const double price = NumberOf(rs->Value(0L));
    if (price > 0) discountRate = NumberOf(rs->Value("FDiscountRate"));
    return price;
  });
}

// Source 7: the item's latest sales price in the unit.
double LatestPrice(PluginContext& ctx, const Request& r, const PriceFamily& family) {
  return ResumeOr<double>(0, [&] {
    return vb::Val(services::FirstValue(
        ctx, std::string(family.latestPrice) + Id(r.item) + " And a.FUnitID=" + Id(r.unit)));
  });
}

double LookUp(PluginContext& ctx, const Request& r, const PriceFamily& family,
              double& discountRate) {
  if (const double special = PromotionPrice(ctx, r); special > 0) return special;

  struct Source {
    long code;
    bool used;
  };
  std::vector<Source> profile;
  Resume([&] {
    auto rs = services::OpenRecordset(ctx, " select * from t_XS_PriceProfile Order by FSortIndex ");
    for (; rs && !rs->Eof(); rs->MoveNext()) {
      const Variant used = rs->Value("FIsUsed");
      profile.push_back(
          {static_cast<long>(NumberOf(rs->Value("FPriceID"))), !used.IsNull() && vb::CBool(used)});
    }
  });

  BasePrices base(ctx, r, family);
  if (profile.empty()) {
    discountRate = 0;
    if (const double level = base.Level(); level > 0) return level;
    if (const double standard = base.Standard(); standard > 0) return standard;
    if (const double costPlus = base.CostPlus(); costPlus > 0) return costPlus;
    if (r.customer != 0) {
      if (const double last = LastPrice(ctx, r, family, discountRate); last > 0) return last;
    }
    return 0;
  }

  for (const Source& source : profile) {
    if (!source.used) continue;
    double price = 0;
    switch (source.code) {
      case 2:
        if (r.customer != 0) price = GetAgreementPrice(ctx, r.item, r.unit, r.customer);
        break;
      case 3:
        discountRate = 0;
        price = base.Level();
        break;
      case 4:
        discountRate = 0;
        price = base.Standard();
        break;
      case 5:
        discountRate = 0;
        price = base.CostPlus();
        break;
      case 6:
        if (r.customer != 0) price = LastPrice(ctx, r, family, discountRate);
        break;
      case 7:
        price = LatestPrice(ctx, r, family);
        if (price > 0) discountRate = 100;
        break;
      default:
        break;
    }
    if (price > 0) return price;
  }
  return 0;
}

}  // namespace

double GetSalePrice(PluginContext& ctx, long itemId, long unitId, long customerId, long stockId,
                    std::string_view batchNo, double& discountRate, bool taxIncluded) {
  if (taxIncluded)
    return GetSaleTaxPrice(ctx, itemId, unitId, customerId, stockId, batchNo, discountRate);
  return LookUp(ctx, {itemId, unitId, customerId, stockId, batchNo}, kSalePrices, discountRate);
}

double GetSaleTaxPrice(PluginContext& ctx, long itemId, long unitId, long customerId, long stockId,
                       std::string_view batchNo, double& discountRate) {
  return LookUp(ctx, {itemId, unitId, customerId, stockId, batchNo}, kTaxPrices, discountRate);
}

double GetAgreementPrice(PluginContext& ctx, long itemId, long unitId, long customerId) {
  return ResumeOr<double>(0, [&] {
    auto rs = services::OpenRecordset(ctx, "select * from t_ItemPriceProfile where FItemID= " +
                                               Id(itemId) + " and FCustID= " + Id(customerId));
    if (!rs || rs->Eof()) return 0.0;
    for (const char* slot : {"1", "2", "3"})
      if (NumberOf(rs->Value(std::string("FUnitID") + slot)) == unitId)
        return NumberOf(rs->Value(std::string("FXSPrice") + slot));
    return 0.0;
  });
}

double CalcCostPlusPrice(double profitRate, double unitCost) { return (1 + profitRate) * unitCost; }

}  // namespace zov::plugins::pricing
