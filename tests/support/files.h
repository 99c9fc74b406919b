// Small file fixtures for tests that work on real folders: a temporary
// folder that cleans up after itself, whole-file reads and writes, file
// times in a pinned local time zone.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace test_support {

namespace fs = std::filesystem;

// Local time pinned to Japan (no daylight saving), so that file ages and
// their DOS form do not depend on the machine's zone.
inline void PinJapanTimeZone() {
  setenv("TZ", "JST-9", 1);
  tzset();
}

// The seconds since the epoch of a local date and time.
inline std::time_t LocalTime(int y, int mo, int d, int h, int mi, int s) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = 0;
  return std::mktime(&tm);
}

// Sets the last-write (and access) time of `p` itself, not of a link's target.
inline bool SetMTime(const fs::path& p, std::time_t t) {
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  return utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

inline void WriteFile(const fs::path& p, const std::string& data) {
  std::ofstream(p, std::ios::binary) << data;
}

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A new folder under the system's temporary folder, removed with everything
// in it (also what was made read-only) when the object goes.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "pirukko") {
    std::string tmpl = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace test_support
