#include "app/dialogs/set_system_dlg.h"

#include <string>

#include "app/choices/tab_width_choice.h"
#include "app/program_settings.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

using framework::TControlKind;

enum : int {
  kLineNum = 100,
  kUnderLine,
  kEof,
  kKaigyo,
  kDSpace,
  kTab,
  kOk,
  kCancel,
  kTabLabel,
  kTabCount
};

// In Tab order; the label just before the list it names.
constexpr framework::TControlDesc kControls[] = {
    {kLineNum, TControlKind::CheckBox, 40, 16, 89, 25, L"行番号表示"},
    {kUnderLine, TControlKind::CheckBox, 40, 56, 89, 25, L"下線表示"},
    {kEof, TControlKind::CheckBox, 40, 96, 97, 25, L"[EOF]の表示"},
    {kKaigyo, TControlKind::CheckBox, 184, 16, 113, 25, L"改行文字の表示"},
    {kDSpace, TControlKind::CheckBox, 40, 136, 129, 25, L"全角スペースの表示"},
    {kTab, TControlKind::CheckBox, 184, 56, 113, 25, L"TAB文字の表示"},
    {kOk, TControlKind::Button, 64, 176, 89, 25, L"OK"},
    {kCancel, TControlKind::Button, 184, 176, 89, 25, L"キャンセル"},
    {kTabLabel, TControlKind::Label, 184, 100, 76, 13, L"TABの文字数", 13},
    {kTabCount, TControlKind::DropDownList, 264, 96, 41, 20},
};

constexpr framework::TDialogDesc kDesc{
    .Caption = L"設定",
    .ClientWidth = 317,
    .ClientHeight = 221,
    .Controls = kControls,
    .FontHeight = 12,
    .CancelId = kCancel,
    .Position = POINT{348, 250},
};

// Each box and the editor property it shows.
struct TFlagBox {
  int Id;
  bool TZelEditOptions::*Flag;
};
constexpr TFlagBox kFlagBoxes[] = {
    {kLineNum, &TZelEditOptions::ShowLineNumber},
    {kUnderLine, &TZelEditOptions::ShowUnderLine},
    {kEof, &TZelEditOptions::ShowEOF},
    {kKaigyo, &TZelEditOptions::ShowCR},
    {kDSpace, &TZelEditOptions::ShowDblSpace},
    {kTab, &TZelEditOptions::ShowTAB},
};

}  // namespace

TSetSystemDlg::TSetSystemDlg(TZelEdit& edit, TSettingsFile settings)
    : TDialog(kDesc), FEdit(edit), FSettings(std::move(settings)) {}

void TSetSystemDlg::OnInit() {
  const TZelEditOptions& options = FEdit.Options();
  for (const TFlagBox& box : kFlagBoxes) SetChecked(box.Id, options.*box.Flag);
  for (const char* item : kTabWidthItems) AddItem(kTabCount, win32::WidenCp932(item));
  SelectItem(kTabCount, TabWidthItem(FEdit.TabCount()));
}

void TSetSystemDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == kOk) Confirm();
  if (id == kCancel) EndModal(framework::kModalCancel);
}

void TSetSystemDlg::Confirm() {
  TZelEditOptions options = FEdit.Options();
  for (const TFlagBox& box : kFlagBoxes) options.*box.Flag = Checked(box.Id);
  options.TabCount = TabWidthFromText(Text(kTabCount));
  FEdit.ApplyOptions(options);
  FEdit.Redesign();
  EndModal(framework::kModalOk);
  WriteDisplaySettings(FSettings, options);
}

}  // namespace notavo
