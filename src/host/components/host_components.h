// The creators of the host's business components, one per component class; HostComponents()
// maps the ProgIDs to them. Each returns a new object bound to the session.
#pragma once

#include "session/session_context.h"

namespace zov::sim::components {

using Creator = Ref<vb::IObject> (*)(SessionContext&);

// Infrastructure: dictionary, string builder, data access.
Ref<vb::IObject> NewDictionaryComponent(SessionContext& ctx);
Ref<vb::IObject> NewStringBuilder(SessionContext& ctx);
Ref<vb::IObject> NewClassInfo(SessionContext& ctx);
Ref<vb::IObject> NewClassUpdate(SessionContext& ctx);
Ref<vb::IObject> NewAppConnection(SessionContext& ctx);

// Login, rights and profiles.
Ref<vb::IObject> NewCacheFacade(SessionContext& ctx);
Ref<vb::IObject> NewShareProps(SessionContext& ctx);
Ref<vb::IObject> NewSecurityInfo(SessionContext& ctx);
Ref<vb::IObject> NewSystemProfile(SessionContext& ctx);
Ref<vb::IObject> NewGLSystemProfile(SessionContext& ctx);
Ref<vb::IObject> NewGLData(SessionContext& ctx);
Ref<vb::IObject> NewUserProfileInfo(SessionContext& ctx);
Ref<vb::IObject> NewUserProfileUpdate(SessionContext& ctx);

// Windows.
Ref<vb::IObject> NewGLView(SessionContext& ctx);
Ref<vb::IObject> NewHelpTip(SessionContext& ctx);
Ref<vb::IObject> NewDispBuilder(SessionContext& ctx);
Ref<vb::IObject> NewRelateBillLookUp(SessionContext& ctx);
Ref<vb::IObject> NewPriceMgr(SessionContext& ctx);

// Stock, credit, items, batches, serial numbers and costs.
Ref<vb::IObject> NewStockInfo(SessionContext& ctx);
Ref<vb::IObject> NewPublicSysInfo(SessionContext& ctx);
Ref<vb::IObject> NewSerialNumMgr(SessionContext& ctx);
Ref<vb::IObject> NewBatchNoRule(SessionContext& ctx);
Ref<vb::IObject> NewItemInfo(SessionContext& ctx);
Ref<vb::IObject> NewBarCodeUpdate(SessionContext& ctx);
Ref<vb::IObject> NewStockBillReader(SessionContext& ctx);

// Server components of the bills.
Ref<vb::IObject> NewTempConsignUpdate(SessionContext& ctx);
Ref<vb::IObject> NewTempGJUpdate(SessionContext& ctx);
Ref<vb::IObject> NewGJUpdate(SessionContext& ctx);
Ref<vb::IObject> NewOrderUpdate(SessionContext& ctx);
Ref<vb::IObject> NewPurchaseOrderLink(SessionContext& ctx);
Ref<vb::IObject> NewCXUpdate(SessionContext& ctx);
Ref<vb::IObject> NewInvoiceManage(SessionContext& ctx);
Ref<vb::IObject> NewLogisticApplication(SessionContext& ctx);
Ref<vb::IObject> NewLogisticInfo(SessionContext& ctx);

}  // namespace zov::sim::components
