// TAboutBox, "バージョン情報": the program's icon, its version, a notice
// and the link to the project's web page. OK (also Enter) and the close box
// close it; it has no cancel button, so Esc does nothing.
#pragma once

#include "app/framework/dialog.h"

namespace notavo {

class TAboutBox final : public framework::TDialog {
 public:
  TAboutBox();

 private:
  void OnCommand(int id, int code) override;
};

// The address the link shows and opens.
inline constexpr const wchar_t* kProjectWebPage = L"https://notavo.example.org/";

}  // namespace notavo
