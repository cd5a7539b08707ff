// A deliberately small window layer: a registered window class, a window that
// forwards its messages to one handler object, and the message loop. Each
// type owns its Win32 object and releases it when destroyed.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <string>

#include "hook/window_control.h"

namespace notavo::framework {

// Receives the messages of one TWindow.
class TMessageHandler {
 public:
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~TMessageHandler() = default;
};

// A window class registered for the lifetime of this object.
class TWindowClass {
 public:
  // `icon`: the windows' icon; the system's application icon when null.
  TWindowClass(HINSTANCE instance, const wchar_t* name, HICON icon = nullptr);
  TWindowClass(const TWindowClass&) = delete;
  TWindowClass& operator=(const TWindowClass&) = delete;
  ~TWindowClass();

  HINSTANCE Instance() const { return FInstance; }
  const wchar_t* Name() const { return FName.c_str(); }

 private:
  HINSTANCE FInstance;
  std::wstring FName;
};

// An overlapped top-level window, a form for the hooks. Destroying the
// object destroys the window if the user has not closed it already; from
// then on no message reaches the handler, so the handler may be destroyed
// right after this object.
class TWindow final : public TWindowControl {
 public:
  TWindow(const TWindowClass& windowClass, TMessageHandler& handler, const std::wstring& caption,
          DWORD style);
  ~TWindow();

  // nullptr once the window has been destroyed.
  HWND Handle() const override { return FHandle; }
  bool IsForm() const override { return true; }
  LRESULT OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class TWindowClass;  // installs WindowProc as the class procedure
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
  TMessageHandler* FHandler;
};

// Dispatches messages until WM_QUIT and returns its exit code. Key presses
// go through `accelerators` first (for `window`; none when null). `onIdle`
// runs whenever the queue has run empty and before a key is translated, so
// that command states are current when a menu or a shortcut reads them. An
// exception thrown by a message handler ends the loop and is rethrown here,
// since it cannot travel through the system's frames.
int RunMessageLoop(HWND window = nullptr, HACCEL accelerators = nullptr,
                   const std::function<void()>& onIdle = {});

}  // namespace notavo::framework
