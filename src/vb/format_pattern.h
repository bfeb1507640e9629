// The two halves of Format: number patterns and date patterns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "decimal.h"
#include "zov/vb/variant.h"

namespace zov::vb::detail {

// The ";"-separated sections of a pattern, quotes and "\" escapes respected.
std::vector<std::string_view> SplitSections(std::string_view pattern);

// True when the pattern holds a date or time placeholder outside quotes and escapes.
bool IsDatePattern(std::string_view pattern);

// A number by a number pattern; the section is chosen by sign and zero (Null takes the fourth
// section when there is one, else "").
std::string FormatNumber(const Decimal& value, std::string_view pattern);
std::string FormatNullNumber(std::string_view pattern);

// A date by a date pattern.
std::string FormatDate(Date value, std::string_view pattern);

// The general date form CStr writes: "yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss", or "HH:mm:ss" on day 0.
std::string GeneralDateText(Date value);

}  // namespace zov::vb::detail
