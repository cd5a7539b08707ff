// The size of owner-drawn menu items, in a font of 7 pixels a character.
#include "menuskin/item_measure.h"

#include <gtest/gtest.h>

namespace notavo::menuskin {
namespace {

TTextMeasure FixedFont(int height) {
  return {[](std::wstring_view text) { return static_cast<int>(text.size()) * 7; }, height};
}

struct TMeasureCase {
  const char* Name;
  TMeasuredItem Item;
  int CurrentWidth;
  int TextHeight;
  TItemSize Expected;
};

TEST(ItemMeasureTest, Rules) {
  const auto item = [](const wchar_t* text, bool inDropDown = true, bool subMenu = false,
                       int imageWidth = 0, int imageHeight = 0) {
    TMeasuredItem i;
    i.Text = text;
    i.InDropDown = inDropDown;
    i.HasSubMenu = subMenu;
    i.ImageWidth = imageWidth;
    i.ImageHeight = imageHeight;
    return i;
  };
  TMeasuredItem separator = item(L"");
  separator.Separator = true;
  const TMeasureCase cases[] = {
      {"separator", separator, 50, 12, {50, 4}},
      {"dash caption", item(L"-"), 0, 12, {0, 4}},
      // 7 characters, + 5, less the "&"; the icon column.
      {"plain", item(L"開く(&O)"), 0, 12, {6 * 7 + 5 - 7 + 24, 21}},
      {"no access key", item(L"Version"), 0, 12, {7 * 7 + 5 + 24, 21}},
      // Caption, "WWW", shortcut.
      {"shortcut", item(L"新規作成(&N)\tCtrl+N"), 0, 12, {(8 + 3 + 6) * 7 + 5 - 7 + 24, 21}},
      {"sub-menu arrow", item(L"Sub", true, true), 0, 12, {3 * 7 + 5 + 6 + 24, 21}},
      {"menu bar: no arrow, no column", item(L"File", false, true), 0, 12, {4 * 7 + 5, 21}},
      {"menu bar image counts as it is",
       item(L"File", false, false, 16, 16),
       0,
       12,
       {4 * 7 + 5 + 16, 22}},
      {"small image: the column", item(L"Cut", true, false, 16, 16), 0, 12, {3 * 7 + 5 + 24, 22}},
      {"wide image", item(L"Cut", true, false, 32, 30), 0, 12, {3 * 7 + 5 + 32, 36}},
      {"wider already", item(L"Cut"), 200, 12, {200, 21}},
      // Height: text height + round(3/4 of it).
      {"height 10", item(L"A"), 0, 10, {7 + 5 + 24, 18}},
      {"height 13", item(L"A"), 0, 13, {7 + 5 + 24, 23}},
      {"height 6", item(L"A"), 0, 6, {7 + 5 + 24, 11}},
  };
  for (const TMeasureCase& c : cases) {
    EXPECT_EQ(MeasureMenuItem(c.Item, c.CurrentWidth, FixedFont(c.TextHeight), 24), c.Expected)
        << c.Name;
  }
}

TEST(ItemMeasureTest, TextSplitsAtTheFirstTab) {
  const TItemText text = SplitItemText(L"A\tB\tC");
  EXPECT_EQ(text.Caption, L"A");
  EXPECT_EQ(text.Shortcut, L"B\tC");
  EXPECT_EQ(SplitItemText(L"A").Shortcut, L"");
}

}  // namespace
}  // namespace notavo::menuskin
