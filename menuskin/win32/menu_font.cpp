#include "menuskin/win32/menu_font.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/win32/cp932.h"
#include "platform/win32/win32_surface.h"

namespace notavo::menuskin {
namespace {

// Proportional faces with Japanese glyphs, tried in this order.
constexpr const wchar_t* kJapaneseFaces[] = {L"MS UI Gothic", L"ＭＳ Ｐゴシック", L"MS PGothic",
                                             L"IPAPGothic", L"IPAGothic"};

LOGFONTW RequestedFont(const TMenuFontSpec& spec) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font = metrics.lfMenuFont;
  }
  if (spec.Name.empty()) return font;
  font.lfHeight = spec.Height;
  font.lfWidth = 0;
  font.lfCharSet = spec.CharSet;
  const std::wstring face = win32::WidenCp932(spec.Name);
  std::wmemset(font.lfFaceName, L'\0', LF_FACESIZE);
  std::wmemcpy(font.lfFaceName, face.data(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return font;
}

bool ShowsJapanese(HFONT font) {
  const win32::TWindowDc screen(nullptr);
  win32::TDcSlot slot(screen.Get());
  slot.Select(font);
  return win32::FontShowsCodePage932(screen.Get());
}

}  // namespace

win32::TFont MakeMenuFont(const TMenuFontSpec& spec) {
  LOGFONTW font = RequestedFont(spec);
  win32::TFont made(::CreateFontIndirectW(&font));
  if (made && ShowsJapanese(made.Get())) return made;
  for (const wchar_t* face : kJapaneseFaces) {
    std::wmemset(font.lfFaceName, L'\0', LF_FACESIZE);
    std::wmemcpy(font.lfFaceName, face, std::wcslen(face));
    font.lfCharSet = SHIFTJIS_CHARSET;
    win32::TFont fallback(::CreateFontIndirectW(&font));
    if (fallback && ShowsJapanese(fallback.Get())) return fallback;
  }
  return made;
}

}  // namespace notavo::menuskin
