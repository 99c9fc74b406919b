#include "bench/common/japanese_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace bench {

namespace {

// The text of one gzip-compressed manual page, or nothing.
std::string ReadGzip(const std::filesystem::path& path) {
  // Quoted for the shell: a ' in the name becomes '\''.
  std::string quoted = "'";
  for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  const std::string command = "gzip -dc " + quoted + " 2>/dev/null";
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::vector<std::string> SourceLines() {
  std::vector<std::filesystem::path> pages;
  std::error_code error;
  for (const char* root : {"/usr/share/man/ja", "/usr/share/man/ja_JP.UTF-8"}) {
    if (!std::filesystem::is_directory(root, error)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
      if (entry.is_regular_file() && entry.path().extension() == ".gz")
        pages.push_back(entry.path());
  }
  std::sort(pages.begin(), pages.end());
  std::vector<std::string> lines;
  for (const auto& page : pages) {
    std::string cp932 = platform::Utf8ToCp932Lossy(ReadGzip(page));
    // Control bytes other than tab and LF become spaces: a page may hold an
    // end-of-file mark (0x1A) or a CR, which a text file of lines does not.
    for (char& c : cp932)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') c = ' ';
    std::size_t p = 0;
    while (p < cp932.size()) {
      std::size_t end = cp932.find('\n', p);
      if (end == std::string::npos) end = cp932.size();
      lines.emplace_back(cp932, p, end - p);
      p = end + 1;
    }
  }
  if (lines.empty()) {
    // No Japanese pages installed: a few sentences of our own help text.
    for (const char* utf8 :
         {"指定したフォルダ内のファイルを、新しいフォルダへ名前を付け替えてコピーします。",
          "日付の書式は yyyy/mm/dd のように指定します。和暦（ggee年）も使えます。",
          "\t連番の開始値と桁数を指定してください。",
          "ＵＲＬ http://www.example.jp/ やメールアドレス info@example.jp "
          "はダブルクリックで開きます。",
          "", "ｶﾀｶﾅ、ひらがな、漢字、ＡＢＣ、１２３。"})
      lines.push_back(platform::Utf8ToCp932Lossy(utf8));
  }
  return lines;
}

}  // namespace

std::string MakeJapaneseText(std::size_t bytes) {
  const std::vector<std::string> source = SourceLines();
  std::mt19937 random(20001122);
  std::string text;
  text.reserve(bytes + 4096);
  std::size_t next = 0;
  while (text.size() < bytes) {
    // Mostly the page lines as they stand; now and then a paragraph joined
    // into one line of a few hundred bytes, as a log or a help text has.
    std::size_t join = 1;
    if (random() % 40 == 0) join = 4 + random() % 12;
    for (std::size_t k = 0; k < join; ++k) {
      if (k > 0) text += ' ';
      text += source[next];
      next = (next + 1) % source.size();
    }
    text += "\r\n";
  }
  return text;
}

std::size_t BenchTextBytes() {
  if (const char* mb = std::getenv("PIRUKKO_BENCH_MB")) return std::stoul(mb) << 20;
  return std::size_t{100} << 20;
}

WholeFile ReadWholeFile(const std::string& path, bool huge_pages) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) std::abort();
  struct stat info;
  fstat(fd, &info);
  WholeFile file;
  file.size = static_cast<std::size_t>(info.st_size);
  char* into = nullptr;
  if (huge_pages) {
    file.large = platform::LargeBlock(file.size);
    into = file.large.data();
  } else {
    file.fresh.reset(new char[file.size]);
    into = file.fresh.get();
  }
  file.bytes = into;
  while (file.read < file.size) {
    const ssize_t n = read(fd, into + file.read, file.size - file.read);
    if (n <= 0) break;
    file.read += static_cast<std::size_t>(n);
  }
  close(fd);
  return file;
}

std::size_t ReadAndCountLines(const std::string& path) {
  const WholeFile file = ReadWholeFile(path);
  return static_cast<std::size_t>(std::count(file.bytes, file.bytes + file.read, '\n'));
}

}  // namespace bench
