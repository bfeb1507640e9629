#include "bill/value_rights.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace zov::sim {

namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         }) != text.end();
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         ContainsIgnoringCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

std::optional<ValueRight> ParseValueRight(std::string_view text) {
  if (text.empty()) return ValueRight::None;
  if (text == "price") return ValueRight::Price;
  if (text == "cost") return ValueRight::Cost;
  return std::nullopt;
}

const char* ValueRightName(ValueRight right) {
  switch (right) {
    case ValueRight::Price:
      return "price";
    case ValueRight::Cost:
      return "cost";
    case ValueRight::None:
      break;
  }
  return "";
}

ValueRight RightOfName(std::string_view name) {
  // A kind of price (FPriceType) is a code, not a value.
  if (EndsWithIgnoringCase(name, "type") || EndsWithIgnoringCase(name, "typeid"))
    return ValueRight::None;
  if (ContainsIgnoringCase(name, "cost")) return ValueRight::Cost;
  for (std::string_view money : {"price", "amount", "amt", "charge", "deposit"})
    if (ContainsIgnoringCase(name, money)) return ValueRight::Price;
  return ValueRight::None;
}

ValueRight RightOfCaption(std::string_view caption) {
  if (caption.find("成本") != std::string_view::npos) return ValueRight::Cost;
  for (std::string_view money : {"价", "金额", "税额", "费"})
    if (caption.find(money) != std::string_view::npos) return ValueRight::Price;
  return ValueRight::None;
}

}  // namespace zov::sim
