// Characters for the program's ANSI windows (the editor), as code page 932
// bytes whatever the system's own code page is. The system would convert a
// Unicode character for an ANSI window with its ANSI code page, which on a
// system whose language is not Japanese turns Japanese into '?'.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace notavo::win32 {

// The code page 932 bytes of one Unicode code point (WM_UNICHAR's UTF-32);
// "?" for what the code page cannot hold, nothing for a lone surrogate.
std::string CodePointToCp932(char32_t codePoint);

// For the message loop, before DispatchMessageW: a WM_CHAR beyond ASCII for
// an ANSI window is converted here and handed to it byte by byte (a
// double-byte character as its lead and trail byte). False: not such a
// message, dispatch it as usual.
bool DispatchCharAsCodePage932(const MSG& msg);

}  // namespace notavo::win32
