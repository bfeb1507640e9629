#include "scenario/scenario.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "bill/bill_form.h"
#include "bill/form_parts.h"
#include "list/bill_list.h"
#include "session/scripted_ui.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

using Json = nlohmann::ordered_json;

// A malformed scenario: names the step and what is wrong.
struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Variant ToVariant(const Json& j) {
  if (j.is_null()) return {};
  if (j.is_boolean()) return j.get<bool>();
  if (j.is_number_integer()) return j.get<long long>();
  if (j.is_number()) return j.get<double>();
  if (j.is_string()) return j.get<std::string>();
  throw Malformed("a value must be a number, a text, true/false or null, not " + j.dump());
}

std::string Show(const Variant& v) {
  if (v.IsEmpty()) return "(empty)";
  if (v.IsNull()) return "null";
  if (v.Type() == vb::VarType::Date) return vb::Format(v, "yyyy-MM-dd HH:mm:ss");
  if (v.IsString()) return "\"" + v.AsString() + "\"";
  return vb::CStr(v);
}

// A JSON library message without its "[json.exception...] " prefix.
std::string WithoutErrorId(const std::string& what) {
  const auto end = what.rfind("] ", what.find(' '));
  return what.rfind("[json.exception", 0) == 0 && end != std::string::npos ? what.substr(end + 2)
                                                                           : what;
}

bool IsNumberText(const std::string& s) { return !s.empty() && vb::IsNumeric(Variant(s)); }

// Whether `actual` shows as `expected`: numbers within 1e-9, texts exactly, dates by their date
// (and time when the expectation has one), empty and null alike for null.
bool Matches(const Variant& actual, const Json& expected) {
  if (expected.is_null())
    return actual.IsEmpty() || actual.IsNull() || (actual.IsString() && actual.AsString().empty());
  if (expected.is_number() || expected.is_boolean()) {
    const double want =
        expected.is_boolean() ? (expected.get<bool>() ? 1 : 0) : expected.get<double>();
    double got = 0;
    if (actual.IsString()) {
      if (!actual.AsString().empty() && !IsNumberText(actual.AsString())) return false;
      got = vb::Val(actual.AsString());
    } else if ((actual.Type() == vb::VarType::Boolean)) {
      got = actual.AsBool() ? 1 : 0;
      if (expected.is_boolean()) return got == want;
      got = actual.AsBool() ? -1 : 0;
    } else if (!actual.IsEmpty() && !actual.IsNull()) {
      got = actual.Type() == vb::VarType::Date ? actual.AsDate().serial : vb::CDbl(actual);
    }
    return std::fabs(got - want) <= 1e-9 * std::max(1.0, std::fabs(want));
  }
  if (expected.is_string()) {
    const std::string want = expected.get<std::string>();
    if (actual.Type() == vb::VarType::Date) {
      const std::string form = want.size() > 10 ? "yyyy-MM-dd HH:mm:ss" : "yyyy-MM-dd";
      return vb::Format(actual, form) == want;
    }
    if (actual.IsEmpty() || actual.IsNull()) return want.empty();
    if (actual.IsNumber() && IsNumberText(want))
      return std::fabs(vb::CDbl(actual) - vb::Val(want)) <= 1e-9;
    return vb::CStr(actual) == want;
  }
  return false;
}

// Typed reads of a scenario's values: a value of the wrong kind is malformed, named by its key.
std::string Text(const Json& j, const std::string& what) {
  if (!j.is_string()) throw Malformed("\"" + what + "\" takes a text, not " + j.dump());
  return j.get<std::string>();
}
bool Flag(const Json& j, const std::string& what) {
  if (!j.is_boolean()) throw Malformed("\"" + what + "\" takes true or false, not " + j.dump());
  return j.get<bool>();
}
long Int(const Json& j, const std::string& what) {
  if (!j.is_number_integer())
    throw Malformed("\"" + what + "\" takes a whole number, not " + j.dump());
  return j.get<long>();
}
std::vector<std::string> Texts(const Json& j, const std::string& what) {
  if (!j.is_array()) throw Malformed("\"" + what + "\" takes a list of texts, not " + j.dump());
  std::vector<std::string> texts;
  for (const auto& t : j) texts.push_back(Text(t, what));
  return texts;
}
const Json& Object(const Json& j, const std::string& what) {
  if (!j.is_object()) throw Malformed("\"" + what + "\" takes an object, not " + j.dump());
  return j;
}

