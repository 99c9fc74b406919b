// TPopupMenu: a context menu of plain items. A control that owns one opens
// it at a screen point; OnPopup runs first, so that the owner can set the
// items' states from what is true at that moment, and a chosen item fires
// its OnClick once the menu has closed. The window side stays behind this
// header.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/control/geometry.h"
#include "platform/persistent.h"

namespace platform {

class TMenuItem : public TObject {
 public:
  // CP932 bytes; "&" marks the access key, "-" alone makes a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool IsSeparator() const { return caption_ == "-"; }
  // The key combination shown beside the caption, in its text form
  // ("Ctrl+Z"); empty for none.
  const std::string& ShortCut() const { return shortcut_; }
  void SetShortCut(std::string shortcut) { shortcut_ = std::move(shortcut); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }

  // What choosing the item does; a disabled item or a separator does nothing.
  void Click();
  TNotifyEvent OnClick;

 private:
  std::string caption_;
  std::string shortcut_;
  bool enabled_ = true;
  bool checked_ = false;
};

class TPopupMenu : public TObject {
 public:
  TPopupMenu();
  ~TPopupMenu() override;
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // The menu owns its items and keeps them in the order they were added.
  TMenuItem& Add(std::unique_ptr<TMenuItem> item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

  // Runs OnPopup, then shows the items at a point of the screen and returns
  // at once; the choice arrives from the event loop. Needs the application
  // object; a menu still open is closed first.
  virtual void Popup(int x, int y);
  // Whether the menu is on the screen.
  bool IsOpen() const;
  // Closes the menu without a choice.
  void Close();

  // A key pressed in the menu's owner: the item whose shortcut it is (text
  // form, "Ctrl+Z") is clicked when it is enabled, after OnPopup has brought
  // the items' states up to date, so that a shortcut acts exactly when its
  // item could be chosen. `key` is a virtual-key code; letters and digits
  // have shortcuts. Whether an item has this shortcut.
  bool IsShortCut(int key, bool shift, bool ctrl, bool alt);

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup();

 private:
  struct Window;

  std::vector<std::unique_ptr<TMenuItem>> items_;
  std::unique_ptr<Window> window_;
};

}  // namespace platform
