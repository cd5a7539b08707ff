#include "menuskin/xp_menu_options.h"

namespace notavo::menuskin {

TXPMenuOptions MainWindowXPMenuOptions() {
  TXPMenuOptions options;
  // "MS UI Gothic" in code page 932 is plain ASCII.
  options.Font = TMenuFontDesc{"MS UI Gothic", -12, 128, clMenuText};
  options.SelectFontColor = clMenuText;
  options.XPControls = TXPControls::All().Without(xcButton);
  options.Active = true;
  return options;
}

}  // namespace notavo::menuskin
