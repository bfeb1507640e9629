// What the audit of a stock bill changes in the rows it was made from: a sales order's rows
// delivered, a delivery's rows returned, a consignment bill's rows settled or returned. The
// un-audit takes the same quantities back.
#pragma once

#include <string>
#include <vector>

#include "bill/host_services.h"

namespace zov::sim {

// The statements that carry the rows of bill `billId` of class `classTypeId` into the follow-up
// quantities of their source rows (`sign` 1 for an audit, -1 for an un-audit). Quantities go over
// in the source row's unit (the row's base quantity over the source row's coefficient). Nothing
// for classes other than the sales bill (1030002) and the consignment bill (1030003).
std::vector<std::string> FollowUpStatements(HostServices& services, long classTypeId, long billId,
                                            int sign);

}  // namespace zov::sim
