#include "platform/headless/headless_host.h"

#include <algorithm>
#include <cstdint>

namespace notavo {

void THeadlessHost::SetFont(const TLogFont& f) {
  font = f;
  TDrawCall call;
  call.kind = TDrawCall::kFont;
  call.text = f.FaceName;
  drawn.push_back(call);
}

TTextMetrics THeadlessHost::GetTextMetrics() {
  TTextMetrics m;
  m.Height = metrics_.charHeight;
  m.Ascent = metrics_.charHeight * 4 / 5;
  m.Descent = metrics_.charHeight - m.Ascent;
  m.AveCharWidth = metrics_.charWidth;
  m.MaxCharWidth = metrics_.charWidth * 2;
  return m;
}

TPoint THeadlessHost::TextExtent(std::string_view bytes) const {
  const long long width = static_cast<long long>(bytes.size()) * metrics_.charWidth;
  return {static_cast<int>(std::min<long long>(width, INT32_MAX)), metrics_.charHeight};
}

void THeadlessHost::TextOut(int x, int y, std::string_view bytes) {
  TDrawCall call;
  call.kind = TDrawCall::kText;
  call.underline = font.Underline != 0;
  call.from = {x, y};
  call.text = std::string(bytes);
  call.color = textColor_;
  call.background = bkColor_;
  drawn.push_back(call);
  if (!screen.Empty()) {
    const TRect all{x, y, INT32_MAX, y + metrics_.charHeight};
    screen.Text(all, x, y, bytes, textColor_, bkColor_, call.underline, metrics_.charWidth,
                metrics_.charHeight);
  }
}

void THeadlessHost::TextRect(const TRect& clip, int x, int y, std::string_view bytes) {
  TDrawCall call;
  call.kind = TDrawCall::kTextRect;
  call.underline = font.Underline != 0;
  call.rect = clip;
  call.from = {x, y};
  call.text = std::string(bytes);
  call.color = textColor_;
  call.background = bkColor_;
  drawn.push_back(call);
  if (!screen.Empty()) {
    screen.Fill(clip, bkColor_);
    screen.Text(clip, x, y, bytes, textColor_, bkColor_, call.underline, metrics_.charWidth,
                metrics_.charHeight);
  }
}

void THeadlessHost::FillRect(const TRect& rect) {
  TDrawCall call;
  call.kind = TDrawCall::kFill;
  call.rect = rect;
  call.color = brush_;
  drawn.push_back(call);
  if (!screen.Empty()) screen.Fill(rect, brush_);
}

void THeadlessHost::SetPen(TColor color, int width, TPenStyle style, TPenMode mode) {
  penColor_ = color;
  penWidth_ = width;
  penStyle_ = style;
  penMode_ = mode;
}

void THeadlessHost::LineTo(int x, int y) {
  TDrawCall call;
  call.kind = TDrawCall::kLine;
  call.from = penPos_;
  call.to = {x, y};
  call.color = penColor_;
  call.penWidth = penWidth_;
  call.penStyle = penStyle_;
  call.penMode = penMode_;
  drawn.push_back(call);
  if (!screen.Empty()) screen.Line(penPos_, {x, y}, penColor_, penStyle_, penMode_);
  penPos_ = {x, y};
}

void THeadlessHost::Create(int width, int height) {
  caret.exists = true;
  caret.visibleCount = 0;
  caret.width = width;
  caret.height = height;
}

void THeadlessHost::SetRange(TScrollBar bar, int min, int max, bool) {
  bars[bar].min = min;
  bars[bar].max = max;
}

int THeadlessHost::ThumbPixel(TScrollBar bar) const {
  const BarState& b = bars[bar];
  const long long track = std::max(0, (bar == sbVert ? clientSize.Y : clientSize.X) - 2 * 17);
  const long long span = std::max(1LL, static_cast<long long>(b.max) - b.min + 1);
  return static_cast<int>(track * (static_cast<long long>(b.pos) - b.min) / span);
}

int THeadlessHost::SetPos(TScrollBar bar, int pos, bool redraw) {
  const int old = bars[bar].pos;
  const int thumb = ThumbPixel(bar);
  bars[bar].pos = pos;
  if (redraw && ThumbPixel(bar) != thumb) ++bars[bar].redraws;
  return old;
}

void THeadlessHost::ScrollWindow(int, int, const TRect*, const TRect*) { ++invalidations; }

void THeadlessHost::ScrollPixels(int dy, const TRect& area) {
  pixelScrolls.push_back({dy, area});
  if (!screen.Empty()) screen.Scroll(dy, area);
}

short THeadlessHost::KeyState(int virtualKey) {
  ++keyStateReads[virtualKey];
  const auto it = keysDown.find(virtualKey);
  return it != keysDown.end() && it->second ? static_cast<short>(0x8000) : 0;
}

bool THeadlessHost::SetCompositionFont(const TLogFont& f) {
  if (imeContext == 0) return false;
  compositionFont = f;
  return true;
}

bool THeadlessHost::SetCompositionWindow(TPoint at) {
  if (imeContext == 0) return false;
  compositionWindow = at;
  return true;
}

bool THeadlessHost::SetText(std::string_view bytes, std::string& error) {
  if (clipboardLocked) {
    error = "clipboard busy";
    return false;
  }
  clipboardText = std::string(bytes);
  return true;
}

std::optional<std::string> THeadlessHost::GetText(std::string& error) {
  if (clipboardLocked) {
    error = "clipboard busy";
    return std::nullopt;
  }
  return clipboardText;
}

std::intptr_t THeadlessHost::SendToSelf(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  selfMessages.emplace_back(message, lParam);
  return selfDispatch ? selfDispatch(message, wParam, lParam) : 0;
}

int THeadlessHost::MessageBox(std::string_view text, std::string_view, unsigned) {
  messageBoxes.emplace_back(text);
  return 1;
}

unsigned THeadlessHost::RegisterMessage(std::string_view name) {
  const auto [it, added] =
      registered_.emplace(std::string(name), 0xC000u + static_cast<unsigned>(registered_.size()));
  return it->second;
}

}  // namespace notavo
