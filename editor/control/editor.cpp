// Construction, properties, settings notifications and the window messages
// that are not input.
#include "editor/control/editor.h"

#include <algorithm>

#include "editor/control/editor_screen.h"
#include "editor/text/delimiters.h"
#include "platform/control/virtual_keys.h"

namespace editor {

using platform::TMessage;

TEditor::TEditor() {
  // The factories are called here as the control's own: a derived control
  // that wants others sets them up in its constructor with ShareRowsOf and
  // the property setters.
  SetBounds(Left(), Top(), 185, 89);
  FBorderStyle = bsSingle;
  SetCursor(platform::crIBeam);
  SetTabStop(true);
  FWantReturns = true;
  FWantTabs = true;
  FDelimiters = DefaultDelimiters();
  AttachRows(CreateScreenStrings());
  FLines = CreateEditorStrings();
  FScreen = CreateEditorScreen();
  FView = CreateViewInfo();
  FReserveWordList = std::make_unique<platform::TStringList>();
  FReserveWordList->SetSorted(true);
  FReserveWordList->SetDuplicates(platform::dupIgnore);
  SetColor(platform::clWindow);
  platform::TFont font = Font();
  font.Color = platform::clWindowText;
  font.Name = "FixedSys";
  SetFont(font);
  auto notify = [this](platform::TObject* sender) { SettingsChanged(sender); };
  FCaret = std::make_unique<TEditorCaret>();
  FCaret->SetOnChange(notify);
  FMarks = std::make_unique<TEditorMarks>();
  FMarks->SetOnChange(notify);
  FMargin = std::make_unique<TEditorMargin>();
  FMargin->SetOnChange(notify);
  FParserClass = GetParserClass();
}

TEditor::~TEditor() {
  // No message may reach a control that is half gone.
  DestroyHandle();
  FScreen.reset();
  FView.reset();
  RemoveClient(FScreenStrings, this);
  FLines.reset();
}

void TEditor::AttachRows(TEditorScreenStrings* rows) {
  FScreenStrings = rows;
  FScreenStrings->AddClient(this);
}

void TEditor::ShareRowsOf(TEditor& other) {
  if (&other == this || other.FScreenStrings == FScreenStrings) return;
  CancelSelection();
  RemoveClient(FScreenStrings, this);
  AttachRows(other.FScreenStrings);
  FRow = FCol = FTopRow = FTopCol = 0;
  FScrollPixels = 0;
  UpdateView();
}

void TEditor::Loaded() {
  FLoading = false;
  if (WordWrap()) FScreenStrings->WrapAll();
  FScreenStrings->UpdateAllBrackets();
  FModified = false;
  UpdateView();
}

// ------------------------------------------------------------------ factories

TDelimiterSet TEditor::DefaultDelimiters() const {
  return editor::DefaultDelimiters();
}

std::unique_ptr<TEditorStrings> TEditor::CreateEditorStrings() {
  return std::make_unique<TEditorStrings>(*this);
}

TEditorScreenStrings* TEditor::CreateScreenStrings() {
  return new TEditorScreenStrings();
}

std::unique_ptr<TEditorScreen> TEditor::CreateEditorScreen() {
  return std::make_unique<TEditorScreen>(*this);
}

std::unique_ptr<TEditorViewInfo> TEditor::CreateViewInfo() {
  auto view = std::make_unique<TEditorViewInfo>(this);
  view->SetOnChange([this](platform::TObject* sender) { SettingsChanged(sender); });
  return view;
}

TEditorParserClass TEditor::GetParserClass() const {
  return kDefaultParserClass;
}

// ----------------------------------------------------------------- properties

void TEditor::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
  InvalidateAll();
}

void TEditor::SetLines(const platform::TStrings& value) {
  FLines->Assign(&value);
  FScreenStrings->RefreshClients();
}

void TEditor::SetReadOnly(bool value) {
  if (value == FReadOnly || FSelDragState == 2) return;
  FReadOnly = value;
  // A text that takes no typing takes no composition either.
  SetImeEnabled(!value);
  if (value && Selected()) SetCursor(FCaret->Cursors().DefaultCursor());
}

