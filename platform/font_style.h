// A set of font styles, as a colour slot or a font carries it.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace platform {

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle style : styles) bits_ |= Bit(style);
  }

  constexpr bool Contains(TFontStyle style) const { return (bits_ & Bit(style)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(TFontStyle style) { bits_ |= Bit(style); }
  constexpr void Exclude(TFontStyle style) { bits_ &= static_cast<std::uint8_t>(~Bit(style)); }

  constexpr TFontStyles operator+(TFontStyles other) const { return FromBits(bits_ | other.bits_); }
  constexpr TFontStyles operator-(TFontStyles other) const {
    return FromBits(bits_ & ~other.bits_);
  }
  constexpr TFontStyles operator*(TFontStyles other) const { return FromBits(bits_ & other.bits_); }
  constexpr bool operator==(const TFontStyles&) const = default;

 private:
  static constexpr std::uint8_t Bit(TFontStyle style) {
    return static_cast<std::uint8_t>(1u << style);
  }
  static constexpr TFontStyles FromBits(unsigned bits) {
    TFontStyles result;
    result.bits_ = static_cast<std::uint8_t>(bits);
    return result;
  }

  std::uint8_t bits_ = 0;
};

}  // namespace platform
