#include "app/framework/dialog.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <system_error>

#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"

namespace notavo::framework {
namespace {

// The dialogs' face, or where it is not installed the first of its
// stand-ins that is (Wine has IPA's proportional Gothic, where the font
// mapper would give a fixed-pitch face for the name). The UI font rule then
// makes sure it shows Japanese.
constexpr const wchar_t* kFaces[] = {win32::kUiFace.data(), L"MS PGothic", L"IPAPGothic"};
constexpr COLORREF kLinkColor = RGB(0, 0, 255), kLinkHoverColor = RGB(255, 0, 0);
// Room for a combo box's drop-down list below its closed box.
constexpr int kDropDownListHeight = 200;

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  return ::EnumFontFamiliesExW(
             dc, &query, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) { return 0; }, 0,
             0) == 0;
}

const wchar_t* DialogFace() {
  const win32::TWindowDc screen(nullptr);
  for (const wchar_t* face : kFaces) {
    if (FaceInstalled(screen.Get(), face)) return face;
  }
  return kFaces[0];
}

// A dialog template with no controls; they are made in WM_INITDIALOG at
// pixel positions, which templates (in dialog units) cannot give.
struct TEmptyTemplate {
  alignas(DWORD) WORD Words[12] = {};  // DLGTEMPLATE (9 words), menu, class, title

  TEmptyTemplate() {
    DLGTEMPLATE head{};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    head.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    static_assert(sizeof head == 9 * sizeof(WORD));
    std::memcpy(Words, &head, sizeof head);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(Words); }
};

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), what);
}

bool IsRadio(const TControlDesc& control) { return control.Kind == TControlKind::RadioButton; }

}  // namespace

TDialog::~TDialog() {
  if (FHandle != nullptr) ::DestroyWindow(FHandle);
}

int TDialog::ShowModal(HWND owner) {
  const TEmptyTemplate emptyTemplate;
  FResult.reset();
  FFailure = nullptr;
  HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), emptyTemplate.Get(),
                                             owner, &DialogProc, reinterpret_cast<LPARAM>(this));
  if (dialog == nullptr) {
    if (FFailure) std::rethrow_exception(std::exchange(FFailure, nullptr));
    ThrowLastError("CreateDialogIndirectParamW");
  }
  const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (!FResult) ::ShowWindow(dialog, SW_SHOW);
  MSG msg{};
  while (!FResult) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop around this one
      break;
    }
    if (got == -1) break;
    TrackLink(msg);
    const bool ours = msg.hwnd == dialog || ::IsChild(dialog, msg.hwnd);
    if (ours && msg.message == WM_KEYDOWN) {
      bool used = false;
      try {
        used = OnKeyDown(static_cast<UINT>(msg.wParam));
      } catch (...) {
        FFailure = std::current_exception();
        EndModal(kModalCancel);
      }
      if (used) continue;
    }
    if (!::IsDialogMessageW(dialog, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // The owner first, so that it becomes the active window again.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  ::DestroyWindow(dialog);
  FHandle = nullptr;
  FHoveredLink = nullptr;
  if (FFailure) std::rethrow_exception(std::exchange(FFailure, nullptr));
  return FResult.value_or(kModalCancel);
}

void TDialog::EndModal(int result) {
  FResult = result;
  if (FHandle != nullptr) ::PostMessageW(FHandle, WM_NULL, 0, 0);  // wakes the loop
}

INT_PTR CALLBACK TDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TDialog*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->FHandle = window;
  }
  auto* self = reinterpret_cast<TDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  // Nothing may travel through the system's frames: the failure waits for
  // ShowModal, and the dialog closes.
  try {
    return self->Receive(message, wParam, lParam);
  } catch (...) {
    if (!self->FFailure) self->FFailure = std::current_exception();
    self->EndModal(kModalCancel);
    return FALSE;
  }
}

