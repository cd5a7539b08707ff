// The drawing surface on a real window's own DC: which font the mapper gives
// and when a Japanese face stands in, what the pens, brushes and text calls
// leave on the screen, and that the DC gets its own objects back.
#include "platform/win32/win32_surface.h"
// The surface first: its portable headers must come before <windows.h>
// (see platform/win32/windows_api.h).
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "platform/win32/cp932.h"

namespace notavo {
namespace {

using win32::NarrowCp932;
using win32::TWin32Surface;

// A visible window with its own DC (CS_OWNDC), as the editor has, with
// nothing of its own painting into it. Top-level and kept for the whole
// program: Wine waits for a window manager each time one hides.
HWND OwnDcWindow() {
  static const HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        ::BeginPaint(w, &ps);
        ::EndPaint(w, &ps);
        return 0;
      }
      if (m == WM_ERASEBKGND) return 1;
      return ::DefWindowProcW(w, m, wp, lp);
    };
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NotavoSurfaceTest";
    ::RegisterClassExW(&wc);
    HWND made = ::CreateWindowExW(0, wc.lpszClassName, L"surface test", WS_POPUP | WS_VISIBLE, 0, 0,
                                  400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ::UpdateWindow(made);
    return made;
  }();
  return window;
}

// Is a face of that name installed (not merely mapped to another)?
bool FaceInstalled(const std::string& face) {
  HDC dc = ::GetDC(nullptr);
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  ::EnumFontFamiliesExA(
      dc, &query,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM data) -> int {
        *reinterpret_cast<bool*>(data) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, dc);
  return found;
}

// For the log, which is read as UTF-8.
std::string Utf8(const std::string& cp932) {
  const std::wstring wide = win32::WidenCp932(cp932);
  std::string text(wide.size() * 3, '\0');
  text.resize(static_cast<std::size_t>(
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr)));
  return text;
}

TLogFont ProgramFont(const std::string& face) {
  // As TZelEdit makes it from the program's font property.
  TLogFont font;
  font.Height = 19;
  font.CharSet = TLogFont::kDefaultCharset;
  font.PitchAndFamily = TLogFont::kFixedPitch;
  font.FaceName = face;
  return font;
}

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { FSurface.Attach(OwnDcWindow()); }
  void TearDown() override { FSurface.Detach(); }
  HDC Dc() const { return FSurface.Dc(); }
  DWORD Pixel(int x, int y) const { return ::GetPixel(Dc(), x, y) & 0xFFFFFF; }
  void Clear(TColor color) {
    FSurface.SetBrushColor(color);
    FSurface.FillRect({0, 0, 400, 300});
  }

  TWin32Surface FSurface;
};

// ---- fonts --------------------------------------------------------------------

struct FontCase {
  const char* label;
  std::string face;
  bool needsInstalled;  // skipped where the face is not installed
  std::optional<bool> substituted;
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << c.label; }

class SurfaceFonts : public SurfaceTest, public ::testing::WithParamInterface<FontCase> {};

// Whatever face is asked for, the surface ends up with one that draws
// Japanese; it replaces the face only when that one cannot.
TEST_P(SurfaceFonts, EndUpShowingJapanese) {
  const FontCase& c = GetParam();
  if (c.needsInstalled && !FaceInstalled(c.face)) GTEST_SKIP() << c.face << " is not installed";
  FSurface.SetFont(ProgramFont(c.face));
  TEXTMETRICA tm{};
  ::GetTextMetricsA(Dc(), &tm);
  std::cout << "  " << c.label << ": mapped to " << Utf8(FSurface.FaceName()) << ", charset "
            << static_cast<int>(tm.tmCharSet) << ", height " << tm.tmHeight << ", substituted "
            << FSurface.FontSubstituted() << "\n";
  EXPECT_TRUE(win32::FontShowsCodePage932(Dc()));
  if (c.substituted) {
    EXPECT_EQ(FSurface.FontSubstituted(), *c.substituted);
  }
  // Whole characters in the cell grid: a kanji is two cells.
  const TPoint ascii = FSurface.TextExtent("abc");
  const TPoint kanji = FSurface.TextExtent("\x93\xFA\x96\x7B\x8C\xEA");  // 日本語
  EXPECT_EQ(kanji.X, 2 * ascii.X);
  EXPECT_EQ(kanji.Y, tm.tmHeight);
  EXPECT_EQ(FSurface.GetTextMetrics().Height, tm.tmHeight);
  EXPECT_EQ(FSurface.GetTextMetrics().AveCharWidth, tm.tmAveCharWidth);
}

