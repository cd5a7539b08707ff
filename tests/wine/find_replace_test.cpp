// The find and replace dialogs in the running notavo.exe, with real keys and
// clicks (xdotool): when the find button works, which way each search goes,
// the not-found notice, the replace question answered every way, the count,
// a run kept to the selection's rows, an empty replacement and an empty
// search text. With NOTAVO_SCREENSHOTS set, the dialogs and the question are
// left there as pictures. (xdotool runs cannot be waited for: each chain of
// keys is followed by waiting for its effect.)
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
using testing::SaveScreenshot;
using testing::Session;
using testing::WaitFor;
using testing::WindowInfo;

bool Keys(HWND dialog, const std::wstring& keys) {
  return Session::DialogKeys(dialog, L"key --delay 60 " + keys);
}

bool Click(HWND dialog, const wchar_t* button) {
  HWND control = ::FindWindowExW(dialog, nullptr, L"Button", button);
  RECT r{};
  return ::GetClientRect(control, &r) && testing::PointAt(control, r.right / 2, r.bottom / 2) &&
         testing::Xdotool(L"click 1");
}

// An edit box's text in another process (the system carries WM_GETTEXT
// across; GetWindowText would not ask the box).
std::wstring EditText(HWND edit) {
  wchar_t text[256] = L"";
  ::SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

// The caret as (col, row).
std::pair<int, int> Caret(const Session& s) {
  static const UINT message = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
  const auto packed = static_cast<DWORD>(::SendMessageA(s.Editor(), message, 0, 0));
  return {LOWORD(packed), HIWORD(packed)};
}

// Waits for the program's dialog titled `caption` (a notice, a question),
// checks that it shows `texts`, and answers with `keys` or a click on
// `button`.
void Answer(const Session& s, const wchar_t* caption, std::initializer_list<const wchar_t*> texts,
            const std::wstring& keys, const wchar_t* button = nullptr,
            const char* screenshot = nullptr) {
  const std::optional<WindowInfo> box = s.DialogTitled(caption);
  ASSERT_TRUE(box) << "no " << win32::NarrowCp932(caption) << " "
                   << win32::NarrowCp932(*texts.begin());
  const std::wstring shown = ChildTexts(box->handle);
  for (const wchar_t* text : texts) {
    EXPECT_NE(shown.find(std::wstring(text) + L"\n"), std::wstring::npos)
        << win32::NarrowCp932(shown);
  }
  if (screenshot != nullptr) {
    std::this_thread::sleep_for(500ms);  // painted through
    SaveScreenshot(box->handle, screenshot);
  }
  ASSERT_TRUE(button == nullptr ? Keys(box->handle, keys) : Click(box->handle, button));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box->handle); }, 8s));
}

void ExpectNotice(const Session& s, const wchar_t* text) {
  Answer(s, L"Notavo", {text}, L"Return");
}

void Question(const Session& s, const std::wstring& keys, const wchar_t* button = nullptr,
              const char* screenshot = nullptr) {
  Answer(s, L"情報", {L"置換しますか？", L"はい(&Y)", L"いいえ(&N)", L"中止(&A)", L"すべて(&A)"},
         keys, button, screenshot);
}

class FindReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  Session& Start(const std::string& text) {
    testing::WriteWholeFile(FFolder / L"text.txt", text);
    return FSession.emplace(FFolder, FFolder / L"text.txt");
  }

  testing::TempFolder FFolder;
  std::optional<Session> FSession;
};

// Nothing before the text is typed (F3, Enter, the button); then the first
// search goes from the top downward even with upward chosen, later ones the
// chosen way, and past the last hit the notice says so; an emptied text
// still searches.
TEST_F(FindReplace, FindStartsAtTheTopThenGoesTheChosenWay) {
  constexpr int kFirst = 7;  // the hits below the rows the dialog covers
  std::string text;
  for (int row = 0; row < kFirst; ++row) text += "\r\n";
  Session& s = Start(text + "ab1\r\nab2\r\nab3");
  ASSERT_TRUE(s.Ready());
  const auto at = [&](int col, int row) { return std::make_pair(col, kFirst + row); };
  ASSERT_TRUE(s.Keys(L"ctrl+End alt+s f"));
  const std::optional<WindowInfo> find = s.DialogTitled(L"検索");
  ASSERT_TRUE(find) << "no find dialog";
  HWND dialog = find->handle;
  HWND button = ::FindWindowExW(dialog, nullptr, L"Button", L"次を検索(&N)");
  EXPECT_FALSE(::IsWindowEnabled(button));
  ASSERT_TRUE(Keys(dialog, L"F3 Return") && Click(dialog, L"次を検索(&N)"));
  EXPECT_FALSE(s.DialogTitled(L"Notavo", 1s)) << "a search before any text was typed";
  EXPECT_EQ(Caret(s), at(3, 2));

  ASSERT_TRUE(Keys(dialog, L"a b Return"));  // Enter: there is no default button
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(button) != FALSE; }, 8s));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(Caret(s), at(3, 2));

  for (auto [keys, col, row] : {std::tuple{L"alt+u F3", 0, 0},
                                {L"alt+d F3", 0, 1},
                                {L"F3", 0, 2},
                                {L"alt+u F3", 0, 1},
                                {L"F3", 0, 0}}) {
    ASSERT_TRUE(Keys(dialog, keys));
    EXPECT_TRUE(WaitFor([&] { return Caret(s) == at(col, row); }, 8s)) << win32::NarrowCp932(keys);
    // The caret moves on F3's press; its release (and the rest of the chain)
    // must be through before the next chain presses F3 again.
    std::this_thread::sleep_for(300ms);
    if (row == 2) {
      EXPECT_EQ(s.Panel(0), L"    " + std::to_wstring(kFirst + 3) + L": 1");
      SaveScreenshot(dialog, "screenshot-find-dialog.png");
      SaveScreenshot(s.Main(), "screenshot-find-hit.png");
    }
  }
  ASSERT_TRUE(Keys(dialog, L"F3"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"見つかりませんでした"));
  // Emptied, the text is searched for as it is: never found.
  ASSERT_TRUE(testing::PointAt(::FindWindowExW(dialog, nullptr, L"Edit", nullptr), 5, 5) &&
              testing::Xdotool(L"click 1 key --delay 60 End BackSpace BackSpace F3"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"見つかりませんでした"));
  ASSERT_TRUE(::IsWindow(dialog)) << "the dialog closed";
  ASSERT_TRUE(Keys(dialog, L"Escape"));
  EXPECT_TRUE(s.DialogGone());
}

