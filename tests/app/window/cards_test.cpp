// Cards and phones as they arrive while the window is open, on real mounts
// (as root; ./test.sh runs this as CI does): the drive list follows them, a
// mount that never answers does not keep the window from appearing, and
// "カードを自動で選ぶ" chooses a new card's DCIM folder.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/window/drive_combo_box.h"
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

}  // namespace
}  // namespace app::test
