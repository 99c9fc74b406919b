// "撮影時刻を補正…": the dialog's two ways to a shift (typed, or worked out
// from a file and its true moment), and the window's item carrying the
// shift to the run, its check mark, and the saved settings.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#include "app/window/clock_shift_dialog.h"
#include "app/window/window_settings.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

using Lines = std::vector<std::string>;

template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QLatin1String(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

TEST(ClockShiftDialog, TypedOffsetsAndOffsetsFromAFileAndItsTrueMoment) {
  TestApplication();
  const platform::DateTime file_date{2024, 12, 31, 20, 0, 0, 0};
  const auto date_of = [&](const QString& path) -> std::optional<platform::DateTime> {
    if (path.endsWith("dated.jpg")) return file_date;
    return std::nullopt;
  };
  ClockShiftDialog dialog(-(86400 + 2 * 3600 + 3 * 60 + 4), date_of, QString(), nullptr);
  // What it was given shows in its fields, and comes back as it was.
  EXPECT_EQ(Child<QComboBox>(&dialog, "Sign")->currentIndex(), 1);
  EXPECT_EQ(Child<QSpinBox>(&dialog, "Days")->value(), 1);
  EXPECT_EQ(Child<QSpinBox>(&dialog, "Hours")->value(), 2);
  EXPECT_EQ(Child<QSpinBox>(&dialog, "Minutes")->value(), 3);
  EXPECT_EQ(Child<QSpinBox>(&dialog, "Seconds")->value(), 4);
  EXPECT_EQ(dialog.Shift(), -(86400 + 2 * 3600 + 3 * 60 + 4));

  Child<QComboBox>(&dialog, "Sign")->setCurrentIndex(0);
  Child<QSpinBox>(&dialog, "Days")->setValue(0);
  Child<QSpinBox>(&dialog, "Hours")->setValue(23);
  Child<QSpinBox>(&dialog, "Minutes")->setValue(59);
  Child<QSpinBox>(&dialog, "Seconds")->setValue(59);
  EXPECT_EQ(dialog.Shift(), 86399);
  EXPECT_EQ(Child<QSpinBox>(&dialog, "Hours")->maximum(), 23);

  // Taken at 2025-01-01 05:00:00, the camera said 2024-12-31 20:00:00.
  ASSERT_TRUE(dialog.ChooseFile("/photos/dated.jpg"));
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "ByFile")->isChecked());
  EXPECT_EQ(dialog.Shift(), 0) << "the true time starts at the file's own";
  dialog.SetTrueTime({2025, 1, 1, 5, 0, 0, 0});
  EXPECT_EQ(dialog.Shift(), 9 * 3600);
  dialog.SetTrueTime({2024, 11, 30, 20, 0, 0, 0});
  EXPECT_EQ(dialog.Shift(), -31LL * 86400);
  // Back to typing: the typed shift counts again.
  Child<QRadioButton>(&dialog, "ByOffset")->click();
  EXPECT_EQ(dialog.Shift(), 86399);

  // A file without a date gives nothing to compare with.
  Child<QRadioButton>(&dialog, "ByFile")->click();
  EXPECT_FALSE(dialog.ChooseFile("/photos/none.jpg"));
  EXPECT_EQ(dialog.Shift(), 0);
}

class ClockShiftItem : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    settings_ = folder_.path() + "/config/pirukko/varnek.ini";
  }
  std::unique_ptr<FormUnderTest> Form() {
    return std::make_unique<FormUnderTest>(dir_, QString(),
                                           TVarnekForm::Options().live_repaint_interval, settings_);
  }
  // Triggers the item and answers its dialog: `hours` typed and OK, or
  // Cancel when there are none.
  static void Answer(TVarnekForm& form, std::optional<int> hours) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<ClockShiftDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      answered = true;
      if (!hours) {
        dialog->reject();
        return;
      }
      Child<QRadioButton>(dialog, "ByOffset")->click();
      Child<QSpinBox>(dialog, "Days")->setValue(0);
      Child<QSpinBox>(dialog, "Hours")->setValue(*hours);
      dialog->accept();
    });
    form.ClockShiftItem()->trigger();
    EXPECT_TRUE(answered);
  }
  QString settings_;
};

TEST_F(ClockShiftItem, TheShiftReachesThePreviewIsCheckedAndIsSaved) {
  WriteFile(dir_ + "/a.txt", "a");
  {
    auto t = Form();
    EXPECT_FALSE(t->form->ClockShiftItem()->isChecked());
    Answer(*t->form, 9);
    EXPECT_TRUE(t->form->ClockShiftItem()->isChecked());
    EXPECT_EQ(t->form->CurrentRunSettings().clock_shift, 9 * 3600);
    // Cancel leaves the shift, and its check, as they were.
    Answer(*t->form, std::nullopt);
    EXPECT_TRUE(t->form->ClockShiftItem()->isChecked());
    EXPECT_EQ(t->form->CurrentRunSettings().clock_shift, 9 * 3600);

    t->form->SpeedButton2Click();
    ASSERT_TRUE(WaitForRun(*t->form));
    const Lines lines = t->info->LinesUtf8();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "撮影時刻の補正: +09:00:00");

    t->form->SaveSettingsItem()->trigger();
    t->form->close();
  }
  {
    auto t = Form();
    EXPECT_TRUE(t->form->ClockShiftItem()->isChecked());
    EXPECT_EQ(t->form->CurrentRunSettings().clock_shift, 9 * 3600);
    // Zero is no shift: the check goes, and so does the heading's line.
    Answer(*t->form, 0);
    EXPECT_FALSE(t->form->ClockShiftItem()->isChecked());
    t->form->SpeedButton2Click();
    ASSERT_TRUE(WaitForRun(*t->form));
    for (const std::string& line : t->info->LinesUtf8())
      EXPECT_FALSE(line.starts_with("撮影時刻")) << line;
    t->form->close();
  }
  // A shift the file cannot hold spoils it as any other nonsense does.
  QFile file(settings_);
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write("clock_shift=+1:24:00:00\n");
  file.close();
  EXPECT_FALSE(LoadWindowSettings(settings_).has_value());
}

}  // namespace
}  // namespace app::test
