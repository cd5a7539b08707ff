// Replacing: a range by a text (ReplaceRange), and the replace run over the
// selection's rows or the whole document (ReplaceAll). A run that does not
// ask before each replacement paints nothing until its end; with the
// built-in matcher it replaces a logical line's hits in one edit, recording
// the same undo steps, one pair per hit, as replacing them one by one.
#include <algorithm>
#include <cstring>

#include "editor/caret/position_rule.h"
#include "editor/search/byte_search.h"
#include "editor/search/match_rule.h"
#include "editor/search/row_scanner.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {

bool HasLineBytes(std::string_view text) { return FindLineByte(text) != std::string_view::npos; }

// Texts that are whole characters without line-end or NUL bytes: the only
// ones whose replacement cannot change where any other match begins.
bool PlainText(std::string_view text) { return !HasLineBytes(text) && EndsOnCharacter(text); }

}  // namespace

void TZelEdit::ReplaceRange(std::string_view text, int fromCol, bool repaint, int toRow, int toCol,
                            int fromRow) {
  if (HasSelection()) ClearSelection();
  if (fromRow >= 0) FAnchor.Row = fromRow;
  if (fromCol >= 0) FAnchor.Col = fromCol;
  const TRowPos a = ClampPosition(FLines, FAnchor);
  if (repaint) DrawUnderline(FCaret.Row, true);
  TRowPos end = a;
  if (toRow >= 0) {
    const int count = FLines.Count();
    toRow = std::min(toRow, count - 1);
    if (toCol >= 0 && (toCol < static_cast<int>(FLines[toRow].size()) || WordWrap())) {
      // A column past a soft row runs on into the rest of the logical line.
      end.Row = toRow;
      while (WordWrap() && !RowEndsLine(FLines[end.Row]) && end.Row + 1 < count &&
             static_cast<int>(FLines[end.Row].size()) < toCol) {
        toCol -= static_cast<int>(FLines[end.Row].size());
        ++end.Row;
      }
      end.Col = toCol;
    } else if (toRow < count - 1) {
      end = {toRow + 1, 0};  // the whole row with its line break
    } else {
      end = {toRow, ContentLength(toRow)};
    }
    end.Col = std::clamp(end.Col, 0, static_cast<int>(FLines[end.Row].size()));
    if (end.Row + 1 == count) end.Col = std::min(end.Col, ContentLength(end.Row));
    if (Before(end, a)) end = a;
  }
  if (repaint) FCaretHost.Hide();
  // Recorded as a removal and an insertion at one place (undone together),
  // made as one replacement: removing first could bring a lone CR and a lone
  // LF together into a line end, and the insertion would land behind it.
  if (end != a) {
    FAnchor = a;
    FSelEndRow = end.Row;
    FSelEndCol = end.Col;
    FSelecting = true;
    const std::string removed = GetSelText();
    FSelecting = false;
    RecordUndo(ukDeleted, removed, a.Row, a.Col);
  }
  RecordUndo(ukInserted, text, a.Row, a.Col);
  const TEditReport report = end != a || !text.empty() ? TextOps().Replace(a, end, text, true)
                                                       : TEditReport{-1, -1, false, a};
  if (repaint) {
    ShowEdit(report);
    FCaretHost.Show();
  } else {
    // A run without questions paints once at its end.
    FCaret = report.Caret;
    CollapseToCaret();
  }
  if (OnChange) OnChange(*this);
}

