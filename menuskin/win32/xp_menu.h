// TXPMenu: the skin of one form. Active, it owner-draws the items of the
// form's menu bar and of the popup menus it is given (answering the form's
// measure, draw and access-key requests for them), and has the manager
// frame the form's controls of the chosen kinds.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include <optional>
#include <vector>

#include "hook/control_hook.h"
#include "menuskin/skin_palette.h"
#include "menuskin/win32/control_frame_hook.h"
#include "menuskin/win32/menu_attachment.h"
// clang-format on

namespace notavo::menuskin {

class TXPMenu final {
 public:
  // `form` must outlive the object.
  explicit TXPMenu(TWindowControl& form);
  TXPMenu(const TXPMenu&) = delete;
  TXPMenu& operator=(const TXPMenu&) = delete;
  ~TXPMenu();

  const TXPMenuOptions& Options() const { return FOptions; }
  // Takes every property at once; colours, font and handlers follow.
  void SetOptions(const TXPMenuOptions& options);
  bool Active() const { return FOptions.Active; }
  void SetActive(bool active);
  // A popup menu of the form (a context menu), skinned with the menu bar.
  void AddPopupMenu(HMENU menu);

  int Tag = 0;  // 999: the instance skins nothing

  HWND FormHandle() const { return FForm.Handle(); }
  const TSkinPalette& Palette() const { return FPalette; }
  HFONT Font() const { return FFont.Get(); }
  const TFrameSkin& FrameSkin() const { return FFrameSkin; }
  // How many menu items draw through the skin now.
  std::size_t InstalledItems() const { return FItems.Count(); }

 private:
  class TFormHook final : public TControlHook {
   public:
    explicit TFormHook(TXPMenu& owner) : FOwner(owner) {}

   protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    TXPMenu& FOwner;
  };

  std::optional<LRESULT> FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Skinning() const { return FOptions.Active && Tag != kNoSkinTag; }
  void Attach();
  void Detach();
  void UpdateLook();
  TMenuLook Look() const;

  TWindowControl& FForm;
  TXPMenuOptions FOptions;
  TSkinPalette FPalette;
  bool FHighColor = true;
  win32::TFont FFont;
  std::vector<HMENU> FPopups;
  TMenuAttachment FItems;
  TFrameSkin FFrameSkin;
  TFormHook FHook;
};

}  // namespace notavo::menuskin
