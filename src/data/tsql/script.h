// Scripts: batches separated by lines that hold only GO, as the SQL Server tools send them.
#pragma once

#include <string_view>
#include <vector>

namespace zov::data::tsql {

// The batches of `script` in order, without the GO lines and without empty batches. A GO inside
// a string or a comment is text; "GO n" (repeat count) raises SqlError.
std::vector<std::string_view> SplitBatches(std::string_view script);

}  // namespace zov::data::tsql
