#include "window.h"

#include "list/bill_list.h"
#include "web_session.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::web {

namespace {

thread_local Window* t_active = nullptr;

constexpr const char* kInfoTitle = "信息提示";
constexpr long kPickLimit = 50;

// A request the browser should not have made (an unknown field, a hidden one): refused without
// a journal entry, since no rule of the bill failed.
struct BadRequest : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

long Long(const Json& request, const char* key, long otherwise) {
  if (!request.contains(key)) return otherwise;
  const Json& v = request[key];
  if (v.is_number()) return v.get<long>();
  if (v.is_string()) return static_cast<long>(vb::Val(v.get<std::string>()));
  throw BadRequest(std::string("\"") + key + "\" must be a number");
}

std::string String(const Json& request, const char* key) {
  if (!request.contains(key) || !request[key].is_string())
    throw BadRequest(std::string("\"") + key + "\" is missing");
  return request[key].get<std::string>();
}

// A text for a LIKE pattern: quotes doubled, the pattern's own characters dropped.
std::string LikeText(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '_' || c == '[' || c == ']') continue;
    if (c == '\'') out += '\'';
    out += c;
  }
  return out;
}

}  // namespace

Window::Window(int id, WebSession& owner) : owner_(owner), id_(id), thread_(owner.lock()) {}

Window::~Window() { thread_.Stop(); }

Window* Window::Active() { return t_active; }

Json Window::Perform(const Json& request) {
  const std::string op = request.value("op", std::string());
  const bool full = request.value("full", false);
  const bool quiet = op == "pick";  // a look-up changes nothing on the form
  auto outcome = thread_.Run([this, request, op, full, quiet]() -> Json {
    t_active = this;
    Json result;
    try {
      result = Operate(request);
    } catch (const BadRequest& e) {
      result = Json{{"ok", false}, {"error", e.what()}};
    } catch (const vb::Error& e) {
      const std::string what = "error " + std::to_string(e.number()) + ": " + e.description();
      owner_.host().JournalException("zov-web." + op, what);
      result = Json{{"ok", false}, {"error", what}};
    } catch (const std::exception& e) {
      // A failed statement is in the journal already, by the session that ran it.
      const auto entries = owner_.host().journal().entries();
      if (entries.empty() || entries.back().error != e.what())
        owner_.host().JournalException("zov-web." + op, e.what());
      result = Json{{"ok", false}, {"error", e.what()}};
    }
    Json body{{"result", std::move(result)}};
    if (!quiet) body["view"] = Render(full);
    return body;
  });
  return Complete(std::move(outcome));
}

Json Window::Answer(const Json& answer) { return Complete(thread_.Answer(answer)); }

Json Window::Ask(Json dialog) {
  Json view = Render(false);
  return thread_.Park(Json{{"dialog", std::move(dialog)}, {"view", std::move(view)}});
}

Json Window::Complete(FormThread::Outcome outcome) {
  Json out;
  if (outcome.parked) {
    out["dialog"] = std::move(outcome.body["dialog"]);
  } else {
    out["result"] = std::move(outcome.body["result"]);
  }
  if (outcome.body.contains("view")) out["view"] = std::move(outcome.body["view"]);
  // The window's thread is idle or parked now: its notices are ours to take.
  out["notices"] = std::move(notices_);
  notices_.clear();
  out["journal"] = JournalJson(owner_.host().journal().entries());
  out["window"] = Json{{"id", id_}, {"kind", kind()}};
  return out;
}

Json Window::Current() {
  Json out = thread_.Inspect([this](const Json& pending) {
    Json current{{"view", Render(true)}};
    if (!pending.is_null()) current["dialog"] = pending["dialog"];
    return current;
  });
  out["notices"] = Json::array();
  out["journal"] = JournalJson(owner_.host().journal().entries());
  out["window"] = Json{{"id", id_}, {"kind", kind()}};
  return out;
}

void Window::Close() {
  thread_.Stop([this] {
    t_active = this;
    Release();
  });
}

std::optional<OpenRequest> Window::TakeOpenRequest() {
  // Asked between operations only, when the window's thread does not touch it.
  return std::exchange(openRequest_, std::nullopt);
}

// --- bill forms
// -----------------------------------------------------------------------------------

Json BillWindow::Open(long classTypeId, long billId, Ref<host::IDictionary> copy, bool edit) {
  copy_ = std::move(copy);
  return Perform(Json{{"op", "open"},
                      {"classTypeId", classTypeId},
                      {"billId", billId},
                      {"edit", edit},
                      {"full", true}});
}

const sim::FieldDef& BillWindow::VisibleField(const std::string& key) const {
  const sim::FieldDef* f = open_.form ? open_.form->tmpl().Find(key) : nullptr;
  // A field the person cannot see cannot be typed into or looked up either.
  if (!f || !open_.form->IsVisible(f->key)) throw BadRequest("no field " + key + " on this form");
  return *f;
}

