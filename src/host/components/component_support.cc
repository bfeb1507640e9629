#include "components/component_support.h"

#include <fmt/format.h>

#include <cmath>
#include <stdexcept>

#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

constexpr int kErrItemNotFound = 3265;

bool SameName(std::string_view a, std::string_view b) {
  return vb::StrComp(a, b, vb::CompareMethod::Text) == 0;
}

}  // namespace

void Fail(SessionContext& ctx, std::string_view source, std::string_view member,
          std::string description, int number) {
  ctx.JournalException(std::string(source) + "." + std::string(member), description);
  throw vb::Error(number, std::move(description), std::string(source));
}

std::string SqlText(std::string_view text) { return "'" + vb::Replace(text, "'", "''") + "'"; }

std::string SqlNumber(double value) {
  if (!std::isfinite(value)) vb::Raise(vb::kErrOverflow);
  if (value == std::floor(value) && std::fabs(value) < 1e15)
    return fmt::format("{}", static_cast<long long>(value));
  return fmt::format("{}", value);
}

std::string SqlNumber(long value) { return std::to_string(value); }

std::string SqlDate(vb::Date date, bool withTime) {
  return "'" + vb::Format(Variant(date), withTime ? "yyyy-mm-dd hh:nn:ss" : "yyyy-mm-dd") + "'";
}

bool IsIdentifier(std::string_view name) {
  if (name.empty()) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(name.front())) return false;
  for (char c : name)
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// --- Rows ----------------------------------------------------------------------------------------

long Rows::Column(std::string_view name) const {
  for (std::size_t i = 0; i < data_.columns.size(); ++i)
    if (SameName(data_.columns[i].name, name)) return static_cast<long>(i);
  return -1;
}

const Variant& Rows::At(std::size_t row, std::string_view column) const {
  const long index = Column(column);
  if (index < 0)
    throw vb::Error(kErrItemNotFound,
                    "Item cannot be found in the collection corresponding to the requested name "
                    "or ordinal: " +
                        std::string(column),
                    "ADODB.Recordset");
  return data_.rows[row][index];
}

double Rows::Num(std::size_t row, std::string_view column) const {
  return ToNumber(At(row, column));
}
long Rows::Long(std::size_t row, std::string_view column) const { return ToLong(At(row, column)); }
std::string Rows::Text(std::size_t row, std::string_view column) const {
  return ToText(At(row, column));
}
bool Rows::Flag(std::size_t row, std::string_view column) const {
  const Variant& v = At(row, column);
  return !v.IsNull() && !v.IsEmpty() && vb::CBool(v);
}

// --- queries -----------------------------------------------------------------------------------

namespace {

std::vector<RecordData> RunBatch(SessionContext& ctx, std::string_view source,
                                 const std::string& sql) {
  try {
    return ctx.Run(sql);
  } catch (const vb::Error&) {
    throw;
  } catch (const std::exception& e) {
    throw vb::Error(kErrDatabase, e.what(), std::string(source));
  }
}

}  // namespace

Rows Query(SessionContext& ctx, std::string_view source, const std::string& sql) {
  auto sets = RunBatch(ctx, source, sql);
  if (sets.empty()) return Rows{};
  return Rows(std::move(sets.front()));
}

void Execute(SessionContext& ctx, std::string_view source, const std::string& sql) {
  RunBatch(ctx, source, sql);
}

long NextId(SessionContext& ctx, std::string_view source, std::string_view table,
            std::string_view idColumn) {
  const Rows max = Query(
      ctx, source,
      "SELECT ISNULL(MAX(" + std::string(idColumn) + "),0) AS FMax FROM " + std::string(table));
  return max.empty() ? 1 : max.Long(0, "FMax") + 1;
}

// --- values ------------------------------------------------------------------------------------

double ToNumber(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  if (v.IsString() && vb::Trim(v.AsString()).empty()) return 0;
  return vb::CDbl(v);
}

long ToLong(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  if (v.IsString() && vb::Trim(v.AsString()).empty()) return 0;
  return vb::CLng(v);
}

std::string ToText(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return {};
  return vb::CStr(v);
}

