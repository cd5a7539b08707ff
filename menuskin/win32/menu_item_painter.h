// Measuring and drawing one owner-drawn menu item: drop-down items into an
// off-screen bitmap copied to the menu at the end, and menu-bar items.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include <string>

#include "menuskin/item_measure.h"
#include "menuskin/skin_palette.h"
#include "menuskin/xp_menu_options.h"
// clang-format on

namespace notavo::menuskin {

// What the menu says about the item.
struct TMenuItemFacts {
  std::wstring Text;  // caption, tab, shortcut
  bool Separator = false;
  bool HasSubMenu = false;
  bool RadioCheck = false;  // checked shows a dot, not a mark
  bool InDropDown = true;
  HBITMAP Image = nullptr;  // the item's own bitmap
};

// What the item is drawn with.
struct TMenuLook {
  const TXPMenuOptions& Options;
  const TSkinPalette& Palette;
  HFONT Font;
  bool HighColor;
};

TItemSize MeasureItem(const TMenuItemFacts& item, int currentWidth, const TMenuLook& look);
// `state`: the ODS_ bits of the drawing request.
void PaintItem(HDC dc, const RECT& rect, UINT state, const TMenuItemFacts& item,
               const TMenuLook& look);

}  // namespace notavo::menuskin