INSTANTIATE_TEST_SUITE_P(Faces, SurfaceFonts,
                         ::testing::Values(FontCase{"FixedSys", "FixedSys", false, std::nullopt},
                                           FontCase{"NoJapaneseGlyphs", "DejaVu Sans Mono", true,
                                                    true},
                                           FontCase{"JapaneseFace", "IPAGothic", true, false},
                                           FontCase{"MsGothicByJapaneseName",
                                                    NarrowCp932(L"ＭＳ ゴシック"), false, false}),
                         [](const auto& info) { return std::string(info.param.label); });

// The renderer switches between the plain and the underlined font for
// every link, and between a few pens for every mark; each is made once.
TEST_F(SurfaceTest, FontsAndPensArePickedFromTheCache) {
  TLogFont plain = ProgramFont("FixedSys");
  TLogFont underlined = plain;
  underlined.Underline = 1;
  FSurface.SetFont(plain);
  HGDIOBJ plainFont = ::GetCurrentObject(Dc(), OBJ_FONT);
  FSurface.SetFont(underlined);
  HGDIOBJ underlinedFont = ::GetCurrentObject(Dc(), OBJ_FONT);
  EXPECT_NE(plainFont, underlinedFont);
  for (int i = 0; i < 20; ++i) {
    FSurface.SetFont(plain);
    EXPECT_EQ(::GetCurrentObject(Dc(), OBJ_FONT), plainFont);
    FSurface.SetFont(underlined);
    EXPECT_EQ(::GetCurrentObject(Dc(), OBJ_FONT), underlinedFont);
  }
  TEXTMETRICA tm{};
  ::GetTextMetricsA(Dc(), &tm);
  EXPECT_TRUE(tm.tmUnderlined);

  FSurface.SetPen(0x808000, 1, psSolid, pmCopy);
  HGDIOBJ markPen = ::GetCurrentObject(Dc(), OBJ_PEN);
  FSurface.SetPen(0x000000, 1, psSolid, pmCopy);
  HGDIOBJ underlinePen = ::GetCurrentObject(Dc(), OBJ_PEN);
  EXPECT_NE(markPen, underlinePen);
  for (int i = 0; i < 20; ++i) {
    FSurface.SetPen(0x808000, 1, psSolid, pmXor);
    EXPECT_EQ(::GetCurrentObject(Dc(), OBJ_PEN), markPen);
    EXPECT_EQ(::GetROP2(Dc()), R2_XORPEN);
    FSurface.SetPen(0x000000, 1, psSolid, pmCopy);
    EXPECT_EQ(::GetCurrentObject(Dc(), OBJ_PEN), underlinePen);
    EXPECT_EQ(::GetROP2(Dc()), R2_COPYPEN);
  }
}

