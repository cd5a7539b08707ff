// The find and replace dialogs in the running notavo.exe, used with real
// keys and clicks (xdotool through the X server): when the find button
// works, which way each search goes, the not-found notice, the question
// before each replacement answered every way, the count at the end, a run
// limited to the selection's rows, an empty replacement, an empty search
// text. With NOTAVO_SCREENSHOTS set, both dialogs and the question are left
// there as pictures.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/notavo_session.h"
// clang-format on
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

namespace notavo {
namespace {

using namespace std::chrono_literals;
using testing::ChildTexts;
using testing::PointAt;
using testing::SaveScreenshot;
using testing::Session;
using testing::TempFolder;
using testing::WaitFor;
using testing::WindowInfo;
using testing::WriteWholeFile;
using testing::Xdotool;

// The child of `dialog` showing `text` (a button, say).
HWND ChildWithText(HWND dialog, const std::wstring& text) {
  struct Search {
    const std::wstring& text;
    HWND found;
  } search{text, nullptr};
  ::EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t caption[256] = L"";
        ::GetWindowTextW(child, caption, 256);
        if (s->text != caption) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Click(HWND dialog, const std::wstring& label) {
  HWND button = ChildWithText(dialog, label);
  RECT r{};
  return button != nullptr && ::GetClientRect(button, &r) &&
         PointAt(button, r.right / 2, r.bottom / 2) && Xdotool(L"click 1");
}

bool Keys(HWND dialog, const std::wstring& keys) {
  return Session::DialogKeys(dialog, L"key --delay 60 " + keys);
}

bool Type(HWND dialog, const std::wstring& text) {
  return Session::DialogKeys(dialog, L"type --delay 60 \"" + text + L"\"");
}

class FindReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }

  // notavo.exe on a file holding `text`.
  std::optional<Session> Start(const std::string& text) {
    const std::wstring file = FFolder / L"text.txt";
    WriteWholeFile(file, text);
    return std::make_optional<Session>(FFolder, file);
  }

  // The caret as (col, row).
  static std::pair<int, int> Caret(const Session& s) {
    static const UINT getCaret = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
    const auto packed = static_cast<DWORD>(::SendMessageA(s.Editor(), getCaret, 0, 0));
    return {LOWORD(packed), HIWORD(packed)};
  }

  // Waits for the notice saying `text`, checks its caption and closes it.
  static void ExpectNotice(const Session& s, const std::wstring& text) {
    const std::optional<WindowInfo> notice = s.DialogTitled(L"Notavo");
    ASSERT_TRUE(notice) << "no notice: " << win32::NarrowCp932(text);
    EXPECT_NE(ChildTexts(notice->handle).find(text + L"\n"), std::wstring::npos)
        << win32::NarrowCp932(ChildTexts(notice->handle));
    ASSERT_TRUE(Keys(notice->handle, L"Return"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(notice->handle); }, 8s));
  }

  TempFolder FFolder;
};

