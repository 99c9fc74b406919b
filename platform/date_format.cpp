#include "platform/date_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/lead_byte.h"

namespace platform {
namespace {

char ToLowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (ToLowerAscii(text[i]) != prefix[i]) return false;
  return true;
}

// One piece of a format: printed text, a field token, or a morning/afternoon
// marker.
struct Piece {
  enum Kind {
    kText,    // quoted or other non-letter text, or a double-byte character
    kLetter,  // a letter that is no token: printed, but it ends an hour run
    kField,   // a run of one token letter ("yyyy", "aaa" as letter 'a')
    kMarker,  // "am/pm", "a/p" or "ampm" as written
  };
  Kind kind;
  std::string_view text;
  char letter = 0;  // lower case, for fields
  int count = 0;
};

bool IsFieldLetter(char lower) {
  return std::string_view("cdeghmnsty").find(lower) != std::string_view::npos;
}

std::vector<Piece> SplitFormat(std::string_view format) {
  std::vector<Piece> pieces;
  const int size = static_cast<int>(format.size());
  int i = 0;
  while (i < size) {
    const char c = format[i];
    const char lower = ToLowerAscii(c);
    if (c == '"' || c == '\'') {
      int end = i + 1;
      while (end < size && format[end] != c) end += CharLengthAt(format.data(), size, end);
      end = std::min(end, size);
      pieces.push_back({Piece::kText, format.substr(i + 1, end - i - 1)});
      i = end < size ? end + 1 : size;  // an unclosed quote runs to the end
    } else if (lower == 'a') {
      // Tried in this order, so "aaaa" wins over "aaa"; a lone "a" is text.
      static constexpr std::pair<std::string_view, Piece::Kind> kSpellings[] = {
          {"am/pm", Piece::kMarker}, {"a/p", Piece::kMarker}, {"ampm", Piece::kMarker},
          {"aaaa", Piece::kField},   {"aaa", Piece::kField},  {"a", Piece::kLetter}};
      const std::string_view rest = format.substr(i);
      for (const auto& [spelling, kind] : kSpellings) {
        if (!StartsWithIgnoringCase(rest, spelling)) continue;
        const int length = static_cast<int>(spelling.size());
        pieces.push_back({kind, rest.substr(0, length), 'a', length});
        i += length;
        break;
      }
    } else if (IsFieldLetter(lower)) {
      int end = i + 1;
      while (end < size && ToLowerAscii(format[end]) == lower) ++end;
      pieces.push_back({Piece::kField, format.substr(i, end - i), lower, end - i});
      i = end;
    } else {
      const int length = CharLengthAt(format.data(), size, i);
      pieces.push_back(
          {IsAsciiLetter(c) ? Piece::kLetter : Piece::kText, format.substr(i, length)});
      i += length;
    }
  }
  return pieces;
}

// 0 for Sunday, on the proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
  const long long days = DaysSince1970(year, month, day);
  return static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
}

void AppendNumber(std::string& out, long value, int min_digits) {
  if (value < 0) out += '-';
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, std::labs(value)).ptr;
  const int length = static_cast<int>(end - digits);
  if (length < min_digits) out.append(static_cast<std::size_t>(min_digits - length), '0');
  out.append(digits, end);
}

template <std::size_t N>
const std::string& NameAt(const std::array<std::string, N>& names, int index) {
  static const std::string kNone;
  return index >= 0 && index < static_cast<int>(N) ? names[index] : kNone;
}

}  // namespace

// A format split once into its pieces, with its own copy of the text they
// point into.
struct DateFormat::Split {
  explicit Split(std::string_view text) : format(text), pieces(SplitFormat(format)) {}
  std::string format;
  std::vector<Piece> pieces;
};

namespace {

using SplitOnce = DateFormat::Split;

// A run names thousands of files through one format, and a locale's own
// formats come back at every date: the last few formats split on this thread
// are kept. A caller holds its split while it prints, so that a nested format
// may push it out of the cache meanwhile.
std::shared_ptr<const SplitOnce> SplitCached(std::string_view format) {
  constexpr std::size_t kKept = 8;
  thread_local std::array<std::shared_ptr<const SplitOnce>, kKept> kept;
  thread_local std::size_t next = 0;
  for (const auto& split : kept)
    if (split && split->format == format) return split;
  auto split = std::make_shared<const SplitOnce>(format);
  kept[next] = split;
  next = (next + 1) % kKept;
  return split;
}

class Formatter {
 public:
  Formatter(const DateTime& date, const LocaleFormats& locale) : date_(date), locale_(locale) {}

  std::string Format(std::string_view format) {
    Append(format.empty() ? std::string_view("c") : format, 0);
    return std::move(out_);
  }

  // A split format; an empty one means "c".
  std::string Format(const SplitOnce& split) {
    if (split.format.empty())
      Append(std::string_view("c"), 0);
    else
      Append(split, 0);
    return std::move(out_);
  }

 private:
  // The locale's own formats are printed by this same formatter; they hold
  // only plain tokens, and a nesting limit keeps any odd format finite.
  static constexpr int kMaxNesting = 2;

