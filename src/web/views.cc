#include "views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "bill/form_parts.h"
#include "bill/tool_bar.h"
#include "zov/host/recordset.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"

namespace zov::web {

namespace {

constexpr int kMaxDepth = 5;

const char* TypeName(sim::FieldType type) {
  switch (type) {
    case sim::FieldType::Text:
      return "text";
    case sim::FieldType::Number:
      return "number";
    case sim::FieldType::Date:
      return "date";
    case sim::FieldType::Time:
      return "time";
    case sim::FieldType::Base:
      return "base";
    case sim::FieldType::Check:
      return "check";
  }
  return "text";
}

Json RecordsetJson(host::IRecordset& rs, const sim::Withheld& withheld, int depth) {
  Json table;
  auto fields = rs.Fields();
  const long count = fields ? fields->Count() : 0;
  std::vector<long> shown;
  table["columns"] = Json::array();
  for (long i = 0; i < count; ++i) {
    const std::string name = fields->Item(i)->Name();
    if (withheld.HidesName(name)) continue;
    shown.push_back(i);
    table["columns"].push_back(name);
  }
  table["rows"] = Json::array();
  rs.MoveFirst();
  while (!rs.Eof()) {
    Json row = Json::array();
    for (long i : shown) row.push_back(ToJson(rs.Value(i), withheld, depth + 1));
    table["rows"].push_back(std::move(row));
    rs.MoveNext();
  }
  return Json{{"table", std::move(table)}};
}

// Whether a dictionary describes a withheld value: a column whose field ("FField") is one, or a
// captioned value ("FName" with "FValue") whose caption names one.
bool DescribesWithheld(host::IDictionary& dict, const sim::Withheld& withheld) {
  auto text = [&](const char* key) -> std::optional<std::string> {
    const vb::Variant k(key);
    if (!dict.Lookup(k)) return std::nullopt;
    const vb::Variant v = dict.Item(k);
    if (!v.IsString()) return std::nullopt;
    return v.AsString();
  };
  if (auto field = text("FField"); field && withheld.HidesName(*field)) return true;
  if (auto caption = text("FName");
      caption && dict.Lookup(vb::Variant("FValue")) && withheld.HidesCaption(*caption))
    return true;
  return false;
}

// A tool as the bar shows it; a separator carries nothing else.
Json ToolJson(host::ITool& tool) {
  const bool separator = tool.Style() == host::kToolStyleSeparator || tool.Name().empty();
  if (separator) return Json{{"separator", true}};
  return Json{{"key", tool.Name()},
              {"caption", tool.Caption()},
              {"tip", tool.ToolTipText()},
              {"enabled", tool.Enabled()},
              {"checked", tool.Checked()}};
}

// Twips to the browser's pixels (15 to the pixel, as on the host's screens).
constexpr long kTwipsPerPixel = 15;

long Measure(const sim::FormControl& control, std::string_view property) {
  try {
    const vb::Variant v = control.Property(property);
    return v.IsEmpty() || v.IsNull() ? 0 : vb::CLng(v);
  } catch (const vb::Error&) {
    return 0;
  }
}

bool Shown(const sim::FormControl& control, std::string_view property) {
  try {
    const vb::Variant v = control.Property(property);
    return !v.IsEmpty() && !v.IsNull() && vb::CBool(v);
  } catch (const vb::Error&) {
    return false;
  }
}

// A VB colour (&HBBGGRR) as CSS "#rrggbb"; "" when the control has none.
std::string CssColor(const sim::FormControl& control, std::string_view property) {
  long bgr = 0;
  try {
    const vb::Variant v = control.Property(property);
    if (v.IsEmpty() || v.IsNull()) return {};
    bgr = vb::CLng(v);
  } catch (const vb::Error&) {
    return {};
  }
  char css[8];
  std::snprintf(css, sizeof css, "#%02x%02x%02x", static_cast<unsigned>(bgr & 0xFF),
                static_cast<unsigned>((bgr >> 8) & 0xFF),
                static_cast<unsigned>((bgr >> 16) & 0xFF));
  return css;
}

// The picture boxes a plug-in placed on the form, where they show: position and size in
// pixels from the entry grid's corner, colours and the lines printed on them.
Json PicturesJson(const sim::BillForm& form) {
  Json pictures = Json::array();
  const auto& controls = form.controls();
  if (controls.empty()) return pictures;
  const sim::FormControl& grid = *controls.front();
  for (const auto& c : controls) {
    if (c->TypeName() != "PictureBox" || !Shown(*c, "Visible")) continue;
    const long width = Measure(*c, "Width"), height = Measure(*c, "Height");
    if (width <= 0 || height <= 0) continue;
    pictures.push_back(
        Json{{"name", c->Name()},
             {"left", (Measure(*c, "Left") - Measure(grid, "Left")) / kTwipsPerPixel},
             {"top", (Measure(*c, "Top") - Measure(grid, "Top")) / kTwipsPerPixel},
             {"width", width / kTwipsPerPixel},
             {"height", height / kTwipsPerPixel},
             {"back", CssColor(*c, "BackColor")},
             {"fore", CssColor(*c, "ForeColor")},
             {"lines", c->printed()}});
  }
  return pictures;
}

}  // namespace

Json ToJson(const vb::Variant& v, const sim::Withheld& withheld, int depth) {
  switch (v.Type()) {
    case vb::VarType::Empty:
    case vb::VarType::Null:
      return nullptr;
    case vb::VarType::Boolean:
      return v.AsBool();
    case vb::VarType::Long:
      return v.AsLong();
    case vb::VarType::Double:
      return v.AsDouble();
    case vb::VarType::Currency:
      return v.AsCurrency().ToDouble();
    case vb::VarType::Date: {
      const double serial = v.AsDate().serial;
      return vb::Format(v, serial == std::floor(serial) ? "yyyy-MM-dd" : "yyyy-MM-dd HH:mm:ss");
    }
    case vb::VarType::String:
      return v.AsString();
    default:
      break;
  }
  if (depth >= kMaxDepth) return "…";
  if (auto dict = v.ObjectAs<host::IDictionary>()) {
    Json items = Json::array();
    for (const auto& key : dict->Keys()) {
      if (key.IsString() && withheld.HidesName(key.AsString())) continue;
      const vb::Variant item = dict->Item(key);
      if (auto inner = item.ObjectAs<host::IDictionary>();
          inner && DescribesWithheld(*inner, withheld))
        continue;
      items.push_back(Json::array({vb::CStr(key), ToJson(item, withheld, depth + 1)}));
    }
    return Json{{"dict", std::move(items)}};
  }
  if (auto rs = v.ObjectAs<host::IRecordset>()) return RecordsetJson(*rs, withheld, depth);
  return "(object)";
}

vb::Variant FromJson(const Json& j) {
  if (j.is_null()) return vb::Variant("");
  if (j.is_boolean()) return vb::Variant(j.get<bool>() ? 1 : 0);
  if (j.is_number_integer()) return vb::Variant(j.get<long long>());
  if (j.is_number()) return vb::Variant(j.get<double>());
  if (j.is_string()) return vb::Variant(j.get<std::string>());
  return vb::Variant(j.dump());
}

Json BarJson(const sim::ActiveBar& bar) {
  Json bands = Json::array();
  for (const auto& band : bar.bands()) {
    Json tools = Json::array();
    for (const auto& tool : band->tools()) {
      if (!tool || !tool->Visible()) continue;
      tools.push_back(ToolJson(*tool));
    }
    bands.push_back(Json{{"name", band->Name()}, {"tools", std::move(tools)}});
  }
  return bands;
}

Json JournalJson(const std::vector<sim::JournalEntry>& entries, std::size_t limit) {
  Json list = Json::array();
  const std::size_t from = entries.size() > limit ? entries.size() - limit : 0;
  for (std::size_t i = from; i < entries.size(); ++i) {
    const auto& e = entries[i];
    list.push_back(Json{{"kind", e.kind}, {"where", e.where}});
  }
  return Json{{"count", entries.size()}, {"entries", std::move(list)}};
}

// --- the bill form
// --------------------------------------------------------------------------------

namespace {

// A cell as the browser takes it (see FormView).
Json CellJson(sim::BillForm& form, const sim::FieldDef& f, long row) {
  std::string text = form.Display(f, row);
  const int lock = form.LockOf(f, row);
  if (f.type == sim::FieldType::Base)
    return Json::array({std::move(text), lock, form.Number(f, row)});
  if (lock != sim::BillForm::kFollowsColumn) return Json::array({std::move(text), lock});
  return text;
}

Json RowJson(sim::BillForm& form, const std::vector<const sim::FieldDef*>& shown, long row) {
  Json cells = Json::array();
  for (const sim::FieldDef* f : shown) cells.push_back(CellJson(form, *f, row));
  return cells;
}

}  // namespace

Json FormView::GridJson(sim::BillForm& form, int grid, bool full, bool columnsMayChange,
                        const sim::Withheld& withheld) {
  const sim::BillTemplate& t = form.tmpl();
  GridState& state = grids_[static_cast<std::size_t>(grid - 1)];
  const sim::FormChanges::Grid& changed = form.changes().grid(grid);
  sim::EntryPage& page = form.Page(grid);
  Json out;
  const long count = form.RowCount(grid);
  out["rowCount"] = count;

  bool all = full || changed.all;
  if (full || columnsMayChange) {
    std::vector<const sim::FieldDef*> shown;
    Json columns = Json::array();
    for (const auto& f : t.grids[static_cast<std::size_t>(grid - 1)]) {
      if (!form.IsVisible(f) || withheld.Hides(f)) continue;
      shown.push_back(&f);
      Json column{{"key", f.key},
                  {"caption", form.Caption(f.key)},
                  {"type", TypeName(f.type)},
                  {"locked", form.Column(f).locked},
                  {"width", sim::BillForm::ColumnWidth(f) / kTwipsPerPixel}};
      if (f.type == sim::FieldType::Number) column["decimals"] = f.decimals;
      columns.push_back(std::move(column));
    }
    std::string text = columns.dump();
    if (full || text != state.columnsText) {
      out["columns"] = std::move(columns);
      state.columnsText = std::move(text);
      state.shown = std::move(shown);
      all = true;
    }
  }

  if (all) {
    Json rows = Json::array();
    const long sent = std::min(count, kFirstRows);
    for (long r = 1; r <= sent; ++r) rows.push_back(RowJson(form, state.shown, r));
    // The rows not sent are fetched as they stand when the browser asks: nothing of them is
    // pending.
    for (long r = 1; r <= count; ++r) page.Row(r)->cells->MarkSeen();
    out["all"] = std::move(rows);
    return out;
  }
  if (!changed.ops.empty()) {
    Json ops = Json::array();
    for (const auto& op : changed.ops)
      ops.push_back(Json::array({op.insert ? 1 : 0, op.at, op.count}));
    out["ops"] = std::move(ops);
  }
  Json rows = Json::object(), patch = Json::object();
  for (const auto& row : changed.rows) {
    const long r = row->number();
    if (r == 0) continue;  // deleted since
    if (row->WholeUnseen()) {
      rows[std::to_string(r)] = RowJson(form, state.shown, r);
    } else {
      Json cells = Json::array();
      for (std::size_t c = 0; c < state.shown.size(); ++c)
        if (row->Unseen(state.shown[c]->slot))
          cells.push_back(Json::array({c, CellJson(form, *state.shown[c], r)}));
      if (!cells.empty()) patch[std::to_string(r)] = std::move(cells);
    }
    row->MarkSeen();
  }
  if (!rows.empty()) out["rows"] = std::move(rows);
  if (!patch.empty()) out["patch"] = std::move(patch);
  return out;
}

Json FormView::Rows(sim::BillForm& form, int grid, long from, long count,
                    const sim::Withheld& withheld) const {
  Json rows = Json::array();
  if (grid < 1 || static_cast<std::size_t>(grid) > grids_.size()) return rows;
  const std::vector<const sim::FieldDef*>& shown = grids_[static_cast<std::size_t>(grid - 1)].shown;
  const long last = std::min(form.RowCount(grid), from + count - 1);
  for (long r = std::max(1L, from); r <= last; ++r) {
    Json cells = Json::array();
    for (const sim::FieldDef* f : shown)
      cells.push_back(withheld.Hides(*f) ? Json() : CellJson(form, *f, r));
    rows.push_back(std::move(cells));
  }
  return rows;
}

Json FormView::Render(sim::BillForm& form, bool full, const sim::Withheld& withheld) {
  const sim::BillTemplate& t = form.tmpl();
  sim::FormChanges& changes = form.changes();
  Json out;
  out["full"] = full;
  out["classTypeId"] = t.classTypeId;
  out["title"] = form.BillTitle();
  out["caption"] = form.FormCaption();
  out["formState"] = form.BillStatus();
  out["billId"] = form.CurBillID();
  out["dirty"] = form.dirty();
  out["closed"] = form.closed();
  out["readOnly"] = form.readOnly();
  // The business state the form frame shows (its stamp), whatever fields the template shows.
  double status = 0;
  if (t.Find("FStatus")) {
    const vb::Variant s = form.Value("FStatus");
    status = s.IsString() ? vb::Val(s.AsString()) : (s.IsEmpty() || s.IsNull() ? 0 : vb::CDbl(s));
  }
  out["audited"] = static_cast<int>(status);
  // What decides which fields show and which may be edited, beside what the form recorded: the
  // form's state, its being read-only and the person's rights (read afresh at each operation).
  const int rights = (withheld.Hides(sim::ValueRight::Price) ? 1 : 0) |
                     (withheld.Hides(sim::ValueRight::Cost) ? 2 : 0);
  const bool frame =
      form.BillStatus() != formState_ || rights != withheld_ || form.readOnly() != readOnly_;
  formState_ = form.BillStatus();
  withheld_ = rights;
  readOnly_ = form.readOnly();
  if (full || changes.panels())
    out["panels"] = Json{{"2", form.StatusText(2)}, {"3", form.StatusText(3)}};
  // What the person may see of the form: a field the form shows and no right withholds.
  auto shows = [&](const sim::FieldDef& f) { return form.IsVisible(f) && !withheld.Hides(f); };
  if (const sim::FieldDef* f = form.ActiveKey().empty()
                                   ? nullptr
                                   : form.tmpl().FindAt(form.ActiveKey(), form.ActiveRow());
      f && shows(*f))
    out["active"] = Json{{"key", form.ActiveKey()}, {"row", form.ActiveRow()}};

  // The header, in the template's order.
  // A plug-in's buttons at the end of header boxes change without the form's knowing: what they
  // show is read at each operation (a handful of controls) and the header sent when it differs.
  Json postfixes = Json::object();
  for (const auto& f : t.head) {
    if (!shows(f)) continue;
    if (auto button = form.PostfixButton(f.key); button && Shown(*button, "Visible"))
      postfixes[f.key] = Json{{"name", button->Name()},
                              {"caption", vb::CStr(button->Property("Caption"))},
                              {"enabled", Shown(*button, "Enabled")}};
  }
  std::string postfixText = postfixes.dump();
  if (full || frame || changes.head() || changes.columns() || postfixText != postfixes_) {
    Json head = Json::array();
    for (const auto& f : t.head) {
      if (!shows(f)) continue;
      Json field{{"key", f.key},
                 {"caption", form.Caption(f.key)},
                 {"type", TypeName(f.type)},
                 {"text", form.Display(f, -1)},
                 {"editable", form.IsEditable(f.key)}};
      if (f.required) field["required"] = true;
      if (f.type == sim::FieldType::Base) field["number"] = form.Number(f, -1);
      // A box that offers records to choose from (the receive address) has a pick list of them.
      if (!f.records.empty()) field["records"] = true;
      if (auto at = postfixes.find(f.key); at != postfixes.end()) field["postfix"] = *at;
      head.push_back(std::move(field));
    }
    std::string headText = head.dump();
    if (full || headText != head_) out["head"] = std::move(head);
    head_ = std::move(headText);
    postfixes_ = std::move(postfixText);
  }

  grids_.resize(t.grids.size());
  Json grids = Json::array();
  for (std::size_t g = 0; g < t.grids.size(); ++g)
    grids.push_back(
        GridJson(form, static_cast<int>(g + 1), full, frame || changes.columns(), withheld));
  out["grids"] = std::move(grids);

  // Picture boxes, like the buttons, are the plug-in's own: compared, not recorded.
  Json pictures = PicturesJson(form);
  std::string picturesText = pictures.dump();
  if (full || picturesText != pictures_) out["pictures"] = std::move(pictures);
  pictures_ = std::move(picturesText);

  if (full || form.bar()->changes() != barChanges_) out["bar"] = BarJson(*form.bar());
  barChanges_ = form.bar()->changes();
  changes.Clear();
  return out;
}

Json PrintJson(sim::BillForm& form, bool preview, const sim::Withheld& withheld) {
  const sim::BillTemplate& t = form.tmpl();
  auto shows = [&](const sim::FieldDef& f) { return form.IsVisible(f) && !withheld.Hides(f); };
  Json out{{"preview", preview}, {"title", form.BillTitle()}};
  double status = 0;
  if (t.Find("FStatus")) {
    const vb::Variant s = form.Value("FStatus");
    status = s.IsString() ? vb::Val(s.AsString()) : (s.IsEmpty() || s.IsNull() ? 0 : vb::CDbl(s));
  }
  out["audited"] = static_cast<int>(status);
  Json head = Json::array();
  for (const auto& f : t.head)
    if (shows(f)) head.push_back(Json::array({form.Caption(f.key), form.Display(f, -1)}));
  out["head"] = std::move(head);
  Json grids = Json::array();
  for (std::size_t g = 0; g < t.grids.size(); ++g) {
    const int grid = static_cast<int>(g + 1);
    std::vector<const sim::FieldDef*> shown;
    Json columns = Json::array(), totals = Json::array();
    for (const auto& f : t.grids[g]) {
      if (!shows(f)) continue;
      shown.push_back(&f);
      columns.push_back(Json{{"caption", form.Caption(f.key)}, {"type", TypeName(f.type)}});
      if (!sim::BillForm::Totalled(f)) {
        totals.push_back("");
        continue;
      }
      const double total = form.Total(f);
      totals.push_back(
          f.decimals >= 0
              ? vb::Format(total,
                           f.decimals == 0
                               ? "0"
                               : "0." + std::string(static_cast<std::size_t>(f.decimals), '0'))
              : vb::CStr(total));
    }
    Json rows = Json::array();
    const long count = form.RowCount(grid);
    for (long r = 1; r <= count; ++r) {
      Json cells = Json::array();
      for (const sim::FieldDef* f : shown) cells.push_back(form.Display(*f, r));
      rows.push_back(std::move(cells));
    }
    grids.push_back(Json{
        {"columns", std::move(columns)}, {"rows", std::move(rows)}, {"totals", std::move(totals)}});
  }
  out["grids"] = std::move(grids);
  return out;
}

// --- the bill list
// --------------------------------------------------------------------------------

Json ListJson(sim::BillList& list, const std::vector<sim::ListColumn>& columns,
              const std::vector<sim::ListRow>& rows) {
  Json out;
  out["classTypeId"] = list.tmpl().classTypeId;
  out["title"] = list.tmpl().title;
  for (const auto& k : list.tmpl().listKinds)
    if (k.billType == list.billType()) out["title"] = k.caption;
  Json cols = Json::array();
  for (const auto& c : columns)
    cols.push_back(Json{{"key", c.key},
                        {"caption", c.caption},
                        {"type", c.field ? TypeName(c.field->type) : "text"}});
  out["columns"] = std::move(cols);
  Json shown = Json::array();
  for (const auto& r : rows) shown.push_back(Json{{"id", r.id}, {"cells", r.texts}});
  out["rows"] = std::move(shown);
  out["selected"] = list.SelectedBillIDs();
  const sim::ListQuery& q = list.query();
  out["query"] = Json{{"dateFrom", q.dateFrom},    {"dateTo", q.dateTo}, {"billNo", q.billNo},
                      {"partner", q.partner},      {"status", q.status}, {"sort", q.sortKey},
                      {"descending", q.descending}};
  if (const sim::FieldDef* partner = list.PartnerField()) out["partnerCaption"] = partner->caption;
  out["bar"] = BarJson(*list.bar());
  return out;
}

}  // namespace zov::web
