// Editor control benchmark: caret placement and the message interface on a
// large wrapped document, in a headless window. Each operation must cost
// about a row's worth of work, not the document's. Also: typing at the end
// of one 4 MB line whose link runs on through all its rows.
//
// Usage: editor_bench CRLF_FILE
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/headless_editor.h"
#include "editor/zel_edit.h"
#include "platform/headless/headless_host.h"

namespace {

using notavo::bench::Clock;
using notavo::bench::HeadlessEditor;
using notavo::bench::Median;
using notavo::bench::SecondsSince;
using namespace notavo;
using namespace notavo::win;

// Median microseconds of `reps` calls; `prepare` runs untimed before each.
double TimeUs(int reps, const std::function<void(int)>& prepare,
              const std::function<void(int)>& op) {
  std::vector<double> samples;
  samples.reserve(static_cast<std::size_t>(reps));
  for (int i = 0; i < reps; ++i) {
    prepare(i);
    const auto start = Clock::now();
    op(i);
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return Median(samples);
}

// Typing at the end of a 4 MB single line that begins with a link: the link
// runs on through all its ~4,000 soft rows, so colouring the rows in view
// depends on every row before them. Per key, links on and off.
void TypeAtEndOfLongLinkLine(const std::string& scratch) {
  std::string line = "http://example.com/";
  while (line.size() < (4u << 20)) line += "path/\x93\xFA\x96\x7B\x8C\xEA_text.";
  if (FILE* out = std::fopen(scratch.c_str(), "wb")) {
    std::fwrite(line.data(), 1, line.size(), out);
    std::fclose(out);
  }
  HeadlessEditor e(scratch);
  std::remove(scratch.c_str());
  const int rows = e.edit.Lines().Count();
  e.edit.DocumentEnd();
  auto perKey = [&](bool links) {
    e.edit.SetColorPrintF(links);
    return TimeUs(
        200, [&](int) { e.host.drawn.clear(); }, [&](int) { e.edit.TypeText("a"); });
  };
  const double on = perKey(true), off = perKey(false);
  std::printf("typing at the end of a 4 MB line beginning with a link (%d rows at 1000):\n", rows);
  std::printf("  links on %.1f us a key, links off %.1f us a key (target on <= 1000)\n", on, off);
  // Unwrapped, the line is one row in view: each key costs that row.
  e.edit.SetWordWrap(false);
  e.edit.DocumentEnd();
  const double unwrappedOn = perKey(true), unwrappedOff = perKey(false);
  std::printf("  unwrapped (one 4 MB row): links on %.1f us a key, links off %.1f us a key\n",
              unwrappedOn, unwrappedOff);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: editor_bench CRLF_FILE\n");
    return 2;
  }
  THeadlessHost host;
  TZelEdit edit(host);
  host.selfDispatch = [&](unsigned m, std::uintptr_t w, std::intptr_t l) {
    return edit.Dispatch(m, w, l).value_or(0);
  };
  edit.Dispatch(WM_CREATE, 0, 0);
  edit.Dispatch(WM_SIZE, 0, 0);
  edit.Dispatch(WM_SETFOCUS, 0, 0);
  edit.SetColumn(1000);
  auto start = Clock::now();
  if (!edit.LoadFile(argv[1])) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  const double loadSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  const int last = edit.Lines().Count() - 1;
  std::printf("document: %s, %d rows wrapped at %d, loaded and wrapped in %.3f s\n", argv[1],
              last + 1, edit.Column(), loadSeconds);
  auto none = [](int) {};
  auto quiet = [&](int) { host.drawn.clear(); };
  const int reps = 2000;
  struct Result {
    const char* name;
    double us;
  };
  std::vector<Result> results;
  auto send = [&](unsigned m, WPARAM w, LPARAM l) { return edit.Dispatch(m, w, l).value_or(0); };

  results.push_back(
      {"GoToPosition to the last row", TimeUs(
                                           reps,
                                           [&](int i) {
                                             quiet(i);
                                             edit.GoToPosition(0, last - 500 - (i % 7), 0);
                                           },
                                           [&](int) { edit.GoToPosition(3, last, 0); })});
  results.push_back({"MoveCaretTo near the end", TimeUs(reps, quiet, [&](int i) {
                       edit.MoveCaretTo(i % 40, last - (i % 20), 0, true, true);
                     })});
  results.push_back({"EM_SETSEL near the end", TimeUs(reps, quiet, [&](int i) {
                       send(EM_SETSEL, MakeLong(0, 32000), MakeLong(i % 30, 32000 + i % 50));
                     })});
  std::uint32_t a = 0, b = 0;
  edit.SelectAll();
  results.push_back({"EM_GETSEL, everything selected", TimeUs(reps, none, [&](int) {
                       send(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
                     })});
  edit.GoToPosition(0, last, 0);
  results.push_back(
      {"EM_GETLINECOUNT", TimeUs(reps, none, [&](int) { send(EM_GETLINECOUNT, 0, 0); })});
  results.push_back({"EM_LINELENGTH, last row", TimeUs(reps, none, [&](int) {
                       send(EM_LINELENGTH, static_cast<WPARAM>(last), 0);
                     })});
  std::vector<unsigned char> line(4096);
  results.push_back({"EM_GETLINE, last rows", TimeUs(
                                                  reps,
                                                  [&](int) {
                                                    line[0] = 0;
                                                    line[1] = 16;
                                                  },
                                                  [&](int i) {
                                                    send(EM_GETLINE,
                                                         static_cast<WPARAM>(last - i % 100),
                                                         reinterpret_cast<LPARAM>(line.data()));
                                                  })});
  results.push_back({"EM_GETFIRSTVISIBLELINE",
                     TimeUs(reps, none, [&](int) { send(EM_GETFIRSTVISIBLELINE, 0, 0); })});
  results.push_back(
      {"WM_GETTEXTLENGTH", TimeUs(reps, none, [&](int) { send(WM_GETTEXTLENGTH, 0, 0); })});
  results.push_back({"WM_TZELEDIT_GETCARETPOS",
                     TimeUs(reps, none, [&](int) { send(edit.GetCaretPosMessage(), 0, 0); })});
  results.push_back({"WM_TZELEDIT_SETCARETPOS", TimeUs(reps, quiet, [&](int i) {
                       send(edit.SetCaretPosMessage(), 0, MakeLong(i % 10, 32767 - i % 3));
                     })});
  results.push_back({"WM_GETDLGCODE", TimeUs(reps, none, [&](int) { send(WM_GETDLGCODE, 0, 0); })});
  std::vector<char> text(1 << 20);
  const double getText = TimeUs(
      20, none, [&](int) { send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())); });

