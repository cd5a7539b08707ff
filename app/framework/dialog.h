// Modal dialogs built from a table of controls at pixel positions. The
// dialog is a real Win32 dialog (an empty in-memory template; the controls
// are made as its children when it initialises), so IsDialogMessage gives
// Tab in table order, Alt+letter access keys and Enter for the default
// button. Esc presses the cancel button; a dialog without one ignores it.
// The close box always closes with kModalCancel.
//
// Example:
//
//   enum : int { kName = 100, kOk, kCancel };
//   constexpr TControlDesc kControls[] = {
//       {kName, TControlKind::Edit, 16, 16, 241, 23},
//       {kOk, TControlKind::DefaultButton, 24, 56, 97, 25, L"OK"},
//       {kCancel, TControlKind::Button, 152, 56, 97, 25, L"キャンセル"}};
//   constexpr TDialogDesc kDesc{L"名前", 280, 90, kControls, 12, kOk, kCancel};
//
//   class TNameDlg final : public TDialog {
//    public:
//     TNameDlg() : TDialog(kDesc) {}
//     std::string Name;
//    private:
//     void OnCommand(int id, int code) override {
//       if (id == kOk && code == BN_CLICKED) { Name = Text(kName); EndModal(kModalOk); }
//       if (id == kCancel && code == BN_CLICKED) EndModal(kModalCancel);
//     }
//   };
//
//   TNameDlg dialog;
//   if (dialog.ShowModal(owner) == kModalOk) Use(dialog.Name);
#pragma once

// First: it brings <windows.h> after the editor's portable headers.
#include "platform/win32/gdi_objects.h"
// clang-format off
#include <exception>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
// clang-format on

namespace notavo::framework {

inline constexpr int kModalOk = IDOK;
inline constexpr int kModalCancel = IDCANCEL;

enum class TControlKind {
  Label,          // static text; "&" marks the access key of the control after it
  CenteredLabel,  // the same, centred in its box
  Edit,           // single-line edit box
  Button,         // push button
  DefaultButton,  // the push button Enter presses
  CheckBox,       // automatic check box
  GroupBox,       // frame with a caption, around radio buttons
  RadioButton,    // automatic radio button; a run of them is one group
  ComboBox,       // drop-down combo box one may type into
  DropDownList,   // drop-down list without typing
  Icon,           // the program's icon, stretched to the box
  Link,           // blue underlined text, red with the hand cursor under the mouse
  EtchedFrame,    // sunken outer and raised inner bevel, nothing inside
  BorderFrame,    // a single-line border, nothing inside
};

// One control: its command identifier (100 and up, so that the system's
// IDOK/IDCANCEL stay apart), kind, position and size in client pixels,
// text, and the height of its font in pixels (0: the dialog's). A Link or
// a Label with width 0 takes the width of its text. An Icon's text is the
// name of its icon resource (MAKEINTRESOURCEW for a number).
struct TControlDesc {
  int Id = 0;
  TControlKind Kind = TControlKind::Label;
  int X = 0, Y = 0, Width = 0, Height = 0;
  const wchar_t* Text = L"";
  int FontHeight = 0;
  bool Disabled = false;
};

struct TDialogDesc {
  const wchar_t* Caption = L"";
  int ClientWidth = 0, ClientHeight = 0;
  // The controls in Tab order (also the order access keys search).
  std::span<const TControlDesc> Controls;
  int FontHeight = 12;  // pixels, face "ＭＳ Ｐゴシック"
  int DefaultId = 0;    // the button Enter presses; 0: Enter does nothing
  int CancelId = 0;     // the button Esc presses; 0: Esc does nothing
  // The window's top-left corner on the screen; centred when not given.
  std::optional<POINT> Position = std::nullopt;
};

class TDialog {
 public:
  explicit TDialog(const TDialogDesc& desc) : FDesc(desc) {}
  TDialog(const TDialog&) = delete;
  TDialog& operator=(const TDialog&) = delete;
  virtual ~TDialog();

  // Shows the dialog with `owner` disabled until it closes; returns the
  // value given to EndModal (kModalCancel for the close box). An exception
  // thrown by a handler closes the dialog and comes out of here.
  int ShowModal(HWND owner);

  HWND Handle() const { return FHandle; }
  HWND Item(int id) const { return ::GetDlgItem(FHandle, id); }

 protected:
  // After the controls are made, before the dialog shows.
  virtual void OnInit() {}
  // WM_COMMAND from a control: its identifier and notification code.
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR&) { return 0; }
  // A key press on its way to the dialog; true when it was used.
  virtual bool OnKeyDown(UINT /*virtualKey*/) { return false; }

  void EndModal(int result);

  // Texts as code page 932 bytes, converted with that code page.
  std::string Text(int id) const;
  void SetText(int id, std::string_view cp932);
  void SetText(int id, const wchar_t* text);
  bool Checked(int id) const;
  void SetChecked(int id, bool checked);
  bool Enabled(int id) const;
  void Enable(int id, bool enabled);
  void Focus(int id);
  // Combo boxes and lists.
  void AddItem(int id, const std::wstring& text);
  void SelectItem(int id, int index);  // -1: none
  int SelectedItem(int id) const;      // -1: none

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Receive(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void CreateControl(const TControlDesc& control, bool startsGroup);
  const TControlDesc* DescOf(HWND control) const;
  HFONT FontOfHeight(int height, bool underline);
  void PlaceWindow();
  void DrawCenteredLabel(const DRAWITEMSTRUCT& item);
  void SetLinkHover(HWND link, bool hover);
  void TrackLink(const MSG& msg);

  TDialogDesc FDesc;
  HWND FHandle = nullptr;
  std::map<std::pair<int, bool>, win32::TFont> FFonts;
  HWND FHoveredLink = nullptr;
  std::optional<int> FResult;
  std::exception_ptr FFailure;
};

}  // namespace notavo::framework
