// Cards and phones as they arrive while the window is open, on real mounts
// (as root; ./test.sh runs this as CI does): the drive list follows them, a
// mount that never answers does not keep the window from appearing,
// "カードを自動で選ぶ" chooses a new card's DCIM folder, and a card taken out
// while its thumbnails are made leaves plain icons, not a window that waits.
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QTest>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/window/drive_combo_box.h"
#include "app/window/thumbnail_model.h"
#include "app/window/thumbnail_window.h"
#include "tests/app/window/window_test_support.h"
#include "tests/support/mounts.h"

namespace app::test {
namespace {

class Cards : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    // GLib reads the home folder once a process; the desktop shows what is
    // mounted there.
    static QTemporaryDir home;
    home_ = QDir(home.path()).canonicalPath();
    setenv("HOME", home_.toLocal8Bit().constData(), 1);
  }

  // Whether the drive list has an entry for `root`, within a while.
  static bool Lists(DriveComboBox* drives, const QString& root, bool listed = true) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
      if ((drives->findData(root) >= 0) == listed) return true;
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return false;
  }

  QString home_;
};

TEST_F(Cards, TheWindowAppearsAtOnceBesideAMountThatHangs) {
  test_support::HungMount hung((home_ + "/hung").toStdString());
  QElapsedTimer made;
  made.start();
  FormUnderTest t(dir_);
  t.form->show();
  EXPECT_LT(made.elapsed(), 5000);
  // The list comes a moment later, the hung mount's entry in it: it is
  // only read from the kernel's table, not asked.
  auto* drives = t.Find<DriveComboBox>("DriveComboBox1");
  EXPECT_TRUE(Lists(drives, home_ + "/hung"));
  EXPECT_EQ(drives->itemData(0).toString(), "/");
  EXPECT_EQ(t.form->SelectedDirectory(), dir_);
}

TEST_F(Cards, CardsComeAndGoByTheirLabelAndTheirDcimFolderIsChosenWhenAsked) {
  FormUnderTest t(dir_);
  auto* drives = t.Find<DriveComboBox>("DriveComboBox1");
  // Off (the start value): a card arrives and is listed, nothing is chosen.
  {
    test_support::FatCard card((home_ + "/EOS_DIGITAL").toStdString(), {"DCIM"});
    ASSERT_TRUE(Lists(drives, home_ + "/EOS_DIGITAL"));
    EXPECT_EQ(drives->itemText(drives->findData(home_ + "/EOS_DIGITAL")),
              "EOS_DIGITAL (" + home_ + "/EOS_DIGITAL)");
    QTest::qWait(500);
    EXPECT_EQ(t.form->SelectedDirectory(), dir_);
  }
  EXPECT_TRUE(Lists(drives, home_ + "/EOS_DIGITAL", false));

  t.form->ChooseCardsItem()->trigger();
  {
    test_support::FatCard card((home_ + "/NIKON").toStdString(), {"DCIM", "DCIM/100NIKON"});
    QElapsedTimer waited;
    waited.start();
    while (t.form->SelectedDirectory() != home_ + "/NIKON/DCIM" && waited.elapsed() < 20000)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(t.form->SelectedDirectory(), home_ + "/NIKON/DCIM");
    EXPECT_EQ(drives->Drive(), home_ + "/NIKON");
    // A stick without pictures is listed, not chosen.
    test_support::FatCard stick((home_ + "/USB").toStdString());
    ASSERT_TRUE(Lists(drives, home_ + "/USB"));
    QTest::qWait(500);
    EXPECT_EQ(t.form->SelectedDirectory(), home_ + "/NIKON/DCIM");
    // The card goes while chosen: the list shows the root again.
    card.Unmount();
    ASSERT_TRUE(Lists(drives, home_ + "/NIKON", false));
    EXPECT_EQ(drives->Drive(), "/");
  }
}

TEST_F(Cards, ACardThatHangsAndIsTakenOutWhileItsThumbnailsAreMadeLeavesPlainIcons) {
  // The card's reader: our FUSE layer over a folder of photos, which can be
  // made to hang and then be pulled out.
  const QString backing = home_ + "/.card-backing";
  constexpr int kPhotos = 120;
  QImage image(640, 480, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG");
  for (int i = 0; i < kPhotos; ++i)
    WriteFile(backing + QString("/IMG_%1.JPG").arg(i, 4, 10, QChar('0')), bytes);
  test_support::FaultFsMount card(backing.toStdString(), (home_ + "/CARD").toStdString(), {});

  FormUnderTest t(home_ + "/CARD");
  t.form->show();
  t.form->ThumbnailsItem()->trigger();
  t.form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  ThumbnailWindow* window = t.form->Thumbnails();
  ASSERT_NE(window, nullptr);
  ThumbnailModel* model = window->Model();
  QElapsedTimer waited;
  waited.start();
  while (model->rowCount() < kPhotos && waited.elapsed() < 20000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(model->rowCount(), kPhotos);

  // The reader hangs; the rows at the end, never shown before, are asked
  // for now and wait on it. The window goes on answering meanwhile.
  card.Hang();
  window->View()->scrollToBottom();
  const auto turns_stay_short = [](int milliseconds) {
    QElapsedTimer spell;
    spell.start();
    while (spell.elapsed() < milliseconds) {
      QElapsedTimer turn;
      turn.start();
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      EXPECT_LT(turn.elapsed(), 1000) << "the window's thread waited on the card";
    }
  };
  turns_stay_short(500);
  const QModelIndex last = model->index(kPhotos - 1);
  model->data(last, ThumbnailModel::kPictureRole);  // asked for, at the latest now
  EXPECT_GT(model->Waiting(), 0);

  // Taken out: what waited fails, and each such file shows the plain icon.
  card.Abort();
  waited.restart();
  while (waited.elapsed() < 30000 &&
         !(model->Waiting() == 0 && model->data(last, ThumbnailModel::kUnreadableRole).toBool()))
    turns_stay_short(50);
  EXPECT_EQ(model->Waiting(), 0);
  EXPECT_TRUE(model->data(last, ThumbnailModel::kUnreadableRole).toBool());
  EXPECT_TRUE(model->data(last, ThumbnailModel::kPictureRole).value<QImage>().isNull());
  window->View()->grab();
}

}  // namespace
}  // namespace app::test