  // ---- editing: typed characters, Enter, Backspace, undo, a 1 MB paste ----
  // Each at the start, the middle and the end of the document; painting is
  // headless (recorded, not rasterised) and counted in.
  struct Place {
    const char* name;
    int row;
  };
  const Place places[] = {{"start", 0}, {"middle", last / 2}, {"end", last}};
  {
    // The very first edit after loading, timed alone.
    THeadlessHost freshHost;
    TZelEdit fresh(freshHost);
    freshHost.selfDispatch = [&](unsigned m, std::uintptr_t w, std::intptr_t l) {
      return fresh.Dispatch(m, w, l).value_or(0);
    };
    fresh.Dispatch(WM_CREATE, 0, 0);
    fresh.Dispatch(WM_SIZE, 0, 0);
    fresh.Dispatch(WM_SETFOCUS, 0, 0);
    fresh.SetColumn(1000);
    fresh.LoadFile(argv[1]);
    const int freshLast = fresh.Lines().Count() - 1;
    fresh.GoToPosition(0, freshLast, 0);
    auto t0 = Clock::now();
    fresh.TypeText("x");
    const double firstEdit = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    fresh.GoToPosition(0, 0, 0);
    t0 = Clock::now();
    fresh.TypeText("x");
    const double farEdit = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    std::printf("first edit after loading (end): %.1f us; next edit far away (start): %.1f us\n",
                firstEdit, farEdit);
  }
  std::printf("%-36s %10s %10s %10s\n", "edit (median of 200, us)", "start", "middle", "end");
  auto editRow = [&](const char* name, const std::function<void()>& op) {
    std::printf("%-36s", name);
    for (const Place& place : places) {
      const double us = TimeUs(
          200,
          [&](int) {
            host.drawn.clear();
            edit.GoToPosition(2, place.row, 0);
          },
          [&](int) { op(); });
      std::printf(" %10.1f", us);
    }
    std::printf("\n");
  };
  editRow("typed character", [&] { edit.TypeText("a"); });
  editRow("typed double-byte character", [&] { edit.TypeText("\x82\xA0"); });
  editRow("Enter", [&] { edit.InsertLineBreak(); });
  editRow("Backspace", [&] { edit.DeleteCharLeft(); });
  editRow("typed character, then undo", [&] {
    edit.TypeText("b");
    edit.Undo();
  });
  {
    std::string megabyte;
    while (megabyte.size() < (1 << 20)) megabyte += "paste line \x93\xFA\x96\x7B\x8C\xEA text\r\n";
    host.clipboardText = megabyte;
    std::printf("%-36s", "paste 1 MiB (ms)");
    for (const Place& place : places) {
      const double us = TimeUs(
          5, [&](int) { edit.GoToPosition(0, place.row, 0); },
          [&](int) { edit.PasteFromClipboard(); });
      std::printf(" %10.2f", us / 1000);
    }
    std::printf("\n");
  }

