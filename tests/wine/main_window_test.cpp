// The running notavo.exe as a person uses it, with real keys and clicks
// (xdotool through the X server): opening, typing, saving, Save As through
// the real dialog, the save prompt answered each way, the recent list, the
// status bar, the settings written at close, and the failures that must
// keep the text: a save onto a read-only file, a load that cannot read, a
// settings file that cannot be written. Each run uses a copy of notavo.exe
// in a folder of its own, so its settings file is its own too.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// commctrl.h needs windows.h before it.
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"
#include "tests/wine/notavo_process.h"
#include "tests/wine/notavo_session.h"
#include "tests/wine/real_input.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::ChildTexts;
using testing::EditorText;
using testing::NotavoProcess;
using testing::PointAt;
using testing::ReadWholeFile;
using testing::Session;
using testing::TempFolder;
using testing::WindowInfo;
using testing::WriteWholeFile;
using testing::Xdotool;

bool WaitFor(const std::function<bool()>& probe, std::chrono::milliseconds timeout = 8s) {
  const auto deadline = Clock::now() + timeout;
  while (!probe()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::XdotoolAvailable()) GTEST_SKIP() << "xdotool is not installed";
    // The file dialogs start in the program's current folder, which it
    // takes from this process: names can be typed without their folder.
    wchar_t previous[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    FPreviousFolder = previous;
    ::SetCurrentDirectoryW(FFolder.Path().c_str());
  }
  void TearDown() override { ::SetCurrentDirectoryW(FPreviousFolder.c_str()); }
  std::wstring Path(const std::wstring& leaf) const { return FFolder / leaf; }

  TempFolder FFolder;
  std::wstring FPreviousFolder;
};

const std::wstring kModified = L"変更";

TEST_F(MainWindow, TypeAndSaveWritesCrLfWithNothingAfterTheLastLine) {
  const std::wstring file = Path(L"lf.txt");
  WriteWholeFile(file, "one\ntwo");
  Session s(FFolder, file);
  ASSERT_TRUE(s.Ready());
  EXPECT_EQ(s.Caption(), L"Notavo - " + file);
  EXPECT_EQ(s.Panel(0), L"    1: 1");
  EXPECT_EQ(s.Panel(2), L"挿入");

  ASSERT_TRUE(s.Keys(L"End"));
  ASSERT_TRUE(s.Type(L"X"));
  EXPECT_TRUE(WaitFor([&] { return s.Panel(1) == kModified; })) << s.Panel(1);
  EXPECT_EQ(s.Panel(0), L"    1: 5");
  ASSERT_TRUE(s.Keys(L"ctrl+s"));
  // Read while the save may be replacing the file: missing for a moment.
  const auto saved = [&] {
    try {
      return ReadWholeFile(file);
    } catch (const std::exception&) {
      return std::string("<missing>");
    }
  };
  EXPECT_TRUE(WaitFor([&] { return saved() == "oneX\r\ntwo"; })) << saved();
  EXPECT_TRUE(WaitFor([&] { return s.Panel(1) == L" "; })) << s.Panel(1);
  EXPECT_EQ(s.Recent(), std::vector<std::wstring>{file});

  // Moves, typing and Insert in the panels.
  ASSERT_TRUE(s.Keys(L"Down End Insert"));
  EXPECT_TRUE(WaitFor([&] { return s.Panel(2) == L"上書き"; })) << s.Panel(2);
  EXPECT_EQ(s.Panel(0), L"    2: 4");
  ASSERT_TRUE(s.Keys(L"Home"));
  ASSERT_TRUE(s.Type(L"ab"));
  EXPECT_TRUE(WaitFor([&] { return s.Text() == "oneX\r\nabo"; })) << s.Text();
  EXPECT_EQ(s.Panel(0), L"    2: 3");
  EXPECT_EQ(s.Panel(1), kModified);
}

