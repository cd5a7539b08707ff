#include "hook/drop_target.h"

#include <exception>
#include <stdexcept>

#include "hook/silent_abort.h"
#include "platform/win32/cp932.h"
#include "platform/win32/file_names.h"

namespace notavo {

std::vector<std::string> DroppedFileNames(HDROP drop) {
  std::vector<std::string> names;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  names.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT got = ::DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(got);
    std::string notice;
    std::optional<std::string> converted = win32::FileNameFromSystem(name, notice);
    if (!converted) throw std::runtime_error(notice);
    names.push_back(std::move(*converted));
  }
  return names;
}

void TDropDst::SetAcceptDrop(bool accept) {
  if (accept == FAcceptDrop) return;
  FAcceptDrop = accept;
  UpdateDragAccept();
}

void TDropDst::HandleChanged(THandleChange kind) {
  TControlHook::HandleChanged(kind);
  UpdateDragAccept();
}

void TDropDst::UpdateDragAccept() {
  HWND window = HookedHandle();
  if (window != nullptr && window != kHandleChanging && ::IsWindow(window)) {
    ::DragAcceptFiles(window, FAcceptDrop ? TRUE : FALSE);
  }
}

LRESULT TDropDst::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_DROPFILES) return TControlHook::WndProc(message, wParam, lParam);
  const auto drop = reinterpret_cast<HDROP>(wParam);
  try {
    DoFileDrop(drop);
  } catch (const ESilentAbort&) {
  } catch (const std::exception& e) {
    ShowError(e.what());
  } catch (...) {
    ShowError(win32::NarrowCp932(L"ファイルのドロップを処理できませんでした。"));
  }
  ::DragFinish(drop);
  return 0;
}

void TDropDst::DoFileDrop(HDROP drop) {
  if (!OnFileDrop) return;
  const std::vector<std::string> files = DroppedFileNames(drop);
  POINT at{};
  ::DragQueryPoint(drop, &at);
  OnFileDrop(*this, files, at.x, at.y);
}

void TDropDst::ShowError(const std::string& text) {
  try {
    if (OnError) {
      OnError(text);
      return;
    }
  } catch (...) {
  }
  HWND window = HookedHandle();
  HWND owner =
      window != nullptr && window != kHandleChanging ? ::GetAncestor(window, GA_ROOT) : nullptr;
  ::MessageBoxW(owner, win32::WidenCp932(text).c_str(), L"Notavo", MB_OK | MB_ICONERROR);
}

}  // namespace notavo
