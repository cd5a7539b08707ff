// A small image as plain pixels (0x00BBGGRR, top row first), the effects
// the skin applies to menu images, and drawing one onto another through its
// transparent colour.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace notavo::menuskin {

struct TPixelImage {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Pixels;

  TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  TColor& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  // The colour that shows what is behind: the bottom-left pixel.
  TColor TransparentColor() const { return Height > 0 && Width > 0 ? At(0, Height - 1) : 0; }
};

// Every pixel lightened by `percent` (LightenColor).
void DimPixels(TPixelImage& image, int percent);
// Every pixel made gray (GrayColor with `amount`).
void GrayPixels(TPixelImage& image, int amount);

// Which pixels of an image are drawn: not of its transparent colour. Kept
// from the original, so that effects cannot make pixels transparent.
std::vector<bool> OpaqueMask(const TPixelImage& image);

// Draws the opaque pixels of `image` onto `target` with its top left at
// (x, y), clipped to the target; in `solid` instead of their own colour
// when given (a shadow).
void DrawOpaque(TPixelImage& target, const TPixelImage& image, const std::vector<bool>& mask, int x,
                int y, const TColor* solid = nullptr);

}  // namespace notavo::menuskin
