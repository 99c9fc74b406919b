// The window behind a TCustomControl: its construction and geometry, the
// surface and its painting, the caret and the scroll bars. The widgets are
// in control_frame.cpp, the keyboard and mouse in control_input.cpp and the
// input method in control_input_method.cpp.
#include "platform/qt/control_window.h"

#include "platform/qt/accessible_control.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>
#include <optional>

#include "platform/qt/control_frame.h"
#include "platform/qt/control_state.h"
#include "platform/qt/qt_graphics.h"

namespace platform::control_detail {

ControlWindow::Busy::~Busy() {
  if (--w_.busy_ == 0 && w_.retired_ && w_.frame_) w_.frame_->deleteLater();
}

// --- Construction -----------------------------------------------------------------

ControlWindow::ControlWindow(TCustomControl& control, const TCreateParams& params,
                             const QRect& bounds)
    : control_(&control), params_(params) {
  InstallAccessibleFactory();
  TCustomControl::State& st = StateOf(control);
  frame_ = new FrameWidget(this, st.parent);
  client_ = new ClientWidget(this, frame_);
  frame_->setFocusProxy(client_);
  auto* filter = new BarFilter(this, frame_);
  for (int which : {SB_HORZ, SB_VERT}) {
    auto* bar = new QScrollBar(which == SB_VERT ? Qt::Vertical : Qt::Horizontal, frame_);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setRange(0, 0);
    bar->setEnabled(false);
    bar->hide();
    bar->installEventFilter(filter);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                     [this, which](int action) { ScrollAction(which, action); });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar,
                     [this, which] { ScrollReleased(which, true); });
    bars_[which] = bar;
  }
  corner_ = new QWidget(frame_);
  corner_->setAutoFillBackground(true);
  corner_->setBackgroundRole(QPalette::Button);
  corner_->hide();
  QObject::connect(&blink_, &QTimer::timeout, [this] {
    caret_.blink_on = !caret_.blink_on;
    UpdateCaretArea();
  });
  frame_->hint_ = bounds.size();
  frame_->setGeometry(bounds);
  ApplyImeEnabled();
}

ControlWindow::~ControlWindow() {
  blink_.stop();
  if (painter_.isActive()) painter_.end();
  if (frame_) {
    frame_->owner_ = nullptr;
    if (client_) client_->window_ = nullptr;
    delete frame_;
  }
}

void ControlWindow::Retire(std::unique_ptr<ControlWindow> window) {
  if (!window) return;
  window->control_ = nullptr;
  window->blink_.stop();
  if (window->busy_ == 0 || !window->frame_) return;  // deleted now, with its widgets
  // Inside one of its own events: the widgets go after it, and the window with them.
  window->retired_ = true;
  window->frame_->hide();
  window.release();
}

void ControlWindow::FrameDestroyed() {
  if (painter_.isActive()) painter_.end();
  blink_.stop();
  if (client_) client_->window_ = nullptr;
  frame_ = nullptr;
  client_ = nullptr;
  bars_ = {};
  corner_ = nullptr;
  if (retired_) delete this;
}

ControlWindow* ControlWindow::Of(const TCustomControl& control) {
  ControlWindow* w = control.state_->window.get();
  return w && w->frame_ ? w : nullptr;
}

TCustomControl::State& ControlWindow::StateOf(TCustomControl& control) {
  return *control.state_;
}

QWidget* ControlWindow::Frame() const {
  return frame_;
}
QWidget* ControlWindow::Client() const {
  return client_;
}

LRESULT ControlWindow::Send(std::uint32_t msg, WPARAM wparam, LPARAM lparam) {
  if (!control_) return 0;
  Busy busy(*this);
  return control_->Perform(msg, wparam, lparam);
}

// --- Geometry -----------------------------------------------------------------------

void ControlWindow::ApplyParams(const TCreateParams& params) {
  params_ = params;
  if (frame_) frame_->update();
  SyncGeometry();
}

void ControlWindow::SetBounds(const QRect& bounds) {
  if (!frame_) return;
  frame_->hint_ = bounds.size();
  frame_->updateGeometry();
  frame_->setGeometry(bounds);
  SyncGeometry();
}

QRect ControlWindow::Bounds() const {
  return frame_ ? frame_->geometry() : QRect();
}

