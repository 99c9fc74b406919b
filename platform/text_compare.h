// Comparison of CP932 names as users expect them ordered: the user locale's
// collation with letter case ignored. Reserved words and file lists use it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Negative, zero or positive, like the platform's locale-aware compare with
// case ignored. Follows the user locale of the moment.
int AnsiCompareText(std::string_view a, std::string_view b);

// True when the two texts are equal with case ignored.
bool AnsiSameText(std::string_view a, std::string_view b);

// A byte string whose plain byte order is the order of AnsiCompareText, so
// that a long list is sorted by computing each key once.
std::string AnsiCompareTextKey(std::string_view text);

}  // namespace platform
