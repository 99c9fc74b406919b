#include "app/cli/console_log.h"

#include "platform/cp932.h"
#include "platform/line_breaks.h"

namespace app::cli {

void ConsoleLog::Add(const std::string& entry) {
  // The line store adds an entry followed by a line break; the break ends
  // the entry's last line and starts no line of its own.
  std::string text = entry;
  text += "\r\n";
  platform::ForEachLine(
      text, [this](std::string_view line) { out_ << platform::Cp932ToUtf8Lossy(line) << '\n'; });
}

}  // namespace app::cli