// The keys each kind of step takes besides its own, in the order steps are told apart.
const std::vector<std::pair<std::string, std::vector<std::string>>>& StepKinds() {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> kinds = {
      {"open", {"bill", "list", "edit", "billType"}},
      {"set", {"row"}},
      {"addRow", {"grid"}},
      {"deleteRow", {"grid"}},
      {"enter", {"row", "grid"}},
      {"answer", {}},
      {"select", {}},
      {"selectSource", {}},
      {"save", {}},
      {"audit", {}},
      {"unaudit", {}},
      {"copy", {"merge"}},
      {"click", {}},
      {"control", {"event", "key", "choose"}},
      {"fill", {"grid"}},
      {"expect", {}}};
  return kinds;
}

// "KEY" or "KEY@ROW".
std::pair<std::string, long> CellRef(const std::string& text) {
  const auto at = text.find('@');
  if (at == std::string::npos) return {text, -1};
  const std::string row = text.substr(at + 1);
  if (row.empty() || row.size() > 9 || row.find_first_not_of("0123456789") != std::string::npos)
    throw Malformed("\"" + text + "\": the row after @ must be a row number");
  return {text.substr(0, at), std::atol(row.c_str())};
}

class Player {
 public:
  Player(std::string name, const ScenarioDatabases& databases, std::ostream& out)
      : name_(std::move(name)), databases_(databases), out_(out) {}

  ScenarioOutcome Play(const Json& scenario) {
    ScenarioOutcome outcome;
    outcome.file = name_;
    try {
      Setup(scenario);
      if (!scenario.contains("steps") || !scenario["steps"].is_array())
        throw Malformed("\"steps\" must be a list");
      for (const Json& step : scenario["steps"]) {
        ++step_;
        out_ << name_ << " step " << step_ << ": " << step.dump() << "\n";
        RunStep(step);
        // The form repaints what the step uncovered, as a shown form does.
        if (form_.form) form_.form->PaintControls();
      }
      ++step_;
      CheckJournal(Json());  // whatever went wrong after the last expectation
      // An answer no box took was meant for a box that never came.
      if (ui_ && !ui_->pending().empty()) {
        const std::vector<std::string> left(ui_->pending().begin(), ui_->pending().end());
        Fail("answers", "every queued answer taken by a box", Json(left).dump() + " never taken");
      }
    } catch (const Malformed& e) {
      out_ << name_ << " step " << step_ << ": malformed: " << e.what() << "\n";
      ++failures_;
    } catch (const Json::exception& e) {
      out_ << name_ << " step " << step_ << ": malformed: " << WithoutErrorId(e.what()) << "\n";
      ++failures_;
    } catch (const std::exception& e) {
      out_ << name_ << " step " << step_ << ": failed: " << e.what() << "\n";
      ++failures_;
    }
    CloseAll();
    outcome.steps = step_;
    outcome.failures = failures_;
    return outcome;
  }

