// What the main window keeps in the settings file: read once when it is
// first shown, the window size and the font written back when it closes.
#pragma once

// The editor's headers before <windows.h> (see platform/win32/windows_api.h).
#include "editor/zel_edit.h"
// clang-format off
#include <string>

#include "app/choices/wrap_choice.h"
#include "app/font_size.h"
#include "app/settings_file.h"
// clang-format on

namespace notavo {

// The wrap mode the three "Return" flags choose: the first true one of
// NoReturn, RightReturn and SetReturn; none leaves the editor as it is.
enum class TWrapMode { Keep, NoWrap, WrapAtWindowEdge, WrapAtColumn };

struct TProgramSettings {
  int Width = 0, Height = 0;  // outer window size, pixels
  std::string FontName;
  int FontSize = 0;  // points
  bool NoReturn = true, RightReturn = false, SetReturn = false;
  int SetNum = 10;
  bool ShowLineNumber = true, ShowUnderLine = true, ShowEOF = true, ShowCR = true,
       ShowDblSpace = true, ShowTAB = true;
  int TABCount = 4;

  TWrapMode WrapMode() const;
};

// The limits a stored window size and font size must keep; values outside
// them make the window or the text unusable and give the defaults instead.
struct TSettingsLimits {
  int MinWidth = 0, MinHeight = 0;  // the smallest window the system allows
  int MaxWidth = 0, MaxHeight = 0;  // the screen
  static constexpr int kMinFontSize = 1, kMaxFontSize = 200;
};

// Reads every key in the order the main window reads them; `defaults` holds
// the window's current size and the editor's current font.
TProgramSettings ReadProgramSettings(const TSettingsFile& file, const TProgramSettings& defaults,
                                     const TSettingsLimits& limits);

// The display flags and tab count (its low 8 bits, which the editor then
// clamps), and the font, given to `edit` in one options change.
void ApplyDisplaySettings(TZelEdit& edit, const TProgramSettings& settings, int pixelsPerInch);
// The wrap mode, after everything else is applied.
void ApplyWrapMode(TZelEdit& edit, const TProgramSettings& settings);
// One wrap configuration given to `edit` in one options change.
void ApplyWrapConfig(TZelEdit& edit, const TWrapConfig& config);

// Window size and font, written at close. Throws ESettingsWriteError.
void WriteClosingSettings(const TSettingsFile& file, int width, int height,
                          const std::string& fontName, int fontSize);

// The wrap dialog's reads when it shows: one of the three "Return" flags,
// and "SetNum" as text. `fallback`: what the dialog shows now.
bool ReadWrapFlag(const TSettingsFile& file, TWrapBox box, bool fallback);
std::string ReadWrapColumnText(const TSettingsFile& file, const std::string& fallback);
// The wrap dialog's OK: "RightReturn", "SetReturn", "NoReturn", "SetNum".
// Throws ESettingsWriteError.
void WriteWrapSettings(const TSettingsFile& file, const TWrapBoxes& boxes, int setNum);

// The display dialog's OK: the six "System" flags, then "TABCount".
// Throws ESettingsWriteError.
void WriteDisplaySettings(const TSettingsFile& file, const TZelEditOptions& options);

}  // namespace notavo
