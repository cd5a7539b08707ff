// TSurface on a window's own device context (class style CS_OWNDC): the
// editor draws directly, inside and outside WM_PAINT, with a font, pen and
// brush that stay selected between calls. Fonts, pens and brushes are kept
// in small caches, so painting a screen creates none after the first.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/surface.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/windows_api.h"

namespace notavo::win32 {

class TWin32Surface final : public TSurface {
 public:
  TWin32Surface();
  ~TWin32Surface() override;
  TWin32Surface(const TWin32Surface&) = delete;
  TWin32Surface& operator=(const TWin32Surface&) = delete;

  // Takes the window's device context and keeps it until Detach, which puts
  // the DC's own objects back and deletes ours. Without a DC every drawing
  // call does nothing and every measurement is 0.
  void Attach(HWND window);
  void Detach();
  HDC Dc() const;

  // The face the font mapper gave for the current font (GetTextFaceA, code
  // page 932 bytes), and whether SetFont replaced the requested face because
  // it has no Japanese glyphs.
  std::string FaceName() const;
  bool FontSubstituted() const;

  // TSurface
  void SetFont(const TLogFont& font) override;
  TTextMetrics GetTextMetrics() override;
  TPoint TextExtent(std::string_view bytes) const override;
  void SetTextColor(TColor color) override;
  void SetBkColor(TColor color) override;
  void TextOut(int x, int y, std::string_view bytes) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view bytes) override;
  void SetBrushColor(TColor color) override;
  void FillRect(const TRect& rect) override;
  void SetPen(TColor color, int width, TPenStyle style, TPenMode mode) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;

 private:
  struct TState;
  std::unique_ptr<TState> FState;  // null while detached
  TColor FBrushColor = 0xFFFFFF;
};

// The LOGFONTW for a portable font record (the face name, code page 932
// bytes, converted with that code page and cut to what LOGFONTW holds).
LOGFONTW ToLogFontW(const TLogFont& font);

// Whether the font selected into `dc` draws code page 932 text: it has
// glyphs for ASCII, kanji and kana, and a double-byte character is wider than a
// single-byte one. Bitmap fonts that claim the Shift-JIS character set but
// draw every double-byte character as one narrow box fail this.
bool FontShowsCodePage932(HDC dc);

// A font made from `wanted` when its face shows code page 932 text on `dc`,
// else from the first of `fallbacks` that does (with the Shift-JIS
// character set and `fallbackPitchAndFamily`), else from `wanted` after all.
// `substituted` (when given) tells whether a fallback face was taken. The
// DC's font is as it was afterwards.
TFont CreateFontShowingCodePage932(HDC dc, const LOGFONTW& wanted,
                                   std::span<const std::wstring> fallbacks,
                                   BYTE fallbackPitchAndFamily, bool* substituted = nullptr);

}  // namespace notavo::win32