TEST_F(MainWindow, AMissingFileIsANewDocumentThatSaveCreates) {
  const std::wstring file = Path(L"新規.txt");
  Session s(FFolder, file);
  ASSERT_TRUE(s.Ready());
  EXPECT_EQ(s.Caption(), L"Notavo - " + file);
  EXPECT_EQ(s.Text(), "");
  ASSERT_TRUE(s.Type(L"hello"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "hello"; }));
  ASSERT_TRUE(s.Keys(L"ctrl+s"));
  EXPECT_TRUE(WaitFor([&] {
    return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
           ReadWholeFile(file) == "hello";
  }));
}

TEST_F(MainWindow, SaveAsThroughTheDialogAddsTheTxtExtension) {
  Session s(FFolder, std::nullopt);
  ASSERT_TRUE(s.Ready());
  EXPECT_EQ(s.Caption(), L"Notavo - 無題");
  ASSERT_TRUE(s.Type(L"saved text"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "saved text"; }));
  ASSERT_TRUE(s.Keys(L"ctrl+s"));  // untitled: Save is Save As
  const std::optional<WindowInfo> dialog = s.Dialog();
  ASSERT_TRUE(dialog) << "no save dialog";
  ASSERT_TRUE(Session::DialogKeys(dialog->handle, L"type --delay 40 named"));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(Session::DialogKeys(dialog->handle, L"key Return"));
  const std::wstring file = Path(L"named.txt");
  EXPECT_TRUE(WaitFor([&] {
    return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
           ReadWholeFile(file) == "saved text";
  }));
  EXPECT_TRUE(WaitFor([&] { return s.Caption() == L"Notavo - " + file; })) << s.Caption();
  EXPECT_EQ(s.Panel(1), L" ");
}

// New on a modified document, the prompt answered each way.
TEST_F(MainWindow, NewAsksAndEachAnswerDoesWhatItSays) {
  const std::wstring file = Path(L"doc.txt");
  WriteWholeFile(file, "text");
  Session s(FFolder, file);
  ASSERT_TRUE(s.Ready());
  ASSERT_TRUE(s.Type(L"A"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "Atext"; }));

  // Cancel (Esc): nothing happens.
  ASSERT_TRUE(s.Keys(L"ctrl+n"));
  std::optional<WindowInfo> box = s.Dialog();
  ASSERT_TRUE(box) << "no prompt";
  EXPECT_EQ(box->caption, L"警告");
  const std::wstring texts = ChildTexts(box->handle);
  for (const std::wstring& part :
       {std::wstring(L"はい(&Y)"), std::wstring(L"いいえ(&N)"), std::wstring(L"キャンセル"),
        L"ファイルの内容が変更されています。\r\n" + file + L"を保存しますか？"}) {
    EXPECT_NE(texts.find(part), std::wstring::npos) << win32::NarrowCp932(part);
  }
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Escape"));
  ASSERT_TRUE(s.DialogGone());
  EXPECT_EQ(s.Text(), "Atext");
  EXPECT_EQ(s.Caption(), L"Notavo - " + file);

  // Yes (Enter, the default): saved, then a new document.
  ASSERT_TRUE(s.Keys(L"ctrl+n"));
  box = s.Dialog();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
  EXPECT_TRUE(WaitFor([&] { return s.Caption() == L"Notavo - 無題"; })) << s.Caption();
  EXPECT_EQ(ReadWholeFile(file), "Atext");
  EXPECT_EQ(s.Text(), "");

  // No (its letter): the changes go, and the new document is in insert
  // mode again, as its panel says.
  ASSERT_TRUE(s.Keys(L"Insert"));
  ASSERT_TRUE(s.Type(L"B"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "B"; }));
  EXPECT_EQ(s.Panel(2), L"上書き");
  ASSERT_TRUE(s.Keys(L"ctrl+n"));
  box = s.Dialog();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key n"));
  EXPECT_TRUE(WaitFor([&] { return s.Text().empty(); })) << s.Text();
  EXPECT_TRUE(WaitFor([&] { return s.Panel(2) == L"挿入"; })) << win32::NarrowCp932(s.Panel(2));

  // Yes on an untitled document, then the save dialog cancelled: New stops,
  // the text stays.
  ASSERT_TRUE(s.Type(L"C"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "C"; }));
  ASSERT_TRUE(s.Keys(L"ctrl+n"));
  box = s.Dialog();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
  std::optional<WindowInfo> save;
  ASSERT_TRUE(WaitFor([&] {
    save = s.DialogNow();
    return save && save->caption != L"警告";
  })) << "no save dialog";
  ASSERT_TRUE(Session::DialogKeys(save->handle, L"key Escape"));
  ASSERT_TRUE(s.DialogGone());
  EXPECT_EQ(s.Text(), "C");
  EXPECT_EQ(s.Panel(1), kModified);
}

