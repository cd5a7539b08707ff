// Fuzzes the streaming row cutters: feeding a file in chunks of any sizes
// (empty chunks included) gives the same rows as feeding it whole, and those
// rows match an independent byte-by-byte reference, in all three styles.
//
// Input layout: byte 0 says how many chunk-size bytes follow (0..15); those
// bytes are the chunk sizes, used in turn; the rest is the file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "textstore/row_cutter.h"

namespace {

namespace fz = notavo::fuzz;

template <typename Cutter>
void FeedInChunks(Cutter& cutter, std::string_view file, std::string_view sizes) {
  const bool anySize = sizes.find_first_not_of('\0') != std::string_view::npos;
  if (!anySize) {
    // No sizes, or only zeros: empty chunks around the whole file.
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
}

std::vector<std::string> CutCrLf(std::string_view file, std::string_view sizes) {
  std::vector<std::string> rows;
  notavo::CrLfRowCutter cutter(rows);
  FeedInChunks(cutter, file, sizes);
  return rows;
}

std::vector<std::string> CutBreak(std::string_view file, std::string_view sizes, char breakByte) {
  std::vector<std::string> rows;
  notavo::BreakByteRowCutter cutter(rows, breakByte);
  FeedInChunks(cutter, file, sizes);
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t count = std::min<std::size_t>(data[0] % 16, size - 1);
  const std::string_view sizes = all.substr(1, count);
  const std::string_view file = all.substr(1 + count);

  const std::vector<std::string> crlf = CutCrLf(file, "");
  FUZZ_CHECK(crlf == fz::ReferenceCrLfRows(file));
  FUZZ_CHECK(CutCrLf(file, sizes) == crlf);

  for (char breakByte : {'\n', '\r'}) {
    const std::vector<std::string> rows = CutBreak(file, "", breakByte);
    FUZZ_CHECK(rows == fz::ReferenceBreakRows(file, breakByte));
    FUZZ_CHECK(CutBreak(file, sizes, breakByte) == rows);
  }
  return 0;
}
