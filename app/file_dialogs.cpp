#include "app/file_dialogs.h"

// commdlg.h needs windows.h before it.
#include <commdlg.h>

#include <vector>

#include "app/font_size.h"
#include "app/message_boxes.h"
#include "platform/win32/file_names.h"

namespace notavo {
namespace {

// Pairs of description and pattern, each ended by a zero, the list by two.
constexpr wchar_t kFilter[] = L"ﾃｷｽﾄﾌｧｲﾙ(*.txt)\0*.txt\0全てのﾌｧｲﾙ(*.*)\0*.*\0";
constexpr DWORD kNameBuffer = 32768;

std::optional<std::string> RunFileDialog(HWND owner, bool save) {
  std::vector<wchar_t> name(kNameBuffer, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = kNameBuffer;
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  BOOL accepted = FALSE;
  if (save) {
    ofn.lpstrDefExt = L"txt";
    ofn.Flags |= OFN_PATHMUSTEXIST;
    accepted = ::GetSaveFileNameW(&ofn);
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    accepted = ::GetOpenFileNameW(&ofn);
  }
  if (!accepted) return std::nullopt;
  std::string notice;
  std::optional<std::string> chosen = win32::FileNameFromSystem(name.data(), notice);
  if (!chosen) ShowErrorNotice(owner, notice);
  return chosen;
}

}  // namespace

std::optional<std::string> AskFileToOpen(HWND owner) { return RunFileDialog(owner, false); }

std::optional<std::string> AskFileToSaveAs(HWND owner) { return RunFileDialog(owner, true); }

TFontDialog::TFontDialog() {
  FLogFont.lfHeight = -19;
  FLogFont.lfCharSet = SHIFTJIS_CHARSET;
  ::lstrcpynW(FLogFont.lfFaceName, L"FixedSys", LF_FACESIZE);
}

std::optional<TFontDialog::TChoice> TFontDialog::Execute(HWND owner, int pixelsPerInch) {
  LOGFONTW font = FLogFont;
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &font;
  cf.rgbColors = FColor;
  cf.nSizeMin = 8;
  cf.nSizeMax = 20;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE | CF_FORCEFONTEXIST |
             CF_NOSIMULATIONS | CF_EFFECTS;
  if (!::ChooseFontW(&cf)) return std::nullopt;
  FLogFont = font;
  FColor = cf.rgbColors;
  TChoice choice;
  choice.Points = cf.iPointSize > 0 ? (cf.iPointSize + 5) / 10
                                    : FontPointsForHeight(font.lfHeight, pixelsPerInch);
  choice.Font.Name = win32::NarrowCp932(font.lfFaceName);
  choice.Font.Height = FontHeightForPoints(choice.Points, pixelsPerInch);
  choice.Font.Color = cf.rgbColors & 0xFFFFFF;
  choice.Font.CharSet = font.lfCharSet;
  return choice;
}

}  // namespace notavo
