// The wrap settings, display settings and version dialogs in the running
// notavo.exe, opened with their real keys and used with real clicks and
// keys (xdotool): the boxes as they come up, each wrap mode changing the
// view and the settings file, refused columns, Cancel, the marks and the
// tab width, the settings after a restart, the version dialog's texts and
// its link. Controls are checked at their places in the dialog. With
// NOTAVO_SCREENSHOTS set, each dialog is left there as a picture.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/wine/notavo_process.h"
#include "tests/wine/real_input.h"
#include "tests/wine/running_editor.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using testing::ChildTexts;
using testing::ClientCapture;
using testing::NotavoProcess;
using testing::PointAt;
using testing::ReadWholeFile;
using testing::SaveScreenshot;
using testing::TempFolder;
using testing::WaitFor;
using testing::WindowInfo;
using testing::WriteWholeFile;
using testing::Xdotool;

constexpr DWORD kTeal = 0x008080;  // the end-of-text mark
constexpr DWORD kRed = 0xFF0000, kBlue = 0x0000FF;

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = L"";
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &result);
  return text;
}

HWND Child(HWND parent, const std::wstring& text, const wchar_t* className = nullptr) {
  struct Search {
    const std::wstring& text;
    const wchar_t* className;
    HWND found;
  } search{text, className, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = L"";
        ::GetClassNameW(child, name, 64);
        if (s->className != nullptr ? _wcsicmp(name, s->className) == 0
                                    : TextOf(child) == s->text) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A control's place in its dialog's client area: left, top, width, height.
std::vector<long> Place(HWND dialog, HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return {r.right, r.bottom};
}

bool IsChecked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// notavo.exe copied into a folder of its own with `settings` beside it (none
// when empty), on a document.
class Session {
 public:
  Session(const TempFolder& folder, const std::string& settings, const std::string& document)
      : FFolder(folder), FNotavo(Start(folder, settings, document), folder / L"notavo.exe") {
    const std::optional<WindowInfo> main = FNotavo.WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo.WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
  }
  ~Session() {
    if (FMain != nullptr && FNotavo.Running()) FNotavo.CloseAndWait(FMain);
  }
  bool Ready() const { return FEditor != nullptr; }
  HWND Editor() const { return FEditor; }
  std::string Settings() const {
    const std::wstring path = FFolder / L"notavo.ini";
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : ReadWholeFile(path);
  }
  bool HasSetting(const std::string& line) const {
    return Settings().find(line + "\r\n") != std::string::npos;
  }
  int Rows() const { return static_cast<int>(::SendMessageW(FEditor, EM_GETLINECOUNT, 0, 0)); }
  bool HorizontalBar() const { return (::GetWindowLongW(FEditor, GWL_STYLE) & WS_HSCROLL) != 0; }
  // End-of-text mark pixels in the text area (right of the gutter, below
  // the ruler) as the screen shows them.
  int MarkPixels() const {
    ::SendMessageW(FEditor, ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS"), 0, 0);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(FEditor, nullptr), &info);
    RECT area{};
    ::GetClientRect(FEditor, &area);
    area.left = info.rcCaret.left;
    area.top = 12;
    return ClientCapture(FEditor, ClientCapture::kScreen).Count(area, kTeal);
  }

  // Keys typed with the pointer over the editor (the keyboard follows it).
  bool EditorKeys(const std::wstring& keys) const {
    RECT client{};
    ::GetClientRect(FEditor, &client);
    return PointAt(FEditor, client.right / 2, client.bottom / 2) &&
           Xdotool(L"key --delay 60 " + keys);
  }
  // The program's dialog with this caption, once it shows.
  HWND Dialog(const std::wstring& caption) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = DialogNow(caption)) != nullptr; }, 8s);
    if (found != nullptr) std::this_thread::sleep_for(300ms);  // painted
    return found;
  }
  HWND DialogNow(const std::wstring& caption) const {
    for (const WindowInfo& window : FNotavo.Windows()) {
      if (window.className == L"#32770" && window.caption == caption) return window.handle;
    }
    return nullptr;
  }
  bool Gone(const std::wstring& caption) const {
    return WaitFor([&] { return DialogNow(caption) == nullptr; }, 8s);
  }
  HWND Open(const std::wstring& keys, const std::wstring& caption) const {
    return EditorKeys(keys) ? Dialog(caption) : nullptr;
  }
  static bool Click(HWND control) {
    const SIZE size = ClientSize(control);
    return PointAt(control, size.cx / 2, size.cy / 2) && Xdotool(L"click 1");
  }
  static bool Keys(HWND dialog, const std::wstring& keys) {
    return PointAt(dialog, 5, 5) && Xdotool(L"key --delay 60 " + keys);
  }
  static bool Type(HWND dialog, const std::wstring& text) {
    return PointAt(dialog, 5, 5) && Xdotool(L"type --delay 60 \"" + text + L"\"");
  }
  // Replaces the text of the combo box `column` with `text`: one run of
  // xdotool, since separate runs cannot be waited for and would overlap.
  static bool Retype(HWND column, const std::wstring& text) {
    return PointAt(column, 10, ClientSize(column).cy / 2) &&
           Xdotool(L"click 1 sleep 0.3 key --delay 60 End shift+Home BackSpace type --delay 60 \"" +
                   text + L"\"");
  }
  // The plain notice a dialog shows: its text, after answering it.
  std::wstring Notice() const {
    HWND box = Dialog(L"Notavo");
    if (box == nullptr) return L"<no notice>";
    const std::wstring texts = ChildTexts(box);
    Keys(box, L"Return");
    Gone(L"Notavo");
    return texts;
  }
  NotavoProcess& Process() { return FNotavo; }

 private:
  static std::wstring Start(const TempFolder& folder, const std::string& settings,
                            const std::string& document) {
    ::CopyFileW(testing::FindNotavoExe().c_str(), (folder / L"notavo.exe").c_str(), FALSE);
    if (!settings.empty()) WriteWholeFile(folder / L"notavo.ini", settings);
    WriteWholeFile(folder / L"text.txt", document);
    return folder / L"text.txt";
  }

  const TempFolder& FFolder;
  NotavoProcess FNotavo;
  HWND FMain = nullptr, FEditor = nullptr;
};

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  TempFolder FFolder;
};

