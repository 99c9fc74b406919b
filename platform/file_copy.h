// Copying a file the way the copy run needs it: complete under its new name
// or not there at all, in pieces so that a stop is seen while a large file
// is copied, and with the reason when it fails.
#pragma once

#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>

namespace platform {

// The named temporary file a copy is writing, where the file system has no
// unnamed files, so that a program that must end at once can remove it.
class UnfinishedCopy {
 public:
  void Set(const std::string& path);
  void Clear();
  // Removes the file now, if there is one; callable from any thread.
  void RemoveNow();

 private:
  std::mutex mutex_;
  std::string path_;
};

// How a copy ended.
struct CopyOutcome {
  enum class Side { kNone, kSource, kTarget };
  int error = 0;  // the errno of what failed; 0 when nothing did
  Side side = Side::kNone;
  // The stop came before the copy was complete; nothing of it is left.
  bool cancelled = false;
  // The copy is complete, but its file system could not keep the source's
  // permission bits or times (a FAT card refuses to change a mode).
  bool attributes_not_kept = false;

  bool Copied() const { return error == 0 && !cancelled; }
};

// What a copy looks at while it goes.
struct CopyControl {
  std::stop_token stop;  // asked between two pieces of the data
  // The copy's data reaches the disk before the copy takes its name.
  bool flush = false;
  UnfinishedCopy* unfinished = nullptr;
};

// Copies a regular file over whatever `target` names, keeping the source's
// last-write time and permission bits where the target's file system can.
// The data goes to a file without a name in the target's directory (where
// the file system has none, a hidden temporary file) that takes the
// target's place only when it is complete: on failure or a stop the target
// is as it was and no partial file is left behind.
CopyOutcome CopyFile(std::string_view source, std::string_view target,
                     const CopyControl& control = {});

// The same, true when the copy is complete.
inline bool CopyFileOverwriting(std::string_view source, std::string_view target) {
  return CopyFile(source, target).Copied();
}

// Writes everything the file system holding `native_folder` keeps in
// memory to its disk, the folder's own entries included; 0, or the errno of
// what failed.
int FlushDrive(std::string_view native_folder);

}  // namespace platform
