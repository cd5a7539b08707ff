#include "app/recent_files.h"

#include <algorithm>

#include "textstore/shift_jis.h"

namespace notavo {
namespace {

unsigned char FoldLatin(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// The trail byte of a full-width Latin letter (lead byte 0x82): ａ..ｚ
// (0x81..0x9A) as Ａ..Ｚ (0x60..0x79), as the file system compares them.
unsigned char FoldFullWidthTrail(unsigned char lead, unsigned char trail) {
  return lead == 0x82 && trail >= 0x81 && trail <= 0x9A ? static_cast<unsigned char>(trail - 0x21)
                                                        : trail;
}

}  // namespace

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char lead = 0;  // the lead byte when this byte is a trail byte
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (lead != 0) {
      if (FoldFullWidthTrail(lead, x) != FoldFullWidthTrail(lead, y)) return false;
      lead = 0;
      continue;
    }
    if (FoldLatin(x) != FoldLatin(y)) return false;
    if (IsLeadByte(x)) lead = x;
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
