// Names on disk: the file system's own bytes, and the CP932 text the
// program shows and composes with. The rules that turn the one into the
// other, and back, are here and nowhere else.
//
// A name on disk that has no exact CP932 form as it stands is brought to
// Unicode normal form C, so that a name another system wrote with separate
// voiced-sound marks ("か" + U+3099) converts like the composed one ("が").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The native path of a CP932 path (a name the program composed, the folder
// name typed by the user); no value when the bytes are not CP932, hold a
// NUL byte or are empty.
std::optional<std::string> ToNativePath(std::string_view cp932_path);

// The CP932 form of a name or path on disk; no value unless it (in normal
// form C) converts there and back unchanged, so that the CP932 text stands
// for this name and no other.
std::optional<std::string> FromNativeName(std::string_view native_name);

// How the program shows a name or path on disk: its exact CP932 form when
// there is one, else with "?" for each character that has none ("〜" shows
// as "～", which is another name). `Exact` tells which.
struct TShownName {
  std::string Text;
  bool Exact = true;
};
TShownName ShowNativeName(std::string_view native_name);

// The same for a name whose normal form C the caller already has.
TShownName ShowNativeName(std::string_view native_name, std::string_view composed);

// A name in normal form C; a name that is not UTF-8 stays as it is (it has
// no CP932 form either way).
std::string NormalFormC(std::string_view native);

}  // namespace platform
