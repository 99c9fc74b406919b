#include "app/core/copy_run.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "app/core/clock_shift.h"
#include "app/core/date_source.h"
#include "app/core/file_date.h"
#include "app/core/source_files.h"
#include "filelist/file_list.h"
#include "platform/cp932.h"
#include "platform/dos_date_time.h"
#include "platform/exif/capture_date.h"
#include "platform/file_system.h"
#include "platform/read_ahead.h"
#include "platform/trash/trash.h"
#include "platform/video/video_date.h"

namespace app {
namespace {

// The log's own texts, written here in UTF-8 and kept as CP932.
std::string Sjis(std::string_view utf8) {
  return *platform::Utf8ToCp932(utf8);
}

// A carriage return, then `text`: an entry that begins a new row.
std::string AfterCr(std::string_view text) {
  std::string entry = "\r";
  entry += text;
  return entry;
}

struct Texts {
  const std::string separator = AfterCr(std::string(70, '-')) + "\r";
  const std::string running = Sjis("□■□ 実行中 □■□");
  const std::string overwrite_warning = Sjis("  ※同名ファイルが作成される場合は上書きされます。");
  const std::string stopped = Sjis("        実行を中止しました。");
  const std::string no_folder_name = Sjis("Error : 新しいフォルダの設定がされていません。");
  const std::string bad_folder_name = Sjis("Error : 新しいフォルダ名が不正です。");
  const std::string bad_source = Sjis("Error : コピー元ディレクトリが不正です。");
  const std::string bad_mask = Sjis("Error : マスクにフォルダは指定できません。");
  const std::string folder_exists = Sjis("新しいフォルダと同名のディレクトリが存在します。");
  const std::string trashing_files = Sjis("ディレクトリ内のファイルをゴミ箱に移動します。");
  const std::string trashed_count = Sjis("  ゴミ箱に移動したファイル数 ");
  const std::string trash_failed = Sjis("Error : ファイルをゴミ箱に移動できませんでした。");
  const std::string removing_folder = AfterCr(Sjis("そのディレクトリを削除します。"));
  const std::string remove_failed = Sjis("Error : フォルダの削除に失敗しました。");
  const std::string creating_folder = Sjis("新しいフォルダの作成 ");
  const std::string create_failed = Sjis("Error : フォルダの作成に失敗しました。");
  const std::string copy_start = Sjis("ファイルコピーの開始");
  const std::string source_dir = Sjis("  コピー元ディレクトリ: ");
  const std::string target_dir = Sjis("  コピー先ディレクトリ: ");
  const std::string file_count = Sjis("  対象ファイル数 ");
  const std::string pieces = Sjis("個");
  const std::string nothing_found = Sjis("対象になるファイルが存在しませんでした。");
  const std::string finished = Sjis("終了しました。");
  const std::string time_note =
      Sjis("下記のファイルは時間の取得に失敗し、現在の時間にされました。") + "\r";
  const std::string copy_from = "COPY_From: ";
  const std::string copy_to = "     To  : ";
  const std::string bad_file_name = Sjis("Error : ファイル名が不正です。");
  const std::string unconvertible_name = Sjis("Error : ファイル名を変換できません。");
  const std::string copy_failed = Sjis("Error : ファイルのコピーに失敗しました。");
  const std::string success = AfterCr(Sjis("正常に終了しました。"));
  const std::string finished_with_failures =
      AfterCr(Sjis("終了しました。コピーに失敗したファイル: "));
  const std::string capture_note =
      Sjis("下記のファイルは撮影日時が無いため、ファイル更新日にされました。") + "\r";
  const std::string copied_count = Sjis("  コピーしたファイル数 ");
  // The preview's own entries.
  const std::string previewing = Sjis("□■□ プレビュー □■□");
  const std::string clock_shift = Sjis("撮影時刻の補正: ");
  const std::string nothing_written = Sjis("  ※ファイルのコピーやフォルダの作成は行いません。");
  const std::string would_empty =
      Sjis("  ※実行するとディレクトリ内のファイルはゴミ箱に移動されます。");
  const std::string date = "     Date: ";
  const std::string overwritten_later = Sjis("  ※この名前は後のファイルで上書きされます。");
  const std::string preview_finished =
      AfterCr(Sjis("プレビューを終了しました。コピーされるファイル: "));
  const std::string would_copy_count = Sjis("  コピーされるファイル数 ");
};

const Texts& T() {
  static const Texts texts;
  return texts;
}

// A name that stays inside the folder it is put in.
bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find(platform::kPathDelimiter) == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// What the new name takes from the source: its CP932 name, or for a name
// shown only approximately its extension alone, when that converts exactly
// (the rest of the name never goes into the new one). No value when not
// even the extension has a CP932 form.
std::optional<std::string> NameToComposeFrom(const std::string& shown,
                                             const filelist::TInfo* info) {
  if (!info || info->NameHasCp932Form) return shown;
  const std::string& native = info->NativeName;
  const std::size_t dot = native.rfind('.');
  if (dot == std::string::npos) return std::string();
  return platform::FromNativeName(std::string_view(native).substr(dot));
}

void LogStop(CopyLog& log, const std::string& error, const std::string& path) {
  log.Add(error);
  log.Add("  " + path);
  log.Add(T().stopped);
}

// What the walk reads of a listed file before it names it: nothing that it
// writes, so that it can be read ahead of the file being copied.
struct FileSource {
  std::string name;  // as the list shows it
  // What the new name is made from; no value when the name has no CP932
  // form, not even for its extension (the file is then skipped, unread).
  std::optional<std::string> compose_from;
  // As the file system names it; in a preview only when a file was read.
  std::string path;
  FileDates dates;  // what the date source asks of the file
};

// Where a file's last-write time comes from: the file system at the file's
// turn (the run), or the listing the walk has just made (the preview, which
// so spends no second look per file on what the listing saw a moment ago;
// the time is the same unless the file changes in between, which no preview
// can foresee).
enum class FileTimes { kAsked, kListed };

// The listed file `index` of `files`, read as DateOfName uses it. Runs on
// the read-ahead's thread: it only reads the lists, which stay as they are
// while the walk goes through them.
FileSource ReadFileSource(const RunSettings& settings, const SourceFiles& files, int index,
                          FileTimes times) {
  FileSource file;
  file.name = files.ShownName(index);
  const filelist::TInfo* info = files.Info(index);
  // The name alone: a folder's name never goes into the new one.
  file.compose_from = NameToComposeFrom(files.FileName(index), info);
  if (!file.compose_from) return file;
  // The run copies from the path; the preview needs it only to read a file.
  const auto path = [&files, index, &file]() -> const std::string& {
    if (file.path.empty()) file.path = files.Path(index);
    return file.path;
  };
  if (times == FileTimes::kAsked) path();
  const auto read_capture = [&settings, &path] {
    return settings.capture_date ? settings.capture_date(path()) : MediaCaptureDate(path());
  };
  const auto read_last_write = [info, times, &path]() -> std::optional<platform::DateTime> {
    std::optional<platform::DosDateTime> dos;
    if (times == FileTimes::kListed && info) {
      // A time outside the DOS range is listed as 0, which no date has.
      if (info->Time != 0) dos = info->Time;
    } else {
      dos = platform::FileAge(path());
    }
    if (!dos) return std::nullopt;
    return platform::DosDateTimeToDateTime(*dos);
  };
  file.dates = FileDatesOf(settings.naming.date_source, read_capture, read_last_write);
  return file;
}

// The date this file's name takes, and which fallbacks led to it.
FileDate DateOfName(const RunSettings& settings, const FileSource& file) {
  return ChooseFileDate(settings.naming.date_source, settings.naming.picked_date, file.dates,
                        settings.now, settings.clock_shift);
}

// Each fallback is noted directly before the file's pair.
void LogDateNotes(const FileDate& taken, CopyLog& log) {
  if (taken.capture_missing) log.Add(T().capture_note);
  if (taken.last_write_missing) log.Add(T().time_note);
}

// A file's new name, and the name on disk it is made under when it is a
// plain name with a form on disk.
struct NewName {
  std::string name;  // CP932
  std::optional<std::string> native;
};

NewName NameFile(const NameComposer& composer, const FileSource& file, int position,
                 const platform::DateTime& date) {
  NewName made;
  made.name = composer.FileName(*file.compose_from, position, date);
  if (IsPlainFileName(made.name)) made.native = platform::ToNativePath(made.name);
  return made;
}

// `name` with `mark` put before its extension (the text from its last dot).
std::string BeforeExtension(std::string_view name, std::string_view mark) {
  // "." is never the second byte of a double-byte character.
  const std::size_t dot = std::min(name.rfind('.'), name.size());
  std::string marked(name.substr(0, dot));
  marked += mark;
  marked += name.substr(dot);
  return marked;
}

// The names a run with "keep both" has made, each with the next number to
// try when it comes again. Names are told apart as the file system does.
class MadeNames {
 public:
  // Gives `made` " (2)", " (3)", ... when the run has already made its name.
  void Give(NewName& made) {
    auto found = next_.find(*made.native);
    if (found == next_.end()) return;
    for (int& number = found->second;; ++number) {
      const std::string mark = " (" + std::to_string(number) + ")";
      std::string native = BeforeExtension(*made.native, mark);
      if (next_.count(native) != 0) continue;
      made.name = BeforeExtension(made.name, mark);
      made.native = std::move(native);
      ++number;
      return;
    }
  }
  void Add(const std::string& native) { next_.emplace(native, 2); }

