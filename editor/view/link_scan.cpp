#include "editor/view/link_scan.h"

#include <algorithm>
#include <string>

#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void TLinkScanner::ClassifyBytes(std::string_view row, bool singleByte) {
  roles_.assign(row.size(), btSingle);
  if (singleByte) return;
  // The same answer as ByteTypeAt at every position, in one pass: a byte
  // after an odd run of lead-valued bytes is a trail byte.
  std::size_t leadRun = 0;
  for (std::size_t i = 0; i < row.size(); ++i) {
    const bool leadValued = IsLeadByte(static_cast<unsigned char>(row[i]));
    if (leadRun % 2 == 1) {
      roles_[i] = btTrail;
    } else if (leadValued) {
      roles_[i] = btLead;
    }
    leadRun = leadValued ? leadRun + 1 : 0;
  }
}

TLinkRunOn TLinkScanner::Scan(std::string_view row, std::string_view next, bool singleByte,
                              TLinkRunOn in, const TLinkSpanSink& sink) {
  if (row == kLineEnd) return TLinkRunOn::kNone;  // an empty line ends everything
  ClassifyBytes(row, singleByte);
  const bool soft = !RowEndsLine(row);
  const int len = static_cast<int>(row.size()) - (soft ? 0 : 2);
  const std::size_t contentEnd = static_cast<std::size_t>(len);

  // Positions are 1-based, as in the rules; all lie in 1..len.
  auto byteAt = [&](int p) {
    return static_cast<unsigned char>(row[static_cast<std::size_t>(p - 1)]);
  };
  auto role = [&](int p) { return roles_[static_cast<std::size_t>(p - 1)]; };
  auto isDelimiter = [&](int p) {
    if (role(p) != btSingle) {
      return role(p) == btLead && p < len && byteAt(p) == 0x81 && byteAt(p + 1) == 0x40;
    }
    const unsigned char c = byteAt(p);
    return c == ' ' || c == '|' || c == '\t' || c == '"' || c == '>';
  };
  auto tailStop = [&](int p) {
    if (role(p) != btSingle) return true;
    const unsigned char c = byteAt(p);
    return c == '\t' || c == ' ' || c == ',' || c == ':';
  };
  auto tailEnd = [&](int q) {
    while (q <= len && !tailStop(q)) ++q;
    return q;
  };
  // The first "." of the row's content at or after 0-based `from`, 1-based;
  // 0 when there is none.
  auto dotFrom = [&](std::size_t from) {
    const std::size_t dot = row.find('.', from);
    return dot == std::string_view::npos || dot >= contentEnd ? 0 : static_cast<int>(dot) + 1;
  };
  // Whether `word` (lower case) starts at p of the row joined with the next.
  auto at = [&](int p, std::string_view word) {
    const std::size_t start = static_cast<std::size_t>(p - 1);
    if (start + word.size() > row.size() + next.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      const std::size_t k = start + i;
      if (LowerAscii(k < row.size() ? row[k] : next[k - row.size()]) != word[i]) return false;
    }
    return true;
  };
  auto span = [&](int from, int to) {
    if (sink && from <= to && to >= 1) sink(from, std::min(to, len));
  };

  TLinkRunOn out = TLinkRunOn::kNone;
  int p = 1;
  if (in == TLinkRunOn::kLink) {
    while (p <= len && !isDelimiter(p)) ++p;
    span(1, p - 1);
    if (p > len && soft) return TLinkRunOn::kLink;
  } else if (in == TLinkRunOn::kTag) {
    const int d = dotFrom(0);
    if (d == 0) {
      span(1, len);
      return soft ? TLinkRunOn::kTag : TLinkRunOn::kNone;
    }
    span(1, d);
    in = TLinkRunOn::kTagTail;
    p = d + 1;
  }
  if (in == TLinkRunOn::kTagTail) {
    const int e = tailEnd(p);
    span(p, e - 1);
    if (e > len && soft) return TLinkRunOn::kTagTail;
    p = e;
  }
  while (p <= len) {
    if (role(p) != btSingle && p < len) {
      ++p;
      continue;
    }
    if (at(p, "http://") || at(p, "https:/") || at(p, "mailto:") || at(p, "mail:")) {
      int e = p + 5;
      while (e <= len && !isDelimiter(e)) ++e;
      span(p, e - 1);
      if (e > len && soft) out = TLinkRunOn::kLink;
      p = e;
    }
    if (p <= len && at(p, "tag:")) {
      const int d = dotFrom(static_cast<std::size_t>(p - 1 + 4));
      if (d == 0) {
        span(p, len);
        if (soft) out = TLinkRunOn::kTag;
        break;
      }
      const int e = tailEnd(d + 1);
      span(p, e - 1);
      if (e > len && soft) out = TLinkRunOn::kTagTail;
      p = e;
      continue;
    }
    ++p;
  }
  return out;
}

}  // namespace notavo
