// A control's client widget as a screen reader meets it: an editable (or
// read-only) multi-line text with Qt's text interfaces, answered by the
// control's TAccessibleText; and the control's reports as Qt's events.
#include "platform/qt/accessible_control.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "platform/control/custom_control.h"
#include "platform/qt/control_frame.h"
#include "platform/qt/control_state.h"
#include "platform/qt/control_widget.h"
#include "platform/qt/control_window.h"

namespace platform::control_detail {

namespace {

QString ToQString(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

class AccessibleControl : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
 public:
  explicit AccessibleControl(QWidget* widget)
      : QAccessibleWidget(widget, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) {
      TAccessibleText* t = Text();
      if (t && !t->AccessibleReadOnly())
        return static_cast<QAccessibleEditableTextInterface*>(this);
      return nullptr;
    }
    return QAccessibleWidget::interface_cast(type);
  }

  // A log the program writes to is a terminal to a screen reader, which
  // then speaks what is added to it while it has the focus.
  QAccessible::Role role() const override {
    auto* client = static_cast<ClientWidget*>(widget());
    if (client && client->window_ && client->window_->Control() &&
        ControlWindow::StateOf(*client->window_->Control()).presented_as_log) {
      return QAccessible::Terminal;
    }
    return QAccessible::EditableText;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.multiLine = true;
    s.selectableText = true;
    s.focusable = true;
    TAccessibleText* t = Text();
    s.readOnly = !t || t->AccessibleReadOnly();
    s.editable = !s.readOnly;
    return s;
  }

  QString text(QAccessible::Text what) const override {
    QString s = QAccessibleWidget::text(what);
    // The name and description set on the control go on its outer widget.
    if (s.isEmpty() && widget()->parentWidget()) {
      if (what == QAccessible::Name) s = widget()->parentWidget()->accessibleName();
      if (what == QAccessible::Description) s = widget()->parentWidget()->accessibleDescription();
    }
    return s;
  }

