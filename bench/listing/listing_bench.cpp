// Times the listing of one folder of 100,000 entries, the header-click sort of those rows by
// each column in both directions, and a full repaint of the grid with its size fitting.
// Targets: a sort under 0.5 s, a repaint under 16 ms.
// Usage: bench_listing [entries]   (default 100000)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Unit1/Form1.h"
#include "bench/bench_clock.h"
#include "bench/resident.h"
#include "platform/memory/memory_volume.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/headless/headless.h"

namespace {

using bench::Clock;
using bench::Seconds;

// Presses the middle of a header cell, as the user would.
void PressHeader(TForm1& form, int col) {
  toolkit::StringGrid& grid = form.StringGrid1;
  int left = 0;
  for (int c = grid.LeftCol(); c < col; ++c) left += grid.ColWidth(c) + grid.GridLineWidth();
  grid.MouseDown(toolkit::MouseButton::Left, toolkit::ssNone, left + grid.ColWidth(col) / 2, 5);
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
  toolkit::Application::Get().SetTitle(texts::kApplicationTitle);
  memory::Volume& volume = memory::Volume::Get();
  volume.Reset();
  volume.MakeFile("C:\\app\\Kestrune.exe");
  // Mixed names, extensions, sizes and times, some folders, in no particular order.
  const char* extensions[] = {".TXT", ".c", ".Jpg", "", ".tar.gz", ".DOC", ".h"};
  for (int i = 0; i < entries; ++i) {
    const unsigned k = static_cast<unsigned>(i) * 2654435761u;
    const std::string name = (k % 3 == 0   ? "File"
                              : k % 3 == 1 ? "data_"
                                           : "Report ") +
                             std::to_string(k % 1000003) + extensions[k % 7];
    if (k % 50 == 0) {
      volume.MakeFolder("C:\\big\\" + name);
    } else {
      volume.MakeFile("C:\\big\\" + name, k % 5000000,
                      {static_cast<int>(1990 + k % 30), static_cast<int>(1 + k % 12),
                       static_cast<int>(1 + k % 28), static_cast<int>(k % 24),
                       static_cast<int>(k % 60), static_cast<int>(k % 60)});
    }
  }

  TForm1 form;
  toolkit::Application::Get().CreateForm(form);
  toolkit::PlatformShowForm(form);
  headless::AnswerOpenDialog("C:\\big\\" + std::string(texts::kOpenDialogPresetName));
  form.MnuSearchFolder.Click();
  form.TreeView1.Select(form.TreeView1.NodeAt(0));

  const long rssBefore = bench::ResidentBytes();
  Clock::time_point start = Clock::now();
  form.TreeView1.Click();
  const double listSeconds = Seconds(start);
  const int rows = form.StringGrid1.RowCount() - 1;
  std::printf("Listing %d entries: %.3f s, %.3f us per row, resident growth %.0f bytes per row\n",
              rows, listSeconds, listSeconds / rows * 1e6,
              static_cast<double>(bench::ResidentBytes() - rssBefore) / rows);

  const char* names[] = {"name", "size", "type", "date"};
  // Every sort turns the direction, which starts ascending.
  bool descending = false;
  auto sortEach = [&](const char* what) {
    for (int col = 0; col < 4; ++col) {
      for (int pass = 0; pass < 2; ++pass) {
        headless::TakeChangedCells(form.StringGrid1);
        start = Clock::now();
        PressHeader(form, col);
        std::printf("Sort%s by %s, %s: %.3f s\n", what, names[col],
                    descending ? "descending" : "ascending", Seconds(start));
        descending = !descending;
      }
    }
  };
  sortEach("");
  start = Clock::now();
  PressHeader(form, 4);
  std::printf("Attribute header (lists again): %.3f s\n", Seconds(start));

  // The grid font's digit is 7 pixels: the first repaint re-pads every size to 11 characters,
  // later ones write the same texts back.
  headless::SetGridCharWidth(7);
  for (int pass = 1; pass <= 3; ++pass) {
    // The headless peer's record of written cells is a test aid; it starts empty each time.
    headless::TakeChangedCells(form.StringGrid1);
    start = Clock::now();
    headless::PaintGrid(form.StringGrid1);
    std::printf("Full repaint %d with size fitting over %d rows: %.2f ms\n", pass, rows,
                Seconds(start) * 1e3);
  }
  // Dragging the size column's border back and forth: every repaint re-pads every row.
  constexpr int kDrags = 20;
  double slowest = 0;
  double total = 0;
  for (int drag = 0; drag < kDrags; ++drag) {
    form.StringGrid1.SetColWidth(1, drag % 2 == 0 ? 10 : 80);
    start = Clock::now();
    headless::PaintGrid(form.StringGrid1);
    const double seconds = Seconds(start);
    total += seconds;
    slowest = std::max(slowest, seconds);
    headless::TakeChangedCells(form.StringGrid1);
  }
  std::printf(
      "Repaint after each of %d column resizes, re-padding every row: %.2f ms average, "
      "%.2f ms slowest\n",
      kDrags, total / kDrags * 1e3, slowest * 1e3);

  // Ties everywhere but in the name: one size, one type, one time, in three runs of names.
  for (int i = 0; i < entries; ++i) {
    volume.MakeFile("C:\\same\\" +
                        std::string(i % 3 == 0   ? "b"
                                    : i % 3 == 1 ? "A"
                                                 : "c") +
                        std::to_string(i) + ".TXT",
                    100);
  }
  headless::AnswerOpenDialog("C:\\same\\" + std::string(texts::kOpenDialogPresetName));
  form.MnuSearchFolder.Click();
  form.TreeView1.Select(form.TreeView1.NodeAt(0));
  form.TreeView1.Click();
  std::printf("Tied listing: %d rows\n", form.StringGrid1.RowCount() - 1);
  sortEach(" of ties");
  return 0;
}
