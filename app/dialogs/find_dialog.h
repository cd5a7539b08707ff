// TFindDlg, "検索": one search per press of "次を検索(&N)" (or F3 while the
// dialog has the keyboard), the dialog staying open in between. The first
// search of a newly typed text starts at the top of the document and goes
// down; later ones go the chosen way from the last hit. The button waits
// until the text has been edited; there is no default button, so Enter
// starts nothing. Each use starts with an empty text.
#pragma once

#include "app/framework/dialog.h"

namespace notavo {

class TZelEdit;

class TFindDlg final : public framework::TDialog {
 public:
  explicit TFindDlg(TZelEdit& editor);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  bool OnKeyDown(UINT virtualKey) override;
  void FindNextExecute();

  TZelEdit& FEditor;
  // Searches since the text was last edited; only whether it is 0 matters.
  int FFindCount = 0;
};

}  // namespace notavo
