// The date formatter: prints a date and time through a format of tokens
// ("yyyy", "mm", "dd", "hh", "nn", "ddd", "ggg", "ampm", ...) with the
// names and formats of the user's locale. Formats and results are CP932.
//
// Text in double or single quotes prints as it stands; an empty pair prints
// nothing. Letters are tokens in either case; text that is no token prints
// as it stands, "/" and ":" included (no separator of the locale replaces
// them). An empty format means "c".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/date_time.h"
#include "platform/locale_formats.h"

namespace platform {

// A format split once into its pieces, for printing many dates with it.
class DateFormat {
 public:
  explicit DateFormat(std::string_view format);

  // Over the user's locale.
  std::string Format(const DateTime& date) const;
  std::string Format(const DateTime& date, const LocaleFormats& locale) const;

  struct Split;

 private:
  std::shared_ptr<const Split> split_;
};

std::string FormatDateTime(std::string_view format, const DateTime& date);

// The same over a given locale source.
std::string FormatDateTime(std::string_view format, const DateTime& date,
                           const LocaleFormats& locale);

}  // namespace platform
