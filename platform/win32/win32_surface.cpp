#include "platform/win32/win32_surface.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/gdi_objects.h"

namespace notavo::win32 {
namespace {

// A screen paints with a handful of each; more means colours or fonts that
// changed for good, and the cache starts over.
constexpr std::size_t kMaxFonts = 8;
constexpr std::size_t kMaxPens = 16;
constexpr std::size_t kMaxBrushes = 16;

RECT ToRect(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

// Fixed-pitch faces with Japanese glyphs, tried in this order when the
// requested face has none. Wine maps the first two to IPA Gothic when
// fonts-ipafont-gothic is installed.
const std::vector<std::wstring>& FallbackFaces() {
  static const std::vector<std::wstring> faces = {L"ＭＳ ゴシック", L"MS Gothic", L"IPAGothic"};
  return faces;
}

}  // namespace

// Through the W functions, the face name converted with code page 932: the
// A functions would read it in the system's own code page.
LOGFONTW ToLogFontW(const TLogFont& font) {
  LOGFONTW lf{};
  lf.lfHeight = font.Height;
  lf.lfWidth = font.Width;
  lf.lfEscapement = font.Escapement;
  lf.lfOrientation = font.Orientation;
  lf.lfWeight = font.Weight;
  lf.lfItalic = font.Italic;
  lf.lfUnderline = font.Underline;
  lf.lfStrikeOut = font.StrikeOut;
  lf.lfCharSet = font.CharSet;
  lf.lfOutPrecision = font.OutPrecision;
  lf.lfClipPrecision = font.ClipPrecision;
  lf.lfQuality = font.Quality;
  lf.lfPitchAndFamily = font.PitchAndFamily;
  const std::wstring face = WidenCp932(font.FaceName);
  const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::wmemcpy(lf.lfFaceName, face.data(), n);
  return lf;
}

bool FontShowsCodePage932(HDC dc) {
  // A letter, a digit, a parenthesis, 日 and あ: some faces that claim the
  // Shift-JIS character set hold only the double-byte half.
  constexpr int kProbes = 5;
  WORD glyphs[kProbes] = {};
  const DWORD found =
      ::GetGlyphIndicesW(dc, L"A1(\u65E5\u3042", kProbes, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  if (found != GDI_ERROR && std::find(glyphs, glyphs + kProbes, 0xFFFF) != glyphs + kProbes) {
    return false;
  }
  SIZE wide{}, narrow{};
  if (!::GetTextExtentPoint32W(dc, L"\u65E5", 1, &wide) ||
      !::GetTextExtentPoint32W(dc, L"a", 1, &narrow)) {
    return false;
  }
  return wide.cx > narrow.cx;
}

TFont CreateFontShowingCodePage932(HDC dc, const LOGFONTW& wanted,
                                   std::span<const std::wstring> fallbacks,
                                   BYTE fallbackPitchAndFamily, bool* substituted) {
  if (substituted != nullptr) *substituted = false;
  TFont font(::CreateFontIndirectW(&wanted));
  if (!font) return font;
  TDcSlot slot(dc);
  slot.Select(font.Get());
  if (FontShowsCodePage932(dc)) return font;
  for (const std::wstring& face : fallbacks) {
    LOGFONTW alternative = wanted;
    alternative.lfCharSet = SHIFTJIS_CHARSET;
    alternative.lfPitchAndFamily = fallbackPitchAndFamily;
    std::memset(alternative.lfFaceName, 0, sizeof alternative.lfFaceName);
    std::wmemcpy(alternative.lfFaceName, face.data(),
                 std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    TFont candidate(::CreateFontIndirectW(&alternative));
    if (!candidate) continue;
    slot.Select(candidate.Get());
    if (FontShowsCodePage932(dc)) {
      if (substituted != nullptr) *substituted = true;
      return candidate;  // the slot puts the DC's own font back first
    }
    slot.Select(font.Get());  // before the candidate is deleted
  }
  return font;
}

struct TWin32Surface::TState {
  explicit TState(HWND window) : Dc(window), FontSlot(Dc.Get()), PenSlot(Dc.Get()) {}

  struct TCachedFont {
    TLogFont Request;
    TFont Font;
    bool Substituted = false;
  };
  struct TPenKey {
    TColor Color;
    int Width;
    TPenStyle Style;
    friend bool operator==(const TPenKey&, const TPenKey&) = default;
  };

  // Declared in this order so that the slots put the DC's own objects back
  // first, then the objects go, then the DC.
  TWindowDc Dc;
  std::vector<TCachedFont> Fonts;
  std::vector<std::pair<TPenKey, TPen>> Pens;
  std::vector<std::pair<TColor, TBrush>> Brushes;
  TDcSlot FontSlot;
  TDcSlot PenSlot;
  std::size_t CurrentFont = SIZE_MAX;

  HDC Get() const { return Dc.Get(); }

  // A font for `request`, selected into the DC: the requested face if it
  // can show code page 932, else the first fixed-pitch fallback face that
  // can, else the requested face after all.
  TFont MakeFont(const TLogFont& request, bool& substituted) {
    TFont font = CreateFontShowingCodePage932(Get(), ToLogFontW(request), FallbackFaces(),
                                              FIXED_PITCH | FF_MODERN, &substituted);
    FontSlot.Select(font.Get());
    return font;
  }
};

TWin32Surface::TWin32Surface() = default;
TWin32Surface::~TWin32Surface() = default;

void TWin32Surface::Attach(HWND window) {
  FState.reset();
  auto state = std::make_unique<TState>(window);
  if (!state->Dc) return;
  ::SetBkMode(state->Get(), OPAQUE);
  ::SetTextAlign(state->Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
  FState = std::move(state);
}

void TWin32Surface::Detach() { FState.reset(); }

HDC TWin32Surface::Dc() const { return FState ? FState->Get() : nullptr; }

std::string TWin32Surface::FaceName() const {
  if (!FState) return {};
  wchar_t face[LF_FACESIZE] = L"";
  const int n = ::GetTextFaceW(FState->Get(), LF_FACESIZE, face);
  return n > 0 ? NarrowCp932(face) : std::string();
}

bool TWin32Surface::FontSubstituted() const {
  return FState && FState->CurrentFont < FState->Fonts.size() &&
         FState->Fonts[FState->CurrentFont].Substituted;
}

void TWin32Surface::SetFont(const TLogFont& font) {
  if (!FState) return;
  TState& s = *FState;
  for (std::size_t i = 0; i < s.Fonts.size(); ++i) {
    if (s.Fonts[i].Request == font) {
      s.FontSlot.Select(s.Fonts[i].Font.Get());
      s.CurrentFont = i;
      return;
    }
  }
  bool substituted = false;
  TFont made = s.MakeFont(font, substituted);
  if (!made) {
    // Keep drawing with the font we had.
    if (s.CurrentFont < s.Fonts.size()) s.FontSlot.Select(s.Fonts[s.CurrentFont].Font.Get());
    return;
  }
  // `made` is selected now, so none of the cached ones is.
  if (s.Fonts.size() >= kMaxFonts) s.Fonts.clear();
  s.Fonts.push_back({font, std::move(made), substituted});
  s.CurrentFont = s.Fonts.size() - 1;
}

TTextMetrics TWin32Surface::GetTextMetrics() {
  TTextMetrics result;
  TEXTMETRICW tm{};
  if (!FState || !::GetTextMetricsW(FState->Get(), &tm)) return result;
  result.Height = tm.tmHeight;
  result.Ascent = tm.tmAscent;
  result.Descent = tm.tmDescent;
  result.AveCharWidth = tm.tmAveCharWidth;
  result.MaxCharWidth = tm.tmMaxCharWidth;
  result.ExternalLeading = tm.tmExternalLeading;
  return result;
}

TPoint TWin32Surface::TextExtent(std::string_view bytes) const {
  SIZE size{};
  const std::wstring text = WidenCp932(bytes);
  if (!FState ||
      !::GetTextExtentPoint32W(FState->Get(), text.data(), static_cast<int>(text.size()), &size)) {
    return {};
  }
  return {size.cx, size.cy};
}

void TWin32Surface::SetTextColor(TColor color) {
  if (FState) ::SetTextColor(FState->Get(), color & 0xFFFFFF);
}

void TWin32Surface::SetBkColor(TColor color) {
  if (FState) ::SetBkColor(FState->Get(), color & 0xFFFFFF);
}

void TWin32Surface::TextOut(int x, int y, std::string_view bytes) {
  if (!FState) return;
  const std::wstring text = WidenCp932(bytes);
  ::TextOutW(FState->Get(), x, y, text.data(), static_cast<int>(text.size()));
}

void TWin32Surface::TextRect(const TRect& clip, int x, int y, std::string_view bytes) {
  if (!FState) return;
  const RECT rect = ToRect(clip);
  // Wine draws the underline (and strike-out) line past an ETO_CLIPPED
  // rectangle; a clip region holds it in.
  std::optional<TClipScope> lines;
  if (FState->CurrentFont < FState->Fonts.size()) {
    const TLogFont& font = FState->Fonts[FState->CurrentFont].Request;
    if (font.Underline != 0 || font.StrikeOut != 0) lines.emplace(FState->Get(), rect);
  }
  const std::wstring text = WidenCp932(bytes);
  ::ExtTextOutW(FState->Get(), x, y, ETO_OPAQUE | ETO_CLIPPED, &rect, text.data(),
                static_cast<int>(text.size()), nullptr);
}

void TWin32Surface::SetBrushColor(TColor color) { FBrushColor = color & 0xFFFFFF; }

void TWin32Surface::FillRect(const TRect& rect) {
  if (!FState) return;
  TState& s = *FState;
  HBRUSH brush = nullptr;
  for (const auto& [color, cached] : s.Brushes) {
    if (color == FBrushColor) brush = cached.Get();
  }
  if (brush == nullptr) {
    TBrush made(::CreateSolidBrush(FBrushColor));
    if (!made) return;
    if (s.Brushes.size() >= kMaxBrushes) s.Brushes.clear();  // brushes are never selected
    brush = made.Get();
    s.Brushes.emplace_back(FBrushColor, std::move(made));
  }
  const RECT r = ToRect(rect);
  ::FillRect(s.Get(), &r, brush);
}

void TWin32Surface::SetPen(TColor color, int width, TPenStyle style, TPenMode mode) {
  if (!FState) return;
  TState& s = *FState;
  const TState::TPenKey key{color & 0xFFFFFF, width, style};
  HPEN pen = nullptr;
  for (const auto& [cachedKey, cached] : s.Pens) {
    if (cachedKey == key) pen = cached.Get();
  }
  if (pen == nullptr) {
    TPen made(::CreatePen(style, width, key.Color));
    if (made) {
      s.PenSlot.Select(made.Get());
      // Only the new pen is selected now; the cached ones may go.
      if (s.Pens.size() >= kMaxPens) s.Pens.clear();
      pen = made.Get();
      s.Pens.emplace_back(key, std::move(made));
    }
  }
  if (pen != nullptr) s.PenSlot.Select(pen);
  ::SetROP2(s.Get(), mode);
}

void TWin32Surface::MoveTo(int x, int y) {
  if (FState) ::MoveToEx(FState->Get(), x, y, nullptr);
}

void TWin32Surface::LineTo(int x, int y) {
  if (FState) ::LineTo(FState->Get(), x, y);
}

}  // namespace notavo::win32
