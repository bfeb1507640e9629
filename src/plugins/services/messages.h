// Message boxes, with the conventions of the library: "信息提示" is the title of almost every
// message; refusals use the information icon alone.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/ui.h"

namespace zov::plugins::services {

inline constexpr const char* kInfoTitle = "信息提示";

// Shows a modal message box; returns the button the user chose (vbOK, vbYes, vbNo, vbCancel).
int ShowMessage(PluginContext& ctx, std::string_view text, int buttons = host::vbInformation,
                std::string_view title = kInfoTitle);

}  // namespace zov::plugins::services
