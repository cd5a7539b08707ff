// Program entry: one main window for the file named on the command line (or
// an untitled document), then the message loop until that window closes.
// The main form first: the editor's headers must come before <windows.h>
// (see platform/win32/windows_api.h).
#include "app/main_form.h"
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "app/framework/window.h"
#include "platform/win32/cp932.h"

namespace {

struct LocalFreeDeleter {
  void operator()(wchar_t** argv) const { ::LocalFree(argv); }
};

// The first command-line argument. An empty argument counts as none;
// further arguments are ignored.
std::optional<std::wstring> FirstArgument() {
  int argc = 0;
  std::unique_ptr<wchar_t*, LocalFreeDeleter> argv(
      ::CommandLineToArgvW(::GetCommandLineW(), &argc));
  if (!argv || argc < 2 || argv.get()[1][0] == L'\0') return std::nullopt;
  return std::wstring(argv.get()[1]);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    notavo::TMainForm mainForm(instance, FirstArgument());
    mainForm.Show(showCommand);
    return notavo::framework::RunMessageLoop(mainForm.Handle(), mainForm.Accelerators(),
                                             [&mainForm] { mainForm.UpdateCommandStates(); });
  } catch (const std::exception& e) {
    ::MessageBoxW(nullptr, notavo::win32::WidenCp932(e.what()).c_str(), notavo::kApplicationTitle,
                  MB_OK | MB_ICONERROR);
    return 1;
  }
}
