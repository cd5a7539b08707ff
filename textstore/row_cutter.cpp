#include "textstore/row_cutter.h"

#include <algorithm>
#include <cstring>

#include "textstore/row_terminators.h"

namespace notavo {

namespace {

std::size_t FindByte(const char* data, std::size_t from, std::size_t size, char byte) {
  const void* hit = std::memchr(data + from, byte, size - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : size;
}

// The first of two stop bytes at or after a position. Each byte is found
// with memchr and remembered until passed, so a rare byte (NUL) costs one
// search, not one per row.
class StopFinder {
 public:
  StopFinder(const char* data, std::size_t size, char first, char second)
      : data_(data), size_(size), a_(first), b_(second) {}
  std::size_t Next(std::size_t from) {
    if (nextA_ == kUnknown || nextA_ < from) nextA_ = FindByte(data_, from, size_, a_);
    if (nextB_ == kUnknown || nextB_ < from) nextB_ = FindByte(data_, from, size_, b_);
    return nextA_ < nextB_ ? nextA_ : nextB_;
  }

 private:
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  const char* data_;
  std::size_t size_;
  char a_, b_;
  std::size_t nextA_ = kUnknown, nextB_ = kUnknown;
};

}  // namespace

TRowList CutFlatText(std::string_view text) {
  TRowList out;
  if (text.empty()) {
    out.rows.emplace_back();
    return out;
  }
  TRowBlock block = std::make_unique_for_overwrite<char[]>(text.size());
  std::memcpy(block.get(), text.data(), text.size());
  const char* data = block.get();
  out.blocks.push_back({std::move(block), text.size()});
  out.rows.reserve(text.size() / 28 + 1);
  StopFinder finder(data, text.size(), kCR, kNUL);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = finder.Next(start);
    // Clamp: a stop byte at the very end has no byte after it.
    const std::size_t end = stop < text.size() ? std::min(stop + 2, text.size()) : text.size();
    out.rows.push_back(TRow::View(data + start, end - start));
    start = end;
  }
  return out;
}

TRowList CutCrLfBlock(TRowBlock block, std::size_t size) {
  TRowList out;
  char* data = block.get();
  out.blocks.push_back({std::move(block), size + 2});  // the mark goes in the spare bytes
  // One row per CR (a NUL-ended row is rare). Counting them in the first
  // megabyte and scaling reserves about right without a second pass over
  // the whole file; the list still grows if the rest is denser.
  const std::size_t sample = std::min<std::size_t>(size, 1 << 20);
  std::size_t breaks = 1;
  for (const char* p = data; (p = static_cast<const char*>(std::memchr(
                                  p, kCR, static_cast<std::size_t>(data + sample - p)))) != nullptr;
       ++p) {
    ++breaks;
  }
  if (sample > 0 && sample < size) {
    breaks = static_cast<std::size_t>(static_cast<double>(breaks) * static_cast<double>(size) /
                                      static_cast<double>(sample) * 1.05) +
             16;
  }
  out.rows.reserve(breaks);
  StopFinder finder(data, size, kCR, kNUL);
  std::size_t rowStart = 0;
  std::size_t from = 0;
  for (;;) {
    const std::size_t stop = finder.Next(from);
    if (stop + 1 >= size) break;  // no stop, or one without a follower
    if (data[stop] == kNUL && data[stop + 1] == kNUL) {
      from = stop + 1;  // the first of two NULs is an ordinary byte
      continue;
    }
    out.rows.push_back(TRow::View(data + rowStart, stop + 2 - rowStart));
    rowStart = from = stop + 2;
  }
  data[size] = kNUL;
  data[size + 1] = kNUL;
  out.rows.push_back(TRow::View(data + rowStart, size + 2 - rowStart));
  return out;
}

void BreakByteRowCutter::Feed(std::string_view chunk) {
  StopFinder finder(chunk.data(), chunk.size(), breakByte_, kNUL);
  std::size_t pos = 0;
  while (pos < chunk.size()) {
    const std::size_t stop = finder.Next(pos);
    builder_.Append(chunk.substr(pos, stop - pos));
    if (stop == chunk.size()) return;
    if (chunk[stop] == breakByte_) {
      builder_.Append(kLineEnd);
      builder_.EndRow();
    }
    pos = stop + 1;  // a NUL is consumed and never stored
  }
}

void BreakByteRowCutter::Finish() {
  // A last line without a break gets the mark; otherwise the mark is a row
  // of its own.
  builder_.Append(kEofMark);
  builder_.EndRow();
}

}  // namespace notavo
