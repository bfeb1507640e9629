// What a sales-family bill takes from its customer: the balance and credit text of the status
// bar, the salesman and department, address, phone and contact, the settlement date by the payment
// term, and, after a save, the bill's contact written back to the customer's contacts.
#pragma once

#include "bills/common/row_data.h"
#include "bills/common/sales_form.h"
#include "bills/common/sales_keys.h"

namespace zov::plugins::sales {

// Status panel 3: "往来余额" + balance + ",信用额度" + credit limit of the header FCustID, with the
// customer-balance right (40/100/1024, asked in the class's name); zeros while the opening stage
// is open; cleared without a customer or without the right.
void ShowCustomerCredit(const SalesForm& form);

// FEmpID := the customer's default operator and FDeptID := that employee's department, when the
// customer has one; a supplier's from `partnerTable` "t_Supplier".
void FillSalesman(const SalesForm& form, long customer,
                  std::string_view partnerTable = "t_Organization");

// FDeptID := the department of the header FEmpID. An employee cleared, or one without department,
// leaves the department as it is.
void FillEmployeeDepartment(const SalesForm& form);

// After a customer change, unless the industry type is 1: every row with an item is priced again
// for the customer (not when `keepPrices`, the user's option "DoNotResetPrice") and gets the
// customer's item code.
void ApplyCustomerPrices(const SalesForm& form, const SalesRowKeys& keys,
                         const PriceLookup& pricing, bool keepPrices);

// How much of the customer's contact data a class takes (on a customer change).
enum class ContactFill {
  kAddress,          // FAddress from the customer's FDeliverAddr
  kAddressAndPhone,  // the same, and FPhone from the company phone, phone or mobile
  kFirstContact,     // the same, then FContact, FReceiveAddr and the phone of the first contact
};
void FillCustomerContact(const SalesForm& form, long customer, ContactFill fill);

// FSettleLimitDate from the header customer's payment term and FDate: a term of days adds them,
// a monthly term gives the pay day of the month reached after the days before it (cut to the
// month's length); another term, no customer or no date leave the field as it is.
void CalcSettleLimitDate(const SalesForm& form);

// After a save, with "UpdateRelaxAddrInSale" on and a contact on the bill: the contact (with the
// bill's FReceiveAddr and FPhone) goes to the customer's contacts; a new one becomes the first
// when the customer has none. Several contacts of that name refuse with their message and the
// "保存成功！" tip. Never undoes the save.
void WriteBackContact(const SalesForm& form);

}  // namespace zov::plugins::sales
