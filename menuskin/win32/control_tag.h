// A window's tag, as the skin reads it: a window property of the program's
// own. Controls tagged 999 are never skinned.
#pragma once

#include <windows.h>

#include <cstdint>

namespace notavo::menuskin {

inline constexpr const wchar_t* kTagProperty = L"NotavoTag";

inline void SetControlTag(HWND window, int tag) {
  ::SetPropW(window, kTagProperty, reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(tag)));
}
inline void RemoveControlTag(HWND window) { ::RemovePropW(window, kTagProperty); }
inline int ControlTag(HWND window) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(::GetPropW(window, kTagProperty)));
}

}  // namespace notavo::menuskin
