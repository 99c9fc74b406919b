#include <QCursor>
#include <QPixmap>
#include <QtDebug>
#include <array>
#include <map>
#include <string>

#include "platform/control/cursors.h"
#include "platform/qt/qt_graphics.h"

namespace platform {
namespace {

// The images the program brings, with the pixel each one points with.
struct CursorImage {
  std::string_view name;
  const char* path;
  int hot_x;
  int hot_y;
};

constexpr std::array kCursorImages{
    CursorImage{"RightArrow", ":/cursors/right_arrow.png", 11, 0},
    CursorImage{"DragSelCopy", ":/cursors/drag_sel_copy.png", 0, 0},
};

// The registered slots of the program's one cursor table.
std::map<TCursor, QCursor>& RegisteredCursors() {
  static std::map<TCursor, QCursor> table;
  return table;
}

Qt::CursorShape BuiltInShape(TCursor index) {
  switch (index) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
      return Qt::WaitCursor;
    case crDrag:
      return Qt::DragMoveCursor;
    case crNoDrop:
      return Qt::ForbiddenCursor;
    case crHSplit:
      return Qt::SplitHCursor;
    case crVSplit:
      return Qt::SplitVCursor;
    case crMultiDrag:
      return Qt::DragCopyCursor;
    case crSQLWait:
      return Qt::WaitCursor;
    case crNo:
      return Qt::ForbiddenCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    default:
      return Qt::ArrowCursor;  // crDefault, crArrow and empty slots
  }
}

}  // namespace

TCursor RegisterCursorResource(std::string_view name) {
  for (const CursorImage& image : kCursorImages) {
    if (image.name != name) continue;
    QPixmap pixmap(QString::fromLatin1(image.path));
    if (pixmap.isNull()) break;
    auto& table = RegisteredCursors();
    for (int slot = 1; slot <= 32767; ++slot) {
      auto index = static_cast<TCursor>(slot);
      if (table.count(index)) continue;
      table.emplace(index, QCursor(pixmap, image.hot_x, image.hot_y));
      return index;
    }
    break;
  }
  qWarning("cursor image \"%.*s\" is missing; the default pointer stands in",
           static_cast<int>(name.size()), name.data());
  return crDefault;
}

bool CursorSlotUsed(TCursor index) {
  return RegisteredCursors().count(index) != 0;
}

QCursor CursorFor(TCursor index) {
  auto& table = RegisteredCursors();
  if (auto it = table.find(index); it != table.end()) return it->second;
  return QCursor(BuiltInShape(index));
}

}  // namespace platform
