#include "app/core/copy_run.h"

#include <algorithm>
#include <cerrno>
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
#include "platform/destination_rules.h"
#include "platform/dos_date_time.h"
#include "platform/error_reason.h"
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
  const std::string source_side = Sjis("  コピー元: ");
  const std::string target_side = Sjis("  コピー先: ");
  const std::string target_lost = Sjis("Error : コピー先のドライブに書き込めなくなりました。");
  const std::string source_lost = Sjis("Error : コピー元のドライブを読み取れなくなりました。");
  const std::string last_copied = Sjis("  最後にコピーしたファイル: ");
  const std::string none_copied = Sjis("  コピーできたファイルはありません。");
  const std::string name_refused = Sjis("Error : コピー先のドライブでは使えないファイル名です。");
  const std::string unreadable_source = Sjis("Error : コピー元ディレクトリを読み取れません。");
  const std::string unreadable_folder = Sjis("Error : フォルダを読み取れません。");
  const std::string target_is_source =
      Sjis("Error : 新しいフォルダはコピー元のフォルダの一つです。");
  const std::string target_is_source_why = Sjis(
      "  サブフォルダも対象にするときは、すでにあるサブフォルダを新しいフォルダにできません。");
  const std::string flush_failed =
      Sjis("Error : コピーしたファイルをディスクに書き込めませんでした。");
  const std::string attributes_note = Sjis(
      "  ※コピー先のドライブでは、元のファイルのアクセス権や更新日時を保てないものがあります。");
  const std::string unreadable_count = Sjis("、読み取れなかったフォルダ: ");
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

// An error's entries: what failed, where, and why (a UTF-8 reason, when
// there is one). They also go where a log shows its errors apart.
void LogError(CopyLog& log, const std::string& error, const std::string& where,
              std::string_view reason = {}, const std::string& side = {}) {
  log.AddError(error);
  log.AddError("  " + where);
  if (!reason.empty()) {
    log.AddError((side.empty() ? std::string("  ") : side) + platform::Utf8ToCp932Lossy(reason));
  }
}

// The same for an error that ends the run.
void LogStop(CopyLog& log, const std::string& error, const std::string& where,
             std::string_view reason = {}) {
  LogError(log, error, where, reason);
  log.AddError(T().stopped);
}