INT_PTR TDialog::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowTextW(FHandle, FDesc.Caption);
      CreateControls();
      PlaceWindow();
      if (FDesc.DefaultId != 0) ::SendMessageW(FHandle, DM_SETDEFID, FDesc.DefaultId, 0);
      if (HWND first = ::GetNextDlgTabItem(FHandle, nullptr, FALSE)) ::SetFocus(first);
      OnInit();
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {  // Esc
        if (FDesc.CancelId != 0 && Enabled(FDesc.CancelId)) OnCommand(FDesc.CancelId, BN_CLICKED);
      } else if (id != IDOK) {  // IDOK: Enter with no default button
        OnCommand(id, HIWORD(wParam));
      }
      return TRUE;
    }
    case WM_NOTIFY:
      ::SetWindowLongPtrW(FHandle, DWLP_MSGRESULT,
                          OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_CLOSE:
      EndModal(kModalCancel);
      return TRUE;
    case WM_DESTROY:  // also when its owner goes first: the loop must end
      if (!FResult) FResult = kModalCancel;
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      auto control = reinterpret_cast<HWND>(lParam);
      const TControlDesc* desc = DescOf(control);
      if (desc == nullptr || desc->Kind != TControlKind::Link) return FALSE;
      auto dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, control == FHoveredLink ? kLinkHoverColor : kLinkColor);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_STATIC) return FALSE;
      DrawCenteredLabel(item);
      return TRUE;
    }
    case WM_SETCURSOR: {
      auto under = reinterpret_cast<HWND>(wParam);
      const TControlDesc* desc = DescOf(under);
      if (desc != nullptr && desc->Kind == TControlKind::Link) {
        SetLinkHover(under, true);
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        ::SetWindowLongPtrW(FHandle, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      if (FHoveredLink != nullptr) SetLinkHover(FHoveredLink, false);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

const TControlDesc* TDialog::DescOf(HWND control) const {
  if (control == nullptr || ::GetParent(control) != FHandle) return nullptr;
  const int id = ::GetDlgCtrlID(control);
  for (const TControlDesc& desc : FDesc.Controls) {
    if (desc.Id == id) return &desc;
  }
  return nullptr;
}

void TDialog::CreateControls() {
  const TControlDesc* previous = nullptr;
  for (const TControlDesc& control : FDesc.Controls) {
    // A run of radio buttons is one group; every other control its own.
    CreateControl(control, !IsRadio(control) || previous == nullptr || !IsRadio(*previous));
    previous = &control;
  }
}

void TDialog::CreateControl(const TControlDesc& control, bool startsGroup) {
  const wchar_t* className = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE, exStyle = 0;
  const wchar_t* text = control.Text;
  switch (control.Kind) {
    case TControlKind::Label:  // broken only at its line breaks
      style |= SS_LEFTNOWORDWRAP;
      break;
    case TControlKind::CenteredLabel:  // one line, drawn in WM_DRAWITEM
      style |= SS_OWNERDRAW;
      break;
    case TControlKind::Edit:
      className = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case TControlKind::Button:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case TControlKind::DefaultButton:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_DEFPUSHBUTTON;
      break;
    case TControlKind::CheckBox:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case TControlKind::GroupBox:
      className = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case TControlKind::RadioButton:
      className = L"BUTTON";
      style |= BS_AUTORADIOBUTTON | (startsGroup ? WS_TABSTOP : 0);
      break;
    case TControlKind::ComboBox:
      className = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      break;
    case TControlKind::DropDownList:
      className = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
    case TControlKind::Icon:
      style |= SS_ICON | SS_REALSIZECONTROL;
      text = L"";
      break;
    case TControlKind::Link:
      style |= SS_LEFT | SS_NOTIFY;
      break;
    case TControlKind::EtchedFrame:
      style |= SS_ETCHEDFRAME;
      break;
    case TControlKind::BorderFrame:
      style |= SS_BLACKFRAME;
      break;
  }
  if (startsGroup) style |= WS_GROUP;
  if (control.Disabled) style |= WS_DISABLED;

  const bool isLink = control.Kind == TControlKind::Link;
  const int fontHeight = control.FontHeight != 0 ? control.FontHeight : FDesc.FontHeight;
  HFONT font = FontOfHeight(fontHeight, isLink);
  int width = control.Width, height = control.Height;
  if (width == 0 || height == 0) {  // as large as its text
    const win32::TWindowDc screen(nullptr);
    win32::TDcSlot slot(screen.Get());
    slot.Select(font);
    RECT r{};
    ::DrawTextW(screen.Get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    if (width == 0) width = r.right;
    if (height == 0) height = r.bottom;
  }
  const bool isCombo =
      control.Kind == TControlKind::ComboBox || control.Kind == TControlKind::DropDownList;
  HWND window = ::CreateWindowExW(exStyle, className, text, style, control.X, control.Y, width,
                                  isCombo ? height + kDropDownListHeight : height, FHandle,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) ThrowLastError("CreateWindowExW");
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (isCombo) {
    // The closed box as high as the table says: its selection field asked
    // to grow or shrink by the difference, a few rounds (Wine adds 2 to
    // what it is given).
    auto request = static_cast<int>(::SendMessageW(window, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    for (int round = 0; round < 3; ++round) {
      RECT r{};
      ::GetWindowRect(window, &r);
      const int off = height - (r.bottom - r.top);
      if (off == 0 || request + off <= 0) break;
      request += off;
      ::SendMessageW(window, CB_SETITEMHEIGHT, WPARAM(-1), request);
    }
    ::SetWindowTextW(window, text);  // a combo box ignores its creation text
  }
  if (control.Kind == TControlKind::Icon) {
    auto icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), control.Text, IMAGE_ICON, 32, 32, LR_SHARED));
    ::SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
}

HFONT TDialog::FontOfHeight(int height, bool underline) {
  const auto key = std::make_pair(height, underline);
  if (auto found = FFonts.find(key); found != FFonts.end()) return found->second.Get();
  win32::TFont font = win32::CreateUiFont(-height, DialogFace());
  if (underline && font) {  // the same face, underlined
    LOGFONTW chosen{};
    ::GetObjectW(font.Get(), sizeof chosen, &chosen);
    chosen.lfUnderline = TRUE;
    font = win32::TFont(::CreateFontIndirectW(&chosen));
  }
  HFONT handle = font.Get();
  FFonts.emplace(key, std::move(font));
  return handle;
}

void TDialog::PlaceWindow() {
  RECT frame{0, 0, FDesc.ClientWidth, FDesc.ClientHeight};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(FHandle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(FHandle, GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at{(::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
           (::GetSystemMetrics(SM_CYSCREEN) - height) / 2};
  if (FDesc.Position) at = *FDesc.Position;
  ::SetWindowPos(FHandle, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDialog::DrawCenteredLabel(const DRAWITEMSTRUCT& item) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item.hwndItem)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(item.hwndItem, text.data(), static_cast<int>(text.size()))));
  RECT box = item.rcItem;
  ::FillRect(item.hDC, &box, ::GetSysColorBrush(COLOR_BTNFACE));
  win32::TDcSlot slot(item.hDC);
  slot.Select(reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC,
                 ::GetSysColor(::IsWindowEnabled(item.hwndItem) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  // Not cut at the box: a text wider than it stays whole, centred over it.
  ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
}

void TDialog::SetLinkHover(HWND link, bool hover) {
  if (hover == (FHoveredLink == link)) return;
  HWND repaint = hover ? link : FHoveredLink;
  FHoveredLink = hover ? link : nullptr;
  if (hover) {  // WM_MOUSELEAVE tells when the pointer leaves it, even out of the dialog
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, link, 0};
    ::TrackMouseEvent(&track);
  }
  ::InvalidateRect(repaint, nullptr, TRUE);
}

void TDialog::TrackLink(const MSG& msg) {
  if (msg.message == WM_MOUSELEAVE && msg.hwnd == FHoveredLink && FHoveredLink != nullptr) {
    SetLinkHover(FHoveredLink, false);
  }
}

std::string TDialog::Text(int id) const {
  HWND item = Item(id);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return win32::NarrowCp932(text);
}

void TDialog::SetText(int id, std::string_view cp932) {
  ::SetWindowTextW(Item(id), win32::WidenCp932(cp932).c_str());
}

void TDialog::SetText(int id, const wchar_t* text) { ::SetWindowTextW(Item(id), text); }

bool TDialog::Checked(int id) const { return ::IsDlgButtonChecked(FHandle, id) == BST_CHECKED; }

void TDialog::SetChecked(int id, bool checked) {
  ::CheckDlgButton(FHandle, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool TDialog::Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }

void TDialog::Enable(int id, bool enabled) {
  HWND item = Item(id);
  if (!enabled && ::GetFocus() == item) {  // the keyboard moves on rather than getting lost
    ::SendMessageW(FHandle, WM_NEXTDLGCTL, 0, FALSE);
  }
  ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void TDialog::Focus(int id) {
  ::SendMessageW(FHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void TDialog::AddItem(int id, const std::wstring& text) {
  ::SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TDialog::SelectItem(int id, int index) {
  ::SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TDialog::SelectedItem(int id) const {
  const LRESULT index = ::SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace notavo::framework
