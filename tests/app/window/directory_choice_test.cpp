// Choosing the directory: the tree list of ancestors and sub-directories,
// opening entries, the drive list, and names without a CP932 form.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/window/directory_list_box.h"
#include "app/window/drive_combo_box.h"
#include "platform/cp932.h"
#include "platform/volumes/volume_watch.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

class DirectoryChoice : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    for (const char* sub : {"beta", "Alpha", ".cache", "gamma/deep"}) {
      ASSERT_TRUE(QDir(dir_).mkpath(sub));
    }
  }

  // The list as shown: each entry's text, indented two spaces per level.
  static QStringList Shown(QTreeWidget* list) {
    QStringList shown;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int level) {
      shown << QString(level * 2, ' ') + item->text(0);
      for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), level + 1);
    };
    for (int i = 0; i < list->topLevelItemCount(); ++i) walk(list->topLevelItem(i), 0);
    return shown;
  }
};

TEST_F(DirectoryChoice, AncestorsFromTheRootThenTheSubDirectories) {
  FormUnderTest t(dir_);
  auto* list = t.Find<DirectoryListBox>("DirectoryListBox1");
  EXPECT_EQ(list->Directory(), dir_);
  EXPECT_EQ(t.Find<QLabel>("Label2")->text(), dir_);

  QStringList expected{"/"};
  const QStringList parts = dir_.split('/', Qt::SkipEmptyParts);
  for (int i = 0; i < parts.size(); ++i) expected << QString((i + 1) * 2, ' ') + parts[i];
  const QString below(parts.size() * 2 + 2, ' ');
  expected << below + "Alpha" << below + "beta" << below + "gamma";  // no hidden ones
  EXPECT_EQ(Shown(list), expected);
  EXPECT_EQ(list->currentItem()->text(0), "work");
}

// A link to a folder is a folder to choose; a link to a file, or to
// nothing, is none.
TEST_F(DirectoryChoice, LinksToFoldersAreListedAsFolders) {
  ASSERT_TRUE(QFile::link(dir_ + "/gamma", dir_ + "/linked"));
  QFile file(dir_ + "/plain.txt");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(QFile::link(dir_ + "/plain.txt", dir_ + "/file_link"));
  ASSERT_TRUE(QFile::link(dir_ + "/gone", dir_ + "/broken_link"));
  FormUnderTest t(dir_);
  auto* list = t.Find<DirectoryListBox>("DirectoryListBox1");
  QStringList children;
  for (int i = 0; i < list->currentItem()->childCount(); ++i)
    children << list->currentItem()->child(i)->text(0);
  EXPECT_EQ(children, (QStringList{"Alpha", "beta", "gamma", "linked"}));
}

TEST_F(DirectoryChoice, DoubleClickAndEnterOpenAnEntry) {
  FormUnderTest t(dir_);
  t.form->show();
  auto* list = t.Find<DirectoryListBox>("DirectoryListBox1");
  QTreeWidgetItem* gamma = list->currentItem()->child(2);
  ASSERT_EQ(gamma->text(0), "gamma");
  const QRect place = list->visualItemRect(gamma);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
  EXPECT_EQ(list->Directory(), dir_ + "/gamma");
  EXPECT_EQ(t.Find<QLabel>("Label2")->text(), dir_ + "/gamma");
  EXPECT_EQ(list->currentItem()->child(0)->text(0), "deep");

  // Up to the parent with the keyboard.
  QTest::keyClick(list, Qt::Key_Up);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(list->Directory(), dir_);
}

TEST_F(DirectoryChoice, StartsAtTheCurrentDirectory) {
  const QString before = QDir::currentPath();
  QDir::setCurrent(dir_);
  FormUnderTest t;
  QDir::setCurrent(before);
  EXPECT_EQ(t.form->SelectedDirectory(), dir_);
}