Json BillWindow::Operate(const Json& request) {
  const std::string op = request.value("op", std::string());
  if (op == "open") {
    open_ = owner_.host().OpenBill(Long(request, "classTypeId", 0));
    const long billId = Long(request, "billId", 0);
    if (auto copy = std::exchange(copy_, {})) {
      open_.form->NewFromCopy(copy);
    } else if (billId) {
      const long state = request.value("edit", false) ? host::kBillEdit : host::kBillView;
      if (!open_.form->LoadBill(billId, state))
        throw BadRequest("no bill " + std::to_string(billId));
    } else {
      open_.form->NewBill();
    }
    open_.form->PaintControls();
    return Json{{"ok", true}};
  }
  if (!open_.form) throw BadRequest("the bill form did not open");
  sim::BillForm& form = *open_.form;
  bool ok = true;
  Json result;
  if (op == "view") {
    // Nothing to do: the view comes with every outcome.
  } else if (op == "edit") {
    const sim::FieldDef& f = VisibleField(String(request, "key"));
    const long row = f.grid == 0 ? -1 : Long(request, "row", 1);
    ok = form.Edit(f.key, row, FromJson(request.value("value", Json(""))));
  } else if (op == "addRow") {
    const long row = form.AddRow(static_cast<int>(Long(request, "grid", 1)));
    ok = row > 0;
    result["row"] = row;
  } else if (op == "deleteRow") {
    ok = form.DeleteRow(Long(request, "row", 0), static_cast<int>(Long(request, "grid", 1)));
  } else if (op == "enterRow") {
    form.EnterRow(Long(request, "row", 1));
  } else if (op == "tool") {
    ok = form.ClickTool(String(request, "key"));
  } else if (op == "pick") {
    return Pick(request);
  } else if (op == "control") {
    // The person clicks a button a plug-in placed on the form.
    if (request.value("event", std::string("Click")) != "Click")
      throw BadRequest("a control takes clicks only");
    ok = form.ClickControl(String(request, "name"));
  } else {
    throw BadRequest("unknown operation \"" + op + "\"");
  }
  result["ok"] = ok;
  result["cancelled"] = form.lastCancelled();
  // What the operation uncovered is painted before the form is shown.
  form.PaintControls();
  return result;
}

Json BillWindow::Pick(const Json& request) {
  const sim::FieldDef& f = VisibleField(String(request, "key"));
  if (f.type != sim::FieldType::Base) throw BadRequest(f.key + " is not a base-data field");
  const std::string q = LikeText(vb::Trim(request.value("q", std::string())));
  const sim::BaseRef& b = f.base;
  std::string sql = "SELECT TOP " + std::to_string(kPickLimit) + " " + b.id + " AS FItemID, " +
                    b.number + " AS FNumber, " + b.name + " AS FName FROM " + b.table +
                    " WHERE 1=1";
  if (!b.where.empty()) sql += " AND (" + b.where + ")";
  if (!q.empty())
    sql += " AND (" + b.number + " LIKE N'%" + q + "%' OR " + b.name + " LIKE N'%" + q + "%')";
  sql += " ORDER BY " + b.number;
  const auto sets = owner_.host().Run(sql);
  Json rows = Json::array();
  if (!sets.empty())
    for (const auto& r : sets[0].rows)
      rows.push_back(Json{{"id", r[0].IsNull() ? 0 : vb::CLng(r[0])},
                          {"number", r[1].IsNull() ? "" : vb::CStr(r[1])},
                          {"name", r[2].IsNull() ? "" : vb::CStr(r[2])}});
  return Json{{"ok", true}, {"caption", open_.form->Caption(f.key)}, {"rows", std::move(rows)}};
}

Json BillWindow::Render(bool full) {
  if (!open_.form) return Json{{"full", true}, {"closed", true}};
  return view_.Render(*open_.form, full);
}

void BillWindow::Release() { owner_.host().Close(open_); }

// --- bill lists
// -----------------------------------------------------------------------------------

Json ListWindow::Open(long classTypeId) {
  return Perform(Json{{"op", "open"}, {"classTypeId", classTypeId}});
}

Json ListWindow::Operate(const Json& request) {
  const std::string op = request.value("op", std::string());
  if (op == "open") {
    open_ = owner_.host().OpenList(Long(request, "classTypeId", 0));
    columns_ = ListColumns(open_.list->tmpl());
    LoadNames();
    return Json{{"ok", true}};
  }
  if (!open_.list) throw BadRequest("the bill list did not open");
  if (op == "view") return Json{{"ok", true}};
  if (op == "refresh") {
    open_.list->Refresh();
    LoadNames();
    return Json{{"ok", true}};
  }
  if (op == "openBill") {
    const long billId = Long(request, "billId", 0);
    const bool edit = request.value("edit", false);
    // Only a bill not yet audited opens for editing, as the host's own forms allow.
    if (edit && StatusOf(billId) != 0) {
      owner_.host().Ui().MsgBox("单据已经审核，不能修改。", host::vbInformation, kInfoTitle);
      return Json{{"ok", false}};
    }
    openRequest_ = OpenRequest{open_.list->tmpl().classTypeId, billId, edit, {}};
    return Json{{"ok", true}};
  }
  if (op == "tool") return Tool(String(request, "key"), request.value("selected", Json::array()));
  throw BadRequest("unknown operation \"" + op + "\"");
}

