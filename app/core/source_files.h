// The files a run takes, folder by folder: those the file list found in the
// chosen directory and, when the user asks for sub-folders, those of every
// folder below it, each folder listed as the chosen one is.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/file_list.h"

namespace app {

class SourceFiles {
 public:
  // Lists `directory` with `masks` as the file list does. With
  // `sub_folders`, the visible folders below the directory follow its own
  // files, depth first, each level in the file list's collation. A folder named `skipped_folder`
  // (the name on disk) is never entered, at any depth; links to folders are not followed.
  SourceFiles(const std::string& directory, const std::vector<std::string>& masks, bool sub_folders,
              std::string_view skipped_folder);
  ~SourceFiles();
  SourceFiles(const SourceFiles&) = delete;
  SourceFiles& operator=(const SourceFiles&) = delete;

  int Count() const { return count_; }
  // The name as the log shows it: the path below the chosen directory
  // ("100CANON/IMG_0001.JPG"), in CP932.
  std::string ShownName(int index) const;
  // The file's own name as the list shows it, without a folder.
  std::string FileName(int index) const;
  // The list's record of the file; nil only when the list has none.
  const filelist::TInfo* Info(int index) const;
  // The path that reaches the file, as the file system names it.
  std::string Path(int index) const;

  // A folder that could not be read to its end: its files, or some of
  // them, are not among those listed.
  struct UnreadableFolder {
    std::string shown;  // below the chosen directory, CP932; "" for the chosen one
    int error = 0;      // why (an errno value)
  };
  const std::vector<UnreadableFolder>& Unreadable() const { return unreadable_; }

 private:
  struct Folder {
    std::string path;          // on disk
    std::string shown_prefix;  // CP932, "" or ending in "/"
    std::unique_ptr<filelist::TFileList> list;
    int first = 0;  // index of its first file among all
  };
  // Adds the folders below `path` to `below`, depth first, unlisted.
  // Folders that cannot be read go into `unreadable`.
  static void AddTree(const std::string& path, const std::string& shown_prefix,
                      std::string_view skipped_folder, std::vector<Folder>& below,
                      std::vector<UnreadableFolder>& unreadable);
  // `directory`'s files that match `masks`.
  static std::unique_ptr<filelist::TFileList> ListFolder(const std::string& directory,
                                                         const std::vector<std::string>& masks);
  // Gives every folder its list of files.
  static void ListFolders(std::vector<Folder>& folders, const std::vector<std::string>& masks);
  const Folder& FolderOf(int index) const;

  std::vector<Folder> folders_;
  int count_ = 0;
  std::vector<UnreadableFolder> unreadable_;
};

}  // namespace app
