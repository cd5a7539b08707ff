// Shift-JIS (code page 932) byte roles, from our own lead-byte table so the
// result never depends on the machine's ANSI code page.
#pragma once

#include <string_view>

namespace notavo {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

enum TByteType : int { btSingle = 0, btLead = 1, btTrail = 2 };

// Role of the byte at the 1-based `position` of `s`: single-byte character,
// lead byte or trail byte. Outside the string, or with `singleByte` on, 0.
// Walks back over the run of lead-valued bytes before the position; hot paths
// that move forward should track boundaries themselves instead.
int ByteTypeAt(std::string_view s, int position, bool singleByte);

}  // namespace notavo
