// Draws CP932 text on the canvas's fixed cell grid with positioned glyphs:
// one glyph run per font used in a call, not one draw per character.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRawFont>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::control_detail {

class GridText {
 public:
  // Draws `text` with the top-left of its first cell at (x, y); byte i
  // advances by AdvanceOf(dx, i). Answers the width of all cells.
  int Draw(QPainter& painter, const QFont& font, int x, int y, std::string_view text,
           std::span<const int> dx, int default_advance, const QColor& color);

  // The advance of byte `i`: its entry of `dx`, the last entry past its end,
  // `default_advance` when `dx` is empty.
  static int AdvanceOf(std::span<const int> dx, std::size_t i, int default_advance) {
    if (dx.empty()) return default_advance;
    return i < dx.size() ? dx[i] : dx.back();
  }

 private:
  struct GlyphRef {
    int font = 0;  // index into FontGlyphs::fonts
    quint32 glyph = 0;
  };
  // The glyphs of one font, with the fallback fonts that supply what it lacks.
  struct FontGlyphs {
    QFont font;
    std::vector<QRawFont> fonts;
    std::unordered_map<char32_t, GlyphRef> glyphs;
    int ascent = 0;
  };

  FontGlyphs& GlyphsOf(const QFont& font);
  GlyphRef Resolve(FontGlyphs& f, char32_t c);

  std::map<QString, std::unique_ptr<FontGlyphs>> cache_;
  FontGlyphs* last_ = nullptr;
};

}  // namespace platform::control_detail
