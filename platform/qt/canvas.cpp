#include "platform/control/canvas.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <cstdlib>

#include "platform/qt/control_window.h"
#include "platform/qt/qt_graphics.h"

namespace platform {
namespace {

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// The pixels of a one-pixel line from `from` towards `to`, without `to`.
QPolygon LinePixels(QPoint from, QPoint to) {
  QPolygon points;
  int dx = std::abs(to.x() - from.x());
  int dy = -std::abs(to.y() - from.y());
  int sx = from.x() < to.x() ? 1 : -1;
  int sy = from.y() < to.y() ? 1 : -1;
  int err = dx + dy;
  QPoint p = from;
  while (p != to) {
    points << p;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      p.rx() += sx;
    }
    if (e2 <= dx) {
      err += dx;
      p.ry() += sy;
    }
  }
  return points;
}

}  // namespace

TRect TCanvas::ClipRect() const {
  if (!window_ || !window_->CanDraw()) return {};
  QRect r = window_->ClipRect();
  return r.isEmpty() ? TRect{} : TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

bool TCanvas::GetTextMetrics(TTextMetric& tm) const {
  tm = {};
  if (!window_ || !window_->Frame()) return false;
  const auto& f = window_->FontOf(Font);
  tm.tmAscent = f.ascent;
  tm.tmDescent = f.descent;
  tm.tmHeight = f.ascent + f.descent;
  tm.tmInternalLeading = f.internal_leading;
  tm.tmExternalLeading = f.leading;
  tm.tmAveCharWidth = f.average_width;
  tm.tmMaxCharWidth = f.max_width;
  return true;
}

void TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                         std::span<const int> dx) {
  if (!window_ || !window_->CanDraw()) return;
  const auto& f = window_->FontOf(Font);
  const int height = f.ascent + f.descent;
  int width = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    width += control_detail::GridText::AdvanceOf(dx, i, f.average_width);
  const QRect cells(x, y, width, height);
  const QRect box = rect ? ToQRect(*rect) : QRect();
  const bool clipped = rect && (options & ETO_CLIPPED);
  const bool opaque = rect && (options & ETO_OPAQUE);

  QPainter& p = window_->Painter();
  if (clipped) window_->ClipTo(box);
  const QColor background = ToQColor(Brush.Color);
  if (opaque) p.fillRect(box, background);
  if (Brush.Style == bsSolid && !(opaque && box.contains(cells))) p.fillRect(cells, background);
  if (!text.empty()) {
    const QColor colour = ToQColor(Font.Color);
    window_->Text().Draw(p, f.font, x, y, text, dx, f.average_width, colour);
    if (Font.Style.Contains(fsUnderline))
      p.fillRect(QRect(x, y + f.ascent + f.underline_pos, width, f.line_width), colour);
    if (Font.Style.Contains(fsStrikeOut))
      p.fillRect(QRect(x, y + f.ascent - f.strike_out_pos, width, f.line_width), colour);
  }
  if (clipped) window_->Unclip();

  // Glyphs may reach a little beyond their cells (italics); the flush
  // covers them.
  QRect touched = cells.adjusted(-f.max_width, 0, f.max_width, 0);
  if (opaque) touched |= box;
  if (clipped) touched &= box;
  window_->MarkDirty(touched);
}

void TCanvas::FillRect(const TRect& rect) {
  if (!window_ || !window_->CanDraw() || Brush.Style == bsClear) return;
  const QRect r = ToQRect(rect);
  window_->Painter().fillRect(r, ToQColor(Brush.Color));
  window_->MarkDirty(r);
}

void TCanvas::Rectangle(const TRect& rect) {
  if (!window_ || !window_->CanDraw()) return;
  FillRect(rect);
  if (Pen.Style == psClear || rect.IsEmpty()) return;
  const int right = rect.Right - 1;
  const int bottom = rect.Bottom - 1;
  MoveTo(rect.Left, rect.Top);
  LineTo(right, rect.Top);
  LineTo(right, bottom);
  LineTo(rect.Left, bottom);
  LineTo(rect.Left, rect.Top);
}

void TCanvas::LineTo(int x, int y) {
  const QPoint from(pen_pos_.X, pen_pos_.Y);
  const QPoint to(x, y);
  pen_pos_ = {x, y};
  if (!window_ || !window_->CanDraw() || Pen.Style == psClear || from == to) return;
  QPainter& p = window_->Painter();
  const QColor colour = ToQColor(Pen.Color);
  if (Pen.Width <= 1 && Pen.Style == psSolid) {
    p.setPen(QPen(colour, 1));
    p.drawPoints(LinePixels(from, to));
  } else {
    QPen pen(colour, std::max(1, Pen.Width));
    pen.setStyle(Pen.Style == psDash  ? Qt::DashLine
                 : Pen.Style == psDot ? Qt::DotLine
                                      : Qt::SolidLine);
    p.setPen(pen);
    p.drawLine(from, to);
  }
  const int grow = std::max(1, Pen.Width);
  window_->MarkDirty(QRect(from, to).normalized().adjusted(-grow, -grow, grow, grow));
}

}  // namespace platform
