#include "app/column_ruler.h"

#include <string>

namespace notavo {
namespace {

constexpr TColor kGrey = 0x808080;
constexpr int kBaseY = 10, kTickTop = 4, kMarkerBottom = 8;

// "Terminal", 6 points at the screen's usual 96 pixels an inch.
TLogFont RulerFont() {
  TLogFont font;
  font.Height = -8;
  font.FaceName = "Terminal";
  return font;
}

}  // namespace

void TColumnRuler::Draw(TSurface& surface, const TZelEdit& edit, int c1, int c2, int x1) {
  const auto x = [&](int c) {
    return edit.TextLeft() + (c - 1) * edit.CharWidth() - edit.ScrollX();
  };
  surface.SetPen(kGrey, 1, psSolid, pmCopy);
  surface.SetFont(RulerFont());
  surface.SetTextColor(kGrey);
  surface.SetBkColor(edit.Color());
  for (int c = c1; c <= c2; ++c) {
    if (x(c) < x1) continue;
    surface.MoveTo(x(c), kBaseY);
    surface.LineTo(x(c), kTickTop);
  }
  for (int c = c1; c <= c2; ++c) {
    if (x(c) < x1 || c % 10 != 0) continue;
    surface.TextOut(x(c) + 1, 1, std::to_string(c));
    surface.MoveTo(x(c), kBaseY);
    surface.LineTo(x(c), 0);
  }
  if (c2 >= c1 && x(c2) > x1) {
    surface.MoveTo(x1, kBaseY);
    surface.LineTo(x(c2) + 1, kBaseY);
  }
  DrawCaret(surface, edit, false);
}

void TColumnRuler::DrawCaret(TSurface& surface, const TZelEdit& edit, bool eraseOld) {
  surface.SetPen(edit.Color() ^ 0x808080, 5, psSolid, pmXor);
  if (eraseOld) {
    surface.MoveTo(FCaretX, 0);
    surface.LineTo(FCaretX, kMarkerBottom);
  }
  const int caretX = edit.CaretPixelX();
  surface.MoveTo(caretX, 0);
  surface.LineTo(caretX, kMarkerBottom);
  surface.SetPen(edit.Color() ^ 0x808080, 1, psSolid, pmCopy);
  FCaretX = caretX;
}

}  // namespace notavo
