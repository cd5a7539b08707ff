// Word-wrap benchmark on a large CR LF file, in one run: load alone, wrap at
// column 1000 (what opening a file costs in the application) and at 72,
// unwrap, and row/logical conversions near the end of the document, against
// `wc -l` on the same file. Peak memory while wrapped comes from a fresh
// process (--rss-probe) so the other measurements do not pollute it.
//
// Usage:
//   wrap_bench [--runs N] CRLF_FILE
//   wrap_bench --rss-probe FILE COLUMN
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "editor/layout/line_index.h"
#include "editor/layout/word_wrap.h"
#include "textstore/zel_strings.h"

namespace {

using notavo::bench::Clock;
using notavo::bench::Median;
using notavo::bench::SecondsSince;
using namespace notavo;

double TimeCommand(const std::string& command) {
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return SecondsSince(start);
}

long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  }
  return -1;
}

TWrapParams Column(int column) {
  TWrapParams p;
  p.Column = column;
  p.TabCount = 4;
  return p;
}

int RssProbe(const std::string& file, int column) {
  TZelStrings lines;
  lines.LoadFromFile(file);
  TLineIndex index(lines);
  TRowPos caret, anchor;
  RebuildRows(lines, index, true, Column(column), caret, anchor);
  std::printf("%ld %ld %d\n", StatusKiB("VmHWM:"), StatusKiB("VmRSS:"), lines.Count());
  return 0;
}

struct Rss {
  double peakMiB = 0, heldMiB = 0;
};

Rss ProbeRss(const char* self, const std::string& file, int column) {
  const std::string command =
      std::string(self) + " --rss-probe '" + file + "' " + std::to_string(column);
  FILE* pipe = popen(command.c_str(), "r");
  long hwm = 0, rss = 0;
  int rows = 0;
  if (!pipe || std::fscanf(pipe, "%ld %ld %d", &hwm, &rss, &rows) != 3) {
    std::fprintf(stderr, "rss probe failed\n");
    std::exit(1);
  }
  pclose(pipe);
  return {hwm / 1024.0, rss / 1024.0};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--rss-probe") == 0)
    return RssProbe(argv[2], std::atoi(argv[3]));
  int runs = 3;
  int arg = 1;
  if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
    runs = std::max(1, std::atoi(argv[2]));
    arg = 3;
  }
  if (arg + 1 != argc) {
    std::fprintf(stderr, "usage: wrap_bench [--runs N] CRLF_FILE\n");
    return 2;
  }
  const std::string file = argv[arg];
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    std::perror(file.c_str());
    return 1;
  }
  const double sizeMiB = static_cast<double>(st.st_size) / (1 << 20);

  std::vector<double> wc, load, wrap1000, unwrap1000, wrap72, unwrap72;
  TZelStrings lines;
  int rows1000 = 0, rows72 = 0;
  for (int run = 0; run < runs; ++run) {
    wc.push_back(TimeCommand("wc -l '" + file + "' > /dev/null"));
    auto start = Clock::now();
    lines.LoadFromFile(file);
    load.push_back(SecondsSince(start));
    TLineIndex index(lines);
    TRowPos caret, anchor;
    start = Clock::now();
    RebuildRows(lines, index, true, Column(1000), caret, anchor);
    wrap1000.push_back(SecondsSince(start));
    rows1000 = lines.Count();
    start = Clock::now();
    RebuildRows(lines, index, false, Column(1000), caret, anchor);
    unwrap1000.push_back(SecondsSince(start));
    start = Clock::now();
    RebuildRows(lines, index, true, Column(72), caret, anchor);
    wrap72.push_back(SecondsSince(start));
    rows72 = lines.Count();
    start = Clock::now();
    RebuildRows(lines, index, false, Column(72), caret, anchor);
    unwrap72.push_back(SecondsSince(start));
  }

  // Conversions near the end of the document, wrapped at 72: positions in
  // the last 1% of the rows, as the caret's would be while editing there.
  TLineIndex index(lines);
  TRowPos caret, anchor;
  RebuildRows(lines, index, true, Column(72), caret, anchor);
  std::mt19937 rng(1);
  const int count = lines.Count();
  const int from = count - std::max(count / 100, 1);
  std::vector<double> toLogical, toRow;
  {
    int offset = 0, row = count - 1;  // first query builds the index once
    const auto start = Clock::now();
    RowToLogical(lines, index, offset, row);
    std::printf("first conversion (builds the index): %.1f ms\n", SecondsSince(start) * 1e3);
  }
  for (int i = 0; i < 10000; ++i) {
    int row = from + static_cast<int>(rng() % static_cast<unsigned>(count - from));
    int offset = static_cast<int>(lines[row].size() / 2);
    auto start = Clock::now();
    RowToLogical(lines, index, offset, row);
    toLogical.push_back(SecondsSince(start));
    start = Clock::now();
    LogicalToRow(lines, index, offset, row);
    toRow.push_back(SecondsSince(start));
  }
  const Rss rss72 = ProbeRss(argv[0], file, 72);
  const Rss rss1000 = ProbeRss(argv[0], file, 1000);

  const double mWc = Median(wc), mLoad = Median(load), mW1000 = Median(wrap1000);
  const double mU1000 = Median(unwrap1000), mW72 = Median(wrap72), mU72 = Median(unwrap72);
  std::printf("file: %s (%.1f MiB), median of %d runs\n", file.c_str(), sizeMiB, runs);
  std::printf("rows: %d wrapped at 1000, %d wrapped at 72\n", rows1000, rows72);
  std::printf("%-34s %10s %10s\n", "operation", "seconds", "ratio");
  std::printf("%-34s %10.3f %10s\n", "wc -l", mWc, "1.00 (wc)");
  std::printf("%-34s %10.3f %8.2f x wc\n", "load", mLoad, mLoad / mWc);
  std::printf("%-34s %10.3f %8.2f x wc   (target <= 7)\n", "load + wrap at 1000", mLoad + mW1000,
              (mLoad + mW1000) / mWc);
  std::printf("%-34s %10.3f %8.2f x load (target <= 2)\n", "wrap at 72", mW72, mW72 / mLoad);
  std::printf("%-34s %10.3f %8.2f x load (target <= 1.5)\n", "unwrap from 72", mU72, mU72 / mLoad);
  std::printf("%-34s %10.3f %8.2f x load\n", "unwrap from 1000", mU1000, mU1000 / mLoad);
  std::printf("%-34s %10.2f us   (target <= 10)\n", "RowToLogical near end, median",
              Median(toLogical) * 1e6);
  std::printf("%-34s %10.2f us   (target <= 10)\n", "LogicalToRow near end, median",
              Median(toRow) * 1e6);
  std::printf("%-34s %8.1f MiB %6.2f x file (target <= 2.5)\n", "peak RSS, wrapped at 72",
              rss72.peakMiB, rss72.peakMiB / sizeMiB);
  std::printf("%-34s %8.1f MiB %6.2f x file\n", "held RSS, wrapped at 72", rss72.heldMiB,
              rss72.heldMiB / sizeMiB);
  std::printf("%-34s %8.1f MiB %6.2f x file\n", "peak RSS, wrapped at 1000", rss1000.peakMiB,
              rss1000.peakMiB / sizeMiB);
  return 0;
}
