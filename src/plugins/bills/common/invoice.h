// The electronic invoice of sales bills (the host's "ZOVInvoiceManage.InvoiceManage"): the
// invoice data set of one saved bill, or of the bills selected in a list, each checked first.
#pragma once

#include <string_view>
#include <vector>

#include "bills/common/sales_form.h"
#include "zov/host/list.h"

namespace zov::plugins::sales {

// The refusals about the buyer, in a class's words.
struct InvoiceTexts {
  std::string_view noCustomer;   // the customer record is missing
  std::string_view noTaxNumber;  // the customer has no tax number
};
inline constexpr InvoiceTexts kInvoiceTexts{"客户资料不存在，请先补充客户相关资料！",
                                            "客户纳税登记号为空，请先补充客户相关税务资料！"};

// The buyer's part of an invoice data set for `customer`; false (after its message) when the
// customer or its tax number is missing.
bool AddBuyer(PluginContext& ctx, const Ref<host::IDictionary>& invoice, long customer,
              const InvoiceTexts& texts);
// The seller's part from the user profile ("Base", "TZESale..."); false (after `missingMessage`)
// when any of it is missing.
bool AddSeller(PluginContext& ctx, const Ref<host::IDictionary>& invoice,
               std::string_view missingMessage);

// The invoice data set of saved bill `billId`: buyer, seller and the rows with what is still to
// invoice; empty (after its message) when a check refuses or every row is invoiced.
Ref<host::IDictionary> GetSaleBillMakeTzeInvoiceDict(const SalesForm& form, long billId,
                                                     const InvoiceTexts& texts);

// The electronic invoice of the bills `ids` selected in `listForm`, checked in their fixed order;
// the plug-in makes the invoice itself, so `cancel` is set.
void MakeListInvoice(PluginContext& ctx, host::IListInterface& listForm, const SalesClass& cls,
                     const std::vector<long>& ids, bool& cancel);

}  // namespace zov::plugins::sales
