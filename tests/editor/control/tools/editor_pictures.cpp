// Draws the control's typical views into pictures, to look at by eye:
//   QT_QPA_PLATFORM=offscreen <build>/tests/editor/control/editor-pictures [folder]
// writes editor_view_*.png into the folder (the current one by default).
#include <QDir>
#include <cstdio>

#include "tests/editor/control/typical_views.h"

int main(int argc, char** argv) {
  using namespace editor::testing;
  App();
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  struct Picture {
    const char* file;
    std::unique_ptr<editor::TEditor> (*view)();
  } pictures[] = {
      {"editor_view_plain.png", PlainView},
      {"editor_view_wrapped_addresses.png", WrappedAddressesView},
      {"editor_view_marks.png", MarksView},
      {"editor_view_box_selection.png", BoxSelectionView},
  };
  int failed = 0;
  for (const Picture& p : pictures) {
    const QString path = QDir(folder).filePath(p.file);
    if (!FullRepaint(*p.view()).save(path)) {
      std::fprintf(stderr, "editor-pictures: cannot write %s\n", qPrintable(path));
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}
