// Times the lower-casing run over 10,000 folders of 10 upper-case files each on the memory
// volume: time per folder and per renamed entry, against the renames alone.
// Usage: bench_run [folders]   (default 10000; 10 files in each)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Unit1/Form1.h"
#include "bench/bench_clock.h"
#include "platform/files.h"
#include "platform/rename.h"
#include "platform/memory/memory_volume.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/headless/headless.h"

namespace {

using bench::Clock;
using bench::Seconds;

constexpr int kFilesPerFolder = 10;

// `folders` folders FOLDERn, 10 below each, every one holding kFilesPerFolder FILEn.TXT.
std::vector<std::string> MakeTree(const std::string& root, int folders) {
  std::vector<std::string> made;
  std::vector<std::string> queue{root};
  for (size_t i = 0; i < queue.size() && static_cast<int>(made.size()) < folders; ++i) {
    for (int c = 0; c < 10 && static_cast<int>(made.size()) < folders; ++c) {
      const std::string folder = queue[i] + "FOLDER" + std::to_string(c) + "\\";
      memory::Volume::Get().MakeFolder(folder.substr(0, folder.size() - 1));
      for (int f = 0; f < kFilesPerFolder; ++f) {
        memory::Volume::Get().MakeFile(folder + "FILE" + std::to_string(f) + ".TXT", 100);
      }
      made.push_back(folder);
      queue.push_back(folder);
    }
  }
  return made;
}

}  // namespace

int main(int argc, char** argv) {
  const int folders = argc > 1 ? std::atoi(argv[1]) : 10000;
  toolkit::Application::Get().SetTitle(texts::kApplicationTitle);
  memory::Volume& volume = memory::Volume::Get();
  volume.Reset();
  volume.MakeFile("C:\\app\\Kestrune.exe");
  MakeTree("C:\\run\\", folders);

  TForm1 form;
  toolkit::Application::Get().CreateForm(form);
  toolkit::PlatformShowForm(form);
  headless::AnswerOpenDialog("C:\\run\\" + std::string(texts::kOpenDialogPresetName));
  form.MnuSearchFolder.Click();
  const int nodes = form.TreeView1.Count();

  headless::AnswerDialog(toolkit::DialogResult::Yes);
  const int renamesBefore = volume.RenameCalls();
  Clock::time_point start = Clock::now();
  form.MnuKestrune.Click();
  const double runSeconds = Seconds(start);
  const int renames = volume.RenameCalls() - renamesBefore;
  std::printf("Run over %d folders: %d renames, %.3f s, %.2f us per folder, %.2f us per rename\n",
              nodes, renames, runSeconds, runSeconds / nodes * 1e6, runSeconds / renames * 1e6);

  // The floor: the same renames back to upper case straight through the platform service.
  std::vector<std::string> paths;
  for (int n = 1; n < nodes; ++n) {
    const std::string folder = form.FolderPathOfNode(n);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      paths.push_back(folder + "file" + std::to_string(f) + ".txt");
    }
  }
  start = Clock::now();
  for (const std::string& path : paths) {
    RenameEntry(path, FolderPartOf(path) +
                          UpperCaseText(path.substr(FolderPartOf(path).size()), IsLeadByte));
  }
  const double floorSeconds = Seconds(start);
  std::printf("Renames alone: %zu in %.3f s, %.2f us per rename\n", paths.size(), floorSeconds,
              floorSeconds / paths.size() * 1e6);
  return 0;
}