// A save that fails says why and keeps everything as it was, Save included.
TEST_F(MainWindow, ASaveOntoAReadOnlyFileSaysWhyAndKeepsTheText) {
  const std::wstring file = Path(L"readonly.txt");
  WriteWholeFile(file, "kept");
  Session s(FFolder, file);
  ASSERT_TRUE(s.Ready());
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(s.Type(L"new "));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "new kept"; }));
  for (int attempt = 0; attempt < 2; ++attempt) {
    ASSERT_TRUE(s.Keys(L"ctrl+s"));
    const std::optional<WindowInfo> box = s.Dialog();
    ASSERT_TRUE(box) << "no message on attempt " << attempt;
    EXPECT_EQ(box->caption, L"Notavo");
    const std::wstring texts = ChildTexts(box->handle);
    EXPECT_NE(texts.find(L"ファイルを保存できません: " + file), std::wstring::npos)
        << win32::NarrowCp932(texts);
    ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
    ASSERT_TRUE(s.DialogGone());
    EXPECT_EQ(s.Text(), "new kept");
    EXPECT_EQ(s.Panel(1), kModified);
    EXPECT_EQ(s.Caption(), L"Notavo - " + file);
    EXPECT_TRUE(s.Recent().empty());
  }
  // New, Yes, and the save fails: New stops, nothing is discarded.
  ASSERT_TRUE(s.Keys(L"ctrl+n"));
  std::optional<WindowInfo> box = s.Dialog();
  ASSERT_TRUE(box && box->caption == L"警告");
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
  ASSERT_TRUE(WaitFor([&] {
    box = s.DialogNow();
    return box && box->caption == L"Notavo";
  })) << "no message for the failed save";
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
  ASSERT_TRUE(s.DialogGone());
  EXPECT_EQ(s.Text(), "new kept");
  EXPECT_EQ(s.Caption(), L"Notavo - " + file);
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadWholeFile(file), "kept");
}

// A double click on the recent list with no entry there asks nothing and
// changes nothing.
TEST_F(MainWindow, ADoubleClickOnTheEmptyRecentListDoesNothing) {
  Session s(FFolder, std::nullopt);
  ASSERT_TRUE(s.Ready());
  ASSERT_TRUE(s.Type(L"q"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "q"; }));
  ASSERT_TRUE(PointAt(s.List(), 30, 20));
  ASSERT_TRUE(Xdotool(L"click --repeat 2 --delay 80 1"));
  EXPECT_FALSE(s.Dialog(1500ms)) << "a prompt for a double click on nothing";
  EXPECT_EQ(s.Text(), "q");
  EXPECT_EQ(s.Caption(), L"Notavo - 無題");

  // The click left the keyboard in the list: F6 takes it back to the text,
  // where Shift+F10 opens the editor's context menu; its Select All works.
  ASSERT_TRUE(s.Keys(L"F6 shift+F10"));
  EXPECT_TRUE(WaitFor([&] {
    for (const WindowInfo& w : s.Process().Windows()) {
      if (w.className == L"#32768") return true;
    }
    return false;
  })) << "no context menu";
  ASSERT_TRUE(Xdotool(L"key a"));  // 全てを選択(&A)
  // The menu gone first: a second xdotool run may overtake the first.
  EXPECT_TRUE(WaitFor([&] {
    for (const WindowInfo& w : s.Process().Windows()) {
      if (w.className == L"#32768") return false;
    }
    return true;
  })) << "the context menu stayed";
  ASSERT_TRUE(s.Keys(L"x"));
  EXPECT_TRUE(WaitFor([&] { return s.Text() == "x"; })) << s.Text();
}

