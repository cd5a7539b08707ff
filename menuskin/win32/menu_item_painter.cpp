#include "menuskin/win32/menu_item_painter.h"

#include <algorithm>
#include <optional>

#include "menuskin/skin_color.h"
#include "menuskin/win32/bitmap_effects.h"
#include "menuskin/win32/offscreen.h"

namespace notavo::menuskin {
namespace {

constexpr int kImageTop = 3;
constexpr int kTextGap = 3, kWideImageGap = 4;
constexpr int kShortcutRightGap = 10;
constexpr int kSeparatorIndent = 7;
constexpr int kCheckBox = 10;
constexpr int kRadioCorner = 6;
constexpr int kDisabledDim = 40;
constexpr int kShadowDarken = 50;

struct TItemState {
  bool Selected, Disabled, Checked, Default, HideAccel;
};

TItemState StateOf(UINT state) {
  return {(state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0, (state & (ODS_GRAYED | ODS_DISABLED)) != 0,
          (state & ODS_CHECKED) != 0, (state & ODS_DEFAULT) != 0, (state & ODS_NOACCEL) != 0};
}

void Fill(HDC dc, const RECT& r, TColor color) {
  const win32::TBrush brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, brush.Get());
}

void Frame(HDC dc, const RECT& r, TColor color) {
  const win32::TBrush brush(::CreateSolidBrush(color));
  ::FrameRect(dc, &r, brush.Get());
}

void Line(HDC dc, int x1, int y1, int x2, int y2, TColor color) {
  const win32::TPen pen(::CreatePen(PS_SOLID, 1, color));
  win32::TDcSlot slot(dc);
  slot.Select(pen.Get());
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
}

// A check mark of five short strokes in a 10 x 10 box at (x, y).
void CheckMark(HDC dc, int x, int y, TColor color) {
  constexpr int kStrokeTops[5] = {5, 6, 5, 4, 3};
  for (int i = 0; i < 5; ++i)
    Line(dc, x + 2 + i, y + kStrokeTops[i], x + 2 + i, y + kStrokeTops[i] + 3, color);
}

void CheckBox(HDC dc, int x, int y, bool radio, bool selected, bool disabled,
              const TSkinPalette& p) {
  const TColor frame = disabled ? p.DisabledText : p.CheckFrame;
  const TColor fill = selected ? p.CheckFillSelected : p.CheckFill;
  const win32::TBrush brush(::CreateSolidBrush(fill));
  const win32::TPen pen(::CreatePen(PS_SOLID, 1, frame));
  // The radio dot, in the pen's colour.
  const win32::TBrush dot(::CreateSolidBrush(frame));
  win32::TDcSlot brushSlot(dc), penSlot(dc);
  brushSlot.Select(brush.Get());
  penSlot.Select(pen.Get());
  if (!radio) {
    ::Rectangle(dc, x, y, x + kCheckBox, y + kCheckBox);
    CheckMark(dc, x, y, disabled ? p.DisabledText : 0);
    return;
  }
  ::Ellipse(dc, x, y, x + kCheckBox, y + kCheckBox);
  brushSlot.Select(dot.Get());
  ::Ellipse(dc, x + 2, y + 2, x + kCheckBox - 2, y + kCheckBox - 2);
}

// The image with its effect for the item's state, drawn through its
// transparent colour into the off-screen pixels.
void PaintImage(TOffscreen& screen, const TPixelImage& original, int x, int y, const TItemState& s,
                const TMenuLook& look) {
  const std::vector<bool> mask = OpaqueMask(original);
  TPixelImage image = original;
  TPixelImage pixels = screen.Pixels();
  if (s.Disabled) {
    GrayPixels(image, look.Options.GrayLevel);
    DimPixels(image, kDisabledDim);
    DrawOpaque(pixels, image, mask, x, y);
  } else if (s.Selected && !s.Checked) {
    const TColor shadow = DarkenColor(look.Palette.SelectFill, kShadowDarken);
    DrawOpaque(pixels, image, mask, x + 1, y + 1, &shadow);
    DrawOpaque(pixels, image, mask, x - 1, y - 1);
  } else {
    if (!s.Selected && look.HighColor) DimPixels(image, look.Options.DimLevel);
    DrawOpaque(pixels, image, mask, x, y);
  }
  screen.SetPixels(pixels);
}

void DrawItemText(HDC dc, const TMenuItemFacts& item, RECT textRect, const TItemState& s,
                  TColor color, UINT align) {
  const TItemText text = SplitItemText(item.Text);
  const std::wstring caption = L" " + text.Caption;
  UINT format = DT_SINGLELINE | DT_TOP | align;
  if (s.HideAccel) format |= DT_HIDEPREFIX;
  ::SetBkMode(dc, TRANSPARENT);
  SIZE w{};
  ::GetTextExtentPoint32W(dc, L"W", 1, &w);
  textRect.top += (textRect.bottom - textRect.top - w.cy) / 2;
  if (s.Default) {  // embossed: a light copy one pixel lower right
    RECT light = textRect;
    ::OffsetRect(&light, 1, 1);
    ::SetTextColor(dc, 0xFFFFFF);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &light, format);
  }
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format);
  if (text.Shortcut.empty()) return;
  const std::wstring shortcut = text.Shortcut + L" ";
  RECT right = textRect;
  right.right -= kShortcutRightGap;
  ::DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &right,
              DT_SINGLELINE | DT_TOP | DT_RIGHT | DT_NOPREFIX);
}

