// The "TZelEdit" window class: a child window that gives one TZelEdit its
// real window. The class is an ANSI one, so the control gets its text
// messages (WM_GETTEXT, WM_CHAR, WM_IME_CHAR) as code page 932 bytes, and
// CS_OWNDC, so the DC the control draws through outside WM_PAINT is the
// same one, with the same font and pen, for the window's whole life.
#pragma once

#include "editor/zel_edit.h"
#include "hook/window_control.h"
#include "platform/win32/win32_editor_host.h"
#include "platform/win32/windows_api.h"

namespace notavo::win32 {

class TZelEditWindow final : public TWindowControl {
 public:
  static constexpr const char* kClassName = "TZelEdit";

  // The control exists from here on, without a window: set its properties,
  // then Create.
  TZelEditWindow();
  // Destroys the window if it still exists; no message reaches the control
  // after that.
  ~TZelEditWindow();
  TZelEditWindow(const TZelEditWindow&) = delete;
  TZelEditWindow& operator=(const TZelEditWindow&) = delete;

  TZelEdit& Edit() { return FEdit; }
  const TZelEdit& Edit() const { return FEdit; }
  TWin32EditorHost& Host() { return FHost; }

  // Creates the window as a visible child of `parent` at `bounds`, with
  // scroll bars as VertScrollBar()/HorzScrollBar() say and a sunken edge
  // for BorderStyle bsSingle. The control sees its WM_CREATE. Throws
  // std::system_error when the window cannot be made.
  // The window may be destroyed and made again; hooks on the control stay.
  // `parentControl`: the control (or form) the window sits in, if any.
  void Create(HWND parent, const RECT& bounds, int id = 0, TWindowControl* parentControl = nullptr);
  // nullptr before Create and after the window is destroyed.
  HWND Handle() const override { return FHandle; }
  TWindowControl* ParentControl() const override { return FParentControl; }
  LRESULT OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TWin32EditorHost FHost;
  TZelEdit FEdit;  // after the host it talks to
  HWND FHandle = nullptr;
  TWindowControl* FParentControl = nullptr;
};

}  // namespace notavo::win32
