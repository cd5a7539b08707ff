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
#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"
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
    caret = RowStart(c.Row) + c.Col;
    softEnd = Soft(c.Row) && c.Col == Length(c.Row);
  }

  // ---- undo ------------------------------------------------------------------------
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

  std::vector<std::string> rows_;
  std::vector<long> starts_;
  std::string layoutText_;
  bool layoutWrapped_ = false;
  int layoutColumn_ = 0;
};

// One operation, with everything it needs, so a run can be replayed and
// shortened.
struct EditOp {
  enum Kind {
    kType,
    kEnter,
    kTab,
    kBackspace,
    kDelete,
    kWordLeft,
    kWordRight,
    kPaste,
    kCut,
    kCopy,
    kLeft,
    kRight,
    kHome,
    kEnd,
    kDocumentStart,
    kDocumentEnd,
    kSetCaretPos,
    kSelect,
    kUndo,
    kRedo,
    kInsertKey,
    kToggleWrap,
    kSetColumn,
  };
  Kind kind = kType;
  std::string text;
  int a = 0, b = 0, c = 0, d = 0;
};

inline std::string Describe(const EditOp& op) {
  static const char* const kNames[] = {
      "Type",        "Enter", "Tab",       "Backspace",  "Delete",      "Ctrl+Backspace",
      "Ctrl+Delete", "Paste", "Cut",       "Copy",       "Left",        "Right",
      "Home",        "End",   "Ctrl+Home", "Ctrl+End",   "SetCaretPos", "EM_SETSEL",
      "Undo",        "Redo",  "Insert",    "ToggleWrap", "SetColumn"};
  std::string s = kNames[op.kind];
  if (op.kind == EditOp::kType || op.kind == EditOp::kPaste) s += " " + Escaped(op.text);
  if (op.kind == EditOp::kSetCaretPos)
    s += " col " + std::to_string(op.a) + " row " + std::to_string(op.b);
  if (op.kind == EditOp::kSelect) {
    s += " anchor (" + std::to_string(op.a) + ", row " + std::to_string(op.b) + ") caret (" +
         std::to_string(op.c) + ", row " + std::to_string(op.d) + ")";
  }
  if (op.kind == EditOp::kSetColumn) s += " " + std::to_string(op.a);
  return s;
}

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

// What `op` does in flat terms.
inline void ApplyToModel(EditModel& m, const EditOp& op) {
  switch (op.kind) {
    case EditOp::kType:
      return m.Type(op.text);
    case EditOp::kEnter:
      return m.Enter();
    case EditOp::kTab:
      return m.Tab();
    case EditOp::kBackspace:
      return m.Backspace();
    case EditOp::kDelete:
      return m.Delete();
    case EditOp::kWordLeft:
      return m.DeleteWordLeft();
    case EditOp::kWordRight:
      return m.DeleteWordRight();
    case EditOp::kPaste:
      m.clipboard = op.text;  // put there for the paste
      return m.Paste(op.text);
    case EditOp::kCut:
      return m.Cut();
    case EditOp::kCopy:
      return m.Copy();
    case EditOp::kLeft:
      return m.Left();
    case EditOp::kRight:
      return m.Right();
    case EditOp::kHome:
      return m.Home();
    case EditOp::kEnd:
      return m.End();
    case EditOp::kDocumentStart:
      return m.DocumentStart();
    case EditOp::kDocumentEnd:
      return m.DocumentEnd();
    case EditOp::kSetCaretPos:
      return m.SetCaretPos(op.a, op.b);
    case EditOp::kSelect:
      return m.Select(op.a, op.b, op.c, op.d);
    case EditOp::kUndo:
      return m.Undo();
    case EditOp::kRedo:
      return m.Redo();
    case EditOp::kInsertKey:
      m.insertMode = !m.insertMode;
      return;
    case EditOp::kToggleWrap:
      return m.SetWrap(!m.wrapped);
    case EditOp::kSetColumn:
      return m.SetColumn(op.a);
  }
}

