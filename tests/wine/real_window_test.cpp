// The running notavo.exe seen as a user sees it: what its editor draws is
// read back from the screen and probed pixel by pixel, it is scrolled with
// the real wheel, scroll bar and keys, edited with real key presses, and
// timed while xdotool types into it. Positions come from the editor itself
// (the caret's rectangle, which another process reads through
// GetGUIThreadInfo), not from hard-coded pixels.
//
// With NOTAVO_SCREENSHOTS set to a Unix folder, the rendering and scrolling
// tests also leave a screenshot of the window there (taken with ImageMagick's
// import), for the README.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include "platform/win32/gdi_objects.h"
// The GDI wrappers first: their portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/cp932.h"
#include "tests/wine/notavo_process.h"
#include "tests/wine/real_input.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::NotavoProcess;
using testing::PointAt;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;
using testing::Xdotool;

LPARAM Pack(int col, int row) { return MAKELONG(col, row); }

// RGB as GetPixel and the DIB below give it: 0x00RRGGBB.
constexpr DWORD kTeal = 0x008080, kBlue = 0x0000FF, kGrey = 0x808080;
constexpr DWORD kBlack = 0x000000, kWhite = 0xFFFFFF;

// Polls `probe` until it returns true or `timeout` passes.
bool WaitFor(const std::function<bool()>& probe, std::chrono::milliseconds timeout = 5s) {
  const auto deadline = Clock::now() + timeout;
  while (!probe()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// The window as it is on the screen (it belongs to another process, so its
// own DC is out of reach).
struct ScreenCapture : testing::ClientCapture {
  explicit ScreenCapture(HWND window) : ClientCapture(window, kScreen) {}
};

// Leaves a screenshot of `window` (frame included) in NOTAVO_SCREENSHOTS, as
// a small palette PNG. ImageMagick runs as a Unix program that cannot be
// waited on, so the file is watched until it stops growing.
void SaveScreenshot(HWND window, const char* name) {
  char folder[1024] = "";
  const DWORD length = ::GetEnvironmentVariableA("NOTAVO_SCREENSHOTS", folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return;
  RECT r{};
  ::GetWindowRect(window, &r);
  const std::string unixPath = std::string(folder) + "/" + name;
  const std::wstring command =
      L"/usr/bin/import -window root -crop " + std::to_wstring(r.right - r.left) + L"x" +
      std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
      std::to_wstring(r.top) + L" -colors 64 PNG8:" + win32::WidenCp932(unixPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = command;
  if (!::CreateProcessW(L"Z:\\usr\\bin\\import", commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "could not start import";
    return;
  }
  win32::UniqueHandle process(info.hProcess);
  win32::UniqueHandle thread(info.hThread);
  const std::wstring dosPath = L"Z:" + win32::WidenCp932(unixPath);
  LONGLONG last = -1;
  WaitFor(
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(dosPath.c_str(), GetFileExInfoStandard, &data)) return false;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const bool settled = size > 0 && size == last;
        last = size;
        std::this_thread::sleep_for(300ms);
        return settled;
      },
      15s);
}

// One notavo.exe on one file, with its main window and editor found.
class RunningEditor {
 public:
  RunningEditor(const TempFolder& folder, const std::string& bytes)
      : FPath(folder / L"表示.txt"), FNotavo((WriteWholeFile(FPath, bytes), FPath)) {
    const std::optional<WindowInfo> main = FNotavo.WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo.WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
    FThread = ::GetWindowThreadProcessId(FEditor, nullptr);
    FSetCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
  }

  bool Ready() const { return FEditor != nullptr; }
  HWND Main() const { return FMain; }
  HWND Editor() const { return FEditor; }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(FEditor, message, wParam, lParam);
  }
  int FirstVisibleLine() const { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)); }
  int LineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }

  // The caret's rectangle in the editor's client area after putting it at
  // (col, row): the left edge of that character and the top of its row.
  std::optional<RECT> CaretAt(int col, int row) const {
    Send(FSetCaret, 0, Pack(col, row));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(FThread, &info) || info.hwndCaret != FEditor) return std::nullopt;
    return info.rcCaret;
  }

  // Waits until the editor's message queue is empty (everything posted to
  // it, including the repaint, has been handled).
  void Settle() const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(FEditor, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    FNotavo.WaitUntilIdle();
    std::this_thread::sleep_for(100ms);
  }

 private:
  std::wstring FPath;
  NotavoProcess FNotavo;
  HWND FMain = nullptr;
  HWND FEditor = nullptr;
  DWORD FThread = 0;
  UINT FSetCaret = 0;
};

// ---- what the editor draws ---------------------------------------------------

