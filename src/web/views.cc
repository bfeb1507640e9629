#include "views.h"

#include <cmath>
#include <optional>

#include "bill/tool_bar.h"
#include "zov/host/recordset.h"
#include "zov/vb/convert.h"
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

std::string NumberText(const vb::Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return {};
  return vb::CStr(v);
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

Json FormView::Render(sim::BillForm& form, bool full, const sim::Withheld& withheld) {
  const sim::BillTemplate& t = form.tmpl();
  Json out;
  out["full"] = full;
  out["classTypeId"] = t.classTypeId;
  out["title"] = form.BillTitle();
  out["caption"] = form.FormCaption();
  out["formState"] = form.BillStatus();
  out["billId"] = form.CurBillID();
  out["dirty"] = form.dirty();
  out["closed"] = form.closed();
  // The business state the form frame shows (its stamp), whatever fields the template shows.
  double status = 0;
  if (t.Find("FStatus")) {
    const vb::Variant s = form.Value("FStatus");
    status = s.IsString() ? vb::Val(s.AsString()) : (s.IsEmpty() || s.IsNull() ? 0 : vb::CDbl(s));
  }
  out["audited"] = static_cast<int>(status);
  out["panels"] = Json{{"2", form.StatusText(2)}, {"3", form.StatusText(3)}};
  // What the person may see of the form: a field the form shows and no right withholds.
  auto shows = [&](const sim::FieldDef& f) { return form.IsVisible(f.key) && !withheld.Hides(f); };
  if (const sim::FieldDef* f = form.ActiveKey().empty()
                                   ? nullptr
                                   : form.tmpl().FindAt(form.ActiveKey(), form.ActiveRow());
      f && shows(*f))
    out["active"] = Json{{"key", form.ActiveKey()}, {"row", form.ActiveRow()}};

  // The header, in the template's order.
  Json head = Json::array();
  for (const auto& f : t.head) {
    if (!shows(f)) continue;
    Json field{{"key", f.key},
               {"caption", form.Caption(f.key)},
               {"type", TypeName(f.type)},
               {"text", form.Display(f.key)},
               {"editable", form.IsEditable(f.key)}};
    if (f.required) field["required"] = true;
    if (f.type == sim::FieldType::Base)
      field["number"] = NumberText(form.GetFieldValue(f.key, -1, host::kFieldNumber));
    head.push_back(std::move(field));
  }
  std::string headText = head.dump();
  if (full || headText != head_) out["head"] = std::move(head);
  head_ = std::move(headText);

  const std::size_t grids = t.grids.size();
  columns_.resize(grids);
  rows_.resize(grids);
  Json gridsJson = Json::array();
  for (std::size_t g = 0; g < grids; ++g) {
    const int grid = static_cast<int>(g + 1);
    std::vector<const sim::FieldDef*> shown;
    Json columns = Json::array();
    for (const auto& f : t.grids[g]) {
      if (!shows(f)) continue;
      shown.push_back(&f);
      Json column{{"key", f.key}, {"caption", form.Caption(f.key)}, {"type", TypeName(f.type)}};
      if (f.type == sim::FieldType::Number) column["decimals"] = f.decimals;
      columns.push_back(std::move(column));
    }
    Json gridJson;
    std::string columnsText = columns.dump();
    const bool columnsChanged = full || columnsText != columns_[g];
    if (columnsChanged) {
      gridJson["columns"] = std::move(columns);
      rows_[g].clear();
    }
    columns_[g] = std::move(columnsText);

    const long count = form.RowCount(grid);
    gridJson["rowCount"] = count;
    Json rows = Json::object();
    auto& sent = rows_[g];
    sent.resize(static_cast<std::size_t>(count));
    for (long r = 1; r <= count; ++r) {
      Json cells = Json::array();
      for (const sim::FieldDef* f : shown) {
        Json cell = Json::array({form.Display(f->key, r), form.IsEditable(f->key, r) ? 1 : 0});
        if (f->type == sim::FieldType::Base)
          cell.push_back(NumberText(form.GetFieldValue(f->key, r, host::kFieldNumber)));
        cells.push_back(std::move(cell));
      }
      std::string rowText = cells.dump();
      auto& previous = sent[static_cast<std::size_t>(r - 1)];
      if (columnsChanged || rowText != previous) rows[std::to_string(r)] = std::move(cells);
      previous = std::move(rowText);
    }
    gridJson["rows"] = std::move(rows);
    gridsJson.push_back(std::move(gridJson));
  }
  out["grids"] = std::move(gridsJson);

  Json bar = BarJson(*form.bar());
  std::string barText = bar.dump();
  if (full || barText != bar_) out["bar"] = std::move(bar);
  bar_ = std::move(barText);
  return out;
}

// --- the bill list
// --------------------------------------------------------------------------------

std::vector<ListColumn> ListColumns(const sim::BillTemplate& tmpl, const sim::Withheld& withheld) {
  std::vector<ListColumn> columns;
  auto add = [&](const std::string& key) {
    for (const auto& c : columns)
      if (c.key == key) return;
    const sim::FieldDef* f = tmpl.Find(key);
    if (key == "FStatus") {
      columns.push_back({key, "状态", f});
      return;
    }
    // A field no form state shows is not shown in the list either, nor a withheld value.
    if (!f || (f->visible & sim::kVisibleView) == 0 || withheld.Hides(*f)) return;
    columns.push_back({key, f->caption, f});
  };
  add("FBillNo");
  add("FDate");
  for (const auto& key : tmpl.listColumns) add(key);
  add("FStatus");
  return columns;
}

Json ListJson(sim::BillList& list, const std::vector<ListColumn>& columns,
              const std::map<std::string, std::map<long, std::string>>& names) {
  const sim::RecordData& data = list.rows();
  auto indexOf = [&](std::string_view name) -> long {
    for (std::size_t i = 0; i < data.columns.size(); ++i)
      if (vb::StrComp(data.columns[i].name, name, vb::CompareMethod::Text) == 0)
        return static_cast<long>(i);
    return -1;
  };
  Json out;
  out["classTypeId"] = list.tmpl().classTypeId;
  out["title"] = list.tmpl().title;
  Json cols = Json::array();
  std::vector<long> at;
  for (const auto& c : columns) {
    cols.push_back(Json{{"key", c.key},
                        {"caption", c.caption},
                        {"type", c.field ? TypeName(c.field->type) : "text"}});
    at.push_back(indexOf(c.field ? c.field->internalKey() : c.key));
  }
  out["columns"] = std::move(cols);
  const long idAt = indexOf("FID");
  Json rows = Json::array();
  for (const auto& record : data.rows) {
    Json cells = Json::array();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const auto& c = columns[i];
      const vb::Variant v = at[i] >= 0 ? record[static_cast<std::size_t>(at[i])] : vb::Variant();
      std::string text;
      if (v.IsNull() || v.IsEmpty()) {
        text = "";
      } else if (c.key == "FStatus") {
        const long s = vb::CLng(v);
        text = s == 0 ? "未审核" : s == 1 ? "已审核" : s == 2 ? "已关闭" : std::to_string(s);
      } else if (c.field && c.field->type == sim::FieldType::Base) {
        const long id = v.IsString() ? static_cast<long>(vb::Val(v.AsString())) : vb::CLng(v);
        text = id == 0 ? "" : vb::CStr(v);
        if (auto byKey = names.find(c.key); byKey != names.end())
          if (auto hit = byKey->second.find(id); hit != byKey->second.end()) text = hit->second;
      } else if (v.Type() == vb::VarType::Date) {
        text = vb::Format(v, "yyyy-MM-dd");
      } else if (c.field && c.field->type == sim::FieldType::Number && v.IsNumber() &&
                 c.field->decimals >= 0) {
        text = vb::Format(
            v, c.field->decimals == 0
                   ? "0"
                   : "0." + std::string(static_cast<std::size_t>(c.field->decimals), '0'));
      } else {
        text = vb::CStr(v);
      }
      cells.push_back(std::move(text));
    }
    const long id = idAt >= 0 ? vb::CLng(record[static_cast<std::size_t>(idAt)]) : 0;
    rows.push_back(Json{{"id", id}, {"cells", std::move(cells)}});
  }
  out["rows"] = std::move(rows);
  out["selected"] = list.SelectedBillIDs();
  out["bar"] = BarJson(*list.bar());
  return out;
}

}  // namespace zov::web
