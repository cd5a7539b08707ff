#include "editor/layout/tab_expansion.h"

namespace notavo {

std::string ExpandTabs(std::string_view text, int tabCount) {
  if (tabCount < 1) tabCount = 1;
  std::string expanded;
  expanded.reserve(text.size());
  for (char c : text) {
    if (c == '\t') {
      expanded.append(
          static_cast<std::size_t>(TabCells(static_cast<int>(expanded.size()), tabCount)), ' ');
    } else {
      expanded.push_back(c);
    }
  }
  return expanded;
}

}  // namespace notavo
