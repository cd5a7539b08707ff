// Typing at the end of a 4 MB line without a line break, in the running
// notavo.exe (its own settings: wrapped at column 1000, links coloured),
// against typing at the end of the same kind of line three rows long.
// Each key is one WM_CHAR sent from this process, so it returns once the
// editor has handled it and painted; a RedrawWindow(RDW_UPDATENOW) after it
// takes in any paint the key left pending. Prints both medians; the bound is
// generous, so that only a key whose cost follows the logical line (a link
// pass from the line's start, ~100 ms here) rather than the rows in view
// fails it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/notavo_process.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using testing::NotavoProcess;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;

const std::string kLinkStart = "http://example.com/ ";  // 20 columns
// 25 columns: wrapped at 1000, every row starts 5 bytes into a unit, never
// inside the double-byte word.
const std::string kUnit = "lorem ipsum dolor \x93\xFA\x96\x7B\x8C\xEA ";  // ... 日本語
constexpr int kUnitsInLastRow = 8;  // the last row: 220 columns

// A link at the start and ordinary words after it, `units` of them.
std::string OneLine(int units) {
  std::string line = kLinkStart;
  line.reserve(kLinkStart.size() + kUnit.size() * static_cast<std::size_t>(units));
  for (int i = 0; i < units; ++i) line += kUnit;
  return line;
}

// One notavo.exe on one file, the caret at the end of the text.
class TypingTarget {
 public:
  // `exe`: a copy of notavo.exe with its settings beside it.
  TypingTarget(const std::wstring& path, const std::wstring& exe) : FNotavo(path, exe) {
    const std::optional<WindowInfo> main = FNotavo.WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo.WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
    if (FEditor == nullptr) return;
    const UINT setCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
    ::SendMessageA(FEditor, setCaret, 0, MAKELONG(0xFFFF, Rows() - 1));
    FRow = CaretRow();
    FCol = CaretCol();
    Sync();
  }

  HWND Editor() const { return FEditor; }
  int Row() const { return FRow; }
  int Col() const { return FCol; }
  int CaretRow() const { return HIWORD(Caret()); }
  int CaretCol() const { return LOWORD(Caret()); }
  int Rows() const { return static_cast<int>(::SendMessageA(FEditor, EM_GETLINECOUNT, 0, 0)); }

  DWORD Caret() const {
    static const UINT getCaret = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
    return static_cast<DWORD>(::SendMessageA(FEditor, getCaret, 0, 0));
  }

  // Paints whatever is still pending in the program's windows.
  void Sync() const { ::RedrawWindow(FMain, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

  // One typed character, in milliseconds.
  double Type(char c) const {
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ::SendMessageA(FEditor, WM_CHAR, static_cast<unsigned char>(c), 1);
    Sync();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  NotavoProcess FNotavo;
  HWND FMain = nullptr;
  HWND FEditor = nullptr;
  int FRow = -1, FCol = -1;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(LongLineTyping, AKeyAtTheEndOfA4MegabyteLineCostsWhatItsRowCosts) {
  TempFolder folder;
  // 40 units a row: 4,201 rows of which the last has 220 columns, against 3
  // rows ending the same way. (Both have wider rows above, so typing does
  // not widen the document, which changes the horizontal scroll bar on
  // every key.)
  const std::wstring longPath = folder / L"long.txt", shortPath = folder / L"short.txt";
  const std::string longLine = OneLine(40 * 4200 + kUnitsInLastRow);
  WriteWholeFile(longPath, longLine);
  WriteWholeFile(shortPath, OneLine(40 * 2 + kUnitsInLastRow));

  // The long line's program last, so that it is the one in front with the
  // focus and a caret, as for someone typing into it; the window behind
  // skips the caret's work (~1 ms a key under Wine).
  const std::wstring exe =
      testing::NotavoCopyWithSettings(folder.Path(), testing::kWrapAt1000Settings);
  const TypingTarget small(shortPath, exe);
  const TypingTarget large(longPath, exe);
  ASSERT_NE(large.Editor(), nullptr);
  ASSERT_NE(small.Editor(), nullptr);
  ASSERT_GT(large.Row(), 4000) << "the long line is not wrapped";
  ASSERT_GT(large.Col(), 0);
  ASSERT_EQ(small.Col(), large.Col());

  // Alternating, so that anything else the machine does hits both alike;
  // the first keys warm the caches.
  constexpr int kKeys = 200, kWarm = 5;
  std::vector<double> largeTimes, smallTimes;
  for (int key = 0; key < kKeys + kWarm; ++key) {
    const double l = large.Type('a');
    const double s = small.Type('a');
    if (key < kWarm) continue;
    largeTimes.push_back(l);
    smallTimes.push_back(s);
  }
  // Every key landed at the end of the last row.
  EXPECT_EQ(large.CaretRow(), large.Row());
  EXPECT_EQ(large.CaretCol(), large.Col() + kKeys + kWarm);
  EXPECT_EQ(small.CaretCol(), small.Col() + kKeys + kWarm);
  const double largeMedian = Median(largeTimes), smallMedian = Median(smallTimes);
  std::printf(
      "typing: WM_CHAR + RDW_UPDATENOW, median (fastest) of %zu: %.3f (%.3f) ms at row %d col %d "
      "of a %zu-byte line, %.3f (%.3f) ms at row %d col %d of a %d-row one\n",
      largeTimes.size(), largeMedian, *std::min_element(largeTimes.begin(), largeTimes.end()),
      large.Row(), large.Col(), longLine.size(), smallMedian,
      *std::min_element(smallTimes.begin(), smallTimes.end()), small.Row(), small.Col(),
      small.Rows());
  // Walking the line from its start costs ~100 ms a key; the rows in view,
  // a few ms at most even on a busy machine.
  EXPECT_LT(largeMedian, 50.0);
}

}  // namespace
}  // namespace notavo
