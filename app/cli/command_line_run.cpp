#include "app/cli/command_line_run.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>

#include "app/cli/command_line.h"
#include "app/cli/console_log.h"
#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "app/core/version.h"
#include "platform/cp932.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/interrupt_stop.h"
#include "platform/program_data.h"

namespace app::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "varnek";

// A path on disk as the program shows it (in UTF-8 here).
std::string Shown(const std::string& native) {
  return platform::Cp932ToUtf8Lossy(platform::ShowNativeName(native).Text);
}

// The directory made absolute and cleaned, as the window's directory list
// keeps it: no "." or "..", no separator at the end except for the root.
std::string AbsoluteDirectory(const std::string& given) {
  std::error_code error;
  fs::path path = fs::absolute(fs::path(given), error);
  if (error) path = given;
  std::string cleaned = path.lexically_normal().string();
  while (cleaned.size() > 1 && cleaned.back() == '/') cleaned.pop_back();
  return cleaned;
}

struct SourceDirectory {
  std::string on_disk;  // what the engine takes, as the window's list gives it
  std::string error;    // when there is none
};

SourceDirectory ChooseSourceDirectory(const std::string& given) {
  std::string on_disk = AbsoluteDirectory(given);
  std::error_code error;
  if (!fs::exists(on_disk, error)) return {{}, "ディレクトリが存在しません: " + Shown(given)};
  if (!fs::is_directory(on_disk, error)) {
    return {{}, "ディレクトリではありません: " + Shown(given)};
  }
  return {std::move(on_disk), {}};
}

int ExitStatus(const CopyRunResult& result) {
  // A folder without matching files is no failure: every file (none) was copied.
  if (result.found_nothing) return kExitAllCopied;
  if (result.stopped || result.cancelled) return kExitStopped;
  return result.failed > 0 || result.unreadable > 0 ? kExitSomeFailed : kExitAllCopied;
}

// How long a stopped run may take to end by itself before the program ends
// without it: longer than any piece of a copy takes, short enough that a
// card reader which no longer answers cannot keep the stop waiting.
constexpr std::chrono::milliseconds kStopGrace{500};

// Runs `run` on a thread of its own and waits for it, or for a stop and
// then at most kStopGrace. True when the run ended; false when it hangs.
bool RunUnlessHung(const std::function<void()>& run, const std::stop_token& stop) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
  };
  auto shared = std::make_shared<Shared>();
  std::thread worker([run, shared] {
    run();
    const std::lock_guard lock(shared->mutex);
    shared->done = true;
    shared->changed.notify_all();
  });
  const std::stop_callback wake(stop, [shared] {
    const std::lock_guard lock(shared->mutex);
    shared->changed.notify_all();
  });
  std::unique_lock lock(shared->mutex);
  shared->changed.wait(lock, [&] { return shared->done || stop.stop_requested(); });
  if (!shared->changed.wait_for(lock, kStopGrace, [&] { return shared->done; })) {
    // The thread is stuck in the kernel; the process ends around it.
    worker.detach();
    return false;
  }
  lock.unlock();
  worker.join();
  return true;
}

