// Small value types shared by the core and the platform layers.
#pragma once

#include <cstdint>

namespace notavo {

// Colours in the platform's 0x00BBGGRR layout (0xFF0000 is blue).
using TColor = std::uint32_t;
constexpr TColor InverseColor(TColor c) { return (c ^ 0xFFFFFFu) & 0xFFFFFFu; }

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace notavo
