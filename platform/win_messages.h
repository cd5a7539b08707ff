// Window messages, virtual keys and related constants with their Win32
// values, so the portable control handles the same messages in tests as in
// the real window.
#pragma once

#include <cstdint>

namespace notavo::win {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

enum : unsigned {
  WM_CREATE = 0x0001,
  WM_SIZE = 0x0005,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_PAINT = 0x000F,
  WM_GETTEXT = 0x000D,
  WM_GETTEXTLENGTH = 0x000E,
  WM_ERASEBKGND = 0x0014,
  WM_CONTEXTMENU = 0x007B,
  WM_GETDLGCODE = 0x0087,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSCHAR = 0x0106,
  WM_IME_STARTCOMPOSITION = 0x010D,
  WM_IME_ENDCOMPOSITION = 0x010E,
  WM_IME_COMPOSITION = 0x010F,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MOUSEWHEEL = 0x020A,
  WM_CAPTURECHANGED = 0x0215,
  WM_IME_CHAR = 0x0286,
  WM_CUT = 0x0300,
  WM_COPY = 0x0301,
  WM_PASTE = 0x0302,
  WM_CLEAR = 0x0303,
  EM_GETSEL = 0x00B0,
  EM_SETSEL = 0x00B1,
  EM_GETLINECOUNT = 0x00BA,
  EM_LINELENGTH = 0x00C1,
  EM_GETLINE = 0x00C4,
  EM_GETFIRSTVISIBLELINE = 0x00CE,
};

enum : int {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_CONVERT = 0x1C,
  VK_NONCONVERT = 0x1D,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_OEM_COMMA = 0xBC,
  VK_OEM_PERIOD = 0xBE,
};

enum : unsigned { GCS_RESULTSTR = 0x0800 };
// ImmNotifyIME: finish the composition in progress.
enum : int { NI_COMPOSITIONSTR = 0x0015, CPS_COMPLETE = 0x0001 };

// Mouse messages' wParam: the buttons and keys held.
enum : unsigned {
  MK_LBUTTON = 0x0001,
  MK_RBUTTON = 0x0002,
  MK_SHIFT = 0x0004,
  MK_CONTROL = 0x0008,
  MK_MBUTTON = 0x0010,
};

enum : int {
  DLGC_WANTARROWS = 0x0001,
  DLGC_WANTTAB = 0x0002,
  DLGC_WANTCHARS = 0x0080,
};

enum : int { SM_CXVSCROLL = 2, SM_CYHSCROLL = 3 };

enum : int {
  SB_LINEUP = 0,
  SB_LINEDOWN = 1,
  SB_PAGEUP = 2,
  SB_PAGEDOWN = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_BOTTOM = 7,
  SB_ENDSCROLL = 8,
};

enum : unsigned { MB_OK = 0x0, MB_ICONHAND = 0x10 };

constexpr unsigned LoWord(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HiWord(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
// A mouse message's client point: two signed 16-bit halves (negative left
// of or above the window while the mouse is captured).
constexpr int PointX(LPARAM v) {
  return static_cast<short>(static_cast<std::uintptr_t>(v) & 0xFFFF);
}
constexpr int PointY(LPARAM v) {
  return static_cast<short>((static_cast<std::uintptr_t>(v) >> 16) & 0xFFFF);
}
constexpr LRESULT MakeLong(unsigned lo, unsigned hi) {
  return static_cast<LRESULT>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}

}  // namespace notavo::win