std::string ShowNumber(double v) { return vb::CStr(Variant(vb::Round(v, 4))); }

std::string ShowAmount(double v) { return vb::Format(Variant(v), "#,##0.00"); }

std::string ShowDate(vb::Date date) { return vb::Format(Variant(date), "yyyy-mm-dd"); }

// --- dictionaries --------------------------------------------------------------------------------

Variant Field(const Ref<IDictionary>& dict, std::initializer_list<std::string_view> names) {
  if (!dict) return {};
  for (auto name : names) {
    const Variant key{name};
    if (dict->Lookup(key)) return dict->Item(key);
  }
  const auto keys = dict->Keys();
  for (auto name : names)
    for (const auto& key : keys)
      if (key.IsString() && SameName(key.AsString(), name)) return dict->Item(key);
  return {};
}

bool HasField(const Ref<IDictionary>& dict, std::initializer_list<std::string_view> names) {
  if (!dict) return false;
  const auto keys = dict->Keys();
  for (auto name : names)
    for (const auto& key : keys)
      if (key.IsString() && SameName(key.AsString(), name)) return true;
  return false;
}

std::vector<Record> Records(const Ref<IDictionary>& dict) {
  std::vector<Record> out;
  if (!dict) return out;
  for (const auto& key : dict->Keys())
    if (auto fields = dict->Item(key).ObjectAs<IDictionary>()) out.push_back({key, fields});
  return out;
}

Ref<IDictionary> NewDictionary() { return Dictionary::New(); }

// --- account-set settings ----------------------------------------------------------------------

Variant SystemProfileValue(SessionContext& ctx, std::string_view source, std::string_view category,
                           std::string_view key) {
  const Rows rows =
      Query(ctx, source,
            "SELECT FValue FROM t_SystemProfile WHERE FCategory=" + SqlText(category) +
                " AND FKey=" + SqlText(key));
  if (rows.empty() || rows.At(0, "FValue").IsNull()) return Variant::Null();
  return rows.Text(0, "FValue");
}

std::optional<vb::Date> StartPeriodDate(SessionContext& ctx, std::string_view source) {
  const Variant year = SystemProfileValue(ctx, source, "IC", "StartYear");
  const Variant period = SystemProfileValue(ctx, source, "IC", "StartPeriod");
  if (year.IsNull() || period.IsNull()) return std::nullopt;
  const Rows rows =
      Query(ctx, source,
            "SELECT FStartDate FROM t_PeriodDate WHERE FYear=" +
                SqlNumber(static_cast<long>(vb::Val(year.AsString()))) +
                " AND FPeriod=" + SqlNumber(static_cast<long>(vb::Val(period.AsString()))));
  if (rows.empty() || rows.At(0, "FStartDate").IsNull()) return std::nullopt;
  return vb::DateValue(rows.At(0, "FStartDate"));
}

// --- login ---------------------------------------------------------------------------------------

std::string PropsValue(std::string_view props, std::string_view key) {
  std::string_view rest = props;
  while (!rest.empty()) {
    const auto eq = rest.find('=');
    if (eq == std::string_view::npos) break;
    const std::string name = vb::Trim(rest.substr(0, eq));
    rest = rest.substr(eq + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    std::string_view value;
    if (!rest.empty() && rest.front() == '{') {
      // A braced value runs to the next "}" and may hold ";" and "=".
      rest.remove_prefix(1);
      const auto close = rest.find('}');
      value = rest.substr(0, close);
      const auto semi = close == std::string_view::npos ? close : rest.find(';', close);
      rest = semi == std::string_view::npos ? std::string_view{} : rest.substr(semi + 1);
    } else {
      const auto semi = rest.find(';');
      value = rest.substr(0, semi);
      rest = semi == std::string_view::npos ? std::string_view{} : rest.substr(semi + 1);
    }
    if (SameName(name, key)) return vb::Trim(value);
  }
  return {};
}

long UserOf(SessionContext& ctx, std::string_view props) {
  if (vb::Trim(props).empty()) return ctx.UserId();
  return UserIdOf(props);
}

}  // namespace zov::sim::components
