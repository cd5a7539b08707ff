// TZelEdit: construction, state reset and the whole-document operations
// (load, save, clear, redesign).
#include "editor/zel_edit.h"

#include <exception>

#include "editor/caret/position_rule.h"
#include "editor/layout/tab_expansion.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {
constexpr int kTimerInterval = 40;
constexpr const char* kAppTitle = "Notavo";
}  // namespace

TZelEdit::TZelEdit(TEditorHost& host)
    : FHost(host), FCaretHost(host.Caret()), FKeys(host.Keyboard()), FWrap(FLines, *this) {
  FWrap.InitDefaults(FOptions.Column, FOptions.TabCount, FOptions.WordWrap);
  FLines.Clear();
  FLines.Add(kEofMark);
  FHost.Timer().Start(kTimerInterval);
  FTimerEnabled = true;
  ResetState();
  FMsgGetCaretPos = FHost.Window().RegisterMessage("WM_TZELEDIT_GETCARETPOS");
  FMsgSetCaretPos = FHost.Window().RegisterMessage("WM_TZELEDIT_SETCARETPOS");
  RebuildLogFont();
}

TZelEdit::~TZelEdit() = default;

void TZelEdit::ResetState() {
  FComposing = false;
  FInsertMode = true;
  FCaret = {};
  FAnchor = {};
  FSelEndRow = FSelEndCol = 0;
  FSelPaintedRow = FSelPaintedCol = 0;
  FCaretX = 0;
  FTopRow = 0;
  FScrollX = 0;
  FLastCaretCol = FLastCaretRow = FLastCaretX = 0;
  FSelecting = false;
  FAllSelected = false;
  FMouseSelecting = false;
  FTextDragging = false;
  FDesiredCol = 0;
  FDesiredXCol = -1;
  ForgetFindHit();
  FEditBatchDepth = 0;
  FEditBatch = {};
  FUndo.Reset();
  FModified = false;
  if (OnChangeModify) OnChangeModify(*this, false);
  if (OnChangeRedoMode) {
    FRedoReported = false;
    OnChangeRedoMode(*this, false);
  }
}

void TZelEdit::RebuildLogFont() {
  FLogFont = TLogFont{};
  FLogFont.Height = -FFont.Height;
  FLogFont.CharSet = TLogFont::kDefaultCharset;
  FLogFont.PitchAndFamily = TLogFont::kFixedPitch;
  FLogFont.FaceName = FFont.Name;
}

void TZelEdit::ShowError(std::string_view text) {
  FHost.Window().MessageBox(text, kAppTitle, win::MB_OK);
}

void TZelEdit::ReportFailure(std::string_view code) { ShowError(code); }

void TZelEdit::PlaceCompositionWindow(int x, int y) {
  const char* stage = " A";
  bool context = false;
  try {
    TInputMethod& ime = FHost.InputMethod();
    context = ime.HasContext();
    if (context) {
      stage = " AA";
      if (ime.SetCompositionFont(FLogFont)) {
        stage = " B";
        stage = " C";
        ime.SetCompositionWindow({x, y});
      }
    }
  } catch (const std::exception&) {
    ShowError("Error:OC008 " + FLastOperation + stage + "\r" + std::to_string(x) + " , " +
              std::to_string(y) + " " + std::to_string(FHost.Window().Handle()) + " " +
              std::to_string(context ? 1 : 0));
  }
}

// ---- whole-document operations ------------------------------------------

bool TZelEdit::LoadFile(const std::string& fileName, std::string* error) {
  try {
    const bool wrap = WordWrap();
    FLines.LoadFromFile(fileName);  // throws before any change on failure
    FWrap.StoreHoldsLogicalLines();
    ResetState();
    FLastOperation = "LoadFile";
    PlaceCompositionWindow(FTextLeft, FTopMargin);
    FHost.ScrollBars().SetPos(sbHorz, 0, true);
    FHost.ScrollBars().SetPos(sbVert, 0, true);
    if (wrap) {
      FWrap.ApplyWordWrap(true, true, FCaret, FAnchor);
      FOptions.WordWrap = FWrap.WordWrap();  // false if that failed
    } else {
      RedrawAll();
    }
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool TZelEdit::SaveFile(const std::string& fileName, std::string* error) {
  try {
    FLines.SaveToFile(fileName);
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

void TZelEdit::Clear() {
  FLines.Clear();
  FLines.Add(kEofMark);
  ResetState();
  PlaceCompositionWindow(FTextLeft, FTopMargin);
  FHost.ScrollBars().SetPos(sbHorz, 0, true);
  FHost.ScrollBars().SetPos(sbVert, 0, true);
  RedrawAll();
}

void TZelEdit::RedrawAll() {
  FCaretHost.Hide();
  UpdateVScrollBar();
  PaintView();
  UpdateCaret();
  FCaretHost.Show();
}

void TZelEdit::Redesign() {
  if (!FWindowCreated) return;
  FLastOperation = "Redesign";
  LoadFont();
  RefreshView();
}

void TZelEdit::RefreshView() {
  if (WordWrap()) {
    FWrap.Relayout(FCaret, FAnchor);
  } else {
    RedrawAll();
  }
}

void TZelEdit::AfterRebuild(bool redraw) {
  FOptions.WordWrap = FWrap.WordWrap();  // the options read back the store's state
  // A caret left at a soft row's end is shown at the next row's start.
  FCaret = PositionAfterEdit(FLines, FCaret);
  FAnchor = PositionAfterEdit(FLines, FAnchor);
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  FScrollX = 0;
  FCaretX = CaretXOf(FCaret);
  if (!redraw) return;
  if (!MoveCaretTo(FCaret.Col, FCaret.Row, 0, false, false)) RedrawAll();
}

}  // namespace notavo