// Detaching gives the DC its own font and pen back and deletes ours, so the
// window's DC holds nothing that no longer exists.
TEST(SurfaceLifetime, DetachRestoresTheDcAndDeletesItsObjects) {
  HDC dc = ::GetDC(OwnDcWindow());  // the window's own DC: the same each time
  HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
  HGDIOBJ originalPen = ::GetCurrentObject(dc, OBJ_PEN);
  HGDIOBJ ourFont = nullptr, ourPen = nullptr;
  {
    TWin32Surface surface;
    surface.Attach(OwnDcWindow());
    ASSERT_EQ(surface.Dc(), dc);
    surface.SetFont(ProgramFont("FixedSys"));
    surface.SetPen(0x0000FF, 2, psDot, pmCopy);
    surface.SetBrushColor(0x00FF00);
    surface.FillRect({0, 0, 10, 10});
    ourFont = ::GetCurrentObject(dc, OBJ_FONT);
    ourPen = ::GetCurrentObject(dc, OBJ_PEN);
    EXPECT_NE(ourFont, originalFont);
    EXPECT_NE(ourPen, originalPen);
  }
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), originalPen);
  EXPECT_EQ(::GetObjectType(ourFont), 0u);
  EXPECT_EQ(::GetObjectType(ourPen), 0u);
  ::ReleaseDC(OwnDcWindow(), dc);
}

// A long paint with many colours, pens and fonts does not pile up GDI
// objects: the caches stay bounded and what drops out of them is deleted.
// (Counted by the handles seen selected that are still valid at the end:
// Wine's GetGuiResources does not count GDI objects.)
TEST_F(SurfaceTest, RepeatedPaintingKeepsTheGdiObjectCountBounded) {
  std::set<HGDIOBJ> seen;
  for (int round = 0; round < 20; ++round) {
    for (int i = 0; i < 50; ++i) {
      const TColor color = static_cast<TColor>((round * 50 + i) * 0x010203);
      FSurface.SetPen(color, 1 + i % 3, static_cast<TPenStyle>(i % 3), pmCopy);
      seen.insert(::GetCurrentObject(Dc(), OBJ_PEN));
      FSurface.MoveTo(0, i);
      FSurface.LineTo(100, i);
      FSurface.SetBrushColor(color);
      FSurface.FillRect({0, i, 10, i + 1});
      TLogFont font = ProgramFont("FixedSys");
      font.Height = 12 + (round * 50 + i) % 40;
      FSurface.SetFont(font);
      seen.insert(::GetCurrentObject(Dc(), OBJ_FONT));
      FSurface.TextOut(0, 0, "abc");
    }
  }
  ASSERT_GT(seen.size(), 500u);
  std::size_t alive = 0;
  for (HGDIOBJ object : seen) alive += ::GetObjectType(object) != 0 ? 1 : 0;
  // The caches hold 16 pens and 8 fonts at most; stock objects may be among
  // the handles seen.
  EXPECT_LE(alive, 16u + 8u + 4u);
}

// ---- drawing --------------------------------------------------------------------

struct PenCase {
  const char* label;
  TPenMode mode;
  TColor pen;
  DWORD once, twice;  // the line's pixel on white after one and two strokes
};

void PrintTo(const PenCase& c, std::ostream* os) { *os << c.label; }

class SurfacePens : public SurfaceTest, public ::testing::WithParamInterface<PenCase> {};

