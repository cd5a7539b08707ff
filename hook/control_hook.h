// TControlHook: stands in front of one window control's procedure (or of
// the form that contains it), sees every message it receives, follows the
// window when it is destroyed and made again, and passes each message on.
#pragma once

#include <stdexcept>

#include "hook/window_control.h"

namespace notavo {

enum THookTarget { htControl, htForm };

// "フック先を特定できません。" (code page 932): no form to hook.
class EHookTargetError : public std::runtime_error {
 public:
  EHookTargetError();
};

class TControlHook : private TControlRemovalObserver {
 public:
  TControlHook() = default;
  // Unhooks.
  virtual ~TControlHook();
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;

  TWindowControl* Control() const { return FControl; }
  // Each unhooks, stores the value and hooks again. With htForm and no form
  // to be found they throw EHookTargetError (and stay unhooked).
  void SetControl(TWindowControl* control);
  THookTarget Target() const { return FTarget; }
  void SetTarget(THookTarget target);

  // The control whose procedure is replaced; nullptr while unhooked.
  TWindowControl* Hooked() const { return FHooked; }
  // Its window: nullptr when it has none, kHandleChanging from its creation
  // message until the next message.
  HWND HookedHandle() const { return FHandle; }
  static inline const HWND kHandleChanging = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));

 protected:
  enum THandleChange { hcDestroyed = 1, hcCreated = 2 };
  virtual void HandleChanged(THandleChange kind);
  // After Control or Target changed and the hook is in place again.
  virtual void Rehooked() {}
  // Passes the message on to the procedure that was in place before.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  TWindowControl* TargetControl() const;
  void SetHook(bool hook);
  LRESULT HookWndProc(UINT message, WPARAM wParam, LPARAM lParam);
  void ControlRemoved(TWindowControl& control) override;

  TWindowControl* FControl = nullptr;
  THookTarget FTarget = htControl;
  TWindowControl* FHooked = nullptr;
  HWND FHandle = nullptr;
  TWindowControl::TWindowProc FOldWndProc;
};

}  // namespace notavo
