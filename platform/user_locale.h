// The program's locale, which day and month names, date and time formats,
// era names and the collation of names follow. It starts as Japanese
// (ja_JP) whatever the process environment says (LC_ALL, LC_TIME, LANG), as
// every other text of the program is; tests may set another.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// An ICU locale id such as "ja_JP".
std::string UserLocaleName();

// Replaces the user's locale for the rest of the process.
void SetUserLocale(std::string_view id);

// Keeps a locale for its lifetime and restores the previous one after.
class ScopedUserLocale {
 public:
  explicit ScopedUserLocale(std::string_view id) : previous_(UserLocaleName()) {
    SetUserLocale(id);
  }
  ~ScopedUserLocale() { SetUserLocale(previous_); }
  ScopedUserLocale(const ScopedUserLocale&) = delete;
  ScopedUserLocale& operator=(const ScopedUserLocale&) = delete;

 private:
  std::string previous_;
};

}  // namespace platform
