// "実行" in the window: the run's log entry for entry, the files it makes,
// the progress bar, and both painted while the run goes on.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kSeparator = "\r" + std::string(70, '-') + "\r";

class CopyRunInWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(folder_.isValid());
    dir_ = QDir(folder_.path()).canonicalPath() + "/work";
    ASSERT_TRUE(QDir().mkpath(dir_));
  }

  void Write(const QString& name, const QByteArray& content, QDateTime written) {
    QFile file(dir_ + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.flush();  // before the time is set, so that closing changes nothing
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
  }

  static QStringList Names(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }

  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  QTemporaryDir folder_;
  QString dir_;
};

TEST_F(CopyRunInWindow, WorkedRunLogsEveryStepAndCopiesUnderNewNames) {
  const QDateTime jan5(QDate(2000, 1, 5), QTime(10, 30, 0));
  Write("a.txt", "alpha", jan5);
  Write("b.doc", "bravo", jan5);
  FormUnderTest t(dir_);
  t.form->show();
  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);

  const std::string dir = dir_.toStdString();
  EXPECT_EQ(t.info->LinesUtf8(), (Lines{
                                     "□■□ 実行中 □■□",
                                     "  ※同名ファイルが作成される場合は上書きされます。",
                                     kSeparator,
                                     "新しいフォルダの作成 ",
                                     "  " + dir + "/NewFolder",
                                     kSeparator,
                                     "ファイルコピーの開始",
                                     "  コピー元ディレクトリ: " + dir,
                                     "  コピー先ディレクトリ: " + dir + "/NewFolder",
                                     kSeparator,
                                     "  対象ファイル数 2個",
                                     "COPY_From: a.txt",
                                     "     To  : 2000年01月05日001.txt",
                                     "COPY_From: b.doc",
                                     "     To  : 2000年01月05日002.doc",
                                     "\r正常に終了しました。",
                                 }));
  const QString target = dir_ + "/NewFolder";
  EXPECT_EQ(Names(target), QStringList({"2000年01月05日001.txt", "2000年01月05日002.doc"}));
  EXPECT_EQ(Read(target + "/2000年01月05日001.txt"), "alpha");
  EXPECT_EQ(Read(target + "/2000年01月05日002.doc"), "bravo");
  // The source is as it was.
  EXPECT_EQ(Names(dir_), QStringList({"a.txt", "b.doc"}));
  EXPECT_EQ(Read(dir_ + "/a.txt"), "alpha");
  EXPECT_EQ(Read(dir_ + "/b.doc"), "bravo");

  auto* progress = t.Find<QProgressBar>("ProgressBar1");
  EXPECT_EQ(progress->maximum(), 2);
  EXPECT_EQ(progress->value(), 2);
  EXPECT_EQ(t.info->top_row, t.info->Lines().Count() - t.info->visible_rows);
  // The directory list shows the new folder, and stays where it was.
  auto* list = t.Find<QTreeWidget>("DirectoryListBox1");
  ASSERT_EQ(list->currentItem()->childCount(), 1);
  EXPECT_EQ(list->currentItem()->child(0)->text(0), "NewFolder");
  EXPECT_EQ(t.form->SelectedDirectory(), dir_);
}

TEST_F(CopyRunInWindow, RunTakesWhatTheControlsHold) {
  const QDateTime when(QDate(2024, 3, 1), QTime(8, 0, 0));
  Write("photo.JPEG", "1", when);
  Write("notes.txt", "2", when);
  FormUnderTest t(dir_);
  t.form->show();
  auto* folder = t.Find<QLineEdit>("Edit1");
  folder->setText("旅行");
  t.Find<QPlainTextEdit>("Memo2")->setPlainText("*.jpeg\n");
  t.Find<QLineEdit>("Edit2")->setText("IMG_");
  t.Find<QLineEdit>("Edit3")->setText("");
  QTest::mouseClick(t.Find<QWidget>("CheckBox1"), Qt::LeftButton);
  t.Find<QLineEdit>("Edit4")->setText("jpg");
  t.form->findChild<QComboBox*>("ComboBox2")->setCurrentIndex(2);
  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);

  EXPECT_EQ(Names(dir_ + "/旅行"), QStringList({"IMG_001.JPG"}));
  EXPECT_EQ(t.info->LinesUtf8().back(), "\r正常に終了しました。");
}

TEST_F(CopyRunInWindow, AnEmptyFolderNameStopsBeforeAnythingIsTouched) {
  Write("a.txt", "alpha", QDateTime::currentDateTime());
  FormUnderTest t(dir_);
  t.Find<QLineEdit>("Edit1")->setText("");
  t.form->Button2Click();
  const Lines lines = t.info->LinesUtf8();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Error : 新しいフォルダの設定がされていません。");
  EXPECT_EQ(lines.back(), "        実行を中止しました。");
  EXPECT_EQ(QDir(dir_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"a.txt"});
}

TEST_F(CopyRunInWindow, ProgressAndLogArePaintedWhileTheRunGoesOn) {
  constexpr int kFiles = 20;
  for (int i = 0; i < kFiles; ++i) {
    Write(QString("f%1.txt").arg(i, 2, 10, QChar('0')), "x", QDateTime::currentDateTime());
  }
  // Every change paints at once here; the program paints at most every 40 ms.
  FormUnderTest t(dir_, QString(), std::chrono::milliseconds(0));
  t.form->show();
  auto* progress = t.Find<QProgressBar>("ProgressBar1");
  std::vector<int> painted_positions;
  std::vector<int> painted_line_counts;
  class PaintSpy : public QObject {
   public:
    explicit PaintSpy(std::function<void()> on_paint) : on_paint_(std::move(on_paint)) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) on_paint_();
      return false;
    }

   private:
    std::function<void()> on_paint_;
  };
  QApplication::processEvents();
  PaintSpy progress_spy([&] { painted_positions.push_back(progress->value()); });
  // What the information window was told of (its change handler keeps the
  // last line in view) must be all there is whenever it paints.
  int views_behind = 0;
  PaintSpy log_spy([&] {
    painted_line_counts.push_back(t.info->Lines().Count());
    if (t.info->top_row + t.info->visible_rows != t.info->Lines().Count()) ++views_behind;
  });
  progress->installEventFilter(&progress_spy);
  t.info->installEventFilter(&log_spy);
  t.form->Button2Click();  // no event loop runs during the call

  // The bar was painted at every step of the way, the log as it grew.
  std::vector<int> steps;
  for (int p : painted_positions) {
    if (p > 0 && (steps.empty() || steps.back() != p)) steps.push_back(p);
  }
  ASSERT_EQ(steps.size(), static_cast<size_t>(kFiles));
  for (int i = 0; i < kFiles; ++i) EXPECT_EQ(steps[i], i + 1);
  ASSERT_GT(painted_line_counts.size(), static_cast<size_t>(kFiles));
  EXPECT_TRUE(std::is_sorted(painted_line_counts.begin() + 1, painted_line_counts.end()));
  EXPECT_EQ(views_behind, 0);
}

}  // namespace
}  // namespace app::test
