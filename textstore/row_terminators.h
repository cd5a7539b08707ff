// Row terminators: CR LF ends a logical line, NUL NUL marks the end of the
// text (last row only), anything else is a soft row of a wrapped line.
#pragma once

#include <string>
#include <string_view>

namespace notavo {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kNUL = '\0';
inline constexpr std::string_view kLineEnd{"\r\n", 2};
inline constexpr std::string_view kEofMark{"\0\0", 2};

// True when the row has at least 2 bytes and its second-to-last is CR or NUL.
bool RowEndsLine(std::string_view row);
// Strictly a terminator of its own: the row ends in CR LF or in the NUL NUL
// end mark. For bytes an edit is putting together, where a lone CR or NUL
// may stand before the last byte; stored rows never differ from RowEndsLine.
bool EndsWithTerminator(std::string_view row);
// The row without a CR- or NUL-led terminator.
std::string StripLineEnd(std::string_view row);
// The row without a NUL-led terminator (CR LF rows are kept whole).
std::string StripEofMark(std::string_view row);

}  // namespace notavo
