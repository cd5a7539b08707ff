// The menu skin on windows and menus of this test program: handlers put on
// random menu trees and taken off again without a trace, items tagged 999
// and items that draw themselves left alone, owner-draw requests answered
// (a check mark, a radio dot, the selection bar), access keys of drawn
// items, and the frames of a dialog's controls made after the skin.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// clang-format on
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "hook/subclassed_window.h"
#include "menuskin/skin_color.h"
#include "menuskin/win32/control_tag.h"
#include "menuskin/win32/menu_font.h"
#include "menuskin/win32/xp_menu.h"
#include "menuskin/win32/xp_menu_manager.h"
#include "platform/win32/win32_surface.h"

namespace notavo::menuskin {
namespace {

using testing::PumpMessages;

HWND Parent() {
  static HWND parent = testing::ShowParentWindow(L"NotavoMenuSkinTest", L"menu skin");
  return parent;
}

struct TItemState {
  UINT Type;
  ULONG_PTR Data;
  friend bool operator==(const TItemState&, const TItemState&) = default;
};

// Every item of a menu tree, depth first.
std::vector<TItemState> Snapshot(HMENU menu) {
  std::vector<TItemState> items;
  const std::function<void(HMENU)> walk = [&](HMENU m) {
    for (int i = 0; i < ::GetMenuItemCount(m); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
      ::GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &info);
      items.push_back({info.fType, info.dwItemData});
      if (info.hSubMenu != nullptr) walk(info.hSubMenu);
    }
  };
  walk(menu);
  return items;
}

// A random menu bar, and for each item (in Snapshot's order) whether the
// skin must draw it.
struct TRandomMenu {
  HMENU Bar = ::CreateMenu();
  std::vector<bool> Drawn;
};

TRandomMenu MakeRandomMenu(std::mt19937& random, bool drawMenuBar, bool takeOver) {
  TRandomMenu result;
  std::uniform_int_distribution<int> percent(0, 99);
  // Fills `menu`; `skipped`: below an item tagged 999.
  const std::function<void(HMENU, int, bool, bool)> fill = [&](HMENU menu, int depth, bool bar,
                                                               bool skipped) {
    const int count = 1 + percent(random) % 5;
    for (int i = 0; i < count; ++i) {
      const int kind = percent(random);
      const bool tagged = kind < 15, selfDrawn = kind >= 15 && kind < 25,
                 separator = !bar && kind >= 25 && kind < 35;
      const bool sub = bar || (depth < 3 && percent(random) < 25);
      HMENU subMenu = sub ? ::CreatePopupMenu() : nullptr;
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STRING | (sub ? MIIM_SUBMENU : 0);
      info.fType = separator ? MFT_SEPARATOR : selfDrawn ? MFT_OWNERDRAW : MFT_STRING;
      info.dwItemData = tagged ? kNoSkinTag : selfDrawn ? 42 : 7;
      info.wID = static_cast<UINT>(100 + result.Drawn.size());
      wchar_t text[] = L"項目(&I)\tCtrl+I";
      info.dwTypeData = text;
      info.hSubMenu = subMenu;
      ::InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &info);
      const bool drawn = !skipped && !tagged && (!selfDrawn || takeOver) && (!bar || drawMenuBar);
      result.Drawn.push_back(drawn);
      if (subMenu != nullptr) fill(subMenu, depth + 1, false, skipped || tagged);
    }
  };
  fill(result.Bar, 0, true, false);
  return result;
}

class MenuSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Parent();  // registers the window class too
    FWindow = ::CreateWindowExW(0, L"NotavoMenuSkinTest", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    FForm = std::make_unique<TSubclassedWindow>(FWindow);
  }
  void TearDown() override {
    FForm.reset();
    ::DestroyWindow(FWindow);
  }

  HWND FWindow = nullptr;
  std::unique_ptr<TSubclassedWindow> FForm;
};

