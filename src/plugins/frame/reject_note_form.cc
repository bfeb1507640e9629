#include "frame/reject_note_form.h"

#include "zov/vb/strings.h"

namespace zov::plugins {

void RejectNoteForm::Load() {
  confirmed_ = false;
  visible_ = true;
  if (!note_.empty()) text_ = note_;
  okEnabled_ = !vb::Trim(text_).empty();
}

void RejectNoteForm::TextChanged(std::string_view text) {
  text_ = text;
  okEnabled_ = !vb::Trim(text_).empty();
}

void RejectNoteForm::ClickOk() {
  if (!okEnabled_) return;  // a disabled button takes no click
  note_ = text_;
  confirmed_ = true;
  visible_ = false;
}

}  // namespace zov::plugins
