// A logical-font record as the window system's font mapper takes it.
#pragma once

#include <cstdint>
#include <string>

namespace notavo {

struct TLogFont {
  static constexpr std::uint8_t kDefaultCharset = 1;
  static constexpr std::uint8_t kShiftJisCharset = 128;
  static constexpr std::uint8_t kFixedPitch = 1;

  int Height = 0;  // > 0: cell height; < 0: character height, pixels
  int Width = 0;
  int Escapement = 0;
  int Orientation = 0;
  int Weight = 0;
  std::uint8_t Italic = 0;
  std::uint8_t Underline = 0;
  std::uint8_t StrikeOut = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t OutPrecision = 0;
  std::uint8_t ClipPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  std::string FaceName;  // code page 932 bytes
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

}  // namespace notavo
