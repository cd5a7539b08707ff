// What the control's mouse and drag events carry.
#pragma once

namespace notavo {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event, as a set of flags.
using TShiftState = unsigned;
enum : TShiftState {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};

// Where a drag of the control's text is relative to the control.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

}  // namespace notavo
