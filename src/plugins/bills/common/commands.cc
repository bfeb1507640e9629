#include "bills/common/commands.h"

#include <vector>

#include "frame/bill_access.h"
#include "frame/menu.h"
#include "frame/resume.h"
#include "inventory/serials.h"
#include "services/database.h"
#include "services/login.h"
#include "services/messages.h"
#include "services/profile.h"
#include "zov/vb/convert.h"
#include "zov/vb/format.h"
#include "zov/vb/strings.h"

namespace zov::plugins::sales {

void AddSaleRelateTools(const Ref<host::IActiveBar>& bar) {
  // The first before the host's voucher tool, each next after the one it follows.
  const MenuTool relate[] = {
      {"mnuQueryPayIn", "查询收款记录", "mnuRelate", "", "mnuRelateViewVoucher", "", 0, ""},
      {"mnuQuerySaleReject", "查询退货记录", "mnuRelate", "mnuQueryPayIn", "", "", 0, ""},
      {"mnuQuerySale", "查询发货记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryConsign", "查询委托代销记录", "mnuRelate", "mnuQuerySale", "", "", 0, ""},
      {"mnuQueryConsignReject", "查询委托结算记录", "mnuRelate", "mnuQueryConsign", "", "", 0, ""},
      {"mnuQueryConsignBal", "查询委托结算退货记录", "mnuRelate", "mnuQueryConsignReject", "", "",
       0, ""},
      {"mnuQuerySaleOrder", "查询销售订单记录", "mnuRelate", "mnuQuerySaleReject", "", "", 0, ""},
      {"mnuQueryGH", "查询采购单记录", "mnuRelate", "mnuQuerySaleOrder", "", "", 0, ""},
      {"mnuRelatePushBill_2000001", "生成物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuQueryLogisticList", "查询物流单", "mnuRelate", "mnuRelateViewList", "", "", 0, ""},
      {"mnuRelatePushBill_3000001", "生成发票", "mnuRelate", "mnuRelatePushBill_1050001", "", "", 0,
       ""},
  };
  for (const auto& tool : relate) AddTool(bar, tool);
  AddSeparator(bar, "mnuRelate", "mnuQueryConsignBal");
  AddSeparator(bar, "mnuRelate", "mnuRelateViewList");
  AddTool(bar, {"mnuReject", "驳回", "mnuEdit", "", "mnuEditCheck", "", 0, ""});
}

void RefuseUsedSerialRowDelete(PluginContext& ctx, host::IBillInterface& bill, long row,
                               bool& cancel, const SalesRowKeys& keys) {
  if (!inventory::RowHasUsedSerials(bill, row, keys.serialNo)) return;
  cancel = true;
  services::ShowMessage(ctx, "分录商品中存在已被其他单据使用的S/N号，不能删除！");
}

void DropEmptyLastRow(host::IBillInterface& bill, const SalesRowKeys& keys) {
  Resume([&] {
    auto rows =
        bill.Data()->Item("Page" + std::to_string(keys.grid + 1)).ObjectAs<host::IDictionary>();
    const long last = rows ? rows->Count() : 0;
    if (last > 1 && FieldId(bill, keys.item, last) == 0) rows->Remove(last);
  });
}

bool RejectWithNote(PluginContext& ctx, host::IBillInterface& bill) {
  std::string note = FieldText(bill, "FRejectedNote");
  if (!services::AskRejectNote(ctx, note) || vb::Trim(note).empty()) return false;
  Resume([&] { bill.SetFieldValue("FRejectedNote", note, -1); });
  Resume([&] {
    bill.SetFieldValue("FRejectedTime", vb::Format(ctx.host().Now(), "yyyy-MM-dd hh:mm:ss"), -1);
  });
  Resume([&] { bill.SetFieldValue("FRejected", "1", -1); });
  Resume([&] { bill.SaveBill(); });
  return true;
}

void ClearRejectionAfterChange(host::IBillInterface& bill, std::string_view changedKey) {
  const std::string key = vb::UCase(changedKey);
  if (key == "FREJECTEDNOTE" || key == "FREJECTEDTIME" || key == "FREJECTED") return;
  Resume([&] { bill.SetFieldValue("FRejectedNote", "", -1); });
  Resume([&] { bill.SetFieldValue("FRejectedTime", "", -1); });
  Resume([&] { bill.SetFieldValue("FRejected", "0", -1); });
}

void RefuseRejectedDelete(PluginContext& ctx, host::IBillInterface& bill, bool& cancel) {
  if (FieldNumber(bill, "FRejected") != 1) return;
  services::ShowMessage(ctx, "不能删除驳回状态的单据！");
  cancel = true;
}

bool RefuseSelectedBills(PluginContext& ctx, host::IListInterface& list, const SalesClass& cls,
                         std::string_view column, long value, std::string_view message,
                         bool& cancel) {
  for (long id : ResumeOr<std::vector<long>>({}, [&] { return list.SelectedBillIDs(); })) {
    const std::string stored = services::FirstValue(
        ctx, "Select " + std::string(column) + " From " + std::string(cls.headTable) +
                 " Where FClassTypeID=" + std::to_string(cls.classTypeId) +
                 " And FID=" + std::to_string(id));
    if (vb::Val(stored) != value) continue;
    services::ShowMessage(ctx, message);
    cancel = true;
    return false;
  }
  return true;
}

void RefuseExpressPrintWithoutRight(PluginContext& ctx, bool& cancel) {
  if (services::AccessCheck(ctx, services::PropsString(ctx), 12, 200, 64, "ZOVMain.MDIMain"))
    return;
  services::ShowMessage(ctx, "您没有打印权限。");
  cancel = true;
}

void ApplyFixedTools(host::IBillInterface& bill, bool copyEnabled) {
  const auto bar = [&](const char* tool, const char* property, bool value) {
    Resume([&] { bill.SetBarStatus(tool, property, value); });
  };
  bar("mnuRelateViewVoucher", "Enabled", false);
  bar("mnuEditFileSave", "Visible", true);
  bar("mnuEditFileSave", "Enabled", true);
  bar("mnuEditClose", "Visible", false);
  bar("mnuEditUnClose", "Visible", false);
  bar("mnuEditCopy", "Visible", true);
  bar("mnuEditCopy", "Enabled", copyEnabled);
}

void ResetMergedCopy(const Variant& data, std::string_view kind) {
  Resume([&] {
    auto pages = data.ObjectAs<host::IDictionary>();
    auto head = pages->Item("Page1").ObjectAs<host::IDictionary>();
    auto map = pages->Item("Map").ObjectAs<host::IDictionary>();
    auto write = [&](const char* key, std::string_view value) {
      std::string internal = key;
      if (map)
        if (auto entry = map->Item(key).ObjectAs<host::IDictionary>())
          internal = vb::CStr(entry->Item("FFieldName"));
      if (auto cell = head->Item(internal).ObjectAs<host::IDictionary>())
        cell->SetItem("FFLD", std::string(value));
    };
    write("FStatus", "0");
    write("FBillTypeID", kind);
  });
}

}  // namespace zov::plugins::sales
