// The editor's built-in matcher: where a search text occurs in a stretch of
// Shift-JIS text. Bytes compare exactly (letter case matters), a match never
// starts on the trail byte of a double-byte character (characters are
// counted from the start of the stretch), both texts end at their first NUL
// byte (so the end-of-text mark ends the searched text), and an empty search
// text matches nowhere.
#pragma once

#include <cstddef>
#include <string_view>

namespace notavo {

class TZelEdit;

// The search text as the matcher reads it: up to its first NUL.
std::string_view MatcherNeedle(std::string_view findchr);

// 1-based byte position of the first match of `findchr` in `str`, 0 for none.
int FindInText(std::string_view str, std::string_view findchr);

// The matcher as the editor's OnFind handler. The editor recognises it and
// then searches the rows directly, with the same results.
struct TBuiltInMatcher {
  void operator()(TZelEdit&, std::string_view str, std::string_view findchr, int /*index*/, int& x,
                  int& /*len*/) const {
    x = FindInText(str, findchr);
  }
};

// Character starts of a text, counted from a given offset, asked for at
// growing offsets: a short look back decides most positions, a forward walk
// from the last known start the rest, so a scan costs at most one pass over
// the text even when it is all lead bytes.
class TCharStarts {
 public:
  TCharStarts(std::string_view text, std::size_t from) : text_(text), from_(from), known_(from) {}
  bool IsStart(std::size_t at);

 private:
  std::string_view text_;
  std::size_t from_;
  std::size_t known_;  // a character start at or before the last query
};

// True when the bytes of `text`, read character by character from its start,
// end exactly at its end (no lead byte left without its trail byte).
bool EndsOnCharacter(std::string_view text);

}  // namespace notavo
