#include "hook/control_hook.h"

#include "platform/win32/cp932.h"

namespace notavo {

EHookTargetError::EHookTargetError()
    : std::runtime_error(win32::NarrowCp932(L"フック先を特定できません。")) {}

TControlHook::~TControlHook() { SetHook(false); }

void TControlHook::SetControl(TWindowControl* control) {
  SetHook(false);
  FControl = control;
  SetHook(true);
  Rehooked();
}

void TControlHook::SetTarget(THookTarget target) {
  SetHook(false);
  FTarget = target;
  SetHook(true);
  Rehooked();
}

TWindowControl* TControlHook::TargetControl() const {
  if (FTarget == htControl) return FControl;
  for (TWindowControl* c = FControl; c != nullptr; c = c->ParentControl()) {
    if (c->IsForm()) return c;
  }
  return nullptr;
}

void TControlHook::SetHook(bool hook) {
  if (!hook) {
    if (FHooked == nullptr) return;
    FHooked->SetWindowProc(std::move(FOldWndProc));
    FHooked->RemoveRemovalObserver(this);
    FOldWndProc = nullptr;
    FHooked = nullptr;
    FHandle = nullptr;
    return;
  }
  if (FHooked != nullptr) return;
  TWindowControl* target = TargetControl();
  if (target == nullptr || target->Handle() == nullptr) {
    if (FTarget == htForm) throw EHookTargetError();
    return;
  }
  FHandle = target->Handle();
  FHooked = target;
  target->AddRemovalObserver(this);
  FOldWndProc = target->WindowProc();
  if (!FOldWndProc) {
    FOldWndProc = [target](UINT message, WPARAM wParam, LPARAM lParam) {
      return target->OwnWindowProc(message, wParam, lParam);
    };
  }
  target->SetWindowProc([this](UINT message, WPARAM wParam, LPARAM lParam) {
    return HookWndProc(message, wParam, lParam);
  });
}

LRESULT TControlHook::HookWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    FHandle = kHandleChanging;
  } else if (message == WM_DESTROY) {
    HandleChanged(hcDestroyed);
  } else if (FHandle == kHandleChanging && FHooked != nullptr && FHooked->Handle() != nullptr) {
    HandleChanged(hcCreated);
  }
  return WndProc(message, wParam, lParam);
}

void TControlHook::HandleChanged(THandleChange kind) {
  if (kind == hcDestroyed) {
    FHandle = nullptr;
  } else if (FHooked != nullptr) {
    FHandle = FHooked->Handle();
  }
}

LRESULT TControlHook::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (FOldWndProc) return FOldWndProc(message, wParam, lParam);
  return 0;
}

void TControlHook::ControlRemoved(TWindowControl& control) {
  if (&control != FHooked) return;
  HandleChanged(hcDestroyed);
  // The control is going away, but it is still whole: the procedure that
  // was in place goes back, so that nothing it still runs reaches this hook.
  control.SetWindowProc(std::move(FOldWndProc));
  FOldWndProc = nullptr;
  FHooked = nullptr;
}

}  // namespace notavo
