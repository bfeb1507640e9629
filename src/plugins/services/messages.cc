#include "services/messages.h"

#include <fstream>

#include "frame/reject_note_form.h"
#include "frame/resume.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::services {

int ShowMessage(PluginContext& ctx, std::string_view text, int buttons, std::string_view title) {
  return ctx.host().Ui()->MsgBox(text, buttons, title);
}

void ShowMessageList(PluginContext& ctx, const std::vector<std::string>& messages) {
  if (messages.empty()) return;
  if (messages.size() == 1) {
    ShowMessage(ctx, messages.front());
    return;
  }
  auto list = ctx.host().CreateObject(host::progid::kDispBuilder).As<host::IDispBuilder>();
  if (!list) return;
  list->SetCols(1);
  list->SetTitles("提示信息|");
  list->SetColWidth(1, 5000);
  for (const auto& m : messages) list->Add(m + "|");
  list->Show(1);
}

void ShowMessageList(PluginContext& ctx, const Ref<host::IDictionary>& records) {
  std::vector<std::string> messages;
  if (records)
    for (const auto& key : records->Keys())
      if (auto record = records->Item(key).ObjectAs<host::IDictionary>())
        messages.push_back(vb::CStr(record->Item("Message")));
  ShowMessageList(ctx, messages);
}

std::string SingleLineText(std::string_view text, bool trim) {
  std::string s = trim ? vb::Trim(text) : std::string(text);
  s = vb::Replace(s, "\r\n", "");
  s = vb::Replace(s, "\n", "");
  return vb::Replace(s, "\r", "");
}

std::string LogFilePath(PluginContext& ctx) {
  return ResumeOr<std::string>({}, [&]() -> std::string {
    std::string dir = vb::Trim(ctx.host().SystemDirectory());
    if (dir.size() > 255) dir.resize(255);
    if (dir.empty()) return {};
    std::uint32_t sessionId = 0;
    Resume([&] { sessionId = ctx.host().ProcessId() == 0 ? 0 : ctx.host().TerminalSessionId(); });
    return dir + "/LUMTradeLog_" + std::to_string(sessionId) + ".log";
  });
}

void WriteLog(PluginContext& ctx, std::string_view text, bool startNewFile) {
  Resume([&] {
    const std::string path = LogFilePath(ctx);
    if (path.empty()) return;
    std::ofstream out(path, startNewFile ? std::ios::trunc : std::ios::app);
    out << text << "\r\n";
  });
}

bool AskRejectNote(PluginContext& ctx, std::string& note) {
  auto form = Ref<RejectNoteForm>::Adopt(new RejectNoteForm);
  form->SetNote(note);
  ctx.host().Ui()->ShowRejectNote(form);
  if (!form->Confirmed()) return false;
  note = form->Note();
  return true;
}

}  // namespace zov::plugins::services
