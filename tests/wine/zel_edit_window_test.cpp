// The editor control in a real window of this process, set up as the
// program sets it up: the window class, the Win32 host behind the control
// (device context, caret, scroll bars, timer, clipboard) and the message
// interface, on a Shift-JIS document. EM_GETLINE hands over a buffer
// address, which only works within one process.
#include "app/controls/zel_edit_window.h"
// The editor's window first: its portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/editor_settings.h"
#include "platform/win32/cp932.h"
#include "platform/win32/gdi_objects.h"
#include "tests/wine/real_input.h"
#include "tests/wine/test_support.h"
#include "tests/wine/window_helpers.h"

namespace notavo {
namespace {

using testing::TempFolder;
using testing::WriteWholeFile;
using win32::NarrowCp932;
using win32::TZelEditWindow;

// The document: a Japanese line, a short one, a line longer than the wrap
// column (1000) of ASCII and kanji, and a last line without a line break.
const std::string kJapanese = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
std::string LongLine() {
  std::string line;
  while (line.size() < 1200) line += "ab\x93\xFA\x96\x7B";  // ab日本
  return line;
}
std::string Document() { return kJapanese + "\r\nabc\r\n" + LongLine() + "\r\nend"; }

// The rows the document is cut into: 1200 bytes wrap after 1000.
std::vector<std::string> DocumentRows() {
  const std::string longLine = LongLine();
  return {kJapanese + "\r\n", "abc\r\n", longLine.substr(0, 1000), longLine.substr(1000) + "\r\n",
          "end"};
}

LPARAM Pack(int col, int row) { return MAKELONG(col, row); }

HWND SharedParent() {
  static const HWND parent = testing::ShowParentWindow(L"NotavoEditorTestParent", L"editor test");
  return parent;
}

using testing::PumpMessages;
using Capture = testing::ClientCapture;

constexpr DWORD kWhite = 0xFFFFFF, kBlack = 0x000000;

// An editor window with the program's settings in the shared parent,
// holding the document; the keyboard stays with the parent.
class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SetFocus(SharedParent());
    ApplyProgramSettings(FEditor.Edit());
    FEditor.Create(SharedParent(), RECT{0, 0, 800, 600});
    FEditor.Edit().Redesign();
    ASSERT_NE(Handle(), nullptr);
  }
  void TearDown() override { ::SetFocus(SharedParent()); }

  void Load(const std::string& bytes) {
    const std::wstring path = FFolder / L"文書.txt";
    WriteWholeFile(path, bytes);
    ASSERT_TRUE(Edit().LoadFile(NarrowCp932(path)));
  }
  HWND Handle() const { return FEditor.Handle(); }
  TZelEdit& Edit() { return FEditor.Edit(); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(Handle(), message, wParam, lParam);
  }
  // The bytes of the current selection as EM_GETSEL reports it.
  std::pair<DWORD, DWORD> GetSel(LRESULT* length = nullptr) {
    DWORD anchor = 0xFFFFFFFF, end = 0xFFFFFFFF;
    const LRESULT result =
        Send(EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end));
    if (length != nullptr) *length = result;
    return {anchor, end};
  }

  TempFolder FFolder;
  TZelEditWindow FEditor;
};

// ---- the window ------------------------------------------------------------

struct StyleCase {
  const char* label;
  bool vert, horz;
  TBorderStyle border;
};

void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.label; }

class EditorWindowStyles : public ::testing::TestWithParam<StyleCase> {};

