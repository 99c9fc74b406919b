// The layers keep their word: the plain folders include no Qt header, the
// editor's text model nothing of its colouring, the text editor program
// nothing of the copy tool's window, and the command line needs no Qt
// library when it runs. The rules read the sources themselves, so a new file
// is checked the day it is added.
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = PIRUKKO_SOURCE_DIR;

struct Include {
  std::string target;  // what stands between the quotes or angle brackets
  bool angled = false;
  int line = 0;
};

std::vector<Include> IncludesOf(const std::string& text) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> includes;
  int number = 0;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    ++number;
    std::smatch match;
    const std::string line = text.substr(begin, end - begin);
    if (std::regex_search(line, match, kInclude)) {
      includes.push_back({match[2].str(), match[1].str() == "<", number});
    }
    begin = end + 1;
  }
  return includes;
}

bool IsQtHeader(const Include& include) {
  if (!include.angled) return false;
  const std::string& t = include.target;
  return (t.size() > 1 && t[0] == 'Q' && std::isupper(static_cast<unsigned char>(t[1]))) ||
         t.rfind("Qt", 0) == 0 || t.rfind("qpa/", 0) == 0;
}

// One rule: files under `folder` (relative to the source folder) must not
// include what `forbidden` says; `recursive` false looks at the folder's own
// files only.
struct Rule {
  const char* name;
  const char* folder;
  bool recursive;
  bool (*forbidden)(const Include&);
};

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

const Rule kRules[] = {
    {"the editor includes no Qt header", "editor", true, IsQtHeader},
    {"the plain platform includes no Qt header", "platform", false, IsQtHeader},
    {"the control's interface includes no Qt header", "platform/control", true, IsQtHeader},
    {"the photo reader includes no Qt header", "platform/exif", true, IsQtHeader},
    {"the video reader includes no Qt header", "platform/video", true, IsQtHeader},
    {"the trash includes no Qt header", "platform/trash", true, IsQtHeader},
    {"the drive list's watch includes no Qt header", "platform/volumes", true, IsQtHeader},
    {"the thumbnails use no widget", "platform/thumbnails", true,
     [](const Include& i) {
       return i.target.rfind("QtWidgets", 0) == 0 || i.target == "QWidget" ||
              i.target == "QApplication";
     }},
    {"the file list includes no Qt header", "filelist", true, IsQtHeader},
    {"the engine includes no Qt header", "app/core", true, IsQtHeader},
    {"the command line includes no Qt header", "app/cli", true, IsQtHeader},
    {"the text model includes nothing of the colouring", "editor/text", true,
     [](const Include& i) { return StartsWith(i.target, "editor/colour/"); }},
    {"the editor's model includes nothing of the control", "editor/text", true,
     [](const Include& i) { return StartsWith(i.target, "editor/control/"); }},
    {"the colouring includes nothing of the control", "editor/colour", true,
     [](const Include& i) { return StartsWith(i.target, "editor/control/"); }},
    {"the platform includes nothing above it", "platform", true,
     [](const Include& i) {
       for (const char* above : {"editor/", "app/", "editapp/", "filelist/", "ui/"})
         if (StartsWith(i.target, above)) return true;
       return false;
     }},
    {"the editor includes no program", "editor", true,
     [](const Include& i) {
       return StartsWith(i.target, "app/") || StartsWith(i.target, "editapp/");
     }},
    {"the engine includes nothing of a window or the command line", "app/core", true,
     [](const Include& i) {
       return StartsWith(i.target, "app/window/") || StartsWith(i.target, "app/cli/") ||
              StartsWith(i.target, "editor/control/") || StartsWith(i.target, "platform/qt/");
     }},
    {"the command line includes nothing of a window", "app/cli", true,
     [](const Include& i) {
       return StartsWith(i.target, "app/window/") || StartsWith(i.target, "editor/") ||
              StartsWith(i.target, "platform/qt/") || StartsWith(i.target, "ui/");
     }},
    {"the text editor includes nothing of the copy tool's window", "editapp", true,
     [](const Include& i) { return StartsWith(i.target, "app/"); }},
    {"the shared look includes nothing of either program", "ui", true,
     [](const Include& i) {
       return StartsWith(i.target, "app/") || StartsWith(i.target, "editapp/");
     }},
};

