#include "list/bill_list.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "bill/bill_form.h"
#include "bill/edit_lock.h"
#include "bill/follow_up.h"
#include "com/dictionary.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/error.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr const char* kInfoTitle = "信息提示";
constexpr const char* kAuditFailed = "审核失败，单据没有改变。";
constexpr const char* kUnAuditFailed = "反审核失败，单据没有改变。";
constexpr const char* kDeleteFailed = "删除失败，单据没有删除。";

long ColumnOf(const RecordData& data, std::string_view name) {
  for (std::size_t i = 0; i < data.columns.size(); ++i)
    if (vb::StrComp(data.columns[i].name, name, vb::CompareMethod::Text) == 0)
      return static_cast<long>(i);
  return -1;
}

}  // namespace

Ref<BillList> BillList::New(std::shared_ptr<const BillTemplate> tmpl, SessionContext& session,
                            long billType) {
  return Ref<BillList>::Adopt(new BillList(std::move(tmpl), session, billType));
}

BillList::BillList(std::shared_ptr<const BillTemplate> tmpl, SessionContext& session, long billType)
    : tmpl_(std::move(tmpl)),
      session_(session),
      billType_(tmpl_->Find("FBillTypeID") ? billType : 0),
      bar_(ActiveBar::New()) {}

template <class Call>
bool BillList::Raise(host::ListEvent event, Call&& call) {
  bool ok = true;
  auto sinks = sinks_;
  for (auto& [cookie, sink] : sinks) {
    if (!sink->ConnectedEvents().test(static_cast<std::size_t>(event))) continue;
    try {
      call(*sink);
    } catch (const vb::Error& e) {
      ok = false;
      session_.JournalException(std::string("ListEvent.") + host::ListEventName(event),
                                "error " + std::to_string(e.number()) + ": " + e.description());
    } catch (const std::exception& e) {
      ok = false;
      session_.JournalException(std::string("ListEvent.") + host::ListEventName(event), e.what());
    }
  }
  return ok;
}

long BillList::BillTypeID() {
  if (billType_ != 0) return billType_;
  if (const FieldDef* f = tmpl_->Find("FBillTypeID"); f && !f->defaultValue.IsEmpty())
    return vb::CLng(f->defaultValue);
  return 0;
}

Ref<host::IDictionary> BillList::GetSelectedBillInfo() {
  auto all = Dictionary::New();
  long n = 0;
  for (long id : selected_) {
    const auto found =
        session_.Run("SELECT * FROM " + tmpl_->headTable + " WHERE FID=" + std::to_string(id));
    if (found.empty() || found[0].rows.empty()) continue;
    const RecordData& head = found[0];
    auto info = Dictionary::New();
    for (std::size_t i = 0; i < head.columns.size(); ++i)
      info->SetItem(head.columns[i].name, head.rows[0][i]);
    auto value = [&](const char* column) -> Variant {
      const long c = ColumnOf(head, column);
      return c < 0 ? Variant(0) : head.rows[0][static_cast<std::size_t>(c)];
    };
    // The bill-information record the host's check components take.
    info->SetItem("ClassTypeID", tmpl_->classTypeId);
    info->SetItem("BillInterID", id);
    info->SetItem("HeadTableName", tmpl_->headTable);
    info->SetItem("BillNo", value("FBillNo"));
    info->SetItem("BillType", value("FBillTypeID"));
    // Stock bills carry both columns: a supplier's bill has no customer (FCustID 0).
    const Variant customer = value("FCustID");
    const bool noCustomer = customer.IsNull() || vb::CLng(customer) == 0;
    info->SetItem("CustOrSupplyID",
                  noCustomer && ColumnOf(head, "FSupplyID") >= 0 ? value("FSupplyID") : customer);
    info->SetItem("AllAmount", value("FAllAmount"));
    all->SetItem(++n, Ref<host::IDictionary>(info));
  }
  return all;
}

void BillList::SetToolProperty(std::string_view toolKey, std::string_view property,
                               const Variant& value) {
  if (auto tool = bar_->FindTool(toolKey)) tool->SetProperty(property, value);
}