void ControlWindow::SyncGeometry() {
  if (!frame_ || !client_ || !control_) return;
  const int border = (params_.ExStyle & WS_EX_CLIENTEDGE) ? 2 : (params_.Style & WS_BORDER) ? 1 : 0;
  const bool vertical = params_.Style & WS_VSCROLL;
  const bool horizontal = params_.Style & WS_HSCROLL;
  const int extent = frame_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const QSize outer = frame_->size();
  const int cw = std::max(0, outer.width() - 2 * border - (vertical ? extent : 0));
  const int ch = std::max(0, outer.height() - 2 * border - (horizontal ? extent : 0));
  client_->setGeometry(border, border, cw, ch);
  bars_[SB_VERT]->setGeometry(border + cw, border, extent, ch);
  bars_[SB_VERT]->setVisible(vertical);
  bars_[SB_HORZ]->setGeometry(border, border + ch, cw, extent);
  bars_[SB_HORZ]->setVisible(horizontal);
  corner_->setGeometry(border + cw, border + ch, extent, extent);
  corner_->setVisible(vertical && horizontal);

  const QSize size(cw, ch);
  const int scale = std::max(1, qRound(client_->devicePixelRatioF()));
  if (size == client_size_ && scale == surface_.Scale()) return;
  const QSize old = client_size_;
  const int old_scale = surface_.Scale();
  client_size_ = size;
  EndPainter();
  surface_.Resize(size, scale, ColorOf(StateOf(*control_).color));

  // What the window did not show before must be painted; a class that asks
  // for it repaints everything when its width or height changes.
  const QRect all(QPoint(0, 0), size);
  const bool repaint_all = old.width() < 0 || scale != old_scale ||
                           ((params_.WindowClassStyle & CS_HREDRAW) && old.width() != cw) ||
                           ((params_.WindowClassStyle & CS_VREDRAW) && old.height() != ch);
  QRegion fresh = repaint_all ? QRegion(all) : QRegion(all) - QRegion(QRect(QPoint(0, 0), old));
  invalid_ &= all;
  erase_ &= all;
  if (!fresh.isEmpty()) {
    invalid_ |= fresh;
    erase_ |= fresh;
    client_->update(fresh);
  }
  Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
}

// --- Painting -----------------------------------------------------------------------

bool ControlWindow::CanDraw() const {
  return frame_ && !surface_.Image().isNull() && !surface_.Size().isEmpty();
}

QPainter& ControlWindow::Painter() {
  if (!painter_.isActive()) {
    painter_.begin(&surface_.Image());
    if (paint_clip_) painter_.setClipRegion(*paint_clip_);
  }
  return painter_;
}

void ControlWindow::EndPainter() {
  if (painter_.isActive()) painter_.end();
}

void ControlWindow::SetPaintClip(const std::optional<QRegion>& clip) {
  paint_clip_ = clip;
  if (!painter_.isActive()) return;
  if (clip)
    painter_.setClipRegion(*clip);
  else
    painter_.setClipping(false);
}

QRect ControlWindow::ClipRect() const {
  if (!CanDraw()) return QRect();
  QRect all(QPoint(0, 0), client_size_);
  return paint_clip_ ? paint_clip_->boundingRect() & all : all;
}

void ControlWindow::ClipTo(const QRect& rect) {
  QPainter& p = Painter();
  p.setClipRect(rect, paint_clip_ ? Qt::IntersectClip : Qt::ReplaceClip);
}

void ControlWindow::Unclip() {
  if (!painter_.isActive()) return;
  if (paint_clip_)
    painter_.setClipRegion(*paint_clip_);
  else
    painter_.setClipping(false);
}

const ControlWindow::FontInfo& ControlWindow::FontOf(const TFont& font) {
  if (have_font_ && font == last_font_) return last_info_;
  FontInfo& f = last_info_;
  f.font = ToQFont(font);
  QFontMetrics m(f.font);
  f.ascent = m.ascent();
  f.descent = m.descent();
  f.leading = std::max(0, m.leading());
  f.internal_leading = std::max(0, f.ascent + f.descent - f.font.pixelSize());
  // The cell of a single-byte character: the width of "x", as desktops
  // define the average width of a font.
  f.average_width = m.horizontalAdvance(QLatin1Char('x'));
  f.max_width = m.maxWidth();
  f.underline_pos = m.underlinePos();
  f.strike_out_pos = m.strikeOutPos();
  f.line_width = std::max(1, m.lineWidth());
  last_font_ = font;
  have_font_ = true;
  return f;
}

QColor ControlWindow::ColorOf(TColor color) const {
  return ToQColor(color);
}

void ControlWindow::FillBackground() {
  if (!CanDraw() || !control_) return;
  Painter().fillRect(ClipRect(), ColorOf(StateOf(*control_).color));
  MarkDirty(ClipRect());
}

