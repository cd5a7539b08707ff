#include "app/dialogs/find_dialog.h"

#include "editor/zel_edit.h"

namespace notavo {
namespace {

using framework::TControlDesc;
using framework::TControlKind;

enum : int { kText = 100, kFindNext, kDirection, kUpward, kDownward, kCancel };

const TControlDesc kControls[] = {
    {kText, TControlKind::Edit, 16, 16, 241, 23, L"", 15},
    {kFindNext, TControlKind::Button, 24, 56, 97, 25, L"次を検索(&N)", 0, true},
    {kDirection, TControlKind::GroupBox, 280, 16, 129, 65, L"検索する向き"},
    {kUpward, TControlKind::RadioButton, 288, 34, 113, 19, L"上に検索(&U)"},
    {kDownward, TControlKind::RadioButton, 288, 56, 113, 19, L"下に検索(&D)"},
    {kCancel, TControlKind::Button, 152, 56, 97, 25, L"キャンセル"},
};

const framework::TDialogDesc kDesc{
    .Caption = L"検索",
    .ClientWidth = 426,
    .ClientHeight = 98,
    .Controls = kControls,
    .FontHeight = 12,
    .CancelId = kCancel,
    .Position = POINT{318, 272},
};

}  // namespace

TFindDlg::TFindDlg(TZelEdit& editor) : TDialog(kDesc), FEditor(editor) {}

void TFindDlg::OnInit() { SetChecked(kDownward, true); }

void TFindDlg::OnCommand(int id, int code) {
  switch (id) {
    case kText:
      if (code == EN_CHANGE) {
        Enable(kFindNext, true);
        if (::SendMessageW(Item(kText), EM_GETMODIFY, 0, 0) != 0) FFindCount = 0;
      }
      break;
    case kFindNext:
      if (code == BN_CLICKED) FindNextExecute();
      break;
    case kCancel:
      if (code == BN_CLICKED) EndModal(framework::kModalCancel);
      break;
    default:
      break;
  }
}

bool TFindDlg::OnKeyDown(UINT virtualKey) {
  if (virtualKey != VK_F3) return false;
  if (Enabled(kFindNext)) FindNextExecute();
  return true;
}

void TFindDlg::FindNextExecute() {
  if (FFindCount == 0) {
    FEditor.SetSearchText(Text(kText));
    FEditor.FindFirst();
    ++FFindCount;
  } else if (Checked(kUpward)) {
    FEditor.FindPrev();
  } else {
    FEditor.FindNext();
  }
}

}  // namespace notavo
