// The drawing surface the editor paints on: a font, a pen, a brush, text and
// background colours, as one device context offers them. Text is code page
// 932 bytes. There is no off-screen buffer: calls draw at once.
#pragma once

#include <string_view>

#include "platform/geometry.h"
#include "platform/log_font.h"
#include "platform/text_measure.h"

namespace notavo {

struct TTextMetrics {
  int Height = 0;  // cell height (tmHeight)
  int Ascent = 0;
  int Descent = 0;
  int AveCharWidth = 0;  // tmAveCharWidth
  int MaxCharWidth = 0;
  int ExternalLeading = 0;
};

// Pen styles and mix modes keep their Win32 values.
enum TPenStyle : int { psSolid = 0, psDash = 1, psDot = 2 };
enum TPenMode : int { pmNot = 6, pmXor = 7, pmCopy = 13 };

class TSurface : public TTextMeasurer {
 public:
  // Makes a font from the record and selects it.
  virtual void SetFont(const TLogFont& font) = 0;
  virtual TTextMetrics GetTextMetrics() = 0;
  // Width and height of the bytes in the current font.
  virtual TPoint TextExtent(std::string_view bytes) const = 0;
  int TextWidth(std::string_view bytes) const override {
    return TextExtent(bytes).X;
  }

  virtual void SetTextColor(TColor color) = 0;
  virtual void SetBkColor(TColor color) = 0;
  // Text at (x, y) in the text colour on the background colour.
  virtual void TextOut(int x, int y, std::string_view bytes) = 0;
  // The clip rectangle filled with the background colour, then the text at
  // (x, y) drawn clipped to it.
  virtual void TextRect(const TRect& clip, int x, int y, std::string_view bytes) = 0;

  virtual void SetBrushColor(TColor color) = 0;
  virtual void FillRect(const TRect& rect) = 0;

  virtual void SetPen(TColor color, int width, TPenStyle style, TPenMode mode) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // A line from the current point; the end point itself is not drawn.
  virtual void LineTo(int x, int y) = 0;
};

}  // namespace notavo
