// Comma text: rows joined by commas, quoted when they hold a space or comma.
// Quotes inside a row are not escaped (kept for compatibility with stored
// lists), so SetCommaText ends an item at its first quote.
#include <algorithm>

#include "textstore/zel_strings.h"

namespace notavo {

std::string TZelStrings::GetCommaText() const {
  std::string text;
  text.reserve(4096);
  for (int i = 0; i < FCount; ++i) {
    const std::string_view row = FList[i].view();
    // Grow by at least what this row needs, not a fixed step.
    const std::size_t need = text.size() + row.size() + 3;
    if (need > text.capacity()) text.reserve(std::max(need, text.capacity() + 1024));
    if (i > 0) text.push_back(',');
    const bool quoted = row.find_first_of(" ,") != std::string_view::npos;
    if (quoted) text.push_back('"');
    text.append(row);
    if (quoted) text.push_back('"');
  }
  return text;
}

void TZelStrings::SetCommaText(std::string_view text) {
  Clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const bool quoted = text[pos] == '"';
    if (quoted) ++pos;
    std::size_t end = pos;
    while (end < text.size()) {
      const char c = text[end];
      if (c == '\r' || c == '\0' || c == '"' || (!quoted && c == ',')) break;
      ++end;
    }
    Add(text.substr(pos, end - pos));
    pos = end + (quoted ? 2 : 1);
  }
}

}  // namespace notavo
