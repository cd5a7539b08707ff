// The wrap settings, display settings and version dialogs in the running
// notavo.exe with real keys and clicks (xdotool): their controls at their
// places, what each choice does to the view and the settings file, the
// settings after a restart. NOTAVO_SCREENSHOTS: where the pictures go.
#include "tests/wine/notavo_session.h"
// clang-format on
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

namespace notavo {
namespace {

using namespace std::chrono_literals;
using namespace notavo::testing;

constexpr DWORD kTeal = 0x008080, kRed = 0xFF0000, kBlue = 0x0000FF;
const std::wstring kWrap = L"折り返し設定", kDisplay = L"設定", kAbout = L"バージョン情報";

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = L"";
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &result);
  return text;
}

// The first child with this text, or of this class.
HWND Child(HWND parent, const std::wstring& text, const wchar_t* className = nullptr) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
    wchar_t name[64] = L"";
    ::GetClassNameW(c, name, 64);
    if (className != nullptr ? _wcsicmp(name, className) == 0 : TextOf(c) == text) return c;
  }
  return nullptr;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return {r.right, r.bottom};
}

// Each control at its place in the dialog's client area: x, y, width, height.
void ExpectPlaces(HWND dialog, SIZE client,
                  const std::vector<std::pair<HWND, std::array<long, 4>>>& places) {
  EXPECT_EQ(ClientSize(dialog).cx, client.cx);
  EXPECT_EQ(ClientSize(dialog).cy, client.cy);
  for (const auto& [control, place] : places) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::array<long, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}), place)
        << win32::NarrowCp932(TextOf(control));
  }
}

