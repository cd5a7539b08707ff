#include "menuskin/control_frames.h"

#include <cwctype>
#include <string>

#include "menuskin/skin_color.h"

namespace notavo::menuskin {
namespace {

// Window style bits of the system's control classes.
constexpr std::uint32_t kEditMultiLine = 0x0004;  // ES_MULTILINE
constexpr std::uint32_t kButtonTypeMask = 0x000F;
constexpr std::uint32_t kCheckBox = 0x0002, kAutoCheckBox = 0x0003, kRadio = 0x0004,
                        k3State = 0x0005, kAuto3State = 0x0006, kGroupBox = 0x0007,
                        kAutoRadio = 0x0009;

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

bool StartsWith(std::wstring_view name, std::wstring_view prefix) {
  return name.size() >= prefix.size() && SameName(name.substr(0, prefix.size()), prefix);
}

TXPControl ButtonKind(std::uint32_t style) {
  switch (style & kButtonTypeMask) {
    case kCheckBox:
    case kAutoCheckBox:
    case k3State:
    case kAuto3State:
      return xcCheckBox;
    case kRadio:
    case kAutoRadio:
      return xcRadioButton;
    case kGroupBox:
      return xcGroupBox;
    default:
      return xcButton;
  }
}

}  // namespace

std::optional<TXPControl> ControlKindOf(std::wstring_view className, std::uint32_t style) {
  if (SameName(className, L"Edit")) return (style & kEditMultiLine) != 0 ? xcMemo : xcEdit;
  if (SameName(className, L"ListBox")) return xcListBox;
  if (SameName(className, L"ComboBox")) return xcCombo;
  if (SameName(className, L"Button")) return ButtonKind(style);
  if (StartsWith(className, L"RichEdit")) return xcRichEdit;
  if (SameName(className, L"msctls_updown32")) return xcUpDown;
  if (SameName(className, L"msctls_progress32")) return xcProgressBar;
  if (SameName(className, L"msctls_hotkey32")) return xcHotKey;
  if (SameName(className, L"SysTreeView32")) return xcTreeView;
  if (SameName(className, L"SysListView32")) return xcListView;
  if (SameName(className, L"ToolbarWindow32")) return xcToolbar;
  if (SameName(className, L"ReBarWindow32")) return xcControlbar;
  if (SameName(className, L"NotavoPanel")) return xcPanel;
  return std::nullopt;
}

std::optional<TXPContainer> ContainerKindOf(std::wstring_view className, bool topLevel) {
  if (topLevel) return xccForm;
  if (SameName(className, L"NotavoPanel")) return xccPanel;
  if (SameName(className, L"Button")) return xccGroupBox;
  if (SameName(className, L"ToolbarWindow32")) return xccToolbar;
  if (SameName(className, L"ReBarWindow32")) return xccCoolbar;
  if (SameName(className, L"SysTabControl32")) return xccTabSheet;
  if (SameName(className, L"SysPager")) return xccPageScroller;
  return std::nullopt;
}

TFrameStyle FrameStyleOf(TXPControl kind) {
  switch (kind) {
    case xcEdit:
    case xcMaskEdit:
    case xcMemo:
    case xcRichEdit:
    case xcMiscEdit:
      return TFrameStyle::Edit;
    case xcListBox:
    case xcTreeView:
    case xcListView:
      return TFrameStyle::ListBox;
    case xcPanel:
      return TFrameStyle::Panel;
    default:
      return TFrameStyle::Plain;
  }
}

TColor EditFrameColor(const TFrameState& state, const TFrameColors& colors) {
  if (state.Bordered) {
    return state.Hot || state.Focused ? LightenColor(colors.SelectFrame, 60)
                                      : DarkenColor(colors.Control, 60);
  }
  // Without a border the frame shows only while the pointer is over it.
  return state.Hot && !state.Focused ? LightenColor(AverageColor(colors.Parent, colors.Control), 40)
                                     : colors.Control;
}

TColor ListBoxFrameColor(const TFrameState& state, const TFrameColors& colors) {
  if (state.Hot || state.Focused) {
    return LightenColor(colors.SelectFrame, state.Bordered ? 60 : 80);
  }
  return state.Bordered ? DarkenColor(colors.Control, 60) : colors.Control;
}

TBevelColors PanelBevelColors(TColor panel, bool raised) {
  const TColor dark = DarkenColor(panel, 60), light = LightenColor(panel, 60);
  return raised ? TBevelColors{light, dark} : TBevelColors{dark, light};
}

}  // namespace notavo::menuskin
