// The running notavo.exe under the locale this program runs in
// (scripts/test.sh runs it under a Japanese one and under one whose ANSI
// code page is not 932): a file with a Japanese name shown, a Japanese
// character typed, the question at closing asked in Japanese.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/wine/running_editor.h"

namespace notavo::testing {
namespace {

// The editor's bytes through the ANSI message, which carries them unchanged.
std::string Bytes(const RunningEditor& editor) {
  std::string text(4096, '\0');
  const LRESULT got = editor.Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, got)));
  return text;
}

HWND FindMessageBox(DWORD thread) {
  HWND found = nullptr;
  for (int attempt = 0; attempt < 200 && found == nullptr; ++attempt) {
    ::EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
          wchar_t name[16] = L"";
          ::GetClassNameW(window, name, 16);
          if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(data) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (found == nullptr) ::Sleep(50);
  }
  return found;
}

TEST(RunningNotavoOnAnyLanguage, ShowsTakesAndAsksInJapanese) {
  const TempFolder folder;
  RunningEditor editor(folder, "\x93\xFA\x96\x7B\x8C\xEA\r\nabc\r\n");  // 日本語, abc
  ASSERT_TRUE(editor.Ready());

  wchar_t caption[256] = L"";
  ::GetWindowTextW(editor.Main(), caption, 256);
  EXPECT_NE(std::wstring(caption).find(L"表示.txt"), std::wstring::npos);

  // Drawn in a face with Japanese glyphs: 日 takes the room of two letters.
  const auto kanji0 = editor.CaretAt(0, 0), kanji1 = editor.CaretAt(2, 0);
  const auto letter0 = editor.CaretAt(0, 1), letter1 = editor.CaretAt(1, 1);
  ASSERT_TRUE(kanji0 && kanji1 && letter0 && letter1);
  EXPECT_GT(letter1->left, letter0->left);
  EXPECT_EQ(kanji1->left - kanji0->left, 2 * (letter1->left - letter0->left));

  // あ as a Unicode program (or the keyboard, through TranslateMessage) puts
  // it into the queue: the program's message loop hands it over as bytes.
  ASSERT_TRUE(editor.CaretAt(0, 1));
  ::PostMessageW(editor.Editor(), WM_CHAR, 0x3042, 1);
  const std::string expected = "\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\xA0" "abc\r\n";
  EXPECT_TRUE(WaitFor([&] { return Bytes(editor) == expected; }));
  editor.Settle();
  SaveScreenshot(editor.Main(), "unicode-main.png");

  // Closing the changed text asks whether to save it, in Japanese.
  const DWORD thread = ::GetWindowThreadProcessId(editor.Main(), nullptr);
  ::PostMessageW(editor.Main(), WM_CLOSE, 0, 0);
  const HWND box = FindMessageBox(thread);
  ASSERT_NE(box, nullptr);
  const std::wstring texts = ChildTexts(box);
  EXPECT_NE(texts.find(L"表示.txtを保存しますか？"), std::wstring::npos);
  EXPECT_NE(texts.find(L"いいえ(&N)"), std::wstring::npos);
  SaveScreenshot(box, "unicode-question.png");
  ::PostMessageW(box, WM_COMMAND, IDNO, 0);
}

// A name code page 932 cannot hold is refused with a notice: a best-fit
// conversion would open (and later save over) cafe.txt instead.
TEST(RunningNotavoOnAnyLanguage, RefusesAFileNameTheCodePageCannotHold) {
  const TempFolder folder;
  WriteWholeFile(folder / L"cafe.txt", "another file");
  WriteWholeFile(folder / L"caf\u00E9.txt", "mine");
  NotavoProcess notavo(folder / L"caf\u00E9.txt");
  const std::optional<WindowInfo> main = notavo.WaitForWindow(L"NotavoMainForm");
  ASSERT_TRUE(main);
  const HWND box = FindMessageBox(::GetWindowThreadProcessId(main->handle, nullptr));
  ASSERT_NE(box, nullptr);
  EXPECT_NE(ChildTexts(box).find(L"Shift-JIS"), std::wstring::npos);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  const HWND editor = ::FindWindowExW(main->handle, nullptr, L"TZelEdit", nullptr);
  EXPECT_EQ(::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), 0);
  wchar_t caption[256] = L"";
  ::GetWindowTextW(main->handle, caption, 256);
  EXPECT_EQ(std::wstring(caption).find(L"caf"), std::wstring::npos);
}

}  // namespace
}  // namespace notavo::testing
