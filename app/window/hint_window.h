// A small tool-tip window shown at a rectangle the caller chooses, in the
// layout's hint colours. It has a window only while a hint is shown.
#pragma once

#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

class QWidget;

namespace app {

class HintWindow {
 public:
  explicit HintWindow(QWidget* owner);
  ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  bool HandleAllocated() const { return label_ != nullptr; }
  void HandleNeeded();
  // Shows `text` in `rect` (screen coordinates); creates the window if needed.
  void ActivateHint(const QRect& rect, const QString& text);
  // Destroys the window; the hint disappears.
  void ReleaseHandle();

  // The font the hint is drawn (and measured) with.
  QFont Font() const;
  // The hint as shown, for whoever needs to look at it.
  const QLabel* label() const { return label_.data(); }

 private:
  QWidget* owner_;
  // A child window of the owner's window, so that it goes with it.
  QPointer<QLabel> label_;
};

}  // namespace app
