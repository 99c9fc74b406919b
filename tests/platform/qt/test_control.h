// A control for the control base's tests: it records every message it
// receives and paints its update area in one colour, so that a test can see
// what the base asked for and where.
#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/control/custom_control.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"

namespace platform::testing {

// The one application object of a test program. It is never destroyed:
// Qt's own globals may be gone by the time static objects are.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "platform_qt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

inline std::string Sjis(const char* utf8) {
  return *Utf8ToCp932(utf8);
}

class TestControl : public TCustomControl {
 public:
  explicit TestControl(std::uint32_t style = 0) : style_(style) {}
  ~TestControl() override { DestroyHandle(); }

  std::vector<TMessage> messages;
  std::vector<TRect> paints;                  // Canvas.ClipRect() of every WM_PAINT
  TColor paint_colour = clBlue;               // what Paint fills its area with
  std::function<void(TMessage&)> on_message;  // runs before the base handling
  LRESULT dialog_code = 0;
  int beeps = 0;                      // refusals of input the base sounded
  bool repaint_all_on_resize = true;  // the class styles CS_HREDRAW | CS_VREDRAW

  void Create(int width = 200, int height = 100) {
    SetBounds(0, 0, width, height);
    HandleNeeded();
    messages.clear();
  }
  void Show() {
    QWidget* w = ControlWidget(*this);
    w->show();
    (void)QTest::qWaitForWindowExposed(w);
  }
  std::vector<TMessage> Of(std::uint32_t msg) const {
    std::vector<TMessage> found;
    for (const TMessage& m : messages)
      if (m.Msg == msg) found.push_back(m);
    return found;
  }
  std::vector<std::uint32_t> Ids() const {
    std::vector<std::uint32_t> ids;
    for (const TMessage& m : messages) ids.push_back(m.Msg);
    return ids;
  }
  QImage Surface() const { return ControlSurface(*this); }

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style |= style_;
    if (!repaint_all_on_resize) params.WindowClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
  }
  void Dispatch(TMessage& m) override {
    messages.push_back(m);
    if (on_message) on_message(m);
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = dialog_code;
      return;
    }
    TCustomControl::Dispatch(m);
  }
  void Beep() override { ++beeps; }
  void Paint() override {
    paints.push_back(Canvas().ClipRect());
    Canvas().Brush.Color = paint_colour;
    Canvas().Brush.Style = bsSolid;
    Canvas().FillRect(ClientRect());
  }

 private:
  std::uint32_t style_;
};

inline QColor Pixel(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

}  // namespace platform::testing
