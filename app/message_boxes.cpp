#include "app/message_boxes.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <string_view>
#include <utility>

#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"

namespace notavo {
namespace {

constexpr const wchar_t* kTitle = L"Notavo";

// What the replace question's box answers besides the system's codes: its
// close box (Esc is "いいえ(&N)" there).
constexpr int kClosedByCloseBox = IDCLOSE;

// The replace question is the system's Yes/No/Cancel/Help box: Cancel
// becomes "中止(&A)" (given the abort code, so that Esc no longer reaches
// it), Help becomes "すべて(&A)" and closes the box as the other buttons do.
LRESULT CALLBACK ReplaceQuestionProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDCANCEL:  // Esc
          ::EndDialog(box, IDNO);
          return 0;
        case IDABORT:
        case IDHELP:
          ::EndDialog(box, LOWORD(wParam));
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      ::EndDialog(box, kClosedByCloseBox);
      return 0;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(box, &ReplaceQuestionProc, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(box, message, wParam, lParam);
}

enum class TBoxKind { Plain, ReplaceQuestion };

// Relabels the buttons of the next message box this thread shows, for as
// long as it lives, and gives its texts a font with Japanese and ASCII
// glyphs when the system's message font lacks either (a system whose
// language is not Japanese). Only the box itself: the window activated
// again when it closes (a dialog, say) keeps its buttons.
class TButtonLabels {
 public:
  explicit TButtonLabels(TBoxKind kind)
      : FFont(MessageFontReplacement()),
        FHook(::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId())) {
    FCurrent = this;
    FKind = kind;
    FBox = nullptr;
  }
  TButtonLabels(const TButtonLabels&) = delete;
  TButtonLabels& operator=(const TButtonLabels&) = delete;
  ~TButtonLabels() {
    if (FHook != nullptr) ::UnhookWindowsHookEx(FHook);
    FCurrent = nullptr;
  }

 private:
  static win32::TFont MessageFontReplacement() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      return win32::TFont();
    }
    return win32::ReplacementForSystemFont(metrics.lfMessageFont);
  }

  static BOOL CALLBACK SetFont(HWND child, LPARAM font) {
    ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
  }

  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && FBox == nullptr) {
      auto box = reinterpret_cast<HWND>(wParam);
      wchar_t className[16] = L"";
      ::GetClassNameW(box, className, 16);
      if (std::wstring_view(className) == L"#32770") {
        FBox = box;
        Relabel(box);
        if (FCurrent != nullptr && FCurrent->FFont) {
          ::EnumChildWindows(box, &SetFont, reinterpret_cast<LPARAM>(FCurrent->FFont.Get()));
        }
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static void Relabel(HWND box) {
    ::SetDlgItemTextW(box, IDYES, L"はい(&Y)");
    ::SetDlgItemTextW(box, IDNO, L"いいえ(&N)");
    ::SetDlgItemTextW(box, IDOK, L"OK");
    if (FKind == TBoxKind::ReplaceQuestion) {
      HWND abort = ::GetDlgItem(box, IDCANCEL);
      ::SetWindowTextW(abort, L"中止(&A)");
      ::SetWindowLongPtrW(abort, GWLP_ID, IDABORT);
      ::SetDlgItemTextW(box, IDHELP, L"すべて(&A)");
      ::SetWindowSubclass(box, &ReplaceQuestionProc, 1, 0);
    } else {
      ::SetDlgItemTextW(box, IDCANCEL, L"キャンセル");
    }
  }

  static inline thread_local TBoxKind FKind = TBoxKind::Plain;
  static inline thread_local HWND FBox = nullptr;
  static inline thread_local TButtonLabels* FCurrent = nullptr;
  win32::TFont FFont;  // outlives the box: it goes after the hook
  HHOOK FHook;
};

int Show(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags,
         TBoxKind kind = TBoxKind::Plain) {
  const TButtonLabels labels(kind);
  return ::MessageBoxW(owner, text.c_str(), caption, flags);
}

}  // namespace

TSaveAnswer AskToSave(HWND owner, const std::string& displayName) {
  const std::wstring text = L"ファイルの内容が変更されています。\r\n" +
                            win32::WidenCp932(displayName) + L"を保存しますか？";
  switch (Show(owner, text, L"警告", MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
    case IDYES:
      return TSaveAnswer::Yes;
    case IDNO:
      return TSaveAnswer::No;
    default:
      return TSaveAnswer::Cancel;
  }
}

TReplaceAnswer AskToReplace(HWND owner) {
  switch (Show(owner, L"置換しますか？", L"情報",
               MB_YESNOCANCEL | MB_HELP | MB_ICONINFORMATION | MB_DEFBUTTON1,
               TBoxKind::ReplaceQuestion)) {
    case IDYES:
      return TReplaceAnswer::Yes;
    case IDNO:
      return TReplaceAnswer::No;
    case IDABORT:
      return TReplaceAnswer::Abort;
    case IDHELP:
      return TReplaceAnswer::All;
    default:
      return TReplaceAnswer::Closed;
  }
}

void ShowNotice(HWND owner, const std::string& text) {
  Show(owner, win32::WidenCp932(text), kTitle, MB_OK);
}

void ShowErrorNotice(HWND owner, const std::string& text) {
  Show(owner, win32::WidenCp932(text), kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace notavo