TEST_P(SurfacePens, MixModes) {
  const PenCase& c = GetParam();
  Clear(0xFFFFFF);
  FSurface.SetPen(c.pen, 1, psSolid, c.mode);
  FSurface.MoveTo(10, 50);
  FSurface.LineTo(60, 50);
  EXPECT_EQ(Pixel(30, 50), c.once);
  EXPECT_EQ(Pixel(60, 50), 0xFFFFFFu) << "the end point is not drawn";
  EXPECT_EQ(Pixel(30, 51), 0xFFFFFFu);
  FSurface.MoveTo(10, 50);
  FSurface.LineTo(60, 50);
  EXPECT_EQ(Pixel(30, 50), c.twice);
  FSurface.SetPen(0, 1, psSolid, pmCopy);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SurfacePens,
    ::testing::Values(PenCase{"Copy", pmCopy, 0x0000FF, 0x0000FF, 0x0000FF},
                      PenCase{"XorUndoesItself", pmXor, 0x00FFFF, 0xFF0000, 0xFFFFFF},
                      PenCase{"NotInverts", pmNot, 0x123456, 0x000000, 0xFFFFFF}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SurfaceTest, FillRectCoversExactlyItsRectangle) {
  Clear(0xFFFFFF);
  FSurface.SetBrushColor(0x00FF00);
  FSurface.FillRect({20, 30, 40, 50});
  EXPECT_EQ(Pixel(20, 30), 0x00FF00u);
  EXPECT_EQ(Pixel(39, 49), 0x00FF00u);
  EXPECT_EQ(Pixel(40, 49), 0xFFFFFFu);
  EXPECT_EQ(Pixel(39, 50), 0xFFFFFFu);
  EXPECT_EQ(Pixel(19, 30), 0xFFFFFFu);
}

// TextRect fills its rectangle with the background colour and keeps the
// text inside it; TextOut draws on an opaque background.
TEST_F(SurfaceTest, TextRectIsOpaqueAndClipped) {
  FSurface.SetFont(ProgramFont("FixedSys"));
  Clear(0x0000FF);
  FSurface.SetTextColor(0x000000);
  FSurface.SetBkColor(0xFFFF00);
  const std::string text = "\x93\xFA\x96\x7B\x8C\xEA\x93\xFA\x96\x7B\x8C\xEA";  // 日本語日本語
  FSurface.TextRect({10, 10, 50, 40}, 10, 15, text);
  EXPECT_EQ(Pixel(10, 10), 0xFFFF00u);  // above the text, inside the rectangle
  EXPECT_EQ(Pixel(49, 11), 0xFFFF00u);
  EXPECT_EQ(Pixel(50, 20), 0x0000FFu);  // the text goes on beyond 50, clipped
  EXPECT_EQ(Pixel(80, 20), 0x0000FFu);
  EXPECT_EQ(Pixel(20, 40), 0x0000FFu);

  Clear(0x0000FF);
  FSurface.SetBkColor(0x00FF00);
  FSurface.TextOut(100, 100, "    ");
  const TPoint extent = FSurface.TextExtent("    ");
  EXPECT_EQ(Pixel(100, 100), 0x00FF00u);
  EXPECT_EQ(Pixel(100 + extent.X - 1, 100 + extent.Y - 1), 0x00FF00u);
  EXPECT_EQ(Pixel(100 + extent.X, 100), 0x0000FFu);
}

// Nothing of a TextRect lands outside its rectangle, the underline of an
// underlined font (links) included.
TEST_F(SurfaceTest, TextRectClipsTheUnderlineToo) {
  for (const std::uint8_t underline : {0, 1}) {
    SCOPED_TRACE(underline ? "underlined" : "plain");
    TLogFont font = ProgramFont("FixedSys");
    font.Underline = underline;
    FSurface.SetFont(font);
    Clear(0x0000FF);
    FSurface.SetTextColor(0xFF0000);
    FSurface.SetBkColor(0xFFFFFF);
    const std::string text = "http://example.com/ \x82\xCC\x82\xE6\x82\xA4\x82\xC8";  // のような
    FSurface.TextRect({10, 10, 60, 40}, 10, 12, text);
    int outside = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 300; ++x) {
        const bool inside = x >= 10 && x < 60 && y >= 10 && y < 40;
        if (!inside && Pixel(x, y) != 0x0000FFu) ++outside;
      }
    }
    EXPECT_EQ(outside, 0);
  }
}

// Without a window nothing is drawn or measured, and nothing fails.
TEST(SurfaceDetached, DoesNothing) {
  TWin32Surface surface;
  surface.SetFont(ProgramFont("FixedSys"));
  surface.TextOut(0, 0, "abc");
  surface.SetPen(0, 1, psSolid, pmCopy);
  surface.LineTo(5, 5);
  surface.FillRect({0, 0, 5, 5});
  EXPECT_EQ(surface.TextExtent("abc"), TPoint{});
  EXPECT_EQ(surface.GetTextMetrics().Height, 0);
  EXPECT_EQ(surface.Dc(), nullptr);
}

}  // namespace
}  // namespace notavo
