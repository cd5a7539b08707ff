// Real keyboard and mouse input through the X server, with xdotool: the
// events take the same way as a user's, through Wine's X11 driver, the
// message queue and TranslateMessage. Wine starts Unix programs directly.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/unique_handle.h"

namespace notavo::testing {

inline constexpr const wchar_t* kXdotool = L"Z:\\usr\\bin\\xdotool";

inline bool XdotoolAvailable() { return ::GetFileAttributesW(kXdotool) != INVALID_FILE_ATTRIBUTES; }

// Starts `xdotool <arguments>`. Wine hands back a handle for a Unix program
// that cannot be waited on, so there is no exit code: callers chain all
// their xdotool commands into one run and watch for the effect.
inline bool Xdotool(const std::wstring& arguments) {
  std::wstring commandLine = L"/usr/bin/xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(kXdotool, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return false;
  }
  win32::UniqueHandle process(info.hProcess);
  win32::UniqueHandle thread(info.hThread);
  return true;
}

// Puts the pointer over client point (x, y) of `window` and waits until it
// is there. Without a window manager the X server sends key presses to the
// window under the pointer. In a Wine virtual desktop, screen coordinates
// are those of the desktop's own X window.
inline bool PointAt(HWND window, int x, int y) {
  POINT at{x, y};
  ::ClientToScreen(window, &at);
  std::wstring arguments = L"mousemove ";
  const auto desktop =
      reinterpret_cast<UINT_PTR>(::GetPropW(::GetDesktopWindow(), L"__wine_x11_whole_window"));
  if (desktop != 0) arguments += L"--window " + std::to_wstring(desktop) + L" ";
  arguments += std::to_wstring(at.x) + L" " + std::to_wstring(at.y);
  if (!Xdotool(arguments)) return false;
  for (int attempt = 0; attempt < 250; ++attempt) {
    POINT now{};
    if (::GetCursorPos(&now) && now.x == at.x && now.y == at.y) return true;
    ::Sleep(20);
  }
  return false;
}

}  // namespace notavo::testing