TEST_F(MenuSkinTest, RandomMenusGetHandlersWhereAllowedAndLoseThemWithoutATrace) {
  std::mt19937 random(514);
  for (int round = 0; round < 60; ++round) {
    const bool drawMenuBar = round % 3 == 0, takeOver = round % 2 == 0;
    TRandomMenu menu = MakeRandomMenu(random, drawMenuBar, takeOver);
    ::SetMenu(FWindow, menu.Bar);
    const std::vector<TItemState> before = Snapshot(menu.Bar);
    {
      TXPMenu skin(*FForm);
      TXPMenuOptions options = MainWindowXPMenuOptions();
      options.DrawMenuBar = drawMenuBar;
      options.OverrideOwnerDraw = takeOver;
      skin.SetOptions(options);
      const std::vector<TItemState> attached = Snapshot(menu.Bar);
      ASSERT_EQ(attached.size(), menu.Drawn.size());
      std::size_t drawn = 0;
      for (std::size_t i = 0; i < attached.size(); ++i) {
        const bool changed = attached[i].Data != before[i].Data;
        ASSERT_EQ(changed, menu.Drawn[i]) << "round " << round << " item " << i;
        if (changed) {
          ASSERT_NE(attached[i].Type & MFT_OWNERDRAW, 0u);
          ++drawn;
        }
      }
      EXPECT_EQ(skin.InstalledItems(), drawn);
      // Deactivated: exactly what was there before; again and again.
      skin.SetActive(false);
      ASSERT_EQ(Snapshot(menu.Bar), before) << "round " << round;
      EXPECT_EQ(skin.InstalledItems(), 0u);
      skin.SetActive(true);
      EXPECT_EQ(skin.InstalledItems(), drawn);
      // Without xcMainMenu the menu bar's tree is left alone.
      options.XPControls = options.XPControls.Without(xcMainMenu);
      skin.SetOptions(options);
      ASSERT_EQ(Snapshot(menu.Bar), before);
      skin.SetOptions(MainWindowXPMenuOptions());
    }
    // The skin gone: its handlers too.
    ASSERT_EQ(Snapshot(menu.Bar), before);
    ::SetMenu(FWindow, nullptr);
    ::DestroyMenu(menu.Bar);
  }
}

// A popup with a plain, a checked, a radio-checked and a separator item,
// skinned; requests sent as the system sends them.
class SkinnedPopupTest : public MenuSkinTest {
 protected:
  void SetUp() override {
    MenuSkinTest::SetUp();
    ::AppendMenuW(FPopup, MF_STRING, 1, L"新規作成(&N)\tCtrl+N");
    ::AppendMenuW(FPopup, MF_STRING | MF_CHECKED, 2, L"折り返す(&W)");
    ::AppendMenuW(FPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(FPopup, MF_STRING, 3, L"右端(&R)");
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof radio;
    radio.fMask = MIIM_FTYPE;
    radio.fType = MFT_RADIOCHECK;
    ::SetMenuItemInfoW(FPopup, 3, FALSE, &radio);
    FSkin = std::make_unique<TXPMenu>(*FForm);
    FSkin->AddPopupMenu(FPopup);
    FSkin->SetOptions(MainWindowXPMenuOptions());
  }
  void TearDown() override {
    FSkin.reset();
    ::DestroyMenu(FPopup);
    MenuSkinTest::TearDown();
  }
  ULONG_PTR DataOf(int position) const {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(FPopup, static_cast<UINT>(position), TRUE, &info);
    return info.dwItemData;
  }
  // Draws item `position` into a white bitmap and returns its pixels.
  std::vector<std::vector<COLORREF>> Draw(int position, UINT state, int width, int height) {
    const win32::TWindowDc screen(nullptr);
    const win32::TMemoryDc dc(screen.Get());
    const win32::TGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    win32::TDcSlot slot(dc.Get());
    slot.Select(bitmap.Get());
    DRAWITEMSTRUCT request{};
    request.CtlType = ODT_MENU;
    request.itemID = static_cast<UINT>(position + 1);
    request.itemState = state;
    request.hwndItem = reinterpret_cast<HWND>(FPopup);
    request.hDC = dc.Get();
    request.rcItem = {0, 0, width, height};
    request.itemData = DataOf(position);
    EXPECT_EQ(::SendMessageW(FWindow, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&request)), TRUE);
    std::vector<std::vector<COLORREF>> pixels(height, std::vector<COLORREF>(width));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels[y][x] = ::GetPixel(dc.Get(), x, y);
    }
    return pixels;
  }

  HMENU FPopup = ::CreatePopupMenu();
  std::unique_ptr<TXPMenu> FSkin;
};

