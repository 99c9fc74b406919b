#include "platform/qt/control_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyle>
#include <QStyleHints>
#include <QTextCharFormat>
#include <QWheelEvent>
#include <QtDebug>
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/cp932.h"
#include "platform/qt/cell_text.h"
#include "platform/qt/control_state.h"
#include "platform/qt/key_map.h"
#include "platform/qt/qt_graphics.h"
#include "platform/qt/virtual_keys.h"

namespace platform::qt_detail {

// --- The widgets -------------------------------------------------------------

// The outer widget: the border, and the client and scroll bars inside it.
class FrameWidget : public QWidget {
 public:
  explicit FrameWidget(ControlWindow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}
  ~FrameWidget() override {
    if (owner_) owner_->FrameDestroyed();
  }
  ControlWindow* owner_;
  QSize hint_;  // the size the control was given, for layouts that ask

  QSize sizeHint() const override { return hint_.isValid() ? hint_ : QWidget::sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent*) override {
    if (owner_) owner_->SyncGeometry();
  }
  void paintEvent(QPaintEvent*) override {
    if (!owner_) return;
    const TCreateParams& params = owner_->params_;
    QPainter p(this);
    QRect r = rect();
    if (params.ExStyle & WS_EX_CLIENTEDGE) {
      // The sunken edge: shadow above and left, light below and right, twice.
      const QPalette& pal = palette();
      auto edge = [&](const QRect& e, const QColor& top_left, const QColor& bottom_right) {
        p.setPen(top_left);
        p.drawLine(e.left(), e.bottom() - 1, e.left(), e.top());
        p.drawLine(e.left(), e.top(), e.right() - 1, e.top());
        p.setPen(bottom_right);
        p.drawLine(e.left(), e.bottom(), e.right(), e.bottom());
        p.drawLine(e.right(), e.bottom(), e.right(), e.top());
      };
      edge(r, pal.color(QPalette::Mid), pal.color(QPalette::Light));
      edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Button));
    } else if (params.Style & WS_BORDER) {
      p.setPen(ToQColor(clWindowFrame));
      p.drawRect(r.adjusted(0, 0, -1, -1));
    }
  }
};

// The client area: shows the surface and the caret, and takes the input.
class ClientWidget : public QWidget {
 public:
  ClientWidget(ControlWindow* window, QWidget* parent) : QWidget(parent), window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    setMouseTracking(true);
  }
  ~ClientWidget() override {
    if (window_) window_->ClientDestroyed();
  }
  ControlWindow* window_;

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (window_) window_->PaintEvent(this, e->region());
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (window_) window_->KeyPress(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (window_) window_->KeyRelease(e);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (window_) window_->MouseEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (window_) window_->MouseEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (window_) window_->MouseEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (window_) window_->MouseEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override {
    if (window_) window_->Wheel(e);
  }
  void focusInEvent(QFocusEvent* e) override {
    // A popup menu borrows the keyboard without taking the focus away.
    if (window_ && e->reason() != Qt::PopupFocusReason) window_->Focus(true);
  }
  void focusOutEvent(QFocusEvent* e) override {
    if (window_ && e->reason() != Qt::PopupFocusReason) window_->Focus(false);
  }
  void enterEvent(QEnterEvent*) override {
    if (window_) window_->Hover(true);
  }
  void leaveEvent(QEvent*) override {
    if (window_) window_->Hover(false);
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    if (window_) window_->ContextMenu(e->globalPos(), e->reason() == QContextMenuEvent::Keyboard);
  }
  void inputMethodEvent(QInputMethodEvent* e) override {
    if (window_) window_->InputMethod(e);
  }
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
    return window_ ? window_->InputMethodQuery(query) : QVariant();
  }
  bool focusNextPrevChild(bool next) override {
    // A control that wants Tab keeps it instead of passing the focus on.
    if (window_ && window_->WantsTab()) return false;
    return QWidget::focusNextPrevChild(next);
  }
};

// Scroll bars: the end of a press, and the wheel, which scrolls the control.
class BarFilter : public QObject {
 public:
  BarFilter(ControlWindow* window, QObject* parent) : QObject(parent), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (!bar) return false;
    int which = bar->orientation() == Qt::Vertical ? SB_VERT : SB_HORZ;
    if (event->type() == QEvent::MouseButtonRelease && !bar->isSliderDown()) {
      // Let the bar finish its press first; the end comes after it.
      bar->event(event);
      window_->ScrollReleased(which, false);
      return true;
    }
    if (event->type() == QEvent::Wheel) {
      window_->Wheel(static_cast<QWheelEvent*>(event));
      return true;
    }
    return false;
  }

 private:
  ControlWindow* window_;
};

