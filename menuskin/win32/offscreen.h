// A 32-bit bitmap with its own memory DC to draw into before copying to
// the screen in one piece; its pixels can be read and written directly.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include "menuskin/pixel_image.h"
// clang-format on

namespace notavo::menuskin {

class TOffscreen {
 public:
  TOffscreen(HDC compatibleWith, int width, int height);
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;

  explicit operator bool() const { return FBits != nullptr && FDc; }
  HDC Dc() const { return FDc.Get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The pixels as they are now (GDI's drawing flushed first), and back.
  TPixelImage Pixels() const;
  void SetPixels(const TPixelImage& image);
  void CopyTo(HDC target, int x, int y) const;

 private:
  int FWidth, FHeight;
  win32::TMemoryDc FDc;
  void* FBits = nullptr;
  win32::TGdiObject<HBITMAP> FBitmap;
  win32::TDcSlot FBitmapSlot;  // after the bitmap: deselects it first
};

}  // namespace notavo::menuskin
