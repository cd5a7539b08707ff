// Pixel widths of display rows for the horizontal scroll bar, remembered by
// row index so that a keystroke measures its own row, not the whole view.
// A row the store reports untouched since it was measured keeps its width
// without being looked at; a row at or after an edit is compared byte for
// byte with the bytes it was measured with (or with its neighbours', when
// rows moved by one), and measured again only when none match. No hash
// stands in for the bytes, so no collision can show a wrong width.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace notavo {

class TZelStrings;

class TRowWidthCache {
 public:
  using TMeasure = std::function<int(std::string_view row)>;

  explicit TRowWidthCache(const TZelStrings& lines) : lines_(lines) {}

  // The width of `row`; `measure` is called only for rows not known.
  int Width(int row, const TMeasure& measure);
  // Forgets every width: they belong to the font and the tab count.
  void clear();

 private:
  struct Entry {
    std::string bytes;  // what `width` was measured from
    int width = 0;
    std::uint64_t seen = 0;  // the store's generation when last checked
  };
  // Rows within this distance of the one asked for are kept when the
  // cache grows past kMaxRows: the view's rows stay, scrolled-off ones go.
  static constexpr int kNear = 512;
  static constexpr std::size_t kMaxRows = 4096;

  void Trim(int row);

  const TZelStrings& lines_;
  std::map<int, Entry> rows_;
  Entry displaced_;  // the entry a row's new bytes last replaced
};

}  // namespace notavo
