#include "platform/win32/win32_editor_host.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/win32/cp932.h"
#include "platform/win32/gdi_objects.h"

namespace notavo::win32 {
namespace {

// The window's input-method context for the length of one call.
class TImeContext {
 public:
  explicit TImeContext(HWND window)
      : FWindow(window), FContext(window != nullptr ? ::ImmGetContext(window) : nullptr) {}
  TImeContext(const TImeContext&) = delete;
  TImeContext& operator=(const TImeContext&) = delete;
  ~TImeContext() {
    if (FContext != nullptr) ::ImmReleaseContext(FWindow, FContext);
  }
  HIMC Get() const { return FContext; }
  explicit operator bool() const { return FContext != nullptr; }

 private:
  HWND FWindow;
  HIMC FContext;
};

// The clipboard, open for the length of one operation. Another program may
// hold it for a moment, so opening is tried a few times.
class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (::OpenClipboard(owner)) {
        FOpen = true;
        return;
      }
      ::Sleep(10);
    }
  }
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  ~TClipboardScope() {
    if (FOpen) ::CloseClipboard();
  }
  explicit operator bool() const { return FOpen; }

 private:
  bool FOpen = false;
};

// Movable global memory, freed unless handed over with Release.
class TGlobalMemory {
 public:
  explicit TGlobalMemory(std::nullptr_t) : FMemory(nullptr) {}
  explicit TGlobalMemory(std::size_t size) : FMemory(::GlobalAlloc(GMEM_MOVEABLE, size)) {}
  TGlobalMemory(TGlobalMemory&& other) noexcept : FMemory(std::exchange(other.FMemory, nullptr)) {}
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;
  ~TGlobalMemory() {
    if (FMemory != nullptr) ::GlobalFree(FMemory);
  }
  HGLOBAL Get() const { return FMemory; }
  HGLOBAL Release() { return std::exchange(FMemory, nullptr); }
  explicit operator bool() const { return FMemory != nullptr; }

 private:
  HGLOBAL FMemory;
};

// GlobalLock ... GlobalUnlock.
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL memory)
      : FMemory(memory), FData(memory != nullptr ? ::GlobalLock(memory) : nullptr) {}
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  ~TGlobalLock() {
    if (FData != nullptr) ::GlobalUnlock(FMemory);
  }
  void* Data() const { return FData; }
  explicit operator bool() const { return FData != nullptr; }

 private:
  HGLOBAL FMemory;
  void* FData;
};

std::string CannotOpenClipboard() { return NarrowCp932(L"クリップボードを開けません"); }
std::string OutOfMemory() { return NarrowCp932(L"メモリが足りません"); }
std::string CannotWriteClipboard() { return NarrowCp932(L"クリップボードに書き込めません"); }
std::string CharactersLost() {
  return NarrowCp932(L"Shift-JIS に変換できない文字があります。「?」に置き換えました");
}

// `size` bytes of movable memory holding `data`; empty when memory runs out.
TGlobalMemory GlobalCopy(const void* data, std::size_t size) {
  TGlobalMemory memory(size);
  if (!memory) return memory;
  const TGlobalLock lock(memory.Get());
  if (!lock) return TGlobalMemory(nullptr);
  if (size > 0) std::memcpy(lock.Data(), data, size);
  return memory;
}

// The clipboard's data in `format` as a string of CharT up to its first zero.
template <typename CharT>
std::optional<std::basic_string<CharT>> ClipboardData(UINT format) {
  HANDLE data = ::GetClipboardData(format);
  if (data == nullptr) return std::nullopt;
  const TGlobalLock lock(data);
  if (!lock) return std::nullopt;
  const auto* text = static_cast<const CharT*>(lock.Data());
  const std::size_t capacity = ::GlobalSize(data) / sizeof(CharT);
  std::size_t length = 0;
  while (length < capacity && text[length] != CharT{}) ++length;
  return std::basic_string<CharT>(text, length);
}

