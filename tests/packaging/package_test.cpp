// The Debian package as a user's machine receives it: its name, what it
// holds, its dependencies read from the programs, the desktop entry and the
// metainfo as the validators see them, and the program unpacked from it
// finding its help file.
#include <QCoreApplication>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
using test_support::ProgramResult;

const fs::path kPackageDir = PIRUKKO_PACKAGE_DIR;
const fs::path kSourceDir = PIRUKKO_SOURCE_DIR;
const std::string kAppId = "org.example.Pirukko";

ProgramResult Command(const std::string& program, const std::vector<std::string>& args) {
  static int argc = 1;
  static char name[] = "package_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* core =
      QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)core;
  // A name without a folder is found on the path, as in a shell.
  return test_support::RunProgram(program, args);
}

// The package the build made: exactly one, named as Debian names packages.
fs::path Package() {
  const std::string arch = test_support::Lines(Command("dpkg", {"--print-architecture"}).out).at(0);
  return kPackageDir / ("pirukko_" PIRUKKO_VERSION "_" + arch + ".deb");
}

// The package unpacked into a temporary root, as dpkg would install it.
class UnpackedPackage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::is_regular_file(Package())) << Package();
    const ProgramResult r = Command("dpkg", {"-x", Package().string(), root_.path().string()});
    ASSERT_EQ(r.exit_status, 0) << r.err;
  }
  fs::path root() const { return root_.path(); }

  test_support::TempDir root_{"unpacked"};
};

TEST(Package, IsNamedAfterItsVersionWithDependenciesReadFromThePrograms) {
  ASSERT_TRUE(fs::is_regular_file(Package())) << Package();
  std::vector<fs::path> debs;
  for (const auto& entry : fs::directory_iterator(kPackageDir)) {
    if (entry.path().extension() == ".deb") debs.push_back(entry.path());
  }
  EXPECT_EQ(debs, std::vector<fs::path>{Package()});

  const auto field = [](const std::string& name) {
    const ProgramResult r = Command("dpkg-deb", {"--field", Package().string(), name});
    EXPECT_EQ(r.exit_status, 0) << r.err;
    return r.out;
  };
  EXPECT_EQ(field("Package"), "pirukko\n");
  EXPECT_EQ(field("Version"), PIRUKKO_VERSION "\n");
  const std::string depends = field("Depends");
  // Libraries the program links, found by dpkg-shlibdeps; those it loads
  // when it first needs them (MediaInfoLib, GIO); and what the window needs
  // besides: its fonts and the buttons' Japanese captions.
  for (const char* needed :
       {"libc6", "libqt6widgets6", "libqt6core6", "libicu72", "libmediainfo0v5", "libglib2.0-0",
        "fonts-ipafont-gothic", "qt6-translations-l10n"}) {
    EXPECT_NE(depends.find(needed), std::string::npos) << needed << " in " << depends;
  }
}

TEST(Package, HoldsTheProgramItsDataAndWhatTheDesktopReads) {
  const ProgramResult r = Command("dpkg-deb", {"--contents", Package().string()});
  ASSERT_EQ(r.exit_status, 0) << r.err;
  std::vector<std::string> files;
  for (const std::string& line : test_support::Lines(r.out)) {
    if (line.empty() || line[0] == 'd') continue;
    files.push_back(line.substr(line.find("./") + 1));
  }
  std::vector<std::string> expected = {
      "/usr/bin/varnek",
      "/usr/libexec/pirukko/varnek-window",
      "/usr/share/pirukko/varnek.txt",
      "/usr/share/applications/" + kAppId + ".desktop",
      "/usr/share/metainfo/" + kAppId + ".metainfo.xml",
      "/usr/share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
      "/usr/share/man/man1/varnek.1.gz",
      "/usr/share/man/ja/man1/varnek.1.gz",
      "/usr/share/man/man1/pirukko-edit.1.gz",
      "/usr/share/man/ja/man1/pirukko-edit.1.gz",
  };
  for (const char* size : {"16", "22", "24", "32", "48", "64", "128", "256"}) {
    expected.push_back(std::string("/usr/share/icons/hicolor/") + size + "x" + size + "/apps/" +
                       kAppId + ".png");
  }
  for (const std::string& file : expected) {
    EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << file;
  }
  // Nothing of the build or the tests comes along.
  for (const std::string& file : files) {
    EXPECT_EQ(file.rfind("/usr/", 0), 0u) << file;
    EXPECT_EQ(file.find("test"), std::string::npos) << file;
  }
}

