#include "app/menu_images.h"

#include <cstdint>

namespace notavo {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

TMenuImages::TMenuImages(HINSTANCE instance, int id, int count) {
  const win32::TGdiObject<HBITMAP> strip(static_cast<HBITMAP>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return;
  const win32::TWindowDc screen(nullptr);
  // The strip as top-down 32-bit pixels.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSize * count;
  info.bmiHeader.biHeight = -kSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSize) * kSize * count);
  if (::GetDIBits(screen.Get(), strip.Get(), 0, kSize, pixels.data(), &info, DIB_RGB_COLORS) !=
      kSize) {
    return;
  }
  const COLORREF menu = ::GetSysColor(COLOR_MENU);
  // DIB pixels are 0x00RRGGBB, COLORREF 0x00BBGGRR.
  const auto dib = [](COLORREF c) {
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 |
           static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
  };
  for (int image = 0; image < count; ++image) {
    BITMAPINFO one = info;
    one.bmiHeader.biWidth = kSize;
    void* bits = nullptr;
    win32::TGdiObject<HBITMAP> bitmap(
        ::CreateDIBSection(screen.Get(), &one, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const std::uint32_t p =
            pixels[static_cast<std::size_t>(y) * kSize * count + image * kSize + x] & 0xFFFFFF;
        out[y * kSize + x] = p == dib(kMagenta) ? dib(menu) : p;
      }
    }
    FImages.push_back(std::move(bitmap));
  }
}

void TMenuImages::Apply(HMENU menu, UINT command, int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= FImages.size()) return;
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_BITMAP;
  item.hbmpItem = FImages[static_cast<std::size_t>(index)].Get();
  ::SetMenuItemInfoW(menu, command, FALSE, &item);
}

}  // namespace notavo
