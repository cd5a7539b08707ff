// Which kind of control a window is, for the skin's sets, and the colours
// of the frames drawn around edit boxes, list boxes and panels.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "menuskin/xp_menu_options.h"

namespace notavo::menuskin {

// The kind of a window of class `className` with window style `style`;
// nullopt for windows the skin has no kind for.
std::optional<TXPControl> ControlKindOf(std::wstring_view className, std::uint32_t style);
// The kind of parent, for the container set; nullopt when it is none.
std::optional<TXPContainer> ContainerKindOf(std::wstring_view className, bool topLevel);

// How a kind is framed. Kinds with tPlain keep the system's look.
enum class TFrameStyle { Plain, Edit, ListBox, Panel };
TFrameStyle FrameStyleOf(TXPControl kind);

struct TFrameState {
  bool Hot = false;  // the pointer is over the control
  bool Focused = false;
  bool Bordered = true;  // created with a border
};

struct TFrameColors {
  TColor Control = 0;  // the control's own colour
  TColor Parent = 0;   // its parent's colour
  TColor SelectFrame = 0;
};

// The 1-pixel rectangle of an edit box or a list box.
TColor EditFrameColor(const TFrameState& state, const TFrameColors& colors);
TColor ListBoxFrameColor(const TFrameState& state, const TFrameColors& colors);

// The bevels of a panel window (class "NotavoPanel"), as its window style
// bits.
inline constexpr std::uint32_t kPanelBevelOuterRaised = 0x1, kPanelBevelOuterLowered = 0x2,
                               kPanelBevelInnerRaised = 0x4, kPanelBevelInnerLowered = 0x8;

// A panel's bevel: a lowered one dark at the top and left, a raised one
// light there.
struct TBevelColors {
  TColor TopLeft = 0;
  TColor BottomRight = 0;
  friend bool operator==(const TBevelColors&, const TBevelColors&) = default;
};
TBevelColors PanelBevelColors(TColor panel, bool raised);

}  // namespace notavo::menuskin
