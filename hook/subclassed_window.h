// A window the program did not make (a dialog's edit box, a system list
// box) as a TWindowControl: its messages pass through WindowProc, so a
// TControlHook can stand in front of it. The system's subclassing keeps the
// window's own procedure; when the window is destroyed the object stays,
// with no handle, until its owner lets it go.
#pragma once

#include "hook/window_control.h"

namespace notavo {

class TSubclassedWindow final : public TWindowControl {
 public:
  explicit TSubclassedWindow(HWND window);
  ~TSubclassedWindow();

  HWND Handle() const override { return FHandle; }
  LRESULT OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void Unsubclass();

  HWND FHandle;
  bool FSubclassed = false;
};

}  // namespace notavo
