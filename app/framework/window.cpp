#include "app/framework/window.h"

#include <exception>
#include <system_error>
#include <utility>

#include "app/controls/typed_characters.h"

namespace notavo::framework {
namespace {

// The first exception that escaped a message handler, waiting for the loop.
std::exception_ptr gPendingException;

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

}  // namespace

TWindowClass::TWindowClass(HINSTANCE instance, const wchar_t* name, HICON icon)
    : FInstance(instance), FName(name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &TWindow::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = FName.c_str();
  wc.hIconSm = wc.hIcon;
  if (::RegisterClassExW(&wc) == 0) ThrowLastError("RegisterClassExW");
}

TWindowClass::~TWindowClass() { ::UnregisterClassW(FName.c_str(), FInstance); }

TWindow::TWindow(const TWindowClass& windowClass, TMessageHandler& handler,
                 const std::wstring& caption, DWORD style)
    : FHandler(&handler) {
  FHandle = ::CreateWindowExW(0, windowClass.Name(), caption.c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              windowClass.Instance(), this);
  if (FHandle == nullptr) ThrowLastError("CreateWindowExW");
}

TWindow::~TWindow() {
  if (FHandle != nullptr) {
    HWND handle = FHandle;
    FHandler = nullptr;  // the owner is being torn down: its handler must not run
    ::DestroyWindow(handle);
  }
  NotifyRemoval();
}

LRESULT TWindow::OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (FHandler == nullptr) return ::DefWindowProcW(FHandle, message, wParam, lParam);
  return FHandler->HandleMessage(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The first message: bind the window to its TWindow, which CreateWindowExW
    // passed along as the creation parameter.
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FHandle = window;
  }
  auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->FHandle = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->Deliver(message, wParam, lParam);
  } catch (...) {
    if (!gPendingException) gPendingException = std::current_exception();
    ::PostQuitMessage(1);
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

int RunMessageLoop(HWND window, HACCEL accelerators, const std::function<void()>& onIdle) {
  MSG msg{};
  while (true) {
    if (onIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) onIdle();
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) ThrowLastError("GetMessageW");
    if (accelerators != nullptr && window != nullptr &&
        (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
      if (onIdle) onIdle();
      if (::TranslateAcceleratorW(window, accelerators, &msg)) continue;
    }
    ::TranslateMessage(&msg);
    if (win32::DispatchCharAsCodePage932(msg)) continue;
    ::DispatchMessageW(&msg);
  }
  if (gPendingException) std::rethrow_exception(std::exchange(gPendingException, nullptr));
  return static_cast<int>(msg.wParam);
}

}  // namespace notavo::framework
