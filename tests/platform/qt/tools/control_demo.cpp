// A small control on the control base, to see and try it by hand: rows of
// Japanese and ASCII text on the cell grid, a caret moved by the arrow keys
// and the mouse, scrolling by the bars, the wheel and Page Up / Page Down,
// the margin cursor, and typed or composed text shown in the log line.
//
//   control_demo                 a window on the desktop
//   control_demo picture.png     the window drawn into a picture, then exit
#include <QApplication>
#include <QTimer>
#include <string>

#include "platform/control/custom_control.h"
#include "platform/control/virtual_keys.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"

namespace {

using namespace platform;

class DemoControl : public TCustomControl {
 public:
  DemoControl() {
    TFont font;
    font.Name = *Utf8ToCp932("ＭＳ ゴシック");
    font.Height = -13;
    font.Color = clWhite;
    SetFont(font);
    SetColor(clBlack);
    SetCursor(crIBeam);
    SetTabStop(true);
    for (int i = 0; i < 200; ++i)
      rows_.push_back(*Utf8ToCp932(std::to_string(i) + ": ■□■ 情報ウインドウ ■□■ text " +
                                   std::string(i % 7, '-') + " http://example.com/"));
  }
  ~DemoControl() override { DestroyHandle(); }

 protected:
  void CreateParams(TCreateParams& params) override {
    params.Style |= WS_VSCROLL | WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
  }

  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_SIZE:
        TCustomControl::Dispatch(m);
        Metrics();
        return;
      case WM_SETFOCUS:
        CreateCaret(2, cell_h_);
        PlaceCaret();
        ShowCaret();
        return;
      case WM_KILLFOCUS:
        DestroyCaret();
        return;
      case WM_LBUTTONDOWN:
        if (!Focused()) SetFocus();
        MoveCaret((GET_Y_LPARAM(m.LParam) - kTop) / cell_h_ + top_ - row_,
                  (GET_X_LPARAM(m.LParam) - kLeft + cell_w_ / 2) / cell_w_ - col_);
        break;
      case WM_MOUSEMOVE:
        SetCursor(GET_X_LPARAM(m.LParam) < kLeft ? crHandPoint : crIBeam);
        break;
      case WM_KEYDOWN:
        if (m.WParam == VK_DOWN) MoveCaret(1, 0);
        if (m.WParam == VK_UP) MoveCaret(-1, 0);
        if (m.WParam == VK_RIGHT) MoveCaret(0, 1);
        if (m.WParam == VK_LEFT) MoveCaret(0, -1);
        if (m.WParam == VK_NEXT) ScrollTo(top_ + Visible());
        if (m.WParam == VK_PRIOR) ScrollTo(top_ - Visible());
        break;
      case WM_CHAR:
        Log("char " + std::to_string(m.WParam));
        break;
      case WM_IME_COMPOSITION:
        if (m.LParam & GCS_RESULTSTR) Log("composed " + ImeResultString());
        break;
      case WM_VSCROLL: {
        const int code = LOWORD(m.WParam);
        if (code == SB_LINEDOWN) ScrollTo(top_ + 1);
        if (code == SB_LINEUP) ScrollTo(top_ - 1);
        if (code == SB_PAGEDOWN) ScrollTo(top_ + Visible());
        if (code == SB_PAGEUP) ScrollTo(top_ - Visible());
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) ScrollTo(HIWORD(m.WParam));
        if (code == SB_TOP) ScrollTo(0);
        if (code == SB_BOTTOM) ScrollTo(static_cast<int>(rows_.size()));
        return;
      }
      default:
        break;
    }
    TCustomControl::Dispatch(m);
  }

  void Paint() override {
    TRect clip = Canvas().ClipRect();
    for (int y = kTop; y < clip.Bottom; y += cell_h_) DrawRow(top_ + (y - kTop) / cell_h_);
  }

 private:
  static constexpr int kLeft = 16;
  static constexpr int kTop = 2;

  void Metrics() {
    Canvas().Font = Font();
    TTextMetric tm;
    if (!Canvas().GetTextMetrics(tm)) return;
    cell_w_ = tm.tmAveCharWidth;
    cell_h_ = tm.tmHeight + tm.tmExternalLeading;
    TScrollInfo info;
    info.fMask = SIF_ALL;
    info.nMax = static_cast<int>(rows_.size()) + Visible() - 1;
    info.nPage = static_cast<unsigned>(Visible());
    info.nPos = top_;
    SetScrollInfo(SB_VERT, info, true);
    Invalidate();
  }
  int Visible() const { return std::max(1, (ClientHeight() - kTop) / std::max(1, cell_h_)); }

  void DrawRow(int row) {
    TCanvas& c = Canvas();
    c.Font = Font();
    c.Brush.Color = row == row_ ? RGB(0, 0, 0x60) : Color();
    c.Brush.Style = bsSolid;
    const int y = kTop + (row - top_) * cell_h_;
    TRect band{kLeft, y, ClientWidth(), y + cell_h_};
    std::string text = row < static_cast<int>(rows_.size()) ? rows_[row] : std::string();
    c.ExtTextOut(kLeft, y, ETO_OPAQUE | ETO_CLIPPED, &band, text, cell_w_);
    // The address in its own colour, underlined, over the row.
    if (auto at = text.find("http"); at != std::string::npos) {
      c.Font.Color = clAqua;
      c.Font.Style = TFontStyles{fsUnderline};
      c.ExtTextOut(kLeft + static_cast<int>(at) * cell_w_, y, ETO_CLIPPED, &band, text.substr(at),
                   cell_w_);
    }
  }

  void ScrollTo(int top) {
    top = std::clamp(top, 0, static_cast<int>(rows_.size()) - 1);
    const int d = top_ - top;
    if (d == 0) return;
    top_ = top;
    HideCaret();
    TRect area{kLeft, kTop, ClientWidth(), ClientHeight()};
    TRect uncovered;
    ScrollWindowEx(0, std::clamp(d, -Visible() - 1, Visible() + 1) * cell_h_, nullptr, &area,
                   &uncovered, SW_INVALIDATE);
    Update();
    SetScrollPos(SB_VERT, top_, true);
    PlaceCaret();
    ShowCaret();
  }

  void MoveCaret(int rows, int cols) {
    const int old = row_;
    row_ = std::clamp(row_ + rows, 0, static_cast<int>(rows_.size()) - 1);
    col_ = std::clamp(col_ + cols, 0, 200);
    for (int r : {old, row_}) {
      const int y = kTop + (r - top_) * cell_h_;
      TRect band{kLeft, y, ClientWidth(), y + cell_h_};
      InvalidateRect(&band, false);
    }
    if (row_ < top_) ScrollTo(row_);
    if (row_ >= top_ + Visible()) ScrollTo(row_ - Visible() + 1);
    Update();
    PlaceCaret();
  }

  void PlaceCaret() {
    const TPoint at{kLeft + col_ * cell_w_, kTop + (row_ - top_) * cell_h_};
    SetCaretPos(at.X, at.Y);
    SetImeCompositionWindow(at, Font());
  }

  void Log(const std::string& cp932) {
    rows_[0] = *Utf8ToCp932("0: ") + cp932;
    Repaint();
  }

  std::vector<std::string> rows_;
  int top_ = 0;
  int row_ = 0;
  int col_ = 0;
  int cell_w_ = 7;
  int cell_h_ = 14;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  DemoControl control;
  control.SetBounds(100, 100, 560, 300);
  control.HandleNeeded();
  QWidget* window = ControlWidget(control);
  window->setWindowTitle(QString::fromUtf8("制御の土台"));
  window->show();
  control.SetFocus();
  if (argc > 1) {
    QString path = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(300, [&, path] {
      control.Perform(WM_KEYDOWN, VK_DOWN);
      control.Perform(WM_KEYDOWN, VK_NEXT);
      QTimer::singleShot(100, [&, path] {
        window->grab().save(path);
        app.quit();
      });
    });
  }
  return app.exec();
}
