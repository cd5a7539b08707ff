// Reading and writing files. A CR LF file is read in one piece and cut in
// place; LF and CR files are streamed and converted into row blocks. Rows
// are swapped in only when the whole file was read, so a failed read leaves
// the store exactly as it was.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/file_io.h"
#include "platform/large_block.h"
#include "textstore/line_break.h"
#include "textstore/row_cutter.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kWriteBuffer = 1 << 16;
constexpr std::size_t kMarkRoom = 2;  // spare bytes for the end-of-text mark

// The whole file in one block with room for the mark behind it. A file that
// grows while being read is followed to its end.
TRowBlock ReadWhole(FileReader& reader, std::size_t& size) {
  std::size_t capacity = static_cast<std::size_t>(reader.Size()) + kMarkRoom;
  TRowBlock block = NewLargeBlock(capacity);
  size = 0;
  for (;;) {
    if (size + kMarkRoom == capacity) {
      char probe;
      if (reader.Read(&probe, 1) == 0) return block;
      const std::size_t larger = capacity * 2;
      TRowBlock grown = NewLargeBlock(larger);
      std::memcpy(grown.get(), block.get(), size);
      grown[size++] = probe;
      block = std::move(grown);
      capacity = larger;
    }
    const std::size_t n = reader.Read(block.get() + size, capacity - kMarkRoom - size);
    if (n == 0) return block;
    size += n;
  }
}

TRowList ReadRows(const std::string& fileName, TLineBreakStyle style) {
  if (style == lbEmpty) {
    TRowList document;
    document.rows.push_back(TRow::Copy(kEofMark));
    return document;
  }
  auto reader = OpenFileForReading(fileName);
  if (style == lbCrLf) {
    std::size_t size = 0;
    TRowBlock block = ReadWhole(*reader, size);
    return CutCrLfBlock(std::move(block), size);
  }
  TRowList document;
  const auto fileSize = static_cast<std::size_t>(reader->Size());
  BreakByteRowCutter cutter(document, style == lbLf ? kLF : kCR, fileSize);
  std::vector<char> chunk(std::min(kReadChunk, fileSize + 1));
  bool estimated = false;
  for (;;) {
    const std::size_t n = reader->Read(chunk.data(), chunk.size());
    if (n == 0) break;
    cutter.Feed(std::string_view(chunk.data(), n));
    if (!estimated && !document.rows.empty()) {
      // Rows per byte of the first chunk, for the whole file, with room.
      estimated = true;
      const double perByte = static_cast<double>(document.rows.size()) / static_cast<double>(n);
      document.rows.reserve(
          static_cast<std::size_t>(perByte * static_cast<double>(fileSize) * 1.1) + 16);
    }
  }
  cutter.Finish();
  return document;
}

}  // namespace

void TZelStrings::LoadFromFile(const std::string& fileName) {
  const TLineBreakStyle style = DetectLineBreak(fileName);
  AdoptDocument(ReadRows(fileName, style));
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
    for (int i = 0; i + 1 < FCount; ++i) emit(FList[i].view());
    const std::string_view last = FList[FCount - 1].view();
    if (last.size() > 2) emit(last.substr(0, last.size() - 2));
    if (!buffer.empty()) out.Write(buffer.data(), buffer.size());
  });
}

}  // namespace notavo
