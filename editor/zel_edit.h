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
#include <utility>
#include <vector>

#include "editor/editing/edit_report.h"
#include "editor/editing/text_ops.h"
#include "editor/editing/undo_log.h"
#include "editor/input/message_batch.h"
#include "editor/input/mouse_types.h"
#include "editor/layout/word_wrap.h"
#include "editor/layout/wrap_layout.h"
#include "editor/search/search_param.h"
#include "editor/view/link_state.h"
#include "editor/view/row_widths.h"
#include "editor/zel_edit_options.h"
#include "platform/editor_host.h"
#include "platform/win_messages.h"
#include "textstore/zel_strings.h"

namespace notavo {

struct TSelectionRange {
  bool Selected = false;
  int StartCol = 0, StartRow = 0, EndRow = 0, EndCol = 0;
};

class TZelEdit : private TWrapViewHooks {
  // First, so that the property names below can refer into it.
  TZelEditOptions FOptions;

 public:
  static constexpr const char* kVersion = TZelEditOptions::kVersion;

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

  // ---- mouse -----------------------------------------------------------------
  // The caret to the row and byte offset under a client point; FScrollX
  // follows so that it stays in view.
  void SetCaretFromPoint(int x, int y);
  // Whether the caret lies inside the selection, its ends included (false
  // without a selection).
  bool IsCaretInSelection() const;
  // Starts a drag of the selected text while the left button is held. A
  // press inside the selection does it with DragMode dmAutomatic; with
  // dmManual the application calls it when it wants a drag.
  void BeginDrag();
  bool MouseSelecting() const { return FMouseSelecting; }
  bool TextDragging() const { return FTextDragging; }
  int AutoScrollDir() const { return FAutoScrollDir; }
  int LastMouseX() const { return FLastMouseX; }
  int LastMouseY() const { return FLastMouseY; }
  // The menu shown on a right-button press (a menu handle; 0: none).
  std::uintptr_t PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(std::uintptr_t menu) { FPopupMenu = menu; }

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

  // ---- search and replace --------------------------------------------------
  // Steps of a search run: each places the caret on the next hit and raises
  // OnFindHit, or raises OnFindNoHit; the matching itself is OnFind's.
  void SetSearchText(std::string_view text);
  void FindFirst();
  void FindNext();
  void FindPrev();
  // Replaces the hits in the selection's rows (or everywhere), asking
  // OnFindChange before each one when `confirm` is true.
  void ReplaceAll(std::string_view find, std::string_view replacement, bool wholeDocument,
                  bool confirm);
  // Replaces (fromRow, fromCol)..(toRow, toCol) by `text`; toRow < 0 only
  // inserts. A negative from row or column means the anchor's.
  void ReplaceRange(std::string_view text, int fromCol, bool repaint, int toRow, int toCol,
                    int fromRow);
  void PaintFoundText(TColor color);
  // Drops the hit's highlight; the next step starts at the caret.
  void RemoveHitHighlight();
  const TSearchParam& SearchState() const { return FSearch; }

  // ---- undo ------------------------------------------------------------------
  bool RecordUndo(TUndoKind kind, std::string_view text, int row, int col);
  // The same with the position already logical (line, offset in the line).
  bool RecordUndoStep(TUndoKind kind, std::string_view text, int line, int col);
  void Undo();
  void Redo();
  void ClearUndo() { FUndo.ClearUndo(); }
  void ClearRedo() { FUndo.ClearRedo(); }
  void ResetUndo();
  // The document was saved: this state is the unmodified one now. Sets
  // Modified false without raising OnChangeModify.
  void SetSavePoint();
  bool CanUndo() const { return !FUndo.Undo().empty() && FOptions.UndoBuf > 0; }
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
  // All of them in one value. ApplyOptions clamps the new value and does
  // what the differences need, each once: nothing, a repaint, new font
  // metrics and geometry, or the rows wrapped again.
  const TZelEditOptions& Options() const { return FOptions; }
  void ApplyOptions(const TZelEditOptions& options);
  // Whole-store rebuilds of the rows so far (each unwrap or wrap).
  int RowRebuilds() const { return FWrap.Rebuilds(); }

