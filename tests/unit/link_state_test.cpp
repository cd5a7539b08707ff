// Link colouring with remembered run-on states, checked against a full scan.
// Random documents full of link prefixes (every case, split by soft wraps,
// between delimiters, Japanese text and empty lines) are edited through the
// control's own operations; after every step the underlined link pieces the
// control draws, for the whole view and for a random range of rows, must be
// those a scan of every row from the top of the document gives. The scroll
// width must be the widest row in view.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "editor_fixture.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {
namespace {

using testing::EditorFixture;

// Link pieces (1-based from..to) of every row, by the rules alone: each
// row lower-cased, joined with the next for the prefix test, states carried
// row to row from the top of the document.
std::vector<std::vector<std::pair<int, int>>> ReferenceLinks(const TZelStrings& lines,
                                                             bool singleByte) {
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return out;
  };
  std::vector<std::vector<std::pair<int, int>>> links(static_cast<std::size_t>(lines.Count()));
  bool linkOn = false, tagOn = false, tailOn = false;
  for (int r = 0; r < lines.Count(); ++r) {
    const std::string_view raw = lines[r];
    const bool soft = !RowEndsLine(raw);
    const int len = static_cast<int>(raw.size()) - (soft ? 0 : 2);
    const std::string data = lower(raw);
    const std::string joined = data + (r + 1 < lines.Count() ? lower(lines[r + 1]) : "");
    auto& out = links[static_cast<std::size_t>(r)];
    auto type = [&](int p) { return ByteTypeAt(raw, p, singleByte); };
    auto delimiter = [&](int p) {
      if (type(p) != btSingle)
        return type(p) == btLead && p < len && data.compare(p - 1, 2, "\x81\x40") == 0;
      return std::string_view(" |\t\">").find(raw[p - 1]) != std::string_view::npos;
    };
    auto tailStop = [&](int p) {
      return type(p) != btSingle ||
             std::string_view("\t ,:").find(raw[p - 1]) != std::string_view::npos;
    };
    auto paint = [&](int from, int to) {
      if (from <= to && to >= 1) out.emplace_back(from, std::min(to, len));
    };
    auto at = [&](int p, std::string_view word) {
      return joined.compare(p - 1, word.size(), word) == 0;
    };
    auto dot = [&](int from) {
      const auto d = data.find('.', static_cast<std::size_t>(from));
      return d == std::string::npos || static_cast<int>(d) >= len ? 0 : static_cast<int>(d) + 1;
    };
    if (raw == kLineEnd) {
      linkOn = tagOn = tailOn = false;
      continue;
    }
    int p = 1;
    if (linkOn) {
      while (p <= len && !delimiter(p)) ++p;
      paint(1, p - 1);
      if (p > len && soft) continue;
      linkOn = false;
    } else if (tagOn) {
      const int d = dot(0);
      if (d == 0) {
        paint(1, len);
        tagOn = soft;
        continue;
      }
      paint(1, d);
      tagOn = false;
      tailOn = true;
      p = d + 1;
    }
    if (tailOn) {
      int e = p;
      while (e <= len && !tailStop(e)) ++e;
      paint(p, e - 1);
      tailOn = e > len && soft;
      if (tailOn) continue;
      p = e;
    }
    for (; p <= len; ++p) {
      if (type(p) != btSingle && p < len) continue;
      if (at(p, "http://") || at(p, "https:/") || at(p, "mailto:") || at(p, "mail:")) {
        int e = p + 5;
        while (e <= len && !delimiter(e)) ++e;
        paint(p, e - 1);
        linkOn = e > len && soft;
        p = e;
      }
      if (p <= len && at(p, "tag:")) {
        const int d = dot(p - 1 + 4);
        if (d == 0) {
          paint(p, len);
          tagOn = soft;
          break;
        }
        int e = d + 1;
        while (e <= len && !tailStop(e)) ++e;
        paint(p, e - 1);
        tailOn = e > len && soft;
        p = e - 1;
      }
    }
  }
  return links;
}

using Rect = std::tuple<int, int, int, int>;

Rect Key(const TRect& r) { return {r.Top, r.Left, r.Right, r.Bottom}; }

