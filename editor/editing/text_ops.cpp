#include "editor/editing/text_ops.h"

#include <string>
#include <vector>

#include "editor/caret/position_rule.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {

// Pieces of `text` cut after each CR LF pair; a lone CR or LF stays an
// ordinary byte of its piece.
std::vector<std::string> SplitAfterLineEnds(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find(kLineEnd); at != std::string_view::npos;
       at = text.find(kLineEnd, start)) {
    pieces.emplace_back(text.substr(start, at + 2 - start));
    start = at + 2;
  }
  if (start < text.size() || pieces.empty()) pieces.emplace_back(text.substr(start));
  return pieces;
}

}  // namespace

int TTextOps::JoinUnterminated(std::string& row, int lastRow) const {
  // Unwrapped, every row ends a line. Wrapped, a soft piece is fine unless a
  // lone CR or NUL before its last byte would read as a line end.
  const bool join = wrap_ == nullptr ? !EndsWithTerminator(row)
                                     : !EndsWithTerminator(row) && RowEndsLine(row);
  if (join && lastRow + 1 < lines_.Count()) {
    row += lines_[lastRow + 1];
    return lastRow + 1;
  }
  return lastRow;
}

TEditReport TTextOps::Finish(int first, int last, bool rowsMoved, TRowPos caret) {
  if (lines_.Count() == 0) lines_.Add(kEofMark);
  caret = PositionAfterEdit(lines_, caret);
  if (wrap_ == nullptr) return {first, last, rowsMoved, caret};
  const TRewrapResult r = RewrapRows(lines_, *wrap_, first, last, caret);
  return {r.Start, r.NewEnd - 1, rowsMoved || r.RowCountChanged || r.OldEnd - 1 > r.Start,
          r.Caret};
}

TEditReport TTextOps::Delete(TRowPos a, TRowPos b) {
  const int rowsBefore = lines_.Count();
  std::string joined(lines_[a.Row].substr(0, static_cast<std::size_t>(a.Col)));
  joined += lines_[b.Row].substr(static_cast<std::size_t>(b.Col));
  const int lastReplaced = JoinUnterminated(joined, b.Row);
  std::vector<std::string> replacement;
  if (!joined.empty()) replacement.push_back(std::move(joined));  // no row is ever empty
  lines_.ReplaceRows(a.Row, lastReplaced - a.Row + 1, replacement);
  const bool rowsMoved = lines_.Count() != rowsBefore || b.Row != a.Row;
  const int row = std::min(a.Row, std::max(lines_.Count() - 1, 0));
  return Finish(row, row, rowsMoved, {row, row == a.Row ? a.Col : 0});
}

TEditReport TTextOps::Insert(TRowPos at, std::string_view text) {
  const std::string_view bytes = lines_[at.Row];
  const auto split = static_cast<std::size_t>(at.Col);
  std::string whole(bytes.substr(0, split));
  whole += text;
  whole += bytes.substr(split);
  std::vector<std::string> pieces = SplitAfterLineEnds(whole);
  const int lastReplaced = JoinUnterminated(pieces.back(), at.Row);
  const int added = static_cast<int>(pieces.size());
  lines_.ReplaceRows(at.Row, lastReplaced - at.Row + 1, pieces);
  // Behind the inserted text, counted through the rows just written.
  const TRowPos caret = PositionAtOffset(lines_, at.Row, static_cast<long long>(split + text.size()));
  return Finish(at.Row, at.Row + added - 1, added > 1 || lastReplaced != at.Row, caret);
}

TEditReport TTextOps::InsertInRow(TRowPos at, std::string_view bytes) {
  std::string row(lines_[at.Row]);
  row.insert(static_cast<std::size_t>(at.Col), bytes);
  const int lastReplaced = JoinUnterminated(row, at.Row);
  lines_.ReplaceRows(at.Row, lastReplaced - at.Row + 1, std::vector<std::string>{row});
  TEditReport report = Finish(at.Row, at.Row, lastReplaced != at.Row, at);
  return report;
}

}  // namespace notavo
