#include "app/window/teditor/editor_info_window.h"

#include "app/window/cp932_text.h"
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
  editor_.SetReadOnly(true);
  editor_.SetTabStop(false);
  editor_.SetColor(clBlack);
  TFont font = editor_.Font();
  font.Name = Cp932("ＭＳ ゴシック");
  font.Height = -13;
  font.Color = clWhite;
  editor_.SetFont(font);
  editor_.SetScrollBars(editor::ssBoth);
  editor_.SetWordWrap(false);
  editor_.SetUndoListMax(64);

  editor::TEditorMargin& margin = editor_.Margin();
  margin.SetLeft(4);
  margin.SetTop(2);
  margin.SetLine(0);
  margin.SetCharacter(0);

  editor::TEditorCaret& caret = editor_.Caret();
  caret.SetFreeCaret(true);
  caret.SetRowSelect(true);
  caret.SetAutoCursor(true);
  caret.SetTabSpaceCount(8);
  editor::TEditorCursors& cursors = caret.Cursors();
  cursors.SetDefaultCursor(crIBeam);
  cursors.SetDragSelCursor(crDrag);
  cursors.SetDragSelCopyCursor(2);
  cursors.SetInSelCursor(crDefault);
  cursors.SetLeftMarginCursor(1);

  editor::TEditorMarks& marks = editor_.Marks();
  marks.Underline().SetVisible(true);
  marks.Underline().SetColor(clGray);
  marks.EofMark().SetVisible(false);
  marks.RetMark().SetVisible(false);

  editor::TEditorViewInfo& view = editor_.View();
  view.SetUrl(true);
  view.SetMail(true);
  view.SetControlCode(false);
  view.Brackets().Clear();
  editor::TEditorColors& colors = view.Colors();
  colors.SetAllBkColor(clBlack);
  colors.SetAllColor(clWhite);
  colors.SetAllStyle({});
  colors.Url().SetColor(clAqua);
  colors.Url().SetStyle({fsUnderline});
  colors.Mail().SetColor(clYellow);
  colors.Mail().SetStyle({fsUnderline});
  colors.Select().SetBkColor(clNavy);
  colors.Select().SetColor(clWhite);

  const std::string stored = StoredLines();
  editor::TReader reader(stored);
  editor_.Lines().DefineProperties(reader);
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