// The control's own DC lives as long as the window (CS_OWNDC); the text
// messages carry code page 932 bytes (an ANSI window); the sunken edge and
// the scroll bars follow the properties set before the window is made.
TEST_P(EditorWindowStyles, FollowTheProperties) {
  const StyleCase& c = GetParam();
  TZelEditWindow editor;
  editor.Edit().SetVertScrollBar(c.vert);
  editor.Edit().SetHorzScrollBar(c.horz);
  editor.Edit().SetBorderStyle(c.border);
  editor.Create(SharedParent(), RECT{0, 0, 300, 200});
  editor.Edit().Redesign();
  HWND window = editor.Handle();

  char className[64] = "";
  ::GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "TZelEdit");
  EXPECT_NE(::GetClassLongPtrW(window, GCL_STYLE) & CS_OWNDC, 0u);
  EXPECT_FALSE(::IsWindowUnicode(window));
  EXPECT_NE(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
            c.border == bsSingle);
  EXPECT_EQ(::GetParent(window), SharedParent());

  // With text that needs both bars, the ones asked for are there.
  TempFolder folder;
  std::string text(400, 'x');
  for (int i = 0; i < 100; ++i) text += "\r\nline";
  WriteWholeFile(folder / L"bars.txt", text);
  ASSERT_TRUE(editor.Edit().LoadFile(NarrowCp932(folder / L"bars.txt")));
  auto shown = [&](LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    return ::GetScrollBarInfo(window, object, &info) &&
           (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0;
  };
  EXPECT_EQ(shown(OBJID_VSCROLL), c.vert);
  EXPECT_EQ(shown(OBJID_HSCROLL), c.horz);
}

INSTANTIATE_TEST_SUITE_P(Properties, EditorWindowStyles,
                         ::testing::Values(StyleCase{"BothBarsSingleBorder", true, true, bsSingle},
                                           StyleCase{"NoBarsNoBorder", false, false, bsNone},
                                           StyleCase{"VerticalOnly", true, false, bsNone}),
                         [](const auto& info) { return std::string(info.param.label); });

// The window goes with its object, and an object whose window went first
// (with the parent, say) is destroyed without touching it again.
TEST(EditorWindowLifetime, WindowAndObjectGoInEitherOrder) {
  HWND window = nullptr;
  {
    TZelEditWindow editor;
    editor.Create(SharedParent(), RECT{0, 0, 100, 100});
    window = editor.Handle();
    ASSERT_TRUE(::IsWindow(window));
  }
  EXPECT_FALSE(::IsWindow(window));

  TZelEditWindow editor;
  editor.Create(SharedParent(), RECT{0, 0, 100, 100});
  ::DestroyWindow(editor.Handle());
  EXPECT_EQ(editor.Handle(), nullptr);
  // The control still answers; its host has no window to reach any more.
  EXPECT_EQ(editor.Host().Window().Handle(), 0u);
  editor.Edit().RefreshView();
}

// ---- the message interface ---------------------------------------------------

TEST_F(EditorWindowTest, LineMessagesAnswerPerRow) {
  Load(Document());
  const std::vector<std::string> rows = DocumentRows();
  ASSERT_EQ(Send(EM_GETLINECOUNT), static_cast<LRESULT>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    EXPECT_EQ(Send(EM_LINELENGTH, r), static_cast<LRESULT>(rows[r].size()));
    // EM_GETLINE: the buffer's first word says how much fits; no NUL added.
    std::vector<char> buffer(2000, '#');
    buffer[0] = static_cast<char>(buffer.size() & 0xFF);
    buffer[1] = static_cast<char>(buffer.size() >> 8);
    const LRESULT copied = Send(EM_GETLINE, r, reinterpret_cast<LPARAM>(buffer.data()));
    ASSERT_EQ(copied, static_cast<LRESULT>(rows[r].size()));
    EXPECT_EQ(std::string(buffer.data(), copied), rows[r]);
    EXPECT_EQ(buffer[copied], '#');
  }
  // A buffer smaller than the row gets what fits.
  char small[4] = {4, 0, '#', '#'};
  EXPECT_EQ(Send(EM_GETLINE, 0, reinterpret_cast<LPARAM>(small)), 4);
  EXPECT_EQ(std::string(small, 4), kJapanese.substr(0, 4));
}