inline bool HasLoneCr(std::string_view text) {
  for (std::size_t at = text.find('\r'); at != std::string_view::npos; at = text.find('\r', at + 1))
    if (at + 1 == text.size() || text[at + 1] != '\n') return true;
  return false;
}

// What a run's random text and operations may contain.
struct OpMix {
  bool loneCr = true;  // CR bytes without their LF
  bool loneLf = true;  // LF bytes without their CR
  // Ctrl+Delete with a lone CR at the caret.
  bool wordDeleteAtLoneCr = true;
  // Lone CR bytes in wrapped rows.
  bool wrapWithLoneCr = true;
};

// Whether the mix lets `op` run on the model's present state (a shortened
// run skips the steps its mix would never have picked).
inline bool Allowed(const EditOp& op, const EditModel& m, const OpMix& mix) {
  const bool atLoneCr = m.caret < m.Size() && m.text[static_cast<std::size_t>(m.caret)] == '\r' &&
                        !m.LineEndAt(m.caret);
  if (op.kind == EditOp::kWordRight && !mix.wordDeleteAtLoneCr && atLoneCr && !m.anchor &&
      !m.softEnd) {
    return false;
  }
  if (!mix.wrapWithLoneCr) {
    EditModel after = m;
    ApplyToModel(after, op);
    if (after.wrapped && HasLoneCr(after.text)) return false;
  }
  return true;
}

// Pieces that typed, pasted and generated text is made of: single- and
// double-byte characters (one with a trail byte in the lead range), tabs,
// line ends, and the bytes of a line end alone as the mix allows.
inline std::vector<std::string> TextPieces(const OpMix& mix) {
  std::vector<std::string> pieces = {"a",        "b",        " ",    "\t", "\x82\xA0",
                                     "\x93\xFA", "\x81\x40", "\xB1", "x",  "\x88\x9F",
                                     "\r\n",     "Z",        "1"};
  if (mix.loneCr) pieces.push_back("\r");
  if (mix.loneLf) pieces.push_back("\n");
  return pieces;
}

template <typename Pick>  // pick(n): a number in 0..n-1
std::string PickText(Pick& pick, const std::vector<std::string>& pieces, int maxPieces) {
  std::string s;
  for (int n = 1 + pick(maxPieces); n > 0; --n) s += pieces[pick(static_cast<int>(pieces.size()))];
  return s;
}

// A random operation. Positions reach past the last row and past row ends,
// so clamping, trail bytes and the inside of line ends all get their turn.
template <typename Pick>
EditOp PickAnyOp(Pick& pick, EditModel& m, const OpMix& mix) {
  EditOp op;
  const std::vector<std::string> pieces = TextPieces(mix);
  const int rows = static_cast<int>(m.Rows().size());
  int widest = 0;
  for (const auto& row : m.Rows()) widest = std::max(widest, static_cast<int>(row.size()));
  auto row = [&] { return pick(rows + 1); };
  auto col = [&] { return pick(widest + 2); };
  const int roll = pick(40);
  if (roll < 8) {
    op.kind = EditOp::kType;
    op.text = PickText(pick, pieces, 3);
    if (pick(8) == 0) op.text += std::string(1, '\0') + "lost";  // the text ends at a NUL
  } else if (roll < 11) {
    op.kind = EditOp::kEnter;
  } else if (roll < 12) {
    op.kind = EditOp::kTab;
  } else if (roll < 14) {
    op.kind = EditOp::kBackspace;
  } else if (roll < 16) {
    op.kind = EditOp::kDelete;
  } else if (roll < 17) {
    op.kind = pick(2) ? EditOp::kWordLeft : EditOp::kWordRight;
  } else if (roll < 18) {
    op.kind = EditOp::kPaste;
    op.text = PickText(pick, pieces, 6);
  } else if (roll < 19) {
    op.kind = pick(3) ? EditOp::kCut : EditOp::kCopy;
  } else if (roll < 21) {
    op.kind = pick(2) ? EditOp::kLeft : EditOp::kRight;
  } else if (roll < 24) {
    op.kind = pick(2) ? EditOp::kHome : EditOp::kEnd;
  } else if (roll < 25) {
    op.kind = pick(2) ? EditOp::kDocumentStart : EditOp::kDocumentEnd;
  } else if (roll < 27) {
    op.kind = EditOp::kSetCaretPos;
    op.a = col();
    op.b = row();
  } else if (roll < 30) {
    op.kind = EditOp::kSelect;
    op.a = col();
    op.b = row();
    op.c = col();
    op.d = row();
  } else if (roll < 34) {
    op.kind = EditOp::kUndo;
  } else if (roll < 36) {
    op.kind = EditOp::kRedo;
  } else if (roll < 37) {
    op.kind = EditOp::kInsertKey;
  } else if (roll < 38) {
    op.kind = EditOp::kToggleWrap;
  } else {
    op.kind = EditOp::kSetColumn;
    op.a = 7 + pick(24);
  }
  return op;
}