// Replaces the hit at (FSearchRow, col), `len` bytes running over rows as
// stored, and resumes the search right behind the inserted text.
bool TZelEdit::ReplaceHit(int col, int len) {
  TSearchParam& s = FSearch;
  s.FHitLen = 0;
  const int rowsBefore = FLines.Count();
  const TRowPos start{s.FSearchRow, col};
  const TRowPos end = PositionAfterBytes(start, len);
  const long long resume =
      FWrap.Index().BytesBeforeRow(start.Row) + col + static_cast<long long>(s.FReplaceText.size());
  ReplaceRange(s.FReplaceText, col, s.FReplaceAsk, end.Row, end.Col, start.Row);
  s.FSearchLastRow = std::max(s.FSearchRow, s.FSearchLastRow + FLines.Count() - rowsBefore);
  // The row and offset of `resume` now: a re-wrap may have moved both.
  int row = std::min(start.Row, FLines.Count() - 1);
  long long rowStart = FWrap.Index().BytesBeforeRow(row);
  while (row > 0 && resume < rowStart) rowStart -= static_cast<long long>(FLines[--row].size());
  while (row + 1 < FLines.Count() &&
         resume >= rowStart + static_cast<long long>(FLines[row].size())) {
    rowStart += static_cast<long long>(FLines[row++].size());
  }
  SearchFromWindow(row,
                   static_cast<int>(std::min<long long>(resume - rowStart, FLines[row].size())));
  ++s.FHitCount;
  return false;
}

// The hits of the logical line that starts at FSearchRow, replaced in one
// edit. False (nothing done) when the line holds bytes that could make the
// row-by-row search see it differently: CR, LF or NUL, or a lead byte
// without its trail byte at its end.
bool TZelEdit::BulkReplaceLine() {
  TSearchParam& s = FSearch;
  if (s.FSearchCol != 0) return false;
  const int firstRow = s.FSearchRow;
  int lastRow = firstRow;
  while (lastRow + 1 < FLines.Count() && !EndsWithTerminator(FLines[lastRow])) ++lastRow;
  std::string joined;
  std::string_view line = FLines[firstRow];
  for (int r = firstRow + 1; r <= lastRow; ++r) {
    const std::string_view next = FLines[r];
    if (joined.empty() && next.data() == line.data() + line.size()) {
      line = std::string_view(line.data(), line.size() + next.size());
      continue;
    }
    if (joined.empty()) joined.assign(line);
    joined.append(next);
    line = joined;
  }
  if (EndsWithTerminator(FLines[lastRow])) line.remove_suffix(2);
  if (HasLineBytes(line) || !EndsOnCharacter(line)) return false;

  const std::string_view needle = s.FFindText;
  std::vector<std::size_t> hits;
  TCharStarts starts(line, 0);
  for (std::size_t at = 0; at + needle.size() <= line.size();) {
    const std::size_t hit = FindBytes(line.substr(at), needle);
    if (hit == std::string_view::npos) break;
    if (starts.IsStart(at + hit)) {
      hits.push_back(at + hit);
      at += hit + needle.size();
    } else {
      at += hit + 1;
    }
  }
  const int rowsBefore = FLines.Count();
  if (!hits.empty()) {
    const std::string_view replacement = s.FReplaceText;
    std::string middle;
    middle.reserve(hits.back() - hits.front() + hits.size() * replacement.size());
    for (std::size_t k = 0; k < hits.size(); ++k) {
      middle.append(replacement);
      const std::size_t from = hits[k] + needle.size();
      const std::size_t to = k + 1 < hits.size() ? hits[k + 1] : from;
      middle.append(line.substr(from, to - from));
    }
    // The steps replacing the hits one by one would record: each hit's
    // position after the earlier replacements, removal then insertion.
    const int logicalLine = WordWrap() ? FWrap.Index().LineOfRow(firstRow) : firstRow;
    const long long shift =
        static_cast<long long>(replacement.size()) - static_cast<long long>(needle.size());
    for (std::size_t k = 0; k < hits.size(); ++k) {
      const int col =
          static_cast<int>(static_cast<long long>(hits[k]) + shift * static_cast<long long>(k));
      RecordUndoStep(ukDeleted, needle, logicalLine, col);
      RecordUndoStep(ukInserted, replacement, logicalLine, col);
    }
    const TRowPos a = PositionAfterBytes({firstRow, 0}, static_cast<long long>(hits.front()));
    const TRowPos b =
        PositionAfterBytes({firstRow, 0}, static_cast<long long>(hits.back() + needle.size()));
    const TEditReport report = TextOps().Replace(a, b, middle, true);
    FCaret = report.Caret;
    CollapseToCaret();
    s.FHitCount += static_cast<int>(hits.size());
    if (OnChange) {
      for (std::size_t k = 0; k < hits.size(); ++k) OnChange(*this);
    }
  }
  const int next = lastRow + FLines.Count() - rowsBefore + 1;
  s.FSearchLastRow = FLines.Count() - 1;
  if (next < FLines.Count()) {
    SearchFromWindow(next, 0);
  } else {
    s.FSearchRow = next;
  }
  return true;
}