namespace {

// A day the person typed, as "yyyy-MM-dd"; empty for nothing typed.
std::string DayOf(std::string_view text, const char* which) {
  if (vb::Trim(text).empty()) return {};
  const auto day = vb::ParseDate(vb::Trim(text));
  if (!day || !vb::IsDateSerialInRange(day->serial))
    throw std::invalid_argument(std::string(which) + "“" + std::string(text) + "”不是有效的日期。");
  return vb::Format(vb::Variant(vb::Date{std::floor(day->serial)}), "yyyy-MM-dd");
}

}  // namespace

std::string LikeText(std::string_view text) {
  std::string out;
  for (char c : vb::Trim(text)) {
    if (c == '%' || c == '_' || c == '[' || c == ']') continue;
    if (c == '\'') out += '\'';
    out += c;
  }
  return out;
}

const FieldDef* BillList::PartnerField() const {
  for (const char* key : {"FCustID", "FSupplyID"})
    if (const FieldDef* f = tmpl_->Find(key); f && f->grid == 0 && f->type == FieldType::Base)
      return f;
  return nullptr;
}

void BillList::SetQuery(ListQuery query) {
  query.dateFrom = DayOf(query.dateFrom, "起始日期");
  query.dateTo = DayOf(query.dateTo, "截止日期");
  if (query.status < -1 || query.status > 2) query.status = -1;
  query_ = std::move(query);
}

void BillList::Refresh() {
  std::string sql = "SELECT * FROM " + tmpl_->headTable + " WHERE " + tmpl_->classColumn + "=" +
                    std::to_string(tmpl_->classTypeId);
  if (billType_ != 0) sql += " AND FBillTypeID=" + std::to_string(billType_);
  // The days as the person sees them: the whole of the last day counts.
  if (!query_.dateFrom.empty()) sql += " AND FDate >= '" + query_.dateFrom + "'";
  if (!query_.dateTo.empty()) {
    const double after = std::floor(vb::ParseDate(query_.dateTo)->serial) + 1;
    sql += " AND FDate < '" + vb::Format(vb::Variant(vb::Date{after}), "yyyy-MM-dd") + "'";
  }
  if (const std::string no = LikeText(query_.billNo); !no.empty())
    sql += " AND FBillNo LIKE N'%" + no + "%'";
  if (const std::string who = LikeText(query_.partner); !who.empty()) {
    if (const FieldDef* f = PartnerField()) {
      const BaseRef& b = f->base;
      sql += " AND " + f->internalKey() + " IN (SELECT " + b.id + " FROM " + b.table + " WHERE " +
             b.number + " LIKE N'%" + who + "%' OR " + b.name + " LIKE N'%" + who + "%')";
    }
  }
  if (query_.status >= 0) sql += " AND ISNULL(FStatus, 0) = " + std::to_string(query_.status);
  sql += " ORDER BY FID";
  auto sets = session_.Run(sql);
  rows_ = sets.empty() ? RecordData{} : std::move(sets.front());
  // Bills deleted meanwhile leave the selection.
  std::vector<long> still;
  const long idColumn = ColumnOf(rows_, "FID");
  for (long id : selected_)
    for (const auto& r : rows_.rows)
      if (idColumn >= 0 && vb::CLng(r[static_cast<std::size_t>(idColumn)]) == id)
        still.push_back(id);
  selected_ = std::move(still);
}

long BillList::Advise(const Ref<host::IListEventSink>& sink) {
  if (!sink)
    throw vb::Error(vb::kErrObjectVariableNotSet, "Object variable or With block variable not set",
                    "ListEvent");
  sinks_.emplace_back(nextCookie_, sink);
  return nextCookie_++;
}

void BillList::Unadvise(long cookie) {
  std::erase_if(sinks_, [cookie](const auto& s) { return s.first == cookie; });
}