TEST_F(UnpackedPackage, DesktopEntriesAndMetainfoPassTheValidators) {
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(root() / "usr/share/applications")) {
    ++entries;
    const ProgramResult r = Command("desktop-file-validate", {entry.path().string()});
    EXPECT_EQ(r.exit_status, 0) << entry.path() << "\n" << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "") << entry.path();
  }
  EXPECT_GE(entries, 1);
  int metainfos = 0;
  for (const auto& entry : fs::directory_iterator(root() / "usr/share/metainfo")) {
    ++metainfos;
    const ProgramResult r =
        Command("appstreamcli", {"validate", "--no-net", entry.path().string()});
    EXPECT_EQ(r.exit_status, 0) << entry.path() << "\n" << r.out << r.err;
  }
  EXPECT_GE(metainfos, 1);
}

TEST_F(UnpackedPackage, DesktopEntryOpensFoldersWithTheProgram) {
  const std::string entry =
      test_support::ReadFile(root() / "usr/share/applications" / (kAppId + ".desktop"));
  const std::vector<std::string> lines = {"Exec=varnek %f",
                                          "Icon=" + kAppId,
                                          "MimeType=inode/directory;",
                                          "Categories=Utility;FileTools;",
                                          "Name[ja]=",
                                          "GenericName[ja]=",
                                          "Comment=",
                                          "Comment[ja]=",
                                          "Keywords[ja]="};
  for (const std::string& line : lines) {
    EXPECT_NE(entry.find("\n" + line), std::string::npos) << line;
  }
  const std::string metainfo =
      test_support::ReadFile(root() / "usr/share/metainfo" / (kAppId + ".metainfo.xml"));
  for (const char* piece : {"<summary>", "<summary xml:lang=\"ja\">", "<p xml:lang=\"ja\">",
                            "<screenshot type=\"default\">", "<release version=\"" PIRUKKO_VERSION,
                            "<launchable type=\"desktop-id\">org.example.Pirukko.desktop<"}) {
    EXPECT_NE(metainfo.find(piece), std::string::npos) << piece;
  }
}

TEST_F(UnpackedPackage, IconsHaveTheSizeTheirFolderNames) {
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const fs::path png = root() / "usr/share/icons/hicolor" /
                         (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                         (kAppId + ".png");
    const QImage image(QString::fromStdString(png.string()));
    EXPECT_EQ(image.size(), QSize(size, size)) << png;
  }
}

TEST_F(UnpackedPackage, ProgramFindsItsHelpFileInTheDataFolder) {
  const fs::path help = root() / "usr/share/pirukko/varnek.txt";
  EXPECT_EQ(test_support::ReadFile(help),
            test_support::ReadFile(kSourceDir / "resources/varnek.txt"));
  const ProgramResult r = Command((root() / "usr/bin/varnek").string(), {"--help"});
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_NE(r.out.find("詳しい説明（Shift-JIS のテキスト）: " + help.string() + "\n"),
            std::string::npos)
      << r.out;
}

TEST_F(UnpackedPackage, ProgramHandsAWindowStartToTheInstalledWindowProgram) {
  // Two directories reach the window's program, which refuses them before
  // it opens a window.
  const std::string folder = root().string();
  const ProgramResult r =
      test_support::RunProgram((root() / "usr/bin/varnek").string(), {folder, folder},
                               {{}, {{"QT_QPA_PLATFORM", "offscreen"}}});
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_NE(r.err.find("varnek: ディレクトリは一つだけ指定してください"), std::string::npos)
      << r.err;
}

