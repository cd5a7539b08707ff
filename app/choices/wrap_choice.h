// The wrap dialog's choice: three check boxes that act as one choice (the
// chosen box disabled so that it cannot be unchecked), the column box
// enabled only for wrapping at a column, and what OK makes of them.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace notavo {

enum class TWrapBox { NoReturn, RightReturn, SetReturn };

struct TWrapBoxes {
  // As the dialog is made: no wrapping checked, every box enabled, the
  // column box disabled.
  bool Checked[3] = {true, false, false};
  bool Enabled[3] = {true, true, true};
  bool ColumnEnabled = false;

  bool IsChecked(TWrapBox box) const { return Checked[static_cast<int>(box)]; }
  bool IsEnabled(TWrapBox box) const { return Enabled[static_cast<int>(box)]; }

  // The box's state becomes `checked`; when that changes it, the box's
  // click rule runs, as for a click (which toggles the box).
  void SetChecked(TWrapBox box, bool checked);
  void Click(TWrapBox box) { SetChecked(box, !IsChecked(box)); }

  friend bool operator==(const TWrapBoxes&, const TWrapBoxes&) = default;

 private:
  void RunClickRule(TWrapBox box);
  void SetEnabled(TWrapBox box, bool enabled) { Enabled[static_cast<int>(box)] = enabled; }
};

// The boxes as the dialog shows them: RightReturn, SetReturn and NoReturn
// read in that order through `read` (key, the box's current state as the
// default), each set as a click would, then the chosen box disabled.
void LoadWrapBoxes(TWrapBoxes& boxes, const std::function<bool(TWrapBox, bool)>& read);

// How the editor wraps in one mode.
struct TWrapConfig {
  bool AutoWrap = false;
  int Column = 0;  // the editor raises it to at least 10
  bool HorzScrollBar = true;
  friend bool operator==(const TWrapConfig&, const TWrapConfig&) = default;
};

// The mode table: no wrapping and wrapping at the window's edge wrap at
// `maxColumn` (out of reach); wrapping at a column uses `column`.
TWrapConfig WrapConfigFor(TWrapBox mode, int column, int maxColumn);

// Why a typed column was refused.
enum class TColumnRefusal { None, BelowTen, AboveMax };

struct TWrapOutcome {
  std::optional<TWrapConfig> Config;  // none when no box is checked
  TColumnRefusal Refusal = TColumnRefusal::None;
  int SetNum = 0;  // the "SetNum" to store
};

inline constexpr int kMinWrapColumn = 10;
// The column taken when the typed text is not a number.
inline constexpr int kColumnForNonNumber = 1000;

// The column box's text as a decimal number (an optional sign and digits,
// nothing else); nullopt for anything else.
std::optional<int> ParseColumn(std::string_view text);

// OK: the mode of the first checked box (NoReturn, RightReturn, SetReturn)
// and, for SetReturn, the column checked against 10 ... `maxColumn`: a
// refused column wraps at `maxColumn`. "SetNum" is the column the mode of
// SetReturn stands for: `maxColumn` when refused, the typed number, or for
// a text that is no number the column it wraps at (1000, or `maxColumn`
// when that is smaller), never an error.
TWrapOutcome DecideWrap(const TWrapBoxes& boxes, std::string_view columnText, int maxColumn);

}  // namespace notavo
