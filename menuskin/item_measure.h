// The size of an owner-drawn menu item: separators, the caption with its
// shortcut, the sub-menu arrow and the image.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace notavo::menuskin {

// A menu item's text: the caption, and the shortcut after a tab.
struct TItemText {
  std::wstring Caption;
  std::wstring Shortcut;
};
TItemText SplitItemText(std::wstring_view text);
bool IsSeparatorCaption(std::wstring_view caption);

struct TMeasuredItem {
  std::wstring_view Text;  // as the menu holds it: caption, tab, shortcut
  bool Separator = false;
  bool InDropDown = true;  // false: an item of the menu bar
  bool HasSubMenu = false;
  int ImageWidth = 0;  // 0: no image
  int ImageHeight = 0;
};

// Text widths in the menu font, and its height.
struct TTextMeasure {
  std::function<int(std::wstring_view)> Width;
  int Height = 0;
};

struct TItemSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TItemSize&, const TItemSize&) = default;
};

inline constexpr int kSeparatorHeight = 4;

// `currentWidth`: what the item holds before measuring (the system's value).
TItemSize MeasureMenuItem(const TMeasuredItem& item, int currentWidth, const TTextMeasure& font,
                          int iconWidth);

}  // namespace notavo::menuskin
