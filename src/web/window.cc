#include "window.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bill/form_parts.h"
#include "list/bill_list.h"
#include "request.h"
#include "web_session.h"
#include "zov/vb/convert.h"
#include "zov/vb/error.h"
#include "zov/vb/strings.h"

namespace zov::web {

namespace {

thread_local Window* t_active = nullptr;

constexpr const char* kInfoTitle = "信息提示";
constexpr long kPickLimit = 50;
constexpr std::size_t kMaxTyped = 2000;  // bytes of one typed value
constexpr std::size_t kMaxPasteRows = 10000;
constexpr long kMostRowsAsked = 1000;  // rows of one fetch
constexpr std::size_t kMaxPasteColumns = 100;
// What the person sees of a failure inside the host; the details are in the server's journal.
constexpr const char* kFailed = "操作失败，详细情况已记入服务器日志。";

std::string KeyIn(const Json& request) { return TextIn(request, "key", nullptr, 100); }

}  // namespace

Window::Window(int id, WebSession& owner) : owner_(owner), id_(id), thread_(owner.lock()) {}

Window::~Window() { thread_.Stop(); }

Window* Window::Active() { return t_active; }

Json Window::Perform(const Json& request) {
  Touch();
  // What the outcome needs to know of the request, whatever else it holds; the operation itself
  // checks the request in full.
  const Json opValue = request.is_object() ? request.value("op", Json()) : Json();
  const std::string op = opValue.is_string() ? opValue.get<std::string>() : std::string();
  const Json fullValue = request.is_object() ? request.value("full", Json()) : Json();
  const bool full = fullValue.is_boolean() && fullValue.get<bool>();
  // A look-up, a fetch of rows and an export change nothing on the window; an opening the
  // browser shows anew needs no view.
  const Json quietValue = request.is_object() ? request.value("quiet", Json()) : Json();
  const bool quiet = op == "pick" || op == "rows" || op == "export" ||
                     (op == "open" && quietValue.is_boolean() && quietValue.get<bool>());
  SetProgress("", 0, 0);
  auto outcome = thread_.Run([this, request, op, full, quiet]() -> Json {
    t_active = this;
    withheld_ = sim::Withheld::Of(owner_.host());
    Json result;
    bool bad = false;
    try {
      result = Operate(request);
    } catch (const BadRequest& e) {
      bad = true;
      result = Json{{"ok", false}, {"error", e.what()}};
    } catch (const vb::Error& e) {
      owner_.host().JournalException(
          "zov-web." + op, "error " + std::to_string(e.number()) + ": " + e.description());
      result = Json{{"ok", false}, {"error", kFailed}};
    } catch (const std::exception& e) {
      // A failed statement is in the journal already, by the session that ran it.
      const auto entries = owner_.host().journal().entries();
      if (entries.empty() || entries.back().error != e.what())
        owner_.host().JournalException("zov-web." + op, e.what());
      result = Json{{"ok", false}, {"error", kFailed}};
    }
    Json body{{"result", std::move(result)}};
    if (bad) body["badRequest"] = true;
    if (!quiet) body["view"] = Render(full);
    return body;
  });
  return Complete(std::move(outcome));
}

Json Window::Answer(const Json& answer) {
  Touch();
  return Complete(thread_.Answer(answer));
}

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
    if (outcome.body.contains("badRequest")) out["badRequest"] = true;
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
  Touch();
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

void Window::SetProgress(std::string_view what, long done, long total) {
  std::lock_guard hold(progressMutex_);
  progressWhat_ = what;
  progressDone_ = done;
  progressTotal_ = total;
}

Json Window::Progress() const {
  std::lock_guard hold(progressMutex_);
  if (progressWhat_.empty()) return nullptr;
  return Json{{"what", progressWhat_}, {"done", progressDone_}, {"total", progressTotal_}};
}

std::optional<OpenRequest> Window::TakeOpenRequest() {
  // Asked between operations only, when the window's thread does not touch it.
  return std::exchange(openRequest_, std::nullopt);
}

// --- bill forms
// -----------------------------------------------------------------------------------

Json BillWindow::Open(long classTypeId, long billId, Ref<host::IDictionary> copy, bool edit,
                      bool view, long billType) {
  copy_ = std::move(copy);
  return Perform(Json{{"op", "open"},
                      {"classTypeId", classTypeId},
                      {"billId", billId},
                      {"billType", billType},
                      {"edit", edit},
                      {"full", true},
                      {"quiet", !view}});
}

const sim::FieldDef& BillWindow::VisibleField(const std::string& key) const {
  const sim::FieldDef* f = open_.form ? open_.form->tmpl().Find(key) : nullptr;
  // A field the person cannot see cannot be typed into or looked up either.
  if (!f || !open_.form->IsVisible(f->key) || withheld_.Hides(*f))
    throw BadRequest("这张单据上没有字段“" + key + "”。");
  return *f;
}

int BillWindow::GridIn(const Json& request) const {
  const long grids = static_cast<long>(open_.form->tmpl().grids.size());
  if (grids == 0) throw BadRequest("这张单据没有表体。");
  return static_cast<int>(IntIn(request, "grid", 1, 1, grids));
}

long BillWindow::RowIn(const Json& request, const sim::FieldDef& field) const {
  if (field.grid == 0) return -1;
  return IntIn(request, "row", 1, 1, std::max(1L, open_.form->RowCount(field.grid)));
}

vb::Variant BillWindow::Typed(const sim::FieldDef& f, const Json& value) const {
  if (value.is_object() || value.is_array())
    throw BadRequest("“" + f.caption + "”只能填写文字或数字。");
  if (value.is_string() && value.get_ref<const std::string&>().size() > kMaxTyped)
    throw BadRequest("“" + f.caption + "”填写的内容太长。");
  if (f.type == sim::FieldType::Date && !value.is_string() && !value.is_null())
    throw BadRequest("“" + f.caption + "”应填写“yyyy-MM-dd”格式的日期。");
  if (value.is_number_float() && !std::isfinite(value.get<double>()))
    throw BadRequest("“" + f.caption + "”不是有效的数字。");
  return FromJson(value);
}

Json BillWindow::EditOp(const Json& request) {
  const sim::FieldDef& f = VisibleField(KeyIn(request));
  const long row = RowIn(request, f);
  sim::BillForm& form = *open_.form;
  const bool ok =
      form.Edit(f.key, row, Typed(f, request.contains("value") ? request["value"] : Json("")));
  return Json{{"ok", ok}, {"cancelled", form.lastCancelled()}};
}

Json BillWindow::PasteOp(const Json& request) {
  sim::BillForm& form = *open_.form;
  const int grid = GridIn(request);
  const long first = IntIn(request, "row", 1, 1, form.RowCount(grid) + 1);
  const Json keys = request.value("keys", Json());
  const Json rows = request.value("rows", Json());
  if (!keys.is_array() || keys.empty() || keys.size() > kMaxPasteColumns)
    throw BadRequest("“keys”应为表体字段的列表。");
  if (!rows.is_array() || rows.size() > kMaxPasteRows)
    throw BadRequest("一次最多粘贴" + std::to_string(kMaxPasteRows) + "行。");
  std::vector<const sim::FieldDef*> fields;
  for (const auto& key : keys) {
    if (!key.is_string()) throw BadRequest("“keys”应为表体字段的列表。");
    const sim::FieldDef& f = VisibleField(key.get<std::string>());
    if (f.grid != grid) throw BadRequest("“" + f.caption + "”不是这个表体的字段。");
    fields.push_back(&f);
  }
  // Everything is checked before anything is typed: a paste that does not fit changes nothing.
  std::vector<std::vector<vb::Variant>> values;
  for (const auto& row : rows) {
    if (!row.is_array() || row.size() > fields.size()) throw BadRequest("粘贴的内容不正确。");
    values.emplace_back();
    for (std::size_t c = 0; c < row.size(); ++c) values.back().push_back(Typed(*fields[c], row[c]));
  }
  // Each row as the person would type it: past the last row a row is added, and each value
  // goes into its cell where the cell takes one.
  long pasted = 0;
  const long total = static_cast<long>(values.size());
  for (const auto& cells : values) {
    const long row = first + pasted;
    if (row > form.RowCount(grid) && form.AddRow(grid) == 0) break;
    for (std::size_t c = 0; c < cells.size(); ++c)
      if (form.IsEditable(fields[c]->key, row)) form.Edit(fields[c]->key, row, cells[c]);
    form.ReportProgress("粘贴", ++pasted, total);
  }
  return Json{{"ok", pasted == total}, {"rows", pasted}, {"cancelled", pasted < total}};
}

Json BillWindow::Operate(const Json& request) {
  const std::string op = TextIn(request, "op", nullptr, 40);
  if (op == "open") {
    open_ = owner_.host().OpenBill(IntIn(request, "classTypeId", 0));
    open_.form->SetProgress(
        [this](std::string_view what, long done, long total) { SetProgress(what, done, total); });
    const long billId = IntIn(request, "billId", 0);
    open_.form->KeepToKind(IntIn(request, "billType", 0));
    if (auto copy = std::exchange(copy_, {})) {
      open_.form->NewFromCopy(copy);
    } else if (billId) {
      const long state = FlagIn(request, "edit", false) ? host::kBillEdit : host::kBillView;
      if (!open_.form->LoadBill(billId, state)) throw BadRequest("没有这张单据。");
    } else {
      open_.form->NewBill();
    }
    open_.form->PaintControls();
    return Json{{"ok", true}};
  }
  if (!open_.form) throw BadRequest("单据没有打开。");
  sim::BillForm& form = *open_.form;
  bool ok = true;
  Json result;
  if (op == "view") {
    // Nothing to do: the view comes with every outcome.
  } else if (op == "edit") {
    return EditOp(request);
  } else if (op == "rows") {
    // Rows the browser has not had yet (it scrolled to them), as the form holds them now.
    const int grid = GridIn(request);
    const long from = IntIn(request, "from", 1, 1, std::max(1L, form.RowCount(grid)));
    const long count = IntIn(request, "count", FormView::kFirstRows, 1, kMostRowsAsked);
    return Json{
        {"ok", true}, {"from", from}, {"rows", view_.Rows(form, grid, from, count, withheld_)}};
  } else if (op == "addRow") {
    const long row = form.AddRow(GridIn(request));
    ok = row > 0;
    result["row"] = row;
  } else if (op == "deleteRow") {
    const int grid = GridIn(request);
    ok = form.DeleteRow(IntIn(request, "row", 0, 1, std::max(1L, form.RowCount(grid))), grid);
  } else if (op == "enterRow") {
    const int grid = GridIn(request);
    form.EnterRow(IntIn(request, "row", 1, 1, std::max(1L, form.RowCount(grid))), grid);
  } else if (op == "tool") {
    ok = form.ClickTool(TextIn(request, "key", nullptr, 100));
    if (const auto print = form.TakePrintRequest(); print != sim::BillForm::kNoPrint)
      result["print"] = PrintJson(form, print == sim::BillForm::kPrintPreview, withheld_);
  } else if (op == "paste") {
    return PasteOp(request);
  } else if (op == "pick") {
    return Pick(request);
  } else if (op == "choose") {
    // The person chooses a record a header box offers (the receive address's contacts and
    // stored addresses), as "KIND:ID" from its pick list.
    const sim::FieldDef& f = VisibleField(KeyIn(request));
    const std::string record = TextIn(request, "record", nullptr, 60);
    const auto colon = record.find(':');
    if (f.records.empty() || colon == std::string::npos)
      throw BadRequest("“" + f.caption + "”没有可选的记录。");
    const std::string id = record.substr(colon + 1);
    if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos)
      throw BadRequest("“" + f.caption + "”没有这条记录。");
    auto control = form.EditControl(f.key);
    ok = control && form.ChooseRecord(control->Name(), record.substr(0, colon), std::stol(id));
  } else if (op == "control") {
    // The person clicks a button a plug-in placed on the form.
    if (request.value("event", std::string("Click")) != "Click")
      throw BadRequest("a control takes clicks only");
    ok = form.ClickControl(TextIn(request, "name", nullptr, 100));
  } else {
    throw BadRequest("没有“" + op + "”这种操作。");
  }
  result["ok"] = ok;
  result["cancelled"] = form.lastCancelled();
  // What the operation uncovered is painted before the form is shown.
  form.PaintControls();
  return result;
}

