#include "platform/large_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace notavo {

void AdviseLargeBlock(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t begin = (start + page - 1) / page * page;
  const std::uintptr_t end = (start + size) / page * page;
  // Transparent huge pages for this range, when the system has them set
  // to "madvise"; an error leaves ordinary pages.
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace notavo
