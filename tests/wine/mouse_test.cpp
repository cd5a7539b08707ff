// The mouse in the running notavo.exe, with real input through the X server
// (xdotool): clicks place the caret, Shift+click and dragging select, a
// press in the gutter selects a row, dragging selected text moves it and
// Ctrl+dragging copies it, the wheel scrolls during a drag selection. What
// happened is read back from another process: the caret position message,
// EM_GETSEL and the text. Points come from the editor's own caret
// rectangles. With NOTAVO_SCREENSHOTS set, a drag in progress is left there
// as a screenshot.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/win32/cp932.h"
#include "tests/wine/real_input.h"
#include "tests/wine/running_editor.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using testing::EditorText;
using testing::Pack;
using testing::PointAt;
using testing::RunningEditor;
using testing::SaveScreenshot;
using testing::TempFolder;
using testing::WaitFor;
using testing::Xdotool;

// "mousemove" to client point (x, y) of `window`, in the coordinates of the
// Wine desktop's X window, for chaining into one xdotool run.
std::wstring MoveTo(HWND window, POINT at) {
  ::ClientToScreen(window, &at);
  std::wstring arguments = L"mousemove ";
  const auto desktop =
      reinterpret_cast<UINT_PTR>(::GetPropW(::GetDesktopWindow(), L"__wine_x11_whole_window"));
  if (desktop != 0) arguments += L"--window " + std::to_wstring(desktop) + L" ";
  return arguments + std::to_wstring(at.x) + L" " + std::to_wstring(at.y);
}

// The editor of a running notavo.exe with the geometry of its text: where
// a byte of a row is on the screen.
class MouseSession {
 public:
  MouseSession(const TempFolder& folder, const std::string& text) : FNotavo(folder, text) {
    if (!FNotavo.Ready()) return;
    const auto origin = FNotavo.CaretAt(0, 0);
    const auto below = FNotavo.CaretAt(0, 1);
    const auto right = FNotavo.CaretAt(1, 0);
    if (!origin || !below || !right) return;
    FTextLeft = origin->left;
    FTop = origin->top;
    FCharHeight = origin->bottom - origin->top;
    FPitch = below->top - origin->top;
    FByteWidth = right->left - origin->left;
    FGetCaret = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
    FNotavo.CaretAt(0, 0);
  }
  bool Ready() const { return FPitch > 0 && FByteWidth > 0; }
  HWND Editor() const { return FNotavo.Editor(); }
  RunningEditor& Notavo() { return FNotavo; }
  int ByteWidth() const { return FByteWidth; }

  // A quarter into byte `col` of `row` (tab-free rows), half a row down.
  POINT At(int col, int row) const {
    return {FTextLeft + col * FByteWidth + FByteWidth / 4, RowMiddle(row)};
  }
  POINT Gutter(int row) const { return {FTextLeft - 10, RowMiddle(row)}; }
  int RowMiddle(int row) const { return FTop + row * FPitch + FCharHeight / 2; }

  // The caret as (col, row), read through the registered message.
  std::pair<int, int> Caret() const {
    const auto packed = static_cast<DWORD>(FNotavo.Send(FGetCaret));
    return {LOWORD(packed), HIWORD(packed)};
  }
  // Anchor and selection end, each (col, row).
  std::pair<std::pair<int, int>, std::pair<int, int>> Selection() const {
    DWORD anchor = 0, end = 0;
    FNotavo.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end));
    return {{LOWORD(anchor), HIWORD(anchor)}, {LOWORD(end), HIWORD(end)}};
  }
  // Real input, then the time xdotool's own pauses take and the time for
  // the editor to see it (and for no press to count as the second of a
  // double click).
  bool Input(const std::wstring& commands, std::chrono::milliseconds pauses = 0ms) {
    const bool started = Xdotool(commands);
    std::this_thread::sleep_for(pauses + 700ms);
    return started;
  }
  bool Click(POINT at, const wchar_t* keys = nullptr) {
    if (!PointAt(Editor(), at.x, at.y)) return false;
    if (keys == nullptr) return Input(L"click 1");
    return Input(std::wstring(L"keydown ") + keys + L" click 1 keyup " + keys);
  }
  // Press at `from`, move to `to` in two steps, and (unless `hold`) release.
  bool Drag(POINT from, POINT to, bool hold = false) {
    if (!PointAt(Editor(), from.x, from.y)) return false;
    const POINT half{(from.x + to.x) / 2, (from.y + to.y) / 2};
    return Input(L"mousedown 1 sleep 0.3 " + MoveTo(Editor(), half) + L" sleep 0.3 " +
                     MoveTo(Editor(), to) + L" sleep 0.3" + (hold ? L"" : L" mouseup 1"),
                 900ms);
  }

 private:
  RunningEditor FNotavo;
  int FTextLeft = 0, FTop = 0, FCharHeight = 0, FPitch = 0, FByteWidth = 0;
  UINT FGetCaret = 0;
};

