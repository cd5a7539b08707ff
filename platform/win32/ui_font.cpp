#include "platform/win32/ui_font.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/win32_surface.h"

namespace notavo::win32 {
namespace {

// Proportional faces with Japanese glyphs, in the order tried: Windows' own
// (by their Japanese and English names), then the IPA faces free systems have.
const std::vector<std::wstring>& FallbackFaces() {
  static const std::vector<std::wstring> faces = {
      L"ＭＳ Ｐゴシック", L"MS PGothic", L"MS UI Gothic", L"Meiryo UI",
      L"Yu Gothic UI",    L"IPAPGothic", L"IPAGothic"};
  return faces;
}

LOGFONTW Request(int height, std::wstring_view face, int weight) {
  LOGFONTW request{};
  request.lfHeight = height;
  request.lfWeight = weight;
  request.lfCharSet = SHIFTJIS_CHARSET;
  request.lfPitchAndFamily = DEFAULT_PITCH;
  std::wmemcpy(request.lfFaceName, face.data(),
               std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return request;
}

}  // namespace

TFont CreateUiFont(int height, std::wstring_view face, int weight) {
  return CreateUiFontFrom(Request(height, face, weight));
}

TFont CreateUiFontFrom(const LOGFONTW& wanted) {
  const TWindowDc screen(nullptr);
  return CreateFontShowingCodePage932(screen.Get(), wanted, FallbackFaces(),
                                      VARIABLE_PITCH | FF_SWISS);
}

TFont ReplacementForSystemFont(const LOGFONTW& font) {
  bool substituted = false;
  const TWindowDc screen(nullptr);
  TFont replacement = CreateFontShowingCodePage932(screen.Get(), font, FallbackFaces(),
                                                   VARIABLE_PITCH | FF_SWISS, &substituted);
  return substituted ? std::move(replacement) : TFont();
}

std::wstring ResolvedFace(HFONT font) {
  const TWindowDc screen(nullptr);
  if (!screen || font == nullptr) return {};
  TDcSlot slot(screen.Get());
  slot.Select(font);
  wchar_t face[LF_FACESIZE] = L"";
  ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
  return face;
}

}  // namespace notavo::win32
