// What the browser receives of a bill form and a bill list, as JSON. A field the person may not
// see (a column the plug-in hid, a field whose visibility mask hides it in the form's state, a
// value guarded by a right the person does not hold) leaves out its key, caption and value:
// nothing of it reaches the browser, whatever the plug-in did.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bill/bill_form.h"
#include "list/bill_list.h"
#include "list/list_table.h"
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

// The view of a bill form, sent in full (on open and reload) or as what changed since the last
// view sent, as the form recorded it (FormChanges): the cost of a view follows the change, not
// the size of the bill.
//
//   {"full", "title", "caption", "formState", "billId", "dirty", "closed", "audited",
//    "readOnly", "active"?, "panels"?, "head"?, "pictures"?, "bar"?, "grids": [GRID, ...]}
//   GRID: {"rowCount", "columns"?, "all"?, "ops"?, "rows"?, "patch"?}
//
// A header field whose box shows a plug-in's button carries "postfix" (its name, caption and
// whether it is enabled), one that offers records to choose from "records"; "pictures" are the
// plug-in's visible picture boxes, placed in pixels from the entry grid's corner, with what they
// print. Values the person may not see (`withheld`) are left out.
// "columns" ({"key", "caption", "type", "locked", "width", "decimals"?}) come when they changed,
// and with them "all": every row. Otherwise "all" comes when every row changed, or else "ops"
// ([1, AT, COUNT] rows inserted before row AT, [0, AT, COUNT] rows deleted from AT, in order),
// "rows" (row number to its cells: rows that are new) and "patch" (row number to [[COLUMN,
// CELL], ...]: cells that changed). A cell is its text, or [text, lock] when the form locked
// (1) or opened (2) the cell itself, or for a base-data column [name, lock, number]. A cell is
// editable when the form is not read-only and the cell's lock, or else its column's, allows.
// "all" holds the first kFirstRows rows only: a bill of ten thousand rows opens with what the
// grid shows first, and the browser asks for the others (Rows) as they scroll into view. A change
// to a row it has not asked for yet comes all the same; the browser may drop it.
class FormView {
 public:
  static constexpr long kFirstRows = 200;

  Json Render(sim::BillForm& form, bool full, const sim::Withheld& withheld);
  // Rows `from` to `from + count - 1` of grid `grid` (those of them that exist) as the form holds
  // them now, under the columns last sent: [[CELL, ...], ...]. A cell of a column the person may
  // no longer see (the rights changed since) is null until the next view sends the columns anew.
  Json Rows(sim::BillForm& form, int grid, long from, long count,
            const sim::Withheld& withheld) const;

 private:
  struct GridState {
    std::string columnsText;
    std::vector<const sim::FieldDef*> shown;  // the columns sent, in order
  };
  Json GridJson(sim::BillForm& form, int grid, bool full, bool columnsMayChange,
                const sim::Withheld& withheld);
  std::string head_, postfixes_, pictures_;
  std::vector<GridState> grids_;
  std::uint64_t barChanges_ = 0;
  long formState_ = -1;
  int withheld_ = -1;
  bool readOnly_ = false;
};

// A printout of the bill, as the browser prints it: the title, the header's fields, and each
// grid's columns, every row and the column totals (quantities and amounts), of what the person
// may see. {"preview", "title", "audited", "head": [[caption, text], ...],
// "grids": [{"columns": [{"caption", "type"}], "rows": [[text, ...], ...], "totals": [...]}]}
Json PrintJson(sim::BillForm& form, bool preview, const sim::Withheld& withheld);

// The view of a bill list: its columns, the bills as the person reads them (sim::ListTexts),
// the selection, the query it shows and the bar.
Json ListJson(sim::BillList& list, const std::vector<sim::ListColumn>& columns,
              const std::vector<sim::ListRow>& rows);

}  // namespace zov::web