 private:
  void Setup(const Json& s) {
    if (!s.is_object()) throw Malformed("a scenario is a JSON object");
    const std::string kind = s.contains("db") ? Text(s["db"], "db") : std::string("demo");
    if (kind != "demo" && kind != "empty") throw Malformed("\"db\" must be \"demo\" or \"empty\"");
    const std::string path = databases_.freshCopy(kind);
    if (s.contains("setup")) {
      if (!s["setup"].is_array()) throw Malformed("\"setup\" must be a list of T-SQL batches");
      auto connection = databases_.connect(path);
      int n = 0;
      for (const auto& batch : s["setup"]) {
        ++n;
        if (!batch.is_string()) throw Malformed("a setup batch must be a text");
        try {
          connection->Execute(batch.get<std::string>());
        } catch (const std::exception& e) {
          throw Malformed("setup batch " + std::to_string(n) + " failed: " + e.what());
        }
      }
    }
    SessionOptions options;
    // Scenarios run on a fixed clock: the day the demo account set is laid out for.
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    const Json session = s.value("session", Json::object());
    if (!session.is_object()) throw Malformed("\"session\" must be an object");
    if (session.contains("user")) options.user = Text(session["user"], "user");
    if (session.contains("bag")) {
      if (!session["bag"].is_object()) throw Malformed("\"session\".\"bag\" must be an object");
      for (const auto& [k, v] : session["bag"].items()) options.bag[k] = ToVariant(v);
    }
    if (session.contains("today")) {
      const auto d = vb::ParseDate(Text(session["today"], "today"));
      if (!d) throw Malformed("\"session\".\"today\" is not a date");
      options.clock = d->serial == std::floor(d->serial) ? vb::Date{d->serial + 10.0 / 24} : *d;
    }
    ui_ = ScriptedUi::New();
    session_ =
        std::make_unique<Session>(databases_.connect(path), databases_.templates, options, ui_);
  }

  void RunStep(const Json& step) {
    if (!step.is_object() || step.empty())
      throw Malformed("a step is an object such as {\"open\": \"BillEvent_Sale\"}");
    // A step does one thing; a key it does not take is a slip of the pen, never ignored.
    for (const auto& [kind, options] : StepKinds()) {
      if (!step.contains(kind)) continue;
      for (const auto& [key, value] : step.items())
        if (key != kind && std::find(options.begin(), options.end(), key) == options.end())
          throw Malformed("a \"" + kind + "\" step does not take \"" + key + "\"");
      break;
    }
    if (step.contains("open")) return Open(step);
    if (step.contains("set")) return Set(step);
    if (step.contains("addRow"))
      return Need(form_.form, "addRow"), (void)form_.form->AddRow(Grid(step));
    if (step.contains("deleteRow")) {
      Need(form_.form, "deleteRow");
      const long row = Int(step["deleteRow"], "deleteRow");
      NeedRow(row, Grid(step));
      form_.form->DeleteRow(row, Grid(step));
      return;
    }
    if (step.contains("enter")) {
      Need(form_.form, "enter");
      if (!step.contains("row")) throw Malformed("\"enter\" needs the \"row\" the cursor enters");
      const long row = Int(step["row"], "row");
      NeedRow(row, Grid(step));
      return form_.form->EnterRow(row, Grid(step));
    }
    if (step.contains("answer")) return Answer(step["answer"]);
    if (step.contains("select")) return Select(step["select"]);
    if (step.contains("selectSource")) return SelectSource(step["selectSource"]);
    if (step.contains("save")) return Tool("mnuEditFileSave");
    if (step.contains("audit")) return Tool("mnuEditCheck");
    if (step.contains("unaudit")) return Tool("mnuEditUnCheck");
    if (step.contains("copy")) return Copy(step);
    if (step.contains("click")) return Tool(Text(step["click"], "click"));
    if (step.contains("control")) return Control(step);
    if (step.contains("fill")) return Fill(step["fill"], Grid(step));
    if (step.contains("expect")) return Expect(step["expect"]);
    throw Malformed("unknown step " + step.dump());
  }

  template <class T>
  static void Need(const T& object, const char* what) {
    if (!object)
      throw Malformed(std::string("\"") + what + "\" needs an open bill (or list); open one first");
  }
  static int Grid(const Json& step) {
    return step.contains("grid") ? static_cast<int>(Int(step["grid"], "grid")) : 1;
  }
  // A row the step names must be one the grid has.
  void NeedRow(long row, int grid) const {
    const long rows = form_.form->RowCount(grid);
    if (row < 1 || row > rows)
      throw Malformed("row " + std::to_string(row) + " does not exist: grid " +
                      std::to_string(grid) + " has " + std::to_string(rows) + " rows");
  }

