// Which windows the skin frames and in which colours.
#include "menuskin/control_frames.h"

#include <gtest/gtest.h>

#include "menuskin/skin_color.h"

namespace notavo::menuskin {
namespace {

TEST(ControlFramesTest, KindsOfTheSystemClasses) {
  struct TCase {
    const wchar_t* ClassName;
    std::uint32_t Style;
    std::optional<TXPControl> Kind;
    TFrameStyle Frame;
  };
  const TCase cases[] = {
      {L"Edit", 0, xcEdit, TFrameStyle::Edit},
      {L"EDIT", 0x0004, xcMemo, TFrameStyle::Edit},
      {L"ListBox", 0, xcListBox, TFrameStyle::ListBox},
      {L"Button", 0x0000, xcButton, TFrameStyle::Plain},
      {L"Button", 0x0003, xcCheckBox, TFrameStyle::Plain},
      {L"Button", 0x0007, xcGroupBox, TFrameStyle::Plain},
      {L"RichEdit20W", 0, xcRichEdit, TFrameStyle::Edit},
      {L"NotavoPanel", 0, xcPanel, TFrameStyle::Panel},
      {L"TZelEdit", 0, std::nullopt, TFrameStyle::Plain},
  };
  for (const TCase& c : cases) {
    const std::optional<TXPControl> kind = ControlKindOf(c.ClassName, c.Style);
    EXPECT_EQ(kind, c.Kind) << static_cast<const void*>(c.ClassName);
    if (kind) {
      EXPECT_EQ(FrameStyleOf(*kind), c.Frame);
    }
  }
  EXPECT_EQ(ContainerKindOf(L"#32770", true), xccForm);
  EXPECT_EQ(ContainerKindOf(L"NotavoPanel", false), xccPanel);
  EXPECT_EQ(ContainerKindOf(L"Static", false), std::nullopt);
}

TEST(ControlFramesTest, FrameColoursByState) {
  const TFrameColors colors{0xFFFFFF, 0xC8D0D4, 0x6A240A};
  const TColor hotFrame = LightenColor(colors.SelectFrame, 60);
  const TColor quiet = DarkenColor(colors.Control, 60);
  const TColor averaged = LightenColor(AverageColor(colors.Parent, colors.Control), 40);
  struct TCase {
    TFrameState State;
    TColor Edit, ListBox;
  };
  const TCase cases[] = {
      {{false, false, true}, quiet, quiet},
      {{true, false, true}, hotFrame, hotFrame},
      {{false, true, true}, hotFrame, hotFrame},
      {{false, false, false}, colors.Control, colors.Control},
      {{true, false, false}, averaged, LightenColor(colors.SelectFrame, 80)},
      {{true, true, false}, colors.Control, LightenColor(colors.SelectFrame, 80)},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(EditFrameColor(c.State, colors), c.Edit)
        << c.State.Hot << c.State.Focused << c.State.Bordered;
    EXPECT_EQ(ListBoxFrameColor(c.State, colors), c.ListBox)
        << c.State.Hot << c.State.Focused << c.State.Bordered;
  }
  const TColor panel = 0xC8D0D4;
  EXPECT_EQ(PanelBevelColors(panel, false),
            (TBevelColors{DarkenColor(panel, 60), LightenColor(panel, 60)}));
  EXPECT_EQ(PanelBevelColors(panel, true),
            (TBevelColors{LightenColor(panel, 60), DarkenColor(panel, 60)}));
}

}  // namespace
}  // namespace notavo::menuskin
