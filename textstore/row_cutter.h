// Cutting bytes into rows. The file cutters stream: they take the file in
// chunks of any size and give the same rows whatever the chunk boundaries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace notavo {

// Flat text (SetText, InsertText): each piece runs to the first CR or NUL and
// the one byte after it (when there is one); the rest is the last piece. An
// empty text is one empty piece.
std::vector<std::string> CutFlatText(std::string_view text);

// A file in CR LF style: every CR or NUL ends a row together with the byte
// after it; the file's bytes reach the rows unchanged and the last row gets
// the end-of-text mark. Two guards keep rows well-formed: a NUL followed by
// another NUL stays an ordinary byte (a row never ends in NUL NUL before the
// last one), and a CR or NUL that is the file's very last byte stays an
// ordinary byte of the last line instead of merging with the mark.
class CrLfRowCutter {
 public:
  explicit CrLfRowCutter(std::vector<std::string>& rows) : rows_(rows) {}
  void Feed(std::string_view chunk);
  void Finish();

 private:
  enum class Pending { kNone, kCr, kNul };
  std::vector<std::string>& rows_;
  std::string line_;
  Pending pending_ = Pending::kNone;  // a stop byte waiting for its follower
};

// A file in LF or CR style: `breakByte` ends a line and becomes CR LF, NUL
// bytes are dropped, and the other line-break byte is an ordinary byte.
class BreakByteRowCutter {
 public:
  BreakByteRowCutter(std::vector<std::string>& rows, char breakByte)
      : rows_(rows), breakByte_(breakByte) {}
  void Feed(std::string_view chunk);
  void Finish();

 private:
  std::vector<std::string>& rows_;
  std::string line_;
  char breakByte_;
};

}  // namespace notavo
