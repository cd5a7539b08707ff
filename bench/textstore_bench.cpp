// Text store benchmark: loading, GetText and saving a large Shift-JIS
// document, timed against `wc -l` and `cp` on the same files in the same run
// (warm page cache, median of several runs), plus the peak resident memory
// of a fresh process that only loads and holds the document, and what that
// process still holds once every row is deleted or overwritten by an edit.
//
// Usage:
//   textstore_bench [--runs N] CRLF_FILE LF_FILE   full benchmark
//   textstore_bench --rss-probe FILE               load FILE, report memory
//   textstore_bench --edit-probe delete|overwrite FILE
//                                                  load, edit every row, report memory
// Output files (save and cp targets) go next to CRLF_FILE.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "platform/file_io.h"
#include "textstore/line_break.h"
#include "textstore/zel_strings.h"

extern char** environ;

namespace {

using notavo::TZelStrings;
using notavo::bench::Clock;
using notavo::bench::Median;
using notavo::bench::SecondsSince;

std::uint64_t FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  return static_cast<std::uint64_t>(st.st_size);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Kilobytes from a "Name:   123 kB" line of /proc/self/status.
long StatusKb(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t len = std::strlen(name);
  while (std::getline(status, line)) {
    if (line.compare(0, len, name) == 0 && line.size() > len && line[len] == ':') {
      return std::strtol(line.c_str() + len + 1, nullptr, 10);
    }
  }
  return -1;
}

// Runs a program with its output discarded and returns the wall time from
// spawning it to reaping it, which is what a user waits for.
double TimeCommand(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    std::perror(args[0]);
    std::exit(1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double seconds = SecondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return seconds;
}

// --rss-probe: a fresh process that loads the document and keeps it, so the
// high-water mark shows the store alone (not the generator, not earlier
// benchmark rounds), and the load pays for a heap that starts empty, as when
// the editor opens its first file. Prints: load_ms baseline_hwm_kb hwm_kb
// rss_kb rows row_bytes.
int RssProbe(const std::string& path) {
  const long baseHwm = StatusKb("VmHWM");
  TZelStrings doc;
  const auto t = Clock::now();
  doc.LoadFromFile(path);
  const double seconds = SecondsSince(t);
  const long hwm = StatusKb("VmHWM");
  const long rss = StatusKb("VmRSS");
  std::uint64_t bytes = 0;
  for (int i = 0; i < doc.Count(); ++i) bytes += doc[i].size();
  std::printf("%.6f %ld %ld %ld %d %llu\n", seconds * 1e3, baseHwm, hwm, rss, doc.Count(),
              static_cast<unsigned long long>(bytes));
  return 0;
}

// --edit-probe: a fresh process loads the document, then either deletes
// every row (what selecting all and deleting leaves: one edited row with the
// end mark) or overwrites every row with an edited copy of itself. Prints:
// empty_rss_kb loaded_rss_kb edited_rss_kb edit_ms loaded_block_bytes
// edited_block_bytes.
int EditProbe(const std::string& mode, const std::string& path) {
  TZelStrings doc;
  const long emptyRss = StatusKb("VmRSS");
  doc.LoadFromFile(path);
  const long loadedRss = StatusKb("VmRSS");
  const std::size_t loadedBlocks = doc.BlockBytes();
  const auto t = Clock::now();
  if (mode == "delete") {
    doc.ReplaceRows(0, doc.Count(), std::vector<std::string>{std::string("\0\0", 2)});
  } else {
    for (int i = 0; i < doc.Count(); ++i) doc.Put(i, std::string(doc[i]));
  }
  const double seconds = SecondsSince(t);
  std::printf("%ld %ld %ld %.6f %zu %zu\n", emptyRss, loadedRss, StatusKb("VmRSS"), seconds * 1e3,
              loadedBlocks, doc.BlockBytes());
  return 0;
}

struct EditProbeResult {
  long emptyKb = 0, loadedKb = 0, editedKb = 0;
  double editMs = 0;
  std::size_t loadedBlocks = 0, editedBlocks = 0;
};

// The probe with the median edit time of `runs` fresh processes.
EditProbeResult MedianEditProbe(const std::string& self, const char* mode, const std::string& path,
                                int runs) {
  std::vector<EditProbeResult> results;
  for (int r = 0; r < runs; ++r) {
    const std::string cmd = "'" + self + "' --edit-probe " + mode + " '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(cmd.c_str(), "r"), ::pclose);
    EditProbeResult p;
    if (!pipe || std::fscanf(pipe.get(), "%ld %ld %ld %lf %zu %zu", &p.emptyKb, &p.loadedKb,
                             &p.editedKb, &p.editMs, &p.loadedBlocks, &p.editedBlocks) != 6) {
      std::fprintf(stderr, "edit probe failed for %s\n", path.c_str());
      std::exit(1);
    }
    results.push_back(p);
  }
  std::sort(results.begin(), results.end(),
            [](const auto& a, const auto& b) { return a.editMs < b.editMs; });
  return results[results.size() / 2];
}

struct Probe {
  double loadMs = 0;
  long baseHwmKb = 0, hwmKb = 0, rssKb = 0;
  long long rows = 0, bytes = 0;
};

Probe RunProbe(const std::string& self, const std::string& path) {
  const std::string cmd = "'" + self + "' --rss-probe '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(cmd.c_str(), "r"), ::pclose);
  Probe p;
  if (!pipe || std::fscanf(pipe.get(), "%lf %ld %ld %ld %lld %lld", &p.loadMs, &p.baseHwmKb,
                           &p.hwmKb, &p.rssKb, &p.rows, &p.bytes) != 6) {
    std::fprintf(stderr, "memory probe failed for %s\n", path.c_str());
    std::exit(1);
  }
  return p;
}

// The probe with the median load time of `runs` fresh processes.
Probe MedianProbe(const std::string& self, const std::string& path, int runs) {
  std::vector<Probe> probes;
  for (int r = 0; r < runs; ++r) probes.push_back(RunProbe(self, path));
  std::sort(probes.begin(), probes.end(),
            [](const Probe& a, const Probe& b) { return a.loadMs < b.loadMs; });
  Probe p = probes[probes.size() / 2];
  for (const Probe& q : probes) p.hwmKb = std::max(p.hwmKb, q.hwmKb);  // report the worst peak
  return p;
}

// Collects the samples of one measurement across the interleaved rounds.
struct Series {
  std::string name;
  std::vector<double> samples;
  double median() const { return Median(samples); }
  double min() const { return *std::min_element(samples.begin(), samples.end()); }
};

void PrintRow(const Series& s, double mb) {
  std::printf("  %-34s %9.1f ms  (min %7.1f)  %8.0f MB/s\n", s.name.c_str(), s.median() * 1e3,
              s.min() * 1e3, mb / s.median());
}

// Where a load spends its time: reading the bytes, detecting the style, the
// whole load, cutting alone (SetText on the bytes already in memory; only
// for CR LF text, which SetText cuts the same way) and freeing the rows.
void Breakdown(const std::string& path, int runs) {
  const std::string bytes = ReadAll(path);
  const bool crlf = notavo::DetectLineBreak(path) == notavo::lbCrLf;
  Series read{"read in 1 MiB chunks", {}}, detect{"DetectLineBreak", {}};
  Series load{"LoadFromFile", {}}, cut{"SetText of the bytes in memory", {}};
  Series destroy{"destroy the document", {}};
  for (int r = 0; r < runs; ++r) {
    {
      auto reader = notavo::OpenFileForReading(path);
      std::string chunk(1 << 20, '\0');
      const auto t = Clock::now();
      while (reader->Read(chunk.data(), chunk.size()) != 0) {
      }
      read.samples.push_back(SecondsSince(t));
    }
    auto t = Clock::now();
    (void)notavo::DetectLineBreak(path);
    detect.samples.push_back(SecondsSince(t));

    auto doc = std::make_unique<TZelStrings>();
    t = Clock::now();
    doc->LoadFromFile(path);
    load.samples.push_back(SecondsSince(t));
    t = Clock::now();
    doc.reset();
    destroy.samples.push_back(SecondsSince(t));

    if (crlf) {
      doc = std::make_unique<TZelStrings>();
      t = Clock::now();
      doc->SetText(bytes);
      cut.samples.push_back(SecondsSince(t));
      doc.reset();
    }
  }
  const double mb = static_cast<double>(bytes.size()) / 1e6;
  std::printf("Load breakdown, %s:\n", path.c_str());
  for (const Series* s : {&read, &detect, &load, &cut, &destroy}) {
    if (!s->samples.empty()) PrintRow(*s, mb);
  }
}

bool SameBytes(const std::string& a, const std::string& b) { return ReadAll(a) == ReadAll(b); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--rss-probe") == 0) return RssProbe(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "--edit-probe") == 0) return EditProbe(argv[2], argv[3]);

  int runs = 5;
  int arg = 1;
  if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
    runs = std::max(1, std::atoi(argv[2]));
    arg = 3;
  }
  if (argc - arg != 2) {
    std::fprintf(stderr,
                 "usage: %s [--runs N] CRLF_FILE LF_FILE\n       %s --rss-probe FILE\n"
                 "       %s --edit-probe delete|overwrite FILE\n",
                 argv[0], argv[0], argv[0]);
    return 2;
  }
  const std::string crlf = argv[arg], lf = argv[arg + 1];
  const std::string folder = crlf.find('/') == std::string::npos
                                 ? std::string(".")
                                 : crlf.substr(0, crlf.find_last_of('/'));
  const std::string saveOut = folder + "/bench-save.out", cpOut = folder + "/bench-cp.out";
  const std::string self = "/proc/self/exe";
  char selfPath[4096];
  const ssize_t selfLen = ::readlink(self.c_str(), selfPath, sizeof selfPath - 1);
  if (selfLen <= 0) return 1;
  const std::string selfExe(selfPath, static_cast<std::size_t>(selfLen));

  const std::uint64_t crlfSize = FileSize(crlf), lfSize = FileSize(lf);
  // Warm the page cache so every contender reads from memory.
  TimeCommand({"cat", crlf, lf});

  Series wcCrlf{"wc -l  (CR LF file)", {}}, wcLf{"wc -l  (LF file)", {}};
  Series loadCrlf{"LoadFromFile  (CR LF file)", {}}, loadLf{"LoadFromFile  (LF file)", {}};
  Series textCrlf{"GetText  (CR LF document)", {}}, textLf{"GetText  (LF document)", {}};
  Series save{"SaveToFile  (CR LF document)", {}}, cp{"cp  (CR LF file)", {}};
  Series cpSync{"cp + sync FILE  (CR LF file)", {}};
  int rowsCrlf = 0, rowsLf = 0;

  for (int r = 0; r < runs; ++r) {
    // Loads and GetText first, while no writeback from the save round runs.
    wcCrlf.samples.push_back(TimeCommand({"wc", "-l", crlf}));
    auto doc = std::make_unique<TZelStrings>();
    auto t = Clock::now();
    doc->LoadFromFile(crlf);
    loadCrlf.samples.push_back(SecondsSince(t));
    rowsCrlf = doc->Count();

    t = Clock::now();
    std::string text = doc->GetText();
    textCrlf.samples.push_back(SecondsSince(t));
    if (text.size() != crlfSize) {
      std::fprintf(stderr, "GetText size %zu != file size\n", text.size());
      return 1;
    }
    std::string().swap(text);

    wcLf.samples.push_back(TimeCommand({"wc", "-l", lf}));
    {
      auto lfDoc = std::make_unique<TZelStrings>();
      t = Clock::now();
      lfDoc->LoadFromFile(lf);
      loadLf.samples.push_back(SecondsSince(t));
      rowsLf = lfDoc->Count();
      t = Clock::now();
      text = lfDoc->GetText();
      textLf.samples.push_back(SecondsSince(t));
      if (text.size() != crlfSize) {
        std::fprintf(stderr, "GetText of the LF document: size %zu != CR LF size\n", text.size());
        return 1;
      }
      std::string().swap(text);
    }

    ::unlink(saveOut.c_str());
    t = Clock::now();
    doc->SaveToFile(saveOut);
    save.samples.push_back(SecondsSince(t));
    if (r == 0 && !SameBytes(saveOut, crlf)) {
      std::fprintf(stderr, "saved file differs from the CR LF input\n");
      return 1;
    }
    doc.reset();

    ::unlink(cpOut.c_str());
    cp.samples.push_back(TimeCommand({"cp", crlf, cpOut}));
    ::unlink(cpOut.c_str());
    cpSync.samples.push_back(
        TimeCommand({"sh", "-c", "cp \"$1\" \"$2\" && sync \"$2\"", "sh", crlf, cpOut}));
    ::unlink(saveOut.c_str());
    ::unlink(cpOut.c_str());
    ::sync();  // let the next round start with no writeback in flight
  }
  ::unlink(saveOut.c_str());
  ::unlink(cpOut.c_str());

  const Probe memCrlf = MedianProbe(selfExe, crlf, runs);
  const Probe memLf = MedianProbe(selfExe, lf, runs);
  const EditProbeResult deletedCrlf = MedianEditProbe(selfExe, "delete", crlf, runs);
  const EditProbeResult deletedLf = MedianEditProbe(selfExe, "delete", lf, runs);
  const EditProbeResult overwrittenCrlf = MedianEditProbe(selfExe, "overwrite", crlf, runs);

  const double crlfMb = static_cast<double>(crlfSize) / 1e6,
               lfMb = static_cast<double>(lfSize) / 1e6;
  std::printf("Files: CR LF %llu bytes (%d rows), LF %llu bytes (%d rows); median of %d runs\n\n",
              static_cast<unsigned long long>(crlfSize), rowsCrlf,
              static_cast<unsigned long long>(lfSize), rowsLf, runs);
  PrintRow(wcCrlf, crlfMb);
  PrintRow(wcLf, lfMb);
  PrintRow(loadCrlf, crlfMb);
  PrintRow(loadLf, lfMb);
  PrintRow(textCrlf, crlfMb);
  PrintRow(textLf, crlfMb);
  PrintRow(save, crlfMb);
  PrintRow(cp, crlfMb);
  PrintRow(cpSync, crlfMb);

  auto printMem = [](const char* name, const Probe& p) {
    const double perRow =
        (static_cast<double>(p.rssKb - p.baseHwmKb) * 1024 - static_cast<double>(p.bytes)) /
        static_cast<double>(p.rows);
    std::printf("  %-8s peak %7.1f MB  held %7.1f MB  row bytes %7.1f MB  overhead %.1f B/row\n",
                name, p.hwmKb * 1024 / 1e6, p.rssKb * 1024 / 1e6, p.bytes / 1e6, perRow);
  };
  std::printf("\nFresh process that only loads and holds the document (median of %d):\n", runs);
  std::printf("  %-34s %9.1f ms\n", "LoadFromFile  (CR LF file)", memCrlf.loadMs);
  std::printf("  %-34s %9.1f ms\n", "LoadFromFile  (LF file)", memLf.loadMs);
  printMem("CR LF", memCrlf);
  printMem("LF", memLf);

  // Memory above an empty document's, against the file's size.
  auto aboveEmpty = [](long kb, const EditProbeResult& p, std::uint64_t size) {
    return static_cast<double>(kb - p.emptyKb) * 1024.0 / static_cast<double>(size);
  };
  std::printf("\nFresh process that loads, then edits every row (median of %d):\n", runs);
  auto printEdit = [&](const char* name, const EditProbeResult& p, std::uint64_t size) {
    std::printf(
        "  %-24s %8.1f ms  RSS above empty: loaded %6.1f MB (%.2f x file), edited %6.1f MB"
        " (%.2f x file); blocks held %6.1f -> %6.1f MB\n",
        name, p.editMs, static_cast<double>(p.loadedKb - p.emptyKb) * 1024 / 1e6,
        aboveEmpty(p.loadedKb, p, size), static_cast<double>(p.editedKb - p.emptyKb) * 1024 / 1e6,
        aboveEmpty(p.editedKb, p, size), static_cast<double>(p.loadedBlocks) / 1e6,
        static_cast<double>(p.editedBlocks) / 1e6);
  };
  printEdit("delete all, CR LF", deletedCrlf, crlfSize);
  printEdit("delete all, LF", deletedLf, lfSize);
  printEdit("overwrite all, CR LF", overwrittenCrlf, crlfSize);

  const double rLoadCrlf = loadCrlf.median() / wcCrlf.median();
  const double rLoadLf = loadLf.median() / wcLf.median();
  const double rSave = save.median() / cp.median();
  const double rRssCrlf = memCrlf.hwmKb * 1024.0 / static_cast<double>(crlfSize);
  const double rRssLf = memLf.hwmKb * 1024.0 / static_cast<double>(lfSize);
  auto verdict = [](double ratio, double target) { return ratio <= target ? "met" : "MISSED"; };
  std::printf("\nRatios:\n");
  std::printf("  load CR LF / wc -l          %6.2f  (target <= 4)  %s\n", rLoadCrlf,
              verdict(rLoadCrlf, 4));
  std::printf("  load LF / wc -l             %6.2f  (target <= 6)  %s\n", rLoadLf,
              verdict(rLoadLf, 6));
  std::printf("  load CR LF / wc -l, fresh   %6.2f  (first file a new process opens)\n",
              memCrlf.loadMs / 1e3 / wcCrlf.median());
  std::printf("  load LF / wc -l, fresh      %6.2f\n", memLf.loadMs / 1e3 / wcLf.median());
  std::printf("  save / cp                   %6.2f  (target <= 3)  %s\n", rSave, verdict(rSave, 3));
  std::printf("  save / (cp + sync)          %6.2f  (for reference: save flushes to disk)\n",
              save.median() / cpSync.median());
  std::printf("  peak RSS / size, CR LF      %6.2f  (target <= 2)  %s\n", rRssCrlf,
              verdict(rRssCrlf, 2));
  std::printf("  peak RSS / size, LF         %6.2f  (target <= 2)  %s\n", rRssLf,
              verdict(rRssLf, 2));
  const double rDeleted = std::max(aboveEmpty(deletedCrlf.editedKb, deletedCrlf, crlfSize),
                                   aboveEmpty(deletedLf.editedKb, deletedLf, lfSize));
  std::printf(
      "  RSS after deleting all      %6.2f  (target <= 0.3, above an empty document)  %s\n\n",
      rDeleted, verdict(rDeleted, 0.3));

  Breakdown(crlf, runs);
  Breakdown(lf, runs);
  return 0;
}
