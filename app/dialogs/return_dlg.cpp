#include "app/dialogs/return_dlg.h"

#include <string>

#include "app/message_boxes.h"
#include "app/program_settings.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

using framework::TControlKind;

enum : int { kBevel = 100, kNoReturn, kRightReturn, kSetReturn, kColumn, kOk, kCancel };
constexpr int kColumnItemHeight = 12;

constexpr framework::TControlDesc kControls[] = {
    {kBevel, TControlKind::EtchedFrame, 8, 8, 185, 145},
    {kNoReturn, TControlKind::CheckBox, 24, 24, 97, 25, L"折り返さない"},
    {kRightReturn, TControlKind::CheckBox, 24, 56, 121, 25, L"右端で折り返す"},
    {kSetReturn, TControlKind::CheckBox, 24, 88, 121, 25, L"指定行で折り返す"},
    {kColumn, TControlKind::ComboBox, 64, 120, 49, 20, L"10", 0, true},
    {kOk, TControlKind::DefaultButton, 220, 24, 75, 25, L"OK"},
    {kCancel, TControlKind::Button, 220, 70, 75, 25, L"キャンセル"},
};

constexpr framework::TDialogDesc kDesc{
    .Caption = L"折り返し設定",
    .ClientWidth = 312,
    .ClientHeight = 163,
    .Controls = kControls,
    .FontHeight = 12,
    .DefaultId = kOk,
    .CancelId = kCancel,
};

int IdOf(TWrapBox box) { return kNoReturn + static_cast<int>(box); }

}  // namespace

TReturnDlg::TReturnDlg(TZelEdit& edit, TSettingsFile settings)
    : TDialog(kDesc), FEdit(edit), FSettings(std::move(settings)) {}

void TReturnDlg::OnInit() {
  HWND column = Item(kColumn);
  ::SendMessageW(column, CB_SETITEMHEIGHT, 0, kColumnItemHeight);
  for (int c = kMinWrapColumn; c <= FEdit.MaxColumn(); ++c) AddItem(kColumn, std::to_wstring(c));
  LoadWrapBoxes(FBoxes,
                [this](TWrapBox box, bool shown) { return ReadWrapFlag(FSettings, box, shown); });
  SetText(kColumn, ReadWrapColumnText(FSettings, Text(kColumn)));
  ShowBoxes();
}

void TReturnDlg::ShowBoxes() {
  constexpr TWrapBox kBoxes[] = {TWrapBox::NoReturn, TWrapBox::RightReturn, TWrapBox::SetReturn};
  for (TWrapBox box : kBoxes) SetChecked(IdOf(box), FBoxes.IsChecked(box));
  // What becomes enabled first, so that a box that had the keyboard and is
  // now disabled hands it on to the next control that takes it.
  for (bool enabled : {true, false}) {
    if (FBoxes.ColumnEnabled == enabled) Enable(kColumn, enabled);
    for (TWrapBox box : kBoxes) {
      if (FBoxes.IsEnabled(box) == enabled) Enable(IdOf(box), enabled);
    }
  }
}

void TReturnDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kNoReturn:
    case kRightReturn:
    case kSetReturn:  // the box has toggled itself; its rule sets the others
      FBoxes.SetChecked(static_cast<TWrapBox>(id - kNoReturn), Checked(id));
      ShowBoxes();
      break;
    case kOk:
      Confirm();
      break;
    case kCancel:
      EndModal(framework::kModalCancel);
      break;
    default:
      break;
  }
}

void TReturnDlg::Confirm() {
  const int maxColumn = FEdit.MaxColumn();
  const TWrapOutcome outcome = DecideWrap(FBoxes, Text(kColumn), maxColumn);
  if (outcome.Config) ApplyWrapConfig(FEdit, *outcome.Config);
  if (outcome.Refusal == TColumnRefusal::BelowTen) {
    ShowNotice(Handle(), win32::NarrowCp932(L"10未満は範囲外です"));
  } else if (outcome.Refusal == TColumnRefusal::AboveMax) {
    ShowNotice(Handle(), std::to_string(maxColumn) + win32::NarrowCp932(L"以上は範囲外です"));
  }
  FEdit.Redesign();
  // Closed in every case; a settings file that cannot be written is said
  // by the caller, with the editor already changed.
  EndModal(framework::kModalOk);
  WriteWrapSettings(FSettings, FBoxes, outcome.SetNum);
}

}  // namespace notavo