// Removes the file a copy was writing, unless its drive no longer answers:
// the program is ending and waits for it only a moment.
void RemoveUnlessHung(platform::UnfinishedCopy& unfinished) {
  auto removed = std::make_shared<std::atomic<bool>>(false);
  std::thread([&unfinished, removed] {
    unfinished.RemoveNow();
    *removed = true;
  }).detach();
  for (int i = 0; i < 40 && !*removed; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace

std::string UsageText(const std::string& help_file) {
  std::string text =
      "使い方:\n"
      "  varnek [ディレクトリ]\n"
      "      ウインドウを開きます。ディレクトリを指定すると、そこを選んだ状態で始まります。\n"
      "  varnek --run [オプション] ディレクトリ\n"
      "      ウインドウなしで実行します。経過は情報ウインドウと同じ内容で標準出力に書きます。\n"
      "  varnek --preview [オプション] ディレクトリ\n"
      "      何も変更せずに、実行したときの経過と新しい名前を表示します。\n"
      "  varnek --help | --version\n"
      "\n"
      "オプション（かっこ内は指定しないときの値で、ウインドウの初期値と同じです）:\n"
      "  --mask マスク        対象ファイルのマスク。繰り返して複数指定できます（*.*）\n"
      "  --folder 名前        新しいフォルダ名（NewFolder）\n"
      "  --prefix 文字        先頭に付く文字（なし）\n"
      "  --format 書式        日付表示文字（yyyy年mm月dd日）\n"
      "  --date mtime|exif|YYYY-MM-DD\n"
      "                       日付の指定: ファイル更新日、撮影日（Exif優先）、指定日（mtime）\n"
      "                       撮影日は写真なら Exif から、動画（MP4、MOV、3GP、M4V、MTS、\n"
      "                       M2TS、AVI）ならファイルに記録された日時から取ります\n"
      "  --serial none|1|01|001|0001|00001\n"
      "                       連番表示方法（001）\n"
      "  --start 数           連番開始位置、0 から 99999999 まで（1）\n"
      "  --ext 拡張子         拡張子をこれに変更します（変更しない）\n"
      "  --case lower|upper   すべて小文字に、すべて大文字に（変更しない）\n"
      "  --subfolders         サブフォルダのファイルも対象にします。新しい名前はすべて\n"
      "                       一つの新しいフォルダに、フォルダをまたいだ連番で作ります\n"
      "  --order name|date    連番の順: ファイル名の順、名前に付く日付の順（name）\n"
      "  --keep-both          同名ファイルを残します。この実行ですでに作った名前には\n"
      "                       拡張子の前に \" (2)\"、\" (3)\"… を付けます（上書きする）\n"
      "  --shift [+|-]HH:MM[:SS] | [+|-]D:HH:MM:SS\n"
      "                       撮影時刻の補正: ファイルの日時（撮影日と更新日）をこれだけ\n"
      "                       ずらして名前と日付順に使います。D は日数（+00:00:00）\n"
      "\n"
      "新しいフォルダと同名のディレクトリがあるときは、中のファイルをゴミ箱に移動してから\n"
      "作り直します（デスクトップのゴミ箱から元に戻せます）。ゴミ箱に移動できないファイルが\n"
      "あると、そこで中止します。\n"
      "\n"
      "新しい名前は、コピー先のドライブで使えるか（FAT や exFAT では \\ / : * ? \" < > |\n"
      "や最後のピリオドを使えないなど）をコピーする前に確かめます。エラーにはわけが付き、\n"
      "標準エラー出力にも書きます。ドライブがいっぱいになったり取り外されたりしたときは、\n"
      "そこで中止します。コピーしたファイルは、最後の行の前にディスクに書き込みます。\n"
      "Ctrl+C はコピー中のファイルの途中でも止めます。もう一度押すと、すぐに終了します。\n"
      "\n"
      "終了ステータス:\n"
      "  0  すべてのファイルをコピーした（対象になるファイルがなかったときも）\n"
      "  1  コピーに失敗したファイルか、読み取れないフォルダがある\n"
      "  2  実行を中止した（Ctrl+C、ドライブがいっぱいになった、標準出力が閉じられた\n"
      "     ときも）、または引数が不正\n"
      "\n"
      "例:\n"
      "  varnek --run --mask '*.jpg' --prefix 旅行_ ~/写真/2026-08\n"
      "  varnek --preview --format ggge年m月d日 --serial none --ext txt .\n";
  if (!help_file.empty()) {
    text += "\n詳しい説明（Shift-JIS のテキスト）: " + help_file + "\n";
  }
  return text;
}

int RunCommandLine(const std::vector<std::string>& args, const std::string& program_path,
                   std::ostream& out, std::ostream& err) {
  ParseResult parsed = ParseCommandLine(args);
  if (!parsed.command_line) {
    err << kProgram << ": " << parsed.error << "\n"
        << "使い方は varnek --help で表示されます。\n";
    return kExitStopped;
  }
  const CommandLine& line = *parsed.command_line;
  switch (line.mode) {
    case Mode::kHelp: {
      const std::optional<std::string> help =
          platform::FindProgramDataFile(program_path, std::string(kProgram) + ".txt");
      out << UsageText(help ? Shown(*help) : std::string());
      return kExitAllCopied;
    }
    case Mode::kVersion:
      out << kProgram << " (Pirukko) " << kVersion << "\n";
      return kExitAllCopied;
    case Mode::kWindow:
      err << kProgram << ": --run か --preview を指定してください。\n";
      return kExitStopped;
    case Mode::kRun:
    case Mode::kPreview:
      break;
  }

  const SourceDirectory source = ChooseSourceDirectory(*line.directory);
  if (!source.error.empty()) {
    err << kProgram << ": " << source.error << "\n";
    return kExitStopped;
  }
  RunSettings settings = line.settings;
  settings.source_directory = source.on_disk;

  // A reader of the log that goes away (`varnek --run ... | head`) stops
  // the run as Ctrl+C does, instead of killing it without a word.
  platform::IgnoreBrokenPipe();
  std::stop_source stop;
  ConsoleLog log(out, &err, line.mode == Mode::kRun);
  log.OnClosed = [&stop] { stop.request_stop(); };
  NoCopyProgress progress;
  platform::UnfinishedCopy unfinished;
  settings.unfinished_copy = &unfinished;
  const auto end_now = [&unfinished, &err](const char* why) {
    err << kProgram << ": " << why << "\n";
    err.flush();
    RemoveUnlessHung(unfinished);
    std::_Exit(kExitStopped);
  };
  // Ctrl+C stops the run as "終了" does in the window, within the file
  // being copied; a second Ctrl+C ends the program at once.
  const platform::InterruptStop interrupt(stop,
                                          [&end_now](int) { end_now("すぐに中止しました。"); });
  CopyRunResult result;
  const bool ended = RunUnlessHung(
      [&] {
        result = line.mode == Mode::kPreview
                     ? PreviewCopy(settings, log, progress, stop.get_token())
                     : ExecuteCopy(settings, log, progress, stop.get_token());
      },
      stop.get_token());
  if (!ended)
    end_now("中止しました。ファイルの読み書きが応答しないため、終わるのを待たずに終了します。");
  out.flush();
  if (log.Closed()) {
    err << kProgram << ": 標準出力に書き込めないため、実行を中止しました。\n";
    return kExitStopped;
  }
  if (result.cancelled) err << kProgram << ": 中止の指示により、実行を中止しました。\n";
  return ExitStatus(result);
}

}  // namespace app::cli
