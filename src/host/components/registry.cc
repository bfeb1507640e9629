// The host's components by ProgID.
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/convert.h"

namespace zov::sim {

const std::map<std::string, ComponentCreator, std::less<>>& HostComponents() {
  namespace p = host::progid;
  namespace c = components;
  static const std::map<std::string, ComponentCreator, std::less<>> table = {
      {p::kDictionary, c::NewDictionaryComponent},
      {p::kStringBuilder, c::NewStringBuilder},
      {p::kCacheFacade, c::NewCacheFacade},
      {p::kShareProps, c::NewShareProps},
      {p::kSecurityInfo, c::NewSecurityInfo},
      {p::kSystemProfile, c::NewSystemProfile},
      {p::kGLSystemProfile, c::NewGLSystemProfile},
      {p::kGLData, c::NewGLData},
      {p::kGLView, c::NewGLView},
      {p::kClassInfo, c::NewClassInfo},
      {p::kClassUpdate, c::NewClassUpdate},
      {p::kAppConnection, c::NewAppConnection},
      {p::kUserProfileInfo, c::NewUserProfileInfo},
      {p::kUserProfileUpdate, c::NewUserProfileUpdate},
      {p::kHelpTip, c::NewHelpTip},
      {p::kDispBuilder, c::NewDispBuilder},
      {p::kRelateBillLookUp, c::NewRelateBillLookUp},
      {p::kStockInfo, c::NewStockInfo},
      {p::kPublicSysInfo, c::NewPublicSysInfo},
      {p::kSerialNumMgr, c::NewSerialNumMgr},
      {p::kBatchNoRule, c::NewBatchNoRule},
      {p::kItemInfo, c::NewItemInfo},
      {p::kBarCodeUpdate, c::NewBarCodeUpdate},
      {p::kStockBillReader, c::NewStockBillReader},
      {p::kTempConsignUpdate, c::NewTempConsignUpdate},
      {p::kTempGJUpdate, c::NewTempGJUpdate},
      {p::kGJUpdate, c::NewGJUpdate},
      {p::kOrderUpdate, c::NewOrderUpdate},
      {p::kPurchaseOrder, c::NewPurchaseOrderLink},
      {p::kCXUpdate, c::NewCXUpdate},
      {p::kInvoiceManage, c::NewInvoiceManage},
      {p::kInvoiceManageServer, c::NewInvoiceManage},
      {p::kLogisticApplication, c::NewLogisticApplication},
      {p::kLogisticInfo, c::NewLogisticInfo},
      {p::kPriceMgr, c::NewPriceMgr},
  };
  return table;
}

long UserIdOf(std::string_view props) {
  const std::string text = components::PropsValue(props, "UserID");
  if (text.empty() || !vb::IsNumeric(Variant(text))) return 0;
  const double id = vb::Val(text);
  if (id < 1 || id > 2147483647.0) return 0;
  return static_cast<long>(id);
}

}  // namespace zov::sim
