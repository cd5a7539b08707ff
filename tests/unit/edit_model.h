// A reference for the editor's edits in flat terms: the document as one
// byte string whose line ends are its CR LF pairs (a lone CR or LF is an
// ordinary byte), a caret offset into it, an optional selection anchor and
// both undo logs as (kind, offset, bytes). The rows the editor must hold
// follow from the text alone, so every operation can be checked against the
// editor row for row, caret included. Shared by the unit test and the edit
// fuzz target, so it uses no test framework.
#pragma once

#include <algorithm>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editing/char_class.h"
#include "editor/layout/row_cut.h"
#include "editor/layout/word_wrap.h"
#include "editor/layout/wrap_params.h"
#include "textstore/shift_jis.h"

namespace notavo::testing {

// Bytes with the control and non-ASCII ones escaped, for messages.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20 || b >= 0x7F || c == '\\' || c == '"') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return "\"" + out + "\"";
}

// The rows an editor must hold for `text`: its lines, each up to and
// including its CR LF, the last closed by the end mark; when wrapped, each
// line cut by the row cut (whose rules have tests of their own).
inline std::vector<std::string> ExpectedRows(std::string_view text, const TWrapParams* wrap) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find("\r\n", start);
    const std::string line = at == std::string_view::npos
                                 ? std::string(text.substr(start)) + std::string(2, '\0')
                                 : std::string(text.substr(start, at + 2 - start));
    if (wrap) {
      CutLogicalLine(line, *wrap, rows);
    } else {
      rows.push_back(line);
    }
    if (at == std::string_view::npos) return rows;
    start = at + 2;
  }
}

class EditModel {
 public:
  enum Kind { kInserted = 0, kDeleted = 1, kBackspaced = 2, kDeletedAhead = 3, kOverwritten = 5 };
  struct Step {
    Kind kind;
    long pos;
    std::string text;
  };

  std::string text;
  long caret = 0;
  // The caret stands at the end of a soft row (End put it there, or a
  // position message did) rather than at the next row's start: the same
  // offset, another row.
  bool softEnd = false;
  std::optional<long> anchor;  // while a selection exists
  // The anchor stands at the end of the row before the one its offset
  // starts (a soft row's end, or behind a row selected from the gutter).
  bool anchorRowEnd = false;
  bool insertMode = true;
  bool autoIndent = false;
  bool wrapped = false;
  TWrapParams params;           // Column and TabCount of the cut
  std::deque<Step> undo, redo;  // newest first
  std::optional<std::string> clipboard;