  // --- QAccessibleTextInterface ---
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    TAccessibleText* t = Text();
    int s = 0;
    int e = 0;
    if (index == 0 && t && t->AccessibleSelection(s, e)) {
      *start = s;
      *end = e;
    }
  }
  int selectionCount() const override {
    TAccessibleText* t = Text();
    int s = 0;
    int e = 0;
    return t && t->AccessibleSelection(s, e) ? 1 : 0;
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (TAccessibleText* t = Text(); t && index == 0) {
      const int caret = t->AccessibleCaret();
      t->SetAccessibleSelection(caret, caret);
    }
  }
  void setSelection(int index, int start, int end) override {
    if (TAccessibleText* t = Text(); t && index == 0) t->SetAccessibleSelection(start, end);
  }
  int cursorPosition() const override {
    TAccessibleText* t = Text();
    return t ? t->AccessibleCaret() : 0;
  }
  void setCursorPosition(int position) override {
    if (TAccessibleText* t = Text()) t->SetAccessibleCaret(position);
  }
  QString text(int start, int end) const override {
    TAccessibleText* t = Text();
    return t ? ToQString(t->AccessibleTextRange(start, end)) : QString();
  }
  int characterCount() const override {
    TAccessibleText* t = Text();
    return t ? t->AccessibleLength() : 0;
  }

  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) const override {
    *start = *end = -1;
    TAccessibleText* t = Text();
    if (!t) return {};
    const int length = t->AccessibleLength();
    if (offset == -2) offset = t->AccessibleCaret();  // the caret, as AT-SPI may ask
    if (offset < 0 || offset > length) return {};
    int s = offset;
    int e = offset;
    switch (type) {
      case QAccessible::CharBoundary:
        e = std::min(offset + 1, length);
        break;
      case QAccessible::WordBoundary:
        WordAt(*t, offset, s, e);
        break;
      case QAccessible::SentenceBoundary:
      case QAccessible::ParagraphBoundary:
      case QAccessible::LineBoundary:
        t->AccessibleLineAt(offset, s, e);
        break;
      case QAccessible::NoBoundary:
        s = 0;
        e = length;
        break;
    }
    *start = s;
    *end = e;
    return ToQString(t->AccessibleTextRange(s, e));
  }

  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override {
    *start = *end = -1;
    TAccessibleText* t = Text();
    if (!t) return {};
    if (offset == -2) offset = t->AccessibleCaret();
    int s = 0;
    int e = 0;
    switch (type) {
      case QAccessible::CharBoundary:
        if (offset <= 0) return {};
        return textAtOffset(offset - 1, type, start, end);
      case QAccessible::WordBoundary: {
        WordAt(*t, std::clamp(offset, 0, t->AccessibleLength()), s, e);
        if (s <= 0) return {};
        // The word before a line's first one ends that line, before its "\n".
        int line_start = 0;
        int line_end = 0;
        t->AccessibleLineAt(s - 1, line_start, line_end);
        const int before = s - 1 == line_end && s - 1 > line_start ? s - 2 : s - 1;
        return textAtOffset(before, type, start, end);
      }
      case QAccessible::NoBoundary:
        return {};
      default:
        t->AccessibleLineAt(std::clamp(offset, 0, t->AccessibleLength()), s, e);
        if (s <= 0) return {};
        return textAtOffset(s - 1, type, start, end);
    }
  }

  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override {
    *start = *end = -1;
    TAccessibleText* t = Text();
    if (!t) return {};
    if (offset == -2) offset = t->AccessibleCaret();
    const int length = t->AccessibleLength();
    int s = 0;
    int e = 0;
    switch (type) {
      case QAccessible::CharBoundary:
        if (offset + 1 >= length) return {};
        return textAtOffset(offset + 1, type, start, end);
      case QAccessible::WordBoundary: {
        WordAt(*t, std::clamp(offset, 0, length), s, e);
        // A word ends at most at its line's end: the next one is after the "\n".
        int line_start = 0;
        int line_end = 0;
        t->AccessibleLineAt(e, line_start, line_end);
        if (e == line_end) ++e;
        if (e >= length) return {};
        return textAtOffset(e, type, start, end);
      }
      case QAccessible::NoBoundary:
        return {};
      default:
        t->AccessibleLineAt(std::clamp(offset, 0, length), s, e);
        if (e + 1 > length) return {};
        return textAtOffset(e + 1, type, start, end);
    }
  }

  QRect characterRect(int offset) const override {
    TAccessibleText* t = Text();
    if (!t) return {};
    const TRect r = t->AccessibleCharRect(offset);
    if (r.Width() <= 0 || r.Height() <= 0) return {};
    return QRect(widget()->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Width(), r.Height()));
  }
  int offsetAtPoint(const QPoint& point) const override {
    TAccessibleText* t = Text();
    if (!t) return -1;
    const QPoint p = widget()->mapFromGlobal(point);
    return t->AccessibleOffsetAt({p.x(), p.y()});
  }
  void scrollToSubstring(int start, int /*end*/) override {
    if (TAccessibleText* t = Text()) t->AccessibleScrollTo(start);
  }
  // Every character of the text looks alike to a screen reader, so the run
  // of like characters around `offset` is its line with the line's break,
  // as Qt's own text fields give a block. A screen reader speaks a line
  // run by run: an empty run would cut off the line's last character.
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = -1;
    TAccessibleText* t = Text();
    if (!t) return {};
    const int length = t->AccessibleLength();
    if (offset == -2) offset = t->AccessibleCaret();
    // The end of the text (the caret's place after the last character)
    // belongs to the last run.
    if (offset == -1 || offset == length) offset = length - 1;
    if (length == 0) {
      *start = *end = 0;
      return {};
    }
    if (offset < 0 || offset > length) return {};
    int line_start = 0;
    int line_end = 0;
    t->AccessibleLineAt(offset, line_start, line_end);
    *start = line_start;
    *end = std::min(line_end + 1, length);
    return {};
  }

  // --- QAccessibleEditableTextInterface ---
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (TAccessibleText* t = Text()) t->AccessibleReplace(start, end, text.toStdU16String());
  }

 private:
  TAccessibleText* Text() const {
    auto* client = static_cast<ClientWidget*>(widget());
    if (!client || !client->window_ || !client->window_->Control()) return nullptr;
    return client->window_->Control()->AccessibleText();
  }

  // The word (or the run of spaces or punctuation) at `offset` inside its
  // line, by Unicode's word boundaries; empty at the line's end.
  static void WordAt(const TAccessibleText& t, int offset, int& start, int& end) {
    int line_start = 0;
    int line_end = 0;
    t.AccessibleLineAt(offset, line_start, line_end);
    start = end = offset;
    if (offset >= line_end) return;
    const QString line = ToQString(t.AccessibleTextRange(line_start, line_end));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, line);
    const int pos = offset - line_start;
    finder.setPosition(pos);
    int s = finder.isAtBoundary() ? pos : finder.toPreviousBoundary();
    finder.setPosition(pos);
    int e = finder.toNextBoundary();
    if (s < 0) s = 0;
    if (e < 0) e = static_cast<int>(line.size());
    start = line_start + s;
    end = line_start + e;
  }
};

