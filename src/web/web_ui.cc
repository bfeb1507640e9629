#include "web_ui.h"

#include <algorithm>

#include "views.h"
#include "window.h"
#include "zov/vb/convert.h"

namespace zov::web {

namespace {

// The buttons of each VB button set, with the results they give.
const std::vector<int>& ButtonsOf(int buttons) {
  static const std::vector<int> kSets[] = {
      {host::vbOK},                               // vbOKOnly
      {host::vbOK, host::vbCancel},               // vbOKCancel
      {3, 4, 5},                                  // vbAbortRetryIgnore
      {host::vbYes, host::vbNo, host::vbCancel},  // vbYesNoCancel
      {host::vbYes, host::vbNo},                  // vbYesNo
      {4, host::vbCancel},                        // vbRetryCancel
  };
  const int set = buttons & 7;
  return kSets[set <= 5 ? set : 0];
}

Json Ask(Json dialog) {
  Window* window = Window::Active();
  return window ? window->Ask(std::move(dialog)) : Json();
}

// What the person of the showing window may not see; everything guarded when no window shows.
const sim::Withheld& WithheldNow() {
  static const sim::Withheld everything;
  Window* window = Window::Active();
  return window ? window->withheld() : everything;
}

// An answer's flag: true only for a JSON true (the browser sends what it likes).
bool Flag(const Json& answer, const char* key) {
  return answer.is_object() && answer.contains(key) && answer[key].is_boolean() &&
         answer[key].get<bool>();
}

std::string Text(const Json& answer, const char* key) {
  return answer.is_object() && answer.contains(key) && answer[key].is_string()
             ? answer[key].get<std::string>()
             : std::string();
}

}  // namespace

int DefaultAnswer(int buttons) {
  switch (buttons & 7) {
    case host::vbOKCancel:
    case 3:
    case 5:
      return host::vbCancel;
    case 2:
      return 3;
    case host::vbYesNo:
      return host::vbNo;
    default:
      return host::vbOK;
  }
}

bool IsButtonOf(int buttons, int result) {
  for (int b : ButtonsOf(buttons))
    if (b == result) return true;
  return false;
}

int WebUi::MsgBox(std::string_view text, int buttons, std::string_view title) {
  const Json answer = Ask(Json{{"kind", "msgbox"},
                               {"text", text},
                               {"title", title},
                               {"buttons", ButtonsOf(buttons)},
                               {"icon", buttons & 0x70},
                               {"defaultButton", (buttons >> 8) & 3}});
  if (answer.is_object() && answer.contains("result") && answer["result"].is_number_integer()) {
    const long long result = answer["result"].get<long long>();
    if (result >= 0 && result <= 7 && IsButtonOf(buttons, static_cast<int>(result)))
      return static_cast<int>(result);
  }
  return DefaultAnswer(buttons);
}

std::string WebUi::InputBox(std::string_view prompt, std::string_view title,
                            std::string_view defaultText) {
  const Json answer =
      Ask(Json{{"kind", "input"}, {"prompt", prompt}, {"title", title}, {"text", defaultText}});
  if (!Flag(answer, "ok")) return {};
  return Text(answer, "text");
}

void WebUi::ShowRejectNote(const vb::Ref<host::IRejectNoteForm>& form) {
  form->Load();
  // The dialog stays open while the person types: each change goes to the form, whose OK
  // button state comes back with the dialog; OK and Cancel end it.
  for (;;) {
    const Json answer = Ask(Json{{"kind", "rejectNote"},
                                 {"caption", form->Caption()},
                                 {"label", form->Label()},
                                 {"okCaption", form->OkCaption()},
                                 {"cancelCaption", form->CancelCaption()},
                                 {"text", form->Text()},
                                 {"okEnabled", form->OkEnabled()}});
    const std::string action = Text(answer, "action").empty() ? "cancel" : Text(answer, "action");
    if (action == "text" || action == "ok") {
      if (answer.contains("text") && Text(answer, "text") != form->Text())
        form->TextChanged(Text(answer, "text"));
      if (action == "ok" && form->OkEnabled()) {
        form->ClickOk();
        return;
      }
      continue;
    }
    form->ClickCancel();
    return;
  }
}

void WebUi::ShowPopTip(std::string_view title, std::string_view text) {
  if (Window* window = Window::Active())
    window->Notice(Json{{"kind", "tip"}, {"title", title}, {"text", text}});
}

void WebUi::ShowList(const std::vector<std::string>& titles, const std::vector<long>& widths,
                     const std::vector<std::vector<std::string>>& rows) {
  // A column whose title names a withheld value is left out.
  const sim::Withheld& withheld = WithheldNow();
  std::vector<std::size_t> shown;
  Json shownTitles = Json::array(), shownWidths = Json::array(), shownRows = Json::array();
  for (std::size_t i = 0; i < titles.size(); ++i) {
    if (withheld.HidesCaption(titles[i])) continue;
    shown.push_back(i);
    shownTitles.push_back(titles[i]);
    shownWidths.push_back(i < widths.size() ? widths[i] : 0);
  }
  for (const auto& row : rows) {
    Json cells = Json::array();
    for (std::size_t i : shown) cells.push_back(i < row.size() ? row[i] : std::string());
    shownRows.push_back(std::move(cells));
  }
  Ask(Json{{"kind", "list"},
           {"titles", std::move(shownTitles)},
           {"widths", std::move(shownWidths)},
           {"rows", std::move(shownRows)}});
}

host::SelectionResult WebUi::SelectItems(const vb::Ref<host::IRecordset>& items,
                                         const std::vector<long>& checked, std::string_view title,
                                         bool single) {
  host::SelectionResult result;
  // The items as the window lists them: internal ID, number, name and the further columns.
  struct Item {
    long id;
    std::string number, name;
  };
  std::vector<Item> all;
  Json columns = Json::array(), rows = Json::array();
  if (items) {
    auto fields = items->Fields();
    const long count = fields ? fields->Count() : 0;
    // The columns after the ID, but for those that hold a withheld value.
    const sim::Withheld& withheld = WithheldNow();
    std::vector<long> shown;
    for (long i = 1; i < count; ++i) {
      const std::string name = fields->Item(i)->Name();
      if (withheld.HidesName(name)) continue;
      shown.push_back(i);
      columns.push_back(name);
    }
    items->MoveFirst();
    while (!items->Eof()) {
      Item item{vb::CLng(items->Value(0L)), {}, {}};
      auto text = [&](long i) {
        const vb::Variant v = items->Value(i);
        return v.IsNull() ? std::string() : vb::CStr(v);
      };
      Json cells = Json::array();
      for (long i : shown) cells.push_back(text(i));
      item.number = count > 1 ? text(1) : std::to_string(item.id);
      item.name = count > 2 ? text(2) : item.number;
      rows.push_back(Json{{"id", item.id}, {"cells", std::move(cells)}});
      all.push_back(std::move(item));
      items->MoveNext();
    }
  }
  const Json answer = Ask(Json{{"kind", "select"},
                               {"title", title},
                               {"single", single},
                               {"columns", std::move(columns)},
                               {"rows", std::move(rows)},
                               {"checked", checked}});
  if (!Flag(answer, "ok")) return result;
  result.shown = true;
  std::vector<long> wanted;
  if (answer.contains("ids") && answer["ids"].is_array())
    for (const auto& id : answer["ids"])
      if (id.is_number_integer()) wanted.push_back(static_cast<long>(id.get<long long>()));
  for (const Item& item : all) {
    if (std::find(wanted.begin(), wanted.end(), item.id) == wanted.end()) continue;
    result.checkedIds.push_back(item.id);
    result.checkedNames.push_back(item.number + "-" + item.name);
    if (single) break;
  }
  return result;
}

void WebUi::ShowRelatedBills(std::string_view caption, std::string_view titleName,
                             const vb::Ref<host::IDictionary>& titleDict,
                             const vb::Ref<host::IDictionary>& entryDict, long classTypeId) {
  Ask(Json{{"kind", "related"},
           {"caption", caption},
           {"titleName", titleName},
           {"titleDict", ToJson(vb::Variant(titleDict), WithheldNow())},
           {"entryDict", ToJson(vb::Variant(entryDict), WithheldNow())},
           {"classTypeId", classTypeId}});
}

void WebUi::ShowData(std::string_view caption, const vb::Variant& data) {
  Ask(Json{{"kind", "data"}, {"caption", caption}, {"data", ToJson(data, WithheldNow())}});
}

}  // namespace zov::web