// Hands `memory` to the clipboard as `format`; the clipboard owns it after.
bool Put(UINT format, TGlobalMemory& memory) {
  if (::SetClipboardData(format, memory.Get()) == nullptr) return false;
  memory.Release();
  return true;
}

// A width x height bitmap in the format of the window's screen, all white.
TGdiObject<HBITMAP> MakeCaretBitmap(HWND window, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const TWindowDc screen(window);
  if (!screen) return {};
  TGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
  const TMemoryDc memory(screen.Get());
  if (!bitmap || !memory) return {};
  TDcSlot slot(memory.Get());  // goes before `memory`, giving it its bitmap back
  slot.Select(bitmap.Get());
  const RECT all{0, 0, width, height};
  ::FillRect(memory.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  return bitmap;
}

}  // namespace

TWin32EditorHost::TWin32EditorHost()
    : FDragMoveCursor(::LoadCursorA(::GetModuleHandleW(nullptr), "DragCur1")),
      FDragCopyCursor(::LoadCursorA(::GetModuleHandleW(nullptr), "DragCur2")) {}

TWin32EditorHost::~TWin32EditorHost() { Detach(); }

void TWin32EditorHost::Attach(HWND window) {
  FWindow = window;
  FSurface.Attach(window);
  if (FTimerInterval > 0) ::SetTimer(FWindow, kTimerId, static_cast<UINT>(FTimerInterval), nullptr);
}

void TWin32EditorHost::Detach() {
  if (FWindow == nullptr) return;
  ::KillTimer(FWindow, kTimerId);
  Destroy();
  FSurface.Detach();
  FWindow = nullptr;
}

// ---- caret -------------------------------------------------------------------
// There is one caret per thread and it belongs to the window with the focus:
// the control asks for one also while another window has the focus (on
// Redesign), which is left alone then; WM_SETFOCUS creates it.

void TWin32EditorHost::Create(int width, int height) {
  if (FWindow == nullptr || ::GetFocus() != FWindow) return;
  // A white caret bitmap in the screen's format instead of the system's
  // solid caret: Wine draws a solid caret from a monochrome bitmap through
  // the window's own DC, where it takes the DC's background colour, and
  // after a selection (black) it would not show. Inverting with white shows
  // on every background, as the solid caret does on Windows.
  TGdiObject<HBITMAP> bitmap = MakeCaretBitmap(FWindow, width, height);
  FCaretOwned = ::CreateCaret(FWindow, bitmap.Get(), width, height) != 0;
  FCaretBitmap = std::move(bitmap);  // the previous one goes with its caret
}

void TWin32EditorHost::Destroy() {
  if (!FCaretOwned) return;
  FCaretOwned = false;
  ::DestroyCaret();
  FCaretBitmap.Reset();
}

void TWin32EditorHost::SetPos(int x, int y) {
  if (FCaretOwned) ::SetCaretPos(x, y);
}

void TWin32EditorHost::Show() {
  if (FCaretOwned) ::ShowCaret(FWindow);
}

void TWin32EditorHost::Hide() {
  if (FCaretOwned) ::HideCaret(FWindow);
}

// ---- scroll bars -------------------------------------------------------------

// Every edit updates the scroll bars; Wine redraws a bar on each call, so
// calls that would change nothing are skipped.
void TWin32EditorHost::SetRange(TScrollBar bar, int min, int max, bool redraw) {
  if (FWindow == nullptr) return;
  int currentMin = 0, currentMax = 0;
  if (::GetScrollRange(FWindow, bar, &currentMin, &currentMax) && currentMin == min &&
      currentMax == max) {
    return;
  }
  ::SetScrollRange(FWindow, bar, min, max, redraw);
  FArrows[bar] = -1;  // a new range may change what the arrows show
}

// The thumb's pixels along the bar, or nothing when the bar has none.
std::optional<std::pair<int, int>> TWin32EditorHost::ThumbPixels(TScrollBar bar) const {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!::GetScrollBarInfo(FWindow, bar == sbVert ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) {
    return std::nullopt;
  }
  return std::pair{info.xyThumbTop, info.xyThumbBottom};
}

