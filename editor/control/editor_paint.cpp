// Painting: rows in token colours on the fixed cell grid, the selection, the
// end-of-file and line-break marks, the caret-row underline, and repainting
// only what a selection change touched.
#include <algorithm>
#include <span>

#include "editor/colour/token_queries.h"
#include "editor/control/editor.h"
#include "editor/text/dbcs.h"

namespace editor {

using platform::TRect;

namespace {

// The part of `text` drawn at `x` that can reach [left, right): whole
// characters only, with one cell to spare on each side.
std::string_view VisibleSlice(std::string_view text, int x, int cell, int left, int right,
                              int& first) {
  first = 0;
  const int length = static_cast<int>(text.size());
  if (cell <= 0) return text;
  int from = std::max(0, (left - x) / cell - 1);
  int to = std::min(length, (right - x) / cell + 2);
  if (from >= to) return {};
  // Start on a character: step through the bytes before `from`.
  int start = 0;
  while (start < from) {
    const int step = IsLeadByte(static_cast<unsigned char>(text[start])) ? 2 : 1;
    if (start + step > from) break;
    start += step;
  }
  from = start;
  first = from;
  return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

}  // namespace

int TEditor::BandHeight() const {
  return FCharHeight + ((Selected() || FFullRowPaint) ? FMargin->UnderlineHeight() : 0);
}

int TEditor::ColumnEdge(int col) const {
  return std::max(FMargin->Left(), FMargin->Left() + (col - FTopCol) * FCharWidth);
}

void TEditor::TextOutDx(const TRect& rect, int x, unsigned options, std::string_view text, int y) {
  Canvas().ExtTextOut(x, y, options, &rect, text, std::span<const int>(FCharDx));
}

// ------------------------------------------------------------------- PaintRect

void TEditor::PaintRect(const TRect& rect) {
  if (!CanDraw()) return;
  const int ml = FMargin->Left();
  const int mt = FMargin->Top();
  const int rh = RowHeight();
  if (rh <= 0) return;
  int l = std::max(ml, ml + FCharWidth * ((rect.Left - ml) / FCharWidth));
  int t = std::max(mt, rect.Top);
  t -= (t - mt) % rh;
  int b = rect.Bottom;
  if (b > mt && (b - mt) % rh > 0) b += rh - (b - mt) % rh;
  const bool underline =
      FMarks->Underline().Visible() && FUnderlineHideCount == 0 && UnderlineY(FRow) != -1;
  int i = FTopRow + (t - mt) / rh;
  const int n = (b - t) / rh;
  const int x0 = ml - FScrollPixels;
  TRect band{l, t, rect.Right, t + BandHeight()};
  const int count = RowCount();
  platform::TCanvas& canvas = Canvas();
  {
    TCaretHideGuard caret(*this);
    std::string text;
    for (int k = 0; k < n; ++k, ++i) {
      if (i < count) {
        text = DisplayText(FScreenStrings->RowText(i), ColumnMapSettings());
        if (Selected())
          DrawRowWithSelection(band, x0, i, text, band.Top);
        else
          DrawRow(band, x0, i, text, band.Top);
      } else {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = platform::bsSolid;
        canvas.FillRect(band);
        if (FMarks->EofMark().Visible() && i == count && i > 0 && RowEndKind(i - 1) != rkEof)
          DrawEofMark(x0, band.Top);
      }
      band.Top += rh;
      band.Bottom += rh;
    }
  }
  if (underline) DrawUnderline(FRow);
  if (FMarks->EofMark().Visible() && count == 0) DrawEofMark(x0, mt);
}

// ------------------------------------------------------------------------ rows

void TEditor::DrawRow(const TRect& band, int x, int row, const std::string& text, int y) {
  DrawRowText(band, x, row, text, y, false);
}

void TEditor::DrawSelectedRow(const TRect& band, int x, int row, const std::string& text, int y) {
  DrawRowText(band, x, row, text, y, true);
}

void TEditor::DrawRowText(const TRect& band, int x, int row, const std::string& text, int y,
                          bool selected) {
  if (band.IsEmpty()) return;
  if (FScreenStrings->BracketStates(row) == kBracketsUnknown)
    FScreenStrings->UpdateBrackets(row, false);
  platform::TCanvas& canvas = Canvas();
  const platform::TFont font = Font();
  const TEditorColor& select = FView->Colors().Select();
  const platform::TColor background = selected ? select.BkColor() : Color();
  const platform::TColor select_color = select.Color();
  canvas.Font = font;
  canvas.Brush.Color = background;
  canvas.Brush.Style = platform::bsSolid;
  int first = 0;
  if (FItalicSeen) {
    canvas.FillRect(band);
  } else {
    if (selected) canvas.Font.Color = select_color;
    const std::string_view slice = VisibleSlice(text, x, FCharWidth, band.Left, band.Right, first);
    if (slice.empty())
      canvas.FillRect(band);
    else
      TextOutDx(band, x + first * FCharWidth, platform::ETO_OPAQUE | platform::ETO_CLIPPED, slice,
                y);
  }

  std::string line;
  const std::string* drawn = &text;
  TRect clip = band;
  int line_x = x;
  if (!text.empty()) {
    int state = FScreenStrings->BracketStates(row);
    const bool wrap = WordWrap();
    if (wrap && row > 0 && RowEndKind(row - 1) == rkWrap) {
      // This row goes on a line: tokens that began on the row before are
      // recognised whole and coloured on both rows.
      if (FScreenStrings->BracketStates(row - 1) == kBracketsUnknown)
        FScreenStrings->UpdateBrackets(row - 1, false);
      state = FScreenStrings->BracketStates(row - 1);
      line = DisplayTextOf(row - 1);
      line_x -= static_cast<int>(line.size()) * FCharWidth;
      line += text;
    } else {
      line = text;
    }
    if (wrap && RowEndKind(row) == rkWrap && row + 1 < RowCount()) {
      clip.Right = std::min(clip.Right, line_x + static_cast<int>(line.size()) * FCharWidth);
      line += DisplayTextOf(row + 1);
    }
    drawn = &line;

    const platform::TColor default_bk = Color();
    const platform::TColor default_fg = font.Color;
    const platform::TFontStyles default_style = font.Style;
    std::unique_ptr<TEditorParser> parser = CreateParser(line, state);
    for (TTokenKind kind = parser->Token(); kind != tkEnd; kind = parser->NextToken()) {
      const int p = parser->SourcePos();
      const int token_left = line_x + p * FCharWidth;
      const int token_right = token_left + parser->TokenLength() * FCharWidth;
      if (token_right <= clip.Left) continue;
      if (token_left >= clip.Right) break;
      const TEditorColor* color = TokenColor(*this, *parser);
      platform::TColor bk = color ? color->BkColor() : default_bk;
      platform::TColor fg = color ? color->Color() : default_fg;
      platform::TFontStyles style = color ? color->Style() : default_style;
      if (FItalicSeen) {
        if (selected) {
          fg = select_color;
          canvas.Brush.Style = platform::bsClear;
        } else {
          canvas.Brush.Style = bk == default_bk ? platform::bsClear : platform::bsSolid;
          canvas.Brush.Color = bk;
        }
      } else if (selected) {
        if (!color || style == default_style) continue;
        fg = select_color;
        canvas.Brush.Style = platform::bsSolid;
        canvas.Brush.Color = background;
      } else {
        if (!color || (bk == default_bk && fg == default_fg && style == default_style)) continue;
        canvas.Brush.Style = platform::bsSolid;
        canvas.Brush.Color = bk;
      }
      canvas.Font.Color = fg;
      canvas.Font.Style = style;
      TextOutDx(clip, token_left, platform::ETO_CLIPPED, parser->TokenView(), y);
    }
    canvas.Brush.Style = platform::bsSolid;
  }
  DoDrawLine(clip, line_x, selected, row, *drawn, y);
  DrawRowMarks(band, line_x, row, static_cast<int>(drawn->size()), y, selected);
}

void TEditor::DrawRowMarks(const TRect& band, int x, int row, int length, int y, bool selected) {
  const TRowEndKind kind = RowEndKind(row);
  if (kind == rkWrap) return;
  const int e = x + length * FCharWidth;
  // The mark's cell belongs to this band only when the band covers it.
  if (e >= band.Right || e < band.Left) return;
  if (kind == rkEof && row == RowCount() - 1) {
    if (FMarks->EofMark().Visible()) DrawEofMark(e, y);
    return;
  }
  if (kind == rkReturn && FMarks->RetMark().Visible()) {
    if (selected)
      DrawSelectedRetMark(e, y);
    else
      DrawRetMark(e, y);
  }
}

void TEditor::DrawRowWithSelection(const TRect& band, int x, int row, const std::string& text,
                                   int y) {
  const TEditorSelRange& s = FSelCols;
  if (row < s.StartRow || row > s.EndRow) {
    DrawRow(band, x, row, text, y);
    return;
  }
  const int ml = FMargin->Left();
  const int right = Width();
  auto part = [&](TRect r, bool selected) {
    r.Top = band.Top;
    r.Bottom = band.Bottom;
    const TRect clipped = platform::Intersect(r, band);
    if (clipped.IsEmpty()) return;
    if (selected)
      DrawSelectedRow(clipped, x, row, text, y);
    else
      DrawRow(clipped, x, row, text, y);
  };
  if (FSelectionMode == smBox) {
    part(ColRangeRect(text, row, 0, s.StartCol), false);
    TRect after = ColRangeRect(text, row, s.EndCol, s.EndCol + FVisibleCols);
    after.Right = right;
    part(after, false);
    part(ColRangeRect(text, row, s.StartCol, s.EndCol), true);
  } else if (s.StartRow == s.EndRow) {
    part({ml, 0, ColumnEdge(s.StartCol), 0}, false);
    part({ColumnEdge(s.EndCol), 0, right, 0}, false);
    part({ColumnEdge(s.StartCol), 0, ColumnEdge(s.EndCol), 0}, true);
  } else if (row == s.StartRow) {
    part({ml, 0, ColumnEdge(s.StartCol), 0}, false);
    part({ColumnEdge(s.StartCol), 0, right, 0}, true);
  } else if (row == s.EndRow) {
    part({ColumnEdge(s.EndCol), 0, right, 0}, false);
    part({ml, 0, ColumnEdge(s.EndCol), 0}, true);
  } else {
    part(band, true);
  }
}

TRect TEditor::ColRangeRect(std::string_view text, int row, int from, int to) const {
  const int length = static_cast<int>(text.size());
  auto edge = [&](int col) {
    col = std::clamp(col, 0, length);
    int x = FMargin->Left() + col * FCharWidth - FScrollPixels;
    if (col < length && IsTrailByteAt(text, col + 1)) x += FCharWidth;
    return std::max(x, FMargin->Left());
  };
  const int top = FMargin->Top() + RowHeight() * (row - FTopRow);
  return {edge(from), top, edge(to), top + FCharHeight + FMargin->UnderlineHeight()};
}

// ----------------------------------------------------------------------- marks

void TEditor::DrawEofMark(int x, int y) {
  if (!CanDraw()) return;
  const int ml = FMargin->Left();
  const int mt = FMargin->Top();
  const int w = Width();
  const int h = Height();
  const TRect r{std::min(std::max(ml, x), w), std::min(std::max(mt, y), h),
                std::min(std::max(ml, x + 6 * FCharWidth), w),
                std::min(std::max(mt, y + FCharHeight), h)};
  platform::TCanvas& canvas = Canvas();
  canvas.Font = Font();
  canvas.Brush.Color = Color();
  canvas.Brush.Style = platform::bsSolid;
  canvas.Font.Color = FMarks->EofMark().Color();
  TCaretHideGuard caret(*this);
  TextOutDx(r, x, platform::ETO_OPAQUE | platform::ETO_CLIPPED, "[EOF]", y);
}

namespace {

void DrawArrow(platform::TCanvas& canvas, platform::TColor color, int x, int y, int cell,
               int height) {
  canvas.Pen.Color = color;
  canvas.Pen.Style = platform::psSolid;
  canvas.Pen.Width = 1;
  const int cx = x + cell / 2;
  canvas.MoveTo(cx, y + 6);
  canvas.LineTo(cx, y + height - 4);
  canvas.LineTo(cx + 3, y + height - 7);
  canvas.MoveTo(cx, y + height - 4);
  canvas.LineTo(cx - 3, y + height - 7);
}

}  // namespace

void TEditor::DrawRetMark(int x, int y) {
  if (!CanDraw() || x < FMargin->Left()) return;
  DrawArrow(Canvas(), FMarks->RetMark().Color(), x, y, FCharWidth, FCharHeight);
}

void TEditor::DrawSelectedRetMark(int x, int y) {
  if (!CanDraw() || x < FMargin->Left()) return;
  DrawArrow(Canvas(), FView->Colors().Select().Color(), x, y, FCharWidth, FCharHeight);
}

int TEditor::UnderlineY(int row) const {
  const int y = FMargin->Top() + RowHeight() * (row - FTopRow) + FCharHeight;
  if (y <= FMargin->Top() || y > Height()) return -1;
  return y;
}

void TEditor::DrawUnderlineIn(int row, platform::TColor color) {
  if (!CanDraw()) return;
  const int y = UnderlineY(row);
  if (y == -1) return;
  TCaretHideGuard caret(*this);
  platform::TCanvas& canvas = Canvas();
  canvas.Pen.Color = color;
  canvas.Pen.Style = platform::psSolid;
  canvas.Pen.Width = 1;
  canvas.MoveTo(FMargin->Left(), y);
  canvas.LineTo(Width(), y);
}

void TEditor::DrawUnderline(int row) {
  DrawUnderlineIn(row, FMarks->Underline().Color());
}

void TEditor::EraseUnderline(int row) {
  DrawUnderlineIn(row, Color());
}

// ---------------------------------------------------------------- invalidation

void TEditor::InvalidateRow(int row) {
  if (!HandleAllocated()) return;
  if (row < FTopRow || row > FTopRow + FVisibleRows) return;
  const int top = FMargin->Top() + RowHeight() * (row - FTopRow);
  const TRect r{FMargin->Left(), top, Width(), top + FCharHeight};
  InvalidateRect(&r, false);
}

void TEditor::InvalidateRows(int a, int b) {
  if (!HandleAllocated()) return;
  const int first = std::max(std::min(a, b), FTopRow);
  const int last = std::min(std::max(a, b), FTopRow + FVisibleRows);
  if (first > last) return;
  const int rh = RowHeight();
  const TRect r{FMargin->Left(), FMargin->Top() + rh * (first - FTopRow), Width(),
                FMargin->Top() + rh * (last - FTopRow) + FCharHeight};
  InvalidateRect(&r, false);
  Update();
}

// ----------------------------------------------------------- selection changes

void TEditor::RepaintSelectionChange() {
  struct TDrawnUpdate {
    TEditor& editor;
    ~TDrawnUpdate() { editor.FSelDrawn = editor.FSelCols; }
  } drawn_update{*this};
  if (!CanDraw()) return;
  TCaretHideGuard caret(*this);
  const TEditorSelRange old = FSelDrawn;
  const TEditorSelRange now = FSelCols;
  const int first_visible = FTopRow;
  const int last_visible = std::min(FTopRow + FVisibleRows, RowCount() - 1);
  const int x0 = FMargin->Left() - FScrollPixels;
  const int right = Width();
  const int ml = FMargin->Left();
  const int rh = RowHeight();
  auto row_band = [&](int row, int left, int r) {
    const int top = FMargin->Top() + rh * (row - FTopRow);
    return TRect{left, top, r, top + BandHeight()};
  };
  auto draw = [&](int row, TRect r, bool selected) {
    if (row < first_visible || row > last_visible) return;
    const int top = FMargin->Top() + rh * (row - FTopRow);
    r.Top = top;
    r.Bottom = top + BandHeight();
    if (r.IsEmpty()) return;
    const std::string text = DisplayTextOf(row);
    if (selected)
      DrawSelectedRow(r, x0, row, text, top);
    else
      DrawRow(r, x0, row, text, top);
  };
  auto whole = [&](int row) { return row_band(row, ml, right); };
  auto span = [&](int row, int from_col, int to_col, bool selected) {
    draw(row, row_band(row, ColumnEdge(from_col), ColumnEdge(to_col)), selected);
  };

  if (FSelectionMode == smBox) {
    auto box_right = [&](int row) {
      TRect r = ColRangeRect(DisplayTextOf(row), row, now.EndCol, now.EndCol + FVisibleCols);
      r.Right = right;
      return r;
    };
    if (old.EndRow > now.EndRow) {
      for (int r = now.EndRow + 1; r <= old.EndRow; ++r) draw(r, whole(r), false);
    } else if (old.StartRow < now.StartRow) {
      for (int r = old.StartRow; r <= now.StartRow - 1; ++r) draw(r, whole(r), false);
    }
    if (now.EndCol < old.EndCol) {
      for (int r = now.StartRow; r <= now.EndRow; ++r) draw(r, box_right(r), false);
    } else if (now.StartCol > old.StartCol) {
      for (int r = now.StartRow; r <= now.EndRow; ++r)
        draw(r, ColRangeRect(DisplayTextOf(r), r, 0, now.StartCol), false);
    }
    auto joined = [&](int r) {
      draw(r, ColRangeRect(DisplayTextOf(r), r, now.StartCol, now.EndCol), true);
    };
    if (now.EndCol > old.EndCol || now.StartCol < old.StartCol) {
      for (int r = now.StartRow; r <= now.EndRow; ++r) joined(r);
    } else if (old.EndRow < now.EndRow) {
      for (int r = old.EndRow; r <= now.EndRow; ++r) joined(r);
    } else if (now.StartRow < old.StartRow) {
      for (int r = now.StartRow; r <= old.StartRow; ++r) joined(r);
    }
    return;
  }

  const int a = FAnchorCol;
  const bool old_one_row = old.StartRow == old.EndRow;
  const bool now_one_row = now.StartRow == now.EndRow;
  // 1. Cells that left the selection.
  if (now.EndRow < old.EndRow) {
    for (int r = now.EndRow; r <= old.EndRow; ++r) {
      if (r == now.EndRow)
        draw(r, row_band(r, ColumnEdge(now.EndCol), right), false);
      else
        draw(r, whole(r), false);
    }
    if (old.StartRow < now.EndRow) return;
  } else if (old.StartRow < now.StartRow) {
    for (int r = old.StartRow; r <= now.StartRow; ++r) {
      if (r == now.StartRow)
        draw(r, row_band(r, ml, ColumnEdge(now.StartCol)), false);
      else
        draw(r, whole(r), false);
    }
    if (old.EndRow < now.StartRow) return;
  } else if (old_one_row && old.StartCol < a && old.EndRow < now.EndRow) {
    span(old.StartRow, old.StartCol, old.EndCol, false);
  } else if (old_one_row && a < old.EndCol && now.StartRow < old.StartRow) {
    span(old.StartRow, old.StartCol, old.EndCol, false);
  }
  // 2. Columns that left on unchanged rows.
  if (now.StartRow == old.StartRow && now.EndRow == old.EndRow) {
    if (now.EndCol < old.EndCol)
      span(now.EndRow, now.EndCol, old.EndCol, false);
    else if (old.StartCol < now.StartCol)
      span(now.StartRow, old.StartCol, now.StartCol, false);
  }
  // 3. Cells that joined.
  if (old.EndRow < now.EndRow) {
    for (int r = old.EndRow; r <= now.EndRow; ++r) {
      if (r == old.EndRow && r == now.EndRow)
        span(r, old.EndCol, now.EndCol, true);
      else if (r == old.EndRow)
        draw(r, row_band(r, ColumnEdge(old.EndCol), right), true);
      else if (r == now.EndRow)
        draw(r, row_band(r, ml, ColumnEdge(now.EndCol)), true);
      else
        draw(r, whole(r), true);
    }
  } else if (now.StartRow < old.StartRow) {
    for (int r = now.StartRow; r <= old.StartRow; ++r) {
      if (r == now.StartRow)
        draw(r, row_band(r, ColumnEdge(now.StartCol), right), true);
      else if (r == old.StartRow)
        draw(r, row_band(r, ml, ColumnEdge(old.StartCol)), true);
      else
        draw(r, whole(r), true);
    }
  } else if (now_one_row && now.StartCol < a && now.EndRow < old.EndRow) {
    span(now.StartRow, now.StartCol, now.EndCol, true);
  } else if (now_one_row && a < now.EndCol && old.StartRow < now.StartRow) {
    span(now.StartRow, now.StartCol, now.EndCol, true);
  } else if (now.StartRow == old.StartRow && now.EndRow == old.EndRow) {
    if (old.EndCol < now.EndCol)
      span(now.EndRow, old.EndCol, now.EndCol, true);
    else if (now.StartCol < old.StartCol)
      span(now.StartRow, now.StartCol, old.StartCol, true);
  }
}

}  // namespace editor