void TEditor::SetReserveWordList(const platform::TStrings& value) {
  bool same = value.Count() == FReserveWordList->Count();
  for (int i = 0; same && i < value.Count(); ++i) same = value.Get(i) == FReserveWordList->Get(i);
  if (same) return;
  FReserveWordList->Assign(&value);
  InvalidateAll();
}

void TEditor::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateWnd();
  InitMetrics();
  UpdateScrollBars();
  InvalidateAll();
}

int TEditor::UndoListMax() const {
  return FScreenStrings->UndoObj().UndoListMax();
}

void TEditor::SetUndoListMax(int value) {
  FScreenStrings->UndoObj().SetUndoListMax(value);
}

void TEditor::SetView(const TEditorViewInfo& value) {
  FView->Assign(&value);
  UpdateView();
  ScrollCaretIntoView();
  UpdateCaretPos();
}

bool TEditor::WordWrap() const {
  return FScreenStrings->WordWrap();
}

void TEditor::SetWordWrap(bool value) {
  FScreenStrings->SetWordWrap(value);
}

TEditorWrapOption& TEditor::WrapOption() const {
  return FScreenStrings->WrapOption();
}

void TEditor::SetWrapOption(const TEditorWrapOption& value) {
  FScreenStrings->WrapOption().Assign(&value);
}

void TEditor::SetOverWrite(bool value) {
  if (value == FOverWrite) return;
  FOverWrite = value;
  CaretChanged();
}

int TEditor::RowCount() const {
  return FScreenStrings->GetCount();
}

int TEditor::RowHeight() const {
  return FCharHeight + FMargin->Line() + (FMarks->Underline().Visible() ? 1 : 0);
}

void TEditor::SetCursorKind(std::uint8_t kind) {
  if (kind == FCursorKind) return;
  FCursorKind = kind;
  if (!FCaret->AutoCursor()) return;
  const TEditorCursors& cursors = FCaret->Cursors();
  switch (kind) {
    case 0:
      SetCursor(cursors.DefaultCursor());
      break;
    case 1:
      SetCursor(cursors.LeftMarginCursor());
      break;
    case 2:
      SetCursor(cursors.InSelCursor());
      break;
    case 3:
      SetScreenCursor(cursors.DragSelCursor());
      break;
    case 4:
      SetScreenCursor(cursors.DragSelCopyCursor());
      break;
    default:
      break;
  }
}

// ----------------------------------------------------------------------- rows

TRowEndKind TEditor::RowEndKind(int row) const {
  if (row < 0 || row >= RowCount()) return rkEof;
  return FScreenStrings->EndKinds(row);
}

std::string TEditor::RowText(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return std::string(FScreenStrings->RowText(row));
}

TColumnMapSettings TEditor::ColumnMapSettings() const {
  TColumnMapSettings settings;
  settings.TabWidth = FCaret->TabSpaceCount();
  settings.WordWrap = FScreenStrings->WordWrap();
  settings.WrapWidth = FScreenStrings->WrapOption().WrapByte();
  settings.Delimiters = FDelimiters;
  return settings;
}

std::string TEditor::DisplayTextOf(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return DisplayText(FScreenStrings->RowText(row), ColumnMapSettings());
}

std::string TEditor::ColumnMapOf(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return ColumnMap(FScreenStrings->RowText(row), ColumnMapSettings());
}

int TEditor::DisplayLengthOf(int row) const {
  if (row < 0 || row >= RowCount()) return 0;
  return DisplayLength(FScreenStrings->RowText(row), ColumnMapSettings());
}

int TEditor::CountedRowLength(int row) const {
  if (row < 0 || row >= RowCount()) return 0;
  int length = FScreenStrings->RowLength(row);
  switch (FScreenStrings->EndKinds(row)) {
    case rkReturn:
      return length + 2;
    case rkEof:
      return length + 1;
    default:
      return length;
  }
}

// ------------------------------------------------ what the row list asks for

int TEditor::ScreenHeight() const {
  // The control shows no more than its own height; rows further down get
  // their bracket state when they are painted.
  return std::max(ClientHeight(), RowHeight() * (FVisibleRows + 1));
}

