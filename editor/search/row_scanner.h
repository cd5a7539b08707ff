// The built-in matcher applied to the rows themselves, without building the
// text it would be handed: what the search would find row by row, found
// across many rows at once. A match starts in its row and may run on over
// following rows up to a last row; characters are counted from where the
// searched stretch of the row begins; a NUL byte ends the stretch.
#pragma once

#include <optional>
#include <string_view>

#include "editor/layout/word_wrap.h"
#include "textstore/zel_strings.h"

namespace notavo {

class TRowScanner {
 public:
  // `needle` as the matcher reads it (MatcherNeedle), not empty.
  TRowScanner(const TZelStrings& lines, std::string_view needle) : lines_(lines), needle_(needle) {}

  // The first match starting in `row` at or after `start`. With `end` >= 0
  // only the row's bytes before `end` are searched; otherwise the match may
  // run on into rows up to `lastRow`. The offset in the row, or -1.
  int MatchInRow(int row, int start, int end, int lastRow) const;

  // The first match from (row, start) on, in rows up to `lastRow`; later rows
  // are searched from their start. A start beyond the row's end carries on
  // into the next row (what is left after a match that ran over the end).
  std::optional<TRowPos> NextMatch(int row, int start, int lastRow) const;
  // The first place from (row, start) on where the needle's bytes occur at
  // all, wherever it starts: rows before it cannot hold a match.
  std::optional<TRowPos> NextBytes(int row, int start, int lastRow) const;

 private:
  // Whether the bytes from `row`, offset `col`, on (through rows up to
  // `lastRow`) begin with the needle.
  bool MatchesAcrossRows(int row, int col, int lastRow) const;
  std::optional<TRowPos> Next(int row, int start, int lastRow, bool anyStart) const;

  const TZelStrings& lines_;
  std::string_view needle_;
};

}  // namespace notavo
