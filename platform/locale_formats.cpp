#include "platform/locale_formats.h"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <mutex>
#include <tuple>

#include "platform/cp932.h"
#include "platform/user_locale.h"

namespace platform {
namespace {

std::string ToUtf8(const icu::UnicodeString& text) {
  std::string utf8;
  text.toUTF8String(utf8);
  return utf8;
}

// Locale names go into file names, so text that code page 932 lacks is
// brought to plain ASCII where it has such a form ("Shōwa" becomes "Showa",
// a narrow no-break space a space); only what has none is shown as "?".
class Cp932Names {
 public:
  std::string operator()(const icu::UnicodeString& text) {
    if (auto exact = Utf8ToCp932(ToUtf8(text))) return *exact;
    icu::UnicodeString plain = text;
    bool ascii = true;
    for (int32_t i = 0; i < plain.length(); ++i) {
      if (u_charType(plain[i]) == U_SPACE_SEPARATOR) plain.setCharAt(i, u' ');
      ascii = ascii && plain[i] < 0x80;
    }
    // English times lack only their narrow space: there is nothing left for
    // the transliterator to do, and making one costs more than the rest of
    // a short run.
    if (ascii) return Utf8ToCp932Lossy(ToUtf8(plain));
    if (!to_ascii_) {
      UErrorCode status = U_ZERO_ERROR;
      to_ascii_.reset(icu::Transliterator::createInstance("Latin-ASCII", UTRANS_FORWARD, status));
      if (U_FAILURE(status)) to_ascii_.reset();
    }
    plain = text;
    if (to_ascii_) to_ascii_->transliterate(plain);
    for (int32_t i = 0; i < plain.length(); ++i)
      if (u_charType(plain[i]) == U_SPACE_SEPARATOR) plain.setCharAt(i, u' ');
    return Utf8ToCp932Lossy(ToUtf8(plain));
  }