TEST_F(EditorWindowTest, WholeTextAsBytesAndAsUnicode) {
  Load(Document());
  const std::string text = Document();
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), static_cast<LRESULT>(text.size()));

  std::vector<char> bytes(text.size() + 16, '#');
  ASSERT_EQ(Send(WM_GETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data())),
            static_cast<LRESULT>(text.size()));
  EXPECT_EQ(std::string(bytes.data()), text);

  // Room for 5 bytes and the NUL.
  char six[8] = "#######";
  EXPECT_EQ(Send(WM_GETTEXT, 6, reinterpret_cast<LPARAM>(six)), 5);
  EXPECT_EQ(std::string(six), text.substr(0, 5));

  // A Unicode caller gets the text converted from code page 932 by the
  // system, which works only because the window takes ANSI messages.
  std::vector<wchar_t> wide(text.size() + 16, L'#');
  const LRESULT length =
      ::SendMessageW(Handle(), WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  EXPECT_EQ(std::wstring(wide.data(), std::max<LRESULT>(0, length)), win32::WidenCp932(text));
}

struct SelectionCase {
  const char* label;
  int anchorCol, anchorRow, caretCol, caretRow;
  // What EM_GETSEL reports: anchor and end (col, row), and the length.
  int gotAnchorCol, gotAnchorRow, gotEndCol, gotEndRow;
  long length;
};

void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.label; }

class EditorSelection : public EditorWindowTest,
                        public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(EditorSelection, SetSelThenGetSel) {
  const SelectionCase& c = GetParam();
  Load(Document());
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(c.anchorCol, c.anchorRow)),
       Pack(c.caretCol, c.caretRow));
  LRESULT length = -1;
  const auto [anchor, end] = GetSel(&length);
  EXPECT_EQ(LOWORD(anchor), c.gotAnchorCol);
  EXPECT_EQ(HIWORD(anchor), c.gotAnchorRow);
  EXPECT_EQ(LOWORD(end), c.gotEndCol);
  EXPECT_EQ(HIWORD(end), c.gotEndRow);
  EXPECT_EQ(length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, EditorSelection,
    ::testing::Values(SelectionCase{"TwoKanji", 0, 0, 4, 0, 0, 0, 4, 0, 4},
                      SelectionCase{"AcrossRows", 2, 0, 2, 1, 2, 0, 2, 1, 8},
                      SelectionCase{"Backwards", 3, 1, 0, 0, 3, 1, 0, 0, 11},
                      // A position inside a kanji moves to its start.
                      SelectionCase{"TrailByteAnchor", 1, 0, 6, 0, 0, 0, 6, 0, 6},
                      // Past the row's text: the end of its text; past the last row: the
                      // last row.
                      SelectionCase{"ClampedColumn", 0, 1, 50, 1, 0, 1, 3, 1, 3},
                      SelectionCase{"ClampedRow", 0, 4, 2, 99, 0, 4, 2, 4, 2}),
    [](const auto& info) { return std::string(info.param.label); });

// The two registered messages: the numbers are system-wide by name, so
// another program finds them with RegisterWindowMessageA too.
TEST_F(EditorWindowTest, RegisteredCaretMessagesMoveAndReportTheCaret) {
  Load(Document());
  const UINT getCaret = ::RegisterWindowMessageA("WM_TZELEDIT_GETCARETPOS");
  const UINT setCaret = ::RegisterWindowMessageA("WM_TZELEDIT_SETCARETPOS");
  ASSERT_NE(getCaret, 0u);
  EXPECT_EQ(getCaret, Edit().GetCaretPosMessage());
  EXPECT_EQ(setCaret, Edit().SetCaretPosMessage());

  ::SetFocus(Handle());
  Send(setCaret, 0, Pack(2, 1));
  EXPECT_EQ(Send(getCaret), Pack(2, 1));
  // The system caret stands where the control put it: after "ab" on the
  // second row.
  POINT at{};
  ASSERT_TRUE(::GetCaretPos(&at));
  EXPECT_EQ(at.x, Edit().TextLeft() + Edit().PrefixWidth("abc", 2));
  EXPECT_EQ(at.y, Edit().TopMargin() + Edit().RowPitch());

  // Inside a kanji: its start.
  Send(setCaret, 0, Pack(3, 0));
  EXPECT_EQ(Send(getCaret), Pack(2, 0));
}

