// What the shared routines of the sales-family bills work on: a form of one of the classes (the
// sales bill and its second type, the sales order, the consignment bill, the opening-balance bills,
// the special-price bill) with what sets the class apart in those routines. Every routine of
// bills/common is a free routine over a SalesForm and, where it acts on a row, the row's keys; each
// runs step by step with errors ignored, as the classes' handlers do, and never raises.
//
// The layer, by concern:
//   sales_keys.h        the row keys of the first grid and of the "01" grid
//   customer.h          credit text, salesman, contact, settlement date, contact write-back
//   row_data.h          row price, cost, default unit, tax rate, batch rule and dates, stock text
//   row_changes.h       the row branches of the field changes (item, unit, quantities, amounts, and
//                       the amount tails of the sales order and the consignment bill)
//   records.h           the head and row records of the host's check components
//   controls.h          price-limit/credit/overdue, stock, source-row and audit checks (the audit
//                       check from a form or a list of the order and the consignment bill)
//   field_actions.h     the guards on the host's field actions, and what follows their calculation
//   commands.h          relate tools, serial-row delete refusal, empty last row, rejection and its
//                       end, rejected-bill delete refusal, list guards, merged copy
//   related.h           the related-records windows and their parts (title items, entry columns)
//   invoice.h           the electronic invoice
//   rule_tables.h       the change and the click as handlers see them, key -> handler tables and
//                       ordered check lists
//   sales_bill_class.h  the frame of the sales bill and its second type
#pragma once

#include <string>
#include <string_view>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"

namespace zov::plugins::sales {

// What sets a sales-family class apart in the shared routines.
struct SalesClass {
  long classTypeId = 0;        // the bill class (FID): 1030002
  std::string_view progId;     // the caller named in rights checks: "ZOV_XS_PlugIns.BillEvent_Sale"
  std::string_view headTable;  // "t_CC_StockBill"
  std::string_view entryTable;  // "t_CC_StockBillEntry"
  // The rows carry their own stock and batch (FSCStockID, FBatchNo), which the price look-up and
  // the stock text take; the sales order's rows have none.
  bool stockRows = true;
  // Where both grids share the entry table: the condition on its rows that keeps the first
  // grid's ("FGrid=1"); "" when the table holds the first grid alone.
  std::string_view firstGridRows = "";
};

// " And " + `alias` + "." + the class's first-grid condition, or "" when the entry table holds the
// first grid alone.
std::string FirstGridRows(const SalesClass& cls, std::string_view alias);

// A bill form of a sales-family class.
struct SalesForm {
  PluginContext& ctx;
  host::IBillInterface& bill;
  const SalesClass& cls;
};

// The end of a failing check: shows `message` (information icon, "信息提示"), puts the cursor on
// `key` of `row` when a key is given, and returns false.
bool Refuse(PluginContext& ctx, host::IBillInterface& bill, std::string_view message,
            std::string_view key = "", long row = -1);

}  // namespace zov::plugins::sales