const std::string kJapanese = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
const std::string kUrlRow = "see http://example.com/path end";
constexpr int kUrlStart = 4, kUrlEnd = 27;  // columns of the link in kUrlRow

// Japanese text, a tab, full-width spaces, a link, a quote, a line longer
// than the wrap column (1000), and a last line.
std::string RenderingDocument() {
  std::string text = kJapanese + "abc\r\n";                 // 0
  text += "a\tb\r\n";                                       // 1
  text += "\x82\xA0\x81\x40\x82\xA2\x81\x40\x81\x40x\r\n";  // 2: あ　い　　x
  text += kUrlRow + "\r\n";                                 // 3
  text += "> quoted line\r\n";                              // 4
  std::string longLine;
  while (longLine.size() < 1200) longLine += "long \x92\xB7\x82\xA2 ";  // long 長い
  text += longLine + "\r\n";                                            // 5 and 6
  text += "\x8D\xC5\x8C\xE3\r\n";                                       // 7: 最後
  return text;
}

class RealWindow : public ::testing::Test {
 protected:
  TempFolder FFolder;
};

// Every kind of mark and colour the program's settings ask for, each where
// the caret says its characters are.
TEST_F(RealWindow, DrawsMarksLinksQuotesGutterAndSelection) {
  RunningEditor notavo(FFolder, RenderingDocument());
  ASSERT_TRUE(notavo.Ready());
  const auto origin = notavo.CaretAt(0, 0);
  const auto nextRow = notavo.CaretAt(0, 1);
  ASSERT_TRUE(origin && nextRow) << "the editor has no caret";
  const int textLeft = origin->left;
  const int charHeight = origin->bottom - origin->top;
  const int pitch = nextRow->top - origin->top;
  ASSERT_GT(charHeight, 8);
  ASSERT_GE(pitch, charHeight);
  auto x = [&](int col, int row) { return notavo.CaretAt(col, row)->left; };
  auto rowTop = [&](int row) { return origin->top + row * pitch; };
  // The box of columns [from, to) of a row.
  auto box = [&](int row, int from, int to) {
    return RECT{x(from, row), rowTop(row), x(to, row), rowTop(row) + charHeight};
  };
  // Each half-width byte is as wide as the font's average character.
  const int byteWidth = x(1, 1) - x(0, 1);
  EXPECT_EQ(x(9, 0) - textLeft, 9 * byteWidth) << "日本語abc is nine bytes wide";

  // Hits, box by box, with the caret parked on the last row (its underline
  // marks the caret's row) and the selection at "see".
  const RECT kanjiText = box(0, 0, 9);
  const RECT arrow{x(9, 0), rowTop(0), x(9, 0) + 2 * byteWidth, rowTop(0) + charHeight};
  const RECT tab = box(1, 1, 2);
  const RECT fullWidthSpace = box(2, 2, 4);
  const RECT url = box(3, kUrlStart, kUrlEnd);
  const RECT afterUrl{x(kUrlEnd, 3) + 1, rowTop(3), x(kUrlEnd, 3) + 12 * byteWidth,
                      rowTop(3) + pitch};
  const RECT quote = box(4, 0, 13);
  const RECT see = box(3, 0, 3);
  const RECT gutter{0, rowTop(0), textLeft - 5, rowTop(1) + charHeight};
  notavo.CaretAt(0, 7);
  notavo.Send(EM_SETSEL, static_cast<WPARAM>(Pack(0, 3)), Pack(3, 3));
  notavo.Settle();
  SaveScreenshot(notavo.Main(), "screenshot-rendering.png");
  const ScreenCapture shot(notavo.Editor());
  ASSERT_GT(shot.Count(kanjiText, kWhite), 0) << "nothing came back from the screen";

  // Japanese text in black on white.
  EXPECT_GT(shot.Share(kanjiText, kBlack), 0.05);
  // The teal line-end arrow right after the row's text, and none inside it.
  EXPECT_GT(shot.Count(arrow, kTeal), 5);
  EXPECT_EQ(shot.Count(kanjiText, kTeal), 0);
  // Tab and full-width space marks, in the same teal.
  EXPECT_GT(shot.Count(tab, kTeal), 2);
  EXPECT_GT(shot.Count(fullWidthSpace, kTeal), 2);
  // The link in blue with its underline (a row of blue along the bottom of
  // the link), and no blue from its end on.
  EXPECT_GT(shot.Share(url, kBlue), 0.05);
  int underlined = 0;
  for (int y = url.top + charHeight / 2; y < rowTop(3) + pitch; ++y) {
    if (shot.Count(RECT{url.left, y, url.right, y + 1}, kBlue) > (url.right - url.left) * 9 / 10)
      ++underlined;
  }
  EXPECT_GE(underlined, 1) << "no underline under the link";
  EXPECT_EQ(shot.Count(afterUrl, kBlue), 0) << "blue past the link's end";
  // The quoted line in grey, no black.
  EXPECT_GT(shot.Count(quote, kGrey), 30);
  EXPECT_EQ(shot.Count(quote, kBlack), 0);
  // Line numbers in teal in the gutter, left of the text, and its teal rule.
  EXPECT_GT(shot.Count(gutter, kTeal), 10);
  EXPECT_GT(shot.Count(RECT{textLeft - 4, rowTop(0), textLeft - 3, rowTop(2)}, kTeal), pitch);
  // The selection: black behind, white glyphs.
  EXPECT_GT(shot.Share(see, kBlack), 0.6);
  EXPECT_GT(shot.Share(see, kWhite), 0.03);
}

