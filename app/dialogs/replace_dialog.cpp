#include "app/dialogs/replace_dialog.h"

#include <string>
#include <utility>

#include "app/message_boxes.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

using framework::TControlDesc;
using framework::TControlKind;

enum : int { kCancel = 100, kFindLabel, kFindEdit, kReplaceLabel, kReplaceEdit, kSetRep };

// In Tab order: "キャンセル" first; each label before the box its access
// key leads to.
const TControlDesc kControls[] = {
    {kCancel, TControlKind::Button, 360, 64, 97, 25, L"キャンセル"},
    {kFindLabel, TControlKind::Label, 8, 24, 102, 15, L"検索文字列(&T)：", 15},
    {kFindEdit, TControlKind::Edit, 112, 24, 225, 21},
    {kReplaceLabel, TControlKind::Label, 8, 64, 102, 15, L"置換文字列(&R)：", 15},
    {kReplaceEdit, TControlKind::Edit, 112, 64, 225, 20},
    {kSetRep, TControlKind::Button, 360, 24, 97, 25, L"OK"},
};

const framework::TDialogDesc kDesc{
    .Caption = L"置換え",
    .ClientWidth = 472,
    .ClientHeight = 106,
    .Controls = kControls,
    .FontHeight = 12,
    .CancelId = kCancel,
    .Position = POINT{301, 268},
};

}  // namespace

TOkikaeDlg::TOkikaeDlg(TReplaceRun replaceAll)
    : TDialog(kDesc), FReplaceAll(std::move(replaceAll)) {}

void TOkikaeDlg::OnInit() { Focus(kFindEdit); }

void TOkikaeDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == kSetRep) SetRepBtnClick();
  if (id == kCancel) EndModal(framework::kModalCancel);
}

void TOkikaeDlg::SetRepBtnClick() {
  const std::string find = Text(kFindEdit);
  if (find.empty()) {
    ShowNotice(Handle(), win32::NarrowCp932(L"空文字を検索しようとしました"));
    Focus(kFindEdit);
    return;
  }
  FReplaceAll(find, Text(kReplaceEdit));
  EndModal(framework::kModalOk);
}

}  // namespace notavo
