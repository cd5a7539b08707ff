#include "editor/caret/position_rule.h"

#include <algorithm>

#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

int ContentLength(std::string_view row) {
  const int length = static_cast<int>(row.size());
  return RowEndsLine(row) ? length - 2 : length;
}

TRowPos ClampPosition(const TZelStrings& lines, TRowPos pos) {
  pos.Row = std::clamp(pos.Row, 0, std::max(lines.Count() - 1, 0));
  if (lines.Count() == 0) return {0, 0};
  pos.Col = std::clamp(pos.Col, 0, ContentLength(lines[pos.Row]));
  return pos;
}

TRowPos NormalizePosition(const TZelStrings& lines, TRowPos pos, bool singleByteMode) {
  pos = ClampPosition(lines, pos);
  if (lines.Count() == 0) return pos;
  const std::string_view row = lines[pos.Row];
  // At the content end the next byte is the terminator, never a trail.
  if (pos.Col < ContentLength(row) && ByteTypeAt(row, pos.Col + 1, singleByteMode) == btTrail) {
    --pos.Col;
  }
  return pos;
}

TRowPos PositionAfterEdit(const TZelStrings& lines, TRowPos pos) {
  if (lines.Count() == 0) return {0, 0};
  pos.Row = std::clamp(pos.Row, 0, lines.Count() - 1);
  pos.Col = std::max(pos.Col, 0);
  const std::string_view row = lines[pos.Row];
  const bool pastContent = RowEndsLine(row) ? pos.Col > ContentLength(row)
                                            : pos.Col >= static_cast<int>(row.size());
  if (pastContent && pos.Row + 1 < lines.Count()) return {pos.Row + 1, 0};
  return ClampPosition(lines, pos);
}

TRowPos PositionAtOffset(const TZelStrings& lines, int row, long long bytes) {
  const int last = lines.Count() - 1;
  row = std::clamp(row, 0, std::max(last, 0));
  while (row < last && bytes >= static_cast<long long>(lines[row].size())) {
    bytes -= static_cast<long long>(lines[row].size());
    ++row;
  }
  return PositionAfterEdit(lines, {row, static_cast<int>(std::min<long long>(bytes, INT32_MAX))});
}

}  // namespace notavo
