#include "app/choices/wrap_choice.h"

#include <algorithm>
#include <charconv>

namespace notavo {

void TWrapBoxes::SetChecked(TWrapBox box, bool checked) {
  if (IsChecked(box) == checked) return;
  Checked[static_cast<int>(box)] = checked;
  RunClickRule(box);
}

// Unchecking another box runs that box's rule first; the enabling steps
// here run last and decide the final states.
void TWrapBoxes::RunClickRule(TWrapBox box) {
  using enum TWrapBox;
  switch (box) {
    case NoReturn:
      if (IsChecked(NoReturn) && (IsChecked(RightReturn) || IsChecked(SetReturn))) {
        SetChecked(RightReturn, false);
        SetChecked(SetReturn, false);
        ColumnEnabled = false;
      }
      break;
    case RightReturn:
      if (IsChecked(RightReturn) && (IsChecked(SetReturn) || IsChecked(NoReturn))) {
        SetChecked(SetReturn, false);
        SetChecked(NoReturn, false);
        ColumnEnabled = false;
      }
      break;
    case SetReturn:
      if (IsChecked(SetReturn)) {
        SetChecked(RightReturn, false);
        SetChecked(NoReturn, false);
        ColumnEnabled = true;
      }
      break;
  }
  for (TWrapBox other : {NoReturn, RightReturn, SetReturn}) SetEnabled(other, other != box);
}

void LoadWrapBoxes(TWrapBoxes& boxes, const std::function<bool(TWrapBox, bool)>& read) {
  using enum TWrapBox;
  for (TWrapBox box : {RightReturn, SetReturn, NoReturn}) {
    boxes.SetChecked(box, read(box, boxes.IsChecked(box)));
  }
  if (boxes.IsChecked(RightReturn)) {
    boxes.Enabled[static_cast<int>(RightReturn)] = false;
    boxes.ColumnEnabled = false;
  } else if (boxes.IsChecked(NoReturn)) {
    boxes.Enabled[static_cast<int>(NoReturn)] = false;
    boxes.ColumnEnabled = false;
  } else {
    boxes.Enabled[static_cast<int>(SetReturn)] = false;
    boxes.ColumnEnabled = true;
  }
}

TWrapConfig WrapConfigFor(TWrapBox mode, int column, int maxColumn) {
  switch (mode) {
    case TWrapBox::NoReturn:
      return {false, maxColumn, true};
    case TWrapBox::RightReturn:
      return {true, maxColumn, false};
    case TWrapBox::SetReturn:
      return {false, column, true};
  }
  return {};
}

std::optional<int> ParseColumn(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

TWrapOutcome DecideWrap(const TWrapBoxes& boxes, std::string_view columnText, int maxColumn) {
  using enum TWrapBox;
  TWrapOutcome outcome;
  const std::optional<int> typed = ParseColumn(columnText);
  const int column = typed.value_or(kColumnForNonNumber);
  for (TWrapBox mode : {NoReturn, RightReturn, SetReturn}) {
    if (boxes.IsChecked(mode)) {
      outcome.Config = WrapConfigFor(mode, column, maxColumn);
      break;
    }
  }
  if (boxes.IsChecked(SetReturn) && !boxes.IsChecked(NoReturn) && !boxes.IsChecked(RightReturn)) {
    if (column < kMinWrapColumn) {
      outcome.Refusal = TColumnRefusal::BelowTen;
    } else if (column > maxColumn) {
      outcome.Refusal = TColumnRefusal::AboveMax;
    }
    if (outcome.Refusal != TColumnRefusal::None) outcome.Config->Column = maxColumn;
  }
  if (outcome.Refusal != TColumnRefusal::None) {
    outcome.SetNum = maxColumn;
  } else {
    outcome.SetNum = typed ? *typed : std::min(kColumnForNonNumber, maxColumn);
  }
  return outcome;
}

}  // namespace notavo
