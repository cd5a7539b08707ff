// Cutting flat text into rows (SetText, InsertText, streams).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "textstore/row_cutter.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using Pieces = std::vector<std::string>;

std::vector<std::string> Rows(const TZelStrings& s) {
  std::vector<std::string> rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s.Get(i));
  return rows;
}

TEST(FlatText, CutTable) {
  const std::pair<std::string, Pieces> cases[] = {
      {"", {""}},
      {"a\r\nb", {"a\r\n", "b"}},
      {"a\r\n", {"a\r\n"}},
      {"a\nb", {"a\nb"}},        // lone LF is an ordinary byte
      {"a\rbc", {"a\rb", "c"}},  // lone CR takes the byte after it
      {"a\0bc"s, {"a\0b"s, "c"}},
      {"abc\r", {"abc\r"}},  // stop byte at the very end: clamped
      {"abc\0"s, {"abc\0"s}},
      {"\r\n\r\n", {"\r\n", "\r\n"}},
      {"x\0\0"s, {"x\0\0"s}},
  };
  for (const auto& [text, pieces] : cases) {
    SCOPED_TRACE(::testing::PrintToString(text));
    std::vector<std::string> cut;
    for (const auto& row : CutFlatText(text).rows) cut.emplace_back(row.view());
    EXPECT_EQ(cut, pieces);
    TZelStrings s;
    s.Add("old");
    s.SetText(text);
    EXPECT_EQ(Rows(s), pieces);
    EXPECT_EQ(s.Capacity(), s.Count());
  }
}

TEST(FlatText, GetTextDropsOnlyTheLastTwoBytes) {
  TZelStrings s;
  s.Add("a\r\n");
  s.Add("b\0\0"s);
  EXPECT_EQ(s.GetText(), "a\r\nb");
  TZelStrings one;
  one.Add("x");
  EXPECT_EQ(one.GetText(), "");
}

TEST(FlatText, InsertTextReturnsLastInsertedRow) {
  TZelStrings s;
  for (const std::string& r : {"0\r\n"s, "1\r\n"s, "2\r\n"s, "3\r\n"s, "\0\0"s}) s.Add(r);
  int index = 3;
  s.InsertText(index, "x\r\ny");
  EXPECT_EQ(index, 4);
  EXPECT_EQ(s.Get(3), "x\r\n");
  EXPECT_EQ(s.Get(4), "y");
  EXPECT_EQ(s.Get(5), "3\r\n");
  EXPECT_EQ(s.Capacity(), s.Count());
  int bad = 99;
  EXPECT_THROW(s.InsertText(bad, "z"), EZelStringsError);
}

TEST(FlatText, StreamsRoundTrip) {
  TZelStrings s;
  std::istringstream in("a\r\nb\r\nc");
  s.LoadFromStream(in);
  EXPECT_EQ(Rows(s), (Pieces{"a\r\n", "b\r\n", "c"}));
  std::ostringstream out;
  s.Add("\0\0"s);  // the caller supplies the mark; SaveToStream writes GetText
  s.SaveToStream(out);
  EXPECT_EQ(out.str(), "a\r\nb\r\nc");
  std::istringstream empty("");
  s.LoadFromStream(empty);
  EXPECT_EQ(s.Count(), 0);
}

}  // namespace
}  // namespace notavo
