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

void TZelStrings::TChangeLog::Mark(int row) {
  // Marks nobody has looked at since the last one join its generation, so a
  // large edit made of many row changes stays one entry of the ring.
  Entry& current = entries_[generation_ % kKept];
  if (!observed_ && current.generation == generation_) {
    current.row = std::min(current.row, row);
    return;
  }
  ++generation_;
  entries_[generation_ % kKept] = {generation_, row};
  observed_ = false;
}

int TZelStrings::TChangeLog::LowestSince(std::uint64_t seen) const {
  observed_ = true;
  if (seen >= generation_) return kNoChange;
  // Generations seen+1 .. generation_ must all still be in the ring.
  if (generation_ - seen >= kKept || seen == 0) return 0;
  int lowest = kNoChange;
  for (std::uint64_t g = seen + 1; g <= generation_; ++g) {
    lowest = std::min(lowest, entries_[g % kKept].row);
  }
  return lowest;
}

void TZelStrings::CheckIndex(int index) const {
  if (index < 0 || index >= FCount) Error();
}

bool TZelStrings::IsOwnedRow(int index) const {
  CheckIndex(index);
  return FList[index].owned();
}

void TZelStrings::Put(int index, std::string_view row) {
  CheckIndex(index);
  TRow copy = TRow::Copy(row);  // `row` may be a view of the row it replaces
  MarkChanged(index);
  TRow& slot = FList[index];
  FTotalBytes += static_cast<long long>(copy.size()) - static_cast<long long>(slot.size());
  FBlocks.Drop(slot);
  slot = std::move(copy);
  FBlocks.Collect();
}

void TZelStrings::GrowIfFull() {
  if (FCount < FCapacity) return;
  if (FCapacity >= kMaxCapacity) Error();
  const int delta = std::max(FCount / 128, 32);
  FCapacity = std::min(FCapacity + delta, kMaxCapacity);
}

int TZelStrings::Add(std::string_view row) {
  TRow copy = TRow::Copy(row);
  GrowIfFull();
  MarkChanged(FCount);
  FTotalBytes += static_cast<long long>(copy.size());
  FList.Insert(FCount, std::move(copy));
  return FCount++;
}

void TZelStrings::Insert(int index, std::string_view row) {
  if (index < 0 || index > FCount) Error();
  TRow copy = TRow::Copy(row);
  GrowIfFull();
  MarkChanged(index);
  FTotalBytes += static_cast<long long>(copy.size());
  FList.Insert(index, std::move(copy));
  ++FCount;
}

void TZelStrings::Delete(int index) {
  CheckIndex(index);
  MarkChanged(index);
  FTotalBytes -= static_cast<long long>(FList[index].size());
  FBlocks.Drop(FList[index]);
  FList.Erase(index, 1);
  --FCount;
  FBlocks.Collect();
}

void TZelStrings::Clear() {
  MarkChanged(0);
  if (FCapacity == 0 && FCount == 0 && FBlocks.Count() == 0) return;
  FList.Clear();
  FBlocks.Clear();
  FTotalBytes = 0;
  FCount = 0;
  FCapacity = 0;
}

void TZelStrings::SetCount(int n) {
  if (n < 0 || n > kMaxCapacity) Error();
  if (n > FCapacity) SetCapacity(n);
  MarkChanged(std::min(n, FCount));
  if (n < FCount) {
    for (int i = n; i < FCount; ++i) {
      FTotalBytes -= static_cast<long long>(FList[i].size());
      FBlocks.Drop(FList[i]);
    }
    FList.Erase(n, FCount - n);
  } else if (n > FCount) {
    FList.Insert(FCount, std::vector<TRow>(static_cast<std::size_t>(n - FCount)));
  }
  FCount = n;
  FBlocks.Collect();
}

void TZelStrings::SetCapacity(int n) {
  if (n > kMaxCapacity || n < FCount) Error();
  FCapacity = n;  // rows live in chunks: the capacity is a bookkeeping figure
}

void TZelStrings::ReplaceRows(int first, int count, std::vector<TRow>&& rows) {
  if (first < 0 || count < 0 || first > FCount || count > FCount - first) Error();
  const std::size_t added = rows.size();
  if (added > static_cast<std::size_t>(kMaxCapacity - (FCount - count))) Error();
  const int newCount = FCount - count + static_cast<int>(added);
  FCapacity = std::max(FCapacity, newCount);
  MarkChanged(first);
  // The new rows may be pieces of the ones they replace: both counts change
  // before any block is freed, which happens only once the splice is done.
  for (int i = first; i < first + count; ++i) {
    FTotalBytes -= static_cast<long long>(FList[i].size());
    FBlocks.Drop(FList[i]);
  }
  for (const auto& row : rows) {
    FTotalBytes += static_cast<long long>(row.size());
    FBlocks.Hold(row);
  }
  // Overwrite the overlap in place, then insert or erase the difference.
  const int overlap = static_cast<int>(std::min(added, static_cast<std::size_t>(count)));
  for (int i = 0; i < overlap; ++i) FList[first + i] = std::move(rows[static_cast<std::size_t>(i)]);
  if (static_cast<int>(added) > overlap) {
    rows.erase(rows.begin(), rows.begin() + overlap);
    FList.Insert(first + overlap, std::move(rows));
  } else if (count > overlap) {
    FList.Erase(first + overlap, count - overlap);
  }
  FCount = newCount;
  FBlocks.Collect();
}

void TZelStrings::ReplaceRows(int first, int count, const std::vector<std::string>& rows) {
  std::vector<TRow> copies;
  copies.reserve(rows.size());
  for (const auto& row : rows) copies.push_back(TRow::Copy(row));
  ReplaceRows(first, count, std::move(copies));
}

std::vector<TRow> TZelStrings::ReleaseRows() {
  std::vector<TRow> rows = FList.Release();  // all or nothing
  FBlocks.Lend();
  MarkChanged(0);
  FTotalBytes = 0;
  FCount = 0;
  FCapacity = 0;
  return rows;
}

void TZelStrings::AdoptRows(std::vector<TRow>&& rows) {
  if (rows.size() > static_cast<std::size_t>(kMaxCapacity)) Error();
  MarkChanged(0);
  const int count = static_cast<int>(rows.size());
  FList.Assign(std::move(rows));
  // Counted once the rows are in, so a failed Assign leaves the old counts.
  FBlocks.StartRecount();
  long long total = 0;
  FList.ForEach([&](const TRow& row) {
    total += static_cast<long long>(row.size());
    FBlocks.Hold(row);
  });
  FTotalBytes = total;
  FCount = count;
  FCapacity = FCount;
  FBlocks.Collect();
}

void TZelStrings::AdoptDocument(TRowList&& document) {
  if (document.rows.size() > static_cast<std::size_t>(kMaxCapacity)) Error();
  Clear();
  FBlocks.Add(std::move(document.blocks));
  AdoptRows(std::move(document.rows));
}

std::string TZelStrings::GetText() const {
  std::size_t total = 0;
  FList.ForEach([&](const TRow& row) { total += row.size(); });
  std::string text;
  text.reserve(total);
  FList.ForEach([&](const TRow& row) { text.append(row.view()); });
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
  FBlocks.Add(std::move(pieces.blocks));
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
  copy.reserve(static_cast<std::size_t>(rows.FCount));
  rows.FList.ForEach([&](const TRow& row) { copy.emplace_back(row.view()); });
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
    if (FList[i].view() == row) return i;
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
