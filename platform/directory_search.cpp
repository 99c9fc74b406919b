#include "platform/directory_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>

#include <memory>
#include <optional>

#include "platform/native_name.h"
#include "platform/path_rules.h"
#include "platform/wildcard.h"

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

int AttributesOf(const struct stat& st, std::string_view native_name) {
  int attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (S_ISREG(st.st_mode))
    attr |= faArchive;
  else
    attr |= faSysFile;
  if (!native_name.empty() && native_name.front() == '.') attr |= faHidden;
  if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
  return attr;
}

}  // namespace

std::vector<TSearchRec> FindFiles(std::string_view native_directory, std::string_view cp932_mask,
                                  int attr, int* error) {
  std::vector<TSearchRec> found;
  int ignored = 0;
  int& failure = error ? *error : ignored;
  failure = 0;
  const std::optional<std::string> directory = UsableNativePath(native_directory);
  const std::optional<WildcardMask> mask = WildcardMask::FromCp932(cp932_mask);
  if (!directory || !mask) return found;

  std::unique_ptr<DIR, DirCloser> dir(opendir(directory->c_str()));
  if (!dir) {
    failure = errno;
    return found;
  }
  const int excluded = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  const int dir_fd = dirfd(dir.get());
  for (;;) {
    // The end of the folder and a failure to read on look the same but
    // for errno.
    errno = 0;
    dirent* entry = readdir(dir.get());
    if (!entry) {
      failure = errno;
      break;
    }
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string composed = NormalFormC(name);
    if (!mask->Matches(composed)) continue;
    struct stat st;
    if (fstatat(dir_fd, entry->d_name, &st, 0) != 0 &&
        fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      continue;
    TSearchRec rec;
    rec.Attr = AttributesOf(st, name);
    if (rec.Attr & excluded) continue;
    rec.Time = UnixTimeToDosDateTime(st.st_mtime).value_or(0);
    rec.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    TShownName shown = ShowNativeName(name, composed);
    rec.Name = std::move(shown.Text);
    rec.NameHasCp932Form = shown.Exact;
    rec.NativeName = name;
    found.push_back(std::move(rec));
  }
  return found;
}

}  // namespace platform
