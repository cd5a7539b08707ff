#include "app/main_form.h"

#include <exception>
#include <utility>

#include "platform/file_io.h"
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
      FWindow(FWindowClass, *this, std::wstring(kApplicationTitle), WS_OVERLAPPEDWINDOW) {
  UpdateTitle();
}

void TMainForm::Show(int showCommand) {
  ::ShowWindow(Handle(), showCommand);
  ::UpdateWindow(Handle());
}

void TMainForm::LoadDocument() {
  if (!FFileName || !FileExists(*FFileName)) return;
  try {
    FLines.LoadFromFile(*FFileName);
  } catch (const std::exception& e) {
    // EFileError already names the file and the system's reason.
    ::MessageBoxW(Handle(), win32::WidenCp932(e.what()).c_str(), kApplicationTitle,
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
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace notavo
