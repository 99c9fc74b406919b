// The clipboard as other programs see it: Unicode text with their line
// breaks and visible substitutes; as our own controls see it: the exact
// CP932 bytes, with the box format for a box.
#include "platform/control/clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>

#include <memory>

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

  // Our own paste reads the bytes as they were copied.
  const TClipboardText back = GetClipboardText();
  EXPECT_EQ(back.Status, TClipboardStatus::Done);
  EXPECT_EQ(back.Text, Sjis("あい\r\nう\tx"));
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
  EXPECT_EQ(back.Text, box);
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

TEST(ClipboardTest, CopyAlwaysHappensAndOurOwnPasteGetsTheExactBytes) {
  App();
  struct Case {
    const char* name;
    std::string bytes;
    const char* others;  // UTF-8, what other programs read
  } const cases[] = {
      // 85 40 is a code CP932 leaves unassigned: one substitute for the pair.
      {"unassigned pair", "x\x85\x40y", "x\uFFFDy"},
      {"lone lead byte at the end", "a\x82", "a\uFFFD"},
      {"lone 0xA0 between lines", "a\xA0\r\nb", "a\uFFFD\nb"},
      // The NEC and IBM codes of the same character: Unicode cannot tell them apart.
      {"NEC and IBM duplicates", "\xED\x40\xFA\x5C\x87\x90\x81\xE0", "纊纊≒≒"},
  };
  for (const Case& c : cases) {
    for (bool box : {false, true}) {
      QGuiApplication::clipboard()->setText(QString::fromUtf8("stale"));
      ASSERT_EQ(PutClipboardText(c.bytes, box), TClipboardStatus::Done) << c.name;
      EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(c.others)) << c.name;
      const TClipboardText back = GetClipboardText();
      EXPECT_EQ(back.Status, TClipboardStatus::Done) << c.name;
      EXPECT_EQ(back.Text, c.bytes) << c.name;
      EXPECT_EQ(back.Box, box) << c.name;
    }
  }
}

TEST(ClipboardTest, OtherProgramsTextGetsQuestionMarksForCharactersWithoutACp932Form) {
  App();
  struct Case {
    const char* others;
    std::string expected;
  } const cases[] = {
      {"a😀b", "a?b"},
      {"café ½", "caf? ?"},
      {"😀😀", "??"},
      {"", ""},
  };
  for (const Case& c : cases) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.others));
    const TClipboardText back = GetClipboardText();
    EXPECT_EQ(back.Status, TClipboardStatus::Done) << c.others;
    EXPECT_EQ(back.Text, c.expected) << c.others;
    EXPECT_FALSE(back.Box);
  }
}

TEST(ClipboardTest, BoxOfAnEarlierInstanceGivesItsBytes) {
  App();
  // Only the box format and the text, as an instance without the private
  // text format puts them.
  auto data = std::make_unique<QMimeData>();
  data->setText(QString::fromUtf8("纊"));
  data->setData(kBoxClipboardFormat, QByteArray("\xED\x40\r\n", 5));
  QGuiApplication::clipboard()->setMimeData(data.release());
  const TClipboardText back = GetClipboardText();
  EXPECT_EQ(back.Text, "\xED\x40\r\n");
  EXPECT_TRUE(back.Box);
}

TEST(ClipboardTest, ClearedClipboardHasNoText) {
  App();
  ASSERT_EQ(PutClipboardText("x", false), TClipboardStatus::Done);
  ClearClipboardText();
  EXPECT_EQ(GetClipboardText().Status, TClipboardStatus::NoText);
}

}  // namespace
}  // namespace platform