// Wine redraws a bar on every SetScrollPos with redraw, even when the thumb
// stays on the same pixels (one row of a long document): the position is
// set silently, and the bar redrawn only when the thumb moved on screen.
int TWin32EditorHost::SetPos(TScrollBar bar, int pos, bool redraw) {
  if (FWindow == nullptr) return 0;
  const int current = ::GetScrollPos(FWindow, bar);
  if (current == pos) return current;
  const auto before = redraw ? ThumbPixels(bar) : std::nullopt;
  ::SetScrollPos(FWindow, bar, pos, FALSE);
  if (redraw && (!before || ThumbPixels(bar) != before)) {
    // Only a change of position redraws: back without, forward with.
    ::SetScrollPos(FWindow, bar, current, FALSE);
    ::SetScrollPos(FWindow, bar, pos, TRUE);
  }
  return current;
}

int TWin32EditorHost::GetPos(TScrollBar bar) {
  return FWindow != nullptr ? ::GetScrollPos(FWindow, bar) : 0;
}

void TWin32EditorHost::Enable(TScrollBar bar, TScrollArrows arrows) {
  if (FWindow == nullptr || FArrows[bar] == arrows) return;
  FArrows[bar] = arrows;
  ::EnableScrollBar(FWindow, bar, arrows);
}

void TWin32EditorHost::Show(TScrollBar bar, bool show) {
  if (FWindow == nullptr) return;
  FArrows[bar] = -1;
  ::ShowScrollBar(FWindow, bar, show);
}

void TWin32EditorHost::ScrollWindow(int dx, int dy, const TRect* scroll, const TRect* clip) {
  if (FWindow == nullptr) return;
  RECT scrollRect{}, clipRect{};
  if (scroll != nullptr) scrollRect = {scroll->Left, scroll->Top, scroll->Right, scroll->Bottom};
  if (clip != nullptr) clipRect = {clip->Left, clip->Top, clip->Right, clip->Bottom};
  ::ScrollWindow(FWindow, dx, dy, scroll != nullptr ? &scrollRect : nullptr,
                 clip != nullptr ? &clipRect : nullptr);
}

void TWin32EditorHost::ScrollPixels(int dy, const TRect& area) {
  if (FWindow == nullptr || dy == 0) return;
  const RECT rect{area.Left, area.Top, area.Right, area.Bottom};
  const TGdiObject<HRGN> notCopied(::CreateRectRgn(0, 0, 0, 0));
  ::ScrollWindowEx(FWindow, 0, dy, &rect, &rect, notCopied.Get(), nullptr, 0);
  if (!notCopied) return;
  // The uncovered strip is painted by the caller; the rest of the update
  // region came from covered parts and waits for WM_PAINT.
  const RECT strip = dy > 0 ? RECT{rect.left, rect.top, rect.right, rect.top + dy}
                            : RECT{rect.left, rect.bottom + dy, rect.right, rect.bottom};
  const TGdiObject<HRGN> stripRegion(::CreateRectRgnIndirect(&strip));
  if (stripRegion &&
      ::CombineRgn(notCopied.Get(), notCopied.Get(), stripRegion.Get(), RGN_DIFF) > NULLREGION) {
    ::InvalidateRgn(FWindow, notCopied.Get(), FALSE);
  }
}

// ---- keyboard and input method ---------------------------------------------

short TWin32EditorHost::KeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

bool TWin32EditorHost::HasContext() {
  const TImeContext context(FWindow);
  return static_cast<bool>(context);
}

bool TWin32EditorHost::SetCompositionFont(const TLogFont& font) {
  const TImeContext context(FWindow);
  if (!context) return false;
  LOGFONTW logFont = ToLogFontW(font);
  FCompositionPlaced = false;  // focus and redesign place the window afresh
  return ::ImmSetCompositionFontW(context.Get(), &logFont) != 0;
}

