// The editor control's published properties as one value: each with its
// default, and the ranges every way of setting them goes through.
#pragma once

#include <cstdint>
#include <string>

#include "editor/layout/wrap_params.h"
#include "platform/geometry.h"
#include "platform/log_font.h"

namespace notavo {

enum TLineSizeUnit { uPercent, uPixel };
enum TBorderStyle { bsNone, bsSingle };
// How a press inside the selection starts a drag of the selected text: at
// once, or as the application decides (OnManualStartDrag).
enum TDragMode { dmManual, dmAutomatic };

// The font property: what the application chooses; the control draws with
// the logical font made from it.
struct TFontDesc {
  std::string Name = "FixedSys";
  int Height = -19;  // pixels; negative: character height
  TColor Color = 0;
  std::uint8_t CharSet = TLogFont::kDefaultCharset;
  friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

struct TZelEditOptions {
  static constexpr const char* kVersion = "TZelEdit Ver1.24";
  static constexpr int kMaxMargin = 30;
  static constexpr int kMaxLineSpace = 100;
  static constexpr int kMinLineNoColumn = 1, kMaxLineNoColumn = 5;

  bool UndoRec = true;          // record edits for undo
  bool CaretScrollFix = false;  // bring the caret into view before an edit
  int TopMargin = 4;            // pixels above the first row, 0..30
  int LeftMargin = 10;          // pixels left of the gutter and text, 0..30
  std::uint8_t ScrollStep = 2;  // rows per step once the caret keeps pushing the view
  bool CurSetMode = true;       // caret right margin: 10 pixels, else a fifth of the width
  TColor SelColor = 0;
  TColor CREOFcolor = 0x808000;  // line-end, end-of-text and tab marks
  int TabCount = 6;              // tab stop distance in cells, 1..8 (TWrapParams)
  bool ShowEOF = true;
  bool ShowCR = true;
  bool ShowDblSpace = true;
  bool ShowTAB = false;
  int UndoBuf = 0xF8000;  // undo budget in bytes; 0 turns undo off
  int LineSpace = 10;     // extra space between rows, 0..100
  TLineSizeUnit LineSpaceUnit = uPercent;
  bool ShowUnderLine = false;
  bool AutoIndent = false;
  TBorderStyle BorderStyle = bsNone;  // read when the window is made
  TColor Color = 0xFFFFFF;            // background
  TFontDesc Font;
  bool ReadOnly = false;
  bool HorzScrollBar = false;
  bool VertScrollBar = true;
  bool WordWrap = true;
  bool AutoWrap = false;  // with WordWrap, also cut at the window's edge
  bool WantTabs = true;
  int Column = 72;            // wrap column in cells, at least 10 (TWrapParams)
  std::string Inyostr = ">";  // quote prefix
  bool ColorPrintF = true;    // colour links and quoted lines
  TColor URLColor = 0xFF0000;
  TColor InyoColor = 0x808080;
  TColor UlineColor = 0;
  std::string Version = kVersion;
  bool ShowLineNumber = false;
  int LineNoColumn = 5;         // gutter digits, 1..5
  bool SingleByteMode = false;  // every byte is a character of its own
  TDragMode DragMode = dmAutomatic;
  int DragCursor = 1;  // pointer while dragging text: 1 moves, 2 copies

  // The same options with every number in its range and every colour a
  // plain RGB value.
  TZelEditOptions Clamped() const;

  friend bool operator==(const TZelEditOptions&, const TZelEditOptions&) = default;
};

// What a change of options asks of the control, from the cheapest to the
// dearest. Each flag is the work of its own; the control decides the order
// and does each once.
struct TOptionsWork {
  bool Repaint = false;      // colours, marks, quotes, underline
  bool CaretMargin = false;  // the caret's right margin
  bool RowPitch = false;     // rows move up or down
  bool ScrollBars = false;   // a bar appears or goes
  bool Geometry = false;     // the text's left edge or top moves
  bool Font = false;         // new font metrics, caret and everything after them
  bool TabWidths = false;    // pixel positions in rows with tabs change
  bool CutRows = false;      // wrapped rows are cut differently
  bool WordWrap = false;     // the store switches between rows and logical lines

  // Any work that moves text on the screen or changes the rows.
  bool Layout() const {
    return RowPitch || ScrollBars || Geometry || Font || TabWidths || CutRows || WordWrap;
  }
  bool Any() const { return Repaint || CaretMargin || Layout(); }
};

// Both sides clamped.
TOptionsWork WorkBetween(const TZelEditOptions& from, const TZelEditOptions& to);

}  // namespace notavo
