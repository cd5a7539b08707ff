#include "textstore/shift_jis.h"

namespace notavo {

int ByteTypeAt(std::string_view s, int position, bool singleByte) {
  if (singleByte || position < 1 || static_cast<std::size_t>(position) > s.size()) return btSingle;
  const std::size_t at = static_cast<std::size_t>(position) - 1;
  // The parity of the run of lead-valued bytes before `at` decides: each
  // complete pair of them is a character, an odd one left over is our lead.
  std::size_t leadRun = 0;
  for (std::size_t i = at; i > 0 && IsLeadByte(static_cast<unsigned char>(s[i - 1])); --i)
    ++leadRun;
  if (leadRun % 2 == 1) return btTrail;
  return IsLeadByte(static_cast<unsigned char>(s[at])) ? btLead : btSingle;
}

}  // namespace notavo
