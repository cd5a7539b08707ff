// Helpers the window tests share: a visible parent window, a message pump,
// the client area read back as pixels, the editor's text and the clipboard.
#pragma once

// The editor's portable headers go before <windows.h> (see windows_api.h).
#include "platform/win32/windows_api.h"
// clang-format off
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/gdi_objects.h"
// clang-format on

namespace notavo::testing {

// A shown top-level window for a test program's controls: without a window
// manager Wine waits about 2 s each time a top-level window hides, so one
// stays up for the whole program.
inline HWND ShowParentWindow(const wchar_t* className, const wchar_t* title) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  ::RegisterClassExW(&wc);
  HWND window = ::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  900, 700, nullptr, nullptr, wc.hInstance, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
  return window;
}

// Dispatches whatever is waiting, for `ms` milliseconds.
inline void PumpMessages(DWORD ms = 0) {
  const DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (ms > 0) ::Sleep(5);
  } while (::GetTickCount() - start < ms);
}

// A window's client area read back, 0x00RRGGBB per pixel: from a cache DC
// of the window (not its own DC, whose state the control keeps), or from
// the screen for another process's window.
class ClientCapture {
 public:
  enum Source { kWindowDc, kScreen };

  explicit ClientCapture(HWND window, Source source = kWindowDc) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    if (source == kScreen) ::ClientToScreen(window, &origin);
    FWidth = client.right;
    FHeight = client.bottom;
    FPixels.assign(static_cast<std::size_t>(FWidth) * FHeight, 0);
    HWND dcWindow = source == kScreen ? nullptr : window;
    HDC from = source == kScreen ? ::GetDC(nullptr) : ::GetDCEx(window, nullptr, DCX_CACHE);
    {
      const win32::TMemoryDc memory(from);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = FWidth;
      info.bmiHeader.biHeight = -FHeight;  // top-down
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      void* bits = nullptr;
      const win32::TGdiObject<HBITMAP> bitmap(
          ::CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
      if (bitmap && memory) {
        win32::TDcSlot slot(memory.Get());
        slot.Select(bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, FWidth, FHeight, from, origin.x, origin.y, SRCCOPY);
        ::GdiFlush();
        std::copy_n(static_cast<const DWORD*>(bits), FPixels.size(), FPixels.begin());
      }
    }
    ::ReleaseDC(dcWindow, from);
  }

  DWORD At(int x, int y) const {
    return FPixels[static_cast<std::size_t>(y) * FWidth + static_cast<std::size_t>(x)] & 0xFFFFFF;
  }
  // How many pixels of `r` are `rgb`.
  int Count(const RECT& r, DWORD rgb) const {
    int hits = 0;
    for (int y = std::max(0L, r.top); y < std::min<long>(r.bottom, FHeight); ++y) {
      for (int x = std::max(0L, r.left); x < std::min<long>(r.right, FWidth); ++x) {
        if (At(x, y) == rgb) ++hits;
      }
    }
    return hits;
  }
  // The share of the pixels of `r` (within the client area) that are `rgb`.
  double Share(const RECT& r, DWORD rgb) const {
    const long width = std::min<long>(r.right, FWidth) - std::max(0L, r.left);
    const long height = std::min<long>(r.bottom, FHeight) - std::max(0L, r.top);
    const long all = std::max(0L, width) * std::max(0L, height);
    return all == 0 ? 0.0 : static_cast<double>(Count(r, rgb)) / all;
  }

 private:
  int FWidth = 0, FHeight = 0;
  std::vector<DWORD> FPixels;
};

// The editor's whole text as code page 932 bytes, asked for as UTF-16 (the
// way that also works from another process).
inline std::string EditorText(HWND editor) {
  const LRESULT length = ::SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(0, length)) + 1, L'\0');
  const LRESULT got =
      ::SendMessageW(editor, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, got)));
  return win32::NarrowCp932(text);
}

// The clipboard's text in `format` (CF_TEXT bytes or CF_UNICODETEXT), trying
// `attempts` times while another program holds the clipboard.
template <typename Char>
std::optional<std::basic_string<Char>> ClipboardAs(UINT format, int attempts = 1) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (attempt > 0) ::Sleep(20);
    if (!::OpenClipboard(nullptr)) continue;
    std::optional<std::basic_string<Char>> text;
    if (HANDLE data = ::GetClipboardData(format)) {
      if (const auto* chars = static_cast<const Char*>(::GlobalLock(data))) {
        text = chars;
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
    return text;
  }
  return std::nullopt;
}

inline std::optional<std::string> ClipboardText(int attempts = 1) {
  return ClipboardAs<char>(CF_TEXT, attempts);
}

}  // namespace notavo::testing
