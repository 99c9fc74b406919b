#include "platform/user_locale.h"

#include <unicode/locid.h>

namespace platform {

std::string UserLocaleName() { return icu::Locale::getDefault().getName(); }

void SetUserLocale(std::string_view id) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale::setDefault(icu::Locale(std::string(id).c_str()), status);
}

}  // namespace platform
