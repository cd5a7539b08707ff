// A menu handle owned by the program (a context menu loaded from the
// resources), destroyed with the object. The menu bar needs none: it goes
// with its window.
#pragma once

#include <windows.h>

#include <utility>

namespace notavo::framework {

class TMenu {
 public:
  TMenu() = default;
  explicit TMenu(HMENU menu) : FMenu(menu) {}
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;
  TMenu(TMenu&& other) noexcept : FMenu(std::exchange(other.FMenu, nullptr)) {}
  ~TMenu() {
    if (FMenu != nullptr) ::DestroyMenu(FMenu);
  }
  HMENU Get() const { return FMenu; }

 private:
  HMENU FMenu = nullptr;
};

}  // namespace notavo::framework
