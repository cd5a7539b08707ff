#include "menuskin/win32/offscreen.h"

#include "menuskin/win32/bitmap_effects.h"

namespace notavo::menuskin {

TOffscreen::TOffscreen(HDC compatibleWith, int width, int height)
    : FWidth(std::max(width, 1)),
      FHeight(std::max(height, 1)),
      FDc(compatibleWith),
      FBitmapSlot(FDc.Get()) {
  const BITMAPINFO info = TopDown32(FWidth, FHeight);
  if (!FDc) return;
  FBitmap = win32::TGdiObject<HBITMAP>(
      ::CreateDIBSection(FDc.Get(), &info, DIB_RGB_COLORS, &FBits, nullptr, 0));
  if (!FBitmap) {
    FBits = nullptr;
    return;
  }
  FBitmapSlot.Select(FBitmap.Get());
}

TPixelImage TOffscreen::Pixels() const {
  ::GdiFlush();
  TPixelImage image{FWidth, FHeight, {}};
  image.Pixels.resize(static_cast<std::size_t>(FWidth) * FHeight);
  const auto* bits = static_cast<const std::uint32_t*>(FBits);
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    image.Pixels[i] = SwapRedBlue(bits[i] & 0xFFFFFF);
  }
  return image;
}

void TOffscreen::SetPixels(const TPixelImage& image) {
  ::GdiFlush();
  auto* bits = static_cast<std::uint32_t*>(FBits);
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) bits[i] = SwapRedBlue(image.Pixels[i]);
}

void TOffscreen::CopyTo(HDC target, int x, int y) const {
  ::BitBlt(target, x, y, FWidth, FHeight, FDc.Get(), 0, 0, SRCCOPY);
}

}  // namespace notavo::menuskin