bool IsChecked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The program on a document, with `settings` as its settings file (none
// when empty), and what the settings dialogs change.
class DialogSession : public Session {
 public:
  DialogSession(const TempFolder& folder, const std::string& settings, const std::string& document)
      : Session((Prepare(folder, settings, document), folder), folder / L"text.txt"),
        FIni(folder / L"notavo.ini") {}

  std::string Settings() const {
    return ::GetFileAttributesW(FIni.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : ReadWholeFile(FIni);
  }
  bool HasSetting(const std::string& line) const {
    return Settings().find(line + "\r\n") != std::string::npos;
  }
  int Rows() const { return static_cast<int>(::SendMessageW(Editor(), EM_GETLINECOUNT, 0, 0)); }
  bool HorizontalBar() const { return (::GetWindowLongW(Editor(), GWL_STYLE) & WS_HSCROLL) != 0; }
  // End-of-text mark pixels on the screen, right of the gutter (where the
  // caret stands at the start) and below the ruler.
  int MarkPixels() const {
    ::SendMessageW(Editor(), ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS"), 0, 0);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(Editor(), nullptr), &info);
    const RECT area{info.rcCaret.left, 12, ClientSize(Editor()).cx, ClientSize(Editor()).cy};
    return ClientCapture(Editor(), ClientCapture::kScreen).Count(area, kTeal);
  }

  HWND DialogNow(const std::wstring& caption) const {
    const auto found = DialogTitled(caption, 0ms);
    return found ? found->handle : nullptr;
  }
  bool Gone(const std::wstring& caption) const {
    return WaitFor([&] { return DialogNow(caption) == nullptr; }, kDialogTimeout);
  }
  // The dialog `keys` typed into the editor open.
  HWND Open(const std::wstring& keys, const std::wstring& caption) const {
    const auto found = Keys(keys) ? DialogTitled(caption) : std::nullopt;
    std::this_thread::sleep_for(300ms);  // painted
    return found ? found->handle : nullptr;
  }
  // A notice's texts, after answering it.
  std::wstring Notice() const {
    const auto box = DialogTitled(L"Notavo");
    if (!box) return L"<no notice>";
    const std::wstring texts = ChildTexts(box->handle);
    DialogKeys(box->handle, L"key Return");
    Gone(L"Notavo");
    return texts;
  }

  static bool Click(HWND control) {
    return PointAt(control, ClientSize(control).cx / 2, ClientSize(control).cy / 2) &&
           Xdotool(L"click 1");
  }
  static bool Press(HWND dialog, const std::wstring& keys) {
    return DialogKeys(dialog, L"key --delay 60 " + keys);
  }
  // The combo box's text replaced: one run of xdotool, since runs cannot be
  // waited for and would overlap.
  static bool Retype(HWND combo, const std::wstring& text) {
    return PointAt(combo, 10, ClientSize(combo).cy / 2) &&
           Xdotool(L"click 1 sleep 0.3 key --delay 60 End shift+Home BackSpace type --delay 60 \"" +
                   text + L"\"");
  }

 private:
  static void Prepare(const TempFolder& folder, const std::string& settings,
                      const std::string& document) {
    if (!settings.empty()) WriteWholeFile(folder / L"notavo.ini", settings);
    WriteWholeFile(folder / L"text.txt", document);
  }

  std::wstring FIni;
};

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
  }
  TempFolder FFolder;
};

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

// One use of the wrap dialog: the box clicked and the column typed (when
// given), the key that closes it, the notice it gives; then the rows of the
// document (0: more than 4, wrapped at the window's edge), the horizontal
// bar, the flags stored (RightReturn, SetReturn, NoReturn) and "SetNum"
// ("max": the widest column); no flags: the file as it was.
struct TWrapStep {
  HWND TWrapDialog::*box;
  const wchar_t *typed, *key, *notice;
  int rows;
  bool bar;
  const char *flags, *setNum;
};

TEST_F(SettingsDialogs, WrapDialogModesColumnsCancelAndRestart) {
  {
    DialogSession s(FFolder, "", kLongLine);
    ASSERT_TRUE(s.Ready());
    // No settings file: no wrapping chosen; the column box disabled at "10".
    TWrapDialog d(s.Open(L"F3", kWrap));
    ASSERT_NE(d.dialog, nullptr) << "F3 opened no wrap dialog";
    EXPECT_EQ(d.State(), "xOOc");
    EXPECT_EQ(TextOf(d.column), L"10");
    ExpectPlaces(d.dialog, {312, 163},
                 {{d.no, {24, 24, 97, 25}},
                  {d.right, {24, 56, 121, 25}},
                  {d.set, {24, 88, 121, 25}},
                  {d.column, {64, 120, 49, 20}},
                  {d.ok, {220, 24, 75, 25}},
                  {d.cancel, {220, 70, 75, 25}}});
    EXPECT_TRUE(::GetWindowLongW(d.ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
    SaveScreenshot(d.dialog, "screenshot-dialog-return.png");
    ASSERT_TRUE(DialogSession::Press(d.dialog, L"Escape"));
    ASSERT_TRUE(s.Gone(kWrap));

    using W = TWrapDialog;
    const TWrapStep steps[] = {
        {&W::right, nullptr, L"Return", nullptr, 0, false, "100", "10"},
        {&W::set, L"100", L"Return", nullptr, 4, true, "010", "100"},
        {nullptr, L"99999", L"Return", L"以上は範囲外です", 2, true, "010", "max"},
        {nullptr, L"9", L"Return", L"10未満は範囲外です", 2, true, "010", "max"},
        // A column that is no number wraps at 1000 and is stored so, silently.
        {nullptr, L"abc", L"Return", nullptr, 2, true, "010", "1000"},
        {&W::no, nullptr, L"Return", nullptr, 2, true, "001", "1000"},
        {&W::right, nullptr, L"Escape", nullptr, 2, true, nullptr, nullptr},  // Cancel
        {&W::right, nullptr, L"Return", nullptr, 0, false, "100", "1000"},
    };
    std::string widest;  // as the refusal says it
    for (const TWrapStep& step : steps) {
      SCOPED_TRACE(win32::NarrowCp932(step.typed != nullptr ? step.typed : step.key));
      const std::string before = s.Settings();
      d = TWrapDialog(s.Open(L"F3", kWrap));
      ASSERT_NE(d.dialog, nullptr);
      if (step.box != nullptr) {
        ASSERT_TRUE(DialogSession::Click(d.*step.box));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(d.*step.box); })) << d.State();
        EXPECT_TRUE(IsChecked(d.*step.box));
        EXPECT_EQ(::IsWindowEnabled(d.column) != FALSE, step.box == &TWrapDialog::set);
      }
      if (step.typed != nullptr) {
        ASSERT_TRUE(DialogSession::Retype(d.column, step.typed));
        ASSERT_TRUE(WaitFor([&] { return TextOf(d.column) == step.typed; })) << TextOf(d.column);
      }
      ASSERT_TRUE(DialogSession::Press(d.dialog, step.key));
      const std::wstring notice = step.notice != nullptr ? s.Notice() : L"";
      ASSERT_TRUE(s.Gone(kWrap));
      if (step.notice != nullptr) {
        const std::size_t at = notice.find(step.notice);
        ASSERT_NE(at, std::wstring::npos) << win32::NarrowCp932(notice);
        std::size_t from = at;
        while (from > 0 && iswdigit(notice[from - 1])) --from;
        if (widest.empty()) widest = win32::NarrowCp932(notice.substr(from, at - from));
      } else {
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(s.DialogNow(L"Notavo"), nullptr) << "an unexpected notice";
      }
      EXPECT_TRUE(step.rows > 0 ? s.Rows() == step.rows : s.Rows() > 4) << s.Rows();
      EXPECT_EQ(s.HorizontalBar(), step.bar);
      if (step.flags == nullptr) {
        EXPECT_EQ(s.Settings(), before);
        continue;
      }
      const std::string setNum = step.setNum == std::string("max") ? widest : step.setNum;
      for (const std::string& line :
           {"RightReturn=" + std::string(1, step.flags[0]),
            "SetReturn=" + std::string(1, step.flags[1]),
            "NoReturn=" + std::string(1, step.flags[2]), "SetNum=" + setNum}) {
        EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
      }
    }
    EXPECT_GT(std::stoi(widest), 250);
  }
  // The next start wraps at the window's edge and the dialog says so.
  DialogSession s(FFolder, "", kLongLine);
  ASSERT_TRUE(s.Ready());
  EXPECT_GT(s.Rows(), 4);
  EXPECT_FALSE(s.HorizontalBar());
  TWrapDialog d(s.Open(L"F3", kWrap));
  ASSERT_NE(d.dialog, nullptr);
  EXPECT_EQ(d.State(), "OxOc");
  EXPECT_EQ(TextOf(d.column), L"1000");
  ASSERT_TRUE(DialogSession::Press(d.dialog, L"Escape"));
  EXPECT_TRUE(s.Gone(kWrap));
}

