// The recent-files list: eight entries, newest first, one entry per file
// whatever the letter case, without confusing double-byte characters whose
// trail bytes look like letters of different case.
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace notavo {
namespace {

TEST(RecentFiles, NamesCompareIgnoringLetterCaseOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\Notes.TXT", "c:\\notes.txt", true},
      {"C:\\notes.txt", "C:\\notes.txt ", false},
      {"C:\\\x83\x41.txt", "C:\\\x83\x61.txt", false},  // ア / ャ: trail 'A' / 'a'
      {"C:\\\x95\x5C.txt", "C:\\\x95\x7C.txt", false},  // 表 / trail '|'
      {"C:\\\x82\x60.txt", "C:\\\x82\x81.txt", true},   // Ａ / ａ
      {"C:\\\x82\x79", "C:\\\x82\x9A", true},           // Ｚ / ｚ
      {"C:\\\x82\x60", "C:\\\x82\x9B", false},          // Ａ / not a letter
      {"[a]", "[A]", true},
      {"@", "`", false},  // next to the letters, not letters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameFileNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(SameFileNameIgnoringCase(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

TEST(RecentFiles, EightNewestFirstAndAReopenMovesUp) {
  const auto name = [](int i) { return std::string(1, 'f').append(std::to_string(i)); };
  TRecentFiles recent;
  for (int i = 1; i <= 9; ++i) recent.Add(name(i));
  std::vector<std::string> expected;
  for (int i = 9; i >= 2; --i) expected.push_back(name(i));
  EXPECT_EQ(recent.Items(), expected);

  recent.Add("F4");  // the same file: moves up under its new spelling
  EXPECT_EQ(recent.Items(),
            (std::vector<std::string>{"F4", "f9", "f8", "f7", "f6", "f5", "f3", "f2"}));
  recent.RemoveAt(1);
  recent.RemoveAt(99);  // nothing there: nothing happens
  EXPECT_EQ(recent.Items(), (std::vector<std::string>{"F4", "f8", "f7", "f6", "f5", "f3", "f2"}));
}

}  // namespace
}  // namespace notavo