  // ---- painting: a full view at the end of the document and a page down ----
  {
    auto paint = [&](TZelEdit& target, THeadlessHost& targetHost, const char* name) {
      targetHost.clientSize = {900, 50 * target.RowPitch() + target.TopMargin()};
      target.Dispatch(WM_SIZE, 0, 0);
      target.GoToPosition(0, target.Lines().Count() - 1, 0);
      const double view = TimeUs(
          200, [&](int) { targetHost.drawn.clear(); }, [&](int) { target.PaintView(); });
      targetHost.drawn.clear();
      target.PaintView();
      const auto calls = targetHost.drawn.size();
      // Page Down scrolls and invalidates; the paint message then repaints.
      const double page = TimeUs(
          200,
          [&](int) {
            targetHost.drawn.clear();
            target.GoToPosition(0, target.Lines().Count() - 90, 0);
          },
          [&](int) {
            target.Dispatch(WM_KEYDOWN, VK_NEXT, 0);
            target.PaintView();
          });
      std::printf("%-36s view %8.1f us, page down %8.1f us, %zu drawing calls for 50 rows\n", name,
                  view, page, calls);
    };
    paint(edit, host, "paint, 100 MB document");
    THeadlessHost smallHost;
    TZelEdit small(smallHost);
    smallHost.selfDispatch = [&](unsigned m, std::uintptr_t w, std::intptr_t l) {
      return small.Dispatch(m, w, l).value_or(0);
    };
    small.Dispatch(WM_CREATE, 0, 0);
    small.Dispatch(WM_SIZE, 0, 0);
    small.SetColumn(1000);
    // The last 100 rows of the same text: the same content, a tiny document.
    std::string head;
    for (int r = last - 99; r <= last; ++r) head += std::string(edit.Lines()[r]);
    head.resize(head.size() - 2);
    const std::string smallFile = std::string(argv[1]) + ".100rows";
    if (FILE* out = std::fopen(smallFile.c_str(), "wb")) {
      std::fwrite(head.data(), 1, head.size(), out);
      std::fclose(out);
    }
    small.LoadFile(smallFile);
    std::remove(smallFile.c_str());
    paint(small, smallHost, "paint, 100-row document");
  }

  TypeAtEndOfLongLinkLine(std::string(argv[1]) + ".longline");

  std::printf("%-36s %12s\n", "operation (median of 2000)", "microseconds");
  double worst = 0;
  for (const auto& r : results) {
    std::printf("%-36s %12.2f\n", r.name, r.us);
    worst = std::max(worst, r.us);
  }
  std::printf("%-36s %12.2f   (1 MiB buffer; not bound by a row)\n", "WM_GETTEXT", getText);
  std::printf("worst: %.2f us (target <= 50)\n", worst);
  return 0;
}
