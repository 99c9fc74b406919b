#include "platform/qt/qt_graphics.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QStringList>
#include <QStyle>
#include <array>
#include <string_view>

#include "platform/control/custom_control.h"
#include "platform/cp932.h"

namespace platform {
namespace {

QPalette::ColorRole RoleOfSystemColor(int index, QPalette::ColorGroup& group) {
  group = QPalette::Active;
  switch (index) {
    case 5:
      return QPalette::Base;  // window
    case 6:
      return QPalette::WindowText;  // window frame
    case 8:
      return QPalette::Text;  // window text
    case 13:
      return QPalette::Highlight;
    case 14:
      return QPalette::HighlightedText;
    case 15:
      return QPalette::Button;  // button face
    case 16:
      return QPalette::Dark;  // button shadow
    case 17:
      group = QPalette::Disabled;
      return QPalette::Text;  // grey text
    case 18:
      return QPalette::ButtonText;
    case 20:
      return QPalette::Light;  // button highlight
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    default:
      return QPalette::Window;
  }
}

struct Substitute {
  std::string_view layout_name;  // UTF-8, compared without regard to letter case
  const char* family;            // nullptr: the system's font of `kind`
  QFontDatabase::SystemFont kind;
};

constexpr std::array kSubstitutes{
    Substitute{"ＭＳ ゴシック", "IPAGothic", QFontDatabase::FixedFont},
    Substitute{"MS Gothic", "IPAGothic", QFontDatabase::FixedFont},
    Substitute{"ＭＳ Ｐゴシック", "IPAPGothic", QFontDatabase::GeneralFont},
    Substitute{"MS PGothic", "IPAPGothic", QFontDatabase::GeneralFont},
    Substitute{"FixedSys", nullptr, QFontDatabase::FixedFont},
    Substitute{"Courier New", nullptr, QFontDatabase::FixedFont},
    Substitute{"Terminal", nullptr, QFontDatabase::FixedFont},
    Substitute{"MS Sans Serif", nullptr, QFontDatabase::GeneralFont},
};

}  // namespace

QColor ToQColor(TColor color) {
  if (IsSystemColor(color)) {
    QPalette::ColorGroup group;
    QPalette::ColorRole role = RoleOfSystemColor(color & ~kSystemColorFlag, group);
    return QGuiApplication::palette().color(group, role);
  }
  auto bits = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

TSystemPalette DesktopPalette() {
  TSystemPalette palette;
  for (int role = 0; role < kSystemColorRoleCount; ++role) {
    QColor c = ToQColor(SystemColor(static_cast<TSystemColorRole>(role)));
    palette.colors[role] = RGB(c.red(), c.green(), c.blue());
  }
  return palette;
}

QFont ToQFont(const TFont& font) {
  QString name = QString::fromStdString(Cp932ToUtf8Lossy(font.Name));
  QFont result;
  bool substituted = false;
  for (const Substitute& s : kSubstitutes) {
    if (name.compare(QString::fromUtf8(s.layout_name.data(), s.layout_name.size()),
                     Qt::CaseInsensitive) != 0)
      continue;
    QFont system = QFontDatabase::systemFont(s.kind);
    QStringList families;
    if (s.family) families << QString::fromLatin1(s.family);
    families << system.families();
    // Japanese text in a Latin fixed-pitch face falls back to the Japanese
    // fixed-pitch font rather than whatever the desktop picks.
    if (s.kind == QFontDatabase::FixedFont) families << QStringLiteral("IPAGothic");
    result.setFamilies(families);
    if (s.kind == QFontDatabase::FixedFont) result.setStyleHint(QFont::TypeWriter);
    substituted = true;
    break;
  }
  if (!substituted) result.setFamilies({name, QStringLiteral("IPAGothic")});

  int height = font.Height == 0 ? -11 : font.Height;
  result.setPixelSize(std::abs(height));
  if (height > 0) {
    // A positive height is the whole cell: shrink the em until the cell fits.
    QFontMetrics m(result);
    int cell = m.ascent() + m.descent();
    if (cell > height) result.setPixelSize(std::max(1, height * height / cell));
  }
  result.setBold(font.Style.Contains(fsBold));
  result.setItalic(font.Style.Contains(fsItalic));
  result.setUnderline(font.Style.Contains(fsUnderline));
  result.setStrikeOut(font.Style.Contains(fsStrikeOut));
  result.setKerning(false);
  return result;
}

int GetSystemMetrics(int index) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
  switch (index) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
      return 0;
  }
}

}  // namespace platform
