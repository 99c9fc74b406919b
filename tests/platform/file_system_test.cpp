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
#include <tuple>

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
  // The native path of a CP932 name under the fixture (the fixture's own
  // path is ASCII).
  std::string Native(const std::string& cp932_name) const {
    return dir_.string() + "/" + platform::ToNativePath(cp932_name).value_or("");
  }
};

std::map<std::string, platform::TSearchRec> ByName(const std::vector<platform::TSearchRec>& recs) {
  std::map<std::string, platform::TSearchRec> out;
  for (const auto& r : recs) out[r.Name] = r;
  return out;
}

// UTF-8 text as the plain bytes the names on disk are.
std::string U8(const char8_t* utf8) {
  return reinterpret_cast<const char*>(utf8);
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
  auto root = Names(platform::FindFiles("/", "*.*", platform::faDirectory));
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
      // A final "." takes names without an extension only.
      {"README", "*.", true},
      {"\x95\x5C", "*.", true},
      {"a.txt", "*.", false},
      {"a.", "*.", true},  // a name that really ends in a dot has none either
      {"abc", "a*.", true},
      {"abc", "b*.", false},
      {"abc", "abc.", true},
      {".", ".", true},
      // Masks match names, never paths into another folder.
      {"a.txt", "sub/*.txt", false},
      {"a.txt", "../*", false},
      {"a.txt", "/*", false},
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

  auto all = ByName(platform::FindFiles(dir_.string(), "*.*", platform::faAnyFile));
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
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*.*", 0)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt"}));
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*", faDirectory)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt", "sub", "linkdir"}));
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*", faHidden)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt", ".hidden"}));
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*.TXT", 0)),
            (std::set<std::string>{"a.txt", "ro.txt", "link.txt"}));
  EXPECT_TRUE(platform::FindFiles(dir_.string(), "", faAnyFile).empty());
  EXPECT_TRUE(platform::FindFiles(dir_.string(), "missing/*.*", faAnyFile).empty());
  EXPECT_TRUE(platform::FindFiles(dir_.string(), "\x81", faAnyFile).empty());  // not CP932
}

TEST_F(TempDir, NamesAreShownInCp932AndReachedByTheirOwnBytes) {
  WriteFile(dir_ / u8"\u65E5\u672C.txt", "ok");    // 日本.txt converts both ways
  WriteFile(dir_ / u8"smile\U0001F600.txt", "e");  // no CP932 form at all
  WriteFile(dir_ / u8"a\u301C.txt", "w");          // wave dash: CP932 would name a～.txt
  WriteFile(dir_ / u8"a\uFF5E.txt", "f");          // the file a～.txt itself
  WriteFile(dir_ / "raw\xFF.txt", "r");            // not UTF-8
  WriteFile(dir_ / u8"\u304B\u3099.txt", "d");     // か + a separate voiced mark: が.txt
  WriteFile(dir_ / u8"cafe\u0301.txt", "c");       // café.txt with a separate accent
  auto recs = platform::FindFiles(dir_.string(), "*.txt", 0);
  ASSERT_EQ(recs.size(), 7u);
  std::multiset<std::tuple<std::string, bool, std::string>> got;
  for (const auto& r : recs) {
    got.insert({r.Name, r.NameHasCp932Form, r.NativeName});
    // Whatever its CP932 form, the name on disk reaches the entry.
    EXPECT_TRUE(platform::FileAge(dir_.string() + "/" + r.NativeName)) << r.NativeName;
  }
  EXPECT_EQ(got, (std::multiset<std::tuple<std::string, bool, std::string>>{
                     {"\x93\xFA\x96\x7B.txt", true, U8(u8"\u65E5\u672C.txt")},
                     {"smile?.txt", false, U8(u8"smile\U0001F600.txt")},
                     {"a\x81\x60.txt", false, U8(u8"a\u301C.txt")},
                     {"a\x81\x60.txt", true, U8(u8"a\uFF5E.txt")},
                     {"raw?.txt", false, "raw\xFF.txt"},
                     {"\x82\xAA.txt", true, U8(u8"\u304B\u3099.txt")},
                     {"caf?.txt", false, U8(u8"cafe\u0301.txt")},
                 }));

  // Masks compare in normal form C too: "が*" finds the name written apart.
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "\x82\xAA*", 0)),
            (std::set<std::string>{"\x82\xAA.txt"}));
}

TEST(NamesOnDisk, ExactAndShownForms) {
  struct Case {
    std::string native;
    std::optional<std::string> exact;
    std::string shown;
  } cases[] = {
      {"a.txt", "a.txt", "a.txt"},
      {U8(u8"a\uFF5E"), "a\x81\x60", "a\x81\x60"},
      {U8(u8"a\u301C"), std::nullopt, "a\x81\x60"},    // shown like a～, but not that name
      {U8(u8"\u30AB\u3099"), "\x83\x4B", "\x83\x4B"},  // カ + voiced mark is ガ
      {U8(u8"caf\u00E9"), std::nullopt, "caf?"},
      {U8(u8"\u7D75\u6587\u5B57\U0001F600"), std::nullopt, "\x8A\x47\x95\xB6\x8E\x9A?"},
      {"/home/x/\xFF", std::nullopt, "/home/x/?"},
      // CP932's own characters that normal form C would replace keep their
      // codes: the angstrom sign and a compatibility ideograph.
      {U8(u8"\u212B.txt"), "\x81\xF0.txt", "\x81\xF0.txt"},
      {U8(u8"\uF929"), "\xFA\xE0", "\xFA\xE0"},
      {U8(u8"\u00C5"), std::nullopt, "?"},  // the letter Å has no CP932 code
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.native);
    EXPECT_EQ(platform::FromNativeName(c.native), c.exact);
    const platform::TShownName shown = platform::ShowNativeName(c.native);
    EXPECT_EQ(shown.Text, c.shown);
    EXPECT_EQ(shown.Exact, c.exact.has_value());
  }
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
    auto age = platform::FileAge(Native("f"));
    if (!c.age) {
      EXPECT_FALSE(age) << c.mtime;
      continue;
    }
    ASSERT_TRUE(age) << c.mtime;
    EXPECT_EQ(platform::DosDateTimeToDateTime(*age), c.age);
  }
  EXPECT_FALSE(platform::FileAge(Native("missing")));
  fs::create_directory(dir_ / "d");
  EXPECT_FALSE(platform::FileAge(Native("d")));
}

