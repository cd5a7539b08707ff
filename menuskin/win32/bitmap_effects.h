// The skin's image effects on bitmaps, and bitmaps read as plain pixels.
#pragma once

// The GDI wrappers bring the editor's headers and <windows.h> in order.
#include "platform/win32/gdi_objects.h"
// clang-format off
#include <optional>

#include "menuskin/pixel_image.h"
// clang-format on

namespace notavo::menuskin {

// The header of a 32-bit top-down device-independent bitmap.
BITMAPINFO TopDown32(int width, int height);

// The bitmap's pixels; nullopt when it cannot be read.
std::optional<TPixelImage> ReadBitmap(HBITMAP bitmap);
// Writes `image` (of the bitmap's size) back into `bitmap`.
bool WriteBitmap(HBITMAP bitmap, const TPixelImage& image);

// Every pixel of `bitmap` becomes LightenColor(pixel, percent).
bool DimBitmap(HBITMAP bitmap, int percent);
// Every pixel of `bitmap` becomes GrayColor(pixel, amount).
bool GrayBitmap(HBITMAP bitmap, int amount);

// DIB pixels are 0x00RRGGBB, colours 0x00BBGGRR.
constexpr std::uint32_t SwapRedBlue(std::uint32_t c) {
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

}  // namespace notavo::menuskin
