// The state of a search or replace run, kept between steps.
#pragma once

#include <string>

namespace notavo {

struct TSearchParam {
  std::string FFindText;
  int FSearchRow = 0;            // row being searched
  int FSearchLastRow = 0;        // last row of the range, inclusive
  int FSearchRowLen = 0;         // bytes of the searched row (or of the part before the caret)
  int FSearchCol = 0;            // offset in FSearchRow at which the searched text begins
  std::string FSearchBuf;        // the text last handed to OnFind
  bool FSearchForward = false;   // the last step searched forward
  bool FSearchFromCaret = true;  // the next step starts at the caret
  std::string FReplaceText;
  bool FSearchWrapped = false;  // the last step found nothing: start over at the end
  bool FReplaceAsk = false;     // confirm each replacement
  bool FReplaceAbort = false;   // the confirmation asked to stop
  int FHitLen = 0;              // length of the highlighted hit; 0: none
  int FHitCol = 0, FHitRow = 0;
  int FHitCount = 0;  // hits found or replaced in this run

  // What the searched text is, as a place in the rows, so the built-in
  // matcher can read the rows instead of a copy: FSearchRow's bytes from
  // BufStart, up to BufEnd (the row's own bytes) or, with BufEnd < 0, on
  // through the following rows as far as a match starting in the row can
  // reach (the search window).
  int BufStart = 0;
  int BufEnd = -1;
};

}  // namespace notavo
