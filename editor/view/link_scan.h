// The link rules of one display row: which bytes are web or mail addresses
// or "tag:" names, given what the row before left open. A link may run on
// from a soft row into the next one; a hard line end or an empty line ends it.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace notavo {

// What a row leaves open for the next row of its logical line.
enum class TLinkRunOn : std::uint8_t {
  kNone,
  kLink,     // a web or mail address reached the end of a soft row
  kTag,      // a "tag:" name before its first "."
  kTagTail,  // the part of a "tag:" name after its "."
};

// Called with 1-based byte positions from..to (inclusive) of a link piece.
using TLinkSpanSink = std::function<void(int from, int to)>;

class TLinkScanner {
 public:
  // Scans `row` (terminator included) entering in state `in` and reports
  // its link pieces in order to `sink` (if any); returns what the row leaves
  // open. `next` is the following row (empty after the last): a prefix cut
  // by a soft wrap is found from the row where it starts. Matching ignores
  // the case of single-byte letters.
  TLinkRunOn Scan(std::string_view row, std::string_view next, bool singleByte, TLinkRunOn in,
                  const TLinkSpanSink& sink);

 private:
  // Byte roles of the row, worked out forwards once per row.
  void ClassifyBytes(std::string_view row, bool singleByte);

  std::vector<std::uint8_t> roles_;
};

}  // namespace notavo
