#include "list/list_table.h"

#include <algorithm>
#include <map>
#include <set>

#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

long ColumnIndex(const RecordData& data, std::string_view name) {
  for (std::size_t i = 0; i < data.columns.size(); ++i)
    if (vb::StrComp(data.columns[i].name, name, vb::CompareMethod::Text) == 0)
      return static_cast<long>(i);
  return -1;
}

const char* StatusText(long status) {
  switch (status) {
    case 0:
      return "未审核";
    case 1:
      return "已审核";
    case 2:
      return "已关闭";
    default:
      return nullptr;
  }
}

// The names of the records `column` of the rows refers to, by internal ID.
std::map<long, std::string> NamesOf(const RecordData& data, long at, const BaseRef& base,
                                    HostServices& services) {
  std::set<long> ids;
  for (const auto& r : data.rows) {
    const vb::Variant& v = r[static_cast<std::size_t>(at)];
    if (v.IsNumber() && vb::CLng(v) != 0) ids.insert(vb::CLng(v));
  }
  std::map<long, std::string> names;
  if (ids.empty()) return names;
  std::string in;
  for (long id : ids) in += (in.empty() ? "" : ",") + std::to_string(id);
  try {
    const auto sets = services.Run("SELECT " + base.id + ", " + base.name + " FROM " + base.table +
                                   " WHERE " + base.id + " IN (" + in + ")");
    if (!sets.empty())
      for (const auto& r : sets[0].rows)
        if (!r[0].IsNull()) names[vb::CLng(r[0])] = r[1].IsNull() ? std::string() : vb::CStr(r[1]);
  } catch (const std::exception&) {
    // The failed query is in the journal; the column shows the internal IDs.
  }
  return names;
}

bool IsNumberText(std::string_view text) {
  return !text.empty() && vb::IsNumeric(vb::Variant(std::string(text)));
}

}  // namespace

std::vector<ListColumn> ListColumns(const BillTemplate& tmpl, const Withheld& withheld) {
  std::vector<ListColumn> columns;
  auto add = [&](const std::string& key) {
    for (const auto& c : columns)
      if (c.key == key) return;
    const FieldDef* f = tmpl.Find(key);
    if (key == "FStatus") {
      columns.push_back({key, "状态", f});
      return;
    }
    // A field no form state shows is not shown in the list either, nor a withheld value.
    if (!f || (f->visible & kVisibleView) == 0 || withheld.Hides(*f)) return;
    columns.push_back({key, f->caption, f});
  };
  add("FBillNo");
  add("FDate");
  for (const auto& key : tmpl.listColumns) add(key);
  add("FStatus");
  return columns;
}

std::vector<ListRow> ListTexts(BillList& list, const std::vector<ListColumn>& columns,
                               HostServices& services) {
  const RecordData& data = list.rows();
  std::vector<long> at;
  std::vector<std::map<long, std::string>> names(columns.size());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const ListColumn& c = columns[i];
    at.push_back(ColumnIndex(data, c.field ? c.field->internalKey() : c.key));
    if (at.back() >= 0 && c.key != "FStatus" && c.field && c.field->type == FieldType::Base)
      names[i] = NamesOf(data, at.back(), c.field->base, services);
  }
  const long idAt = ColumnIndex(data, "FID");

  // Each row with what it sorts by: a number, or its text.
  const std::string& sortKey = list.query().sortKey;
  long sortColumn = -1;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].key == sortKey) sortColumn = static_cast<long>(i);
  const bool numeric =
      sortColumn >= 0 &&
      (columns[static_cast<std::size_t>(sortColumn)].key == "FStatus" ||
       (columns[static_cast<std::size_t>(sortColumn)].field &&
        columns[static_cast<std::size_t>(sortColumn)].field->type == FieldType::Number));
  struct Sorted {
    ListRow row;
    double number = 0;
  };
  std::vector<Sorted> rows;
  rows.reserve(data.rows.size());
  for (const auto& record : data.rows) {
    Sorted s;
    s.row.id = idAt >= 0 ? vb::CLng(record[static_cast<std::size_t>(idAt)]) : 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const ListColumn& c = columns[i];
      const vb::Variant v = at[i] >= 0 ? record[static_cast<std::size_t>(at[i])] : vb::Variant();
      std::string text;
      if (v.IsNull() || v.IsEmpty()) {
        text = "";
      } else if (c.key == "FStatus") {
        const long status = vb::CLng(v);
        text = StatusText(status) ? StatusText(status) : std::to_string(status);
      } else if (c.field && c.field->type == FieldType::Base) {
        const long id = v.IsString() ? static_cast<long>(vb::Val(v.AsString())) : vb::CLng(v);
        text = id == 0 ? "" : vb::CStr(v);
        if (auto hit = names[i].find(id); hit != names[i].end()) text = hit->second;
      } else if (v.Type() == vb::VarType::Date) {
        text = vb::Format(v, "yyyy-MM-dd");
      } else if (c.field && c.field->type == FieldType::Number && v.IsNumber() &&
                 c.field->decimals >= 0) {
        text = vb::Format(
            v, c.field->decimals == 0
                   ? "0"
                   : "0." + std::string(static_cast<std::size_t>(c.field->decimals), '0'));
      } else {
        text = vb::CStr(v);
      }
      if (static_cast<long>(i) == sortColumn && numeric && (v.IsNumber() || v.IsString()))
        s.number = v.IsString() ? vb::Val(v.AsString()) : vb::CDbl(v);
      s.row.texts.push_back(std::move(text));
    }
    rows.push_back(std::move(s));
  }
  if (sortColumn >= 0) {
    const auto col = static_cast<std::size_t>(sortColumn);
    const bool down = list.query().descending;
    // Stable: bills that sort alike stay in the order they were made.
    std::stable_sort(rows.begin(), rows.end(), [&](const Sorted& a, const Sorted& b) {
      if (numeric) return down ? b.number < a.number : a.number < b.number;
      return down ? b.row.texts[col] < a.row.texts[col] : a.row.texts[col] < b.row.texts[col];
    });
  }
  std::vector<ListRow> out;
  out.reserve(rows.size());
  for (auto& s : rows) out.push_back(std::move(s.row));
  return out;
}

std::string ListCsv(const std::vector<ListColumn>& columns, const std::vector<ListRow>& rows) {
  std::string csv = "\xEF\xBB\xBF";
  auto field = [&](const std::string& text) {
    std::string value = text;
    if (!value.empty() && std::string_view("=+-@").find(value[0]) != std::string_view::npos &&
        !IsNumberText(value))
      value.insert(0, "'");
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
      csv += value;
      return;
    }
    csv += '"';
    for (char ch : value) {
      if (ch == '"') csv += '"';
      csv += ch;
    }
    csv += '"';
  };
  auto line = [&](const auto& cells, auto&& textOf) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i) csv += ',';
      field(textOf(cells[i]));
    }
    csv += "\r\n";
  };
  line(columns, [](const ListColumn& c) -> const std::string& { return c.caption; });
  for (const auto& row : rows)
    line(row.texts, [](const std::string& t) -> const std::string& { return t; });
  return csv;
}

}  // namespace zov::sim