bool IsSource(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".h" || ext == ".cpp";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> SourcesUnder(const fs::path& folder, bool recursive) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  if (recursive) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
  } else {
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> BreachesOf(const Rule& rule) {
  std::vector<std::string> breaches;
  for (const fs::path& file : SourcesUnder(kSourceDir / rule.folder, rule.recursive)) {
    for (const Include& include : IncludesOf(ReadFile(file))) {
      if (rule.forbidden(include)) {
        breaches.push_back(fs::relative(file, kSourceDir).string() + ":" +
                           std::to_string(include.line) + ": " + include.target);
      }
    }
  }
  return breaches;
}

const Rule& RuleNamed(std::string_view name) {
  for (const Rule& rule : kRules)
    if (rule.name == name) return rule;
  throw std::invalid_argument(std::string(name));
}

TEST(Layers, TheRulesSeeWhatTheyForbid) {
  const std::vector<Include> includes = IncludesOf(
      "#include <QWidget>\n"
      "  #  include <QtCore/qglobal.h>\n"
      "#include <qpa/qplatformintegration.h>\n"
      "#include <queue>\n"
      "#include \"editor/colour/parser.h\"\n"
      "// #include <QTimer> is only a comment\n");
  ASSERT_EQ(includes.size(), 5u);
  EXPECT_TRUE(IsQtHeader(includes[0]));
  EXPECT_EQ(includes[1].line, 2);
  EXPECT_TRUE(IsQtHeader(includes[1]));
  EXPECT_TRUE(IsQtHeader(includes[2]));
  EXPECT_FALSE(IsQtHeader(includes[3]));  // a standard header that starts with q
  EXPECT_FALSE(IsQtHeader(includes[4]));
  EXPECT_TRUE(RuleNamed("the text model includes nothing of the colouring").forbidden(includes[4]));
}

TEST(Layers, EveryFolderKeepsItsRules) {
  for (const Rule& rule : kRules) {
    const std::vector<std::string> breaches = BreachesOf(rule);
    std::string list;
    for (const std::string& breach : breaches) list += "\n  " + breach;
    EXPECT_TRUE(breaches.empty()) << rule.name << ":" << list;
  }
}

// The rooms stay small: a product source file of more than 700 lines does
// several jobs. The README names the files allowed more, and why.
TEST(Layers, NoProductSourceFileIsOverSevenHundredLines) {
  const std::vector<std::string> allowed = {};
  for (const char* folder : {"app", "editapp", "editor", "filelist", "platform", "ui"}) {
    for (const fs::path& file : SourcesUnder(kSourceDir / folder, true)) {
      const std::string text = ReadFile(file);
      const long lines = std::count(text.begin(), text.end(), '\n');
      const std::string name = fs::relative(file, kSourceDir).string();
      if (std::find(allowed.begin(), allowed.end(), name) != allowed.end()) continue;
      EXPECT_LE(lines, 700) << name;
    }
  }
}

// The libraries a built program asks the dynamic loader for (DT_NEEDED).
std::vector<std::string> NeededLibraries(const fs::path& program) {
  const std::string image = ReadFile(program);
  std::vector<std::string> needed;
  if (image.size() < sizeof(Elf64_Ehdr) || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0 ||
      image[EI_CLASS] != ELFCLASS64) {
    ADD_FAILURE() << program << " is no 64-bit ELF file";
    return needed;
  }
  Elf64_Ehdr header;
  std::memcpy(&header, image.data(), sizeof header);
  auto section = [&](int index) {
    Elf64_Shdr s;
    std::memcpy(&s, image.data() + header.e_shoff + index * header.e_shentsize, sizeof s);
    return s;
  };
  for (int i = 0; i < header.e_shnum; ++i) {
    const Elf64_Shdr dynamic = section(i);
    if (dynamic.sh_type != SHT_DYNAMIC) continue;
    const Elf64_Shdr strings = section(static_cast<int>(dynamic.sh_link));
    for (std::size_t at = 0; at + sizeof(Elf64_Dyn) <= dynamic.sh_size; at += sizeof(Elf64_Dyn)) {
      Elf64_Dyn entry;
      std::memcpy(&entry, image.data() + dynamic.sh_offset + at, sizeof entry);
      if (entry.d_tag == DT_NULL) break;
      if (entry.d_tag == DT_NEEDED)
        needed.emplace_back(image.data() + strings.sh_offset + entry.d_un.d_val);
    }
  }
  return needed;
}

TEST(Layers, TheCommandLineNeedsNoQtLibrary) {
  const std::vector<std::string> needed = NeededLibraries(PIRUKKO_VARNEK);
  ASSERT_FALSE(needed.empty()) << "varnek names no library at all";
  // What the command line is for: the engine's libraries are there.
  EXPECT_NE(std::find_if(needed.begin(), needed.end(),
                         [](const std::string& l) { return l.rfind("libicu", 0) == 0; }),
            needed.end());
  for (const std::string& library : needed) {
    EXPECT_EQ(library.rfind("libQt", 0), std::string::npos) << library;
    // Nor what is loaded only when first needed: a script asking for
    // --version or copying photos pays nothing for videos or the trash.
    EXPECT_EQ(library.rfind("libmediainfo", 0), std::string::npos) << library;
    EXPECT_EQ(library.rfind("libgio", 0), std::string::npos) << library;
  }
  // The window's program, built from the same engine, does need Qt: the
  // reading sees a Qt library where there is one.
  const std::vector<std::string> window = NeededLibraries(PIRUKKO_VARNEK_WINDOW);
  EXPECT_NE(std::find_if(window.begin(), window.end(),
                         [](const std::string& l) { return l.rfind("libQt6Widgets", 0) == 0; }),
            window.end());
}

}  // namespace
