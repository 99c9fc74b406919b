// The real editor control in a window of the offscreen platform, with plain
// colours that a test can find on its surface: black text on white, a
// selection in white on navy, no caret-row underline.
#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <memory>
#include <string>

#include "editor/control/editor.h"
#include "platform/colour.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"
#include "tests/editor/control/editor_test_support.h"

namespace editor::testing {

inline constexpr QRgb kPaper = 0xFFFFFFFF;
inline constexpr QRgb kSelectPaper = 0xFF000080;

// `Editor` is TEditor or a test's descendant of it.
template <class Editor>
class BasicEditorInWindow {
 public:
  explicit BasicEditorInWindow(int width = 400, int height = 200) {
    App();
    editor.SetBounds(0, 0, width, height);
    editor.SetColor(platform::clWhite);
    platform::TFont font = editor.Font();
    font.Color = platform::clBlack;
    editor.SetFont(font);
    editor.Marks().Underline().SetVisible(false);
    editor.View().Colors().Select().SetColor(platform::clWhite);
    editor.View().Colors().Select().SetBkColor(platform::clNavy);
    editor.HandleNeeded();
    editor.UpdateView();
    editor.Update();
  }
  ~BasicEditorInWindow() { editor.DestroyHandle(); }

  // Sets exactly this text (CP932 bytes): without a final line break its
  // last row ends the text. The caret goes to the start.
  void SetText(const std::string& text) {
    editor.ScreenStrings().Clear();
    if (!text.empty()) editor.ScreenStrings().ReplaceRows(0, 0, text);
    editor.SetRowCol(0, 0);
    editor.Update();
  }

  // Selects from (row, col) to the caret at (to_row, to_col), as a drag with
  // the mouse or Shift with the arrows does.
  void Select(int row, int col, int to_row, int to_col) {
    editor.SetRowCol(row, col);
    editor.StartSelection();
    editor.SetRowCol(to_row, to_col);
    editor.UpdateSelection();
  }

  QImage Surface() const { return platform::ControlSurface(editor); }

  // The client point in the middle of the cell (row, col) of the view.
  platform::TPoint CellPoint(int row, int col) const {
    return {editor.Margin().Left() + col * editor.CharWidth() + editor.CharWidth() / 4,
            editor.Margin().Top() + row * editor.RowHeight() + editor.CharHeight() / 2};
  }

  // The share of the pixels of cell (row, col) of the view in `colour`.
  double CellShare(const QImage& surface, int row, int col, QRgb colour) const {
    const int left = editor.Margin().Left() + col * editor.CharWidth();
    const int top = editor.Margin().Top() + row * editor.RowHeight();
    int hits = 0, all = 0;
    for (int y = top; y < top + editor.CharHeight(); ++y) {
      for (int x = left; x < left + editor.CharWidth(); ++x) {
        ++all;
        if (surface.pixel(x, y) == colour) ++hits;
      }
    }
    return all ? static_cast<double>(hits) / all : 0;
  }
  // A selected cell is mostly the selection's paper, even under a glyph.
  bool CellSelected(const QImage& surface, int row, int col) const {
    return CellShare(surface, row, col, kSelectPaper) > 0.5;
  }

  Editor editor;
};

using EditorInWindow = BasicEditorInWindow<TEditor>;

}  // namespace editor::testing
