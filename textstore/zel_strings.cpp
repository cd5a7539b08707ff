#include "textstore/zel_strings.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>

#include "textstore/row_cutter.h"

namespace notavo {

EZelStringsError::EZelStringsError() : std::runtime_error(kIndexErrorMessage) {}

TZelStrings::~TZelStrings() { Clear(); }

void TZelStrings::Error() const { throw EZelStringsError(); }

int TZelStrings::TakeLowestChangedRow() {
  const int row = FLowestChangedRow;
  FLowestChangedRow = kMaxCapacity + 1;
  return row;
}

void TZelStrings::CheckIndex(int index) const {
  if (index < 0 || index >= FCount) Error();
}

bool TZelStrings::IsOwnedRow(int index) const {
  CheckIndex(index);
  return FList[static_cast<std::size_t>(index)].owned();
}

void TZelStrings::Put(int index, std::string_view row) {
  CheckIndex(index);
  TRow copy = TRow::Copy(row);  // `row` may be a view of the row it replaces
  MarkChanged(index);
  FTotalBytes += static_cast<long long>(copy.size()) -
                 static_cast<long long>(FList[static_cast<std::size_t>(index)].size());
  FList[static_cast<std::size_t>(index)] = std::move(copy);
}

void TZelStrings::ReserveSlots(int n) {
  // The slot array grows geometrically underneath the logical capacity so
  // that a long run of small capacity steps never copies the rows each time.
  const std::size_t wanted = static_cast<std::size_t>(n);
  if (wanted > FList.capacity()) FList.reserve(std::max(wanted, FList.capacity() * 3 / 2));
}

void TZelStrings::GrowIfFull() {
  if (FCount < FCapacity) return;
  if (FCapacity >= kMaxCapacity) Error();
  const int delta = std::max(FCount / 128, 32);
  FCapacity = std::min(FCapacity + delta, kMaxCapacity);
  ReserveSlots(FCapacity);
}

int TZelStrings::Add(std::string_view row) {
  TRow copy = TRow::Copy(row);
  GrowIfFull();
  MarkChanged(FCount);
  FTotalBytes += static_cast<long long>(copy.size());
  FList.push_back(std::move(copy));
  return FCount++;
}

void TZelStrings::Insert(int index, std::string_view row) {
  if (index < 0 || index > FCount) Error();
  TRow copy = TRow::Copy(row);
  GrowIfFull();
  MarkChanged(index);
  FTotalBytes += static_cast<long long>(copy.size());
  FList.insert(FList.begin() + index, std::move(copy));
  ++FCount;
}

void TZelStrings::Delete(int index) {
  CheckIndex(index);
  MarkChanged(index);
  FTotalBytes -= static_cast<long long>(FList[static_cast<std::size_t>(index)].size());
  FList.erase(FList.begin() + index);
  --FCount;
}

void TZelStrings::Clear() {
  MarkChanged(0);
  if (FCapacity == 0 && FList.capacity() == 0 && FBlocks.empty()) return;
  std::vector<TRow>().swap(FList);
  TRowBlocks().swap(FBlocks);
  FTotalBytes = 0;
  FCount = 0;
  FCapacity = 0;
}

void TZelStrings::SetCount(int n) {
  if (n < 0 || n > kMaxCapacity) Error();
  if (n > FCapacity) SetCapacity(n);
  MarkChanged(std::min(n, FCount));
  for (int i = n; i < FCount; ++i)
    FTotalBytes -= static_cast<long long>(FList[static_cast<std::size_t>(i)].size());
  FList.resize(static_cast<std::size_t>(n));
  FCount = n;
}

void TZelStrings::SetCapacity(int n) {
  if (n > kMaxCapacity || n < FCount) Error();
  if (n == FCapacity) return;
  FCapacity = n;
  if (n == FCount) {
    FList.shrink_to_fit();
  } else if (static_cast<std::size_t>(n) > FList.capacity()) {
    FList.reserve(static_cast<std::size_t>(n));
  }
}

void TZelStrings::ReplaceRows(int first, int count, std::vector<TRow>&& rows) {
  if (first < 0 || count < 0 || first > FCount || count > FCount - first) Error();
  const std::size_t added = rows.size();
  if (added > static_cast<std::size_t>(kMaxCapacity - (FCount - count))) Error();
  const int newCount = FCount - count + static_cast<int>(added);
  if (newCount > FCapacity) {
    FCapacity = newCount;
    ReserveSlots(newCount);
  }
  MarkChanged(first);
  for (int i = first; i < first + count; ++i) {
    FTotalBytes -= static_cast<long long>(FList[static_cast<std::size_t>(i)].size());
  }
  for (const auto& row : rows) FTotalBytes += static_cast<long long>(row.size());
  // Capacity is reserved: nothing below allocates or throws.
  const auto at = FList.begin() + first;
  const std::size_t overlap = std::min(added, static_cast<std::size_t>(count));
  std::move(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(overlap), at);
  if (added > overlap) {
    FList.insert(at + static_cast<std::ptrdiff_t>(overlap),
                 std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(overlap)),
                 std::make_move_iterator(rows.end()));
  } else {
    FList.erase(at + static_cast<std::ptrdiff_t>(overlap), at + count);
  }
  FCount = newCount;
}

