// Conversions between the code page 932 bytes the program keeps and the
// UTF-16 the W APIs take. The code page is named explicitly so that the
// result does not depend on the system's ANSI code page.
#pragma once

#include <windows.h>

#include <climits>
#include <optional>
#include <string>
#include <string_view>

namespace notavo::win32 {

inline constexpr UINT kCodePage932 = 932;

// Strict conversion: nullopt when `text` is not valid code page 932.
inline std::optional<std::wstring> TryWidenCp932(std::string_view text) {
  if (text.empty()) return std::wstring();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int needed =
      ::MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring result(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data(), length, result.data(),
                            needed) != needed) {
    return std::nullopt;
  }
  return result;
}

// Lenient conversion for display: invalid bytes become U+30FB or '?' as the
// system decides, never an error.
inline std::wstring WidenCp932(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(kCodePage932, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring result(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(kCodePage932, 0, text.data(), length, result.data(), needed);
  return result;
}

// Characters with no code page 932 form become '?'.
inline std::string NarrowCp932(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const int length = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(kCodePage932, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string result(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(kCodePage932, 0, text.data(), length, result.data(), needed, nullptr,
                        nullptr);
  return result;
}

// Strict the other way: characters code page 932 cannot hold become '?'
// (no look-alike substitutes), and `lost` tells whether any did.
inline std::string NarrowCp932Reporting(std::wstring_view text, bool& lost) {
  lost = false;
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                           nullptr, 0, "?", &usedDefault);
  if (needed <= 0) return std::string();
  std::string result(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), length, result.data(),
                        needed, "?", &usedDefault);
  lost = usedDefault != FALSE;
  return result;
}

// The system's description of a GetLastError code, as code page 932 bytes,
// without the trailing line break.
inline std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) text = L"Windows error " + std::to_wstring(error);
  return NarrowCp932(text);
}

}  // namespace notavo::win32