void BillList::InitializeMenus() {
  if (menusBuilt_) return;
  menusBuilt_ = true;
  struct ListTool {
    const char* band;
    const char* key;
    const char* caption;
    bool toolbar;
    bool visible;
  };
  // The list's own tools; audit, un-audit, copy and the express note are shown by the plug-in of
  // the bill class that offers them.
  static const ListTool kTools[] = {
      {"mnuFile", "mnuFileNew", "新增", true, true},
      {"mnuFile", "mnuFilePrint", "打印", true, true},
      {"mnuFile", "mnuFileExit", "退出", true, true},
      {"mnuEdit", "mnuEditCheck", "审核", true, false},
      {"mnuEdit", "mnuEditUnCheck", "反审核", true, false},
      {"mnuEdit", "mnuEditCopy", "复制", true, false},
      {"mnuEdit", "mnuEditCopyEntry", "合并复制", false, true},
      {"mnuEdit", "mnuEditDelete", "删除", true, true},
      {"mnuEdit", "mnuKddPrint", "打印快递单", true, false},
      {"mnuView", "mnuQORViewVoucher", "查看单据", false, true},
  };
  for (const char* band :
       {"mnuFile", "mnuEdit", "mnuView", "mnuRelate", "mnuOption", "BandToolBar"})
    bar_->EnsureBand(band);
  for (const auto& t : kTools) {
    auto tool = bar_->EnsureTool(t.key);
    tool->SetCaption(t.caption);
    tool->SetToolTipText(t.caption);
    tool->SetDescription(t.caption);
    tool->SetVisible(t.visible);
    bar_->EnsureBand(t.band)->Append(tool);
    if (t.toolbar) bar_->EnsureBand("BandToolBar")->Append(tool);
  }
  Ref<host::IActiveBar> menuBar(bar_);
  Raise(host::ListEvent::MenuBarInitialize,
        [&](host::IListEventSink& s) { s.MenuBarInitialize(menuBar); });
}

void BillList::SelectIds(const std::vector<long>& ids) {
  std::vector<long> listed;
  const long idColumn = ColumnOf(rows_, "FID");
  for (long id : ids) {
    if (std::find(listed.begin(), listed.end(), id) != listed.end()) continue;
    for (const auto& r : rows_.rows)
      if (idColumn >= 0 && vb::CLng(r[static_cast<std::size_t>(idColumn)]) == id) {
        listed.push_back(id);
        break;
      }
  }
  selected_ = std::move(listed);
}

std::string BillList::SelectedCondition() const {
  std::string ids;
  for (long id : selected_) ids += (ids.empty() ? "" : ",") + std::to_string(id);
  return "FID IN (" + ids + ") AND " + tmpl_->classColumn + "=" +
         std::to_string(tmpl_->classTypeId);
}

bool BillList::Select(const std::vector<std::string>& billNos) {
  std::vector<long> ids;
  const long idColumn = ColumnOf(rows_, "FID"), noColumn = ColumnOf(rows_, "FBillNo");
  for (const auto& no : billNos) {
    bool found = false;
    for (const auto& r : rows_.rows)
      if (noColumn >= 0 && vb::CStr(r[static_cast<std::size_t>(noColumn)]) == no) {
        ids.push_back(vb::CLng(r[static_cast<std::size_t>(idColumn)]));
        found = true;
      }
    if (!found) return false;
  }
  selected_ = std::move(ids);
  return true;
}

bool BillList::ClickTool(std::string_view key) {
  lastCancelled_ = false;
  auto tool = bar_->FindTool(key);
  if (tool && !tool->Enabled()) return Refuse();
  Ref<host::ITool> clicked =
      tool ? Ref<host::ITool>(tool) : Ref<host::ITool>(bar_->EnsureTool(key));
  bool cancel = false;
  const bool ok = Raise(host::ListEvent::MenuBarClick,
                        [&](host::IListEventSink& s) { s.MenuBarClick(clicked, cancel); });
  if (cancel || !ok) return Refuse();
  if (key == "mnuEditCheck") return AuditSelected(true);
  if (key == "mnuEditUnCheck") return AuditSelected(false);
  if (key == "mnuEditDelete") return DeleteSelected();
  return true;
}

