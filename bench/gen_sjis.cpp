// Writes the benchmark documents: the same Shift-JIS text twice, once with
// CR LF line breaks and once with LF. The content is a pure function of the
// seed (our own generator and range mapping, no <random> distributions, whose
// output differs between standard libraries), so every machine benchmarks the
// same bytes. The FNV-1a checksum printed at the end proves it.
//
// Usage: gen_sjis OUT_CRLF OUT_LF [TARGET_BYTES]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kSeed = 0x4E6F7461766F3130;  // fixed: the files never change
constexpr std::uint64_t kDefaultTarget = 100ull * 1000 * 1000;
constexpr std::size_t kLongLine = 20000;

// splitmix64: tiny, fast, and fully specified here.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n) by multiply-shift; the bias is far below what matters.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
  }
  std::uint32_t Between(std::uint32_t lo, std::uint32_t hi) { return lo + Below(hi - lo + 1); }

 private:
  std::uint64_t state_;
};

const char* const kWords[] = {"the",    "editor", "file",  "line",   "text",     "row",  "save",
                              "load",   "buffer", "wrap",  "cursor", "Shift",    "JIS",  "CP932",
                              "notavo", "window", "menu",  "search", "replace",  "undo", "redo",
                              "int",    "return", "const", "void",   "char",     "0x82", "1234",
                              "2024",   "a",      "of",    "to",     "is",       "in",   "and",
                              "config", "path",   "value", "=",      "{",        "}",    "(",
                              ");",     "//",     "#",     "TODO:",  "http://x", "v1.2"};
constexpr std::uint32_t kWordCount = sizeof kWords / sizeof kWords[0];

// A trail byte of a CP932 double-byte character: 0x40..0x7E or 0x80..0xFC.
unsigned char TrailByte(Rng& rng) {
  const std::uint32_t t = rng.Below(188);  // 63 + 125 values
  return static_cast<unsigned char>(t < 63 ? 0x40 + t : 0x80 + (t - 63));
}

// One double-byte character: hiragana, katakana, kanji, punctuation or the
// full-width space, weighted roughly like ordinary Japanese prose.
void AppendDoubleByte(Rng& rng, std::string& out) {
  const std::uint32_t kind = rng.Below(100);
  unsigned char lead, trail;
  if (kind < 45) {  // hiragana ぁ..ん
    lead = 0x82;
    trail = static_cast<unsigned char>(rng.Between(0x9F, 0xF1));
  } else if (kind < 55) {  // katakana ァ..ヶ (0x7F is not a trail byte)
    lead = 0x83;
    trail = static_cast<unsigned char>(rng.Between(0x40, 0x95));
    if (trail >= 0x7F) ++trail;
  } else if (kind < 85) {  // level-1 kanji 0x889F..0x9872, level-2 0xE040..0xE9FC
    const std::uint32_t k = rng.Below(100);
    if (k < 5) {
      lead = 0x88;
      trail = static_cast<unsigned char>(rng.Between(0x9F, 0xFC));
    } else if (k < 85) {
      lead = static_cast<unsigned char>(rng.Between(0x89, 0x97));
      trail = TrailByte(rng);
    } else {
      lead = static_cast<unsigned char>(rng.Between(0xE0, 0xE9));
      trail = TrailByte(rng);
    }
  } else if (kind < 93) {  // 、。「」・ー
    static const unsigned char kPunct[] = {0x41, 0x42, 0x75, 0x76, 0x45, 0x5B};
    lead = 0x81;
    trail = kPunct[rng.Below(sizeof kPunct)];
  } else {  // full-width space
    lead = 0x81;
    trail = 0x40;
  }
  out.push_back(static_cast<char>(lead));
  out.push_back(static_cast<char>(trail));
}

// One line's content (no line break), at most `limit` bytes and never cut
// inside a double-byte character. Lines switch between runs of ASCII words
// and runs of Japanese, with tabs and indentation now and then.
void MakeLine(Rng& rng, std::size_t limit, std::string& out) {
  out.clear();
  if (limit == 0) return;
  if (rng.Below(8) == 0) out.append(std::min<std::size_t>(rng.Between(1, 3), limit), '\t');
  bool japanese = rng.Below(2) == 0;
  while (out.size() < limit) {
    const std::size_t runEnd = out.size() + rng.Between(4, 40);
    while (out.size() < runEnd && out.size() < limit) {
      const std::size_t room = limit - out.size();
      if (japanese) {
        if (room < 2) break;
        AppendDoubleByte(rng, out);
      } else {
        const std::string word = kWords[rng.Below(kWordCount)];
        if (word.size() + 1 > room) break;
        out.append(word);
        out.push_back(rng.Below(12) == 0 ? '\t' : ' ');
      }
    }
    if (limit - out.size() < 2) break;
    japanese = !japanese;
  }
}

std::size_t LineLength(Rng& rng) {
  const std::uint32_t r = rng.Below(10000);
  if (r < 3) return kLongLine;  // ~0.03% of lines, ~10% of the bytes
  if (r < 600) return 0;        // blank lines
  return rng.Between(1, 120);
}

void Fnv1a(std::uint64_t& h, const std::string& s) {
  for (unsigned char c : s) {
    h ^= c;
    h *= 0x100000001B3ull;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: " << argv[0] << " OUT_CRLF OUT_LF [TARGET_BYTES]\n";
    return 2;
  }
  const std::uint64_t target = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : kDefaultTarget;

  std::vector<char> crlfBuf(1 << 20), lfBuf(1 << 20);
  std::ofstream crlf, lf;
  crlf.rdbuf()->pubsetbuf(crlfBuf.data(), static_cast<std::streamsize>(crlfBuf.size()));
  lf.rdbuf()->pubsetbuf(lfBuf.data(), static_cast<std::streamsize>(lfBuf.size()));
  crlf.open(argv[1], std::ios::binary | std::ios::trunc);
  lf.open(argv[2], std::ios::binary | std::ios::trunc);
  if (!crlf || !lf) {
    std::cerr << "cannot create the output files\n";
    return 1;
  }

  Rng rng(kSeed);
  std::string line;
  std::uint64_t crlfBytes = 0, lfBytes = 0, lines = 0, longLines = 0;
  std::uint64_t hash = 0xCBF29CE484222325ull;
  while (crlfBytes < target) {
    const std::size_t length = LineLength(rng);
    if (length == kLongLine) ++longLines;
    MakeLine(rng, length, line);
    Fnv1a(hash, line);
    crlf.write(line.data(), static_cast<std::streamsize>(line.size()));
    crlf.write("\r\n", 2);
    lf.write(line.data(), static_cast<std::streamsize>(line.size()));
    lf.write("\n", 1);
    crlfBytes += line.size() + 2;
    lfBytes += line.size() + 1;
    ++lines;
  }
  crlf.close();
  lf.close();
  if (!crlf || !lf) {
    std::cerr << "write failed\n";
    return 1;
  }
  std::printf("lines %llu (%llu of %zu bytes), CR LF %llu bytes, LF %llu bytes, fnv1a %016llx\n",
              static_cast<unsigned long long>(lines), static_cast<unsigned long long>(longLines),
              kLongLine, static_cast<unsigned long long>(crlfBytes),
              static_cast<unsigned long long>(lfBytes), static_cast<unsigned long long>(hash));
  return 0;
}