// The find button and F3 do nothing before the text is typed; then the
// first search goes from the top downward even with upward chosen, the
// later ones each way, and past the last hit the notice says so.
TEST_F(FindReplace, FindStartsAtTheTopThenGoesTheChosenWay) {
  // The hits below the rows the dialog covers, for the screenshot.
  constexpr int kFirst = 7;
  std::string text;
  for (int row = 0; row < kFirst; ++row) text += "\r\n";
  std::optional<Session> s = Start(text + "ab1\r\nab2\r\nab3");
  ASSERT_TRUE(s && s->Ready());
  ASSERT_TRUE(s->Keys(L"ctrl+End alt+s f"));
  const std::optional<WindowInfo> find = s->DialogTitled(L"検索");
  ASSERT_TRUE(find) << "no find dialog";
  HWND dialog = find->handle;
  HWND button = ChildWithText(dialog, L"次を検索(&N)");
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(button));
  ASSERT_TRUE(Keys(dialog, L"F3 Return"));
  ASSERT_TRUE(Click(dialog, L"次を検索(&N)"));
  EXPECT_FALSE(s->DialogTitled(L"Notavo", 1s)) << "a search before any text was typed";
  const auto at = [&](int col, int row) { return std::make_pair(col, kFirst + row); };
  EXPECT_EQ(Caret(*s), at(3, 2));

  ASSERT_TRUE(Type(dialog, L"ab"));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(button) != FALSE; }, 8s));
  // Enter in the box starts nothing: there is no default button.
  ASSERT_TRUE(Keys(dialog, L"Return"));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(Caret(*s), at(3, 2));

  ASSERT_TRUE(Keys(dialog, L"alt+u F3"));
  EXPECT_TRUE(WaitFor([&] { return Caret(*s) == at(0, 0); }, 8s));
  ASSERT_TRUE(Keys(dialog, L"alt+d F3"));
  EXPECT_TRUE(WaitFor([&] { return Caret(*s) == at(0, 1); }, 8s));
  ASSERT_TRUE(Click(dialog, L"次を検索(&N)"));
  EXPECT_TRUE(WaitFor([&] { return Caret(*s) == at(0, 2); }, 8s));
  EXPECT_EQ(s->Panel(0), L"    " + std::to_wstring(kFirst + 3) + L": 1");
  SaveScreenshot(dialog, "screenshot-find-dialog.png");
  SaveScreenshot(s->Main(), "screenshot-find-hit.png");
  ASSERT_TRUE(Keys(dialog, L"alt+u F3"));
  EXPECT_TRUE(WaitFor([&] { return Caret(*s) == at(0, 1); }, 8s));
  ASSERT_TRUE(Keys(dialog, L"F3"));
  EXPECT_TRUE(WaitFor([&] { return Caret(*s) == at(0, 0); }, 8s));
  ASSERT_TRUE(Keys(dialog, L"F3"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"見つかりませんでした"));

  // The dialog stayed open through all of it; Esc closes it.
  ASSERT_TRUE(::IsWindow(dialog));
  ASSERT_TRUE(Keys(dialog, L"Escape"));
  EXPECT_TRUE(s->DialogGone());
}

// The text of an edit box in another process (the system carries
// WM_GETTEXT across; GetWindowText would not ask the box).
std::wstring EditText(HWND edit) {
  wchar_t text[256] = L"";
  ::SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

// One replace run from the menu: its dialog filled in and OK clicked.
// Enter in the boxes starts nothing. (xdotool runs cannot be waited for, so
// each chain of keys ends before its effect is awaited.)
void StartReplace(Session& s, const std::wstring& find, const std::wstring& replacement,
                  const char* screenshot = nullptr) {
  ASSERT_TRUE(s.DialogGone()) << "the last run's dialog is still open";
  ASSERT_TRUE(s.Keys(L"alt+s r"));
  const std::optional<WindowInfo> dialog = s.DialogTitled(L"置換え");
  ASSERT_TRUE(dialog) << "no replace dialog";
  HWND findEdit = ::FindWindowExW(dialog->handle, nullptr, L"Edit", nullptr);
  HWND replaceEdit = ::FindWindowExW(dialog->handle, findEdit, L"Edit", nullptr);
  ASSERT_TRUE(findEdit != nullptr && replaceEdit != nullptr);
  // Key names, one a letter: "type" would take the rest of the chain as its
  // text.
  std::wstring keys = L"key --delay 60";
  for (wchar_t c : find) keys += std::wstring(L" ") + c;
  keys += L" Tab";
  for (wchar_t c : replacement) keys += std::wstring(L" ") + c;
  ASSERT_TRUE(Session::DialogKeys(dialog->handle, keys + L" Return"));
  ASSERT_TRUE(WaitFor(
      [&] { return EditText(findEdit) == find && EditText(replaceEdit) == replacement; }, 8s));
  std::this_thread::sleep_for(500ms);  // the Return
  EXPECT_FALSE(s.DialogTitled(L"情報", 0ms)) << "Enter started the run";
  if (screenshot != nullptr) SaveScreenshot(dialog->handle, screenshot);
  ASSERT_TRUE(Click(dialog->handle, L"OK"));
}

// The next question, checked, answered with `keys` or a click on `button`.
void Answer(const Session& s, const std::wstring& keys, const std::wstring& button = L"",
            const char* screenshot = nullptr) {
  const std::optional<WindowInfo> question = s.DialogTitled(L"情報");
  ASSERT_TRUE(question) << "no question";
  const std::wstring texts = ChildTexts(question->handle);
  for (const wchar_t* part :
       {L"置換しますか？", L"はい(&Y)", L"いいえ(&N)", L"中止(&A)", L"すべて(&A)"}) {
    EXPECT_NE(texts.find(std::wstring(part) + L"\n"), std::wstring::npos)
        << win32::NarrowCp932(texts);
  }
  if (screenshot != nullptr) SaveScreenshot(question->handle, screenshot);
  ASSERT_TRUE(button.empty() ? Keys(question->handle, keys) : Click(question->handle, button));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(question->handle); }, 8s));
}