  void CloseAll() {
    if (session_ && form_.form) session_->Close(form_);
    form_ = OpenForm{};
    list_ = Session::ListForm{};
    session_.reset();
  }

  void Open(const Json& step) {
    const std::string cls = Text(step["open"], "open");
    const long classType = session_->ClassOfPlugin(cls);
    if (!classType) throw Malformed("no bill is served by the plug-in class " + cls);
    // The form before closes as a person closes its window.
    if (form_.form) session_->Close(form_);
    form_ = OpenForm{};
    list_ = Session::ListForm{};
    const bool list = step.contains("list") && Flag(step["list"], "list");
    if (step.contains("billType") && !list)
      throw Malformed("\"billType\" chooses the kind of a list: give \"list\": true");
    if (list) {
      list_ = session_->OpenList(classType,
                                 step.contains("billType") ? Int(step["billType"], "billType") : 0);
      return;
    }
    form_ = session_->OpenBill(classType);
    const bool edit = step.contains("edit") && Flag(step["edit"], "edit");
    if (edit && !step.contains("bill"))
      throw Malformed("\"edit\" opens a stored bill: give \"bill\"");
    if (step.contains("bill")) {
      const std::string no = Text(step["bill"], "bill");
      if (!form_.form->LoadBillByNumber(no, edit ? host::kBillEdit : host::kBillView))
        throw Malformed("there is no bill " + no + " of " + cls);
    } else {
      form_.form->NewBill();
    }
  }

  void Set(const Json& step) {
    Need(form_.form, "set");
    if (!step["set"].is_object())
      throw Malformed("\"set\" takes an object of field keys and values");
    const long row = step.contains("row") ? Int(step["row"], "row") : -1;
    for (const auto& [key, value] : step["set"].items()) {
      const FieldDef* f = form_.form->tmpl().FindAt(key, row);
      if (!f) throw Malformed("the bill has no field " + key);
      if (f->grid != 0 && row < 1) throw Malformed(key + " is a row field: give \"row\"");
      if (f->grid != 0) {
        // Typing into the row after the last one adds it, as the grid does; a row further on is
        // a slip.
        const long rows = form_.form->RowCount(f->grid);
        if (row > rows + 1)
          throw Malformed("row " + std::to_string(row) + " does not exist: the grid has " +
                          std::to_string(rows) + " rows, and typing adds only row " +
                          std::to_string(rows + 1));
        if (row == rows + 1) form_.form->AddRow(f->grid);
      }
      form_.form->Edit(key, f->grid == 0 ? -1 : row, ToVariant(value));
    }
  }

  void Answer(const Json& answers) {
    if (!answers.is_array()) throw Malformed("\"answer\" takes a list such as [\"Yes\"]");
    std::vector<std::string> queue;
    for (const auto& a : answers) {
      if (!a.is_string())
        throw Malformed("answers are texts: \"Yes\", \"No\", \"OK\", \"Cancel\" or what to type");
      queue.push_back(a.get<std::string>());
    }
    ui_->Queue(queue);
  }

  void Select(const Json& bills) {
    Need(list_.list, "select");
    const std::vector<std::string> numbers = Texts(bills, "select");
    if (!list_.list->Select(numbers))
      throw Malformed("the list does not hold every bill of " + bills.dump());
  }

  void SelectSource(const Json& s) {
    Need(form_.form, "selectSource");
    if (!s.is_object() || !s.contains("tool") || !s.contains("bills"))
      throw Malformed(
          "\"selectSource\" takes {\"tool\": \"mnuRelate_1030001\", \"bills\": [\"XSDD000001\"]}");
    std::string numbers;
    for (const auto& b : Texts(s["bills"], "bills")) numbers += (numbers.empty() ? "" : ",") + b;
    const std::string tool = Text(s["tool"], "tool");
    ui_->Queue({numbers});
    Tool(tool);
  }

