// The edit chain: a written cell runs its field's actions ("Calculate" formulas write their
// targets, which run their own actions and raise their Change), then Change of the field.
#include <cmath>

#include "bill/bill_form.h"
#include "bill/bill_form_events.h"
#include "bill/edit_lock.h"
#include "zov/vb/convert.h"
#include "zov/vb/datetime.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr int kErrOutOfStackSpace = 28;

// What a person may type into a date field: a date of the calendar, or nothing.
bool IsDateOrBlank(const Variant& typed) {
  if (typed.IsEmpty() || typed.IsNull()) return true;
  if (typed.Type() == vb::VarType::Date) return vb::IsDateSerialInRange(typed.AsDate().serial);
  if (typed.IsString()) {
    if (vb::Trim(typed.AsString()).empty()) return true;
    const auto d = vb::ParseDate(typed.AsString());
    return d && vb::IsDateSerialInRange(d->serial);
  }
  return typed.IsNumber() && vb::IsDateSerialInRange(vb::CDbl(typed));
}

// Counts the nesting of the chain; passing the limit is a failed event, never a stack overflow.
class DepthGuard {
 public:
  DepthGuard(int& depth, HostServices& services, std::string_view key) : depth_(depth) {
    if (++depth_ > BillForm::kMaxChainDepth) {
      --depth_;
      const std::string what = "the chain of field actions and changes passed " +
                               std::to_string(BillForm::kMaxChainDepth) + " levels at field " +
                               std::string(key);
      services.JournalException("BillEvent.DoAction", what);
      throw vb::Error(kErrOutOfStackSpace, "Out of stack space: " + what, "BillEvent");
    }
  }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

double NumberOf(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  if (v.IsString()) return vb::Val(v.AsString());
  if (v.Type() == vb::VarType::Date) return v.AsDate().serial;
  return vb::CDbl(v);
}

}  // namespace

void BillForm::RunChain(const FieldDef& field, long row, const Variant& previous) {
  DepthGuard guard(depth_, services_, field.key);
  dirty_ = true;
  RunActions(field, row, "FAction");
  bool cancel = false;
  RaiseChange(field, row, previous, cancel);
}

void BillForm::RunActions(const FieldDef& field, long row, const std::string& kind) {
  if (field.actions.empty()) return;
  auto info = fieldInfos_.at(&field);
  auto cell = Cell(field, row, true);
  // The action data: the properties of the base-data record chosen in the field.
  Ref<Dictionary> actionData = Dictionary::New();
  if (field.type == FieldType::Base && cell) {
    const BaseRecord r = ResolveBase(field, cell->Item("FFLD"), false);
    if (r.found && r.props) actionData = r.props;
  }
  for (const FieldAction& action : field.actions) {
    // The second grid's actions may be keyed "FAction01"; they run on an edit as "FAction" does.
    if (action.kind != kind && !(kind == "FAction" && action.kind == "FAction01")) continue;
    bool cancel = false;
    const Variant infoV{Ref<host::IDictionary>(info)};
    const Variant dataV{Ref<host::IDictionary>(actionData)};
    const Variant cellV = cell ? Variant(Ref<host::IDictionary>(cell)) : Variant{};
    Raise(host::BillEvent::BeforeDoAction, [&](host::IBillEventSink& s) {
      s.BeforeDoAction(infoV, dataV, cellV, action.kind, action.name, action.parameter, cancel);
    });
    Raise(host::BillEvent::BeforeDoAction2, [&](host::IBillEventSink& s) {
      s.BeforeDoAction2(infoV, dataV, cellV, action.kind, action.name, action.parameter, cancel,
                        row);
    });
    if (cancel) continue;
    if (action.formula)
      ApplyCalculate(field, action, row);
    else if (action.lock)
      ApplyLockRule(field, action, row);
    Raise(host::BillEvent::AfterDoAction2, [&](host::IBillEventSink& s) {
      s.AfterDoAction2(infoV, dataV, cellV, action.kind, action.name, action.parameter, row);
    });
  }
}