using Position = std::pair<int, int>;
using Range = std::pair<Position, Position>;

class RealMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  TempFolder FFolder;
};

const std::string kJapanese = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語

// One session, step by step, each step checked before the next.
TEST_F(RealMouse, ClickSelectMoveAndCopyText) {
  MouseSession s(FFolder, "alpha beta gamma\r\nsecond line here\r\n" + kJapanese + "abc\r\nlast");
  ASSERT_TRUE(s.Ready());
  HWND editor = s.Editor();
  auto text = [&](const std::string& expected) {
    WaitFor([&] { return EditorText(editor) == expected; });
    return EditorText(editor);
  };

  // A click puts the caret at the byte under the pointer; in a double-byte
  // character, at the boundary nearer to the pointer.
  ASSERT_TRUE(s.Click(s.At(6, 0)));
  EXPECT_EQ(s.Caret(), Position(6, 0));
  ASSERT_TRUE(s.Click({s.At(3, 2).x, s.RowMiddle(2)}));  // right half of 本
  EXPECT_EQ(s.Caret(), Position(4, 2));

  // Shift+click selects from the caret to the point.
  ASSERT_TRUE(s.Click(s.At(6, 0)));
  ASSERT_TRUE(s.Click(s.At(6, 1), L"shift"));
  EXPECT_EQ(s.Selection(), Range({6, 0}, {6, 1}));

  // A click outside the selection ends it; dragging from there selects "beta".
  ASSERT_TRUE(s.Click(s.At(1, 3)));
  EXPECT_EQ(s.Selection(), Range({1, 3}, {1, 3}));
  ASSERT_TRUE(s.Drag(s.At(6, 0), s.At(10, 0)));
  EXPECT_EQ(s.Selection(), Range({6, 0}, {10, 0}));

  // Dragged from inside the selection to the end of the last row, "beta"
  // moves there.
  ASSERT_TRUE(s.Drag(s.At(7, 0), s.At(10, 3)));
  const std::string moved = "alpha  gamma\r\nsecond line here\r\n" + kJapanese + "abc\r\nlastbeta";
  EXPECT_EQ(text(moved), moved);

  // A press in the gutter selects the row with its line break.
  ASSERT_TRUE(s.Click(s.Gutter(1)));
  EXPECT_EQ(s.Selection(), Range({18, 1}, {0, 1}));

  // Dragged with Ctrl held to the start of the text, it is copied there; a
  // screenshot while the button is still down.
  ASSERT_TRUE(s.Input(L"keydown ctrl"));
  ASSERT_TRUE(s.Drag(s.At(3, 1), s.At(0, 0), true));
  EXPECT_TRUE(WaitFor([&] { return s.Caret() == Position(0, 0); })) << s.Caret().first;
  EXPECT_EQ(s.Selection(), Range({18, 1}, {0, 1})) << "the selection stays while dragging";
  s.Notavo().Settle();
  SaveScreenshot(s.Notavo().Main(), "screenshot-drag.png");
  ASSERT_TRUE(s.Input(L"mouseup 1 keyup ctrl"));
  const std::string copied = "second line here\r\n" + moved;
  EXPECT_EQ(text(copied), copied);
}

// The wheel during a drag selection scrolls two rows a notch and carries
// the caret, and with it the selection's end, along.
TEST_F(RealMouse, WheelDuringADragSelection) {
  std::string rows;
  for (int i = 0; i < 200; ++i) rows += "row " + std::to_string(i) + "\r\n";
  MouseSession s(FFolder, rows);
  ASSERT_TRUE(s.Ready());
  ASSERT_TRUE(s.Drag(s.At(1, 1), s.At(2, 3), true));
  ASSERT_TRUE(s.Input(L"click 5"));
  EXPECT_TRUE(WaitFor([&] { return s.Notavo().FirstVisibleLine() == 2; }))
      << s.Notavo().FirstVisibleLine();
  ASSERT_TRUE(s.Input(L"mouseup 1"));
  EXPECT_EQ(s.Selection(), Range({1, 1}, {2, 5}));
}

}  // namespace
}  // namespace notavo
