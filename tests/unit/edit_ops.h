// Operations on the editor and on its flat-text reference (edit_model.h):
// each one sent to the editor as its keys or window messages and applied to
// the model, random ones picked from a source of numbers (a random engine in
// the unit test, the fuzzer's bytes in the fuzz target), and the comparison
// of the two after every step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "edit_model.h"
#include "editor/search/match_rule.h"
#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"
#include "platform/win_messages.h"
#include "search_reference.h"
#include "textstore/shift_jis.h"

namespace notavo::testing {

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
    kClick,       // press and release at (row a, x b)
    kShiftClick,  // the same with Shift held
    kDrag,        // press at (row a, x b), move to (row c, x d), release there
    kReplaceAll,  // text by with, everywhere, without questions
    kFindRound,   // a search for text: b steps coded in a, compared with the row walk
  };
  static bool IsMouse(Kind k) { return k >= kClick && k <= kDrag; }
  Kind kind = kType;
  std::string text, with;
  int a = 0, b = 0, c = 0, d = 0;
  bool ctrl = false;  // held at a drag's release: a drop copies
  // Mouse points: a row, clamped into the view when sent, and x in pixels
  // from the text's left edge (below -4: the gutter). Where they land is
  // filled in when the operation is sent.
  std::vector<EditModel::Hit> hits;
};

