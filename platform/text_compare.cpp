#include "platform/text_compare.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/cp932.h"
#include "platform/user_locale.h"

namespace platform {
namespace {

// The collator of the current user locale. Letter case is taken out by case
// folding before the collator sees the text; every other difference (width,
// kana kind) still counts, down to the identical level, because the Japanese
// tailoring would otherwise take "abc" and full-width "ａｂｃ" as one word.
class CaseIgnoringCollator {
 public:
  static CaseIgnoringCollator& ForUserLocale() {
    thread_local CaseIgnoringCollator cached;
    std::string locale = UserLocaleName();
    if (!cached.collator_ || cached.locale_ != locale) cached.Open(locale);
    return cached;
  }

  int Compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = collator_->compare(Folded(a), Folded(b), status);
    if (U_FAILURE(status)) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
  }

  std::string Key(std::string_view text) const {
    icu::UnicodeString folded = Folded(text);
    std::string key(folded.length() * 4 + 16, '\0');
    auto fill = [&] {
      return collator_->getSortKey(folded, reinterpret_cast<uint8_t*>(key.data()),
                                   static_cast<int32_t>(key.size()));
    };
    int32_t needed = fill();
    if (needed > static_cast<int32_t>(key.size())) {
      key.resize(needed);
      needed = fill();
    }
    // The key ends with a zero byte that ordering does not need.
    key.resize(needed > 0 ? needed - 1 : 0);
    return key;
  }

 private:
  void Open(const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status) || !collator) {
      status = U_ZERO_ERROR;
      collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    collator->setStrength(icu::Collator::IDENTICAL);
    collator_ = std::move(collator);
    locale_ = locale;
  }

  static icu::UnicodeString Folded(std::string_view cp932) {
    std::string utf8 = Cp932ToUtf8Lossy(cp932);
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    text.foldCase(U_FOLD_CASE_DEFAULT);
    return text;
  }

  std::unique_ptr<icu::Collator> collator_;
  std::string locale_;
};

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  return CaseIgnoringCollator::ForUserLocale().Compare(a, b);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return AnsiCompareText(a, b) == 0;
}

std::string AnsiCompareTextKey(std::string_view text) {
  return CaseIgnoringCollator::ForUserLocale().Key(text);
}

}  // namespace platform
