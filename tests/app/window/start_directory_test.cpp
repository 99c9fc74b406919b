// The directory named on the command line (as a file manager passes a
// folder): chosen when it can be, otherwise named in a warning while the
// window stays at the working directory.
#include "app/window/start_directory.h"

#include <QDir>
#include <QLabel>

#include <gtest/gtest.h>

#include "tests/app/window/window_test_support.h"
#include "tests/support/files.h"

namespace app::test {
namespace {

TEST(StartDirectory, AnExistingDirectoryIsChosen) {
  test_support::TempDir dir("start");
  std::filesystem::create_directory(dir.path() / "写真");
  const QString photos = QString::fromStdString((dir.path() / "写真").string());
  FormUnderTest t;
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  // Made absolute and cleaned, as the list keeps its directory.
  EXPECT_TRUE(ChooseStartDirectory(*t.form, photos + "/./"));
  EXPECT_EQ(t.form->SelectedDirectory(), photos);
  EXPECT_EQ(t.Find<QLabel>("Label2")->text(), photos);
  EXPECT_TRUE(answerer.seen().empty());
}

TEST(StartDirectory, OneThatCannotBeChosenIsNamedAndTheWindowStaysAtTheWorkingDirectory) {
  test_support::TempDir dir("start");
  test_support::WriteFile(dir.path() / "a.txt", "a");
  const QString base = QString::fromStdString(dir.path().string());
  const struct {
    const char* what;
    QString path;
  } cases[] = {
      {"missing", base + "/missing"},
      {"a file", base + "/a.txt"},
      {"missing and relative", QStringLiteral("no-such-folder-here")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FormUnderTest t;
    const QString working = t.form->SelectedDirectory();
    ASSERT_EQ(working, QDir::currentPath());
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    EXPECT_FALSE(ChooseStartDirectory(*t.form, c.path));
    ASSERT_EQ(answerer.seen().size(), 1u);
    const SeenBox& box = answerer.seen()[0];
    EXPECT_EQ(box.caption, QStringLiteral(u"警告"));
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
    EXPECT_EQ(box.text,
              QStringLiteral(u"指定されたディレクトリが存在しないか、選択できません。\n  ") +
                  QDir(c.path).absolutePath() +
                  QStringLiteral(u"\n作業ディレクトリから始めます。"));
    EXPECT_EQ(t.form->SelectedDirectory(), working);
  }
}

}  // namespace
}  // namespace app::test
