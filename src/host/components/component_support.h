// What every host component needs: SQL text built from values, queries on the session's
// database, reading the dictionaries the library hands over, and raising the errors the host
// journals. A component keeps a reference to its session and must not outlive it.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "com/dictionary.h"
#include "com/recordset.h"
#include "session/session_context.h"
#include "zov/vb/error.h"

namespace zov::sim::components {

using host::IDictionary;
using vb::Ref;
using vb::Variant;

// ADO's number for a command the database refused (0x80040E14).
inline constexpr int kErrDatabase = -2147217900;
// VB's "Subscript out of range".
inline constexpr int kErrSubscript = 9;

inline constexpr const char* kInfoTitle = "信息提示";
inline constexpr std::string_view kCrLf = "\r\n";

// --- errors ------------------------------------------------------------------------------------

// Journals the failure of `member` of component `source` and raises it as vb::Error.
[[noreturn]] void Fail(SessionContext& ctx, std::string_view source, std::string_view member,
                       std::string description, int number = vb::kErrInvalidProcedureCall);

// --- SQL text ----------------------------------------------------------------------------------

// A text literal: 'O''Neil'.
std::string SqlText(std::string_view text);
// A number in decimal; raises Error 6 for a value that is not finite.
std::string SqlNumber(double value);
std::string SqlNumber(long value);
// A date literal 'yyyy-MM-dd' (with " HH:mm:ss" when `withTime`).
std::string SqlDate(vb::Date date, bool withTime = false);
// True for a plain identifier (a letter or "_", then letters, digits and "_"): what may be put
// into SQL text as a column name.
bool IsIdentifier(std::string_view name);

// --- queries -----------------------------------------------------------------------------------

// The rows of one result set with their columns found by name (case-insensitive).
class Rows {
 public:
  Rows() = default;
  explicit Rows(RecordData data) : data_(std::move(data)) {}

  std::size_t size() const { return data_.rows.size(); }
  bool empty() const { return data_.rows.empty(); }
  // The column index of `name`, or -1.
  long Column(std::string_view name) const;
  // The value of `column` in `row`; raises Error 3265 for a column the rows lack.
  const Variant& At(std::size_t row, std::string_view column) const;
  const Variant& At(std::size_t row, long column) const { return data_.rows[row][column]; }
  // The value read as a number (Null as 0), a whole number, a text (Null as "") or a flag.
  double Num(std::size_t row, std::string_view column) const;
  long Long(std::size_t row, std::string_view column) const;
  std::string Text(std::size_t row, std::string_view column) const;
  bool Flag(std::size_t row, std::string_view column) const;

  const RecordData& data() const { return data_; }
  RecordData& data() { return data_; }

 private:
  RecordData data_;
};

// Runs `sql` on the session's database; returns its first result set (no rows when it returns
// none). A database error becomes vb::Error kErrDatabase of `source` (the session has journaled
// the statement).
Rows Query(SessionContext& ctx, std::string_view source, const std::string& sql);
// Runs `sql` for its effect.
void Execute(SessionContext& ctx, std::string_view source, const std::string& sql);
// Runs `work` between Begin and Commit; rolls back and rethrows when it raises.
template <class Work>
void InTransaction(SessionContext& ctx, Work&& work) {
  ctx.Begin();
  try {
    work();
    ctx.Commit();
  } catch (...) {
    try {
      ctx.Rollback();
    } catch (...) {
    }
    throw;
  }
}
// The next free value of integer column `idColumn` of `table` (its largest value plus 1).
long NextId(SessionContext& ctx, std::string_view source, std::string_view table,
            std::string_view idColumn = "FID");

// --- values ------------------------------------------------------------------------------------

// A number: Empty and Null are 0, text is read as VB reads numbers; raises Error 13 otherwise.
double ToNumber(const Variant& v);
// A whole number, rounded as CLng rounds.
long ToLong(const Variant& v);
// Text: Empty and Null are "".
std::string ToText(const Variant& v);
// A quantity or amount as the messages show it: up to four decimals, no trailing zeros.
std::string ShowNumber(double v);
// An amount with thousands separators and two decimals.
std::string ShowAmount(double v);
// The date part of `date` as "yyyy-MM-dd".
std::string ShowDate(vb::Date date);

// --- dictionaries handed over by the library ---------------------------------------------------

// The item under the first of `names` the dictionary holds (exactly, else ignoring case);
// Empty when it holds none.
Variant Field(const Ref<IDictionary>& dict, std::initializer_list<std::string_view> names);
// True when the dictionary holds one of `names`.
bool HasField(const Ref<IDictionary>& dict, std::initializer_list<std::string_view> names);
// The items that are dictionaries, in key order, with their keys.
struct Record {
  Variant key;
  Ref<IDictionary> fields;
};
std::vector<Record> Records(const Ref<IDictionary>& dict);
// A new host dictionary.
Ref<IDictionary> NewDictionary();

// --- account-set settings ----------------------------------------------------------------------

// The system profile value of (category, key) as text; Null when the account set has none.
Variant SystemProfileValue(SessionContext& ctx, std::string_view source, std::string_view category,
                           std::string_view key);
// The first day of the account set's start period (profile "IC" StartYear / StartPeriod);
// nullopt when the periods do not name it.
std::optional<vb::Date> StartPeriodDate(SessionContext& ctx, std::string_view source);

// --- the login -----------------------------------------------------------------------------------

// The value of `key` in a login properties string ("a=1;b={x;y};c=3"), ignoring the key's case;
// empty when absent.
std::string PropsValue(std::string_view props, std::string_view key);
// The user a component acts for: the one `props` names, the session's user when `props` is
// empty, else 0.
long UserOf(SessionContext& ctx, std::string_view props);

}  // namespace zov::sim::components
