// The pixels of a control's client area, kept between screen updates so
// that the control can draw at any time and scroll by moving pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

namespace platform::control_detail {

class Surface {
 public:
  // Logical size; the image holds `scale` device pixels per pixel. Pixels
  // that existed stay where they are; new ones take `fill`.
  void Resize(QSize size, int scale, const QColor& fill);

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }
  QSize Size() const { return size_; }
  int Scale() const { return scale_; }

  // Moves the pixels inside `area` by (dx, dy); what would land outside
  // `area` is dropped, what is uncovered keeps its old pixels.
  void Scroll(const QRect& area, int dx, int dy);

 private:
  QImage image_;
  QSize size_;
  int scale_ = 1;
};

}  // namespace platform::control_detail
