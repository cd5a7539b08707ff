#include "textstore/row.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/large_block.h"

namespace notavo {

namespace {
void CheckRowSize(std::size_t size) {
  if (size > TRow::kMaxSize) throw std::length_error("row too long");
}
}  // namespace

TRow TRow::View(const char* data, std::size_t size) {
  CheckRowSize(size);
  TRow row;
  row.data_ = data;
  row.size_ = static_cast<std::uint32_t>(size);
  return row;
}

TRow TRow::Copy(std::string_view bytes) {
  CheckRowSize(bytes.size());
  TRow row;
  if (bytes.empty()) return row;
  // The row itself is the owner: freed in Release, moved by pointer.
  void* copy = std::malloc(bytes.size());
  if (!copy) throw std::bad_alloc();
  std::memcpy(copy, bytes.data(), bytes.size());
  row.data_ = static_cast<const char*>(copy);
  row.size_ = static_cast<std::uint32_t>(bytes.size());
  row.owned_ = 1;
  return row;
}

TRow::TRow(TRow&& other) noexcept : data_(other.data_), size_(other.size_), owned_(other.owned_) {
  other.data_ = nullptr;
  other.size_ = 0;
  other.owned_ = 0;
}

TRow& TRow::operator=(TRow&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = other.data_;
    size_ = other.size_;
    owned_ = other.owned_;
    other.data_ = nullptr;
    other.size_ = 0;
    other.owned_ = 0;
  }
  return *this;
}

void TRow::Release() noexcept {
  if (owned_) std::free(const_cast<char*>(data_));
  data_ = nullptr;
  size_ = 0;
  owned_ = 0;
}

void TRowBuilder::MakeRoom(std::size_t more) {
  if (used_ + pending_ + more <= capacity_) return;
  CheckRowSize(pending_ + more);
  // A new block; the open row moves to its front.
  const std::size_t base = out_.blocks.empty() ? firstBlock_ : kBlockSize;
  const std::size_t size = std::max(base, 2 * (pending_ + more));
  TRowBlock block = NewLargeBlock(size);
  if (pending_ > 0) std::memcpy(block.get(), block_ + used_, pending_);
  out_.blocks.push_back({std::move(block), size});
  block_ = out_.blocks.back().bytes.get();
  capacity_ = size;
  used_ = 0;
}

void TRowBuilder::Append(std::string_view bytes) {
  MakeRoom(bytes.size());
  if (!bytes.empty()) std::memcpy(block_ + used_ + pending_, bytes.data(), bytes.size());
  pending_ += bytes.size();
}

void TRowBuilder::EndRow() {
  out_.rows.push_back(TRow::View(pending_ ? block_ + used_ : nullptr, pending_));
  used_ += pending_;
  pending_ = 0;
}

}  // namespace notavo
