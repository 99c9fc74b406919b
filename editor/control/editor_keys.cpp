// Keyboard input: the navigation keys with Shift for selecting, Delete, the
// typed characters (BackSpace, Tab, Return, single-byte text) and the
// input method's results, through which every double-byte character comes.
#include <algorithm>
#include <string>

#include "editor/control/editor.h"
#include "editor/control/editor_popup_menu.h"
#include "editor/text/dbcs.h"
#include "platform/control/virtual_keys.h"

namespace editor {

using platform::TMessage;

namespace {

char CodeAt(const std::string& map, int col) {
  return col >= 0 && col < static_cast<int>(map.size()) ? map[col] : kCellEnd;
}

bool IsNavigationKey(int key) {
  return key >= platform::VK_PRIOR && key <= platform::VK_DOWN;
}

// Printable single-byte characters: ASCII and the half-width katakana block.
bool IsTypedByte(unsigned code) {
  return (code >= 32 && code <= 126) || (code >= 161 && code <= 223);
}

// Both hiding counters held while rows come and go under the caret.
class TCaretAndUnderlineHidden {
 public:
  explicit TCaretAndUnderlineHidden(TEditor& editor) : caret_(editor), underline_(editor) {}

 private:
  // Ended in reverse order: the underline first, then the caret.
  TEditor::TCaretHideGuard caret_;
  TEditor::TUnderlineHideGuard underline_;
};

}  // namespace

// ----------------------------------------------------------------- messages

void TEditor::WMKeyDown(TMessage& message) {
  TCustomControl::Dispatch(message);
  const int key = static_cast<int>(message.WParam);
  if (key == 0) return;  // an OnKeyDown handler took it
  FKeyRepeating = (message.LParam & platform::KF_REPEAT) != 0;
  const bool shift = GetKeyState(platform::VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(platform::VK_CONTROL) < 0;
  const bool alt = GetKeyState(platform::VK_MENU) < 0;
  // The context menu's shortcuts (undo, redo, the clipboard, box mode).
  if ((ctrl || alt) && PopupMenu().IsShortCut(key, shift, ctrl, alt)) {
    message.Result = 0;
    return;
  }
  if (IsNavigationKey(key)) {
    if (shift) {
      if (!Selected()) StartSelection();
    } else if (Selected()) {
      ClearSelection();
    }
    MoveCaretByKey(key, ctrl);
    if (shift) UpdateSelection();
    message.Result = 0;
    return;
  }
  if (key == platform::VK_DELETE && !FReadOnly) {
    if (Selected())
      DeleteSelection();
    else
      DeleteCharAtCaret();
    message.Result = 0;
  }
}

void TEditor::WMKeyUp(TMessage& message) {
  TCustomControl::Dispatch(message);
  FKeyRepeating = false;
  // Scrolling while a key repeated left the composition window behind.
  if (FCaretMovePending) UpdateImeWindow();
  message.Result = 0;
}

void TEditor::WMChar(TMessage& message) {
  TCustomControl::Dispatch(message);
  const auto code = static_cast<unsigned>(message.WParam & 0xFF);
  if (code == 0 || FReadOnly) return;
  switch (code) {
    case 8:
      DeleteCharBeforeCaret();
      break;
    case 9:
      if (GetKeyState(platform::VK_SHIFT) >= 0 && GetKeyState(platform::VK_CONTROL) >= 0 &&
          FWantTabs)
        TabAtCaret();
      break;
    case 13:
      BreakLineAtCaret();
      break;
    default:
      if (!IsTypedByte(code)) return;
      if (FCaretMovePending) UpdateImeWindow();
      InsertText(std::string(1, static_cast<char>(code)));
      break;
  }
  message.Result = 0;
}

void TEditor::WMImeComposition(TMessage& message) {
  TCustomControl::Dispatch(message);
  if (!HandleAllocated()) return;
  if (message.LParam & platform::GCS_COMPSTR) KeepCompositionInView();
  if (FReadOnly || !(message.LParam & platform::GCS_RESULTSTR)) return;
  const std::string result = ImeResultString();
  if (!result.empty()) InsertText(result);
}

void TEditor::KeepCompositionInView() {
  // The composition is drawn from the caret's cell on, the rest of the row
  // pushed right; its end, with room for its cursor, should show.
  if (FVisibleCols <= 0) return;
  const int end = FCol + ImePreeditCells();
  const int cursor = FCol + ImePreeditCursorCells();
  int top = FTopCol;
  if (end >= top + FVisibleCols) {
    // At least a quarter of the view at a time, as the caret scrolls.
    top = std::max(end - FVisibleCols + 1, top + FVisibleCols / 4);
  }
  // A composition wider than the view shows its cursor's part.
  if (cursor < top) top = cursor;
  if (cursor >= top + FVisibleCols) top = cursor - FVisibleCols + 1;
  if (top != FTopCol) SetTopCol(top);
}

// ------------------------------------------------------------------ the caret

void TEditor::MoveCaretByKey(int key, bool ctrl) {
  switch (key) {
    case platform::VK_PRIOR:
      PageScroll(1 - FVisibleRows);
      break;
    case platform::VK_NEXT:
      PageScroll(FVisibleRows - 1);
      break;
    case platform::VK_END:
      if (ctrl) SetRow(RowCount());
      SetCol(FRow == RowCount() ? 0 : DisplayLengthOf(FRow));
      break;
    case platform::VK_HOME:
      if (ctrl) SetRow(0);
      SetCol(0);
      break;
    case platform::VK_LEFT:
      if (ctrl) {
        int row = FRow;
        int col = FCol;
        if (WordJump(row, col, -1)) SetRowCol(row, col);
      } else if (FCol > 0) {
        SetCol(FCol - 1);
      } else if (FRow > 0 && (FCaret->NextLine() || RowEndKind(FRow - 1) == rkWrap)) {
        TCaretHideGuard hidden(*this);
        SetRow(FRow - 1);
        SetCol(DisplayLengthOf(FRow));
      }
      break;
    case platform::VK_RIGHT:
      if (ctrl) {
        int row = FRow;
        int col = FCol;
        if (WordJump(row, col, 1)) SetRowCol(row, col);
      } else {
        const int old = FCol;
        SetCol(FCol + 1);
        if (FCol == old && FRow < RowCount() && RowEndKind(FRow) != rkEof &&
            (FCaret->NextLine() || RowEndKind(FRow) == rkWrap)) {
          TCaretHideGuard hidden(*this);
          SetRow(FRow + 1);
          SetCol(0);
        }
      }
      break;
    case platform::VK_UP: {
      if (FRow <= 0) break;
      // A held key at the view's edge runs two rows a step, to keep pace
      // with the scrolling.
      const int step = FKeyRepeating && FRow == FTopRow ? 2 : 1;
      if (ctrl) {
        SetTopRow(FTopRow - step);
        if (FRow >= FTopRow + FVisibleRows) SetRow(FRow - step);
      } else {
        SetRow(FRow - step);
      }
      break;
    }
    case platform::VK_DOWN: {
      if (RowEndKind(FRow) == rkEof) break;
      const int step = FKeyRepeating && FRow + 1 == FTopRow + FVisibleRows ? 2 : 1;
      if (ctrl) {
        SetTopRow(FTopRow + step);
        if (FRow < FTopRow) SetRow(FRow + step);
      } else {
        SetRow(FRow + step);
      }
      break;
    }
    default:
      break;
  }
}

// ------------------------------------------------------------------- deleting

void TEditor::DeleteCharAtCaret() {
  if (FRow < 0 || FRow >= RowCount()) return;
  std::string text = RowText(FRow);
  const std::string map = ColumnMapOf(FRow);
  // Inside a tab's expansion this is the tab's own byte.
  const int byte = ByteIndexOfColumn(map, FCol);
  const int length = static_cast<int>(text.size());
  const int reference = ReferenceRow(FRow);
  const int offset = OffsetFromRow(reference, FRow, 0) + byte;
  if (byte < length) {
    const int count = CodeAt(map, FCol) == kCellLead ? 2 : 1;
    text.erase(static_cast<std::size_t>(byte), static_cast<std::size_t>(count));
    AppendLineBreak(*FScreenStrings, FRow, text);
    ReplaceRowRange(FRow, FRow, text, reference, offset);
    return;
  }
  if (RowEndKind(FRow) == rkEof) return;
  // The line break goes; a caret in the free space after the text first
  // fills the gap with spaces, so that the next line joins where it stands.
  text.append(static_cast<std::size_t>(byte - length), ' ');
  TCaretAndUnderlineHidden hidden(*this);
  int last = FRow;
  if (FRow + 1 < RowCount()) {
    last = FRow + 1;
    text += RowText(last);
    AppendLineBreak(*FScreenStrings, last, text);
  }
  ReplaceRowRange(FRow, last, text, reference, offset);
}

void TEditor::DeleteCharBeforeCaret() {
  if (Selected()) {
    DeleteSelection();
    return;
  }
  if (RowCount() == 0) {
    SetCol(FCol - 1);
    return;
  }
  std::string text = RowText(FRow);
  const std::string map = ColumnMapOf(FRow);
  int byte = ByteIndexOfColumn(map, FCol);
  const bool in_tab = CodeAt(map, FCol) == kCellTabFiller;
  if (byte >= 1 || in_tab) {
    if (static_cast<int>(text.size()) < byte) {
      // Free space after the text: only the caret moves.
      SetCol(FCol - 1);
      return;
    }
    int count = 1;
    if (CodeAt(map, FCol - 1) == kCellTrail) {
      count = 2;
    } else if (in_tab) {
      ++byte;  // the tab whose expansion holds the caret
    }
    const int reference = ReferenceRow(FRow);
    const int offset = OffsetFromRow(reference, FRow, 0) + byte - count;
    text.erase(static_cast<std::size_t>(byte - count), static_cast<std::size_t>(count));
    AppendLineBreak(*FScreenStrings, FRow, text);
    ReplaceRowRange(FRow, FRow, text, reference, offset);
    return;
  }
  if (FRow < 1) return;
  // At the start of a row: the previous row loses its line break, or, when
  // the two rows are one wrapped line, its last character.
  const int previous = FRow - 1;
  const int reference = ReferenceRow(previous);
  const std::string previous_text = RowText(previous);
  int keep = static_cast<int>(previous_text.size());
  if (RowEndKind(previous) == rkWrap && keep > 0) {
    const std::string previous_map = ColumnMapOf(previous);
    int col = static_cast<int>(previous_map.size()) - 1;
    if (CodeAt(previous_map, col) == kCellTrail)
      --col;
    else
      while (col > 0 && CodeAt(previous_map, col) == kCellTabFiller) --col;
    keep = ByteIndexOfColumn(previous_map, col);
  }
  const int offset = OffsetFromRow(reference, previous, 0) + keep;
  text = previous_text.substr(0, static_cast<std::size_t>(keep));
  TCaretAndUnderlineHidden hidden(*this);
  int last = previous;
  if (FRow < RowCount()) {
    last = FRow;
    text += RowText(FRow);
    AppendLineBreak(*FScreenStrings, FRow, text);
  }
  ReplaceRowRange(previous, last, text, reference, offset);
}

// ------------------------------------------------------------ line breaks, tabs

void TEditor::BreakLineAtCaret() {
  if (Selected()) DeleteSelection();
  if (FRow >= RowCount()) {
    TCaretAndUnderlineHidden hidden(*this);
    FScreenStrings->ReplaceRows(RowCount(), 0, "\r\n");
    SetRow(FRow + 1);
    SetCol(0);
    return;
  }
  if (FOverWrite) {
    SetRow(FRow + 1);
    SetCol(0);
    return;
  }
  const std::string text = RowText(FRow);
  const std::string map = ColumnMapOf(FRow);
  const int byte = std::min(ByteIndexOfColumn(map, FCol), static_cast<int>(text.size()));
  const int first = FScreenStrings->FirstRowOfLine(FRow);
  int indent = 0;
  if (FCaret->AutoIndent()) {
    indent = LeadingSpaceWidth(DisplayTextOf(first));
    if (indent < 1) {
      indent = 0;
      if (FCaret->PrevSpaceIndent() && FRow == first && text.empty())
        indent = std::max(0, PrevLineIndent(first));
    } else if (FRow == first && FCol < indent) {
      // Inside the indentation the new line takes only what is left of the caret.
      indent = FCol;
    }
  }
  std::string blanks;
  if (FCaret->TabIndent()) {
    const int tab = std::max(1, FCaret->TabSpaceCount());
    blanks.assign(static_cast<std::size_t>(indent / tab), '\t');
    blanks.append(static_cast<std::size_t>(indent % tab), ' ');
  } else {
    blanks.assign(static_cast<std::size_t>(indent), ' ');
  }
  std::string changed = text.substr(0, static_cast<std::size_t>(byte));
  changed += "\r\n";
  changed += blanks;
  changed += text.substr(static_cast<std::size_t>(byte));
  const int offset = OffsetFromRow(first, FRow, 0) + byte + 2 + static_cast<int>(blanks.size());
  AppendLineBreak(*FScreenStrings, FRow, changed);
  TCaretAndUnderlineHidden hidden(*this);
  ReplaceRowRange(FRow, FRow, changed, first, offset);
}

void TEditor::TabAtCaret() {
  const int tab = std::max(1, FCaret->TabSpaceCount());
  int count = tab - FCol % tab;
  if (WordWrap()) {
    const int wrap = std::max(1, WrapOption().WrapByte());
    count = std::min(count, wrap - FCol % wrap);
  }
  if (FOverWrite)
    SetCol(FCol + count);
  else if (FCaret->SoftTab())
    InsertText(std::string(static_cast<std::size_t>(count), ' '));
  else
    InsertText("\t");
}

}  // namespace editor
