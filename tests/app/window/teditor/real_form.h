// The real window with Editor1 on the real editor control, its desktop
// hand-off recorded, for the tests that need the control itself.
#pragma once

#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/window/cp932_text.h"
#include "app/window/program_info_window.h"
#include "app/window/teditor/editor_info_window.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {

struct RealFormUnderTest {
  explicit RealFormUnderTest(const QString& directory = QString(),
                             const QString& program_path = QString()) {
    TestApplication();
    static const bool registered = [] {
      RegisterProgramCursors();
      return true;
    }();
    (void)registered;
    TVarnekForm::Options options;
    options.info_window_factory = [this](QWidget* parent) {
      auto made = std::make_unique<EditorInfoWindow>(parent);
      info = made.get();
      return made;
    };
    options.desktop = &desktop;
    options.start_directory = directory;
    options.program_path = program_path;
    form = std::make_unique<TVarnekForm>(std::move(options));
    form->show();
    (void)QTest::qWaitForWindowExposed(form.get());
  }

  editor::TEditor& Editor() { return info->Control(); }

  std::vector<std::string> LinesUtf8() {
    std::vector<std::string> out;
    for (int i = 0; i < Editor().Lines().Count(); ++i) {
      out.push_back(ToQString(Editor().Lines()[i]).toStdString());
    }
    return out;
  }

  RecordingDesktop desktop;
  EditorInfoWindow* info = nullptr;
  std::unique_ptr<TVarnekForm> form;
};

}  // namespace app::test
