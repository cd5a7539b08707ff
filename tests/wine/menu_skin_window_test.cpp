// The menu skin in the running notavo.exe, opened with real keys (xdotool):
// the File menu and the editor's context menu read back from the screen
// (icon column, background, the framed selection bar, a separator, a
// disabled item's text, an access key), the panels' bevels, the recent
// list's frame and a dialog's edit box, and the program's GDI objects
// counted before and after opening and closing the menus fifty times. With
// NOTAVO_SCREENSHOTS set to a Unix folder both menus are left there as
// screenshots.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "menuskin/skin_color.h"
#include "menuskin/skin_palette.h"
#include "tests/wine/gdi_object_count.h"
#include "tests/wine/notavo_process.h"
#include "tests/wine/real_input.h"
#include "tests/wine/running_editor.h"
#include "tests/wine/test_support.h"

namespace notavo::menuskin {
namespace {

using namespace std::chrono_literals;
using testing::ClientCapture;
using testing::NotavoProcess;
using testing::WaitFor;
using testing::WindowInfo;

// Screen pixels are read as 0x00RRGGBB.
DWORD SwapToRgb(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

class MenuSkinWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
    FNotavo.emplace(std::nullopt,
                    testing::NotavoCopyWithSettings(FFolder.Path(), testing::kWrapAt1000Settings));
    const std::optional<WindowInfo> main = FNotavo->WaitForWindow(L"NotavoMainForm");
    ASSERT_TRUE(main.has_value());
    FNotavo->WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
    ASSERT_NE(FEditor, nullptr);
  }
  // Closes the program as a user does (a program ended from outside can
  // leave Wine's desktop waiting for it): menus first, then the window, a
  // question on the way answered with No.
  void TearDown() override {
    if (!FNotavo || !FNotavo->Running()) return;
    Keys(L"Escape Escape");
    std::this_thread::sleep_for(500ms);
    for (int attempt = 0; attempt < 3 && FNotavo->Running(); ++attempt) {
      for (const WindowInfo& w : FNotavo->Windows()) {
        if (w.className == L"#32770") ::PostMessageW(w.handle, WM_COMMAND, IDNO, 0);
      }
      ::PostMessageW(FMain, WM_CLOSE, 0, 0);
      WaitFor([&] { return !FNotavo->Running(); }, 5s);
    }
  }

  // Keys with the pointer over the editor (the keyboard follows it).
  bool Keys(const std::wstring& keys) const {
    RECT client{};
    ::GetClientRect(FEditor, &client);
    return testing::PointAt(FEditor, client.right / 2, client.bottom / 2) &&
           testing::Xdotool(L"key --delay 60 " + keys);
  }
  std::optional<HWND> OpenMenu() const {
    std::optional<HWND> found;
    WaitFor([&] {
      for (const WindowInfo& w : FNotavo->Windows()) {
        if (w.className == L"#32768") found = w.handle;
      }
      return found.has_value();
    });
    return found;
  }
  bool MenusClosed() const {
    return WaitFor([&] {
      for (const WindowInfo& w : FNotavo->Windows()) {
        if (w.className == L"#32768") return false;
      }
      return true;
    });
  }
  long GdiObjects() const {
    const std::optional<long> count =
        testing::GdiObjectCount(FNotavo->Process(), ::GetProcessId(FNotavo->Process()));
    return count.value_or(-1);
  }

  static TSkinPalette Expected() {
    return EffectivePalette(
        MainWindowXPMenuOptions(), [](int index) { return ::GetSysColor(index); }, true);
  }