  void Copy(const Json& step) {
    if (list_.list) {
      // The list's copy tool is clicked, as the person does: the plug-in may refuse it.
      const bool merge = step.contains("merge") && Flag(step["merge"], "merge");
      if (!list_.list->ClickTool(merge ? "mnuEditCopyEntry" : "mnuEditCopy")) return;
      auto data = list_.list->CopySelected(merge);
      if (!data) return;
      form_ = session_->OpenBill(list_.list->FID());
      form_.form->NewFromCopy(data);
      list_ = Session::ListForm{};
      return;
    }
    Tool("mnuEditCopy");
  }

  // A person's click on a button of the form, or another event of a control: "Paint", or
  // "KeyPress" with the "key" typed (a character or a key code).
  void Control(const Json& step) {
    Need(form_.form, "control");
    const std::string name = Text(step["control"], "control");
    if (!form_.form->FindControl(name)) throw Malformed("the form has no control " + name);
    if (step.contains("choose")) {
      if (step.contains("event") || step.contains("key"))
        throw Malformed("a choice takes no \"event\" or \"key\"");
      return Choose(name, step["choose"]);
    }
    const std::string event =
        step.contains("event") ? Text(step["event"], "event") : std::string("Click");
    if (event == "Click") {
      if (step.contains("key")) throw Malformed("a click takes no \"key\"");
      form_.form->ClickControl(name);
      return;
    }
    std::vector<Variant> params;
    if (event == "KeyPress") {
      if (!step.contains("key"))
        throw Malformed("\"KeyPress\" needs the \"key\" pressed: a character or a key code");
      const Json& key = step["key"];
      if (key.is_number_integer())
        params.emplace_back(key.get<long>());
      else if (key.is_string() && vb::Len(key.get<std::string>()) == 1)
        params.emplace_back(static_cast<long>(vb::Asc(key.get<std::string>())));
      else
        throw Malformed("\"key\" takes one character or a key code, not " + key.dump());
    } else if (event != "Paint") {
      throw Malformed("\"event\" is \"Click\", \"Paint\" or \"KeyPress\", not \"" + event + "\"");
    } else if (step.contains("key")) {
      throw Malformed("a paint takes no \"key\"");
    }
    form_.form->FireControlEvent(name, event, params);
  }

  // A record chosen in a control that offers records: {"contact": NAME or FID} or
  // {"address": NUMBER or FID}.
  void Choose(const std::string& name, const Json& choice) {
    if (!choice.is_object() || choice.size() != 1 ||
        !(choice.contains("contact") || choice.contains("address")))
      throw Malformed(
          "\"choose\" takes {\"contact\": NAME} or {\"address\": NUMBER} (or the record's FID)");
    const bool contact = choice.contains("contact");
    const Json& which = contact ? choice["contact"] : choice["address"];
    if (!which.is_string() && !which.is_number_integer())
      throw Malformed("\"choose\" names a record by a text or its FID, not " + which.dump());
    const char* kind = contact ? "Contact" : "DeliveryAddress";
    for (const auto& r : form_.form->ControlRecords(name)) {
      if (r.kind != kind) continue;
      if (which.is_number_integer() ? r.id == which.get<long>()
                                    : r.name == which.get<std::string>()) {
        form_.form->ChooseRecord(name, r.kind, r.id);
        return;
      }
    }
    throw Malformed("the control " + name + " offers no " + (contact ? "contact " : "address ") +
                    which.dump());
  }

  void Fill(const Json& values, int grid) {
    Need(form_.form, "fill");
    std::vector<std::pair<std::string, Variant>> row;
    for (const auto& [k, v] : Object(values, "fill").items()) {
      const FieldDef* f = form_.form->tmpl().FindAt(k, 1);
      if (!f || f->grid != grid)
        throw Malformed("grid " + std::to_string(grid) + " has no field " + k);
      row.emplace_back(k, ToVariant(v));
    }
    form_.form->FillRow(row, grid);
  }

