// TEditor: the visible editor control. It keeps no text of its own: the text
// is a screen-row list (shared with every control that shows it) with the
// line view Lines over it. The control adds the caret, the selection,
// painting with token colours, scrolling by whole rows and columns, and the
// appearance settings that drive all of it.
//
// The members are grouped by concern, and so are the sources:
//   editor.cpp            construction, properties, messages, settings
//   editor_geometry.cpp   metrics, scroll ranges, scrolling, pixel to cell
//   editor_caret.cpp      caret placement, caret display, hiding counters
//   editor_paint.cpp      rows, marks, underline, selection repaint
//   editor_screen.cpp     the screen updater and the change notification
//   editor_selection.cpp  selection in both modes, whole rows, dragging
//   editor_words.cpp      word jumps, indentation, tokens at a point
//   editor_mouse.cpp      the left button, pointer moves, the scroll bars
//   editor_edit.cpp       typing, deleting, pasting, moving, clipboard, undo
//   editor_keys.cpp       keys, typed characters, input-method results
//   editor_messages.cpp   edit-control and text messages
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/colour/caret_settings.h"
#include "editor/colour/margin_settings.h"
#include "editor/colour/mark_settings.h"
#include "editor/colour/parser.h"
#include "editor/colour/parser_owner.h"
#include "editor/colour/token_kind.h"
#include "editor/colour/view_info.h"
#include "editor/control/accessible_index.h"
#include "editor/control/editor_popup_menu.h"
#include "editor/text/column_map.h"
#include "editor/text/editor_strings.h"
#include "editor/text/editor_strings_owner.h"
#include "editor/text/row_end_kind.h"
#include "editor/text/screen_strings.h"
#include "editor/text/screen_strings_client.h"
#include "editor/text/wrap_option.h"
#include "platform/begin_end_guard.h"
#include "platform/control/custom_control.h"
#include "platform/string_list.h"

namespace editor {

class TEditorScreen;

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TSelectionMode : std::uint8_t { smStream = 0, smBox = 1 };
enum TSelectionState : std::uint8_t { selNone = 0, selAnchored = 1, selActive = 2 };

// A selection in rows and either byte indexes or columns.
struct TEditorSelRange {
  int StartRow = 0;
  int EndRow = 0;
  int StartCol = 0;
  int EndCol = 0;

