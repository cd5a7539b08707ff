#include "app/controls/zel_edit_window.h"

#include <system_error>

#include "app/controls/typed_characters.h"
#include "platform/win32/gdi_objects.h"

namespace notavo::win32 {
namespace {

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

// Registered once per process, on first use; never unregistered, since
// windows of the class may live until the process ends.
HINSTANCE RegisterEditorClass(WNDPROC procedure) {
  static const HINSTANCE instance = [procedure] {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    // Double clicks select words; a resize changes the wrap and the gutter,
    // so the whole window repaints.
    wc.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = module;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    wc.hbrBackground = nullptr;  // the control paints its background itself
    wc.lpszClassName = TZelEditWindow::kClassName;
    if (::RegisterClassExA(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      ThrowLastError("RegisterClassExA");
    }
    return module;
  }();
  return instance;
}

}  // namespace

TZelEditWindow::TZelEditWindow() : FEdit(FHost) {}

TZelEditWindow::~TZelEditWindow() {
  // The window goes first, its last messages still through the hooks, then
  // the hooks are told that the control goes.
  if (FHandle != nullptr) ::DestroyWindow(FHandle);
  NotifyRemoval();
}

LRESULT TZelEditWindow::OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(FHandle, message, wParam, lParam);
}

void TZelEditWindow::Create(HWND parent, const RECT& bounds, int id,
                            TWindowControl* parentControl) {
  FParentControl = parentControl;
  const HINSTANCE instance = RegisterEditorClass(&WindowProc);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
  if (FEdit.VertScrollBar()) style |= WS_VSCROLL;
  if (FEdit.HorzScrollBar()) style |= WS_HSCROLL;
  const DWORD exStyle = FEdit.BorderStyle == bsSingle ? WS_EX_CLIENTEDGE : 0;
  HWND window =
      ::CreateWindowExA(exStyle, kClassName, "", style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (window == nullptr) ThrowLastError("CreateWindowExA");
}

LRESULT CALLBACK TZelEditWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  // Nothing may unwind through the system's frames.
  try {
    if (message == WM_NCCREATE) {
      // The first message with our object: bind the two, so that WM_CREATE
      // and everything after it reach the control.
      auto* self = static_cast<TZelEditWindow*>(
          reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->FHandle = window;
      self->FHost.Attach(window);
    }
    auto* self = reinterpret_cast<TZelEditWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) return self->Deliver(message, wParam, lParam);
  } catch (...) {
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TZelEditWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      // The control paints through its own DC, which BeginPaint hands out
      // too (clipped to the update region until EndPaint).
      const TPaintScope paint(window);
      FEdit.Dispatch(message, wParam, lParam);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // A click into the text gives it the keyboard, as with any edit box.
      if (::GetFocus() != window) ::SetFocus(window);
      break;
    case WM_SIZE: {
      RECT bounds{};
      ::GetWindowRect(window, &bounds);
      FEdit.Width = bounds.right - bounds.left;
      FEdit.Height = bounds.bottom - bounds.top;
      break;
    }
    case WM_UNICHAR: {
      // One UTF-32 character from a program that speaks Unicode: the
      // control takes it as the code page 932 bytes WM_CHAR brings.
      if (wParam == UNICODE_NOCHAR) return TRUE;
      for (const char byte : CodePointToCp932(static_cast<char32_t>(wParam))) {
        Deliver(WM_CHAR, static_cast<unsigned char>(byte), lParam);
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      FEdit.Dispatch(message, wParam, lParam);
      FHost.Detach();
      ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      FHandle = nullptr;
      return ::DefWindowProcA(window, message, wParam, lParam);
    default:
      break;
  }
  if (const std::optional<LRESULT> result = FEdit.Dispatch(message, wParam, lParam)) {
    return *result;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace notavo::win32
