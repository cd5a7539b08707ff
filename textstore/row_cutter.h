// Cutting bytes into rows. Rows point into blocks built alongside them, so
// cutting a large document allocates a few big blocks, not a string a row.
#pragma once

#include <cstddef>
#include <string_view>

#include "textstore/row.h"

namespace notavo {

// Flat text (SetText, InsertText): each piece runs to the first CR or NUL and
// the one byte after it (when there is one); the rest is the last piece. An
// empty text is one empty piece.
TRowList CutFlatText(std::string_view text);

// A CR LF file held whole in `block` (`size` bytes followed by at least two
// spare bytes): every CR or NUL ends a row together with the byte after it;
// the file's bytes stay as they are and the last row gets the end-of-text
// mark, written into the spare bytes. Two guards keep rows well-formed: a NUL
// followed by another NUL stays an ordinary byte (no row but the last ends
// in NUL NUL), and a CR or NUL that is the very last byte stays an ordinary
// byte of the last line instead of merging with the mark.
// A large file is cut in two halves at once, split at a row end found from
// `splitNear` on (kSplitInHalf: the middle, when the file is large and a
// second core is there; 0: no split); the rows are the same either way.
inline constexpr std::size_t kSplitInHalf = static_cast<std::size_t>(-1);
TRowList CutCrLfBlock(TRowBlock block, std::size_t size, std::size_t splitNear = kSplitInHalf);
// The end of the first row that ends at or after `from` and that every cut
// of data[0, size) from its start makes too; `size` when there is none.
std::size_t CrLfRowEndAfter(const char* data, std::size_t size, std::size_t from);

// A file in LF or CR style, streamed in chunks of any size: `breakByte` ends
// a line and becomes CR LF, NUL bytes are dropped, and the other line-break
// byte is an ordinary byte. The rows do not depend on the chunk boundaries.
class BreakByteRowCutter {
 public:
  // `expectedBytes`: about how many bytes will be fed (the file's size).
  BreakByteRowCutter(TRowList& out, char breakByte,
                     std::size_t expectedBytes = TRowBuilder::kBlockSize)
      : builder_(out, expectedBytes + expectedBytes / 16), breakByte_(breakByte) {}
  void Feed(std::string_view chunk);
  void Finish();

 private:
  TRowBuilder builder_;
  char breakByte_;
};

}  // namespace notavo