  // ---- layout ----------------------------------------------------------------
  const std::vector<std::string>& Rows() {
    if (layoutText_ != text || layoutWrapped_ != wrapped || layoutColumn_ != params.Column ||
        rows_.empty()) {
      rows_ = ExpectedRows(text, wrapped ? &params : nullptr);
      starts_.assign(1, 0);
      for (std::size_t r = 0; r + 1 < rows_.size(); ++r)
        starts_.push_back(starts_.back() + static_cast<long>(rows_[r].size()));
      layoutText_ = text;
      layoutWrapped_ = wrapped;
      layoutColumn_ = params.Column;
    }
    return rows_;
  }
  int LastRow() { return static_cast<int>(Rows().size()) - 1; }
  long RowStart(int r) {
    Rows();
    return starts_[static_cast<std::size_t>(r)];
  }
  bool Soft(int r) {
    const std::string& row = Rows()[static_cast<std::size_t>(r)];
    return r < LastRow() && !row.ends_with("\r\n");
  }
  int Length(int r) { return static_cast<int>(Rows()[static_cast<std::size_t>(r)].size()); }
  int Content(int r) { return Soft(r) ? Length(r) : Length(r) - 2; }
  // Row and offset of a flat position; `atSoftEnd` picks the soft row that
  // ends there over the row that starts there.
  TRowPos At(long flat, bool atSoftEnd) {
    Rows();
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), flat);
    int r = static_cast<int>(next - starts_.begin()) - 1;
    if (atSoftEnd && r > 0 && starts_[static_cast<std::size_t>(r)] == flat && Soft(r - 1)) --r;
    return {r, static_cast<int>(flat - RowStart(r))};
  }
  TRowPos Caret() { return At(caret, softEnd); }

  // ---- characters ---------------------------------------------------------------
  long Size() const { return static_cast<long>(text.size()); }
  bool LineEndAt(long at) const {
    return at >= 0 && at + 2 <= Size() &&
           text.compare(static_cast<std::size_t>(at), 2, "\r\n") == 0;
  }
  long LineEnd(long at) const {
    const auto p = text.find("\r\n", static_cast<std::size_t>(at));
    return p == std::string::npos ? Size() : static_cast<long>(p);
  }
  // Lead byte by its role: CR and LF are never lead bytes, so counting from
  // the text's start gives what counting from the line's start gives.
  bool LeadAt(long at) const { return ByteTypeAt(text, static_cast<int>(at) + 1, false) == btLead; }
  long CharLength(long at) const {
    if (LineEndAt(at)) return 2;
    return LeadAt(at) && at + 1 < LineEnd(at) ? 2 : 1;
  }
  long PrevCharLength(long at) const {
    if (LineEndAt(at - 2)) return 2;
    return at >= 2 && LeadAt(at - 2) ? 2 : 1;
  }

  // ---- edits -----------------------------------------------------------------------
  void Type(std::string s) {  // typed characters or a finished input-method string
    s = s.substr(0, s.find('\0'));
    if (s.empty()) return;
    if (anchor) DeleteSelection();
    std::string pad;
    const long end = LineEnd(caret);
    if (!insertMode && caret < end) {  // overwrite, never the line end
      const long n = static_cast<long>(s.size());
      const bool splits = caret + n <= end && LeadAt(caret + n - 1);
      if (splits) pad = " ";  // the other half of a double-byte character
      Remove(kOverwritten, caret, std::min(end - caret, splits ? n + 1 : n));
    }
    Insert(s + pad);
    caret -= static_cast<long>(pad.size());  // in front of the pad
    Settle();
  }
  void Enter() {
    if (anchor) DeleteSelection();
    std::string inserted = "\r\n";
    if (autoIndent) {  // the spaces and tabs that open the caret's display row
      for (long i = RowStart(Caret().Row); i < caret; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        if (c != ' ' && c != '\t') break;
        inserted += c;
      }
    }
    Insert(inserted);
    Settle();
  }
  void Tab() {
    if (anchor) DeleteSelection();
    Insert("\t");
    Settle();
  }
  void Paste(std::string s) {
    s = s.substr(0, s.find('\0'));
    if (s.empty()) return;
    if (anchor) DeleteSelection();
    Insert(s);
    Settle();
  }
  void Backspace() {
    if (anchor) return DeleteSelection();
    if (caret == 0) return;
    const long n = PrevCharLength(caret);
    caret -= n;
    Remove(kBackspaced, caret, n);
    Settle();
  }
  void Delete() {
    if (anchor) return DeleteSelection();
    if (softEnd || caret == Size()) return;  // past a soft row's end, or at the end mark
    Remove(kDeletedAhead, caret, CharLength(caret));
    Settle();
  }
  // Ctrl+Backspace and Ctrl+Delete: runs of one character class within the
  // caret's display row.
  void DeleteWordLeft() {
    if (caret == 0) return;
    if (anchor) return DeleteSelection();
    const TRowPos at = Caret();
    const std::string& row = Rows()[static_cast<std::size_t>(at.Row)];
    if (at.Col == 0 || row[static_cast<std::size_t>(at.Col - 1)] == '\t') return Backspace();
    const long start = RowStart(at.Row) + ScanWordBackward(row, at.Col, false);
    SelectAndDelete(start);
  }
  void DeleteWordRight() {
    if (anchor) return DeleteSelection();
    const TRowPos at = Caret();
    const std::string& row = Rows()[static_cast<std::size_t>(at.Row)];
    if (at.Row == LastRow() && at.Col == Content(at.Row)) return;  // the end mark
    const char c = at.Col < Content(at.Row) ? row[static_cast<std::size_t>(at.Col)] : '\r';
    if (c == '\r' || c == '\t' || c == '\0') return Delete();
    SelectAndDelete(RowStart(at.Row) +
                    std::min(ScanWordForward(row, at.Col, false), Content(at.Row)));
  }
  void Cut() {
    if (!anchor) return;
    Copy();
    DeleteSelection();
  }
  void Copy() {
    if (anchor) clipboard = Selected();
  }

  // ---- caret ---------------------------------------------------------------------
  void Left() {
    if (caret == 0) return;
    caret -= PrevCharLength(caret);
    Moved();
  }
  void Right() {
    if (AtLastContentEnd()) return;
    if (!softEnd) caret += CharLength(caret);
    Moved();
  }
  void Home() {
    if (caret == 0) return;
    caret = RowStart(Caret().Row);
    Moved();
  }
  void End() {
    if (AtLastContentEnd()) return;
    const int r = Caret().Row;
    caret = RowStart(r) + Content(r);
    Moved();
    softEnd = Soft(r);
  }
  void DocumentStart() {
    if (caret == 0) return;
    caret = 0;
    Moved();
  }
  void DocumentEnd() {
    if (AtLastContentEnd()) return;
    caret = Size();
    Moved();
  }
  // The registered set-caret-position message: clamped into the rows, off a
  // trail byte; any selection ends.
  void SetCaretPos(int col, int row) {
    const TRowPos at = Clamped(col, row, false);
    caret = RowStart(at.Row) + at.Col;
    Moved();
    softEnd = Soft(at.Row) && at.Col == Length(at.Row);
  }
  // EM_SETSEL: both ends clamped the same way, except that the caret given
  // behind a line end stands at the next row's start.
  void Select(int anchorCol, int anchorRow, int caretCol, int caretRow) {
    const TRowPos a = Clamped(anchorCol, anchorRow, false);
    const TRowPos c = Clamped(caretCol, caretRow, true);
    anchor = RowStart(a.Row) + a.Col;
    anchorRowEnd = Soft(a.Row) && a.Col == Length(a.Row);
    caret = RowStart(c.Row) + c.Col;
    softEnd = Soft(c.Row) && c.Col == Length(c.Row);
  }

  // ---- mouse -------------------------------------------------------------------
  // Where a press or a move of the pointer lands: a row and the byte offset
  // the hit test gives, or the row's gutter; `zone`: a move in an
  // auto-scroll zone, which moves nothing.
  struct Hit {
    int row = 0, col = 0;
    bool gutter = false, zone = false;
  };
  void Press(const Hit& h, bool shift) {
    const TRowPos p{h.row, h.gutter ? 0 : h.col};
    dragging_ = false;
    if (shift) {
      if (!anchor) SetAnchorAtCaret();
      PlaceCaret(p);
    } else if (!h.gutter) {
      // A press inside the selection (its ends included) starts a drag of
      // it; the caret then only shows the drop point.
      dragging_ = anchor && InSelection(p);
      drop_ = p;
      if (!dragging_) {
        anchor.reset();
        PlaceCaret(p);
      }
    } else {
      // The row, line break included, from the gutter.
      anchor.reset();
      PlaceCaret(p);
      const int length = Length(p.Row) - (p.Row == LastRow() ? 2 : 0);
      if (length > 0) {
        anchor = RowStart(p.Row) + length;
        anchorRowEnd = p.Row < LastRow();
      }
    }
  }
  void MoveTo(const Hit& h) {
    if (h.zone) return;
    const TRowPos q{h.row, h.gutter ? 0 : h.col};
    if (dragging_) {
      drop_ = q;
      return;
    }
    if (q == Caret()) return;
    if (!anchor) SetAnchorAtCaret();
    // Down the gutter from a selected row, that row stays whole.
    const TRowPos a = AnchorPos();
    if (h.gutter && q.Row == a.Row + 1) {
      anchor = RowStart(a.Row);
      anchorRowEnd = false;
    }
    PlaceCaret(q);
  }
  // The release: a drag of text drops it at the drop point, moved (its
  // bytes taken out first) or copied; onto itself, it stays.
  void Release(bool ctrl) {
    if (!dragging_) return;
    dragging_ = false;
    const long s = std::min(*anchor, caret), e = std::max(*anchor, caret);
    long d = RowStart(drop_.Row) + drop_.Col;
    if (s == e || InSelection(drop_) || (!ctrl && d >= s && d <= e)) {
      anchor.reset();
      anchorRowEnd = false;
      PlaceCaret(drop_);
      return;
    }
    const std::string moved = Selected();
    if (!ctrl) {
      Remove(kDeleted, s, e - s);
      if (d > e) d -= e - s;
    }
    caret = d;
    Insert(moved);
    Settle();
  }

  // ---- undo ------------------------------------------------------------------------
  // A replace run over the whole document without questions, for texts of
  // whole characters without line-end bytes: in each line, matches that
  // start on a character (counted from the line's start) taken left to
  // right without overlap; each recorded as its removal and its insertion at
  // its place at the time; the caret behind the last replacement.
  void ReplaceAll(const std::string& find, const std::string& with) {
    anchor.reset();
    if (find.empty()) return;
    std::vector<long> hits;
    // Characters counted from the top are counted from every line's start
    // too: no double-byte character ends in a line's CR LF.
    for (long p = 0; p < Size();) {
      if (text.compare(static_cast<std::size_t>(p), find.size(), find) == 0) {
        hits.push_back(p);
        p += static_cast<long>(find.size());
      } else {
        p += IsLeadByte(static_cast<unsigned char>(text[static_cast<std::size_t>(p)])) ? 2 : 1;
      }
    }
    if (hits.empty()) return;
    long shift = 0;
    for (const long hit : hits) {
      const long at = hit + shift;
      Record(kDeleted, at, find);
      Record(kInserted, at, with);
      text.replace(static_cast<std::size_t>(at), find.size(), with);
      caret = at + static_cast<long>(with.size());
      shift += static_cast<long>(with.size()) - static_cast<long>(find.size());
    }
    Settle();
  }

  void Undo() { Replay(undo, redo); }
  void Redo() { Replay(redo, undo); }

  // ---- layout changes (the text stays) -----------------------------------------------
  void SetWrap(bool on) {
    if (on == wrapped) return;
    wrapped = on;
    softEnd = false;  // positions are carried over as line offsets
  }
  void SetColumn(int column) {
    if (column == params.Column) return;
    params.Column = std::max(TWrapParams::kMinColumn, column);
    if (wrapped) softEnd = false;
  }

 private:
  void PlaceCaret(TRowPos p) {
    caret = RowStart(p.Row) + p.Col;
    softEnd = Soft(p.Row) && p.Col == Length(p.Row);
  }
  void SetAnchorAtCaret() {
    anchor = caret;
    anchorRowEnd = softEnd;
  }
  TRowPos AnchorPos() {
    if (!anchorRowEnd) return At(*anchor, false);
    const int r = At(*anchor - 1, false).Row;
    return {r, static_cast<int>(*anchor - RowStart(r))};
  }
  // The selection's ends as rows show them, in order, an end at a row's
  // start counted as the end of the row before; whether `p` lies between.
  bool InSelection(TRowPos p) {
    auto before = [](TRowPos x, TRowPos y) {
      return x.Row < y.Row || (x.Row == y.Row && x.Col < y.Col);
    };
    TRowPos a = AnchorPos(), b = Caret();
    if (before(b, a)) std::swap(a, b);
    if (b.Col == 0 && b.Row > 0) b = {b.Row - 1, Length(b.Row - 1)};
    if (a.Row == b.Row) return p.Row == a.Row && a.Col <= p.Col && p.Col <= b.Col;
    return (a.Row < p.Row && p.Row < b.Row) || (p.Row == a.Row && p.Col >= a.Col) ||
           (p.Row == b.Row && p.Col <= b.Col);
  }
  bool AtLastContentEnd() { return caret == Size() && !softEnd; }
  std::string Selected() const {
    const long lo = std::min(*anchor, caret), hi = std::max(*anchor, caret);
    return text.substr(static_cast<std::size_t>(lo), static_cast<std::size_t>(hi - lo));
  }
  TRowPos Clamped(int col, int row, bool caretEnd) {
    const int r = std::min(row, LastRow());
    if (caretEnd && r < LastRow() && !Soft(r) && col == Length(r)) return {r + 1, 0};
    int c = std::min(col, Content(r));
    if (c < Content(r) && ByteTypeAt(Rows()[static_cast<std::size_t>(r)], c + 1, false) == btTrail)
      --c;
    return {r, c};
  }
  void Moved() {
    anchor.reset();
    anchorRowEnd = false;
    softEnd = false;
  }
  void Record(Kind kind, long pos, std::string bytes) {
    if (bytes.empty()) return;
    undo.push_front({kind, pos, std::move(bytes)});
    redo.clear();
  }
  void Insert(const std::string& s) {
    Record(kInserted, caret, s);
    text.insert(static_cast<std::size_t>(caret), s);
    caret += static_cast<long>(s.size());
  }
  void Remove(Kind kind, long pos, long n) {
    Record(kind, pos, text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(n)));
    text.erase(static_cast<std::size_t>(pos), static_cast<std::size_t>(n));
  }
  void DeleteSelection() {
    const long lo = std::min(*anchor, caret), hi = std::max(*anchor, caret);
    Remove(kDeleted, lo, hi - lo);
    caret = lo;
    Settle();
  }
  void SelectAndDelete(long other) {
    anchor = other;
    DeleteSelection();
  }
  // After every edit: no selection, and the caret at the next row's start
  // rather than at a soft row's end or inside a line end (an edit can bring
  // a lone CR and a lone LF together).
  void Settle() {
    Moved();
    if (caret > 0 && LineEndAt(caret - 1)) ++caret;
  }
  // Undo and redo: the newest step of `from` is replayed backwards and moves
  // to `to` inverted. An insertion at the same place as the step before it
  // (typing over a selection, or over overwritten bytes) replays with it.
  void Replay(std::deque<Step>& from, std::deque<Step>& to) {
    if (from.empty()) return;
    const Step s = from.front();
    from.pop_front();
    anchor.reset();
    if (s.kind == kInserted) {
      text.erase(static_cast<std::size_t>(s.pos), s.text.size());
      caret = s.pos;
      to.push_front({kDeleted, s.pos, s.text});
      if (!from.empty() && from.front().pos == s.pos &&
          (from.front().kind == kDeleted || from.front().kind == kOverwritten)) {
        const Step paired = from.front();
        from.pop_front();
        text.insert(static_cast<std::size_t>(paired.pos), paired.text);
        if (paired.kind == kDeleted) caret += static_cast<long>(paired.text.size());
        to.push_front({kInserted, paired.pos, paired.text});
      }
    } else if (s.kind != kOverwritten) {
      text.insert(static_cast<std::size_t>(s.pos), s.text);
      caret = s.kind == kDeletedAhead ? s.pos : s.pos + static_cast<long>(s.text.size());
      to.push_front({kInserted, s.pos, s.text});
    } else {
      to.push_front({kInserted, s.pos, s.text});  // alone it restores nothing
    }
    Settle();
  }

  bool dragging_ = false;  // a press inside the selection, until the release
  TRowPos drop_;

  std::vector<std::string> rows_;
  std::vector<long> starts_;
  std::string layoutText_;
  bool layoutWrapped_ = false;
  int layoutColumn_ = 0;
};

// The model's state, for failure reports.
inline std::string Describe(EditModel& m) {
  const TRowPos at = m.Caret();
  std::string s = "text " + Escaped(m.text) + ", " +
                  (m.wrapped ? "wrapped at " + std::to_string(m.params.Column) : "unwrapped") +
                  ", caret (row " + std::to_string(at.Row) + ", col " + std::to_string(at.Col) +
                  ")" + (m.softEnd ? " at a soft row's end" : "") +
                  (m.insertMode ? "" : ", overwriting");
  if (m.anchor) s += ", anchor at offset " + std::to_string(*m.anchor);
  if (!m.undo.empty()) {
    s += ", newest undo step: kind " + std::to_string(m.undo.front().kind) + " at offset " +
         std::to_string(m.undo.front().pos) + " " + Escaped(m.undo.front().text);
  }
  return s;
}

}  // namespace notavo::testing
