// TEditorHost for a real window: the window's own device context, the
// system caret, the window's scroll bars, the keyboard state, the input
// method context, the clipboard (CF_TEXT), a window timer and message boxes.
// The control is built before its window (its constructor already starts
// the timer and registers messages); the window procedure attaches the host
// on WM_NCCREATE and detaches it on WM_NCDESTROY.
#pragma once

#include <optional>
#include <utility>

#include "platform/editor_host.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/win32_surface.h"
#include "platform/win32/windows_api.h"

namespace notavo::win32 {

class TWin32EditorHost final : public TEditorHost,
                               TCaretHost,
                               TScrollBarHost,
                               TKeyboard,
                               TInputMethod,
                               TClipboard,
                               TTimer,
                               TWindowHost,
                               TDragHost {
 public:
  // The id of the control's timer in WM_TIMER.
  static constexpr UINT_PTR kTimerId = 1;

  // Loads the drag cursors "DragCur1" and "DragCur2" from the program's
  // resources (the arrow where a program has none).
  TWin32EditorHost();
  ~TWin32EditorHost() override;
  TWin32EditorHost(const TWin32EditorHost&) = delete;
  TWin32EditorHost& operator=(const TWin32EditorHost&) = delete;

  // Binds to the window: takes its DC and starts a timer asked for before.
  void Attach(HWND window);
  // Stops the timer, gives up the caret and the DC; the window is going.
  void Detach();
  HWND WindowHandle() const { return FWindow; }
  TWin32Surface& Win32Surface() { return FSurface; }
  // Whether the system caret is this window's (created by Create and not
  // destroyed since).
  bool OwnsCaret() const { return FCaretOwned; }
  int TimerInterval() const { return FTimerInterval; }

  // TEditorHost
  TSurface& Surface() override { return FSurface; }
  TCaretHost& Caret() override { return *this; }
  TScrollBarHost& ScrollBars() override { return *this; }
  TKeyboard& Keyboard() override { return *this; }
  TInputMethod& InputMethod() override { return *this; }
  TClipboard& Clipboard() override { return *this; }
  TTimer& Timer() override { return *this; }
  TWindowHost& Window() override { return *this; }
  TDragHost& Drag() override { return *this; }

 private:
  // TCaretHost
  void Create(int width, int height) override;
  void Destroy() override;
  void SetPos(int x, int y) override;
  void Show() override;
  void Hide() override;

  // TScrollBarHost
  void SetRange(TScrollBar bar, int min, int max, bool redraw) override;
  int SetPos(TScrollBar bar, int pos, bool redraw) override;
  int GetPos(TScrollBar bar) override;
  void Enable(TScrollBar bar, TScrollArrows arrows) override;
  void Show(TScrollBar bar, bool show) override;
  void ScrollWindow(int dx, int dy, const TRect* scroll, const TRect* clip) override;
  void ScrollPixels(int dy, const TRect& area) override;

  std::optional<std::pair<int, int>> ThumbPixels(TScrollBar bar) const;

  int FArrows[2] = {-1, -1};  // the arrows last set per bar; -1 unknown
  bool FCompositionPlaced = false;
  HIMC FCompositionContext = nullptr;
  TPoint FCompositionAt;

  // TKeyboard
  short KeyState(int virtualKey) override;

  // TInputMethod
  bool HasContext() override;
  bool SetCompositionFont(const TLogFont& font) override;
  bool SetCompositionWindow(TPoint at) override;
  std::optional<std::string> ResultString() override;
  bool Notify(int action, int index, int value) override;

  // TClipboard
  bool SetText(std::string_view bytes, std::string& error) override;
  std::optional<std::string> GetText(std::string& error) override;

  // TTimer
  void Start(int intervalMs) override;
  void Stop() override;

  // TWindowHost
  std::uintptr_t Handle() override;
  TPoint ClientSize() override;
  void Invalidate(const TRect* rect) override;
  std::intptr_t SendToSelf(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  int SystemMetric(int index) override;
  TPoint ClientToScreen(TPoint client) override;
  void ShowPopupMenu(std::uintptr_t menu, TPoint screen) override;
  int MessageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  unsigned RegisterMessage(std::string_view name) override;

  // TDragHost: mouse capture and the pointer's shape.
  void BeginDrag() override;
  void EndDrag() override;
  bool OverControl(TPoint client) override;
  void SetCursor(TCursorKind cursor) override;

  HWND FWindow = nullptr;
  TWin32Surface FSurface;
  // Shared cursors of the program's resources: never destroyed.
  HCURSOR FDragMoveCursor = nullptr;
  HCURSOR FDragCopyCursor = nullptr;
  bool FCaretOwned = false;
  TGdiObject<HBITMAP> FCaretBitmap;  // the caret's shape, kept while the caret lives
  int FTimerInterval = 0;            // running, or wanted before the window exists; 0: stopped
};

}  // namespace notavo::win32
