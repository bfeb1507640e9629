// What the host shows to the person at the form: message boxes, input boxes, the library's
// reject-note dialog, pop-up tips and the host's list, selection and related-bill windows. A
// scripted session answers from a queue; the browser host parks the form's thread until the
// person answers.
#pragma once

#include <string>
#include <vector>

#include "zov/host/dictionary.h"
#include "zov/host/recordset.h"

namespace zov::host {

// Message box buttons, icons and results, with VB's codes.
enum MsgBoxStyle : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbYesNo = 4,
  vbQuestion = 32,
  vbInformation = 64,
  vbDefaultButton2 = 256,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// The reject-note dialog of the library: its state and behaviour belong to the library; the
// host shows it modally, forwards what the person types and clicks, and reads nothing else.
class IRejectNoteForm : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D50}");
  virtual std::string Caption() const = 0;
  virtual std::string Label() const = 0;
  virtual std::string OkCaption() const = 0;
  virtual std::string CancelCaption() const = 0;
  // Runs the form's load step; the host calls it once before showing the form.
  virtual void Load() = 0;
  // The text box content.
  virtual std::string Text() const = 0;
  // The person changed the text box content.
  virtual void TextChanged(std::string_view text) = 0;
  // Whether the OK button accepts a click now.
  virtual bool OkEnabled() const = 0;
  // A click on OK or Cancel; both hide the form, which ends the modal loop.
  virtual void ClickOk() = 0;
  virtual void ClickCancel() = 0;

 protected:
  ~IRejectNoteForm() = default;
};

// The result of the host's selection window: the checked items.
struct SelectionResult {
  bool shown = false;                     // false when the window could not be shown (no result)
  std::vector<long> checkedIds;           // the checked items' internal IDs, in list order
  std::vector<std::string> checkedNames;  // their display names ("ShowName")
};

class IHostUi : public vb::IObject {
 public:
  static constexpr Guid IID = Guid::Parse("{5B3C6E10-2D44-4E1B-9A61-0C4F3B7A1D51}");
  // A modal message box; `buttons` combines a button set, an icon and a default button as VB's
  // MsgBox does. Returns vbOK, vbCancel, vbYes or vbNo.
  virtual int MsgBox(std::string_view text, int buttons, std::string_view title) = 0;
  // A modal input box; returns the text entered, "" when cancelled.
  virtual std::string InputBox(std::string_view prompt, std::string_view title,
                               std::string_view defaultText) = 0;
  // Shows the reject-note form modally; returns when the form hid itself.
  virtual void ShowRejectNote(const Ref<IRejectNoteForm>& form) = 0;
  // A pop-up tip that closes by itself.
  virtual void ShowPopTip(std::string_view title, std::string_view text) = 0;
  // The list window: column titles, column widths (twips) and rows of cells.
  virtual void ShowList(const std::vector<std::string>& titles, const std::vector<long>& widths,
                        const std::vector<std::vector<std::string>>& rows) = 0;
  // The selection window over `items` (columns FItemID, FNumber, FName, ...), pre-checking
  // `checked`; returns the checked items.
  virtual SelectionResult SelectItems(const Ref<IRecordset>& items,
                                      const std::vector<long>& checked, std::string_view title,
                                      bool single) = 0;
  // The related-bill window: caption, title, the header items (TitleDict) and the columns and
  // records (EntryDict) of the bills related to a bill of class `classTypeId`.
  virtual void ShowRelatedBills(std::string_view caption, std::string_view titleName,
                                const Ref<IDictionary>& titleDict,
                                const Ref<IDictionary>& entryDict, long classTypeId) = 0;
  // A data window of a host component (invoice or logistics data handed over by the library).
  virtual void ShowData(std::string_view caption, const Variant& data) = 0;

 protected:
  ~IHostUi() = default;
};

}  // namespace zov::host