// Every answer does what it says; declining everything still counts (0),
// and a later run that finds nothing says so.
TEST_F(FindReplace, EachAnswerOfTheQuestionDoesWhatItSays) {
  std::optional<Session> s = Start("a1\r\na2\r\na3\r\na4\r\na5");
  ASSERT_TRUE(s && s->Ready());

  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"a", L"b", "screenshot-replace-dialog.png"));
  ASSERT_NO_FATAL_FAILURE(
      Answer(*s, L"Return", L"", "screenshot-replace-question.png"));  // はい(&Y), the default
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"Escape"));                      // いいえ(&N)
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"alt+F4"));                      // the close box: kept
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"", L"中止(&A)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"1個置換しました。"));
  EXPECT_EQ(s->Text(), "b1\r\na2\r\na3\r\na4\r\na5");

  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"a", L"c"));
  for (int hit = 0; hit < 4; ++hit) {
    ASSERT_NO_FATAL_FAILURE(Answer(*s, L"", L"いいえ(&N)"));
  }
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"0個置換しました。"));

  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"zz", L"c"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"見つかりませんでした"));

  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"a", L"c"));
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"", L"すべて(&A)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"4個置換しました。"));
  EXPECT_EQ(s->Text(), "b1\r\nc2\r\nc3\r\nc4\r\nc5");
}

// A selection limits the run to its rows (all of each row), an empty
// replacement deletes, an empty search text is refused.
TEST_F(FindReplace, ReplaceKeepsToTheSelectedRows) {
  std::optional<Session> s = Start("x1x\r\nx2x\r\nx3x\r\nx4x");
  ASSERT_TRUE(s && s->Ready());
  ASSERT_TRUE(s->Keys(L"ctrl+Home Down Right shift+Down"));
  ASSERT_TRUE(WaitFor([&] { return Caret(*s) == std::make_pair(1, 2); }, 8s));
  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"x", L""));
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"Return"));
  ASSERT_NO_FATAL_FAILURE(Answer(*s, L"", L"すべて(&A)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"4個置換しました。"));
  EXPECT_EQ(s->Text(), "x1x\r\n2\r\n3\r\nx4x");

  ASSERT_NO_FATAL_FAILURE(StartReplace(*s, L"", L"y"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(*s, L"空文字を検索しようとしました"));
  const std::optional<WindowInfo> dialog = s->DialogTitled(L"置換え");
  ASSERT_TRUE(dialog) << "the replace dialog closed";
  ASSERT_TRUE(Keys(dialog->handle, L"Escape"));
  EXPECT_TRUE(s->DialogGone());
  EXPECT_EQ(s->Text(), "x1x\r\n2\r\n3\r\nx4x");
}

}  // namespace
}  // namespace notavo
