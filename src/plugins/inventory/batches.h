// Batch numbers of bill rows: the look-ups of a batch in the opening balances, the stock and the
// bills, the check of a row against the batch the stock holds, the agreement of rows of one batch
// inside a bill, and the refusal of expired goods.
//
// A batch number is appended to the statements as a literal with every "'" doubled, so a batch
// such as LOT'A1 is found and cannot change the meaning of a statement.
#pragma once

#include <string>

#include "frame/plugin_context.h"
#include "zov/host/bill.h"
#include "zov/host/recordset.h"

namespace zov::plugins::inventory {

// Which records a batch look-up reads.
struct BatchSources {
  // The stock balance with every bill that moved the batch (while the opening stage is open and
  // `documents` is set too: the opening balances with every audited bill).
  bool stockBalance = false;
  // The opening balances and the rows of stock, assembly and component bills.
  bool documents = false;
  // The same records as `documents`, in the statement's second form.
  bool secondForm = false;
};

// The records of batch `batchNo` of the item: columns FBatchNO, FAuxPropID (0 when none),
// FAuxProp (the attribute number), FKFDate, FKFPeriod (0 when none), FPeriodDate, FNumber.
// Rows of bill `billId` are left out (0 leaves out nothing; the stock-balance look-up always
// appends the condition). `stockId` narrows the stock-balance look-up to one stock (0: all).
// Empty on any failure, or when no source is chosen.
Ref<host::IRecordset> BuildBatchQuery(PluginContext& ctx, long itemId, std::string_view batchNo,
                                      long stockId, const BatchSources& sources, long billId);
// The batches of the item in stock `stockId`, with the same columns and the same choice of
// sources; narrowed to `batchNo` when it is not empty.
Ref<host::IRecordset> BuildStockBatchQuery(PluginContext& ctx, long itemId,
                                           std::string_view batchNo, long stockId,
                                           const BatchSources& sources, long billId);

// Whether auxiliary attributes take part in a batch comparison. Undecided is settled by the
// item's tracking method: batches are kept per attribute only under method 0.
enum class AuxCompare { Undecided, Compare, Ignore };

// A batch as a bill row names it. Dates are the cells' values (a date, a date text or empty).
struct RowBatch {
  long itemId = 0;
  std::string batchNo;
  long auxPropId = 0;
  Variant kfDate;
  Variant periodDate;
  long kfPeriod = 0;
  long stockId = 0;  // the look-up reads this stock's batches alone; 0 every stock
};

// The batch as the stock holds it.
struct StockBatch {
  long auxPropId = 0;
  std::string auxNumber;
  Variant kfDate;      // a date, or Null
  Variant periodDate;  // a date, or Null
  long kfPeriod = 0;
};

enum class BatchError { None, NotFound, Differs };

// Checks the row's batch against the first record the look-up finds over every stock (the row's
// `stockId` alone when it names one). When
// `aux` comes in Undecided it is settled from the item's tracking method. With attributes
// compared (Compare and tracking method 0) the records are narrowed to the row's attribute while
// the opening stage is open and `sources.documents` is set (back to all records when none is
// left), and the attribute is compared as well. Production date, expiry date (as "YYYY-MM-DD",
// empty and Null as "1900-01-01") and shelf life must agree. True when they do; otherwise
// `error` tells why. `stock` receives the record's values either way; `auxCompared` whether
// attributes were compared.
bool CheckBatchInStock(PluginContext& ctx, const RowBatch& row, const BatchSources& sources,
                       long billId, AuxCompare& aux, StockBatch& stock, BatchError& error,
                       bool& auxCompared);

// The message of a failed stock check of `row`.
std::string BatchInStockMessage(long row, std::string_view batchNo, BatchError error,
                                bool auxCompared);

// The cells of a grid's row that name its batch: the first grid's, or the "01" cells of the
// second grid of the second sales bill type.
struct BatchRowKeys {
  long grid;
  std::string_view item, batchNo, auxProp, kfDate, periodDate, kfPeriod;
};
inline constexpr BatchRowKeys kPlainBatchRow{1,         "FItemID",     "FBatchNo", "FAuxPropID",
                                             "FKFDate", "FPeriodDate", "FKFPeriod"};
inline constexpr BatchRowKeys kPlainBatchRow01{
    2, "FItemID01", "FBatchNo01", "FAuxPropID01", "FKFDate01", "FPeriodDate01", "FKFPeriod01"};

// The stock check of one row as the save checks run it: a row without batch passes; a batch the
// system does not know is cleared, one that differs from the stock gets the stock's attribute,
// dates and shelf life in every cell not locked; either shows its message with the cursor on the
// batch. False when the row failed.
bool CheckRowBatchInStock(PluginContext& ctx, host::IBillInterface& bill, long row,
                          const BatchSources& sources, long billId, AuxCompare& aux,
                          const BatchRowKeys& keys = kPlainBatchRow);

// The same against the batch as stock `stockId` holds it, where a batch the stock does not hold
// passes (a bill that brings goods into the stock); a difference puts the cursor on `cursorKey`,
// and its message names the attribute only when the attribute differs as well.
bool CheckRowBatchInStockOf(PluginContext& ctx, host::IBillInterface& bill, long row, long stockId,
                            const BatchSources& sources, long billId, AuxCompare& aux,
                            std::string_view cursorKey, const BatchRowKeys& keys = kPlainBatchRow);

// True when two rows of the keys' grid name the same item and batch with different production
// dates, expiry dates or shelf lives (or attributes, when compared: Compare, or Undecided for
// items of tracking method 0, and the item's tracking method 0). `firstRow` receives the later
// row of the first such pair.
bool CheckBatchConsistency(PluginContext& ctx, host::IBillInterface& bill, AuxCompare aux,
                           long* firstRow = nullptr, const BatchRowKeys& keys = kPlainBatchRow);
// The message of a failed consistency check; the sales bills show it without the final "。".
std::string BatchConsistencyMessage(bool auxCompared, bool fullStop = true);

// Expired goods: with "IsPeriodDateExpireNotSale" on, a consignment bill (kind 3010) refuses a
// shelf-life managed row whose expiry date lies before `referenceDate` ("YYYY-MM-DD"; "" the bill
// date). False with the message when the row is refused.
bool CheckRowExpiry(PluginContext& ctx, host::IBillInterface& bill, long row,
                    std::string_view referenceDate, std::string& message);

}  // namespace zov::plugins::inventory
