#include "app/window/tail_label.h"

#include <QPainter>
#include <QStyle>

namespace app {

QString TailLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideLeft, contentsRect().width());
}

void TailLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

}  // namespace app
