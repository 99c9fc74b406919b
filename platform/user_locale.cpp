#include "platform/user_locale.h"

#include <unicode/locid.h>

#include <mutex>

namespace platform {
namespace {

// Every text of the program is Japanese, and so are the names it puts into
// file names, whatever the environment says: under LANG=C a date would
// otherwise read "Reiwa1年5月1日(Wed)". ICU carries its own Japanese data, so
// this needs no generated system locale.
constexpr char kProgramLocale[] = "ja_JP";

void StartJapanese() {
  static std::once_flag once;
  std::call_once(once, [] {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale(kProgramLocale), status);
  });
}

}  // namespace

std::string UserLocaleName() {
  StartJapanese();
  return icu::Locale::getDefault().getName();
}

void SetUserLocale(std::string_view id) {
  StartJapanese();
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale::setDefault(icu::Locale(std::string(id).c_str()), status);
}

}  // namespace platform
