// TMainForm: what the user sees of a search or a replace run — the hit
// marked in blue, the not-found notice, the question before each
// replacement and the count at the end — and the find and replace dialogs.
#include "app/main_form.h"
// Then the rest.
#include <string>
#include <string_view>

#include "app/dialogs/find_dialog.h"
#include "app/dialogs/replace_dialog.h"
#include "app/message_boxes.h"
#include "editor/search/match_rule.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

// Blue ground, so the hit's text shows in its inverse, yellow.
constexpr TColor kFoundTextColor = 0xFF0000;

std::string Cp932(const wchar_t* text) { return win32::NarrowCp932(text); }

}  // namespace

void TMainForm::WireSearchEvents() {
  TZelEdit& edit = FEditor.Edit();
  edit.OnFind = TBuiltInMatcher{};
  // The mark is a colouring, not a selection: every repaint draws it again.
  edit.OnPaint = [](TZelEdit& sender) { sender.PaintFoundText(kFoundTextColor); };
  // The editor raises no caret events while a dialog has the keyboard, so
  // the caret panel is brought up to date here, after every hit and run.
  edit.OnFindHit = [this](TZelEdit& sender, std::string_view, int, int, int, int) {
    sender.PaintFoundText(kFoundTextColor);
    ShowCaretPanel();
  };
  edit.OnFindNoHit = [this](TZelEdit&, std::string_view) {
    ShowNotice(NoticeOwner(), Cp932(L"見つかりませんでした"));
  };
  edit.OnFindChange = [this](TZelEdit& sender, std::string_view, std::string_view, int, int, int,
                             int, bool& change, bool& ask, bool& abort) {
    sender.PaintFoundText(kFoundTextColor);
    switch (AskToReplace(NoticeOwner())) {
      case TReplaceAnswer::Yes:
        change = true;
        break;
      case TReplaceAnswer::No:
        change = false;
        FReplaceDeclined = true;
        break;
      case TReplaceAnswer::Abort:
        abort = true;
        break;
      case TReplaceAnswer::All:
        ask = false;  // this hit and the rest, without asking
        break;
      case TReplaceAnswer::Closed:
        change = false;
        break;
    }
  };
  edit.OnFindChangeEnd = [this](TZelEdit&, std::string_view, std::string_view, int count) {
    ShowCaretPanel();
    ShowNotice(NoticeOwner(), count > 0 || FReplaceDeclined
                                  ? std::to_string(count) + Cp932(L"個置換しました。")
                                  : Cp932(L"見つかりませんでした"));
  };
}

void TMainForm::Find2Click() {
  TFindDlg dialog(FEditor.Edit());
  dialog.ShowModal(Handle());
}

void TMainForm::ReplaceClick() {
  TOkikaeDlg dialog([this](std::string_view find, std::string_view replacement) {
    ReplaceAll(find, replacement);
  });
  dialog.ShowModal(Handle());
}

void TMainForm::ReplaceAll(std::string_view find, std::string_view replacement) {
  // A run that finds nothing says so, whatever an earlier run declined.
  FReplaceDeclined = false;
  FEditor.Edit().ReplaceAll(find, replacement, false, true);
}

HWND TMainForm::NoticeOwner() const {
  // A dialog of ours, while one is shown, so that it waits for the answer.
  HWND active = ::GetActiveWindow();
  return active != nullptr ? active : Handle();
}

}  // namespace notavo
