#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "platform/dos_date_time.h"
#include "tests/support/files.h"

namespace {

namespace fs = std::filesystem;
using platform::DateTime;

using test_support::LocalTime;
using test_support::ReadFile;
using test_support::WriteFile;

const bool kTimeZonePinned = (test_support::PinJapanTimeZone(), true);

void SetMTime(const fs::path& p, std::time_t t) {
  ASSERT_TRUE(test_support::SetMTime(p, t)) << p;
}

class TempDir : public ::testing::Test {
 protected:
  test_support::TempDir temp_{"pirukko-fs"};
  const fs::path dir_ = temp_.path();
  // The CP932 form of a path under the fixture (the fixture's own path is ASCII).
  std::string Cp(const std::string& name) const { return dir_.string() + "/" + name; }
};

std::map<std::string, platform::TSearchRec> ByName(const std::vector<platform::TSearchRec>& recs) {
  std::map<std::string, platform::TSearchRec> out;
  for (const auto& r : recs) out[r.Name] = r;
  return out;
}

std::set<std::string> Names(const std::vector<platform::TSearchRec>& recs) {
  std::set<std::string> out;
  for (const auto& r : recs) out.insert(r.Name);
  return out;
}

TEST(PathRules, RootPlaysTheDriveRoot) {
  EXPECT_EQ(platform::SeparatorAfter("/"), "");
  EXPECT_EQ(platform::SeparatorAfter("/work"), "/");
  EXPECT_EQ(platform::JoinPath("/", "NewFolder"), "/NewFolder");
  EXPECT_EQ(platform::JoinPath("/work", "NewFolder"), "/work/NewFolder");
  EXPECT_EQ(platform::JoinPath("/", "*.*"), "/*.*");
  EXPECT_EQ(platform::ExtractFileName("/work/a.txt"), "a.txt");
  EXPECT_EQ(platform::ExtractFileName("/a:b"), "a:b");  // ":" is a plain character here
  EXPECT_EQ(platform::ExtractFileName("/"), "");
  EXPECT_EQ(platform::ExtractFileName("name"), "name");
  // 表 ends in byte 0x5C; nothing in it is taken for a separator.
  EXPECT_EQ(platform::ExtractFileName("/dir/\x95\x5C"), "\x95\x5C");
  EXPECT_EQ(platform::SeparatorAfter("/\x95\x5C"), "/");
}

TEST(PathRules, RootDirectoryIsSearchedWithoutDoubledSeparator) {
  auto root = Names(platform::FindFiles(platform::JoinPath("/", "*.*"), platform::faDirectory));
  EXPECT_TRUE(root.count("tmp"));
  EXPECT_FALSE(root.count("."));
  EXPECT_FALSE(root.count(".."));
  EXPECT_TRUE(platform::DirectoryExists("/"));
}

TEST(Wildcards, AsUsersKnowThem) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"a.txt", "*.*", true},
      {"README", "*.*", true},
      {"README", "*", true},
      {".profile", "*.*", true},
      {"a.b.c", "*.*", true},
      {"a.TXT", "*.txt", true},
      {"A.txt", "a*", true},
      {"a", "a*", true},  // a final "*" also takes nothing
      {"IMG", "IMG*", true},
      {"a.txt.bak", "*.txt", false},
      {"b.doc", "*.txt", false},
      {"a", "?", true},
      {"ab", "?", false},
      {"\x95\x5C", "?", true},  // 表 is one character
      {"\x95\x5C"
       "a",
       "?a", true},
      {"\x82\x60\x82\x61", "\x82\x81\x82\x82", true},  // ＡＢ against ａｂ
      {"abc", "a*c", true},
      {"abc", "a*d", false},
      {"aXbXc", "*b*c", true},
      {"a", "a.*", true},  // a final ".*" also takes a bare name
      {"a.txt", "", false},
      {"a.txt", "a.txt", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST_F(TempDir, SearchReportsAttributeKinds) {
  WriteFile(dir_ / "a.txt", "12345");
  WriteFile(dir_ / ".hidden", "h");
  WriteFile(dir_ / "ro.txt", "r");
  fs::permissions(dir_ / "ro.txt", fs::perms::owner_read | fs::perms::group_read);
  fs::create_directory(dir_ / "sub");
  ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0644), 0);
  fs::create_symlink(dir_ / "a.txt", dir_ / "link.txt");
  fs::create_symlink(dir_ / "sub", dir_ / "linkdir");
  fs::create_symlink(dir_ / "gone", dir_ / "dangling");
  SetMTime(dir_ / "a.txt", LocalTime(2000, 1, 5, 10, 20, 31));

  auto all = ByName(platform::FindFiles(Cp("*.*"), platform::faAnyFile));
  ASSERT_EQ(all.size(), 8u);
  using namespace platform;
  EXPECT_EQ(all["a.txt"].Attr, faArchive);
  EXPECT_EQ(all["a.txt"].Size, 5);
  EXPECT_EQ(all["a.txt"].Time, *DateTimeToDosDateTime({2000, 1, 5, 10, 20, 30, 0}));
  EXPECT_EQ(all[".hidden"].Attr, faArchive | faHidden);
  EXPECT_EQ(all["ro.txt"].Attr, faArchive | faReadOnly);
  EXPECT_EQ(all["sub"].Attr, faDirectory);
  EXPECT_EQ(all["sub"].Size, 0);
  EXPECT_EQ(all["pipe"].Attr, faSysFile);
  EXPECT_EQ(all["link.txt"].Attr, faArchive);  // links are followed
  EXPECT_EQ(all["link.txt"].Size, 5);
  EXPECT_EQ(all["linkdir"].Attr, faDirectory);
  EXPECT_EQ(all["dangling"].Attr & faSysFile, faSysFile);

  // Kinds that the attribute mask does not hold are left out.
  EXPECT_EQ(Names(platform::FindFiles(Cp("*.*"), 0)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt"}));
  EXPECT_EQ(Names(platform::FindFiles(Cp("*"), faDirectory)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt", "sub", "linkdir"}));
  EXPECT_EQ(Names(platform::FindFiles(Cp("*"), faHidden)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt", ".hidden"}));
  EXPECT_EQ(Names(platform::FindFiles(Cp("*.TXT"), 0)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt"}));
  EXPECT_TRUE(platform::FindFiles(Cp(""), faAnyFile).empty());
  EXPECT_TRUE(platform::FindFiles(Cp("missing/*.*"), faAnyFile).empty());
  EXPECT_TRUE(platform::FindFiles(Cp("\x81"), faAnyFile).empty());  // not CP932
}

TEST_F(TempDir, NamesWithoutCp932FormAreMarked) {
  WriteFile(dir_ / u8"\u65E5\u672C.txt", "ok");    // 日本.txt converts both ways
  WriteFile(dir_ / u8"smile\U0001F600.txt", "e");  // no CP932 form at all
  WriteFile(dir_ / u8"a\u301C.txt", "w");          // wave dash: CP932 would name a～.txt
  WriteFile(dir_ / u8"a\uFF5E.txt", "f");          // the file a～.txt itself
  WriteFile(dir_ / "raw\xFF.txt", "r");            // not UTF-8
  auto recs = platform::FindFiles(Cp("*.txt"), 0);
  ASSERT_EQ(recs.size(), 5u);
  std::multiset<std::pair<std::string, bool>> got;
  for (const auto& r : recs) got.insert({r.Name, r.NameHasCp932Form});
  EXPECT_EQ(got, (std::multiset<std::pair<std::string, bool>>{
                     {"\x93\xFA\x96\x7B.txt", true},
                     {"smile?.txt", false},
                     {"a\x81\x60.txt", false},
                     {"a\x81\x60.txt", true},
                     {"raw?.txt", false},
                 }));
  EXPECT_EQ(platform::FromNativeName("a\xEF\xBD\x9E"), std::string("a\x81\x60"));
  EXPECT_FALSE(platform::FromNativeName("a\xE3\x80\x9C"));
}

TEST(DosDateTime, RangeAndResolution) {
  using platform::DateTimeToDosDateTime;
  using platform::DosDateTimeToDateTime;
  EXPECT_FALSE(DateTimeToDosDateTime({1979, 12, 31, 23, 59, 59, 0}));
  EXPECT_FALSE(DateTimeToDosDateTime({2108, 1, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(DateTimeToDosDateTime({2001, 2, 29, 0, 0, 0, 0}));
  auto first = DateTimeToDosDateTime({1980, 1, 1, 0, 0, 0, 0});
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, 0x00210000);
  auto last = DateTimeToDosDateTime({2107, 12, 31, 23, 59, 59, 0});
  ASSERT_TRUE(last);
  EXPECT_EQ(DosDateTimeToDateTime(*last), (DateTime{2107, 12, 31, 23, 59, 58, 0}));
  auto leap = DateTimeToDosDateTime({2000, 2, 29, 17, 53, 9, 500});
  ASSERT_TRUE(leap);
  EXPECT_EQ(DosDateTimeToDateTime(*leap), (DateTime{2000, 2, 29, 17, 53, 8, 0}));
  EXPECT_FALSE(DosDateTimeToDateTime(0));  // month 0, day 0
}

TEST_F(TempDir, FileAgeKeepsTheDosRange) {
  struct Case {
    std::time_t mtime;
    std::optional<DateTime> age;
  } cases[] = {
      {LocalTime(2000, 1, 5, 9, 0, 1), DateTime{2000, 1, 5, 9, 0, 0, 0}},
      {LocalTime(1980, 1, 1, 0, 0, 0), DateTime{1980, 1, 1, 0, 0, 0, 0}},
      {LocalTime(1979, 12, 31, 23, 59, 59), std::nullopt},
      {LocalTime(2107, 12, 31, 23, 59, 59), DateTime{2107, 12, 31, 23, 59, 58, 0}},
      {LocalTime(2108, 1, 1, 0, 0, 0), std::nullopt},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "f", "x");
    SetMTime(dir_ / "f", c.mtime);
    auto age = platform::FileAge(Cp("f"));
    if (!c.age) {
      EXPECT_FALSE(age) << c.mtime;
      continue;
    }
    ASSERT_TRUE(age) << c.mtime;
    EXPECT_EQ(platform::DosDateTimeToDateTime(*age), c.age);
  }
  EXPECT_FALSE(platform::FileAge(Cp("missing")));
  fs::create_directory(dir_ / "d");
  EXPECT_FALSE(platform::FileAge(Cp("d")));
}

TEST_F(TempDir, DirectoryServices) {
  EXPECT_TRUE(platform::CreateDir(Cp("\x95\x5C")));  // 表
  EXPECT_TRUE(fs::is_directory(dir_ / u8"\u8868"));
  EXPECT_TRUE(platform::DirectoryExists(Cp("\x95\x5C")));
  EXPECT_FALSE(platform::CreateDir(Cp("\x95\x5C")));
  WriteFile(dir_ / u8"\u8868" / "f", "x");
  EXPECT_FALSE(platform::RemoveDir(Cp("\x95\x5C")));   // not empty
  EXPECT_FALSE(platform::DeleteFile(Cp("\x95\x5C")));  // a directory is no file
  EXPECT_TRUE(platform::DeleteFile(Cp("\x95\x5C/f")));
  EXPECT_TRUE(platform::RemoveDir(Cp("\x95\x5C")));
  EXPECT_FALSE(platform::DirectoryExists(Cp("\x95\x5C")));
  EXPECT_FALSE(platform::CreateDir(Cp("\x81")));  // no name on disk
  EXPECT_FALSE(platform::CreateDir(std::string("a\0b", 3)));

  // A link to a directory: seen as a directory, never followed by removal.
  fs::create_directory(dir_ / "real");
  WriteFile(dir_ / "real" / "keep", "k");
  fs::create_directory_symlink(dir_ / "real", dir_ / "link");
  EXPECT_TRUE(platform::DirectoryExists(Cp("link")));
  EXPECT_TRUE(platform::IsSymbolicLink(Cp("link")));
  EXPECT_FALSE(platform::IsSymbolicLink(Cp("real")));
  EXPECT_FALSE(platform::RemoveDir(Cp("link")));
  EXPECT_TRUE(platform::DeleteFile(Cp("link")));
  EXPECT_EQ(ReadFile(dir_ / "real" / "keep"), "k");
  EXPECT_TRUE(platform::FileExists(Cp("real/keep")));
  EXPECT_FALSE(platform::FileExists(Cp("real")));
}

TEST_F(TempDir, CopyOverwritesAndKeepsTimeAndPermissions) {
  std::string data(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 131 + i / 7);
  WriteFile(dir_ / "src.bin", data);
  chmod((dir_ / "src.bin").c_str(), 0640);
  SetMTime(dir_ / "src.bin", LocalTime(2001, 2, 3, 4, 5, 6));
  WriteFile(dir_ / "old.bin", std::string(5 * 1024 * 1024, 'x'));  // longer than the source

  ASSERT_TRUE(platform::CopyFileOverwriting(Cp("src.bin"), Cp("old.bin")));
  EXPECT_EQ(ReadFile(dir_ / "old.bin"), data);
  struct stat st;
  ASSERT_EQ(stat((dir_ / "old.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtime, LocalTime(2001, 2, 3, 4, 5, 6));

  WriteFile(dir_ / "empty", "");
  chmod((dir_ / "empty").c_str(), 0444);
  ASSERT_TRUE(platform::CopyFileOverwriting(Cp("empty"), Cp("\x93\xFA\x96\x7B")));
  EXPECT_EQ(ReadFile(dir_ / u8"\u65E5\u672C"), "");
  ASSERT_EQ(stat((dir_ / u8"\u65E5\u672C").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(Names(platform::FindFiles(Cp("*"), platform::faAnyFile)),
            (std::set<std::string>{"src.bin", "old.bin", "empty", "\x93\xFA\x96\x7B"}));
}

TEST_F(TempDir, FailedCopyLeavesTargetAsItWas) {
  WriteFile(dir_ / "src", std::string(2 * 1024 * 1024, 's'));
  WriteFile(dir_ / "target", "old");
  fs::create_directory(dir_ / "adir");
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("missing"), Cp("target")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("src"), Cp("adir")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("src"), Cp("no/such/dir/x")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("adir"), Cp("target")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("src"), Cp("")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Cp("src"), Cp("\x81")));

  // Running out of room half-way: the file-size limit stands in for a full disk.
  struct rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 1024 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool copied = platform::CopyFileOverwriting(Cp("src"), Cp("target"));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(copied);

  EXPECT_EQ(ReadFile(dir_ / "target"), "old");
  EXPECT_TRUE(fs::is_empty(dir_ / "adir"));
  EXPECT_EQ(Names(platform::FindFiles(Cp("*"), platform::faAnyFile)),
            (std::set<std::string>{"src", "target", "adir"}));
}

}  // namespace
