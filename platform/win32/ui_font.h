#pragma once
// The font of the program's own window text (lists, status bar, dialogs,
// message boxes, menus drawn by the program). Japanese faces are asked for
// by name, but on a system whose language is not Japanese such a name may
// lead to a face without ASCII glyphs, or to one without Japanese glyphs:
// the face is taken only if it shows both, else the first fallback that
// does. On a Japanese system the face asked for is the one returned.
#include <string_view>

#include "platform/win32/gdi_objects.h"

namespace notavo::win32 {

inline constexpr std::wstring_view kUiFace = L"ＭＳ Ｐゴシック";

// `height` as in LOGFONT (negative: character height in pixels).
TFont CreateUiFont(int height, std::wstring_view face = kUiFace, int weight = FW_NORMAL);

// The font `wanted` describes when it shows Japanese and ASCII, else one of
// the fallback faces at its height and weight.
TFont CreateUiFontFrom(const LOGFONTW& wanted);

// A font to put in place of the system's `font` for the program's text, or
// an empty one when the system's font shows Japanese and ASCII already.
TFont ReplacementForSystemFont(const LOGFONTW& font);

// The face name of `font` as the system resolved it (for tests and notes).
std::wstring ResolvedFace(HFONT font);

}  // namespace notavo::win32
