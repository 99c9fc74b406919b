#include "editor/colour/attribute_array.h"

#include <utility>

namespace editor {

TEditorAttributeArray::TEditorAttributeArray(std::string text, std::string map)
    : FAttrs(std::move(map)), FText(std::move(text)) {
  FAttrs.push_back(kCellEnd);
  FAttr = CodeAt(FPos);
}

void TEditorAttributeArray::NextCell() {
  if (FAttr == kCellEnd) return;
  ++FPos;
  FAttr = CodeAt(FPos);
  if (FAttr != kCellTabFiller) ++FTextPos;
}

void TEditorAttributeArray::PriorCell() {
  if (FPos <= 1) return;
  // Leaving a filler cell lands on another filler or on the tab itself, all
  // of which belong to the same tab byte; any other cell belongs to a byte of
  // its own, so leaving it steps the text position back. (Stepping back from
  // the first filler onto the tab must not leave the tab behind.)
  const char left = FAttr;
  --FPos;
  FAttr = CodeAt(FPos);
  if (left != kCellTabFiller) --FTextPos;
}

void TEditorAttributeArray::MoveToCell(int n) {
  while (FAttr != kCellEnd && FPos < n) NextCell();
  while (FPos > 1 && FPos > n) PriorCell();
}

std::string_view TEditorAttributeArray::TextBytes(int from, int count) const {
  if (from < 1) {
    count += from - 1;
    from = 1;
  }
  const auto start = static_cast<size_t>(from) - 1;
  if (count <= 0 || start >= FText.size()) return {};
  return std::string_view(FText).substr(start, static_cast<size_t>(count));
}

std::string_view TEditorAttributeArray::CellChar() const {
  switch (FAttr) {
    case kCellEnd:
      return {};
    case kCellLead:
      return TextBytes(FTextPos, 2);
    case kCellTrail:
      return TextBytes(FTextPos - 1, 2);
    default:
      return TextBytes(FTextPos, 1);
  }
}

std::string_view TEditorAttributeArray::NextCellChar() {
  const int pos = FPos;
  NextCell();
  const std::string_view result = CellChar();
  // Coming back from the end cell is no step back when there was no step.
  if (FPos != pos) PriorCell();
  return result;
}

}  // namespace editor
