// Clipboard: the selected bytes as CF_TEXT (code page 932, CR LF), and
// pasting or dropping text at the caret.
#include "editor/zel_edit.h"

namespace notavo {

bool TZelEdit::CopyToClipboard() {
  if (CaretScrollFix) MoveCaretTo(FCaret.Col, FCaret.Row, 0, true, false);
  if (!HasSelection()) return false;
  std::string error;
  if (!FHost.Clipboard().SetText(GetSelText(), error)) {
    ShowError(error.empty() ? "Error:OC007" : error);
    return false;
  }
  return true;
}

void TZelEdit::CutToClipboard() {
  if (!HasSelection()) return;
  // The text goes only once the clipboard holds it.
  if (!CopyToClipboard()) return;
  DeleteSelection(true);
  if (OnChange) OnChange(*this);
}

void TZelEdit::PasteFromClipboard() {
  std::string error;
  const std::optional<std::string> clip = FHost.Clipboard().GetText(error);
  if (!clip) {
    if (!error.empty()) ShowError(error);
    return;
  }
  const std::string text = clip->substr(0, clip->find('\0'));
  if (!text.empty()) {
    if (HasSelection()) DeleteSelection(true);
    RecordUndo(ukInserted, text, FCaret.Row, FCaret.Col);
    InsertTextAtCaret(text, true);
    if (OnChange) OnChange(*this);
  }
  if (!error.empty()) ShowError(error);  // pasted, with characters replaced
}

void TZelEdit::InsertDroppedText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return;
  if (HasSelection()) DeleteSelection(true);
  RecordUndo(ukInserted, text, -1, -1);
  InsertTextAtCaret(text, true);
  if (OnChange) OnChange(*this);
}

}  // namespace notavo
