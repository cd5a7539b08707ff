// Cutting logical lines into rows: the documented cases, the fast cut
// against the literal reference, and the soundness of every soft row.
#include "editor/layout/row_cut.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/layout/tab_expansion.h"
#include "platform/text_measure.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"
#include "wrap_reference.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using Rows = std::vector<std::string>;

Rows Cut(const std::string& line, const TWrapParams& p) {
  Rows rows;
  CutLogicalLine(line, p, rows);
  return rows;
}

TWrapParams Params(int column, int tabCount = 8, bool singleByte = false) {
  TWrapParams p;
  p.Column = column;
  p.TabCount = tabCount;
  p.SingleByteMode = singleByte;
  return p;
}

TEST(ExpandTabs, StopsCountFromTheRowStart) {
  EXPECT_EQ(ExpandTabs("abc\tx", 4), "abc x");
  EXPECT_EQ(ExpandTabs("\tx", 4), "    x");
  EXPECT_EQ(ExpandTabs("ab\t\t", 4), "ab      ");
  EXPECT_EQ(ExpandTabs("\x93\xFA\tx", 4), "\x93\xFA  x");  // a double-byte char is two cells
  EXPECT_EQ(ExpandTabs("a\tb", 1), "a b");
  EXPECT_EQ(ExpandTabs("", 8), "");
}

TEST(RowCut, DocumentedCases) {
  const std::string nine = "123456789";
  const std::string kanji = "\x93\xFA";
  const struct {
    const char* name;
    std::string line;
    TWrapParams params;
    Rows rows;
  } cases[] = {
      {"25 chars",
       std::string(25, 'a') + "\r\n",
       Params(10),
       {std::string(10, 'a'), std::string(10, 'a'), std::string(5, 'a') + "\r\n"}},
      {"exactly column", std::string(10, 'a') + "\r\n", Params(10), {std::string(10, 'a'), "\r\n"}},
      {"column minus one",
       std::string(9, 'a') + "\r\n",
       Params(10),
       {std::string(9, 'a') + "\r\n"}},
      {"exactly column at eof",
       std::string(10, 'a') + "\0\0"s,
       Params(10),
       {std::string(10, 'a'), "\0\0"s}},
      {"double-byte at edge", nine + kanji + "\r\n", Params(10), {nine, kanji + "\r\n"}},
      {"single-byte mode splits",
       nine + kanji + "\r\n",
       Params(10, 8, true),
       {nine + "\x93", "\xFA\r\n"}},
      {"tab counts to its stop", "abc\tdefghij\r\n", Params(10, 4), {"abc\tdefghi", "j\r\n"}},
      {"tab crossing the column", "abcdefgh\tij\r\n", Params(10, 4), {"abcdefgh", "\tij\r\n"}},
      {"tab at row start", "\t\t\tx\r\n", Params(10, 4), {"\t\t", "\tx\r\n"}},
      {"empty line", "\r\n", Params(10), {"\r\n"}},
      {"end mark only", "\0\0"s, Params(10), {"\0\0"s}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cut(c.line, c.params), c.rows);
  }
}

TEST(RowCut, LoneCrNeverEndsASoftRow) {
  // 9 bytes then a lone CR (kept from an LF file): cutting after the tenth
  // byte would leave CR as the soft row's second-to-last byte.
  const std::string line = "123456789\rabcdef\r\n";
  const Rows rows = Cut(line, Params(10));
  ASSERT_GE(rows.size(), 2u);
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) EXPECT_FALSE(RowEndsLine(rows[i])) << i;
  std::string joined;
  for (const auto& r : rows) joined += r;
  EXPECT_EQ(joined, line);
}

TEST(RowCut, AutoWrapNeverGoesBelowTenCharacters) {
  TFixedTextMeasurer measurer(8);
  TWrapParams p = Params(1000);
  p.AutoWrap = true;
  p.TextAreaWidth = 20;  // narrower than ten characters
  p.CharWidth = 8;
  p.Measurer = &measurer;
  const Rows rows = Cut(std::string(35, 'a') + "\r\n", p);
  EXPECT_EQ(rows, (Rows{std::string(10, 'a'), std::string(10, 'a'), std::string(10, 'a'),
                        std::string(5, 'a') + "\r\n"}));
}

// A measurer wider than any row limit: every row still takes a character.
class HugeMeasurer final : public TTextMeasurer {
 public:
  int TextWidth(std::string_view bytes) const override {
    return static_cast<int>(bytes.size()) * 1000;
  }
};