bool TWin32EditorHost::SetCompositionWindow(TPoint at) {
  const TImeContext context(FWindow);
  if (!context) return false;
  // The caret is updated several times a keystroke: only a new place goes
  // to the input method.
  if (FCompositionPlaced && FCompositionContext == context.Get() && FCompositionAt == at)
    return true;
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {at.X, at.Y};
  const bool placed = ::ImmSetCompositionWindow(context.Get(), &form) != 0;
  FCompositionPlaced = placed;
  FCompositionContext = context.Get();
  FCompositionAt = at;
  return placed;
}

std::optional<std::string> TWin32EditorHost::ResultString() {
  // Read as Unicode and converted with code page 932: the system's ANSI
  // form would use its own code page.
  const TImeContext context(FWindow);
  if (!context) return std::nullopt;
  const LONG size = ::ImmGetCompositionStringW(context.Get(), GCS_RESULTSTR, nullptr, 0);
  if (size < 0) return std::nullopt;
  std::wstring result(static_cast<std::size_t>(size) / sizeof(wchar_t), L'\0');
  if (size > 0) {
    const LONG got = ::ImmGetCompositionStringW(context.Get(), GCS_RESULTSTR, result.data(),
                                                static_cast<DWORD>(size));
    if (got < 0) return std::nullopt;
    result.resize(static_cast<std::size_t>(std::min(got, size)) / sizeof(wchar_t));
  }
  // As typed characters: what the code page cannot hold shows as '?', not
  // as a look-alike.
  bool lost = false;
  return NarrowCp932Reporting(result, lost);
}

bool TWin32EditorHost::Notify(int action, int index, int value) {
  const TImeContext context(FWindow);
  if (!context) return false;
  return ::ImmNotifyIME(context.Get(), static_cast<DWORD>(action), static_cast<DWORD>(index),
                        static_cast<DWORD>(value)) != 0;
}

// ---- clipboard ---------------------------------------------------------------

bool TWin32EditorHost::SetText(std::string_view bytes, std::string& error) {
  // Everything is prepared before the clipboard is emptied, so a failure
  // leaves what was there. The bytes go as they are (CF_TEXT) and as
  // Unicode converted from code page 932 (CF_UNICODETEXT), so programs get
  // the exact text whatever the system's own code page is.
  const std::string text(bytes);
  TGlobalMemory ansi = GlobalCopy(text.c_str(), text.size() + 1);
  const std::wstring wide = WidenCp932(bytes);
  TGlobalMemory unicode = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (!ansi || !unicode) {
    error = OutOfMemory();
    return false;
  }
  // The locale tells the system which code page the bytes are in.
  const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);
  TGlobalMemory locale = GlobalCopy(&japanese, sizeof japanese);

  const TClipboardScope clipboard(FWindow);
  if (!clipboard) {
    error = CannotOpenClipboard();
    return false;
  }
  if (!::EmptyClipboard() || !Put(CF_TEXT, ansi) || !Put(CF_UNICODETEXT, unicode)) {
    error = CannotWriteClipboard();
    return false;
  }
  if (locale) Put(CF_LOCALE, locale);  // the text is there without it too
  return true;
}

std::optional<std::string> TWin32EditorHost::GetText(std::string& error) {
  const TClipboardScope clipboard(FWindow);
  if (!clipboard) {
    error = CannotOpenClipboard();
    return std::nullopt;
  }
  const std::optional<std::wstring> wide = ClipboardData<wchar_t>(CF_UNICODETEXT);
  std::optional<std::string> bytes = ClipboardData<char>(CF_TEXT);
  // The bytes when they are the Unicode text in code page 932 (put there by
  // us, or made by a Japanese system): they keep codes that share a Unicode
  // character with another code. Otherwise the Unicode text, converted.
  if (!wide || (bytes && WidenCp932(*bytes) == *wide)) {
    if (!bytes && ::IsClipboardFormatAvailable(CF_TEXT)) error = OutOfMemory();
    return bytes;
  }
  bool lost = false;
  std::string converted = NarrowCp932Reporting(*wide, lost);
  if (lost) error = CharactersLost();  // said once, with the text
  return converted;
}

// ---- timer -------------------------------------------------------------------

