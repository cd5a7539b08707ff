#include "app/main_form.h"

#include <exception>
#include <utility>

#include "app/editor_settings.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

constexpr const wchar_t* kMainFormClassName = L"NotavoMainForm";

bool FileExists(const std::string& fileName) {
  const std::optional<std::wstring> name = win32::TryWidenCp932(fileName);
  return name && !name->empty() && ::GetFileAttributesW(name->c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TMainForm::TMainForm(HINSTANCE instance, std::optional<std::string> fileName)
    : FFileName(std::move(fileName)),
      FWindowClass(instance, kMainFormClassName),
      FWindow(FWindowClass, *this, std::wstring(kApplicationTitle),
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN) {
  ApplyProgramSettings(FEditor.Edit());
  RECT client{};
  ::GetClientRect(Handle(), &client);
  FEditor.Create(Handle(), client);
  FEditor.Edit().Redesign();
  UpdateTitle();
}

void TMainForm::Show(int showCommand) {
  ::ShowWindow(Handle(), showCommand);
  ::UpdateWindow(Handle());
  if (EditorHandle() != nullptr) ::SetFocus(EditorHandle());
}

void TMainForm::LoadDocument() {
  if (!FFileName || !FileExists(*FFileName)) return;
  std::string error;
  if (!FEditor.Edit().LoadFile(*FFileName, &error)) {
    ::MessageBoxW(Handle(), win32::WidenCp932(error).c_str(), kApplicationTitle,
                  MB_OK | MB_ICONERROR);
  }
}

std::string TMainForm::Title() const {
  std::string title = win32::NarrowCp932(kApplicationTitle) + " - ";
  title += FFileName ? *FFileName : win32::NarrowCp932(L"無題");
  return title;
}

void TMainForm::UpdateTitle() {
  if (Handle() != nullptr) ::SetWindowTextW(Handle(), win32::WidenCp932(Title()).c_str());
}

LRESULT TMainForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (EditorHandle() != nullptr) {
        ::MoveWindow(EditorHandle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      }
      return 0;
    case WM_SETFOCUS:
      // Activating the window puts the keyboard back into the text.
      if (EditorHandle() != nullptr) ::SetFocus(EditorHandle());
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace notavo
