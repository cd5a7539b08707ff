#include "app/message_boxes.h"

#include <utility>

#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"

namespace notavo {
namespace {

constexpr const wchar_t* kTitle = L"Notavo";

// Relabels the buttons of the next message box this thread shows, for as
// long as it lives, and gives its texts a font with Japanese and ASCII
// glyphs when the system's message font lacks either (a system whose
// language is not Japanese).
class TButtonLabels {
 public:
  TButtonLabels()
      : FFont(MessageFontReplacement()),
        FHook(::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId())) {
    FCurrent = this;
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
    if (code == HCBT_ACTIVATE) {
      auto box = reinterpret_cast<HWND>(wParam);
      wchar_t className[16] = L"";
      ::GetClassNameW(box, className, 16);
      if (std::wstring_view(className) == L"#32770") {
        ::SetDlgItemTextW(box, IDYES, L"はい(&Y)");
        ::SetDlgItemTextW(box, IDNO, L"いいえ(&N)");
        ::SetDlgItemTextW(box, IDCANCEL, L"キャンセル");
        ::SetDlgItemTextW(box, IDOK, L"OK");
        if (FCurrent != nullptr && FCurrent->FFont) {
          ::EnumChildWindows(box, &SetFont, reinterpret_cast<LPARAM>(FCurrent->FFont.Get()));
        }
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline thread_local TButtonLabels* FCurrent = nullptr;
  win32::TFont FFont;  // outlives the box: it goes after the hook
  HHOOK FHook;
};

int Show(HWND owner, const std::wstring& text, const wchar_t* caption, UINT flags) {
  const TButtonLabels labels;
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

void ShowNotice(HWND owner, const std::string& text) {
  Show(owner, win32::WidenCp932(text), kTitle, MB_OK);
}

void ShowErrorNotice(HWND owner, const std::string& text) {
  Show(owner, win32::WidenCp932(text), kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace notavo
