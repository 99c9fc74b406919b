// The run's log on a terminal or in a file: every entry cut into lines
// exactly as the information window's line store cuts it (an entry may hold
// carriage returns), each line in UTF-8 ended by a line feed, and written
// out as soon as it is made, so that a log that ends early still holds
// every line up to its end. Error entries go to a second stream as well.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "app/core/copy_run.h"

namespace app::cli {

class ConsoleLog : public CopyLog {
 public:
  // `errors`, when given, takes the error entries too.
  explicit ConsoleLog(std::ostream& out, std::ostream* errors = nullptr)
      : out_(out), errors_(errors) {}
  // What was printed stays; the output of one run starts empty anyway.
  void Clear() override {}
  void Add(const std::string& entry) override;
  void AddError(const std::string& entry) override;

  // Called once, when the log's stream takes no more lines (its reader
  // has gone, its disk is full).
  std::function<void()> OnClosed;
  bool Closed() const { return closed_; }

 private:
  static void Write(std::ostream& to, const std::string& entry);

  std::ostream& out_;
  std::ostream* errors_;
  bool closed_ = false;
};

}  // namespace app::cli
