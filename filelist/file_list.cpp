#include "filelist/file_list.h"

#include "platform/file_system.h"

namespace filelist {

TFileList::TFileList(platform::TComponent* owner)
    : TComponent(owner),
      Files_(std::make_unique<platform::TStringList>()),
      FMask(std::make_unique<platform::TStringList>()) {}

TFileList::~TFileList() {
  FTimer.reset();
  ClearObjects();
}

void TFileList::SetDirectory(std::string_view path) {
  if (path == FDirectory) return;
  FDirectory = path;
  Rebuild();
  DirChange();
}

void TFileList::SetFileType(TFileType file_type) {
  if (file_type == FFileType) return;
  FFileType = file_type;
  Rebuild();
}

void TFileList::SetMask(const platform::TStrings& list) {
  if (&list == FMask.get()) return;
  FMask->Assign(&list);
  Rebuild();
}

void TFileList::SetDirBox(TDirectoryBox* box) {
  if (FDirBox == box) return;
  if (FDirBox) FDirBox->RemoveFreeNotification(this);
  FDirBox = box;
  // Told when the box goes away, whoever owns it.
  if (FDirBox) FDirBox->FreeNotification(this);
}

void TFileList::ClearObjects() {
  platform::TStringsUpdate update(*Files_);
  for (int i = 0; i < Files_->Count(); ++i)
    if (Files_->Objects(i)) Files_->PutObject(i, nullptr);
  infos_.clear();
}

void TFileList::Rebuild() {
  const int attr = FFileType.AttributeMask();
  ClearObjects();
  Files_->Clear();
  list_error_ = 0;
  if (!FFileType.Empty()) {
    platform::TStringsUpdate update(*Files_);
    for (int m = 0; m < FMask->Count(); ++m) {
      // A mask holding "/" would list another folder than the one the
      // names are then looked for in: it lists nothing.
      int error = 0;
      std::vector<platform::TSearchRec> found =
          platform::FindFiles(FDirectory, FMask->Get(m), attr, &error);
      if (error != 0) list_error_ = error;
      Files_->SetCapacity(Files_->Count() + static_cast<int>(found.size()));
      for (auto& rec : found) {
        if (!FFileType.Contains(ftNormal) && (rec.Attr & attr) == 0) continue;
        auto info = std::make_unique<TInfo>();
        info->Time = rec.Time;
        info->Size = rec.Size;
        info->Attr = rec.Attr;
        info->NameHasCp932Form = rec.NameHasCp932Form;
        info->NativeName = std::move(rec.NativeName);
        std::string shown =
            (rec.Attr & platform::faDirectory) ? "[" + rec.Name + "]" : std::move(rec.Name);
        Files_->AddObject(shown, info.get());
        infos_.push_back(std::move(info));
      }
    }
  }
  Files_->Sort();
}

void TFileList::Loaded() {
  TComponent::Loaded();
  if (!FDirBox) return;
  FTimer = std::make_unique<platform::TTimer>();
  FTimer->SetInterval(200);
  FTimer->OnTimer = [this](platform::TObject*) { TimerTick(); };
  FTimer->SetEnabled(true);
}

void TFileList::TimerTick() {
  // The box may have gone since the timer started; then there is nothing to follow.
  if (FDirBox) SetDirectory(FDirBox->Directory());
}

void TFileList::Notification(platform::TComponent* component, platform::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == platform::opRemove && component != nullptr && component == FDirBox)
    FDirBox = nullptr;
}

void TFileList::Change() {
  if (OnChange) OnChange(this);
}

void TFileList::DirChange() {
  if (OnDirChange) OnDirChange(this);
}

}  // namespace filelist
