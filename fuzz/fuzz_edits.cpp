// Edit operations on a headless editor, driven by the fuzzer's bytes and
// checked step by step against the flat-text reference of the unit tests
// (tests/unit/edit_model.h): text, every row, caret, selection and undo
// state after each of typing, line breaks, deletions, pastes, cuts, caret
// placement by key and by message, selections, undo and redo, wrap and
// column changes, and the mouse (clicks, Shift+clicks, drag selection from
// the text and the gutter, dragging text to move or copy it), replace runs
// and rounds of find steps (checked against the row-by-row walk); undoing
// everything must give back the first text.
//
// Input: byte 0 holds the switches (bit 0 wrapped, bit 1 AutoIndent, bit 2
// CaretScrollFix), byte 1 the column, byte 2 the number of pieces of the
// first text, one byte for each piece, then the operations, each taking the
// bytes it needs. Lone CR and LF bytes come in unwrapped rows only; built
// with FUZZ_LONE_CR_IN_WRAPPED_ROWS (fuzz_edits_lone_bytes), wrapped rows
// hold lone CR bytes too, which the editor does not handle yet.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/unit/edit_ops.h"

using namespace notavo;
using namespace notavo::testing;

namespace {

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  bool Done() const { return at >= size; }
  int operator()(int n) { return Done() ? 0 : data[at++] % n; }
};

[[noreturn]] void Fail(const std::string& settings, const std::string& first,
                       const std::vector<EditOp>& ops, const std::string& message) {
  std::fprintf(stderr, "%s\nfirst text %s\n", settings.c_str(), Escaped(first).c_str());
  for (const EditOp& op : ops) std::fprintf(stderr, "  %s\n", Describe(op).c_str());
  std::fprintf(stderr, "  -> %s\n", message.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  Input next{data, size};
  const int switches = next(256);
  OpMix mix;
  mix.search = true;
#ifndef FUZZ_LONE_CR_IN_WRAPPED_ROWS
  mix.wrapWithLoneCr = false;
#endif
  THeadlessHost host;
  TZelEdit edit(host);
  host.selfDispatch = [&](unsigned m, std::uintptr_t w, std::intptr_t l) {
    return edit.Dispatch(m, w, l).value_or(0);
  };
  edit.Dispatch(win::WM_CREATE, 0, 0);
  edit.Dispatch(win::WM_SIZE, 0, 0);
  edit.Dispatch(win::WM_SETFOCUS, 0, 0);
  const bool wrap = (switches & 1) != 0;
  edit.SetWordWrap(wrap);
  edit.SetColumn(10 + next(30));
  edit.SetAutoIndent((switches & 2) != 0);
  edit.SetCaretScrollFix((switches & 4) != 0);
  const std::string settings =
      std::string(wrap ? "wrapped" : "unwrapped") + " at column " + std::to_string(edit.Column()) +
      (edit.AutoIndent ? ", AutoIndent" : "") + (edit.CaretScrollFix ? ", CaretScrollFix" : "");

  // The first text, pasted and made the unmodified state.
  std::vector<std::string> pieces = TextPieces(mix);
  if (wrap && !mix.wrapWithLoneCr) std::erase(pieces, "\r");
  std::string first;
  for (int n = next(24); n > 0; --n)
    first += pieces[static_cast<std::size_t>(next(static_cast<int>(pieces.size())))];
  host.clipboardText = first;
  edit.PasteFromClipboard();
  host.clipboardText.reset();
  edit.ResetUndo();
  edit.DocumentStart();

  EditModel model;
  model.text = first;
  model.wrapped = wrap;
  model.autoIndent = edit.AutoIndent;
  model.params.Column = edit.Column();
  model.params.TabCount = edit.TabCount();
  ModelRun run(host, edit, model);
  std::vector<EditOp> ops;
  if (std::string m = run.Check(); !m.empty()) Fail(settings, first, ops, "after pasting: " + m);
  auto apply = [&](const EditOp& op) {
    ops.push_back(op);
    if (std::string m = run.Apply(op); !m.empty()) Fail(settings, first, ops, m);
  };
  while (!next.Done()) apply(PickOp(next, model, mix));

  // Undo everything, unwrapped first where the mix keeps lone CR bytes out
  // of wrapped rows and an undo would bring one back.
  EditOp undo, unwrap;
  undo.kind = EditOp::kUndo;
  unwrap.kind = EditOp::kToggleWrap;
  while (!model.undo.empty()) {
    if (!Allowed(undo, model, mix)) apply(unwrap);
    apply(undo);
  }
  if (edit.Modified()) Fail(settings, first, ops, "modified after undoing everything");
  return 0;
}
