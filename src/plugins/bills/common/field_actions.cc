#include "bills/common/field_actions.h"

#include "bills/common/row_data.h"
#include "calc/prices.h"
#include "calc/quantities.h"
#include "frame/resume.h"
#include "zov/vb/convert.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

bool CancelsAmountAction(host::IBillInterface& bill, const Variant& fieldInfo) {
  const auto info = fieldInfo.ObjectAs<host::IDictionary>();
  if (!info) return false;
  const std::string fieldName = vb::CStr(info->Item("FFieldName"));
  const std::string key = vb::CStr(info->Item("FKey"));
  return (fieldName == "FAmount" || fieldName == "FInTaxAmount" || key == "FAmount" ||
          key == "FInTaxAmount") &&
         !ResumeOr<bool>(true, [&] { return bill.AmountCalcPrice(); });
}

bool CancelsBatchLockAction(const Variant& fieldInfo, const Variant& actionData,
                            std::string_view kind, std::string_view name,
                            std::string_view parameter) {
  const auto info = fieldInfo.ObjectAs<host::IDictionary>();
  if (!info) return false;
  const std::string key = vb::CStr(info->Item("FKey"));
  if (!((key == "FItemID" || key == "FItemID1") && (kind == "FAction" || kind == "FLoadAction") &&
        name == "LockField" &&
        (parameter == "ME.FTrack<>80,FBatchNo1=1,FBatchNo1=0" ||
         parameter == "ME.FTrack<>80,FBatchNo=1,FBatchNo=0" ||
         parameter == "ME.FBatchManager=0,FBatchNo=1,FBatchNo=0")))
    return false;
  const auto data = actionData.ObjectAs<host::IDictionary>();
  auto read = [&](const char* item) {
    const Variant v = data ? data->Item(item) : Variant{};
    return v.IsEmpty() || v.IsNull()   ? 0.0
           : vb::Val(vb::CStr(v)) != 0 ? vb::Val(vb::CStr(v))
                                       : (vb::UCase(vb::CStr(v)) == "TRUE" ? 1 : 0);
  };
  return read("FIsBatchNoManage") != 0 && read("FTrack") != 80;
}

void ApplyAfterCalculate(const SalesForm& form, const Variant& fieldInfo, std::string_view kind,
                         std::string_view name, std::string_view parameter, long row,
                         const SalesRowKeys& keys) {
  if (row < 1 || kind != "FAction" + keys.suffix || name != "Calculate") return;
  calc::ApplyTaxAfterCalculate(form.ctx, form.bill, row, kind, name, parameter, false, keys);
  const auto info = fieldInfo.ObjectAs<host::IDictionary>();
  const bool quantity = info && ResumeOr<std::string>({}, [&] {
                                  return vb::UCase(vb::CStr(info->Item("FKey")));
                                }) == vb::UCase(keys.showQty);
  if (!quantity) return;
  calc::ApplyShowQtyAction(form.ctx, form.bill, row, keys);
  UpdateComplexQtyText(form, row, keys, true);
}

}  // namespace zov::plugins::sales
