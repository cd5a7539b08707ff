#include "editor/search/row_scanner.h"

#include <algorithm>
#include <cstring>

#include "editor/search/byte_search.h"
#include "editor/search/match_rule.h"

namespace notavo {

namespace {

std::size_t FirstNul(std::string_view bytes, std::size_t from) {
  const std::size_t at = bytes.find('\0', from);
  return at == std::string_view::npos ? bytes.size() : at;
}

}  // namespace

bool TRowScanner::MatchesAcrossRows(int row, int col, int lastRow) const {
  const TZelStrings& lines = lines_;
  const std::string_view needle = needle_;
  std::size_t matched = 0;
  std::string_view bytes = lines[row].substr(static_cast<std::size_t>(col));
  for (;;) {
    const std::size_t n = std::min(bytes.size(), needle.size() - matched);
    if (std::memcmp(bytes.data(), needle.data() + matched, n) != 0) return false;
    matched += n;
    if (matched == needle.size()) return true;
    if (++row > lastRow || row >= lines.Count()) return false;
    bytes = lines[row];
  }
}

int TRowScanner::MatchInRow(int row, int start, int end, int lastRow) const {
  const std::string_view bytes = lines_[row];
  const std::size_t from = static_cast<std::size_t>(start);
  const std::size_t limit =
      end >= 0 ? std::min(bytes.size(), static_cast<std::size_t>(end)) : bytes.size();
  if (from >= limit) return -1;
  const std::size_t cut = FirstNul(bytes.substr(0, limit), from);
  TCharStarts starts(bytes, from);
  // Matches wholly inside the row first, then those that run on.
  for (std::size_t at = from; at < cut;) {
    const std::size_t hit = FindBytes(bytes.substr(at, cut - at), needle_);
    if (hit == std::string_view::npos) break;
    if (starts.IsStart(at + hit)) return static_cast<int>(at + hit);
    at += hit + 1;
  }
  if (end >= 0 || cut < bytes.size() || row >= lastRow) return -1;
  const std::size_t tail = bytes.size() >= needle_.size() ? bytes.size() - needle_.size() + 1 : 0;
  for (std::size_t at = std::max(from, tail); at < bytes.size(); ++at) {
    if (starts.IsStart(at) && MatchesAcrossRows(row, static_cast<int>(at), lastRow)) {
      return static_cast<int>(at);
    }
  }
  return -1;
}

std::optional<TRowPos> TRowScanner::NextMatch(int row, int start, int lastRow) const {
  return Next(row, start, lastRow, false);
}

std::optional<TRowPos> TRowScanner::NextBytes(int row, int start, int lastRow) const {
  return Next(row, start, lastRow, true);
}

std::optional<TRowPos> TRowScanner::Next(int row, int start, int lastRow, bool anyStart) const {
  lastRow = std::min(lastRow, lines_.Count() - 1);
  if (row < 0 || row > lastRow) return std::nullopt;
  while (row < lastRow && static_cast<std::size_t>(start) >= lines_[row].size()) {
    start -= static_cast<int>(lines_[row].size());
    ++row;
  }
  // Rows that lie one after the other in memory (as a file was read) are
  // searched as one stretch, in chunks that grow, so a frequent needle does
  // not pay for a long stretch and a rare one crosses the document in a few
  // calls of the byte search.
  std::size_t chunk = 4096;
  while (row <= lastRow) {
    const std::string_view first = lines_[row];
    const int last = lines_.AdjacentRows(row, lastRow, chunk);
    const std::string_view lastBytes = lines_[last];
    const std::size_t length =
        static_cast<std::size_t>(lastBytes.data() + lastBytes.size() - first.data());
    chunk = std::min<std::size_t>(chunk * 2, 1 << 20);
    if (last == row && !anyStart) {
      const int col = MatchInRow(row, start, -1, lastRow);
      if (col >= 0) return TRowPos{row, col};
      ++row;
      start = 0;
      continue;
    }
    // Candidates in the stretch, in order; each checked against its row:
    // a character start counted from where that row's search begins, and
    // no NUL before it in the row.
    const char* base = first.data();
    const std::string_view stretch(base, length);
    int q = row;
    std::size_t rowStart = 0;  // offset of row q in the stretch
    TCharStarts starts(lines_[q], static_cast<std::size_t>(start));
    std::size_t nul = FirstNul(lines_[q], static_cast<std::size_t>(start));
    auto enterRowOf = [&](std::size_t at) {
      if (at < rowStart + lines_[q].size()) return;
      // The rows lie in order in memory: the last one starting at or
      // before `at`, by bisection.
      int lo = q + 1, hi = last;
      while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (static_cast<std::size_t>(lines_[mid].data() - base) <= at) {
          lo = mid;
        } else {
          hi = mid - 1;
        }
      }
      q = lo;
      rowStart = static_cast<std::size_t>(lines_[q].data() - base);
      starts = TCharStarts(lines_[q], 0);
      nul = FirstNul(lines_[q], 0);
    };
    auto accept = [&](std::size_t at) {
      if (anyStart) return true;
      const std::size_t col = at - rowStart;
      return col < nul && starts.IsStart(col);
    };
    const std::size_t tail = length >= needle_.size() ? length - needle_.size() + 1 : 0;
    for (std::size_t at = static_cast<std::size_t>(start); at < tail;) {
      const std::size_t hit = FindBytes(stretch.substr(at, length - at), needle_);
      if (hit == std::string_view::npos) break;
      enterRowOf(at + hit);
      if (accept(at + hit)) return TRowPos{q, static_cast<int>(at + hit - rowStart)};
      at += hit + 1;
    }
    if (last < lastRow) {
      for (std::size_t at = std::max<std::size_t>(start, tail); at < length; ++at) {
        enterRowOf(at);
        if (accept(at) && MatchesAcrossRows(q, static_cast<int>(at - rowStart), lastRow)) {
          return TRowPos{q, static_cast<int>(at - rowStart)};
        }
      }
    }
    row = last + 1;
    start = 0;
  }
  return std::nullopt;
}

}  // namespace notavo
