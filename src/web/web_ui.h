// The user interface of a browser session. A message box, an input box, the reject-note dialog
// and the host's windows become dialogs of the window whose thread shows them: the thread parks
// until the person answers in the browser. A box shown while the window is closing (or from no
// window at all) takes its default answer: OK for a message, No for a question, Cancel for the
// others.
#pragma once

#include "zov/host/ui.h"

namespace zov::web {

class WebUi final : public vb::Implements<host::IHostUi> {
 public:
  static vb::Ref<WebUi> New() { return vb::Ref<WebUi>::Adopt(new WebUi); }
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

 private:
  WebUi() = default;
};

// The answer a message box with `buttons` takes when nobody answers it.
int DefaultAnswer(int buttons);
// Whether `result` is one of the buttons of `buttons`.
bool IsButtonOf(int buttons, int result);

}  // namespace zov::web
