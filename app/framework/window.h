// A deliberately small window layer: a registered window class, a window that
// forwards its messages to one handler object, and the message loop. Each
// type owns its Win32 object and releases it when destroyed.
#pragma once

#include <windows.h>

#include <string>

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
  TWindowClass(HINSTANCE instance, const wchar_t* name);
  TWindowClass(const TWindowClass&) = delete;
  TWindowClass& operator=(const TWindowClass&) = delete;
  ~TWindowClass();

  HINSTANCE Instance() const { return FInstance; }
  const wchar_t* Name() const { return FName.c_str(); }

 private:
  HINSTANCE FInstance;
  std::wstring FName;
};

// An overlapped top-level window. Destroying the object destroys the window
// if the user has not closed it already; from then on no message reaches the
// handler, so the handler may be destroyed right after this object.
class TWindow {
 public:
  TWindow(const TWindowClass& windowClass, TMessageHandler& handler, const std::wstring& caption,
          DWORD style);
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  ~TWindow();

  // nullptr once the window has been destroyed.
  HWND Handle() const { return FHandle; }

 private:
  friend class TWindowClass;  // installs WindowProc as the class procedure
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
  TMessageHandler* FHandler;
};

// Dispatches messages until WM_QUIT and returns its exit code. An exception
// thrown by a message handler ends the loop and is rethrown here, since it
// cannot travel through the system's frames.
int RunMessageLoop();

}  // namespace notavo::framework
