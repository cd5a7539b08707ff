#include "textstore/row_terminators.h"

namespace notavo {

namespace {
char SecondToLast(std::string_view row) { return row[row.size() - 2]; }
}  // namespace

bool RowEndsLine(std::string_view row) {
  return row.size() >= 2 && (SecondToLast(row) == kCR || SecondToLast(row) == kNUL);
}

bool EndsWithTerminator(std::string_view row) {
  return row.size() >= 2 && ((SecondToLast(row) == kCR && row.back() == kLF) ||
                             (SecondToLast(row) == kNUL && row.back() == kNUL));
}

std::string StripLineEnd(std::string_view row) {
  if (RowEndsLine(row)) row.remove_suffix(2);
  return std::string(row);
}

std::string StripEofMark(std::string_view row) {
  if (row.size() >= 2 && SecondToLast(row) == kNUL) row.remove_suffix(2);
  return std::string(row);
}

}  // namespace notavo