  testing::TempFolder FFolder;
  std::optional<NotavoProcess> FNotavo;
  HWND FMain = nullptr, FEditor = nullptr;
};

// Rows of the menu where `color` fills at least `share` of the columns
// from `left` to the right edge.
std::vector<int> RowsOf(const ClientCapture& menu, const RECT& client, TColor color, int left,
                        double share) {
  std::vector<int> rows;
  const DWORD rgb = SwapToRgb(color);
  for (int y = 0; y < client.bottom; ++y) {
    if (menu.Share(RECT{left, y, client.right, y + 1}, rgb) >= share) rows.push_back(y);
  }
  return rows;
}

// What every skinned drop-down shows, read along a separator: the line
// starts 7 pixels after the icon column, in the background's colour in
// between; and a disabled item's text.
void ExpectSkinnedDropDown(HWND menuWindow, const TSkinPalette& p) {
  const ClientCapture menu(menuWindow, ClientCapture::kScreen);
  RECT client{};
  ::GetClientRect(menuWindow, &client);
  const std::vector<int> separators = RowsOf(menu, client, p.Separator, 40, 0.9);
  ASSERT_FALSE(separators.empty());
  const int y = separators.front();
  int start = 0;
  while (start < client.right && menu.At(start, y) != SwapToRgb(p.Separator)) ++start;
  const int iconRight = start - 7;
  ASSERT_GE(iconRight, 24);
  EXPECT_EQ(menu.Count(RECT{iconRight - 24, y, iconRight, y + 1}, SwapToRgb(p.IconColumn)), 24);
  EXPECT_EQ(menu.Count(RECT{iconRight, y, start, y + 1}, SwapToRgb(p.MenuBackground)), 7);
  // The separator item is 4 pixels high: background above the line.
  EXPECT_GT(menu.Share(RECT{start, y - 1, client.right - 10, y}, SwapToRgb(p.MenuBackground)), 0.9);
  EXPECT_EQ(menu.At(iconRight - 12, y - 1), SwapToRgb(p.IconColumn));
  EXPECT_GT(menu.Count(client, SwapToRgb(p.DisabledText)), 20);
}

TEST_F(MenuSkinWindow, FileMenuAndContextMenuAreDrawnInTheSkinsColours) {
  const TSkinPalette p = Expected();
  // The File menu with the keyboard, one item down: a selection bar.
  ASSERT_TRUE(Keys(L"alt+f Down"));
  const std::optional<HWND> file = OpenMenu();
  ASSERT_TRUE(file.has_value());
  std::this_thread::sleep_for(500ms);
  ExpectSkinnedDropDown(*file, p);
  {
    const ClientCapture menu(*file, ClientCapture::kScreen);
    RECT client{};
    ::GetClientRect(*file, &client);
    // The highlighted item: its fill between two frame lines.
    const std::vector<int> filled = RowsOf(menu, client, p.SelectFill, 2, 0.5);
    ASSERT_FALSE(filled.empty());
    const int top = filled.front() - 1, bottom = filled.back() + 1;
    EXPECT_GT(menu.Share(RECT{1, top, client.right - 1, top + 1}, SwapToRgb(p.SelectFrame)), 0.9);
    EXPECT_GT(menu.Share(RECT{1, bottom, client.right - 1, bottom + 1}, SwapToRgb(p.SelectFrame)),
              0.9);
    EXPECT_LT(bottom - top, 40);
  }
  testing::SaveScreenshot(FMain, "screenshot-menu-file.png");
  ASSERT_TRUE(Keys(L"Escape Escape"));
  ASSERT_TRUE(MenusClosed());

  // The context menu from the keyboard: Undo and Redo are disabled.
  ASSERT_TRUE(Keys(L"shift+F10"));
  const std::optional<HWND> context = OpenMenu();
  ASSERT_TRUE(context.has_value());
  std::this_thread::sleep_for(500ms);
  ExpectSkinnedDropDown(*context, p);
  testing::SaveScreenshot(FMain, "screenshot-menu-context.png");
  ASSERT_TRUE(Keys(L"Escape"));
  ASSERT_TRUE(MenusClosed());

  // The access keys of drawn items still choose them: "名前をつけて保存(&A)...".
  ASSERT_TRUE(Keys(L"alt+f a"));
  std::optional<WindowInfo> dialog;
  EXPECT_TRUE(WaitFor([&] {
    for (const WindowInfo& w : FNotavo->Windows()) {
      if (w.className == L"#32770") dialog = w;
    }
    return dialog.has_value();
  }));
  if (dialog) {
    ::PostMessageW(dialog->handle, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog->handle); }));
  }
}

