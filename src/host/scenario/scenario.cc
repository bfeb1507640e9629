#include "scenario/scenario.h"

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "bill/bill_form.h"
#include "list/bill_list.h"
#include "session/scripted_ui.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
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

bool IsNumberText(const std::string& s) { return !s.empty() && vb::IsNumeric(Variant(s)); }

// Whether `actual` shows as `expected`: numbers within 1e-9, texts exactly, dates by their date
// (and time when the expectation has one), empty and null alike for null.
bool Matches(const Variant& actual, const Json& expected) {
  if (expected.is_null()) return actual.IsEmpty() || actual.IsNull() || (actual.IsString() && actual.AsString().empty());
  if (expected.is_number() || expected.is_boolean()) {
    const double want = expected.is_boolean() ? (expected.get<bool>() ? 1 : 0) : expected.get<double>();
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
    if (actual.IsNumber() && IsNumberText(want)) return std::fabs(vb::CDbl(actual) - vb::Val(want)) <= 1e-9;
    return vb::CStr(actual) == want;
  }
  return false;
}

// "KEY" or "KEY@ROW".
std::pair<std::string, long> CellRef(const std::string& text) {
  const auto at = text.find('@');
  if (at == std::string::npos) return {text, -1};
  return {text.substr(0, at), std::atol(text.c_str() + at + 1)};
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
      if (!scenario.contains("steps") || !scenario["steps"].is_array()) throw Malformed("\"steps\" must be a list");
      for (const Json& step : scenario["steps"]) {
        ++step_;
        out_ << name_ << " step " << step_ << ": " << step.dump() << "\n";
        RunStep(step);
      }
      ++step_;
      CheckJournal(Json());  // whatever went wrong after the last expectation
    } catch (const Malformed& e) {
      out_ << name_ << " step " << step_ << ": malformed: " << e.what() << "\n";
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
    const std::string kind = s.value("db", std::string("demo"));
    if (kind != "demo" && kind != "empty") throw Malformed("\"db\" must be \"demo\" or \"empty\"");
    const std::string path = databases_.freshCopy(kind);
    if (s.contains("setup")) {
      if (!s["setup"].is_array()) throw Malformed("\"setup\" must be a list of T-SQL batches");
      auto connection = databases_.connect(path);
      for (const auto& batch : s["setup"]) {
        if (!batch.is_string()) throw Malformed("a setup batch must be a text");
        connection->Execute(batch.get<std::string>());
      }
    }
    SessionOptions options;
    // Scenarios run on a fixed clock: the day the demo account set is laid out for.
    options.clock = vb::DateFromParts({2026, 12, 5, 10, 0, 0});
    const Json session = s.value("session", Json::object());
    if (!session.is_object()) throw Malformed("\"session\" must be an object");
    options.user = session.value("user", std::string("admin"));
    if (session.contains("bag")) {
      if (!session["bag"].is_object()) throw Malformed("\"session\".\"bag\" must be an object");
      for (const auto& [k, v] : session["bag"].items()) options.bag[k] = ToVariant(v);
    }
    if (session.contains("today")) {
      const auto d = vb::ParseDate(session["today"].get<std::string>());
      if (!d) throw Malformed("\"session\".\"today\" is not a date");
      options.clock = d->serial == std::floor(d->serial) ? vb::Date{d->serial + 10.0 / 24} : *d;
    }
    ui_ = ScriptedUi::New();
    session_ = std::make_unique<Session>(databases_.connect(path), databases_.templates, options, ui_);
  }

  void RunStep(const Json& step) {
    if (!step.is_object() || step.empty()) throw Malformed("a step is an object such as {\"open\": \"BillEvent_Sale\"}");
    if (step.contains("open")) return Open(step);
    if (step.contains("set")) return Set(step);
    if (step.contains("addRow")) return Need(form_.form, "addRow"), (void)form_.form->AddRow(step.value("grid", 1));
    if (step.contains("deleteRow")) return Need(form_.form, "deleteRow"), (void)form_.form->DeleteRow(Int(step["deleteRow"], "deleteRow"), step.value("grid", 1));
    if (step.contains("enter")) return Need(form_.form, "enter"), form_.form->EnterRow(Int(step.at("row"), "row"));
    if (step.contains("answer")) return Answer(step["answer"]);
    if (step.contains("select")) return Select(step["select"]);
    if (step.contains("selectSource")) return SelectSource(step["selectSource"]);
    if (step.contains("save")) return Tool("mnuEditFileSave");
    if (step.contains("audit")) return Tool("mnuEditCheck");
    if (step.contains("unaudit")) return Tool("mnuEditUnCheck");
    if (step.contains("copy")) return Copy(step);
    if (step.contains("click")) {
      if (!step["click"].is_string()) throw Malformed("\"click\" takes a tool key");
      return Tool(step["click"].get<std::string>());
    }
    if (step.contains("fill")) return Fill(step["fill"]);
    if (step.contains("expect")) return Expect(step["expect"]);
    throw Malformed("unknown step " + step.dump());
  }

  template <class T>
  static void Need(const T& object, const char* what) {
    if (!object) throw Malformed(std::string("\"") + what + "\" needs an open bill (or list); open one first");
  }
  static long Int(const Json& j, const char* what) {
    if (!j.is_number_integer()) throw Malformed(std::string("\"") + what + "\" takes a row number");
    return j.get<long>();
  }

  void CloseAll() {
    form_ = OpenForm{};
    list_ = Session::ListForm{};
    session_.reset();
  }

  void Open(const Json& step) {
    if (!step["open"].is_string()) throw Malformed("\"open\" takes a plug-in class name such as \"BillEvent_Sale\"");
    const std::string cls = step["open"].get<std::string>();
    const long classType = session_->ClassOfPlugin(cls);
    if (!classType) throw Malformed("no bill is served by the plug-in class " + cls);
    form_ = OpenForm{};
    list_ = Session::ListForm{};
    if (step.value("list", false)) {
      list_ = session_->OpenList(classType);
      return;
    }
    form_ = session_->OpenBill(classType);
    if (step.contains("bill")) {
      const std::string no = step["bill"].get<std::string>();
      if (!form_.form->LoadBillByNumber(no)) throw Malformed("there is no bill " + no + " of " + cls);
    } else {
      form_.form->NewBill();
    }
  }

  void Set(const Json& step) {
    Need(form_.form, "set");
    if (!step["set"].is_object()) throw Malformed("\"set\" takes an object of field keys and values");
    const long row = step.contains("row") ? Int(step["row"], "row") : -1;
    for (const auto& [key, value] : step["set"].items()) {
      const FieldDef* f = form_.form->tmpl().FindAt(key, row);
      if (!f) throw Malformed("the bill has no field " + key);
      if (f->grid != 0 && row < 1) throw Malformed(key + " is a row field: give \"row\"");
      if (f->grid != 0) {
        // Typing into the row after the last one adds it, as the grid does.
        while (form_.form->RowCount(f->grid) < row) form_.form->AddRow(f->grid);
      }
      form_.form->Edit(key, f->grid == 0 ? -1 : row, ToVariant(value));
    }
  }

  void Answer(const Json& answers) {
    if (!answers.is_array()) throw Malformed("\"answer\" takes a list such as [\"Yes\"]");
    std::vector<std::string> queue;
    for (const auto& a : answers) {
      if (!a.is_string()) throw Malformed("answers are texts: \"Yes\", \"No\", \"OK\", \"Cancel\" or what to type");
      queue.push_back(a.get<std::string>());
    }
    ui_->Queue(queue);
  }

  void Select(const Json& bills) {
    Need(list_.list, "select");
    std::vector<std::string> numbers;
    for (const auto& b : bills) numbers.push_back(b.get<std::string>());
    if (!list_.list->Select(numbers)) throw Malformed("the list does not hold every bill of " + bills.dump());
  }

  void SelectSource(const Json& s) {
    Need(form_.form, "selectSource");
    if (!s.is_object() || !s.contains("tool") || !s.contains("bills"))
      throw Malformed("\"selectSource\" takes {\"tool\": \"mnuRelate_1030001\", \"bills\": [\"XSDD000001\"]}");
    std::string numbers;
    for (const auto& b : s["bills"]) numbers += (numbers.empty() ? "" : ",") + b.get<std::string>();
    ui_->Queue({numbers});
    Tool(s["tool"].get<std::string>());
  }

  void Copy(const Json& step) {
    if (list_.list) {
      auto data = list_.list->CopySelected(step.value("merge", false));
      if (!data) return;
      form_ = session_->OpenBill(list_.list->FID());
      form_.form->NewFromCopy(data);
      list_ = Session::ListForm{};
      return;
    }
    Tool("mnuEditCopy");
  }

  void Fill(const Json& values) {
    Need(form_.form, "fill");
    std::vector<std::pair<std::string, Variant>> row;
    for (const auto& [k, v] : values.items()) row.emplace_back(k, ToVariant(v));
    form_.form->FillRow(row);
  }

  void Tool(const std::string& key) {
    if (form_.form) form_.form->ClickTool(key);
    else if (list_.list) list_.list->ClickTool(key);
    else throw Malformed("\"" + key + "\" needs an open bill or list");
  }

  bool LastCancelled() const {
    return form_.form ? form_.form->lastCancelled() : (list_.list ? list_.list->lastCancelled() : false);
  }

  void Fail(const std::string& what, const std::string& expected, const std::string& actual) {
    ++failures_;
    out_ << name_ << " step " << step_ << ": FAILED " << what << ": expected " << expected << ", actual " << actual << "\n";
  }

  void Expect(const Json& e) {
    if (!e.is_object()) throw Malformed("\"expect\" takes an object");
    for (const auto& [key, value] : e.items()) {
      if (key == "cancelled") {
        if (LastCancelled() != value.get<bool>()) Fail("cancelled", value.dump(), LastCancelled() ? "true" : "false");
      } else if (key == "messages") {
        std::vector<std::string> shown;
        for (std::size_t i = messageMark_; i < ui_->messages().size(); ++i) shown.push_back(ui_->messages()[i].text);
        std::vector<std::string> want;
        for (const auto& m : value) want.push_back(m.get<std::string>());
        if (shown != want) Fail("messages", Json(want).dump(), Json(shown).dump());
      } else if (key == "cells") {
        Need(form_.form, "cells");
        for (const auto& [ref, want] : value.items()) CheckCell(ref, want);
      } else if (key == "locked" || key == "hidden") {
        Need(form_.form, key.c_str());
        CheckFlags(key, value);
      } else if (key == "tools") {
        CheckTools(value);
      } else if (key == "status") {
        Need(form_.form, "status");
        for (const auto& [panel, text] : value.items()) {
          const std::string actual = form_.form->StatusText(std::atol(panel.c_str()));
          if (actual != text.get<std::string>()) Fail("status " + panel, text.dump(), Json(actual).dump());
        }
      } else if (key == "sql") {
        for (const auto& q : value.is_array() ? value : Json::array({value})) CheckSql(q);
      } else if (key == "windows") {
        CheckWindows(value);
      } else if (key == "journal") {
        continue;
      } else {
        throw Malformed("unknown expectation \"" + key + "\"");
      }
    }
    CheckJournal(e.contains("journal") ? e["journal"] : Json());
    messageMark_ = ui_->messages().size();
    windowMark_ = ui_->windows().size();
  }

  void CheckCell(const std::string& ref, const Json& want) {
    const auto [key, row] = CellRef(ref);
    const FieldDef* f = form_.form->tmpl().FindAt(key, row);
    if (!f) throw Malformed("the bill has no field " + key);
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
        if (f) actual = !form_.form->IsVisible(key);
        else if (auto tool = form_.form->bar()->FindTool(key)) actual = !tool->Visible();
        else throw Malformed("no field or tool " + key);
      } else {
        if (!f) throw Malformed("the bill has no field " + key);
        actual = form_.form->IsCellLocked(*f, f->grid == 0 ? -1 : row);
      }
      if (actual != want) Fail(what + " " + ref, want ? "true" : "false", actual ? "true" : "false");
    };
    if (value.is_array())
      for (const auto& ref : value) check(ref.get<std::string>(), true);
    else if (value.is_object())
      for (const auto& [ref, want] : value.items()) check(ref, want.get<bool>());
    else
      throw Malformed("\"" + what + "\" takes a list of keys or an object of keys to true/false");
  }

  void CheckTools(const Json& value) {
    const Ref<ActiveBar> bar = form_.form ? form_.form->bar() : (list_.list ? list_.list->bar() : Ref<ActiveBar>{});
    if (!bar) throw Malformed("\"tools\" needs an open bill or list");
    for (const auto& [key, props] : value.items()) {
      auto tool = bar->FindTool(key);
      if (!tool) {
        Fail("tool " + key, props.dump(), "no such tool");
        continue;
      }
      for (const auto& [prop, want] : props.items()) {
        const std::string p = prop == "visible" ? "Visible" : prop == "enabled" ? "Enabled" : prop == "checked" ? "Checked"
                              : prop == "caption" ? "Caption" : prop;
        const Variant actual = tool->Property(p);
        if (!Matches(actual, want) && !(want.is_boolean() && (actual.Type() == vb::VarType::Boolean) && actual.AsBool() == want.get<bool>()))
          Fail("tool " + key + "." + prop, want.dump(), Show(actual));
      }
    }
  }

  void CheckSql(const Json& q) {
    if (!q.is_object() || !q.contains("query") || !q.contains("rows"))
      throw Malformed("\"sql\" takes {\"query\": \"...\", \"rows\": [[...]]}");
    const auto sets = session_->Run(q["query"].get<std::string>());
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
      for (std::size_t c = 0; ok && c < data.rows[i].size(); ++c) ok = Matches(data.rows[i][c], want[i][c]);
    }
    if (!ok) Fail("sql " + q["query"].get<std::string>(), want.dump(), actual);
  }

  void CheckWindows(const Json& value) {
    std::vector<std::string> shown;
    for (std::size_t i = windowMark_; i < ui_->windows().size(); ++i)
      shown.push_back(ui_->windows()[i].kind + ":" + ui_->windows()[i].caption);
    std::vector<std::string> want;
    for (const auto& w : value) want.push_back(w.get<std::string>());
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
    for (std::size_t i = 0; ok && i < want.size(); ++i) ok = fresh[i].find(want[i]) != std::string::npos;
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

ScenarioOutcome PlayScenarioText(const std::string& json, const std::string& name, const ScenarioDatabases& databases,
                                 std::ostream& out) {
  Json scenario;
  try {
    scenario = Json::parse(json);
  } catch (const Json::exception& e) {
    out << name << " step 0: malformed: not valid JSON: " << e.what() << "\n";
    return {name, 0, 1};
  }
  if (scenario.contains("name")) out << name << ": " << scenario["name"].get<std::string>() << "\n";
  return Player(name, databases, out).Play(scenario);
}

ScenarioOutcome PlayScenario(const std::string& path, const ScenarioDatabases& databases, std::ostream& out) {
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
