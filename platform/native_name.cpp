#include "platform/native_name.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include "platform/cp932.h"

namespace platform {
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string NormalFormC(std::string_view native) {
  if (IsAscii(native)) return std::string(native);
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(nullptr, 0, nullptr, native.data(), static_cast<int32_t>(native.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::string(native);
  status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(native);
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(native.data(), static_cast<int32_t>(native.size())));
  if (nfc->isNormalized(text, status) && U_SUCCESS(status)) return std::string(native);
  status = U_ZERO_ERROR;
  const icu::UnicodeString composed = nfc->normalize(text, status);
  if (U_FAILURE(status)) return std::string(native);
  std::string out;
  composed.toUTF8String(out);
  return out;
}

namespace {

// The exact CP932 form of a name already in normal form C.
std::optional<std::string> ExactCp932(std::string_view composed) {
  auto cp932 = Utf8ToCp932(composed);
  if (!cp932) return std::nullopt;
  // Several characters share one CP932 code (the wave dash and the
  // full-width tilde, for one); only a name that comes back unchanged is
  // shown exactly.
  auto back = Cp932ToUtf8(*cp932);
  if (!back || *back != composed) return std::nullopt;
  return cp932;
}

// The exact CP932 form of a name on disk, given with its normal form C. A
// name that converts as it stands keeps that form: CP932 itself has
// characters that normal form C replaces ("Å" 0x81F0 is U+212B, whose normal
// form has no CP932 code; the compatibility ideographs of 0xFA40 on), and a
// name that converted before must be shown as before.
std::optional<std::string> ExactCp932(std::string_view native, std::string_view composed) {
  if (auto exact = ExactCp932(native)) return exact;
  if (composed == native) return std::nullopt;
  return ExactCp932(composed);
}

}  // namespace

TShownName ShowNativeName(std::string_view native, std::string_view composed) {
  if (auto exact = ExactCp932(native, composed)) return {std::move(*exact), true};
  return {Utf8ToCp932Lossy(composed), false};
}

std::optional<std::string> ToNativePath(std::string_view cp932_path) {
  if (cp932_path.empty() || cp932_path.find('\0') != std::string_view::npos) return std::nullopt;
  return Cp932ToUtf8(cp932_path);
}

std::optional<std::string> FromNativeName(std::string_view native_name) {
  return ExactCp932(native_name, NormalFormC(native_name));
}

TShownName ShowNativeName(std::string_view native_name) {
  return ShowNativeName(native_name, NormalFormC(native_name));
}

}  // namespace platform
