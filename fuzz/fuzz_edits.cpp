// Edit operations on a headless editor, driven by the fuzzer's bytes: every
// sequence of typing, line breaks, deletions, pastes, selections, caret
// moves, wrap changes and undo/redo must keep the rows well formed, and
// undoing everything must give back the original bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"
#include "textstore/row_terminators.h"

using namespace notavo;
using namespace notavo::win;

namespace {

std::string TextOf(const TZelEdit& edit) {
  std::string text;
  for (int i = 0; i < edit.Lines().Count(); ++i) text += edit.Lines()[i];
  return text.substr(0, text.size() - 2);
}

void CheckRows(const TZelEdit& edit) {
  const TZelStrings& lines = edit.Lines();
  if (lines.Count() < 1) std::abort();
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string_view row = lines[i];
    if (row.empty()) std::abort();
    const bool mark = row.size() >= 2 && row.substr(row.size() - 2) == kEofMark;
    if (mark != (i + 1 == lines.Count())) std::abort();
    if (!edit.WordWrap() && i + 1 < lines.Count() && !RowEndsLine(row)) std::abort();
  }
  if (edit.CaretRow() < 0 || edit.CaretRow() >= lines.Count()) std::abort();
  if (edit.CaretCol() < 0 || edit.CaretCol() > static_cast<int>(lines[edit.CaretRow()].size())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THeadlessHost host;
  TZelEdit edit(host);
  host.selfDispatch = [&](unsigned m, std::uintptr_t w, std::intptr_t l) {
    return edit.Dispatch(m, w, l).value_or(0);
  };
  edit.Dispatch(WM_CREATE, 0, 0);
  edit.Dispatch(WM_SIZE, 0, 0);
  edit.Dispatch(WM_SETFOCUS, 0, 0);
  edit.SetColumn(10 + (size > 0 ? data[0] % 30 : 0));
  edit.AutoIndent = true;
  const std::string original = edit.Lines().Count() == 1 ? std::string() : TextOf(edit);
  std::size_t i = 1;
  auto next = [&]() -> unsigned { return i < size ? data[i++] : 0; };
  while (i < size) {
    const unsigned op = next() % 16;
    switch (op) {
      case 0:
      case 1:
      case 2: {
        const unsigned n = 1 + next() % 3;
        std::string s;
        for (unsigned k = 0; k < n; ++k) s.push_back(static_cast<char>(next()));
        edit.TypeText(s);  // any bytes, as an input method could deliver
        break;
      }
      case 3:
        edit.InsertLineBreak();
        break;
      case 4:
        edit.InsertTab();
        break;
      case 5:
        edit.DeleteCharLeft();
        break;
      case 6:
        edit.DeleteCharRight();
        break;
      case 7:
        edit.DeleteWordLeft();
        break;
      case 8:
        edit.DeleteWordRight();
        break;
      case 9: {
        const unsigned n = next() % 8;
        std::string s;
        for (unsigned k = 0; k < n; ++k) s.push_back(static_cast<char>(next()));
        host.clipboardText = s;
        edit.PasteFromClipboard();
        break;
      }
      case 10: {
        const int count = edit.Lines().Count();
        const int r1 = static_cast<int>(next()) % count, r2 = static_cast<int>(next()) % count;
        edit.Dispatch(EM_SETSEL, static_cast<WPARAM>(MakeLong(next(), static_cast<unsigned>(r1))),
                      MakeLong(next(), static_cast<unsigned>(r2)));
        break;
      }
      case 11:
        edit.Dispatch(WM_KEYDOWN, static_cast<WPARAM>(0x21 + next() % 8), 0);
        break;
      case 12:
        edit.Undo();
        break;
      case 13:
        edit.Redo();
        break;
      case 14:
        edit.Dispatch(WM_KEYDOWN, VK_INSERT, 0);
        break;
      case 15:
        if (next() % 4 == 0)
          edit.SetWordWrap(!edit.WordWrap());
        else
          edit.Dispatch(next() % 2 ? WM_CUT : WM_COPY, 0, 0);
        break;
    }
    CheckRows(edit);
  }
  while (edit.CanUndo()) edit.Undo();
  CheckRows(edit);
  if (TextOf(edit) != original) std::abort();
  return 0;
}
