#include "menuskin/item_measure.h"

#include <algorithm>

namespace notavo::menuskin {
namespace {

// Reserves the gap between a caption and its shortcut.
constexpr std::wstring_view kShortcutGap = L"WWW";
constexpr int kTextPadding = 5;
constexpr int kSubMenuArrow = 6;
constexpr int kImagePadding = 6;

}  // namespace

TItemText SplitItemText(std::wstring_view text) {
  const std::size_t tab = text.find(L'\t');
  if (tab == std::wstring_view::npos) return {std::wstring(text), {}};
  return {std::wstring(text.substr(0, tab)), std::wstring(text.substr(tab + 1))};
}

bool IsSeparatorCaption(std::wstring_view caption) { return caption == L"-"; }

TItemSize MeasureMenuItem(const TMeasuredItem& item, int currentWidth, const TTextMeasure& font,
                          int iconWidth) {
  const TItemText text = SplitItemText(item.Text);
  if (item.Separator || IsSeparatorCaption(text.Caption)) return {currentWidth, kSeparatorHeight};
  std::wstring measured = text.Caption;
  if (!text.Shortcut.empty()) measured += std::wstring(kShortcutGap) + text.Shortcut;
  int textWidth = font.Width(measured) + kTextPadding;
  if (measured.find(L'&') != std::wstring::npos) textWidth -= font.Width(L"&");
  if (item.InDropDown && item.HasSubMenu) textWidth += kSubMenuArrow;
  int imageWidth = item.ImageWidth;
  if (item.InDropDown) imageWidth = std::max(imageWidth, iconWidth);
  const int width = std::max(currentWidth, textWidth + imageWidth);
  // Three quarters of the text height again, rounded half away from zero.
  const int height = std::max(font.Height + (font.Height * 3 + 2) / 4,
                              item.ImageHeight > 0 ? item.ImageHeight + kImagePadding : 0);
  return {width, height};
}

}  // namespace notavo::menuskin
