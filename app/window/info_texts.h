// The texts the help and about commands put into the information window
// (CP932, lines ended by a carriage return), and where the help file lives.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "app/core/version.h"

namespace app {

// The help file: the program's own name with its extension (if any)
// replaced by ".txt", next to the program (/opt/x/varnek → /opt/x/varnek.txt)
// or else in the installation's data folder (/usr/bin/varnek →
// /usr/share/pirukko/varnek.txt). When neither is there, the first.
QString HelpFilePath(const QString& program_path);

// What the information window says when the help file is not there.
std::string HelpMissingText(std::string_view help_path);
// ... and when it is there but cannot be read.
std::string HelpUnreadableText(std::string_view help_path);

// The about text: title, program file name, version, a rule, and our credit
// and contact lines (two mail addresses, one web address).
std::string AboutText(std::string_view program_file_name);

}  // namespace app
