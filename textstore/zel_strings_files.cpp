// Reading and writing files. Rows are cut into a local list first and
// swapped in only when the whole file was read, so a failed read leaves the
// store exactly as it was.
#include <vector>

#include "platform/file_io.h"
#include "textstore/line_break.h"
#include "textstore/row_cutter.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kWriteBuffer = 1 << 16;

template <typename Cutter>
void CutFile(FileReader& reader, Cutter& cutter) {
  std::string chunk(kReadChunk, '\0');
  for (;;) {
    const std::size_t n = reader.Read(chunk.data(), chunk.size());
    if (n == 0) break;
    cutter.Feed(std::string_view(chunk.data(), n));
  }
  cutter.Finish();
}

std::vector<std::string> ReadRows(const std::string& fileName, TLineBreakStyle style) {
  std::vector<std::string> rows;
  if (style == lbEmpty) {
    rows.emplace_back(kEofMark);
    return rows;
  }
  auto reader = OpenFileForReading(fileName);
  if (style == lbCrLf) {
    CrLfRowCutter cutter(rows);
    CutFile(*reader, cutter);
  } else {
    BreakByteRowCutter cutter(rows, style == lbLf ? kLF : kCR);
    CutFile(*reader, cutter);
  }
  return rows;
}

}  // namespace

void TZelStrings::LoadFromFile(const std::string& fileName) {
  const TLineBreakStyle style = DetectLineBreak(fileName);
  std::vector<std::string> rows = ReadRows(fileName, style);
  Clear();
  AdoptRows(std::move(rows));
}

void TZelStrings::SaveToFile(const std::string& fileName) const {
  // An empty store has no end-of-text row to strip; refuse before any file
  // is created so the old one stays.
  if (FCount == 0) Error();
  WriteFileAtomically(fileName, [this](FileWriter& out) {
    std::string buffer;
    buffer.reserve(kWriteBuffer);
    auto emit = [&](std::string_view bytes) {
      if (buffer.size() + bytes.size() > kWriteBuffer) {
        out.Write(buffer.data(), buffer.size());
        buffer.clear();
      }
      if (bytes.size() > kWriteBuffer) {
        out.Write(bytes.data(), bytes.size());
      } else {
        buffer.append(bytes);
      }
    };
    for (int i = 0; i + 1 < FCount; ++i) emit(FList[static_cast<std::size_t>(i)]);
    const std::string& last = FList.back();
    if (last.size() > 2) emit(std::string_view(last).substr(0, last.size() - 2));
    if (!buffer.empty()) out.Write(buffer.data(), buffer.size());
  });
}

}  // namespace notavo
