// What the lexer recognises and how tokens are coloured: bracket regions,
// token colours, the comment start, quote, hex prefix, control codes, and
// whether web and mail addresses are picked out.
#pragma once

#include <memory>
#include <string>
#include <tuple>

#include "editor/colour/bracket_collection.h"
#include "editor/colour/color_settings.h"
#include "platform/notify_persistent.h"

namespace editor {

class TEditorViewInfo : public platform::TNotifyPersistent {
 public:
  // `editor` is the control the view belongs to; the view does not own it.
  explicit TEditorViewInfo(platform::TObject* editor = nullptr);

  TEditorBracketCollection& Brackets() const { return *FBrackets; }
  TEditorColors& Colors() const { return *FColors; }
  const std::string& Commenter() const { return FCommenter; }
  bool ControlCode() const { return FControlCode; }
  const std::string& HexPrefix() const { return FHexPrefix; }
  bool Mail() const { return FMail; }
  const std::string& Quotation() const { return FQuotation; }
  bool Url() const { return FUrl; }
  platform::TObject* Editor() const { return FEditor; }

  // Writing the brackets or the colours copies into the owned ones.
  void SetBrackets(const TEditorBracketCollection& value) { FBrackets->Assign(&value); }
  void SetColors(const TEditorColors& value) { FColors->Assign(&value); }
  void SetCommenter(std::string value) { ChangeField(FCommenter, std::move(value)); }
  void SetControlCode(bool value) { ChangeField(FControlCode, value); }
  void SetHexPrefix(std::string value) { ChangeField(FHexPrefix, std::move(value)); }
  void SetMail(bool value) { ChangeField(FMail, value); }
  // A quote is one character: only the first byte of `value` is kept.
  void SetQuotation(std::string value);
  void SetUrl(bool value) { ChangeField(FUrl, value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  std::unique_ptr<TEditorBracketCollection> FBrackets;
  std::unique_ptr<TEditorColors> FColors;
  std::string FCommenter;
  bool FControlCode = false;
  std::string FHexPrefix;
  bool FMail = false;
  std::string FQuotation;
  bool FUrl = false;
  platform::TObject* FEditor;

  // What Assign copies: the brackets and the colours with their own Assign,
  // the rest as it stands (a stored quote is taken whole). The control the
  // view belongs to stays.
  static constexpr auto Fields() {
    using V = TEditorViewInfo;
    return std::tuple{&V::FBrackets,  &V::FColors, &V::FCommenter, &V::FControlCode,
                      &V::FHexPrefix, &V::FMail,   &V::FQuotation, &V::FUrl};
  }
};

}  // namespace editor
