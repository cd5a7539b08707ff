// The editor's one main window. For now it shows the document's name in its
// caption and keeps the document's rows; nothing is drawn yet.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/framework/window.h"
#include "textstore/zel_strings.h"

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
  const TZelStrings& Lines() const { return FLines; }

  void Show(int showCommand);
  // Reads the named file if it exists. A file that does not exist yet is a
  // new document; one that exists but cannot be read is reported to the user
  // and leaves the document empty.
  void LoadDocument();
  // "Notavo - <path as given>", or "Notavo - 無題" for an untitled document.
  void UpdateTitle();
  std::string Title() const;  // code page 932

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  std::optional<std::string> FFileName;
  TZelStrings FLines;
  framework::TWindowClass FWindowClass;
  framework::TWindow FWindow;  // last: it may send messages while being built
};

}  // namespace notavo
