// Fuzzes flat text and comma text: SetText, InsertText, GetCommaText and
// SetCommaText on arbitrary bytes never crash, flat text is cut exactly like
// an independent reference, and comma text round-trips the rows it can
// represent.
//
// Input layout: byte 0 picks where the base text ends, byte 1 the insert
// position; the rest is split into base text and inserted text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "textstore/zel_strings.h"

namespace {

using notavo::TZelStrings;
namespace fz = notavo::fuzz;

std::vector<std::string> Rows(const TZelStrings& s) {
  std::vector<std::string> rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s[i]);
  return rows;
}

void CheckFlatText(std::string_view base, std::string_view insert, unsigned where) {
  TZelStrings doc;
  doc.SetText(base);
  const std::vector<std::string> baseRows = Rows(doc);
  FUZZ_CHECK(baseRows == fz::ReferenceFlatPieces(base));
  std::string joined;
  for (const auto& row : baseRows) joined += row;
  FUZZ_CHECK(joined == base);
  FUZZ_CHECK(doc.Capacity() == doc.Count());

  int index = static_cast<int>(where % (baseRows.size() + 1));
  const int first = index;
  const std::vector<std::string> pieces = fz::ReferenceFlatPieces(insert);
  doc.InsertText(index, insert);
  FUZZ_CHECK(index == first + static_cast<int>(pieces.size()) - 1);
  std::vector<std::string> expected = baseRows;
  expected.insert(expected.begin() + first, pieces.begin(), pieces.end());
  FUZZ_CHECK(Rows(doc) == expected);
  FUZZ_CHECK(doc.Capacity() == doc.Count());

  // Comma text of arbitrary rows: never crashes, holds every row's bytes.
  std::size_t rowBytes = 0;
  for (const auto& row : expected) rowBytes += row.size();
  const std::string comma = doc.GetCommaText();
  FUZZ_CHECK(comma.size() >= rowBytes + expected.size() - 1);
}

// Comma text read from arbitrary bytes: items never hold a CR, NUL or
// quote, and unquoted items never hold a comma.
void CheckCommaParse(std::string_view text) {
  TZelStrings doc;
  doc.SetCommaText(text);
  for (int i = 0; i < doc.Count(); ++i) {
    FUZZ_CHECK(doc[i].find_first_of(std::string_view("\r\0\"", 3)) == std::string::npos);
  }
  FUZZ_CHECK(static_cast<std::size_t>(doc.Count()) <= text.size());
  (void)doc.GetCommaText();
}

// Rows without quote, CR or NUL come back from their comma text unchanged,
// except that an empty last row cannot be told from a trailing comma.
void CheckCommaRoundTrip(std::string_view bytes) {
  std::vector<std::string> rows(1);
  for (char c : bytes) {
    if (c == '\n') {
      rows.emplace_back();  // LF separates the rows of this test
    } else if (c == '"' || c == '\r' || c == '\0') {
      rows.back() += ' ';
    } else {
      rows.back() += c;
    }
  }
  TZelStrings doc;
  for (const auto& row : rows) doc.Add(row);
  TZelStrings back;
  back.SetCommaText(doc.GetCommaText());
  if (rows.back().empty()) rows.pop_back();
  FUZZ_CHECK(Rows(back) == rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t split = std::min<std::size_t>(data[0] * rest.size() / 255, rest.size());
  CheckFlatText(rest.substr(0, split), rest.substr(split), data[1]);
  CheckCommaParse(rest);
  CheckCommaRoundTrip(rest);
  return 0;
}