// ---- scrolling a long document by hand -------------------------------------------

constexpr int kLongRows = 120000;

std::string LongDocument() {
  std::string text;
  text.reserve(kLongRows * 40);
  for (int i = 0; i < kLongRows; ++i) {
    text += "\x8D\x73 " + std::to_string(i + 1);  // 行 n
    if (i % 3 == 0) text += "\t\x93\xFA\x96\x7B\x8C\xEA";
    if (i % 7 == 0) text += " http://example.com/" + std::to_string(i);
    text += "\r\n";
  }
  return text;
}

class RealScrolling : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  TempFolder FFolder;
};

TEST_F(RealScrolling, WheelScrollBarAndKeysMoveTheView) {
  RunningEditor notavo(FFolder, LongDocument());
  ASSERT_TRUE(notavo.Ready());
  HWND editor = notavo.Editor();
  ASSERT_GT(notavo.LineCount(), 100000);
  ASSERT_EQ(notavo.FirstVisibleLine(), 0);
  RECT client{};
  ::GetClientRect(editor, &client);
  const auto first = notavo.CaretAt(0, 0);
  const auto second = notavo.CaretAt(0, 1);
  ASSERT_TRUE(first && second);
  const int pitch = second->top - first->top;
  const int page = (client.bottom - first->top) / pitch;
  auto reaches = [&](int line) {
    return WaitFor([&] { return notavo.FirstVisibleLine() == line; });
  };

  // The wheel: two rows a notch, down and up.
  ASSERT_TRUE(PointAt(editor, client.right / 2, client.bottom / 2));
  ASSERT_TRUE(Xdotool(L"click 5"));
  EXPECT_TRUE(reaches(2)) << notavo.FirstVisibleLine();
  ASSERT_TRUE(Xdotool(L"click --repeat 3 --delay 50 5"));
  EXPECT_TRUE(reaches(8)) << notavo.FirstVisibleLine();
  ASSERT_TRUE(Xdotool(L"click 4"));
  EXPECT_TRUE(reaches(6)) << notavo.FirstVisibleLine();

  // The scroll bar, right of the client area: its down arrow moves one row,
  // the track below the thumb a page.
  const int barX = client.right + ::GetSystemMetrics(SM_CXVSCROLL) / 2;
  const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  ASSERT_TRUE(PointAt(editor, barX, client.bottom - arrow / 2));
  ASSERT_TRUE(Xdotool(L"click 1"));
  EXPECT_TRUE(reaches(7)) << notavo.FirstVisibleLine();
  ASSERT_TRUE(PointAt(editor, barX, client.bottom - 3 * arrow));
  ASSERT_TRUE(Xdotool(L"click 1"));
  EXPECT_TRUE(reaches(7 + page)) << notavo.FirstVisibleLine() << " page " << page;

  // Dragging the thumb from the top to the middle of the track: about half
  // the way down (the bar's range is scaled down for this many rows).
  ASSERT_TRUE(Xdotool(L"key ctrl+Home"));
  ASSERT_TRUE(reaches(0));
  ASSERT_TRUE(PointAt(editor, barX, arrow + 4));
  const int middle = client.bottom / 2 + 4;
  ASSERT_TRUE(Xdotool(L"mousedown 1 sleep 0.2 mousemove_relative 0 " +
                      std::to_wstring(middle - arrow - 4) + L" sleep 0.2 mouseup 1"));
  const int maxTop = notavo.LineCount() - page;
  EXPECT_TRUE(WaitFor([&] {
    const int top = notavo.FirstVisibleLine();
    return top > maxTop * 4 / 10 && top < maxTop * 6 / 10;
  })) << notavo.FirstVisibleLine()
      << " of " << maxTop;

  // Ctrl+End: the last rows in view, with line numbers in six digits.
  ASSERT_TRUE(PointAt(editor, client.right / 2, client.bottom / 2));
  ASSERT_TRUE(Xdotool(L"key ctrl+End"));
  EXPECT_TRUE(WaitFor([&] {
    const int top = notavo.FirstVisibleLine();
    return top + page >= notavo.LineCount() && top > notavo.LineCount() - page;
  })) << notavo.FirstVisibleLine()
      << " of " << notavo.LineCount();
  notavo.Settle();
  SaveScreenshot(notavo.Main(), "screenshot-scrolled.png");
}

