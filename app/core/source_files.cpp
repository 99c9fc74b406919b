#include "app/core/source_files.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/sub_folders.h"
#include "platform/text_compare.h"

namespace app {

SourceFiles::SourceFiles(const filelist::TFileList& file_list, const std::string& directory,
                         const std::vector<std::string>& masks, bool sub_folders,
                         std::string_view skipped_folder) {
  Folder top;
  top.path = directory;
  top.list = &file_list;
  count_ = file_list.Files().Count();
  folders_.push_back(std::move(top));
  if (sub_folders) AddTree(directory, std::string(), masks, skipped_folder);
}

SourceFiles::~SourceFiles() = default;

void SourceFiles::AddTree(const std::string& path, const std::string& shown_prefix,
                          const std::vector<std::string>& masks,
                          std::string_view skipped_folder) {
  struct Entry {
    std::string key;
    platform::TSubFolder folder;
  };
  std::vector<Entry> entries;
  for (platform::TSubFolder& folder : platform::FindSubFolders(path)) {
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
    auto list = std::make_unique<filelist::TFileList>();
    {
      platform::TStringsUpdate update(list->Mask());
      for (const std::string& mask : masks) list->Mask().Add(mask);
    }
    list->SetDirectory(folder.path);
    const int files = list->Files().Count();
    const std::string sub_path = folder.path;
    const std::string sub_prefix = folder.shown_prefix;
    if (files > 0) {
      folder.first = count_;
      folder.list = list.get();
      folder.own_list = std::move(list);
      count_ += files;
      folders_.push_back(std::move(folder));
    }
    AddTree(sub_path, sub_prefix, masks, skipped_folder);
  }
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
