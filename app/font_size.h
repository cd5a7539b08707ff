// Font sizes in points and heights in pixels (negative: character height,
// as logical fonts take them), at the screen's pixels per inch.
#pragma once

#include <cmath>

namespace notavo {

inline int FontHeightForPoints(int points, int pixelsPerInch) {
  return -static_cast<int>(std::lround(static_cast<double>(points) * pixelsPerInch / 72.0));
}

inline int FontPointsForHeight(int height, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  const int pixels = height < 0 ? -height : height;
  return static_cast<int>(std::lround(static_cast<double>(pixels) * 72.0 / pixelsPerInch));
}

}  // namespace notavo
