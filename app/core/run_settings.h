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

// One file the preview would copy, as its lines show it.
struct PreviewedFile {
  std::string path;      // as the file system names it
  std::string new_name;  // CP932, as the To line shows it
  // CP932: the note the log gives the file's new name ("※この名前は後の
  // ファイルで上書きされます。"), empty for none.
  std::string mark;
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
  // A camera clock set wrong: seconds added to every date a file gives
  // (see ChooseFileDate); the log's heading names a shift that is not zero.
  long long clock_shift = 0;

  // What the run asks of the world, which tests and benchmarks replace.
  // The current local date and time, for files whose time cannot be read.
  std::function<platform::DateTime()> now = platform::Now;
  // The capture date of the file at a path (as the file system names it),
  // no value when it has none; empty means the metadata readers (Exif for
  // photos, the container for videos).
  std::function<std::optional<platform::DateTime>(const std::string& path)> capture_date;
  // Called by the preview (on its thread) for every file it would copy, in
  // the run's order, once its lines are written: for a window that shows
  // the files' pictures under their new names.
  std::function<void(const PreviewedFile&)> on_previewed_file;
  // Told of the temporary file being written, for a program that has to
  // end before the run does; nil when nobody needs to know.
  platform::UnfinishedCopy* unfinished_copy = nullptr;
};

}  // namespace app