  // One property at a time: ApplyOptions with that value changed.
  void SetUndoRec(bool v) { SetOption(&TZelEditOptions::UndoRec, v); }
  void SetCaretScrollFix(bool v) { SetOption(&TZelEditOptions::CaretScrollFix, v); }
  int TopMargin() const { return FOptions.TopMargin; }
  void SetTopMargin(int v) { SetOption(&TZelEditOptions::TopMargin, v); }
  int LeftMargin() const { return FOptions.LeftMargin; }
  void SetLeftMargin(int v) { SetOption(&TZelEditOptions::LeftMargin, v); }
  void SetScrollStep(std::uint8_t v) { SetOption(&TZelEditOptions::ScrollStep, v); }
  bool CurSetMode() const { return FOptions.CurSetMode; }
  void SetCurSetMode(bool v) { SetOption(&TZelEditOptions::CurSetMode, v); }
  TColor SelColor() const { return FOptions.SelColor; }
  void SetSelColor(TColor c) { SetOption(&TZelEditOptions::SelColor, c); }
  TColor CREOFcolor() const { return FOptions.CREOFcolor; }
  void SetCREOFcolor(TColor c) { SetOption(&TZelEditOptions::CREOFcolor, c); }
  int TabCount() const { return FOptions.TabCount; }
  void SetTabCount(int v) { SetOption(&TZelEditOptions::TabCount, v); }
  void SetShowEOF(bool v) { SetOption(&TZelEditOptions::ShowEOF, v); }
  void SetShowCR(bool v) { SetOption(&TZelEditOptions::ShowCR, v); }
  void SetShowDblSpace(bool v) { SetOption(&TZelEditOptions::ShowDblSpace, v); }
  void SetShowTAB(bool v) { SetOption(&TZelEditOptions::ShowTAB, v); }
  void SetUndoBuf(int v) { SetOption(&TZelEditOptions::UndoBuf, v); }
  int LineSpace() const { return FOptions.LineSpace; }
  void SetLineSpace(int v) { SetOption(&TZelEditOptions::LineSpace, v); }
  TLineSizeUnit LineSpaceUnit() const { return FOptions.LineSpaceUnit; }
  void SetLineSpaceUnit(TLineSizeUnit v) { SetOption(&TZelEditOptions::LineSpaceUnit, v); }
  void SetShowUnderLine(bool v) { SetOption(&TZelEditOptions::ShowUnderLine, v); }
  void SetAutoIndent(bool v) { SetOption(&TZelEditOptions::AutoIndent, v); }
  void SetBorderStyle(TBorderStyle v) { SetOption(&TZelEditOptions::BorderStyle, v); }
  TColor Color() const { return FOptions.Color; }
  void SetColor(TColor c) { SetOption(&TZelEditOptions::Color, c); }
  const TFontDesc& Font() const { return FOptions.Font; }
  void SetFont(const TFontDesc& font) { SetOption(&TZelEditOptions::Font, font); }
  void SetReadOnly(bool v) { SetOption(&TZelEditOptions::ReadOnly, v); }
  bool HorzScrollBar() const { return FOptions.HorzScrollBar; }
  void SetHorzScrollBar(bool v) { SetOption(&TZelEditOptions::HorzScrollBar, v); }
  bool VertScrollBar() const { return FOptions.VertScrollBar; }
  void SetVertScrollBar(bool v) { SetOption(&TZelEditOptions::VertScrollBar, v); }
  // The store's state: rows (true) or logical lines.
  bool WordWrap() const { return FWrap.WordWrap(); }
  void SetWordWrap(bool v) { SetOption(&TZelEditOptions::WordWrap, v); }
  bool AutoWrap() const { return FOptions.AutoWrap; }
  void SetAutoWrap(bool v) { SetOption(&TZelEditOptions::AutoWrap, v); }
  void SetWantTabs(bool v) { SetOption(&TZelEditOptions::WantTabs, v); }
  int Column() const { return FOptions.Column; }
  // A value other than the column's lays the rows out again, even one that
  // clamps to the same column.
  void SetColumn(int v);
  void SetInyostr(const std::string& v) { SetOption(&TZelEditOptions::Inyostr, v); }
  void SetColorPrintF(bool v) { SetOption(&TZelEditOptions::ColorPrintF, v); }
  TColor URLColor() const { return FOptions.URLColor; }
  void SetURLColor(TColor c) { SetOption(&TZelEditOptions::URLColor, c); }
  TColor InyoColor() const { return FOptions.InyoColor; }
  void SetInyoColor(TColor c) { SetOption(&TZelEditOptions::InyoColor, c); }
  TColor UlineColor() const { return FOptions.UlineColor; }
  void SetUlineColor(TColor c) { SetOption(&TZelEditOptions::UlineColor, c); }
  const std::string& Version() const { return FOptions.Version; }
  void SetShowLineNumber(bool v) { SetOption(&TZelEditOptions::ShowLineNumber, v); }
  int LineNoColumn() const { return FOptions.LineNoColumn; }
  void SetLineNoColumn(int v) { SetOption(&TZelEditOptions::LineNoColumn, v); }
  bool SingleByteMode() const { return FOptions.SingleByteMode; }
  void SetSingleByteMode(bool v) { SetOption(&TZelEditOptions::SingleByteMode, v); }
  TDragMode DragMode() const { return FOptions.DragMode; }
  void SetDragMode(TDragMode v) { SetOption(&TZelEditOptions::DragMode, v); }
  int DragCursor() const { return FOptions.DragCursor; }
  void SetDragCursor(int v) { SetOption(&TZelEditOptions::DragCursor, v); }

