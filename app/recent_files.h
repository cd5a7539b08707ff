// The recently used files: newest first, at most eight, no name twice
// (names compare without regard to the case of their Latin letters, half-
// or full-width; other trail bytes of double-byte characters compare
// exactly, so ア and ャ, whose trail bytes are 'A' and 'a', stay apart).
// Kept only while the program runs. Names are code page 932 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace notavo {

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b);

class TRecentFiles {
 public:
  static constexpr std::size_t kCapacity = 8;

  // Puts `name` at the top: an equal entry moves there, the ninth drops out.
  void Add(const std::string& name);
  void RemoveAt(std::size_t index);
  const std::vector<std::string>& Items() const { return FItems; }

 private:
  std::vector<std::string> FItems;
};

}  // namespace notavo
