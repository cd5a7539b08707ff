#include "app/controls/typed_characters.h"

#include "platform/win32/cp932.h"

namespace notavo::win32 {
namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string CodePointToCp932(char32_t codePoint) {
  if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)) return {};
  if (codePoint > 0xFFFF) return "?";  // code page 932 is within the first plane
  bool lost = false;
  return NarrowCp932Reporting(std::wstring(1, static_cast<wchar_t>(codePoint)), lost);
}

bool DispatchCharAsCodePage932(const MSG& msg) {
  if (msg.message != WM_CHAR || msg.wParam < 0x80 || msg.hwnd == nullptr ||
      ::IsWindowUnicode(msg.hwnd)) {
    return false;
  }
  const auto unit = static_cast<char32_t>(msg.wParam & 0xFFFF);
  // A character beyond the first plane comes as two halves: the first is
  // dropped, the second stands for the whole character.
  const std::string bytes = IsLowSurrogate(unit) ? "?" : CodePointToCp932(unit);
  for (const char byte : bytes) {
    // Within the thread and from A to A: the byte arrives as it is.
    ::SendMessageA(msg.hwnd, WM_CHAR, static_cast<unsigned char>(byte), msg.lParam);
  }
  return true;
}

}  // namespace notavo::win32
