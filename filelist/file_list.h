// TFileList: the entries of one directory that match a set of masks and a
// set of attribute kinds, as a list of names sorted the way users expect,
// each with a small record of its time, size and attributes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/component.h"
#include "platform/dos_date_time.h"
#include "platform/string_list.h"
#include "platform/timer.h"

namespace filelist {

// The kinds of entries a list wants; each stands for one attribute bit.
enum TFileTypeItem { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

// A set of TFileTypeItem, one byte.
class TFileType {
 public:
  constexpr TFileType() = default;
  constexpr TFileType(std::initializer_list<TFileTypeItem> items) {
    for (auto item : items) bits_ |= Bit(item);
  }
  constexpr bool Contains(TFileTypeItem item) const { return (bits_ & Bit(item)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  // The attribute bits the members stand for: [ftNormal] gives 64.
  constexpr int AttributeMask() const { return bits_; }
  friend constexpr bool operator==(TFileType, TFileType) = default;

 private:
  static constexpr std::uint8_t Bit(TFileTypeItem item) {
    return static_cast<std::uint8_t>(1u << item);
  }
  std::uint8_t bits_ = 0;
};

// What a directory search told about one listed entry.
class TInfo : public platform::TObject {
 public:
  platform::DosDateTime Time = 0;  // last write, local DOS date-time
  std::int64_t Size = 0;           // bytes
  int Attr = 0;                    // attribute bits
  // The entry's name on disk: what reaches it. The listed name is its CP932
  // form, which for a name without one only shows it approximately.
  std::string NativeName;
  // False when the listed name shows the name on disk only approximately.
  bool NameHasCp932Form = true;
};

// The least directory box a file list can follow: a component with a
// current directory. A real directory box derives from it.
class TDirectoryBox : public platform::TComponent {
 public:
  using TComponent::TComponent;
  virtual std::string Directory() const { return directory_; }
  virtual void SetDirectory(std::string directory) { directory_ = std::move(directory); }

 private:
  std::string directory_;
};

class TFileList : public platform::TComponent {
 public:
  explicit TFileList(platform::TComponent* owner = nullptr);
  ~TFileList() override;

  // The directory as the file system names it (its own bytes, like the
  // native paths of platform/file_system.h).
  const std::string& Directory() const { return FDirectory; }
  // A different path (compared byte for byte) is stored, listed and reported
  // through OnDirChange; the same path does nothing.
  void SetDirectory(std::string_view path);

  TFileType FileType() const { return FFileType; }
  void SetFileType(TFileType file_type);

  // The masks, one per line. Editing them here does not rebuild the list;
  // call Rebuild afterwards.
  platform::TStringList& Mask() { return *FMask; }
  const platform::TStringList& Mask() const { return *FMask; }
  // Copies the lines of `list` into the masks and rebuilds (unless `list`
  // is the mask list itself).
  void SetMask(const platform::TStrings& list);

  // Read and written directly; the list follows the box's directory from
  // Loaded on.
  TDirectoryBox* DirBox() const { return FDirBox; }
  void SetDirBox(TDirectoryBox* box);

  // Lists the directory again, sorted with the user's case-ignoring collation.
  void Rebuild();
  // Why the last listing could not read the directory to its end (an errno
  // value); 0 when it could, or when there was nothing to list.
  int ListError() const { return list_error_; }

  // The names found, in CP932; directories as "[name]". Each item's object
  // is its TInfo, whose NativeName reaches the entry.
  const platform::TStringList& Files() const { return *Files_; }
  // The TInfo of item `index`; nil after ClearObjects.
  TInfo* Info(int index) const { return static_cast<TInfo*>(Files_->Objects(index)); }
  // Frees every TInfo; the names stay.
  void ClearObjects();

  void Loaded() override;

  platform::TNotifyEvent OnChange;
  platform::TNotifyEvent OnDirChange;

  // The polling timer Loaded made, for those who watch it; nil otherwise.
  const platform::TTimer* Timer() const { return FTimer.get(); }

 protected:
  void Notification(platform::TComponent* component, platform::TOperation operation) override;
  virtual void Change();
  virtual void DirChange();

 private:
  void TimerTick();

  std::string FDirectory;
  TFileType FFileType{ftNormal};
  std::unique_ptr<platform::TStringList> Files_;
  std::unique_ptr<platform::TStringList> FMask;
  TDirectoryBox* FDirBox = nullptr;
  // The records the items of Files point to.
  std::vector<std::unique_ptr<TInfo>> infos_;
  std::unique_ptr<platform::TTimer> FTimer;
  int list_error_ = 0;
};

}  // namespace filelist
