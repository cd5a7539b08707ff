// The editor's one main window: the document's name in the caption and one
// editor control filling the client area.
#pragma once

// The editor's window first: its portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include "app/controls/zel_edit_window.h"
// Then the rest.
#include <optional>
#include <string>

#include "app/framework/window.h"

namespace notavo {

// Shown in captions and message boxes.
inline constexpr const wchar_t* kApplicationTitle = L"Notavo";

class TMainForm final : private framework::TMessageHandler {
 public:
  // `fileName` is the document path as code page 932 bytes, exactly as the
  // user gave it; nullopt for a new, untitled document.
  TMainForm(HINSTANCE instance, std::optional<std::string> fileName);
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;
  ~TMainForm() = default;

  HWND Handle() const { return FWindow.Handle(); }
  TZelEdit& Editor() { return FEditor.Edit(); }
  HWND EditorHandle() const { return FEditor.Handle(); }
  const TZelStrings& Lines() const { return FEditor.Edit().Lines(); }

  // Shows the window and gives the editor the keyboard.
  void Show(int showCommand);
  // Reads the named file into the editor if it exists. A file that does not
  // exist yet is a new document; one that exists but cannot be read is
  // reported to the user and leaves the document empty.
  void LoadDocument();
  // "Notavo - <path as given>", or "Notavo - 無題" for an untitled document.
  void UpdateTitle();
  std::string Title() const;  // code page 932

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  std::optional<std::string> FFileName;
  framework::TWindowClass FWindowClass;
  // Before the main window: that one sends WM_SIZE while it is being built,
  // and outlives it, so the child window goes with the main window first.
  win32::TZelEditWindow FEditor;
  framework::TWindow FWindow;
};

}  // namespace notavo
