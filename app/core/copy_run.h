// The program's main job: make a new folder inside the chosen directory and
// copy every file that matches the masks into it under a composed name,
// reporting each step as a log entry. Failures are log entries, never dialogs.
#pragma once

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/core/naming.h"
#include "filelist/file_list.h"
#include "platform/date_time.h"
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

// The order the files are numbered and copied in.
enum class FileOrder {
  kName,  // the file list's order, folder by folder
  kDate,  // the dates the new names take, the list's order among equal dates
};

// One file the preview would copy, as its lines show it.
struct PreviewedFile {
  std::string path;      // as the file system names it
  std::string new_name;  // CP932, as the To line shows it
  // CP932: the note the log gives the file's new name ("※この名前は後の
  // ファイルで上書きされます。"), empty for none.
  std::string mark;
};

// What the window's controls hold when the run starts (CP932 text, but for
// the directory).
struct CopyRunInput {
  // The directory list's directory as the file system names it (its own
  // bytes); the log shows it in CP932.
  std::string source_directory;
  std::string folder_name;         // Edit1
  std::vector<std::string> masks;  // the lines of Memo2
  // The naming controls: the date format as typed (the run prepares it
  // once), and where each file's date comes from.
  NamingSettings naming;
  // The current local date and time, for files whose time cannot be read.
  std::function<platform::DateTime()> now = platform::Now;
  // The capture date of the file at a path (as the file system names it),
  // no value when it has none;
  // empty means the metadata readers (Exif for photos, the container for
  // videos).
  std::function<std::optional<platform::DateTime>(const std::string& path)> capture_date;
  // The options menu's items; all off is the plain run.
  // Also the files of every visible folder below the source directory, all
  // named into the one new folder.
  bool include_subfolders = false;
  FileOrder order = FileOrder::kName;
  // A new name this run has already made gets " (2)", " (3)", ... before its
  // extension instead of overwriting the earlier copy.
  bool keep_both = false;
  // Called by the preview (on its thread) for every file it would copy, in
  // the run's order, once its lines are written: for a window that shows
  // the files' pictures under their new names.
  std::function<void(const PreviewedFile&)> on_previewed_file;
};

// How a run went, for callers that want more than the log.
struct CopyRunResult {
  bool stopped = false;    // ended by an error before the copying
  bool cancelled = false;  // ended early because the caller asked it to stop
  // Stopped only because no file matched: the folder is made (a preview:
  // would be), and nothing failed.
  bool found_nothing = false;
  int listed = 0;  // files found in the source directory
  int copied = 0;  // files copied (a preview: files that would be)
  int failed = 0;  // listed files that were not copied (would not be)
};

// Runs the copy with the window's file list, reporting to `log` and
// `progress`. A stop request ends it after the file being copied (a copy
// is never left half-written under its new name) and says so in the log.
CopyRunResult ExecuteCopy(const CopyRunInput& input, filelist::TFileList& file_list, CopyLog& log,
                          CopyProgress& progress, std::stop_token stop = {});

// What ExecuteCopy would do with the same input, written to `log` without
// touching anything on disk: the folders, whether the new folder exists
// (the run would empty it), the count, every file's pair of names with the
// date it takes, every error entry the run would write, and the count of
// files that would be copied. Without keep_both, a name that a later file
// of the run would overwrite is marked.
CopyRunResult PreviewCopy(const CopyRunInput& input, filelist::TFileList& file_list, CopyLog& log,
                          CopyProgress& progress, std::stop_token stop = {});

// The log's error for a mask with a folder part, which the run refuses
// (CP932); the window's file listing gives it too.
const std::string& BadMaskError();

}  // namespace app
