// The settings of a run, in one place with their start values: the window's
// controls start from them, the command line's options default to them and
// the saved settings fall back on them. Whoever starts a run fills one of
// these; the engine reads nothing else.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/naming.h"
#include "platform/date_time.h"
#include "platform/file_copy.h"

namespace app {

// The order the files are numbered and copied in.
enum class FileOrder {
  kName,  // the file list's order, folder by folder
  kDate,  // the dates the new names take, the list's order among equal dates
};

// CP932 text, but for the directory.
struct RunSettings {
  // The chosen directory as the file system names it (its own bytes); the
  // log shows it in CP932.
  std::string source_directory;
  std::string folder_name = "NewFolder";     // Edit1
  std::vector<std::string> masks = {"*.*"};  // the lines of Memo2
  // The naming controls: the date format as typed (the run prepares it
  // once), and where each file's date comes from.
  NamingSettings naming;
  // The options menu's items; all off is the plain run.
  // Also the files of every visible folder below the source directory, all
  // named into the one new folder.
  bool include_subfolders = false;
  FileOrder order = FileOrder::kName;
  // A new name this run has already made gets " (2)", " (3)", ... before its
  // extension instead of overwriting the earlier copy.
  bool keep_both = false;

  // What the run asks of the world, which tests and benchmarks replace.
  // The current local date and time, for files whose time cannot be read.
  std::function<platform::DateTime()> now = platform::Now;
  // The capture date of the file at a path (as the file system names it),
  // no value when it has none; empty means the metadata readers (Exif for
  // photos, the container for videos).
  std::function<std::optional<platform::DateTime>(const std::string& path)> capture_date;
  // Told of the temporary file being written, for a program that has to
  // end before the run does; nil when nobody needs to know.
  platform::UnfinishedCopy* unfinished_copy = nullptr;
};

}  // namespace app
