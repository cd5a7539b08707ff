#include "app/program_settings.h"

#include <cstdint>

namespace notavo {
namespace {

constexpr const char* kForm = "Form";
constexpr const char* kFont = "Font";
constexpr const char* kReturn = "Return";
constexpr const char* kSystem = "System";

}  // namespace

TWrapMode TProgramSettings::WrapMode() const {
  if (NoReturn) return TWrapMode::NoWrap;
  if (RightReturn) return TWrapMode::WrapAtWindowEdge;
  if (SetReturn) return TWrapMode::WrapAtColumn;
  return TWrapMode::Keep;
}

TProgramSettings ReadProgramSettings(const TSettingsFile& file, const TProgramSettings& defaults,
                                     const TSettingsLimits& limits) {
  TProgramSettings s = defaults;
  s.Width = file.ReadInteger(kForm, "MainForm.Width", defaults.Width);
  s.Height = file.ReadInteger(kForm, "MainForm.Height", defaults.Height);
  s.FontName = file.ReadString(kFont, "FontName", defaults.FontName);
  s.FontSize = file.ReadInteger(kFont, "FontSize", defaults.FontSize);
  s.NoReturn = file.ReadBool(kReturn, "NoReturn", true);
  s.RightReturn = file.ReadBool(kReturn, "RightReturn", false);
  s.SetReturn = file.ReadBool(kReturn, "SetReturn", false);
  s.SetNum = file.ReadInteger(kReturn, "SetNum", 10);
  s.ShowLineNumber = file.ReadBool(kSystem, "ShowLineNumber", true);
  s.ShowUnderLine = file.ReadBool(kSystem, "ShowUnderLine", true);
  s.ShowEOF = file.ReadBool(kSystem, "ShowEOF", true);
  s.ShowCR = file.ReadBool(kSystem, "ShowCR", true);
  s.ShowDblSpace = file.ReadBool(kSystem, "ShowDblSpace", true);
  s.ShowTAB = file.ReadBool(kSystem, "ShowTAB", true);
  s.TABCount = file.ReadInteger(kSystem, "TABCount", 4);

  // A window too small to use or larger than the screen, and fonts too small
  // to see or too big to lay out, fall back to what the window has now.
  if (s.Width < limits.MinWidth || s.Width > limits.MaxWidth) s.Width = defaults.Width;
  if (s.Height < limits.MinHeight || s.Height > limits.MaxHeight) s.Height = defaults.Height;
  if (s.FontSize < TSettingsLimits::kMinFontSize || s.FontSize > TSettingsLimits::kMaxFontSize) {
    s.FontSize = defaults.FontSize;
  }
  if (s.FontName.empty()) s.FontName = defaults.FontName;
  return s;
}

void ApplyDisplaySettings(TZelEdit& edit, const TProgramSettings& settings, int pixelsPerInch) {
  TZelEditOptions o = edit.Options();
  o.Font.Name = settings.FontName;
  o.Font.Height = FontHeightForPoints(settings.FontSize, pixelsPerInch);
  o.ShowLineNumber = settings.ShowLineNumber;
  o.ShowUnderLine = settings.ShowUnderLine;
  o.ShowEOF = settings.ShowEOF;
  o.ShowCR = settings.ShowCR;
  o.ShowDblSpace = settings.ShowDblSpace;
  o.ShowTAB = settings.ShowTAB;
  o.TabCount = static_cast<std::uint8_t>(settings.TABCount);  // low 8 bits; the editor clamps
  edit.ApplyOptions(o);
}

void ApplyWrapMode(TZelEdit& edit, const TProgramSettings& settings) {
  switch (settings.WrapMode()) {
    case TWrapMode::NoWrap:
      edit.SetAutoWrap(false);
      edit.SetColumn(edit.MaxColumn());
      edit.SetHorzScrollBar(true);
      break;
    case TWrapMode::WrapAtWindowEdge:
      edit.SetAutoWrap(true);
      edit.SetColumn(edit.MaxColumn());
      edit.SetHorzScrollBar(false);
      break;
    case TWrapMode::WrapAtColumn:
      edit.SetAutoWrap(false);
      edit.SetColumn(settings.SetNum);
      edit.SetHorzScrollBar(true);
      break;
    case TWrapMode::Keep:
      break;
  }
}

void WriteClosingSettings(const TSettingsFile& file, int width, int height,
                          const std::string& fontName, int fontSize) {
  file.WriteInteger(kForm, "MainForm.Width", width);
  file.WriteInteger(kForm, "MainForm.Height", height);
  file.WriteString(kFont, "FontName", fontName);
  file.WriteInteger(kFont, "FontSize", fontSize);
}

}  // namespace notavo