bool BillList::CheckNoneHeld(const char* operation) {
  // A bill another session is editing is left alone: its editor would save over the change.
  const long noColumn = ColumnOf(rows_, "FBillNo"), idColumn = ColumnOf(rows_, "FID");
  for (long id : selected_) {
    EditLock::State lock;
    try {
      lock = EditLock(session_, tmpl_->classTypeId, id).Read();
    } catch (const std::exception&) {
      session_.Ui().MsgBox(std::string("单据现在不能") + operation + "。", host::vbInformation,
                           kInfoTitle);
      return false;
    }
    if (!lock.heldElsewhere) continue;
    std::string billNo;
    for (const auto& r : rows_.rows)
      if (idColumn >= 0 && noColumn >= 0 && vb::CLng(r[static_cast<std::size_t>(idColumn)]) == id)
        billNo = vb::CStr(r[static_cast<std::size_t>(noColumn)]);
    session_.Ui().MsgBox(
        "单据" + billNo + "正在被用户“" + lock.holder + "”修改，不能" + operation + "。",
        host::vbInformation, kInfoTitle);
    return false;
  }
  return true;
}

bool BillList::AuditSelected(bool audit) {
  lastCancelled_ = false;
  if (selected_.empty()) {
    session_.Ui().MsgBox("请先选择单据。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if (tmpl_->auditByComponent) return AuditByComponent(audit);
  bool cancel = false;
  const bool ok = audit ? Raise(host::ListEvent::BusinessCheck,
                                [&](host::IListEventSink& s) { s.BusinessCheck(cancel); })
                        : Raise(host::ListEvent::UnBusinessCheck,
                                [&](host::IListEventSink& s) { s.UnBusinessCheck(cancel); });
  if (cancel || !ok) return Refuse();
  if (!CheckNoneHeld(audit ? "审核" : "反审核")) return Refuse();
  // The host's own rule: only bills in the state the operation starts from change.
  const std::string sql =
      audit ? "UPDATE " + tmpl_->headTable +
                  " SET FStatus=1, FCheckerID=" + std::to_string(session_.UserId()) +
                  " WHERE FStatus=0 AND " + SelectedCondition()
            : "UPDATE " + tmpl_->headTable + " SET FStatus=0, FCheckerID=0 WHERE FStatus=1 AND " +
                  SelectedCondition();
  try {
    session_.Begin();
    // The bills the operation changes carry their rows into their source rows' follow-up
    // quantities, as the audit from the form does.
    const auto changing = session_.Run("SELECT FID FROM " + tmpl_->headTable + " WHERE FStatus=" +
                                       (audit ? "0" : "1") + " AND " + SelectedCondition());
    session_.Run(sql);
    if (!changing.empty())
      for (const auto& row : changing[0].rows)
        for (const std::string& move :
             FollowUpStatements(session_, tmpl_->classTypeId, vb::CLng(row[0]), audit ? 1 : -1))
          session_.Run(move);
    for (long id : selected_) EditLock(session_, tmpl_->classTypeId, id).CountWrite();
    session_.Commit();
  } catch (const std::exception&) {
    // The failed statement is in the journal; the person learns that nothing changed.
    session_.Rollback();
    session_.Ui().MsgBox(audit ? kAuditFailed : kUnAuditFailed, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  Refresh();
  return true;
}

bool BillList::AuditByComponent(bool audit) {
  // Bills another session edits are left alone before the plug-in's component changes any.
  if (!CheckNoneHeld(audit ? "审核" : "反审核")) return Refuse();
  std::string ids;
  for (long id : selected_) ids += (ids.empty() ? "" : ",") + std::to_string(id);
  const std::string states =
      "SELECT FID, FStatus FROM " + tmpl_->headTable + " WHERE FID IN (" + ids + ") ORDER BY FID";
  const auto before = session_.Run(states);
  bool cancel = false;
  const bool ok = audit ? Raise(host::ListEvent::BusinessCheck,
                                [&](host::IListEventSink& s) { s.BusinessCheck(cancel); })
                        : Raise(host::ListEvent::UnBusinessCheck,
                                [&](host::IListEventSink& s) { s.UnBusinessCheck(cancel); });
  // The component changed what it could, bill by bill: what changed counts as a write of the
  // bill, and the list shows what is stored.
  try {
    const auto after = session_.Run(states);
    session_.Begin();
    try {
      for (std::size_t i = 0; i < after.at(0).rows.size() && i < before.at(0).rows.size(); ++i)
        if (vb::CLng(after[0].rows[i][1]) != vb::CLng(before[0].rows[i][1]))
          EditLock(session_, tmpl_->classTypeId, vb::CLng(after[0].rows[i][0])).CountWrite();
      session_.Commit();
    } catch (const std::exception&) {
      session_.Rollback();
      throw;
    }
  } catch (const std::exception&) {
    // Journaled by the session; the list shows what is stored all the same.
  }
  Refresh();
  return cancel || !ok ? Refuse() : true;
}

bool BillList::DeleteSelected() {
  lastCancelled_ = false;
  if (selected_.empty()) {
    session_.Ui().MsgBox("请先选择单据。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  const auto audited = session_.Run("SELECT COUNT(*) FROM " + tmpl_->headTable +
                                    " WHERE FStatus<>0 AND " + SelectedCondition());
  if (!audited.empty() && vb::CLng(audited[0].rows[0][0]) > 0) {
    session_.Ui().MsgBox("所选单据中有已审核的单据，不能删除。", host::vbInformation, kInfoTitle);
    return Refuse();
  }
  if (!CheckNoneHeld("删除")) return Refuse();
  const std::string question = "确定要删除所选的" + std::to_string(selected_.size()) + "张单据吗？";
  if (session_.Ui().MsgBox(question, host::vbYesNo | host::vbQuestion, kInfoTitle) != host::vbYes)
    return Refuse();
  try {
    // The rows go with their bills: only bills of this list's class, chosen in the head table.
    const std::string bills =
        "SELECT FID FROM " + tmpl_->headTable + " WHERE " + SelectedCondition();
    session_.Begin();
    std::string sql;
    if (!tmpl_->entryTable.empty())
      sql += "DELETE FROM " + tmpl_->entryTable + " WHERE FID IN (" + bills + ")\n";
    if (!tmpl_->entry2Table.empty())
      sql += "DELETE FROM " + tmpl_->entry2Table + " WHERE FID IN (" + bills + ")\n";
    sql += "DELETE FROM " + tmpl_->headTable + " WHERE " + SelectedCondition();
    session_.Run(sql);
    for (long id : selected_) EditLock(session_, tmpl_->classTypeId, id).Forget();
    session_.Commit();
  } catch (const std::exception&) {
    session_.Rollback();
    session_.Ui().MsgBox(kDeleteFailed, host::vbInformation, kInfoTitle);
    return Refuse();
  }
  selected_.clear();
  Refresh();
  return true;
}

Ref<host::IDictionary> BillList::CopySelected(bool merge) {
  lastCancelled_ = false;
  if (selected_.empty() || (!merge && selected_.size() != 1)) {
    lastCancelled_ = true;
    return {};
  }
  // The selected bills are read through a form of their template, without plug-in.
  auto reader = BillForm::New(tmpl_, session_);
  Ref<host::IDictionary> data;
  for (long id : selected_) {
    if (!reader->LoadBill(id)) continue;
    auto page = reader->Data();
    if (!data) {
      data = page;
      data->SetItem("Map", reader->TableInfo()->Item("Map"));
      continue;
    }
    auto rows = data->Item("Page2").ObjectAs<host::IDictionary>();
    auto more = page->Item("Page2").ObjectAs<host::IDictionary>();
    for (const auto& k : more->Keys()) rows->SetItem(rows->Count() + 1, more->Item(k));
  }
  if (!data) {
    lastCancelled_ = true;
    return {};
  }
  const Variant dataV{data};
  if (merge)
    Raise(host::ListEvent::AfterMergeCopyBill,
          [&](host::IListEventSink& s) { s.AfterMergeCopyBill(dataV); });
  else
    Raise(host::ListEvent::AfterCopyBillCreateData, [&](host::IListEventSink& s) {
      s.AfterCopyBillCreateData(Variant(selected_.front()), dataV);
    });
  return data;
}

}  // namespace zov::sim
