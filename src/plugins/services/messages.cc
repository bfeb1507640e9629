#include "services/messages.h"

namespace zov::plugins::services {

int ShowMessage(PluginContext& ctx, std::string_view text, int buttons, std::string_view title) {
  return ctx.host().Ui()->MsgBox(text, buttons, title);
}

}  // namespace zov::plugins::services