TEST_F(DirectoryChoice, DriveListHasTheRootFirstAndMovesTheDirectoryList) {
  FormUnderTest t(dir_);
  auto* drives = t.Find<DriveComboBox>("DriveComboBox1");
  ASSERT_GE(drives->count(), 1);
  EXPECT_EQ(drives->itemData(0).toString(), "/");
  // The drive shown is the file system that holds the directory.
  EXPECT_TRUE(dir_.startsWith(drives->Drive()));

  // The mounts arrive from the watch's thread; one of them holds the
  // directory. (No event is let through below, so no other list comes.)
  const QString card = QDir(folder_.path()).canonicalPath();
  drives->SetVolumes({{card.toStdString(), "CARD"}});
  ASSERT_EQ(drives->count(), 2);
  EXPECT_EQ(drives->itemText(1), "CARD (" + card + ")");
  EXPECT_EQ(drives->Drive(), card);
  EXPECT_EQ(t.form->SelectedDirectory(), dir_) << "following is no choice";

  drives->setCurrentIndex(0);
  EXPECT_EQ(t.form->SelectedDirectory(), "/");
  EXPECT_EQ(t.Find<QLabel>("Label2")->text(), "/");
  drives->setCurrentIndex(1);
  EXPECT_EQ(t.form->SelectedDirectory(), card);
  // The card goes: the root, which holds the directory now, is shown.
  drives->SetVolumes({});
  EXPECT_EQ(drives->count(), 1);
  EXPECT_EQ(drives->Drive(), "/");
  EXPECT_EQ(t.form->SelectedDirectory(), card);
}