int CountOf(const std::vector<std::vector<COLORREF>>& pixels, RECT r, COLORREF color) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += pixels[y][x] == color ? 1 : 0;
  }
  return n;
}

TEST_F(SkinnedPopupTest, DrawsTheSelectionBarTheCheckMarkAndTheRadioDot) {
  const TSkinPalette& p = FSkin->Palette();
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = DataOf(0);
  ASSERT_EQ(::SendMessageW(FWindow, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  const int width = static_cast<int>(measure.itemWidth),
            height = static_cast<int>(measure.itemHeight);
  ASSERT_GT(width, 24);
  ASSERT_GT(height, 10);

  // Selected: a frame in the highlight colour one pixel in from top and
  // bottom, filled with the selection colour.
  const auto selected = Draw(0, ODS_SELECTED, width, height);
  EXPECT_EQ(selected[0][width / 2], p.MenuBackground);
  EXPECT_EQ(selected[1][width / 2], p.SelectFrame);
  EXPECT_EQ(selected[height / 2][2], p.SelectFill);
  // Not selected: the icon column and the background.
  const auto plain = Draw(0, 0, width, height);
  EXPECT_EQ(plain[1][2], p.IconColumn);
  EXPECT_EQ(plain[1][width - 2], p.MenuBackground);
  EXPECT_GT(CountOf(plain, {27, 0, width, height}, p.Text), 10);  // the caption

  // A 10 x 10 box centred in the icon column, framed in the check colour,
  // with a black mark of five strokes of three pixels.
  const auto checked = Draw(1, ODS_CHECKED, width, height);
  const RECT box{7, (height - 10) / 2, 17, (height - 10) / 2 + 10};
  EXPECT_EQ(checked[box.top][box.left], p.CheckFrame);
  EXPECT_EQ(checked[box.bottom - 1][box.right - 1], p.CheckFrame);
  EXPECT_EQ(CountOf(checked, box, 0), 15);
  EXPECT_GT(CountOf(checked, box, p.CheckFill), 20);
  const auto disabled = Draw(1, ODS_CHECKED | ODS_GRAYED, width, height);
  EXPECT_EQ(CountOf(disabled, box, 0), 0);
  EXPECT_GE(CountOf(disabled, box, p.DisabledText), 15 + 30);

  // A dot inside the circle, in the frame's colour.
  const auto radio = Draw(3, ODS_CHECKED, width, height);
  EXPECT_EQ(radio[box.top + 5][box.left + 5], p.CheckFrame);
  EXPECT_EQ(CountOf(radio, box, 0), 0);

  // The separator: one line in its colour at the middle, from 7 pixels
  // after the icon column.
  const auto separator = Draw(2, 0, width, 4);
  EXPECT_EQ(separator[2][24 + 7], p.Separator);
  EXPECT_EQ(separator[2][24 + 6], p.MenuBackground);
  EXPECT_EQ(separator[1][width / 2], p.MenuBackground);
}

TEST_F(SkinnedPopupTest, AccessKeysOfDrawnItemsAnswerMenuChar) {
  const auto ask = [&](wchar_t key) {
    return ::SendMessageW(FWindow, WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                          reinterpret_cast<LPARAM>(FPopup));
  };
  EXPECT_EQ(ask(L'n'), MAKELRESULT(0, MNC_EXECUTE));
  EXPECT_EQ(ask(L'R'), MAKELRESULT(3, MNC_EXECUTE));
  EXPECT_EQ(HIWORD(ask(L'z')), MNC_IGNORE);
}

// An empty dialog that makes its controls when it starts, as the program's
// dialogs do: an edit box, a list box, and an edit box tagged 999.
INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    const auto make = [&](const wchar_t* className, int y, int id) {
      ::CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, y,
                        120, 24, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        ::GetModuleHandleW(nullptr), nullptr);
    };
    make(L"EDIT", 10, 101);
    make(L"LISTBOX", 40, 102);
    make(L"EDIT", 100, 103);
    SetControlTag(::GetDlgItem(dialog, 103), kNoSkinTag);
  }
  if (message == WM_DESTROY) RemoveControlTag(::GetDlgItem(dialog, 103));
  return FALSE;
}

