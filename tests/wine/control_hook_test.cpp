// TControlHook and TDropDst on real windows of this test program: the hook
// in front of a control's procedure, following its window through
// destruction and re-creation, the form as a target, and drops delivered as
// the shell delivers them, through an HDROP built here.
// clang-format off
// First: it brings the editor's headers and <windows.h> in the order they need.
#include "tests/wine/window_helpers.h"
// shlobj.h (DROPFILES) needs windows.h before it.
#include <shlobj.h>
// clang-format on
#include "hook/control_hook.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "hook/drop_target.h"
#include "hook/silent_abort.h"
#include "platform/win32/cp932.h"

namespace notavo {
namespace {

// A control with a plain child window whose messages all enter Deliver.
class TTestControl final : public TWindowControl {
 public:
  TTestControl(TWindowControl* parent, bool form) : FParent(parent), FForm(form) {}
  ~TTestControl() {
    Destroy();
    NotifyRemoval();
  }
  void Create(HWND parentWindow) {
    static const ATOM registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"NotavoHookTestControl";
      return ::RegisterClassExW(&wc);
    }();
    (void)registered;
    ::CreateWindowExW(0, L"NotavoHookTestControl", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                      parentWindow, nullptr, ::GetModuleHandleW(nullptr), this);
  }
  void Destroy() {
    if (FHandle != nullptr) ::DestroyWindow(FHandle);
  }
  HWND Handle() const override { return FHandle; }
  TWindowControl* ParentControl() const override { return FParent; }
  bool IsForm() const override { return FForm; }
  LRESULT OwnWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) ++FOwnUserMessages;
    HWND window = FHandle;
    if (message == WM_NCDESTROY) FHandle = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  int FOwnUserMessages = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<TTestControl*>(
          reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->FHandle = window;
    }
    auto* self = reinterpret_cast<TTestControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->Deliver(message, wParam, lParam);
  }

  TWindowControl* FParent;
  bool FForm;
  HWND FHandle = nullptr;
};

// Counts the WM_USER messages it sees on their way through.
class TCountingHook final : public TControlHook {
 public:
  int FSeen = 0;

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) ++FSeen;
    return TControlHook::WndProc(message, wParam, lParam);
  }
};

HWND Parent() {
  static HWND parent = testing::ShowParentWindow(L"NotavoHookTestParent", L"hook tests");
  return parent;
}

