// The skin's colour arithmetic on 0x00BBGGRR colours, each channel kept in
// 0..255.
#pragma once

#include "platform/geometry.h"

namespace notavo::menuskin {

constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
// Channels outside 0..255 are clamped.
TColor MakeColor(int red, int green, int blue);

// Each channel moved `percent` of its way to 255 (rounded, half away from
// zero); `percent` above 100 counts as 100, below 0 darkens.
TColor LightenColor(TColor color, int percent);
// Red and blue less `amount`, green less `amount` - 2.
TColor DarkenColor(TColor color, int amount);
// The gray at the channels' mean plus `amount`, at most 240.
TColor GrayColor(TColor color, int amount);
// The channels' mean of two colours.
TColor AverageColor(TColor a, TColor b);

}  // namespace notavo::menuskin