 private:
  std::unique_ptr<icu::Transliterator> to_ascii_;  // made on first need
};

template <std::size_t N>
void CopyNames(const icu::UnicodeString* names, int32_t count, int32_t first, Cp932Names& to_cp932,
               std::array<std::string, N>& into) {
  for (std::size_t i = 0; i < N; ++i) {
    const int32_t at = first + static_cast<int32_t>(i);
    if (names != nullptr && at < count) into[i] = to_cp932(names[at]);
  }
}

// Appends literal text to a format in the formatter's quoting: a double
// quote inside it goes in single quotes.
void AppendLiteral(const icu::UnicodeString& text, icu::UnicodeString& format) {
  if (text.isEmpty()) return;
  icu::UnicodeString run;
  auto flush = [&] {
    if (!run.isEmpty()) format.append(u'"').append(run).append(u'"');
    run.remove();
  };
  for (int32_t i = 0; i < text.length(); ++i) {
    if (text[i] == u'"') {
      flush();
      format.append(u"'\"'");
    } else {
      run.append(text[i]);
    }
  }
  flush();
}

// The formatter's token for a run of `count` ICU pattern letters `letter`,
// or empty for fields it has no token for (time zones, fractions).
const char16_t* TokenFor(char16_t letter, int count) {
  switch (letter) {
    case u'G':
      return count == 5 ? u"g" : u"ggg";
    case u'y':
    case u'Y':
    case u'u':
      // ICU's "y" is the year without padding; the four digits users see
      // in dates are what it prints for every year they will meet.
      return count == 2 ? u"yy" : u"yyyy";
    case u'M':
    case u'L':
      return count == 1 ? u"m" : count == 2 ? u"mm" : count == 3 ? u"mmm" : u"mmmm";
    case u'd':
      return count == 1 ? u"d" : u"dd";
    case u'E':
      return count <= 3 ? u"ddd" : u"dddd";
    case u'c':
    case u'e':
      return count <= 2 ? u"" : count == 3 ? u"ddd" : u"dddd";
    case u'a':
    case u'b':
    case u'B':
      return u"ampm";
    case u'h':
    case u'H':
    case u'k':
    case u'K':
      return count == 1 ? u"h" : u"hh";
    case u'm':
      return count == 1 ? u"n" : u"nn";
    case u's':
      return count == 1 ? u"s" : u"ss";
    default:
      return u"";
  }
}

struct Translation {
  icu::UnicodeString format;
  // The formatter turns to the 12-hour clock only for an am/pm token that
  // comes after the hour; ICU patterns such as "a h:mm" put it before.
  bool am_pm_before_hour = false;
};

// Rewrites an ICU date pattern ("y/MM/dd", "H:mm:ss") in the formatter's
// tokens, every piece of literal text quoted.
Translation TranslatePattern(const icu::UnicodeString& pattern) {
  Translation result;
  icu::UnicodeString literal;
  bool seen_am_pm = false;
  auto flush_literal = [&] {
    AppendLiteral(literal, result.format);
    literal.remove();
  };
  int32_t i = 0;
  const int32_t size = pattern.length();
  while (i < size) {
    const char16_t c = pattern[i];
    if (c == u'\'') {
      if (i + 1 < size && pattern[i + 1] == u'\'') {
        literal.append(u'\'');
        i += 2;
        continue;
      }
      ++i;
      while (i < size) {
        if (pattern[i] == u'\'') {
          if (i + 1 < size && pattern[i + 1] == u'\'') {
            literal.append(u'\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal.append(pattern[i++]);
      }
      continue;
    }
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
      int count = 0;
      while (i < size && pattern[i] == c) {
        ++i;
        ++count;
      }
      const char16_t* token = TokenFor(c, count);
      if (*token == u'\0') continue;
      if (c == u'a' || c == u'b' || c == u'B') seen_am_pm = true;
      if ((c == u'h' || c == u'K') && seen_am_pm) result.am_pm_before_hour = true;
      flush_literal();
      result.format.append(token);
      continue;
    }
    literal.append(c);
    ++i;
  }
  // A field the formatter has no token for (a time zone) leaves the space
  // before it behind.
  literal.trim();
  flush_literal();
  return result;
}

icu::UnicodeString PatternOf(icu::DateFormat* format) {
  icu::UnicodeString pattern;
  if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format)) simple->toPattern(pattern);
  return pattern;
}

icu::UnicodeString DatePattern(icu::DateFormat::EStyle style, const icu::Locale& locale) {
  std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(style, locale));
  return PatternOf(format.get());
}

// A time format in tokens. Where the locale writes its morning/afternoon
// marker before a 12-hour hour, the locale's 24-hour form is taken instead,
// since the formatter would print the hour of the 24-hour clock there.
std::string TimeFormat(icu::DateFormat::EStyle style, const char16_t* skeleton_24h,
                       const icu::Locale& locale, Cp932Names& to_cp932) {
  std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createTimeInstance(style, locale));
  Translation translation = TranslatePattern(PatternOf(format.get()));
  if (translation.am_pm_before_hour) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    if (U_SUCCESS(status)) {
      icu::UnicodeString pattern = generator->getBestPattern(skeleton_24h, status);
      if (U_SUCCESS(status)) translation = TranslatePattern(pattern);
    }
  }
  return to_cp932(translation.format);
}

