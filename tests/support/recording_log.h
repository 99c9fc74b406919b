// A copy run's log kept for a test to read: every entry in order, the error
// entries (those a command line also writes to standard error) apart, and
// how often the log was cleared.
#pragma once

#include <string>
#include <vector>

#include "app/core/copy_run.h"

namespace test_support {

struct RecordingLog : app::CopyLog {
  std::vector<std::string> entries;
  std::vector<std::string> errors;
  int clears = 0;
  void Clear() override {
    ++clears;
    entries.clear();
    errors.clear();
  }
  void Add(const std::string& entry) override { entries.push_back(entry); }
  void AddError(const std::string& entry) override {
    Add(entry);
    errors.push_back(entry);
  }
};

}  // namespace test_support
