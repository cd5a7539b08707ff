// Keys and repaints of the running notavo.exe under Wine, against Wine's own
// notepad in the same run. Each key goes to the program's editor window as
// synchronous messages from this process (WM_KEYDOWN and WM_KEYUP, or
// WM_CHAR), followed by RedrawWindow(RDW_UPDATENOW) on its main window, so a
// figure holds the key and every paint it left pending. Prints the median
// milliseconds per key of each case for both programs, and the time from
// starting notavo.exe to a shown window that answers a message, for the
// 100 MB document against an empty one.
//
// Usage: wine_key_bench.exe BIG_DOCUMENT [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/notavo_process.h"
#include "tests/wine/test_support.h"

namespace notavo {
namespace {

using testing::NotavoProcess;
using testing::TempFolder;
using testing::WriteWholeFile;

constexpr int kTypedKeys = 50;  // per round: the row stays inside the window

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMs;
}

// Progress on stderr, at once (the output of a program under Wine's
// desktop reaches the terminal only when flushed).
void Say(const char* what, const wchar_t* who) {
  std::fprintf(stderr, "%s: %ls\n", what, who);
  std::fflush(stderr);
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One program on one document: its main window and the window keys go to.
class Target {
 public:
  struct Kind {
    const wchar_t* name;
    std::wstring exe;
    const wchar_t* mainClass;
    const wchar_t* editClass;
  };

  Target(const Kind& kind, const std::wstring& document,
         std::chrono::milliseconds timeout = testing::kWindowTimeout)
      : FKind(kind), FProcess(document, kind.exe) {
    const auto main = FProcess.WaitForWindow(kind.mainClass, timeout);
    if (!main) return;
    FProcess.WaitUntilIdle();
    FMain = main->handle;
    FEdit = ::FindWindowExW(FMain, nullptr, kind.editClass, nullptr);
    Front();
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  // The process ends with the object (terminated: the typing left a
  // modified document, whose save prompt would wait).

  bool Ready() const { return FEdit != nullptr; }
  bool IsNotavo() const { return std::wstring(FKind.editClass) == L"TZelEdit"; }
  HWND Edit() const { return FEdit; }

  // In front with the focus, as for someone typing into it.
  void Front() const {
    ::SetForegroundWindow(FMain);
    ::Sleep(100);
    Sync();
  }
  void Sync() const { ::RedrawWindow(FMain, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
  // -1 when the program does not answer within a minute.
  int FirstVisibleRow() const {
    DWORD_PTR row = 0;
    if (!::SendMessageTimeoutW(FEdit, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_NORMAL, 10000, &row)) {
      return -1;
    }
    return static_cast<int>(row);
  }

  // The caret at the end of row `row` (rows as each program counts them).
  void CaretToRowEnd(int row) const {
    if (IsNotavo()) {
      static const UINT setCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
      ::SendMessageA(FEdit, setCaret, 0, MAKELONG(0xFFFF, row));
    } else {
      const auto start = ::SendMessageW(FEdit, EM_LINEINDEX, static_cast<WPARAM>(row), 0);
      const auto length = ::SendMessageW(FEdit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
      ::SendMessageW(FEdit, EM_SETSEL, static_cast<WPARAM>(start + length), start + length);
      ::SendMessageW(FEdit, EM_SCROLLCARET, 0, 0);
    }
    Sync();
  }

  double Char(char c) const {
    const double start = NowMs();
    ::SendMessageA(FEdit, WM_CHAR, static_cast<unsigned char>(c), 1);
    Sync();
    return NowMs() - start;
  }
  double Key(UINT virtualKey) const {
    const double start = NowMs();
    ::SendMessageW(FEdit, WM_KEYDOWN, virtualKey, 1);
    ::SendMessageW(FEdit, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
    Sync();
    return NowMs() - start;
  }
  // Backspace: notavo.exe takes the key, the edit control the character.
  void Backspace() const {
    ::SendMessageW(FEdit, WM_KEYDOWN, VK_BACK, 1);
    ::SendMessageW(FEdit, WM_CHAR, '\b', 1);
  }
  // A message that does nothing, and the same wait: what every figure
  // above pays for crossing into the other process.
  double RoundTrip() const {
    const double start = NowMs();
    ::SendMessageW(FEdit, WM_NULL, 0, 0);
    Sync();
    return NowMs() - start;
  }
  double Repaint() const {
    const double start = NowMs();
    ::InvalidateRect(FEdit, nullptr, FALSE);
    ::UpdateWindow(FEdit);
    Sync();
    ::SendMessageW(FEdit, WM_NULL, 0, 0);
    return NowMs() - start;
  }

  // Ctrl+End as real input (a key's Ctrl state cannot travel in a message);
  // waits until the view shows the document's end.
  bool GoToEnd(int atLeastRow) const {
    Front();
    INPUT keys[4]{};
    const WORD codes[4] = {VK_CONTROL, VK_END, VK_END, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wVk = codes[i];
      keys[i].ki.dwFlags =
          (i >= 2 ? KEYEVENTF_KEYUP : 0) | (i == 1 || i == 2 ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    ::SendInput(4, keys, sizeof(INPUT));
    const double deadline = NowMs() + 30000;
    while (NowMs() < deadline && FirstVisibleRow() < atLeastRow) ::Sleep(100);
    Sync();
    return FirstVisibleRow() >= atLeastRow;
  }

 private:
  Kind FKind;
  NotavoProcess FProcess;
  HWND FMain = nullptr;
  HWND FEdit = nullptr;
};

// Documents: every row ASCII and double-byte words, CR LF.
std::string Words(int columns, int seed) {
  static const char* const words[] = {"notavo ", "window ", "\x93\xFA\x96\x7B\x8C\xEA ",
                                      "menu ",   "text ",   "\x82\xA0\x82\xA2 "};
  std::string row;
  for (int i = seed; static_cast<int>(row.size()) < columns; ++i) row += words[i % 6];
  row.resize(static_cast<std::size_t>(columns));
  if (static_cast<unsigned char>(row.back()) >= 0x80) row.back() = ' ';  // never half a character
  return row;
}

std::string Document(int rows, int columns, int wideRow, int wideColumns) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    text += Words(r == wideRow ? wideColumns : columns - (r * 7) % 12, r);
    if (r + 1 < rows) text += "\r\n";
  }
  return text;
}

struct Figures {
  std::vector<double> roundTrip, ordinary, widening, down, pageDown, repaint, bigEnd;
};

// `kTypedKeys` characters at the end of `row`, then as many Backspaces
// (not timed), `rounds` times.
void TypeAtRowEnd(const Target& target, int row, int rounds, std::vector<double>& times) {
  target.CaretToRowEnd(row);
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < kTypedKeys; ++i) times.push_back(target.Char('a'));
    for (int i = 0; i < kTypedKeys; ++i) target.Backspace();
  }
}

void MeasureSmallDocuments(const Target::Kind& kind, const TempFolder& folder, int rounds,
                           Figures& out) {
  Say("small documents", kind.name);
  // A 14-column row 10 under a 200-column row 0: typing never widens.
  {
    const Target target(kind, folder / L"ordinary.txt");
    if (!target.Ready()) return;
    TypeAtRowEnd(target, 10, rounds, out.ordinary);
  }
  // Row 10 is the widest: every key widens it.
  {
    const Target target(kind, folder / L"widening.txt");
    if (!target.Ready()) return;
    TypeAtRowEnd(target, 10, rounds, out.widening);
  }
  // 20,000 rows: Down at the view's bottom, Page Down, full repaints.
  const Target target(kind, folder / L"rows.txt");
  if (!target.Ready()) return;
  target.CaretToRowEnd(0);
  const std::size_t downBefore = out.down.size();
  for (int key = 0; out.down.size() - downBefore < 100u * rounds && key < 1000 * rounds; ++key) {
    const int top = target.FirstVisibleRow();
    const double ms = target.Key(VK_DOWN);
    if (target.FirstVisibleRow() != top) out.down.push_back(ms);
  }
  for (int key = 0; key < 40 * rounds; ++key) {
    const int top = target.FirstVisibleRow();
    const double ms = target.Key(VK_NEXT);
    if (target.FirstVisibleRow() != top) out.pageDown.push_back(ms);
  }
  for (int i = 0; i < 40 * rounds; ++i) out.repaint.push_back(target.Repaint());
  for (int i = 0; i < 40 * rounds; ++i) out.roundTrip.push_back(target.RoundTrip());
}

void MeasureBigDocument(const Target::Kind& kind, const std::wstring& big, int rounds,
                        Figures& out) {
  Say("100 MB document", kind.name);
  const Target target(kind, big, std::chrono::seconds(120));
  if (!target.Ready() || !target.GoToEnd(1000000)) {
    std::printf("%ls: the 100 MB document did not open or reach its end in time\n", kind.name);
    return;
  }
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < kTypedKeys; ++i) out.bigEnd.push_back(target.Char('a'));
    for (int i = 0; i < kTypedKeys; ++i) target.Backspace();
  }
}

// From CreateProcess until the main window shows and its editor answers.
double TimeToUsable(const std::wstring& exe, const std::wstring& document) {
  const double start = NowMs();
  NotavoProcess process(document, exe);
  for (;;) {
    for (const auto& window : process.Windows()) {
      if (window.className != L"NotavoMainForm") continue;
      HWND edit = ::FindWindowExW(window.handle, nullptr, L"TZelEdit", nullptr);
      DWORD_PTR result = 0;
      if (edit != nullptr &&
          ::SendMessageTimeoutW(edit, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result) != 0) {
        const double ms = NowMs() - start;
        process.CloseAndWait(window.handle);
        return ms;
      }
    }
    if (!process.Running() || NowMs() - start > 300000) return -1;
    ::Sleep(1);
  }
}

void PrintRow(const char* what, const std::vector<double>& notavo,
              const std::vector<double>& notepad) {
  const double a = Median(notavo), b = Median(notepad);
  std::printf("| %s | %.3f (%zu) | ", what, a, notavo.size());
  if (b >= 0) {
    std::printf("%.3f (%zu) | %.3f |\n", b, notepad.size(), a / b);
  } else {
    std::printf("— | |\n");
  }
}

int Run(const std::wstring& big, int rounds) {
  TempFolder folder;
  WriteWholeFile(folder / L"ordinary.txt", Document(60, 24, 0, 200));
  WriteWholeFile(folder / L"widening.txt", Document(60, 24, 10, 30));
  WriteWholeFile(folder / L"rows.txt", Document(20000, 60, -1, 0));
  WriteWholeFile(folder / L"empty.txt", "");

  wchar_t system[MAX_PATH] = L"";
  ::GetSystemDirectoryW(system, MAX_PATH);
  const Target::Kind notavo{
      L"notavo.exe", testing::NotavoCopyWithSettings(folder.Path(), testing::kWrapAt1000Settings),
      L"NotavoMainForm", L"TZelEdit"};
  const Target::Kind notepad{L"notepad.exe", std::wstring(system) + L"\\notepad.exe", L"Notepad",
                             L"Edit"};

  Figures ours, theirs;
  for (int round = 0; round < rounds; ++round) {
    MeasureSmallDocuments(notavo, folder, 1, ours);
    MeasureSmallDocuments(notepad, folder, 1, theirs);
  }
  if (big != L"-") {
    MeasureBigDocument(notavo, big, rounds, ours);
    MeasureBigDocument(notepad, big, rounds, theirs);
  }

  std::printf("\n| ms per key, median (keys) | notavo.exe | Wine notepad | ratio |\n");
  std::printf("| --- | --- | --- | --- |\n");
  PrintRow("WM_NULL and the same wait (the floor)", ours.roundTrip, theirs.roundTrip);
  PrintRow("typing on an ordinary row", ours.ordinary, theirs.ordinary);
  PrintRow("typing that widens the widest row", ours.widening, theirs.widening);
  PrintRow("Down arrow that scrolls one row", ours.down, theirs.down);
  PrintRow("Page Down", ours.pageDown, theirs.pageDown);
  PrintRow("full repaint (InvalidateRect + UpdateWindow)", ours.repaint, theirs.repaint);
  PrintRow("typing at the end of the 100 MB document", ours.bigEnd, theirs.bigEnd);

  Say("time to usable", notavo.name);
  std::vector<double> empty, large;
  for (int round = 0; round < rounds && big != L"-"; ++round) {
    empty.push_back(TimeToUsable(notavo.exe, folder / L"empty.txt"));
    large.push_back(TimeToUsable(notavo.exe, big));
  }
  const double e = Median(empty), l = Median(large);
  std::printf("\n| time to usable, median of %d | ms |\n| --- | --- |\n", rounds);
  std::printf("| empty document | %.0f |\n| 100 MB document | %.0f |\n| difference | %.0f |\n", e,
              l, l - e);
  return 0;
}

}  // namespace
}  // namespace notavo

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wine_key_bench BIG_DOCUMENT [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 3;
  try {
    return notavo::Run(argv[1], rounds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
}