// A file that cannot be read, chosen in the open dialog: reported, and the
// open document keeps its text, name and undo history.
TEST_F(MainWindow, AnUnreadableFileLeavesTheOpenDocumentAlone) {
  const std::wstring file = Path(L"mine.txt");
  WriteWholeFile(file, "mine");
  const std::wstring locked = Path(L"locked.txt");
  WriteWholeFile(locked, "theirs");
  win32::UniqueHandle lock(::CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  Session s(FFolder, file);
  ASSERT_TRUE(s.Ready());
  ASSERT_TRUE(s.Type(L"Z"));
  ASSERT_TRUE(WaitFor([&] { return s.Text() == "Zmine"; }));
  ASSERT_TRUE(s.Keys(L"ctrl+o"));
  std::optional<WindowInfo> box = s.Dialog();
  ASSERT_TRUE(box && box->caption == L"警告");
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key n"));  // do not save
  std::optional<WindowInfo> open;
  ASSERT_TRUE(WaitFor([&] {
    open = s.DialogNow();
    return open && open->caption != L"警告";
  })) << "no open dialog";
  ASSERT_TRUE(Session::DialogKeys(open->handle, L"type --delay 40 locked.txt"));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(Session::DialogKeys(open->handle, L"key Return"));
  ASSERT_TRUE(WaitFor([&] {
    box = s.DialogNow();
    return box && box->caption == L"Notavo";
  })) << "no error message";
  EXPECT_NE(ChildTexts(box->handle).find(L"ファイルを開けません: " + locked), std::wstring::npos)
      << win32::NarrowCp932(ChildTexts(box->handle));
  ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
  ASSERT_TRUE(s.DialogGone());
  EXPECT_EQ(s.Text(), "Zmine");
  EXPECT_EQ(s.Caption(), L"Notavo - " + file);
  EXPECT_TRUE(s.Recent().empty());
  ASSERT_TRUE(s.Keys(L"ctrl+z"));
  EXPECT_TRUE(WaitFor([&] { return s.Text() == "mine"; })) << "undo history lost: " << s.Text();
}

// Nine files opened through the dialog, one reopened from the list by a
// double click, one reopened in other letter case; a screenshot of the
// whole window for the README.
TEST_F(MainWindow, RecentListKeepsEightNewestFirstWithoutDuplicates) {
  std::vector<std::wstring> names;
  for (int i = 1; i <= 9; ++i) {
    names.push_back(L"file" + std::to_wstring(i) + L".txt");
    WriteWholeFile(Path(names.back()),
                   "file " + std::to_string(i) + "\r\n\x93\xfa\x96\x7b\x8c\xea\tline\r\n");
  }
  Session s(FFolder, std::nullopt);
  ASSERT_TRUE(s.Ready());
  auto open = [&](const std::wstring& name) {
    if (!s.Keys(L"ctrl+o")) return false;
    std::optional<WindowInfo> dialog = s.Dialog();
    if (!dialog) return false;
    Session::DialogKeys(dialog->handle, L"type --delay 30 " + name);
    std::this_thread::sleep_for(300ms);
    Session::DialogKeys(dialog->handle, L"key Return");
    return s.DialogGone() && WaitFor([&] { return s.Caption().find(name) != std::wstring::npos; });
  };
  for (const std::wstring& name : names) ASSERT_TRUE(open(name)) << win32::NarrowCp932(name);
  std::vector<std::wstring> expected;
  for (int i = 9; i >= 2; --i) expected.push_back(Path(names[static_cast<std::size_t>(i - 1)]));
  EXPECT_EQ(s.Recent(), expected);

  // A double click on the third entry (file7) opens it and moves it up.
  const int itemHeight = static_cast<int>(::SendMessageW(s.List(), LB_GETITEMHEIGHT, 0, 0));
  ASSERT_TRUE(PointAt(s.List(), 30, itemHeight * 2 + itemHeight / 2));
  ASSERT_TRUE(Xdotool(L"click --repeat 2 --delay 80 1"));
  EXPECT_TRUE(WaitFor([&] { return s.Caption() == L"Notavo - " + Path(L"file7.txt"); }))
      << win32::NarrowCp932(s.Caption());
  std::vector<std::wstring> after = s.Recent();
  ASSERT_EQ(after.size(), 8u);
  EXPECT_EQ(after[0], Path(L"file7.txt"));
  EXPECT_EQ(after[1], Path(L"file9.txt"));
  EXPECT_EQ(after[2], Path(L"file8.txt"));

  // The same file in capitals: one entry, the new spelling at the top.
  ASSERT_TRUE(open(L"FILE5.TXT"));
  after = s.Recent();
  ASSERT_EQ(after.size(), 8u);
  EXPECT_EQ(after[0], Path(L"FILE5.TXT"));
  EXPECT_EQ(std::count_if(after.begin(), after.end(),
                          [](const std::wstring& n) {
                            return n.find(L"file5") != std::wstring::npos ||
                                   n.find(L"FILE5") != std::wstring::npos;
                          }),
            1);

  ASSERT_TRUE(s.Keys(L"Down End"));
  std::this_thread::sleep_for(300ms);
  RECT r{};
  ::GetWindowRect(s.Main(), &r);
  char folder[1024] = "";
  const DWORD length = ::GetEnvironmentVariableA("NOTAVO_SCREENSHOTS", folder, sizeof folder);
  if (length > 0 && length < sizeof folder) {
    const std::wstring command =
        L"/usr/bin/import -window root -crop " + std::to_wstring(r.right - r.left) + L"x" +
        std::to_wstring(r.bottom - r.top) + L"+" + std::to_wstring(r.left) + L"+" +
        std::to_wstring(r.top) + L" PNG8:" + win32::WidenCp932(folder) +
        L"/screenshot-main-window.png";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = command;
    if (::CreateProcessW(L"Z:\\usr\\bin\\import", line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info)) {
      win32::UniqueHandle process(info.hProcess), thread(info.hThread);
      std::this_thread::sleep_for(3s);
    }
  }
}

// Closing writes the window size and the font beside the program; a
// settings file that cannot be written is reported and the window closes.
TEST_F(MainWindow, CloseWritesTheSettingsOrSaysItCannotAndClosesAnyway) {
  {
    Session s(FFolder, std::nullopt);
    ASSERT_TRUE(s.Ready());
    RECT r{};
    ::GetWindowRect(s.Main(), &r);
    EXPECT_EQ(r.right - r.left, 638);
    EXPECT_EQ(r.bottom - r.top, 478);
    ASSERT_TRUE(s.Keys(L"alt+F4"));
    EXPECT_TRUE(s.Process().WaitForExit()) << "still running after Alt+F4";
    const std::string ini = ReadWholeFile(Path(L"notavo.ini"));
    for (const char* line : {"[Form]", "MainForm.Width=638", "MainForm.Height=478", "[Font]",
                             "FontName=FixedSys", "FontSize=14"}) {
      EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
    }
  }
  // Stored values come back at the next start.
  WriteWholeFile(Path(L"notavo.ini"), "[Form]\r\nMainForm.Width=700\r\nMainForm.Height=500\r\n");
  {
    Session s(FFolder, std::nullopt);
    ASSERT_TRUE(s.Ready());
    RECT r{};
    ::GetWindowRect(s.Main(), &r);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 500);
    ASSERT_TRUE(::DeleteFileW(Path(L"notavo.ini").c_str()));
    // A folder where the file should be: nothing can be written there.
    ASSERT_TRUE(::CreateDirectoryW(Path(L"notavo.ini").c_str(), nullptr));
    ASSERT_TRUE(s.Keys(L"alt+F4"));
    const std::optional<WindowInfo> box = s.Dialog();
    ASSERT_TRUE(box) << "no message";
    EXPECT_NE(ChildTexts(box->handle).find(Path(L"notavo.ini") + L" に書き込めません"),
              std::wstring::npos)
        << win32::NarrowCp932(ChildTexts(box->handle));
    ASSERT_TRUE(Session::DialogKeys(box->handle, L"key Return"));
    EXPECT_TRUE(s.Process().WaitForExit()) << "the window stayed open";
  }
}

}  // namespace
}  // namespace notavo