  // The plain properties under their own names, read-only views of
  // FOptions' fields: every change goes through SetX or ApplyOptions.
  const bool& UndoRec = FOptions.UndoRec;
  const bool& CaretScrollFix = FOptions.CaretScrollFix;
  const std::uint8_t& ScrollStep = FOptions.ScrollStep;
  const bool& ShowEOF = FOptions.ShowEOF;
  const bool& ShowCR = FOptions.ShowCR;
  const bool& ShowDblSpace = FOptions.ShowDblSpace;
  const bool& ShowTAB = FOptions.ShowTAB;
  const int& UndoBuf = FOptions.UndoBuf;
  const bool& ShowUnderLine = FOptions.ShowUnderLine;
  const bool& AutoIndent = FOptions.AutoIndent;
  const TBorderStyle& BorderStyle = FOptions.BorderStyle;
  const bool& ReadOnly = FOptions.ReadOnly;
  const bool& WantTabs = FOptions.WantTabs;
  const std::string& Inyostr = FOptions.Inyostr;
  const bool& ColorPrintF = FOptions.ColorPrintF;
  const bool& ShowLineNumber = FOptions.ShowLineNumber;

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
  // Where `findchr` occurs in `Str` (the text of row `index` from where the
  // search stands): x = its 1-based position or 0; len = the match length.
  std::function<void(TZelEdit&, std::string_view Str, std::string_view findchr, int index, int& x,
                     int& len)>
      OnFind;
  std::function<void(TZelEdit&, std::string_view findchr, int x, int y, int len, int Count)>
      OnFindHit;
  std::function<void(TZelEdit&, std::string_view findchr)> OnFindNoHit;
  std::function<void(TZelEdit&, std::string_view findchr, std::string_view Changechr, int x, int y,
                     int len, int Count, bool& ChangeF, bool& kakuninF, bool& AbortF)>
      OnFindChange;
  std::function<void(TZelEdit&, std::string_view findchr, std::string_view ChangeStr, int Count)>
      OnFindChangeEnd;
  // Mouse and drag events, raised before the control's own handling (the
  // press's last). A drag only ever carries the control's own text.
  std::function<void(TZelEdit&, TMouseButton, TShiftState, int x, int y)> OnMouseDown;
  std::function<void(TZelEdit&, TShiftState, int x, int y)> OnMouseMove;
  std::function<void(TZelEdit&, TMouseButton, TShiftState, int x, int y)> OnMouseUp;
  std::function<void(TZelEdit&)> OnDblClick;
  std::function<void(TZelEdit&)> OnStartDrag;
  std::function<void(TZelEdit&, int x, int y, TDragState)> OnDragOver;
  std::function<void(TZelEdit&, int x, int y)> OnDragDrop;
  // droppedOnControl: the drag ended over the control (else anywhere else).
  std::function<void(TZelEdit&, bool droppedOnControl, int x, int y)> OnEndDrag;
  std::function<void(TZelEdit&, std::string_view selectStr, bool& canDrag)> OnManualStartDrag;

 private:
  template <typename T, typename V>
  void SetOption(T TZelEditOptions::*field, V&& value) {
    TZelEditOptions changed = FOptions;
    changed.*field = std::forward<V>(value);
    ApplyOptions(changed);
  }
  // The parts of ApplyOptions and Redesign.
  void LoadFont();
  void ShowScrollBars();
  void PlaceTextArea();
  // Wraps or unwraps the store as `wrap` says, and with `recut` wraps
  // wrapped rows again; true when the rows were rebuilt (and, with
  // `redraw`, shown).
  bool ReflowRows(bool wrap, bool recut, bool redraw);

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
  void PaintGutterStrip(int top, int bottom, int first, int last);
  int GutterBottom(int last) const;
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
  TEditReport ApplyEdit(const TEditReport& report, bool redraw);
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
  void ShowScrolledRows(int delta);
  int VScroll(int code, int thumb);
  void HScroll(int code, int thumb);
  void Wheel(int delta);
  void TimerTick();
  void MoveCaretRows(int n);