void BillForm::ApplyCalculate(const FieldDef& field, const FieldAction& action, long row) {
  // A formula reads the fields of its own row and, for keys the row does not have, the header.
  auto read = [&](std::string_view key) -> double {
    const FieldDef* f = tmpl_->FindAt(key, row);
    if (!f) return 0;
    auto cell = Cell(*f, f->grid == 0 ? -1 : row, false);
    return cell ? NumberOf(cell->Item("FFLD")) : 0;
  };
  for (const Assignment& a : action.formula->assignments) {
    const FieldDef* target = tmpl_->FindAt(a.target, field.grid == 0 ? -1 : row);
    if (!target) continue;
    double value;
    try {
      value = Evaluate(*a.expr, read);
    } catch (const vb::Error&) {
      continue;  // a division by zero leaves the target as it was
    }
    if (!std::isfinite(value)) continue;
    if (target->decimals >= 0)
      value = vb::FormatToPlaces(value, std::min(target->decimals, 4)).ToDouble();
    const long targetRow = target->grid == 0 ? -1 : row;
    auto cell = Cell(*target, targetRow, true);
    const Variant before = cell->Item("FFLD");
    if (NumberOf(before) == value && !(before.IsString() && before.AsString().empty())) continue;
    WriteTyped(*target, targetRow, value, false);
    // The target's own actions follow; its Change is not raised: the plug-ins hear of what the
    // person typed and of what they wrote themselves, not of the host's own arithmetic.
    DepthGuard guard(depth_, services_, target->key);
    RunActions(*target, targetRow, "FAction");
  }
  (void)field;
}

void BillForm::ApplyLockRule(const FieldDef& field, const FieldAction& action, long row) {
  const LockRule& rule = *action.lock;
  const FieldDef* target = tmpl_->FindAt(rule.target, field.grid == 0 ? -1 : row);
  if (!target) return;
  auto read = [&](std::string_view name) -> Variant {
    if (name.size() > 3 && vb::UCase(name.substr(0, 3)) == "ME.") {
      auto cell = Cell(field, row, false);
      if (!cell || field.type != FieldType::Base) return Variant{};
      const BaseRecord r = ResolveBase(field, cell->Item("FFLD"), false);
      return r.found && r.props ? r.props->Item(std::string(name.substr(3))) : Variant{};
    }
    const FieldDef* f = tmpl_->FindAt(name, field.grid == 0 ? -1 : row);
    if (!f) return Variant{};
    auto cell = Cell(*f, f->grid == 0 ? -1 : row, false);
    return cell ? cell->Item("FFLD") : Variant{};
  };
  const bool lock = ConditionHolds(rule, read) ? rule.whenTrue : rule.whenFalse;
  LockCell(*target, target->grid == 0 ? -1 : row, lock);
}

void BillForm::RaiseChange(const FieldDef& field, long row, const Variant& previous, bool& cancel) {
  auto info = fieldInfos_.at(&field);
  // The descriptor of a base-data field carries the properties of the record chosen in it.
  if (field.type == FieldType::Base) {
    if (auto cell = Cell(field, row, false)) {
      const BaseRecord r = ResolveBase(field, cell->Item("FFLD"), false);
      if (r.found && r.props)
        for (const auto& k : r.props->Keys()) info->SetItem(k, r.props->Item(k));
    }
  }
  auto change = Dictionary::New();
  change->SetItem("FFLD", previous);
  change->SetItem("FKey", field.key);
  const long col = 0;
  const long eventRow = field.grid == 0 ? -1 : row;
  Raise(host::BillEvent::Change, [&](host::IBillEventSink& s) {
    s.Change(Ref<host::IDictionary>(info), Ref<host::IDictionary>(change), col, eventRow, cancel);
  });
}

