// References for the search run, free of any test framework so the fuzz
// target shares them:
// - RowWalk: the search steps written out row by row, as plainly as they
//   read: copy the window of text, ask the matcher, move on a row. It runs
//   over a copy of the rows, for finds (which change no text).
// - FlatHits / FlatReplace: what a search must find in the flat text (the
//   rows joined): matches that start on a character (counted from the row's
//   start, or from the end of the previous match), before any NUL of the
//   stretch searched, taken left to right without overlap.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "editor/search/match_rule.h"
#include "textstore/shift_jis.h"

namespace notavo::testing {

struct SearchEvent {
  char kind;  // 'h' hit, 'n' no hit
  int x = 0, y = 0, len = 0, count = 0;
  friend bool operator==(const SearchEvent&, const SearchEvent&) = default;
};

inline std::string Describe(const SearchEvent& e) {
  return e.kind == 'n' ? std::string("no hit")
                       : "hit (" + std::to_string(e.y) + "," + std::to_string(e.x) + ") len " +
                             std::to_string(e.len) + " count " + std::to_string(e.count);
}

class RowWalk {
 public:
  explicit RowWalk(std::vector<std::string> rows) : rows_(std::move(rows)) {}
  std::vector<SearchEvent> events;

  void SetSearchText(std::string_view text) {
    find_ = text;
    last_ = Last();
    row_ = col_ = 0;
    fromCaret_ = true;
    forward_ = wrapped_ = false;
    count_ = 0;
  }
  void FindFirst() {
    last_ = Last();
    row_ = 0;
    count_ = 0;
    Window(0, 0);
    forward_ = true;
    wrapped_ = false;
    Forward();
  }
  // The caret was moved: the next step starts there.
  void CaretMoved() { fromCaret_ = true; }
  void FindNext(int caretRow, int caretCol) {
    last_ = Last();
    if (fromCaret_) {
      Window(caretRow, caretCol);
      fromCaret_ = false;
      forward_ = true;
      wrapped_ = false;
    }
    Forward();
  }
  void FindPrev(int caretRow, int caretCol) {
    last_ = Last();
    if (fromCaret_) {
      row_ = caretRow;
      col_ = caretCol;
      buf_ =
          rows_[static_cast<std::size_t>(caretRow)].substr(0, static_cast<std::size_t>(caretCol));
      rowLen_ = caretCol;
      fromCaret_ = false;
      forward_ = false;
      wrapped_ = false;
    }
    Backward();
  }

 private:
  int Last() const { return static_cast<int>(rows_.size()) - 1; }
  const std::string& Row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
  // The row from `skip` on, then following rows as far as a match that
  // starts in the row can reach (at least one more row).
  void Window(int r, int skip) {
    row_ = r;
    col_ = skip;
    rowLen_ = static_cast<int>(Row(r).size());
    buf_ = Row(r).substr(std::min(Row(r).size(), static_cast<std::size_t>(skip)));
    std::size_t length = Row(r).size();
    for (int k = r + 1; k <= last_; ++k) {
      if (k > r + 1 && length + 1 >= Row(r).size() + find_.size()) break;
      buf_ += Row(k);
      length += Row(k).size();
    }
  }
  void Ask(int& x, int& len, bool resetLen) {
    if (resetLen) len = static_cast<int>(find_.size());
    x = FindInText(buf_, find_);
    if (x != 0 && x + col_ > rowLen_) x = 0;
  }
  void Drop(int n) {
    col_ += n;
    buf_.erase(0, std::min(buf_.size(), static_cast<std::size_t>(n)));
  }
  void Forward() {
    if (!forward_) {
      Window(row_, col_);
    } else if (wrapped_) {
      Window(0, 0);
      count_ = 0;
    }
    wrapped_ = false;
    forward_ = true;
    int x = 0, len = 0;
    Ask(x, len, true);
    while (x == 0 && row_ < last_) {
      Window(row_ + 1, std::max(0, col_ - rowLen_));
      Ask(x, len, true);
    }
    if (x == 0) {
      events.push_back({'n'});
      wrapped_ = true;
      return;
    }
    const int c = col_ + x - 1;
    fromCaret_ = false;
    events.push_back({'h', c, row_, len, ++count_});
    Drop(x + len - 1);
  }
  void Backward() {
    if (forward_) {
      buf_ = Row(row_).substr(
          0, static_cast<std::size_t>(std::max(0, col_ - static_cast<int>(find_.size()))));
    } else if (wrapped_) {
      Window(Last(), 0);
      count_ = 0;
    }
    wrapped_ = false;
    forward_ = false;
    col_ = 0;
    int x = 0, len = 0;
    Ask(x, len, true);
    while (x == 0 && row_ > 0) {
      Window(row_ - 1, 0);
      col_ = 0;
      Ask(x, len, true);
    }
    if (x == 0) {
      events.push_back({'n'});
      wrapped_ = true;
      return;
    }
    int hitX = 0, hitCol = 0, hitLen = 0;
    while (x != 0) {
      hitX = x;
      hitCol = col_;
      hitLen = len;
      Drop(x + len - 1);
      Ask(x, len, false);
    }
    const int c = hitCol + hitX - 1;
    fromCaret_ = false;
    events.push_back({'h', c, row_, hitLen, ++count_});
    buf_ = Row(row_).substr(0, static_cast<std::size_t>(hitCol));
    col_ = c + hitLen;
  }

  std::vector<std::string> rows_;
  std::string find_, buf_;
  int row_ = 0, last_ = 0, rowLen_ = 0, col_ = 0, count_ = 0;
  bool forward_ = false, fromCaret_ = true, wrapped_ = false;
};

// Start offsets, in the joined rows, of the matches a search from the top
// finds one after the other.
inline std::vector<long> FlatHits(const std::vector<std::string>& rows, std::string_view find) {
  const std::string_view needle = MatcherNeedle(find);
  std::vector<long> hits;
  if (needle.empty()) return hits;
  std::string flat;
  std::vector<long> starts;
  for (const std::string& r : rows) {
    starts.push_back(static_cast<long>(flat.size()));
    flat += r;
  }
  starts.push_back(static_cast<long>(flat.size()));
  long from = 0;  // where the stretch being searched begins
  for (std::size_t r = 0; r + 1 < starts.size(); ++r) {
    from = std::max(from, starts[r]);
    const long rowEnd = starts[r + 1];
    long p = from;
    while (p < rowEnd) {
      if (flat[static_cast<std::size_t>(p)] == '\0') break;  // the stretch ends here
      if (flat.compare(static_cast<std::size_t>(p), needle.size(), needle) == 0) {
        hits.push_back(p);
        p += static_cast<long>(find.size());  // a hit is as long as the whole search text
        from = p;
        continue;
      }
      p += IsLeadByte(static_cast<unsigned char>(flat[static_cast<std::size_t>(p)])) &&
                   p + 1 < static_cast<long>(flat.size())
               ? 2
               : 1;
    }
  }
  return hits;
}

// The text with every hit of FlatHits replaced.
inline std::string FlatReplace(const std::vector<std::string>& rows, std::string_view find,
                               std::string_view replacement) {
  std::string flat;
  for (const std::string& r : rows) flat += r;
  std::string out;
  long at = 0;
  for (const long hit : FlatHits(rows, find)) {
    out.append(flat, static_cast<std::size_t>(at), static_cast<std::size_t>(hit - at));
    out += replacement;
    at = hit + static_cast<long>(find.size());
  }
  out.append(flat, static_cast<std::size_t>(at));
  return out;
}

}  // namespace notavo::testing
