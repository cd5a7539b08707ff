#include "editor/search/match_rule.h"

#include <algorithm>
#include <cstring>

#include "editor/search/byte_search.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {
bool Lead(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i]));
}
}  // namespace

std::string_view MatcherNeedle(std::string_view findchr) {
  return findchr.substr(0, std::min(findchr.size(), findchr.find('\0')));
}

bool TCharStarts::IsStart(std::size_t at) {
  if (at < from_) return false;
  // The run of lead-valued bytes before `at` decides when it ends inside the
  // text: its pairs are characters, an odd byte left over is a lead byte.
  constexpr std::size_t kShortRun = 32;
  std::size_t run = 0;
  while (run < kShortRun && at - run > from_ && Lead(text_, at - run - 1)) ++run;
  if (at - run == from_ || !Lead(text_, at - run - 1)) return run % 2 == 0;
  if (known_ > at) known_ = from_;
  while (known_ < at) known_ += Lead(text_, known_) ? 2 : 1;
  return known_ == at;
}

int FindInText(std::string_view str, std::string_view findchr) {
  const std::string_view needle = MatcherNeedle(findchr);
  const std::string_view text = MatcherNeedle(str);
  if (needle.empty()) return 0;
  TCharStarts starts(text, 0);
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t hit = FindBytes(text.substr(from), needle);
    if (hit == std::string_view::npos) return 0;
    if (starts.IsStart(from + hit)) return static_cast<int>(from + hit) + 1;
    from += hit + 1;
  }
  return 0;
}

bool EndsOnCharacter(std::string_view text) { return TCharStarts(text, 0).IsStart(text.size()); }

}  // namespace notavo
