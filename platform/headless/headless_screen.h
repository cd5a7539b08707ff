// A picture of the headless window's client area made from its drawing
// calls, one value per pixel, so that tests can compare what two ways of
// painting leave on screen. Text cells get a value made of the byte and its
// colours (every byte is one cell wide); fills and lines take their colour.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace notavo {

class THeadlessScreen {
 public:
  // What pixels hold before anything is drawn on them, and what a scroll
  // leaves in the strip it uncovers.
  static constexpr std::uint32_t kUnpainted = 0xDEADBEEF;

  void Reset(int width, int height);
  bool Empty() const { return FPixels.empty(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  std::uint32_t At(int x, int y) const { return FPixels[Index(x, y)]; }
  const std::vector<std::uint32_t>& Pixels() const { return FPixels; }

  void Fill(const TRect& rect, std::uint32_t value);
  // Opaque text: each byte a cellWidth x cellHeight cell, clipped to `clip`.
  void Text(const TRect& clip, int x, int y, std::string_view bytes, TColor color,
            TColor background, bool underline, int cellWidth, int cellHeight);
  // From `from` towards `to`, the end point left out, as a pen draws it.
  void Line(TPoint from, TPoint to, TColor color, TPenStyle style, TPenMode mode);
  // The pixels inside `area` shifted by dy; the uncovered strip unpainted.
  void Scroll(int dy, const TRect& area);

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) +
           static_cast<std::size_t>(x);
  }
  TRect Clipped(const TRect& rect) const;

  int FWidth = 0, FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};

}  // namespace notavo
