// Owning wrappers for GDI objects and device contexts. Every object that is
// selected into a DC goes through a TDcSlot, which puts the DC's original
// object back before the selected one may be deleted.
#pragma once

#include <utility>

#include "platform/win32/windows_api.h"

namespace notavo::win32 {

// A font, pen or brush, deleted with the wrapper. It must not be selected
// into a DC by then: declare the TDcSlot that selects it after it, so the
// slot goes first.
template <typename THandle>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(THandle handle) : FHandle(handle) {}
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, nullptr);
    }
    return *this;
  }
  ~TGdiObject() { Reset(); }

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset() {
    if (FHandle != nullptr) ::DeleteObject(std::exchange(FHandle, nullptr));
  }

 private:
  THandle FHandle = nullptr;
};

using TFont = TGdiObject<HFONT>;
using TPen = TGdiObject<HPEN>;
using TBrush = TGdiObject<HBRUSH>;

// One kind of object (the font, the pen) of a device context: the first
// Select remembers what the DC held, and Restore or the destructor selects
// that back.
class TDcSlot {
 public:
  explicit TDcSlot(HDC dc) : FDc(dc) {}
  TDcSlot(const TDcSlot&) = delete;
  TDcSlot& operator=(const TDcSlot&) = delete;
  ~TDcSlot() { Restore(); }

  void Select(HGDIOBJ object) {
    if (object == nullptr || object == FCurrent) return;
    HGDIOBJ previous = ::SelectObject(FDc, object);
    if (previous == nullptr || previous == HGDI_ERROR) return;
    if (FOriginal == nullptr) FOriginal = previous;
    FCurrent = object;
  }
  HGDIOBJ Current() const { return FCurrent; }
  void Restore() {
    if (FOriginal != nullptr) ::SelectObject(FDc, FOriginal);
    FOriginal = FCurrent = nullptr;
  }

 private:
  HDC FDc;
  HGDIOBJ FOriginal = nullptr;
  HGDIOBJ FCurrent = nullptr;
};

// A window's device context from GetDC, handed back with ReleaseDC.
class TWindowDc {
 public:
  explicit TWindowDc(HWND window) : FWindow(window), FDc(::GetDC(window)) {}
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  ~TWindowDc() {
    if (FDc != nullptr) ::ReleaseDC(FWindow, FDc);
  }
  HDC Get() const { return FDc; }
  explicit operator bool() const { return FDc != nullptr; }

 private:
  HWND FWindow;
  HDC FDc;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class TMemoryDc {
 public:
  explicit TMemoryDc(HDC compatibleWith) : FDc(::CreateCompatibleDC(compatibleWith)) {}
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;
  ~TMemoryDc() {
    if (FDc != nullptr) ::DeleteDC(FDc);
  }
  HDC Get() const { return FDc; }
  explicit operator bool() const { return FDc != nullptr; }

 private:
  HDC FDc;
};

// A DC clipped to a rectangle for the life of the object (SaveDC ...
// RestoreDC; the objects selected meanwhile must be the same at the end).
class TClipScope {
 public:
  TClipScope(HDC dc, const RECT& rect) : FDc(dc), FSaved(::SaveDC(dc)) {
    if (FSaved != 0) ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;
  ~TClipScope() {
    if (FSaved != 0) ::RestoreDC(FDc, FSaved);
  }

 private:
  HDC FDc;
  int FSaved;
};

// BeginPaint ... EndPaint around one WM_PAINT.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : FWindow(window) { ::BeginPaint(window, &FPaint); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  ~TPaintScope() { ::EndPaint(FWindow, &FPaint); }
  const PAINTSTRUCT& Paint() const { return FPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
};

}  // namespace notavo::win32
