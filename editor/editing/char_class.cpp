#include "editor/editing/char_class.h"

#include "textstore/shift_jis.h"

namespace notavo {

int CharClass(int code) {
  if (code < 0x100) {
    if (code <= 0x2F) return 7;
    if (code <= 0x39) return 6;
    if (code <= 0x3F) return 7;
    if (code <= 0x7F) return 6;
    if (code <= 0xA5) return 2;
    if (code <= 0xDF) return 5;
    return 7;
  }
  if (code >= 0x8140 && code <= 0x824E) return 4;
  if (code >= 0x824F && code <= 0x829E) return 3;
  if (code >= 0x829F && code <= 0x82FF) return 0;
  if (code >= 0x8340 && code <= 0x8396) return 1;
  if (code >= 0x8397 && code <= 0x889E) return 4;
  return 2;
}

namespace {

// Length of the character starting at `i` (a character start).
int CharLengthAt(std::string_view row, int i, bool singleByte) {
  if (singleByte || i + 1 >= static_cast<int>(row.size())) return 1;
  return IsLeadByte(static_cast<unsigned char>(row[static_cast<std::size_t>(i)])) ? 2 : 1;
}

int CodeAt(std::string_view row, int i, int length) {
  const auto b = static_cast<unsigned char>(row[static_cast<std::size_t>(i)]);
  if (length == 1) return b;
  return b * 256 + static_cast<unsigned char>(row[static_cast<std::size_t>(i) + 1]);
}

}  // namespace

int ScanWordForward(std::string_view row, int col, bool singleByte) {
  const int size = static_cast<int>(row.size());
  int pos = col;
  int runClass = -1;
  while (pos < size) {
    const int length = CharLengthAt(row, pos, singleByte);
    const int code = CodeAt(row, pos, length);
    if (length == 1 && (code == 0 || code == '\t' || code == '\r')) break;
    const int cls = CharClass(code);
    if (runClass < 0) runClass = cls;
    if (cls != runClass) break;
    pos += length;
  }
  return pos;
}

int ScanWordBackward(std::string_view row, int col, bool singleByte) {
  int pos = col;
  int runClass = -1;
  while (pos > 0) {
    // The character before `pos`: two bytes when the byte two before is a
    // lead byte by its role.
    const int length = pos >= 2 && ByteTypeAt(row, pos - 1, singleByte) == btLead ? 2 : 1;
    const int cls = CharClass(CodeAt(row, pos - length, length));
    if (runClass < 0) runClass = cls;
    if (cls != runClass) break;
    pos -= length;
  }
  return pos;
}

}  // namespace notavo
