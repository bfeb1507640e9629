#include "session/scripted_ui.h"

#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

bool IsButtonWord(const std::string& a) {
  return a == "Yes" || a == "No" || a == "OK" || a == "Cancel";
}

// A dictionary's items as lines "key: value" (nested dictionaries one level deep).
void Describe(const vb::Ref<host::IDictionary>& dict, std::vector<std::string>& lines,
              const std::string& indent = "") {
  if (!dict) return;
  for (const auto& key : dict->Keys()) {
    const vb::Variant v = dict->Item(key);
    if (auto inner = v.ObjectAs<host::IDictionary>()) {
      lines.push_back(indent + vb::CStr(key) + ":");
      if (indent.size() < 4) Describe(inner, lines, indent + "  ");
    } else if (!v.IsObject()) {
      lines.push_back(indent + vb::CStr(key) + ": " +
                      (v.IsNull() ? std::string("Null") : vb::CStr(v)));
    }
  }
}

}  // namespace

void ScriptedUi::Queue(const std::vector<std::string>& answers) {
  for (const auto& a : answers) answers_.push_back(a);
}

int ScriptedUi::MsgBox(std::string_view text, int buttons, std::string_view title) {
  const int set = buttons & 7;
  const bool question = set == host::vbYesNo || set == 3;
  int answer = question ? host::vbNo : (set == host::vbOKCancel ? host::vbCancel : host::vbOK);
  if (!answers_.empty() && IsButtonWord(answers_.front())) {
    const std::string a = answers_.front();
    answers_.pop_front();
    answer = a == "Yes"      ? host::vbYes
             : a == "No"     ? host::vbNo
             : a == "Cancel" ? host::vbCancel
                             : host::vbOK;
  } else if (!question) {
    answer = host::vbOK;
  }
  messages_.push_back({std::string(text), buttons, std::string(title), answer});
  return answer;
}

std::string ScriptedUi::InputBox(std::string_view prompt, std::string_view title,
                                 std::string_view) {
  std::string answer;
  if (!answers_.empty()) {
    answer = answers_.front() == "Cancel" ? std::string() : answers_.front();
    answers_.pop_front();
  }
  windows_.push_back({"input", std::string(title), {std::string(prompt), answer}});
  return answer;
}

void ScriptedUi::ShowRejectNote(const vb::Ref<host::IRejectNoteForm>& form) {
  form->Load();
  std::string typed;
  bool cancel = true;
  if (!answers_.empty()) {
    typed = answers_.front();
    answers_.pop_front();
    cancel = typed == "Cancel";
  }
  if (!cancel) {
    form->TextChanged(typed);
    if (form->OkEnabled())
      form->ClickOk();
    else
      form->ClickCancel();
  } else {
    form->ClickCancel();
  }
  windows_.push_back({"rejectNote", form->Caption(), {cancel ? std::string("Cancel") : typed}});
}

void ScriptedUi::ShowPopTip(std::string_view title, std::string_view text) {
  windows_.push_back({"tip", std::string(title), {std::string(text)}});
}

void ScriptedUi::ShowList(const std::vector<std::string>& titles, const std::vector<long>&,
                          const std::vector<std::vector<std::string>>& rows) {
  ShownWindow w{"list", vb::Join(titles, "|"), {}};
  for (const auto& row : rows) w.lines.push_back(vb::Join(row, "|"));
  windows_.push_back(std::move(w));
}

host::SelectionResult ScriptedUi::SelectItems(const vb::Ref<host::IRecordset>& items,
                                              const std::vector<long>& checked,
                                              std::string_view title, bool) {
  host::SelectionResult result;
  ShownWindow w{"select", std::string(title), {}};
  // The answer names the items to check by number (or ID), separated by ","; "Cancel" closes the
  // window without a result; no answer keeps the pre-checked items.
  std::vector<std::string> wanted;
  bool answered = false;
  if (!answers_.empty() && !IsButtonWord(answers_.front())) {
    wanted = vb::Split(answers_.front(), ",");
    answers_.pop_front();
    answered = true;
  } else if (!answers_.empty() && answers_.front() == "Cancel") {
    answers_.pop_front();
    windows_.push_back(std::move(w));
    return result;
  }
  result.shown = true;
  if (items) {
    items->MoveFirst();
    while (!items->Eof()) {
      const long id = vb::CLng(items->Value(0L));
      const std::string number =
          items->Fields()->Count() > 1 ? vb::CStr(items->Value(1L)) : std::to_string(id);
      const std::string name = items->Fields()->Count() > 2 ? vb::CStr(items->Value(2L)) : number;
      w.lines.push_back(number + " " + name);
      bool take = false;
      if (answered) {
        for (const auto& want : wanted)
          if (vb::Trim(want) == number || vb::Trim(want) == std::to_string(id)) take = true;
      } else {
        for (long c : checked)
          if (c == id) take = true;
      }
      if (take) {
        result.checkedIds.push_back(id);
        result.checkedNames.push_back(number + "-" + name);
      }
      items->MoveNext();
    }
  }
  windows_.push_back(std::move(w));
  return result;
}

void ScriptedUi::ShowRelatedBills(std::string_view caption, std::string_view titleName,
                                  const vb::Ref<host::IDictionary>& titleDict,
                                  const vb::Ref<host::IDictionary>& entryDict, long classTypeId) {
  ShownWindow w{"related",
                std::string(caption),
                {std::string(titleName), "ClassTypeID: " + std::to_string(classTypeId)}};
  Describe(titleDict, w.lines);
  Describe(entryDict, w.lines);
  windows_.push_back(std::move(w));
}

void ScriptedUi::ShowData(std::string_view caption, const vb::Variant& data) {
  ShownWindow w{"data", std::string(caption), {}};
  if (auto dict = data.ObjectAs<host::IDictionary>())
    Describe(dict, w.lines);
  else if (!data.IsObject())
    w.lines.push_back(vb::CStr(data));
  windows_.push_back(std::move(w));
}

}  // namespace zov::sim
