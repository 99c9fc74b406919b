// The commands below the settings: the file list with its three answers,
// the help file present and missing, the about text, and the file browser.
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/window/directory_list_box.h"
#include "editor/colour/parser.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kFirstLine = "■□■ 情報ウインドウ ■□■";
const std::string kSeparator = "\r" + std::string(70, '-');

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(folder_.isValid());
    dir_ = folder_.path();
    for (const char* name : {"b.doc", "a.txt", "C.TXT", ".hidden.txt"}) {
      QFile file(dir_ + "/" + name);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir_).mkdir("sub"));
  }

  void Click(FormUnderTest& t, const char* button) {
    QTest::mouseClick(t.Find<QPushButton>(button), Qt::LeftButton);
  }

  QTemporaryDir folder_;
  QString dir_;
};

TEST_F(Commands, FileListWithMasksAsksFirstAndAppends) {
  FormUnderTest t(dir_);
  t.form->show();
  auto* memo = t.Find<QPlainTextEdit>("Memo2");
  memo->setPlainText("*.txt\n*.doc\n");
  MessageBoxAnswerer answerer(QMessageBox::Yes);
  Click(t, "Button6");

  ASSERT_EQ(answerer.seen().size(), 1u);
  const SeenBox& box = answerer.seen()[0];
  EXPECT_EQ(box.text, "マスク処理をしてから表示しますか？");
  EXPECT_EQ(box.caption, "問い合わせ");
  EXPECT_EQ(box.icon, QMessageBox::Question);
  EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.default_button, QMessageBox::Yes);
  // Qt's own Japanese captions on the standard buttons.
  EXPECT_TRUE(box.button_texts.join(' ').contains("はい"));
  EXPECT_TRUE(box.button_texts.join(' ').contains("いいえ"));
  EXPECT_TRUE(box.button_texts.join(' ').contains("キャンセル"));

  const std::string dir = dir_.toStdString();
  EXPECT_EQ(t.info->LinesUtf8(),
            (Lines{kFirstLine, "ファイル一覧(マスク処理)", "  ディレクトリ: " + dir,
                   "  マスク: *.txt,*.doc", kSeparator, "a.txt", "b.doc", "C.TXT", kSeparator,
                   "  対象ファイル数: 3個"}));
}

TEST_F(Commands, MasksAreShownAsCommaText) {
  struct Case {
    QString memo;
    std::string shown;
  } cases[] = {
      {"*.txt", "*.txt"}, {"my *.txt\n*.doc", "\"my *.txt\",*.doc"}, {"a,b", "\"a,b\""}, {"", ""},
      {"\n", "\"\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.memo.toStdString());
    FormUnderTest t(dir_);
    t.Find<QPlainTextEdit>("Memo2")->setPlainText(c.memo);
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    t.form->Button6Click();
    EXPECT_EQ(t.info->LinesUtf8().at(3), "  マスク: " + c.shown);
  }
}

TEST_F(Commands, FileListSaysWhyAMaskWithAFolderListsNothing) {
  FormUnderTest t(dir_);
  t.Find<QPlainTextEdit>("Memo2")->setPlainText("sub/*.txt\n*.doc\n/");
  MessageBoxAnswerer answerer(QMessageBox::Yes);
  t.form->Button6Click();
  EXPECT_EQ(t.info->LinesUtf8(),
            (Lines{kFirstLine, "ファイル一覧(マスク処理)", "  ディレクトリ: " + dir_.toStdString(),
                   "  マスク: sub/*.txt,*.doc,/", "Error : マスクにフォルダは指定できません。",
                   "  sub/*.txt", "Error : マスクにフォルダは指定できません。", "  /", kSeparator,
                   "b.doc", kSeparator, "  対象ファイル数: 1個"}));
}

TEST_F(Commands, FileListOfEveryFileWhenAnsweredNo) {
  FormUnderTest t(dir_);
  t.Find<QPlainTextEdit>("Memo2")->setPlainText("*.doc");
  MessageBoxAnswerer answerer(QMessageBox::No);
  t.form->Button6Click();
  EXPECT_EQ(
      t.info->LinesUtf8(),
      (Lines{kFirstLine, "ファイル一覧(すべてのファイル)", "  ディレクトリ: " + dir_.toStdString(),
             kSeparator, "a.txt", "b.doc", "C.TXT", kSeparator, "  対象ファイル数: 3個"}));
}

TEST_F(Commands, FileListCancelledAddsNothing) {
  FormUnderTest t(dir_);
  MessageBoxAnswerer answerer(QMessageBox::Cancel);
  t.form->Button6Click();
  EXPECT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(t.info->LinesUtf8(), Lines{kFirstLine});
}

TEST_F(Commands, FileListTwiceAppendsTwoListings) {
  FormUnderTest t(dir_);
  t.Find<QPlainTextEdit>("Memo2")->setPlainText("*.txt");
  MessageBoxAnswerer answerer(QMessageBox::Yes);
  t.form->Button6Click();
  answerer.set_answer(QMessageBox::No);
  t.form->Button6Click();
  const Lines lines = t.info->LinesUtf8();
  ASSERT_EQ(lines.size(), 1u + 8u + 8u);
  EXPECT_EQ(lines[1], "ファイル一覧(マスク処理)");
  EXPECT_EQ(lines[8], "  対象ファイル数: 2個");
  EXPECT_EQ(lines[9], "ファイル一覧(すべてのファイル)");
  EXPECT_EQ(lines.back(), "  対象ファイル数: 3個");
  // Every added line kept the last line in view.
  EXPECT_EQ(t.info->top_row, static_cast<int>(lines.size()) - t.info->visible_rows);
}

TEST_F(Commands, HelpFileNextToTheProgramIsShown) {
  const QString program = dir_ + "/varnek";
  QFile help(dir_ + "/varnek.txt");
  ASSERT_TRUE(help.open(QIODevice::WriteOnly));
  help.write(Cp932("使い方\r\n\r\n  マスク: *.jpg\r\n").c_str());
  help.close();
  FormUnderTest t(dir_, program);
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  EXPECT_EQ(t.info->LinesUtf8(), (Lines{"使い方", "", "  マスク: *.jpg"}));
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "情報ウインドウに表示しました");
  EXPECT_EQ(answerer.seen()[0].caption, "インフォメーション");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Information);
  EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Ok);
}

