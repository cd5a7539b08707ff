#include "menuskin/win32/control_frame_hook.h"

#include "menuskin/skin_color.h"

namespace notavo::menuskin {
namespace {

bool RepaintsFrame(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_ENABLE:
    case WM_SIZE:
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      return wParam == VK_SPACE;
    default:
      return false;
  }
}

// The whole window's DC, frame included.
class TNonClientDc {
 public:
  explicit TNonClientDc(HWND window) : FWindow(window), FDc(::GetWindowDC(window)) {}
  TNonClientDc(const TNonClientDc&) = delete;
  TNonClientDc& operator=(const TNonClientDc&) = delete;
  ~TNonClientDc() {
    if (FDc != nullptr) ::ReleaseDC(FWindow, FDc);
  }
  HDC Get() const { return FDc; }

 private:
  HWND FWindow;
  HDC FDc;
};

void Ring(HDC dc, RECT r, TColor color) {
  const win32::TBrush brush(::CreateSolidBrush(color));
  ::FrameRect(dc, &r, brush.Get());
}

// A 1-pixel bevel along the edge of `r`.
void Bevel(HDC dc, const RECT& r, const TBevelColors& colors) {
  const win32::TBrush topLeft(::CreateSolidBrush(colors.TopLeft));
  const win32::TBrush bottomRight(::CreateSolidBrush(colors.BottomRight));
  const RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom},
      right{r.right - 1, r.top, r.right, r.bottom};
  ::FillRect(dc, &top, topLeft.Get());
  ::FillRect(dc, &left, topLeft.Get());
  ::FillRect(dc, &bottom, bottomRight.Get());
  ::FillRect(dc, &right, bottomRight.Get());
}

// Each bevel the panel's style bits name, the inner one inside the outer.
void PanelBevels(HDC dc, RECT r, std::uint32_t style) {
  const TColor face = ::GetSysColor(COLOR_BTNFACE);
  if ((style & (kPanelBevelOuterRaised | kPanelBevelOuterLowered)) != 0) {
    Bevel(dc, r, PanelBevelColors(face, (style & kPanelBevelOuterRaised) != 0));
    ::InflateRect(&r, -1, -1);
  }
  if ((style & (kPanelBevelInnerRaised | kPanelBevelInnerLowered)) != 0) {
    Bevel(dc, r, PanelBevelColors(face, (style & kPanelBevelInnerRaised) != 0));
  }
}

}  // namespace

TControlSubClass::TControlSubClass(HWND control, TFrameStyle style, const TFrameSkin* skin)
    : FWindow(control), FStyle(style), FSkin(skin) {
  SetControl(&FWindow);
  PaintFrame();
}

TControlSubClass::~TControlSubClass() {
  SetControl(nullptr);
  // The system's own edge again.
  if (HWND window = FWindow.Handle()) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  }
}

void TControlSubClass::SetSkin(const TFrameSkin* skin) {
  FSkin = skin;
  if (HWND window = FWindow.Handle()) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

bool TControlSubClass::SkinActive() const {
  return FSkin != nullptr && FSkin->Active && FSkin->Active();
}

LRESULT TControlSubClass::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = TControlHook::WndProc(message, wParam, lParam);
  HWND window = FWindow.Handle();
  if (window == nullptr || !SkinActive()) return result;
  if (message == WM_MOUSEMOVE && !FHot) {
    FHot = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    ::TrackMouseEvent(&track);
    PaintFrame();
  } else if (message == WM_MOUSELEAVE) {
    FHot = false;
    PaintFrame();
  } else if (RepaintsFrame(message, wParam)) {
    PaintFrame();
  }
  return result;
}

// Panels: their bevels in the skin's colours. Otherwise the outer two
// pixel rings of the window: an edit box's 3-D edge becomes
// the parent's colour outside and the frame inside; a list box gets the
// frame around the whole window and its own colour inside.
void TControlSubClass::PaintFrame() {
  HWND window = FWindow.Handle();
  if (window == nullptr || !SkinActive() || FStyle == TFrameStyle::Plain) return;
  RECT outer{};
  ::GetWindowRect(window, &outer);
  ::OffsetRect(&outer, -outer.left, -outer.top);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
  if (FStyle == TFrameStyle::Panel) {
    const TNonClientDc windowDc(window);
    if (windowDc.Get() != nullptr)
      PanelBevels(windowDc.Get(), outer, static_cast<std::uint32_t>(style));
    return;
  }
  TFrameState state;
  state.Hot = FHot;
  state.Focused = ::GetFocus() == window;
  state.Bordered =
      (style & WS_BORDER) != 0 || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0;
  TFrameColors colors;
  colors.Control = ::GetSysColor((style & WS_DISABLED) != 0 ? COLOR_BTNFACE : COLOR_WINDOW);
  colors.Parent = ::GetSysColor(COLOR_BTNFACE);
  colors.SelectFrame = FSkin->SelectFrame ? FSkin->SelectFrame() : 0;
  const TNonClientDc windowDc(window);
  HDC dc = windowDc.Get();
  if (dc == nullptr) return;
  RECT inner = outer;
  ::InflateRect(&inner, -1, -1);
  const bool twoRings = (exStyle & WS_EX_CLIENTEDGE) != 0;
  if (FStyle == TFrameStyle::Edit) {
    const TColor frame = EditFrameColor(state, colors);
    if (twoRings) {
      Ring(dc, outer, colors.Parent);
      Ring(dc, inner, frame);
    } else {
      Ring(dc, outer, frame);
    }
  } else {
    Ring(dc, outer, ListBoxFrameColor(state, colors));
    if (twoRings) Ring(dc, inner, colors.Control);
  }
}

}  // namespace notavo::menuskin
