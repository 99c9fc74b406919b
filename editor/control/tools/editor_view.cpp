// editor-view: opens a CP932 text file in an editor control, to see and try
// the control by hand.
//
//   editor-view [--plain] FILE [--picture PNG]
//
// The control shows the file in the information window's black colours, or
// with --plain in its own defaults. It is not read-only. The arrow keys,
// Page Up and Page Down, the wheel, the scroll bars and a click move the
// caret and the view; Shift with them selects; Insert switches between the
// stream and the box selection. With --picture the window (border and
// scroll bars included) is drawn into a PNG file and the program ends.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "editor/control/editor.h"
#include "editor/control/information_look.h"
#include "platform/qt/control_widget.h"
#include "platform/qt/virtual_keys.h"

namespace {

using namespace platform;

// The control with just enough input handling to look around in a file.
class TViewEditor : public editor::TEditor {
 protected:
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_KEYDOWN:
        Key(static_cast<int>(m.WParam));
        return;
      case WM_LBUTTONDOWN: {
        int col = 0;
        int row = 0;
        PixelToColRow(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), true, col, row);
        MoveCaret(row, col, (m.WParam & MK_SHIFT) != 0);
        break;
      }
      case WM_MOUSEWHEEL:
        SetTopRow(TopRow() - 3 * GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA);
        return;
      case WM_VSCROLL:
        Scroll(LOWORD(m.WParam), HIWORD(m.WParam), TopRow(), VisibleRows(), RowCount(),
               [this](int v) { SetTopRow(v); });
        return;
      case WM_HSCROLL:
        Scroll(LOWORD(m.WParam), HIWORD(m.WParam), TopCol(), VisibleCols(), 8000,
               [this](int v) { SetTopCol(v); });
        return;
      default:
        break;
    }
    TEditor::Dispatch(m);
  }

 private:
  template <class Set>
  static void Scroll(int code, int pos, int now, int page, int end, Set set) {
    switch (code) {
      case SB_LINEUP:
        set(now - 1);
        break;
      case SB_LINEDOWN:
        set(now + 1);
        break;
      case SB_PAGEUP:
        set(now - page);
        break;
      case SB_PAGEDOWN:
        set(now + page);
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        set(pos);
        break;
      case SB_TOP:
        set(0);
        break;
      case SB_BOTTOM:
        set(end);
        break;
      default:
        break;
    }
  }

  void MoveCaret(int row, int col, bool select) {
    if (select && !Selected()) StartSelection();
    if (!select && Selected()) ClearSelection();
    SetRowCol(row, col);
    if (select) UpdateSelection();
  }

  void Key(int key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
      case VK_UP:
        MoveCaret(Row() - 1, Col(), shift);
        break;
      case VK_DOWN:
        MoveCaret(Row() + 1, Col(), shift);
        break;
      case VK_LEFT:
        MoveCaret(Row(), Col() - 1, shift);
        break;
      case VK_RIGHT:
        MoveCaret(Row(), Col() + 1, shift);
        break;
      case VK_HOME:
        MoveCaret(Row(), 0, shift);
        break;
      case VK_END:
        MoveCaret(Row(), DisplayLengthOf(Row()), shift);
        break;
      case VK_PRIOR:
        PageScroll(-VisibleRows());
        break;
      case VK_NEXT:
        PageScroll(VisibleRows());
        break;
      case VK_INSERT:
        SetSelectionMode(SelectionMode() == editor::smBox ? editor::smStream : editor::smBox);
        break;
      default:
        break;
    }
  }
};

int Usage() {
  std::fprintf(stderr, "usage: editor-view [--plain] FILE [--picture PNG]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool plain = false;
  std::string path;
  std::string picture;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--plain")
      plain = true;
    else if (arg == "--picture" && i + 1 < argc)
      picture = argv[++i];
    else if (!arg.empty() && arg[0] == '-')
      return Usage();
    else if (path.empty())
      path = arg;
    else
      return Usage();
  }
  if (path.empty()) return Usage();

  QApplication app(argc, argv);
  TViewEditor view;
  if (!plain)
    editor::ApplyInformationWindowLook(view);
  else
    view.SetScrollBars(editor::ssBoth);
  try {
    view.Lines().LoadFromFile(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "editor-view: cannot read %s: %s\n", path.c_str(), e.what());
    return 1;
  }
  view.SetBounds(80, 80, 960, 600);
  view.HandleNeeded();
  view.Loaded();
  QWidget* window = ControlWidget(view);
  window->setWindowTitle(QString::fromLocal8Bit(path.c_str()) + QStringLiteral(" - editor-view"));
  window->show();
  view.SetFocus();
  if (!picture.empty()) {
    QTimer::singleShot(200, [&] {
      view.Update();
      const bool saved = window->grab().save(QString::fromLocal8Bit(picture.c_str()));
      if (!saved) std::fprintf(stderr, "editor-view: cannot write %s\n", picture.c_str());
      app.exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
