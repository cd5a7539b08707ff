// An editor control in a headless window, wrapped at 1000, with a document
// loaded: what the editor benchmarks measure on.
#pragma once

#include <cstdint>
#include <string>

#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"
#include "platform/win_messages.h"

namespace notavo::bench {

struct HeadlessEditor {
  THeadlessHost host;
  TZelEdit edit{host};
  explicit HeadlessEditor(const std::string& fileName, int undoBytes = 0) {
    host.selfDispatch = [this](unsigned m, std::uintptr_t w, std::intptr_t l) {
      return edit.Dispatch(m, w, l).value_or(0);
    };
    edit.Dispatch(win::WM_CREATE, 0, 0);
    edit.Dispatch(win::WM_SIZE, 0, 0);
    edit.Dispatch(win::WM_SETFOCUS, 0, 0);
    edit.SetColumn(1000);
    if (undoBytes > 0) edit.SetUndoBuf(undoBytes);
    edit.LoadFile(fileName);
  }
};

}  // namespace notavo::bench