  // search steps
  bool BuiltInMatcher() const;
  std::string SearchWindow(int row, int skip) const;
  void SearchFromWindow(int row, int skip);
  void AskFind(int& x, int& len, bool resetLen);
  bool BeginFindStep();
  bool ForwardStep(bool replacing);
  void BackwardStep();
  void DropHit(bool repaint);
  void ShowHit(int col, int len);
  TRowPos PositionAfterBytes(TRowPos from, long long bytes) const;
  bool ReplaceHit(int col, int len);
  bool BulkReplaceLine();
  // mouse
  std::optional<win::LRESULT> MouseMessage(unsigned message, win::WPARAM wParam,
                                           win::LPARAM lParam);
  TShiftState ShiftStateOf(win::WPARAM keys);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  bool LeftPress(int x, int y);
  void SelectRowFromGutter();
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void EndMouseSelection();
  void DblClick();
  void MouseSelectMove(int x, int y);
  void CaptureLost();
  // dragging text
  void StartTextDrag();
  void DragOverAt(int x, int y);
  void FinishTextDrag(int x, int y);
  void DropText(std::string_view text);
  void EndTextDrag();
  void DragKey(bool ctrlDown);
  void SetDragPointer(int dragCursor);
  long long OffsetOf(TRowPos pos) const;
  TRowPos RowPosAtOffset(long long offset, int near) const;

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
  TDeferredCaret FCaretHost;  // the host's caret, placed once per message
  TKeyStateCache FKeys;       // the host's keyboard, read once per message
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
  TEditReport FEditBatch;     // what the open batch of edits changed
  unsigned FPendingLead = 0;  // the first byte of a double-byte WM_CHAR pair
  TUndoLog FUndo;
  TSearchParam FSearch;

  // caret and selection
  TRowPos FCaret;   // FCaretRow, FCaretCol
  TRowPos FAnchor;  // FAnchorRow, FAnchorCol
  int FCaretX = 0, FCaretY = 0;
  int FSelEndRow = 0, FSelEndCol = 0;
  int FSelPaintedRow = 0, FSelPaintedCol = 0;
  bool FSelecting = false;
  bool FAllSelected = false;
  bool FMouseSelecting = false;  // the left button is held, or a text drag runs
  bool FTextDragging = false;
  bool FDblClicked = false;  // the next press is a double click's second one
  bool FSavedCaretScrollFix = false;
  int FSavedDragCursor = 1;
  int FDragSelEndCol = 0, FDragSelEndRow = 0;  // painted selection end at the drag's start
  int FLastMouseX = 0, FLastMouseY = 0;
  bool FDragOverControl = false;  // the text drag's pointer is over the control
  std::uintptr_t FPopupMenu = 0;
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
  int FHRange = 0;  // the horizontal bar's range as last set
  int FVisibleCols = 0;
  TRect FTextRect, FAreaRect;
  int FLastVScroll = 0;
  short FLineScrollRun = 0;
  short FAutoScrollDir = 0;
  int FMarkTop = 0, FMarkBottom = 0;  // bytes: cell heights stay below 320
  int FDblSpaceWidth = 0, FDblSpaceHeight = 0, FSpaceWidth = 0;
  int FDotCounter = 0;
  TRowWidthCache FRowWidths{FLines};    // for the horizontal scroll range
  TLinkStateCache FLinkStates{FLines};  // where links run on at row starts
  TPoint FDotStart;
  int FVScrollWidth = 0, FHScrollHeight = 0;
  TLogFont FLogFont;

  // The other properties under the names the drawing code reads. The
  // search-hit painting lends the selection, mark and font colours other
  // values for a moment and puts them back, so those three are writable.
  TColor& FSelColor = FOptions.SelColor;
  TColor& FCREOFColor = FOptions.CREOFcolor;
  TFontDesc& FFont = FOptions.Font;
  const int& FTopMargin = FOptions.TopMargin;
  const int& FLeftMargin = FOptions.LeftMargin;
  const bool& FCurSetMode = FOptions.CurSetMode;
  const int& FLineSpace = FOptions.LineSpace;
  const TLineSizeUnit& FLineSpaceUnit = FOptions.LineSpaceUnit;
  const TColor& FColor = FOptions.Color;
  const bool& FHorzScrollBar = FOptions.HorzScrollBar;
  const bool& FVertScrollBar = FOptions.VertScrollBar;
  const TColor& FURLColor = FOptions.URLColor;
  const TColor& FInyoColor = FOptions.InyoColor;
  const TColor& FUlineColor = FOptions.UlineColor;
  const int& FLineNoColumn = FOptions.LineNoColumn;
};

}  // namespace notavo
