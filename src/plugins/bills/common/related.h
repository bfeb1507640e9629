// The related-records windows of the sales bill and its second type: the bill's header items and
// the columns and records of the bills related to it, by query kind: 1020002 the purchase bills
// and 1030001 the sales orders its rows came from, 5001 its receipts and write-offs, a bill kind
// (3001..3004, 3010) the stock bills of that kind made from its rows.
#pragma once

#include <string_view>

#include "bills/common/sales_form.h"

namespace zov::plugins::sales {

// The window's header items ("FName", "FValue", "FFormat"): customer, date and number, then by
// query kind the linked quantities and amounts, the receipts' totals, or the quantity total.
Ref<host::IDictionary> BuildTitleDict(const SalesForm& form, long queryKind);
// The window's columns ("Header") and records ("rs").
Ref<host::IDictionary> BuildEntryDict(const SalesForm& form, long queryKind);
// Opens the related-bill window of the saved bill; "请先保存单据" for a bill not saved yet.
void ShowRelated(const SalesForm& form, std::string_view caption, std::string_view title,
                 long queryKind);

}  // namespace zov::plugins::sales
