#include "frame/bill_access.h"

#include <cmath>

#include "frame/resume.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"

namespace zov::plugins {

namespace {
double NumberOf(const vb::Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return 0;
  if (v.IsString()) return vb::Val(v.AsString());
  return vb::CDbl(v);
}
}  // namespace

double FieldNumber(IBillInterface& bill, std::string_view key, long row) {
  return NumberOf(bill.GetFieldValue(key, row));
}

std::string FieldText(IBillInterface& bill, std::string_view key, long row) {
  const vb::Variant v = bill.GetFieldValue(key, row);
  return v.IsEmpty() || v.IsNull() ? std::string{} : vb::CStr(v);
}

long FieldId(IBillInterface& bill, std::string_view key, long row) {
  const double id = NumberOf(bill.GetFieldValue(key, row, host::kFieldStored));
  return std::isfinite(id) && std::fabs(id) < 2147483647.0 ? static_cast<long>(id) : 0;
}

void MarkCell(IBillInterface& bill, std::string_view key, long row, bool modified) {
  if (auto cell = bill.GetDataFldbyKey(key, row)) cell->SetItem("FModify", modified ? 1 : 0);
}

void MarkAllCellsUnmodified(IBillInterface& bill) {
  Resume([&] {
    auto data = bill.Data();
    auto markCells = [](const Ref<host::IDictionary>& cells) {
      if (!cells) return;
      for (const auto& key : cells->Keys())
        if (auto cell = cells->Item(key).ObjectAs<host::IDictionary>()) cell->SetItem("FModify", 0);
    };
    markCells(data->Item("Page1").ObjectAs<host::IDictionary>());
    for (const char* page : {"Page2", "Page3"}) {
      auto rows = data->Item(page).ObjectAs<host::IDictionary>();
      if (!rows) continue;
      for (const auto& row : rows->Keys()) markCells(rows->Item(row).ObjectAs<host::IDictionary>());
    }
  });
}

bool ToolChecked(IBillInterface& bill, std::string_view key) {
  return ResumeOr<bool>(false, [&] {
    auto tool = bill.ToolBar()->Tools()->Find(key);
    return tool && tool->Checked();
  });
}

double ColumnSum(IBillInterface& bill, std::string_view key) {
  auto info = bill.GetFieldInfoByKey(key);
  return info ? bill.Sum(info) : 0.0;
}

long GridRows(IBillInterface& bill, long grid) {
  return ResumeOr<long>(0, [&] { return bill.BillEntrys(grid)->GridMaxDataRowNum(); });
}

bool IsCellLocked(IBillInterface& bill, std::string_view key, long row) {
  return ResumeOr<bool>(false, [&] {
    auto info = bill.GetFieldInfoByKey(key);
    return info && bill.BillCtl()->IsFieldLockRunTime(info, row);
  });
}

long CurBillId(IBillInterface& bill) {
  return ResumeOr<long>(0, [&] { return bill.CurBillID(); });
}

Ref<host::IDictionary> NewDictionary(PluginContext& ctx) {
  return ctx.host().CreateObject(host::progid::kDictionary).As<host::IDictionary>();
}

}  // namespace zov::plugins
