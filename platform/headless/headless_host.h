// A window host without a window, for tests: fixed, simple metrics (every
// byte is `charWidth` pixels wide, so a double-byte character is two
// cells) and a record of everything drawn and every caret, scroll-bar,
// timer and clipboard call.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/editor_host.h"
#include "platform/headless/headless_screen.h"

namespace notavo {

struct TDrawCall {
  enum Kind { kText, kTextRect, kFill, kLine, kFont } kind = kText;
  TRect rect;        // clip (kTextRect), fill (kFill)
  TPoint from, to;   // text origin (kText/kTextRect), line ends (kLine)
  std::string text;  // bytes drawn, or the font's face name
  TColor color = 0;  // text colour, brush colour or pen colour
  TColor background = 0;
  int penWidth = 1;
  TPenStyle penStyle = psSolid;
  TPenMode penMode = pmCopy;
  bool underline = false;  // the font's underline, for text
};

class THeadlessHost final : public TEditorHost,
                            TSurface,
                            TCaretHost,
                            TScrollBarHost,
                            TKeyboard,
                            TInputMethod,
                            TClipboard,
                            TTimer,
                            TWindowHost,
                            TDragHost {
 public:
  struct Metrics {
    int charWidth = 8;
    int charHeight = 19;
  };
  THeadlessHost() : THeadlessHost(Metrics{}) {}
  explicit THeadlessHost(Metrics metrics) : metrics_(metrics) {}

  // TEditorHost
  TSurface& Surface() override { return *this; }
  TCaretHost& Caret() override { return *this; }
  TScrollBarHost& ScrollBars() override { return *this; }
  TKeyboard& Keyboard() override { return *this; }
  TInputMethod& InputMethod() override { return *this; }
  TClipboard& Clipboard() override { return *this; }
  TTimer& Timer() override { return *this; }
  TWindowHost& Window() override { return *this; }
  TDragHost& Drag() override { return *this; }

  // What tests look at and set.
  std::vector<TDrawCall> drawn;
  struct CaretState {
    bool exists = false;
    int visibleCount = 0;  // Show minus Hide while it exists
    int width = 0, height = 0;
    TPoint pos;
    int hides = 0, shows = 0, placements = 0;  // calls, ever
  } caret;
  struct BarState {
    int min = 0, max = 0, pos = 0;
    bool shown = true;
    TScrollArrows arrows = saEnableBoth;
    // Times the bar was drawn anew: a position asked to redraw whose thumb
    // moved by a pixel on a bar as long as the client area, less arrows.
    int redraws = 0;
  } bars[2];
  struct PixelScroll {
    int dy = 0;
    TRect area;
  };
  std::vector<PixelScroll> pixelScrolls;
  std::map<int, int> keyStateReads;  // reads of each key, ever
  // Kept only after KeepScreen: the client area as the drawing calls and
  // pixel scrolls left it.
  THeadlessScreen screen;
  void KeepScreen() { screen.Reset(clientSize.X, clientSize.Y); }
  bool timerRunning = false;
  int timerInterval = 0;
  TPoint clientSize{800, 600};
  std::map<int, bool> keysDown;
  std::uintptr_t imeContext = 0;
  std::optional<TPoint> compositionWindow;
  std::optional<std::string> clipboardText;
  bool clipboardLocked = false;
  std::vector<std::string> messageBoxes;
  std::vector<std::pair<unsigned, std::intptr_t>> selfMessages;
  TLogFont font;             // the drawing font
  TLogFont compositionFont;  // the input method's

  // TSurface
  void SetFont(const TLogFont& f) override;
  TTextMetrics GetTextMetrics() override;
  TPoint TextExtent(std::string_view bytes) const override;
  void SetTextColor(TColor c) override { textColor_ = c; }
  void SetBkColor(TColor c) override { bkColor_ = c; }
  void TextOut(int x, int y, std::string_view bytes) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view bytes) override;
  void SetBrushColor(TColor c) override { brush_ = c; }
  void FillRect(const TRect& rect) override;
  void SetPen(TColor color, int width, TPenStyle style, TPenMode mode) override;
  void MoveTo(int x, int y) override { penPos_ = {x, y}; }
  void LineTo(int x, int y) override;

