// A bill list as the person reads it: the columns shown (bill number, date, the template's list
// columns and the state, less what the person may not see), each bill's texts (base data by
// name, the state in words, numbers with their field's decimals), sorted as the person asked,
// and written out as CSV for spreadsheet programs.
#pragma once

#include <string>
#include <vector>

#include "list/bill_list.h"
#include "session/withheld.h"

namespace zov::sim {

struct ListColumn {
  std::string key, caption;
  const FieldDef* field = nullptr;  // nullptr for a column of the host's own
};

struct ListRow {
  long id = 0;
  std::vector<std::string> texts;  // one per column
};

// The columns of the list of `tmpl` that a person who may not see `withheld` sees.
std::vector<ListColumn> ListColumns(const BillTemplate& tmpl, const Withheld& withheld);

// The bills `list` shows, as texts under `columns`, in the order of the list's query (its sort
// column, by number for numbers and the state, by text otherwise; then as the bills were made).
// Base data is looked up by name in one query per column; a failed look-up (journaled) leaves the
// internal IDs.
std::vector<ListRow> ListTexts(BillList& list, const std::vector<ListColumn>& columns,
                               HostServices& services);

// The rows as CSV: UTF-8 with a byte order mark (so that spreadsheet programs read Chinese
// right), the captions first, CRLF line ends, fields quoted where they need it. A text that a
// spreadsheet would take for a formula (=, +, -, @ first, and not a number) is written with a
// leading apostrophe.
std::string ListCsv(const std::vector<ListColumn>& columns, const std::vector<ListRow>& rows);

}  // namespace zov::sim
