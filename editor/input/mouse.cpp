// The mouse: presses place the caret or select rows from the gutter,
// Shift+click extends the selection, moves with the button held extend it
// (and set the auto-scroll direction outside the text area), a right press
// shows the popup menu, and a double click only swallows its second press.
// A press inside the selection starts a drag of the text (drag_drop.cpp).
#include <algorithm>

#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

using namespace win;

namespace {
long long CeilDiv(long long a, long long b) { return (a + b - 1) / b; }
}  // namespace

std::optional<LRESULT> TZelEdit::MouseMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  const int x = PointX(lParam), y = PointY(lParam);
  const TShiftState shift = ShiftStateOf(wParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      MouseDown(mbLeft, shift | ssLeft, x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      // The window reports the second press of a double click as this
      // message alone: the double click, then that press.
      DblClick();
      MouseDown(mbLeft, shift | ssLeft | ssDouble, x, y);
      return 0;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift | ssRight, x, y);
      return 0;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, shift | ssMiddle, x, y);
      return 0;
    case WM_MOUSEMOVE:
      if (FTextDragging) {
        DragOverAt(x, y);
      } else {
        MouseMove(shift, x, y);
      }
      return 0;
    case WM_LBUTTONUP:
      if (FTextDragging) {
        FinishTextDrag(x, y);
      } else {
        MouseUp(mbLeft, shift, x, y);
      }
      FHost.Drag().EndDrag();
      return 0;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, x, y);
      return std::nullopt;  // the window's default turns it into WM_CONTEXTMENU
    case WM_CONTEXTMENU:
      // With a popup menu of its own the control showed it on the press;
      // without one the menu is the parent's business.
      if (FPopupMenu != 0 && lParam != -1) return 0;
      return std::nullopt;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, x, y);
      return 0;
    case WM_CAPTURECHANGED:
      CaptureLost();
      return 0;
    default:
      return std::nullopt;
  }
}

TShiftState TZelEdit::ShiftStateOf(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (FKeys.IsDown(VK_MENU)) shift |= ssAlt;
  return shift;
}

void TZelEdit::SetCaretFromPoint(int x, int y) {
  FSelPaintedRow = FCaret.Row;
  FSelPaintedCol = FCaret.Col;
  // The row under the point, never below the last visible row; with no
  // visible row at all (a window shrunk to nothing) the top row.
  const long long down = FRowPitch > 0 ? std::max(0, y - FTopMargin) / FRowPitch : 0;
  long long row = static_cast<long long>(FTopRow) + down;
  row = std::min(row, static_cast<long long>(FTopRow) + std::max(FVisibleRows, 1) - 1);
  row = std::clamp(row, 0LL, static_cast<long long>(FLines.Count() - 1));
  const int r = static_cast<int>(row);
  // More than 4 pixels left of the text origin: the row's start, and the
  // view back at its left end.
  const long long dx = static_cast<long long>(x) - FTextLeft;
  int col = 0, caretX = 0;
  if (dx < -4) {
    FScrollX = 0;
  } else {
    const long long at = std::clamp(dx + FScrollX, 0LL, static_cast<long long>(INT32_MAX));
    col = XToCol(FLines[r], static_cast<int>(at), caretX);
  }
  FCaret = NormalizePosition(FLines, {r, col}, SingleByteMode());
  if (FCaret.Col != col) caretX = PrefixWidth(FLines[r], FCaret.Col);
  FDesiredCol = FCaret.Col;
  // The view follows in steps of a third of the text area, at least one
  // pixel, computed at once (a text area narrower than three pixels, or
  // none when the gutter is wider than the control, must not stall).
  const long long step = std::max(1, FTextAreaWidth / 3);
  const long long width = FTextAreaWidth;
  long long scroll = FScrollX;
  if (caretX > scroll + width) scroll += CeilDiv(caretX - scroll - width, step) * step;
  if (caretX < scroll) scroll = std::max(0LL, scroll - CeilDiv(scroll - caretX, step) * step);
  FScrollX = static_cast<int>(std::min(scroll, static_cast<long long>(INT32_MAX)));
  FCaretX = caretX - FScrollX;
}

bool TZelEdit::IsCaretInSelection() const {
  if (!HasSelection()) return false;
  const TSelectionRange s = GetSelection();
  const TRowPos c = FCaret;
  if (s.StartRow == s.EndRow) {
    return c.Row == s.StartRow && s.StartCol <= c.Col && c.Col <= s.EndCol;
  }
  return (s.StartRow < c.Row && c.Row < s.EndRow) || (c.Row == s.StartRow && c.Col >= s.StartCol) ||
         (c.Row == s.EndRow && c.Col <= s.EndCol);
}

void TZelEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // A composition in progress is finished where it stands.
  FHost.InputMethod().Notify(NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  if (FDblClicked) {
    FDblClicked = false;  // the second press of a double click does nothing
    return;
  }
  bool startDrag = false;
  if (button == mbLeft) {
    startDrag = LeftPress(x, y);
  } else if (button == mbRight && FPopupMenu != 0) {
    FHost.Window().ShowPopupMenu(FPopupMenu, FHost.Window().ClientToScreen({x, y}));
  }
  if (startDrag) {
    if (DragMode() == dmAutomatic) {
      BeginDrag();
    } else {
      bool canDrag = true;
      if (OnManualStartDrag) OnManualStartDrag(*this, GetSelText(), canDrag);
      if (!OnManualStartDrag || !canDrag) ClearSelection();
    }
  }
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

// A left press: the caret to the point, and the selection extended (Shift),
// kept for a drag (a press inside it), or replaced; a press left of the
// text selects the row. Returns whether a drag of the selection may start.
bool TZelEdit::LeftPress(int x, int y) {
  const bool shift = FKeys.IsDown(VK_SHIFT);
  const int oldScrollX = FScrollX;
  FCaretHost.Hide();
  DrawUnderline(FCaret.Row, true);
  SetCaretFromPoint(x, y);
  if (!FMouseSelecting) {
    FSavedCaretScrollFix = CaretScrollFix;
    FOptions.CaretScrollFix = false;  // until the button is released
  }
  FMouseSelecting = true;
  FHost.Drag().BeginDrag();
  bool inside = false;
  if (shift) {
    FSelecting = true;
    RepaintSelectionEnd(FCaret.Col, FCaret.Row);
  } else if (x >= FTextLeft - 4) {
    inside = IsCaretInSelection();
    if (!inside) {
      ClearSelection();
      // A drag from here selects from here.
      FAnchor = FCaret;
      FSelEndRow = FSelPaintedRow = FCaret.Row;
      FSelEndCol = FSelPaintedCol = FCaret.Col;
    }
  } else {
    SelectRowFromGutter();
  }
  if (FScrollX != oldScrollX) PaintView();
  UpdateCaret();
  FCaretHost.Show();
  // The caret exists only with the focus; a press always brings it.
  if (!FTimerEnabled) FHost.Window().SendToSelf(WM_SETFOCUS, 0, 0);
  return inside;
}

// The caret row whole, its line break included, from the caret at its
// start to the anchor behind its end; nothing for an empty last row.
void TZelEdit::SelectRowFromGutter() {
  ClearSelection();
  FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  const int length = static_cast<int>(StripEofMark(FLines[FCaret.Row]).size());
  if (length == 0) return;
  FAnchor = {FCaret.Row, length};
  FSelPaintedRow = FCaret.Row;
  FSelPaintedCol = length;
  FSelecting = true;
  RepaintSelectionEnd(FCaret.Col, FCaret.Row);
}

void TZelEdit::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
  MouseSelectMove(x, y);
}

void TZelEdit::MouseSelectMove(int x, int y) {
  FAutoScrollDir = 0;
  FLastMouseX = x;
  FLastMouseY = y;
  if (!FMouseSelecting) return;
  const int oldScrollX = FScrollX;
  FOptions.CaretScrollFix = false;
  // Outside the text area the timer moves the caret, one step a tick.
  if (y > FVisibleRows * FRowPitch + FTopMargin) {
    FAutoScrollDir = 1;
    return;
  }
  if (y <= FTopMargin) {
    FAutoScrollDir = -1;
    return;
  }
  if (x > FTextLeft + FTextAreaWidth) {
    FAutoScrollDir = 2;
    return;
  }
  if (x <= FTextLeft && FScrollX > 0) {
    FAutoScrollDir = -2;
    return;
  }
  const int underlinedRow = FCaret.Row;
  SetCaretFromPoint(x, y);
  if (FCaret.Row != FSelPaintedRow || FCaret.Col != FSelPaintedCol) {
    FCaretHost.Hide();
    if (!FTextDragging) {
      // Down the gutter from a selected row: that row stays whole.
      if (x < FTextLeft && FCaret.Row == FAnchor.Row + 1) FAnchor.Col = 0;
      FSelecting = true;
      RepaintSelectionEnd(FCaret.Col, FCaret.Row);
    } else if (!HasSelection()) {
      FAnchor = FCaret;
      FSelEndRow = FCaret.Row;
      FSelEndCol = FCaret.Col;
      DrawUnderline(underlinedRow, true);
      DrawUnderline(FCaret.Row, false);
    }
    // Dragging text with a selection: the caret only shows the drop point.
    UpdateCaret();
    FCaretHost.Show();
  }
  if (FScrollX != oldScrollX) {
    FCaretHost.Hide();
    PaintView();
    UpdateCaret();
    FCaretHost.Show();
  }
}

void TZelEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
  EndMouseSelection();
}

void TZelEdit::EndMouseSelection() {
  FAutoScrollDir = 0;
  if (FMouseSelecting) {
    FMouseSelecting = false;
    FOptions.CaretScrollFix = FSavedCaretScrollFix;
  }
  DrawUnderline(FCaret.Row, false);
}

void TZelEdit::DblClick() {
  if (OnDblClick) OnDblClick(*this);
  FDblClicked = true;
}

// The window took the mouse away (another window captured it): a text drag
// ends as if released where the pointer was last seen, a selection as if
// the button went up.
void TZelEdit::CaptureLost() {
  if (FTextDragging) {
    FinishTextDrag(FLastMouseX, FLastMouseY);
  } else if (FMouseSelecting) {
    EndMouseSelection();
  }
}

}  // namespace notavo
