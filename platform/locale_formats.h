// The names and formats of the user's locale that the date formatter
// prints: day and month names, the short and long date and time formats
// (written in the formatter's own tokens), the morning/afternoon
// designators, and the eras of the Japanese calendar. All text is CP932.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct LocaleFormats {
  struct Era {
    std::string name;
    int start_year = 0;  // the Gregorian date of its first day
    int start_month = 1;
    int start_day = 1;
  };
  struct EraYear {
    const Era* era = nullptr;  // null only when the locale has no eras
    int year = 0;              // 1 in the era's first year
  };

  std::string locale_name;
  std::array<std::string, 7> short_day_names;  // Sunday first
  std::array<std::string, 7> long_day_names;
  std::array<std::string, 12> short_month_names;  // January first
  std::array<std::string, 12> long_month_names;
  std::string short_date_format;
  std::string long_date_format;
  std::string short_time_format;
  std::string long_time_format;
  std::string am_designator;
  std::string pm_designator;

  // The eras of the Japanese calendar in the order of their start, read
  // from the locale when first asked for: only the era tokens print them,
  // and there are over two hundred.
  const std::vector<Era>& JapaneseEras() const;

  // The era of the Japanese calendar that holds a Gregorian date, and the
  // year within it. A date before the first era gets the first era with a
  // year of 0 or less.
  EraYear JapaneseEraOf(int year, int month, int day) const;

  // Loads everything from ICU for a locale id such as "ja_JP".
  static std::shared_ptr<const LocaleFormats> Load(std::string_view locale_id);

  // The formats of the user's locale: loaded on first use and loaded again
  // whenever the user's locale has changed since.
  static std::shared_ptr<const LocaleFormats> ForUserLocale();

 private:
  mutable std::once_flag eras_loaded_;
  mutable std::vector<Era> japanese_eras_;
};

}  // namespace platform