// An error that ends the run before there is anything to name.
void LogStopAlone(CopyLog& log, const std::string& error) {
  log.AddError(error);
  log.AddError(T().stopped);
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
// try when it comes again. Names are told apart as the new folder's file
// system tells them apart: on a card, 2024.JPG and 2024.jpg are one name.
class MadeNames {
 public:
  explicit MadeNames(const platform::DestinationRules& rules) : rules_(rules) {}

  // Gives `made` " (2)", " (3)", ... when the run has already made its name.
  void Give(NewName& made) {
    auto found = next_.find(rules_.SameNameKey(*made.native));
    if (found == next_.end()) return;
    for (int& number = found->second;; ++number) {
      const std::string mark = " (" + std::to_string(number) + ")";
      std::string native = BeforeExtension(*made.native, mark);
      if (next_.count(rules_.SameNameKey(native)) != 0) continue;
      made.name = BeforeExtension(made.name, mark);
      made.native = std::move(native);
      ++number;
      return;
    }
  }
  void Add(const std::string& native) { next_.emplace(rules_.SameNameKey(native), 2); }

 private:
  const platform::DestinationRules& rules_;
  std::unordered_map<std::string, int> next_;
};

// For each position, whether a later position makes the same name on disk
// as the file system tells names apart (positions without one never match).
// Sorted by the names' hashes, so that the names themselves are compared
// only where the hashes are equal.
std::vector<bool> MadeAgainLater(const std::vector<NewName>& names,
                                 const platform::DestinationRules& rules) {
  struct Made {
    std::size_t hash;
    int position;
  };
  std::vector<std::string> keys(names.size());
  std::vector<Made> made;
  made.reserve(names.size());
  for (std::size_t p = 0; p < names.size(); ++p) {
    if (!names[p].native) continue;
    keys[p] = rules.SameNameKey(*names[p].native);
    made.push_back({std::hash<std::string>()(keys[p]), static_cast<int>(p)});
  }
  const auto key = [&keys](const Made& m) -> const std::string& {
    return keys[static_cast<std::size_t>(m.position)];
  };
  std::sort(made.begin(), made.end(), [&key](const Made& a, const Made& b) {
    if (a.hash != b.hash) return a.hash < b.hash;
    if (const int order = key(a).compare(key(b)); order != 0) return order < 0;
    return a.position < b.position;
  });
  std::vector<bool> again(names.size(), false);
  for (std::size_t k = 0; k + 1 < made.size(); ++k)
    if (made[k].hash == made[k + 1].hash && key(made[k]) == key(made[k + 1]))
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
    LogStopAlone(log, t.no_folder_name);
    return result;
  }
  // Anything but a plain name could put the folder, and what the run empties
  // and removes, somewhere else than inside the chosen directory.
  if (!IsPlainFileName(settings.folder_name) || !native_folder_name) {
    LogStopAlone(log, t.bad_folder_name);
    return result;
  }
  // Empty or relative, the directory would put the folder at the top of the
  // tree or wherever the program runs, and copy what lies there.
  if (!platform::IsFullPath(source)) {
    LogStopAlone(log, t.bad_source);
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
  // A folder that cannot be read would look like a folder without files:
  // the run would end as if there had been nothing to copy.
  if (const int error = platform::ListingError(source); error != 0) {
    LogStop(log, t.unreadable_source, shown_source, platform::ErrorReason(error));
    return result;
  }
  // The new folder is read too when the run takes the sub-folders: what it
  // holds would go to the trash before it was copied.
  if (settings.include_subfolders && platform::DirectoryExists(target)) {
    log.AddError(t.target_is_source);
    log.AddError("  " + shown_target);
    log.AddError(t.target_is_source_why);
    log.AddError(t.stopped);
    return result;
  }
  // Every name is made for the file system of the new folder: a card's
  // refuses names that the system's own disk takes, and ignores case.
  const platform::DestinationRules rules = platform::DestinationRules::ForFolder(target);
  if (const platform::NameProblem problem = rules.Check(*native_folder_name);
      problem != platform::NameProblem::kNone) {
    LogStop(log, t.bad_folder_name, settings.folder_name, platform::NameProblemReason(problem));
    return result;
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
          LogError(log, t.trash_failed, shown_target, reason);
          log.AddError(t.trashed_count + std::to_string(trashed) + t.pieces);
          log.AddError(t.stopped);
          return result;
        }
        ++trashed;
      }
    }
    log.Add(t.trashed_count + std::to_string(trashed) + t.pieces);
    log.Add(t.removing_folder);
    log.Add(t.separator);
    if (!platform::RemoveDir(target)) {
      LogStop(log, t.remove_failed, shown_target, platform::ErrorReason(errno));
      return result;
    }
  }

  if (!preview) {
    log.Add(t.creating_folder);
    log.Add("  " + shown_target);
    log.Add(t.separator);
    if (!platform::CreateDir(target)) {
      LogStop(log, t.create_failed, shown_target, platform::ErrorReason(errno));
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
  // A folder that cannot be read is named, so that nobody takes the run
  // for complete and formats the card.
  for (const SourceFiles::UnreadableFolder& folder : files.Unreadable()) {
    const std::string reason = platform::ErrorReason(folder.error);
    if (folder.shown.empty()) {
      LogStop(log, t.unreadable_source, shown_source, reason);
      return result;
    }
    LogError(log, t.unreadable_folder, platform::JoinPath(shown_source, folder.shown), reason);
    ++result.unreadable;
  }
  if (count == 0 && result.unreadable == 0) {
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
    made_again = MadeAgainLater(names, rules);
  }
  MadeNames made_names(rules);
  // The source's name of the last file copied, for a run that stops.
  std::string last_copied;
  bool attributes_noted = false;

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
      LogError(log, t.bad_file_name, new_name);
      ++result.failed;
      continue;
    }
    if (!made.native) {
      LogError(log, t.unconvertible_name, new_name);
      ++result.failed;
      continue;
    }
    // Checked before a byte is copied: the preview shows it, and the run
    // never copies a file's data only to find it cannot be named.
    if (const platform::NameProblem problem = rules.Check(*made.native);
        problem != platform::NameProblem::kNone) {
      LogError(log, t.name_refused, shown_target_path, platform::NameProblemReason(problem));
      ++result.failed;
      continue;
    }
    const bool overwritten = !made_again.empty() && made_again[p];
    if (overwritten) log.Add(t.overwritten_later);
    if (preview && settings.on_previewed_file) {
      settings.on_previewed_file({file.path.empty() ? files.Path(i) : file.path, new_name,
                                  overwritten ? t.overwritten_later.substr(2) : std::string()});
    }
    if (!preview) {
      platform::CopyControl control;
      control.stop = stop;
      control.unfinished = settings.unfinished_copy;
      const platform::CopyOutcome outcome =
          platform::CopyFile(source_path, platform::JoinPath(target, *made.native), control);
      if (outcome.cancelled) {
        // Stopped inside the file: nothing of it is left.
        result.cancelled = true;
        log.Add(t.stopped);
        log.Add(t.copied_count + std::to_string(result.copied) + t.pieces);
        return result;
      }
      if (!outcome.Copied()) {
        ++result.failed;
        const bool from_source = outcome.side == platform::CopyOutcome::Side::kSource;
        const std::string reason = platform::ErrorReason(outcome.error);
        // A drive that is full or gone fails every file after this one the
        // same way: the run stops and says how far it came.
        const bool lost = from_source ? platform::DriveIsGone(outcome.error)
                                      : platform::DriveIsLost(outcome.error);
        if (lost) {
          LogError(log, from_source ? t.source_lost : t.target_lost, shown_target_path, reason,
                   from_source ? t.source_side : t.target_side);
          log.AddError(t.copied_count + std::to_string(result.copied) + t.pieces);
          log.AddError(last_copied.empty() ? t.none_copied : t.last_copied + last_copied);
          log.AddError(t.stopped);
          result.stopped = true;
          return result;
        }
        LogError(log, t.copy_failed, shown_target_path, reason,
                 from_source ? t.source_side : t.target_side);
        continue;
      }
      if (outcome.attributes_not_kept && !attributes_noted) {
        log.Add(t.attributes_note);
        attributes_noted = true;
      }
      last_copied = name;
    }
    ++result.copied;
    if (settings.keep_both) made_names.Add(*made.native);
  }

  if (preview) {
    log.Add(t.preview_finished + std::to_string(result.copied) + t.pieces);
    return result;
  }
  // The closing line promises the copies: they are on the disk before it.
  if (result.copied > 0) {
    if (const int error = platform::FlushDrive(target); error != 0) {
      LogStop(log, t.flush_failed, shown_target, platform::ErrorReason(error));
      result.stopped = true;
      return result;
    }
  }
  if (result.failed == 0 && result.unreadable == 0) {
    log.Add(t.success);
  } else {
    std::string closing = t.finished_with_failures + std::to_string(result.failed) + t.pieces;
    if (result.unreadable > 0)
      closing += t.unreadable_count + std::to_string(result.unreadable) + t.pieces;
    log.Add(closing);
  }
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
