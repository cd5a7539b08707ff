// TZelEdit: the self-drawn Shift-JIS editor control. The document is one
// TZelStrings of display rows; every position is (row, byte offset in the
// row). The control talks to its window only through TEditorHost, and takes
// window messages through Dispatch with their Win32 numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editor/editing/edit_report.h"
#include "editor/editing/text_ops.h"
#include "editor/editing/undo_log.h"
#include "platform/win_messages.h"
#include "editor/layout/word_wrap.h"
#include "editor/layout/wrap_layout.h"
#include "editor/view/link_state.h"
#include "editor/view/row_widths.h"
#include "platform/editor_host.h"
#include "textstore/zel_strings.h"

namespace notavo {

enum TLineSizeUnit { uPercent, uPixel };
enum TBorderStyle { bsNone, bsSingle };

// The font property: what the application chooses; the control draws with
// the logical font made from it.
struct TFontSpec {
  std::string Name = "FixedSys";
  int Height = -19;  // pixels; negative: character height
  TColor Color = 0;
  std::uint8_t CharSet = TLogFont::kDefaultCharset;
};

struct TSelectionRange {
  bool Selected = false;
  int StartCol = 0, StartRow = 0, EndRow = 0, EndCol = 0;
};

class TZelEdit : private TWrapViewHooks {
 public:
  static constexpr const char* kVersion = "TZelEdit Ver1.24";

  explicit TZelEdit(TEditorHost& host);
  ~TZelEdit() override;
  TZelEdit(const TZelEdit&) = delete;
  TZelEdit& operator=(const TZelEdit&) = delete;

  // ---- window messages ---------------------------------------------------
  // One entry for every message; never lets an exception out. Empty when
  // the message is left to the window's default handling.
  std::optional<win::LRESULT> Dispatch(unsigned message, win::WPARAM wParam, win::LPARAM lParam);
  unsigned GetCaretPosMessage() const { return FMsgGetCaretPos; }
  unsigned SetCaretPosMessage() const { return FMsgSetCaretPos; }

  // ---- document ------------------------------------------------------------
  const TZelStrings& Lines() const { return FLines; }
  // Both return false on any failure and then say why in `error` when
  // given (the file layer's message: the file's name and the system's reason).
  bool LoadFile(const std::string& fileName, std::string* error = nullptr);
  bool SaveFile(const std::string& fileName, std::string* error = nullptr);
  void Clear();
  void Redesign();
  void RefreshView();
  int CaretPixelX() const { return FCaretX + FTextLeft; }
  bool Modified() const { return FModified; }
  void SetModified(bool modified) { FModified = modified; }
  bool InsertMode() const { return FInsertMode; }

  // ---- caret and selection -------------------------------------------------
  bool MoveCaretTo(int col, int row, int viewMode, bool setDesired, bool collapse);
  bool ScrollToCaret(int x, int row, int viewMode, int edge);
  bool GoToPosition(int col, int row, int viewMode);
  void UpdateCaret();
  void ExtendOrClearSelection();
  bool HasSelection() const { return FSelecting || FAllSelected; }
  TSelectionRange GetSelection() const;
  void SetSelection(int anchorCol, int anchorRow, int caretRow, int caretCol);
  void SelectAll();
  std::string GetSelText() const;
  long long GetSelLength() const;
  int GetCaretColumn() const;
  int XToCol(std::string_view row, int x, int& outX) const;
  void HighlightRange(int col, int row, bool erase, TColor background, TColor textColor,
                      int length);
  void ClearSelection();
  // Repaints rows after an edit: mode 0 all visible, 1 from the row above
  // the caret, 2 from the caret row, 3 from row a, 4 the caret row, 5 below
  // the caret row, 6 rows a..b.
  void RepaintRows(int mode, int a, int b);
  void PaintView();
  // Clipboard (CF_TEXT, code page 932 bytes).
  bool CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void InsertDroppedText(std::string_view text);

  // ---- editing ---------------------------------------------------------------
  // Without redraw the caller shows the returned report itself.
  TEditReport DeleteSelection(bool redraw);
  TEditReport InsertTextAtCaret(std::string_view text, bool redraw);
  // Edits made between these are painted once, at the end (replace-all,
  // moving text by drag and drop). They nest.
  void BeginEdits();
  void EndEdits();
  void TypeText(std::string_view text);
  void InsertLineBreak();
  void InsertTab();
  void DeleteCharRight();
  void DeleteCharLeft();
  void DeleteWordRight();
  void DeleteWordLeft();

