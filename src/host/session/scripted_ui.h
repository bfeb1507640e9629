// The user interface of a scripted session: every message, window and dialog is recorded, and
// the answers come from a queue ("Yes", "No", "OK", "Cancel", a text for an input box or the
// reject-note dialog, bill numbers for a selection window). A box with nothing queued gets its
// default answer: OK for a message, No for a question, Cancel for the others.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "zov/host/ui.h"

namespace zov::sim {

struct ShownMessage {
  std::string text;
  int buttons = 0;
  std::string title;
  int answer = 0;
};

struct ShownWindow {
  std::string kind;     // "list", "related", "tip", "data", "select"
  std::string caption;  // title or caption
  std::vector<std::string> lines;
};

class ScriptedUi final : public vb::Implements<host::IHostUi> {
 public:
  static vb::Ref<ScriptedUi> New() { return vb::Ref<ScriptedUi>::Adopt(new ScriptedUi); }
  std::string TypeName() const override { return "HostUi"; }

  int MsgBox(std::string_view text, int buttons, std::string_view title) override;
  std::string InputBox(std::string_view prompt, std::string_view title,
                       std::string_view defaultText) override;
  void ShowRejectNote(const vb::Ref<host::IRejectNoteForm>& form) override;
  void ShowPopTip(std::string_view title, std::string_view text) override;
  void ShowList(const std::vector<std::string>& titles, const std::vector<long>& widths,
                const std::vector<std::vector<std::string>>& rows) override;
  host::SelectionResult SelectItems(const vb::Ref<host::IRecordset>& items,
                                    const std::vector<long>& checked, std::string_view title,
                                    bool single) override;
  void ShowRelatedBills(std::string_view caption, std::string_view titleName,
                        const vb::Ref<host::IDictionary>& titleDict,
                        const vb::Ref<host::IDictionary>& entryDict, long classTypeId) override;
  void ShowData(std::string_view caption, const vb::Variant& data) override;

  // Queues answers for the next boxes and dialogs.
  void Queue(const std::vector<std::string>& answers);
  // The answers still queued.
  const std::deque<std::string>& pending() const { return answers_; }
  // Every message box shown, in order; and every window.
  const std::vector<ShownMessage>& messages() const { return messages_; }
  const std::vector<ShownWindow>& windows() const { return windows_; }

 private:
  ScriptedUi() = default;
  std::deque<std::string> answers_;
  std::vector<ShownMessage> messages_;
  std::vector<ShownWindow> windows_;
};

}  // namespace zov::sim
