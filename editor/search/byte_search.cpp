#include "editor/search/byte_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace notavo {

namespace {

std::size_t FindScalar(const char* hay, std::size_t from, std::size_t n, std::string_view needle) {
  const std::size_t length = needle.size();
  const char first = needle.front();
  for (std::size_t i = from; i + length <= n; ++i) {
    if (hay[i] == first && std::memcmp(hay + i + 1, needle.data() + 1, length - 1) == 0) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindBytes(std::string_view hay, std::string_view needle) {
  const std::size_t length = needle.size();
  const std::size_t n = hay.size();
  if (length == 0 || length > n) return std::string_view::npos;
  const char* data = hay.data();
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen candidate starts at a time: those whose first and last bytes
  // both agree with the needle's (for a double-byte character, its lead and
  // trail byte together), each then compared in full.
  const __m128i first = _mm_set1_epi8(needle.front());
  const __m128i last = _mm_set1_epi8(needle.back());
  for (; i + length - 1 + 16 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + length - 1));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (length <= 2 || std::memcmp(data + i + bit + 1, needle.data() + 1, length - 2) == 0) {
        return i + bit;
      }
      mask &= mask - 1;
    }
  }
#endif
  return FindScalar(data, i, n, needle);
}

std::size_t FindLineByte(std::string_view hay) {
  const char* data = hay.data();
  const std::size_t n = hay.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(a, lf)),
                                     _mm_cmpeq_epi8(a, nul));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(any));
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
  }
#endif
  for (; i < n; ++i) {
    if (data[i] == '\r' || data[i] == '\n' || data[i] == '\0') return i;
  }
  return std::string_view::npos;
}

}  // namespace notavo