// ---- editing through the keyboard ---------------------------------------------------

class RealEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  TempFolder FFolder;
};

using testing::EditorText;

// One session, step by step: each step's keys, then the whole text.
TEST_F(RealEditing, IndentDoubleByteBackspaceAndUndo) {
  RunningEditor notavo(FFolder, "\t  head");
  ASSERT_TRUE(notavo.Ready());
  HWND editor = notavo.Editor();
  RECT client{};
  ::GetClientRect(editor, &client);
  ASSERT_TRUE(PointAt(editor, client.right - 40, client.bottom - 40));
  auto holds = [&](const std::string& expected) {
    WaitFor([&] { return EditorText(editor) == expected; });
    return EditorText(editor);
  };

  // Enter copies the tab and the two spaces onto the new row.
  ASSERT_TRUE(Xdotool(L"key --delay 30 End Return type --delay 30 abc"));
  EXPECT_EQ(holds("\t  head\r\n\t  abc"), "\t  head\r\n\t  abc");
  // 日 as two WM_CHAR messages, lead byte then trail byte.
  ASSERT_TRUE(::PostMessageA(editor, WM_CHAR, 0x93, 1));
  ASSERT_TRUE(::PostMessageA(editor, WM_CHAR, 0xFA, 1));
  EXPECT_EQ(holds("\t  head\r\n\t  abc\x93\xFA"), "\t  head\r\n\t  abc\x93\xFA");
  // Backspace takes both bytes of the character.
  ASSERT_TRUE(Xdotool(L"key BackSpace"));
  EXPECT_EQ(holds("\t  head\r\n\t  abc"), "\t  head\r\n\t  abc");
  // Ctrl+Z brings it back.
  ASSERT_TRUE(Xdotool(L"key ctrl+z"));
  EXPECT_EQ(holds("\t  head\r\n\t  abc\x93\xFA"), "\t  head\r\n\t  abc\x93\xFA");
}

// How fast typed keys land: xdotool types 400 characters with 5 ms between
// them while this process watches the text's length. Prints the rate; asserts
// only that every key arrived.
TEST_F(RealEditing, KeepsUpWithFastTyping) {
  RunningEditor notavo(FFolder, "");
  ASSERT_TRUE(notavo.Ready());
  HWND editor = notavo.Editor();
  RECT client{};
  ::GetClientRect(editor, &client);
  ASSERT_TRUE(PointAt(editor, client.right - 40, client.bottom - 40));
  std::string typed;
  while (typed.size() < 400) typed += "abcdefghij klmnopq rstuvwxyz 0123456789 ";
  typed.resize(400);

  const auto start = Clock::now();
  ASSERT_TRUE(Xdotool(L"type --delay 5 \"" + win32::WidenCp932(typed) + L"\""));
  std::optional<Clock::time_point> firstKey;
  const bool all = WaitFor(
      [&] {
        const LRESULT length = ::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
        if (length > 0 && !firstKey) firstKey = Clock::now();
        return length >= 400;
      },
      30s);
  const auto end = Clock::now();
  ASSERT_TRUE(all) << "only " << ::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0) << " arrived:\n"
                   << EditorText(editor);
  EXPECT_EQ(EditorText(editor), typed);
  const double total = std::chrono::duration<double>(end - start).count();
  const double typing = std::chrono::duration<double>(end - firstKey.value_or(start)).count();
  std::printf(
      "typing: 400 keys, xdotool at 5 ms a key (at most 200 keys/s); all in the editor %.2f s "
      "after the start (%.2f s after the first), %.0f keys/s\n",
      total, typing, 399.0 / std::max(typing, 1e-3));

  // The same 400 characters handed straight to the editor, without the X
  // server and Wine's keyboard in between: what the editor itself costs.
  const auto direct = Clock::now();
  for (const char c : typed) ::SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(c), 1);
  const double handled = std::chrono::duration<double>(Clock::now() - direct).count();
  EXPECT_EQ(::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), 800);
  std::printf("typing: the same 400 characters as WM_CHAR messages took %.2f s, %.0f keys/s\n",
              handled, 400.0 / std::max(handled, 1e-3));
}

}  // namespace
}  // namespace notavo
