// The line-breaking walk over one line at random widths and options: the
// rows join back to the line, every row but the last ends with rkWrap and
// holds at least one byte, no row starts on the trail byte of a double-byte
// character, the rows stay within the widths the rules allow, and WrapCount
// counts as many rows as WrapText makes.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/text/column_map.h"
#include "editor/text/dbcs.h"
#include "editor/text/screen_strings.h"
#include "editor/text/wrap_option.h"
#include "fuzz/fuzz_support.h"
#include "tests/editor/text/test_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  editor::TEditorScreenStrings list;
  editor::testing::TestClient client(&list);
  list.AddClient(&client);
  client.columns.TabWidth = 1 + in.Below(16);
  editor::TEditorWrapOption& options = list.WrapOption();
  options.SetWrapByte(in.Byte());  // clamped to 20..250
  options.SetFollowRetMark(in.Bool());
  options.SetFollowPunctuation(in.Bool());
  options.SetLeading(in.Bool());
  options.SetWordBreak(in.Bool());
  list.SetWordWrap(true);
  // One logical line: the walk never sees a line break.
  std::string line = in.Rest();
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });

  editor::TEditorStringList rows;
  list.WrapText(line, rows);
  const int count = rows.GetCount();
  FUZZ_CHECK(count >= 1);
  FUZZ_CHECK(list.WrapCount(line) == count);

  const int wrap = options.WrapByte();
  const editor::TColumnMapSettings columns = list.ColumnMapSettings();
  const std::string map = editor::ColumnMap(line, columns);
  // A line narrower than the rows is one row.
  if (static_cast<int>(map.size()) < wrap) FUZZ_CHECK(count == 1);

  // The trail bytes of the line, found once by walking it from its start.
  std::vector<bool> trail(line.size() + 1, false);
  for (std::size_t b = 0; b < line.size(); ++b)
    if (editor::IsLeadByte(line[b])) trail[++b] = true;

  std::string joined;
  std::size_t column = 0;  // the row's first column in the line's map
  for (int r = 0; r < count; ++r) {
    const std::string_view row = rows.RowText(r);
    const std::size_t start = joined.size();
    FUZZ_CHECK(rows.EndKinds(r) == (r + 1 < count ? editor::rkWrap : editor::rkReturn));
    if (r + 1 < count) FUZZ_CHECK(!row.empty());
    if (start < line.size()) FUZZ_CHECK(!trail[start]);
    joined += row;
    // The row's columns in the line's map: its first column is never a
    // tab's filler or a character's second half.
    std::size_t end = column;
    std::size_t tab_column = 0;  // where the row's last tab stands
    bool ends_in_tab = false;    // (a tab after a lead byte is no tab)
    for (std::size_t b = start; b < joined.size();) {
      const auto lead = static_cast<unsigned char>(line[b]);
      ends_in_tab = false;
      if (editor::IsLeadByte(lead)) {
        end += 2;
        b += 2;
      } else if (line[b] == '\t') {
        tab_column = end;
        ends_in_tab = true;
        end += 1 + static_cast<std::size_t>(editor::TabFillerCount(static_cast<int>(end), columns));
        b += 1;
      } else {
        end += 1;
        b += 1;
      }
    }
    if (column < map.size())
      FUZZ_CHECK(map[column] != editor::kCellTabFiller && map[column] != editor::kCellTrail);
    // Hanging punctuation may pass the margin by up to four columns, and a
    // tab at the margin takes its fillers along; the rules step back no
    // further than a third of the row.
    const std::size_t in_line = end - column;
    const std::size_t counted = ends_in_tab ? tab_column + 1 - column : in_line;
    if (counted > static_cast<std::size_t>(wrap) + 4 ||
        (r + 1 < count && in_line < static_cast<std::size_t>(wrap / 3)))
      std::fprintf(stderr, "row %d of %d: columns %zu to %zu of the map %s\n", r, count, column,
                   end, map.c_str());
    FUZZ_CHECK(counted <= static_cast<std::size_t>(wrap) + 4);
    if (r + 1 < count) FUZZ_CHECK(in_line >= static_cast<std::size_t>(wrap / 3));
    column = end;
  }
  FUZZ_CHECK(joined == line);
  return 0;
}
