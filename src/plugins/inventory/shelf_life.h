// Shelf life of a batch row: production date P, shelf life L in days and expiry date E must
// satisfy E = P + L. The same rule serves plain rows, the assembled item of assembly bills and
// their component rows, each with its own keys (and "01" twins for the second grid of bills whose
// first grid uses the plain keys).
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::inventory {

// The rows a key set serves; they name the row differently in messages.
enum class ShelfLifeRow { Plain, Assembly, Component };

struct ShelfLifeKeys {
  std::string_view production;  // P
  std::string_view shelfLife;   // L, days
  std::string_view expiry;      // E
  ShelfLifeRow kind;
};

inline constexpr ShelfLifeKeys kPlainShelfLife{"FKFDate", "FKFPeriod", "FPeriodDate",
                                               ShelfLifeRow::Plain};
inline constexpr ShelfLifeKeys kAssemblyShelfLife{"FProDate", "FKFPeriod", "FExpDate",
                                                  ShelfLifeRow::Assembly};
inline constexpr ShelfLifeKeys kComponentShelfLife{"FDate1", "FInteger", "FDate2",
                                                   ShelfLifeRow::Component};
inline constexpr ShelfLifeKeys kPlainShelfLife01{"FKFDate01", "FKFPeriod01", "FPeriodDate01",
                                                 ShelfLifeRow::Plain};
inline constexpr ShelfLifeKeys kAssemblyShelfLife01{"FProDate01", "FKFPeriod01", "FExpDate01",
                                                    ShelfLifeRow::Assembly};
inline constexpr ShelfLifeKeys kComponentShelfLife01{"FDate101", "FInteger01", "FDate201",
                                                     ShelfLifeRow::Component};

// After field `changedField` (its "FKey", any case) of `row` changed: a changed expiry date
// gives the shelf life (when it was not above 0 and both dates are there) or moves the
// production date back by the shelf life; a changed production date or shelf life gives the
// expiry date. Plain writes; nothing for rows below 1 or other fields.
void RecalcShelfLife(host::IBillInterface& bill, const Ref<host::IDictionary>& changedField,
                     long row, const ShelfLifeKeys& keys);
// The same for a changed field given by its key.
void RecalcShelfLife(host::IBillInterface& bill, std::string_view changedKey, long row,
                     const ShelfLifeKeys& keys);

// Checks the shelf life of `row` in this order: production date present, shelf life not below
// 0, expiry date present, expiry = production + shelf life. On the first failure the cursor goes
// to the offending cell, `message` says why and the result is false. With `blankAsFirstDay` an
// empty date counts as 1900-01-01 instead of missing.
bool CheckShelfLife(host::IBillInterface& bill, long row, std::string& message,
                    const ShelfLifeKeys& keys, bool blankAsFirstDay = false);

}  // namespace zov::plugins::inventory
