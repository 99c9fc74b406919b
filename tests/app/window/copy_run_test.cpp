// "実行" and "プレビュー" in the window: the run's log entry for entry, the
// files it makes, the progress bar; a long run that leaves the window alive
// and can be stopped; the preview; capture dates.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "tests/app/window/window_test_support.h"
#include "tests/support/photos.h"
#include "tests/support/trash_home.h"

namespace app::test {
namespace {

using Lines = std::vector<std::string>;

// What the runs empty goes to a trash of the test's own.
const bool kTrashInTemp = (test_support::TestDataHome(), true);

const std::string kSeparator = "\r" + std::string(70, '-') + "\r";

// What a run into a new "NewFolder" of `dir` writes before its first file.
Lines RunHead(const std::string& dir, int files) {
  return {"□■□ 実行中 □■□",
          "  ※同名ファイルが作成される場合は上書きされます。",
          kSeparator,
          "新しいフォルダの作成 ",
          "  " + dir + "/NewFolder",
          kSeparator,
          "ファイルコピーの開始",
          "  コピー元ディレクトリ: " + dir,
          "  コピー先ディレクトリ: " + dir + "/NewFolder",
          kSeparator,
          "  対象ファイル数 " + std::to_string(files) + "個"};
}

class CopyRunInWindow : public WorkFolderTest {
 protected:
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
};

TEST_F(CopyRunInWindow, WorkedRunLogsEveryStepAndCopiesUnderNewNames) {
  const QDateTime jan5(QDate(2000, 1, 5), QTime(10, 30, 0));
  Write("a.txt", "alpha", jan5);
  Write("b.doc", "bravo", jan5);
  FormUnderTest t(dir_);
  t.form->show();
  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(WaitForRun(*t.form));

  const std::string dir = dir_.toStdString();
  Lines expected = RunHead(dir, 2);
  expected.insert(expected.end(), {
                                      "COPY_From: a.txt",
                                      "     To  : 2000年01月05日001.txt",
                                      "COPY_From: b.doc",
                                      "     To  : 2000年01月05日002.doc",
                                      "\r正常に終了しました。",
                                  });
  EXPECT_EQ(t.info->LinesUtf8(), expected);
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
  ASSERT_TRUE(WaitForRun(*t.form));

  EXPECT_EQ(Names(dir_ + "/旅行"), QStringList({"IMG_001.JPG"}));
  EXPECT_EQ(t.info->LinesUtf8().back(), "\r正常に終了しました。");
}

TEST_F(CopyRunInWindow, AnEmptyFolderNameStopsBeforeAnythingIsTouched) {
  Write("a.txt", "alpha", QDateTime::currentDateTime());
  FormUnderTest t(dir_);
  t.Find<QLineEdit>("Edit1")->setText("");
  t.form->Button2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  const Lines lines = t.info->LinesUtf8();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Error : 新しいフォルダの設定がされていません。");
  EXPECT_EQ(lines.back(), "        実行を中止しました。");
  EXPECT_EQ(QDir(dir_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"a.txt"});
}

// Everything under `dir`, hidden entries too: each entry's path, size and
// time, for telling whether anything on disk changed.
QStringList Tree(const QString& dir) {
  QStringList out;
  QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo entry(it.next());
    out << QString("%1 %2 %3")
               .arg(entry.filePath())
               .arg(entry.size())
               .arg(entry.lastModified().toMSecsSinceEpoch());
  }
  out.sort();
  return out;
}

// The controls a run rests, by name; 終了 and × stay to stop it.
const char* const kRunInputs[] = {
    "DriveComboBox1", "DirectoryListBox1", "Button1",      "Edit1",     "Memo2",        "Edit2",
    "Edit3",          "ComboBox1",         "RadioButton1", "CheckBox2", "RadioButton2", "CheckBox1",
    "ComboBox2",      "SpinEdit1",         "Button2",      "Button6",   "Button4",      "Button5",
    "SpeedButton2",   "SpeedButton3"};

// What the run logs for each of `count` files "fNNNN.txt" dated 2000-01-05,
// with the start settings.
Lines FilePairs(int count) {
  Lines out;
  for (int i = 0; i < count; ++i) {
    out.push_back(QString("COPY_From: f%1.txt").arg(i, 4, 10, QChar('0')).toStdString());
    out.push_back(
        QString("     To  : 2000年01月05日%1.txt").arg(i + 1, 3, 10, QChar('0')).toStdString());
  }
  return out;
}

class LongRunInWindow : public CopyRunInWindow {
 protected:
  void WriteFiles(int count) {
    const QDateTime jan5(QDate(2000, 1, 5), QTime(9, 0, 0));
    for (int i = 0; i < count; ++i) {
      Write(QString("f%1.txt").arg(i, 4, 10, QChar('0')), "content " + QByteArray::number(i), jan5);
    }
  }
  // Lets the event loop run until the bar shows the run at its first file.
  static void WaitForFirstFile(FormUnderTest& t) {
    auto* progress = t.Find<QProgressBar>("ProgressBar1");
    QElapsedTimer waited;
    waited.start();
    while (progress->value() < 1 && t.form->Running() && waited.elapsed() < 30000) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
  }
};

TEST_F(LongRunInWindow, TheWindowStaysAliveAndTakesEveryEntryOnceInOrder) {
  constexpr int kFiles = 1500;
  WriteFiles(kFiles);
  FormUnderTest t(dir_);
  t.form->show();
  // Every change of the information window, and the thread it came on.
  int changes_off_thread = 0;
  std::vector<int> counts_while_running;
  const auto window_change = t.info->OnChange;
  t.info->OnChange = [&] {
    if (QThread::currentThread() != QApplication::instance()->thread()) ++changes_off_thread;
    window_change();
  };

  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(t.form->Running());
  for (const char* name : kRunInputs) EXPECT_FALSE(t.Find<QWidget>(name)->isEnabled()) << name;
  EXPECT_TRUE(t.Find<QWidget>("Button3")->isEnabled());
  EXPECT_TRUE(t.Find<QWidget>("SpeedButton1")->isEnabled());
  // The options change the run too: their menu rests with its button.
  EXPECT_FALSE(t.form->OptionsMenu()->isEnabled());

  // The event loop keeps turning: timers fire, the log and the bar advance.
  int turns = 0;
  QTimer turn;
  QObject::connect(&turn, &QTimer::timeout, [&] {
    ++turns;
    if (t.form->Running()) counts_while_running.push_back(t.info->Lines().Count());
  });
  turn.start(1);
  ASSERT_TRUE(WaitForRun(*t.form));
  turn.stop();
  EXPECT_GT(turns, 3);
  ASSERT_GE(counts_while_running.size(), 2u);
  EXPECT_LT(counts_while_running.front(), counts_while_running.back());

  const std::string dir = dir_.toStdString();
  Lines expected = RunHead(dir, 1500);
  const Lines pairs = FilePairs(kFiles);
  expected.insert(expected.end(), pairs.begin(), pairs.end());
  expected.push_back("\r正常に終了しました。");
  EXPECT_EQ(t.info->LinesUtf8(), expected);
  EXPECT_EQ(changes_off_thread, 0);
  EXPECT_EQ(Names(dir_ + "/NewFolder").size(), kFiles);
  auto* progress = t.Find<QProgressBar>("ProgressBar1");
  EXPECT_EQ(progress->value(), kFiles);
  EXPECT_EQ(progress->maximum(), kFiles);

  // Every control is back as it was: the ones the settings had disabled
  // stay so.
  for (const char* name : kRunInputs) EXPECT_TRUE(t.Find<QWidget>(name)->isEnabled()) << name;
  EXPECT_TRUE(t.form->OptionsMenu()->isEnabled());
  EXPECT_FALSE(t.Find<QWidget>("Edit4")->isEnabled());
  EXPECT_FALSE(t.Find<QWidget>("DateTimePicker1")->isEnabled());
}

TEST_F(LongRunInWindow, ClosingAsksAndYesStopsAfterTheFileBeingCopied) {
  constexpr int kFiles = 2000;
  WriteFiles(kFiles);
  for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    SCOPED_TRACE(answer == QMessageBox::Yes ? "yes" : "no");
    FormUnderTest t(dir_);
    t.form->show();
    MessageBoxAnswerer answerer(answer);
    QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);
    WaitForFirstFile(t);
    ASSERT_TRUE(t.form->Running());
    // × for one answer, 終了 for the other: both ask the same.
    QTest::mouseClick(t.Find<QWidget>(answer == QMessageBox::Yes ? "Button3" : "SpeedButton1"),
                      Qt::LeftButton);
    ASSERT_TRUE(WaitForRun(*t.form));

    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, "実行を中止しますか？");
    EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);

    const QStringList made = Names(dir_ + "/NewFolder");
    const Lines lines = t.info->LinesUtf8();
    if (answer == QMessageBox::No) {
      EXPECT_TRUE(t.form->isVisible());
      EXPECT_EQ(made.size(), kFiles);
      EXPECT_EQ(lines.back(), "\r正常に終了しました。");
      continue;
    }
    // Stopped: the window closed, every file before the stop is whole, none
    // after it exists, and nothing half-written or hidden is left.
    EXPECT_FALSE(t.form->isVisible());
    // The stop may cut the first file short: none, or some, are complete.
    const int copied = made.size();
    EXPECT_LT(copied, kFiles);
    // Compared as sets: past the 999th file a name like ...1000.txt sorts
    // before ...101.txt, however fast the stop came.
    QStringList expected;
    for (int i = 0; i < copied; ++i) {
      const QString name = QString("2000年01月05日%1.txt").arg(i + 1, 3, 10, QChar('0'));
      expected << name;
      EXPECT_EQ(Read(dir_ + "/NewFolder/" + name), "content " + QByteArray::number(i));
    }
    QStringList found = made;
    found.sort();
    expected.sort();
    ASSERT_EQ(found, expected);
    ASSERT_GE(lines.size(), 3u);
    // The stop came between two files, or inside the one being copied, whose
    // pair is then logged and its copy removed.
    const Lines logged(lines.begin(), lines.end() - 2);
    const auto ends_with = [&logged](const Lines& pairs) {
      return logged.size() >= pairs.size() &&
             Lines(logged.end() - static_cast<std::ptrdiff_t>(pairs.size()), logged.end()) == pairs;
    };
    EXPECT_TRUE(ends_with(FilePairs(copied)) || ends_with(FilePairs(copied + 1)));
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
              (Lines{"        実行を中止しました。",
                     "  コピーしたファイル数 " + std::to_string(copied) + "個"}));
  }
}

