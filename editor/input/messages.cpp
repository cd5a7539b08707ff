// The message interface: edit-control messages, the two registered caret
// messages, focus, creation and the messages the window hands over.
// Addresses in wParam/lParam are the caller's; every write stays within
// the size the caller gave.
#include <algorithm>
#include <cstring>
#include <exception>

#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

using namespace win;

namespace {

// Positions travel as offset (low word) and row (high word).
LRESULT PackPosition(int col, int row) {
  return MakeLong(static_cast<unsigned>(std::clamp(col, 0, 0xFFFF)),
                  static_cast<unsigned>(std::clamp(row, 0, 32767)));
}

// Bytes of a row up to its first NUL: a CR LF counts, the end mark not.
std::string_view UpToNul(std::string_view row) {
  const auto nul = row.find('\0');
  return nul == std::string_view::npos ? row : row.substr(0, nul);
}

}  // namespace

std::optional<LRESULT> TZelEdit::Dispatch(unsigned message, WPARAM wParam, LPARAM lParam) {
  try {
    const TMessageBatch batch(FCaretHost, FKeys);
    return HandleMessage(message, wParam, lParam);
  } catch (const std::exception&) {
    return LRESULT{0};  // a failure never crosses into the window system
  }
}

std::optional<LRESULT> TZelEdit::HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  if (message == FMsgGetCaretPos && message != 0) return PackPosition(FCaret.Col, FCaret.Row);
  if (message == FMsgSetCaretPos && message != 0) {
    const auto packed = static_cast<std::uintptr_t>(lParam);
    return GoToPosition(static_cast<int>(LoWord(packed)), static_cast<int>(HiWord(packed)), 0) ? 1
                                                                                               : 0;
  }
  if (std::optional<LRESULT> handled = MouseMessage(message, wParam, lParam)) return handled;
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      if (FWindowCreated) Resize();
      return 0;
    case WM_VSCROLL:
      return VScroll(static_cast<int>(LoWord(wParam)), static_cast<int>(HiWord(wParam)));
    case WM_HSCROLL:
      HScroll(static_cast<int>(LoWord(wParam)), static_cast<int>(HiWord(wParam)));
      return 0;
    case WM_MOUSEWHEEL:
      Wheel(static_cast<int>(HiWord(wParam)));
      return 0;
    case WM_TIMER:
      TimerTick();
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus();
      return 0;
    case WM_PAINT:
      PaintView();
      if (OnPaint) OnPaint(*this);
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (WantTabs) code |= DLGC_WANTTAB;
      return code;
    }
    case EM_GETSEL:
      return GetSelMessage(wParam, lParam);
    case EM_SETSEL:
      return SetSelMessage(wParam, lParam);
    case EM_GETLINECOUNT:
      return FLines.Count();
    case EM_LINELENGTH:
      return LineLengthMessage(wParam);
    case EM_GETLINE:
      return GetLineMessage(wParam, lParam);
    case EM_GETFIRSTVISIBLELINE:
      return FTopRow;
    case WM_GETTEXT:
      return GetTextMessage(wParam, lParam);
    case WM_GETTEXTLENGTH:
      return GetTextLengthMessage();
    case WM_CLEAR:
      Clear();
      return 0;
    case WM_COPY:
      CopyToClipboard();
      return 0;
    case WM_CUT:
      CutToClipboard();
      return 0;
    case WM_PASTE:
      PasteFromClipboard();
      return 0;
    case WM_KEYDOWN:
      DragKey(FKeys.IsDown(VK_CONTROL));
      KeyDown(static_cast<int>(wParam));
      return 0;
    case WM_KEYUP:
      FLineScrollRun = 0;
      DragKey(FKeys.IsDown(VK_CONTROL));
      return 0;
    case WM_SYSKEYDOWN:
      if (static_cast<int>(wParam) == VK_MENU && CaretScrollFix) BringCaretIntoView();
      return std::nullopt;  // the window's own handling (menus) follows
    case WM_SYSCHAR:
      return std::nullopt;
    case WM_CHAR:
      TypeCharMessage(static_cast<unsigned>(wParam));
      return 0;
    case WM_IME_STARTCOMPOSITION:
      FComposing = true;
      if (OnIMEChanging) {
        if (CaretScrollFix) BringCaretIntoView();
        OnIMEChanging(*this);
      }
      return std::nullopt;
    case WM_IME_ENDCOMPOSITION:
      FComposing = false;
      if (OnIMEChanged) OnIMEChanged(*this);
      return std::nullopt;
    case WM_IME_COMPOSITION:
      if (!ReadOnly && (static_cast<unsigned>(lParam) & GCS_RESULTSTR) != 0) {
        ImeResult();
        return 0;  // taken: the window must not turn it into WM_IME_CHAR
      }
      return std::nullopt;
    case WM_IME_CHAR:
      return 0;
    default:
      return std::nullopt;
  }
}