COLORREF FramePixel(HWND control, int inset) {
  HDC dc = ::GetWindowDC(control);
  RECT r{};
  ::GetWindowRect(control, &r);
  const COLORREF pixel = ::GetPixel(dc, (r.right - r.left) / 2, inset);
  ::ReleaseDC(control, dc);
  return pixel;
}

TEST_F(MenuSkinTest, DialogsMadeLaterGetTheirEditAndListBoxesFramed) {
  TXPMenu skin(*FForm);
  skin.SetOptions(MainWindowXPMenuOptions());
  alignas(DWORD) WORD words[12] = {};  // DLGTEMPLATE, no menu, class or title
  const DLGTEMPLATE head{WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 10, 10, 200, 150};
  std::memcpy(words, &head, sizeof head);
  HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(words), Parent(),
                                             TestDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  ::SetActiveWindow(dialog);
  PumpMessages(200);
  TXPMenuManager* manager = TXPMenuManager::Instance();
  ASSERT_NE(manager, nullptr);
  HWND edit = ::GetDlgItem(dialog, 101), list = ::GetDlgItem(dialog, 102),
       tagged = ::GetDlgItem(dialog, 103);
  EXPECT_TRUE(manager->IsHooked(edit));
  EXPECT_TRUE(manager->IsHooked(list));
  EXPECT_FALSE(manager->IsHooked(tagged));

  // The edit box's edge: the dialog's colour outside, the quiet frame
  // inside; the list box framed around the whole window.
  ::SetFocus(list);
  ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(100);
  const TColor window = ::GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(FramePixel(edit, 0), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(FramePixel(edit, 1), DarkenColor(window, 60));
  EXPECT_EQ(FramePixel(list, 0), LightenColor(skin.Palette().SelectFrame, 60));  // focused
  // The hooks pass everything on: the controls still work.
  ::SetWindowTextW(edit, L"テキスト");
  wchar_t text[32] = L"";
  ::GetWindowTextW(edit, text, 32);
  EXPECT_STREQ(text, L"テキスト");

  // Inactive: the hooks stay but draw nothing; the system's edge is back.
  skin.SetActive(false);
  ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(100);
  EXPECT_TRUE(manager->IsHooked(edit));
  EXPECT_NE(FramePixel(edit, 1), DarkenColor(window, 60));
  ::DestroyWindow(dialog);
  PumpMessages(50);
  EXPECT_EQ(manager->HookCount(), 0u);
}

TEST_F(MenuSkinTest, TheManagerGoesWithTheLastInstanceAndHandsHooksOver) {
  HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100,
                                20, FWindow, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  {
    auto first = std::make_unique<TXPMenu>(*FForm);
    TXPMenu second(*FForm);
    first->SetActive(true);
    second.SetActive(true);
    TXPMenuManager* manager = TXPMenuManager::Instance();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->Designated(), first.get());
    EXPECT_TRUE(manager->IsHooked(edit));
    first.reset();
    EXPECT_EQ(manager->Designated(), &second);
    EXPECT_TRUE(manager->IsHooked(edit));
    second.SetActive(false);
  }
  EXPECT_EQ(TXPMenuManager::Instance(), nullptr);
  // The window is its own again: it still works and can go.
  ::SetWindowTextW(edit, L"ok");
  EXPECT_EQ(::GetWindowTextLengthW(edit), 2);
  ::DestroyWindow(edit);
}

// The main window's face is not installed everywhere (not under Wine): a
// face with Japanese glyphs stands in, whatever the system's own menu font.
TEST(MenuFontTest, MenusAreDrawnInAFaceWithJapaneseGlyphs) {
  for (const TMenuFontDesc& desc : {MainWindowXPMenuOptions().Font, TMenuFontDesc{},
                                    TMenuFontDesc{"Courier New", -12, 0, clMenuText}}) {
    const win32::TFont font = MakeMenuFont(desc);
    ASSERT_TRUE(font);
    const win32::TWindowDc screen(nullptr);
    win32::TDcSlot slot(screen.Get());
    slot.Select(font.Get());
    wchar_t face[LF_FACESIZE] = L"";
    ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    EXPECT_TRUE(win32::FontShowsCodePage932(screen.Get()))
        << desc.Name << " drawn as " << win32::NarrowCp932(face);
  }
}

}  // namespace
}  // namespace notavo::menuskin
