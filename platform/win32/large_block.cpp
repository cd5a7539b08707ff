#include "platform/large_block.h"

namespace notavo {

// Large pages on Windows need the "lock pages in memory" privilege and
// memory of their own; the ordinary heap is kept.
void AdviseLargeBlock(void*, std::size_t) {}

}  // namespace notavo
