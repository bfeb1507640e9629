// frmRejectNote, the dialog in which the user types why a bill is rejected. Its state and rules
// are the library's; the host shows it and forwards what the user types and clicks.
#pragma once

#include <string>

#include "zov/host/ui.h"

namespace zov::plugins {

class RejectNoteForm final : public vb::Implements<host::IRejectNoteForm> {
 public:
  std::string TypeName() const override { return "frmRejectNote"; }
  std::string Caption() const override { return "驳回原因"; }
  std::string Label() const override { return "请输入驳回原因："; }
  std::string OkCaption() const override { return "确定"; }
  std::string CancelCaption() const override { return "取消"; }
  // On load: not confirmed; the preset note goes into the text box.
  void Load() override;
  std::string Text() const override { return text_; }
  void TextChanged(std::string_view text) override;
  // cmdOK accepts a click only while the trimmed text is not empty.
  bool OkEnabled() const override { return okEnabled_; }
  // cmdOK: the note is the text as typed (untrimmed); confirmed; the dialog hides.
  void ClickOk() override;
  // cmdCancel: the dialog hides; note and confirmed stay as they were.
  void ClickCancel() override { visible_ = false; }

  void SetNote(std::string note) { note_ = std::move(note); }
  const std::string& Note() const { return note_; }
  bool Confirmed() const { return confirmed_; }
  bool Visible() const { return visible_; }

 private:
  std::string note_, text_;
  bool confirmed_ = false;
  bool okEnabled_ = false;
  bool visible_ = false;
};

}  // namespace zov::plugins
