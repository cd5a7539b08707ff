#include "app/framework/panel.h"

#include "menuskin/control_frames.h"

namespace notavo::framework {
namespace {

constexpr int kBevelWidth = 1;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    RECT r{};
    ::GetClientRect(window, &r);
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
    ::EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;  // painted whole in WM_PAINT
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* PanelClassName() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"NotavoPanel";
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return L"NotavoPanel";
}

HWND CreatePanel(HWND parent, int id) {
  HWND panel =
      ::CreateWindowExW(0, PanelClassName(), L"",
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | menuskin::kPanelBevelOuterRaised,
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        ::GetModuleHandleW(nullptr), nullptr);
  return panel;
}

void PlacePanel(HWND panel, HWND control, const RECT& bounds) {
  if (panel != nullptr) {
    ::MoveWindow(panel, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, TRUE);
  }
  if (control != nullptr) {
    const int width = bounds.right - bounds.left - 2 * kBevelWidth;
    const int height = bounds.bottom - bounds.top - 2 * kBevelWidth;
    ::MoveWindow(control, bounds.left + kBevelWidth, bounds.top + kBevelWidth,
                 width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
  }
}

}  // namespace notavo::framework
