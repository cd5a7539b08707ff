#include "app/choices/tab_width_choice.h"

#include <charconv>

namespace notavo {

int TabWidthItem(int tabCount) { return tabCount / 2 - 1; }

int TabWidthFromText(std::string_view text) {
  int value = 4;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace notavo
