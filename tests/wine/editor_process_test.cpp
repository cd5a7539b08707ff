// The editor inside the running notavo.exe, reached from this process as
// other programs reach it: found by its class name, asked through the edit
// messages and the two registered caret messages. Text crosses the process
// boundary as UTF-16 in Wine, so it is compared after conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/cp932.h"
#include "tests/wine/notavo_process.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using testing::NotavoProcess;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;

const std::string kJapanese = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語

std::string LongLine() {
  std::string line;
  while (line.size() < 1200) line += "ab\x93\xFA\x96\x7B";  // ab日本
  return line;
}

constexpr int kNumberedLines = 100;

// A Japanese line, a short one, a line that wraps at column 1000, numbered
// lines enough to scroll, and a last line without a line break.
std::string Document() {
  std::string text = kJapanese + "\r\nabc\r\n" + LongLine() + "\r\n";
  for (int i = 0; i < kNumberedLines; ++i) {
    text += "\x8D\x73 " + std::to_string(i) + "\r\n";  // 行 i
  }
  return text + "end";
}
constexpr int kRowCount = 2 + 2 + kNumberedLines + 1;

LPARAM Pack(int col, int row) { return MAKELONG(col, row); }

// One notavo.exe with the document for the whole suite; the tests only read
// or set the selection and the caret.
class EditorProcess : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FFolder = std::make_unique<TempFolder>();
    const std::wstring path = *FFolder / L"表示.txt";
    WriteWholeFile(path, Document());
    FNotavo = std::make_unique<NotavoProcess>(
        path, testing::NotavoCopyWithSettings(FFolder->Path(), testing::kWrapAt1000Settings));
    const std::optional<WindowInfo> main = FNotavo->WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo->WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
  }
  static void TearDownTestSuite() {
    if (FMain != nullptr) FNotavo->CloseAndWait(FMain);
    FNotavo.reset();
    FFolder.reset();
    FMain = FEditor = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(FMain, nullptr) << "no main window";
    ASSERT_NE(FEditor, nullptr) << "no TZelEdit child in the main window";
  }

  static LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(FEditor, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
      ADD_FAILURE() << "message " << message << " got no answer";
    }
    return static_cast<LRESULT>(result);
  }

  static inline std::unique_ptr<TempFolder> FFolder;
  static inline std::unique_ptr<NotavoProcess> FNotavo;
  static inline HWND FMain = nullptr;
  static inline HWND FEditor = nullptr;
};

// The editor fills the main window above the recent-files list (80 pixels)
// and the status bar.
TEST_F(EditorProcess, EditorFillsTheMainWindowAndHasTheKeyboard) {
  HWND list = ::FindWindowExW(FMain, nullptr, L"ListBox", nullptr);
  HWND status = ::FindWindowExW(FMain, nullptr, L"msctls_statusbar32", nullptr);
  ASSERT_TRUE(list != nullptr && status != nullptr);
  auto inMain = [&](HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, FMain, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  RECT client{};
  ::GetClientRect(FMain, &client);
  auto checkLayout = [&] {
    ::GetClientRect(FMain, &client);
    const RECT editor = inMain(FEditor), recent = inMain(list), bar = inMain(status);
    // The editor and the list each inside a panel with a 1-pixel bevel.
    EXPECT_EQ(editor.left, 1);
    EXPECT_EQ(editor.top, 1);
    EXPECT_EQ(editor.right, client.right - 1);
    EXPECT_EQ(editor.bottom + 2, recent.top);
    EXPECT_EQ(recent.bottom - recent.top + 2, 80);
    EXPECT_EQ(recent.bottom + 1, bar.top);
    EXPECT_EQ(bar.bottom, client.bottom);
  };
  checkLayout();
  const LONG_PTR style = ::GetWindowLongPtrW(FEditor, GWL_STYLE);
  EXPECT_NE(style & WS_VSCROLL, 0);
  EXPECT_NE(style & WS_HSCROLL, 0);
  EXPECT_NE(::GetWindowLongPtrW(FEditor, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(FMain, nullptr), &info));
  EXPECT_EQ(info.hwndFocus, FEditor);
  EXPECT_EQ(info.hwndCaret, FEditor);

  // Resizing the main window resizes the editor with it.
  ::SetWindowPos(FMain, nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER);
  checkLayout();
}

TEST_F(EditorProcess, RowCountAndLengths) {
  EXPECT_EQ(Send(EM_GETLINECOUNT), kRowCount);
  struct {
    int row;
    LRESULT length;
  } const rows[] = {{0, 8},        {1, 5}, {2, 1000}, {3, 202}, {4, 6}, {kRowCount - 1, 3},
                    {kRowCount, 0}};
  for (const auto& r : rows) {
    EXPECT_EQ(Send(EM_LINELENGTH, static_cast<WPARAM>(r.row)), r.length) << "row " << r.row;
  }
}

// WM_GETTEXT crosses the process boundary as UTF-16 either way; since the
// document is valid Shift-JIS, all of it arrives. WM_GETTEXTLENGTH sent as
// an ANSI message from another process is answered by Wine itself, so it
// goes as a Unicode one to reach the control, which counts bytes.
TEST_F(EditorProcess, WholeTextReachesAnotherProcess) {
  const std::string text = Document();
  const std::wstring expected = win32::WidenCp932(text);
  std::vector<wchar_t> wide(text.size() + 16, L'#');
  const LRESULT length =
      ::SendMessageW(FEditor, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  EXPECT_EQ(length, static_cast<LRESULT>(expected.size()));
  EXPECT_EQ(std::wstring(wide.data()), expected);

  std::vector<char> bytes(text.size() + 16, '#');
  Send(WM_GETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
  EXPECT_EQ(std::string(bytes.data()), text);

  EXPECT_EQ(::SendMessageW(FEditor, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(text.size()));
}

TEST_F(EditorProcess, SelectionSetAndRead) {
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(2, 0)), Pack(2, 1));
  DWORD anchor = 0, end = 0;
  const LRESULT length =
      Send(EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(anchor, static_cast<DWORD>(Pack(2, 0)));
  EXPECT_EQ(end, static_cast<DWORD>(Pack(2, 1)));
  EXPECT_EQ(length, 8);  // 本語 CR LF ab
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(0, 0)), Pack(0, 0));
}

// (The scroll bar's position is not checked from here: Wine keeps it in
// the window's own process, and GetScrollPos from another one answers 0.)
TEST_F(EditorProcess, RegisteredMessagesMoveTheCaretAndTheViewFollows) {
  const UINT getCaret = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
  const UINT setCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
  Send(setCaret, 0, Pack(1, 1));
  EXPECT_EQ(Send(getCaret), Pack(1, 1));
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);

  Send(setCaret, 0, Pack(2, kRowCount - 1));
  EXPECT_EQ(Send(getCaret), Pack(2, kRowCount - 1));
  const LRESULT top = Send(EM_GETFIRSTVISIBLELINE);
  EXPECT_GT(top, 0);
  EXPECT_LT(top, kRowCount - 1);

  Send(setCaret, 0, Pack(0, 0));
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
}

}  // namespace
}  // namespace notavo
