// Text measuring seam: pixel widths of code page 932 bytes in the current
// font. The window implementation measures with the real font; tests use
// fixed, simple widths.
#pragma once

#include <string_view>

namespace notavo {

class TTextMeasurer {
 public:
  virtual ~TTextMeasurer() = default;
  // Width in pixels of `bytes` drawn in one piece (tabs already expanded).
  virtual int TextWidth(std::string_view bytes) const = 0;
};

// Fixed widths: every byte is `unitWidth` pixels, so a double-byte
// character is two units, as in a monospaced Japanese font.
class TFixedTextMeasurer final : public TTextMeasurer {
 public:
  explicit TFixedTextMeasurer(int unitWidth = 1) : unitWidth_(unitWidth) {}
  int TextWidth(std::string_view bytes) const override {
    return static_cast<int>(bytes.size()) * unitWidth_;
  }

 private:
  int unitWidth_;
};

}  // namespace notavo
