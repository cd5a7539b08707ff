// What the editor control needs of the window it lives in, as a few small
// interfaces. The Win32 window implements them with the real caret, scroll
// bars, input method and clipboard; the headless host of the tests records
// every call with fixed, simple metrics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/log_font.h"
#include "platform/surface.h"

namespace notavo {

class TCaretHost {
 public:
  virtual ~TCaretHost() = default;
  virtual void Create(int width, int height) = 0;
  virtual void Destroy() = 0;
  virtual void SetPos(int x, int y) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
};

// Bars and arrow flags keep their Win32 values (SB_HORZ, SB_VERT,
// ESB_ENABLE_BOTH, ESB_DISABLE_BOTH).
enum TScrollBar : int { sbHorz = 0, sbVert = 1 };
enum TScrollArrows : int { saEnableBoth = 0, saDisableBoth = 3 };

class TScrollBarHost {
 public:
  virtual ~TScrollBarHost() = default;
  virtual void SetRange(TScrollBar bar, int min, int max, bool redraw) = 0;
  // Sets the position without redrawing the bar; with `redraw` the bar is
  // redrawn only when its thumb lands on other pixels. Returns the previous
  // position.
  virtual int SetPos(TScrollBar bar, int pos, bool redraw) = 0;
  virtual int GetPos(TScrollBar bar) = 0;
  virtual void Enable(TScrollBar bar, TScrollArrows arrows) = 0;
  virtual void Show(TScrollBar bar, bool show) = 0;
  // Shifts the pixels of `scroll` (the whole client area when null) by
  // (dx, dy) within `clip`; the uncovered strip is invalidated.
  virtual void ScrollWindow(int dx, int dy, const TRect* scroll, const TRect* clip) = 0;
  // Shifts the pixels inside `area` by `dy`; the strip it uncovers is the
  // caller's to paint at once and is not invalidated. What could not be
  // copied (covered by another window) is invalidated.
  virtual void ScrollPixels(int dy, const TRect& area) = 0;
};

class TKeyboard {
 public:
  virtual ~TKeyboard() = default;
  // As GetKeyState: the high bit set while the key is down.
  virtual short KeyState(int virtualKey) = 0;
  bool IsDown(int virtualKey) { return KeyState(virtualKey) < 0; }
};

// The window's input-method context, acquired and released per call.
class TInputMethod {
 public:
  virtual ~TInputMethod() = default;
  // Whether the window has a context now. Only the answer leaves: the
  // handle is released before this returns and must not be kept.
  virtual bool HasContext() = 0;
  virtual bool SetCompositionFont(const TLogFont& font) = 0;
  virtual bool SetCompositionWindow(TPoint at) = 0;
  // The result string of a finished composition, code page 932 bytes.
  virtual std::optional<std::string> ResultString() = 0;
  // ImmNotifyIME(context, action, index, value).
  virtual bool Notify(int action, int index, int value) = 0;
};

class TClipboard {
 public:
  virtual ~TClipboard() = default;
  // Code page 932 bytes. Each fails (false, nothing) and says why in
  // `error` when the clipboard cannot be opened or memory runs out. GetText
  // may also return text and a notice in `error` together: characters the
  // code page cannot hold were replaced.
  virtual bool SetText(std::string_view bytes, std::string& error) = 0;
  virtual std::optional<std::string> GetText(std::string& error) = 0;
};

// The control's 40 ms timer; its ticks come back as WM_TIMER.
class TTimer {
 public:
  virtual ~TTimer() = default;
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
};

// Pointer shapes: the I-beam over the text, the two drag cursors of the
// program's resources ("DragCur1" moves, "DragCur2" copies) and the one
// that says a drag cannot drop here.
enum class TCursorKind { Arrow, IBeam, DragMove, DragCopy, NoDrop };

// The mouse while a button is held in the control: a selection being
// dragged or a drag of the selected text. Between BeginDrag and EndDrag the
// window holds the pointer for the control, so every move and the release
// come back as the control's own mouse messages, with client points that
// may lie outside the window (the Win32 host captures the mouse). The
// control sets the pointer's shape itself while it drags.
class TDragHost {
 public:
  virtual ~TDragHost() = default;
  virtual void BeginDrag() = 0;
  // Lets the pointer go; nothing happens when it is not held.
  virtual void EndDrag() = 0;
  // Whether the pointer at this client point is over the control itself
  // (and not over a window above it), the only place a drag of its text
  // may drop.
  virtual bool OverControl(TPoint client) = 0;
  virtual void SetCursor(TCursorKind cursor) = 0;
};

// Message-box flags and answers keep their Win32 values.
enum TMessageBoxFlags : unsigned { mbOk = 0x0, mbYesNoCancel = 0x3, mbYesNo = 0x4 };

class TWindowHost {
 public:
  virtual ~TWindowHost() = default;
  virtual std::uintptr_t Handle() = 0;
  virtual TPoint ClientSize() = 0;
  virtual void Invalidate(const TRect* rect) = 0;
  // Sends a message to the control itself (WM_VSCROLL and WM_HSCROLL, to
  // reuse its own scroll handling).
  virtual std::intptr_t SendToSelf(unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
  virtual int SystemMetric(int index) = 0;  // GetSystemMetrics
  virtual TPoint ClientToScreen(TPoint client) = 0;
  // Shows a popup menu (a menu handle of the application) at a screen
  // point; its commands go to the top-level window.
  virtual void ShowPopupMenu(std::uintptr_t menu, TPoint screen) = 0;
  virtual int MessageBox(std::string_view text, std::string_view caption, unsigned flags) = 0;
  // RegisterWindowMessageA: the same number for the same name system-wide.
  virtual unsigned RegisterMessage(std::string_view name) = 0;
};

// Everything above, as one object handed to the control.
class TEditorHost {
 public:
  virtual ~TEditorHost() = default;
  virtual TSurface& Surface() = 0;
  virtual TCaretHost& Caret() = 0;
  virtual TScrollBarHost& ScrollBars() = 0;
  virtual TKeyboard& Keyboard() = 0;
  virtual TInputMethod& InputMethod() = 0;
  virtual TClipboard& Clipboard() = 0;
  virtual TTimer& Timer() = 0;
  virtual TWindowHost& Window() = 0;
  virtual TDragHost& Drag() = 0;
};

}  // namespace notavo
