#include "menuskin/win32/xp_menu.h"

#include <algorithm>

#include "menuskin/win32/menu_font.h"
#include "menuskin/win32/xp_menu_manager.h"

namespace notavo::menuskin {
namespace {

TColor SystemColorOf(int index) { return ::GetSysColor(index); }

bool ScreenIsHighColor() {
  const win32::TWindowDc screen(nullptr);
  return !screen || IsHighColor(::GetDeviceCaps(screen.Get(), BITSPIXEL) *
                                ::GetDeviceCaps(screen.Get(), PLANES));
}

}  // namespace

TXPMenu::TXPMenu(TWindowControl& form) : FForm(form), FHook(*this) {
  FFrameSkin.Active = [this] { return Skinning(); };
  FFrameSkin.SelectFrame = [this] { return FPalette.SelectFrame; };
  UpdateLook();
  FHook.SetControl(&form);
  TXPMenuManager::Join(*this);
}

TXPMenu::~TXPMenu() {
  Detach();
  TXPMenuManager::Leave(*this);
}

void TXPMenu::SetOptions(const TXPMenuOptions& options) {
  const bool wasSkinning = Skinning();
  if (wasSkinning) Detach();
  FOptions = options;
  UpdateLook();
  if (Skinning()) Attach();
  if (wasSkinning != Skinning()) TXPMenuManager::ActiveChanged(*this);
}

void TXPMenu::SetActive(bool active) {
  TXPMenuOptions options = FOptions;
  options.Active = active;
  SetOptions(options);
}

void TXPMenu::AddPopupMenu(HMENU menu) {
  if (menu == nullptr || std::find(FPopups.begin(), FPopups.end(), menu) != FPopups.end()) return;
  FPopups.push_back(menu);
  if (Skinning() && FOptions.XPControls.Has(xcPopupMenu)) {
    FItems.AttachPopup(menu, FOptions.OverrideOwnerDraw);
  }
}

void TXPMenu::UpdateLook() {
  FHighColor = ScreenIsHighColor();
  FPalette = EffectivePalette(FOptions, SystemColorOf, FHighColor);
  FFont = MakeMenuFont(FOptions.Font);
}

TMenuLook TXPMenu::Look() const { return TMenuLook{FOptions, FPalette, FFont.Get(), FHighColor}; }

void TXPMenu::Attach() {
  HWND form = FForm.Handle();
  if (form == nullptr) return;
  if (FOptions.XPControls.Has(xcMainMenu)) {
    FItems.AttachMenuBar(::GetMenu(form), FOptions.DrawMenuBar, FOptions.OverrideOwnerDraw);
  }
  if (FOptions.XPControls.Has(xcPopupMenu)) {
    for (HMENU popup : FPopups) FItems.AttachPopup(popup, FOptions.OverrideOwnerDraw);
  }
  // The bar measured again with the new items.
  if (::GetMenu(form) != nullptr) ::DrawMenuBar(form);
}

void TXPMenu::Detach() {
  if (FItems.Count() == 0) return;
  FItems.DetachAll();
  HWND form = FForm.Handle();
  if (form != nullptr && ::GetMenu(form) != nullptr) ::DrawMenuBar(form);
}

std::optional<LRESULT> TXPMenu::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto* request = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (wParam != 0 || request == nullptr || request->CtlType != ODT_MENU) break;
      const TMenuAttachment::TRecord* record = FItems.Find(request->itemData);
      if (record == nullptr) break;
      const std::optional<TMenuItemFacts> facts = FItems.Facts(*record);
      if (!facts) break;
      const TItemSize size = MeasureItem(*facts, static_cast<int>(request->itemWidth), Look());
      request->itemWidth = static_cast<UINT>(size.Width);
      request->itemHeight = static_cast<UINT>(size.Height);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* request = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam != 0 || request == nullptr || request->CtlType != ODT_MENU) break;
      const TMenuAttachment::TRecord* record = FItems.Find(request->itemData);
      if (record == nullptr) break;
      const std::optional<TMenuItemFacts> facts = FItems.Facts(*record);
      if (!facts) break;
      PaintItem(request->hDC, request->rcItem, request->itemState, *facts, Look());
      return TRUE;
    }
    case WM_MENUCHAR:
      return FItems.MenuChar(reinterpret_cast<HMENU>(lParam), static_cast<wchar_t>(LOWORD(wParam)));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      UpdateLook();
      break;
    default:
      break;
  }
  return std::nullopt;
}

LRESULT TXPMenu::TFormHook::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> handled = FOwner.FormMessage(message, wParam, lParam)) {
    return *handled;
  }
  return TControlHook::WndProc(message, wParam, lParam);
}

}  // namespace notavo::menuskin
