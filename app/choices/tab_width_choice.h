// The display dialog's tab-width list: "2", "4", "6" and "8".
#pragma once

#include <string_view>

namespace notavo {

inline constexpr const char* kTabWidthItems[] = {"2", "4", "6", "8"};

// The item shown for a tab width: TabCount div 2 - 1, so 3 shows "2", 5
// shows "4"; -1 (nothing shown) for a width of 1.
int TabWidthItem(int tabCount);

// The tab width OK sets from the list's text: the number, 4 when empty.
int TabWidthFromText(std::string_view text);

}  // namespace notavo
