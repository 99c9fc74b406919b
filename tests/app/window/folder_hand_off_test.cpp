// A folder handed to the running window: dropped from a file manager, or
// named by a later start, which finds the window through the socket beside
// the single-instance lock.
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/window/dropped_folder.h"
#include "app/window/single_instance.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

class FolderHandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(folder_.isValid());
    root_ = QDir(folder_.path()).canonicalPath();
    ASSERT_TRUE(QDir(root_).mkpath("start"));
    ASSERT_TRUE(QDir(root_).mkpath("photos/2000"));
    QFile file(root_ + "/photos/2000/IMG_0001.JPG");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QTemporaryDir folder_;
  QString root_;
};

struct DropCase {
  const char* what;
  std::function<void(QMimeData&, const QString& root)> fill;
  const char* chosen;  // under the root; nullptr: refused
};

TEST_F(FolderHandOff, ADropChoosesTheFolderOrTheFilesFolderAndRefusesTheRest) {
  const DropCase cases[] = {
      {"a folder",
       [](QMimeData& m, const QString& r) { m.setUrls({QUrl::fromLocalFile(r + "/photos")}); },
       "/photos"},
      {"a file",
       [](QMimeData& m, const QString& r) {
         m.setUrls({QUrl::fromLocalFile(r + "/photos/2000/IMG_0001.JPG")});
       },
       "/photos/2000"},
      {"several: the first counts",
       [](QMimeData& m, const QString& r) {
         m.setUrls({QUrl::fromLocalFile(r + "/photos/2000"), QUrl::fromLocalFile(r + "/photos")});
       },
       "/photos/2000"},
      {"a web address",
       [](QMimeData& m, const QString&) { m.setUrls({QUrl("https://example.org/photos")}); },
       nullptr},
      {"a path that is gone",
       [](QMimeData& m, const QString& r) { m.setUrls({QUrl::fromLocalFile(r + "/gone")}); },
       nullptr},
      {"plain text naming a folder",
       [](QMimeData& m, const QString& r) { m.setText(r + "/photos"); }, nullptr},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.what);
    FormUnderTest t(root_ + "/start");
    t.form->show();
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QMimeData data;
    c.fill(data, root_);
    QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(t.form.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), c.chosen != nullptr);
    QDropEvent drop(QPointF(300, 200), Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(t.form.get(), &drop);
    EXPECT_EQ(drop.isAccepted(), c.chosen != nullptr);
    const QString expected = root_ + (c.chosen ? c.chosen : "/start");
    EXPECT_EQ(t.form->SelectedDirectory(), expected);
    // As a choice in the list: the run's directory shows it.
    EXPECT_EQ(t.Find<QLabel>("Label2")->text(), expected);
    QApplication::processEvents();
    EXPECT_TRUE(answerer.seen().empty());
  }
}

TEST_F(FolderHandOff, ALaterStartHandsItsFolderToTheRunningWindow) {
  const QString lock = root_ + "/desktop.lock";
  FormUnderTest t(root_ + "/start");
  t.form->show();
  InstanceChannel channel(lock);
  ASSERT_TRUE(channel.Listen());
  std::vector<QByteArray> handed;
  channel.OnFolder = [&](const QByteArray& folder) {
    handed.push_back(folder);
    t.form->TakeHandedFolder(QFile::decodeName(folder));
  };
  EXPECT_TRUE(InstanceChannel::HandFolder(lock, QFile::encodeName(root_ + "/photos")));
  QTRY_COMPARE(handed.size(), 1u);
  EXPECT_EQ(t.form->SelectedDirectory(), root_ + "/photos");
  // A folder that cannot be chosen changes nothing.
  EXPECT_TRUE(InstanceChannel::HandFolder(lock, QFile::encodeName(root_ + "/gone")));
  QTRY_COMPARE(handed.size(), 2u);
  EXPECT_EQ(t.form->SelectedDirectory(), root_ + "/photos");
  // Where no window listens, the later start hears so at once.
  EXPECT_FALSE(InstanceChannel::HandFolder(root_ + "/other.lock", "/tmp", 200));
}

TEST_F(FolderHandOff, ASocketLeftByAProgramThatDiedIsTakenOver) {
  const QString lock = root_ + "/desktop.lock";
  QFile left(lock + ".socket");
  ASSERT_TRUE(left.open(QIODevice::WriteOnly));
  left.close();
  InstanceChannel channel(lock);
  EXPECT_TRUE(channel.Listen());
  int heard = 0;
  channel.OnFolder = [&](const QByteArray&) { ++heard; };
  EXPECT_TRUE(InstanceChannel::HandFolder(lock, "/"));
  QTRY_COMPARE(heard, 1);
}

}  // namespace
}  // namespace app::test
