#include "menuskin/win32/menu_font.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"

namespace notavo::menuskin {
namespace {

LOGFONTW RequestedFont(const TMenuFontDesc& desc) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font = metrics.lfMenuFont;
  }
  if (desc.Name.empty()) return font;
  font.lfHeight = desc.Height;
  font.lfWidth = 0;
  font.lfCharSet = desc.CharSet;
  const std::wstring face = win32::WidenCp932(desc.Name);
  std::wmemset(font.lfFaceName, L'\0', LF_FACESIZE);
  std::wmemcpy(font.lfFaceName, face.data(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return font;
}

}  // namespace

win32::TFont MakeMenuFont(const TMenuFontDesc& desc) {
  return win32::CreateUiFontFrom(RequestedFont(desc));
}

}  // namespace notavo::menuskin