bool BillForm::Edit(std::string_view key, long row, const Variant& typed) {
  OperationScope scope(*this);
  lastCancelled_ = false;
  const FieldDef* f = tmpl_->FindAt(key, row);
  if (!f) throw std::invalid_argument("the bill has no field " + std::string(key));
  const long r = f->grid == 0 ? -1 : row;
  if (f->grid != 0 && !Page(f->grid).Row(r))
    throw std::invalid_argument("the bill has no row " + std::to_string(row));
  if (ReadOnly() || IsCellLocked(*f, r)) return Refuse();
  Variant value = typed;
  if (f->grid == 0 && typed.IsString() && !typed.AsString().empty()) {
    // Typed into the field's edit control: its key presses go first, and what they swallow
    // never reaches the field.
    std::string kept = typed.AsString();
    if (!PressKeys(*f, kept) || kept.empty()) return Refuse();
    value = kept;
  }
  if (!BeginEditIfViewing()) return Refuse();
  auto cell = Cell(*f, r, true);
  const Variant before = cell->Item("FFLD");
  const Variant beforeNumber = cell->Item("FFND"), beforeDisplay = cell->Item("FDSP");
  if (f->type == FieldType::Base) {
    const bool blank = value.IsEmpty() || (value.IsString() && vb::Trim(value.AsString()).empty());
    if (!blank) {
      const BaseRecord rec =
          value.IsString() ? ResolveBase(*f, value, true) : ResolveBase(*f, value, false);
      if (!rec.found) {
        services_.Ui().MsgBox(
            "“" + vb::CStr(value) + "”不是有效的" + f->caption + "代码，请重新输入。",
            host::vbInformation, "信息提示");
        return Refuse();
      }
      WriteTyped(*f, r, rec.id, true);
    } else {
      WriteTyped(*f, r, Variant(""), true);
    }
    FillLinked(*f, r);
  } else {
    if (f->type == FieldType::Date && !IsDateOrBlank(value)) {
      services_.Ui().MsgBox("“" + vb::CStr(value) + "”不是有效的日期，请重新输入。",
                            host::vbInformation, "信息提示");
      return Refuse();
    }
    WriteTyped(*f, r, value, true);
  }
  MoveCursor(f->key, r);
  bool cancel = false;
  try {
    DepthGuard guard(depth_, services_, f->key);
    dirty_ = true;
    RunActions(*f, r, "FAction");
    RaiseChange(*f, r, before, cancel);
  } catch (const vb::Error& e) {
    // The chain passed its depth limit (journaled where it stopped): a failed event. What was
    // computed so far stays, as the host's own forms leave it.
    if (e.number() != kErrOutOfStackSpace) throw;
    return Refuse();
  }
  if (cancel) {
    // The plug-in refused the change: the cell gets its previous value back and its dependants
    // are recomputed from it.
    cell->SetItem("FFLD", before);
    cell->SetItem("FFND", beforeNumber);
    cell->SetItem("FDSP", beforeDisplay);
    FillLinked(*f, r);
    RunActions(*f, r, "FAction");
    return Refuse();
  }
  // A record chosen among the customer's is not the new customer's.
  if (f->grid == 0 && vb::StrComp(f->key, "FCustID", vb::CompareMethod::Text) == 0)
    ForgetChosenRecords();
  return true;
}

bool BillForm::BeginEditIfViewing() {
  if (formState_ != host::kBillView) {
    // The holder of an edit lock shows it is still there while the person works.
    const auto now = std::chrono::steady_clock::now();
    if (holdsEditLock_ && now - lockTouched_ > std::chrono::seconds(EditLock::kTouchSeconds)) {
      lockTouched_ = now;
      try {
        EditLock(services_, tmpl_->classTypeId, billId_).Touch();
      } catch (const std::exception&) {
        // Journaled; a lock not refreshed goes stale, and the save finds out.
      }
    }
    return true;
  }
  if (!TakeEditLock()) return false;
  formState_ = host::kBillEdit;
  Raise(host::BillEvent::BeginEdit,
        [&](host::IBillEventSink& s) { s.BeginEdit(Variant{}, Variant{}, Variant{}); });
  return true;
}

}  // namespace zov::sim