 private:
  std::unordered_map<std::string, int> next_;
};

// For each position, whether a later position makes the same name on disk
// (positions without one never match). Sorted by the names' hashes, so that
// the names themselves are compared only where the hashes are equal.
std::vector<bool> MadeAgainLater(const std::vector<NewName>& names) {
  struct Made {
    std::size_t hash;
    int position;
  };
  std::vector<Made> made;
  made.reserve(names.size());
  for (std::size_t p = 0; p < names.size(); ++p)
    if (names[p].native)
      made.push_back({std::hash<std::string>()(*names[p].native), static_cast<int>(p)});
  const auto native = [&names](const Made& m) -> const std::string& {
    return *names[static_cast<std::size_t>(m.position)].native;
  };
  std::sort(made.begin(), made.end(), [&native](const Made& a, const Made& b) {
    if (a.hash != b.hash) return a.hash < b.hash;
    if (const int order = native(a).compare(native(b)); order != 0) return order < 0;
    return a.position < b.position;
  });
  std::vector<bool> again(names.size(), false);
  for (std::size_t k = 0; k + 1 < made.size(); ++k)
    if (made[k].hash == made[k + 1].hash && native(made[k]) == native(made[k + 1]))
      again[static_cast<std::size_t>(made[k].position)] = true;
  return again;
}

// "yyyy/mm/dd hh:nn:ss", the same for every user's format, so that the
// preview shows which moment each name was made from.
std::string PlainDate(const platform::DateTime& date) {
  std::string text = "0000/00/00 00:00:00";
  const auto put = [&text](std::size_t end, int value, int digits) {
    for (int i = 1; i <= digits; ++i, value /= 10)
      text[end - i] = static_cast<char>('0' + value % 10);
  };
  // Years beyond four digits do not occur (capture and file dates end at 9999).
  put(4, date.year, 4);
  put(7, date.month, 2);
  put(10, date.day, 2);
  put(13, date.hour, 2);
  put(16, date.minute, 2);
  put(19, date.second, 2);
  return text;
}

// The run and its preview are one walk through the same steps; the preview
// leaves out every step that writes to the disk and says what it would do.
enum class Walk { kRun, kPreview };

CopyRunResult WalkCopy(Walk walk, const RunSettings& settings, CopyLog& log, CopyProgress& progress,
                       std::stop_token stop) {
  const Texts& t = T();
  const bool preview = walk == Walk::kPreview;
  CopyRunResult result;
  result.stopped = true;
  // Folders and files are reached by their names on disk; the log shows
  // them in CP932, with a substitute where a name has no CP932 form.
  const std::string& source = settings.source_directory;
  const std::string shown_source = platform::ShowNativeName(source).Text;
  const std::optional<std::string> native_folder_name =
      platform::ToNativePath(settings.folder_name);
  const std::string target = platform::JoinPath(source, native_folder_name.value_or(""));
  const std::string shown_target = platform::JoinPath(shown_source, settings.folder_name);

  log.Clear();
  log.Add(preview ? t.previewing : t.running);
  log.Add(preview ? t.nothing_written : t.overwrite_warning);
  // A shift in force changes every date; the heading says so, a zero one
  // prints nothing.
  if (settings.clock_shift != 0) log.Add(t.clock_shift + ClockShiftText(settings.clock_shift));
  log.Add(t.separator);

  if (settings.folder_name.empty()) {
    log.Add(t.no_folder_name);
    log.Add(t.stopped);
    return result;
  }
  // Anything but a plain name could put the folder, and what the run empties
  // and removes, somewhere else than inside the chosen directory.
  if (!IsPlainFileName(settings.folder_name) || !native_folder_name) {
    log.Add(t.bad_folder_name);
    log.Add(t.stopped);
    return result;
  }
  // Empty or relative, the directory would put the folder at the top of the
  // tree or wherever the program runs, and copy what lies there.
  if (!platform::IsFullPath(source)) {
    log.Add(t.bad_source);
    log.Add(t.stopped);
    return result;
  }
  // Masks match names in the chosen directory; one with a folder part would
  // list another folder's files and copy this one's of the same names.
  for (const std::string& mask : settings.masks) {
    if (platform::MaskHasFolderPart(mask)) {
      LogStop(log, t.bad_mask, mask);
      return result;
    }
  }

  if (preview) {
    log.Add(t.source_dir + shown_source);
    log.Add(t.target_dir + shown_target);
    if (platform::DirectoryExists(target)) {
      log.Add(t.folder_exists);
      log.Add(t.would_empty);
    }
    log.Add(t.separator);
  }

  if (!preview && platform::DirectoryExists(target)) {
    log.Add(t.folder_exists);
    log.Add(t.trashing_files);
    // A link would lead the emptying into a directory the user never chose:
    // nothing behind it is touched, and the link, which is no folder to
    // remove, stops the run at the removal below.
    int trashed = 0;
    if (!platform::IsSymbolicLink(target)) {
      // Whatever a run wrote there goes, also names that begin with "." (an
      // empty date format gives ".txt") and the temporary file of a copy
      // that was cut short; sub-folders stay and stop the removal. The
      // files go to the trash, not away for good: the folder may be one
      // of the user's own that merely has the new folder's name.
      filelist::TFileList in_target;
      in_target.SetFileType({filelist::ftNormal, filelist::ftHidden});
      in_target.Mask().Add("*.*");
      in_target.SetDirectory(target);
      for (int i = 0; i < in_target.Files().Count(); ++i) {
        const filelist::TInfo* info = in_target.Info(i);
        if (!info) continue;
        std::string reason;
        if (!platform::MoveToTrash(platform::JoinPath(target, info->NativeName), &reason)) {
          // Nothing more is touched; what went is in the trash still.
          log.Add(t.trash_failed);
          log.Add("  " + shown_target);
          if (auto shown_reason = platform::Utf8ToCp932(reason)) log.Add("  " + *shown_reason);
          log.Add(t.trashed_count + std::to_string(trashed) + t.pieces);
          log.Add(t.stopped);
          return result;
        }
        ++trashed;
      }
    }
    log.Add(t.trashed_count + std::to_string(trashed) + t.pieces);
    log.Add(t.removing_folder);
    log.Add(t.separator);
    if (!platform::RemoveDir(target)) {
      LogStop(log, t.remove_failed, shown_target);
      return result;
    }
  }

  if (!preview) {
    log.Add(t.creating_folder);
    log.Add("  " + shown_target);
    log.Add(t.separator);
    if (!platform::CreateDir(target)) {
      LogStop(log, t.create_failed, shown_target);
      return result;
    }

    log.Add(t.copy_start);
    log.Add(t.source_dir + shown_source);
    log.Add(t.target_dir + shown_target);
    log.Add(t.separator);
  }

  const SourceFiles files(source, settings.masks, settings.include_subfolders, *native_folder_name);
  const int count = files.Count();
  result.listed = count;
  progress.SetMax(count);
  log.Add(t.file_count + std::to_string(count) + t.pieces);
  if (count == 0) {
    result.found_nothing = true;
    log.Add(t.nothing_found);
    log.Add(preview ? t.preview_finished + "0" + t.pieces : t.finished);
    return result;
  }
  result.stopped = false;

  // The dates of the next files are read while this one is copied. Nothing
  // is read with the picked date, and the preview's file times are listed.
  const FileTimes times = preview ? FileTimes::kListed : FileTimes::kAsked;
  // The format is prepared once for every name of the run.
  const NameComposer composer(settings.naming);
  const DateSource date_source = settings.naming.date_source;

  std::optional<platform::ReadAhead<FileSource>> ahead;
  if (date_source != DateSource::kPicked && (!preview || date_source == DateSource::kCaptureDate)) {
    ahead.emplace(count, [&settings, &files, times](int i) {
      return ReadFileSource(settings, files, i, times);
    });
  }
  const auto read = [&](int i) {
    return ahead ? ahead->Take(i) : ReadFileSource(settings, files, i, times);
  };

  // Numbering by date needs every file's date before the first file, and
  // the preview's mark every new name: they are read first, then.
  const bool by_date = settings.order == FileOrder::kDate;
  const bool mark_overwritten = preview && !settings.keep_both;
  struct Planned {
    FileSource file;
    FileDate date;
  };
  std::vector<Planned> planned;
  std::vector<int> order;  // the list index of the file at each position
  if (by_date || mark_overwritten) {
    planned.reserve(count);
    for (int i = 0; i < count && !stop.stop_requested(); ++i) {
      FileSource file = read(i);
      const FileDate date = file.compose_from ? DateOfName(settings, file) : FileDate{};
      planned.push_back({std::move(file), date});
    }
    if (static_cast<int>(planned.size()) == count && by_date) {
      order.resize(count);
      std::iota(order.begin(), order.end(), 0);
      std::stable_sort(order.begin(), order.end(), [&planned](int a, int b) {
        return planned[a].date.date < planned[b].date.date;
      });
    }
  }
  const auto index_at = [&order](int position) {
    return order.empty() ? position : order[position];
  };
  // The preview's names, made once, and whether a later position makes
  // each again.
  std::vector<NewName> names;
  std::vector<bool> made_again;
  if (mark_overwritten && static_cast<int>(planned.size()) == count) {
    names.resize(count);
    for (int p = 0; p < count; ++p) {
      const Planned& plan = planned[index_at(p)];
      if (plan.file.compose_from) names[p] = NameFile(composer, plan.file, p, plan.date.date);
    }
    made_again = MadeAgainLater(names);
  }
  MadeNames made_names;

  for (int p = 0; p < count; ++p) {
    // Between two files, never inside one: what was copied is complete.
    if (stop.stop_requested()) {
      result.cancelled = true;
      log.Add(t.stopped);
      log.Add((preview ? t.would_copy_count : t.copied_count) + std::to_string(result.copied) +
              t.pieces);
      return result;
    }
    progress.SetPosition(p + 1);
    const int i = index_at(p);
    const FileSource file = planned.empty() ? read(i) : std::move(planned[i].file);
    const std::string& name = file.name;
    if (!file.compose_from) {
      log.Add(t.unconvertible_name);
      log.Add("  " + name);
      ++result.failed;
      continue;
    }
    const std::string& source_path = file.path;

    const FileDate taken = planned.empty() ? DateOfName(settings, file) : planned[i].date;
    LogDateNotes(taken, log);
    const platform::DateTime& date = taken.date;

    NewName made = names.empty() ? NameFile(composer, file, p, date) : std::move(names[p]);
    if (settings.keep_both && made.native) made_names.Give(made);
    const std::string& new_name = made.name;
    const std::string shown_target_path = platform::JoinPath(shown_target, new_name);
    // The From line shows the path below the chosen directory; a new name
    // is a name alone, its path's file-name part.
    log.Add(t.copy_from + name);
    log.Add(t.copy_to + platform::ExtractFileName(shown_target_path));
    if (preview) log.Add(t.date + PlainDate(date));

    if (!IsPlainFileName(new_name)) {
      log.Add(t.bad_file_name);
      log.Add("  " + new_name);
      ++result.failed;
      continue;
    }
    if (!made.native) {
      log.Add(t.unconvertible_name);
      log.Add("  " + new_name);
      ++result.failed;
      continue;
    }
    const bool overwritten = !made_again.empty() && made_again[p];
    if (overwritten) log.Add(t.overwritten_later);
    if (preview) {
      ++result.copied;
      if (settings.on_previewed_file) {
        settings.on_previewed_file({file.path.empty() ? files.Path(i) : file.path, new_name,
                                 overwritten ? t.overwritten_later.substr(2) : std::string()});
      }
    } else if (platform::CopyFileOverwriting(source_path,
                                             platform::JoinPath(target, *made.native))) {
      ++result.copied;
    } else {
      log.Add(t.copy_failed);
      log.Add("  " + shown_target_path);
      ++result.failed;
      continue;
    }
    if (settings.keep_both) made_names.Add(*made.native);
  }

  if (preview)
    log.Add(t.preview_finished + std::to_string(result.copied) + t.pieces);
  else if (result.failed == 0)
    log.Add(t.success);
  else
    log.Add(t.finished_with_failures + std::to_string(result.failed) + t.pieces);
  return result;
}

}  // namespace

CopyRunResult ExecuteCopy(const RunSettings& settings, CopyLog& log, CopyProgress& progress,
                          std::stop_token stop) {
  return WalkCopy(Walk::kRun, settings, log, progress, std::move(stop));
}

CopyRunResult PreviewCopy(const RunSettings& settings, CopyLog& log, CopyProgress& progress,
                          std::stop_token stop) {
  return WalkCopy(Walk::kPreview, settings, log, progress, std::move(stop));
}

const std::string& BadMaskError() {
  return T().bad_mask;
}

}  // namespace app
