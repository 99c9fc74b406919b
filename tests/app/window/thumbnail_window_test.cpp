// "縮小画像で確認": プレビュー also opens the thumbnail window, its files in the
// run's order under their new names, with the preview's mark, their pictures
// made on worker threads and a plain icon for a file that gives none.
#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListView>

#include "app/window/thumbnail_model.h"
#include "app/window/thumbnail_window.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

class ThumbnailWindowTest : public WorkFolderTest {
 protected:
  void WritePhoto(const QString& name, QColor colour) {
    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    WriteFile(dir_ + "/" + name, bytes);
    Date(name);
  }
  // Every file of one day: without a serial, one name for all photos.
  void Date(const QString& name) {
    QFile file(dir_ + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10)),
                                 QFileDevice::FileModificationTime));
  }
  static bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
      if (waited.elapsed() > 20000) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
  }
};

TEST_F(ThumbnailWindowTest, OffThePreviewShowsNoPictures) {
  WritePhoto("a.jpg", Qt::red);
  FormUnderTest t(dir_);
  t.form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(t.form->Thumbnails(), nullptr);
}

TEST_F(ThumbnailWindowTest, ShowsTheFilesInTheRunsOrderWithTheirNewNamesMarksAndPictures) {
  WritePhoto("a.jpg", Qt::red);
  WritePhoto("b.jpg", Qt::blue);
  WriteFile(dir_ + "/c.jpg", "no picture");
  Date("c.jpg");
  FormUnderTest t(dir_);
  t.Find<QComboBox>("ComboBox1")->setCurrentIndex(0);  // no serial
  t.Find<QLineEdit>("Edit3")->setText("yyyymmdd");
  t.form->ThumbnailsItem()->trigger();
  t.form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  ThumbnailWindow* window = t.form->Thumbnails();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowTitle(), QStringLiteral(u"縮小画像で確認"));
  ThumbnailModel* model = window->Model();
  ASSERT_TRUE(WaitFor([&] { return model->rowCount() == 3; }));
  const auto at = [&](int row, int role) { return model->data(model->index(row), role); };
  // What the log's To lines say, and its mark on the names a later file
  // overwrites.
  const QString overwritten = QStringLiteral(u"※この名前は後のファイルで上書きされます。");
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(at(row, Qt::DisplayRole).toString(), "20240506.jpg") << row;
    EXPECT_EQ(at(row, ThumbnailModel::kMarkRole).toString(), row < 2 ? overwritten : QString())
        << row;
    EXPECT_EQ(at(row, ThumbnailModel::kFileNameRole).toString(),
              QString(QChar('a' + row)) + ".jpg");
  }
  // Pictures come from the workers; the one that is no picture gets the
  // plain icon.
  ASSERT_TRUE(WaitFor([&] {
    return !at(0, ThumbnailModel::kPictureRole).value<QImage>().isNull() &&
           !at(1, ThumbnailModel::kPictureRole).value<QImage>().isNull() &&
           at(2, ThumbnailModel::kUnreadableRole).toBool();
  }));
  const QImage a = at(0, ThumbnailModel::kPictureRole).value<QImage>();
  EXPECT_EQ(a.size(), QSize(160, 120));
  EXPECT_GT(a.pixelColor(80, 60).red(), 200);
  EXPECT_FALSE(at(0, ThumbnailModel::kUnreadableRole).toBool());
  // The window paints them all without waiting.
  window->View()->grab();

  // The next preview starts afresh; a file gone before its picture was made
  // (a card taken out) gets the plain icon.
  WritePhoto("d.jpg", Qt::green);
  t.Find<QLineEdit>("Edit3")->setText("yyyy-mm-dd");
  t.form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t.form));
  ASSERT_TRUE(WaitFor([&] { return model->rowCount() == 4; }));
  EXPECT_EQ(at(3, Qt::DisplayRole).toString(), "2024-05-06.jpg");
  ASSERT_TRUE(QFile::remove(dir_ + "/d.jpg"));
  EXPECT_TRUE(WaitFor([&] {
    return at(3, ThumbnailModel::kUnreadableRole).toBool() &&
           at(3, ThumbnailModel::kPictureRole).value<QImage>().isNull();
  }));
  EXPECT_TRUE(
      WaitFor([&] { return !at(1, ThumbnailModel::kPictureRole).value<QImage>().isNull(); }));
}

}  // namespace
}  // namespace app::test