TEST_F(Commands, MissingHelpFileIsReported) {
  const QString program = dir_ + "/tool.bin";
  FormUnderTest t(dir_, program);
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  EXPECT_EQ(t.info->LinesUtf8(), (Lines{"Error : ヘルプ用テキストが存在しません。",
                                        "  Not Found '" + dir_.toStdString() + "/tool.txt' "}));
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST_F(Commands, AboutTextWithCreditAndAddresses) {
  FormUnderTest t(dir_, dir_ + "/varnek");
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button5Click();
  const Lines lines = t.info->LinesUtf8();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "  Pirukko");
  EXPECT_EQ(lines[1], "    varnek");
  EXPECT_EQ(lines[2], "        Version.2000.11.22");
  EXPECT_EQ(lines[3], std::string(36, '-'));
  int mail = 0, web = 0;
  for (size_t i = 4; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind("    ", 0), 0u) << lines[i];
    if (lines[i].find("@example.org") != std::string::npos) ++mail;
    if (lines[i].find("http://pirukko.example.org/") != std::string::npos) ++web;
  }
  EXPECT_EQ(mail, 2);
  EXPECT_EQ(web, 1);
  EXPECT_EQ(answerer.seen().size(), 1u);

  // The information window's lexer, with the layout's address rules on,
  // finds the three addresses whole.
  struct Owner : editor::TEditorParserOwner {
    Owner() {
      view.SetUrl(true);
      view.SetMail(true);
    }
    const editor::TEditorViewInfo& View() const override { return view; }
    const platform::TStringList& ReserveWordList() const override { return words; }
    editor::TEditorViewInfo view;
    platform::TStringList words;
  } owner;
  std::vector<std::string> urls, mails;
  for (int i = 0; i < t.info->Lines().Count(); ++i) {
    const std::string line = t.info->Lines()[i];
    editor::TEditorParser lexer(&owner, line, editor::kBracketsUnknown);
    for (auto kind = lexer.Token(); kind != editor::tkEnd; kind = lexer.NextToken()) {
      if (kind == editor::tkUrl) urls.push_back(lexer.TokenString());
      if (kind == editor::tkMail) mails.push_back(lexer.TokenString());
    }
  }
  EXPECT_EQ(urls, std::vector<std::string>{"http://pirukko.example.org/"});
  EXPECT_EQ(mails, (std::vector<std::string>{"pirukko@example.org", "pirukko-bugs@example.org"}));
}

TEST_F(Commands, FileBrowserOpensTheChosenDirectory) {
  FormUnderTest t(dir_);
  Click(t, "Button1");
  ASSERT_EQ(t.desktop.opened.size(), 1u);
  EXPECT_EQ(t.desktop.opened[0], QUrl::fromLocalFile(dir_));
}

TEST_F(Commands, FileBrowserGetsANameThatIsNoUtf8ByteForByte) {
  const QByteArray sjis = QFile::encodeName(dir_) + "/\x82\xA0";  // Shift-JIS あ
  ASSERT_EQ(::mkdir(sjis.constData(), 0755), 0);
  FormUnderTest t(dir_);
  ASSERT_TRUE(t.Find<DirectoryListBox>("DirectoryListBox1")->SetNativeDirectory(sjis));
  Click(t, "Button1");
  ASSERT_EQ(t.desktop.opened.size(), 1u);
  EXPECT_EQ(t.desktop.opened[0].toEncoded(), QUrl::fromLocalFile(dir_).toEncoded() + "/%82%A0");
  ::rmdir(sjis.constData());  // a name Qt cannot remove
}

}  // namespace
}  // namespace app::test
