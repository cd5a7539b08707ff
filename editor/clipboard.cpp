// Clipboard: the selected bytes as CF_TEXT.
#include "editor/zel_edit.h"

namespace notavo {

bool TZelEdit::CopyToClipboard() {
  if (!HasSelection()) return false;
  std::string error;
  if (!FHost.Clipboard().SetText(GetSelText(), error)) {
    ShowError(error);
    return false;
  }
  return true;
}

}  // namespace notavo
