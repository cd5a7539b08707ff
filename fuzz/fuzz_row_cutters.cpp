// Fuzzes the row cutters against independent byte-by-byte references: the
// CR LF block cutter, and the streaming LF / CR cutter fed in chunks of any
// sizes (empty chunks included), which must give the same rows as when fed
// the file whole.
//
// Input layout: byte 0 says how many chunk-size bytes follow (its low four
// bits, 0..15); those bytes are the chunk sizes, used in turn; the rest is
// the file.
//
// Built with FUZZ_ACROSS_BLOCKS (the fuzz_row_blocks target), the streamed
// file always starts with one row block of plain lines but for 0..3 bytes
// (bits 4..5 of byte 0), its last line left open, so the fuzzed bytes cross
// into the cutter's second block; bit 6 picks LF or CR style. Blocks are
// megabytes, so that target runs a hundred times slower and gets its own
// executable instead of slowing this one down.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "textstore/row_cutter.h"

namespace {

namespace fz = notavo::fuzz;
using notavo::TRowList;

bool SameRows(const TRowList& list, std::size_t first, const std::vector<std::string>& rows) {
  if (list.rows.size() != first + rows.size()) return false;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (list.rows[first + i].view() != rows[i]) return false;
  }
  return true;
}

[[maybe_unused]] bool SameRows(const TRowList& a, const TRowList& b) {
  if (a.rows.size() != b.rows.size()) return false;
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    if (a.rows[i].view() != b.rows[i].view()) return false;
  }
  return true;
}

TRowList CutCrLf(std::string_view file) {
  notavo::TRowBlock block = std::make_unique_for_overwrite<char[]>(file.size() + 2);
  if (!file.empty()) std::memcpy(block.get(), file.data(), file.size());
  return notavo::CutCrLfBlock(std::move(block), file.size());
}

// Streams `head` whole, then `file` in chunks of the given sizes (all of it
// at once when there are none, or only zeros, with empty chunks around it).
TRowList CutBreak(std::string_view head, std::string_view file, std::string_view sizes,
                  char breakByte) {
  TRowList list;
  notavo::BreakByteRowCutter cutter(list, breakByte);
  if (!head.empty()) cutter.Feed(head);
  if (sizes.find_first_not_of('\0') == std::string_view::npos) {
    if (!sizes.empty()) cutter.Feed({});
    cutter.Feed(file);
    if (!sizes.empty()) cutter.Feed({});
  } else {
    std::size_t pos = 0, turn = 0;
    while (pos < file.size()) {
      const std::size_t n = std::min<std::size_t>(
          static_cast<unsigned char>(sizes[turn++ % sizes.size()]), file.size() - pos);
      cutter.Feed(file.substr(pos, n));
      pos += n;
    }
  }
  cutter.Finish();
  return list;
}

#ifdef FUZZ_ACROSS_BLOCKS
// Lines that fill one row block but for `room` bytes: full rows of 1024
// stored bytes (1022 plain bytes and CR LF), then an open row of plain bytes.
constexpr std::size_t kFillerRowBytes = 1024;
constexpr std::size_t kFillerRows = notavo::TRowBuilder::kBlockSize / kFillerRowBytes - 1;

std::string_view Filler(char breakByte, unsigned room) {
  static std::string filler[2];
  std::string& f = filler[breakByte == '\r'];
  if (f.empty()) {
    for (std::size_t i = 0; i < kFillerRows; ++i) {
      f.append(kFillerRowBytes - 2, 'x').push_back(breakByte);
    }
    f.append(kFillerRowBytes, 'y');
  }
  return std::string_view(f).substr(0, f.size() - room);
}

void CheckAcrossBlocks(std::string_view file, std::string_view sizes, char breakByte,
                       unsigned room) {
  static const std::string kFillerRow = std::string(kFillerRowBytes - 2, 'x') + "\r\n";
  const std::string_view head = Filler(breakByte, room);
  // The filler's full rows are known; the reference cuts from its open row on.
  const std::string_view openRow = head.substr(kFillerRows * (kFillerRowBytes - 1));
  const TRowList list = CutBreak(head, file, sizes, breakByte);
  FUZZ_CHECK(list.rows.size() > kFillerRows);
  for (std::size_t i = 0; i < kFillerRows; ++i) FUZZ_CHECK(list.rows[i].view() == kFillerRow);
  const std::string rest = std::string(openRow) + std::string(file);
  FUZZ_CHECK(SameRows(list, kFillerRows, fz::ReferenceBreakRows(rest, breakByte)));
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t count = std::min<std::size_t>(data[0] & 0x0F, size - 1);
  const std::string_view sizes = all.substr(1, count);
  const std::string_view file = all.substr(1 + count);

  FUZZ_CHECK(SameRows(CutCrLf(file), 0, fz::ReferenceCrLfRows(file)));

#ifdef FUZZ_ACROSS_BLOCKS
  CheckAcrossBlocks(file, sizes, (data[0] & 0x40) ? '\r' : '\n', (data[0] >> 4) & 3);
#else
  for (char breakByte : {'\n', '\r'}) {
    const TRowList whole = CutBreak("", file, "", breakByte);
    FUZZ_CHECK(SameRows(whole, 0, fz::ReferenceBreakRows(file, breakByte)));
    FUZZ_CHECK(SameRows(CutBreak("", file, sizes, breakByte), whole));
  }
#endif
  return 0;
}