TEST_F(CopyRunInWindow, APreviewLeavesTheDiskAsItWasAndListsWhatTheRunDoes) {
  const QDateTime jan5(QDate(2000, 1, 5), QTime(10, 30, 0));
  Write("a.txt", "alpha", jan5);
  Write("b.doc", "bravo", jan5);
  ASSERT_TRUE(QDir().mkpath(dir_ + "/NewFolder"));
  Write("NewFolder/old.txt", "old", jan5);
  FormUnderTest t(dir_);
  t.form->show();
  const QStringList before = Tree(folder_.path());
  QTest::mouseClick(t.Find<QWidget>("SpeedButton2"), Qt::LeftButton);
  EXPECT_TRUE(t.form->Running());
  EXPECT_FALSE(t.Find<QWidget>("Button2")->isEnabled());
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(Tree(folder_.path()), before);

  const std::string dir = dir_.toStdString();
  const Lines preview = t.info->LinesUtf8();
  EXPECT_EQ(
      preview,
      (Lines{"□■□ プレビュー □■□", "  ※ファイルのコピーやフォルダの作成は行いません。", kSeparator,
             "  コピー元ディレクトリ: " + dir, "  コピー先ディレクトリ: " + dir + "/NewFolder",
             "新しいフォルダと同名のディレクトリが存在します。",
             "  ※実行するとディレクトリ内のファイルはゴミ箱に移動されます。", kSeparator,
             "  対象ファイル数 2個", "COPY_From: a.txt", "     To  : 2000年01月05日001.txt",
             "     Date: 2000/01/05 10:30:00", "COPY_From: b.doc",
             "     To  : 2000年01月05日002.doc", "     Date: 2000/01/05 10:30:00",
             "\rプレビューを終了しました。コピーされるファイル: 2個"}));
  EXPECT_TRUE(t.Find<QWidget>("Button2")->isEnabled());

  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(WaitForRun(*t.form));
  const Lines run = t.info->LinesUtf8();
  EXPECT_EQ(Lines(run.end() - 5, run.end() - 1),
            (Lines{preview[9], preview[10], preview[12], preview[13]}));
  EXPECT_EQ(Names(dir_ + "/NewFolder"),
            QStringList({"2000年01月05日001.txt", "2000年01月05日002.doc"}));
}

