// Finding a byte string inside a larger one, fast enough to walk a 100 MB
// document: a vector filter on the needle's first and last bytes, then a
// compare of the bytes between.
#pragma once

#include <cstddef>
#include <string_view>

namespace notavo {

// Offset of the first occurrence of `needle` lying wholly inside `hay`, or
// std::string_view::npos. An empty needle is never found.
std::size_t FindBytes(std::string_view hay, std::string_view needle);

// Offset of the first CR, LF or NUL byte of `hay`, or npos.
std::size_t FindLineByte(std::string_view hay);

}  // namespace notavo
