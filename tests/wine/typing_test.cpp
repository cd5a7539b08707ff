// Typing into the running notavo.exe with real key presses (xdotool): keys
// reach the editor through the program's message loop, Shift and Ctrl are
// read from the real keyboard state, and the clipboard carries text to and
// from other programs.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
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
using testing::NotavoProcess;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;
using testing::Xdotool;

using testing::EditorText;

// Polls until the editor holds `expected` (key presses are queued and
// handled a little later), then returns what it holds.
std::string WaitForText(HWND editor, const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  std::string text = EditorText(editor);
  while (text != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
    text = EditorText(editor);
  }
  return text;
}

std::optional<std::string> ClipboardText() { return testing::ClipboardText(50); }

// Another program's text on the clipboard, as Unicode only.
void PutUnicodeOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  struct GlobalFreeDeleter {
    void operator()(void* memory) const { ::GlobalFree(memory); }
  };
  std::unique_ptr<void, GlobalFreeDeleter> memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (memory) {
    if (void* data = ::GlobalLock(memory.get())) {
      std::memcpy(data, text.c_str(), bytes);
      ::GlobalUnlock(memory.get());
      // The clipboard owns the memory from here on.
      if (::SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr) memory.release();
    }
  }
  ::CloseClipboard();
  ASSERT_EQ(memory, nullptr) << "could not put the text on the clipboard";
}

const std::string kJapanese = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語

struct TypingCase {
  const char* label;
  std::string document;  // the file opened
  std::wstring keys;     // xdotool commands, chained in one run
  std::string expected;  // the whole text afterwards
  std::optional<std::string> clipboard = {};
  std::optional<std::wstring> pasteFromOtherProgram = {};  // put there first
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.label; }

class Typing : public ::testing::TestWithParam<TypingCase> {
 protected:
  TempFolder FFolder;
};

TEST_P(Typing, KeysEditTheDocument) {
  if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  const TypingCase& c = GetParam();
  const std::wstring path = FFolder / L"入力.txt";
  WriteWholeFile(path, c.document);
  if (c.pasteFromOtherProgram) PutUnicodeOnClipboard(*c.pasteFromOtherProgram);

  NotavoProcess notavo(path);
  const std::optional<WindowInfo> main = notavo.WaitForWindow(L"NotavoMainForm");
  ASSERT_TRUE(main);
  notavo.WaitUntilIdle();
  HWND editor = ::FindWindowExW(main->handle, nullptr, L"TZelEdit", nullptr);
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(EditorText(editor), c.document);

  // The pointer over the empty lower right of the text, away from any row.
  RECT client{};
  ::GetClientRect(editor, &client);
  ASSERT_TRUE(testing::PointAt(editor, client.right - 40, client.bottom - 40));
  ASSERT_TRUE(Xdotool(c.keys)) << "xdotool did not start";

  EXPECT_EQ(WaitForText(editor, c.expected), c.expected);
  if (c.clipboard) {
    EXPECT_EQ(ClipboardText(), *c.clipboard);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, Typing,
    ::testing::Values(TypingCase{"LettersAndLineBreaks", "",
                                 L"key --delay 30 H e l l o Return a b c", "Hello\r\nabc"},
                      TypingCase{"DeleteBackspaceEndTab", "abcdef",
                                 L"key --delay 30 Right Right Delete BackSpace End Tab type z",
                                 "adef\tz"},
                      // Shift is read from the keyboard state while the arrow key arrives.
                      TypingCase{"ShiftArrowsSelectAndTypingReplaces", "abcdef",
                                 L"key --delay 30 shift+Right shift+Right type X", "Xcdef"},
                      // The selection starts where plain moves left the caret.
                      TypingCase{"MoveThenShiftSelect", "abcdef",
                                 L"key --delay 30 Right Right shift+Right type X", "abXdef"},
                      TypingCase{"CopyAndPasteWithinTheEditor", kJapanese + "abc\r\n",
                                 L"key --delay 30 shift+End ctrl+c ctrl+End ctrl+v",
                                 kJapanese + "abc\r\n" + kJapanese + "abc", kJapanese + "abc"},
                      // Text another program put there as Unicode arrives as Shift-JIS.
                      TypingCase{"PasteFromAnotherProgram", "x", L"key --delay 30 End ctrl+v",
                                 "x\x93\x5C\x82\xE8\x95\x74\x82\xAF",  // x貼り付け
                                 std::nullopt, L"貼り付け"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace notavo
