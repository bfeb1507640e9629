// The sales order when it is created, loaded or copied, when a row is filled by an import, and
// after it was saved.
#include "bills/common/customer.h"
#include "bills/common/row_data.h"
#include "bills/order/bill_event_order.h"
#include "calc/locks.h"
#include "calc/prices.h"
#include "frame/bill_access.h"
#include "frame/resume.h"
#include "services/profile.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::plugins {

namespace {

const sales::SalesRowKeys& Keys() { return sales::FirstGrid(); }

}  // namespace

void BillEvent_Order::m_BillInterface_AfterNewBill() {
  auto& bill = *m_BillInterface;
  Resume([&] { bill.SetStatusText(3, ""); });
  MarkAllCellsUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
  // A new order shows the tools of its state as a loaded one does.
  ApplyOrderToolStates();
  ApplyOrderLayout();
}

void BillEvent_Order::m_BillInterface_AfterLoadBill() {
  auto& bill = *m_BillInterface;
  sales::ShowCustomerCredit(Form());
  ApplyOrderToolStates();
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), bill);
  MarkAllCellsUnmodified(bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
  ApplyOrderLayout();
  if (FieldNumber(bill, "FRejected") == 1) ApplyRejectedTools();
  CompleteComplexQtyTexts();
}

void BillEvent_Order::m_BillInterface_AfterCopyBill() {
  auto& bill = *m_BillInterface;
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
    if (FieldId(bill, "FItemID", row) > 0) RefreshRowAvailability(row, false);
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), bill);
  calc::ApplyPriceAndTaxRights(context(), bill);
  // The copy is a new order: the tools of the order it was copied from go with it.
  ApplyOrderToolStates();
  ApplyOrderLayout();
  // The deposit was the other order's.
  Resume([&] { bill.SetFieldValue("FXSDeposit", "", -1); });
}

void BillEvent_Order::m_BillInterface_AfterFillRow(long row, const Variant&, const Variant&,
                                                   const Variant&) {
  sales::CompleteFilledRow(Form(), row, Keys());
  if (services::IndustryType(context()) == 1) calc::ApplyRowLocks(context(), *m_BillInterface);
  sales::ContinueGridImport(*m_BillInterface);
}

void BillEvent_Order::m_BillInterface_AfterSave(const Variant&) {
  auto& bill = *m_BillInterface;
  // 1. What of the order is not yet on a purchase order.
  Resume([&] {
    long id = CurBillId(bill);
    context()
        .host()
        .CreateObject(host::progid::kPurchaseOrder)
        .As<host::IPurchaseOrderLink>()
        ->updateXSOrderFUnLinkCGQty(id);
  });
  // 2. The contact of the order goes back to the customer's contacts.
  sales::WriteBackContact(Form());
  // 3. The host shows the order as stored.
  Resume([&] { bill.Refresh(); });
}

void BillEvent_Order::CompleteComplexQtyTexts() {
  auto& bill = *m_BillInterface;
  const auto form = Form();
  sales::ComplexQtyTexts texts(form);
  for (long row = 1, rows = GridRows(bill); row <= rows; ++row)
    if (vb::Trim(FieldText(bill, "FComplexQtyDis", row)).empty()) texts.Complete(row, Keys());
  texts.Store();
}

}  // namespace zov::plugins
