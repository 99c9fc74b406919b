#include "app/core/naming.h"

#include <array>
#include <utility>

#include "platform/date_format.h"
#include "platform/file_system.h"
#include "platform/lead_byte.h"

namespace app {
namespace {

// The tokens of the date format, tried in this order: within each letter the
// longest comes first, so "ddddd" wins over "dddd" and "dd".
constexpr std::array<std::string_view, 31> kDateTokens = {
    "dddddd", "ddddd", "aaaa", "dddd", "mmmm", "yyyy", "aaa",   "ddd", "ggg", "mmm", "dd",
    "ee",     "gg",    "mm",   "yy",   "hh",   "nn",   "ss",    "tt",  "c",   "d",   "e",
    "g",      "m",     "h",    "n",    "s",    "t",    "am/pm", "a/p", "ampm"};

std::string_view DateTokenAt(std::string_view text) {
  for (std::string_view token : kDateTokens)
    if (text.starts_with(token)) return token;
  return {};
}

int CharLengthAt(std::string_view text, std::size_t i) {
  return platform::CharLengthAt(text.data(), static_cast<int>(text.size()), static_cast<int>(i));
}

// The start of the file-name part of a path: after its last separator.
std::size_t FileNameStart(std::string_view path) {
  const std::size_t slash = path.rfind(platform::kPathDelimiter);
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// The position of the dot that starts the extension of a path's file-name
// part, or npos. Neither "." nor "/" is ever the second byte of a
// double-byte character, so the bytes can be searched as they are.
std::size_t ExtensionDot(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < FileNameStart(path)) return std::string_view::npos;
  return dot;
}

// Changes the case of ASCII letters only; a double-byte character stays
// whole even when its second byte looks like a letter.
void ChangeLetterCase(std::string& name, int letter_case) {
  if (letter_case != 1 && letter_case != 2) return;
  for (std::size_t i = 0; i < name.size();) {
    const int length = CharLengthAt(name, i);
    char& c = name[i];
    if (length == 1) {
      if (letter_case == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (letter_case == 2 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    i += length;
  }
}

// The serial number of the file at `index`, at least as wide as the style
// text and never cut.
std::string SerialNumber(const NamingSettings& settings, int index) {
  if (settings.serial_style_index == 0) return {};
  const std::string digits = std::to_string(static_cast<long long>(settings.serial_start) + index);
  const std::size_t width = settings.serial_style_text.size();
  return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

}  // namespace

std::string QuoteDateFormat(std::string_view user_format) {
  // Everything that is no token goes inside double quotes; each token closes
  // the quote before it and opens a new one after it. A double quote of the
  // user's is copied like any other character, so it still works as quoting:
  // yyyy"年"mm"月"dd"日" names files as the default format does.
  std::string quoted = "\"";
  for (std::size_t i = 0; i < user_format.size();) {
    const std::string_view rest = user_format.substr(i);
    if (const std::string_view token = DateTokenAt(rest); !token.empty()) {
      quoted += '"';
      quoted += token;
      quoted += '"';
      i += token.size();
    } else {
      // A double-byte character is copied whole: its second byte may look
      // like a token letter ("電" ends in "d") but is never one.
      const int length = CharLengthAt(user_format, i);
      quoted += rest.substr(0, length);
      i += length;
    }
  }
  quoted += '"';
  return quoted;
}

platform::DateFormat PrepareDateFormat(std::string_view user_format) {
  return platform::DateFormat(QuoteDateFormat(user_format));
}

NameComposer::NameComposer(NamingSettings settings)
    : settings_(std::move(settings)),
      date_format_(PrepareDateFormat(settings_.date_format)),
      locale_(platform::LocaleFormats::ForUserLocale()) {}

std::string NameComposer::FileName(std::string_view source_path, int index,
                                   const platform::DateTime& date) const {
  std::string name = settings_.leading_text;
  name += date_format_.Format(date, *locale_);
  name += SerialNumber(settings_, index);
  if (const std::size_t dot = ExtensionDot(source_path); dot != std::string_view::npos)
    name += source_path.substr(dot);

  if (settings_.change_extension) {
    // The text after the name's last dot is replaced, whichever part the dot
    // came from: a source without an extension whose date or prefix holds a
    // dot loses what follows that dot.
    if (const std::size_t dot = ExtensionDot(name); dot != std::string_view::npos) name.erase(dot);
    name += '.';
    name += settings_.new_extension;
  }
  ChangeLetterCase(name, settings_.letter_case);
  return name;
}

std::string NameComposer::Sample(const platform::DateTime& now) const {
  // The sample shows the serial style itself ("001", or "なし") and puts the
  // new extension in the placeholder's place as it is, replacing nothing.
  std::string sample = settings_.leading_text;
  sample += date_format_.Format(
      settings_.date_source == DateSource::kPicked ? settings_.picked_date : now, *locale_);
  sample += settings_.serial_style_text;
  sample += settings_.change_extension ? "." + settings_.new_extension : std::string(".***");
  ChangeLetterCase(sample, settings_.letter_case);
  return sample;
}

std::string ComposeFileName(const NamingSettings& settings, std::string_view source_path, int index,
                            const platform::DateTime& date) {
  return NameComposer(settings).FileName(source_path, index, date);
}

std::string ComposeSample(const NamingSettings& settings, const platform::DateTime& now) {
  return NameComposer(settings).Sample(now);
}

}  // namespace app
