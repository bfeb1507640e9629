// What the browser receives of a bill form and a bill list, as JSON. A field the person may not
// see (a column the plug-in hid, a field whose visibility mask hides it in the form's state, a
// value guarded by a right the person does not hold) leaves out its key, caption and value:
// nothing of it reaches the browser, whatever the plug-in did.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "list/bill_list.h"
#include "session/journal.h"
#include "session/withheld.h"

namespace zov::web {

using Json = nlohmann::json;
using vb::Ref;

// A value for the browser: numbers, texts, dates as "yyyy-MM-dd" (with the time when it has
// one), dictionaries as {"dict": [[key, value], ...]} and recordsets as
// {"table": {"columns": [...], "rows": [[...], ...]}}, nested up to a few levels. What
// `withheld` hides is left out: a dictionary's item or a recordset's column named as a guarded
// value, and a dictionary that describes one (its "FField" names one, or its "FName" captions
// one beside an "FValue").
Json ToJson(const vb::Variant& value, const sim::Withheld& withheld, int depth = 0);
// A value the person typed, as the host's edit takes it.
vb::Variant FromJson(const Json& value);

// The menu bands and tools of a bar, in order: [{"name", "tools": [{"key", "caption",
// "visible", "enabled", "checked", "separator"}]}]. Invisible tools are left out.
Json BarJson(const sim::ActiveBar& bar);

// The journal entries of a session (the newest `limit` ones) and their count: what failed and
// where, never the statement or the message (those stay in the server's journal).
Json JournalJson(const std::vector<sim::JournalEntry>& entries, std::size_t limit = 50);

// The view of a bill form, sent in full or as the parts that changed since the last view sent.
class FormView {
 public:
  // The form as the browser shows it; with `full` false only the header, the columns, rows and
  // bar that differ from the previous call are included ("rows" maps a row number to its cells,
  // "rowCount" always comes).
  Json Render(sim::BillForm& form, bool full, const sim::Withheld& withheld);

 private:
  std::string head_, bar_;
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// The view of a bill list: the template's list columns the person may see, the rows (base data
// shown by name) and the bar. `names` resolves a base-data column's IDs to names.
struct ListColumn {
  std::string key, caption;
  const sim::FieldDef* field = nullptr;
};
std::vector<ListColumn> ListColumns(const sim::BillTemplate& tmpl, const sim::Withheld& withheld);
Json ListJson(sim::BillList& list, const std::vector<ListColumn>& columns,
              const std::map<std::string, std::map<long, std::string>>& names);

}  // namespace zov::web
