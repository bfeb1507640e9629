// The sales price of an item in a unit for a customer: special prices of running promotions
// first, then the sources of the price profile (t_XS_PriceProfile) in their order, or a fixed
// order when the profile is empty.
//
// Sources by code: 2 the customer's agreement price, 3 the level price of the customer's type,
// 4 the standard price, 5 cost plus profit, 6 the customer's last price with its discount, 7 the
// item's latest sales price.
#pragma once

#include <string>

#include "frame/plugin_context.h"

namespace zov::plugins::pricing {

// The sales price of `itemId` in `unitId` for `customerId` (0: none); 0 when no source has a
// price above 0. `stockId` and `batchNo` go unchanged to the cost component for the cost-plus
// price. `discountRate` (percent) is set by the sources that carry one: 0 by the price-list
// sources, the last price's rate by source 6, 100 by source 7; a promotion price leaves it.
// With `taxIncluded` the tax-inclusive price of GetSaleTaxPrice is returned.
double GetSalePrice(PluginContext& ctx, long itemId, long unitId, long customerId, long stockId,
                    std::string_view batchNo, double& discountRate, bool taxIncluded = false);
// The same sources with their tax-inclusive prices.
double GetSaleTaxPrice(PluginContext& ctx, long itemId, long unitId, long customerId, long stockId,
                       std::string_view batchNo, double& discountRate);

// The customer's agreement price of the item in the unit (one of the agreement's three unit
// slots); 0 when none.
double GetAgreementPrice(PluginContext& ctx, long itemId, long unitId, long customerId);

// Cost plus profit: (1 + profit rate) x unit cost.
double CalcCostPlusPrice(double profitRate, double unitCost);

}  // namespace zov::plugins::pricing
