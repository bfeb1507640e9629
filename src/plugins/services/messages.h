// Message boxes, with the conventions of the library: "信息提示" is the title of almost every
// message; refusals use the information icon alone.
#pragma once

#include <string>
#include <vector>

#include "frame/plugin_context.h"
#include "zov/host/ui.h"

namespace zov::plugins::services {

inline constexpr const char* kInfoTitle = "信息提示";

// Shows a modal message box; returns the button the user chose (vbOK, vbYes, vbNo, vbCancel).
int ShowMessage(PluginContext& ctx, std::string_view text, int buttons = host::vbInformation,
                std::string_view title = kInfoTitle);

// Collected check messages: none shows nothing, one a message box, several the host's list
// window with one column "提示信息".
void ShowMessageList(PluginContext& ctx, const std::vector<std::string>& messages);
// The same for a collection of records whose item "Message" is the text.
void ShowMessageList(PluginContext& ctx, const Ref<host::IDictionary>& records);

// `text` on one line: trimmed when `trim`, every CR and LF removed.
std::string SingleLineText(std::string_view text, bool trim);

// The log file of the session: "LUMTradeLog_" + terminal session ID + ".log" in the system
// directory.
std::string LogFilePath(PluginContext& ctx);
// Appends `text` as one line (CR LF) to the log file, or starts the file anew with it; a failure
// writes nothing.
void WriteLog(PluginContext& ctx, std::string_view text, bool startNewFile = false);

// The reject-note dialog: shows it preset with `note`; true when the user confirmed, with the
// note typed in `note`.
bool AskRejectNote(PluginContext& ctx, std::string& note);

}  // namespace zov::plugins::services
