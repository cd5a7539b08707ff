#include "app/main_form.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "app/dialogs/about_box.h"
#include "app/dialogs/return_dlg.h"
#include "app/dialogs/set_system_dlg.h"
#include "app/editor_settings.h"
#include "app/framework/panel.h"
#include "app/message_boxes.h"
#include "app/resource.h"
#include "hook/silent_abort.h"
#include "platform/win32/cp932.h"
#include "platform/win32/ui_font.h"

namespace notavo {
namespace {

constexpr const wchar_t* kMainFormClassName = L"NotavoMainForm";
constexpr int kRecentListId = 10, kStatusBarId = 11, kEditorId = 12, kPanel1Id = 13, kPanel2Id = 14;
constexpr int kInitialWidth = 638, kInitialHeight = 478;
constexpr int kStatusBarHeight = 24, kRecentListHeight = 80, kRecentItemHeight = 12;
// Right edges of the status bar's four panels: 100, 60, 60 and 50 wide.
constexpr int kPanelEdges[4] = {100, 160, 220, 270};

// Menu items and the index of their image in the strip.
struct TMenuImage {
  UINT Command;
  int Index;
};
constexpr TMenuImage kMenuImages[] = {
    {IDM_FILE_NEW, 0},  {IDM_FILE_OPEN, 1},  {IDM_FILE_SAVE, 2},        {IDM_FILE_SAVE_AS, 3},
    {IDM_FILE_EXIT, 4}, {IDM_EDIT_UNDO, 5},  {IDM_EDIT_REDO, 6},        {IDM_EDIT_CUT, 7},
    {IDM_EDIT_COPY, 8}, {IDM_EDIT_PASTE, 9}, {IDM_EDIT_SELECT_ALL, 11}, {IDM_SEARCH_FIND, 13}};
constexpr int kMenuImageCount = 14;

std::string Cp932(const wchar_t* text) { return win32::NarrowCp932(text); }

void EnableCommand(HMENU menu, UINT command, bool enabled) {
  if (menu != nullptr) {
    ::EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

}  // namespace

TMainForm::TMainForm(HINSTANCE instance, std::optional<std::wstring> fileName)
    : FCommandLineFile(std::move(fileName)),
      FFormFont(win32::CreateUiFont(-kRecentItemHeight)),
      FMenuImages(instance, IDB_MENU_IMAGES, kMenuImageCount),
      FEditorMenu(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_EDITOR_MENU))),
      FAccelerators(::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS))),
      FWindowClass(instance, kMainFormClassName,
                   ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_NOTAVO))),
      FWindow(FWindowClass, *this, std::wstring(kApplicationTitle),
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN),
      FXPMenu1(FWindow) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  ::SetMenu(Handle(), ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
  for (const TMenuImage& image : kMenuImages) {
    FMenuImages.Apply(::GetMenu(Handle()), image.Command, image.Index);
    if (FEditorMenu.Get() != nullptr) {
      FMenuImages.Apply(::GetSubMenu(FEditorMenu.Get(), 0), image.Command, image.Index);
    }
  }
  ::SetWindowPos(Handle(), nullptr, 0, 0, kInitialWidth, kInitialHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  ApplyProgramSettings(FEditor.Edit());
  // The editor shows its context menu on the right button's press; from the
  // keyboard the menu comes through WM_CONTEXTMENU here.
  if (FEditorMenu.Get() != nullptr) {
    FEditor.Edit().SetPopupMenu(
        reinterpret_cast<std::uintptr_t>(::GetSubMenu(FEditorMenu.Get(), 0)));
  }
  WireEditorEvents();
  WireSearchEvents();
  CreateChildren(instance);
  FEditor.Edit().SetColumn(FEditor.Edit().MaxColumn());
  ShowInsertPanel();
  ShowCaretPanel();
  UpdateTitle();

  FDropTarget.SetControl(&FEditor);
  FDropTarget.OnFileDrop = [this](TDropDst&, const std::vector<std::string>& files, int, int) {
    DropFiles(files);
  };
  FDropTarget.OnError = [this](const std::string& text) { ShowErrorNotice(Handle(), text); };

  if (FEditorMenu.Get() != nullptr) FXPMenu1.AddPopupMenu(::GetSubMenu(FEditorMenu.Get(), 0));
  FXPMenu1.SetOptions(menuskin::MainWindowXPMenuOptions());
}

TMainForm::~TMainForm() {
  // The window and its children go while everything they use is still here.
  if (Handle() != nullptr) ::DestroyWindow(Handle());
}

void TMainForm::CreateChildren(HINSTANCE instance) {
  FStatusBar =
      ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(),
                        reinterpret_cast<HMENU>(kStatusBarId), instance, nullptr);
  if (FStatusBar != nullptr) {
    ::SendMessageW(FStatusBar, WM_SETFONT, reinterpret_cast<WPARAM>(FFormFont.Get()), FALSE);
    ::SendMessageW(FStatusBar, SB_SETMINHEIGHT, kStatusBarHeight, 0);
    ::SendMessageW(FStatusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(kPanelEdges));
  }
  // Panel1 round the recent list, Panel2 round the editor.
  FPanel1 = framework::CreatePanel(Handle(), kPanel1Id);
  FPanel2 = framework::CreatePanel(Handle(), kPanel2Id);
  FRecentList = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                      LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                                  0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(kRecentListId),
                                  instance, nullptr);
  if (FRecentList != nullptr) {
    ::SendMessageW(FRecentList, WM_SETFONT, reinterpret_cast<WPARAM>(FFormFont.Get()), FALSE);
    ::SendMessageW(FRecentList, LB_SETITEMHEIGHT, 0, kRecentItemHeight);
  }
  RECT client{};
  ::GetClientRect(Handle(), &client);
  FEditor.Create(Handle(), client, kEditorId, &FWindow);
  // The panels under everything, so that they show only round their control.
  for (HWND panel : {FPanel1, FPanel2}) {
    if (panel != nullptr) {
      ::SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  LayOut();
}

void TMainForm::WireEditorEvents() {
  TZelEdit& edit = FEditor.Edit();
  edit.OnChangeModify = [this](TZelEdit&, bool modified) {
    SetPanel(1, modified ? Cp932(L"変更") : " ");
    FSaveEnabled = modified;
    FUndoEnabled = modified;
    UpdateCommandStates();
  };
  edit.OnChangeRedoMode = [this](TZelEdit&, bool redoEnable) {
    FRedoEnabled = redoEnable;
    UpdateCommandStates();
  };
  edit.OnChangeInsMode = [this](TZelEdit&, bool) {
    ShowInsertPanel();
    ShowCaretPanel();
  };
  edit.OnMoveCaret = [this](TZelEdit&) {
    ShowInsertPanel();
    ShowCaretPanel();
  };
  edit.OnSelectionChange = [this](TZelEdit& sender) {
    FRuler.DrawCaret(FEditor.Host().Surface(), sender, true);
  };
  edit.OnUserDraw = [this](TZelEdit& sender, int c1, int c2, int x1, int) {
    FRuler.Draw(FEditor.Host().Surface(), sender, c1, c2, x1);
  };
}

void TMainForm::LayOut() {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  int bottom = client.bottom;
  if (FStatusBar != nullptr) {
    ::SendMessageW(FStatusBar, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(FStatusBar, &bar);
    bottom -= bar.bottom - bar.top;
  }
  const int listTop = std::max(0, bottom - kRecentListHeight);
  framework::PlacePanel(FPanel1, FRecentList, RECT{0, listTop, client.right, bottom});
  framework::PlacePanel(FPanel2, EditorHandle(), RECT{0, 0, client.right, listTop});
}

void TMainForm::SetPanel(int panel, const std::string& text) {
  if (FStatusBar == nullptr) return;
  ::SendMessageW(FStatusBar, SB_SETTEXTW, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(win32::WidenCp932(text).c_str()));
}

void TMainForm::ShowCaretPanel() {
  const TZelEdit& edit = FEditor.Edit();
  SetPanel(0, "    " + std::to_string(edit.CaretRow() + 1) + ": " +
                  std::to_string(edit.GetCaretColumn() + 1));
}

void TMainForm::ShowInsertPanel() {
  SetPanel(2, FEditor.Edit().InsertMode() ? Cp932(L"挿入") : Cp932(L"上書き"));
}

void TMainForm::FocusEditor() {
  if (EditorHandle() != nullptr) ::SetFocus(EditorHandle());
}

int TMainForm::PixelsPerInch() const {
  const win32::TWindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

void TMainForm::UpdateCommandStates() {
  const bool selection = FEditor.Edit().HasSelection();
  const bool text = ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  for (HMENU menu : {::GetMenu(Handle()), FEditorMenu.Get()}) {
    EnableCommand(menu, IDM_FILE_SAVE, FSaveEnabled);
    EnableCommand(menu, IDM_EDIT_UNDO, FUndoEnabled);
    EnableCommand(menu, IDM_EDIT_REDO, FRedoEnabled);
    EnableCommand(menu, IDM_EDIT_CUT, selection);
    EnableCommand(menu, IDM_EDIT_COPY, selection);
    EnableCommand(menu, IDM_EDIT_PASTE, text);
  }
}

void TMainForm::ShowContextMenu(LPARAM at) {
  HMENU popup = ::GetSubMenu(FEditorMenu.Get(), 0);
  if (popup == nullptr) return;
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (at == -1) {  // from the keyboard: at the caret
    point = {FEditor.Edit().CaretPixelX(), FEditor.Edit().CaretY() + FEditor.Edit().RowPitch()};
    ::ClientToScreen(EditorHandle(), &point);
  }
  UpdateCommandStates();
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                   Handle(), nullptr);
}

void TMainForm::Command(UINT id) {
  TZelEdit& edit = FEditor.Edit();
  switch (id) {
    case IDM_FILE_NEW:
      FileNew();
      break;
    case IDM_FILE_OPEN:
      FileOpen();
      break;
    case IDM_FILE_SAVE:
      if (FSaveEnabled) FileSave();
      break;
    case IDM_FILE_SAVE_AS:
      FileSaveAs();
      break;
    case IDM_FILE_EXIT:
      ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
      break;
    case IDM_EDIT_UNDO:
      if (FUndoEnabled) edit.Undo();
      FocusEditor();
      break;
    case IDM_EDIT_REDO:
      if (FRedoEnabled) edit.Redo();
      FocusEditor();
      break;
    case IDM_EDIT_CUT:
      edit.CutToClipboard();
      break;
    case IDM_EDIT_COPY:
      edit.CopyToClipboard();
      break;
    case IDM_EDIT_PASTE:
      edit.PasteFromClipboard();
      break;
    case IDM_EDIT_SELECT_ALL:
      edit.SelectAll();
      break;
    case IDM_OPTIONS_FONT:
      ChooseFont();
      break;
    case IDM_OPTIONS_DISPLAY: {
      TSetSystemDlg dialog(edit, TSettingsFile(TSettingsFile::ProgramPath()));
      dialog.ShowModal(Handle());
      break;
    }
    case IDM_OPTIONS_WRAP: {
      TReturnDlg dialog(edit, TSettingsFile(TSettingsFile::ProgramPath()));
      dialog.ShowModal(Handle());
      break;
    }
    case IDM_HELP_ABOUT: {
      TAboutBox about;
      about.ShowModal(Handle());
      break;
    }
    case IDM_SEARCH_FIND:
      Find2Click();
      break;
    case IDM_SEARCH_REPLACE:
      ReplaceClick();
      break;
    case IDM_EDITOR_MENU:
      if (::GetFocus() == EditorHandle()) ShowContextMenu(-1);
      break;
    case IDM_NEXT_PANE:
      if (::GetFocus() == EditorHandle() && FRecentList != nullptr) {
        ::SetFocus(FRecentList);
      } else {
        FocusEditor();
      }
      break;
    default:
      break;
  }
}

LRESULT TMainForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Every command ends here, whatever it raised: a cancelled one silently,
  // a failed one with its reason. The program and the text go on.
  try {
    return Dispatch(window, message, wParam, lParam);
  } catch (const ESilentAbort&) {
  } catch (const std::exception& e) {
    ShowErrorNotice(window, e.what());
  } catch (...) {
    ShowErrorNotice(window, Cp932(L"予期しないエラーが発生しました。"));
  }
  return 0;
}

LRESULT TMainForm::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETFOCUS:
      // Activating the window puts the keyboard back into the text.
      FocusEditor();
      return 0;
    case WM_INITMENUPOPUP:
      UpdateCommandStates();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == EditorHandle()) {
        ShowContextMenu(lParam);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lParam == 0) {  // a menu item or a shortcut
        Command(LOWORD(wParam));
        return 0;
      }
      if (reinterpret_cast<HWND>(lParam) == FRecentList && HIWORD(wParam) == LBN_DBLCLK) {
        OpenRecentFile();
        return 0;
      }
      break;
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lParam) == FRecentList && LOWORD(wParam) == VK_RETURN) {
        OpenRecentFile();
        return -2;
      }
      return -1;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace notavo
