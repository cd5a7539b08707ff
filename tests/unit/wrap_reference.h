// A literal, slow transcription of the row cut: from `Column` bytes down one
// byte at a time, expanding tabs afresh for each try. The fast cut must give
// the same rows wherever this one gives sound rows.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "editor/layout/tab_expansion.h"
#include "editor/layout/wrap_params.h"
#include "platform/text_measure.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo::testing {

// Returns false when the literal loop would produce a row no reader could
// tell from a line end, or could not make progress.
inline bool ReferenceCut(const std::string& line, const TWrapParams& p,
                         std::vector<std::string>& rows) {
  std::string rest = line;
  int pos = std::min(static_cast<int>(rest.size()), p.Column);
  for (;;) {
    for (;;) {
      const std::string piece =
          ExpandTabs(rest.substr(0, static_cast<std::size_t>(pos)), p.TabCount);
      if (static_cast<int>(piece.size()) > p.Column) {
        --pos;
        continue;
      }
      if (p.AutoWrap) {
        const int width = p.Measurer->TextWidth(piece);
        if (width > p.TextAreaWidth && width > 10 * p.CharWidth) {
          --pos;
          continue;
        }
      }
      break;
    }
    const int limit =
        RowEndsLine(rest) ? static_cast<int>(rest.size()) - 1 : static_cast<int>(rest.size());
    if (pos >= limit) {
      rows.push_back(rest);
      return true;
    }
    if (pos >= 1 && (rest[static_cast<std::size_t>(pos - 1)] == '\r' ||
                     rest[static_cast<std::size_t>(pos - 1)] == '\0')) {
      --pos;
    }
    if (ByteTypeAt(rest, pos, p.SingleByteMode) == btLead) --pos;
    if (pos <= 0) return false;
    const std::string row = rest.substr(0, static_cast<std::size_t>(pos));
    if (RowEndsLine(row)) return false;
    rows.push_back(row);
    rest = rest.substr(static_cast<std::size_t>(pos));
    pos = std::min(static_cast<int>(rest.size()), p.Column);
  }
}

}  // namespace notavo::testing