void TZelEdit::OnCreate() {
  FWindowCreated = true;
  RebuildLogFont();
  FVScrollWidth = FVertScrollBar ? FHost.Window().SystemMetric(SM_CXVSCROLL) : 0;
  FHScrollHeight = FHorzScrollBar ? FHost.Window().SystemMetric(SM_CYHSCROLL) : 0;
  SetupFontMetrics();
  FHost.ScrollBars().SetPos(sbHorz, 0, true);
  FHost.ScrollBars().SetPos(sbVert, 0, true);
  UpdateGutterWidth();
  Resize();
}

LRESULT TZelEdit::GetSelMessage(WPARAM wParam, LPARAM lParam) {
  if (wParam == 0 || lParam == 0) return 0;  // both addresses are required
  const auto anchor = static_cast<std::uint32_t>(PackPosition(FAnchor.Col, FAnchor.Row));
  const auto end = static_cast<std::uint32_t>(PackPosition(FSelEndCol, FSelEndRow));
  std::memcpy(reinterpret_cast<void*>(wParam), &anchor, sizeof anchor);
  std::memcpy(reinterpret_cast<void*>(lParam), &end, sizeof end);
  return static_cast<LRESULT>(std::min<long long>(GetSelLength(), INT32_MAX));
}

LRESULT TZelEdit::SetSelMessage(WPARAM wParam, LPARAM lParam) {
  const int last = FLines.Count() - 1;
  // Clamp a packed position as GoToPosition does; the full length of a row
  // that ends a line stands for the start of the next row.
  auto clampPosition = [&](std::uintptr_t packed, int& col, int& row, bool caret) {
    row = std::min(static_cast<int>(HiWord(packed)), last);
    col = static_cast<int>(LoWord(packed));
    const std::string_view bytes = FLines[row];
    if (caret && RowEndsLine(bytes) && col == static_cast<int>(bytes.size()) && row < last) {
      return;  // SetSelection moves it to the next row
    }
    const TRowPos pos = NormalizePosition(FLines, {row, col}, SingleByteMode());
    col = pos.Col;
  };
  int anchorCol = 0, anchorRow = 0, caretCol = 0, caretRow = 0;
  clampPosition(static_cast<std::uintptr_t>(wParam), anchorCol, anchorRow, false);
  clampPosition(static_cast<std::uintptr_t>(lParam), caretCol, caretRow, true);
  SetSelection(anchorCol, anchorRow, caretRow, caretCol);
  return 0;
}

LRESULT TZelEdit::LineLengthMessage(WPARAM wParam) {
  const auto row = static_cast<std::intptr_t>(wParam);
  if (row < 0 || row >= FLines.Count()) return 0;
  return static_cast<LRESULT>(UpToNul(FLines[static_cast<int>(row)]).size());
}

LRESULT TZelEdit::GetLineMessage(WPARAM wParam, LPARAM lParam) {
  const auto row = static_cast<std::intptr_t>(wParam);
  if (lParam == 0 || row < 0 || row >= FLines.Count()) return 0;
  auto* buffer = reinterpret_cast<unsigned char*>(lParam);
  const std::size_t size = static_cast<std::size_t>(buffer[0] | (buffer[1] << 8));
  const std::string_view bytes = UpToNul(FLines[static_cast<int>(row)]);
  const std::size_t n = std::min(bytes.size(), size);
  if (n > 0) std::memcpy(buffer, bytes.data(), n);
  return static_cast<LRESULT>(n);
}

LRESULT TZelEdit::GetTextMessage(WPARAM wParam, LPARAM lParam) {
  if (static_cast<std::intptr_t>(wParam) < 1 || lParam == 0) return 0;
  char* buffer = reinterpret_cast<char*>(lParam);
  const std::size_t room = static_cast<std::size_t>(wParam) - 1;
  const long long textLength = FLines.TotalBytes() - 2;
  // Copy row by row, stopping at the room, the text's end or its first NUL.
  std::size_t copied = 0;
  for (int r = 0;
       r < FLines.Count() && copied < room && static_cast<long long>(copied) < textLength; ++r) {
    std::string_view row = FLines[r];
    const auto left = static_cast<std::size_t>(textLength) - copied;
    if (row.size() > left) row = row.substr(0, left);
    const auto nul = row.find('\0');
    const bool stop = nul != std::string_view::npos;
    if (stop) row = row.substr(0, nul);
    const std::size_t n = std::min(row.size(), room - copied);
    std::memcpy(buffer + copied, row.data(), n);
    copied += n;
    if (stop) break;
  }
  buffer[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

LRESULT TZelEdit::GetTextLengthMessage() {
  return static_cast<LRESULT>(std::max(0LL, FLines.TotalBytes() - 2));
}

}  // namespace notavo