TEST_F(DirectoryChoice, DirectoriesWithoutACp932NameAreChosenAndShownApproximately) {
  // "café" and "絵文字😀" have no CP932 form; "w〜" (U+301C) shows like
  // "w～" (U+FF5E), another directory's name.
  struct Case {
    QString name;
    QString shown;
  } cases[] = {
      {QStringLiteral(u"caf\u00E9"), QStringLiteral("caf?")},
      {QStringLiteral(u"\u7D75\u6587\u5B57\U0001F600"), QStringLiteral(u"\u7D75\u6587\u5B57?")},
      {QStringLiteral(u"w\u301C"), QStringLiteral(u"w\uFF5E")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    ASSERT_TRUE(QDir(dir_).mkdir(c.name));
    FormUnderTest t(dir_);
    auto* list = t.Find<DirectoryListBox>("DirectoryListBox1");
    auto* label = t.Find<QLabel>("Label2");
    QTreeWidgetItem* entry = nullptr;
    for (int i = 0; i < list->currentItem()->childCount(); ++i) {
      if (list->currentItem()->child(i)->text(0) == c.name) entry = list->currentItem()->child(i);
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(entry->toolTip(0).isEmpty());
    EXPECT_TRUE(label->toolTip().isEmpty());

    ASSERT_TRUE(list->SetDirectory(dir_ + "/" + c.name));
    EXPECT_EQ(list->Directory(), dir_ + "/" + c.name);
    EXPECT_EQ(label->text(), dir_ + "/" + c.shown);
    EXPECT_FALSE(label->toolTip().isEmpty());
    EXPECT_EQ(t.form->SelectedDirectoryOnDisk(), (dir_ + "/" + c.name).toStdString());

    // Started inside one, the list opens it, not its parent.
    FormUnderTest inside(dir_ + "/" + c.name);
    EXPECT_EQ(inside.form->SelectedDirectory(), dir_ + "/" + c.name);
  }

  // The full-width tilde itself is a CP932 name like any other.
  ASSERT_TRUE(QDir(dir_).mkdir(QStringLiteral("w\uFF5E")));
  FormUnderTest t(dir_);
  EXPECT_TRUE(t.Find<DirectoryListBox>("DirectoryListBox1")->SetDirectory(dir_ + "/w\uFF5E"));
  EXPECT_EQ(t.form->SelectedDirectoryCp932(),
            *platform::Utf8ToCp932((dir_ + "/w\uFF5E").toStdString()));
  EXPECT_TRUE(t.Find<QLabel>("Label2")->toolTip().isEmpty());
}

TEST_F(DirectoryChoice, RunAndFileListGoWhereAnApproximatelyShownFolderIs) {
  const QString chosen = dir_ + QStringLiteral(u"/caf\u00E9");
  ASSERT_TRUE(QDir().mkpath(chosen));
  QFile photo(chosen + QStringLiteral(u"/\u5199\u771F\U0001F600.jpg"));  // 写真😀.jpg
  ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
  photo.write("photo");
  photo.close();
  FormUnderTest t(chosen);
  const std::string shown = dir_.toStdString() + "/caf?";

  MessageBoxAnswerer answerer(QMessageBox::No);
  t.form->Button6Click();
  const std::vector<std::string> listed = t.info->LinesUtf8();
  EXPECT_NE(std::find(listed.begin(), listed.end(), "  ディレクトリ: " + shown), listed.end());
  EXPECT_NE(std::find(listed.begin(), listed.end(), "写真?.jpg"), listed.end());
  EXPECT_EQ(listed.back(), "  対象ファイル数: 1個");

  t.form->Button2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  const std::vector<std::string> log = t.info->LinesUtf8();
  EXPECT_NE(std::find(log.begin(), log.end(), "  コピー元ディレクトリ: " + shown), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "COPY_From: 写真?.jpg"), log.end());
  EXPECT_EQ(log.back(), "\r正常に終了しました。");
  EXPECT_EQ(QDir(chosen + "/NewFolder").entryList(QDir::Files).size(), 1);
}

TEST_F(DirectoryChoice, AFolderWhoseNameIsNoUtf8IsChosenByItsBytes) {
  // Byte 0xFF never occurs in UTF-8: Qt shows it as U+FFFD, and that name
  // written back is another one, which does not exist.
  const QByteArray root = QFile::encodeName(dir_);
  const QByteArray odd = root + "/odd\xFF";
  ASSERT_EQ(::mkdir(odd.constData(), 0755), 0);
  ASSERT_EQ(::mkdir((odd + "/inner\xFE").constData(), 0755), 0);
  const std::string photo_path = (odd + "/photo.jpg").toStdString();
  FILE* photo = std::fopen(photo_path.c_str(), "wb");
  ASSERT_NE(photo, nullptr);
  std::fputs("photo", photo);
  std::fclose(photo);

  FormUnderTest t(dir_);
  t.form->show();
  auto* list = t.Find<DirectoryListBox>("DirectoryListBox1");
  QTreeWidgetItem* entry = nullptr;
  for (int i = 0; i < list->currentItem()->childCount(); ++i) {
    if (list->currentItem()->child(i)->text(0) == QStringLiteral(u"odd\uFFFD"))
      entry = list->currentItem()->child(i);
  }
  ASSERT_NE(entry, nullptr) << Shown(list).join('|').toStdString();
  EXPECT_FALSE(entry->toolTip(0).isEmpty());  // shown approximately
  list->setCurrentItem(entry);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(list->NativeDirectory(), odd);
  EXPECT_EQ(t.form->SelectedDirectoryOnDisk(), odd.toStdString());
  EXPECT_FALSE(t.Find<QLabel>("Label2")->toolTip().isEmpty());

  // Its own sub-folder opens from there, and the way back up by the
  // ancestor's entry keeps the bytes too.
  ASSERT_EQ(list->currentItem()->childCount(), 1);
  list->setCurrentItem(list->currentItem()->child(0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(list->NativeDirectory(), odd + "/inner\xFE");
  list->setCurrentItem(list->currentItem()->parent());
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(list->NativeDirectory(), odd);

  // A run copies from it.
  MessageBoxAnswerer answerer(QMessageBox::No);
  t.form->Button2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(t.info->LinesUtf8().back(), "\r正常に終了しました。");
  int copied = 0;
  for (const auto& file : std::filesystem::directory_iterator((odd + "/NewFolder").toStdString()))
    copied += file.is_regular_file() ? 1 : 0;
  EXPECT_EQ(copied, 1);
}

}  // namespace
}  // namespace app::test
