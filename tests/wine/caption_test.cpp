// Starts the real notavo.exe and checks what a user sees first: one main
// window whose caption names the document, and a clean exit on WM_CLOSE.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder;
using testing::WriteWholeFile;
using win32::UniqueHandle;

constexpr auto kWindowTimeout = 20s;
constexpr DWORD kExitTimeoutMs = 10000;

// NOTAVO_EXE if set, else notavo.exe in this program's folder or one of the
// three above it (the build puts it in build/win, the tests below that).
std::wstring FindNotavoExe() {
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

struct WindowInfo {
  HWND handle;
  std::wstring className;
  std::wstring caption;
};

// The visible, unowned top-level windows of one process and its dialogs.
std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
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
  explicit NotavoProcess(const std::optional<std::wstring>& argument) {
    const std::wstring exe = FindNotavoExe();
    if (exe.empty()) throw std::runtime_error("notavo.exe not found; set NOTAVO_EXE");
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (argument) commandLine += L" \"" + *argument + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
      throw std::runtime_error("CreateProcessW failed, error " + std::to_string(::GetLastError()));
    }
    FProcess.Reset(info.hProcess);
    UniqueHandle thread(info.hThread);  // not needed
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
  UniqueHandle FProcess;
  DWORD FProcessId = 0;
};

// All text shown by the children of `window` (a message box's label, say).
std::wstring ChildTexts(HWND window) {
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

constexpr const wchar_t* kMainFormClass = L"NotavoMainForm";
constexpr const wchar_t* kDialogClass = L"#32770";

struct CaptionCase {
  const char* label;
  std::wstring leaf;  // document inside the scratch folder; empty: no argument
  bool createFile;
};

void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.label; }

class CaptionTest : public ::testing::TestWithParam<CaptionCase> {
 protected:
  TempFolder FFolder;
};

TEST_P(CaptionTest, OneMainWindowNamedAfterTheDocumentThatClosesCleanly) {
  const CaptionCase& c = GetParam();
  std::optional<std::wstring> argument;
  std::wstring expected = L"Notavo - 無題";
  if (!c.leaf.empty()) {
    const std::wstring path = FFolder / c.leaf;
    const std::size_t slash = path.find_last_of(L'\\');
    ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    if (c.createFile) {
      WriteWholeFile(path, "first line\r\n\x93\xfa\x96\x7b\x8c\xea\r\nlast line\r\n");
    }
    argument = path;
    expected = L"Notavo - " + path;
  }

  NotavoProcess notavo(argument);
  const std::optional<WindowInfo> main = notavo.WaitForWindow(kMainFormClass);
  ASSERT_TRUE(main) << "no main window within 20 s";
  EXPECT_EQ(main->caption, expected);
  // Loading happens after the window shows; give a message box the chance to
  // appear before concluding there is none.
  notavo.WaitUntilIdle();
  EXPECT_FALSE(notavo.WaitForWindow(kDialogClass, 1s)) << "unexpected message box";
  EXPECT_EQ(notavo.Windows().size(), 1u) << "expected the main window and nothing else";

  const std::optional<DWORD> exitCode = notavo.CloseAndWait(main->handle);
  ASSERT_TRUE(exitCode) << "still running 10 s after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, CaptionTest,
    ::testing::Values(CaptionCase{"NoArgument", L"", false},
                      CaptionCase{"AsciiFile", L"notes.txt", true},
                      CaptionCase{"SpacesInPath", L"my docs\\a b.txt", true},
                      CaptionCase{"JapanesePath", L"日本語フォルダ\\表示テスト.txt", true},
                      CaptionCase{"MissingFileIsNewDocument", L"not yet\\新規.txt", false}),
    [](const auto& info) { return std::string(info.param.label); });

// A file that exists but cannot be read: the user gets a message box, the
// main window still comes up with the name, and the program keeps running.
TEST(CaptionUnreadable, ReportsTheErrorAndKeepsRunning) {
  TempFolder folder;
  const std::wstring path = folder / L"ロック.txt";
  WriteWholeFile(path, "secret");
  // Held open without sharing, so notavo's read fails.
  UniqueHandle lock(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);

  NotavoProcess notavo(path);
  const std::optional<WindowInfo> box = notavo.WaitForWindow(kDialogClass);
  ASSERT_TRUE(box) << "no message box within 20 s";
  EXPECT_EQ(box->caption, L"Notavo");
  EXPECT_NE(ChildTexts(box->handle).find(L"ファイルを開けません: " + path), std::wstring::npos)
      << win32::NarrowCp932(ChildTexts(box->handle));
  const std::optional<WindowInfo> main = notavo.WaitForWindow(kMainFormClass);
  ASSERT_TRUE(main);
  EXPECT_EQ(main->caption, L"Notavo - " + path);

  ::PostMessageW(box->handle, WM_COMMAND, IDOK, 0);
  const auto deadline = std::chrono::steady_clock::now() + kWindowTimeout;
  while (notavo.Windows().size() > 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(notavo.Running()) << "the program ended after the message box";
  const std::optional<DWORD> exitCode = notavo.CloseAndWait(main->handle);
  ASSERT_TRUE(exitCode) << "still running 10 s after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace notavo
