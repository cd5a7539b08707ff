// Keys and the input method: the key table of WM_KEYDOWN, typed characters,
// and finished input-method text.
#include "editor/zel_edit.h"
#include "textstore/shift_jis.h"

namespace notavo {

using namespace win;

void TZelEdit::KeyDown(int key) {
  TKeyboard& keyboard = FKeys;
  const bool ctrl = keyboard.IsDown(VK_CONTROL);
  const bool shift = keyboard.IsDown(VK_SHIFT);
  const bool convert = keyboard.IsDown(VK_CONVERT);
  const bool nonConvert = keyboard.IsDown(VK_NONCONVERT);
  if (ctrl) {
    switch (key) {
      case VK_BACK:
        if (!ReadOnly) DeleteWordLeft();
        break;
      case VK_END:
        DocumentEnd();
        break;
      case VK_HOME:
        DocumentStart();
        break;
      case VK_LEFT:
        CaretLeft(true);
        break;
      case VK_RIGHT:
        CaretRight(true);
        break;
      case VK_INSERT:
        CopyToClipboard();
        break;
      case VK_DELETE:
        if (!ReadOnly) DeleteWordRight();
        break;
      case 'A':
        SelectAll();
        break;
      case 'C':
        CopyToClipboard();
        break;
      case 'V':
        if (!ReadOnly) PasteFromClipboard();
        break;
      case 'X':
        if (!ReadOnly) CutToClipboard();
        break;
      case 'Z':
        if (!ReadOnly) Undo();
        break;
      case VK_OEM_COMMA:
        KeyHome();
        break;
      case VK_OEM_PERIOD:
        KeyEnd();
        break;
      default:
        if (CaretScrollFix) BringCaretIntoView();
        break;
    }
  } else {
    switch (key) {
      case VK_END:
        KeyEnd();
        break;
      case VK_HOME:
        KeyHome();
        break;
      case VK_LEFT:
        CaretLeft(false);
        break;
      case VK_RIGHT:
        CaretRight(false);
        break;
      default:
        break;
    }
  }
  if (shift) {
    if (key == VK_INSERT && !ReadOnly) PasteFromClipboard();
    if (key == VK_DELETE && !ReadOnly) CutToClipboard();
  }
  if (!shift && !ctrl) {
    switch (key) {
      case VK_BACK:
        if (!ReadOnly) DeleteCharLeft();
        break;
      case VK_INSERT:
        if (!ReadOnly) {
          FInsertMode = !FInsertMode;
          if (OnChangeInsMode) OnChangeInsMode(*this, FInsertMode);
        }
        break;
      case VK_DELETE:
        if (!ReadOnly) DeleteCharRight();
        break;
      default:
        break;
    }
    if (convert && !ReadOnly) {
      StartReconvert();
    } else if ((convert || nonConvert) && CaretScrollFix) {
      BringCaretIntoView();
    }
  }
  switch (key) {
    case VK_TAB:
      if (!ReadOnly) InsertTab();
      break;
    case VK_RETURN:
      if (!ReadOnly) InsertLineBreak();
      break;
    case VK_ESCAPE:
      if (CaretScrollFix) BringCaretIntoView();
      ForgetFindHit();
      break;
    case VK_PRIOR:
      PageMove(SB_PAGEUP);
      break;
    case VK_NEXT:
      PageMove(SB_PAGEDOWN);
      break;
    case VK_UP:
      CaretUpDown(-1);
      break;
    case VK_DOWN:
      CaretUpDown(1);
      break;
    default:
      break;
  }
}

void TZelEdit::TypeCharMessage(unsigned code) {
  if (ReadOnly || FKeys.IsDown(VK_CONTROL)) {
    FPendingLead = 0;
    return;
  }
  // A double-byte character typed without the input method reaches an ANSI
  // window as two WM_CHAR messages, lead byte first.
  if (FPendingLead != 0) {
    const char pair[2] = {static_cast<char>(FPendingLead), static_cast<char>(code)};
    FPendingLead = 0;
    if (code >= 0x40 && code <= 0xFC && code != 0x7F) TypeText(std::string_view(pair, 2));
    return;
  }
  if (!SingleByteMode() && IsLeadByte(static_cast<unsigned char>(code)) && code <= 0xFF) {
    FPendingLead = code;
    return;
  }
  if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xDF)) {
    const char byte = static_cast<char>(code);
    TypeText(std::string_view(&byte, 1));
  }
}

void TZelEdit::ImeResult() {
  const std::optional<std::string> result = FHost.InputMethod().ResultString();
  if (!result) return;
  // The bytes up to the first NUL, as one edit and one undo step.
  const std::string text = result->substr(0, result->find('\0'));
  if (!text.empty()) TypeText(text);
}

}  // namespace notavo