int TEditor::BracketCount() const {
  return FView->Brackets().Count();
}

std::unique_ptr<TEditorParser> TEditor::CreateParser(std::string_view text,
                                                     int bracket_state) const {
  return FParserClass(this, text, bracket_state);
}

std::unique_ptr<TRowLexer> TEditor::CreateRowLexer(std::string_view text, int bracket_state) const {
  return CreateParser(text, bracket_state);
}

void TEditor::BeginLinesUpdate() {
  if (FLinesUpdateCount++ > 0) return;
  CaretBeginUpdate();
  UnderlineBeginUpdate();
  FCaretPlacing = true;
}

void TEditor::EndLinesUpdate() {
  if (FLinesUpdateCount == 0 || --FLinesUpdateCount > 0) return;
  FCaretPlacing = false;
  UnderlineEndUpdate();
  CaretEndUpdate();
  CaretChanged();
}

// ------------------------------------------------------------------ settings

void TEditor::SettingsChanged(platform::TObject* sender) {
  if (sender == FMarks.get()) FMargin->SetUnderlineHeight(FMarks->Underline().Visible() ? 1 : 0);
  if (sender == FView.get()) FScreenStrings->UpdateAllBrackets();
  UpdateView();
  if (sender == FCaret.get()) {
    CaretChanged();
  } else {
    ScrollCaretIntoView();
    UpdateCaretPos();
  }
}

// -------------------------------------------------------------------- window

void TEditor::CreateParams(platform::TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.Style |= platform::WS_BORDER;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= platform::WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= platform::WS_VSCROLL;
  // A resize paints only what it uncovers.
  params.WindowClassStyle &= ~(platform::CS_HREDRAW | platform::CS_VREDRAW);
  // This desktop draws new-style controls: a sunken client edge takes the
  // place of the plain border.
  if (Ctl3D() && FBorderStyle == bsSingle) {
    params.Style &= ~platform::WS_BORDER;
    params.ExStyle |= platform::WS_EX_CLIENTEDGE;
  }
}

namespace {

bool IsCharMessage(std::uint32_t msg) {
  return msg >= platform::WM_CHAR && msg <= platform::WM_SYSDEADCHAR;
}

bool IsMouseMessageBeyondPress(std::uint32_t msg) {
  return msg >= platform::WM_LBUTTONDBLCLK && msg <= platform::WM_MOUSEWHEEL;
}

}  // namespace

void TEditor::WndProc(TMessage& message) {
  // While a press in the selection may turn into a drag, or the left button
  // is held on the control, typing and further clicks would fight the drag.
  // The state is taken before the base records this message, so that the
  // press itself and the release are not counted as held.
  if (FSelDragState != 0 || LButtonDown()) {
    const std::uint32_t msg = message.Msg;
    const auto key = static_cast<int>(message.WParam);
    bool swallow = false;
    if (msg == platform::WM_KEYDOWN) {
      if (FSelDragState != 2) {
        swallow = true;
      } else if (key == platform::VK_CONTROL) {
        SetCursorKind(4);
      } else if (key == platform::VK_ESCAPE) {
        SelDragCancel();
      }
    } else if (msg == platform::WM_KEYUP) {
      if (FSelDragState == 2 && key == platform::VK_CONTROL)
        SetCursorKind(3);
      else
        swallow = true;
    } else if (IsCharMessage(msg) || IsMouseMessageBeyondPress(msg)) {
      swallow = true;
    }
    if (swallow) return;
  }
  TCustomControl::WndProc(message);
}

