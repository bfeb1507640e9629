// The rights that guard values: prices and amounts need the price right, cost prices and cost
// amounts the cost right. A template field names the right it needs ("right": "price"); values
// that reach a window outside the templates (a recordset, a dictionary, a list of texts) are
// judged by their column name or their caption.
#pragma once

#include <optional>
#include <string_view>

namespace zov::sim {

enum class ValueRight { None, Price, Cost };

// "price", "cost" or "" (none); nothing for any other text.
std::optional<ValueRight> ParseValueRight(std::string_view text);
const char* ValueRightName(ValueRight right);

// The right a value needs by the name of its column or key: "Cost" anywhere in it needs the
// cost right; "Price", "Amount", "Amt", "Charge" or "Deposit" the price right (case ignored).
ValueRight RightOfName(std::string_view name);

// The right a value needs by the caption it is shown under: "成本" the cost right; "价", "金额",
// "税额" or "费" the price right.
ValueRight RightOfCaption(std::string_view caption);

}  // namespace zov::sim
