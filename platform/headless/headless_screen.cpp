#include "platform/headless/headless_screen.h"

#include <algorithm>
#include <cstdlib>

namespace notavo {

void THeadlessScreen::Reset(int width, int height) {
  FWidth = std::max(0, width);
  FHeight = std::max(0, height);
  FPixels.assign(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), kUnpainted);
}

TRect THeadlessScreen::Clipped(const TRect& rect) const {
  return {std::clamp(rect.Left, 0, FWidth), std::clamp(rect.Top, 0, FHeight),
          std::clamp(rect.Right, 0, FWidth), std::clamp(rect.Bottom, 0, FHeight)};
}

void THeadlessScreen::Fill(const TRect& rect, std::uint32_t value) {
  const TRect r = Clipped(rect);
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::fill_n(FPixels.begin() + static_cast<std::ptrdiff_t>(Index(r.Left, y)),
                std::max(0, r.Right - r.Left), value);
  }
}

void THeadlessScreen::Text(const TRect& clip, int x, int y, std::string_view bytes, TColor color,
                           TColor background, bool underline, int cellWidth, int cellHeight) {
  const TRect bounds = Clipped(clip);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const long long left = x + static_cast<long long>(i) * cellWidth;
    if (left >= bounds.Right) break;
    if (left + cellWidth <= bounds.Left) continue;
    // The high bit keeps text apart from plain colours.
    const std::uint32_t value = 0x80000000u ^ (static_cast<unsigned char>(bytes[i]) << 23) ^
                                (color * 2654435761u) ^ (background * 40503u) ^
                                (underline ? 0x40000000u : 0u);
    const TRect cell{static_cast<int>(left), y, static_cast<int>(left) + cellWidth, y + cellHeight};
    Fill({std::max(cell.Left, bounds.Left), std::max(cell.Top, bounds.Top),
          std::min(cell.Right, bounds.Right), std::min(cell.Bottom, bounds.Bottom)},
         value);
  }
}

void THeadlessScreen::Line(TPoint from, TPoint to, TColor color, TPenStyle style, TPenMode mode) {
  const int dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  const int sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int error = dx + dy, x = from.X, y = from.Y;
  for (int step = 0; x != to.X || y != to.Y; ++step) {
    const bool drawn = style == psSolid || step % 2 == 0;
    if (drawn && x >= 0 && y >= 0 && x < FWidth && y < FHeight) {
      std::uint32_t& pixel = FPixels[Index(x, y)];
      pixel = mode == pmXor ? pixel ^ color : mode == pmNot ? ~pixel : color;
    }
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void THeadlessScreen::Scroll(int dy, const TRect& area) {
  const TRect r = Clipped(area);
  if (dy == 0 || r.Right <= r.Left) return;
  const int width = r.Right - r.Left;
  auto copyRow = [&](int y) {
    const int source = y - dy;
    const auto to = FPixels.begin() + static_cast<std::ptrdiff_t>(Index(r.Left, y));
    if (source >= r.Top && source < r.Bottom) {
      std::copy_n(FPixels.begin() + static_cast<std::ptrdiff_t>(Index(r.Left, source)), width, to);
    } else {
      std::fill_n(to, width, kUnpainted);
    }
  };
  if (dy < 0) {
    for (int y = r.Top; y < r.Bottom; ++y) copyRow(y);
  } else {
    for (int y = r.Bottom - 1; y >= r.Top; --y) copyRow(y);
  }
}

}  // namespace notavo