TEST_F(SettingsDialogs, DisplayDialogMarksAndTabWidth) {
  const std::wstring kEof = L"[EOF]の表示";
  DialogSession s(FFolder, "[System]\r\nTABCount=3\r\n", "");
  ASSERT_TRUE(s.Ready());
  ASSERT_GT(s.MarkPixels(), 0) << "no [EOF] to begin with";
  HWND d = s.Open(L"alt+o Return", kDisplay);
  ASSERT_NE(d, nullptr) << "no display dialog from the menu";
  RECT frame{};
  ::GetWindowRect(d, &frame);
  EXPECT_EQ(frame.left, 348);
  EXPECT_EQ(frame.top, 250);
  const std::vector<std::wstring> boxes = {
      L"行番号表示", L"下線表示", kEof, L"改行文字の表示", L"全角スペースの表示", L"TAB文字の表示"};
  for (const std::wstring& box : boxes) EXPECT_TRUE(IsChecked(Child(d, box)));
  HWND list = Child(d, L"", L"ComboBox"), ok = Child(d, L"OK");
  EXPECT_EQ(TextOf(list), L"2");  // a tab width of 3 shows 2
  ExpectPlaces(d, {317, 221},
               {{Child(d, boxes[0]), {40, 16, 89, 25}},
                {Child(d, boxes[1]), {40, 56, 89, 25}},
                {Child(d, boxes[2]), {40, 96, 97, 25}},
                {Child(d, boxes[3]), {184, 16, 113, 25}},
                {Child(d, boxes[4]), {40, 136, 129, 25}},
                {Child(d, boxes[5]), {184, 56, 113, 25}},
                {Child(d, L"TABの文字数"), {184, 100, 76, 13}},
                {list, {264, 96, 41, 20}},
                {ok, {64, 176, 89, 25}},
                {Child(d, L"キャンセル"), {184, 176, 89, 25}}});
  SaveScreenshot(d, "screenshot-dialog-display.png");

  // "[EOF]の表示" off; Enter is no OK here, the OK button is; the mark goes
  // at once and the tab width shown is stored.
  HWND eof = Child(d, kEof);
  ASSERT_TRUE(DialogSession::Click(eof));
  ASSERT_TRUE(WaitFor([&] { return !IsChecked(eof); }));
  ASSERT_TRUE(DialogSession::Press(d, L"Return"));
  std::this_thread::sleep_for(700ms);
  EXPECT_NE(s.DialogNow(kDisplay), nullptr) << "Enter closed the dialog";
  ASSERT_TRUE(DialogSession::Click(ok));
  ASSERT_TRUE(s.Gone(kDisplay));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(s.MarkPixels(), 0) << "[EOF] still shown";
  for (const char* line : {"ShowLineNumber=1", "ShowUnderLine=1", "ShowEOF=0", "ShowCR=1",
                           "ShowDblSpace=1", "ShowTAB=1", "TABCount=2"}) {
    EXPECT_TRUE(s.HasSetting(line)) << line << " in\n" << s.Settings();
  }
}

