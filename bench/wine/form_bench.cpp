// The window's long operations under Wine against bare floors over the same folders: the scan
// against a recursive FindFirstFileW walk, a listing against one enumeration, and the
// lower-casing run against a loop that enumerates and renames the same entries.
// Usage: form_bench [scan|list|run|all] [scale]   (scale 1 = the sizes below)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Unit1/Form1.h"
#include "Unit2/Unit2.h"
#include "bench/bench_clock.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"

namespace {

using bench::Clock;
using bench::Seconds;

std::wstring Wide(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
  w.resize(n - 1);
  return w;
}

std::string TempRoot(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string root = std::string(temp) + "kestrune-bench-" + name + "\\";
  CreateDirectoryA(root.c_str(), nullptr);
  return root;
}

void Touch(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// A tree of `folders` folders below root, fanout per level, `filesPerFolder` files in each.
void MakeTree(const std::string& root, int folders, int fanout, int filesPerFolder) {
  std::vector<std::wstring> queue{Wide(root)};
  int made = 0;
  for (size_t i = 0; i < queue.size() && made < folders; ++i) {
    for (int c = 0; c < fanout && made < folders; ++c, ++made) {
      std::wstring sub = queue[i] + L"FOLDER" + std::to_wstring(c) + L"\\";
      CreateDirectoryW(sub.c_str(), nullptr);
      for (int f = 0; f < filesPerFolder; ++f) Touch(sub + L"FILE" + std::to_wstring(f) + L".TXT");
      queue.push_back(sub);
    }
  }
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(folder + name + L"\\");
      else
        DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

// The floor of a scan: every folder visited once, its subfolder names kept.
size_t FloorWalk(const std::wstring& folder, std::vector<std::wstring>& names) {
  size_t entries = 0;
  std::vector<std::wstring> subs;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &fd,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    ++entries;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != L'.') {
      subs.push_back(fd.cFileName);
      names.push_back(fd.cFileName);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  for (const auto& s : subs) entries += FloorWalk(folder + s + L"\\", names);
  return entries;
}

// The floor of a run: every entry of every folder renamed to lower case, through a temporary
// name where the volume ignores a case-only rename (as Wine's does). With toUpper, the way back
// that resets a tree between repetitions.
size_t FloorRename(const std::wstring& folder, bool toUpper = false) {
  std::vector<std::wstring> names, subs;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &fd,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (fd.cFileName[0] == L'.') continue;
    names.push_back(fd.cFileName);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) subs.push_back(fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  size_t renamed = 0;
  for (const auto& n : names) {
    std::wstring changed = n;
    for (auto& c : changed) {
      if (!toUpper && c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
      if (toUpper && c >= L'a' && c <= L'z') c = c - L'a' + L'A';
    }
    if (changed == n) continue;
    std::wstring from = folder + n, to = folder + changed, tmp = folder + L"~kestrune.tmp";
    if (MoveFileW(from.c_str(), tmp.c_str()) && MoveFileW(tmp.c_str(), to.c_str())) ++renamed;
  }
  for (const auto& s : subs) {
    std::wstring sub = s;
    for (auto& c : sub) {
      if (!toUpper && c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
      if (toUpper && c >= L'a' && c <= L'z') c = c - L'a' + L'A';
    }
    renamed += FloorRename(folder + sub + L"\\", toUpper);
  }
  return renamed;
}

// Answers the confirmation box with Yes as soon as it shows.
void AnswerYesSoon() {
  std::thread([] {
    for (int i = 0; i < 500; ++i) {
      HWND box = FindWindowA(nullptr, texts::kCaptionConfirmation);
      if (box) {
        HWND yes = FindWindowExA(box, nullptr, "Button", texts::kButtonYes);
        if (yes) {
          PostMessageA(yes, BM_CLICK, 0, 0);
          return;
        }
      }
      Sleep(5);
    }
  }).detach();
}

// The best of three alternating timings of the floor and of ours, in seconds.
struct Timings {
  double floor = 1e9;
  double ours = 1e9;
};
template <typename Floor, typename Ours>
Timings BestOfThree(Floor floor, Ours ours) {
  Timings best;
  for (int rep = 0; rep < 3; ++rep) {
    auto t0 = Clock::now();
    floor();
    best.floor = std::min(best.floor, Seconds(t0));
    t0 = Clock::now();
    ours();
    best.ours = std::min(best.ours, Seconds(t0));
  }
  return best;
}

struct Bench {
  TForm1 form;
  Bench() {
    toolkit::Application::Get().SetTitle(texts::kApplicationTitle);
    toolkit::Application::Get().CreateForm(form);
    form.FireShow();
  }
};

void ScanBench(int scale) {
  int folders = 100000 / scale;
  std::string root = TempRoot("scan");
  std::printf("scan: making %d folders ...\n", folders);
  MakeTree(root, folders, 10, 0);
  Bench b;
  b.form.SearchFolder = root;
  auto floorWalk = [&] {
    std::vector<std::wstring> names;
    FloorWalk(Wide(root), names);
  };
  Timings t = BestOfThree(floorWalk, [&] { b.form.BuildFolderTree(); });
  std::printf("scan: %d nodes; floor %.3f s, BuildFolderTree %.3f s, ratio %.2f (%.2f us/folder)\n",
              b.form.TreeView1.Count(), t.floor, t.ours, t.ours / t.floor,
              t.ours * 1e6 / b.form.TreeView1.Count());
  RemoveTree(Wide(root));
}

void ListBench(int scale) {
  int files = 100000 / scale;
  std::string root = TempRoot("list");
  std::printf("list: making %d files ...\n", files);
  for (int f = 0; f < files; ++f) Touch(Wide(root) + L"FILE" + std::to_wstring(f) + L".TXT");
  Bench b;
  auto floorWalk = [&] {
    std::vector<std::wstring> names;
    FloorWalk(Wide(root), names);
  };
  Timings t = BestOfThree(floorWalk, [&] { b.form.ListFolder(root); });
  const double best = t.ours, bestFloor = t.floor;
  std::printf("list: %d rows; floor %.3f s, ListFolder %.3f s, ratio %.2f (%.2f us/row)\n",
              b.form.StringGrid1.RowCount() - 1, bestFloor, best, best / bestFloor,
              best * 1e6 / (b.form.StringGrid1.RowCount() - 1));
  RemoveTree(Wide(root));
}

// The run with its journal beside the program, and without one (no folder for it), against the
// floor; then the undo of the journaled run (Ctrl+Z, answered Yes), which also puts the tree back.
// Best of three.
void RunBench(int scale) {
  int folders = 2000 / scale, files = 10;
  std::string ours = TempRoot("runA"), floorRoot = TempRoot("runB");
  std::printf("run: making 2 x %d folders, %d files ...\n", folders, folders * files);
  MakeTree(ours, folders, 10, files);
  MakeTree(floorRoot, folders, 10, files);
  Bench b;
  const std::string exeFolder = ExeFolder;
  size_t renamed = 0;
  double floor = 1e9, journaled = 1e9, unjournaled = 1e9, undone = 1e9;
  std::string status, undoStatus;
  auto timed = [](const std::function<void()>& step) {
    const auto t0 = Clock::now();
    step();
    return Seconds(t0);
  };
  auto run = [&] {
    b.form.SearchFolder = ours;
    b.form.BuildFolderTree();
    AnswerYesSoon();
    const double seconds = timed([&] { b.form.MnuKestruneClick(); });
    status = b.form.StatusBar1.Text();
    return seconds;
  };
  for (int rep = 0; rep < 3; ++rep) {
    floor = std::min(floor, timed([&] { renamed = FloorRename(Wide(floorRoot)); }));
    FloorRename(Wide(floorRoot), true);
    ExeFolder = std::string();
    unjournaled = std::min(unjournaled, run());
    FloorRename(Wide(ours), true);
    ExeFolder = exeFolder;
    journaled = std::min(journaled, run());
    AnswerYesSoon();
    undone = std::min(undone, timed([&] { b.form.UndoLastRun(); }));
    undoStatus = b.form.StatusBar1.Text();
  }
  WIN32_FILE_ATTRIBUTE_DATA journal{};
  GetFileAttributesExA((exeFolder + "Kestrune.log").c_str(), GetFileExInfoStandard, &journal);
  std::printf(
      "run: floor %zu renames %.3f s; MnuKestruneClick with journal %.3f s (ratio %.2f), "
      "without %.3f s (ratio %.2f); journal share %.1f%%, journal %lu bytes; undo %.3f s "
      "(%.2f of the run); status: %s / %s\n",
      renamed, floor, journaled, journaled / floor, unjournaled, unjournaled / floor,
      (journaled - unjournaled) / journaled * 100, journal.nFileSizeLow, undone,
      undone / journaled, status.c_str(), undoStatus.c_str());
  RemoveTree(Wide(ours));
  RemoveTree(Wide(floorRoot));
}

}  // namespace

int main(int argc, char** argv) {
  std::string what = argc > 1 ? argv[1] : "all";
  int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  if (what == "scan" || what == "all") ScanBench(scale);
  if (what == "list" || what == "all") ListBench(scale);
  if (what == "run" || what == "all") RunBench(scale);
  return 0;
}
