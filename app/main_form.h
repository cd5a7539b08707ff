// The program's one main window, TMainForm: menu bar, the editor with its
// context menu and column ruler, the recent-files list below it, the status
// bar at the bottom; and the document's life: new, open, save, save as,
// reopen from the list, open by drop, close with the save prompt, the
// settings file read at the first show and written at close.
#pragma once

// The editor's window first: its portable headers must come before
// <windows.h> (see platform/win32/windows_api.h).
#include "app/controls/zel_edit_window.h"
// Then the rest.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/column_ruler.h"
#include "app/file_dialogs.h"
#include "app/framework/menu.h"
#include "app/framework/window.h"
#include "app/menu_images.h"
#include "app/recent_files.h"
#include "hook/drop_target.h"
#include "menuskin/win32/xp_menu.h"
#include "platform/win32/gdi_objects.h"

namespace notavo {

// Shown in captions and message boxes.
inline constexpr const wchar_t* kApplicationTitle = L"Notavo";

class TMainForm final : private framework::TMessageHandler {
 public:
  // `fileName` is the document path as code page 932 bytes, exactly as the
  // user gave it; nullopt for a new, untitled document.
  TMainForm(HINSTANCE instance, std::optional<std::wstring> fileName);
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;
  ~TMainForm();

  HWND Handle() const { return FWindow.Handle(); }
  TZelEdit& Editor() { return FEditor.Edit(); }
  HWND EditorHandle() const { return FEditor.Handle(); }
  HACCEL Accelerators() const { return FAccelerators; }

  // The first show: reads the settings file and applies it (window size,
  // font, display settings, wrap mode), shows the window centred, and opens
  // the command line's file. A file that does not exist yet is a new
  // document under that name; one that cannot be read is reported and the
  // document starts untitled.
  void Show(int showCommand);
  // Command states that can change without an event of the editor (Cut,
  // Copy: the selection; Paste: the clipboard), for the idle loop.
  void UpdateCommandStates();

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren(HINSTANCE instance);
  void WireEditorEvents();
  void LayOut();
  void Command(UINT id);
  void ShowContextMenu(LPARAM at);
  void SetPanel(int panel, const std::string& text);
  void ShowCaretPanel();
  void ShowInsertPanel();
  void FocusEditor();
  int PixelsPerInch() const;

  // ---- searching (main_form_search.cpp) -------------------------------------
  void WireSearchEvents();
  // The find and the replace dialog, each shown until the user closes it.
  void Find2Click();
  void ReplaceClick();
  // The replace dialog's run: over the selection's rows (or everything),
  // asking before each replacement.
  void ReplaceAll(std::string_view find, std::string_view replacement);
  // The window a notice or question belongs to: the dialog being shown, or
  // this window.
  HWND NoticeOwner() const;

  // ---- the document (main_form_document.cpp) --------------------------------
  // Reads the command line's file; the reason when it could not be read.
  std::optional<std::string> OpenCommandLineFile();
  // Asks to save a modified document. Returns when the caller may go on
  // (saved or declined); throws ESilentAbort when it must stop (cancelled,
  // or the save did not happen).
  void ConfirmSave();
  void FileNew();
  void FileOpen();
  // Each returns whether the document was saved.
  bool FileSave();
  bool FileSaveAs();
  bool SaveTo(const std::string& fileName);
  // Reads `fileName` into the editor. On failure the reason is shown and the
  // document, its name and its undo history stay as they were.
  bool OpenDocument(const std::string& fileName, bool addToRecent);
  void OpenRecentFile();
  void DropFiles(const std::vector<std::string>& files);
  void ChooseFont();
  // WM_CLOSE: the prompt, then the settings; the window closes even when
  // the settings cannot be written (after saying so).
  void Close();
  void UpdateTitle();
  void AddRecentFile();
  void ShowRecentFiles();

  std::string FFileName;  // as obtained; empty: untitled
  std::string FDisplayName;
  std::optional<std::wstring> FCommandLineFile;
  bool FSaveEnabled = false, FUndoEnabled = false, FRedoEnabled = false;
  bool FReplaceDeclined = false;  // a hit of this replace run was kept
  TRecentFiles FRecent;
  TColumnRuler FRuler;
  TFontDialog FFontDialog;
  // Before the windows that use them.
  win32::TFont FFormFont;
  TMenuImages FMenuImages;
  framework::TMenu FEditorMenu;    // the context menu's resource
  HACCEL FAccelerators = nullptr;  // a resource: freed with the program

  framework::TWindowClass FWindowClass;
  // Before the main window: that one sends WM_SIZE while it is being built,
  // and outlives it, so the child window goes with the main window first.
  win32::TZelEditWindow FEditor;
  framework::TWindow FWindow;
  HWND FStatusBar = nullptr;  // children: destroyed with the main window
  HWND FRecentList = nullptr;
  HWND FPanel1 = nullptr, FPanel2 = nullptr;
  TDropDst FDropTarget;  // unhooks before the editor goes
  // The menu skin (XPMenu1): both menus, the recent list, the dialogs'
  // edit boxes. Last: it hooks the main window and leaves first.
  menuskin::TXPMenu FXPMenu1;
};

}  // namespace notavo