class ControlWindow::Busy {
 public:
  explicit Busy(ControlWindow& w) : w_(w) { ++w_.busy_; }
  ~Busy() {
    if (--w_.busy_ == 0 && w_.retired_ && w_.frame_) w_.frame_->deleteLater();
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  ControlWindow& w_;
};

namespace {

unsigned MouseKeys(Qt::MouseButtons buttons, bool shift, bool ctrl) {
  unsigned mk = 0;
  if (buttons & Qt::LeftButton) mk |= MK_LBUTTON;
  if (buttons & Qt::RightButton) mk |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) mk |= MK_MBUTTON;
  if (shift) mk |= MK_SHIFT;
  if (ctrl) mk |= MK_CONTROL;
  return mk;
}

// One character of `text` from UTF-16 index `i`: a surrogate pair is one.
qsizetype CharLength(const QString& text, qsizetype i) {
  return text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
}

// The CP932 form of one character typed or composed, if it has one. The yen
// and overline keys of a Japanese keyboard type the bytes 0x5C and 0x7E,
// which Japanese fonts show as those signs.
std::optional<std::string> CharCp932(const QString& one) {
  if (one == QChar(0x00A5)) return std::string("\\");
  if (one == QChar(0x203E)) return std::string("~");
  const QByteArray utf8 = one.toUtf8();
  return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// The CP932 form of text typed or composed. A character without one is
// left out and counted in `refused`: it is never replaced by another
// character.
std::string TypedCp932(const QString& text, int& refused) {
  std::string bytes;
  refused = 0;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = CharLength(text, i);
    const QString one = text.mid(i, n);
    i += n;
    if (const std::optional<std::string> cp932 = CharCp932(one))
      bytes += *cp932;
    else
      ++refused;
  }
  return bytes;
}

// The grid cells of a character being composed: those of its CP932 bytes;
// one without a CP932 form takes two when it is wide, else one.
int CharCells(const QString& one) {
  if (const std::optional<std::string> cp932 = CharCp932(one))
    return static_cast<int>(cp932->size());
  return one.toUcs4().value(0) >= 0x1100 ? 2 : 1;
}

bool HasDoubleByteChar(const std::string& bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char b) { return IsCp932LeadByte(static_cast<unsigned char>(b)); });
}

}  // namespace

// --- Construction -----------------------------------------------------------------