QAccessibleInterface* Factory(const QString& /*key*/, QObject* object) {
  auto* client = dynamic_cast<ClientWidget*>(object);
  if (!client || !client->window_ || !client->window_->Control() ||
      !client->window_->Control()->AccessibleText())
    return nullptr;
  return new AccessibleControl(client);
}

QWidget* ClientOf(const TCustomControl& control) {
  ControlWindow* window = ControlWindow::Of(control);
  return window ? window->Client() : nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace platform::control_detail

namespace platform {

namespace {

std::function<void(QAccessibleEvent*)>& Listener() {
  static std::function<void(QAccessibleEvent*)> listener;
  return listener;
}

void Send(QAccessibleEvent& event) {
  QAccessible::updateAccessibility(&event);
  if (Listener()) Listener()(&event);
}

}  // namespace

void SetAccessibilityListener(std::function<void(QAccessibleEvent*)> listener) {
  Listener() = std::move(listener);
}

bool TCustomControl::AccessibilityActive() {
  return static_cast<bool>(Listener()) || QAccessible::isActive();
}

void TCustomControl::NotifyAccessibleCaret(int offset) {
  QWidget* client = control_detail::ClientOf(*this);
  if (!client || !AccessibilityActive()) return;
  QAccessibleTextCursorEvent event(client, offset);
  Send(event);
}

void TCustomControl::NotifyAccessibleSelection(int start, int end) {
  QWidget* client = control_detail::ClientOf(*this);
  if (!client || !AccessibilityActive()) return;
  QAccessibleTextSelectionEvent event(client, start, end);
  if (TAccessibleText* text = AccessibleText()) event.setCursorPosition(text->AccessibleCaret());
  Send(event);
}

void TCustomControl::NotifyAccessibleText(int position, const std::u16string& removed,
                                          const std::u16string& inserted) {
  QWidget* client = control_detail::ClientOf(*this);
  if (!client || !AccessibilityActive()) return;
  if (removed.empty()) {
    QAccessibleTextInsertEvent event(client, position, control_detail::ToQString(inserted));
    Send(event);
  } else if (inserted.empty()) {
    QAccessibleTextRemoveEvent event(client, position, control_detail::ToQString(removed));
    Send(event);
  } else {
    QAccessibleTextUpdateEvent event(client, position, control_detail::ToQString(removed),
                                     control_detail::ToQString(inserted));
    Send(event);
  }
}

}  // namespace platform