  void Tool(const std::string& key) {
    if (form_.form)
      form_.form->ClickTool(key);
    else if (list_.list)
      list_.list->ClickTool(key);
    else
      throw Malformed("\"" + key + "\" needs an open bill or list");
  }

  bool LastCancelled() const {
    return form_.form ? form_.form->lastCancelled()
                      : (list_.list ? list_.list->lastCancelled() : false);
  }

  void Fail(const std::string& what, const std::string& expected, const std::string& actual) {
    ++failures_;
    out_ << name_ << " step " << step_ << ": FAILED " << what << ": expected " << expected
         << ", actual " << actual << "\n";
  }

  void Expect(const Json& e) {
    if (!e.is_object()) throw Malformed("\"expect\" takes an object");
    for (const auto& [key, value] : e.items()) {
      if (key == "cancelled") {
        if (LastCancelled() != Flag(value, "cancelled"))
          Fail("cancelled", value.dump(), LastCancelled() ? "true" : "false");
      } else if (key == "messages") {
        std::vector<std::string> shown;
        for (std::size_t i = messageMark_; i < ui_->messages().size(); ++i)
          shown.push_back(ui_->messages()[i].text);
        const std::vector<std::string> want = Texts(value, "messages");
        if (shown != want) Fail("messages", Json(want).dump(), Json(shown).dump());
      } else if (key == "cells") {
        Need(form_.form, "cells");
        for (const auto& [ref, want] : Object(value, "cells").items()) CheckCell(ref, want);
      } else if (key == "locked" || key == "hidden") {
        Need(form_.form, key.c_str());
        CheckFlags(key, value);
      } else if (key == "tools") {
        CheckTools(value);
      } else if (key == "readOnly") {
        Need(form_.form, "readOnly");
        if (form_.form->readOnly() != Flag(value, "readOnly"))
          Fail("readOnly", value.dump(), form_.form->readOnly() ? "true" : "false");
      } else if (key == "caption") {
        Need(form_.form, "caption");
        const std::string actual = form_.form->FormCaption();
        if (actual != Text(value, "caption")) Fail("caption", value.dump(), Json(actual).dump());
      } else if (key == "status") {
        Need(form_.form, "status");
        for (const auto& [panel, text] : Object(value, "status").items()) {
          const std::string actual = form_.form->StatusText(std::atol(panel.c_str()));
          if (actual != Text(text, "status " + panel))
            Fail("status " + panel, text.dump(), Json(actual).dump());
        }
      } else if (key == "sql") {
        for (const auto& q : value.is_array() ? value : Json::array({value})) CheckSql(q);
      } else if (key == "windows") {
        CheckWindows(value);
      } else if (key == "controls") {
        Need(form_.form, "controls");
        CheckControls(value);
      } else if (key == "journal") {
        continue;
      } else {
        throw Malformed("unknown expectation \"" + key + "\"");
      }
    }
    CheckJournal(e.contains("journal") ? Json(Texts(e["journal"], "journal")) : Json());
    messageMark_ = ui_->messages().size();
    windowMark_ = ui_->windows().size();
  }

  void CheckCell(const std::string& ref, const Json& want) {
    const auto [key, row] = CellRef(ref);
    const FieldDef* f = form_.form->tmpl().FindAt(key, row);
    if (!f) throw Malformed("the bill has no field " + key);
    if (f->grid != 0) {
      if (row < 1) throw Malformed(key + " is a row field: write \"" + key + "@ROW\"");
      // A row the bill does not have is not an empty row.
      if (row > form_.form->RowCount(f->grid))
        return Fail("cell " + ref, want.dump(),
                    "no row " + std::to_string(row) + " (the grid has " +
                        std::to_string(form_.form->RowCount(f->grid)) + " rows)");
    }
    const Variant stored = form_.form->Value(key, row);
    bool ok = Matches(stored, want);
    std::string actual = Show(stored);
    if (!ok && f->type == FieldType::Base && want.is_string()) {
      // A base-data cell also shows as its number or its name.
      const Variant number = form_.form->GetFieldValue(key, row, host::kFieldNumber);
      const Variant name = form_.form->GetFieldValue(key, row, host::kFieldDisplay);
      ok = Matches(number, want) || Matches(name, want);
      actual += " (" + Show(number) + " " + Show(name) + ")";
    }
    if (!ok) Fail("cell " + ref, want.dump(), actual);
  }