  void Append(std::string_view format, int nesting) {
    if (nesting > kMaxNesting) return;
    // Held while it prints: a nested format may push it out of the cache.
    const std::shared_ptr<const SplitOnce> split = SplitCached(format);
    Append(*split, nesting);
  }

  void Append(const SplitOnce& split, int nesting) {
    const std::vector<Piece>& pieces = split.pieces;
    char last_token = 0;  // the letter of the last field, marker or letter
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const Piece& piece = pieces[i];
      switch (piece.kind) {
        case Piece::kText:
          out_ += piece.text;
          break;
        case Piece::kLetter:
          out_ += piece.text;
          last_token = ToLowerAscii(piece.text[0]);
          break;
        case Piece::kMarker:
          AppendMarker(piece.text);
          last_token = 'a';
          break;
        case Piece::kField: {
          char letter = piece.letter;
          if (letter == 'm' && last_token == 'h' && piece.count <= 2) letter = 'n';
          AppendField(letter, piece.count, pieces, i, nesting);
          last_token = piece.letter;
          break;
        }
      }
    }
  }

  void AppendMarker(std::string_view marker) {
    const bool afternoon = date_.hour >= 12;
    if (marker.size() == 4) {  // "ampm": the locale's designators
      out_ += afternoon ? locale_.pm_designator : locale_.am_designator;
    } else if (marker.size() == 5) {  // "am/pm": the letters as written
      out_ += marker.substr(afternoon ? 3 : 0, 2);
    } else {  // "a/p"
      out_ += marker[afternoon ? 2 : 0];
    }
  }

  static bool MarkerFollows(const std::vector<Piece>& pieces, std::size_t from) {
    for (std::size_t i = from + 1; i < pieces.size(); ++i)
      if (pieces[i].kind == Piece::kMarker) return true;
    return false;
  }

  void AppendField(char letter, int count, const std::vector<Piece>& pieces, std::size_t index,
                   int nesting) {
    const int pad = count >= 2 ? 2 : 1;
    switch (letter) {
      case 'y':
        if (count <= 2)
          AppendNumber(out_, ((date_.year % 100) + 100) % 100, 2);
        else
          AppendNumber(out_, date_.year, 4);
        break;
      case 'm':
        if (count <= 2)
          AppendNumber(out_, date_.month, pad);
        else
          out_ += NameAt(count == 3 ? locale_.short_month_names : locale_.long_month_names,
                         date_.month - 1);
        break;
      case 'd':
        if (count <= 2) {
          AppendNumber(out_, date_.day, pad);
        } else if (count <= 4) {
          AppendDayName(count == 3);
        } else {
          Append(count == 5 ? locale_.short_date_format : locale_.long_date_format, nesting + 1);
        }
        break;
      case 'a':
        AppendDayName(count == 3);
        break;
      case 'e':
      case 'g': {
        const LocaleFormats::EraYear era =
            locale_.JapaneseEraOf(date_.year, date_.month, date_.day);
        if (letter == 'e') {
          AppendNumber(out_, era.era ? era.year : date_.year, pad);
        } else if (era.era) {
          const std::string& name = era.era->name;
          out_ += count == 1 && !name.empty()
                      ? name.substr(0, CharLengthAt(name.data(), static_cast<int>(name.size()), 0))
                      : name;
        }
        break;
      }
      case 'h': {
        int hour = date_.hour;
        if (MarkerFollows(pieces, index)) {
          if (hour == 0)
            hour = 12;
          else if (hour > 12)
            hour -= 12;
        }
        AppendNumber(out_, hour, pad);
        break;
      }
      case 'n':
        AppendNumber(out_, date_.minute, pad);
        break;
      case 's':
        AppendNumber(out_, date_.second, pad);
        break;
      case 't':
        Append(count == 1 ? locale_.short_time_format : locale_.long_time_format, nesting + 1);
        break;
      case 'c':
        Append(locale_.short_date_format, nesting + 1);
        if (date_.hour != 0 || date_.minute != 0 || date_.second != 0) {
          out_ += ' ';
          Append(locale_.long_time_format, nesting + 1);
        }
        break;
    }
  }

  void AppendDayName(bool short_name) {
    const int weekday = DayOfWeek(date_.year, std::clamp(date_.month, 1, 12), date_.day);
    out_ += NameAt(short_name ? locale_.short_day_names : locale_.long_day_names, weekday);
  }

  const DateTime& date_;
  const LocaleFormats& locale_;
  std::string out_;
};

}  // namespace

DateFormat::DateFormat(std::string_view format) : split_(std::make_shared<const Split>(format)) {}

std::string DateFormat::Format(const DateTime& date, const LocaleFormats& locale) const {
  return Formatter(date, locale).Format(*split_);
}

std::string DateFormat::Format(const DateTime& date) const {
  const std::shared_ptr<const LocaleFormats> locale = LocaleFormats::ForUserLocale();
  return Format(date, *locale);
}

std::string FormatDateTime(std::string_view format, const DateTime& date,
                           const LocaleFormats& locale) {
  return Formatter(date, locale).Format(format);
}

std::string FormatDateTime(std::string_view format, const DateTime& date) {
  const std::shared_ptr<const LocaleFormats> locale = LocaleFormats::ForUserLocale();
  return FormatDateTime(format, date, *locale);
}

}  // namespace platform
