#include "editor/layout/word_wrap.h"

#include <algorithm>
#include <iterator>

#include "editor/layout/line_index.h"
#include "editor/layout/row_cut.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {

namespace {

int LastRowOfLine(const TZelStrings& lines, int row) {
  const int last = lines.Count() - 1;
  while (row < last && !RowEndsLine(lines[row])) ++row;
  return row;
}

// Wraps in two steps: first every cut is found and every new piece made
// (the only steps that can fail, with the store untouched), then the rows
// are moved into the new list. Pieces of rows that point into the
// document's blocks point into them too, so wrapping a large file copies
// no text; only rows written by edits are copied.
std::vector<TRow> WrapKeepingWholeRows(TZelStrings& lines, const TWrapParams& params,
                                       std::vector<int>& rowsPerLine) {
  const int count = lines.Count();
  rowsPerLine.assign(static_cast<std::size_t>(count), 0);
  std::vector<TRow> pieces;
  std::vector<int> lengths;
  std::size_t total = 0;
  for (int i = 0; i < count; ++i) {
    lengths.clear();
    const std::string_view line = lines[i];
    CutRowLengths(line, params, lengths);
    rowsPerLine[static_cast<std::size_t>(i)] = static_cast<int>(lengths.size());
    total += lengths.size();
    if (lengths.size() == 1) continue;
    const bool shared = !lines.IsOwnedRow(i);
    std::size_t at = 0;
    for (int len : lengths) {
      const std::string_view piece = line.substr(at, static_cast<std::size_t>(len));
      pieces.push_back(shared ? TRow::View(piece.data(), piece.size()) : TRow::Copy(piece));
      at += static_cast<std::size_t>(len);
    }
  }
  if (total > static_cast<std::size_t>(TZelStrings::kMaxCapacity)) lines.Error();
  if (pieces.size() < static_cast<std::size_t>(count) / 8) {
    // Few lines are cut (a wide column): put their pieces in place, from the
    // last line back so earlier indexes stay put. The rest of the rows never
    // move.
    std::size_t nextPiece = pieces.size();
    for (int i = count - 1; i >= 0; --i) {
      const int n = rowsPerLine[static_cast<std::size_t>(i)];
      if (n == 1) continue;
      nextPiece -= static_cast<std::size_t>(n);
      std::vector<TRow> lineRows(
          std::make_move_iterator(pieces.begin() + static_cast<std::ptrdiff_t>(nextPiece)),
          std::make_move_iterator(pieces.begin() + static_cast<std::ptrdiff_t>(nextPiece) + n));
      lines.ReplaceRows(i, 1, std::move(lineRows));
    }
    return {};
  }
  std::vector<TRow> rows;
  rows.reserve(total);
  std::vector<TRow> old = lines.ReleaseRows();  // nothing below can fail
  std::size_t nextPiece = 0;
  for (int i = 0; i < count; ++i) {
    const int n = rowsPerLine[static_cast<std::size_t>(i)];
    if (n == 1) {
      rows.push_back(std::move(old[static_cast<std::size_t>(i)]));
    } else {
      for (int k = 0; k < n; ++k) rows.push_back(std::move(pieces[nextPiece++]));
    }
  }
  return rows;
}

// True when rows first..last point into one block back to back, so their
// logical line is a view of its own.
bool Contiguous(const TZelStrings& lines, int first, int last) {
  for (int r = first; r <= last; ++r) {
    if (lines.IsOwnedRow(r)) return false;
    if (r > first && lines[r - 1].data() + lines[r - 1].size() != lines[r].data()) return false;
  }
  return true;
}

// The inverse: a logical line of several rows becomes one row, a view when
// its rows lie back to back in a block, else a joined copy.
std::vector<TRow> UnwrapKeepingWholeRows(TZelStrings& lines) {
  const int count = lines.Count();
  std::vector<int> lineStarts;
  std::vector<TRow> joined;
  for (int i = 0; i < count;) {
    lineStarts.push_back(i);
    const int last = LastRowOfLine(lines, i);
    if (last > i) {
      if (Contiguous(lines, i, last)) {
        const char* data = lines[i].data();
        const std::size_t size =
            static_cast<std::size_t>(lines[last].data() + lines[last].size() - data);
        joined.push_back(TRow::View(data, size));
      } else {
        int unused = 0;
        joined.push_back(TRow::Copy(JoinLogicalLine(lines, i, unused)));
      }
    }
    i = last + 1;
  }
  lineStarts.push_back(count);
  if (joined.size() < lineStarts.size() / 8) {
    // Few lines were wrapped: join them in place, from the last one back.
    std::size_t nextJoined = joined.size();
    for (std::size_t k = lineStarts.size() - 1; k-- > 0;) {
      const int start = lineStarts[k];
      const int rows = lineStarts[k + 1] - start;
      if (rows == 1) continue;
      std::vector<TRow> one;
      one.push_back(std::move(joined[--nextJoined]));
      lines.ReplaceRows(start, rows, std::move(one));
    }
    return {};
  }
  std::vector<TRow> rows;
  rows.reserve(lineStarts.size() - 1);
  std::vector<TRow> old = lines.ReleaseRows();  // nothing below can fail
  std::size_t nextJoined = 0;
  for (std::size_t k = 0; k + 1 < lineStarts.size(); ++k) {
    const int start = lineStarts[k];
    const bool single = lineStarts[k + 1] == start + 1;
    rows.push_back(single ? std::move(old[static_cast<std::size_t>(start)])
                          : std::move(joined[nextJoined++]));
  }
  return rows;
}

}  // namespace

