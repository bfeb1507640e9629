// The sales bill's save and audit checks.
#include "bills/sale/bill_event_sale.h"

namespace zov::plugins {

void BillEvent_Sale::m_BillInterface_BeforeSave(bool&) {}
void BillEvent_Sale::m_BillInterface_BeforeDoAction(const Variant&, const Variant&, const Variant&,
                                                    const std::string&, const std::string&,
                                                    const std::string&, bool&) {}
void BillEvent_Sale::m_BillInterface_AfterDoAction2(const Variant&, const Variant&, const Variant&,
                                                    const std::string&, const std::string&,
                                                    const std::string&, long) {}
bool BillEvent_Sale::CheckAuditState(bool, bool) { return true; }
bool BillEvent_Sale::CheckSerialCompleteness(bool) { return true; }
void BillEvent_Sale::checkBillSNErr(const Variant&, Variant& result) { result = false; }
void BillEvent_Sale::checkXSDBillSNErr(long, Variant& result) { result = false; }
void BillEvent_Sale::checkXSDBillBatchNoErr(long, Variant& result) { result = false; }

}  // namespace zov::plugins
