// TControlSubClass: the skin's hook in front of one control. Every message
// goes to the control first; then, while the skin is active, the control's
// frame is repainted in the skin's colours on the messages that change or
// overdraw it (paint, focus, the pointer entering and leaving, clicks, the
// space key).
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include <functional>

#include "hook/control_hook.h"
#include "hook/subclassed_window.h"
#include "menuskin/control_frames.h"
// clang-format on

namespace notavo::menuskin {

// What the hook needs from the skin instance that serves it.
struct TFrameSkin {
  std::function<bool()> Active;
  std::function<TColor()> SelectFrame;
};

class TControlSubClass final : public TControlHook {
 public:
  TControlSubClass(HWND control, TFrameStyle style, const TFrameSkin* skin);
  ~TControlSubClass() override;

  HWND Window() const { return FWindow.Handle(); }
  // Another instance serves the hook from now on.
  void SetSkin(const TFrameSkin* skin);
  void PaintFrame();

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool SkinActive() const;

  TSubclassedWindow FWindow;
  TFrameStyle FStyle;
  const TFrameSkin* FSkin;
  bool FHot = false;
};

}  // namespace notavo::menuskin