std::vector<std::string> WrapAll(const TZelStrings& lines, const TWrapParams& params) {
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(lines.Count()));
  for (int i = 0; i < lines.Count(); ++i) CutLogicalLine(lines[i], params, rows);
  return rows;
}

std::string JoinLogicalLine(const TZelStrings& lines, int row, int& lastRow) {
  lastRow = LastRowOfLine(lines, row);
  std::size_t total = 0;
  for (int r = row; r <= lastRow; ++r) total += lines[r].size();
  std::string text;
  text.reserve(total);
  for (int r = row; r <= lastRow; ++r) text.append(lines[r]);
  return text;
}

void RebuildRows(TZelStrings& lines, TLineIndex& index, bool on, const TWrapParams& params,
                 TRowPos& caret, TRowPos& anchor) {
  if (on) {
    std::vector<int> rowsPerLine;
    std::vector<TRow> rows = WrapKeepingWholeRows(lines, params, rowsPerLine);
    if (!rows.empty()) lines.AdoptRows(std::move(rows));  // empty: wrapped in place
    index.Prime(rowsPerLine);
    LogicalToRow(lines, index, caret.Col, caret.Row);
    LogicalToRow(lines, index, anchor.Col, anchor.Row);
    return;
  }
  TRowPos newCaret = caret, newAnchor = anchor;
  RowToLogical(lines, index, newCaret.Col, newCaret.Row);
  RowToLogical(lines, index, newAnchor.Col, newAnchor.Row);
  std::vector<TRow> rows = UnwrapKeepingWholeRows(lines);
  if (!rows.empty()) lines.AdoptRows(std::move(rows));  // empty: joined in place
  caret = newCaret;
  anchor = newAnchor;
}

TRewrapResult RewrapRows(TZelStrings& lines, const TWrapParams& params, int start, int last,
                         TRowPos caret) {
  const int count = lines.Count();
  TRewrapResult result;
  result.Caret = caret;
  if (count == 0) return result;
  start = std::clamp(start, 0, count - 1);
  last = std::clamp(last, start, count - 1);
  // Text may move back onto the soft row before the edit.
  // A soft row may have been cut short in front of a CR or NUL; with room
  // made behind it, text moves back onto it too.
  for (int k = 0; k < 2 && start > 0 && !RowEndsLine(lines[start - 1]); ++k) --start;

  // Join the edited logical lines. The caret row `t` is tracked as if each
  // joined line were already one row; a caret on a joined soft row moves
  // onto the line's first row, its offset growing by the bytes before it.
  int t = caret.Row;
  int col = caret.Col;
  std::vector<std::string> joined;
  int k = start;
  while (k <= last) {
    const int lineEnd = LastRowOfLine(lines, k);
    const int collapsedNext = start + static_cast<int>(joined.size()) + 1;
    std::string text(lines[k]);
    for (int r = k + 1; r <= lineEnd; ++r) {
      if (t >= collapsedNext) {
        if (t == collapsedNext) col += static_cast<int>(text.size());
        --t;
      }
      text += lines[r];
    }
    joined.push_back(std::move(text));
    k = lineEnd + 1;
  }
  const int oldEnd = k;

  // Cut them again; the caret follows the rows cut off before it.
  std::vector<TRow> rows;
  std::vector<int> lengths;
  int w = start;
  for (const std::string& text : joined) {
    lengths.clear();
    CutRowLengths(text, params, lengths);
    std::size_t at = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      const int len = lengths[i];
      if (i + 1 < lengths.size()) {
        if (w < t) {
          ++t;
        } else if (w == t && col >= len) {
          col -= len;
          ++t;
        }
      }
      rows.push_back(TRow::Copy(std::string_view(text).substr(at, static_cast<std::size_t>(len))));
      at += static_cast<std::size_t>(len);
      ++w;
    }
  }
  const int newEnd = start + static_cast<int>(rows.size());
  lines.ReplaceRows(start, oldEnd - start, std::move(rows));

  result.Start = start;
  result.OldEnd = oldEnd;
  result.NewEnd = newEnd;
  result.Caret = {t, col};
  result.RowCountChanged = newEnd != oldEnd;
  return result;
}

}  // namespace notavo
