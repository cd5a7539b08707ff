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
#include "tests/wine/notavo_process.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using testing::ChildTexts;
using testing::kWindowTimeout;
using testing::NotavoProcess;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;
using win32::UniqueHandle;

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
// main window still comes up, untitled (so that Save cannot write the empty
// document over that file), and the program keeps running.
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
  EXPECT_EQ(main->caption, L"Notavo - 無題");

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
