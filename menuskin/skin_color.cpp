#include "menuskin/skin_color.h"

#include <algorithm>

namespace notavo::menuskin {
namespace {

int Clamp(int channel) { return std::clamp(channel, 0, 255); }

// n / 100 rounded half away from zero.
int RoundedPercent(int n) { return n >= 0 ? (n + 50) / 100 : -((-n + 50) / 100); }

int Lighten(int channel, int percent) {
  return Clamp(channel + RoundedPercent((255 - channel) * percent));
}

}  // namespace

TColor MakeColor(int red, int green, int blue) {
  return static_cast<TColor>(Clamp(red)) | static_cast<TColor>(Clamp(green)) << 8 |
         static_cast<TColor>(Clamp(blue)) << 16;
}

TColor LightenColor(TColor color, int percent) {
  percent = std::min(percent, 100);
  return MakeColor(Lighten(RedOf(color), percent), Lighten(GreenOf(color), percent),
                   Lighten(BlueOf(color), percent));
}

TColor DarkenColor(TColor color, int amount) {
  return MakeColor(RedOf(color) - amount, GreenOf(color) - amount + 2, BlueOf(color) - amount);
}

TColor GrayColor(TColor color, int amount) {
  const int level = std::min((RedOf(color) + GreenOf(color) + BlueOf(color)) / 3 + amount, 240);
  return MakeColor(level, level, level);
}

TColor AverageColor(TColor a, TColor b) {
  return MakeColor((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2,
                   (BlueOf(a) + BlueOf(b)) / 2);
}

}  // namespace notavo::menuskin
