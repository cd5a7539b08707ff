// The search run: the steps forward and backward over the rows, asking
// OnFind where the search text occurs in each stretch of text. With the
// built-in matcher the rows are searched in place, many at a time, with the
// results the row-by-row walk gives.
#include <algorithm>

#include "editor/search/match_rule.h"
#include "editor/search/row_scanner.h"
#include "editor/zel_edit.h"

namespace notavo {

bool TZelEdit::BuiltInMatcher() const {
  return OnFind && OnFind.target<TBuiltInMatcher>() != nullptr;
}

// The bytes of `row` without its first `skip`, then the following rows (up
// to the last row of the range) as far as a match starting in the row can
// reach; at least the next row.
std::string TZelEdit::SearchWindow(int row, int skip) const {
  const std::string_view own = FLines[row];
  std::string window(own.substr(std::min(own.size(), static_cast<std::size_t>(skip))));
  const std::size_t reach = own.size() + FSearch.FFindText.size();
  std::size_t length = own.size();
  for (int r = row + 1; r <= FSearch.FSearchLastRow && r < FLines.Count(); ++r) {
    if (r > row + 1 && length + 1 >= reach) break;
    const std::string_view next = FLines[r];
    window.append(next);
    length += next.size();
  }
  return window;
}

// The searched text becomes the window of `row` from `skip` on.
void TZelEdit::SearchFromWindow(int row, int skip) {
  FSearch.FSearchRow = row;
  FSearch.FSearchCol = skip;
  FSearch.FSearchRowLen = static_cast<int>(FLines[row].size());
  FSearch.BufStart = skip;
  FSearch.BufEnd = -1;
}

void TZelEdit::AskFind(int& x, int& len, bool resetLen) {
  TSearchParam& s = FSearch;
  if (resetLen) len = static_cast<int>(s.FFindText.size());
  if (BuiltInMatcher()) {
    const std::string_view needle = MatcherNeedle(s.FFindText);
    x = 0;
    if (!needle.empty()) {
      const int col = TRowScanner(FLines, needle)
                          .MatchInRow(s.FSearchRow, s.BufStart, s.BufEnd, s.FSearchLastRow);
      if (col >= 0) x = col - s.BufStart + 1;
    }
  } else if (OnFind) {
    if (s.BufEnd >= 0) {
      const std::string_view own = FLines[s.FSearchRow];
      const std::size_t from = std::min(own.size(), static_cast<std::size_t>(s.BufStart));
      const std::size_t to = std::clamp(static_cast<std::size_t>(s.BufEnd), from, own.size());
      s.FSearchBuf.assign(own.substr(from, to - from));
    } else {
      s.FSearchBuf = SearchWindow(s.FSearchRow, s.BufStart);
    }
    OnFind(*this, s.FSearchBuf, s.FFindText, s.FSearchRow, x, len);
    // A handler's answer outside the text it was given is no match, and a
    // hit is at least one byte long, so every run moves on.
    if (x < 0 || x > static_cast<int>(s.FSearchBuf.size())) x = 0;
    len = std::max(len, 1);
  }
  // Only a match that starts within the searched row counts.
  if (x != 0 && static_cast<long long>(x) + s.FSearchCol > s.FSearchRowLen) x = 0;
}

void TZelEdit::DropHit(bool repaint) {
  TSearchParam& s = FSearch;
  if (repaint && s.FHitLen > 0 && FWindowCreated && FRowPitch > 0) {
    HighlightRange(s.FHitCol, s.FHitRow, true, 0, 0, s.FHitLen);
  }
  s.FHitLen = 0;
}

void TZelEdit::RemoveHitHighlight() {
  FSearch.FSearchFromCaret = true;
  DropHit(!HasSelection());
}

void TZelEdit::ForgetFindHit() { RemoveHitHighlight(); }

void TZelEdit::PaintFoundText(TColor color) {
  const TSearchParam& s = FSearch;
  if (s.FHitLen <= 0 || !FWindowCreated || FRowPitch <= 0) return;
  HighlightRange(s.FHitCol, s.FHitRow, false, color, (color ^ 0xFFFFFFu) & 0xFFFFFFu, s.FHitLen);
}

// The caret goes to the hit, which is then the highlighted one.
void TZelEdit::ShowHit(int col, int len) {
  TSearchParam& s = FSearch;
  GoToPosition(col, s.FSearchRow, 2);
  s.FSearchFromCaret = false;
  s.FHitCol = col;
  s.FHitRow = s.FSearchRow;
  s.FHitLen = len;
}

void TZelEdit::SetSearchText(std::string_view text) {
  TSearchParam& s = FSearch;
  s.FFindText.assign(text);
  s.FSearchLastRow = FLines.Count() - 1;
  s.FSearchRow = 0;
  s.FSearchCol = 0;
  s.BufStart = 0;
  s.BufEnd = -1;
  s.FSearchFromCaret = true;
  s.FSearchForward = false;
  s.FSearchWrapped = false;
  s.FHitCount = 0;
  DropHit(true);
}

void TZelEdit::FindFirst() {
  TSearchParam& s = FSearch;
  s.FSearchLastRow = FLines.Count() - 1;
  s.FHitCount = 0;
  DropHit(true);
  SearchFromWindow(0, 0);
  s.FSearchForward = true;  // no resynchronisation: the text is set up
  s.FSearchWrapped = false;
  ForwardStep(false);
}

// What a find step does first: the highlight goes, a selection is cleared,
// the range is the whole text. True when the step starts at the caret (after
// a caret move, or when the run's place is gone: a replace run ends behind
// the last row, rows may have gone away); its wrap-around is then forgotten.
bool TZelEdit::BeginFindStep() {
  TSearchParam& s = FSearch;
  DropHit(true);
  if (HasSelection()) ClearSelection();
  s.FSearchLastRow = FLines.Count() - 1;
  if (s.FSearchRow < 0 || s.FSearchRow > s.FSearchLastRow) s.FSearchFromCaret = true;
  if (!s.FSearchFromCaret) return false;
  s.FSearchFromCaret = false;
  s.FSearchWrapped = false;
  return true;
}

void TZelEdit::FindNext() {
  if (BeginFindStep()) {
    SearchFromWindow(FCaret.Row, FCaret.Col);
    FSearch.FSearchForward = true;
  }
  ForwardStep(false);
}

void TZelEdit::FindPrev() {
  TSearchParam& s = FSearch;
  if (BeginFindStep()) {
    // All the text before the caret, so a hit ending at the caret is found.
    s.FSearchRow = FCaret.Row;
    s.FSearchCol = FCaret.Col;
    s.BufStart = 0;
    s.BufEnd = FCaret.Col;
    s.FSearchRowLen = FCaret.Col;
    s.FSearchForward = false;
  }
  BackwardStep();
}

// Where the search continues after `bytes` bytes from `from`, walking rows
// as stored (terminators count).
TRowPos TZelEdit::PositionAfterBytes(TRowPos from, long long bytes) const {
  TRowPos pos = from;
  long long left = bytes + pos.Col;
  pos.Col = 0;
  while (pos.Row + 1 < FLines.Count() && left >= static_cast<long long>(FLines[pos.Row].size())) {
    left -= static_cast<long long>(FLines[pos.Row].size());
    ++pos.Row;
  }
  pos.Col = static_cast<int>(std::min<long long>(left, FLines[pos.Row].size()));
  return pos;
}

// One step forward; true when a confirmation asked to stop the run.
bool TZelEdit::ForwardStep(bool replacing) {
  TSearchParam& s = FSearch;
  if (!s.FSearchForward) {
    SearchFromWindow(s.FSearchRow, s.FSearchCol);
  } else if (s.FSearchWrapped) {
    SearchFromWindow(0, 0);
    s.FHitCount = 0;
  }
  s.FSearchWrapped = false;
  s.FSearchForward = true;
  int x = 0, len = 0;
  const std::string_view needle = MatcherNeedle(s.FFindText);
  if (BuiltInMatcher() && !needle.empty() && s.BufEnd < 0) {
    // The rows are searched in place, as many at a time as the byte search
    // likes; the state ends as the row-by-row walk leaves it.
    len = static_cast<int>(s.FFindText.size());
    const std::optional<TRowPos> hit =
        TRowScanner(FLines, needle).NextMatch(s.FSearchRow, s.BufStart, s.FSearchLastRow);
    const int target = hit ? hit->Row : std::max(s.FSearchRow, s.FSearchLastRow);
    int start = s.FSearchCol;
    for (int r = s.FSearchRow; r < target && start > 0; ++r) {
      start = std::max(0, start - static_cast<int>(FLines[r].size()));
    }
    if (target != s.FSearchRow) SearchFromWindow(target, start);
    if (hit) x = hit->Col - s.BufStart + 1;
  } else {
    AskFind(x, len, true);
    while (x == 0 && s.FSearchRow < s.FSearchLastRow) {
      // What a hit ran over into the next row is not searched again.
      const int carry = std::max(0, s.FSearchCol - s.FSearchRowLen);
      SearchFromWindow(s.FSearchRow + 1, carry);
      AskFind(x, len, true);
    }
  }
  if (x == 0) {
    if (replacing) {
      ++s.FSearchRow;  // the run ends
    } else {
      if (OnFindNoHit) OnFindNoHit(*this, s.FFindText);
      s.FSearchWrapped = true;
    }
    return false;
  }
  const int col = s.FSearchCol + x - 1;
  auto skipHit = [&] {
    s.FSearchCol += x + len - 1;
    s.BufStart += x + len - 1;
  };
  if (!replacing) {
    ShowHit(col, len);
    ++s.FHitCount;
    if (OnFindHit) OnFindHit(*this, s.FFindText, col, s.FSearchRow, len, s.FHitCount);
    skipHit();
    return false;
  }
  if (s.FReplaceAsk) {
    ShowHit(col, len);
    bool change = true;
    if (OnFindChange) {
      OnFindChange(*this, s.FFindText, s.FReplaceText, col, s.FSearchRow, len, s.FHitCount, change,
                   s.FReplaceAsk, s.FReplaceAbort);
    }
    if (!change) {
      skipHit();
      return false;
    }
    if (s.FReplaceAbort) {
      DropHit(true);
      return true;
    }
  }
  return ReplaceHit(col, len);
}

void TZelEdit::BackwardStep() {
  TSearchParam& s = FSearch;
  const int findLength = static_cast<int>(s.FFindText.size());
  if (s.FSearchForward) {
    // The text before the hit found last (or before where the forward
    // search stopped).
    s.BufStart = 0;
    s.BufEnd = std::max(0, s.FSearchCol - findLength);
  } else if (s.FSearchWrapped) {
    SearchFromWindow(FLines.Count() - 1, 0);
    s.FHitCount = 0;
  }
  s.FSearchWrapped = false;
  s.FSearchForward = false;
  s.FSearchCol = 0;
  int x = 0, len = 0;
  AskFind(x, len, true);
  while (x == 0 && s.FSearchRow > 0) {
    SearchFromWindow(s.FSearchRow - 1, 0);
    AskFind(x, len, true);
  }
  if (x == 0) {
    if (OnFindNoHit) OnFindNoHit(*this, s.FFindText);
    s.FSearchWrapped = true;
    return;
  }
  // The last hit of the row: hits are taken left to right without overlap.
  int hitX = 0, hitFrom = 0, hitLen = 0;
  while (x != 0) {
    hitX = x;
    hitFrom = s.FSearchCol;
    hitLen = len;
    s.FSearchCol += x + len - 1;
    s.BufStart += x + len - 1;
    AskFind(x, len, false);
  }
  const int col = hitFrom + hitX - 1;
  ShowHit(col, hitLen);
  ++s.FHitCount;
  if (OnFindHit) OnFindHit(*this, s.FFindText, col, s.FSearchRow, hitLen, s.FHitCount);
  s.BufStart = 0;
  s.BufEnd = hitFrom;
  s.FSearchCol = col + hitLen;
}

}  // namespace notavo