std::vector<LocaleFormats::Era> LoadEras(const icu::Locale& locale) {
  std::vector<LocaleFormats::Era> eras;
  Cp932Names to_cp932;
  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(locale, "japanese", status);
  if (U_FAILURE(status)) return eras;
  int32_t name_count = 0;
  const icu::UnicodeString* names = symbols.getEras(name_count);

  icu::Locale japanese(locale);
  japanese.setKeywordValue("calendar", "japanese", status);
  std::unique_ptr<icu::Calendar> calendar(
      icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), japanese, status));
  if (U_FAILURE(status) || names == nullptr) return eras;
  // Proleptic Gregorian dates, as the program's dates are, also for the
  // eras before the calendar reform.
  if (auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(calendar.get()))
    gregorian->setGregorianChange(-1e300, status);

  // With only the era and year 1 set, the calendar resolves to the first
  // day of the era.
  const int32_t last_era = std::min(calendar->getMaximum(UCAL_ERA), name_count - 1);
  for (int32_t era = 0; era <= last_era; ++era) {
    calendar->clear();
    calendar->set(UCAL_ERA, era);
    calendar->set(UCAL_YEAR, 1);
    LocaleFormats::Era entry;
    entry.name = to_cp932(names[era]);
    entry.start_year = calendar->get(UCAL_EXTENDED_YEAR, status);
    entry.start_month = calendar->get(UCAL_MONTH, status) + 1;
    entry.start_day = calendar->get(UCAL_DATE, status);
    if (U_FAILURE(status)) break;
    eras.push_back(std::move(entry));
  }
  return eras;
}

}  // namespace

const std::vector<LocaleFormats::Era>& LocaleFormats::JapaneseEras() const {
  std::call_once(eras_loaded_,
                 [this] { japanese_eras_ = LoadEras(icu::Locale(locale_name.c_str())); });
  return japanese_eras_;
}

LocaleFormats::EraYear LocaleFormats::JapaneseEraOf(int year, int month, int day) const {
  const std::vector<Era>& japanese_eras = JapaneseEras();
  if (japanese_eras.empty()) return {};
  const auto date = std::make_tuple(year, month, day);
  auto after = std::upper_bound(
      japanese_eras.begin(), japanese_eras.end(), date, [](const auto& d, const Era& era) {
        return d < std::make_tuple(era.start_year, era.start_month, era.start_day);
      });
  const Era& era = after == japanese_eras.begin() ? japanese_eras.front() : *(after - 1);
  return {&era, year - era.start_year + 1};
}

std::shared_ptr<const LocaleFormats> LocaleFormats::Load(std::string_view locale_id) {
  auto formats = std::make_shared<LocaleFormats>();
  formats->locale_name = std::string(locale_id);
  const icu::Locale locale(formats->locale_name.c_str());
  Cp932Names to_cp932;

  UErrorCode status = U_ZERO_ERROR;
  icu::DateFormatSymbols symbols(locale, status);
  if (U_SUCCESS(status)) {
    int32_t count = 0;
    // ICU's weekday arrays start at index 1 with Sunday.
    const icu::UnicodeString* names = symbols.getShortWeekdays(count);
    CopyNames(names, count, 1, to_cp932, formats->short_day_names);
    names = symbols.getWeekdays(count);
    CopyNames(names, count, 1, to_cp932, formats->long_day_names);
    names = symbols.getShortMonths(count);
    CopyNames(names, count, 0, to_cp932, formats->short_month_names);
    names = symbols.getMonths(count);
    CopyNames(names, count, 0, to_cp932, formats->long_month_names);
    names = symbols.getAmPmStrings(count);
    if (names != nullptr && count >= 2) {
      formats->am_designator = to_cp932(names[0]);
      formats->pm_designator = to_cp932(names[1]);
    }
  }

  formats->short_date_format =
      to_cp932(TranslatePattern(DatePattern(icu::DateFormat::kShort, locale)).format);
  formats->long_date_format =
      to_cp932(TranslatePattern(DatePattern(icu::DateFormat::kLong, locale)).format);
  formats->short_time_format = TimeFormat(icu::DateFormat::kShort, u"Hm", locale, to_cp932);
  // The long time format is ICU's medium one: its long one adds the time
  // zone, which no date formatter of this kind prints.
  formats->long_time_format = TimeFormat(icu::DateFormat::kMedium, u"Hms", locale, to_cp932);
  return formats;
}

std::shared_ptr<const LocaleFormats> LocaleFormats::ForUserLocale() {
  static std::mutex mutex;
  static std::shared_ptr<const LocaleFormats> cached;
  const std::string name = UserLocaleName();
  std::lock_guard<std::mutex> lock(mutex);
  if (!cached || cached->locale_name != name) cached = Load(name);
  return cached;
}

}  // namespace platform
