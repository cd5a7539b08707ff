// The store as a list: index checks, growth, insertion and deletion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textstore/zel_strings.h"

namespace notavo {
namespace {

std::vector<std::string> Rows(const TZelStrings& s) {
  std::vector<std::string> rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s.Get(i));
  return rows;
}

TEST(ZelStringsList, IndexErrorCarriesItsMessage) {
  TZelStrings s;
  try {
    s.Get(0);
    FAIL() << "no exception";
  } catch (const EZelStringsError& e) {
    // "インデックスがリストの範囲を超えています" in code page 932.
    EXPECT_STREQ(
        e.what(),
        "\x83\x43\x83\x93\x83\x66\x83\x62\x83\x4e\x83\x58\x82\xaa\x83\x8a\x83\x58\x83\x67"
        "\x82\xcc\x94\xcd\x88\xcd\x82\xf0\x92\xb4\x82\xa6\x82\xc4\x82\xa2\x82\xdc\x82\xb7");
  }
}

TEST(ZelStringsList, RangeChecksLeaveTheStoreUnchanged) {
  TZelStrings s;
  s.Add("a");
  s.Add("b");
  EXPECT_THROW(s.Get(-1), EZelStringsError);
  EXPECT_THROW(s.Get(2), EZelStringsError);
  EXPECT_THROW(s.Put(2, "x"), EZelStringsError);
  EXPECT_THROW(s.Delete(2), EZelStringsError);
  EXPECT_THROW(s.Delete(-1), EZelStringsError);
  EXPECT_THROW(s.Insert(3, "x"), EZelStringsError);
  EXPECT_THROW(s.Insert(-1, "x"), EZelStringsError);
  EXPECT_THROW(s.SetCount(-1), EZelStringsError);
  EXPECT_THROW(s.SetCount(TZelStrings::kMaxCapacity + 1), EZelStringsError);
  EXPECT_THROW(s.SetCapacity(1), EZelStringsError);
  EXPECT_THROW(s.SetCapacity(TZelStrings::kMaxCapacity + 1), EZelStringsError);
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"a", "b"}));
}

TEST(ZelStringsList, InsertAtCountAppends) {
  TZelStrings s;
  s.Add("a");
  s.Insert(1, "b");
  s.Insert(0, "z");
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"z", "a", "b"}));
}

TEST(ZelStringsList, AddReturnsOldCountAndDeleteShiftsDown) {
  TZelStrings s;
  EXPECT_EQ(s.Add("a"), 0);
  EXPECT_EQ(s.Add("b"), 1);
  EXPECT_EQ(s.Add("c"), 2);
  s.Delete(1);
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"a", "c"}));
  s.Put(1, std::string("x\0y", 3));
  EXPECT_EQ(s.Get(1), std::string("x\0y", 3));
}

TEST(ZelStringsList, GrowthRuleStepsByAtLeast32AndAt128th) {
  TZelStrings s;
  s.Add("x");
  EXPECT_EQ(s.Capacity(), 32);
  for (int i = 1; i < 32; ++i) s.Add("x");
  EXPECT_EQ(s.Capacity(), 32);
  s.Add("x");
  EXPECT_EQ(s.Capacity(), 64);
  s.SetCapacity(10000);
  s.SetCount(10000);
  s.Add("y");
  EXPECT_EQ(s.Capacity(), 10000 + 10000 / 128);
}

TEST(ZelStringsList, SetCountGrowsWithEmptyRowsAndShrinks) {
  TZelStrings s;
  s.Add("a");
  s.SetCount(3);
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"a", "", ""}));
  EXPECT_GE(s.Capacity(), 3);
  s.SetCount(1);
  EXPECT_EQ(Rows(s), (std::vector<std::string>{"a"}));
}

TEST(ZelStringsList, ClearFreesSlots) {
  TZelStrings s;
  s.Add("a");
  s.Clear();
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Capacity(), 0);
  s.Clear();
  EXPECT_EQ(s.GetText(), "");
}

TEST(ZelStringsList, AssignAndAddStringsCopyInOrder) {
  TZelStrings a;
  a.Add("1");
  a.Add("2");
  TZelStrings b;
  b.Add("old");
  b.Assign(a);
  EXPECT_EQ(Rows(b), (std::vector<std::string>{"1", "2"}));
  b.AddStrings(b);  // adding itself doubles, never loops
  EXPECT_EQ(Rows(b), (std::vector<std::string>{"1", "2", "1", "2"}));
  b.Assign(std::vector<std::string>{"z"});
  EXPECT_EQ(Rows(b), (std::vector<std::string>{"z"}));
}

TEST(ZelStringsList, IndexOfMatchesWholeRowsOnly) {
  TZelStrings s;
  s.SetText("abc\r\nAbc\r\nabc");
  EXPECT_EQ(s.IndexOf("abc\r\n"), 0);
  EXPECT_EQ(s.IndexOf("Abc\r\n"), 1);
  EXPECT_EQ(s.IndexOf("abc"), 2);
  EXPECT_EQ(s.IndexOf("ABC"), -1);
  TZelStrings t;
  t.SetText("abc\r\n");
  EXPECT_EQ(t.IndexOf("abc"), -1);
}

}  // namespace
}  // namespace notavo

namespace notavo {
namespace {

TEST(RowLimits, RowsLongerThanTheOffsetRangeAreRefused) {
  // Offsets within a row are 32-bit signed: a longer row is an error, never
  // a silently shortened one.
  const char byte = 'x';
  EXPECT_THROW(TRow::View(&byte, TRow::kMaxSize + 1), std::length_error);
  EXPECT_EQ(TRow::View(&byte, 1).size(), 1u);
}

}  // namespace
}  // namespace notavo
