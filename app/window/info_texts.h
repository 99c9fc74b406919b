// The texts the help and about commands put into the information window
// (CP932, lines ended by a carriage return), and where the help file lives.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace app {

// The program's version text.
inline constexpr std::string_view kVersion = "2000.11.22";

// The help file: the program's own path with its extension (if any)
// replaced by ".txt", e.g. /usr/bin/varnek → /usr/bin/varnek.txt.
QString HelpFilePath(const QString& program_path);

// What the information window says when the help file is not there.
std::string HelpMissingText(std::string_view help_path);
// ... and when it is there but cannot be read.
std::string HelpUnreadableText(std::string_view help_path);

// The about text: title, program file name, version, a rule, and our credit
// and contact lines (two mail addresses, one web address).
std::string AboutText(std::string_view program_file_name);

}  // namespace app
