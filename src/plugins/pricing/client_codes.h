// Customer item codes: the customer's own numbers for the seller's items, kept with the
// customer's agreement (t_ItemPriceProfile, three unit slots each with a code), and the barcode
// of an item unit.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::pricing {

// The row keys of a customer-code look-up: first grid, and the "01" keys of a second grid.
struct ClientCodeKeys {
  std::string_view item;
  std::string_view unit;
  std::string_view code;
};

inline constexpr ClientCodeKeys kClientCodeKeys{"FItemID", "FShowUnitID", "FClientItemID"};
inline constexpr ClientCodeKeys kClientCodeKeys01{"FItemID01", "FShowUnitID01", "FClientItemID01"};

// Writes the customer's code of the row's item in the row's unit (the header customer FCustID's
// agreement) into the code cell, as its value, FFLD and FDSP; "" when the agreement has none.
// Nothing for rows below 1.
void GetClientItemCode(PluginContext& ctx, host::IBillInterface& bill, long row,
                       const ClientCodeKeys& keys = kClientCodeKeys);

// From the code typed into FClientItemID: the first agreement of the header customer (by item
// number) whose slot holds the code gives the row's item (FITEMID) and unit (FShowUnitID). True
// when found.
bool FindItemByClientCode(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const ClientCodeKeys& keys = kClientCodeKeys);

// The barcode of the item in the unit; "" when none.
std::string GetUnitBarcode(PluginContext& ctx, long itemId, long unitId);

}  // namespace zov::plugins::pricing