ControlWindow::ControlWindow(TCustomControl& control, const TCreateParams& params,
                             const QRect& bounds)
    : control_(&control), params_(params) {
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

void ControlWindow::ApplyImeEnabled() {
  if (!client_ || !control_) return;
  const bool on = StateOf(*control_).ime_enabled;
  client_->setAttribute(Qt::WA_InputMethodEnabled, on);
  if (!client_->hasFocus()) return;
  if (!on) QGuiApplication::inputMethod()->reset();
  QGuiApplication::inputMethod()->update(Qt::ImEnabled);
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

// --- Cursor, input method, posting --------------------------------------------------------

void ControlWindow::ApplyCursor() {
  screen_cursor_ = false;
  if (client_ && control_) client_->setCursor(CursorFor(StateOf(*control_).cursor));
}

void ControlWindow::SetScreenCursor(TCursor cursor) {
  if (!client_) return;
  client_->setCursor(CursorFor(cursor));
  screen_cursor_ = true;
}

void ControlWindow::SetImeCompositionWindow(QPoint point, const TFont& font, int cell_width,
                                            int row_height) {
  if (!preedit_.isEmpty() && client_) client_->update();
  ime_point_ = point;
  ime_cell_width_ = std::max(0, cell_width);
  ime_row_height_ = std::max(0, row_height);
  // The caret moves often and its font rarely.
  if (!(font == ime_tfont_) || ime_font_ == QFont()) {
    ime_tfont_ = font;
    ime_font_ = ToQFont(font);
  }
  if (client_ && client_->hasFocus())
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

void ControlWindow::Post(const TMessage& message) {
  if (!client_) return;
  QTimer::singleShot(0, client_,
                     [this, message] { Send(message.Msg, message.WParam, message.LParam); });
}

// --- Input ----------------------------------------------------------------------------

void ControlWindow::SetInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TCustomControl::State& st = StateOf(*control_);
  st.shift = modifiers & Qt::ShiftModifier;
  st.ctrl = modifiers & Qt::ControlModifier;
  st.alt = modifiers & Qt::AltModifier;
  st.buttons = buttons;
}

void ControlWindow::KeyPress(QKeyEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  TCustomControl::State& st = StateOf(*control_);
  SetInputState(e->modifiers(), st.buttons);
  const int key = e->key();
  // A modifier's own press may still carry the state from before it.
  if (key == Qt::Key_Shift) st.shift = true;
  if (key == Qt::Key_Control) st.ctrl = true;
  if (key == Qt::Key_Alt) st.alt = true;
  const bool system = st.alt && !st.ctrl;
  LPARAM data = 1 | ((static_cast<LPARAM>(e->nativeScanCode()) & 0xFF) << 16);
  if (IsExtendedKey(key, e->modifiers())) data |= KF_EXTENDED;
  if (st.alt) data |= KF_ALTDOWN;
  if (e->isAutoRepeat()) data |= KF_REPEAT;

  if (int vk = VirtualKeyOf(key, e->modifiers())) {
    st.keys_down[vk] = true;
    Send(system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), data);
    if (!control_) return;
  }
  e->accept();

  // The characters the key types, as the keyboard translation makes them.
  if (key == Qt::Key_Delete) return;
  if (st.ctrl && !st.alt) {
    int code = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
      code = key - Qt::Key_A + 1;
    else if (key == Qt::Key_BracketLeft || key == Qt::Key_Escape)
      code = 0x1B;
    else if (key == Qt::Key_Backslash)
      code = 0x1C;
    else if (key == Qt::Key_BracketRight)
      code = 0x1D;
    else if (key == Qt::Key_Backspace)
      code = 0x7F;
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
      code = 0x0A;
    else if (key == Qt::Key_Space)
      code = 0x20;
    if (code) Send(WM_CHAR, static_cast<WPARAM>(code), data);
    return;
  }
  QString text = e->text();
  if (key == Qt::Key_Backtab || key == Qt::Key_Tab) text = QStringLiteral("\t");
  if (key == Qt::Key_Return || key == Qt::Key_Enter) text = QStringLiteral("\r");
  if (key == Qt::Key_Backspace) text = QStringLiteral("\b");
  if (key == Qt::Key_Escape) text = QStringLiteral("\x1b");
  text.remove(QChar(0x7F));
  if (!text.isEmpty()) DeliverText(text, data, system);
}

void ControlWindow::DeliverText(const QString& text, LPARAM key_data, bool system) {
  int refused = 0;
  const std::string bytes = TypedCp932(text, refused);
  if (refused > 0) {
    Send(CM_INPUTREFUSED, static_cast<WPARAM>(refused), 0);
    if (!control_) return;
  }
  if (bytes.empty()) return;
  if (HasDoubleByteChar(bytes)) {
    // Japanese characters arrive as a finished composition, as they do from
    // the input method, so that the control inserts them whole, once.
    SendResult(bytes);
    return;
  }
  for (char b : bytes) {
    Send(system ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(b), key_data);
    if (!control_) return;
  }
}

void ControlWindow::SendResult(const std::string& bytes) {
  // The result string comes only this way: no character messages repeat
  // it afterwards, so nothing that waits in the event queue meanwhile can
  // come between them and turn them into stray characters.
  StateOf(*control_).ime_result = bytes;
  Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  if (control_) StateOf(*control_).ime_result.clear();
}

void ControlWindow::KeyRelease(QKeyEvent* e) {
  Busy busy(*this);
  if (!control_ || e->isAutoRepeat()) return;
  TCustomControl::State& st = StateOf(*control_);
  const bool system = (st.alt || e->key() == Qt::Key_Alt) && !st.ctrl;
  SetInputState(e->modifiers(), st.buttons);
  if (e->key() == Qt::Key_Shift) st.shift = false;
  if (e->key() == Qt::Key_Control) st.ctrl = false;
  if (e->key() == Qt::Key_Alt) st.alt = false;
  LPARAM data = 1 | ((static_cast<LPARAM>(e->nativeScanCode()) & 0xFF) << 16) | KF_REPEAT | KF_UP;
  if (IsExtendedKey(e->key(), e->modifiers())) data |= KF_EXTENDED;
  if (int vk = VirtualKeyOf(e->key(), e->modifiers())) {
    st.keys_down[vk] = false;
    Send(system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), data);
  }
  e->accept();
}