void TZelEdit::ReplaceAll(std::string_view find, std::string_view replacement, bool wholeDocument,
                          bool confirm) {
  TSearchParam& s = FSearch;
  s.FFindText.assign(find);
  s.FReplaceText.assign(replacement);
  s.FReplaceAsk = confirm;
  s.FSearchFromCaret = true;
  s.FSearchForward = true;
  s.FSearchWrapped = false;
  s.FHitCount = 0;
  s.FReplaceAbort = false;
  DropHit(true);
  int firstRow = 0, lastRow = FLines.Count() - 1;
  const bool everywhere = wholeDocument || !HasSelection();
  if (!everywhere) {
    const TSelectionRange selection = GetSelection();
    firstRow = std::clamp(selection.StartRow, 0, lastRow);
    lastRow = std::clamp(selection.EndRow, firstRow, lastRow);
  }
  ClearSelection();
  SearchFromWindow(firstRow, 0);
  s.FSearchLastRow = lastRow;
  // Without questions, over the whole document, with the built-in matcher
  // and texts that cannot change where other matches begin, each logical
  // line is replaced in one edit; a line that holds such bytes itself is
  // walked hit by hit, its range limited to the line.
  const bool lineByLine = everywhere && BuiltInMatcher() && PlainText(s.FFindText) &&
                          !s.FFindText.empty() && PlainText(s.FReplaceText) &&
                          !(WordWrap() && SingleByteMode());
  bool stop = false;
  while (!stop && s.FSearchRow <= s.FSearchLastRow) {
    if (!lineByLine || s.FReplaceAsk) {
      stop = ForwardStep(true);
      continue;
    }
    // Lines without the needle's bytes anywhere hold no hit: go straight to
    // the line of the next occurrence.
    const std::optional<TRowPos> occurrence =
        TRowScanner(FLines, s.FFindText).NextBytes(s.FSearchRow, 0, s.FSearchLastRow);
    if (!occurrence) {
      s.FSearchRow = s.FSearchLastRow + 1;
      break;
    }
    int lineStart = occurrence->Row;
    while (lineStart > s.FSearchRow && !EndsWithTerminator(FLines[lineStart - 1])) --lineStart;
    if (lineStart != s.FSearchRow) SearchFromWindow(lineStart, 0);
    if (BulkReplaceLine()) continue;
    int lineEnd = s.FSearchRow;
    while (lineEnd + 1 < FLines.Count() && !EndsWithTerminator(FLines[lineEnd])) ++lineEnd;
    s.FSearchLastRow = lineEnd;
    while (s.FSearchRow <= s.FSearchLastRow) ForwardStep(true);
    const int next = s.FSearchLastRow + 1;
    s.FSearchLastRow = FLines.Count() - 1;
    if (next < FLines.Count()) SearchFromWindow(next, 0);
  }
  if (s.FReplaceAsk) {
    DropHit(true);
  } else if (FWindowCreated) {
    // Nothing was painted during the run: the rows are laid out already,
    // so one repaint of everything shows it.
    RedrawAll();
    MoveCaretTo(-1, 0, 0, true, true);
  }
  if (OnFindChangeEnd) OnFindChangeEnd(*this, s.FFindText, s.FReplaceText, s.FHitCount);
}

}  // namespace notavo
