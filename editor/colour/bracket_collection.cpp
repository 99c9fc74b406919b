#include "editor/colour/bracket_collection.h"

#include <stdexcept>
#include <string>

namespace editor {

void TEditorBracketItem::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorBracketItem*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  // An item has no change event of its own: the copy notifies nobody.
  platform::CopyFields(*this, *other, Fields());
}

TEditorBracketItem* TEditorBracketCollection::Add() {
  if (Count() == kMaxItems) {
    throw std::runtime_error("TEditorBracketCollection\r\nYou can not add item over " +
                             std::to_string(kMaxItems));
  }
  return static_cast<TEditorBracketItem*>(TCollection::Add());
}

std::unique_ptr<platform::TCollectionItem> TEditorBracketCollection::CreateItem() {
  return std::make_unique<TEditorBracketItem>();
}

void TEditorBracketCollection::Update(platform::TCollectionItem*) {
  if (FOnChange) FOnChange(this);
}

template <class Write>
void TEditorBracketCollection::WriteAllItems(Write write) {
  platform::TCollectionUpdate update(*this);
  for (int i = 0; i < Count(); ++i) write(Items(i)->ItemColor());
}

void TEditorBracketCollection::SetAllBkColor(platform::TColor color) {
  WriteAllItems([color](TEditorColor& c) { c.SetBkColor(color); });
}

void TEditorBracketCollection::SetAllColor(platform::TColor color) {
  WriteAllItems([color](TEditorColor& c) { c.SetColor(color); });
}

void TEditorBracketCollection::SetAllStyle(platform::TFontStyles styles) {
  WriteAllItems([styles](TEditorColor& c) { c.SetStyle(styles); });
}

void TEditorBracketCollection::Assign(const platform::TPersistent* source) {
  // Only from another bracket collection; anything else fails before a
  // single item is lost.
  if (!dynamic_cast<const TEditorBracketCollection*>(source)) {
    TPersistent::Assign(source);
    return;
  }
  TCollection::Assign(source);
}

}  // namespace editor
