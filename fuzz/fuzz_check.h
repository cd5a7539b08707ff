// Shared helpers of the fuzz targets: a check that aborts with a message
// (so libFuzzer records the input), and the reference conversions the store
// is compared against, written independently of the text store's cutters.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(cond)                                                            \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

namespace notavo::fuzz {

enum class Style { kCrLf, kCr, kLf, kEmpty };

// The file's style from its first CR or LF anywhere in it.
inline Style ReferenceStyle(std::string_view bytes) {
  if (bytes.empty()) return Style::kEmpty;
  const std::size_t at = bytes.find_first_of("\r\n");
  if (at == std::string_view::npos) return Style::kCr;
  if (bytes[at] == '\n') return Style::kLf;
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? Style::kCrLf : Style::kCr;
}

// The document text a file must load as: CR LF files unchanged; LF and CR
// files lose their NULs and get CR LF for their break byte.
inline std::string ReferenceText(std::string_view bytes, Style style) {
  if (style == Style::kCrLf || style == Style::kEmpty) return std::string(bytes);
  const char breakByte = style == Style::kLf ? '\n' : '\r';
  std::string text;
  for (char c : bytes) {
    if (c == '\0') continue;
    if (c == breakByte) {
      text += "\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

// Rows of a CR LF style file, byte by byte: a CR or NUL with a byte after it
// ends a row together with that byte, except a NUL followed by NUL, which is
// ordinary; the rest gets the end-of-text mark.
inline std::vector<std::string> ReferenceCrLfRows(std::string_view bytes) {
  std::vector<std::string> rows;
  std::string row;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    row += c;
    const bool stop = (c == '\r' || c == '\0') && i + 1 < bytes.size();
    if (stop && !(c == '\0' && bytes[i + 1] == '\0')) {
      row += bytes[++i];
      rows.push_back(row);
      row.clear();
    }
  }
  row.append("\0\0", 2);
  rows.push_back(row);
  return rows;
}

// Rows of an LF or CR style file: split at the break byte, NULs dropped,
// each line ends in CR LF and the last one in the end-of-text mark.
inline std::vector<std::string> ReferenceBreakRows(std::string_view bytes, char breakByte) {
  std::vector<std::string> rows;
  std::string row;
  for (char c : bytes) {
    if (c == '\0') continue;
    if (c == breakByte) {
      rows.push_back(row + "\r\n");
      row.clear();
    } else {
      row += c;
    }
  }
  row.append("\0\0", 2);
  rows.push_back(row);
  return rows;
}

// Flat text pieces: each runs to the first CR or NUL and one byte more (when
// there is one); the rest is the last piece; empty text is one empty piece.
inline std::vector<std::string> ReferenceFlatPieces(std::string_view text) {
  std::vector<std::string> pieces;
  std::string piece;
  for (std::size_t i = 0; i < text.size(); ++i) {
    piece += text[i];
    if ((text[i] == '\r' || text[i] == '\0') && i + 1 < text.size()) {
      piece += text[++i];
      pieces.push_back(piece);
      piece.clear();
    } else if (text[i] == '\r' || text[i] == '\0') {
      break;  // a stop byte at the very end stays in the last piece
    }
  }
  if (!piece.empty() || pieces.empty()) pieces.push_back(piece);
  return pieces;
}

}  // namespace notavo::fuzz
