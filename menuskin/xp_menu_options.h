// TXPMenu's published properties as one value, each with its default, and
// the values the main window gives its instance. Colours may name a system
// colour (SystemColor), resolved when the effective colours are worked out.
#pragma once

#include <cstdint>
#include <string>

#include "platform/geometry.h"

namespace notavo::menuskin {

// A system colour by its index (the COLOR_ numbers of the window system).
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }
constexpr int SystemColorIndex(TColor c) { return static_cast<int>(c & 0xFF); }
// The ones the skin uses.
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);

// Kinds of controls the skin can frame, in bit order.
enum TXPControl {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcListBox,
  xcEdit,
  xcMaskEdit,
  xcMemo,
  xcRichEdit,
  xcMiscEdit,
  xcCheckBox,
  xcRadioButton,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcUpDown,
  xcPanel,
  xcGroupBox,
  xcTreeView,
  xcListView,
  xcProgressBar,
  xcHotKey
};
inline constexpr int kXPControlCount = 23;
// Kinds of parents inside which controls are skinned.
enum TXPContainer {
  xccForm,
  xccFrame,
  xccToolbar,
  xccCoolbar,
  xccControlbar,
  xccPanel,
  xccScrollBox,
  xccGroupBox,
  xccTabSheet,
  xccPageScroller
};
inline constexpr int kXPContainerCount = 10;

// A set of enumeration values as bits.
template <typename TEnum, int Count>
class TEnumSet {
 public:
  static constexpr TEnumSet All() { return TEnumSet((std::uint32_t{1} << Count) - 1); }
  constexpr TEnumSet() = default;
  constexpr bool Has(TEnum v) const { return (FBits >> v & 1) != 0; }
  constexpr TEnumSet With(TEnum v) const { return TEnumSet(FBits | std::uint32_t{1} << v); }
  constexpr TEnumSet Without(TEnum v) const { return TEnumSet(FBits & ~(std::uint32_t{1} << v)); }
  friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

 private:
  constexpr explicit TEnumSet(std::uint32_t bits) : FBits(bits) {}
  std::uint32_t FBits = 0;
};
using TXPControls = TEnumSet<TXPControl, kXPControlCount>;
using TXPContainers = TEnumSet<TXPContainer, kXPContainerCount>;

// The Font property. An empty name stands for the system's menu font.
struct TMenuFontDesc {
  std::string Name;          // code page 932 bytes
  int Height = 0;            // pixels, negative: character height; 0 with the system font
  std::uint8_t CharSet = 1;  // default character set
  TColor Color = clMenuText;
  friend bool operator==(const TMenuFontDesc&, const TMenuFontDesc&) = default;
};

struct TXPMenuOptions {
  int DimLevel = 30;  // percent an unselected image is lightened
  int GrayLevel = 10;
  TMenuFontDesc Font;
  TColor Color = clBtnFace;
  bool DrawMenuBar = false;  // owner-draw the menu bar's own items too
  TColor IconBackColor = clBtnFace;
  TColor MenuBarColor = clBtnFace;
  TColor SelectColor = clHighlight;
  TColor SelectBorderColor = clHighlight;
  // The font's colour unless set.
  TColor SelectFontColor = clMenuText;
  TColor DisabledColor = clInactiveCaption;
  TColor SeparatorColor = clBtnFace;
  TColor CheckedColor = clHighlight;
  int IconWidth = 24;
  bool DrawSelect = true;
  bool UseSystemColors = true;
  bool UseDimColor = false;
  bool OverrideOwnerDraw = false;  // take over items that already draw themselves
  bool Gradient = false;
  bool FlatMenu = false;
  bool AutoDetect = false;
  TXPContainers XPContainers = TXPContainers::All();
  TXPControls XPControls = TXPControls::All();
  bool Active = false;
  bool DisableSubclassing = false;
  friend bool operator==(const TXPMenuOptions&, const TXPMenuOptions&) = default;
};

// A component or control with this tag is never skinned.
inline constexpr int kNoSkinTag = 999;

// XPMenu1 of the main window.
TXPMenuOptions MainWindowXPMenuOptions();

}  // namespace notavo::menuskin