  void CheckFlags(const std::string& what, const Json& value) {
    auto check = [&](const std::string& ref, bool want) {
      const auto [key, row] = CellRef(ref);
      const FieldDef* f = form_.form->tmpl().FindAt(key, row);
      bool actual;
      if (what == "hidden") {
        if (f)
          actual = !form_.form->IsVisible(key);
        else if (auto tool = form_.form->bar()->FindTool(key))
          actual = !tool->Visible();
        else
          throw Malformed("no field or tool " + key);
      } else {
        if (!f) throw Malformed("the bill has no field " + key);
        actual = form_.form->IsCellLocked(*f, f->grid == 0 ? -1 : row);
      }
      if (actual != want)
        Fail(what + " " + ref, want ? "true" : "false", actual ? "true" : "false");
    };
    if (value.is_array())
      for (const auto& ref : value) check(Text(ref, what), true);
    else if (value.is_object())
      for (const auto& [ref, want] : value.items()) check(ref, Flag(want, what + " " + ref));
    else
      throw Malformed("\"" + what + "\" takes a list of keys or an object of keys to true/false");
  }

  void CheckTools(const Json& value) {
    const Ref<ActiveBar> bar =
        form_.form ? form_.form->bar() : (list_.list ? list_.list->bar() : Ref<ActiveBar>{});
    if (!bar) throw Malformed("\"tools\" needs an open bill or list");
    for (const auto& [key, props] : Object(value, "tools").items()) {
      auto tool = bar->FindTool(key);
      if (props.is_null()) {  // the bar has no such tool
        if (tool) Fail("tool " + key, "none", "present");
        continue;
      }
      Object(props, "tools " + key);
      if (!tool) {
        Fail("tool " + key, props.dump(), "no such tool");
        continue;
      }
      for (const auto& [prop, want] : props.items()) {
        const std::string p = prop == "visible"   ? "Visible"
                              : prop == "enabled" ? "Enabled"
                              : prop == "checked" ? "Checked"
                              : prop == "caption" ? "Caption"
                                                  : prop;
        const Variant actual = tool->Property(p);
        if (!Matches(actual, want) &&
            !(want.is_boolean() && (actual.Type() == vb::VarType::Boolean) &&
              actual.AsBool() == want.get<bool>()))
          Fail("tool " + key + "." + prop, want.dump(), Show(actual));
      }
    }
  }

  void CheckSql(const Json& q) {
    if (!q.is_object() || !q.contains("query") || !q.contains("rows"))
      throw Malformed("\"sql\" takes {\"query\": \"...\", \"rows\": [[...]]}");
    const std::string query = Text(q["query"], "query");
    if (!q["rows"].is_array())
      throw Malformed("\"rows\" takes a list of rows, not " + q["rows"].dump());
    for (const auto& r : q["rows"])
      if (!r.is_array()) throw Malformed("a row of \"rows\" is a list of values, not " + r.dump());
    const auto sets = session_->Run(query);
    const RecordData empty;
    const RecordData& data = sets.empty() ? empty : sets[0];
    const Json& want = q["rows"];
    std::string actual = "[";
    for (const auto& r : data.rows) {
      actual += "[";
      for (const auto& v : r) actual += Show(v) + ",";
      actual += "]";
    }
    actual += "]";
    bool ok = want.size() == data.rows.size();
    for (std::size_t i = 0; ok && i < data.rows.size(); ++i) {
      if (want[i].size() != data.rows[i].size()) ok = false;
      for (std::size_t c = 0; ok && c < data.rows[i].size(); ++c)
        ok = Matches(data.rows[i][c], want[i][c]);
    }
    if (!ok) Fail("sql " + query, want.dump(), actual);
  }

