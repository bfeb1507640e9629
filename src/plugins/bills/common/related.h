// The related-records windows of the sales bill and its second type: the bill's header items and
// the columns and records of the bills related to it, by query kind: 1020002 the purchase bills
// and 1030001 the sales orders its rows came from, 5001 its receipts and write-offs, a bill kind
// (3001..3004, 3010) the stock bills of that kind made from its rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bills/common/sales_form.h"

namespace zov::plugins::sales {

// The header items of a related-records window ("FName", "FValue" as text, "FFormat": 0 text, 6
// totals and amounts, 2 column sums), in the order added.
class TitleItems {
 public:
  explicit TitleItems(PluginContext& ctx);
  void Add(const std::string& name, const Variant& value, int format);
  const Ref<host::IDictionary>& dict() const { return items_; }

 private:
  PluginContext& ctx_;
  Ref<host::IDictionary> items_;
  long count_ = 0;
};

// A column of a related-records window: its caption and the record field it shows.
struct EntryColumn {
  std::string caption;
  std::string field;
};
// The window's entry dictionary: the columns under "Header" and the records `sql` returns under
// "rs" (none when the query fails).
Ref<host::IDictionary> EntryDictOf(PluginContext& ctx, const std::vector<EntryColumn>& columns,
                                   const std::string& sql);

// The window's header items ("FName", "FValue", "FFormat"): customer, date and number, then by
// query kind the linked quantities and amounts, the receipts' totals, or the quantity total.
Ref<host::IDictionary> BuildTitleDict(const SalesForm& form, long queryKind);
// The window's columns ("Header") and records ("rs").
Ref<host::IDictionary> BuildEntryDict(const SalesForm& form, long queryKind);
// Opens the related-bill window of the saved bill; "请先保存单据" for a bill not saved yet.
void ShowRelated(const SalesForm& form, std::string_view caption, std::string_view title,
                 long queryKind);

}  // namespace zov::plugins::sales
