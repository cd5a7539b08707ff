// How long a full repaint of the editor's real window takes at the end of a
// document of 120,000 rows against one of 100 rows of the same kind: the
// work of a repaint has to depend on the rows in view, not on the rows in
// the document. Prints both medians; the bound is generous so that a busy
// machine cannot make it fail, while a repaint that walks the document
// (hundreds of times slower here) still does.
#include "app/controls/zel_edit_window.h"
// The editor's window first: its portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/editor_settings.h"
#include "platform/win32/cp932.h"
#include "tests/wine/test_support.h"
#include "tests/wine/window_helpers.h"

namespace notavo {
namespace {

using testing::TempFolder;
using testing::WriteWholeFile;
using win32::NarrowCp932;
using win32::TZelEditWindow;

// Rows of Japanese text, tabs, full-width spaces, links and quotes, the
// same for any length of document.
std::string MixedDocument(int rows) {
  std::string text;
  text.reserve(static_cast<std::size_t>(rows) * 48);
  for (int i = 0; i < rows; ++i) {
    if (i % 11 == 0) text += "> ";
    text += "\x8D\x73 " + std::to_string(i + 1);  // 行 n
    if (i % 3 == 0)
      text +=
          "\t\x93\xFA\x96\x7B\x8C\xEA\x81\x40"
          "abc";  // 日本語　abc
    if (i % 7 == 0) text += " http://example.com/" + std::to_string(i);
    text += "\r\n";
  }
  return text;
}

HWND Parent() {
  static const HWND parent = testing::ShowParentWindow(L"NotavoPaintTimingParent", L"paint timing");
  return parent;
}

using testing::PumpMessages;

// One editor window with the program's settings on a document of `rows`
// rows, scrolled to its end.
class TimedEditor {
 public:
  TimedEditor(const TempFolder& folder, const wchar_t* name, int rows) {
    ApplyProgramSettings(FEditor.Edit());
    FEditor.Create(Parent(), RECT{0, 0, 860, 640});
    FEditor.Edit().Redesign();
    const std::wstring path = folder / name;
    WriteWholeFile(path, MixedDocument(rows));
    FLoaded = FEditor.Edit().LoadFile(NarrowCp932(path));
    ::SendMessageA(FEditor.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    ::UpdateWindow(FEditor.Handle());
    PumpMessages();
  }

  bool Loaded() const { return FLoaded; }
  HWND Handle() const { return FEditor.Handle(); }
  int TopRow() const {
    return static_cast<int>(::SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  }

  // One repaint of the whole window through WM_PAINT, in milliseconds.
  double Repaint() const {
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  TZelEditWindow FEditor;
  bool FLoaded = false;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(PaintTiming, RepaintAtTheEndOfALargeDocumentCostsAsMuchAsInASmallOne) {
  TempFolder folder;
  constexpr int kLargeRows = 120000, kSmallRows = 100;
  const TimedEditor large(folder, L"large.txt", kLargeRows);
  const TimedEditor small(folder, L"small.txt", kSmallRows);
  ASSERT_TRUE(large.Loaded());
  ASSERT_TRUE(small.Loaded());
  ASSERT_GT(large.TopRow(), kLargeRows - 100);
  ASSERT_GT(small.TopRow(), 0);

  // Alternating, so that anything else the machine does hits both alike;
  // the first rounds warm the font and glyph caches.
  std::vector<double> largeTimes, smallTimes;
  for (int round = 0; round < 65; ++round) {
    const double l = large.Repaint();
    const double s = small.Repaint();
    if (round < 5) continue;
    largeTimes.push_back(l);
    smallTimes.push_back(s);
  }
  const double largeMedian = Median(largeTimes), smallMedian = Median(smallTimes);
  std::printf(
      "paint: full repaint, median of %zu: %.3f ms at row %d of %d rows, %.3f ms at row %d of %d "
      "rows, ratio %.2f\n",
      largeTimes.size(), largeMedian, large.TopRow(), kLargeRows, smallMedian, small.TopRow(),
      kSmallRows, largeMedian / smallMedian);
  // A cost that grew with the document would be hundreds of times larger;
  // the rows' own content (six-digit row numbers against two) and a busy
  // machine account for the rest, so the bound is generous.
  EXPECT_LT(largeMedian, 4.0 * smallMedian);
}

}  // namespace
}  // namespace notavo