bool AcceptsFiles(HWND window) {
  return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

TEST(ControlHook, SeesEveryMessageAndFollowsTheWindowThroughRecreation) {
  TTestControl control(nullptr, false);
  control.Create(Parent());
  TCountingHook hook;
  hook.SetControl(&control);
  ASSERT_EQ(hook.Hooked(), &control);
  EXPECT_EQ(hook.HookedHandle(), control.Handle());
  ::SendMessageW(control.Handle(), WM_USER, 0, 0);
  EXPECT_EQ(hook.FSeen, 1);
  EXPECT_EQ(control.FOwnUserMessages, 1) << "the message went on to the control";

  control.Destroy();
  EXPECT_EQ(hook.HookedHandle(), nullptr);
  control.Create(Parent());
  ASSERT_NE(control.Handle(), nullptr);
  EXPECT_EQ(hook.HookedHandle(), control.Handle()) << "the new window after its first messages";
  ::SendMessageW(control.Handle(), WM_USER, 0, 0);
  EXPECT_EQ(hook.FSeen, 2);
  EXPECT_EQ(control.FOwnUserMessages, 2);

  hook.SetControl(nullptr);
  ::SendMessageW(control.Handle(), WM_USER, 0, 0);
  EXPECT_EQ(hook.FSeen, 2) << "unhooked";
  EXPECT_EQ(control.FOwnUserMessages, 3);
}

TEST(ControlHook, TwoHooksChainAndAControlThatGoesFirstIsForgotten) {
  auto control = std::make_unique<TTestControl>(nullptr, false);
  control->Create(Parent());
  TCountingHook inner, outer;
  inner.SetControl(control.get());
  outer.SetControl(control.get());
  ::SendMessageW(control->Handle(), WM_USER, 0, 0);
  EXPECT_EQ(inner.FSeen, 1);
  EXPECT_EQ(outer.FSeen, 1);
  EXPECT_EQ(control->FOwnUserMessages, 1);
  control.reset();
  EXPECT_EQ(inner.Hooked(), nullptr);
  EXPECT_EQ(outer.Hooked(), nullptr);
  EXPECT_EQ(outer.HookedHandle(), nullptr);
}

TEST(ControlHook, FormTargetHooksTheContainingFormOrSaysItCannot) {
  TTestControl form(nullptr, true);
  form.Create(Parent());
  TTestControl child(&form, false);
  child.Create(form.Handle());
  TCountingHook hook;
  hook.SetControl(&child);
  hook.SetTarget(htForm);
  EXPECT_EQ(hook.Hooked(), &form);
  ::SendMessageW(form.Handle(), WM_USER, 0, 0);
  ::SendMessageW(child.Handle(), WM_USER, 0, 0);
  EXPECT_EQ(hook.FSeen, 1) << "only the form's message";

  TTestControl orphan(nullptr, false);
  orphan.Create(Parent());
  try {
    hook.SetControl(&orphan);
    FAIL() << "no form, no error";
  } catch (const EHookTargetError& e) {
    EXPECT_EQ(std::string(e.what()), win32::NarrowCp932(L"フック先を特定できません。"));
  }
  EXPECT_EQ(hook.Hooked(), nullptr);
  // Without a window a control target is left alone quietly.
  TTestControl windowless(nullptr, false);
  TCountingHook quiet;
  EXPECT_NO_THROW(quiet.SetControl(&windowless));
  EXPECT_EQ(quiet.Hooked(), nullptr);
}

// An HDROP as the shell hands one over: DROPFILES, then the wide names,
// each ended by a zero, and one more zero.
HGLOBAL MakeDrop(const std::vector<std::wstring>& names, POINT at) {
  std::wstring list;
  for (const std::wstring& name : names) list += name + L'\0';
  list += L'\0';
  const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fNC = FALSE;
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
              list.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  return memory;
}

struct DropEvent {
  std::vector<std::string> files;
  int x = 0, y = 0;
};

class DropTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    FControl.Create(Parent());
    FDrop.SetControl(&FControl);
    FDrop.OnFileDrop = [this](TDropDst& sender, const std::vector<std::string>& files, int x,
                              int y) {
      EXPECT_EQ(&sender, &FDrop);
      FEvents.push_back({files, x, y});
      if (FThrow) FThrow();
    };
    FDrop.OnError = [this](const std::string& text) { FErrors.push_back(text); };
  }
  // Delivers a drop and reports whether the drop handle was finished.
  bool Drop(const std::vector<std::wstring>& names, POINT at = {5, 7}) {
    HGLOBAL memory = MakeDrop(names, at);
    ::SendMessageW(FControl.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    return ::GlobalSize(memory) == 0;
  }
  TTestControl FControl{nullptr, false};
  TDropDst FDrop;
  std::vector<DropEvent> FEvents;
  std::vector<std::string> FErrors;
  std::function<void()> FThrow;
};

TEST_F(DropTarget, ThreeFilesInTheShellsOrderWithThePointHoweverLongTheNames) {
  const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L".txt";
  const std::vector<std::wstring> names = {L"C:\\b.txt", L"C:\\日本語\\表.txt", longName};
  EXPECT_TRUE(Drop(names, {12, 34}));
  ASSERT_EQ(FEvents.size(), 1u);
  ASSERT_EQ(FEvents[0].files.size(), 3u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(FEvents[0].files[i], win32::NarrowCp932(names[i])) << i;
  }
  EXPECT_EQ(FEvents[0].x, 12);
  EXPECT_EQ(FEvents[0].y, 34);
  EXPECT_TRUE(FErrors.empty());
}

TEST_F(DropTarget, AHandlerThatRaisesIsShownAndTheDropStillFinished) {
  FThrow = [] { throw std::runtime_error("broken handler"); };
  EXPECT_TRUE(Drop({L"C:\\a.txt"}));
  ASSERT_EQ(FErrors.size(), 1u);
  EXPECT_EQ(FErrors[0], "broken handler");
  FThrow = [] { throw ESilentAbort(); };
  EXPECT_TRUE(Drop({L"C:\\a.txt"}));
  EXPECT_EQ(FErrors.size(), 1u) << "a silent abort shows nothing";
  EXPECT_EQ(FEvents.size(), 2u);
}

TEST_F(DropTarget, AcceptDropSwitchesTheWindowAndSurvivesRecreation) {
  EXPECT_TRUE(AcceptsFiles(FControl.Handle()));
  FDrop.SetAcceptDrop(false);
  EXPECT_FALSE(AcceptsFiles(FControl.Handle()));
  FDrop.SetAcceptDrop(true);
  EXPECT_TRUE(AcceptsFiles(FControl.Handle()));

  FControl.Destroy();
  FControl.Create(Parent());
  EXPECT_TRUE(AcceptsFiles(FControl.Handle())) << "the new window accepts files again";
  EXPECT_TRUE(Drop({L"C:\\again.txt"}));
  ASSERT_EQ(FEvents.size(), 1u);
  EXPECT_EQ(FEvents[0].files, std::vector<std::string>{"C:\\again.txt"});
}

}  // namespace
}  // namespace notavo
