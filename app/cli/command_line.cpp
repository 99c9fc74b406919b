#include "app/cli/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "platform/cp932.h"
#include "platform/date_time.h"

namespace app::cli {
namespace {

constexpr std::string_view kRun = "--run";
constexpr std::string_view kPreview = "--preview";
constexpr std::string_view kHelp = "--help";
constexpr std::string_view kShortHelp = "-h";
constexpr std::string_view kVersion = "--version";

// The serial styles as typed; their positions are the window's list indexes.
constexpr std::array<std::string_view, 6> kSerialStyles = {"none", "1",    "01",
                                                           "001",  "0001", "00001"};

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

// Digits only, the whole text, within [0, max].
std::optional<int> ParseNumber(std::string_view text, int digits_min, int digits_max, int max) {
  if (text.size() < static_cast<std::size_t>(digits_min) ||
      text.size() > static_cast<std::size_t>(digits_max) ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value > max) return std::nullopt;
  return value;
}

// YYYY-MM-DD, a day that exists (years 1 to 9999).
std::optional<platform::DateTime> ParseDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = ParseNumber(text.substr(0, 4), 4, 4, 9999);
  const auto month = ParseNumber(text.substr(5, 2), 2, 2, 12);
  const auto day = ParseNumber(text.substr(8, 2), 2, 2, 31);
  if (!year || !month || !day || *year < 1 || *month < 1 || *day < 1 ||
      *day > platform::DaysInMonth(*year, *month)) {
    return std::nullopt;
  }
  platform::DateTime date;
  date.year = *year;
  date.month = *month;
  date.day = *day;
  return date;
}

// Where an option's value goes, and what is wrong with it when it is refused.
struct Taking {
  RunSettings& settings;
  bool masks_given = false;
  std::string error;

  bool Refuse(std::string_view name, std::string_view value, std::string_view allowed) {
    error = std::string(name) + " の値が不正です: " + Quoted(value) + "（" + std::string(allowed) +
            "）";
    return false;
  }

  // The CP932 form the window's control would hold.
  bool Cp932Text(std::string_view name, std::string_view value, std::string& to) {
    std::optional<std::string> cp932 = platform::Utf8ToCp932(value);
    if (!cp932) {
      error = std::string(name) + " の値に Shift-JIS で表せない文字があります: " + Quoted(value);
      return false;
    }
    to = std::move(*cp932);
    return true;
  }
};

// An option of the run: a switch that turns its setting on by being there,
// or one that takes a value into the settings.
struct Option {
  std::string_view name;
  bool RunSettings::*flag = nullptr;
  bool (*take)(Taking&, std::string_view name, const std::string& value) = nullptr;
};

// Every option of the run, in one table.
constexpr Option kOptions[] = {
    {"--mask", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       std::string mask;
       if (!to.Cp932Text(name, value, mask)) return false;
       if (!to.masks_given) to.settings.masks.clear();
       to.masks_given = true;
       to.settings.masks.push_back(std::move(mask));
       return true;
     }},
    {"--folder", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       return to.Cp932Text(name, value, to.settings.folder_name);
     }},
    {"--prefix", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       return to.Cp932Text(name, value, to.settings.naming.leading_text);
     }},
    {"--format", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       return to.Cp932Text(name, value, to.settings.naming.date_format);
     }},
    {"--date", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       NamingSettings& naming = to.settings.naming;
       if (value == "mtime") {
         naming.date_source = DateSource::kLastWrite;
       } else if (value == "exif") {
         naming.date_source = DateSource::kCaptureDate;
       } else if (const std::optional<platform::DateTime> day = ParseDay(value)) {
         // Picking a day in the window keeps the picker's time of day.
         naming.date_source = DateSource::kPicked;
         naming.picked_date.year = day->year;
         naming.picked_date.month = day->month;
         naming.picked_date.day = day->day;
       } else {
         return to.Refuse(name, value, "mtime、exif か YYYY-MM-DD の形の日付");
       }
       return true;
     }},
    {"--serial", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       const auto style = std::find(kSerialStyles.begin(), kSerialStyles.end(), value);
       if (style == kSerialStyles.end()) {
         return to.Refuse(name, value, "none、1、01、001、0001、00001 のどれか");
       }
       NamingSettings& naming = to.settings.naming;
       naming.serial_style_index = static_cast<int>(style - kSerialStyles.begin());
       naming.serial_style_text = std::string(kSerialStyleItems[naming.serial_style_index]);
       return true;
     }},
    {"--start", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       const std::optional<int> start = ParseNumber(value, 1, 8, kSerialStartMax);
       if (!start) return to.Refuse(name, value, "0 から 99999999 までの整数");
       to.settings.naming.serial_start = *start;
       return true;
     }},
    {"--ext", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       to.settings.naming.change_extension = true;
       return to.Cp932Text(name, value, to.settings.naming.new_extension);
     }},
    {"--case", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       int& letter_case = to.settings.naming.letter_case;
       if (value == "none") {
         letter_case = 0;
       } else if (value == "lower") {
         letter_case = 1;
       } else if (value == "upper") {
         letter_case = 2;
       } else {
         return to.Refuse(name, value, "lower か upper");
       }
       return true;
     }},
    {"--order", nullptr,
     [](Taking& to, std::string_view name, const std::string& value) {
       if (value == "name") {
         to.settings.order = FileOrder::kName;
       } else if (value == "date") {
         to.settings.order = FileOrder::kDate;
       } else {
         return to.Refuse(name, value, "name か date");
       }
       return true;
     }},
    {"--subfolders", &RunSettings::include_subfolders, nullptr},
    {"--keep-both", &RunSettings::keep_both, nullptr},
};

