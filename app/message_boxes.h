// The program's message boxes: the system's own box, with the Japanese
// button labels whatever language the system speaks. Texts are code page
// 932 bytes.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace notavo {

enum class TSaveAnswer { Yes, No, Cancel };

// "警告": "ファイルの内容が変更されています。\r\n<name>を保存しますか？" with
// "はい(&Y)" (the default), "いいえ(&N)" and "キャンセル" (also Esc and the
// close box).
TSaveAnswer AskToSave(HWND owner, const std::string& displayName);

enum class TReplaceAnswer { Yes, No, Abort, All, Closed };

// "情報": "置換しますか？" with "はい(&Y)" (the default), "いいえ(&N)" (also
// Esc), "中止(&A)" and "すべて(&A)". The close box is an answer of its own:
// Closed.
TReplaceAnswer AskToReplace(HWND owner);

// A plain notice with the program's title and one "OK" button.
void ShowNotice(HWND owner, const std::string& text);
// The same with the error icon, for failures.
void ShowErrorNotice(HWND owner, const std::string& text);

}  // namespace notavo
