// The 16 x 16 menu images: cut from the strip in the resources, magenta
// replaced by the menu's colour, and shown beside menu items.
#pragma once

// The GDI wrappers bring the editor's headers and <windows.h> in order.
#include "platform/win32/gdi_objects.h"
// clang-format off
#include <vector>
// clang-format on

namespace notavo {

class TMenuImages {
 public:
  // Loads `count` images from the bitmap resource `id`; none on failure.
  TMenuImages(HINSTANCE instance, int id, int count);
  // Shows image `index` beside the item with command `command` of `menu`
  // and its submenus.
  void Apply(HMENU menu, UINT command, int index) const;

 private:
  std::vector<win32::TGdiObject<HBITMAP>> FImages;
};

}  // namespace notavo
