// Search and replace on the 100 MB document wrapped at 1000, in a headless
// window, against grep and sed on the same file in the same run:
// - FindFirst, then FindNext until the miss, for a rare needle (a few hits),
//   against `grep -c -F`;
// - ReplaceAll without questions of a frequent double-byte character by
//   another, against `sed s/../../g`; the peak memory of the process
//   during it; and undoing the steps the undo budget kept, in one batch of
//   edits (painted once).
// Each figure is the median of the rounds; ratios are of medians.
//
// Usage: search_bench CRLF_FILE [ROUNDS]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/headless_editor.h"
#include "editor/search/match_rule.h"
#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"

namespace {

using namespace notavo;
using notavo::bench::Clock;
using notavo::bench::HeadlessEditor;
using notavo::bench::Median;
using notavo::bench::SecondsSince;

double Shell(const std::string& command) {
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return SecondsSince(start);
}

long PeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

// Lowers the peak mark to the current size, so the next reading is the
// peak of what follows.
void ResetPeak() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: search_bench CRLF_FILE [ROUNDS]\n");
    return 2;
  }
  const std::string file = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string rare = "notavo window menu";
  const std::string from = "\x82\xCC", to = "\x82\xF0";  // no -> wo
  double fileBytes = 0;
  {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    fileBytes = static_cast<double>(in.tellg());
  }

  std::vector<double> grep, find, sed, replace, undo, peak;
  int hits = 0, replaced = 0;
  long undoSteps = 0;
  for (int round = 0; round < rounds; ++round) {
    grep.push_back(Shell("LC_ALL=C grep -c -F '" + rare + "' '" + file + "' >/dev/null"));
    sed.push_back(Shell("LC_ALL=C sed 's/" + from + "/" + to + "/g' '" + file + "' >/dev/null"));
    HeadlessEditor e(file, 64 << 20);
    e.edit.OnFind = TBuiltInMatcher{};
    int count = 0;
    bool missed = false;
    e.edit.OnFindHit = [&](TZelEdit&, std::string_view, int, int, int, int n) { count = n; };
    e.edit.OnFindNoHit = [&](TZelEdit&, std::string_view) { missed = true; };
    auto start = Clock::now();
    e.edit.SetSearchText(rare);
    e.edit.FindFirst();
    while (!missed) e.edit.FindNext();
    find.push_back(SecondsSince(start));
    hits = count;

    e.edit.OnFindChangeEnd = [&](TZelEdit&, std::string_view, std::string_view, int n) {
      replaced = n;
    };
    ResetPeak();
    start = Clock::now();
    e.edit.ReplaceAll(from, to, true, false);
    replace.push_back(SecondsSince(start));
    peak.push_back(static_cast<double>(PeakKb()) * 1024.0);
    undoSteps = static_cast<long>(e.edit.UndoLog().Undo().size());
    // All the kept steps in one batch: painted once, at the end, as a
    // caller undoing many steps at once would.
    e.host.drawn.clear();
    start = Clock::now();
    e.edit.BeginEdits();
    while (e.edit.CanUndo()) e.edit.Undo();
    e.edit.EndEdits();
    undo.push_back(SecondsSince(start));
  }
  const double g = Median(grep), f = Median(find), s = Median(sed), r = Median(replace),
               u = Median(undo), p = Median(peak);
  std::printf("search and replace, 100 MB document wrapped at 1000, median of %d rounds\n", rounds);
  std::printf("  grep -c -F rare needle           %7.3f s\n", g);
  std::printf("  FindFirst + FindNext to the miss %7.3f s  (%d hits)  %.2fx grep (target <= 3)\n",
              f, hits, f / g);
  std::printf("  sed s/no/wo/g                    %7.3f s\n", s);
  std::printf(
      "  ReplaceAll no -> wo              %7.3f s  (%d replaced)  %.2fx sed (target <= 1.5)\n", r,
      replaced, r / s);
  std::printf("  peak memory during ReplaceAll    %7.1f MB  %.2fx the file (target <= 2.5)\n",
              p / 1e6, p / fileBytes);
  std::printf("  undo of the %ld kept steps        %7.3f s  %.2fx the replace (target <= 1)\n",
              undoSteps, u, u / r);
  return 0;
}
