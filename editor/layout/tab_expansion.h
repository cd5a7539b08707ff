// Tab expansion: widths for wrapping and columns count bytes after tabs
// become spaces up to the next stop, stops every `tabCount` cells from the
// start of the text (always the start of a row).
#pragma once

#include <string>
#include <string_view>

namespace notavo {

std::string ExpandTabs(std::string_view text, int tabCount);

// Cells taken by a tab that starts at cell `column`.
constexpr int TabCells(int column, int tabCount) { return tabCount - column % tabCount; }

}  // namespace notavo
