#include "menuskin/win32/bitmap_effects.h"

namespace notavo::menuskin {
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::optional<TPixelImage> ReadBitmap(HBITMAP bitmap) {
  BITMAP facts{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof facts, &facts) == 0) return std::nullopt;
  TPixelImage image{facts.bmWidth, facts.bmHeight, {}};
  image.Pixels.resize(static_cast<std::size_t>(image.Width) * image.Height);
  BITMAPINFO info = TopDown32(image.Width, image.Height);
  const win32::TWindowDc screen(nullptr);
  if (::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(image.Height), image.Pixels.data(),
                  &info, DIB_RGB_COLORS) != image.Height) {
    return std::nullopt;
  }
  for (TColor& p : image.Pixels) p = SwapRedBlue(p & 0xFFFFFF);
  return image;
}

bool WriteBitmap(HBITMAP bitmap, const TPixelImage& image) {
  std::vector<std::uint32_t> bits(image.Pixels.size());
  for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = SwapRedBlue(image.Pixels[i]);
  BITMAPINFO info = TopDown32(image.Width, image.Height);
  const win32::TWindowDc screen(nullptr);
  return ::SetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(image.Height), bits.data(), &info,
                     DIB_RGB_COLORS) == image.Height;
}

bool DimBitmap(HBITMAP bitmap, int percent) {
  std::optional<TPixelImage> image = ReadBitmap(bitmap);
  if (!image) return false;
  DimPixels(*image, percent);
  return WriteBitmap(bitmap, *image);
}

bool GrayBitmap(HBITMAP bitmap, int amount) {
  std::optional<TPixelImage> image = ReadBitmap(bitmap);
  if (!image) return false;
  GrayPixels(*image, amount);
  return WriteBitmap(bitmap, *image);
}

}  // namespace notavo::menuskin
