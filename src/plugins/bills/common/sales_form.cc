#include "bills/common/sales_form.h"

#include "frame/resume.h"
#include "services/messages.h"

namespace zov::plugins::sales {

std::string FirstGridRows(const SalesClass& cls, std::string_view alias) {
  if (cls.firstGridRows.empty()) return {};
  return " And " + std::string(alias) + "." + std::string(cls.firstGridRows);
}

bool Refuse(PluginContext& ctx, host::IBillInterface& bill, std::string_view message,
            std::string_view key, long row) {
  services::ShowMessage(ctx, message);
  if (!key.empty()) Resume([&] { bill.SetActiveCell(key, row); });
  return false;
}

}  // namespace zov::plugins::sales
