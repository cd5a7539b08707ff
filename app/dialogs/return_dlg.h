// TReturnDlg, "折り返し設定": how the editor wraps long lines (not at all,
// at the window's edge, at a column). The boxes come from the "Return"
// settings when it shows; OK applies the choice to the editor at once and
// writes it back; Cancel, Esc and the close box change nothing.
#pragma once

// The editor's headers before <windows.h> (see platform/win32/windows_api.h).
#include "editor/zel_edit.h"
// clang-format off
#include "app/choices/wrap_choice.h"
#include "app/framework/dialog.h"
#include "app/settings_file.h"
// clang-format on

namespace notavo {

class TReturnDlg final : public framework::TDialog {
 public:
  TReturnDlg(TZelEdit& edit, TSettingsFile settings);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void ShowBoxes();
  void Confirm();

  TZelEdit& FEdit;
  TSettingsFile FSettings;
  TWrapBoxes FBoxes;
};

}  // namespace notavo
