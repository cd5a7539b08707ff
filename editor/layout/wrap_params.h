// What the row cut depends on: the wrap properties of the editor and, for
// wrapping at the window edge, the text area and the font's measurer.
#pragma once

namespace notavo {

class TTextMeasurer;

struct TWrapParams {
  static constexpr int kMinColumn = 10;
  static constexpr int kMinTabCount = 1, kMaxTabCount = 8;

  int Column = 1000;                        // row width in cells, at least kMinColumn
  int TabCount = 8;                         // 1..8
  bool SingleByteMode = false;              // every byte is a character of its own
  bool AutoWrap = false;                    // also cut at the text area's pixel width
  int TextAreaWidth = 0;                    // pixels
  int CharWidth = 8;                        // the font's average character width, pixels
  const TTextMeasurer* Measurer = nullptr;  // needed only with AutoWrap

  // The pixel width a row may take with AutoWrap: never below ten average
  // characters, so a very narrow window still shows readable rows.
  long long MaxRowPixels() const {
    const long long tenChars = 10LL * CharWidth;
    return TextAreaWidth > tenChars ? TextAreaWidth : tenChars;
  }
};

}  // namespace notavo