// The columns a terminal gives a line of groff's output: its overstruck
// bold and underlined letters counted once, Japanese characters twice.
int Columns(const QString& line) {
  int columns = 0;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (i + 1 < line.size() && line[i + 1] == u'\b') {
      ++i;
      continue;
    }
    const char16_t c = line[i].unicode();
    columns += (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                       (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                       (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6)
                   ? 2
                   : 1;
  }
  return columns;
}

TEST_F(UnpackedPackage, ManualPagesInEnglishAndJapanese) {
  struct Page {
    const char* path;
    const char* title;
    std::vector<const char*> options;
    bool japanese;
  };
  const std::vector<const char*> varnek_options = {"--run",  "--preview", "--mask",
                                                   "--date", "--serial",  "--case"};
  const Page pages[] = {
      {"usr/share/man/man1/varnek.1.gz", "VARNEK", varnek_options, false},
      {"usr/share/man/ja/man1/varnek.1.gz", "VARNEK", varnek_options, true},
      {"usr/share/man/man1/pirukko-edit.1.gz", "PIRUKKO-EDIT", {"--help"}, false},
      {"usr/share/man/ja/man1/pirukko-edit.1.gz", "PIRUKKO-EDIT", {"--help"}, true},
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(page.path);
    const fs::path file = root() / page.path;
    const ProgramResult r = Command("gzip", {"-dc", file.string()});
    EXPECT_EQ(r.exit_status, 0) << r.err;
    EXPECT_EQ(r.out.rfind(std::string(".TH ") + page.title + " 1 ", 0), 0u);
    for (const char* option : page.options) {
      EXPECT_NE(r.out.find(std::string("\\-\\-") + (option + 2)), std::string::npos) << option;
    }

    // Set for an 80-column terminal as man sets it: every line fits, and
    // groff found a place to break every one (Japanese has no spaces). The
    // page is read as UTF-8 and set in a UTF-8 locale (groff counts a wide
    // character's columns through it) whatever this machine's locale is, so
    // that every machine checks the same text.
    const ProgramResult shown = Command(
        "sh", {"-c", "gzip -dc \"$0\" | LC_ALL=C.UTF-8 groff -Kutf8 -Tutf8 -mandoc -rLL=78n",
               file.string()});
    EXPECT_EQ(shown.exit_status, 0) << shown.err;
    EXPECT_EQ(shown.err, "");
    int widest = 0;
    for (const std::string& line : test_support::Lines(shown.out)) {
      const int columns = Columns(QString::fromStdString(line));
      EXPECT_LE(columns, 80) << line;
      widest = std::max(widest, columns);
    }
    // The paragraphs are filled to the line's end, not left at each line
    // of the source.
    EXPECT_GE(widest, 76);
    // Bold is set as a character struck over itself, italic as an
    // underscore struck over by the character.
    const QString text =
        QString::fromStdString(shown.out).replace(QRegularExpression("(.)\b\\1"), "\\1");
    if (page.japanese) {
      // Read as Latin-1, the page would show no Japanese at all, and pass
      // the spacing check below without having been looked at.
      EXPECT_TRUE(text.contains(QStringLiteral("ユーザーコマンド")));
      // Where the source only broke its line, a sentence goes on without a
      // space: none between two Japanese characters, and none on either
      // side of full-width punctuation, also where a word set in bold or
      // italic meets the sentence around it. An italic word is a
      // placeholder ("--名前 値") and keeps the space it was written with.
      const QString japanese =
          QStringLiteral("[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{FF01}-\\x{FF60}]");
      const QString punctuation = QStringLiteral("[、。，．・（）「」『』【】〔〕！？：；]");
      const QRegularExpression spaced("(?<!\\x08)" + japanese + " " + japanese + "|(?<=\\S) (?=" +
                                      punctuation + ")|(?<=" + punctuation + ") (?=\\S)");
      for (auto match = spaced.globalMatch(text); match.hasNext();) {
        const auto found = match.next();
        const qsizetype line_start = text.lastIndexOf('\n', found.capturedStart()) + 1;
        ADD_FAILURE() << "a space inside a sentence: "
                      << text.mid(line_start, found.capturedEnd() - line_start).toStdString();
      }
    }
  }
}

}  // namespace