class LinkStates : public ::testing::Test {
 protected:
  // The link rectangles a pass over rows first..last must draw.
  std::vector<Rect> Expected(int first, int last) const {
    const TZelEdit& e = f.edit;
    const auto links = ReferenceLinks(e.Lines(), e.SingleByteMode());
    first = std::max(first, e.TopRow());
    last = std::min({last, e.TopRow() + e.VisibleRows() - 1, e.Lines().Count() - 1});
    std::vector<Rect> out;
    for (int r = first; r <= last; ++r) {
      const std::string_view row = e.Lines()[r];
      const int y = (r - e.TopRow()) * e.RowPitch() + e.TopMargin();
      const int origin = e.TextLeft() - e.ScrollX();
      for (const auto& [from, to] : links[static_cast<std::size_t>(r)]) {
        const int left = std::max(e.TextLeft(), origin + e.PrefixWidth(row, from - 1));
        const int right = origin + e.PrefixWidth(row, to);
        if (right > left) out.emplace_back(y, left, right, y + e.RowPitch());
      }
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  std::vector<Rect> Drawn() const {
    std::vector<Rect> out;
    for (const auto& c : f.host.drawn) {
      if (c.kind == TDrawCall::kTextRect && c.underline) out.push_back(Key(c.rect));
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  int WidestRowInView() const {
    const TZelEdit& e = f.edit;
    int widest = 0;
    const int last = std::min(e.TopRow() + e.VisibleRows() - 1, e.Lines().Count() - 1);
    for (int r = e.TopRow(); r <= last; ++r) {
      const std::string_view row = e.Lines()[r];
      widest = std::max(widest, e.PrefixWidth(row, static_cast<int>(row.size())));
    }
    return widest;
  }
  EditorFixture f;
};

// Pieces documents and typed text are made of: prefixes in all cases and
// cut in two (so a soft wrap may fall inside one), the delimiters and tail
// stops, double-byte text (whose trail bytes may look like lead bytes or
// like letters of a prefix), the double-width space, line ends and empty
// lines.
const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> kPieces = {"http://",
                                                   "HTTPS:/",
                                                   "https://",
                                                   "Mailto:",
                                                   "mail:",
                                                   "MAIL:",
                                                   "tag:",
                                                   "TaG:",
                                                   "ht",
                                                   "tp://",
                                                   "ma",
                                                   "il:",
                                                   "ta",
                                                   "g:",
                                                   "example",
                                                   "x.y",
                                                   ".",
                                                   ",",
                                                   ":",
                                                   " ",
                                                   "|",
                                                   "\t",
                                                   "\"",
                                                   ">",
                                                   "<",
                                                   "/",
                                                   "ab",
                                                   "\x81\x40",
                                                   "\x82\xA0",
                                                   "\x93\xFA\x96\x7B",
                                                   "\x8C\xEA",
                                                   "\x83\x68ttp://",
                                                   "\x83\x74"
                                                   "ag:",
                                                   "\x81\x81\x40",
                                                   "\r\n",
                                                   "\r\n\r\n"};
  return kPieces;
}

std::string RandomText(std::mt19937& rng, int pieces) {
  std::string text;
  for (int i = 0; i < pieces; ++i) text += Pieces()[rng() % Pieces().size()];
  return text;
}

TEST_F(LinkStates, EditedDocumentsDrawTheLinksOfAFullScan) {
  f.host.clientSize = {400, 300};  // a dozen rows: documents scroll
  f.Send(win::WM_SIZE);
  for (unsigned seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    f.edit.SetWordWrap(seed % 4 != 0);
    f.edit.SetColumn(10 + static_cast<int>(rng() % 15));
    f.edit.SetSingleByteMode(seed % 7 == 0);
    ASSERT_TRUE(f.Load(RandomText(rng, 20 + static_cast<int>(rng() % 120))));
    for (int step = 0; step < 60; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step));
      TZelEdit& e = f.edit;
      const int rows = e.Lines().Count();
      switch (rng() % 10) {
        case 0:
        case 1: {
          const int row = static_cast<int>(rng() % static_cast<unsigned>(rows));
          const int length = static_cast<int>(e.Lines()[row].size());
          e.GoToPosition(static_cast<int>(rng() % static_cast<unsigned>(length + 1)), row, 0);
          break;
        }
        case 2:
        case 3: {
          std::string typed = RandomText(rng, 1 + static_cast<int>(rng() % 3));
          typed.erase(std::remove_if(typed.begin(), typed.end(),
                                     [](char c) { return c == '\r' || c == '\n'; }),
                      typed.end());
          if (!typed.empty()) e.TypeText(typed);
          break;
        }
        case 4:
          e.InsertTextAtCaret(RandomText(rng, 1 + static_cast<int>(rng() % 6)), true);
          break;
        case 5:
          for (int k = static_cast<int>(rng() % 4); k >= 0; --k) e.DeleteCharLeft();
          break;
        case 6:
          for (int k = static_cast<int>(rng() % 4); k >= 0; --k) e.DeleteCharRight();
          break;
        case 7:
          e.SetColumn(10 + static_cast<int>(rng() % 15));
          break;
        case 8:
          e.SetWordWrap(!e.WordWrap());
          break;
        default:
          if (rng() % 4 == 0)
            e.SetSingleByteMode(!e.SingleByteMode());
          else
            e.InsertLineBreak();
          break;
      }
      f.host.drawn.clear();
      e.PaintView();
      ASSERT_EQ(Drawn(), Expected(0, e.Lines().Count() - 1));
      ASSERT_EQ(e.MaxRowWidth(), WidestRowInView());
      // A pass starting on any row, inside a run-on link or not.
      const int a = e.TopRow() + static_cast<int>(rng() % static_cast<unsigned>(e.VisibleRows()));
      const int b = a + static_cast<int>(rng() % 4);
      f.host.drawn.clear();
      e.RepaintRows(6, a, b);
      ASSERT_EQ(Drawn(), Expected(a, b));
    }
  }
}

}  // namespace
}  // namespace notavo
