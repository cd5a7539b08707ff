#include "hook/subclassed_window.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>

namespace notavo {
namespace {

constexpr UINT_PTR kSubclassId = 0x4E6F7461;  // any number of our own

}  // namespace

TSubclassedWindow::TSubclassedWindow(HWND window) : FHandle(window) {
  FSubclassed =
      window != nullptr && ::SetWindowSubclass(window, SubclassProc, kSubclassId,
                                               reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  if (!FSubclassed) FHandle = nullptr;
}

TSubclassedWindow::~TSubclassedWindow() {
  NotifyRemoval();
  Unsubclass();
}

void TSubclassedWindow::Unsubclass() {
  if (FSubclassed && FHandle != nullptr) {
    ::RemoveWindowSubclass(FHandle, SubclassProc, kSubclassId);
  }
  FSubclassed = false;
  FHandle = nullptr;
}

LRESULT TSubclassedWindow::OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return FHandle != nullptr ? ::DefSubclassProc(FHandle, message, wParam, lParam) : 0;
}

LRESULT CALLBACK TSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TSubclassedWindow*>(data);
  if (message != WM_NCDESTROY) return self->Deliver(message, wParam, lParam);
  // The last message: the hooks see it, then the window is let go.
  const LRESULT result = self->Deliver(message, wParam, lParam);
  ::RemoveWindowSubclass(window, SubclassProc, kSubclassId);
  self->FSubclassed = false;
  self->FHandle = nullptr;
  return result;
}

}  // namespace notavo
