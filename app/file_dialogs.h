// The system's common dialogs as the main window uses them. Names are code
// page 932 bytes.
#pragma once

#include <optional>
#include <string>

#include "editor/zel_edit_options.h"
#include "platform/win32/windows_api.h"

namespace notavo {

// Open: text files or all files, existing files only, no read-only box,
// resizable. nullopt when cancelled.
std::optional<std::string> AskFileToOpen(HWND owner);
// Save as: the same filter, "txt" added to a name without extension.
std::optional<std::string> AskFileToSaveAs(HWND owner);

// The font dialog, starting each time from its own last choice (at first
// FixedSys 19 pixels, Shift-JIS): sizes 8 to 20 points, existing screen
// fonts only, no simulated styles.
class TFontDialog {
 public:
  TFontDialog();
  struct TChoice {
    TFontDesc Font;  // Height: from the size in points
    int Points = 0;
  };
  std::optional<TChoice> Execute(HWND owner, int pixelsPerInch);

 private:
  LOGFONTW FLogFont{};
  COLORREF FColor = 0;
};

}  // namespace notavo