void PaintDropDown(TOffscreen& screen, UINT state, const TMenuItemFacts& item,
                   const TMenuLook& look) {
  HDC dc = screen.Dc();
  const TSkinPalette& p = look.Palette;
  const TItemState s = StateOf(state);
  const int iconWidth = look.Options.IconWidth;
  const RECT all{0, 0, screen.Width(), screen.Height()};
  Fill(dc, all, p.MenuBackground);
  Fill(dc, RECT{0, 0, iconWidth, all.bottom}, p.IconColumn);
  if (item.Separator) {
    const int y = all.bottom / 2;
    Line(dc, iconWidth + kSeparatorIndent, y, all.right, y, p.Separator);
    return;
  }
  if (s.Selected && !s.Disabled && look.Options.DrawSelect) {
    const RECT bar{0, 1, all.right, all.bottom - 1};
    Fill(dc, bar, p.SelectFill);
    Frame(dc, bar, p.SelectFrame);
  }
  std::optional<TPixelImage> image;
  if (item.Image != nullptr) image = ReadBitmap(item.Image);
  int textLeft = iconWidth + kTextGap;
  if (image) {
    const int x = (iconWidth - image->Width) / 2, y = kImageTop;
    if (s.Checked) {
      RECT box{x - 2, y - 2, x + image->Width + 2, y + image->Height + 2};
      const win32::TBrush fill(::CreateSolidBrush(s.Selected ? p.CheckFillSelected : p.CheckFill));
      const win32::TPen pen(::CreatePen(PS_SOLID, 1, p.CheckFrame));
      win32::TDcSlot brushSlot(dc), penSlot(dc);
      brushSlot.Select(fill.Get());
      penSlot.Select(pen.Get());
      if (item.RadioCheck) {
        ::RoundRect(dc, box.left, box.top, box.right, box.bottom, kRadioCorner, kRadioCorner);
      } else {
        ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
      }
    }
    PaintImage(screen, *image, x, y, s, look);
    if (image->Width + kWideImageGap > iconWidth) textLeft = image->Width + kWideImageGap;
  } else if (s.Checked) {
    CheckBox(dc, (iconWidth - kCheckBox) / 2, (all.bottom - kCheckBox) / 2, item.RadioCheck,
             s.Selected, s.Disabled, p);
  }
  win32::TDcSlot fontSlot(dc);
  fontSlot.Select(look.Font);
  const TColor color = s.Disabled ? p.DisabledText : s.Selected ? p.SelectedText : p.Text;
  DrawItemText(dc, item, RECT{textLeft, 0, all.right, all.bottom}, s, color, DT_LEFT);
}

void PaintMenuBar(TOffscreen& screen, UINT state, const TMenuItemFacts& item,
                  const TMenuLook& look) {
  HDC dc = screen.Dc();
  const TSkinPalette& p = look.Palette;
  const TItemState s = StateOf(state);
  const RECT all{0, 0, screen.Width(), screen.Height()};
  Fill(dc, all, p.MenuBar);
  if (s.Selected && !s.Disabled) {
    const RECT bar{0, 0, all.right - 2, all.bottom};
    Fill(dc, bar, p.SelectFill);
    Frame(dc, bar, p.SelectFrame);
    // A short shadow on the right edge.
    Line(dc, all.right - 2, 2, all.right - 2, all.bottom, DarkenColor(p.MenuBar, 50));
    Line(dc, all.right - 1, 2, all.right - 1, all.bottom, DarkenColor(p.MenuBar, 25));
  }
  win32::TDcSlot fontSlot(dc);
  fontSlot.Select(look.Font);
  DrawItemText(dc, item, all, s, s.Disabled ? p.DisabledText : p.Text, DT_CENTER);
}

}  // namespace

TItemSize MeasureItem(const TMenuItemFacts& item, int currentWidth, const TMenuLook& look) {
  const win32::TWindowDc screen(nullptr);
  win32::TDcSlot fontSlot(screen.Get());
  fontSlot.Select(look.Font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.Get(), &metrics);
  TTextMeasure font;
  font.Height = metrics.tmHeight;
  font.Width = [&](std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  TMeasuredItem measured;
  measured.Text = item.Text;
  measured.Separator = item.Separator;
  measured.InDropDown = item.InDropDown;
  measured.HasSubMenu = item.HasSubMenu;
  BITMAP image{};
  if (item.Image != nullptr && ::GetObjectW(item.Image, sizeof image, &image) != 0) {
    measured.ImageWidth = image.bmWidth;
    measured.ImageHeight = image.bmHeight;
  }
  return MeasureMenuItem(measured, currentWidth, font, look.Options.IconWidth);
}

void PaintItem(HDC dc, const RECT& rect, UINT state, const TMenuItemFacts& item,
               const TMenuLook& look) {
  TOffscreen screen(dc, rect.right - rect.left, rect.bottom - rect.top);
  if (!screen) return;
  if (item.InDropDown) {
    PaintDropDown(screen, state, item, look);
  } else {
    PaintMenuBar(screen, state, item, look);
  }
  screen.CopyTo(dc, rect.left, rect.top);
}

}  // namespace notavo::menuskin