Json BillWindow::Pick(const Json& request) {
  const sim::FieldDef& f = VisibleField(KeyIn(request));
  if (!f.records.empty()) return PickRecord(request, f);
  if (f.type != sim::FieldType::Base) throw BadRequest("“" + f.caption + "”没有可选的资料。");
  const std::string q = sim::LikeText(TextIn(request, "q", "", 100));
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

Json BillWindow::PickRecord(const Json& request, const sim::FieldDef& field) {
  // What the field's box offers, found by name or text as the person types.
  const std::string q = vb::Trim(TextIn(request, "q", "", 100));
  auto control = open_.form->EditControl(field.key);
  Json rows = Json::array();
  if (control)
    for (const auto& r : open_.form->ControlRecords(control->Name())) {
      if (!q.empty() && r.name.find(q) == std::string::npos && r.text.find(q) == std::string::npos)
        continue;
      const std::string label = (r.kind == "Contact" ? "联系人 " : "送货地址 ") + r.name;
      rows.push_back(
          Json{{"id", r.kind + ":" + std::to_string(r.id)}, {"number", label}, {"name", r.text}});
      if (static_cast<long>(rows.size()) >= kPickLimit) break;
    }
  return Json{{"ok", true}, {"caption", open_.form->Caption(field.key)}, {"rows", std::move(rows)}};
}

Json BillWindow::Render(bool full) {
  if (!open_.form) return Json{{"full", true}, {"closed", true}};
  return view_.Render(*open_.form, full, withheld_);
}

void BillWindow::Release() { owner_.host().Close(open_); }

// --- bill lists
// -----------------------------------------------------------------------------------

Json ListWindow::Open(long classTypeId, long billType) {
  return Perform(Json{{"op", "open"}, {"classTypeId", classTypeId}, {"billType", billType}});
}

Json ListWindow::Operate(const Json& request) {
  const std::string op = TextIn(request, "op", nullptr, 40);
  if (op == "open") {
    open_ = owner_.host().OpenList(IntIn(request, "classTypeId", 0), IntIn(request, "billType", 0));
    columns_ = sim::ListColumns(open_.list->tmpl(), withheld_);
    LoadTexts();
    return Json{{"ok", true}};
  }
  if (!open_.list) throw BadRequest("单据列表没有打开。");
  // The columns follow the person's rights as they are now.
  const auto columns = sim::ListColumns(open_.list->tmpl(), withheld_);
  const bool rightsChanged =
      columns.size() != columns_.size() ||
      !std::equal(columns.begin(), columns.end(), columns_.begin(),
                  [](const auto& a, const auto& b) { return a.key == b.key; });
  columns_ = columns;
  if (rightsChanged) LoadTexts();
  if (op == "view") return Json{{"ok", true}};
  if (op == "refresh") {
    open_.list->Refresh();
    LoadTexts();
    return Json{{"ok", true}};
  }
  if (op == "query") return Query(request);
  if (op == "export") {
    const std::string name = open_.list->tmpl().title + "列表.csv";
    return Json{{"ok", true}, {"fileName", name}, {"csv", sim::ListCsv(columns_, texts_)}};
  }
  if (op == "openBill") {
    const long billId = IntIn(request, "billId", 0, 1);
    const bool edit = FlagIn(request, "edit", false);
    // The list opens only the bills it lists; only one not yet audited opens for editing, as
    // the host's own forms allow.
    const long status = StatusOf(billId);
    if (status < 0) throw BadRequest("列表中没有这张单据。");
    if (edit && status != 0) {
      owner_.host().Ui().MsgBox("单据已经审核，不能修改。", host::vbInformation, kInfoTitle);
      return Json{{"ok", false}};
    }
    openRequest_ =
        OpenRequest{open_.list->tmpl().classTypeId, billId, edit, {}, open_.list->billType()};
    return Json{{"ok", true}};
  }
  if (op == "tool") {
    const Json selected = request.contains("selected") ? request["selected"] : Json::array();
    if (!selected.is_array()) throw BadRequest("“selected”应为单据内码的列表。");
    std::vector<long> ids;
    for (const auto& id : selected) {
      if (!id.is_number_integer() || id.get<long long>() <= 0 ||
          id.get<long long>() > std::numeric_limits<int>::max())
        throw BadRequest("“selected”应为单据内码的列表。");
      ids.push_back(static_cast<long>(id.get<long long>()));
    }
    return Tool(TextIn(request, "key", nullptr, 100), ids);
  }
  throw BadRequest("没有“" + op + "”这种操作。");
}

Json ListWindow::Tool(const std::string& key, const std::vector<long>& selected) {
  sim::BillList& list = *open_.list;
  // Only bills of this list's class are selected, whatever the browser sent.
  list.SelectIds(selected);
  const std::vector<long> ids = list.SelectedBillIDs();
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
        openRequest_ = OpenRequest{classTypeId, 0, false, data, list.billType()};
      } else {
        ok = false;
      }
    } else if (key == "mnuFileNew") {
      openRequest_ = OpenRequest{classTypeId, 0, false, {}, list.billType()};
    } else if (key == "mnuQORViewVoucher") {
      if (ids.size() != 1)
        ok = refuse("请选择一张单据。");
      else
        openRequest_ = OpenRequest{classTypeId, ids.front(), false, {}, list.billType()};
    }
  }
  LoadTexts();
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
  if (id < 0 || status < 0) return -1;
  for (const auto& r : data.rows)
    if (vb::CLng(r[static_cast<std::size_t>(id)]) == billId)
      return r[static_cast<std::size_t>(status)].IsNull()
                 ? 0
                 : vb::CLng(r[static_cast<std::size_t>(status)]);
  return -1;
}

