#include "menuskin/pixel_image.h"

#include "menuskin/skin_color.h"

namespace notavo::menuskin {

void DimPixels(TPixelImage& image, int percent) {
  for (TColor& p : image.Pixels) p = LightenColor(p, percent);
}

void GrayPixels(TPixelImage& image, int amount) {
  for (TColor& p : image.Pixels) p = GrayColor(p, amount);
}

std::vector<bool> OpaqueMask(const TPixelImage& image) {
  const TColor key = image.TransparentColor();
  std::vector<bool> mask(image.Pixels.size());
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = image.Pixels[i] != key;
  return mask;
}

void DrawOpaque(TPixelImage& target, const TPixelImage& image, const std::vector<bool>& mask, int x,
                int y, const TColor* solid) {
  for (int row = 0; row < image.Height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.Height) continue;
    for (int col = 0; col < image.Width; ++col) {
      const int tx = x + col;
      if (tx < 0 || tx >= target.Width) continue;
      if (!mask[static_cast<std::size_t>(row) * image.Width + col]) continue;
      target.At(tx, ty) = solid != nullptr ? *solid : image.At(col, row);
    }
  }
}

}  // namespace notavo::menuskin