// Characters come through the message loop as Unicode (DispatchMessageW, as
// notavo.exe's loop does); the system hands them to the ANSI window as code
// page 932 bytes, a double-byte character as its two bytes in turn.
TEST_F(EditorWindowTest, UnicodeCharactersArriveAsShiftJisBytes) {
  Load("ab");
  ::SetFocus(Handle());
  Send(Edit().SetCaretPosMessage(), 0, Pack(1, 0));
  for (const wchar_t c : std::wstring(L"日x本")) ::PostMessageW(Handle(), WM_CHAR, c, 1);
  PumpMessages();
  char text[32] = "";
  Send(WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::string(text),
            "a\x93\xFAx\x96\x7B"
            "b");
}

// ---- caret, focus and timer ----------------------------------------------------

GUITHREADINFO ThreadInfo() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetCurrentThreadId(), &info);
  return info;
}

TEST_F(EditorWindowTest, CaretComesWithTheFocusAndGoesWithIt) {
  Load(Document());
  EXPECT_NE(ThreadInfo().hwndCaret, Handle());

  ::SetFocus(Handle());
  GUITHREADINFO info = ThreadInfo();
  EXPECT_EQ(info.hwndCaret, Handle());
  EXPECT_NE(info.flags & GUI_CARETBLINKING, 0u) << "the caret is hidden";
  Send(Edit().SetCaretPosMessage(), 0, Pack(1, 1));
  EXPECT_NE(ThreadInfo().flags & GUI_CARETBLINKING, 0u) << "hidden after a move";
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(0, 0)), Pack(2, 0));
  EXPECT_NE(ThreadInfo().flags & GUI_CARETBLINKING, 0u) << "hidden after selecting";
  ::InvalidateRect(Handle(), nullptr, FALSE);
  ::UpdateWindow(Handle());
  EXPECT_NE(ThreadInfo().flags & GUI_CARETBLINKING, 0u) << "hidden after a repaint";
  EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 2);
  EXPECT_EQ(info.rcCaret.bottom - info.rcCaret.top, Edit().CharHeight());
  EXPECT_TRUE(FEditor.Host().OwnsCaret());

  ::SetFocus(SharedParent());
  EXPECT_EQ(ThreadInfo().hwndCaret, nullptr);
  EXPECT_FALSE(FEditor.Host().OwnsCaret());

  // A click gives the editor the keyboard.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 20));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(100, 20));
  EXPECT_EQ(::GetFocus(), Handle());
  EXPECT_EQ(ThreadInfo().hwndCaret, Handle());
}

// Presses a key as the keyboard delivers it, Shift too when held: the
// control reads Shift from the thread's keyboard state, and gets the Shift
// key's own WM_KEYDOWN and WM_KEYUP.
void PressKey(HWND window, int key, bool shift) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  auto setShift = [&](bool down) {
    state[VK_SHIFT] = state[VK_LSHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
  };
  if (shift) {
    setShift(true);
    ::SendMessageA(window, WM_KEYDOWN, VK_SHIFT, 0x002A0001);
  }
  ::SendMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
  ::SendMessageA(window, WM_KEYUP, static_cast<WPARAM>(key), 0xC0000001);
  if (shift) {
    setShift(false);
    ::SendMessageA(window, WM_KEYUP, VK_SHIFT, 0xC02A0001);
  }
}

struct BlinkCase {
  const char* label;
  std::function<void(HWND, TZelEdit&, TSurface&)> act;
  bool realInput = false;
};

void PrintTo(const BlinkCase& c, std::ostream* os) { *os << c.label; }

class EditorCaretBlinks : public EditorWindowTest,
                          public ::testing::WithParamInterface<BlinkCase> {};

// Whatever the control did last, the caret blinks: the pixels under it
// alternate while the message loop runs. Every Hide of the control's must be
// matched by a Show (the system caret counts them), and the caret must not
// depend on the colours the control leaves in its DC: Wine draws a solid
// caret through the window's own DC, in its background colour, so after a
// selection (black) it would vanish.
TEST_P(EditorCaretBlinks, AfterwardsTheCaretBlinks) {
  if (GetParam().realInput && !testing::XdotoolAvailable()) GTEST_SKIP() << "no xdotool";
  Load(Document());
  ::SetFocus(Handle());
  GetParam().act(Handle(), Edit(), FEditor.Host().Surface());
  PumpMessages(50);
  const GUITHREADINFO info = ThreadInfo();
  ASSERT_EQ(info.hwndCaret, Handle());
  std::set<int> seen;
  for (int i = 0; i < 24 && seen.size() < 2; ++i) {
    PumpMessages(50);
    seen.insert(static_cast<int>(1000 * Capture(Handle()).Share(info.rcCaret, kBlack)));
  }
  EXPECT_GE(seen.size(), 2u) << "the caret's pixels never changed";
}

