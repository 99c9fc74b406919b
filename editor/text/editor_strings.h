// The editor's public line view (the control's Lines): the logical lines of
// its screen-row list through the string-list interface. It keeps no text of
// its own. Put, Add, Insert and Delete go through the row list's editing
// primitive, so each is wrapped, undoable on its own and shown like a typed
// change, and the caret follows it; setting the whole text, loading a file,
// clearing and reading a form fill the rows directly and leave no undo.
// Many lines at once (AddStrings, AddLines) leave what as many Adds leave,
// at the cost of one.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "editor/text/editor_strings_owner.h"
#include "editor/text/form_stream.h"
#include "editor/text/screen_strings.h"
#include "editor/text/text_file_loader.h"
#include "platform/string_list.h"

namespace editor {

class TEditorStrings : public platform::TStrings {
 public:
  explicit TEditorStrings(TEditorStringsOwner& owner) : FOwner(owner) {}

  // The stored property "Strings": one string per logical line.
  void DefineProperties(TFiler& filer);
  // From another string list: its text, then the caret below the last row.
  void Assign(const platform::TPersistent* source) override;
  std::string Get(int index) const override;
  int GetCount() const override;
  std::string GetTextStr() const override;
  void Put(int index, const std::string& s) override;
  void SetTextStr(std::string_view text) override;
  void SetUpdateState(bool updating) override;
  int Add(const std::string& s) override;
  // Adds each line as Add would, inside one update: the same rows, caret
  // and undo steps (one a line, as far as the undo list keeps them), with
  // the controls told once and one row replacement for the lines whose
  // steps the list would drop anyway.
  void AddLines(std::span<const std::string> lines);
  void AddStrings(const platform::TStrings& strings) override;
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& s) override;
  void LoadFromFile(std::string_view path) override { LoadFromFile(path, nullptr); }
  // The same, with the file's line breaks and end mark noted in `notes`.
  void LoadFromFile(std::string_view path, TTextFileNotes* notes);

  // First row of line `index`; the line count gives the row count. Raises the
  // list index error for an index outside 0..line count.
  int LineToRow(int index) const;

  // The read block of LoadFromFile; tests shrink it so that lines, line
  // breaks and the end mark fall on block boundaries often.
  std::size_t LoadBlockSize() const { return FLoadBlockSize; }
  void SetLoadBlockSize(std::size_t size) { FLoadBlockSize = size == 0 ? kLoadBlockSize : size; }

 private:
  TEditorScreenStrings& Rows() const { return FOwner.ScreenStrings(); }
  // Whether a stored form must hold the lines: they differ from the ancestor's.
  bool HasLinesToStore(const TFiler& filer) const;
  void ReadLines(TReader& reader);
  void WriteLines(TWriter& writer) const;

  TEditorStringsOwner& FOwner;
  std::size_t FLoadBlockSize = kLoadBlockSize;
};

}  // namespace editor
