// Character classes of Shift-JIS text for word movement and word deletion.
#pragma once

#include <string_view>

namespace notavo {

// `code` is a byte value, or lead × 256 + trail for a double-byte character.
int CharClass(int code);

// End of the run of same-class characters from `col` in `row` (the row's
// bytes, terminator included). Forward stops at the row's end and before a
// NUL, TAB or CR that stands alone; backward stops at offset 0. Characters
// are found by the bytes' roles, never by their values alone.
int ScanWordForward(std::string_view row, int col, bool singleByte);
int ScanWordBackward(std::string_view row, int col, bool singleByte);

}  // namespace notavo