void Nothing(HWND, TZelEdit&, TSurface&) {}
void MoveByMessage(HWND w, TZelEdit& e, TSurface&) {
  ::SendMessageA(w, e.SetCaretPosMessage(), 0, Pack(1, 1));
}
void SelectByMessage(HWND w, TZelEdit&, TSurface&) {
  ::SendMessageA(w, EM_SETSEL, static_cast<WPARAM>(Pack(0, 1)), Pack(2, 1));
}
void ArrowKeys(HWND w, TZelEdit&, TSurface&) {
  PressKey(w, VK_DOWN, false);
  PressKey(w, VK_RIGHT, false);
}
void ShiftArrows(HWND w, TZelEdit&, TSurface&) {
  PressKey(w, VK_DOWN, false);
  PressKey(w, VK_RIGHT, true);
  PressKey(w, VK_RIGHT, true);
}
void ShiftArrow(HWND w, TZelEdit&, TSurface&) { PressKey(w, VK_RIGHT, true); }
void SelectThenMove(HWND w, TZelEdit&, TSurface&) {
  PressKey(w, VK_RIGHT, true);
  PressKey(w, VK_RIGHT, false);
}
void TypeLetters(HWND w, TZelEdit&, TSurface&) {
  for (const char c : std::string("xyz")) ::SendMessageA(w, WM_CHAR, c, 1);
}
void CtrlEnd(HWND w, TZelEdit&, TSurface&) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  ::SendMessageA(w, WM_KEYDOWN, VK_END, 1);
  state[VK_CONTROL] = 0;
  ::SetKeyboardState(state);
}
// A repaint of a small part only: BeginPaint clips the window's own DC to
// that part until EndPaint, and no longer.
void SmallRepaint(HWND w, TZelEdit&, TSurface&) {
  const RECT part{300, 300, 310, 310};
  ::InvalidateRect(w, &part, FALSE);
  ::UpdateWindow(w);
}
void SmallRepaintThenSelect(HWND w, TZelEdit& e, TSurface& s) {
  SmallRepaint(w, e, s);
  SelectByMessage(w, e, s);
}
// What painting a selection leaves in the DC: white on black.
void SelectionColours(HWND, TZelEdit&, TSurface& surface) {
  surface.SetBkColor(0x000000);
  surface.SetTextColor(0xFFFFFF);
}
// Real key presses: Shift+Right selects the first kanji.
void RealShiftArrow(HWND w, TZelEdit&, TSurface&) {
  RECT client{};
  ::GetClientRect(w, &client);
  ASSERT_TRUE(testing::PointAt(w, client.right - 40, client.bottom - 40));
  ASSERT_TRUE(testing::Xdotool(L"key --delay 30 shift+Right"));
  for (int i = 0; i < 250; ++i) {
    DWORD anchor = 0, end = 0;
    ::SendMessageA(w, EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end));
    if (LOWORD(end) == 2 && ::GetAsyncKeyState(VK_SHIFT) >= 0) break;
    PumpMessages(20);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, EditorCaretBlinks,
    ::testing::Values(BlinkCase{"Focused", Nothing}, BlinkCase{"MovedByMessage", MoveByMessage},
                      BlinkCase{"SelectedByMessage", SelectByMessage},
                      BlinkCase{"ArrowKeys", ArrowKeys},
                      BlinkCase{"ShiftArrowsSelect", ShiftArrows},
                      BlinkCase{"ShiftArrowSelectsAKanji", ShiftArrow},
                      BlinkCase{"SelectionCleared", SelectThenMove},
                      BlinkCase{"Typed", TypeLetters}, BlinkCase{"ScrolledToTheEnd", CtrlEnd},
                      BlinkCase{"SelectionColoursInTheDc", SelectionColours},
                      BlinkCase{"AfterASmallRepaint", SmallRepaint},
                      BlinkCase{"SelectedAfterASmallRepaint", SmallRepaintThenSelect},
                      BlinkCase{"RealShiftArrow", RealShiftArrow, true}),
    [](const auto& info) { return std::string(info.param.label); });

