// TOkikaeDlg, "置換え": the text to find and its replacement. "OK" (not the
// default button: Enter starts nothing) runs the replace, with its
// questions and its final notice, while the dialog is still shown, then
// closes it; an empty text to find is refused and the dialog stays.
#pragma once

#include <functional>
#include <string_view>

#include "app/framework/dialog.h"

namespace notavo {

class TOkikaeDlg final : public framework::TDialog {
 public:
  // `replaceAll(find, replacement)` does the run; texts are code page 932.
  using TReplaceRun = std::function<void(std::string_view find, std::string_view replacement)>;
  explicit TOkikaeDlg(TReplaceRun replaceAll);

 private:
  void OnInit() override;
  void OnCommand(int id, int code) override;
  void SetRepBtnClick();

  TReplaceRun FReplaceAll;
};

}  // namespace notavo
