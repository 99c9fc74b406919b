// A label for a text whose end matters most (a file name's serial number
// and extension): when the text is wider than the label, its beginning
// gives way to "…" and the end stays in view. The label's text, its tool
// tip and what a screen reader reads stay whole.
#pragma once

#include <QLabel>

namespace app {

class TailLabel : public QLabel {
 public:
  explicit TailLabel(QWidget* parent) : QLabel(parent) {}

  // The text as the label shows it at its present width.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
