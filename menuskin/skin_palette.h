// The colours the skin draws with, worked out from the properties, the
// system's colours and the screen's colour depth.
#pragma once

#include <functional>

#include "menuskin/xp_menu_options.h"

namespace notavo::menuskin {

struct TSkinPalette {
  TColor MenuBackground = 0;
  TColor IconColumn = 0;
  TColor SelectFill = 0;
  TColor SelectFrame = 0;
  TColor MenuBar = 0;
  TColor Text = 0;  // the font's colour
  TColor SelectedText = 0;
  TColor DisabledText = 0;
  TColor Separator = 0;
  TColor CheckFrame = 0;
  TColor CheckFill = 0;
  TColor CheckFillSelected = 0;
  friend bool operator==(const TSkinPalette&, const TSkinPalette&) = default;
};

// The plain colour of a system colour index.
using TSystemColorSource = std::function<TColor(int index)>;

// High colour: more than 15 bits per pixel.
constexpr bool IsHighColor(int bitsPerPixel) { return bitsPerPixel > 15; }

TSkinPalette EffectivePalette(const TXPMenuOptions& options, const TSystemColorSource& system,
                              bool highColor);

}  // namespace notavo::menuskin