inline std::string Describe(const EditOp& op) {
  static const char* const kNames[] = {
      "Type",        "Enter", "Tab",        "Backspace",  "Delete",      "Ctrl+Backspace",
      "Ctrl+Delete", "Paste", "Cut",        "Copy",       "Left",        "Right",
      "Home",        "End",   "Ctrl+Home",  "Ctrl+End",   "SetCaretPos", "EM_SETSEL",
      "Undo",        "Redo",  "Insert",     "ToggleWrap", "SetColumn",   "Click",
      "Shift+click", "Drag",  "ReplaceAll", "FindRound"};
  std::string s = kNames[op.kind];
  if (op.kind == EditOp::kType || op.kind == EditOp::kPaste) s += " " + Escaped(op.text);
  if (op.kind == EditOp::kSetCaretPos)
    s += " col " + std::to_string(op.a) + " row " + std::to_string(op.b);
  if (op.kind == EditOp::kSelect) {
    s += " anchor (" + std::to_string(op.a) + ", row " + std::to_string(op.b) + ") caret (" +
         std::to_string(op.c) + ", row " + std::to_string(op.d) + ")";
  }
  if (op.kind == EditOp::kSetColumn) s += " " + std::to_string(op.a);
  if (op.kind == EditOp::kReplaceAll) s += " " + Escaped(op.text) + " by " + Escaped(op.with);
  if (op.kind == EditOp::kFindRound) {
    s += " " + Escaped(op.text) + " steps " + std::to_string(op.a) + " " + std::to_string(op.b);
  }
  if (EditOp::IsMouse(op.kind)) {
    s += " row " + std::to_string(op.a) + " x " + std::to_string(op.b);
    if (op.kind == EditOp::kDrag) {
      s += " to row " + std::to_string(op.c) + " x " + std::to_string(op.d) +
           (op.ctrl ? " with Ctrl" : "");
    }
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
    case EditOp::kClick:
    case EditOp::kShiftClick:
      if (op.hits.empty()) return;  // not sent
      m.Press(op.hits[0], op.kind == EditOp::kShiftClick);
      return m.Release(false);
    case EditOp::kDrag:
      if (op.hits.size() < 2) return;
      m.Press(op.hits[0], false);
      m.MoveTo(op.hits[1]);
      return m.Release(op.ctrl);
    case EditOp::kReplaceAll:
      return m.ReplaceAll(op.text, op.with);
    case EditOp::kFindRound:
      return;  // the caret is taken over from the editor, see ModelRun
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
  // Replace runs and rounds of find steps among the operations.
  bool search = false;
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
  // (Mouse operations only move or copy bytes between whole line ends: no
  // lone CR appears where there was none.)
  if (!mix.wrapWithLoneCr && !EditOp::IsMouse(op.kind)) {
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
  auto mouseX = [&] { return pick(6) == 0 ? -6 : 1 + pick(widest * 8 + 24); };
  const int roll = pick(mix.search ? 48 : 46);
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
  } else if (roll < 40) {
    op.kind = EditOp::kSetColumn;
    op.a = 7 + pick(24);
  } else if (roll >= 46) {
    // Search texts: whole characters without line-end bytes (what a replace
    // run edits line by line), or, for finds, pieces of the document too.
    static const std::vector<std::string> kPlain = {
        "a", "b", " ", "\x82\xA0", "\x93\xFA", "\x81\x40", "x", "\x88\x9F", "1"};
    op.kind = roll < 47 ? EditOp::kReplaceAll : EditOp::kFindRound;
    op.text = PickText(pick, kPlain, 2);
    op.with = pick(4) == 0 ? "" : PickText(pick, kPlain, 3);
    if (op.kind == EditOp::kFindRound && pick(2) == 0 && !m.text.empty()) {
      const int at = pick(static_cast<int>(m.text.size()));
      op.text = m.text.substr(static_cast<std::size_t>(at), 1 + static_cast<std::size_t>(pick(4)));
    }
    op.a = pick(1 << 12);  // two bits a step: next, previous, first, Home
    op.b = 1 + pick(6);
  } else {
    op.kind = roll < 41 ? EditOp::kClick : roll < 42 ? EditOp::kShiftClick : EditOp::kDrag;
    op.a = row();
    op.b = mouseX();
    op.c = row();
    op.d = mouseX();
    op.ctrl = pick(3) == 0;
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
    if (op.kind == EditOp::kFindRound) {
      const std::string differs = FindRound(op);
      if (!differs.empty()) return differs;
      // Finds change no text: the model's caret goes where the editor's is
      // (a step that found nothing and cleared nothing leaves the selection).
      if (!edit_.HasSelection()) m_.SetCaretPos(edit_.CaretCol(), edit_.CaretRow());
      return Check();
    }
    EditOp sent = op;
    Send(sent);
    ApplyToModel(m_, sent);
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
  // Find steps on the editor (with the built-in matcher) and on the row walk
  // over the present rows: the same events, and the caret on each hit.
  std::string FindRound(const EditOp& op) {
    std::vector<std::string> rows;
    for (int r = 0; r < edit_.Lines().Count(); ++r) rows.emplace_back(edit_.Lines()[r]);
    RowWalk walk(rows);
    std::vector<SearchEvent> events;
    edit_.OnFind = TBuiltInMatcher{};
    edit_.OnFindHit = [&](TZelEdit&, std::string_view, int x, int y, int len, int count) {
      events.push_back({'h', x, y, len, count});
    };
    edit_.OnFindNoHit = [&](TZelEdit&, std::string_view) { events.push_back({'n'}); };
    edit_.SetSearchText(op.text);
    walk.SetSearchText(op.text);
    std::string trace, failure;
    for (int step = 0; step < op.b && failure.empty(); ++step) {
      const int row = edit_.CaretRow(), col = edit_.CaretCol();
      switch ((op.a >> (2 * step)) & 3) {
        case 0:
          trace += "next ";
          edit_.FindNext();
          walk.FindNext(row, col);
          break;
        case 1:
          trace += "prev ";
          edit_.FindPrev();
          walk.FindPrev(row, col);
          break;
        case 2:
          trace += "first ";
          edit_.FindFirst();
          walk.FindFirst();
          break;
        default:
          trace += "home ";
          Key(win::VK_HOME);
          // A key that moved the caret (or just placed it again) makes the
          // next step start at the caret.
          if (edit_.SearchState().FSearchFromCaret) walk.CaretMoved();
          break;
      }
      std::string got, want;
      for (const SearchEvent& e : events) got += Describe(e) + "; ";
      for (const SearchEvent& e : walk.events) want += Describe(e) + "; ";
      if (got != want) failure = "find steps " + trace + ": " + got + "expected " + want;
      const bool hit = !events.empty() && events.back().kind == 'h';
      if (failure.empty() && hit &&
          (edit_.CaretRow() != events.back().y || edit_.CaretCol() > events.back().x)) {
        failure = "caret " + Show({edit_.CaretRow(), edit_.CaretCol()}) + " after " + want;
      }
    }
    edit_.OnFindHit = nullptr;
    edit_.OnFindNoHit = nullptr;
    return failure;
  }

  void Send(EditOp& op) {
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
      case EditOp::kClick:
      case EditOp::kShiftClick:
      case EditOp::kDrag:
        return SendMouse(op);
      case EditOp::kReplaceAll:
        edit_.OnFind = TBuiltInMatcher{};
        return edit_.ReplaceAll(op.text, op.with, true, false);
      case EditOp::kFindRound:
        return;  // see FindRound
    }
  }
  // Each point is worked out from the view as it is when it is sent.
  void SendMouse(EditOp& op) {
    const bool shift = op.kind == EditOp::kShiftClick;
    op.hits.clear();
    host_.keysDown[win::VK_SHIFT] = shift;
    TPoint at = Point(op.a, op.b, false, op.hits);
    MouseMessage(win::WM_LBUTTONDOWN, at,
                 shift ? win::MK_LBUTTON | win::MK_SHIFT : win::MK_LBUTTON);
    host_.keysDown[win::VK_SHIFT] = false;
    if (op.kind == EditOp::kDrag) {
      at = Point(op.c, op.d, true, op.hits);
      MouseMessage(win::WM_MOUSEMOVE, at, win::MK_LBUTTON);
    }
    host_.keysDown[win::VK_CONTROL] = op.ctrl && op.kind == EditOp::kDrag;
    MouseMessage(win::WM_LBUTTONUP, at, 0);
    host_.keysDown[win::VK_CONTROL] = false;
  }
  TPoint Point(int row, int x, bool move, std::vector<EditModel::Hit>& hits) {
    const TZelStrings& lines = edit_.Lines();
    const int top = edit_.TopRow();
    const int last = std::min(lines.Count() - 1, top + std::max(edit_.VisibleRows(), 1) - 1);
    EditModel::Hit h;
    h.row = std::clamp(row, top, std::max(top, last));
    h.gutter = x < -4;
    h.zone = move && x <= 0 && edit_.ScrollX() > 0;  // the left auto-scroll zone
    int pixel = 0;
    if (!h.gutter) h.col = edit_.XToCol(lines[h.row], x + edit_.ScrollX(), pixel);
    hits.push_back(h);
    return {edit_.TextLeft() + x,
            edit_.TopMargin() + (h.row - top) * edit_.RowPitch() + edit_.RowPitch() / 2};
  }
  void MouseMessage(unsigned message, TPoint at, unsigned keys) {
    edit_.Dispatch(message, keys,
                   win::MakeLong(static_cast<unsigned>(at.X), static_cast<unsigned>(at.Y)));
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
