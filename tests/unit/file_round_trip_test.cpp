// Load → rows → GetText → save → bytes, for each line-break style and for
// the awkward files: empty, no break, lone CR at the end, NUL bytes, breaks
// found only past the first kilobyte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_io.h"
#include "test_files.h"
#include "textstore/line_break.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using Rows = std::vector<std::string>;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

Rows RowsOf(const TZelStrings& s) {
  Rows rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s.Get(i));
  return rows;
}

struct RoundTrip {
  const char* name;
  std::string file;
  TLineBreakStyle style;
  Rows rows;
  std::string saved;  // also what GetText gives
};

const std::string kLongLine(20000, 'q');
const std::string kPad1023(1023, 'p');

std::vector<RoundTrip> Cases() {
  return {
      {"empty", "", lbEmpty, {"\0\0"s}, ""},
      {"no break", "abc", lbCr, {"abc\0\0"s}, "abc"},
      {"crlf one line", "abc\r\n", lbCrLf, {"abc\r\n", "\0\0"s}, "abc\r\n"},
      {"crlf two lines", "a\r\nb", lbCrLf, {"a\r\n", "b\0\0"s}, "a\r\nb"},
      {"lf", "a\nb\n", lbLf, {"a\r\n", "b\r\n", "\0\0"s}, "a\r\nb\r\n"},
      {"lf last line open", "a\nb", lbLf, {"a\r\n", "b\0\0"s}, "a\r\nb"},
      {"cr", "a\rb", lbCr, {"a\r\n", "b\0\0"s}, "a\r\nb"},
      {"cr trailing", "a\r", lbCr, {"a\r\n", "\0\0"s}, "a\r\n"},
      {"crlf lone cr mid",
       "a\r\nb\rc\r\nd",
       lbCrLf,
       {"a\r\n", "b\rc", "\r\n", "d\0\0"s},
       "a\r\nb\rc\r\nd"},
      {"crlf nul mid", "a\r\nb\0cd"s, lbCrLf, {"a\r\n", "b\0c"s, "d\0\0"s}, "a\r\nb\0cd"s},
      {"crlf double nul stays",
       "a\r\nb\0\0c"s,
       lbCrLf,
       {"a\r\n", "b\0\0c"s, "\0\0"s},
       "a\r\nb\0\0c"s},
      {"crlf lone cr last byte", "x\r\ndef\r", lbCrLf, {"x\r\n", "def\r\0\0"s}, "x\r\ndef\r"},
      {"crlf cr lf cr at end", "x\r\n\r", lbCrLf, {"x\r\n", "\r\0\0"s}, "x\r\n\r"},
      {"crlf nul last byte", "x\r\nab\0"s, lbCrLf, {"x\r\n", "ab\0\0\0"s}, "x\r\nab\0"s},
      {"lf nul dropped", "a\0b\nc\0"s, lbLf, {"ab\r\n", "c\0\0"s}, "ab\r\nc"},
      {"cr nul dropped", "\0a\rb"s, lbCr, {"a\r\n", "b\0\0"s}, "a\r\nb"},
      {"only nuls", "\0\0\0"s, lbCr, {"\0\0"s}, ""},
      {"cr then cr lf", "abc\r\r\nx", lbCr, {"abc\r\n", "\r\n", "\nx\0\0"s}, "abc\r\n\r\n\nx"},
      {"lf file cr in line",
       "x\na\rb\nc\r",
       lbLf,
       {"x\r\n", "a\rb\r\n", "c\r\0\0"s},
       "x\r\na\rb\r\nc\r"},
      {"cr file lf in line", "a\nb\rc", lbLf, {"a\r\n", "b\rc\0\0"s}, "a\r\nb\rc"},
      {"lf break past 1024",
       kLongLine + "\nb",
       lbLf,
       {kLongLine + "\r\n", "b\0\0"s},
       kLongLine + "\r\nb"},
      {"crlf break past 1024",
       kLongLine + "\r\nb",
       lbCrLf,
       {kLongLine + "\r\n", "b\0\0"s},
       kLongLine + "\r\nb"},
      {"crlf behind nul", "ab\0cd\r\ne"s, lbCrLf, {"ab\0c"s, "d\r\n", "e\0\0"s}, "ab\0cd\r\ne"s},
      {"lf behind nul", "ab\0cd\ne"s, lbLf, {"abcd\r\n", "e\0\0"s}, "abcd\r\ne"},
      {"cr is byte 1024",
       kPad1023 + "\r\nz",
       lbCrLf,
       {kPad1023 + "\r\n", "z\0\0"s},
       kPad1023 + "\r\nz"},
      {"lf long later line",
       "a\n" + kLongLine + "\n",
       lbLf,
       {"a\r\n", kLongLine + "\r\n", "\0\0"s},
       "a\r\n" + kLongLine + "\r\n"},
      {"shift-jis",
       "\x93\xFA\x96\x7B\r\n\x81\x40",
       lbCrLf,
       {"\x93\xFA\x96\x7B\r\n", "\x81\x40\0\0"s},
       "\x93\xFA\x96\x7B\r\n\x81\x40"},
      {"lead byte at end", "ab\x93", lbCr, {"ab\x93\0\0"s}, "ab\x93"},
  };
}

TEST(FileRoundTrip, Table) {
  ScratchFolder folder;
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::string in = folder.File("in.txt");
    const std::string out = folder.File("out.txt");
    WriteBytes(in, c.file);
    EXPECT_EQ(DetectLineBreak(in), c.style);
    TZelStrings s;
    s.LoadFromFile(in);
    EXPECT_EQ(RowsOf(s), c.rows);
    EXPECT_EQ(s.Capacity(), s.Count());
    EXPECT_EQ(s.GetText(), c.saved);
    s.SaveToFile(out);
    EXPECT_EQ(ReadBytes(out), c.saved);
  }
}

TEST(FileRoundTrip, MissingFileLeavesStoreUntouched) {
  ScratchFolder folder;
  TZelStrings s;
  s.SetText("keep\r\nme");
  EXPECT_THROW(s.LoadFromFile(folder.File("nope.txt")), EFileError);
  EXPECT_THROW(s.LoadFromFile(folder.path()), EFileError);  // a folder, not a file
  EXPECT_EQ(RowsOf(s), (Rows{"keep\r\n", "me"}));
}

TEST(FileRoundTrip, SavingAnEmptyStoreRaisesAndKeepsTheOldFile) {
  ScratchFolder folder;
  const std::string target = folder.File("t.txt");
  WriteBytes(target, "old");
  TZelStrings s;
  EXPECT_THROW(s.SaveToFile(target), EZelStringsError);
  EXPECT_EQ(ReadBytes(target), "old");
}

TEST(FileRoundTrip, SoftRowsJoinWhenSaved) {
  ScratchFolder folder;
  TZelStrings s;
  for (const std::string& r : {"ab"s, "cd\r\n"s, "ef"s, "\0\0"s}) s.Add(r);
  s.SaveToFile(folder.File("w.txt"));
  EXPECT_EQ(ReadBytes(folder.File("w.txt")), "abcd\r\nef");
}

}  // namespace
}  // namespace notavo