  // TCaretHost
  void Create(int width, int height) override;
  void Destroy() override { caret.exists = false; }
  void SetPos(int x, int y) override {
    caret.pos = {x, y};
    ++caret.placements;
  }
  void Show() override {
    ++caret.visibleCount;
    ++caret.shows;
  }
  void Hide() override {
    --caret.visibleCount;
    ++caret.hides;
  }

  // TScrollBarHost
  void SetRange(TScrollBar bar, int min, int max, bool redraw) override;
  int SetPos(TScrollBar bar, int pos, bool redraw) override;
  int GetPos(TScrollBar bar) override { return bars[bar].pos; }
  void Enable(TScrollBar bar, TScrollArrows arrows) override { bars[bar].arrows = arrows; }
  void Show(TScrollBar bar, bool show) override { bars[bar].shown = show; }
  void ScrollWindow(int dx, int dy, const TRect* scroll, const TRect* clip) override;
  void ScrollPixels(int dy, const TRect& area) override;

  // TKeyboard
  short KeyState(int virtualKey) override;

  // TInputMethod
  bool HasContext() override { return imeContext != 0; }
  bool SetCompositionFont(const TLogFont& f) override;
  bool SetCompositionWindow(TPoint at) override;
  std::optional<std::string> ResultString() override { return imeResult; }
  bool Notify(int action, int index, int value) override {
    imeNotifications.push_back({action, index, value});
    return imeContext != 0;
  }
  std::vector<std::array<int, 3>> imeNotifications;
  std::optional<std::string> imeResult;

  // TClipboard
  bool SetText(std::string_view bytes, std::string& error) override;
  std::optional<std::string> GetText(std::string& error) override;

  // TTimer
  void Start(int intervalMs) override {
    timerRunning = true;
    timerInterval = intervalMs;
  }
  void Stop() override { timerRunning = false; }

  // TWindowHost
  std::uintptr_t Handle() override { return 0x1234; }
  TPoint ClientSize() override { return clientSize; }
  void Invalidate(const TRect*) override { ++invalidations; }
  std::intptr_t SendToSelf(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  int SystemMetric(int index) override { return index == 2 || index == 3 ? 17 : 0; }
  TPoint ClientToScreen(TPoint p) override { return {p.X + screenOrigin.X, p.Y + screenOrigin.Y}; }
  void ShowPopupMenu(std::uintptr_t menu, TPoint screen) override {
    popups.emplace_back(menu, screen);
  }
  int MessageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  unsigned RegisterMessage(std::string_view name) override;

  // TDragHost: the pointer held for the control, and its shape. Tests
  // script the moves and the release as mouse messages.
  void BeginDrag() override {
    captured = true;
    ++dragsBegun;
  }
  void EndDrag() override { captured = false; }
  bool OverControl(TPoint p) override {
    return p.X >= 0 && p.Y >= 0 && p.X < clientSize.X && p.Y < clientSize.Y;
  }
  void SetCursor(TCursorKind cursor) override { this->cursor = cursor; }

  int invalidations = 0;
  TCursorKind cursor = TCursorKind::IBeam;
  bool captured = false;
  int dragsBegun = 0;
  TPoint screenOrigin{100, 50};  // where the client area sits on the screen
  std::vector<std::pair<std::uintptr_t, TPoint>> popups;
  // Messages sent to the control itself go here when set (the control's
  // Dispatch); otherwise they are only recorded.
  std::function<std::intptr_t(unsigned, std::uintptr_t, std::intptr_t)> selfDispatch;

 private:
  Metrics metrics_;
  TColor textColor_ = 0, bkColor_ = 0xFFFFFF, brush_ = 0xFFFFFF;
  TColor penColor_ = 0;
  int penWidth_ = 1;
  TPenStyle penStyle_ = psSolid;
  TPenMode penMode_ = pmCopy;
  TPoint penPos_;
  std::map<std::string, unsigned> registered_;
  int ThumbPixel(TScrollBar bar) const;
};

}  // namespace notavo