void ControlWindow::MarkDirty(const QRect& rect) {
  dirty_ |= rect;
  if (flush_pending_ || redraw_suspended_ || !client_) return;
  flush_pending_ = true;
  // Drawing happens at once; showing it waits for the event loop, so that
  // a run of drawing costs one screen update.
  QTimer::singleShot(0, client_, [this] {
    flush_pending_ = false;
    if (!redraw_suspended_ && client_ && !dirty_.isEmpty()) client_->update(dirty_);
    if (!redraw_suspended_) dirty_ = QRect();
  });
}

void ControlWindow::Invalidate(const QRect* rect, bool erase) {
  if (!CanDraw()) return;
  const QRect all(QPoint(0, 0), client_size_);
  const QRect r = rect ? (*rect & all) : all;
  if (r.isEmpty()) return;
  invalid_ |= r;
  if (erase) erase_ |= r;
  if (client_ && !redraw_suspended_) client_->update(r);
}

void ControlWindow::UpdateNow() {
  if (painting_ || redraw_suspended_ || invalid_.isEmpty() || !control_ || !CanDraw()) return;
  Busy busy(*this);
  painting_ = true;
  const QRegion region = invalid_;
  const QRegion erase = erase_ & region;
  invalid_ = QRegion();
  erase_ = QRegion();
  if (!erase.isEmpty()) {
    SetPaintClip(erase);
    Send(WM_ERASEBKGND, 0, 0);
  }
  SetPaintClip(region);
  Send(WM_PAINT, 0, 0);
  SetPaintClip(std::nullopt);
  painting_ = false;
  MarkDirty(region.boundingRect());
}

void ControlWindow::Scroll(int dx, int dy, const QRect* scroll, const QRect* clip, QRect* update,
                           unsigned flags) {
  if (update) *update = QRect();
  if (!CanDraw()) return;
  const QRect all(QPoint(0, 0), client_size_);
  const QRect area = (scroll ? *scroll : all) & (clip ? *clip : all) & all;
  if (area.isEmpty() || (dx == 0 && dy == 0)) return;
  EndPainter();
  surface_.Scroll(area, dx, dy);

  // Parts still waiting to be painted travel with their pixels.
  auto shift = [&](QRegion& r) {
    QRegion inside = r & area;
    r = (r - area) | (inside.translated(dx, dy) & area);
  };
  shift(invalid_);
  shift(erase_);

  const QRegion uncovered = QRegion(area) - QRegion(area.translated(dx, dy) & area);
  if (flags & SW_INVALIDATE) {
    invalid_ |= uncovered;
    if (flags & SW_ERASE) erase_ |= uncovered;
    if (client_ && !redraw_suspended_ && !uncovered.isEmpty()) client_->update(uncovered);
  }
  if (update) *update = uncovered.boundingRect();
  MarkDirty(area);
}

void ControlWindow::SetRedraw(bool on) {
  redraw_suspended_ = !on;
  if (!on || !client_) return;
  if (!dirty_.isEmpty()) {
    QRect pending = dirty_;
    dirty_ = QRect();
    MarkDirty(pending);
  }
  if (!invalid_.isEmpty()) client_->update(invalid_);
}

void ControlWindow::PaintEvent(QWidget* widget, const QRegion& region) {
  Busy busy(*this);
  if (!control_) return;
  if (std::max(1, qRound(widget->devicePixelRatioF())) != surface_.Scale()) SyncGeometry();
  UpdateNow();
  EndPainter();
  QPainter p(widget);
  const int s = surface_.Scale();
  for (const QRect& r : region)
    p.drawImage(r, surface_.Image(), QRect(r.topLeft() * s, r.size() * s));

  if (!preedit_.isEmpty()) {
    PaintComposition(p);
  } else if (CaretVisible() && caret_.blink_on) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(CaretRect(), Qt::white);
  }
  if (StateOf(*control_).focus_frame && client_ && client_->hasFocus()) {
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(ColorOf(StateOf(*control_).font.Color));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(0, 0), client_size_).adjusted(0, 0, -1, -1));
  }
}

// --- Caret --------------------------------------------------------------------------

QRect ControlWindow::CaretRect() const {
  return QRect(caret_.pos, QSize(std::max(1, caret_.width), std::max(1, caret_.height)));
}

void ControlWindow::UpdateCaretArea() {
  if (client_ && caret_.exists) client_->update(CaretRect());
}

void ControlWindow::RestartBlink() {
  caret_.blink_on = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (CaretVisible() && flash > 0)
    blink_.start(flash / 2);
  else
    blink_.stop();
  UpdateCaretArea();
}

