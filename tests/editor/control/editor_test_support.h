// The real editor control in a window of its own, for the control's tests.
#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/control/editor.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"

namespace editor::testing {

// The one application object of a test program; never destroyed, since
// Qt's own globals may be gone by the time static objects are.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "editor_control_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

inline std::string Sjis(const char* utf8) {
  return *platform::Utf8ToCp932(utf8);
}

// Shows the editor's window, makes it the active one and gives the editor
// the focus, as a user's click on it would.
// `count` short lines "row 0" .. "row <count-1>", each ended by CR LF.
inline std::string NumberedRows(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "row " + std::to_string(i) + "\r\n";
  return text;
}

inline void ShowFocused(TEditor& editor) {
  QWidget* frame = platform::ControlWidget(editor);
  frame->show();
  (void)QTest::qWaitForWindowExposed(frame);
  QApplication::setActiveWindow(frame);
  (void)QTest::qWaitForWindowActive(frame);
  editor.SetFocus();
}

// A shown, focused editor of the given client size.
inline std::unique_ptr<TEditor> ShownEditor(int width, int height) {
  App();
  auto editor = std::make_unique<TEditor>();
  editor->SetBounds(0, 0, width, height);
  editor->HandleNeeded();
  ShowFocused(*editor);
  editor->Loaded();
  return editor;
}

// The surface once what is waiting to be painted has been painted, as the
// event loop would do next.
inline QImage Surface(TEditor& editor) {
  editor.Update();
  return platform::ControlSurface(editor);
}

// What a repaint of everything draws in the editor's present state.
inline QImage FullRepaint(TEditor& editor) {
  editor.Invalidate();
  editor.Update();
  return Surface(editor);
}

inline QColor Qc(platform::TColor c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Pixels of about colour `c` inside the rectangle: glyph edges are blended
// with the background, so each channel may be off a little.
inline int CountColour(const QImage& image, const platform::TRect& r, platform::TColor c) {
  const QColor want = Qc(c);
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, image.height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, image.width()); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - want.red()) <= 48 && std::abs(p.green() - want.green()) <= 48 &&
          std::abs(p.blue() - want.blue()) <= 48)
        ++n;
    }
  return n;
}

}  // namespace editor::testing
