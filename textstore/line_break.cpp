#include "textstore/line_break.h"

#include <array>

#include "platform/file_io.h"

namespace notavo {

TLineBreakStyle DetectLineBreak(const std::string& fileName) {
  auto reader = OpenFileForReading(fileName);
  std::array<char, 16384> buffer;
  bool anyBytes = false;
  bool pendingCr = false;  // a CR was the last byte of the previous chunk
  for (;;) {
    const std::size_t n = reader->Read(buffer.data(), buffer.size());
    if (n == 0) break;
    anyBytes = true;
    if (pendingCr) return buffer[0] == '\n' ? lbCrLf : lbCr;
    for (std::size_t i = 0; i < n; ++i) {
      const char c = buffer[i];
      if (c == '\n') return lbLf;
      if (c == '\r') {
        if (i + 1 < n) return buffer[i + 1] == '\n' ? lbCrLf : lbCr;
        pendingCr = true;
      }
    }
  }
  // No line break at all (or a CR as the very last byte): one line, CR style.
  return anyBytes ? lbCr : lbEmpty;
}

}  // namespace notavo
