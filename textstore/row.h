// One display row: a byte string that either points into a block of the
// document's bytes (rows as read from a file, and the pieces wrapping cuts
// from them) or owns a copy of its own (rows written by edits). Sixteen
// bytes a row, and no allocation per row when a file is read or wrapped.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace notavo {

class TRow {
 public:
  TRow() noexcept = default;
  // The longest row: offsets within a row are 32-bit signed everywhere.
  static constexpr std::size_t kMaxSize = 0x7FFFFFFF;

  // A row over bytes that live in a block kept by the store. Throws
  // std::length_error for a row longer than kMaxSize.
  static TRow View(const char* data, std::size_t size);
  // A row owning a copy of `bytes`.
  static TRow Copy(std::string_view bytes);

  TRow(TRow&& other) noexcept;
  TRow& operator=(TRow&& other) noexcept;
  TRow(const TRow&) = delete;
  TRow& operator=(const TRow&) = delete;
  ~TRow() { Release(); }

  std::string_view view() const noexcept { return {data_, size_}; }
  operator std::string_view() const noexcept { return view(); }
  std::size_t size() const noexcept { return size_; }
  const char* data() const noexcept { return data_; }
  bool owned() const noexcept { return owned_ != 0; }

 private:
  void Release() noexcept;

  const char* data_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t owned_ = 0;
};

// Bytes that View rows point into.
using TRowBlock = std::unique_ptr<char[]>;

// A block with its size, so a store can tell which block a row points into
// and free the block once no row does.
struct TSizedBlock {
  TRowBlock bytes;
  std::size_t size = 0;
};
using TRowBlocks = std::vector<TSizedBlock>;

// Rows and the blocks they point into, built together by the readers.
struct TRowList {
  std::vector<TRow> rows;
  TRowBlocks blocks;
};

// Builds rows into blocks: bytes are appended to the current row, which is
// always contiguous in one block, then the row is closed. Blocks are large,
// so a document costs one allocation per few megabytes, not one per row.
class TRowBuilder {
 public:
  static constexpr std::size_t kBlockSize = 4 << 20;

  // `expectedBytes` sizes the first block, so a small file costs a small one.
  explicit TRowBuilder(TRowList& out, std::size_t expectedBytes = kBlockSize)
      : out_(out), firstBlock_(std::min(kBlockSize, expectedBytes + 64)) {}
  void Append(std::string_view bytes);
  void Append(char byte) { Append(std::string_view(&byte, 1)); }
  std::size_t PendingSize() const { return pending_; }
  void EndRow();

 private:
  void MakeRoom(std::size_t more);

  TRowList& out_;
  std::size_t firstBlock_;
  char* block_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;     // bytes of closed rows in the current block
  std::size_t pending_ = 0;  // bytes of the open row behind them
};

}  // namespace notavo
