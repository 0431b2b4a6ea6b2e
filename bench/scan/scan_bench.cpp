// Times the folder scan of a wide tree of 111,110 folders and of a 2,000-deep chain on the
// memory volume, and measures what the tree holds per node.
// Usage: bench_scan [levels]   (a tree of 10 + 100 + ... + 10^levels folders; default 5)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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

// Folders FOLDERn below root, `fanout` per folder, `levels` deep.
int MakeWideTree(const std::string& root, int fanout, int levels) {
  std::vector<std::string> level{root};
  int made = 0;
  for (int depth = 0; depth < levels; ++depth) {
    std::vector<std::string> next;
    for (const std::string& folder : level) {
      for (int c = 0; c < fanout; ++c) {
        next.push_back(folder + "\\FOLDER" + std::to_string(c));
        memory::Volume::Get().MakeFolder(next.back());
        ++made;
      }
    }
    level.swap(next);
  }
  return made;
}

void Scan(const char* what, const std::string& folder, int folders) {
  headless::Reset();
  TForm1 form;
  toolkit::Application::Get().CreateForm(form);
  toolkit::PlatformShowForm(form);
  const int escPolls = memory::Volume::Get().EscPolls();
  const long rssBefore = bench::ResidentBytes();
  headless::AnswerOpenDialog(folder + texts::kOpenDialogPresetName);
  const Clock::time_point start = Clock::now();
  form.MnuSearchFolder.Click();
  const double seconds = Seconds(start);
  const long rssDelta = bench::ResidentBytes() - rssBefore;
  const int nodes = form.TreeView1.Count();
  std::printf("%s: %d folders, %d nodes\n", what, folders, nodes);
  std::printf("  scan                 %8.3f s   %8.3f us per folder\n", seconds,
              seconds / nodes * 1e6);
  std::printf(
      "  tree node footprint  %8zu bytes (plus the name's heap block when longer than "
      "the small-string buffer)\n",
      toolkit::TreeView::NodeFootprint());
  std::printf("  resident growth      %8.1f bytes per node\n",
              static_cast<double>(rssDelta) / nodes);
  std::printf("  pre-order work       %8.2f steps per node\n",
              static_cast<double>(form.TreeView1.OrderWork()) / nodes);
  std::printf("  Esc polls            %8.2f per node\n",
              static_cast<double>(memory::Volume::Get().EscPolls() - escPolls) / nodes);
  const Clock::time_point pathsStart = Clock::now();
  size_t pathBytes = 0;
  for (int i = 0; i < nodes; ++i) pathBytes += form.FolderPathOfNode(i).size();
  const double pathSeconds = Seconds(pathsStart);
  std::printf("  FolderPathOfNode     %8.3f us per node (average path %.0f bytes)\n",
              pathSeconds / nodes * 1e6, static_cast<double>(pathBytes) / nodes);
}

}  // namespace

int main(int argc, char** argv) {
  const int levels = argc > 1 ? std::atoi(argv[1]) : 5;
  toolkit::Application::Get().SetTitle(texts::kApplicationTitle);
  memory::Volume& volume = memory::Volume::Get();
  volume.Reset();
  volume.MakeFile("C:\\app\\Kestrune.exe");

  Clock::time_point start = Clock::now();
  const int wide = MakeWideTree("C:\\wide", 10, levels);
  std::printf("(volume of %d folders made in %.2f s)\n", wide, Seconds(start));
  Scan("Wide tree, 10 per folder", "C:\\wide\\", wide);

  std::string deep = "C:\\deep";
  const int depth = 2000;
  for (int i = 0; i < depth; ++i) deep += "\\d";
  volume.MakeFolder(deep);
  Scan("Deep chain", "C:\\deep\\", depth);
  return 0;
}
