#include "app/core/source_files.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/parallel_for.h"
#include "platform/sub_folders.h"
#include "platform/text_compare.h"

namespace app {

SourceFiles::SourceFiles(const std::string& directory, const std::vector<std::string>& masks,
                         bool sub_folders, std::string_view skipped_folder) {
  Folder top;
  top.path = directory;
  top.list = ListFolder(directory, masks);
  count_ = top.list->Files().Count();
  if (top.list->ListError() != 0) unreadable_.push_back({std::string(), top.list->ListError()});
  folders_.push_back(std::move(top));
  if (!sub_folders) return;
  std::vector<Folder> below;
  AddTree(directory, std::string(), skipped_folder, below, unreadable_);
  ListFolders(below, masks);
  // Folders without files are not kept: no index leads to them.
  for (Folder& folder : below) {
    if (const int error = folder.list->ListError(); error != 0) {
      // The folder's own name, without the separator that ends its prefix.
      std::string shown = folder.shown_prefix;
      shown.pop_back();
      if (std::none_of(unreadable_.begin(), unreadable_.end(),
                       [&shown](const UnreadableFolder& u) { return u.shown == shown; }))
        unreadable_.push_back({std::move(shown), error});
    }
    const int files = folder.list->Files().Count();
    if (files == 0) continue;
    folder.first = count_;
    count_ += files;
    folders_.push_back(std::move(folder));
  }
}

SourceFiles::~SourceFiles() = default;

void SourceFiles::AddTree(const std::string& path, const std::string& shown_prefix,
                          std::string_view skipped_folder, std::vector<Folder>& below,
                          std::vector<UnreadableFolder>& unreadable) {
  struct Entry {
    std::string key;
    platform::TSubFolder folder;
  };
  std::vector<Entry> entries;
  int error = 0;
  std::vector<platform::TSubFolder> found =
      platform::FindSubFolders(path, platform::FolderLinks::kSkipped, &error);
  if (error != 0) {
    std::string shown = shown_prefix;
    if (!shown.empty()) shown.pop_back();
    unreadable.push_back({std::move(shown), error});
  }
  for (platform::TSubFolder& folder : found) {
    // The folder the run writes into is no source, wherever it lies.
    if (folder.NativeName == skipped_folder) continue;
    entries.push_back({platform::AnsiCompareTextKey(folder.Name), std::move(folder)});
  }
  // The file list's collation; names it cannot tell apart keep a fixed order.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    return a.folder.NativeName < b.folder.NativeName;
  });
  for (const Entry& entry : entries) {
    Folder folder;
    folder.path = platform::JoinPath(path, entry.folder.NativeName);
    folder.shown_prefix = shown_prefix + entry.folder.Name + platform::kPathDelimiter;
    const std::string sub_path = folder.path;
    const std::string sub_prefix = folder.shown_prefix;
    below.push_back(std::move(folder));
    AddTree(sub_path, sub_prefix, skipped_folder, below, unreadable);
  }
}

void SourceFiles::ListFolders(std::vector<Folder>& folders, const std::vector<std::string>& masks) {
  // Listing a folder is mostly the file system's time for each of its files
  // (its attributes and last-write time), which the processor's cores share
  // out. Every folder has a list of its own, and what the lists use of the
  // platform (the collator, the CP932 converters) each thread keeps for
  // itself.
  platform::ParallelFor(folders.size(), [&folders, &masks](std::size_t i) {
    folders[i].list = ListFolder(folders[i].path, masks);
  });
}

std::unique_ptr<filelist::TFileList> SourceFiles::ListFolder(
    const std::string& directory, const std::vector<std::string>& masks) {
  auto list = std::make_unique<filelist::TFileList>();
  {
    platform::TStringsUpdate update(list->Mask());
    for (const std::string& mask : masks) list->Mask().Add(mask);
  }
  list->SetDirectory(directory);
  return list;
}

const SourceFiles::Folder& SourceFiles::FolderOf(int index) const {
  // The last folder whose files begin at or before `index`; folders without
  // files are never kept, but the chosen one, which comes first.
  auto after = std::upper_bound(folders_.begin(), folders_.end(), index,
                                [](int i, const Folder& folder) { return i < folder.first; });
  return *(after - 1);
}

std::string SourceFiles::ShownName(int index) const {
  const Folder& folder = FolderOf(index);
  return folder.shown_prefix + folder.list->Files()[index - folder.first];
}

std::string SourceFiles::FileName(int index) const {
  const Folder& folder = FolderOf(index);
  return folder.list->Files()[index - folder.first];
}

const filelist::TInfo* SourceFiles::Info(int index) const {
  const Folder& folder = FolderOf(index);
  return folder.list->Info(index - folder.first);
}

std::string SourceFiles::Path(int index) const {
  const Folder& folder = FolderOf(index);
  const filelist::TInfo* info = folder.list->Info(index - folder.first);
  return platform::JoinPath(folder.path,
                            info ? info->NativeName : folder.list->Files()[index - folder.first]);
}

}  // namespace app
