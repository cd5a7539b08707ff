#include "app/dialogs/about_box.h"

// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include "app/resource.h"

namespace notavo {
namespace {

using framework::TControlDesc;
using framework::TControlKind;

enum : int { kPanel = 100, kIcon, kVersion, kRights, kUrlLabel, kLink, kNoticeFrame, kNotice, kOk };

// The outer panel at (8, 8) holds the icon, the texts and the notice's
// panel at (8, 73) within it; positions below are the dialog's.
constexpr int kPanelX = 8, kPanelY = 8;
constexpr int kNoticeX = kPanelX + 8, kNoticeY = kPanelY + 73;

constexpr const wchar_t* kNoticeText =
    L"Notavo の著作権は作者が保有します。\r\n"
    L"本ソフトの使用によって生じたいかなる\r\n"
    L"損害についても、作者は責任を負いません。\r\n"
    L"ご意見・不具合は上記サイトまでどうぞ。";

const TControlDesc kControls[] = {
    {kPanel, TControlKind::EtchedFrame, kPanelX, kPanelY, 281, 169},
    {kIcon, TControlKind::Icon, kPanelX + 26, kPanelY + 24, 39, 41, MAKEINTRESOURCEW(IDI_NOTAVO)},
    {kVersion, TControlKind::Label, kPanelX + 88, kPanelY + 11, 120, 13, L"Notavo Varsion1.55", 13},
    {kRights, TControlKind::Label, kPanelX + 88, kPanelY + 30, 155, 12, L"(C) 2026 Notavo Project"},
    {kUrlLabel, TControlKind::CenteredLabel, kPanelX + 88, kPanelY + 48, 32, 12, L"URL ："},
    {kLink, TControlKind::Link, kPanelX + 122, kPanelY + 48, 0, 0, kProjectWebPage, 12},
    {kNoticeFrame, TControlKind::BorderFrame, kNoticeX, kNoticeY, 265, 81},
    {kNotice, TControlKind::Label, kNoticeX + 1, kNoticeY + 1, 263, 79, kNoticeText},
    {kOk, TControlKind::DefaultButton, 111, 188, 75, 25, L"OK"},
};

const framework::TDialogDesc kDesc{
    .Caption = L"バージョン情報",
    .ClientWidth = 300,
    .ClientHeight = 226,
    .Controls = kControls,
    .FontHeight = 12,
    .DefaultId = kOk,
};

}  // namespace

TAboutBox::TAboutBox() : TDialog(kDesc) {}

void TAboutBox::OnCommand(int id, int code) {
  if (id == kOk && code == BN_CLICKED) EndModal(framework::kModalOk);
  if (id == kLink && code == STN_CLICKED) {
    // The result is not looked at: without a browser nothing happens.
    ::ShellExecuteW(nullptr, L"open", kProjectWebPage, nullptr, nullptr, SW_SHOW);
  }
}

}  // namespace notavo