  // ---- undo ------------------------------------------------------------------
  bool RecordUndo(TUndoKind kind, std::string_view text, int row, int col);
  void Undo();
  void Redo();
  void ClearUndo() { FUndo.ClearUndo(); }
  void ClearRedo() { FUndo.ClearRedo(); }
  void ResetUndo();
  // The document was saved: this state is the unmodified one now. Sets
  // Modified false without raising OnChangeModify.
  void SetSavePoint();
  bool CanUndo() const { return !FUndo.Undo().empty() && UndoBuf > 0; }
  bool CanRedo() const { return !FUndo.Redo().empty(); }
  const TUndoLog& UndoLog() const { return FUndo; }

  // ---- caret moves (keys) ----------------------------------------------------
  void KeyHome();
  void KeyEnd();
  void CaretLeft(bool word);
  void CaretRight(bool word);
  void CaretUpDown(int direction);
  void PageMove(int code);
  void DocumentStart();
  void DocumentEnd();

  int CaretRow() const { return FCaret.Row; }
  int CaretCol() const { return FCaret.Col; }
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  TRowPos Anchor() const { return FAnchor; }
  TRowPos SelEnd() const { return {FSelEndRow, FSelEndCol}; }
  int TopRow() const { return FTopRow; }
  int ScrollX() const { return FScrollX; }
  bool Focused() const { return FTimerEnabled; }

  // ---- view metrics ----------------------------------------------------------
  int CharWidth() const { return FCharWidth; }
  int CharHeight() const { return FCharHeight; }
  int RowPitch() const { return FRowPitch; }
  int TextLeft() const { return FTextLeft; }
  int TextAreaWidth() const { return FTextAreaWidth; }
  int TextAreaHeight() const { return FTextAreaHeight; }
  int VisibleRows() const { return FVisibleRows; }
  int ScrollMarginRows() const { return FScrollMarginRows; }
  int MaxColumn() const { return FMaxColumn; }
  const TLogFont& LogFont() const { return FLogFont; }
  int MaxTopRow() const { return FMaxTopRow; }
  int VScale() const { return FVScale; }
  int HScale() const { return FHScale; }
  int MaxRowWidth() const { return FMaxRowWidth; }
  int ScrollJumpX() const { return FScrollJumpX; }
  int MarkTop() const { return FMarkTop; }
  int MarkBottom() const { return FMarkBottom; }
  // Pixel width of the first `bytes` bytes of `row` after tab expansion.
  int PrefixWidth(std::string_view row, int bytes) const;

