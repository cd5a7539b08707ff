#include "platform/win32/ui_font.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>

#include "platform/win32/win32_surface.h"

namespace notavo::win32 {
namespace {

// Proportional faces with Japanese glyphs, in the order tried: Windows' own
// (by their Japanese and English names), then the IPA faces free systems have.
constexpr std::array<std::wstring_view, 7> kFallbackFaces = {
    L"ＭＳ Ｐゴシック", L"MS PGothic", L"MS UI Gothic", L"Meiryo UI",
    L"Yu Gothic UI",    L"IPAPGothic", L"IPAGothic"};

TFont MakeFont(int height, std::wstring_view face, int weight) {
  LOGFONTW request{};
  request.lfHeight = height;
  request.lfWeight = weight;
  request.lfCharSet = SHIFTJIS_CHARSET;
  request.lfOutPrecision = OUT_DEFAULT_PRECIS;
  request.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  request.lfQuality = DEFAULT_QUALITY;
  request.lfPitchAndFamily = DEFAULT_PITCH;
  const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::wmemcpy(request.lfFaceName, face.data(), n);
  return TFont(::CreateFontIndirectW(&request));
}

bool ShowsCodePage932(HFONT font) {
  TWindowDc dc(nullptr);  // the screen
  if (!dc || font == nullptr) return false;
  TDcSlot slot(dc.Get());
  slot.Select(font);
  return FontShowsCodePage932(dc.Get());
}

}  // namespace

TFont CreateUiFont(int height, std::wstring_view face, int weight) {
  TFont wanted = MakeFont(height, face, weight);
  if (ShowsCodePage932(wanted.Get())) return wanted;
  for (std::wstring_view fallback : kFallbackFaces) {
    if (fallback == face) continue;
    TFont candidate = MakeFont(height, fallback, weight);
    if (ShowsCodePage932(candidate.Get())) return candidate;
  }
  return wanted;  // nothing better: the system's choice
}

TFont ReplacementForSystemFont(const LOGFONTW& font) {
  const TFont system(::CreateFontIndirectW(&font));
  if (ShowsCodePage932(system.Get())) return TFont();
  return CreateUiFont(font.lfHeight, font.lfFaceName, font.lfWeight);
}

std::wstring ResolvedFace(HFONT font) {
  TWindowDc dc(nullptr);  // the screen
  if (!dc || font == nullptr) return {};
  TDcSlot slot(dc.Get());
  slot.Select(font);
  wchar_t face[LF_FACESIZE] = L"";
  ::GetTextFaceW(dc.Get(), LF_FACESIZE, face);
  return face;
}

}  // namespace notavo::win32