void TWin32EditorHost::Start(int intervalMs) {
  FTimerInterval = std::max(1, intervalMs);
  if (FWindow != nullptr) {
    ::SetTimer(FWindow, kTimerId, static_cast<UINT>(FTimerInterval), nullptr);
  }
}

void TWin32EditorHost::Stop() {
  FTimerInterval = 0;
  if (FWindow != nullptr) ::KillTimer(FWindow, kTimerId);
}

// ---- window ------------------------------------------------------------------

std::uintptr_t TWin32EditorHost::Handle() { return reinterpret_cast<std::uintptr_t>(FWindow); }

TPoint TWin32EditorHost::ClientSize() {
  RECT client{};
  if (FWindow == nullptr || !::GetClientRect(FWindow, &client)) return {};
  return {client.right, client.bottom};
}

void TWin32EditorHost::Invalidate(const TRect* rect) {
  if (FWindow == nullptr) return;
  if (rect == nullptr) {
    ::InvalidateRect(FWindow, nullptr, FALSE);
    return;
  }
  const RECT r{rect->Left, rect->Top, rect->Right, rect->Bottom};
  ::InvalidateRect(FWindow, &r, FALSE);
}

std::intptr_t TWin32EditorHost::SendToSelf(unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
  return FWindow != nullptr ? ::SendMessageA(FWindow, message, wParam, lParam) : 0;
}

int TWin32EditorHost::SystemMetric(int index) { return ::GetSystemMetrics(index); }

TPoint TWin32EditorHost::ClientToScreen(TPoint client) {
  POINT at{client.X, client.Y};
  if (FWindow != nullptr) ::ClientToScreen(FWindow, &at);
  return {at.x, at.y};
}

void TWin32EditorHost::ShowPopupMenu(std::uintptr_t menu, TPoint screen) {
  if (FWindow == nullptr || menu == 0) return;
  // The top-level window gets the commands, as from its own menus.
  ::TrackPopupMenu(reinterpret_cast<HMENU>(menu), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                   screen.X, screen.Y, 0, ::GetAncestor(FWindow, GA_ROOT), nullptr);
}

// ---- dragging ------------------------------------------------------------------

void TWin32EditorHost::BeginDrag() {
  if (FWindow != nullptr && ::GetCapture() != FWindow) ::SetCapture(FWindow);
}

void TWin32EditorHost::EndDrag() {
  if (FWindow != nullptr && ::GetCapture() == FWindow) ::ReleaseCapture();
}

bool TWin32EditorHost::OverControl(TPoint client) {
  if (FWindow == nullptr) return false;
  POINT at{client.X, client.Y};
  ::ClientToScreen(FWindow, &at);
  return ::WindowFromPoint(at) == FWindow;
}

void TWin32EditorHost::SetCursor(TCursorKind cursor) {
  HCURSOR shape = nullptr;
  switch (cursor) {
    case TCursorKind::DragMove:
      shape = FDragMoveCursor;
      break;
    case TCursorKind::DragCopy:
      shape = FDragCopyCursor;
      break;
    case TCursorKind::NoDrop:
      shape = ::LoadCursorW(nullptr, IDC_NO);
      break;
    case TCursorKind::IBeam:
      shape = ::LoadCursorW(nullptr, IDC_IBEAM);
      break;
    case TCursorKind::Arrow:
      break;
  }
  ::SetCursor(shape != nullptr ? shape : ::LoadCursorW(nullptr, IDC_ARROW));
}

int TWin32EditorHost::MessageBox(std::string_view text, std::string_view caption, unsigned flags) {
  // Owned by the top-level window, so the box is modal to it.
  HWND owner = FWindow != nullptr ? ::GetAncestor(FWindow, GA_ROOT) : nullptr;
  return ::MessageBoxW(owner, WidenCp932(text).c_str(), WidenCp932(caption).c_str(), flags);
}

unsigned TWin32EditorHost::RegisterMessage(std::string_view name) {
  return ::RegisterWindowMessageA(std::string(name).c_str());
}

}  // namespace notavo::win32
