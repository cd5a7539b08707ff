// Randomized files rich in CR, LF, NUL and lead bytes: whatever the bytes,
// the rows keep their invariants, GetText matches an independent conversion,
// saving writes GetText, and chunk boundaries never change the rows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "test_files.h"
#include "textstore/line_break.h"
#include "textstore/row_cutter.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

std::string RandomBytes(std::mt19937& rng) {
  static const char kAlphabet[] = {'a', 'b', ' ', '\r', '\n', '\0', '\x93', '\xFA', '\x81', '\t'};
  std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 1);
  std::uniform_int_distribution<int> lengthOf(0, 60);
  std::string s;
  const int len = lengthOf(rng) * (rng() % 8 == 0 ? 60 : 1);  // some pass 1024 bytes
  // Sometimes a long run of plain bytes first, so the first break is far away.
  if (rng() % 5 == 0) s.append(1000 + rng() % 100, 'x');
  for (int i = 0; i < len; ++i) s.push_back(kAlphabet[pick(rng)]);
  return s;
}

TLineBreakStyle ReferenceStyle(const std::string& bytes) {
  if (bytes.empty()) return lbEmpty;
  const auto at = bytes.find_first_of("\r\n");
  if (at == std::string::npos) return lbCr;
  if (bytes[at] == '\n') return lbLf;
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? lbCrLf : lbCr;
}

// What the document's text must be after loading, by plain conversion.
std::string ReferenceText(const std::string& bytes, TLineBreakStyle style) {
  if (style == lbCrLf || style == lbEmpty) return bytes;
  const char breakByte = style == lbLf ? '\n' : '\r';
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

void ExpectRowInvariants(const TZelStrings& s) {
  ASSERT_GE(s.Count(), 1);
  for (int i = 0; i < s.Count(); ++i) {
    const std::string_view row = s.Get(i);
    const bool endsWithMark = row.size() >= 2 && row.compare(row.size() - 2, 2, kEofMark) == 0;
    if (i + 1 == s.Count()) {
      ASSERT_TRUE(endsWithMark) << "last row " << i;
    } else {
      ASSERT_FALSE(endsWithMark) << "row " << i;
      ASSERT_TRUE(RowEndsLine(row)) << "row " << i;
    }
  }
}

TEST(FileRandom, LoadSaveMatchesReference) {
  testing::ScratchFolder folder;
  std::mt19937 rng(20261207);
  const std::string in = folder.File("in.txt");
  const std::string out = folder.File("out.txt");
  for (int round = 0; round < 1500; ++round) {
    const std::string bytes = RandomBytes(rng);
    SCOPED_TRACE(::testing::PrintToString(bytes));
    testing::WriteBytes(in, bytes);
    const TLineBreakStyle style = DetectLineBreak(in);
    ASSERT_EQ(style, ReferenceStyle(bytes));
    TZelStrings s;
    s.LoadFromFile(in);
    ExpectRowInvariants(s);
    const std::string text = s.GetText();
    ASSERT_EQ(text, ReferenceText(bytes, style));
    s.SaveToFile(out);
    ASSERT_EQ(testing::ReadBytes(out), text);
    // A second round trip of the saved file is stable: CR LF now.
    TZelStrings again;
    again.LoadFromFile(out);
    ASSERT_EQ(again.GetText(), text);
  }
}

std::vector<std::string> Strings(const TRowList& list) {
  std::vector<std::string> rows;
  for (const auto& row : list.rows) rows.emplace_back(row.view());
  return rows;
}

// Streams `bytes` through an LF or CR cutter in random small chunks (or in
// one piece when rng is null).
std::vector<std::string> CutInChunks(const std::string& bytes, std::mt19937* rng, char breakByte) {
  TRowList out;
  BreakByteRowCutter cutter(out, breakByte);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t n = rng ? 1 + (*rng)() % 7 : bytes.size();
    cutter.Feed(std::string_view(bytes).substr(pos, n));
    pos += n;
  }
  cutter.Finish();
  return Strings(out);
}

TEST(FileRandom, ChunkBoundariesNeverChangeRows) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = RandomBytes(rng);
    SCOPED_TRACE(::testing::PrintToString(bytes));
    ASSERT_EQ(CutInChunks(bytes, &rng, '\n'), CutInChunks(bytes, nullptr, '\n'));
    ASSERT_EQ(CutInChunks(bytes, &rng, '\r'), CutInChunks(bytes, nullptr, '\r'));
  }
}

std::vector<std::string> CrLfRows(const std::string& bytes, std::size_t splitNear) {
  TRowBlock block = std::make_unique_for_overwrite<char[]>(bytes.size() + 2);
  std::copy(bytes.begin(), bytes.end(), block.get());
  const TRowList list = CutCrLfBlock(std::move(block), bytes.size(), splitNear);
  std::vector<std::string> rows;
  for (const TRow& row : list.rows) rows.emplace_back(row.view());
  return rows;
}

// The CR LF reader cuts a large file in two halves at once: whatever the
// split point (every one, next to CR, LF, NUL and lead bytes alike), the rows
// are those of one cut from the start.
TEST(FileRandom, SplitCutsGiveTheRowsOfOneCut) {
  std::mt19937 rng(11);
  for (int round = 0; round < 400; ++round) {
    std::string bytes = RandomBytes(rng);
    if (bytes.size() > 300) bytes.resize(300);
    SCOPED_TRACE(::testing::PrintToString(bytes));
    const std::vector<std::string> whole = CrLfRows(bytes, 0);
    for (std::size_t near = 1; near <= bytes.size(); ++near) {
      ASSERT_EQ(CrLfRows(bytes, near), whole) << "split near " << near;
    }
  }
}

TEST(FileRandom, RowBlocksSurviveTinyAndHugeRows) {
  // Rows larger than a block, and many tiny rows, all come out intact.
  const std::string huge(TRowBuilder::kBlockSize + 12345, 'h');
  std::string bytes = "a\n" + huge + "\nb\n";
  for (int i = 0; i < 100000; ++i) bytes += "xy\n";
  const auto rows = CutInChunks(bytes, nullptr, '\n');
  ASSERT_EQ(rows.size(), 100004u);
  EXPECT_EQ(rows[0], "a\r\n");
  EXPECT_EQ(rows[1], huge + "\r\n");
  EXPECT_EQ(rows[2], "b\r\n");
  EXPECT_EQ(rows[100002], "xy\r\n");
  EXPECT_EQ(rows[100003], std::string("\0\0", 2));
}

TEST(FileRandom, FlatTextPiecesConcatenateToTheText) {
  std::mt19937 rng(99);
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = RandomBytes(rng);
    const auto pieces = Strings(CutFlatText(bytes));
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      joined += pieces[i];
      // Every piece but the last ends right after its stop byte's follower.
      if (i + 1 < pieces.size()) {
        ASSERT_TRUE(RowEndsLine(pieces[i]));
      }
    }
    ASSERT_EQ(joined, bytes);
  }
}

}  // namespace
}  // namespace notavo
