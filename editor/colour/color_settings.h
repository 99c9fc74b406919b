// The colours tokens are painted with: one slot per kind of text (plain
// words, comments, double-byte text, numbers, addresses, reserved words,
// strings, symbols) and one for the selection.
#pragma once

#include <array>
#include <memory>
#include <tuple>

#include "platform/colour.h"
#include "platform/font_style.h"
#include "platform/notify_persistent.h"

namespace editor {

// Background, text colour and font style of one kind of text.
class TEditorColor : public platform::TNotifyPersistent {
 public:
  platform::TColor BkColor() const { return FBkColor; }
  platform::TColor Color() const { return FColor; }
  platform::TFontStyles Style() const { return FStyle; }
  void SetBkColor(platform::TColor value) { ChangeField(FBkColor, value); }
  void SetColor(platform::TColor value) { ChangeField(FColor, value); }
  void SetStyle(platform::TFontStyles value) { ChangeField(FStyle, value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  friend class TEditorColors;  // sets every slot at once with one notification
  platform::TColor FBkColor = platform::clWindow;
  platform::TColor FColor = platform::clWindowText;
  platform::TFontStyles FStyle;

  static constexpr auto Fields() {
    return std::tuple{&TEditorColor::FBkColor, &TEditorColor::FColor, &TEditorColor::FStyle};
  }
};

// The slots, in the order they are published.
enum class TEditorColorSlot { Ank, Comment, DBCS, Int, Mail, Reserve, Select, Str, Symbol, Url };
inline constexpr int kEditorColorSlotCount = 10;

class TEditorColors : public platform::TNotifyPersistent {
 public:
  TEditorColors();

  TEditorColor& Slot(TEditorColorSlot slot) const { return *FSlots[static_cast<int>(slot)]; }
  TEditorColor& Ank() const { return Slot(TEditorColorSlot::Ank); }
  TEditorColor& Comment() const { return Slot(TEditorColorSlot::Comment); }
  TEditorColor& DBCS() const { return Slot(TEditorColorSlot::DBCS); }
  TEditorColor& Int() const { return Slot(TEditorColorSlot::Int); }
  TEditorColor& Mail() const { return Slot(TEditorColorSlot::Mail); }
  TEditorColor& Reserve() const { return Slot(TEditorColorSlot::Reserve); }
  TEditorColor& Select() const { return Slot(TEditorColorSlot::Select); }
  TEditorColor& Str() const { return Slot(TEditorColorSlot::Str); }
  TEditorColor& Symbol() const { return Slot(TEditorColorSlot::Symbol); }
  TEditorColor& Url() const { return Slot(TEditorColorSlot::Url); }

  // Writing a slot copies into the one the colours own.
  void SetSlot(TEditorColorSlot slot, const TEditorColor& value) { Slot(slot).Assign(&value); }
  void SetAnk(const TEditorColor& value) { SetSlot(TEditorColorSlot::Ank, value); }
  void SetComment(const TEditorColor& value) { SetSlot(TEditorColorSlot::Comment, value); }
  void SetDBCS(const TEditorColor& value) { SetSlot(TEditorColorSlot::DBCS, value); }
  void SetInt(const TEditorColor& value) { SetSlot(TEditorColorSlot::Int, value); }
  void SetMail(const TEditorColor& value) { SetSlot(TEditorColorSlot::Mail, value); }
  void SetReserve(const TEditorColor& value) { SetSlot(TEditorColorSlot::Reserve, value); }
  void SetSelect(const TEditorColor& value) { SetSlot(TEditorColorSlot::Select, value); }
  void SetStr(const TEditorColor& value) { SetSlot(TEditorColorSlot::Str, value); }
  void SetSymbol(const TEditorColor& value) { SetSlot(TEditorColorSlot::Symbol, value); }
  void SetUrl(const TEditorColor& value) { SetSlot(TEditorColorSlot::Url, value); }

  // Each sets one value in every slot but Select, with one notification.
  virtual void SetAllBkColor(platform::TColor color);
  virtual void SetAllColor(platform::TColor color);
  virtual void SetAllStyle(platform::TFontStyles styles);

  void Assign(const platform::TPersistent* source) override;

 private:
  template <class Write>
  void WriteAllButSelect(Write write);

  std::array<std::unique_ptr<TEditorColor>, kEditorColorSlotCount> FSlots;

  // What Assign copies: every slot with its own Assign, Select last.
  static constexpr auto Fields() {
    using S = TEditorColorSlot;
    constexpr auto slot = [](S s) {
      return [s](const TEditorColors& colors) -> TEditorColor& { return colors.Slot(s); };
    };
    return std::tuple{slot(S::Ank),  slot(S::Comment), slot(S::DBCS),   slot(S::Int),
                      slot(S::Mail), slot(S::Str),     slot(S::Symbol), slot(S::Reserve),
                      slot(S::Url),  slot(S::Select)};
  }
};

}  // namespace editor
