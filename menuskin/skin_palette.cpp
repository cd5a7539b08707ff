#include "menuskin/skin_palette.h"

#include "menuskin/skin_color.h"

namespace notavo::menuskin {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kSilver = 0xC0C0C0;

}  // namespace

TSkinPalette EffectivePalette(const TXPMenuOptions& options, const TSystemColorSource& system,
                              bool highColor) {
  const auto plain = [&](TColor c) {
    return IsSystemColor(c) ? system(SystemColorIndex(c)) & 0xFFFFFF : c & 0xFFFFFF;
  };
  TSkinPalette p;
  p.Text = plain(options.Font.Color);
  p.MenuBar = plain(options.MenuBarColor);
  if (options.UseSystemColors) {
    const TColor face = plain(clBtnFace), highlight = plain(clHighlight),
                 shadow = plain(clBtnShadow);
    p.SelectFrame = highlight;
    p.CheckFrame = highlight;
    p.SelectedText = p.Text;
    p.MenuBar = face;
    if (highColor) {
      p.MenuBackground = LightenColor(face, 86);
      p.IconColumn = LightenColor(face, 16);
      p.SelectFill = LightenColor(highlight, 68);
      p.DisabledText = LightenColor(shadow, 10);
      p.Separator = LightenColor(shadow, 25);
      p.CheckFill = LightenColor(highlight, 80);
      p.CheckFillSelected = LightenColor(highlight, 50);
    } else {
      p.MenuBackground = kWhite;
      p.IconColumn = kSilver;
      p.SelectFill = kWhite;
      p.DisabledText = shadow;
      p.Separator = shadow;
      p.CheckFill = kWhite;
      p.CheckFillSelected = kSilver;
    }
    return p;
  }
  p.MenuBackground = plain(options.Color);
  p.IconColumn = plain(options.IconBackColor);
  p.SelectFrame = plain(options.SelectBorderColor);
  p.CheckFrame = plain(options.SelectBorderColor);
  p.SelectedText = plain(options.SelectFontColor);
  p.DisabledText = plain(options.DisabledColor);
  p.Separator = plain(options.SeparatorColor);
  const TColor select = plain(options.SelectColor), checked = plain(options.CheckedColor);
  if (options.UseDimColor) {
    p.SelectFill = LightenColor(select, 68);
    p.CheckFill = LightenColor(checked, 80);
    p.CheckFillSelected = LightenColor(checked, 50);
  } else {
    p.SelectFill = select;
    p.CheckFill = checked;
    p.CheckFillSelected = checked;
  }
  return p;
}

}  // namespace notavo::menuskin
