// The host's own tools that leave the bill or show it elsewhere: previous and next bill, exit,
// print and print preview, and the column totals a printout carries.
#include <utility>

#include "bill/bill_form.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::sim {

namespace {

constexpr const char* kInfoTitle = "信息提示";
constexpr int kYesNoCancel = 3;

}  // namespace

bool BillForm::MayLeave() {
  if (formState_ == host::kBillView || !dirty_ || ReadOnly()) return true;
  const int answer = services_.Ui().MsgBox("单据已经修改，是否保存？",
                                           kYesNoCancel | host::vbQuestion, kInfoTitle);
  if (answer == host::vbYes) return Save();
  return answer == host::vbNo;
}

bool BillForm::GoToBill(bool next) {
  lastCancelled_ = false;
  if (!MayLeave()) return Refuse();
  // The stored bills of the class (of the list's kind, from a list of one kind) in the order
  // they were made; from a new bill the way back starts at the newest.
  std::string sql = "SELECT TOP 1 FID FROM " + tmpl_->headTable + " WHERE " + tmpl_->classColumn +
                    "=" + std::to_string(tmpl_->classTypeId);
  if (pagingKind_ != 0 && tmpl_->Find("FBillTypeID"))
    sql += " AND FBillTypeID=" + std::to_string(pagingKind_);
  if (billId_ != 0) sql += std::string(" AND FID") + (next ? ">" : "<") + std::to_string(billId_);
  sql += std::string(" ORDER BY FID") + (next ? "" : " DESC");
  const auto sets = (billId_ == 0 && next) ? std::vector<RecordData>{} : services_.Run(sql);
  if (sets.empty() || sets[0].rows.empty()) {
    services_.Ui().MsgBox(next ? "已经是最后一张单据。" : "已经是第一张单据。", host::vbInformation,
                          kInfoTitle);
    return Refuse();
  }
  return LoadBill(vb::CLng(sets[0].rows[0][0]), host::kBillView);
}

bool BillForm::Exit() {
  lastCancelled_ = false;
  if (!MayLeave()) return Refuse();
  CloseBill(false, "");
  return true;
}

bool BillForm::Print(bool preview) {
  lastCancelled_ = false;
  // The account set may want a bill saved before it is printed; the plug-in armed its own
  // checks of that save when it heard the click.
  const auto rule = services_.Run(
      "Select FValue From t_SystemProfile Where FCategory='IC' And FKey='SaveBeforePrint'");
  const bool saveFirst = !rule.empty() && !rule[0].rows.empty() && !rule[0].rows[0][0].IsNull() &&
                         vb::Val(vb::CStr(rule[0].rows[0][0])) == 1;
  if (saveFirst && (billId_ == 0 || (dirty_ && formState_ != host::kBillView)) && !Save())
    return Refuse();
  printRequest_ = preview ? kPrintPreview : kPrintNow;
  return true;
}

BillForm::PrintRequest BillForm::TakePrintRequest() {
  return std::exchange(printRequest_, kNoPrint);
}

bool BillForm::Totalled(const FieldDef& field) {
  if (field.type != FieldType::Number || field.grid == 0) return false;
  for (std::string_view part : {"Qty", "Amount", "Weight", "Charges"})
    if (field.key.find(part) != std::string::npos) return true;
  return false;
}

double BillForm::Total(const FieldDef& field) const {
  if (field.grid == 0) return 0;
  double total = 0;
  for (const auto& row : Page(field.grid).rows()) {
    const Variant* v = nullptr;
    if (const BillCell* cell = row.cells->CellAt(field.slot))
      v = &cell->Get(BillCell::kValue);
    else
      v = row.cells->ForeignAt(field.slot);  // a plug-in's value in the cell's place
    if (!v || v->IsObject()) continue;
    if (v->IsNumber())
      total += vb::CDbl(*v);
    else if (v->IsString())
      total += vb::Val(v->AsString());
  }
  return total;
}

}  // namespace zov::sim