  friend bool operator==(const TEditorSelRange&, const TEditorSelRange&) = default;
};

using TDrawLineEvent =
    std::function<void(platform::TObject* sender, const std::string& LineStr, int X, int Y,
                       int Index, const platform::TRect& ARect, bool Selected)>;
using TSelectionChangeEvent = std::function<void(platform::TObject* sender, bool Selected)>;

// Advances handed to every text output: each byte takes one cell.
inline constexpr int kCharDxCount = 1000;

class TEditor : public platform::TCustomControl,
                public platform::TAccessibleText,
                public TScreenStringsClient,
                public TEditorStringsOwner,
                public TEditorParserOwner {
 public:
  TEditor();
  ~TEditor() override;

  // ---- life cycle ---------------------------------------------------------
  // Between BeginLoading and Loaded the stored properties are being set:
  // the rows wait with wrapping and bracket states.
  void BeginLoading() { FLoading = true; }
  virtual void Loaded();
  bool Loading() const override { return FLoading; }
  // Shows the rows of `other` instead of its own.
  virtual void ShareRowsOf(TEditor& other);

  // ---- published properties -------------------------------------------------
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TEditorCaret& Caret() const { return *FCaret; }
  void SetCaret(const TEditorCaret& value) { FCaret->Assign(&value); }
  TEditorStrings& Lines() const { return *FLines; }
  void SetLines(const platform::TStrings& value);
  TEditorMarks& Marks() const { return *FMarks; }
  void SetMarks(const TEditorMarks& value) { FMarks->Assign(&value); }
  TEditorMargin& Margin() const { return *FMargin; }
  void SetMargin(const TEditorMargin& value) { FMargin->Assign(&value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  const platform::TStringList& ReserveWordList() const override { return *FReserveWordList; }
  void SetReserveWordList(const platform::TStrings& value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  int UndoListMax() const;
  void SetUndoListMax(int value);
  const TEditorViewInfo& View() const override { return *FView; }
  TEditorViewInfo& View() { return *FView; }
  void SetView(const TEditorViewInfo& value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool WordWrap() const;
  void SetWordWrap(bool value);
  TEditorWrapOption& WrapOption() const;
  void SetWrapOption(const TEditorWrapOption& value);

  // ---- public state ------------------------------------------------------------
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }
  bool OverWrite() const { return FOverWrite; }
  void SetOverWrite(bool value);
  int RowCount() const;
  int Row() const override { return FRow; }
  int Col() const override { return FCol; }
  int TopRow() const override { return FTopRow; }
  int TopCol() const { return FTopCol; }
  int VisibleRows() const { return FVisibleRows; }
  int VisibleCols() const { return FVisibleCols; }
  int CharWidth() const { return FCharWidth; }
  int CharHeight() const { return FCharHeight; }
  int RowHeight() const override;
  const TDelimiterSet& Delimiters() const { return FDelimiters; }
  TEditorParserClass ParserClass() const { return FParserClass; }
  // 0 default, 1 left margin, 2 in the selection, 3 drag move, 4 drag copy.
  std::uint8_t CursorKind() const { return FCursorKind; }
  void SetCursorKind(std::uint8_t kind);

  // ---- events ---------------------------------------------------------------
  platform::TNotifyEvent OnCaretMoved;
  platform::TNotifyEvent OnChange;
  TDrawLineEvent OnDrawLine;
  TSelectionChangeEvent OnSelectionChange;
  platform::TNotifyEvent OnSelectionModeChange;
  platform::TNotifyEvent OnTopColChange;
  platform::TNotifyEvent OnTopRowChange;

  // ---- rows as the control sees them -------------------------------------------
  // The end kind of a row; a row outside the list counts as rkEof.
  TRowEndKind RowEndKind(int row) const;
  // The raw bytes of a row (empty outside the list).
  std::string RowText(int row) const;
  // The control's column rules (tab width, wrap width, delimiters).
  TColumnMapSettings ColumnMapSettings() const override;
  std::string DisplayTextOf(int row) const;
  std::string ColumnMapOf(int row) const;
  int DisplayLengthOf(int row) const;
  // Byte length of a row plus 2 when it ends its line, plus 1 when it ends the text.
  int CountedRowLength(int row) const;

  // ---- geometry and scrolling ----------------------------------------------------
  void InitMetrics();
  void UpdateScrollBars() override;
  void UpdateView();
  void SetTopRow(int row) override;
  void SetTopCol(int col);
  // Moves the pixels of `scroll` (the client area for none) by (dx, dy)
  // inside `clip` and paints what is uncovered before returning.
  virtual void ScrollView(int dx, int dy, const platform::TRect* scroll,
                          const platform::TRect* clip);
  void ScrollRowsBelow(int row, int count);
  void PageScroll(int delta);
  void ScrollCaretIntoView();
  // The column and row under a client point; with snap the column whose
  // left edge is nearest.
  void PixelToColRow(int x, int y, bool snap, int& col, int& row) const;
  // The row and byte index of the character under a client point.
  bool PointToRowByte(platform::TPoint point, int& row, int& byte) const;
  // Where the text starts and scrolls: inside the left and top margins.
  platform::TRect TextArea() const;

  // ---- caret placement -----------------------------------------------------------
  void SetRow(int row) override;
  void SetCol(int col) override;
  void SetRowCol(int row, int col);
  void SetRowOffset(int first_row, int offset);
  void SetSelStart(int offset);
  int GetSelStart() const;
  int OffsetFromRow(int first_row, int row, int col) const;
  // The byte index under the caret.
  int CaretByte() const;
  // Column normalisation after a change of Row or Col: off trail bytes and
  // tab fillers, within the row unless the caret is free.
  void AdjustCol(bool keep, int direction);
  void ForgetKeptCol() { FKeptColValid = false; }

  // ---- caret display ---------------------------------------------------------------
  void CaretChanged();
  virtual void UpdateCaretShape();
  void UpdateCaretPos();
  void UpdateImeWindow();
  void ShowSysCaret();
  void HideSysCaret();
  bool CaretOutOfView() const;
  virtual platform::TPoint CaretPixelPos() const;
  virtual void CaretBeginUpdate();
  virtual void CaretEndUpdate();
  virtual void UnderlineBeginUpdate();
  virtual void UnderlineEndUpdate();

  // Keep the caret / the caret-row underline hidden for their lifetime.
  using TCaretHideGuard =
      platform::TBeginEndGuard<TEditor, &TEditor::CaretBeginUpdate, &TEditor::CaretEndUpdate>;
  using TUnderlineHideGuard = platform::TBeginEndGuard<TEditor, &TEditor::UnderlineBeginUpdate,
                                                       &TEditor::UnderlineEndUpdate>;

  // ---- painting -------------------------------------------------------------------
  void PaintRect(const platform::TRect& rect);
  void DrawRow(const platform::TRect& band, int x, int row, const std::string& text, int y);
  void DrawSelectedRow(const platform::TRect& band, int x, int row, const std::string& text, int y);
  void DrawRowWithSelection(const platform::TRect& band, int x, int row, const std::string& text,
                            int y);
  platform::TRect ColRangeRect(std::string_view text, int row, int from, int to) const;
  void TextOutDx(const platform::TRect& rect, int x, unsigned options, std::string_view text,
                 int y);
  virtual void DrawEofMark(int x, int y);
  virtual void DrawRetMark(int x, int y);
  virtual void DrawSelectedRetMark(int x, int y);
  virtual void DrawUnderline(int row);
  virtual void EraseUnderline(int row);
  virtual int UnderlineY(int row) const;
  // Repaints the cells whose selected state differs between what the
  // screen shows (FSelDrawn) and the selection (FSelCols).
  void RepaintSelectionChange();
  void InvalidateRow(int row) override;
  void InvalidateRows(int a, int b);
  void InvalidateAll() override;
  // The left edge of a column for selection boundaries, never left of the text.
  int ColumnEdge(int col) const;

  // ---- change notification -------------------------------------------------------------
  void DoChange() override;
  virtual void SettingsChanged(platform::TObject* sender);

  // ==== selection: begin (maintained with the selection sources) ====================
  bool Selected() const override { return FSelectionState == selActive; }
  void CancelSelection() override;
  TSelectionMode SelectionMode() const { return static_cast<TSelectionMode>(FSelectionMode); }
  void SetSelectionMode(TSelectionMode mode);
  int GetSelLength() const;
  void SetSelLength(int length);
  std::string GetSelText() const;
  void StartSelection();
  void UpdateSelection();
  void ActivateSelection();
  void UpdateSelectionRange();
  void ClearSelection();
  void SelectAll();
  bool InSelection(int row, int col) const;
  void RowSelectStart(int row);
  void RowSelectTo(int row);
  void RowSelectEnd() { FRowSelecting = false; }
  bool RowSelecting() const { return FRowSelecting; }
  virtual bool CanDragSelection() const;
  void SelDragPress();
  void SelDragBegin();
  void SelDragEnd();
  void SelDragCancel();
  std::uint8_t SelDragState() const { return FSelDragState; }
  const TEditorSelRange& SelBytes() const { return FSelBytes; }
  const TEditorSelRange& SelCols() const { return FSelCols; }
  const TEditorSelRange& SelDrawn() const { return FSelDrawn; }
  // ==== selection: end ==============================================================

  // ==== editing operations: begin (maintained with the editing sources) ==============
  // Every change builds the new text of a run of rows and hands it to the
  // rows in one replacement (one undo step); the caret is then placed by a
  // byte offset from a row the replacement cannot move, and ends after what
  // was put in. InsertText and DeleteSelection leave ReadOnly to their
  // callers; the pastes refuse a read-only control themselves.
  // Typed or programmatic text at the caret, replacing the selection; in
  // overwrite mode it covers as many columns as it has bytes.
  void InsertText(const std::string& s);
  void DeleteSelection();
  void ClearSelText() { DeleteSelection(); }
  // A stream of text at the caret, replacing the selection.
  void PasteText(const std::string& text);
  // One line per row, each at the caret's column (the box's left edge when
  // a selection is replaced).
  void PasteBox(const std::string& text);
  // The selection's text goes to (row, col): moved (a drop) or copied (a
  // drop with Ctrl); the caret ends after it. Into the selection itself, or
  // where the selection cannot be dragged, only the selection goes.
  virtual void MoveSelectionTo(int row, int col);
  virtual void CopySelectionTo(int row, int col);
  // The clipboard holds Unicode text, and for a box the same bytes under the
  // box format. A copy whose bytes are not CP932 leaves the clipboard alone
  // and a cut then keeps its text; a paste of a character without a CP932
  // form changes nothing, and a read-only control neither cuts nor pastes.
  // Each answers whether it did its work.
  bool CopyToClipboard();
  bool CutToClipboard();
  bool PasteFromClipboard();
  virtual bool CanRedo() const;
  virtual bool CanUndo() const;
  virtual void Redo();
  virtual void Undo();

  // A selected row with its selected part cut out: what remains, the row's
  // end kind and the byte where the cut was made (from 0).
  struct TRowRemainder {
    std::string Text;
    TRowEndKind EndKind = rkEof;
    int CutAt = 0;
  };
  using TRowRemainders = std::vector<TRowRemainder>;
  void SelectionRemainder(TRowRemainders& list) const;
  // The entries one after another, CR LF after those that end their line.
  static std::string JoinRows(const TRowRemainders& list);
  // ==== editing operations: end ======================================================

  // ==== words and tokens: begin (maintained with the word sources) ===================
  bool WordJump(int& row, int& col, int direction) const;
  int PrevLineIndent(int row) const;
  virtual void GetTokenAt(platform::TPoint point, const TEditorParserOwner* editor,
                          std::string& text, bool use_state, TTokenKind& kind) const;
  virtual void SelectTokenAt(platform::TPoint point, const TEditorParserOwner* editor,
                             bool use_state);
  TTokenKind TokenKindFromPos(platform::TPoint point) const;
  void TokenFromPos(platform::TPoint point, std::string& text) const;
  TTokenKind TokenKindFromCaret() const;
  void TokenFromCaret(std::string& text) const;
  void SelectTokenFromCaret();
  void SelectTokenFromPos(platform::TPoint point);
  // ==== words and tokens: end ========================================================

  // ==== window messages: begin (maintained with the message sources) ===============
  // The messages of a multi-line edit control and the text messages; answers
  // whether the message was one of them.
  bool EditControlMessage(platform::TMessage& message);
  // The text offset where a row starts: CR LF counts two bytes.
  int RowStartOffset(int row) const;
  // The row from `first_row` on that holds `offset`, with the byte index in
  // it; RowCount() when the offset lies beyond the last row.
  int RowOfOffset(int first_row, int offset, int& byte) const;
  // The context menu, made by CreatePopupMenu when it is first wanted. It
  // opens on WM_CONTEXTMENU at the pointer, or below the caret when the
  // keyboard asked for it.
  TEditorPopupMenu& PopupMenu();
  virtual std::unique_ptr<TEditorPopupMenu> CreatePopupMenu();
  // ==== window messages: end ========================================================

  // ==== accessibility: begin (maintained with the accessibility source) ===============
  // The text as a screen reader sees it: the lines joined by "\n", one
  // Unicode character per CP932 character (a byte without a Unicode form
  // reads as U+FFFD). While an assistive tool listens, caret, selection and
  // text changes are reported in those offsets.
  platform::TAccessibleText* AccessibleText() override { return this; }
  int AccessibleLength() const override;
  std::u16string AccessibleTextRange(int start, int end) const override;
  void AccessibleLineAt(int offset, int& start, int& end) const override;
  int AccessibleCaret() const override;
  void SetAccessibleCaret(int offset) override;
  bool AccessibleSelection(int& start, int& end) const override;
  void SetAccessibleSelection(int start, int end) override;
  platform::TRect AccessibleCharRect(int offset) const override;
  int AccessibleOffsetAt(platform::TPoint point) const override;
  void AccessibleScrollTo(int offset) override;
  bool AccessibleReadOnly() const override { return FReadOnly; }
  bool AccessibleReplace(int start, int end, const std::u16string& text) override;
  // The offset of a row and byte index, and back.
  int AccessibleOffsetOf(int row, int byte) const;
  void AccessiblePosition(int offset, int& row, int& byte) const;
  void RowsChanging(int row, int count) override;
  void RowsChanged(int row, int old_count, int new_count) override;
  // ==== accessibility: end ==============================================================

  // ---- what the screen-row list and the line view ask ---------------------------------
  bool Focused() const override { return TCustomControl::Focused(); }
  bool Visible() const override { return TCustomControl::Visible(); }
  int ScreenHeight() const override;
  int BracketCount() const override;
  // A lexer of the control's lexer class, with the control as its owner; the
  // screen-row list gets the same one for its bracket states.
  std::unique_ptr<TEditorParser> CreateParser(std::string_view text, int bracket_state) const;
  std::unique_ptr<TRowLexer> CreateRowLexer(std::string_view text,
                                            int bracket_state) const override;
  TEditorScreenStrings& ScreenStrings() const override { return *FScreenStrings; }
  void PlaceCaretAtOffset(int row, int offset) override { SetRowOffset(row, offset); }
  void SetCaretRow(int row) override { SetRow(row); }
  void SetCaretCol(int col) override { SetCol(col); }
  void BeginLinesUpdate() override;
  void EndLinesUpdate() override;

 protected:
  // ---- factories --------------------------------------------------------------------
  virtual TDelimiterSet DefaultDelimiters() const;
  virtual std::unique_ptr<TEditorStrings> CreateEditorStrings();
  // A new list; the control frees it only through RemoveClient.
  virtual TEditorScreenStrings* CreateScreenStrings();
  virtual std::unique_ptr<TEditorScreen> CreateEditorScreen();
  virtual std::unique_ptr<TEditorViewInfo> CreateViewInfo();
  virtual TEditorParserClass GetParserClass() const;

  // ---- events fired after the change they report ----------------------------------------
  virtual void DoCaretMoved();
  virtual void DoDrawLine(const platform::TRect& rect, int x, bool selected, int row,
                          const std::string& text, int y);
  virtual void DoSelectionChange(bool selected);
  virtual void DoSelectionModeChange();
  virtual void DoTopColChange();
  virtual void DoTopRowChange();

  // ---- the window ---------------------------------------------------------------------
  void CreateParams(platform::TCreateParams& params) override;
  void WndProc(platform::TMessage& message) override;
  void Dispatch(platform::TMessage& message) override;
  void DefaultHandler(platform::TMessage& message) override;
  void Paint() override;

  // ==== mouse input: begin (maintained with the mouse sources) ======================
  // The left button places the caret, selects (from the margin: whole rows)
  // or drags the selection; a pointer move with no button held chooses the
  // cursor kind. Each ends with the inherited handling, which fires the mouse
  // events. A double click has no handling of its own: it reaches the owner
  // as OnDblClick, with the caret where the first click put it.
  virtual void WMLButtonDown(platform::TMessage& message);
  virtual void WMMouseMove(platform::TMessage& message);
  virtual void WMLButtonUp(platform::TMessage& message);
  // Scroll-bar requests (SB_ codes) move the first row or column.
  virtual void WMVScroll(platform::TMessage& message);
  virtual void WMHScroll(platform::TMessage& message);
  // ==== mouse input: end ================================================================

  // ==== keyboard input: begin (maintained with the keyboard sources) =================
  // Each starts with the inherited handling, which fires OnKeyDown, OnKeyUp
  // or OnKeyPress; a handler that sets the key to 0 takes it. Navigation keys
  // move the caret (Shift selects) also when read-only; the keys and
  // characters that change text do nothing then. Double-byte characters
  // arrive only as input-method results, each exactly once: no character
  // messages repeat them. While a composition is drawn the view keeps it in
  // sight; when it ends the caret comes back into view.
  virtual void WMKeyDown(platform::TMessage& message);
  virtual void WMKeyUp(platform::TMessage& message);
  virtual void WMChar(platform::TMessage& message);
  virtual void WMImeComposition(platform::TMessage& message);
  // ==== keyboard input: end ==============================================================

 private:
  friend class TEditorScreen;

  // Whether the canvas can be drawn on and the metrics are known.
  bool CanDraw() const { return HandleAllocated() && FCharWidth > 0 && FCharHeight > 0; }
  // Selected or left by a clearing repaint: rows then paint their underline pixel row too.
  int BandHeight() const;
  // Token colours drawn over a row's default output; shared by both row painters.
  void DrawRowText(const platform::TRect& band, int x, int row, const std::string& text, int y,
                   bool selected);
  void DrawRowMarks(const platform::TRect& band, int x, int row, int length, int y, bool selected);
  void DrawUnderlineIn(int row, platform::TColor color);
  void AttachRows(TEditorScreenStrings* rows);

  // ---- fields, in the order of the control's data model -----------------------------------
  TBorderStyle FBorderStyle = bsSingle;
  std::unique_ptr<TEditorCaret> FCaret;
  bool FCaretPlacing = false;
  int FCaretHideCount = 0;
  bool FCaretShown = false;
  int FCol = 0;
  int FVisibleCols = 0;
  int FKeptCol = 0;
  bool FKeptColValid = false;
  bool FCaretMovePending = false;
  std::uint8_t FCursorKind = 0;
  TDelimiterSet FDelimiters;
  std::array<int, kCharDxCount> FCharDx{};
  int FCharHeight = 0;
  int FCharWidth = 0;
  int FMaxTopCol = 0;
  bool FItalicSeen = false;
  bool FKeyRepeating = false;
  int FScrollPixels = 0;
  std::unique_ptr<TEditorStrings> FLines;
  TEditorScreenStrings* FScreenStrings = nullptr;  // shared; freed by the last client
  std::unique_ptr<TEditorMarks> FMarks;
  std::unique_ptr<TEditorMargin> FMargin;
  bool FModified = false;
  int FMouseDownX = 0;
  int FMouseDownY = 0;
  bool FOverWrite = false;
  TEditorParserClass FParserClass = kDefaultParserClass;
  bool FReadOnly = false;
  int FRow = 0;
  int FVisibleRows = 0;
  std::unique_ptr<platform::TStringList> FReserveWordList;
  std::unique_ptr<TEditorScreen> FScreen;
  TScrollStyle FScrollBars = ssNone;
  int FTopCol = 0;
  int FTopRow = 0;
  int FUnderlineHideCount = 0;
  std::unique_ptr<TEditorViewInfo> FView;
  int FVScrollMax = 0;
  bool FWantTabs = true;
  bool FWantReturns = true;
  bool FWrapToggle = false;
  bool FFullRowPaint = false;
  bool FLoading = false;
  int FLinesUpdateCount = 0;

  // ==== selection fields: begin ======================================================
  bool FRowSelecting = false;
  std::uint8_t FSelDragState = 0;
  std::uint8_t FSelectionMode = smStream;
  std::uint8_t FSelectionState = selNone;
  int FAnchorCol = 0;
  int FAnchorByte = 0;
  int FAnchorRow = 0;
  TEditorSelRange FSelBytes;
  TEditorSelRange FSelCols;
  TEditorSelRange FSelDrawn;
  int FRowSelStart = 0;
  int FRowSelEnd = 0;
  bool FRowSelFromEof = false;
  // ==== selection fields: end ========================================================

  // ==== mouse fields: begin =============================================================
  // A press of ours is held: pointer moves extend its selection. A double
  // click holds the button too, but starts nothing to extend.
  bool FMouseSelecting = false;
  // The wheel is turning: it scrolls down only until the last row reaches
  // the bottom of the view, where the scroll bar may go further.
  bool FWheelScrolling = false;
  // The cell under a point for a held button: a point above the text takes
  // the row above the view, so that holding the button there scrolls.
  void HeldPointToColRow(int x, int y, bool snap, int& col, int& row) const;
  // ==== mouse fields: end ===============================================================

  // ==== editing helpers: begin ========================================================
  // The row offsets of a change are counted from: the row before `row`
  // inside its line, so that re-wrapping the line cannot move it.
  int ReferenceRow(int row) const;
  // `s` at the caret or in place of the selection, the core of typing and
  // pasting a stream.
  void ReplaceAtCaret(const std::string& s, bool overwrite);
  // Rows first..last become `text` (selection cleared first); the caret goes
  // `offset` bytes after the start of row `reference`.
  void ReplaceRowRange(int first, int last, const std::string& text, int reference, int offset);
  void DropSelectionAt(int row, int col, bool move);
  // ==== editing helpers: end ==========================================================

  // ==== keyboard helpers: begin =======================================================
  // One navigation key: the caret move alone, without the selection.
  void MoveCaretByKey(int key, bool ctrl);
  // The character under the caret goes; at a row's end the next line joins.
  void DeleteCharAtCaret();
  // The character before the caret goes; at a line's start the line joins
  // the previous one.
  void DeleteCharBeforeCaret();
  // A line break at the caret, the new line indented like this one.
  void BreakLineAtCaret();
  // The caret to the next tab stop, by spaces, by a tab or (overwriting) by moving.
  void TabAtCaret();
  // Scrolls sideways so that the composition being drawn at the caret, and
  // its cursor, stay in the view.
  void KeepCompositionInView();
  // ==== keyboard helpers: end =========================================================

  // ==== accessibility fields: begin ===================================================
  mutable TAccessibleIndex FAccIndex;
  // The text of the rows about to change, for the report of the change.
  bool FAccPending = false;
  int FAccOldRow = 0;
  int FAccOldStart = 0;
  std::u16string FAccOldText;
  // ==== accessibility fields: end =====================================================

  // ==== message helpers: begin ========================================================
  bool EditMessage(platform::TMessage& message);
  // Lines.Text into a buffer of `size` bytes, NUL-terminated; the bytes copied.
  int CopyTextTo(char* buffer, std::size_t size) const;
  // A row's bytes into a buffer whose first 16 bits give its size; no NUL.
  int CopyRowTo(int row, char* buffer) const;
  int LineLengthAt(int offset) const;
  platform::TPoint PosFromOffset(int offset) const;
  platform::LRESULT CharFromPos(int x, int y) const;
  void WMContextMenu(platform::TMessage& message);
  std::unique_ptr<TEditorPopupMenu> FPopupMenu;
  // ==== message helpers: end ==========================================================
};

}  // namespace editor
