// The drawing surface of a control, as a device context offers it: text on a
// fixed grid of character cells, filled rectangles and pen lines. Drawing
// reaches the control's surface at once and shows on the next screen update;
// without a window every operation does nothing.
#pragma once

#include <span>
#include <string_view>

#include "platform/control/geometry.h"
#include "platform/control/graphics.h"

namespace platform {

namespace control_detail {
class ControlWindow;
}

class TCanvas {
 public:
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont Font;    // text output
  TBrush Brush;  // fills, and the cells behind text while solid
  TPen Pen;      // lines

  // Whether drawing reaches a surface (the control has a window).
  bool HandleAllocated() const { return window_ != nullptr; }

  // The rectangle drawing can change: the area being painted while the
  // control paints, else the whole client area. Empty without a window.
  TRect ClipRect() const;

  // Metrics of Font. False, and zeros, without a window.
  bool GetTextMetrics(TTextMetric& tm) const;

  // Writes the CP932 bytes of `text` with the cell at (x, y): every byte
  // advances by its entry of `dx` (bytes past the end of `dx` by its last
  // entry, all of them by the font's average width when `dx` is empty), so a
  // double-byte character covers the cells of both its bytes. Bytes that are
  // no CP932 character show a replacement mark. With ETO_OPAQUE the
  // rectangle is first filled with Brush.Color; with ETO_CLIPPED nothing is
  // drawn outside it. While Brush.Style is bsSolid the cells behind the text
  // are filled with Brush.Color. Underline and strike-out run across all cells.
  void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                  std::span<const int> dx = {});
  // The same with every byte advancing by `cell_width`.
  void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                  int cell_width) {
    ExtTextOut(x, y, options, rect, text, std::span<const int>(&cell_width, 1));
  }
  void TextOut(int x, int y, std::string_view text) { ExtTextOut(x, y, 0, nullptr, text); }

  // Fills with Brush (a clear brush fills nothing).
  void FillRect(const TRect& rect);
  // The outline with Pen, the inside with Brush.
  void Rectangle(const TRect& rect);
  // Pen lines; LineTo leaves out the end point, so that joined lines meet once.
  void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return pen_pos_; }

 private:
  friend class TCustomControl;
  TCanvas() = default;

  control_detail::ControlWindow* window_ = nullptr;
  TPoint pen_pos_;
};

}  // namespace platform
