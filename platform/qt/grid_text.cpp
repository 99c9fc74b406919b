#include "platform/qt/grid_text.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>

#include "platform/control/cell_text.h"

namespace platform::control_detail {

GridText::FontGlyphs& GridText::GlyphsOf(const QFont& font) {
  if (last_ && last_->font == font) return *last_;
  std::unique_ptr<FontGlyphs>& slot = cache_[font.key()];
  if (!slot) {
    slot = std::make_unique<FontGlyphs>();
    slot->font = font;
    slot->fonts.push_back(QRawFont::fromFont(font));
    slot->ascent = QFontMetrics(font).ascent();
  }
  last_ = slot.get();
  return *slot;
}

GridText::GlyphRef GridText::Resolve(FontGlyphs& f, char32_t c) {
  if (auto it = f.glyphs.find(c); it != f.glyphs.end()) return it->second;
  GlyphRef ref;
  QString s = QString::fromUcs4(&c, 1);
  if (f.fonts[0].isValid() && f.fonts[0].supportsCharacter(c)) {
    QList<quint32> indexes = f.fonts[0].glyphIndexesForString(s);
    if (!indexes.isEmpty()) ref.glyph = indexes.front();
  } else {
    // Let the text engine pick the fallback font the desktop would use.
    QTextLayout layout(s, f.font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (!runs.isEmpty() && !runs.front().glyphIndexes().isEmpty()) {
      QRawFont raw = runs.front().rawFont();
      ref.glyph = runs.front().glyphIndexes().front();
      auto found = std::find(f.fonts.begin(), f.fonts.end(), raw);
      ref.font = static_cast<int>(found - f.fonts.begin());
      if (found == f.fonts.end()) f.fonts.push_back(raw);
    }
  }
  f.glyphs.emplace(c, ref);
  return ref;
}

int GridText::Draw(QPainter& painter, const QFont& font, int x, int y, std::string_view text,
                   std::span<const int> dx, int default_advance, const QColor& color) {
  FontGlyphs& f = GlyphsOf(font);
  const qreal baseline = y + f.ascent;
  QList<quint32> indexes;
  QList<QPointF> positions;
  int run_font = -1;
  painter.setPen(color);
  auto flush = [&] {
    if (indexes.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(f.fonts[run_font]);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
    indexes.clear();
    positions.clear();
  };

  int cell_x = x;
  for (std::size_t i = 0; i < text.size();) {
    CellChar ch = DecodeCellChar(text, i);
    int advance = 0;
    for (int k = 0; k < ch.bytes && i + k < text.size(); ++k)
      advance += AdvanceOf(dx, i + k, default_advance);
    if (ch.code != U' ') {
      GlyphRef g = Resolve(f, ch.code);
      if (g.font != run_font) {
        flush();
        run_font = g.font;
      }
      indexes.push_back(g.glyph);
      positions.push_back(QPointF(cell_x, baseline));
    }
    cell_x += advance;
    i += ch.bytes;
  }
  flush();
  return cell_x - x;
}

}  // namespace platform::control_detail