TEST(RowCut, AutoWrapAlwaysMakesProgress) {
  HugeMeasurer measurer;
  TWrapParams p = Params(1000);
  p.AutoWrap = true;
  p.TextAreaWidth = 10;
  p.CharWidth = 1;
  p.Measurer = &measurer;
  const std::string line =
      "ab\x93\xFA"
      "c\r\n";
  const Rows rows = Cut(line, p);
  EXPECT_EQ(rows, (Rows{"a", "b", "\x93\xFA", "c", "\r\n"}));
}

// --- randomized: fast against literal ------------------------------------

// Text like "亜亜亜…": every byte has a lead value, so only a walk from a
// known character start can tell leads from trails.
std::string LeadHeavyLine(std::mt19937& rng) {
  static const char kLeadValued[] = {'\x88', '\x9F', '\xE0', '\x81'};
  std::string s;
  const int length = static_cast<int>(rng() % 400);
  for (int i = 0; i < length; ++i) s.push_back(rng() % 50 == 0 ? 'a' : kLeadValued[rng() % 4]);
  return s + "\r\n";
}

std::string RandomLine(std::mt19937& rng, bool withStops) {
  if (rng() % 4 == 0) return LeadHeavyLine(rng);
  static const char kPlain[] = {'a',    'b',    ' ',    '\t',   '\x93',
                                '\xFA', '\x81', '\x40', '\xE0', '\x9F'};
  static const char kStops[] = {'\r', '\0', '\n'};
  const int length = static_cast<int>(rng() % 300);
  std::string s;
  for (int i = 0; i < length; ++i) {
    if (withStops && rng() % 12 == 0) {
      s.push_back(kStops[rng() % 3]);
    } else {
      s.push_back(kPlain[rng() % sizeof kPlain]);
    }
  }
  s += rng() % 4 == 0 ? "\0\0"s : "\r\n"s;
  return s;
}

TWrapParams RandomParams(std::mt19937& rng, const TTextMeasurer* measurer) {
  TWrapParams p;
  p.Column = 10 + static_cast<int>(rng() % (rng() % 2 ? 60 : 2038));
  p.TabCount = 1 + static_cast<int>(rng() % 8);
  p.SingleByteMode = rng() % 5 == 0;
  if (rng() % 3 == 0) {
    p.AutoWrap = true;
    p.CharWidth = 1 + static_cast<int>(rng() % 10);
    p.TextAreaWidth = static_cast<int>(rng() % 600);
    p.Measurer = measurer;
  }
  return p;
}

// Every soft row must be non-empty, not read as a line end, not end on a
// lead byte (unless single-byte), and fit the column.
void ExpectSoundRows(const std::string& line, const Rows& rows, const TWrapParams& p) {
  std::string joined;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    joined += rows[i];
    if (i + 1 == rows.size()) break;
    ASSERT_FALSE(rows[i].empty()) << i;
    ASSERT_FALSE(RowEndsLine(rows[i])) << i;
    if (!p.SingleByteMode) {
      ASSERT_NE(ByteTypeAt(joined, static_cast<int>(joined.size()), false), btLead) << i;
    }
  }
  ASSERT_EQ(joined, line);
}

TEST(RowCut, FastCutMatchesLiteralReference) {
  std::mt19937 rng(4242);
  TFixedTextMeasurer measurer(3);
  int compared = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string line = RandomLine(rng, round % 2 == 0);
    const TWrapParams p = RandomParams(rng, &measurer);
    SCOPED_TRACE(::testing::PrintToString(line) + " column " + std::to_string(p.Column));
    const Rows fast = Cut(line, p);
    ExpectSoundRows(line, fast, p);
    Rows reference;
    if (testing::ReferenceCut(line, p, reference)) {
      ASSERT_EQ(fast, reference);
      ++compared;
    }
  }
  EXPECT_GT(compared, 14000);  // the mended cases are the exception
}

TEST(RowCut, RowLengthsAgreeWithRows) {
  std::mt19937 rng(11);
  for (int round = 0; round < 500; ++round) {
    const std::string line = RandomLine(rng, true);
    const TWrapParams p = RandomParams(rng, nullptr);
    std::vector<int> lengths;
    CutRowLengths(line, p, lengths);
    const Rows rows = Cut(line, p);
    ASSERT_EQ(lengths.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
      ASSERT_EQ(static_cast<int>(rows[i].size()), lengths[i]);
  }
}

}  // namespace
}  // namespace notavo
