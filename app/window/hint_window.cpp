#include "app/window/hint_window.h"

#include <QLabel>
#include <QToolTip>

#include "ui/layout_look.h"

namespace app {

HintWindow::HintWindow(QWidget* owner) : owner_(owner) {}

HintWindow::~HintWindow() { ReleaseHandle(); }

void HintWindow::HandleNeeded() {
  if (label_) return;
  // A tool tip of the owner's window: it floats above it and takes neither
  // focus nor the mouse. Its parent places it where the desktop allows no
  // window at screen coordinates of its own (Wayland: a popup of the window,
  // the screen position turned into one relative to it).
  label_ = new QLabel(owner_ ? owner_->window() : nullptr,
                      Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
  label_->setObjectName(QStringLiteral("HintWindow"));
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->setAttribute(Qt::WA_ShowWithoutActivating);
  label_->setFont(Font());
  // The layout's hint colours, not the desktop's tool-tip theme: black on
  // pale yellow, like every other text of the window.
  label_->setPalette(ui::LayoutPalette());
  label_->setBackgroundRole(QPalette::ToolTipBase);
  label_->setForegroundRole(QPalette::ToolTipText);
  label_->setAutoFillBackground(true);
  label_->setFrameShape(QFrame::Box);
  label_->setLineWidth(1);
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setContentsMargins(2, 0, 0, 0);
  label_->setTextFormat(Qt::PlainText);
  if (owner_) label_->setScreen(owner_->screen());
}

void HintWindow::ActivateHint(const QRect& rect, const QString& text) {
  HandleNeeded();
  label_->setText(text);
  label_->setGeometry(rect);
  label_->show();
  label_->raise();
}

void HintWindow::ReleaseHandle() {
  delete label_.data();
  label_ = nullptr;
}

QFont HintWindow::Font() const {
  return QToolTip::font();
}

}  // namespace app
