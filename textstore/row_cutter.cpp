#include "textstore/row_cutter.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

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

namespace {

// Room for the rows of data[begin, end): CRs counted in the first megabyte,
// scaled, so the list rarely grows and no second pass reads everything.
std::size_t EstimateRows(const char* data, std::size_t begin, std::size_t end) {
  const std::size_t sample = std::min<std::size_t>(end - begin, 1 << 20);
  std::size_t breaks = 1;
  for (const char* p = data + begin;
       (p = static_cast<const char*>(
            std::memchr(p, kCR, static_cast<std::size_t>(data + begin + sample - p)))) != nullptr;
       ++p) {
    ++breaks;
  }
  if (sample > 0 && sample < end - begin) {
    breaks =
        static_cast<std::size_t>(static_cast<double>(breaks) * static_cast<double>(end - begin) /
                                 static_cast<double>(sample) * 1.05) +
        16;
  }
  return breaks;
}

// The rows of data[begin, end), `begin` being a row start; returns where the
// unfinished last row starts (`end` when the last row ended there).
std::size_t CutCrLfRows(const char* data, std::size_t begin, std::size_t end,
                        std::vector<TRow>& rows) {
  rows.reserve(rows.size() + EstimateRows(data, begin, end));
  StopFinder finder(data, end, kCR, kNUL);
  std::size_t rowStart = begin;
  std::size_t from = begin;
  for (;;) {
    const std::size_t stop = finder.Next(from);
    if (stop + 1 >= end) break;  // no stop, or one without a follower
    if (data[stop] == kNUL && data[stop + 1] == kNUL) {
      from = stop + 1;  // the first of two NULs is an ordinary byte
      continue;
    }
    rows.push_back(TRow::View(data + rowStart, stop + 2 - rowStart));
    rowStart = from = stop + 2;
  }
  return rowStart;
}

constexpr std::size_t kSplitMinimum = 8u << 20;  // smaller files are cut in one go

}  // namespace

std::size_t CrLfRowEndAfter(const char* data, std::size_t size, std::size_t from) {
  // A CR after an ordinary byte is always a row's stop: only a stop can
  // swallow the byte after it, and an ordinary byte is none.
  for (std::size_t c = std::max<std::size_t>(from, 1); c + 1 < size; ++c) {
    const void* hit = std::memchr(data + c, kCR, size - 1 - c);
    if (hit == nullptr) break;
    c = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    if (c + 1 < size && data[c - 1] != kCR && data[c - 1] != kNUL) return c + 2;
  }
  return size;
}

TRowList CutCrLfBlock(TRowBlock block, std::size_t size, std::size_t splitNear) {
  TRowList out;
  char* data = block.get();
  out.blocks.push_back({std::move(block), size + 2});  // the mark goes in the spare bytes
  if (splitNear == kSplitInHalf) {
    splitNear = size >= kSplitMinimum && std::thread::hardware_concurrency() > 1 ? size / 2 : 0;
  }
  // The second half, from a row end that the whole cut would make too, is
  // cut on another thread; the halves are joined in order.
  const std::size_t split = splitNear > 0 ? CrLfRowEndAfter(data, size, splitNear) : size;
  std::vector<TRow> tail;
  std::size_t tailStart = split;
  std::exception_ptr failure;
  std::thread second;
  if (split < size) {
    second = std::thread([&] {
      try {
        tailStart = CutCrLfRows(data, split, size, tail);
      } catch (...) {
        failure = std::current_exception();
      }
    });
  }
  std::size_t rowStart = 0;
  try {
    rowStart = CutCrLfRows(data, 0, split, out.rows);
  } catch (...) {
    if (second.joinable()) second.join();
    throw;
  }
  if (second.joinable()) {
    second.join();
    if (failure) std::rethrow_exception(failure);
    out.rows.insert(out.rows.end(), std::make_move_iterator(tail.begin()),
                    std::make_move_iterator(tail.end()));
    rowStart = tailStart;
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