const std::wstring kWrap = L"折り返し設定", kDisplay = L"設定", kAbout = L"バージョン情報";
// One line of 250 characters, then a short one.
const std::string kLongLine = std::string(250, 'a') + "\r\nb";

struct TWrapDialog {
  HWND dialog, no, right, set, column, ok, cancel;
  explicit TWrapDialog(HWND d)
      : dialog(d),
        no(Child(d, L"折り返さない")),
        right(Child(d, L"右端で折り返す")),
        set(Child(d, L"指定行で折り返す")),
        column(Child(d, L"", L"ComboBox")),
        ok(Child(d, L"OK")),
        cancel(Child(d, L"キャンセル")) {}
  // Per box: checked "x", or not "o", upper case when enabled; then the
  // column box "C" enabled or "c" not.
  std::string State() const {
    std::string s;
    for (HWND box : {no, right, set}) {
      const bool on = IsChecked(box);
      s += ::IsWindowEnabled(box) ? (on ? 'X' : 'O') : (on ? 'x' : 'o');
    }
    return s + (::IsWindowEnabled(column) ? 'C' : 'c');
  }
};

TEST_F(SettingsDialogs, WrapDialogModesColumnsCancelAndRestart) {
  int widest = 0;  // the widest column, as the refusal says it
  {
    Session s(FFolder, "", kLongLine);
    ASSERT_TRUE(s.Ready());
    // No settings file: no wrapping chosen; the column box disabled at "10".
    TWrapDialog d(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr) << "F3 opened no wrap dialog";
    EXPECT_EQ(d.State(), "xOOc");
    EXPECT_EQ(TextOf(d.column), L"10");
    EXPECT_EQ(ClientSize(d.dialog).cx, 312);
    EXPECT_EQ(ClientSize(d.dialog).cy, 163);
    EXPECT_EQ(Place(d.dialog, d.no), (std::vector<long>{24, 24, 97, 25}));
    EXPECT_EQ(Place(d.dialog, d.right), (std::vector<long>{24, 56, 121, 25}));
    EXPECT_EQ(Place(d.dialog, d.set), (std::vector<long>{24, 88, 121, 25}));
    EXPECT_EQ(Place(d.dialog, d.column), (std::vector<long>{64, 120, 49, 20}));
    EXPECT_EQ(Place(d.dialog, d.ok), (std::vector<long>{220, 24, 75, 25}));
    EXPECT_EQ(Place(d.dialog, d.cancel), (std::vector<long>{220, 70, 75, 25}));
    EXPECT_TRUE(::GetWindowLongW(d.ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
    SaveScreenshot(d.dialog, "screenshot-dialog-return.png");

    // At the window's edge: Enter presses OK.
    ASSERT_TRUE(Session::Click(d.right));
    ASSERT_TRUE(WaitFor([&] { return d.State() == "OxOc"; })) << d.State();
    ASSERT_TRUE(Session::Keys(d.dialog, L"Return"));
    ASSERT_TRUE(s.Gone(kWrap));
    EXPECT_GT(s.Rows(), 4);
    EXPECT_FALSE(s.HorizontalBar());
    for (const char* line : {"RightReturn=1", "SetReturn=0", "NoReturn=0", "SetNum=10"}) {
      EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
    }

    // At column 100: the keyboard goes on to the column box.
    d = TWrapDialog(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr);
    EXPECT_EQ(d.State(), "OxOc");
    ASSERT_TRUE(Session::Click(d.set));
    ASSERT_TRUE(WaitFor([&] { return d.State() == "OOxC"; })) << d.State();
    ASSERT_TRUE(Session::Type(d.dialog, L"100"));
    ASSERT_TRUE(WaitFor([&] { return TextOf(d.column) == L"100"; })) << TextOf(d.column);
    ASSERT_TRUE(Session::Keys(d.dialog, L"Return"));
    ASSERT_TRUE(s.Gone(kWrap));
    EXPECT_EQ(s.Rows(), 4);  // 100 + 100 + 50, then "b"
    EXPECT_TRUE(s.HorizontalBar());
    for (const char* line : {"RightReturn=0", "SetReturn=1", "NoReturn=0", "SetNum=100"}) {
      EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
    }

    // Too wide a column: refused with the widest column, which is used
    // and stored; so is it for 9.
    for (const wchar_t* typed : {L"99999", L"9"}) {
      d = TWrapDialog(s.Open(L"F3", kWrap));
      ASSERT_NE(d.dialog, nullptr);
      EXPECT_EQ(d.State(), "OOxC");
      ASSERT_TRUE(Session::Retype(d.column, typed));
      ASSERT_TRUE(WaitFor([&] { return TextOf(d.column) == typed; })) << TextOf(d.column);
      ASSERT_TRUE(Session::Keys(d.dialog, L"Return"));
      const std::wstring notice = s.Notice();
      if (widest == 0) {
        const std::size_t end = notice.find(L"以上は範囲外です");
        std::size_t start = end;
        while (start > 0 && start != std::wstring::npos && iswdigit(notice[start - 1])) --start;
        if (end != std::wstring::npos) widest = _wtoi(notice.substr(start, end - start).c_str());
        EXPECT_GT(widest, 250);
        EXPECT_NE(notice.find(std::to_wstring(widest) + L"以上は範囲外です"), std::wstring::npos)
            << win32::NarrowCp932(notice);
      } else {
        EXPECT_NE(notice.find(L"10未満は範囲外です"), std::wstring::npos)
            << win32::NarrowCp932(notice);
      }
      ASSERT_TRUE(s.Gone(kWrap));
      EXPECT_EQ(s.Rows(), 2);
      EXPECT_TRUE(s.HasSetting("SetNum=" + std::to_string(widest))) << s.Settings();
    }

    // A column that is no number wraps at 1000 and is stored so, silently.
    d = TWrapDialog(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr);
    EXPECT_EQ(TextOf(d.column), std::to_wstring(widest));
    ASSERT_TRUE(Session::Retype(d.column, L"abc"));
    ASSERT_TRUE(WaitFor([&] { return TextOf(d.column) == L"abc"; }));
    ASSERT_TRUE(Session::Keys(d.dialog, L"Return"));
    ASSERT_TRUE(s.Gone(kWrap));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(s.DialogNow(L"Notavo"), nullptr) << "a notice for a column that is no number";
    EXPECT_TRUE(s.HasSetting("SetNum=1000")) << s.Settings();

    // No wrapping.
    d = TWrapDialog(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr);
    ASSERT_TRUE(Session::Click(d.no));
    ASSERT_TRUE(WaitFor([&] { return d.State() == "xOOc"; })) << d.State();
    ASSERT_TRUE(Session::Click(d.ok));
    ASSERT_TRUE(s.Gone(kWrap));
    EXPECT_EQ(s.Rows(), 2);
    EXPECT_TRUE(s.HorizontalBar());
    for (const char* line : {"RightReturn=0", "SetReturn=0", "NoReturn=1", "SetNum=1000"}) {
      EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
    }

    // Cancel (Esc) after changing the boxes: nothing changes.
    const std::string before = s.Settings();
    d = TWrapDialog(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr);
    ASSERT_TRUE(Session::Click(d.right));
    ASSERT_TRUE(WaitFor([&] { return d.State() == "OxOc"; })) << d.State();
    ASSERT_TRUE(Session::Keys(d.dialog, L"Escape"));
    ASSERT_TRUE(s.Gone(kWrap));
    EXPECT_EQ(s.Settings(), before);
    EXPECT_EQ(s.Rows(), 2);

    // Last: at the window's edge, for the next start.
    d = TWrapDialog(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr);
    ASSERT_TRUE(Session::Click(d.right));
    ASSERT_TRUE(WaitFor([&] { return d.State() == "OxOc"; })) << d.State();
    ASSERT_TRUE(Session::Keys(d.dialog, L"Return"));
    ASSERT_TRUE(s.Gone(kWrap));
  }
  // The next start wraps at the window's edge and the dialog says so.
  Session s(FFolder, "", kLongLine);
  ASSERT_TRUE(s.Ready());
  EXPECT_GT(s.Rows(), 4);
  EXPECT_FALSE(s.HorizontalBar());
  TWrapDialog d(s.Open(L"F3", kWrap));
  ASSERT_NE(d.dialog, nullptr);
  EXPECT_EQ(d.State(), "OxOc");
  EXPECT_EQ(TextOf(d.column), L"1000");
  ASSERT_TRUE(Session::Keys(d.dialog, L"Escape"));
  EXPECT_TRUE(s.Gone(kWrap));
}

TEST_F(SettingsDialogs, DisplayDialogMarksTabWidthAndRestart) {
  const std::vector<std::wstring> boxes = {L"行番号表示",         L"下線表示",
                                           L"[EOF]の表示",        L"改行文字の表示",
                                           L"全角スペースの表示", L"TAB文字の表示"};
  {
    Session s(FFolder, "[System]\r\nTABCount=3\r\n", "");
    ASSERT_TRUE(s.Ready());
    ASSERT_GT(s.MarkPixels(), 0) << "no [EOF] to begin with";
    HWND d = s.Open(L"alt+o Return", kDisplay);
    ASSERT_NE(d, nullptr) << "no display dialog from the menu";
    RECT frame{};
    ::GetWindowRect(d, &frame);
    EXPECT_EQ(frame.left, 348);
    EXPECT_EQ(frame.top, 250);
    EXPECT_EQ(ClientSize(d).cx, 317);
    EXPECT_EQ(ClientSize(d).cy, 221);
    const std::vector<std::vector<long>> places = {{40, 16, 89, 25},   {40, 56, 89, 25},
                                                   {40, 96, 97, 25},   {184, 16, 113, 25},
                                                   {40, 136, 129, 25}, {184, 56, 113, 25}};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      HWND box = Child(d, boxes[i]);
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(IsChecked(box)) << i;
      EXPECT_EQ(Place(d, box), places[i]) << i;
    }
    HWND list = Child(d, L"", L"ComboBox");
    EXPECT_EQ(TextOf(list), L"2");  // a tab width of 3 shows 2
    EXPECT_EQ(Place(d, list), (std::vector<long>{264, 96, 41, 20}));
    EXPECT_EQ(Place(d, Child(d, L"TABの文字数")), (std::vector<long>{184, 100, 76, 13}));
    HWND ok = Child(d, L"OK");
    EXPECT_EQ(Place(d, ok), (std::vector<long>{64, 176, 89, 25}));
    EXPECT_EQ(Place(d, Child(d, L"キャンセル")), (std::vector<long>{184, 176, 89, 25}));
    SaveScreenshot(d, "screenshot-dialog-display.png");

    // "[EOF]の表示" off; Enter is no OK here, the OK button is.
    HWND eof = Child(d, L"[EOF]の表示");
    ASSERT_TRUE(Session::Click(eof));
    ASSERT_TRUE(WaitFor([&] { return !IsChecked(eof); }));
    ASSERT_TRUE(Session::Keys(d, L"Return"));
    std::this_thread::sleep_for(700ms);
    EXPECT_NE(s.DialogNow(kDisplay), nullptr) << "Enter closed the dialog";
    ASSERT_TRUE(Session::Click(ok));
    ASSERT_TRUE(s.Gone(kDisplay));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(s.MarkPixels(), 0) << "[EOF] still shown";
    for (const char* line : {"ShowLineNumber=1", "ShowUnderLine=1", "ShowEOF=0", "ShowCR=1",
                             "ShowDblSpace=1", "ShowTAB=1", "TABCount=2"}) {
      EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
    }

    // Cancel after a change leaves everything as it was.
    const std::string before = s.Settings();
    d = s.Open(L"alt+o Return", kDisplay);
    ASSERT_NE(d, nullptr);
    HWND eofAgain = Child(d, L"[EOF]の表示");
    EXPECT_FALSE(IsChecked(eofAgain));
    ASSERT_TRUE(Session::Click(eofAgain));
    ASSERT_TRUE(WaitFor([&] { return IsChecked(eofAgain); }));
    ASSERT_TRUE(Session::Click(Child(d, L"キャンセル")));
    ASSERT_TRUE(s.Gone(kDisplay));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(s.MarkPixels(), 0);
    EXPECT_EQ(s.Settings(), before);
  }
  // The next start keeps the mark hidden and the tab width at 2.
  Session s(FFolder, "", "");
  ASSERT_TRUE(s.Ready());
  EXPECT_EQ(s.MarkPixels(), 0);
  HWND d = s.Open(L"alt+o Return", kDisplay);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(IsChecked(Child(d, L"[EOF]の表示")));
  EXPECT_EQ(TextOf(Child(d, L"", L"ComboBox")), L"2");
  ASSERT_TRUE(Session::Keys(d, L"Escape"));
  EXPECT_TRUE(s.Gone(kDisplay));
}

TEST_F(SettingsDialogs, VersionDialogTextsLinkAndKeys) {
  Session s(FFolder, "", "");
  ASSERT_TRUE(s.Ready());
  HWND d = s.Open(L"alt+h Return", kAbout);
  ASSERT_NE(d, nullptr) << "no version dialog from the menu";
  EXPECT_EQ(ClientSize(d).cx, 300);
  EXPECT_EQ(ClientSize(d).cy, 226);
  const std::wstring texts = ChildTexts(d);
  for (const wchar_t* text :
       {L"Notavo Varsion1.55\n", L"URL ：\n", L"https://notavo.example.org/\n",
        L"Notavo の著作権は作者が保有します。\r\n"}) {
    EXPECT_NE(texts.find(text), std::wstring::npos) << win32::NarrowCp932(text);
  }
  HWND version = Child(d, L"Notavo Varsion1.55");
  EXPECT_EQ(Place(d, version), (std::vector<long>{96, 19, 120, 13}));
  HWND ok = Child(d, L"OK");
  EXPECT_EQ(Place(d, ok), (std::vector<long>{111, 188, 75, 25}));
  EXPECT_TRUE(::GetWindowLongW(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);

  // The link: blue, red under the pointer, blue again when it leaves.
  HWND link = Child(d, L"https://notavo.example.org/");
  RECT all{0, 0, ClientSize(link).cx, ClientSize(link).cy};
  ASSERT_TRUE(PointAt(d, 5, 5));
  std::this_thread::sleep_for(300ms);
  EXPECT_GT(ClientCapture(link, ClientCapture::kScreen).Count(all, kBlue), 0);
  ASSERT_TRUE(PointAt(link, 10, ClientSize(link).cy / 2));
  EXPECT_TRUE(WaitFor([&] {
    return ClientCapture(link, ClientCapture::kScreen).Count(all, kRed) > 0;
  })) << "the link did not turn red";
  SaveScreenshot(d, "screenshot-dialog-version.png");
  ASSERT_TRUE(PointAt(d, 5, 5));
  EXPECT_TRUE(WaitFor([&] {
    return ClientCapture(link, ClientCapture::kScreen).Count(all, kRed) == 0;
  })) << "the link stayed red";

  // Esc does nothing (there is no cancel button); Enter is OK.
  ASSERT_TRUE(Session::Keys(d, L"Escape"));
  std::this_thread::sleep_for(700ms);
  EXPECT_NE(s.DialogNow(kAbout), nullptr) << "Esc closed the version dialog";
  ASSERT_TRUE(Session::Keys(d, L"Return"));
  EXPECT_TRUE(s.Gone(kAbout));
}

}  // namespace
}  // namespace notavo
