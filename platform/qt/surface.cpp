#include "platform/qt/surface.h"

#include <QPainter>
#include <cstring>

namespace platform::control_detail {

void Surface::Resize(QSize size, int scale, const QColor& fill) {
  size = size.expandedTo(QSize(0, 0));
  if (size == size_ && scale == scale_ && !image_.isNull()) return;
  QImage next(size * scale, QImage::Format_RGB32);
  next.setDevicePixelRatio(scale);
  next.fill(fill);
  if (!image_.isNull() && scale == scale_) {
    QPainter p(&next);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), image_);
  }
  image_ = std::move(next);
  size_ = size;
  scale_ = scale;
}

void Surface::Scroll(const QRect& area, int dx, int dy) {
  const int s = scale_;
  QRect a = QRect(area.topLeft() * s, area.size() * s) & image_.rect();
  dx *= s;
  dy *= s;
  QRect dst = a.translated(dx, dy) & a;
  if (dst.isEmpty()) return;
  QRect src = dst.translated(-dx, -dy);
  const int bpp = 4;
  const qsizetype stride = image_.bytesPerLine();
  uchar* bits = image_.bits();
  auto copy_row = [&](int row) {
    std::memmove(bits + (dst.top() + row) * stride + dst.left() * bpp,
                 bits + (src.top() + row) * stride + src.left() * bpp,
                 static_cast<std::size_t>(dst.width()) * bpp);
  };
  // Rows are copied in the order that never reads a row already overwritten.
  if (dy > 0)
    for (int row = dst.height() - 1; row >= 0; --row) copy_row(row);
  else
    for (int row = 0; row < dst.height(); ++row) copy_row(row);
}

}  // namespace platform::control_detail
