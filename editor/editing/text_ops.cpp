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

TEditReport TTextOps::Finish(int first, int last, bool rowsMoved, TRowPos caret) {
  if (lines_.Count() == 0) lines_.Add(kEofMark);
  caret = PositionAfterEdit(lines_, caret);
  if (wrap_ == nullptr) return {first, last, rowsMoved, caret};
  const TRewrapResult r = RewrapRows(lines_, *wrap_, first, last, caret);
  return {r.Start, r.NewEnd - 1, rowsMoved || r.RowCountChanged, r.Caret};
}

TEditReport TTextOps::Replace(TRowPos a, TRowPos b, std::string_view text, bool caretBehind) {
  const int rowsBefore = lines_.Count();
  std::string whole(lines_[a.Row].substr(0, static_cast<std::size_t>(a.Col)));
  whole += text;
  whole += lines_[b.Row].substr(static_cast<std::size_t>(b.Col));
  int lastReplaced = b.Row;
  // Put together, the bytes must end the way the rows they replace did.
  // Unwrapped, every row ends a line: the next row joins. Wrapped, a soft
  // row is fine unless a lone CR or NUL before its last byte would read as
  // a line end.
  const bool join = wrap_ == nullptr ? !EndsWithTerminator(whole)
                                     : !EndsWithTerminator(whole) && RowEndsLine(whole);
  if (join && lastReplaced + 1 < lines_.Count()) whole += lines_[++lastReplaced];
  // Every CR LF ends a row, also one the edit brought together from a lone
  // CR and a lone LF.
  std::vector<std::string> pieces;
  if (!whole.empty()) pieces = SplitAfterLineEnds(whole);  // no row is ever empty
  const int written = static_cast<int>(pieces.size());
  lines_.ReplaceRows(a.Row, lastReplaced - a.Row + 1, pieces);
  const bool rowsMoved = lines_.Count() != rowsBefore || written != 1 || lastReplaced != a.Row;
  const int row = std::min(a.Row, std::max(lines_.Count() - 1, 0));
  const TRowPos caret =
      caretBehind ? PositionAtOffset(lines_, a.Row, static_cast<long long>(a.Col) +
                                                        static_cast<long long>(text.size()))
                  : TRowPos{row, row == a.Row ? a.Col : 0};
  return Finish(row, row + std::max(written, 1) - 1, rowsMoved, caret);
}

}  // namespace notavo
