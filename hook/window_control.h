// A window control as the hooks see it: an object that may or may not have
// a window at any moment (windows can be destroyed and made again), whose
// messages all pass through one replaceable procedure, WindowProc. A hook
// saves the procedure in place and puts its own in front; since the
// procedure belongs to the object, not to one window, it stays in place
// when the window is made again.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace notavo {

class TControlRemovalObserver {
 public:
  // The control is being destroyed; it must not be touched afterwards.
  virtual void ControlRemoved(class TWindowControl& control) = 0;

 protected:
  ~TControlRemovalObserver() = default;
};

class TWindowControl {
 public:
  using TWindowProc = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  TWindowControl() = default;
  TWindowControl(const TWindowControl&) = delete;
  TWindowControl& operator=(const TWindowControl&) = delete;

  // The control's window now; nullptr while it has none.
  virtual HWND Handle() const = 0;
  // The control that contains this one; nullptr for a form.
  virtual TWindowControl* ParentControl() const { return nullptr; }
  virtual bool IsForm() const { return false; }

  // The procedure in front; empty means the control's own handling.
  const TWindowProc& WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWindowProc procedure) { FWindowProc = std::move(procedure); }
  // The control's own handling, what an empty WindowProc stands for.
  virtual LRESULT OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  void AddRemovalObserver(TControlRemovalObserver* observer) {
    if (std::find(FObservers.begin(), FObservers.end(), observer) == FObservers.end()) {
      FObservers.push_back(observer);
    }
  }
  void RemoveRemovalObserver(TControlRemovalObserver* observer) {
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), observer), FObservers.end());
  }

 protected:
  // Derived classes call NotifyRemoval first thing in their destructor,
  // while the object is still whole.
  ~TWindowControl() = default;
  void NotifyRemoval() {
    const std::vector<TControlRemovalObserver*> observers = std::move(FObservers);
    FObservers.clear();
    for (TControlRemovalObserver* observer : observers) observer->ControlRemoved(*this);
  }
  // Every message of the window enters here.
  LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FWindowProc) {
      // A copy: the procedure may replace itself (a hook removed inside).
      const TWindowProc procedure = FWindowProc;
      return procedure(message, wParam, lParam);
    }
    return OwnWindowProc(message, wParam, lParam);
  }

 private:
  TWindowProc FWindowProc;
  std::vector<TControlRemovalObserver*> FObservers;
};

}  // namespace notavo