TEST_F(MenuSkinWindow, PanelsTheRecentListAndADialogsEditBoxAreFramedInTheSkinsColours) {
  HWND list = ::FindWindowExW(FMain, nullptr, L"ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(Keys(L"Right"));  // the pointer over the editor, the keyboard in it
  FNotavo->WaitUntilIdle();
  std::this_thread::sleep_for(300ms);
  RECT r{};
  ::GetWindowRect(list, &r);
  ::MapWindowPoints(nullptr, FMain, reinterpret_cast<POINT*>(&r), 2);
  const TColor face = ::GetSysColor(COLOR_BTNFACE), window = ::GetSysColor(COLOR_WINDOW);
  const TColor light = LightenColor(face, 60), dark = DarkenColor(face, 60);
  const auto rgb = [](TColor c) { return SwapToRgb(c); };
  {
    const ClientCapture client(FMain, ClientCapture::kScreen);
    // Raised bevels: light at the top and left, dark at the bottom and right,
    // round the editor's panel and round the list's.
    EXPECT_EQ(client.At(0, 5), rgb(light));
    EXPECT_EQ(client.At(5, 0), rgb(light));
    EXPECT_EQ(client.At(r.right, 5), rgb(dark));
    EXPECT_EQ(client.At(r.left - 1, r.top + 5), rgb(light));
    EXPECT_EQ(client.At(r.right, r.top + 5), rgb(dark));
    EXPECT_EQ(client.At(r.left + 5, r.bottom), rgb(dark));
    // The panels stay under their controls: the editor shows.
    EXPECT_GT(client.Share(RECT{r.left + 20, 30, r.right - 20, r.top - 30}, rgb(0xFFFFFF)), 0.5);
    // The list, neither focused nor under the pointer: a quiet frame.
    EXPECT_EQ(client.At(r.left, r.top + 5), rgb(DarkenColor(window, 60)));
    EXPECT_EQ(client.At(r.left + 1, r.top + 5), rgb(window));
  }
  // F6 puts the keyboard into the list: its frame lights up.
  ASSERT_TRUE(Keys(L"F6"));
  ASSERT_TRUE(WaitFor([&] {
    const ClientCapture client(FMain, ClientCapture::kScreen);
    return client.At(r.left, r.top + 5) == rgb(LightenColor(Expected().SelectFrame, 60));
  }));

  // The find dialog, made after the skin: its edit box has the keyboard and
  // the lit frame inside an edge in the dialog's colour.
  ASSERT_TRUE(Keys(L"alt+s f"));
  std::optional<WindowInfo> dialog;
  ASSERT_TRUE(WaitFor([&] {
    for (const WindowInfo& w : FNotavo->Windows()) {
      if (w.className == L"#32770") dialog = w;
    }
    return dialog.has_value();
  }));
  HWND edit = ::FindWindowExW(dialog->handle, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  RECT e{};
  ::GetWindowRect(edit, &e);
  ::MapWindowPoints(nullptr, dialog->handle, reinterpret_cast<POINT*>(&e), 2);
  EXPECT_TRUE(WaitFor([&] {
    const ClientCapture box(dialog->handle, ClientCapture::kScreen);
    return box.At(e.left + 10, e.top) == rgb(face) &&
           box.At(e.left + 10, e.top + 1) == rgb(LightenColor(Expected().SelectFrame, 60));
  }));
  ::PostMessageW(dialog->handle, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog->handle); }));
}

TEST_F(MenuSkinWindow, OpeningAndClosingMenusFiftyTimesLeavesNoGdiObjectBehind) {
  // Once first: fonts and caches that stay for good.
  ASSERT_TRUE(Keys(L"alt+f Down Escape Escape shift+F10 Down Escape"));
  ASSERT_TRUE(MenusClosed());
  std::this_thread::sleep_for(500ms);
  const long before = GdiObjects();
  ASSERT_GT(before, 0) << "the GDI handle table could not be read";
  std::wstring keys;
  for (int i = 0; i < 50; ++i) keys += L"alt+f Down Right Escape Escape shift+F10 Down Escape ";
  ASSERT_TRUE(Keys(keys));
  // 400 keys 60 ms apart, then the menus closed.
  std::this_thread::sleep_for(30s);
  ASSERT_TRUE(MenusClosed());
  std::this_thread::sleep_for(1s);
  FNotavo->WaitUntilIdle();
  const long after = GdiObjects();
  EXPECT_EQ(after, before);
  std::printf("GDI objects before %ld, after 50 rounds %ld\n", before, after);
}

}  // namespace
}  // namespace notavo::menuskin