  // ---- published properties ------------------------------------------------
  bool UndoRec = true;
  bool CaretScrollFix = false;
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int v);
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int v);
  std::uint8_t ScrollStep = 2;
  bool CurSetMode() const { return FCurSetMode; }
  void SetCurSetMode(bool v);
  TColor SelColor() const { return FSelColor; }
  void SetSelColor(TColor c) { FSelColor = c & 0xFFFFFF; }
  TColor CREOFcolor() const { return FCREOFColor; }
  void SetCREOFcolor(TColor c) { FCREOFColor = c & 0xFFFFFF; }
  int TabCount() const { return FWrap.Params().TabCount; }
  void SetTabCount(int v) {
    FWrap.SetTabCount(v);
    FRowWidths.clear();
  }
  bool ShowEOF = true;
  bool ShowCR = true;
  bool ShowDblSpace = true;
  bool ShowTAB = false;
  int UndoBuf = 0xF8000;
  int LineSpace() const { return FLineSpace; }
  void SetLineSpace(int v);
  TLineSizeUnit LineSpaceUnit() const { return FLineSpaceUnit; }
  void SetLineSpaceUnit(TLineSizeUnit v);
  bool ShowUnderLine = false;
  bool AutoIndent = false;
  TBorderStyle BorderStyle = bsNone;
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  const TFontSpec& Font() const { return FFont; }
  void SetFont(const TFontSpec& font);
  bool ReadOnly = false;
  bool HorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(bool v);
  bool VertScrollBar() const { return FVertScrollBar; }
  void SetVertScrollBar(bool v);
  bool WordWrap() const { return FWrap.WordWrap(); }
  void SetWordWrap(bool v);
  bool AutoWrap() const { return FWrap.Params().AutoWrap; }
  void SetAutoWrap(bool v) { FWrap.SetAutoWrap(v); }
  bool WantTabs = true;
  int Column() const { return FWrap.Params().Column; }
  void SetColumn(int v);
  std::string Inyostr = ">";
  bool ColorPrintF = true;
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor c) { FURLColor = c & 0xFFFFFF; }
  TColor InyoColor() const { return FInyoColor; }
  void SetInyoColor(TColor c) { FInyoColor = c & 0xFFFFFF; }
  TColor UlineColor() const { return FUlineColor; }
  void SetUlineColor(TColor c) { FUlineColor = c & 0xFFFFFF; }
  std::string Version = kVersion;
  bool ShowLineNumber = false;
  int LineNoColumn() const { return FLineNoColumn; }
  void SetLineNoColumn(int v);
  bool SingleByteMode() const { return FWrap.Params().SingleByteMode; }
  void SetSingleByteMode(bool v) { FWrap.SetSingleByteMode(v); }
  int Width = 185;  // control size, pixels
  int Height = 89;

  // ---- events (optional; the sender is the control) -------------------------
  std::function<void(TZelEdit&)> OnChange;
  std::function<void(TZelEdit&, bool modified)> OnChangeModify;
  std::function<void(TZelEdit&, bool redoEnable)> OnChangeRedoMode;
  std::function<void(TZelEdit&, bool insMode)> OnChangeInsMode;
  std::function<void(TZelEdit&)> OnMoveCaret;
  std::function<void(TZelEdit&)> OnSelectionChange;
  std::function<void(TZelEdit&)> OnPaint;
  std::function<void(TZelEdit&, int c1, int c2, int x1, int x2)> OnUserDraw;
  std::function<void(TZelEdit&, int x1, int x2, int l1, int l2)> OnUserClientDraw;
  std::function<void(TZelEdit&)> OnIMEChanging;
  std::function<void(TZelEdit&)> OnIMEChanged;
  std::function<void(TZelEdit&)> OnIMEReConvert;

 private:

  // TWrapViewHooks
  void ForgetFindHit() override;
  void AfterRebuild(bool redraw) override;
  void ReportFailure(std::string_view code) override;

  // construction and lifecycle
  void ResetState();
  void RebuildLogFont();
  void PlaceCompositionWindow(int x, int y);
  void ShowError(std::string_view text);
  void OnCreate();
  void OnSetFocus();
  void OnKillFocus();
  void ResetCaretAfterLayout();
  void RedrawAll();

  // view metrics and geometry
  void SetupFontMetrics();
  void ApplyRowPitch();
  void UpdateGutterWidth();
  void UpdateTextArea();
  int ContentLength(int row) const;
  int ControlWidth() const;

  // painting
  void ResetCanvas();
  void PaintRows(int first, int last);
  void PaintRow(int x, int yOffset, std::string_view bytes);
  void PaintSegment(int row, int from, std::string_view bytes, bool selected, int to);
  void PaintRowSelected(int r, int r1, int c1, int r2, int c2);
  void PaintSelection();
  void RepaintSelectionEnd(int col, int row);
  void RepaintClearedSelection(bool wasAll, int r1, int c1, int r2, int c2);
  void PaintLineEndMark(int x, std::string_view tail, int y);
  void DrawLineEndArrow(int x, int y, TColor color);
  void PaintMarks(const TRect& clip, int x0, const std::vector<int>& tabs, bool inverted,
                  std::string_view text, int y);
  void PlotDot(int x, int y);
  void DottedLine(int x1, int y1, int x2, int y2);
  void EraseBelowRows(int first, int last);
  void PaintGutter(int first, int last);
  void RaiseUserDraw();
  void DrawUnderline(int row, bool erase);
  std::string ExpandRecordingTabs(std::string_view bytes, std::vector<int>* tabs) const;
  bool IsQuoteRow(std::string_view row) const;
  TColor RowTextColor(std::string_view row) const;
  int LastVisibleRow() const;
  int RowWidth(int row);
  int ControlHeight() const;

  // links
  void PaintLinks(int first, int last);
  void PaintLinksClipped(int first, int last, const TRect& clip);
  void LinkPass(int first, int last, const TRect* clip);
  void PaintLinkSpan(int from, int to, const TRect* clip, int row);

  // editing helpers
  TTextOps TextOps();
  void ShowEdit(const TEditReport& report);
  int CaretXOf(TRowPos pos) const;
  void DeleteToColumn(int end);
  void SetModifiedState(bool modified);
  void CollapseToCaret();
  void ReplayStep(bool undoDirection);
  TRowPos SelectionStart() const;
  bool IsLineBreakAt(int row, int col) const;
  void DeleteCharAt(TUndoKind kind);
  void BringCaretIntoView(bool setDesired = true);
  void KeyDown(int key);
  void TypeCharMessage(unsigned code);
  void ImeResult();
  void StartReconvert();
  void ScrollRight(int times);
  void ScrollLeftToCaret();
  void RepaintEditedRow(int row);
  void MoveLeftOneCharacter();

  // scrolling
  bool WidenGutter();
  bool UpdateVScrollBar(bool redraw = true);
  void UpdateHScrollBar(bool redraw = true);
  void Resize();
  // What a vertical scroll does to the caret: keys carry it with the rows,
  // the scroll bar and the wheel do unless CaretScrollFix holds it, and a
  // line break scrolls without moving it.
  enum class TScrollCaret { WithRows, UnlessFixed, Stays };
  struct TRowScroll {
    int Moved = 0;      // rows the view moved
    int CaretRows = 0;  // rows the caret was to follow
  };
  TRowScroll ScrollRows(int code, int thumb, TScrollCaret caret);
  int VScroll(int code, int thumb);
  void HScroll(int code, int thumb);
  void Wheel(int delta);
  void TimerTick();
  void MoveCaretRows(int n);

  // messages
  std::optional<win::LRESULT> HandleMessage(unsigned message, win::WPARAM wParam,
                                            win::LPARAM lParam);
  win::LRESULT GetSelMessage(win::WPARAM wParam, win::LPARAM lParam);
  win::LRESULT SetSelMessage(win::WPARAM wParam, win::LPARAM lParam);
  win::LRESULT LineLengthMessage(win::WPARAM wParam);
  win::LRESULT GetLineMessage(win::WPARAM wParam, win::LPARAM lParam);
  win::LRESULT GetTextMessage(win::WPARAM wParam, win::LPARAM lParam);
  win::LRESULT GetTextLengthMessage();

  TEditorHost& FHost;
  TZelStrings FLines;
  TWrapLayout FWrap;
  std::string FLastOperation;
  unsigned FMsgGetCaretPos = 0;
  unsigned FMsgSetCaretPos = 0;
  bool FWindowCreated = false;
  bool FTimerEnabled = false;
  bool FModified = false;
  bool FInsertMode = true;
  bool FComposing = false;
  bool FRedoReported = false;
  int FEditBatchDepth = 0;
  TEditReport FEditBatch;  // what the open batch of edits changed
  unsigned FPendingLead = 0;  // the first byte of a double-byte WM_CHAR pair
  TUndoLog FUndo;

  // caret and selection
  TRowPos FCaret;   // FCaretRow, FCaretCol
  TRowPos FAnchor;  // FAnchorRow, FAnchorCol
  int FCaretX = 0, FCaretY = 0;
  int FSelEndRow = 0, FSelEndCol = 0;
  int FSelPaintedRow = 0, FSelPaintedCol = 0;
  bool FSelecting = false;
  bool FAllSelected = false;
  bool FMouseSelecting = false;
  bool FTextDragging = false;
  bool FVScrolling = false;
  int FDesiredCol = 0;
  int FDesiredX = 0;
  int FDesiredXCol = -1;  // the FDesiredCol that FDesiredX was computed for
  int FLastCaretCol = 0, FLastCaretRow = 0, FLastCaretX = 0;
  // view
  int FTopRow = 0;
  int FScrollX = 0;
  int FCharWidth = 0, FCharHeight = 0, FRowPitch = 0;
  int FTextLeft = 10, FBaseTextLeft = 10, FGutterWidth = 0, FDigitWidth = 0;
  int FTextAreaWidth = 0, FTextAreaHeight = 0;
  int FVisibleRows = 0, FScrollMarginRows = 0, FScrollJumpX = 0, FCaretRightMargin = 10;
  int FMaxColumn = 0;
  int FMaxTopRow = 0, FMaxRowWidth = 0, FVScale = 1, FHScale = 1;
  int FVisibleCols = 0;
  TRect FTextRect, FAreaRect;
  int FLastVScroll = 0;
  short FLineScrollRun = 0;
  short FAutoScrollDir = 0;
  int FMarkTop = 0, FMarkBottom = 0;  // bytes: cell heights stay below 320
  int FDblSpaceWidth = 0, FDblSpaceHeight = 0, FSpaceWidth = 0;
  int FDotCounter = 0;
  TRowWidthCache FRowWidths{FLines};   // for the horizontal scroll range
  TLinkStateCache FLinkStates{FLines};  // where links run on at row starts
  TPoint FDotStart;
  int FVScrollWidth = 0, FHScrollHeight = 0;
  TLogFont FLogFont;

  // properties with setters
  int FTopMargin = 4;
  int FLeftMargin = 10;
  bool FCurSetMode = true;
  TColor FSelColor = 0;
  TColor FCREOFColor = 0x808000;
  int FLineSpace = 10;
  TLineSizeUnit FLineSpaceUnit = uPercent;
  TColor FColor = 0xFFFFFF;
  TFontSpec FFont;
  bool FHorzScrollBar = false;
  bool FVertScrollBar = true;
  TColor FURLColor = 0xFF0000;
  TColor FInyoColor = 0x808080;
  TColor FUlineColor = 0;
  int FLineNoColumn = 5;
};

}  // namespace notavo
