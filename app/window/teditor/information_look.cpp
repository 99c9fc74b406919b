#include "app/window/teditor/information_look.h"

#include "editor/control/editor.h"

namespace app {

void ApplyInformationWindowLook(editor::TEditor& editor) {
  using namespace editor;
  using namespace platform;
  TEditorCaret& caret = editor.Caret();
  caret.SetAutoCursor(true);
  caret.SetAutoIndent(true);
  caret.SetFreeCaret(true);
  caret.SetRowSelect(true);
  caret.SetSelMove(true);
  caret.SetInTab(false);
  caret.SetKeepCaret(false);
  caret.SetLockScroll(false);
  caret.SetNextLine(false);
  caret.SetPrevSpaceIndent(false);
  caret.SetSoftTab(false);
  caret.SetTabIndent(false);
  caret.SetStyle(csDefault);
  caret.SetTabSpaceCount(8);

  editor.SetColor(clBlack);
  TFont font = editor.Font();
  font.Name = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
  font.Height = -13;
  font.Color = clWhite;
  editor.SetFont(font);

  TEditorMarks& marks = editor.Marks();
  marks.EofMark().SetVisible(false);
  marks.EofMark().SetColor(clGray);
  marks.RetMark().SetVisible(false);
  marks.RetMark().SetColor(clGray);
  marks.Underline().SetVisible(true);
  marks.Underline().SetColor(clGray);

  TEditorMargin& margin = editor.Margin();
  margin.SetCharacter(0);
  margin.SetLeft(4);
  margin.SetLine(0);
  margin.SetTop(2);

  editor.SetScrollBars(ssBoth);
  editor.SetUndoListMax(64);

  TEditorViewInfo& view = editor.View();
  TEditorColors& colors = view.Colors();
  colors.SetAllBkColor(clBlack);
  colors.SetAllColor(clWhite);
  colors.SetAllStyle({});
  colors.Url().SetColor(clAqua);
  colors.Url().SetStyle({fsUnderline});
  colors.Mail().SetColor(clYellow);
  colors.Mail().SetStyle({fsUnderline});
  colors.Select().SetColor(clWhite);
  colors.Select().SetBkColor(clNavy);
  view.SetUrl(true);
  view.SetMail(true);
  view.SetControlCode(false);

  editor.SetWordWrap(false);
  editor.WrapOption().SetWrapByte(80);
}

}  // namespace app
