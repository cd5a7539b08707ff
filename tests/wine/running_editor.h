// The running notavo.exe on one file, as the mouse tests that drive it from
// another process see it: its windows, the caret's rectangle for a text
// position, waiting for its queue to empty, and screenshots. (The same as
// the real-window tests' own; moved there, that program ended in the
// middle of its keyboard test under Wine, so it keeps its copy for now.)
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"
#include "tests/wine/notavo_process.h"
#include "tests/wine/test_support.h"

namespace notavo::testing {

using Clock = std::chrono::steady_clock;

// A text position as the messages carry it: offset low, row high.
inline LPARAM Pack(int col, int row) { return MAKELONG(col, row); }

// Polls `probe` until it returns true or `timeout` passes.
inline bool WaitFor(const std::function<bool()>& probe, std::chrono::milliseconds timeout = 5s) {
  const auto deadline = Clock::now() + timeout;
  while (!probe()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// Leaves a screenshot of `window` (frame included) in NOTAVO_SCREENSHOTS, as
// a small palette PNG. ImageMagick runs as a Unix program that cannot be
// waited on, so the file is watched until it stops growing.
inline void SaveScreenshot(HWND window, const char* name) {
  char folder[1024] = "";
  const DWORD length = ::GetEnvironmentVariableA("NOTAVO_SCREENSHOTS", folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return;
  RECT r{};
  ::GetWindowRect(window, &r);
  const std::string unixPath = std::string(folder) + "/" + name;
  const std::wstring command =
      L"/usr/bin/import -window root -crop " + std::to_wstring(r.right - r.left) + L"x" +
      std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
      std::to_wstring(r.top) + L" -colors 64 PNG8:" + win32::WidenCp932(unixPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = command;
  if (!::CreateProcessW(L"Z:\\usr\\bin\\import", commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "could not start import";
    return;
  }
  win32::UniqueHandle process(info.hProcess);
  win32::UniqueHandle thread(info.hThread);
  const std::wstring dosPath = L"Z:" + win32::WidenCp932(unixPath);
  LONGLONG last = -1;
  WaitFor(
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(dosPath.c_str(), GetFileExInfoStandard, &data)) return false;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const bool settled = size > 0 && size == last;
        last = size;
        std::this_thread::sleep_for(300ms);
        return settled;
      },
      15s);
}

// One notavo.exe on one file, with its main window and editor found.
class RunningEditor {
 public:
  RunningEditor(const TempFolder& folder, const std::string& bytes)
      : FPath(folder / L"表示.txt"), FNotavo((WriteWholeFile(FPath, bytes), FPath)) {
    const std::optional<WindowInfo> main = FNotavo.WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo.WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
    FThread = ::GetWindowThreadProcessId(FEditor, nullptr);
    FSetCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
  }

  bool Ready() const { return FEditor != nullptr; }
  HWND Main() const { return FMain; }
  HWND Editor() const { return FEditor; }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(FEditor, message, wParam, lParam);
  }
  int FirstVisibleLine() const { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)); }
  int LineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }

  // The caret's rectangle in the editor's client area after putting it at
  // (col, row): the left edge of that character and the top of its row.
  std::optional<RECT> CaretAt(int col, int row) const {
    Send(FSetCaret, 0, Pack(col, row));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(FThread, &info) || info.hwndCaret != FEditor) return std::nullopt;
    return info.rcCaret;
  }

  // Waits until the editor's message queue is empty (everything posted to
  // it, including the repaint, has been handled).
  void Settle() const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(FEditor, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    FNotavo.WaitUntilIdle();
    std::this_thread::sleep_for(100ms);
  }

 private:
  std::wstring FPath;
  NotavoProcess FNotavo;
  HWND FMain = nullptr;
  HWND FEditor = nullptr;
  DWORD FThread = 0;
  UINT FSetCaret = 0;
};

}  // namespace notavo::testing
