#include "app/core/copy_run.h"

#include <string_view>

#include "platform/cp932.h"
#include "platform/dos_date_time.h"
#include "platform/file_system.h"

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
  const std::string folder_exists = Sjis("新しいフォルダと同名のディレクトリが存在します。");
  const std::string deleting_files = Sjis("ディレクトリ内のファイルを削除します。");
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

// Gives the list its masks and directory, listing the directory once.
void ListDirectory(filelist::TFileList& list, const std::string& directory,
                   const std::vector<std::string>& masks) {
  platform::TStringList& lines = list.Mask();
  {
    platform::TStringsUpdate update(lines);
    lines.Clear();
    for (const auto& mask : masks) lines.Add(mask);
  }
  if (list.Directory() != directory)
    list.SetDirectory(directory);
  else
    list.Rebuild();
}

void LogStop(CopyLog& log, const std::string& error, const std::string& path) {
  log.Add(error);
  log.Add("  " + path);
  log.Add(T().stopped);
}

}  // namespace

CopyRunResult ExecuteCopy(const CopyRunInput& input, filelist::TFileList& file_list, CopyLog& log,
                          CopyProgress& progress) {
  const Texts& t = T();
  CopyRunResult result;
  result.stopped = true;
  const std::string& source = input.source_directory;
  const std::string target = platform::JoinPath(source, input.folder_name);

  log.Clear();
  log.Add(t.running);
  log.Add(t.overwrite_warning);
  log.Add(t.separator);

  if (input.folder_name.empty()) {
    log.Add(t.no_folder_name);
    log.Add(t.stopped);
    return result;
  }
  // Anything but a plain name could put the folder, and what the run empties
  // and removes, somewhere else than inside the chosen directory.
  if (!IsPlainFileName(input.folder_name)) {
    log.Add(t.bad_folder_name);
    log.Add(t.stopped);
    return result;
  }
  // The directory comes empty when its name has no CP932 form; empty or
  // relative, it would put the folder at the top of the tree or wherever
  // the program runs, and copy what lies there.
  if (!platform::IsFullPath(source)) {
    log.Add(t.bad_source);
    log.Add(t.stopped);
    return result;
  }

  if (platform::DirectoryExists(target)) {
    log.Add(t.folder_exists);
    log.Add(t.deleting_files);
    // A link would lead the deletions into a directory the user never chose:
    // nothing behind it is touched, and the link, which is no folder to
    // remove, stops the run at the removal below.
    if (!platform::IsSymbolicLink(target)) {
      ListDirectory(file_list, target, {"*.*"});
      const platform::TStringList& files = file_list.Files();
      for (int i = 0; i < files.Count(); ++i) {
        // A name without CP932 form would address another file: leave it,
        // and the folder cannot be removed.
        const filelist::TInfo* info = file_list.Info(i);
        if (info && !info->NameHasCp932Form) continue;
        platform::DeleteFile(platform::JoinPath(target, files[i]));
      }
    }
    log.Add(t.removing_folder);
    log.Add(t.separator);
    if (!platform::RemoveDir(target)) {
      LogStop(log, t.remove_failed, target);
      return result;
    }
  }

  log.Add(t.creating_folder);
  log.Add("  " + target);
  log.Add(t.separator);
  if (!platform::CreateDir(target)) {
    LogStop(log, t.create_failed, target);
    return result;
  }

  log.Add(t.copy_start);
  log.Add(t.source_dir + source);
  log.Add(t.target_dir + target);
  log.Add(t.separator);

  ListDirectory(file_list, source, input.masks);
  const platform::TStringList& files = file_list.Files();
  const int count = files.Count();
  result.listed = count;
  progress.SetMax(count);
  log.Add(t.file_count + std::to_string(count) + t.pieces);
  if (count == 0) {
    log.Add(t.nothing_found);
    log.Add(t.finished);
    return result;
  }
  result.stopped = false;

  for (int i = 0; i < count; ++i) {
    progress.SetPosition(i + 1);
    const std::string name = files[i];
    const filelist::TInfo* info = file_list.Info(i);
    if (info && !info->NameHasCp932Form) {
      log.Add(t.unconvertible_name);
      log.Add("  " + name);
      ++result.failed;
      continue;
    }
    const std::string source_path = platform::JoinPath(source, name);

    platform::DateTime date;
    if (input.naming.use_picked_date) {
      date = input.naming.picked_date;
    } else {
      std::optional<platform::DateTime> age;
      if (auto dos = platform::FileAge(source_path)) age = platform::DosDateTimeToDateTime(*dos);
      if (age) {
        date = *age;
      } else {
        date = input.now();
        log.Add(t.time_note);
      }
    }

    const std::string new_name =
        ComposeFileName(input.naming, input.date_format, source_path, i, date);
    const std::string target_path = platform::JoinPath(target, new_name);
    log.Add(t.copy_from + platform::ExtractFileName(source_path));
    log.Add(t.copy_to + platform::ExtractFileName(target_path));

    if (!IsPlainFileName(new_name)) {
      log.Add(t.bad_file_name);
      log.Add("  " + new_name);
      ++result.failed;
      continue;
    }
    if (!platform::CopyFileOverwriting(source_path, target_path)) {
      log.Add(t.copy_failed);
      log.Add("  " + target_path);
      ++result.failed;
    }
  }

  if (result.failed == 0)
    log.Add(t.success);
  else
    log.Add(t.finished_with_failures + std::to_string(result.failed) + t.pieces);
  return result;
}

}  // namespace app
