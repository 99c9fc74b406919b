// What the colouring lexer reads of the control it colours for: the view
// settings (which rules apply, the bracket regions) and the reserved words.
// The control implements it; anything else that offers the two can drive a
// lexer, tests and benchmarks among them.
#pragma once

#include "editor/colour/view_info.h"
#include "platform/string_list.h"

namespace editor {

class TEditorParserOwner {
 public:
  virtual const TEditorViewInfo& View() const = 0;
  // Sorted, without duplicates; looked up with the user's case-ignoring collation.
  virtual const platform::TStringList& ReserveWordList() const = 0;

 protected:
  ~TEditorParserOwner() = default;
};

}  // namespace editor
