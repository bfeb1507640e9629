// Stored bills as the server components see them: where a bill class keeps its heads, the state
// of one stored bill, and the later bills that were made from it.
#pragma once

#include <optional>
#include <string>

#include "components/component_support.h"

namespace zov::sim::components {

// Business status of a bill head (FStatus).
enum BillState : long { kUnaudited = 0, kAudited = 1, kClosed = 2 };

struct StoredBill {
  std::string table;  // the head table, as the host's bill classes name it
  long id = 0;
  long classTypeId = 0;
  long billTypeId = 0;
  long status = 0;
  std::string billNo;
};

// The head table of bill class `classTypeId`; "" when the host has no such class.
std::string HeadTableOf(SessionContext& ctx, std::string_view source, long classTypeId);
// `table` spelled as the host's bill classes spell it when it is the head table of one of
// them; "" otherwise (so that a name handed over never reaches SQL text unchecked).
std::string KnownHeadTable(SessionContext& ctx, std::string_view source, std::string_view table);
// The stored bill `id` of head table `table` (a known one); nullopt when there is none.
std::optional<StoredBill> LoadBill(SessionContext& ctx, std::string_view source,
                                   const std::string& table, long id);
// The number of a later bill that names bill `id` of class `classTypeId` as its source (its
// rows' FClassID_SRC / FID_SRC, a receipt's or a write-off's source, a logistics bill); "" when
// none does.
std::string FollowUpBillNo(SessionContext& ctx, std::string_view source, long classTypeId, long id);

// The bill a bill-information record names: its "HeadTableName" or its class
// ("ClassTypeID"/"FClassTypeID"), its ID ("BillInterID"/"FID") and number ("BillNo"/"FBillNo").
// nullopt when no such bill is stored; raises when the record names no bill at all.
std::optional<StoredBill> BillOfRecord(SessionContext& ctx, std::string_view source,
                                       std::string_view member, const Ref<IDictionary>& record);

}  // namespace zov::sim::components
