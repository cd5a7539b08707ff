// Fuzzes the file readers: whatever bytes a file holds, loading keeps the row
// invariants, GetText matches an independent conversion, and saving writes
// exactly GetText.
//
// The first input byte is a mode byte. With its top bit set, the file starts
// with a run of plain bytes that puts the first line break around the
// 16 KiB buffer boundary of the line-break detector, a spot random bytes
// would almost never reach.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_check.h"
#include "textstore/line_break.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace {

using notavo::TZelStrings;
namespace fz = notavo::fuzz;

// One scratch folder per process, on tmpfs when there is one: saving flushes
// to disk, which on a real disk would slow every run to a crawl.
const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/notavo-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    static std::string cleanup = pattern;
    std::atexit([] {
      unlink((cleanup + "/in.txt").c_str());
      unlink((cleanup + "/out.txt").c_str());
      rmdir(cleanup.c_str());
    });
    return pattern;
  }();
  return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good());
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fz::Style ToStyle(notavo::TLineBreakStyle s) {
  switch (s) {
    case notavo::lbCrLf:
      return fz::Style::kCrLf;
    case notavo::lbCr:
      return fz::Style::kCr;
    case notavo::lbLf:
      return fz::Style::kLf;
    case notavo::lbEmpty:
      return fz::Style::kEmpty;
  }
  FUZZ_CHECK(false);
}

void CheckRowInvariants(const TZelStrings& doc) {
  FUZZ_CHECK(doc.Count() >= 1);
  for (int i = 0; i < doc.Count(); ++i) {
    const std::string_view row = doc[i];
    const bool endsWithMark = row.size() >= 2 && row.compare(row.size() - 2, 2, "\0\0", 2) == 0;
    if (i + 1 == doc.Count()) {
      FUZZ_CHECK(endsWithMark);
    } else {
      FUZZ_CHECK(!endsWithMark);
      FUZZ_CHECK(notavo::RowEndsLine(row));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (mode & 0x80) bytes.insert(0, 16384 - 4 + (mode & 7), 'x');

  const std::string in = ScratchFolder() + "/in.txt";
  const std::string out = ScratchFolder() + "/out.txt";
  WriteBytes(in, bytes);

  const fz::Style style = fz::ReferenceStyle(bytes);
  FUZZ_CHECK(ToStyle(notavo::DetectLineBreak(in)) == style);

  // Load over a store that already holds rows: the file must replace them.
  TZelStrings doc;
  doc.SetText(std::string_view(bytes).substr(0, mode & 0x3F));
  doc.LoadFromFile(in);
  CheckRowInvariants(doc);

  const std::string text = doc.GetText();
  FUZZ_CHECK(text == fz::ReferenceText(bytes, style));

  doc.SaveToFile(out);
  FUZZ_CHECK(ReadBytes(out) == text);
  return 0;
}
