// Line-break style of a file, chosen by its first real line break.
#pragma once

#include <string>

namespace notavo {

enum TLineBreakStyle : int {
  lbCrLf = 0,   // CR followed by LF
  lbCr = 1,     // CR followed by anything else, or no line break at all
  lbLf = 2,     // LF
  lbEmpty = 4,  // the file has no bytes
};

// Looks past NUL bytes and past the first 1024 bytes until the first CR or LF,
// so a long first line never makes an LF or CR LF file look like CR style.
// Throws EFileError when the file cannot be opened or read.
TLineBreakStyle DetectLineBreak(const std::string& fileName);

}  // namespace notavo
