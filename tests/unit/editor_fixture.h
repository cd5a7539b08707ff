// An editor control in a headless window: created, sized, focused, with a
// document loaded from bytes.
#pragma once

#include <memory>
#include <string>

#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"
#include "test_files.h"

namespace notavo::testing {

class EditorFixture {
 public:
  explicit EditorFixture(THeadlessHost::Metrics metrics = {}) : host(metrics), edit(host) {
    host.selfDispatch = [this](unsigned m, std::uintptr_t w, std::intptr_t l) {
      return edit.Dispatch(m, w, l).value_or(0);
    };
    edit.Dispatch(win::WM_CREATE, 0, 0);
    edit.Dispatch(win::WM_SIZE, 0, 0);
    edit.Dispatch(win::WM_SETFOCUS, 0, 0);
  }
  bool Load(const std::string& bytes) {
    const std::string file = folder.File("doc.txt");
    WriteBytes(file, bytes);
    return edit.LoadFile(file);
  }
  win::LRESULT Send(unsigned message, win::WPARAM wParam = 0, win::LPARAM lParam = 0) {
    return edit.Dispatch(message, wParam, lParam).value_or(-1);
  }
  template <typename T>
  static win::WPARAM W(T* p) {
    return reinterpret_cast<win::WPARAM>(p);
  }
  template <typename T>
  static win::LPARAM L(T* p) {
    return reinterpret_cast<win::LPARAM>(p);
  }

  ScratchFolder folder;
  THeadlessHost host;
  TZelEdit edit;
};

}  // namespace notavo::testing
