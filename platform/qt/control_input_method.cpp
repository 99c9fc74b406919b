// The window's side of the input method: whether it is on, where it
// composes and in which font, the composition as it changes, and its
// drawing in place over the surface. The composition never enters the
// control's text; only its result does, as one message.
#include "platform/qt/control_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/qt/control_frame.h"
#include "platform/qt/control_state.h"
#include "platform/qt/qt_graphics.h"
#include "platform/qt/typed_text.h"

namespace platform::control_detail {

void ControlWindow::ApplyImeEnabled() {
  if (!client_ || !control_) return;
  const bool on = StateOf(*control_).ime_enabled;
  client_->setAttribute(Qt::WA_InputMethodEnabled, on);
  if (!client_->hasFocus()) return;
  if (!on) QGuiApplication::inputMethod()->reset();
  QGuiApplication::inputMethod()->update(Qt::ImEnabled);
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

void ControlWindow::SendResult(const std::string& bytes) {
  // The result string comes only this way: no character messages repeat
  // it afterwards, so nothing that waits in the event queue meanwhile can
  // come between them and turn them into stray characters.
  StateOf(*control_).ime_result = bytes;
  Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  if (control_) StateOf(*control_).ime_result.clear();
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

}  // namespace platform::control_detail
