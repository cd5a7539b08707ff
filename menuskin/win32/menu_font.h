// The font menus are drawn in: the Font property, or the system's menu
// font when it names none; a face without Japanese glyphs is replaced.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include "menuskin/xp_menu_options.h"
// clang-format on

namespace notavo::menuskin {

win32::TFont MakeMenuFont(const TMenuFontDesc& desc);

}  // namespace notavo::menuskin
