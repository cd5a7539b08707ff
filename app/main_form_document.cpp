// TMainForm: the settings at the first show and at close, and the
// document's life. No failure replaces the document or its name: a file
// that cannot be read leaves the open one as it was, a save that fails
// leaves it modified, and a cancelled or failed save stops whatever was
// about to discard the text.
#include "app/main_form.h"
#include "app/message_boxes.h"
#include "app/program_settings.h"
#include "app/settings_file.h"
#include "hook/silent_abort.h"
#include "platform/win32/cp932.h"
#include "platform/win32/file_names.h"

namespace notavo {
namespace {

bool FileExists(const std::string& fileName) {
  const std::optional<std::wstring> name = win32::TryWidenCp932(fileName);
  return name && !name->empty() && ::GetFileAttributesW(name->c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Cp932(const wchar_t* text) { return win32::NarrowCp932(text); }

}  // namespace

void TMainForm::Show(int showCommand) {
  TZelEdit& edit = FEditor.Edit();
  const int dpi = PixelsPerInch();
  RECT frame{};
  ::GetWindowRect(Handle(), &frame);
  TProgramSettings defaults;
  defaults.Width = frame.right - frame.left;
  defaults.Height = frame.bottom - frame.top;
  defaults.FontName = edit.Font().Name;
  defaults.FontSize = FontPointsForHeight(edit.Font().Height, dpi);
  TSettingsLimits limits;
  limits.MinWidth = ::GetSystemMetrics(SM_CXMINTRACK);
  limits.MinHeight = ::GetSystemMetrics(SM_CYMINTRACK);
  limits.MaxWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  limits.MaxHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const TProgramSettings settings =
      ReadProgramSettings(TSettingsFile(TSettingsFile::ProgramPath()), defaults, limits);

  // Centred on the screen the first time it shows.
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - settings.Width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - settings.Height) / 2;
  ::SetWindowPos(Handle(), nullptr, std::max(0, x), std::max(0, y), settings.Width, settings.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDisplaySettings(edit, settings, dpi);
  ApplyWrapMode(edit, settings);
  // The document before the window shows, so that it appears with its
  // name and text; a failure is said once the window is there.
  const std::optional<std::string> error = OpenCommandLineFile();
  UpdateTitle();
  ::ShowWindow(Handle(), showCommand);
  ::UpdateWindow(Handle());
  edit.RefreshView();
  edit.Redesign();
  FocusEditor();
  if (error) ShowErrorNotice(Handle(), *error);
}

std::optional<std::string> TMainForm::OpenCommandLineFile() {
  if (!FCommandLineFile) return std::nullopt;
  std::string notice;
  const std::optional<std::string> converted =
      win32::FileNameFromSystem(*std::exchange(FCommandLineFile, std::nullopt), notice);
  if (!converted) return notice;  // an untitled document, and why
  const std::string& name = *converted;
  if (!FileExists(name)) {
    FFileName = name;  // a new document: Save creates the file
    return std::nullopt;
  }
  // On failure the document stays untitled, so that Save cannot write the
  // empty text over the file that could not be read.
  std::string error;
  if (!FEditor.Edit().LoadFile(name, &error)) return error;
  FFileName = name;
  return std::nullopt;
}

void TMainForm::ConfirmSave() {
  if (!FEditor.Edit().Modified()) return;
  switch (AskToSave(Handle(), FDisplayName)) {
    case TSaveAnswer::Yes:
      if (!FileSave()) throw ESilentAbort();
      return;
    case TSaveAnswer::No:
      return;
    case TSaveAnswer::Cancel:
      throw ESilentAbort();
  }
}

void TMainForm::FileNew() {
  ConfirmSave();
  FFileName.clear();
  FEditor.Edit().Clear();
  FEditor.Edit().ResetUndo();
  UpdateTitle();
  ShowInsertPanel();
  ShowCaretPanel();
}

void TMainForm::FileOpen() {
  ConfirmSave();
  if (const std::optional<std::string> name = AskFileToOpen(Handle())) {
    OpenDocument(*name, true);
  }
  FocusEditor();
}

bool TMainForm::FileSave() {
  if (FFileName.empty()) return FileSaveAs();
  return SaveTo(FFileName);
}

bool TMainForm::FileSaveAs() {
  const std::optional<std::string> name = AskFileToSaveAs(Handle());
  return name && SaveTo(*name);
}

bool TMainForm::SaveTo(const std::string& fileName) {
  TZelEdit& edit = FEditor.Edit();
  std::string error;
  if (!edit.SaveFile(fileName, &error)) {
    ShowErrorNotice(Handle(), error);
    return false;
  }
  FFileName = fileName;
  // Unmodified from here, without the event: Undo stays as it is.
  edit.SetSavePoint();
  UpdateTitle();
  AddRecentFile();
  SetPanel(1, " ");
  FSaveEnabled = false;
  UpdateCommandStates();
  return true;
}

bool TMainForm::OpenDocument(const std::string& fileName, bool addToRecent) {
  std::string error;
  if (!FEditor.Edit().LoadFile(fileName, &error)) {
    ShowErrorNotice(Handle(), error);
    return false;
  }
  FFileName = fileName;
  UpdateTitle();
  if (addToRecent) AddRecentFile();
  ShowInsertPanel();
  ShowCaretPanel();
  FocusEditor();
  return true;
}

void TMainForm::OpenRecentFile() {
  const LRESULT selected = ::SendMessageW(FRecentList, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR || static_cast<std::size_t>(selected) >= FRecent.Items().size()) return;
  const auto index = static_cast<std::size_t>(selected);
  ConfirmSave();
  const std::string name = FRecent.Items()[index];
  if (FileExists(name)) {
    OpenDocument(name, true);
  } else {
    ShowNotice(Handle(), Cp932(L"ファイルがありません"));
    FRecent.RemoveAt(index);
    ShowRecentFiles();
  }
  FocusEditor();
}

void TMainForm::DropFiles(const std::vector<std::string>& files) {
  if (files.empty()) return;
  ConfirmSave();
  // Only the first file; the document is replaced only once it has been read.
  OpenDocument(files.front(), false);
}

void TMainForm::ChooseFont() {
  const int dpi = PixelsPerInch();
  const std::optional<TFontDialog::TChoice> choice = FFontDialog.Execute(Handle(), dpi);
  if (!choice) return;
  TZelEdit& edit = FEditor.Edit();
  edit.SetFont(choice->Font);
  edit.Redesign();
  edit.RefreshView();
}

void TMainForm::Close() {
  TZelEdit& edit = FEditor.Edit();
  if (edit.Modified()) {
    ConfirmSave();  // a cancel stops here: the window stays, nothing is written
    edit.ResetUndo();
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ::GetWindowPlacement(Handle(), &placement);
  const RECT& r = placement.rcNormalPosition;
  try {
    WriteClosingSettings(TSettingsFile(TSettingsFile::ProgramPath()), r.right - r.left,
                         r.bottom - r.top, edit.Font().Name,
                         FontPointsForHeight(edit.Font().Height, PixelsPerInch()));
  } catch (const ESettingsWriteError& e) {
    // Said once; the window closes all the same.
    ShowErrorNotice(Handle(), e.what());
  }
  ::DestroyWindow(Handle());
}

void TMainForm::UpdateTitle() {
  FDisplayName = FFileName.empty() ? Cp932(L"無題") : FFileName;
  ::SetWindowTextW(
      Handle(),
      (std::wstring(kApplicationTitle) + L" - " + win32::WidenCp932(FDisplayName)).c_str());
}

void TMainForm::AddRecentFile() {
  FRecent.Add(FFileName);
  ShowRecentFiles();
}

void TMainForm::ShowRecentFiles() {
  if (FRecentList == nullptr) return;
  ::SendMessageW(FRecentList, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(FRecentList, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : FRecent.Items()) {
    ::SendMessageW(FRecentList, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(win32::WidenCp932(name).c_str()));
  }
  ::SendMessageW(FRecentList, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(FRecentList, nullptr, TRUE);
}

}  // namespace notavo
