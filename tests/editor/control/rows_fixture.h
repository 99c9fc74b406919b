// Screen rows laid out by hand, each with its end kind, so that tests of the
// control's row arithmetic can shape wrapped lines exactly as they need.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "editor/text/row_end_kind.h"
#include "editor/text/screen_strings.h"

namespace editor::testing {

struct RowSpec {
  std::string text;
  TRowEndKind kind = rkReturn;
};

inline std::unique_ptr<TEditorScreenStrings> MakeRows(std::initializer_list<RowSpec> given) {
  auto rows = std::make_unique<TEditorScreenStrings>();
  for (const RowSpec& row : given) {
    rows->AppendRow(row.text, 0);
    rows->SetEndKinds(rows->GetCount() - 1, row.kind);
  }
  return rows;
}

}  // namespace editor::testing
