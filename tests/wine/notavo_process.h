// Starting the real notavo.exe from a test and finding its windows.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "tests/wine/test_support.h"

namespace notavo::testing {

using namespace std::chrono_literals;

inline constexpr auto kWindowTimeout = 20s;
inline constexpr DWORD kExitTimeoutMs = 10000;

// NOTAVO_EXE if set, else notavo.exe in this program's folder or one of the
// three above it (the build puts it in build/win, the tests below that).
inline std::wstring FindNotavoExe() {
  wchar_t buffer[32768];
  if (DWORD length = ::GetEnvironmentVariableW(L"NOTAVO_EXE", buffer, 32768);
      length > 0 && length < 32768) {
    return buffer;
  }
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring folder(buffer, length);
  for (int level = 0; level < 4; ++level) {
    const std::size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos) break;
    folder.resize(slash);
    const std::wstring candidate = folder + L"\\notavo.exe";
    if (::GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return L"";
}

// The settings that keep the editor wrapping at column 1000, as the
// program's own layout does before the settings file chooses a wrap mode.
inline constexpr const char* kWrapAt1000Settings =
    "[Return]\r\nNoReturn=0\r\nRightReturn=0\r\nSetReturn=1\r\nSetNum=1000\r\n";

// A copy of notavo.exe in `folder` with `settings` as its settings file
// beside it, so that a test's settings stay its own; the copy's path.
inline std::wstring NotavoCopyWithSettings(const std::wstring& folder, const std::string& settings) {
  const std::wstring exe = folder + L"\\notavo.exe";
  if (!::CopyFileW(FindNotavoExe().c_str(), exe.c_str(), FALSE)) {
    throw std::runtime_error("could not copy notavo.exe");
  }
  WriteWholeFile(folder + L"\\notavo.ini", settings);
  return exe;
}

struct WindowInfo {
  HWND handle;
  std::wstring className;
  std::wstring caption;
};

// The visible, unowned top-level windows of one process and its dialogs.
inline std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<WindowInfo> found;
  } search{processId, {}};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !::IsWindowVisible(window)) return TRUE;
        wchar_t className[256] = L"";
        ::GetClassNameW(window, className, 256);
        std::wstring caption(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
        caption.resize(::GetWindowTextW(window, caption.data(), static_cast<int>(caption.size())));
        s->found.push_back({window, className, caption});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// One run of notavo.exe; terminated if it is still running at the end.
class NotavoProcess {
 public:
  // `exe`: the program to start, when not the one FindNotavoExe finds (a
  // copy in a folder of its own keeps its settings file there).
  explicit NotavoProcess(const std::optional<std::wstring>& argument,
                         std::wstring exe = FindNotavoExe()) {
    if (exe.empty()) throw std::runtime_error("notavo.exe not found; set NOTAVO_EXE");
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (argument) commandLine += L" \"" + *argument + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // On this process's desktop, named: Wine does not always pass it on by
    // itself once several programs have come and gone.
    wchar_t desktop[256] = L"";
    if (::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop,
                                    sizeof desktop, nullptr)) {
      startup.lpDesktop = desktop;
    }
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
      throw std::runtime_error("CreateProcessW failed, error " + std::to_string(::GetLastError()));
    }
    FProcess.Reset(info.hProcess);
    win32::UniqueHandle thread(info.hThread);  // not needed
    FProcessId = info.dwProcessId;
  }
  NotavoProcess(const NotavoProcess&) = delete;
  NotavoProcess& operator=(const NotavoProcess&) = delete;
  ~NotavoProcess() {
    if (Running()) {
      ::TerminateProcess(FProcess.Get(), 99);
      ::WaitForSingleObject(FProcess.Get(), kExitTimeoutMs);
    }
  }

  // Waits until the program sits in a message loop with nothing to do.
  void WaitUntilIdle() const { ::WaitForInputIdle(FProcess.Get(), 5000); }

  bool Running() const { return ::WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT; }
  HANDLE Process() const { return FProcess.Get(); }
  // Waits for the process to end by itself; its exit code, or nullopt.
  std::optional<DWORD> WaitForExit() {
    if (::WaitForSingleObject(FProcess.Get(), kExitTimeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(FProcess.Get(), &code);
    return code;
  }

  // Polls until a window of `className` shows up (or the process ends).
  std::optional<WindowInfo> WaitForWindow(
      const wchar_t* className, std::chrono::milliseconds timeout = kWindowTimeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && Running()) {
      for (const WindowInfo& window : TopLevelWindows(FProcessId)) {
        if (window.className == className) return window;
      }
      std::this_thread::sleep_for(50ms);
    }
    return std::nullopt;
  }

  std::vector<WindowInfo> Windows() const { return TopLevelWindows(FProcessId); }

  // Asks the window to close and returns the process's exit code, or nullopt
  // if it did not end in time.
  std::optional<DWORD> CloseAndWait(HWND window) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(FProcess.Get(), kExitTimeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(FProcess.Get(), &code);
    return code;
  }

 private:
  win32::UniqueHandle FProcess;
  DWORD FProcessId = 0;
};

// All text shown by the children of `window` (a message box's label, say).
inline std::wstring ChildTexts(HWND window) {
  std::wstring texts;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        wchar_t text[1024] = L"";
        ::GetWindowTextW(child, text, 1024);
        *reinterpret_cast<std::wstring*>(data) += std::wstring(text) + L"\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace notavo::testing
