#include "app/window/teditor/editor_info_window.h"

#include <algorithm>

#include "app/window/cp932_text.h"
#include "app/window/teditor/information_look.h"
#include "editor/text/form_stream.h"
#include "platform/qt/control_widget.h"

namespace app {
namespace {

// Editor1's lines as the window's layout stores them, under "Strings".
std::string StoredLines() {
  editor::TWriter writer;
  writer.DefineProperty(
      "Strings", nullptr,
      [](editor::TWriter& w) {
        w.WriteListBegin();
        w.WriteString(Cp932("■□■ 情報ウインドウ ■□■"));
        w.WriteListEnd();
      },
      true);
  return writer.Data();
}

}  // namespace

EditorInfoWindow::EditorInfoWindow(QWidget* parent) {
  editor_.BeginLoading();
  ApplyLayout();
  platform::SetParentWidget(editor_, parent);
  editor_.Loaded();

  editor_.OnChange = [this](platform::TObject*) {
    if (OnChange) OnChange();
  };
  editor_.OnDblClick = [this](platform::TObject*) {
    if (OnDblClick) OnDblClick();
  };
  editor_.OnMouseMove = [this](platform::TObject*, platform::TShiftState, int x, int y) {
    if (OnMouseMove) OnMouseMove(QPoint(x, y));
  };
  editor_.OnResize = [this](platform::TObject*) {
    if (OnResize) OnResize();
  };
}

EditorInfoWindow::~EditorInfoWindow() {
  editor_.OnChange = nullptr;
  editor_.OnDblClick = nullptr;
  editor_.OnMouseMove = nullptr;
  editor_.OnResize = nullptr;
}

void EditorInfoWindow::ApplyLayout() {
  using namespace platform;
  // Colours, font, margins, marks, caret and scroll bars: the look the
  // control keeps for an information window, as the layout stores it.
  app::ApplyInformationWindowLook(editor_);
  editor_.SetReadOnly(true);
  // Reached by Tab after the buttons, and left by Tab again: the keyboard
  // scrolls and selects the log, it never types into it.
  editor_.SetTabStop(true);
  editor_.SetWantTabs(false);
  editor_.SetWantReturns(false);
  // Its caret hardly shows when the keyboard is there: a frame does.
  platform::ShowFocusFrame(editor_, true);
  // A screen reader speaks the lines the program adds while it has the
  // focus, as it speaks a terminal's output.
  platform::PresentAsLog(editor_, true);
  editor_.View().Brackets().Clear();

  editor::TEditorCursors& cursors = editor_.Caret().Cursors();
  cursors.SetDefaultCursor(crIBeam);
  cursors.SetDragSelCursor(crDrag);
  cursors.SetDragSelCopyCursor(2);
  cursors.SetInSelCursor(crDefault);
  cursors.SetLeftMarginCursor(1);

  const std::string stored = StoredLines();
  editor::TReader reader(stored);
  editor_.Lines().DefineProperties(reader);
}

// At the end of the last line, before the text's final break: the empty
// row after it would scroll the view a row past the last line.
void EditorInfoWindow::SetCaretToEnd() {
  int last = std::max(0, editor_.RowCount() - 1);
  if (last > 0 && editor_.RowEndKind(last) == editor::rkEof && editor_.RowText(last).empty()) {
    --last;
  }
  editor_.SetRowCol(last, editor_.DisplayLengthOf(last));
}

QWidget* EditorInfoWindow::Widget() {
  return platform::ControlWidget(editor_);
}

TTokenKind EditorInfoWindow::TokenKindFromPos(QPoint point) {
  return editor_.TokenKindFromPos(platform::TPoint{point.x(), point.y()});
}

std::string EditorInfoWindow::TokenFromCaret() {
  std::string text;
  editor_.TokenFromCaret(text);
  return text;
}

std::unique_ptr<InfoWindow> MakeEditorInfoWindow(QWidget* parent) {
  return std::make_unique<EditorInfoWindow>(parent);
}

}  // namespace app
