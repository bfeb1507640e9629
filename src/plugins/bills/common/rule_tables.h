// The tables that make a bill class read as its rules: field changes and tool clicks (as the
// handlers see them) dispatched from a key to a small handler, and save and audit validation as
// ordered lists of named checks.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "frame/plugin_context.h"
#include "frame/resume.h"
#include "zov/host/dictionary.h"
#include "zov/host/toolbar.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

// A field change as a class's handlers see it, made of the arguments of Change.
struct FieldChange {
  FieldChange(const Ref<host::IDictionary>& fieldInfo, const Ref<host::IDictionary>& record,
              long changedRow, bool& cancelled)
      : key(ResumeOr<std::string>({}, [&] { return vb::CStr(fieldInfo->Item("FKey")); })),
        row(changedRow),
        previous(ResumeOr<Variant>({}, [&] { return record ? record->Item("FFLD") : Variant{}; })),
        field(fieldInfo),
        change(record),
        cancel(cancelled) {}

  // The value before the change as a number; 0 for an empty cell.
  double PreviousNumber() const {
    return previous.IsEmpty() || previous.IsNull() ? 0 : vb::Val(vb::CStr(previous));
  }

  std::string key;                // the changed field's key as the host spells it
  long row;                       // -1 for a head field
  Variant previous;               // the cell's value before the change
  Ref<host::IDictionary> field;   // the host's descriptor of the field
  Ref<host::IDictionary> change;  // the host's record of the change
  bool& cancel;
};

// A tool click as a class's handlers see it, made of the arguments of MenuBarClick.
struct ToolClick {
  ToolClick(const Ref<host::ITool>& clicked, bool& cancelled)
      : tool(clicked),
        key(ResumeOr<std::string>({}, [&] { return clicked->Name(); })),
        cancel(cancelled) {}

  Ref<host::ITool> tool;
  std::string key;
  bool& cancel;
};

// A table from keys to handlers, built once; keys are compared ignoring case, as the host's keys
// are ("FITEMID" is "FItemID").
template <class Handler>
class KeyTable {
 public:
  struct Entry {
    std::initializer_list<std::string_view> keys;
    Handler handler;
  };
  KeyTable(std::initializer_list<Entry> entries) {
    for (const Entry& e : entries)
      for (std::string_view key : e.keys) Add(key, e.handler);
  }
  // One more key; a key the table has keeps its handler.
  void Add(std::string_view key, Handler handler) { handlers_.emplace(vb::UCase(key), handler); }
  // The handler of `key`; nullptr when the table has none.
  const Handler* Find(std::string_view key) const {
    const auto it = handlers_.find(vb::UCase(key));
    return it == handlers_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<std::string, Handler> handlers_;
};

// One step of an ordered check list over a check object: a check decides, shows its message and
// places the cursor, and false ends the list; a write step brings cells in line and cannot fail.
template <class Checks>
struct CheckStep {
  bool (Checks::*check)() = nullptr;
  void (Checks::*write)() = nullptr;
};
template <class Checks>
constexpr CheckStep<Checks> Check(bool (Checks::*check)()) {
  return {check, nullptr};
}
template <class Checks>
constexpr CheckStep<Checks> Write(void (Checks::*write)()) {
  return {nullptr, write};
}

// Runs the steps in their order; false at the first check that fails.
template <class Checks, std::size_t N>
bool RunChecks(Checks& checks, const CheckStep<Checks> (&steps)[N]) {
  for (const CheckStep<Checks>& step : steps) {
    if (step.write)
      (checks.*step.write)();
    else if (!(checks.*step.check)())
      return false;
  }
  return true;
}

}  // namespace zov::plugins::sales
