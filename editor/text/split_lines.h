// Cutting a text into the items of a string list, by the line rules of
// platform/line_breaks.h.
#pragma once

#include <string_view>

#include "platform/line_breaks.h"
#include "platform/string_list.h"

namespace editor {

using platform::FindLineBreak;
using platform::ForEachLine;

// The number of list items SplitLines adds before storing any line: the LF
// count, less one when the text ends with LF, plus one. Never more than the
// number of lines, since lone CRs only add lines.
int PresizedLineCount(std::string_view text);

// Replaces the items of `list` by the lines of `text`, inside one update of
// the list. The list is sized once before the lines are stored.
void SplitLines(std::string_view text, platform::TStrings& list);

}  // namespace editor
