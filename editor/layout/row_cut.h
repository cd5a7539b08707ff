// Cutting one logical line into display rows: by cells after tab expansion,
// optionally by pixels, never inside a double-byte character, and never so
// that a soft row could be taken for a line end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/layout/wrap_params.h"

namespace notavo {

// The largest number of leading bytes of `rest` whose tab-expanded width
// fits `Column` cells (and, with AutoWrap, the row's pixel limit). One
// forward pass with incremental tab expansion; a few measurements with
// AutoWrap.
int FitPrefix(std::string_view rest, const TWrapParams& params);

// Where a soft row ends when `pos` bytes fit but the line goes on (`pos` <
// `limit`, the line's length without its final terminator byte). The cut
// steps back off a CR or NUL and off a lead byte; if the row would then be
// empty, split a character, or have CR or NUL as its second-to-last byte
// (which reads as a line end), it moves further back, or, failing that,
// forward to the first sound cut. Returns `limit` when the rest must stay
// whole. Character boundaries come from a forward walk.
int SettleCut(std::string_view rest, int pos, int limit, bool singleByte);

// Lengths of the rows `line` (terminator included) is cut into.
void CutRowLengths(std::string_view line, const TWrapParams& params, std::vector<int>& lengths);

// The rows themselves, appended to `rows`.
void CutLogicalLine(std::string_view line, const TWrapParams& params,
                    std::vector<std::string>& rows);

}  // namespace notavo
