// The skin's colour arithmetic, the image effects and the colours it draws
// with.
#include "menuskin/skin_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "menuskin/pixel_image.h"
#include "menuskin/skin_palette.h"

namespace notavo::menuskin {
namespace {

constexpr TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

struct TColorCase {
  TColor (*Function)(TColor, int);
  TColor In;
  int Amount;
  TColor Out;
};

TEST(SkinColorTest, RoundingClampingTheCapAndGreensTwo) {
  const TColorCase cases[] = {
      {LightenColor, Rgb(0, 0, 0), 30, Rgb(77, 77, 77)},           // 76.5 rounds up
      {LightenColor, Rgb(254, 0, 100), 50, Rgb(255, 128, 178)},    // 0.5, 127.5, 77.5
      {LightenColor, Rgb(10, 20, 30), 250, Rgb(255, 255, 255)},    // p capped at 100
      {LightenColor, Rgb(10, 128, 200), -10, Rgb(0, 115, 194)},    // darker, clamped at 0
      {LightenColor, Rgb(212, 208, 200), 86, Rgb(249, 248, 247)},  // the menu background
      {DarkenColor, Rgb(100, 100, 100), 60, Rgb(40, 42, 40)},
      {DarkenColor, Rgb(10, 10, 10), 60, Rgb(0, 0, 0)},
      {DarkenColor, Rgb(250, 254, 250), -10, Rgb(255, 255, 255)},
      {DarkenColor, Rgb(0, 0, 0), 0, Rgb(0, 2, 0)},
      {GrayColor, Rgb(1, 1, 2), 0, Rgb(1, 1, 1)},  // the mean rounded down
      {GrayColor, Rgb(30, 60, 90), 10, Rgb(70, 70, 70)},
      {GrayColor, Rgb(230, 230, 230), 20, Rgb(240, 240, 240)},
      {GrayColor, Rgb(5, 5, 5), -20, Rgb(0, 0, 0)},
  };
  for (const TColorCase& c : cases) {
    EXPECT_EQ(c.Function(c.In, c.Amount), c.Out) << std::hex << c.In << std::dec << " " << c.Amount;
  }
}

// Against the formulas worked out in floating point.
TEST(SkinColorTest, RandomColoursMatchTheFormulas) {
  std::mt19937 random(14);
  std::uniform_int_distribution<int> channel(0, 255), amount(-150, 250);
  const auto clamp = [](double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); };
  for (int i = 0; i < 20000; ++i) {
    const int r = channel(random), g = channel(random), b = channel(random), p = amount(random);
    const TColor c = Rgb(r, g, b);
    const double capped = std::min(p, 100);
    const auto lighten = [&](int x) { return clamp(x + std::round((255 - x) * capped / 100.0)); };
    ASSERT_EQ(LightenColor(c, p), Rgb(lighten(r), lighten(g), lighten(b)))
        << r << "," << g << "," << b << " " << p;
    ASSERT_EQ(DarkenColor(c, p), Rgb(clamp(r - p), clamp(g - p + 2.0), clamp(b - p)));
    const int gray = clamp(std::min(std::floor((r + g + b) / 3.0) + p, 240.0));
    ASSERT_EQ(GrayColor(c, p), Rgb(gray, gray, gray));
  }
}

TEST(PixelImageTest, EffectsKeepTheMaskAndDrawingClipsAtTheEdges) {
  const TColor key = Rgb(255, 0, 255), ink = Rgb(0, 0, 128);
  // 3 x 2: the bottom-left pixel names the transparent colour.
  TPixelImage image{3, 2, {ink, key, ink, key, ink, key}};
  const std::vector<bool> mask = OpaqueMask(image);
  EXPECT_EQ(mask, (std::vector<bool>{true, false, true, false, true, false}));
  GrayPixels(image, 10);
  DimPixels(image, 30);
  const TColor dimmedGray = LightenColor(GrayColor(ink, 10), 30);
  EXPECT_EQ(image.At(0, 0), dimmedGray);

  TPixelImage target{4, 3, std::vector<TColor>(12, 0)};
  const TColor shadow = Rgb(1, 2, 3);
  DrawOpaque(target, image, mask, 2, 2, &shadow);  // only (2, 2) lands inside
  DrawOpaque(target, image, mask, -1, 0);
  const std::vector<TColor> expected = {0,          dimmedGray, 0,      0,  //
                                        dimmedGray, 0,          0,      0,  //
                                        0,          0,          shadow, 0};
  EXPECT_EQ(target.Pixels, expected);
}

TSkinPalette PaletteFor(const TXPMenuOptions& options, bool highColor) {
  // Button face, highlight, shadow and menu text of a classic scheme.
  return EffectivePalette(
      options,
      [](int index) -> TColor {
        switch (index) {
          case SystemColorIndex(clBtnFace):
            return Rgb(212, 208, 200);
          case SystemColorIndex(clHighlight):
            return Rgb(10, 36, 106);
          case SystemColorIndex(clBtnShadow):
            return Rgb(128, 128, 128);
          case SystemColorIndex(clMenuText):
            return Rgb(0, 0, 0);
          default:
            return Rgb(1, 1, 1);
        }
      },
      highColor);
}

TEST(SkinPaletteTest, SystemColoursAtHighColourAndTheirFallbacks) {
  const TColor face = Rgb(212, 208, 200), highlight = Rgb(10, 36, 106), shadow = Rgb(128, 128, 128);
  const TSkinPalette high = PaletteFor(MainWindowXPMenuOptions(), true);
  EXPECT_EQ(high, (TSkinPalette{LightenColor(face, 86), LightenColor(face, 16),
                                LightenColor(highlight, 68), highlight, face, 0, 0,
                                LightenColor(shadow, 10), LightenColor(shadow, 25), highlight,
                                LightenColor(highlight, 80), LightenColor(highlight, 50)}));
  const TSkinPalette low = PaletteFor(MainWindowXPMenuOptions(), false);
  EXPECT_EQ(low.MenuBackground, Rgb(255, 255, 255));
  EXPECT_EQ(low.IconColumn, Rgb(192, 192, 192));

  TXPMenuOptions own;
  own.UseSystemColors = false;
  own.SelectColor = Rgb(0, 100, 0);
  EXPECT_EQ(PaletteFor(own, true).SelectFill, Rgb(0, 100, 0));
  own.UseDimColor = true;
  EXPECT_EQ(PaletteFor(own, true).SelectFill, LightenColor(Rgb(0, 100, 0), 68));
}

TEST(SkinPaletteTest, TheMainWindowDiffersFromTheDefaultsInFontControlsAndActive) {
  TXPMenuOptions expected;
  expected.Font = {"MS UI Gothic", -12, 128, clMenuText};
  expected.XPControls = TXPControls::All().Without(xcButton);
  expected.Active = true;
  EXPECT_EQ(MainWindowXPMenuOptions(), expected);
  EXPECT_TRUE(TXPControls::All().Has(xcHotKey));
  EXPECT_FALSE(TXPContainers::All().Has(static_cast<TXPContainer>(kXPContainerCount)));
}

}  // namespace
}  // namespace notavo::menuskin
