#include "textstore/row_cutter.h"

#include <algorithm>
#include <cstring>

#include "textstore/row_terminators.h"

namespace notavo {

namespace {

// Offset of the first CR or NUL in `s` at or after `from`, or s.size().
// Two memchr passes beat a byte loop; the NUL search result is reused by
// the caller through `nextNul` because NUL bytes are rare in text.
std::size_t FindByte(std::string_view s, std::size_t from, char byte) {
  const void* hit = std::memchr(s.data() + from, byte, s.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data()) : s.size();
}

class StopFinder {
 public:
  StopFinder(std::string_view s, char first, char second) : s_(s), a_(first), b_(second) {}
  // The first `a` or `b` byte at or after `from`.
  std::size_t Next(std::size_t from) {
    if (nextA_ < from || nextA_ == kUnknown) nextA_ = FindByte(s_, from, a_);
    if (nextB_ < from || nextB_ == kUnknown) nextB_ = FindByte(s_, from, b_);
    return nextA_ < nextB_ ? nextA_ : nextB_;
  }

 private:
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  std::string_view s_;
  char a_, b_;
  std::size_t nextA_ = kUnknown, nextB_ = kUnknown;
};

}  // namespace

std::vector<std::string> CutFlatText(std::string_view text) {
  std::vector<std::string> pieces;
  pieces.reserve(text.size() / 28 + 1);
  StopFinder finder(text, kCR, kNUL);
  std::size_t start = 0;
  do {
    const std::size_t stop = finder.Next(start);
    // Clamp: a stop byte at the very end has no byte after it.
    const std::size_t end = stop < text.size() ? std::min(stop + 2, text.size()) : text.size();
    pieces.emplace_back(text.substr(start, end - start));
    start = end;
  } while (start < text.size());
  return pieces;
}

void CrLfRowCutter::Feed(std::string_view chunk) {
  std::size_t pos = 0;
  if (chunk.empty()) return;
  // Settle a stop byte left at the end of the previous chunk.
  if (pending_ == Pending::kCr || (pending_ == Pending::kNul && chunk[0] != kNUL)) {
    line_.push_back(pending_ == Pending::kCr ? kCR : kNUL);
    line_.push_back(chunk[0]);
    rows_.push_back(std::move(line_));
    line_.clear();
    pos = 1;
  } else if (pending_ == Pending::kNul) {
    line_.push_back(kNUL);  // NUL NUL: the first stays an ordinary byte
  }
  pending_ = Pending::kNone;

  StopFinder finder(chunk, kCR, kNUL);
  while (pos < chunk.size()) {
    const std::size_t stop = finder.Next(pos);
    if (stop == chunk.size()) {
      line_.append(chunk.substr(pos));
      return;
    }
    if (stop + 1 == chunk.size()) {
      line_.append(chunk.substr(pos, stop - pos));
      pending_ = chunk[stop] == kCR ? Pending::kCr : Pending::kNul;
      return;
    }
    if (chunk[stop] == kNUL && chunk[stop + 1] == kNUL) {
      line_.append(chunk.substr(pos, stop + 1 - pos));
      pos = stop + 1;
      continue;
    }
    if (line_.empty()) {
      rows_.emplace_back(chunk.substr(pos, stop + 2 - pos));
    } else {
      line_.append(chunk.substr(pos, stop + 2 - pos));
      rows_.push_back(std::move(line_));
      line_.clear();
    }
    pos = stop + 2;
  }
}

void CrLfRowCutter::Finish() {
  if (pending_ != Pending::kNone) line_.push_back(pending_ == Pending::kCr ? kCR : kNUL);
  pending_ = Pending::kNone;
  line_.append(kEofMark);
  rows_.push_back(std::move(line_));
  line_.clear();
}

void BreakByteRowCutter::Feed(std::string_view chunk) {
  StopFinder finder(chunk, breakByte_, kNUL);
  std::size_t pos = 0;
  while (pos < chunk.size()) {
    const std::size_t stop = finder.Next(pos);
    line_.append(chunk.substr(pos, stop - pos));
    if (stop == chunk.size()) return;
    if (chunk[stop] == breakByte_) {
      line_.append(kLineEnd);
      rows_.push_back(std::move(line_));
      line_.clear();
    }
    pos = stop + 1;  // a NUL is consumed and never stored
  }
}

void BreakByteRowCutter::Finish() {
  if (!line_.empty()) {
    line_.append(kEofMark);
    rows_.push_back(std::move(line_));
  } else {
    rows_.emplace_back(kEofMark);
  }
  line_.clear();
}

}  // namespace notavo