// The option named `name`; nil for any other name.
const Option* FindOption(std::string_view name) {
  for (const Option& option : kOptions)
    if (option.name == name) return &option;
  return nullptr;
}

bool IsValueOption(std::string_view name) {
  const Option* option = FindOption(name);
  return option && option->take;
}

// The switch named `name`; nil for any other name.
const Option* FindFlagOption(std::string_view name) {
  const Option* option = FindOption(name);
  return option && option->flag ? option : nullptr;
}

// The option's name, without "=value".
std::string_view OptionName(std::string_view arg) {
  return arg.substr(0, arg.find('='));
}

// --help or --version among the options (not as an option's value), which
// then wins over everything else, mistakes included.
std::optional<Mode> AskedForHelpOrVersion(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") break;
    if (arg == kHelp || arg == kShortHelp) return Mode::kHelp;
    if (arg == kVersion) return Mode::kVersion;
    if (IsValueOption(arg)) ++i;  // its value follows
  }
  return std::nullopt;
}

class Parser {
 public:
  ParseResult Parse(const std::vector<std::string>& args) {
    if (const std::optional<Mode> mode = AskedForHelpOrVersion(args)) return Succeed(*mode);
    std::vector<std::string> positional;
    std::string first_run_option;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (options_ended || arg.size() < 2 || arg[0] != '-') {
        positional.push_back(arg);
        continue;
      }
      if (arg == "--") {
        options_ended = true;
        continue;
      }
      if (arg == kRun || arg == kPreview) {
        const Mode mode = arg == kRun ? Mode::kRun : Mode::kPreview;
        if (line_.mode != Mode::kWindow && line_.mode != mode) {
          return Fail("--run と --preview は一緒に指定できません。");
        }
        line_.mode = mode;
        continue;
      }
      if (const Option* flag = FindFlagOption(arg)) {
        if (first_run_option.empty()) first_run_option = arg;
        line_.settings.*flag->flag = true;
        continue;
      }
      const std::string_view name = OptionName(arg);
      if (FindFlagOption(name)) return Fail(std::string(name) + " は値を取りません: " + arg);
      if (!IsValueOption(name)) return Fail("不明なオプションです: " + arg);
      std::string value;
      if (name.size() < arg.size()) {
        value = arg.substr(name.size() + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return Fail(std::string(name) + " には値が必要です。");
      }
      if (first_run_option.empty()) first_run_option = name;
      if (!FindOption(name)->take(taking_, name, value)) return Fail(taking_.error);
    }

    if (line_.mode == Mode::kWindow) {
      if (!first_run_option.empty()) {
        return Fail(first_run_option + " は --run か --preview と一緒に指定してください。");
      }
    } else if (positional.empty()) {
      return Fail("コピー元のディレクトリを指定してください。");
    }
    if (positional.size() > 1) {
      std::string all;
      for (const std::string& p : positional) {
        if (!all.empty()) all += ' ';
        all += Quoted(p);
      }
      return Fail("ディレクトリは一つだけ指定してください: " + all);
    }
    if (!positional.empty()) line_.directory = positional.front();
    return Succeed(line_.mode);
  }

 private:
  ParseResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }

  ParseResult Succeed(Mode mode) {
    line_.mode = mode;
    return {std::move(line_), std::string()};
  }

  CommandLine line_;
  Taking taking_{line_.settings, false, {}};
};

}  // namespace

bool AsksForCommandLine(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == kRun || arg == kPreview || arg == kHelp || arg == kShortHelp || arg == kVersion ||
        IsValueOption(OptionName(arg)) || FindFlagOption(OptionName(arg))) {
      return true;
    }
  }
  return false;
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  return Parser().Parse(args);
}

}  // namespace app::cli
