#include "ui/layout_look.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>

#include "platform/colour.h"
#include "platform/qt/qt_graphics.h"

namespace ui {
namespace {

// The classic light theme's colour of a system colour role: the table the
// editor resolves its system colours with where no desktop answers.
QColor ClassicColor(platform::TSystemColorRole role) {
  static const platform::TSystemPalette classic = platform::TSystemPalette::Defaults();
  return platform::ToQColor(classic[role]);
}

// Where the layout's platform puts a group box's caption: 8 pixels in,
// as high as one line of the box's font.
constexpr int kCaptionLeft = 8;

int CaptionHeight(const QStyleOptionGroupBox& box) {
  return box.fontMetrics.height();
}

// A rectangle's one-pixel outline in plain fills: a filled logical pixel
// covers at least one device pixel at every scale, where a thin pen's line
// may fall between them.
void FillOutline(QPainter* painter, const QRect& r, const QBrush& color) {
  if (r.width() <= 0 || r.height() <= 0) return;
  painter->fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
  painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
  painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
  painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

// Fusion frames a focused button, combo box or spin box only once the
// keyboard has moved the focus in its window; here the focus shows from the
// start, whatever put it there.
bool NeedsFocusShown(const QStyleOption* option) {
  return option && (option->state & QStyle::State_HasFocus) &&
         !(option->state & QStyle::State_KeyboardFocusChange);
}

bool IsDropDownPopup(const QWidget* widget) {
  return widget && widget->inherits("QComboBoxPrivateContainer");
}

// The dotted rectangle round a focused check box's, radio button's or list
// entry's text, in black or white, whichever stands out from what it is
// drawn on (the window, or the blue of a selected entry).
void DrawFocusRect(QPainter* painter, const QStyleOptionFocusRect& option) {
  const QColor under = option.backgroundColor.isValid() ? option.backgroundColor
                                                        : option.palette.color(QPalette::Window);
  const QColor ink = under.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
  painter->save();
  // Every other pixel, wherever the rectangle lies.
  painter->setBrushOrigin(0, 0);
  FillOutline(painter, option.rect, QBrush(ink, Qt::Dense4Pattern));
  painter->restore();
}

}  // namespace

QPalette LayoutPalette() {
  using namespace platform;
  QPalette palette;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool disabled = group == QPalette::Disabled;
    const QColor text = ClassicColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    palette.setColor(group, QPalette::Window, ClassicColor(COLOR_BTNFACE));
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Base, ClassicColor(disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    palette.setColor(group, QPalette::AlternateBase, ClassicColor(COLOR_3DLIGHT));
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::PlaceholderText, ClassicColor(COLOR_GRAYTEXT));
    palette.setColor(group, QPalette::Button, ClassicColor(COLOR_BTNFACE));
    palette.setColor(group, QPalette::ButtonText, disabled ? text : ClassicColor(COLOR_BTNTEXT));
    palette.setColor(group, QPalette::BrightText, ClassicColor(COLOR_BTNHIGHLIGHT));
    palette.setColor(group, QPalette::Light, ClassicColor(COLOR_BTNHIGHLIGHT));
    palette.setColor(group, QPalette::Midlight, ClassicColor(COLOR_3DLIGHT));
    palette.setColor(group, QPalette::Mid, ClassicColor(COLOR_BTNSHADOW));
    palette.setColor(group, QPalette::Dark, ClassicColor(COLOR_BTNSHADOW));
    palette.setColor(group, QPalette::Shadow, ClassicColor(COLOR_3DDKSHADOW));
    palette.setColor(group, QPalette::Highlight,
                     ClassicColor(disabled ? COLOR_BTNSHADOW : COLOR_HIGHLIGHT));
    palette.setColor(group, QPalette::HighlightedText, ClassicColor(COLOR_HIGHLIGHTTEXT));
    palette.setColor(group, QPalette::ToolTipBase, ClassicColor(COLOR_INFOBK));
    palette.setColor(group, QPalette::ToolTipText, ClassicColor(COLOR_INFOTEXT));
    palette.setColor(group, QPalette::Link, QColor(0, 0, 255));
    palette.setColor(group, QPalette::LinkVisited, QColor(128, 0, 128));
  }
  return palette;
}

LayoutStyle::LayoutStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void LayoutStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  if (element == PE_Frame && !IsDropDownPopup(widget)) {
    if (option->state & State_HasFocus) {
      // A focused field (the mask memo, the directory tree) is framed twice
      // in the highlight colour, as a focused line edit is.
      const QColor focus = option->palette.color(QPalette::Highlight);
      FillOutline(painter, option->rect, focus);
      FillOutline(painter, option->rect.adjusted(1, 1, -1, -1), focus);
      return;
    }
    // Fusion's outline colour, drawn so that it survives fractional scales.
    const QColor outline = option->palette.window().color().darker(140).lighter(108);
    FillOutline(painter, option->rect, outline);
    return;
  }
  if (element == PE_FrameFocusRect) {
    if (const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option)) {
      DrawFocusRect(painter, *focus);
      return;
    }
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void LayoutStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  if (element == CE_PushButton && NeedsFocusShown(option)) {
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
      QStyleOptionButton shown(*button);
      shown.state |= State_KeyboardFocusChange;
      QProxyStyle::drawControl(element, &shown, painter, widget);
      return;
    }
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void LayoutStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
  if (control == CC_ComboBox && NeedsFocusShown(option)) {
    if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
      QStyleOptionComboBox shown(*combo);
      shown.state |= State_KeyboardFocusChange;
      QProxyStyle::drawComplexControl(control, &shown, painter, widget);
      return;
    }
  }
  if (control == CC_SpinBox && NeedsFocusShown(option)) {
    if (const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
      QStyleOptionSpinBox shown(*spin);
      shown.state |= State_KeyboardFocusChange;
      QProxyStyle::drawComplexControl(control, &shown, painter, widget);
      return;
    }
  }
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect caption = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
  painter->save();
  if (!caption.isEmpty()) {
    painter->setClipRegion(QRegion(box->rect).subtracted(QRegion(caption)), Qt::IntersectClip);
  }
  // The etched line: a light outline one pixel right of and below a shadow
  // outline, which is drawn last.
  const QRect frame = subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
  FillOutline(painter, frame.adjusted(1, 1, 0, 0), box->palette.color(QPalette::Light));
  FillOutline(painter, frame.adjusted(0, 0, -1, -1), box->palette.color(QPalette::Dark));
  painter->restore();
  if (!caption.isEmpty()) {
    drawItemText(painter, caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                 box->palette, box->state & State_Enabled, box->text, QPalette::WindowText);
  }
}

