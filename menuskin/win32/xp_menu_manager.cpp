#include "menuskin/win32/xp_menu_manager.h"

#include <algorithm>
#include <string>

#include "menuskin/control_frames.h"
#include "menuskin/win32/control_tag.h"
#include "menuskin/win32/xp_menu.h"

namespace notavo::menuskin {
namespace {

std::unique_ptr<TXPMenuManager>& TheManager() {
  static std::unique_ptr<TXPMenuManager> manager;
  return manager;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  ::GetClassNameW(window, name, 64);
  return name;
}

bool IsTopLevel(HWND window) { return ::GetAncestor(window, GA_ROOT) == window; }

}  // namespace

TXPMenuManager* TXPMenuManager::Instance() { return TheManager().get(); }

TXPMenuManager::TXPMenuManager()
    : FCbtHook(::SetWindowsHookExW(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId())) {}

TXPMenuManager::~TXPMenuManager() {
  if (FCbtHook != nullptr) ::UnhookWindowsHookEx(FCbtHook);
  FHooks.clear();
}

void TXPMenuManager::Join(TXPMenu& instance) {
  if (!TheManager()) TheManager().reset(new TXPMenuManager());
  TheManager()->FInstances.push_back(&instance);
  ActiveChanged(instance);
}

void TXPMenuManager::Leave(TXPMenu& instance) {
  TXPMenuManager* manager = Instance();
  if (manager == nullptr) return;
  std::erase(manager->FInstances, &instance);
  if (manager->FDesignated == &instance) {
    manager->FDesignated = nullptr;
    manager->Designate();
    if (manager->FDesignated == nullptr) manager->FHooks.clear();
  }
  if (manager->FInstances.empty()) TheManager().reset();
}

void TXPMenuManager::ActiveChanged(TXPMenu& instance) {
  TXPMenuManager* manager = Instance();
  if (manager == nullptr) return;
  if (manager->FDesignated == nullptr || !manager->FDesignated->Active()) manager->Designate();
  if (instance.Active()) manager->SkinControlsOf(instance.FormHandle());
  // The frames follow the new state: skinned, or the system's again.
  for (const auto& hook : manager->FHooks) {
    if (HWND window = hook->Window()) {
      ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    }
  }
}

void TXPMenuManager::Designate() {
  TXPMenu* chosen = nullptr;
  for (TXPMenu* instance : FInstances) {
    if (instance->Active() && !instance->Options().DisableSubclassing &&
        instance->Tag != kNoSkinTag) {
      chosen = instance;
      break;
    }
  }
  // The old designated one, still active, keeps its hooks.
  if (chosen == nullptr && FDesignated != nullptr) return;
  if (chosen == FDesignated) return;
  FDesignated = chosen;
  for (const auto& hook : FHooks) hook->SetSkin(chosen != nullptr ? &chosen->FrameSkin() : nullptr);
}

void TXPMenuManager::DropClosedWindows() {
  std::erase_if(FHooks, [](const auto& hook) { return hook->Window() == nullptr; });
  std::erase_if(FSkinnedForms, [](HWND form) { return !::IsWindow(form); });
}

bool TXPMenuManager::IsHooked(HWND control) const {
  return std::any_of(FHooks.begin(), FHooks.end(),
                     [&](const auto& hook) { return hook->Window() == control; });
}

std::size_t TXPMenuManager::HookCount() const {
  return static_cast<std::size_t>(std::count_if(
      FHooks.begin(), FHooks.end(), [](const auto& hook) { return hook->Window() != nullptr; }));
}

void TXPMenuManager::SkinControlsOf(HWND parent) {
  if (parent == nullptr || FDesignated == nullptr || !FDesignated->Active()) return;
  DropClosedWindows();
  const TXPMenuOptions& options = FDesignated->Options();
  std::vector<HWND> children;
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (IsHooked(child) || ControlTag(child) == kNoSkinTag) continue;
    const std::optional<TXPControl> kind = ControlKindOf(
        ClassOf(child), static_cast<std::uint32_t>(::GetWindowLongW(child, GWL_STYLE)));
    if (!kind || !options.XPControls.Has(*kind)) continue;
    const TFrameStyle style = FrameStyleOf(*kind);
    if (style == TFrameStyle::Plain) continue;
    HWND container = ::GetParent(child);
    const std::optional<TXPContainer> containerKind =
        ContainerKindOf(ClassOf(container), IsTopLevel(container));
    if (!containerKind || !options.XPContainers.Has(*containerKind)) continue;
    FHooks.push_back(std::make_unique<TControlSubClass>(child, style, &FDesignated->FrameSkin()));
  }
}

void TXPMenuManager::FormActivated(HWND form) {
  DropClosedWindows();
  if (std::find(FSkinnedForms.begin(), FSkinnedForms.end(), form) != FSkinnedForms.end()) return;
  // Only the program's own forms; a skinned form has its instance.
  if (reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(form, GWLP_HINSTANCE)) !=
      ::GetModuleHandleW(nullptr)) {
    return;
  }
  for (TXPMenu* instance : FInstances) {
    if (instance->FormHandle() == form) return;
  }
  FSkinnedForms.push_back(form);
  SkinControlsOf(form);
}

LRESULT CALLBACK TXPMenuManager::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  TXPMenuManager* manager = Instance();
  if (code == HCBT_ACTIVATE && manager != nullptr) {
    manager->FormActivated(reinterpret_cast<HWND>(wParam));
  }
  return ::CallNextHookEx(manager != nullptr ? manager->FCbtHook : nullptr, code, wParam, lParam);
}

}  // namespace notavo::menuskin