Json ListWindow::Tool(const std::string& key, const Json& selected) {
  sim::BillList& list = *open_.list;
  std::vector<long> ids;
  if (selected.is_array())
    for (const auto& id : selected)
      if (id.is_number_integer()) ids.push_back(id.get<long>());
  list.SelectIds(ids);
  const long classTypeId = list.tmpl().classTypeId;
  auto refuse = [&](const char* text) {
    owner_.host().Ui().MsgBox(text, host::vbInformation, kInfoTitle);
    return false;
  };
  bool ok = list.ClickTool(key);
  if (ok) {
    if (key == "mnuEditCopy" || key == "mnuEditCopyEntry") {
      const bool merge = key == "mnuEditCopyEntry";
      if (ids.empty() || (!merge && ids.size() != 1)) {
        ok = refuse(merge ? "请先选择单据。" : "请选择一张单据。");
      } else if (auto data = list.CopySelected(merge)) {
        openRequest_ = OpenRequest{classTypeId, 0, false, data};
      } else {
        ok = false;
      }
    } else if (key == "mnuFileNew") {
      openRequest_ = OpenRequest{classTypeId, 0, false, {}};
    } else if (key == "mnuQORViewVoucher") {
      if (ids.size() != 1)
        ok = refuse("请选择一张单据。");
      else
        openRequest_ = OpenRequest{classTypeId, ids.front(), false, {}};
    }
  }
  LoadNames();
  Json result{{"ok", ok}, {"cancelled", list.lastCancelled()}};
  if (ok && key == "mnuFileExit") result["closed"] = true;
  return result;
}

long ListWindow::StatusOf(long billId) const {
  const sim::RecordData& data = open_.list->rows();
  long id = -1, status = -1;
  for (std::size_t i = 0; i < data.columns.size(); ++i) {
    if (vb::StrComp(data.columns[i].name, "FID", vb::CompareMethod::Text) == 0)
      id = static_cast<long>(i);
    if (vb::StrComp(data.columns[i].name, "FStatus", vb::CompareMethod::Text) == 0)
      status = static_cast<long>(i);
  }
  if (id < 0 || status < 0) return 0;
  for (const auto& r : data.rows)
    if (vb::CLng(r[static_cast<std::size_t>(id)]) == billId)
      return r[static_cast<std::size_t>(status)].IsNull()
                 ? 0
                 : vb::CLng(r[static_cast<std::size_t>(status)]);
  return 0;
}

void ListWindow::LoadNames() {
  names_.clear();
  const sim::RecordData& data = open_.list->rows();
  for (const ListColumn& c : columns_) {
    if (!c.field || c.field->type != sim::FieldType::Base) continue;
    long at = -1;
    for (std::size_t i = 0; i < data.columns.size(); ++i)
      if (vb::StrComp(data.columns[i].name, c.field->internalKey(), vb::CompareMethod::Text) == 0)
        at = static_cast<long>(i);
    if (at < 0) continue;
    std::set<long> ids;
    for (const auto& r : data.rows) {
      const vb::Variant& v = r[static_cast<std::size_t>(at)];
      if (v.IsNumber() && vb::CLng(v) != 0) ids.insert(vb::CLng(v));
    }
    if (ids.empty()) continue;
    std::string in;
    for (long id : ids) in += (in.empty() ? "" : ",") + std::to_string(id);
    const sim::BaseRef& b = c.field->base;
    try {
      const auto sets = owner_.host().Run("SELECT " + b.id + ", " + b.name + " FROM " + b.table +
                                          " WHERE " + b.id + " IN (" + in + ")");
      auto& byId = names_[c.key];
      if (!sets.empty())
        for (const auto& r : sets[0].rows)
          if (!r[0].IsNull()) byId[vb::CLng(r[0])] = r[1].IsNull() ? std::string() : vb::CStr(r[1]);
    } catch (const std::exception&) {
      // The failed query is in the journal; the column shows the internal IDs.
    }
  }
}

Json ListWindow::Render(bool) {
  if (!open_.list) return Json{{"closed", true}};
  return ListJson(*open_.list, columns_, names_);
}

void ListWindow::Release() {
  open_.plugin.reset();
  open_.list.reset();
}

}  // namespace zov::web
