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
    int last = row;
    const char* stretchEnd = first.data() + first.size();
    std::size_t length = first.size();
    while (last < lastRow && length < chunk) {
      const std::string_view next = lines_[last + 1];
      if (next.data() != stretchEnd) break;
      ++last;
      stretchEnd += next.size();
      length += next.size();
    }
    chunk = std::min<std::size_t>(chunk * 2, 1 << 20);
    if (last == row) {
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
    std::size_t rowFrom = static_cast<std::size_t>(start);
    TCharStarts starts(lines_[q], rowFrom);
    std::size_t nul = FirstNul(lines_[q], rowFrom);
    auto enterRowOf = [&](std::size_t at) {
      while (at >= rowStart + lines_[q].size()) {
        rowStart += lines_[q].size();
        ++q;
        rowFrom = 0;
        starts = TCharStarts(lines_[q], 0);
        nul = FirstNul(lines_[q], 0);
      }
    };
    auto accept = [&](std::size_t at) {
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
