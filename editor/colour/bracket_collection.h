// Bracket regions for the lexer: each item names a left and a right bracket
// (a block comment, say) and the colour of the text between them. A region
// may run over several rows.
#pragma once

#include <memory>
#include <string>
#include <tuple>

#include "editor/colour/color_settings.h"
#include "platform/collection.h"
#include "platform/persistent.h"

namespace editor {

class TEditorBracketItem : public platform::TCollectionItem {
 public:
  TEditorBracketItem() : FItemColor(std::make_unique<TEditorColor>()) {}

  // The colour of the region. It reports to nobody: a change shows at the
  // next repaint.
  TEditorColor& ItemColor() const { return *FItemColor; }
  void SetItemColor(const TEditorColor& value) { FItemColor->Assign(&value); }
  const std::string& LeftBracket() const { return FLeftBracket; }
  const std::string& RightBracket() const { return FRightBracket; }
  void SetLeftBracket(std::string value) { FLeftBracket = std::move(value); }
  void SetRightBracket(std::string value) { FRightBracket = std::move(value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  std::unique_ptr<TEditorColor> FItemColor;
  std::string FLeftBracket;
  std::string FRightBracket;

  static constexpr auto Fields() {
    return std::tuple{&TEditorBracketItem::FItemColor, &TEditorBracketItem::FLeftBracket,
                      &TEditorBracketItem::FRightBracket};
  }
};

class TEditorBracketCollection : public platform::TCollection {
 public:
  // A row's bracket state keeps the index of its open region in a small
  // field, so the number of regions is limited.
  static constexpr int kMaxItems = 14;

  // Raises an error with "TEditorBracketCollection" CR LF "You can not add
  // item over 14" when the collection is full.
  TEditorBracketItem* Add() override;
  TEditorBracketItem* Items(int index) const {
    return static_cast<TEditorBracketItem*>(TCollection::Items(index));
  }

  // Fired after each change of the collection, with the collection as sender.
  const platform::TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(platform::TNotifyEvent handler) { FOnChange = std::move(handler); }

  // Each sets one value in every item's colour, with one change of the collection.
  virtual void SetAllBkColor(platform::TColor color);
  virtual void SetAllColor(platform::TColor color);
  virtual void SetAllStyle(platform::TFontStyles styles);

  void Assign(const platform::TPersistent* source) override;

 protected:
  std::unique_ptr<platform::TCollectionItem> CreateItem() override;
  void Update(platform::TCollectionItem* item) override;

 private:
  template <class Write>
  void WriteAllItems(Write write);

  platform::TNotifyEvent FOnChange;
};

}  // namespace editor
