#include "calc/bill_types.h"

namespace zov::plugins::calc {

bool BillTypeIn(std::string_view list, long billType) {
  const std::string code = std::to_string(billType);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(start, end - start) == code) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace zov::plugins::calc
