// Keys looked up the way a Text compare matches them.
#pragma once

#include <string>
#include <string_view>

namespace zov::vb {

// The text as a Text compare sees it (full-width forms as ASCII, case folded): two texts that
// StrComp finds equal under CompareMethod::Text have the same folded text.
std::string FoldText(std::string_view s);

}  // namespace zov::vb
