#include "app/cli/console_log.h"

#include "platform/cp932.h"
#include "platform/line_breaks.h"

namespace app::cli {

void ConsoleLog::Write(std::ostream& to, const std::string& entry, bool flush) {
  // The line store adds an entry followed by a line break; the break ends
  // the entry's last line and starts no line of its own.
  std::string text = entry;
  text += "\r\n";
  platform::ForEachLine(
      text, [&to](std::string_view line) { to << platform::Cp932ToUtf8Lossy(line) << '\n'; });
  if (flush) to.flush();
}

void ConsoleLog::Add(const std::string& entry) {
  if (closed_) return;
  Write(out_, entry, each_entry_);
  if (out_) return;
  closed_ = true;
  if (OnClosed) OnClosed();
}

void ConsoleLog::AddError(const std::string& entry) {
  Add(entry);
  if (errors_) Write(*errors_, entry, true);
}

}  // namespace app::cli