Json ListWindow::Query(const Json& request) {
  sim::ListQuery query;
  query.dateFrom = TextIn(request, "dateFrom", "", 20);
  query.dateTo = TextIn(request, "dateTo", "", 20);
  query.billNo = TextIn(request, "billNo", "", 100);
  query.partner = TextIn(request, "partner", "", 100);
  query.status = static_cast<int>(IntIn(request, "status", -1, -1, 2));
  query.sortKey = TextIn(request, "sort", "", 100);
  query.descending = FlagIn(request, "descending", false);
  if (!query.sortKey.empty() &&
      std::none_of(columns_.begin(), columns_.end(),
                   [&](const sim::ListColumn& c) { return c.key == query.sortKey; }))
    throw BadRequest("列表中没有“" + query.sortKey + "”这一列。");
  try {
    open_.list->SetQuery(std::move(query));
  } catch (const std::invalid_argument& e) {
    throw BadRequest(e.what());
  }
  open_.list->Refresh();
  LoadTexts();
  return Json{{"ok", true}};
}

void ListWindow::LoadTexts() { texts_ = sim::ListTexts(*open_.list, columns_, owner_.host()); }

Json ListWindow::Render(bool) {
  if (!open_.list) return Json{{"closed", true}};
  return ListJson(*open_.list, columns_, texts_);
}

void ListWindow::Release() {
  open_.plugin.reset();
  open_.list.reset();
}

}  // namespace zov::web
