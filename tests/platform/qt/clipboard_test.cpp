// The clipboard as other programs see it: Unicode text with their line
// breaks, the box format with the CP932 bytes, and refusals for text that
// has no form on the other side.
#include "platform/qt/clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>

#include "tests/platform/qt/test_control.h"

namespace platform {
namespace {

using testing::App;
using testing::Sjis;

TEST(ClipboardTest, TextGoesOutAsUnicodeWithLineFeeds) {
  App();
  ASSERT_EQ(PutClipboardText(Sjis("あい\r\nう\tx"), false), TClipboardStatus::Done);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), QString::fromUtf8("あい\nう\tx"));
  EXPECT_FALSE(data->hasFormat(kBoxClipboardFormat));

  const TClipboardText back = GetClipboardText();
  EXPECT_EQ(back.Status, TClipboardStatus::Done);
  EXPECT_EQ(back.Text, Sjis("あい\nう\tx"));
  EXPECT_FALSE(back.Box);
}

TEST(ClipboardTest, BoxCarriesItsBytesUnderThePrivateFormat) {
  App();
  const std::string box = Sjis("～①\r\nab");  // CP932's own forms of the two
  ASSERT_EQ(PutClipboardText(box, true), TClipboardStatus::Done);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QByteArray bytes = data->data(kBoxClipboardFormat);
  EXPECT_EQ(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            box + std::string(1, '\0'));
  const TClipboardText back = GetClipboardText();
  EXPECT_TRUE(back.Box);
  EXPECT_EQ(back.Text, Sjis("～①\nab"));
}

TEST(ClipboardTest, TextFromAnotherProgramIsNoBox) {
  App();
  ASSERT_EQ(PutClipboardText("box", true), TClipboardStatus::Done);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("ほか"));
  const TClipboardText back = GetClipboardText();
  EXPECT_EQ(back.Status, TClipboardStatus::Done);
  EXPECT_EQ(back.Text, Sjis("ほか"));
  EXPECT_FALSE(back.Box);
}

TEST(ClipboardTest, RefusesWhatHasNoFormOnTheOtherSide) {
  App();
  QGuiApplication::clipboard()->setText(QString::fromUtf8("before"));
  // A lone lead byte is no CP932 text: the clipboard keeps what it had.
  EXPECT_EQ(PutClipboardText("a\x82", false), TClipboardStatus::NotCp932);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("before"));

  // An emoji has no CP932 form: no text, rather than a guessed one.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("a😀b"));
  const TClipboardText back = GetClipboardText();
  EXPECT_EQ(back.Status, TClipboardStatus::NotCp932);
  EXPECT_TRUE(back.Text.empty());
}

TEST(ClipboardTest, ClearedClipboardHasNoText) {
  App();
  ASSERT_EQ(PutClipboardText("x", false), TClipboardStatus::Done);
  ClearClipboardText();
  EXPECT_EQ(GetClipboardText().Status, TClipboardStatus::NoText);
}

}  // namespace
}  // namespace platform
