// <windows.h> and <imm.h> for code that also sees the editor's portable
// headers. Those declare Win32 constants of their own (WM_CREATE, VK_TAB,
// SB_LINEUP ...) and members named like Win32's A/W switch macros
// (MessageBox, TextOut, GetTextMetrics), so they are read first and the
// switch macros are removed afterwards. Include this header, not
// <windows.h>, wherever both meet, and before any other Win32 header.
#pragma once

// clang-format off
#include "platform/win_messages.h"
#include "platform/editor_host.h"
#include "platform/surface.h"

#include <windows.h>
#include <imm.h>
// clang-format on

#undef MessageBox
#undef TextOut
#undef GetTextMetrics
