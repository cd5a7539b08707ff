// The one rule for positions (row, byte offset in the row). Every position
// that reaches the caret or the selection — from a key, a message, an edit,
// the mouse or a search — passes through here first:
// - the row exists, the offset lies inside it;
// - never inside a row's terminator (CR LF, or the NUL NUL end mark);
// - never on the trail byte of a double-byte character;
// - after an edit, a position at or past a row's end continues at the next
//   row's start (a soft row's end is shown there, a line end is passed).
#pragma once

#include <string_view>
#include <utility>

#include "editor/layout/word_wrap.h"
#include "textstore/zel_strings.h"

namespace notavo {

// Bytes of the row before its terminator.
int ContentLength(std::string_view row);

inline bool Before(TRowPos a, TRowPos b) {
  return a.Row < b.Row || (a.Row == b.Row && a.Col < b.Col);
}
// The two ends in document order.
inline std::pair<TRowPos, TRowPos> Ordered(TRowPos a, TRowPos b) {
  return Before(b, a) ? std::pair{b, a} : std::pair{a, b};
}

// Row into the document, offset onto 0..content length (a soft row's full
// length is a place too: its end).
TRowPos ClampPosition(const TZelStrings& lines, TRowPos pos);
// As ClampPosition, then back off a trail byte (unless every byte counts as
// a character of its own).
TRowPos NormalizePosition(const TZelStrings& lines, TRowPos pos, bool singleByteMode);
// Where the caret stands after an edit put it `pos`: at or behind a soft
// row's end, or inside or behind a line end, it moves on to the next row's
// start; on the last row it stays before the end mark.
TRowPos PositionAfterEdit(const TZelStrings& lines, TRowPos pos);
// The position `bytes` bytes after the start of row `row`, walking rows as
// stored (terminators count), normalised as after an edit.
TRowPos PositionAtOffset(const TZelStrings& lines, int row, long long bytes);

}  // namespace notavo
