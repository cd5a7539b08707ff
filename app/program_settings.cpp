#include "app/program_settings.h"

#include <cstdint>

namespace notavo {
namespace {

constexpr const char* kForm = "Form";
constexpr const char* kFont = "Font";
constexpr const char* kReturn = "Return";
constexpr const char* kSystem = "System";

const char* WrapKey(TWrapBox box) {
  switch (box) {
    case TWrapBox::NoReturn:
      return "NoReturn";
    case TWrapBox::RightReturn:
      return "RightReturn";
    case TWrapBox::SetReturn:
      return "SetReturn";
  }
  return "";
}

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
  s.NoReturn = file.ReadBool(kReturn, WrapKey(TWrapBox::NoReturn), true);
  s.RightReturn = file.ReadBool(kReturn, WrapKey(TWrapBox::RightReturn), false);
  s.SetReturn = file.ReadBool(kReturn, WrapKey(TWrapBox::SetReturn), false);
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
  TWrapBox mode = TWrapBox::NoReturn;
  switch (settings.WrapMode()) {
    case TWrapMode::NoWrap:
      break;
    case TWrapMode::WrapAtWindowEdge:
      mode = TWrapBox::RightReturn;
      break;
    case TWrapMode::WrapAtColumn:
      mode = TWrapBox::SetReturn;
      break;
    case TWrapMode::Keep:
      return;
  }
  ApplyWrapConfig(edit, WrapConfigFor(mode, settings.SetNum, edit.MaxColumn()));
}

void ApplyWrapConfig(TZelEdit& edit, const TWrapConfig& config) {
  TZelEditOptions o = edit.Options();
  o.AutoWrap = config.AutoWrap;
  o.Column = config.Column;
  o.HorzScrollBar = config.HorzScrollBar;
  edit.ApplyOptions(o);
}

void WriteClosingSettings(const TSettingsFile& file, int width, int height,
                          const std::string& fontName, int fontSize) {
  file.WriteInteger(kForm, "MainForm.Width", width);
  file.WriteInteger(kForm, "MainForm.Height", height);
  file.WriteString(kFont, "FontName", fontName);
  file.WriteInteger(kFont, "FontSize", fontSize);
}

bool ReadWrapFlag(const TSettingsFile& file, TWrapBox box, bool fallback) {
  return file.ReadBool(kReturn, WrapKey(box), fallback);
}

std::string ReadWrapColumnText(const TSettingsFile& file, const std::string& fallback) {
  return file.ReadString(kReturn, "SetNum", fallback);
}

void WriteWrapSettings(const TSettingsFile& file, const TWrapBoxes& boxes, int setNum) {
  for (TWrapBox box : {TWrapBox::RightReturn, TWrapBox::SetReturn, TWrapBox::NoReturn}) {
    file.WriteBool(kReturn, WrapKey(box), boxes.IsChecked(box));
  }
  file.WriteInteger(kReturn, "SetNum", setNum);
}

void WriteDisplaySettings(const TSettingsFile& file, const TZelEditOptions& options) {
  file.WriteBool(kSystem, "ShowLineNumber", options.ShowLineNumber);
  file.WriteBool(kSystem, "ShowUnderLine", options.ShowUnderLine);
  file.WriteBool(kSystem, "ShowEOF", options.ShowEOF);
  file.WriteBool(kSystem, "ShowCR", options.ShowCR);
  file.WriteBool(kSystem, "ShowDblSpace", options.ShowDblSpace);
  file.WriteBool(kSystem, "ShowTAB", options.ShowTAB);
  file.WriteInteger(kSystem, "TABCount", options.TabCount);
}

}  // namespace notavo
