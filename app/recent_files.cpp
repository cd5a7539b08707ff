#include "app/recent_files.h"

#include <algorithm>

#include "textstore/shift_jis.h"

namespace notavo {
namespace {

unsigned char FoldLatin(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool trail = false;  // the byte is the second of a double-byte character
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (trail) {
      if (x != y) return false;
      trail = false;
      continue;
    }
    if (FoldLatin(x) != FoldLatin(y)) return false;
    trail = IsLeadByte(x);
  }
  return true;
}

void TRecentFiles::Add(const std::string& name) {
  const auto same = [&](const std::string& item) { return SameFileNameIgnoringCase(item, name); };
  FItems.erase(std::remove_if(FItems.begin(), FItems.end(), same), FItems.end());
  FItems.insert(FItems.begin(), name);
  if (FItems.size() > kCapacity) FItems.resize(kCapacity);
}

void TRecentFiles::RemoveAt(std::size_t index) {
  if (index < FItems.size()) FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace notavo
