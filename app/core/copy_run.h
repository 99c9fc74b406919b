// The program's main job: make a new folder inside the chosen directory and
// copy every file that matches the masks into it under a composed name,
// reporting each step as a log entry. Failures are log entries, never dialogs.
#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "app/core/run_settings.h"
#include "platform/string_list.h"

namespace app {

// The information window's two log operations.
class CopyLog {
 public:
  virtual ~CopyLog() = default;
  virtual void Clear() = 0;
  // One entry; one that holds a carriage return is handed over as it is.
  virtual void Add(const std::string& entry) = 0;
  // The same, for an entry the run has no more use for: a log that keeps
  // its entries may take it over instead of copying it.
  virtual void Add(std::string&& entry) { Add(static_cast<const std::string&>(entry)); }
  // An entry of an error (what failed, where, why, and that the run
  // stopped): a log that shows errors apart as well, as the command line
  // does on standard error, takes it here.
  virtual void AddError(const std::string& entry) { Add(entry); }
};

// The progress bar.
class CopyProgress {
 public:
  virtual ~CopyProgress() = default;
  virtual void SetMax(int max) = 0;
  virtual void SetPosition(int position) = 0;
};

// A run that shows no progress: the command line, a benchmark, a test.
class NoCopyProgress : public CopyProgress {
 public:
  void SetMax(int) override {}
  void SetPosition(int) override {}
};

// A log that writes into a string list, such as the information window's lines.
class StringsCopyLog : public CopyLog {
 public:
  explicit StringsCopyLog(platform::TStrings& lines) : lines_(lines) {}
  void Clear() override { lines_.Clear(); }
  void Add(const std::string& entry) override { lines_.Add(entry); }

 private:
  platform::TStrings& lines_;
};

// How a run went, for callers that want more than the log.
struct CopyRunResult {
  // Ended by an error: before the copying, or by a drive that was lost
  // during it.
  bool stopped = false;
  bool cancelled = false;  // ended early because the caller asked it to stop
  // Stopped only because no file matched: the folder is made (a preview:
  // would be), and nothing failed.
  bool found_nothing = false;
  int listed = 0;  // files found in the source directory
  int copied = 0;  // files copied (a preview: files that would be)
  int failed = 0;  // listed files that were not copied (would not be)
  // Folders below the chosen one that could not be read: their files are
  // not among those listed.
  int unreadable = 0;
};

// Runs the copy with `settings`, reporting to `log` and `progress`. A stop request ends it after
// the file being copied (a copy is never left half-written under its new name) and says so in the
// log.
CopyRunResult ExecuteCopy(const RunSettings& settings, CopyLog& log, CopyProgress& progress,
                          std::stop_token stop = {});

// What ExecuteCopy would do with the same settings, written to `log` without
// touching anything on disk: the folders, whether the new folder exists
// (the run would empty it), the count, every file's pair of names with the
// date it takes, every error entry the run would write, and the count of
// files that would be copied. Without keep_both, a name that a later file
// of the run would overwrite is marked.
CopyRunResult PreviewCopy(const RunSettings& settings, CopyLog& log, CopyProgress& progress,
                          std::stop_token stop = {});

// The log's error for a mask with a folder part, which the run refuses
// (CP932); the window's file listing gives it too.
const std::string& BadMaskError();

}  // namespace app