bool ControlWindow::CreateCaret(int width, int height) {
  if (caret_.exists) DestroyCaret();
  caret_.exists = true;
  caret_.width = width;
  caret_.height = height;
  caret_.hide_level = 1;
  RestartBlink();
  return true;
}

bool ControlWindow::DestroyCaret() {
  if (!caret_.exists) return false;
  UpdateCaretArea();
  caret_.exists = false;
  blink_.stop();
  return true;
}

bool ControlWindow::ShowCaret() {
  if (!caret_.exists) return false;
  if (caret_.hide_level > 0 && --caret_.hide_level == 0) RestartBlink();
  return true;
}

bool ControlWindow::HideCaret() {
  if (!caret_.exists) return false;
  if (caret_.hide_level++ == 0) {
    blink_.stop();
    UpdateCaretArea();
  }
  return true;
}

bool ControlWindow::SetCaretPos(int x, int y) {
  if (!caret_.exists) return false;
  UpdateCaretArea();
  caret_.pos = QPoint(x, y);
  RestartBlink();
  return true;
}

bool ControlWindow::GetCaretPos(QPoint& p) const {
  if (!caret_.exists) return false;
  p = caret_.pos;
  return true;
}

// --- Scroll bars --------------------------------------------------------------------

int ControlWindow::SetScrollInfo(int which, const TScrollInfo& info) {
  TScrollInfo& s = scroll_[which];
  if (info.fMask & SIF_RANGE) {
    s.nMin = info.nMin;
    s.nMax = std::max(info.nMin, info.nMax);
  }
  if (info.fMask & SIF_PAGE) s.nPage = info.nPage;
  if (info.fMask & SIF_POS) s.nPos = info.nPos;
  const long long span = static_cast<long long>(s.nMax) - s.nMin + 1;
  if (s.nPage > span) s.nPage = static_cast<unsigned>(span);
  const int last = std::max(s.nMin, s.nMax - std::max(0, static_cast<int>(s.nPage) - 1));
  s.nPos = std::clamp(s.nPos, s.nMin, last);
  s.nTrackPos = s.nPos;
  if (QScrollBar* bar = bars_[which]) {
    bar->setRange(s.nMin, last);
    bar->setPageStep(std::max(1, static_cast<int>(s.nPage)));
    bar->setSingleStep(1);
    if (!bar->isSliderDown() || bar->value() != s.nPos) bar->setValue(s.nPos);
    // Nothing to scroll: the bar stays, disabled, so that the client keeps its size.
    bar->setEnabled(last > s.nMin);
  }
  return s.nPos;
}

void ControlWindow::GetScrollInfo(int which, TScrollInfo& info) const {
  const TScrollInfo& s = scroll_[which];
  if (info.fMask & SIF_RANGE) {
    info.nMin = s.nMin;
    info.nMax = s.nMax;
  }
  if (info.fMask & SIF_PAGE) info.nPage = s.nPage;
  if (info.fMask & SIF_POS) info.nPos = s.nPos;
  if (info.fMask & SIF_TRACKPOS)
    info.nTrackPos = bars_[which] ? bars_[which]->sliderPosition() : s.nPos;
}

void ControlWindow::ScrollAction(int which, int action) {
  QScrollBar* bar = bars_[which];
  if (!bar) return;
  int code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    case QAbstractSlider::SliderMove:
      code = SB_THUMBTRACK;
      break;
    default:
      return;
  }
  // The bar moves only when the control sets its position.
  if (code != SB_THUMBTRACK) bar->setSliderPosition(bar->value());
  const int track = code == SB_THUMBTRACK ? bar->sliderPosition() : 0;
  Send(which == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, track), 0);
}

void ControlWindow::ScrollReleased(int which, bool thumb) {
  QScrollBar* bar = bars_[which];
  if (!bar) return;
  const std::uint32_t msg = which == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  if (thumb) Send(msg, MAKEWPARAM(SB_THUMBPOSITION, bar->sliderPosition()), 0);
  Send(msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

// --- Cursor, posting ---------------------------------------------------------------

void ControlWindow::ApplyCursor() {
  screen_cursor_ = false;
  if (client_ && control_) client_->setCursor(CursorFor(StateOf(*control_).cursor));
}

void ControlWindow::SetScreenCursor(TCursor cursor) {
  if (!client_) return;
  client_->setCursor(CursorFor(cursor));
  screen_cursor_ = true;
}

void ControlWindow::Post(const TMessage& message) {
  if (!client_) return;
  QTimer::singleShot(0, client_,
                     [this, message] { Send(message.Msg, message.WParam, message.LParam); });
}

}  // namespace platform::control_detail
