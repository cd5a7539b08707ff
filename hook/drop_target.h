// TDropDst: a TControlHook that makes the hooked window a target for files
// dropped from the shell and reports each drop through OnFileDrop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hook/control_hook.h"
// shellapi.h (HDROP) needs windows.h before it.
#include <shellapi.h>

namespace notavo {

class TDropDst final : public TControlHook {
 public:
  // `files`: every dropped name (code page 932 bytes) in the order the
  // shell gives them; (x, y): the drop point in the hooked window's client
  // coordinates. The handler may throw: the error is shown through OnError
  // (an ESilentAbort shows nothing) and the drop is finished all the same.
  using TFileDropEvent =
      std::function<void(TDropDst& sender, const std::vector<std::string>& files, int x, int y)>;
  TFileDropEvent OnFileDrop;
  // Shows an error raised inside a drop (code page 932 text). Unset: a
  // message box owned by the hooked window's top-level window.
  std::function<void(const std::string& text)> OnError;

  bool AcceptDrop() const { return FAcceptDrop; }
  void SetAcceptDrop(bool accept);

 protected:
  void HandleChanged(THandleChange kind) override;
  void Rehooked() override { UpdateDragAccept(); }
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void UpdateDragAccept();
  void DoFileDrop(HDROP drop);
  void ShowError(const std::string& text);

  bool FAcceptDrop = true;
};

// The names in a drop, each asked for its length first, however long.
std::vector<std::string> DroppedFileNames(HDROP drop);

}  // namespace notavo
