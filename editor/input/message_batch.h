// The caret and the keyboard state as one message sees them. While a
// message is handled, the caret is hidden at most once and shown and placed
// once at the end (the window system redraws it on every call), and each
// key's state is read once. Outside a message both pass straight through.
#pragma once

#include <array>
#include <optional>
#include <utility>

#include "platform/editor_host.h"

namespace notavo {

class TDeferredCaret final : public TCaretHost {
 public:
  explicit TDeferredCaret(TCaretHost& host) : FHost(host) {}
  void Begin() { ++FDepth; }
  void End() {
    if (--FDepth == 0) Flush();
  }

  void Create(int width, int height) override;
  void Destroy() override;
  void SetPos(int x, int y) override;
  void Show() override;
  void Hide() override;

 private:
  // Hands the window what the calls so far add up to: the last place, then
  // as many shows (or hides) as were asked for beyond the one hide sent.
  void Flush();

  TCaretHost& FHost;
  int FDepth = 0;
  bool FHidden = false;  // the one hide has gone to the window
  int FShown = 0;        // shows minus hides asked for
  std::optional<std::pair<int, int>> FPlace;
};

class TKeyStateCache final : public TKeyboard {
 public:
  explicit TKeyStateCache(TKeyboard& host) : FHost(host) {}
  void Begin() { ++FDepth; }
  void End() {
    if (--FDepth == 0) FCount = 0;
  }
  short KeyState(int virtualKey) override;

 private:
  TKeyboard& FHost;
  int FDepth = 0;
  std::array<std::pair<int, short>, 8> FRead{};
  std::size_t FCount = 0;
};

// Begins both for the length of one message.
class TMessageBatch {
 public:
  TMessageBatch(TDeferredCaret& caret, TKeyStateCache& keys) : FCaret(caret), FKeys(keys) {
    FCaret.Begin();
    FKeys.Begin();
  }
  TMessageBatch(const TMessageBatch&) = delete;
  TMessageBatch& operator=(const TMessageBatch&) = delete;
  ~TMessageBatch() {
    FKeys.End();
    FCaret.End();
  }

 private:
  TDeferredCaret& FCaret;
  TKeyStateCache& FKeys;
};

}  // namespace notavo
