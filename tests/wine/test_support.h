// Helpers shared by the Win32-level tests: a scratch folder that cleans up
// after itself and direct Win32 file access that does not go through the
// code under test.
#pragma once

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"

namespace notavo::testing {

inline std::wstring LastErrorText(const wchar_t* what) {
  return std::wstring(what) + L" failed, error " + std::to_wstring(::GetLastError());
}

[[noreturn]] inline void Fail(const std::wstring& text) {
  throw std::runtime_error(win32::NarrowCp932(text));
}

// Names (not paths) of the entries of `folder`, sorted.
inline std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

// Removes a folder tree, clearing read-only marks first.
inline void RemoveTree(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    for (const std::wstring& name : ListFolder(path)) RemoveTree(path + L"\\" + name);
    ::RemoveDirectoryW(path.c_str());
  } else {
    ::DeleteFileW(path.c_str());
  }
}

// A fresh folder under the user's temporary folder, removed with everything
// in it when the object goes away.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) Fail(LastErrorText(L"GetTempPathW"));
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::wstring path = std::wstring(base) + L"notavo-test-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
      if (::CreateDirectoryW(path.c_str(), nullptr)) {
        FPath = std::move(path);
        return;
      }
    }
    Fail(LastErrorText(L"CreateDirectoryW"));
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { RemoveTree(FPath); }

  const std::wstring& Path() const { return FPath; }
  std::wstring operator/(const std::wstring& leaf) const { return FPath + L"\\" + leaf; }

 private:
  std::wstring FPath;
};

inline std::string ReadWholeFile(const std::wstring& path) {
  win32::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) Fail(LastErrorText(L"CreateFileW (read)") + L": " + path);
  std::string content;
  char buffer[4096];
  DWORD done = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &done, nullptr) && done > 0) {
    content.append(buffer, done);
  }
  return content;
}

inline void WriteWholeFile(const std::wstring& path, const std::string& content) {
  win32::UniqueHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) Fail(LastErrorText(L"CreateFileW (write)") + L": " + path);
  DWORD done = 0;
  if (!::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &done,
                   nullptr) ||
      done != content.size()) {
    Fail(LastErrorText(L"WriteFile") + L": " + path);
  }
}

}  // namespace notavo::testing
