// Masks as users know them from their file managers' wildcards.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when `name` matches the wildcard `mask` as users know it: letter
// case ignored, "*" any run, "?" exactly one character (a double-byte
// character is one), a final ".*" also matches a name without that
// extension, so "*.*" and "*" match every name, and a final "." matches a
// name without any extension ("*." every such name). A mask holding "/"
// matches nothing: masks match names, never paths.
bool MatchesMask(std::string_view cp932_name, std::string_view cp932_mask);

// True when `mask` names something in another folder.
bool MaskHasFolderPart(std::string_view cp932_mask);

// A mask prepared once for the many names of a directory.
class WildcardMask {
 public:
  // No value for a mask that matches nothing: not CP932, empty, or with a
  // folder part.
  static std::optional<WildcardMask> FromCp932(std::string_view cp932_mask);

  // Whether a name on disk, given in normal form C, matches.
  bool Matches(std::string_view composed_name) const;

 private:
  explicit WildcardMask(std::u32string mask);

  std::u32string mask_;
  std::optional<std::u32string> without_any_extension_;
  bool bare_names_only_ = false;
};

}  // namespace platform
