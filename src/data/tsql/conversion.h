// Conversions between T-SQL types as SQL Server performs them: text to numbers and dates with
// the styles of CONVERT, dates and numbers to text, rounding to a decimal scale, range checks.
// Used when literals and variables are bound and by the SQL functions that run inside SQLite.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/tsql/sql_type.h"
#include "data/tsql/sql_value.h"

namespace zov::data::tsql {

// A calendar date and time with milliseconds.
struct DateTimeParts {
  int year = 1900;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);
int DaysInMonth(int year, int month);

// The stored form of every datetime: "YYYY-MM-DD HH:MM:SS.mmm".
std::string FormatCanonical(const DateTimeParts& parts);
// Reads the stored form quickly; nullopt when `text` is not exactly that form.
std::optional<DateTimeParts> ParseCanonical(std::string_view text);
// Reads a date/time text as SQL Server does for CONVERT(datetime, text, style) (style -1: none).
std::optional<DateTimeParts> ParseDateTime(std::string_view text, int style);
// Milliseconds since 1900-01-01 00:00, SQL Server's day zero, and back.
std::int64_t ToMilliseconds(const DateTimeParts& parts);
DateTimeParts FromMilliseconds(std::int64_t ms);
// The text of a date for CONVERT(varchar, date, style); nullopt for a style it does not know.
std::optional<std::string> FormatDateTimeStyle(const DateTimeParts& parts, int style, TypeId from);

// Rounds half away from zero at `digits` decimals (negative: left of the point), reading the
// value as the decimal it stands for so that 2.675 rounds to 2.68.
double RoundDecimal(double value, int digits);
// Truncates toward zero at `digits` decimals.
double TruncateDecimal(double value, int digits);

// The text SQL Server gives a number of type `from` converted to character data.
std::string NumberToText(const SqlValue& value, const SqlType& from);
// Length of a text as a column of type `t` counts it: bytes in the double-byte code page for
// char/varchar (1 per ASCII character, 2 per other), UTF-16 units for nchar/nvarchar.
int StoredLength(std::string_view text, const SqlType& t);
// The longest prefix of `text` that fits `length` units of type `t`.
std::string TruncateToLength(std::string_view text, const SqlType& t, int length);
// Characters of a UTF-8 text.
int CharacterCount(std::string_view text);

// Why a conversion is requested: an explicit CONVERT/CAST truncates text silently, an assignment
// to a column raises "String or binary data would be truncated.".
enum class ConversionContext { Explicit, Assignment };

// Converts `value` held as type `from` to type `to` (style for CONVERT, -1 when none); throws
// SqlError with SQL Server's message when the value does not convert.
SqlValue ConvertValue(const SqlValue& value, const SqlType& from, const SqlType& to, int style = -1,
                      ConversionContext context = ConversionContext::Explicit);

// The SQLite form of a value of type `t` read back from storage (integers stored in a decimal
// column come back as Real, datetimes as canonical text): used for values that SQLite computed.
SqlValue NormaliseStored(const SqlValue& value, const SqlType& t);

}  // namespace zov::data::tsql