// A random operation that the mix allows (moving the caret when nothing is
// found).
template <typename Pick>
EditOp PickOp(Pick& pick, EditModel& m, const OpMix& mix) {
  for (int tries = 0; tries < 50; ++tries) {
    EditOp op = PickAnyOp(pick, m, mix);
    if (Allowed(op, m, mix)) return op;
  }
  EditOp op;
  op.kind = EditOp::kLeft;
  return op;
}

// An editor in a headless window and the model, driven side by side.
class ModelRun {
 public:
  ModelRun(THeadlessHost& host, TZelEdit& edit, EditModel& model)
      : host_(host), edit_(edit), m_(model) {}

  // Applies `op` to both; empty when they still agree, else what differs.
  std::string Apply(const EditOp& op) {
    Send(op);
    ApplyToModel(m_, op);
    if (host_.clipboardText != m_.clipboard) {
      return "clipboard " + Escaped(host_.clipboardText.value_or("(none)")) + ", expected " +
             Escaped(m_.clipboard.value_or("(none)"));
    }
    return Check();
  }

  std::string Check() {
    const TZelStrings& lines = edit_.Lines();
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) text += lines[i];
    text.resize(text.size() >= 2 ? text.size() - 2 : 0);
    if (text != m_.text) return "text " + Escaped(text) + ", expected " + Escaped(m_.text);
    const std::vector<std::string>& rows = m_.Rows();
    for (std::size_t i = 0; i < std::max(rows.size(), static_cast<std::size_t>(lines.Count()));
         ++i) {
      const std::string got = i < static_cast<std::size_t>(lines.Count())
                                  ? std::string(lines[static_cast<int>(i)])
                                  : std::string("(none)");
      const std::string want = i < rows.size() ? rows[i] : "(none)";
      if (got != want) {
        return "row " + std::to_string(i) + " " + Escaped(got) + ", expected " + Escaped(want) +
               " (" + std::to_string(lines.Count()) + " rows, expected " +
               std::to_string(rows.size()) + ")";
      }
    }
    const TRowPos caret{edit_.CaretRow(), edit_.CaretCol()}, want = m_.Caret();
    if (caret != want) return "caret " + Show(caret) + ", expected " + Show(want);
    if (edit_.HasSelection() != m_.anchor.has_value()) {
      return std::string(edit_.HasSelection() ? "a selection" : "no selection") + ", expected " +
             (m_.anchor ? "one" : "none");
    }
    if (m_.anchor) {
      const TRowPos a = edit_.Anchor();
      if (m_.RowStart(a.Row) + a.Col != *m_.anchor)
        return "anchor " + Show(a) + ", expected offset " + std::to_string(*m_.anchor);
    } else if (edit_.Anchor() != caret || edit_.SelEnd() != caret) {
      return "anchor " + Show(edit_.Anchor()) + " and selection end " + Show(edit_.SelEnd()) +
             " off the caret";
    }
    if (edit_.CanUndo() != !m_.undo.empty() || edit_.CanRedo() != !m_.redo.empty()) {
      return "undo/redo available " + std::to_string(edit_.CanUndo()) + "/" +
             std::to_string(edit_.CanRedo()) + ", expected " + std::to_string(!m_.undo.empty()) +
             "/" + std::to_string(!m_.redo.empty());
    }
    return {};
  }

 private:
  // Through the keys and messages a window would get.
  void Send(const EditOp& op) {
    switch (op.kind) {
      case EditOp::kType:
        return Deliver(op.text);
      case EditOp::kEnter:
        return Key(win::VK_RETURN);
      case EditOp::kTab:
        return Key(win::VK_TAB);
      case EditOp::kBackspace:
        return Key(win::VK_BACK);
      case EditOp::kDelete:
        return Key(win::VK_DELETE);
      case EditOp::kWordLeft:
        return Key(win::VK_BACK, true);
      case EditOp::kWordRight:
        return Key(win::VK_DELETE, true);
      case EditOp::kPaste:
        host_.clipboardText = op.text;
        return Key('V', true);
      case EditOp::kCut:
        return Key('X', true);
      case EditOp::kCopy:
        edit_.Dispatch(win::WM_COPY, 0, 0);
        return;
      case EditOp::kLeft:
        return Key(win::VK_LEFT);
      case EditOp::kRight:
        return Key(win::VK_RIGHT);
      case EditOp::kHome:
        return Key(win::VK_HOME);
      case EditOp::kEnd:
        return Key(win::VK_END);
      case EditOp::kDocumentStart:
        return Key(win::VK_HOME, true);
      case EditOp::kDocumentEnd:
        return Key(win::VK_END, true);
      case EditOp::kSetCaretPos:
        edit_.Dispatch(edit_.SetCaretPosMessage(), 0,
                       win::MakeLong(static_cast<unsigned>(op.a), static_cast<unsigned>(op.b)));
        return;
      case EditOp::kSelect:
        edit_.Dispatch(win::EM_SETSEL,
                       static_cast<win::WPARAM>(
                           win::MakeLong(static_cast<unsigned>(op.a), static_cast<unsigned>(op.b))),
                       win::MakeLong(static_cast<unsigned>(op.c), static_cast<unsigned>(op.d)));
        return;
      case EditOp::kUndo:
        return Key('Z', true);
      case EditOp::kRedo:
        return edit_.Redo();  // no key of its own
      case EditOp::kInsertKey:
        return Key(win::VK_INSERT);
      case EditOp::kToggleWrap:
        return edit_.SetWordWrap(!edit_.WordWrap());
      case EditOp::kSetColumn:
        return edit_.SetColumn(op.a);
    }
  }
  static std::string Show(TRowPos p) {
    return "(row " + std::to_string(p.Row) + ", col " + std::to_string(p.Col) + ")";
  }
  void Key(int key, bool ctrl = false) {
    host_.keysDown[win::VK_CONTROL] = ctrl;
    edit_.Dispatch(win::WM_KEYDOWN, static_cast<win::WPARAM>(key), 0);
    edit_.Dispatch(win::WM_KEYUP, static_cast<win::WPARAM>(key), 0);
    host_.keysDown[win::VK_CONTROL] = false;
  }
  // As the window system delivers it: one printable byte or one double-byte
  // character as WM_CHAR, anything else as finished input-method text.
  void Deliver(const std::string& s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const bool printable = s.size() == 1 && ((byte(0) >= 0x20 && byte(0) <= 0x7E) ||
                                             (byte(0) >= 0xA0 && byte(0) <= 0xDF));
    const bool pair = s.size() == 2 && IsLeadByte(byte(0)) && byte(1) >= 0x40;
    if (printable || pair) {
      for (std::size_t i = 0; i < s.size(); ++i) edit_.Dispatch(win::WM_CHAR, byte(i), 0);
      return;
    }
    host_.imeResult = s;
    edit_.Dispatch(win::WM_IME_COMPOSITION, 0, win::GCS_RESULTSTR);
    host_.imeResult.reset();
  }

  THeadlessHost& host_;
  TZelEdit& edit_;
  EditModel& m_;
};

}  // namespace notavo::testing