void TEditor::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case platform::WM_SIZE:
      TCustomControl::Dispatch(message);
      UpdateView();
      message.Result = 0;
      return;
    case platform::WM_SETFOCUS:
      TCustomControl::Dispatch(message);
      UpdateCaretShape();
      UpdateCaretPos();
      ShowSysCaret();
      message.Result = 0;
      return;
    case platform::WM_KILLFOCUS:
      TCustomControl::Dispatch(message);
      HideSysCaret();
      DestroyCaret();
      message.Result = 0;
      return;
    case platform::CM_FONTCHANGED:
      if (HandleAllocated()) {
        if (FScrollPixels > 0) SetCol(0);
        // The cells change size: everything is measured and painted anew.
        UpdateView();
        CaretChanged();
      }
      TCustomControl::Dispatch(message);
      return;
    case platform::CM_COLORCHANGED:
      InvalidateAll();
      TCustomControl::Dispatch(message);
      return;
    case platform::CM_CTL3DCHANGED:
      if (FBorderStyle == bsSingle) RecreateWnd();
      TCustomControl::Dispatch(message);
      return;
    case platform::WM_LBUTTONDOWN:
      WMLButtonDown(message);
      return;
    case platform::WM_MOUSEMOVE:
      WMMouseMove(message);
      return;
    case platform::WM_LBUTTONUP:
      WMLButtonUp(message);
      return;
    case platform::WM_VSCROLL:
      WMVScroll(message);
      return;
    case platform::WM_HSCROLL:
      WMHScroll(message);
      return;
    case platform::WM_KEYDOWN:
      WMKeyDown(message);
      return;
    case platform::WM_KEYUP:
      WMKeyUp(message);
      return;
    case platform::WM_CHAR:
      WMChar(message);
      return;
    case platform::WM_IME_COMPOSITION:
      WMImeComposition(message);
      return;
    case platform::WM_IME_ENDCOMPOSITION:
      // A composition that scrolled the view sideways may have left the
      // caret behind when it was cancelled.
      TCustomControl::Dispatch(message);
      if (HandleAllocated() && Focused()) ScrollCaretIntoView();
      return;
    case platform::CM_INPUTREFUSED:
      // Typing into a read-only control changes nothing, without a sound.
      if (!FReadOnly) TCustomControl::Dispatch(message);
      return;
    case platform::WM_MOUSEWHEEL: {
      const bool outer = !FWheelScrolling;
      FWheelScrolling = true;
      struct TWheelEnd {
        TEditor& editor;
        bool outer;
        ~TWheelEnd() {
          if (outer) editor.FWheelScrolling = false;
        }
      } wheel_end{*this, outer};
      TCustomControl::Dispatch(message);
      return;
    }
    case platform::WM_IME_NOTIFY:
      TCustomControl::Dispatch(message);
      if (message.WParam == platform::IMN_OPENCANDIDATE) CaretBeginUpdate();
      if (message.WParam == platform::IMN_CLOSECANDIDATE) CaretEndUpdate();
      return;
    default:
      if (EditControlMessage(message)) return;
      TCustomControl::Dispatch(message);
      return;
  }
}

void TEditor::DefaultHandler(TMessage& message) {
  TCustomControl::DefaultHandler(message);
  switch (message.Msg) {
    case platform::WM_LBUTTONDOWN:
    case platform::WM_RBUTTONDOWN:
    case platform::WM_MBUTTONDOWN:
      if (!Focused()) SetFocus();
      break;
    case platform::WM_NCLBUTTONDOWN:
    case platform::WM_NCRBUTTONDOWN:
    case platform::WM_NCMBUTTONDOWN:
      if (static_cast<platform::LRESULT>(message.WParam) == platform::HTCLIENT && !Focused())
        SetFocus();
      break;
    default:
      break;
  }
}

void TEditor::Paint() {
  PaintRect(Canvas().ClipRect());
}

// --------------------------------------------------------------------- events

void TEditor::DoCaretMoved() {
  if (OnCaretMoved) OnCaretMoved(this);
}

void TEditor::DoDrawLine(const platform::TRect& rect, int x, bool selected, int row,
                         const std::string& text, int y) {
  if (OnDrawLine) OnDrawLine(this, text, x, y, row, rect, selected);
}

void TEditor::DoSelectionChange(bool selected) {
  if (OnSelectionChange) OnSelectionChange(this, selected);
}

void TEditor::DoSelectionModeChange() {
  if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::DoTopColChange() {
  if (OnTopColChange) OnTopColChange(this);
}

void TEditor::DoTopRowChange() {
  if (OnTopRowChange) OnTopRowChange(this);
}

}  // namespace editor