TEST_F(SettingsDialogs, VersionDialogTextsLinkAndKeys) {
  DialogSession s(FFolder, "", "");
  ASSERT_TRUE(s.Ready());
  HWND d = s.Open(L"alt+h Return", kAbout);
  ASSERT_NE(d, nullptr) << "no version dialog from the menu";
  const std::wstring texts = ChildTexts(d);
  for (const wchar_t* text :
       {L"Notavo Varsion1.55\n", L"URL ：\n", L"https://notavo.example.org/\n",
        L"Notavo の著作権は作者が保有します。\r\n"}) {
    EXPECT_NE(texts.find(text), std::wstring::npos) << win32::NarrowCp932(text);
  }
  HWND ok = Child(d, L"OK"), link = Child(d, L"https://notavo.example.org/");
  ExpectPlaces(d, {300, 226},
               {{Child(d, L"Notavo Varsion1.55"), {96, 19, 120, 13}}, {ok, {111, 188, 75, 25}}});
  EXPECT_TRUE(::GetWindowLongW(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);

  // The link: blue, red under the pointer.
  const RECT all{0, 0, ClientSize(link).cx, ClientSize(link).cy};
  const auto pixels = [&](DWORD rgb) {
    return ClientCapture(link, ClientCapture::kScreen).Count(all, rgb);
  };
  ASSERT_TRUE(PointAt(d, 5, 5));
  EXPECT_TRUE(WaitFor([&] { return pixels(kBlue) > 0 && pixels(kRed) == 0; }));
  ASSERT_TRUE(PointAt(link, 10, ClientSize(link).cy / 2));
  EXPECT_TRUE(WaitFor([&] { return pixels(kRed) > 0; })) << "the link did not turn red";
  SaveScreenshot(d, "screenshot-dialog-version.png");

  // Esc does nothing (there is no cancel button); Enter is OK.
  ASSERT_TRUE(DialogSession::Press(d, L"Escape"));
  std::this_thread::sleep_for(700ms);
  EXPECT_NE(s.DialogNow(kAbout), nullptr) << "Esc closed the version dialog";
  ASSERT_TRUE(DialogSession::Press(d, L"Return"));
  EXPECT_TRUE(s.Gone(kAbout));
}

}  // namespace
}  // namespace notavo
