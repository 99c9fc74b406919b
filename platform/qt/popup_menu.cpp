// The menu's window is a QMenu built afresh at each opening from the items'
// present states, and gone when it closes.
#include "platform/control/popup_menu.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QString>

#include "platform/cp932.h"

namespace platform {

void TMenuItem::Click() {
  if (enabled_ && !IsSeparator() && OnClick) OnClick(this);
}

struct TPopupMenu::Window {
  QPointer<QMenu> menu;
};

TPopupMenu::TPopupMenu() : window_(std::make_unique<Window>()) {}

TPopupMenu::~TPopupMenu() {
  // No choice may reach items that are gone.
  delete window_->menu.data();
}

TMenuItem& TPopupMenu::Add(std::unique_ptr<TMenuItem> item) {
  items_.push_back(std::move(item));
  return *items_.back();
}

void TPopupMenu::DoPopup() {
  if (OnPopup) OnPopup(this);
}

bool TPopupMenu::IsShortCut(int key, bool shift, bool ctrl, bool alt) {
  const bool letter_or_digit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  if (!letter_or_digit) return false;
  std::string text;
  if (ctrl) text += "Ctrl+";
  if (shift) text += "Shift+";
  if (alt) text += "Alt+";
  text += static_cast<char>(key);
  for (const auto& item : items_) {
    if (item->ShortCut() != text) continue;
    DoPopup();
    item->Click();
    return true;
  }
  return false;
}

bool TPopupMenu::IsOpen() const {
  return window_->menu && window_->menu->isVisible();
}

void TPopupMenu::Close() {
  delete window_->menu.data();
}

void TPopupMenu::Popup(int x, int y) {
  Close();
  if (!QApplication::instance()) return;
  DoPopup();
  auto* menu = new QMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const auto& item : items_) {
    if (item->IsSeparator()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromStdString(Cp932ToUtf8Lossy(item->Caption())));
    if (!item->ShortCut().empty())
      action->setShortcut(QKeySequence(QString::fromStdString(item->ShortCut())));
    action->setEnabled(item->Enabled());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    TMenuItem* chosen = item.get();
    QObject::connect(action, &QAction::triggered, menu, [chosen] { chosen->Click(); });
  }
  window_->menu = menu;
  menu->popup(QPoint(x, y));
}

}  // namespace platform
