// The run's log on a terminal or in a file: every entry cut into lines
// exactly as the information window's line store cuts it (an entry may hold
// carriage returns), each line in UTF-8 ended by a line feed. A run's log
// is written out entry by entry as it is made, so that the log of a run
// that ends early (killed, the power gone) still holds every line up to its
// end; a preview's, which changes nothing, as the stream buffers it. Error
// entries go to a second stream as well.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "app/core/copy_run.h"

namespace app::cli {

class ConsoleLog : public CopyLog {
 public:
  // `errors`, when given, takes the error entries too; `each_entry` writes
  // every entry out at once.
  explicit ConsoleLog(std::ostream& out, std::ostream* errors = nullptr, bool each_entry = true)
      : out_(out), errors_(errors), each_entry_(each_entry) {}
  // What was printed stays; the output of one run starts empty anyway.
  void Clear() override {}
  void Add(const std::string& entry) override;
  void AddError(const std::string& entry) override;

  // Called once, when the log's stream takes no more lines (its reader
  // has gone, its disk is full).
  std::function<void()> OnClosed;
  bool Closed() const { return closed_; }

 private:
  static void Write(std::ostream& to, const std::string& entry, bool flush);

  std::ostream& out_;
  std::ostream* errors_;
  bool each_entry_;
  bool closed_ = false;
};

}  // namespace app::cli