void TZelStrings::ReplaceRows(int first, int count, const std::vector<std::string>& rows) {
  std::vector<TRow> copies;
  copies.reserve(rows.size());
  for (const auto& row : rows) copies.push_back(TRow::Copy(row));
  ReplaceRows(first, count, std::move(copies));
}

std::vector<TRow> TZelStrings::ReleaseRows() noexcept {
  MarkChanged(0);
  std::vector<TRow> rows = std::move(FList);
  FList.clear();
  FTotalBytes = 0;
  FCount = 0;
  FCapacity = 0;
  return rows;
}

void TZelStrings::AdoptRows(std::vector<TRow>&& rows) {
  if (rows.size() > static_cast<std::size_t>(kMaxCapacity)) Error();
  MarkChanged(0);
  FList = std::move(rows);
  FTotalBytes = 0;
  for (const auto& row : FList) FTotalBytes += static_cast<long long>(row.size());
  FCount = static_cast<int>(FList.size());
  FCapacity = FCount;
}

void TZelStrings::AdoptDocument(TRowList&& document) {
  if (document.rows.size() > static_cast<std::size_t>(kMaxCapacity)) Error();
  Clear();
  FBlocks = std::move(document.blocks);
  AdoptRows(std::move(document.rows));
}

std::string TZelStrings::GetText() const {
  std::size_t total = 0;
  for (const auto& row : FList) total += row.size();
  std::string text;
  text.reserve(total);
  for (const auto& row : FList) text.append(row.view());
  // Drop the end-of-text mark (the last two bytes, whatever they are).
  text.resize(total >= 2 ? total - 2 : 0);
  return text;
}

void TZelStrings::SetText(std::string_view text) { AdoptDocument(CutFlatText(text)); }

void TZelStrings::InsertText(int& index, std::string_view text) {
  if (index < 0 || index > FCount) Error();
  TRowList pieces = CutFlatText(text);
  const int added = static_cast<int>(pieces.rows.size());
  // Keep the pieces' bytes before the rows pointing at them go in.
  for (auto& block : pieces.blocks) FBlocks.push_back(std::move(block));
  ReplaceRows(index, 0, std::move(pieces.rows));
  index += added - 1;
  SetCapacity(FCount);
}

void TZelStrings::AddStrings(const std::vector<std::string>& rows) {
  if (rows.size() > static_cast<std::size_t>(kMaxCapacity - FCount)) Error();
  SetCapacity(FCount + static_cast<int>(rows.size()));
  for (const auto& row : rows) Add(row);
}

void TZelStrings::AddStrings(const TZelStrings& rows) {
  std::vector<std::string> copy;  // `rows` may be this store
  copy.reserve(rows.FList.size());
  for (const auto& row : rows.FList) copy.emplace_back(row.view());
  AddStrings(copy);
}

void TZelStrings::Assign(const std::vector<std::string>& rows) {
  std::vector<std::string> copy = rows;  // `rows` may alias our own list
  Clear();
  AddStrings(copy);
}

void TZelStrings::Assign(const TZelStrings& rows) {
  if (&rows == this) return;
  Clear();
  AddStrings(rows);
}

int TZelStrings::IndexOf(std::string_view row) const {
  for (int i = 0; i < FCount; ++i) {
    if (FList[static_cast<std::size_t>(i)].view() == row) return i;
  }
  return -1;
}

void TZelStrings::LoadFromStream(std::istream& stream) {
  std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  Clear();
  if (!bytes.empty()) SetText(bytes);
}

void TZelStrings::SaveToStream(std::ostream& stream) const {
  const std::string text = GetText();
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace notavo
