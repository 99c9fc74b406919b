// The run's log on a terminal or in a file: every entry cut into lines
// exactly as the information window's line store cuts it (an entry may hold
// carriage returns), each line in UTF-8 ended by a line feed.
#pragma once

#include <ostream>
#include <string>

#include "app/core/copy_run.h"

namespace app::cli {

class ConsoleLog : public CopyLog {
 public:
  explicit ConsoleLog(std::ostream& out) : out_(out) {}
  // What was printed stays; the output of one run starts empty anyway.
  void Clear() override {}
  void Add(const std::string& entry) override;

 private:
  std::ostream& out_;
};

}  // namespace app::cli