  // Controls by name (or a header field's edit control by its key) to their properties
  // ("Visible", "Caption", "Left", ...; any letter case) and "printed", the lines a picture box
  // shows.
  void CheckControls(const Json& value) {
    for (const auto& [name, props] : Object(value, "controls").items()) {
      Object(props, "controls " + name);
      auto control = form_.form->FindControl(name);
      if (!control) {
        Fail("control " + name, props.dump(), "no such control");
        continue;
      }
      for (const auto& [prop, want] : props.items()) {
        if (prop == "printed") {
          const std::vector<std::string> lines = Texts(want, "printed");
          if (control->printed() != lines)
            Fail("control " + name + ".printed", Json(lines).dump(),
                 Json(control->printed()).dump());
          continue;
        }
        Variant actual;
        try {
          actual = control->Property(prop);
        } catch (const vb::Error&) {
          Fail("control " + name + "." + prop, want.dump(), "no such property");
          continue;
        }
        if (!Matches(actual, want)) Fail("control " + name + "." + prop, want.dump(), Show(actual));
      }
    }
  }

  void CheckWindows(const Json& value) {
    std::vector<std::string> shown;
    for (std::size_t i = windowMark_; i < ui_->windows().size(); ++i)
      shown.push_back(ui_->windows()[i].kind + ":" + ui_->windows()[i].caption);
    const std::vector<std::string> want = Texts(value, "windows");
    if (shown != want) Fail("windows", Json(want).dump(), Json(shown).dump());
  }

  void CheckJournal(const Json& expected) {
    if (!session_) return;
    const auto entries = session_->journal().entries();
    std::vector<std::string> fresh;
    for (std::size_t i = journalMark_; i < entries.size(); ++i)
      fresh.push_back(entries[i].kind + " " + entries[i].where + ": " + entries[i].error +
                      (entries[i].text.empty() ? "" : " [" + entries[i].text + "]"));
    journalMark_ = entries.size();
    std::vector<std::string> want;
    if (expected.is_array())
      for (const auto& w : expected) want.push_back(w.get<std::string>());
    bool ok = fresh.size() == want.size();
    for (std::size_t i = 0; ok && i < want.size(); ++i)
      ok = fresh[i].find(want[i]) != std::string::npos;
    if (!ok) Fail("journal", Json(want).dump(), Json(fresh).dump());
  }

  std::string name_;
  const ScenarioDatabases& databases_;
  std::ostream& out_;
  Ref<ScriptedUi> ui_;
  std::unique_ptr<Session> session_;
  OpenForm form_;
  Session::ListForm list_;
  int step_ = 0;
  int failures_ = 0;
  std::size_t messageMark_ = 0, windowMark_ = 0, journalMark_ = 0;
};

}  // namespace

ScenarioOutcome PlayScenarioText(const std::string& json, const std::string& name,
                                 const ScenarioDatabases& databases, std::ostream& out) {
  Json scenario;
  try {
    scenario = Json::parse(json);
  } catch (const Json::exception& e) {
    out << name << " step 0: malformed: not valid JSON: " << WithoutErrorId(e.what()) << "\n";
    return {name, 0, 1};
  }
  if (scenario.contains("name")) {
    if (!scenario["name"].is_string()) {
      out << name << " step 0: malformed: \"name\" takes a text, not " << scenario["name"].dump()
          << "\n";
      return {name, 0, 1};
    }
    out << name << ": " << scenario["name"].get<std::string>() << "\n";
  }
  return Player(name, databases, out).Play(scenario);
}

ScenarioOutcome PlayScenario(const std::string& path, const ScenarioDatabases& databases,
                             std::ostream& out) {
  std::ifstream in(path);
  if (!in) {
    out << path << " step 0: malformed: cannot read the file\n";
    return {path, 0, 1};
  }
  std::stringstream text;
  text << in.rdbuf();
  return PlayScenarioText(text.str(), path, databases, out);
}

}  // namespace zov::sim
