#include "editor/input/message_batch.h"

#include <algorithm>

namespace notavo {

void TDeferredCaret::Flush() {
  if (FPlace) FHost.SetPos(FPlace->first, FPlace->second);
  FPlace.reset();
  for (int n = FShown + (FHidden ? 1 : 0); n > 0; --n) FHost.Show();
  for (int n = FShown + (FHidden ? 1 : 0); n < 0; ++n) FHost.Hide();
  FHidden = false;
  FShown = 0;
}

void TDeferredCaret::Create(int width, int height) {
  Flush();
  FHost.Create(width, height);
}

void TDeferredCaret::Destroy() {
  Flush();
  FHost.Destroy();
}

void TDeferredCaret::SetPos(int x, int y) {
  if (FDepth == 0) {
    FHost.SetPos(x, y);
  } else {
    FPlace = {x, y};
  }
}

void TDeferredCaret::Show() {
  if (FDepth == 0) {
    FHost.Show();
  } else {
    ++FShown;
  }
}

void TDeferredCaret::Hide() {
  if (FDepth == 0) {
    FHost.Hide();
    return;
  }
  // Hidden at once: whatever paints next must not paint over it.
  if (!FHidden) {
    FHost.Hide();
    FHidden = true;
  }
  --FShown;
}

short TKeyStateCache::KeyState(int virtualKey) {
  if (FDepth == 0) return FHost.KeyState(virtualKey);
  const auto read = FRead.begin() + static_cast<std::ptrdiff_t>(FCount);
  const auto it = std::find_if(FRead.begin(), read,
                               [&](const auto& entry) { return entry.first == virtualKey; });
  if (it != read) return it->second;
  const short state = FHost.KeyState(virtualKey);
  if (FCount < FRead.size()) FRead[FCount++] = {virtualKey, state};
  return state;
}

}  // namespace notavo