TEST_F(TempDir, DirectoryServices) {
  EXPECT_TRUE(platform::CreateDir(Native("\x95\x5C")));  // 表
  EXPECT_TRUE(fs::is_directory(dir_ / u8"\u8868"));
  EXPECT_TRUE(platform::DirectoryExists(Native("\x95\x5C")));
  EXPECT_FALSE(platform::CreateDir(Native("\x95\x5C")));
  WriteFile(dir_ / u8"\u8868" / "f", "x");
  EXPECT_FALSE(platform::RemoveDir(Native("\x95\x5C")));   // not empty
  EXPECT_FALSE(platform::DeleteFile(Native("\x95\x5C")));  // a directory is no file
  EXPECT_TRUE(platform::DeleteFile(Native("\x95\x5C/f")));
  EXPECT_TRUE(platform::RemoveDir(Native("\x95\x5C")));
  EXPECT_FALSE(platform::DirectoryExists(Native("\x95\x5C")));
  EXPECT_FALSE(platform::CreateDir(""));
  EXPECT_FALSE(platform::CreateDir(std::string("a\0b", 3)));

  // A link to a directory: seen as a directory, never followed by removal.
  fs::create_directory(dir_ / "real");
  WriteFile(dir_ / "real" / "keep", "k");
  fs::create_directory_symlink(dir_ / "real", dir_ / "link");
  EXPECT_TRUE(platform::DirectoryExists(Native("link")));
  EXPECT_TRUE(platform::IsSymbolicLink(Native("link")));
  EXPECT_FALSE(platform::IsSymbolicLink(Native("real")));
  EXPECT_FALSE(platform::RemoveDir(Native("link")));
  EXPECT_TRUE(platform::DeleteFile(Native("link")));
  EXPECT_EQ(ReadFile(dir_ / "real" / "keep"), "k");
  EXPECT_TRUE(platform::FileExists(Native("real/keep")));
  EXPECT_FALSE(platform::FileExists(Native("real")));
}

TEST_F(TempDir, CopyOverwritesAndKeepsTimeAndPermissions) {
  std::string data(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 131 + i / 7);
  WriteFile(dir_ / "src.bin", data);
  chmod((dir_ / "src.bin").c_str(), 0640);
  SetMTime(dir_ / "src.bin", LocalTime(2001, 2, 3, 4, 5, 6));
  WriteFile(dir_ / "old.bin", std::string(5 * 1024 * 1024, 'x'));  // longer than the source

  ASSERT_TRUE(platform::CopyFileOverwriting(Native("src.bin"), Native("old.bin")));
  EXPECT_EQ(ReadFile(dir_ / "old.bin"), data);
  struct stat st;
  ASSERT_EQ(stat((dir_ / "old.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtime, LocalTime(2001, 2, 3, 4, 5, 6));

  WriteFile(dir_ / "empty", "");
  chmod((dir_ / "empty").c_str(), 0444);
  ASSERT_TRUE(platform::CopyFileOverwriting(Native("empty"), Native("\x93\xFA\x96\x7B")));
  EXPECT_EQ(ReadFile(dir_ / u8"\u65E5\u672C"), "");
  ASSERT_EQ(stat((dir_ / u8"\u65E5\u672C").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*", platform::faAnyFile)),
            (std::set<std::string>{"src.bin", "old.bin", "empty", "\x93\xFA\x96\x7B"}));
}

TEST_F(TempDir, FailedCopyLeavesTargetAsItWas) {
  WriteFile(dir_ / "src", std::string(2 * 1024 * 1024, 's'));
  WriteFile(dir_ / "target", "old");
  fs::create_directory(dir_ / "adir");
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("missing"), Native("target")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("src"), Native("adir")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("src"), Native("no/such/dir/x")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("adir"), Native("target")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("src"), Native("")));
  EXPECT_FALSE(platform::CopyFileOverwriting(Native("src"), Native("") + std::string("a\0b", 3)));

  // Running out of room half-way: the file-size limit stands in for a full disk.
  struct rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 1024 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool copied = platform::CopyFileOverwriting(Native("src"), Native("target"));
  const bool copied_new = platform::CopyFileOverwriting(Native("src"), Native("new"));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(copied);
  EXPECT_FALSE(copied_new);

  EXPECT_EQ(ReadFile(dir_ / "target"), "old");
  EXPECT_TRUE(fs::is_empty(dir_ / "adir"));
  EXPECT_EQ(Names(platform::FindFiles(dir_.string(), "*", platform::faAnyFile)),
            (std::set<std::string>{"src", "target", "adir"}));
}

}  // namespace