void ControlWindow::MouseEvent(QMouseEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  SetInputState(e->modifiers(), e->buttons());
  const TCustomControl::State& st = StateOf(*control_);
  const QPoint p = e->position().toPoint();
  const WPARAM keys = MouseKeys(e->buttons(), st.shift, st.ctrl);
  const LPARAM pos = MAKELPARAM(p.x(), p.y());
  auto pick = [&](std::uint32_t left, std::uint32_t right, std::uint32_t middle) {
    switch (e->button()) {
      case Qt::LeftButton:
        return left;
      case Qt::RightButton:
        return right;
      case Qt::MiddleButton:
        return middle;
      default:
        return WM_NULL;
    }
  };
  std::uint32_t msg = WM_NULL;
  switch (e->type()) {
    case QEvent::MouseMove:
      if (screen_cursor_ && e->buttons() == Qt::NoButton) ApplyCursor();
      msg = WM_MOUSEMOVE;
      break;
    case QEvent::MouseButtonPress:
      // The second press of a double click comes as the double click itself.
      if (e->flags() & Qt::MouseEventCreatedDoubleClick) return;
      msg = pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
      break;
    case QEvent::MouseButtonDblClick:
      msg = (params_.WindowClassStyle & CS_DBLCLKS)
                ? pick(WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK)
                : pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
      break;
    case QEvent::MouseButtonRelease:
      msg = pick(WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
      break;
    default:
      break;
  }
  e->accept();
  if (msg != WM_NULL) Send(msg, keys, pos);
}

void ControlWindow::Wheel(QWheelEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  SetInputState(e->modifiers(), e->buttons());
  const TCustomControl::State& st = StateOf(*control_);
  const int keys = static_cast<int>(MouseKeys(e->buttons(), st.shift, st.ctrl));
  const QPoint global = e->globalPosition().toPoint();
  const QPoint delta = e->angleDelta();
  e->accept();
  if (delta.y() != 0)
    Send(WM_MOUSEWHEEL, MAKEWPARAM(keys, delta.y()), MAKELPARAM(global.x(), global.y()));
  // Qt counts a turn to the left as positive, the messages a turn to the right.
  if (delta.x() != 0 && control_)
    Send(WM_MOUSEHWHEEL, MAKEWPARAM(keys, -delta.x()), MAKELPARAM(global.x(), global.y()));
}

void ControlWindow::Focus(bool in) {
  Busy busy(*this);
  if (!control_) return;
  if (!in) {
    // Keys released while another window has the keyboard are never seen.
    TCustomControl::State& st = StateOf(*control_);
    st.keys_down.fill(false);
    st.shift = st.ctrl = st.alt = false;
  }
  Send(in ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

void ControlWindow::Hover(bool entered) {
  Send(entered ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void ControlWindow::ContextMenu(const QPoint& global, bool by_keyboard) {
  Send(WM_CONTEXTMENU, 0, by_keyboard ? LPARAM(-1) : MAKELPARAM(global.x(), global.y()));
}

void ControlWindow::InputMethod(QInputMethodEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  e->accept();
  const bool was_composing = !preedit_.isEmpty();
  const QString next = e->preeditString();
  int cursor = static_cast<int>(next.size());
  bool cursor_visible = true;
  std::vector<PreeditFormat> formats;
  for (const QInputMethodEvent::Attribute& a : e->attributes()) {
    if (a.type == QInputMethodEvent::Cursor) {
      cursor = a.start;
      cursor_visible = a.length != 0;
    } else if (a.type == QInputMethodEvent::TextFormat && a.length > 0) {
      const QTextCharFormat format = a.value.value<QTextFormat>().toCharFormat();
      if (format.isValid()) formats.push_back({a.start, a.length, format});
    }
  }

  if (!was_composing && !next.isEmpty()) Send(WM_IME_STARTCOMPOSITION, 0, 0);
  if (!control_) return;
  if (!e->commitString().isEmpty()) {
    int refused = 0;
    const std::string bytes = TypedCp932(e->commitString(), refused);
    if (refused > 0) {
      Send(CM_INPUTREFUSED, static_cast<WPARAM>(refused), 0);
      if (!control_) return;
    }
    if (!bytes.empty()) {
      SendResult(bytes);
      if (!control_) return;
    }
  }
  const bool changed = next != preedit_ || cursor != preedit_cursor_ ||
                       cursor_visible != preedit_cursor_visible_ || formats != preedit_formats_;
  if ((changed || was_composing) && client_) client_->update();
  preedit_ = next;
  preedit_cursor_ = std::clamp(cursor, 0, static_cast<int>(next.size()));
  preedit_cursor_visible_ = cursor_visible;
  preedit_formats_ = std::move(formats);
  preedit_cells_.assign(1, 0);
  for (qsizetype i = 0; i < preedit_.size();) {
    const qsizetype n = CharLength(preedit_, i);
    const int before = preedit_cells_.back();
    // The second half of a surrogate pair stands where the pair starts.
    if (n == 2) preedit_cells_.push_back(before);
    preedit_cells_.push_back(before + CharCells(preedit_.mid(i, n)));
    i += n;
  }
  StateOf(*control_).preedit = next.toStdString();
  if (changed && !next.isEmpty()) Send(WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS);
  if (!control_) return;
  if (client_ && client_->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
  if (was_composing && next.isEmpty()) Send(WM_IME_ENDCOMPOSITION, 0, 0);
}

int ControlWindow::PreeditCells() const {
  return preedit_cells_.back();
}

int ControlWindow::PreeditCursorCells() const {
  return preedit_cells_[static_cast<std::size_t>(preedit_cursor_)];
}

int ControlWindow::PreeditX(int index) const {
  if (ime_cell_width_ > 0) return preedit_cells_[static_cast<std::size_t>(index)] * ime_cell_width_;
  return QFontMetrics(ime_font_).horizontalAdvance(preedit_.left(index));
}

int ControlWindow::PreeditHeight() const {
  return ime_row_height_ > 0 ? ime_row_height_ : QFontMetrics(ime_font_).height();
}

void ControlWindow::PaintComposition(QPainter& p) {
  const TCustomControl::State& st = StateOf(*control_);
  const int s = surface_.Scale();
  const int left = ime_point_.x();
  const int top = ime_point_.y();
  const int height = PreeditHeight();
  const int width = PreeditX(static_cast<int>(preedit_.size()));
  // The rest of the row moves right to make room, as the text will once
  // the composition is committed; the text itself is untouched until then.
  const int rest = client_size_.width() - left - width;
  if (rest > 0) {
    const QRect source(left, top, rest, height);
    p.drawImage(source.translated(width, 0), surface_.Image(),
                QRect(source.topLeft() * s, source.size() * s));
  }
  const QColor paper = ColorOf(st.color);
  const QColor ink = ColorOf(st.font.Color);
  const QFontMetrics metrics(ime_font_);
  p.setFont(ime_font_);
  for (qsizetype i = 0; i < preedit_.size();) {
    const qsizetype n = CharLength(preedit_, i);
    const int x0 = left + PreeditX(static_cast<int>(i));
    const int x1 = left + PreeditX(static_cast<int>(i + n));
    const QRect cell(x0, top, x1 - x0, height);
    // The engine's format for this character: the clause being converted
    // stands out as it asks, the rest is underlined.
    QTextCharFormat format;
    for (const PreeditFormat& f : preedit_formats_)
      if (i >= f.start && i < f.start + f.length) format.merge(f.format);
    const bool has_paper = format.background().style() != Qt::NoBrush;
    const bool has_ink = format.foreground().style() != Qt::NoBrush;
    p.fillRect(cell, has_paper ? format.background().color() : paper);
    const QColor glyph = has_ink ? format.foreground().color() : ink;
    p.setPen(glyph);
    p.drawText(QPoint(x0, top + metrics.ascent()), preedit_.mid(i, n));
    const bool underline = preedit_formats_.empty() || format.fontUnderline() ||
                           format.underlineStyle() != QTextCharFormat::NoUnderline;
    if (underline) {
      const QColor line = format.underlineColor().isValid() ? format.underlineColor() : glyph;
      // A gap between characters keeps the clauses apart.
      p.fillRect(QRect(x0 + 1, top + height - 1, std::max(1, x1 - x0 - 2), 1), line);
    }
    i += n;
  }
  if (preedit_cursor_visible_)
    p.fillRect(QRect(left + PreeditX(preedit_cursor_), top, 2, height), ink);
}

QVariant ControlWindow::InputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return control_ && StateOf(*control_).ime_enabled;
    case Qt::ImCursorRectangle:
      // The candidate list follows the composition's cursor.
      return QRect(ime_point_ + QPoint(preedit_.isEmpty() ? 0 : PreeditX(preedit_cursor_), 0),
                   QSize(1, PreeditHeight()));
    case Qt::ImFont:
      return ime_font_;
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
      return 0;
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
      return QString();
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImInputItemClipRectangle:
      return QRect(QPoint(0, 0), client_size_);
    default:
      return QVariant();
  }
}

bool ControlWindow::WantsTab() {
  return Send(WM_GETDLGCODE, 0, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS);
}

}  // namespace platform::qt_detail
