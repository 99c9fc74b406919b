#include "platform/destination_rules.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <array>
#include <climits>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/file_descriptor.h"
#include "platform/path_rules.h"

namespace platform {
namespace {

// The kinds whose names follow the rules of Windows and ignore case. FUSE
// mounts name their program after "fuse."; "fuseblk" is what exfat-fuse
// and ntfs-3g show for a disk.
constexpr std::array<std::string_view, 14> kWindowsKinds = {
    "vfat",       "msdos",        "fat",          "exfat",     "ntfs", "ntfs3", "fuseblk",
    "fuse.exfat", "fuse.fusefat", "fuse.ntfs-3g", "fuse.ntfs", "cifs", "smb3",  "fuse.exfat-fuse"};

bool IsWindowsKind(std::string_view kind) {
  for (std::string_view windows : kWindowsKinds)
    if (kind == windows) return true;
  return false;
}

// The mount table escapes a space, a tab, a line break and a backslash in a
// mount point as three octal digits.
std::string Unescape(std::string_view text) {
  const auto octal = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && octal(text[i + 1]) && octal(text[i + 2]) &&
        octal(text[i + 3])) {
      out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                               (text[i + 3] - '0'));
      i += 3;
      continue;
    }
    out += text[i];
  }
  return out;
}

// `path` lies at or below `mount_point`.
bool IsBelow(std::string_view path, std::string_view mount_point) {
  if (mount_point == "/") return true;
  if (path.substr(0, mount_point.size()) != mount_point) return false;
  return path.size() == mount_point.size() || path[mount_point.size()] == kPathDelimiter;
}

// The kind of the file system that holds the resolved `path`: the mount
// with the longest mount point above it, the last one where mounts lie on
// top of each other.
std::string KindOfMountAbove(std::string_view path) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line, kind;
  std::size_t best = 0;
  while (std::getline(table, line)) {
    // ID PARENT MAJOR:MINOR ROOT MOUNT_POINT OPTIONS [OPTIONAL...] - KIND SOURCE ...
    std::istringstream fields(line);
    std::string id, parent, device, root, mount_point;
    fields >> id >> parent >> device >> root >> mount_point;
    std::string field;
    while (fields >> field && field != "-") {
    }
    std::string this_kind;
    fields >> this_kind;
    const std::string point = Unescape(mount_point);
    if (this_kind.empty() || !IsBelow(path, point) || point.size() < best) continue;
    best = point.size();
    kind = this_kind;
  }
  return kind;
}

// The nearest folder at or above `native_folder` that exists, resolved.
std::optional<std::string> NearestExisting(std::string_view native_folder) {
  std::string path(native_folder);
  for (;;) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      std::string out(resolved);
      free(resolved);
      return out;
    }
    const std::size_t slash = path.rfind(kPathDelimiter);
    if (slash == std::string::npos) return std::nullopt;
    path.resize(slash == 0 ? 1 : slash);
  }
}

// An ext4 folder made to ignore case (chattr +F) passes it to what is made inside.
bool FoldsCase(const std::string& folder) {
  FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  int flags = 0;
  return fd.IsOpen() && ioctl(fd.Get(), FS_IOC_GETFLAGS, &flags) == 0 &&
         (flags & FS_CASEFOLD_FL) != 0;
}

// The name's characters; a byte that begins no UTF-8 character stands for
// itself, as the kernel's conversion takes it.
template <class Each>
void ForEachCharacter(std::string_view name, Each each) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
  const int length = static_cast<int>(name.size());
  for (int i = 0; i < length;) {
    const int start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) c = bytes[start];
    each(c, name.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
  }
}

}  // namespace

DestinationRules DestinationRules::ForFolder(std::string_view native_folder) {
  const std::optional<std::string> existing = NearestExisting(native_folder);
  if (!existing) return ForKind("");
  struct statvfs st;
  const int max_bytes =
      statvfs(existing->c_str(), &st) == 0 && st.f_namemax > 0 && st.f_namemax < INT_MAX
          ? static_cast<int>(st.f_namemax)
          : NAME_MAX;
  return ForKind(KindOfMountAbove(*existing), FoldsCase(*existing), max_bytes);
}

DestinationRules DestinationRules::ForKind(std::string_view kind, bool folded, int max_bytes) {
  DestinationRules rules;
  rules.kind_ = std::string(kind);
  rules.windows_names_ = IsWindowsKind(kind);
  rules.ignores_case_ = rules.windows_names_ || folded;
  rules.max_bytes_ = max_bytes;
  return rules;
}

NameProblem DestinationRules::Check(std::string_view native_name) const {
  if (!windows_names_) {
    return static_cast<int>(native_name.size()) > max_bytes_ ? NameProblem::kTooLong
                                                             : NameProblem::kNone;
  }
  constexpr std::string_view kBad = "\"*/:<>?\\|";
  int units = 0;
  bool bad = false;
  ForEachCharacter(native_name, [&](UChar32 c, std::string_view) {
    units += U16_LENGTH(c);
    if (c < 0x20 || (c < 0x80 && kBad.find(static_cast<char>(c)) != std::string_view::npos))
      bad = true;
  });
  if (bad) return NameProblem::kBadCharacter;
  if (!native_name.empty() && (native_name.back() == '.' || native_name.back() == ' '))
    return NameProblem::kTrailingDotOrSpace;
  // FAT and exFAT count a name in UTF-16 units, 255 at most.
  if (units > 255) return NameProblem::kTooLong;
  return NameProblem::kNone;
}

std::string DestinationRules::SameNameKey(std::string_view native_name) const {
  if (!ignores_case_) return std::string(native_name);
  std::string key;
  key.reserve(native_name.size());
  ForEachCharacter(native_name, [&key](UChar32 c, std::string_view bytes) {
    const UChar32 upper = u_toupper(c);
    if (upper == c) {
      key += bytes;
      return;
    }
    uint8_t out[U8_MAX_LENGTH];
    int length = 0;
    U8_APPEND_UNSAFE(out, length, upper);
    key.append(reinterpret_cast<const char*>(out), static_cast<std::size_t>(length));
  });
  return key;
}

std::string NameProblemReason(NameProblem problem) {
  switch (problem) {
    case NameProblem::kNone:
      return {};
    case NameProblem::kBadCharacter:
      return "コピー先のドライブでは名前に使えない文字（\" * / : < > ? \\ |）を含んでいます。";
    case NameProblem::kTrailingDotOrSpace:
      return "コピー先のドライブでは名前の最後にピリオドや空白を使えません。";
    case NameProblem::kTooLong:
      return "コピー先のドライブでは名前が長すぎます。";
  }
  return {};
}

}  // namespace platform
