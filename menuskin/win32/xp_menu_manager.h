// TXPMenuManager: the one object that knows every TXPMenu of the process.
// It is made with the first instance and goes with the last. One active
// instance that allows subclassing is designated: the control hooks serve
// its colours, for every form. Dialogs the program makes later, which have
// no skin of their own, get their controls framed when they are first
// activated (a thread hook sees every window's activation, whoever made
// it). When the designated instance goes, another active one takes its
// hooks over, or the hooks are removed.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include <memory>
#include <vector>

#include "menuskin/win32/control_frame_hook.h"
// clang-format on

namespace notavo::menuskin {

class TXPMenu;

class TXPMenuManager {
 public:
  // The manager while any instance lives; nullptr otherwise.
  static TXPMenuManager* Instance();

  TXPMenu* Designated() const { return FDesignated; }
  const std::vector<TXPMenu*>& Instances() const { return FInstances; }
  // Frames the chosen controls among the descendants of `parent` with the
  // designated instance's kinds and colours (none without one).
  void SkinControlsOf(HWND parent);
  // Whether `control` has a frame hook now.
  bool IsHooked(HWND control) const;
  std::size_t HookCount() const;

  // For TXPMenu.
  static void Join(TXPMenu& instance);
  static void Leave(TXPMenu& instance);
  static void ActiveChanged(TXPMenu& instance);

  TXPMenuManager(const TXPMenuManager&) = delete;
  TXPMenuManager& operator=(const TXPMenuManager&) = delete;
  ~TXPMenuManager();

 private:
  TXPMenuManager();
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  void FormActivated(HWND form);
  void Designate();
  void DropClosedWindows();

  std::vector<TXPMenu*> FInstances;
  TXPMenu* FDesignated = nullptr;
  std::vector<std::unique_ptr<TControlSubClass>> FHooks;
  std::vector<HWND> FSkinnedForms;
  HHOOK FCbtHook = nullptr;
};

}  // namespace notavo::menuskin
