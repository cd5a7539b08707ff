// notavo.exe as a person uses it, from another process: a copy started in a
// scratch folder (so its settings file is its own), its windows, keys typed
// into them with xdotool, and texts read back.
#pragma once

// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>
// clang-format on

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/notavo_process.h"
#include "tests/wine/real_input.h"
#include "tests/wine/running_editor.h"
#include "tests/wine/test_support.h"

namespace notavo::testing {

inline constexpr std::chrono::milliseconds kDialogTimeout = 8s;

// A control's text in another process: the reply lands in memory borrowed
// from that process and is read back from there.
inline std::wstring RemoteText(HANDLE process, HWND window, UINT message, WPARAM wParam) {
  constexpr SIZE_T kBytes = 8192;
  void* remote = ::VirtualAllocEx(process, nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return L"<no memory>";
  std::vector<wchar_t> text(kBytes / sizeof(wchar_t), L'\0');
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL,
                        5000, &result);
  SIZE_T read = 0;
  ::ReadProcessMemory(process, remote, text.data(), kBytes - sizeof(wchar_t), &read);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text.data();
}

// notavo.exe copied into a scratch folder and started there.
class Session {
 public:
  Session(const TempFolder& folder, const std::optional<std::wstring>& argument)
      : FExe(CopyProgram(folder)), FNotavo(argument, FExe) {
    const std::optional<WindowInfo> main = FNotavo.WaitForWindow(L"NotavoMainForm");
    if (!main) return;
    FNotavo.WaitUntilIdle();
    FMain = main->handle;
    FEditor = ::FindWindowExW(FMain, nullptr, L"TZelEdit", nullptr);
    FStatus = ::FindWindowExW(FMain, nullptr, L"msctls_statusbar32", nullptr);
    FList = ::FindWindowExW(FMain, nullptr, L"ListBox", nullptr);
  }
  // Closes the program the way a user does, declining to save, rather than
  // ending it from outside: Wine's desktop does not always recover from a
  // terminated program that held the active window.
  ~Session() {
    if (FMain == nullptr || !FNotavo.Running()) return;
    for (int attempt = 0; attempt < 3 && FNotavo.Running(); ++attempt) {
      if (const std::optional<WindowInfo> box = DialogNow()) {
        ::PostMessageW(box->handle, WM_COMMAND, box->caption == L"警告" ? IDNO : IDCANCEL, 0);
        std::this_thread::sleep_for(200ms);
        continue;
      }
      ::PostMessageW(FMain, WM_CLOSE, 0, 0);
      WaitFor([&] { return !FNotavo.Running() || DialogNow().has_value(); }, 5s);
    }
  }
  bool Ready() const { return FEditor != nullptr && FStatus != nullptr && FList != nullptr; }

  static std::wstring CopyProgram(const TempFolder& folder) {
    const std::wstring copy = folder / L"notavo.exe";
    ::CopyFileW(testing::FindNotavoExe().c_str(), copy.c_str(), FALSE);
    return copy;
  }

  std::wstring Caption() const {
    wchar_t text[1024] = L"";
    ::GetWindowTextW(FMain, text, 1024);
    return text;
  }
  std::wstring Panel(int index) const {
    return RemoteText(FNotavo.Process(), FStatus, SB_GETTEXTW, index);
  }
  std::vector<std::wstring> Recent() const {
    std::vector<std::wstring> items;
    const auto count = ::SendMessageW(FList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      // The system copies a list box's text across processes itself.
      wchar_t text[2048] = L"";
      ::SendMessageW(FList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  std::string Text() const { return EditorText(FEditor); }

  // Keys typed into the editor (the pointer over it: without a window
  // manager the keyboard follows the pointer).
  bool Keys(const std::wstring& xdotoolArguments) const {
    RECT client{};
    ::GetClientRect(FEditor, &client);
    return PointAt(FEditor, client.right / 2, client.bottom / 2) &&
           Xdotool(L"key --delay 40 " + xdotoolArguments);
  }
  bool Type(const std::wstring& text) const {
    RECT client{};
    ::GetClientRect(FEditor, &client);
    return PointAt(FEditor, client.right / 2, client.bottom / 2) &&
           Xdotool(L"type --delay 40 \"" + text + L"\"");
  }

  // The next dialog of the program (a message box, a file dialog).
  std::optional<WindowInfo> Dialog(std::chrono::milliseconds timeout = kDialogTimeout) const {
    std::optional<WindowInfo> found;
    WaitFor([&] { return (found = DialogNow()).has_value(); }, timeout);
    return found;
  }
  std::optional<WindowInfo> DialogNow() const {
    for (const WindowInfo& window : FNotavo.Windows()) {
      if (window.className == L"#32770") return window;
    }
    return std::nullopt;
  }
  // The program's dialog with this caption, when several are up (a notice
  // over a find dialog, say).
  std::optional<WindowInfo> DialogTitled(const std::wstring& caption,
                                         std::chrono::milliseconds timeout = kDialogTimeout) const {
    std::optional<WindowInfo> found;
    WaitFor(
        [&] {
          for (const WindowInfo& window : FNotavo.Windows()) {
            if (window.className == L"#32770" && window.caption == caption) {
              found = window;
              return true;
            }
          }
          return false;
        },
        timeout);
    return found;
  }
  bool DialogGone() const {
    return WaitFor([&] { return !DialogNow(); }, kDialogTimeout);
  }
  // Keys into a dialog, the pointer over it.
  static bool DialogKeys(HWND dialog, const std::wstring& xdotoolArguments) {
    return PointAt(dialog, 20, 20) && Xdotool(xdotoolArguments);
  }

  HWND Main() const { return FMain; }
  HWND Editor() const { return FEditor; }
  HWND List() const { return FList; }
  NotavoProcess& Process() { return FNotavo; }

 private:
  std::wstring FExe;
  NotavoProcess FNotavo;
  HWND FMain = nullptr, FEditor = nullptr, FStatus = nullptr, FList = nullptr;
};

}  // namespace notavo::testing
