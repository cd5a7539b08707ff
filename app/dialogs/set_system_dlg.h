// TSetSystemDlg, "設定": line numbers, the row underline, the marks for the
// end of the text, line ends, full-width spaces and tabs, and the tab
// width. OK applies them to the editor at once and writes the "System"
// settings; Cancel, Esc and the close box change nothing.
#pragma once

// The editor's headers before <windows.h> (see platform/win32/windows_api.h).
#include "editor/zel_edit.h"
// clang-format off
#include "app/framework/dialog.h"
#include "app/settings_file.h"
// clang-format on

namespace notavo {

class TSetSystemDlg final : public framework::TDialog {
 public:
  TSetSystemDlg(TZelEdit& edit, TSettingsFile settings);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void Confirm();

  TZelEdit& FEdit;
  TSettingsFile FSettings;
};

}  // namespace notavo
