// Composition of a copied file's new name and of the sample name shown while
// the naming settings change, over what the window's controls hold at the
// moment of the call.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/core/date_source.h"
#include "platform/date_format.h"
#include "platform/date_time.h"
#include "platform/locale_formats.h"

namespace app {

// What the naming controls hold (all text CP932 bytes).
struct NamingSettings {
  std::string leading_text;  // Edit2
  std::string date_format =
      "yyyy\x94\x4Emm\x8C\x8E"
      "dd\x93\xFA";  // Edit3 as typed: yyyy年mm月dd日
  // RadioButton1/RadioButton2 with CheckBox2 (Exif優先), as DateSourceOf reads them.
  DateSource date_source = DateSource::kLastWrite;
  platform::DateTime picked_date{2000, 8, 9, 17, 53, 9, 0};  // DateTimePicker1
  int serial_style_index = 3;             // ComboBox1: 0 "なし", 1 "1", 2 "01", 3 "001", ...
  std::string serial_style_text = "001";  // the selected ComboBox1 item's text
  int serial_start = 1;                   // SpinEdit1
  bool change_extension = false;          // CheckBox1
  std::string new_extension = "txt";      // Edit4, without the dot
  int letter_case = 0;                    // ComboBox2: 0 none, 1 lower, 2 upper
};

// The largest serial number a run starts from (SpinEdit1's range).
inline constexpr int kSerialStartMax = 99999999;

// The items of the serial style list (ComboBox1): index 0 "なし" is no
// serial number; otherwise the item's length is the least width.
inline constexpr std::string_view kSerialStyleItems[] = {
    "\x82\xC8\x82\xB5", "1", "01", "001", "0001", "00001"};

// Converts the user's date format into the quoted form the date formatter
// takes: every token stands alone, everything else (letters that are no
// token, "/", ":", a double-byte character whole) is quoted so that it
// prints as typed. The user's own double quotes are copied as they are and
// go on quoting.
std::string QuoteDateFormat(std::string_view user_format);

// The user's date format ready for many names: quoted, then split once.
platform::DateFormat PrepareDateFormat(std::string_view user_format);

// The naming settings with their date format prepared, for a run that names
// many files.
class NameComposer {
 public:
  explicit NameComposer(NamingSettings settings);

  const NamingSettings& Settings() const { return settings_; }

  // The new name (no directory) of the file at 0-based list position
  // `index`, with `date` already chosen by the caller: prefix, date, serial
  // number, the source's extension, then the extension change and the
  // letter case (ASCII letters only). The name is not checked: it may hold
  // "/" from the date format, and the caller decides.
  std::string FileName(std::string_view source_path, int index,
                       const platform::DateTime& date) const;

  // The sample text; `now` is the current local date and time (ignored when
  // the picked date is used).
  std::string Sample(const platform::DateTime& now) const;

 private:
  NamingSettings settings_;
  platform::DateFormat date_format_;
  // The user's day, month and era names, taken once for every name.
  std::shared_ptr<const platform::LocaleFormats> locale_;
};

// The same for one name.
std::string ComposeFileName(const NamingSettings& settings, std::string_view source_path, int index,
                            const platform::DateTime& date);
std::string ComposeSample(const NamingSettings& settings, const platform::DateTime& now);

}  // namespace app