// There is one caret per thread: laying the control out again while another
// window has the keyboard must leave that window's caret alone.
TEST_F(EditorWindowTest, RedesignLeavesAnotherWindowsCaretAlone) {
  HWND other = ::CreateWindowExW(0, L"EDIT", L"other", WS_CHILD | WS_VISIBLE, 0, 610, 200, 24,
                                 SharedParent(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  ::SetFocus(other);
  ASSERT_EQ(ThreadInfo().hwndCaret, other);
  const RECT before = ThreadInfo().rcCaret;

  Edit().Redesign();
  Load(Document());
  Send(Edit().SetCaretPosMessage(), 0, Pack(3, 1));

  const GUITHREADINFO after = ThreadInfo();
  EXPECT_EQ(after.hwndCaret, other);
  EXPECT_TRUE(::EqualRect(&after.rcCaret, &before));
  ::DestroyWindow(other);
}

// The control asks for its timer in its constructor, before there is a
// window; the ticks arrive once it exists, and stop when it loses the focus.
TEST_F(EditorWindowTest, TimerTicksWhileFocused) {
  auto ticked = [&] {
    MSG msg;
    while (::PeekMessageW(&msg, Handle(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    ::Sleep(150);
    return ::PeekMessageW(&msg, Handle(), WM_TIMER, WM_TIMER, PM_REMOVE) != 0 &&
           msg.wParam == win32::TWin32EditorHost::kTimerId;
  };
  EXPECT_TRUE(ticked());
  ::SetFocus(Handle());
  ::SetFocus(SharedParent());
  EXPECT_FALSE(ticked());
  ::SetFocus(Handle());
  EXPECT_TRUE(ticked());
}

// ---- scroll bars and size ------------------------------------------------------

TEST_F(EditorWindowTest, ScrollBarsFollowTheView) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  Load(text);
  int minPos = -1, maxPos = -1;
  ASSERT_TRUE(::GetScrollRange(Handle(), SB_VERT, &minPos, &maxPos));
  EXPECT_EQ(minPos, 0);
  EXPECT_GT(maxPos, 0);
  EXPECT_EQ(::GetScrollPos(Handle(), SB_VERT), 0);
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);

  ::SetFocus(Handle());
  Send(Edit().SetCaretPosMessage(), 0, Pack(0, 299));
  const LRESULT top = Send(EM_GETFIRSTVISIBLELINE);
  EXPECT_GT(top, 200);
  EXPECT_EQ(top, Edit().TopRow());
  EXPECT_GT(::GetScrollPos(Handle(), SB_VERT), 0);
}

TEST_F(EditorWindowTest, ResizingChangesTheTextArea) {
  Load(Document());
  for (const SIZE size : {SIZE{400, 300}, SIZE{700, 500}}) {
    ::MoveWindow(Handle(), 0, 0, size.cx, size.cy, TRUE);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    EXPECT_EQ(Edit().TextAreaWidth(), client.right - Edit().TextLeft());
    EXPECT_EQ(Edit().VisibleRows(), (client.bottom - Edit().TopMargin()) / Edit().RowPitch());
    EXPECT_EQ(Edit().Width, size.cx);
    EXPECT_EQ(Edit().Height, size.cy);
  }
}

// ---- clipboard -------------------------------------------------------------------

using testing::ClipboardText;

std::optional<std::wstring> ClipboardUnicode() {
  return testing::ClipboardAs<wchar_t>(CF_UNICODETEXT);
}

TEST_F(EditorWindowTest, CopyPutsTheSelectionOnTheClipboard) {
  Load(Document());
  // From the second kanji to the middle of "abc".
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(2, 0)), Pack(2, 1));
  Send(WM_COPY);
  EXPECT_EQ(ClipboardText(), "\x96\x7B\x8C\xEA\r\nab");
  // Other programs read it as Unicode, converted from code page 932.
  EXPECT_EQ(ClipboardUnicode(), std::wstring(L"本語\r\nab"));

  // Round trip through the host's own reader.
  std::string error;
  EXPECT_EQ(FEditor.Host().Clipboard().GetText(error), "\x96\x7B\x8C\xEA\r\nab");
  EXPECT_EQ(error, "");
}

// While another program holds the clipboard open, copying fails with a
// Japanese reason and leaves the clipboard as it was.
TEST_F(EditorWindowTest, BusyClipboardIsReportedNotOverwritten) {
  std::string error;
  ASSERT_TRUE(FEditor.Host().Clipboard().SetText("before", error));

  std::atomic<int> stage = 0;
  std::thread holder([&] {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
    const bool opened = ::OpenClipboard(owner) != 0;
    stage = opened ? 1 : -1;
    while (stage == 1) ::Sleep(5);
    if (opened) ::CloseClipboard();
    ::DestroyWindow(owner);
  });
  while (stage == 0) ::Sleep(5);
  ASSERT_EQ(stage, 1) << "the helper thread could not open the clipboard";

  EXPECT_FALSE(FEditor.Host().Clipboard().SetText("after", error));
  EXPECT_EQ(error, NarrowCp932(L"クリップボードを開けません"));
  EXPECT_FALSE(FEditor.Host().Clipboard().GetText(error));

  stage = 2;
  holder.join();
  EXPECT_EQ(ClipboardText(), "before");
}

// ---- painting --------------------------------------------------------------------

TEST_F(EditorWindowTest, PaintsTextAndSelectionOnTheScreen) {
  Load(Document());
  ::UpdateWindow(Handle());
  PumpMessages();
  TZelEdit& edit = Edit();
  auto rowBox = [&](int row, std::string_view bytes) {
    const int top = edit.TopMargin() + row * edit.RowPitch();
    return RECT{edit.TextLeft(), top,
                edit.TextLeft() + edit.PrefixWidth(bytes, static_cast<int>(bytes.size())),
                top + edit.CharHeight()};
  };
  const RECT kanji = rowBox(0, kJapanese);
  const RECT abc = rowBox(1, "abc");

  Capture plain(Handle());
  // Black glyphs on white: some of each, mostly white.
  EXPECT_GT(plain.Share(kanji, kBlack), 0.05);
  EXPECT_GT(plain.Share(kanji, kWhite), 0.4);
  EXPECT_GT(plain.Share(abc, kBlack), 0.03);
  // Nothing beyond the last row but the background.
  RECT below{edit.TextLeft(), edit.TopMargin() + 6 * edit.RowPitch(), 700, 500};
  EXPECT_EQ(plain.Share(below, kWhite), 1.0);

  // The selection is drawn at once, outside WM_PAINT: black behind, white
  // glyphs (selection colour 0, text inverted).
  Send(EM_SETSEL, static_cast<WPARAM>(Pack(0, 1)), Pack(3, 1));
  Capture selected(Handle());
  EXPECT_GT(selected.Share(abc, kBlack), 0.6);
  EXPECT_GT(selected.Share(abc, kWhite), 0.03);
  EXPECT_NEAR(selected.Share(kanji, kBlack), plain.Share(kanji, kBlack), 0.01);

  // A repaint from scratch (WM_PAINT through BeginPaint) gives the same.
  ::InvalidateRect(Handle(), nullptr, TRUE);
  ::UpdateWindow(Handle());
  Capture repainted(Handle());
  EXPECT_NEAR(repainted.Share(abc, kBlack), selected.Share(abc, kBlack), 0.01);

  Send(EM_SETSEL, static_cast<WPARAM>(Pack(0, 0)), Pack(0, 0));
  Capture cleared(Handle());
  EXPECT_NEAR(cleared.Share(abc, kBlack), plain.Share(abc, kBlack), 0.01);
}

}  // namespace
}  // namespace notavo
