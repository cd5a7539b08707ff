// Memory for the document's bytes: blocks of megabytes filled at once (a
// file read whole, rows copied in). Where the system offers it, such a
// block is backed by large pages, so filling it does not take a fault for
// every 4 KiB page.
#pragma once

#include <cstddef>
#include <memory>

namespace notavo {

// Advice only: nothing changes for the bytes, and nothing fails.
void AdviseLargeBlock(void* data, std::size_t size);

// `size` bytes, uninitialised; advised when a few large pages long.
inline std::unique_ptr<char[]> NewLargeBlock(std::size_t size) {
  constexpr std::size_t kWorthAdvising = 4u << 20;
  auto block = std::make_unique_for_overwrite<char[]>(size);
  if (size >= kWorthAdvising) AdviseLargeBlock(block.get(), size);
  return block;
}

}  // namespace notavo