TEST_F(LongRunInWindow, ClosingDuringAPreviewStopsItWithoutAsking) {
  WriteFiles(2000);
  FormUnderTest t(dir_);
  t.form->show();
  MessageBoxAnswerer answerer(QMessageBox::No);
  const QStringList before = Tree(folder_.path());
  QTest::mouseClick(t.Find<QWidget>("SpeedButton2"), Qt::LeftButton);
  WaitForFirstFile(t);
  t.form->close();
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_FALSE(t.form->isVisible());
  EXPECT_EQ(Tree(folder_.path()), before);
}

TEST_F(CopyRunInWindow, ExifFirstDatesPhotosByTheMomentTheyWereTaken) {
  const QDateTime written(QDate(2001, 2, 3), QTime(4, 5, 6));
  Write("a.jpg", QByteArray::fromStdString(test_support::JpegBytes(8, 8)), written);
  test_support::TagWithDates((dir_ + "/a.jpg").toStdString(), {"2019:04:30 10:11:12", "", ""});
  {
    // Tagging wrote the file; it is dated as before.
    QFile file(dir_ + "/a.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
  }
  Write("b.jpg", QByteArray::fromStdString(test_support::JpegBytes(8, 8)), written);
  // Its Exif block holds nothing but noise.
  QByteArray damaged = QByteArray::fromStdString(test_support::JpegBytes(8, 8));
  damaged.insert(2, QByteArray("\xFF\xE1\x00\x20"
                               "Exif\0\0II*\0\xF0\xFF\xFF\x7F",
                               18) +
                        QByteArray(16, '\xAB'));
  Write("c.jpg", damaged, written);
  Write("d.heic",
        QByteArray::fromStdString(test_support::HeifWithExif({"", "2022:12:24 18:00:00", ""})),
        written);
  Write("e.txt", "no picture", QDateTime(QDate(1979, 6, 1), QTime(0, 0, 0)));

  FormUnderTest t(dir_);
  t.form->show();
  auto* exif = t.Find<QCheckBox>("CheckBox2");
  EXPECT_EQ(exif->text(), "Exif優先");
  EXPECT_FALSE(exif->isChecked());
  EXPECT_TRUE(exif->isEnabled());
  QTest::mouseClick(t.Find<QRadioButton>("RadioButton2"), Qt::LeftButton);
  EXPECT_FALSE(exif->isEnabled());
  QTest::mouseClick(t.Find<QRadioButton>("RadioButton1"), Qt::LeftButton);
  EXPECT_TRUE(exif->isEnabled());
  const QString sample = t.Find<QLabel>("Label15")->text();
  QTest::mouseClick(exif, Qt::LeftButton);
  ASSERT_TRUE(exif->isChecked());
  EXPECT_EQ(t.Find<QLabel>("Label15")->text(), sample);

  const std::string no_capture =
      "下記のファイルは撮影日時が無いため、ファイル更新日にされました。\r";
  const std::string no_time = "下記のファイルは時間の取得に失敗し、現在の時間にされました。\r";
  const std::string today = QDate::currentDate().toString("yyyy年MM月dd日").toStdString();
  const Lines expected_files = {"  対象ファイル数 5個",
                                "COPY_From: a.jpg",
                                "     To  : 2019年04月30日001.jpg",
                                no_capture,
                                "COPY_From: b.jpg",
                                "     To  : 2001年02月03日002.jpg",
                                no_capture,
                                "COPY_From: c.jpg",
                                "     To  : 2001年02月03日003.jpg",
                                "COPY_From: d.heic",
                                "     To  : 2022年12月24日004.heic",
                                no_capture,
                                no_time,
                                "COPY_From: e.txt",
                                "     To  : " + today + "005.txt"};
  const auto files_part = [](Lines lines) {
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("     Date: "); });
    return Lines(lines.end() - 16, lines.end() - 1);
  };

  t.form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(files_part(t.info->LinesUtf8()), expected_files);
  EXPECT_FALSE(QDir(dir_ + "/NewFolder").exists());

  QTest::mouseClick(t.Find<QPushButton>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(files_part(t.info->LinesUtf8()), expected_files);
  EXPECT_EQ(Names(dir_ + "/NewFolder"),
            QStringList({"2001年02月03日002.jpg", "2001年02月03日003.jpg", "2019年04月30日001.jpg",
                         "2022年12月24日004.heic", QString::fromStdString(today) + "005.txt"}));
}

}  // namespace
}  // namespace app::test
