// What the file system that will hold a new file allows in its name, and
// when it takes two names for one: the rules of FAT, exFAT and NTFS (on a
// card, a stick, a shared Windows disk) are not those of the system's own
// disks. The rule for a path is read from the mount table, so that FUSE
// mounts, which name their kind there, are told apart too.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// What is wrong with a name, for the file system it is meant for.
enum class NameProblem {
  kNone,
  kBadCharacter,        // one of " * / : < > ? \ | or a control character
  kTrailingDotOrSpace,  // the file system would drop it and name another file
  kTooLong,             // more than the file system takes
};

class DestinationRules {
 public:
  // The rules for names made inside the folder `native_folder`; a folder
  // that does not exist yet is made inside its nearest existing ancestor,
  // whose rules it takes.
  static DestinationRules ForFolder(std::string_view native_folder);
  // The rules of a file-system kind as the mount table names it ("ext4",
  // "vfat", "fuseblk", "fuse.exfat", ...); `folded` for an ext4 folder that
  // ignores case. Names may have at most `max_bytes` bytes where the kind
  // counts bytes.
  static DestinationRules ForKind(std::string_view kind, bool folded = false, int max_bytes = 255);

  // The kind of file system, as the mount table names it; "" when unknown.
  const std::string& Kind() const { return kind_; }
  // Two names that differ only in the case of their letters name one file.
  bool IgnoresCase() const { return ignores_case_; }

  // What is wrong with `native_name` as a file's name in the folder.
  NameProblem Check(std::string_view native_name) const;
  // The form in which two names are the same file's name here: the name
  // itself, or where case does not count, its letters in upper case.
  std::string SameNameKey(std::string_view native_name) const;

 private:
  std::string kind_;
  bool windows_names_ = false;  // FAT, exFAT, NTFS and shares of Windows
  bool ignores_case_ = false;
  int max_bytes_ = 255;
};

// The reason a name is refused, in the program's own words (UTF-8).
std::string NameProblemReason(NameProblem problem);

}  // namespace platform
