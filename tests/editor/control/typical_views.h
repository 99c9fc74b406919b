// Typical views of the control: the default look over mixed text, the
// information window's black look with wrapped addresses, the marks, and a
// box selection. The painting test checks the colours on their cells and
// editor-pictures draws them into pictures to look at.
#pragma once

#include <memory>
#include <random>
#include <string>

#include "tests/editor/control/editor_test_support.h"

namespace editor::testing {

// The information window's black colours.
inline void BlackScheme(TEditor& editor) {
  editor.SetColor(platform::clBlack);
  platform::TFont font = editor.Font();
  font.Color = platform::clWhite;
  editor.SetFont(font);
  TEditorColors& colors = editor.View().Colors();
  colors.SetAllBkColor(platform::clBlack);
  colors.SetAllColor(platform::clWhite);
  colors.Url().SetColor(platform::clAqua);
  colors.Url().SetStyle({platform::fsUnderline});
  colors.Mail().SetColor(platform::clYellow);
  colors.Mail().SetStyle({platform::fsUnderline});
  colors.Select().SetColor(platform::clWhite);
  colors.Select().SetBkColor(platform::clNavy);
  editor.View().SetUrl(true);
  editor.View().SetMail(true);
  editor.Margin().SetLeft(4);
  editor.Marks().Underline().SetVisible(true);
}

// Rows of log-like text mixing Japanese, half-width katakana, tabs,
// addresses and numbers; the same rows for the same count every time.
inline std::string MixedText(int rows) {
  const char* pieces[] = {
      "ログを書きました 2024-05-01 12:34 ",
      "http://www.example.jp/path?q=1 ",
      "mail@example.co.jp ",
      "全角の文字と half width ｶﾀｶﾅ ",
      "\"quoted string\" 123.45 ",
      "\tタブの後 ",
      "記号：【括弧】「かぎ」 ",
      "ascii_words and_more ",
  };
  std::mt19937 random(7);
  std::string text;
  for (int r = 0; r < rows; ++r) {
    const int n = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) text += Sjis(pieces[random() % std::size(pieces)]);
    text += "\r\n";
  }
  return text;
}

// The control's defaults over mixed text, the caret inside the third row.
inline std::unique_ptr<TEditor> PlainView() {
  auto editor = ShownEditor(640, 240);
  editor->Lines().SetTextStr(MixedText(20));
  editor->SetRowCol(2, 5);
  return editor;
}

// The information window's look, wrapped at 40 columns, with a web address
// broken over two rows and a mail address.
inline std::unique_ptr<TEditor> WrappedAddressesView() {
  auto editor = ShownEditor(480, 240);
  BlackScheme(*editor);
  editor->SetWordWrap(true);
  editor->WrapOption().SetWrapByte(40);
  editor->Lines().SetTextStr(
      Sjis("■□■ 情報ウインドウ ■□■\r\n詳しくは http://www.example.jp/pirukko/"
           "index.html をご覧ください。\r\nお問い合わせ: support-desk@example.co.jp "
           "または https://example.com/contact?lang=ja まで\r\n"));
  editor->SetRowCol(0, 0);
  return editor;
}

// Return and end marks, and a tab at the start of a row.
inline std::unique_ptr<TEditor> MarksView() {
  auto editor = ShownEditor(480, 200);
  BlackScheme(*editor);
  editor->Marks().RetMark().SetVisible(true);
  editor->Marks().EofMark().SetVisible(true);
  editor->Lines().SetTextStr(Sjis("一行目\r\n\tタブの後\r\n最後の行"));
  editor->SetRowCol(1, 0);
  return editor;
}

// A stream selection from column 1 of the first row to column 4 of the
// second, whose row begins with double-byte characters.
inline std::unique_ptr<TEditor> StreamSelectionView() {
  auto editor = ShownEditor(640, 200);
  BlackScheme(*editor);
  editor->Lines().SetTextStr(Sjis("abcd\r\nあいう\r\nxy"));
  editor->SetRowCol(0, 1);
  editor->StartSelection();
  editor->SetRowCol(1, 4);
  editor->UpdateSelection();
  return editor;
}

// The same corners as a box: columns 1 to 4 of two rows, cutting no
// double-byte character.
inline std::unique_ptr<TEditor> BoxSelectionView() {
  auto editor = StreamSelectionView();
  editor->SetSelectionMode(smBox);
  return editor;
}

}  // namespace editor::testing