QRect LayoutStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl part, const QWidget* widget) const {
  if (control == CC_SpinBox && part == SC_SpinBoxEditField && option) {
    // From inside the frame's two pixels up to the buttons: Fusion keeps a
    // wider margin, which the layout's 69-pixel spin box cannot spare.
    const QRect up = QProxyStyle::subControlRect(control, option, SC_SpinBoxUp, widget);
    const QRect& r = option->rect;
    return QRect(r.left() + 2, r.top() + 2, up.left() - r.left() - 2, r.height() - 4);
  }
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
    return QProxyStyle::subControlRect(control, option, part, widget);
  }
  const QRect& r = box->rect;
  const int line_height = CaptionHeight(*box);
  switch (part) {
    case SC_GroupBoxFrame:
      // The shadow line runs one pixel above the caption's middle.
      return r.adjusted(0, line_height / 2 - 1, 0, 0);
    case SC_GroupBoxLabel:
      if (box->text.isEmpty()) return {};
      return QRect(r.left() + kCaptionLeft, r.top(),
                   box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width(), line_height);
    case SC_GroupBoxContents:
      // Below the caption and inside both lines of the frame.
      return r.adjusted(2, line_height + 2, -2, -2);
    default:
      return QProxyStyle::subControlRect(control, option, part, widget);
  }
}

void UseLayoutLook() {
  // A style sheet the desktop's theme may bring would restyle every control.
  qApp->setStyleSheet(QString());
  QApplication::setStyle(new LayoutStyle);
  const QPalette palette = LayoutPalette();
  QApplication::setPalette(palette);
  QToolTip::setPalette(palette);
}

}  // namespace ui
