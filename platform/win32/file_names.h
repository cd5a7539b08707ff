// File names from the system (the command line, the file dialogs, dropped
// files) as the code page 932 bytes the program keeps every name in. A name
// with a character that code page cannot hold (é, most Korean, emoji) has
// no such form: a best-fit conversion would name another file (café →
// cafe) and a '?' none at all, so such a name is refused with a notice.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/cp932.h"

namespace notavo::win32 {

// The name's bytes, or nullopt with the notice to show in `notice`.
inline std::optional<std::string> FileNameFromSystem(std::wstring_view name, std::string& notice) {
  bool lost = false;
  std::string bytes = NarrowCp932Reporting(name, lost);
  if (!lost) return bytes;
  notice = bytes + NarrowCp932(
                       L"\r\nこのファイル名には Shift-JIS で表せない文字があるため、"
                       L"開くことも保存することもできません。");
  return std::nullopt;
}

}  // namespace notavo::win32