// One replace run from the menu: the dialog filled in (Enter in the boxes
// starts nothing) and OK clicked.
void StartReplace(Session& s, const std::wstring& find, const std::wstring& replacement,
                  const char* screenshot = nullptr) {
  ASSERT_TRUE(s.DialogGone()) << "the last run's dialog is still open";
  ASSERT_TRUE(s.Keys(L"alt+s r"));
  const std::optional<WindowInfo> dialog = s.DialogTitled(L"置換え");
  ASSERT_TRUE(dialog) << "no replace dialog";
  // Key names, one a letter: "type" would take the rest of the chain.
  std::wstring keys;
  for (wchar_t c : find) keys += std::wstring{c, L' '};
  keys += L"Tab ";
  for (wchar_t c : replacement) keys += std::wstring{c, L' '};
  ASSERT_TRUE(Keys(dialog->handle, keys + L"Return"));
  HWND findEdit = ::FindWindowExW(dialog->handle, nullptr, L"Edit", nullptr);
  HWND replaceEdit = ::FindWindowExW(dialog->handle, findEdit, L"Edit", nullptr);
  ASSERT_TRUE(WaitFor(
      [&] { return EditText(findEdit) == find && EditText(replaceEdit) == replacement; }, 8s));
  std::this_thread::sleep_for(500ms);  // the Return
  EXPECT_FALSE(s.DialogTitled(L"情報", 0ms)) << "Enter started the run";
  if (screenshot != nullptr) SaveScreenshot(dialog->handle, screenshot);
  ASSERT_TRUE(Click(dialog->handle, L"OK"));
}

// Every answer does what it says; declining everything still counts (0), a
// later run that finds nothing says so; a selection keeps the run to its
// rows, whole; an empty replacement deletes; an empty search text is
// refused.
TEST_F(FindReplace, ReplaceAsksAtEachHitAndCounts) {
  Session& s = Start("a1\r\na2\r\na3\r\na4\r\na5");
  ASSERT_TRUE(s.Ready());
  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"a", L"b", "screenshot-replace-dialog.png"));
  ASSERT_NO_FATAL_FAILURE(Question(s, L"Return", nullptr, "screenshot-replace-question.png"));
  ASSERT_NO_FATAL_FAILURE(Question(s, L"Escape"));  // いいえ(&N)
  ASSERT_NO_FATAL_FAILURE(Question(s, L"alt+F4"));  // the close box: kept
  ASSERT_NO_FATAL_FAILURE(Question(s, L"", L"中止(&A)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"1個置換しました。"));
  EXPECT_EQ(s.Text(), "b1\r\na2\r\na3\r\na4\r\na5");

  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"a", L"c"));
  for (int hit = 0; hit < 4; ++hit) ASSERT_NO_FATAL_FAILURE(Question(s, L"", L"いいえ(&N)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"0個置換しました。"));
  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"zz", L"c"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"見つかりませんでした"));
  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"a", L"ca"));
  ASSERT_NO_FATAL_FAILURE(Question(s, L"", L"すべて(&A)"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"4個置換しました。"));
  EXPECT_EQ(s.Text(), "b1\r\nca2\r\nca3\r\nca4\r\nca5");

  // From after the "c" of row 1 into row 2: both rows whole.
  ASSERT_TRUE(s.Keys(L"ctrl+Home Down Right shift+Down"));
  ASSERT_TRUE(WaitFor([&] { return Caret(s) == std::make_pair(1, 2); }, 8s));
  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"c", L""));
  ASSERT_NO_FATAL_FAILURE(Question(s, L"Return"));
  ASSERT_NO_FATAL_FAILURE(Question(s, L"Return"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"2個置換しました。"));
  EXPECT_EQ(s.Text(), "b1\r\na2\r\na3\r\nca4\r\nca5");

  ASSERT_NO_FATAL_FAILURE(StartReplace(s, L"", L"y"));
  ASSERT_NO_FATAL_FAILURE(ExpectNotice(s, L"空文字を検索しようとしました"));
  const std::optional<WindowInfo> dialog = s.DialogTitled(L"置換え");
  ASSERT_TRUE(dialog) << "the replace dialog closed";
  ASSERT_TRUE(Keys(dialog->handle, L"Escape"));
  EXPECT_TRUE(s.DialogGone());
  EXPECT_EQ(s.Text(), "b1\r\na2\r\na3\r\nca4\r\nca5");
}

}  // namespace
}  // namespace notavo
