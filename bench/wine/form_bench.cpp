// The window's long operations under Wine against bare floors over the same folders: the scan
// against a recursive FindFirstFileW walk, a listing against one enumeration, and the
// lower-casing run against a loop that enumerates and renames the same entries.
// Usage: form_bench [scan|list|run|all] [scale] [minimized]   (scale 1 = the sizes below)
//        form_bench memory [entries]                (memory per node and per row)
//        form_bench journal [renames]               (an undo's reading of a long journal)
//        form_bench trace [folders]                 (a run and an undo between trace marks)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

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
#include "journal/records.h"
#include "journal/undo.h"
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

std::string TempRoot(const std::string& name) {
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

// The floor of a scan, as a user's other tools pay it: a recursive FindFirstFileA walk that
// keeps every subfolder's name.
size_t FloorWalk(const std::string& folder, std::vector<std::string>& names) {
  size_t entries = 0;
  std::vector<std::string> subs;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    ++entries;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != '.') {
      subs.push_back(fd.cFileName);
      names.push_back(fd.cFileName);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  for (const auto& sub : subs) entries += FloorWalk(folder + sub + "\\", names);
  return entries;
}

// The floor of a listing: one FindFirstFileA enumeration, every name kept.
size_t FloorList(const std::string& folder, std::vector<std::string>& names) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names.size();
}

// Runs a command on the Unix side (Wine starts a program named by its Unix path as a Unix
// process) and waits for the file it makes last: the handle Wine gives does not wait for it.
void RunUnix(const std::string& command, const std::string& doneFile) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = command;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start %s\n", command.c_str());
    std::exit(1);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  while (GetFileAttributesA(doneFile.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(100);
  DeleteFileA(doneFile.c_str());
}

std::string UnixPathOf(const std::string& path) {
  using UnixFileName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return std::string();
  char* name = unixName(Wide(path).c_str());
  std::string unixPath = name != nullptr ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return unixPath;
}

// Below root, made from Linux (Wine needs quadratic time for many entries in one folder):
// `folders` folders FOLDERn, ten below each in breadth-first order, each with `files` files
// FILEn.TXT; and `rootFiles` files in root itself. Kept between runs of the benchmark.
void MakeTreeFromLinux(const std::string& root, int folders, int files, int rootFiles) {
  // The script and its marks stay beside the folder, out of what is measured.
  const std::string base = root.substr(0, root.size() - 1);
  const std::string made = base + ".made";
  if (GetFileAttributesA(made.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::string unixRoot = UnixPathOf(root);
  if (!unixRoot.empty() && unixRoot.back() == '/') unixRoot.pop_back();
  const std::string script =
      "import os\n"
      "root = '" +
      unixRoot +
      "'\n"
      "def files(d, n):\n"
      "    for f in range(n): open(os.path.join(d, 'FILE%d.TXT' % f), 'w').close()\n"
      "files(root, " +
      std::to_string(rootFiles) +
      ")\n"
      "queue, made = [root], 0\n"
      "while made < " +
      std::to_string(folders) +
      ":\n"
      "    parent = queue.pop(0)\n"
      "    for c in range(10):\n"
      "        if made == " +
      std::to_string(folders) +
      ": break\n"
      "        d = os.path.join(parent, 'FOLDER%d' % c)\n"
      "        os.mkdir(d); files(d, " +
      std::to_string(files) +
      "); queue.append(d); made += 1\n"
      "open(root + '.made', 'w').close()\n"
      "open(root + '.done', 'w').close()\n";
  std::FILE* out = std::fopen((base + ".py").c_str(), "wb");
  std::fwrite(script.data(), 1, script.size(), out);
  std::fclose(out);
  RunUnix("/usr/bin/python3 " + unixRoot + ".py", base + ".done");
}

// Bytes the process uses: its working set (Wine reports no private bytes), to tell memory per
// node or row; and the address space taken, which a 32-bit program has 2 GB of.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

size_t AddressSpaceTaken() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return static_cast<size_t>(status.ullTotalVirtual - status.ullAvailVirtual);
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

// Answers the next `boxes` confirmation boxes with Yes as soon as each shows (a run without its
// journal asks twice).
void AnswerYesSoon(int boxes = 1) {
  std::thread([boxes] {
    HWND answered = nullptr;
    for (int i = 0, left = boxes; i < 1000 && left > 0; ++i) {
      HWND box = FindWindowA(nullptr, texts::kCaptionConfirmation);
      HWND yes = box != nullptr && box != answered
                     ? FindWindowExA(box, nullptr, "Button", texts::kButtonYes)
                     : nullptr;
      if (yes) {
        PostMessageA(yes, BM_CLICK, 0, 0);
        answered = box;
        --left;
        continue;
      }
      if (box == nullptr) answered = nullptr;
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

// Set by the argument "minimized": the window is shown, then minimized, so that the gap to a
// window in view tells what painting costs.
bool benchMinimized = false;

BOOL CALLBACK TakeVisibleWindow(HWND hwnd, LPARAM found) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

HWND ShownWindowOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeVisibleWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

struct Bench {
  TForm1 form;
  Bench() {
    toolkit::Application::Get().SetTitle(texts::kApplicationTitle);
    toolkit::Application::Get().CreateForm(form);
    // In view, as a user sees it: what the run paints is part of its time.
    toolkit::PlatformShowForm(form);
    form.FireShow();
    if (benchMinimized) ShowWindow(ShownWindowOfThisThread(), SW_MINIMIZE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
};

// The scan of a tree of 20,000 folders with 5 files each (100,000 files) against the bare walk.
void ScanBench(int scale) {
  const int folders = 20000 / scale;
  const std::string root = TempRoot("scan" + std::to_string(folders));
  std::printf("scan: %d folders of 5 files (made from Linux once)\n", folders);
  MakeTreeFromLinux(root, folders, 5, 0);
  Bench b;
  b.form.FormDropFiles({root});  // chosen as a user would, and scanned once
  size_t walked = 0;
  auto floorWalk = [&] {
    std::vector<std::string> names;
    walked = FloorWalk(root, names);
  };
  Timings t = BestOfThree(floorWalk, [&] { b.form.BuildFolderTree(); });
  std::printf(
      "scan: %d nodes, %zu entries walked; floor %.3f s, BuildFolderTree %.3f s, ratio %.2f "
      "(%.2f us/folder)\n",
      b.form.TreeView1.Count(), walked, t.floor, t.ours, t.ours / t.floor,
      t.ours * 1e6 / b.form.TreeView1.Count());
}

// A listing of one folder of 100,000 files against the bare enumeration.
void ListBench(int scale) {
  const int files = 100000 / scale;
  const std::string root = TempRoot("list" + std::to_string(files));
  std::printf("list: %d files in one folder (made from Linux once)\n", files);
  MakeTreeFromLinux(root, 0, 0, files);
  Bench b;
  auto floorList = [&] {
    std::vector<std::string> names;
    FloorList(root, names);
  };
  // The first listing into a fresh grid allocates its cells; later ones write into them.
  auto t0 = Clock::now();
  b.form.ListFolder(root);
  const double first = Seconds(t0);
  Timings t = BestOfThree(floorList, [&] { b.form.ListFolder(root); });
  const int rows = b.form.StringGrid1.RowCount() - 1;
  std::printf(
      "list: %d rows; floor %.3f s, ListFolder %.3f s, ratio %.2f (%.2f us/row); first "
      "listing %.3f s (%.2f)\n",
      rows, t.floor, t.ours, t.ours / t.floor, t.ours * 1e6 / rows, first, first / t.floor);
}

// Memory of the 32-bit program per tree node (a scan of `entries` folders) and per grid row (a
// listing of `entries` files): committed bytes before and after.
void MemoryBench(int entries) {
  const std::string list = TempRoot("list" + std::to_string(entries));
  const std::string scan = TempRoot("mem-scan" + std::to_string(entries));
  std::printf("memory: %d folders and %d files (made from Linux once) ...\n", entries, entries);
  MakeTreeFromLinux(list, 0, 0, entries);
  MakeTreeFromLinux(scan, entries, 0, 0);
  Bench b;
  size_t before = PrivateBytes();
  b.form.ListFolder(list);
  const int rows = b.form.StringGrid1.RowCount() - 1;
  const double perRow = static_cast<double>(PrivateBytes() - before) / rows;
  b.form.ListFolder(TempRoot("empty"));
  before = PrivateBytes();
  b.form.FormDropFiles({scan});
  const int nodes = b.form.TreeView1.Count();
  const double perNode = static_cast<double>(PrivateBytes() - before) / nodes;
  std::printf(
      "memory: %d rows, %.0f bytes per row; %d nodes, %.0f bytes per node; working set %zu MB, "
      "address space taken %zu MB of 2047\n",
      rows, perRow, nodes, perNode, PrivateBytes() >> 20, AddressSpaceTaken() >> 20);
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
    b.form.FormDropFiles({ours});
    AnswerYesSoon(ExeFolder.empty() ? 2 : 1);
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
      (journaled - unjournaled) / journaled * 100, journal.nFileSizeLow, undone, undone / journaled,
      status.c_str(), undoStatus.c_str());
  RemoveTree(Wide(ours));
  RemoveTree(Wide(floorRoot));
}

// What reading the journal of a run of `renames` renames costs an undo: the journal is written
// here (no entry needs to exist), read as Ctrl+Z reads it, then every rename read back.
void JournalBench(int renames) {
  const std::string path = TempRoot("journal") + "Kestrune.log";
  const std::string folder = "C:\\kestrune-bench-journal-data\\";
  {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string text = journal::HeaderRecord() + journal::FolderRecord(folder);
    DWORD written = 0;
    for (int n = 1; n <= renames; ++n) {
      const std::string dir = folder + "SUB\\FOLDER" + std::to_string(n % 1000) + "\\";
      const std::string name = "FILE" + std::to_string(n) + ".TXT";
      std::string lower = name;
      for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      text += journal::PlanRecord(n, {dir + name, dir + lower + ".~kestrune.tmp", dir + lower});
      text += journal::ResultRecord(n, RenameOutcome::Renamed);
      if (text.size() > (1u << 20)) {
        WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        text.clear();
      }
    }
    text += journal::FinishedRecord();
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
  }
  WIN32_FILE_ATTRIBUTE_DATA size{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &size);
  const size_t before = PrivateBytes();
  auto t0 = Clock::now();
  journal::Undo undo(path);
  const double read = Seconds(t0);
  const size_t afterRead = PrivateBytes();
  t0 = Clock::now();
  int loaded = 0;
  for (int i = undo.Count() - 1; i >= 0; --i) loaded += undo.Load(i) ? 1 : 0;
  const double readBack = Seconds(t0);
  std::printf(
      "journal: %d renames, %.0f MB; read %.2f s, %d undoable, %.1f MB more memory "
      "(%.1f bytes a rename); every rename read back in %.2f s (%d); working set %zu MB\n",
      renames, (static_cast<double>(size.nFileSizeHigh) * 4294967296.0 + size.nFileSizeLow) / 1e6,
      read, undo.Count(), static_cast<double>(afterRead - before) / 1e6,
      static_cast<double>(afterRead - before) / renames, readBack, loaded, PrivateBytes() >> 20);
  DeleteFileA(path.c_str());
}

// A mark in a trace of server requests: creating a named event is one request that names it
// (create_event), and OutputDebugString shows it with WINEDEBUG=+debugstr.
void Mark(const char* name) {
  OutputDebugStringA(name);
  CloseHandle(CreateEventA(nullptr, FALSE, FALSE, name));
}

// One journaled run of a small tree and its undo, each between marks, for a trace of its server
// requests (a wineserver started with -d2; tools/count-requests reads it), and one floor pass
// likewise.
void TraceBench(int folders) {
  const std::string ours = TempRoot("traceA"), floorRoot = TempRoot("traceB");
  MakeTree(ours, folders, 10, 10);
  MakeTree(floorRoot, folders, 10, 10);
  Bench b;
  b.form.FormDropFiles({ours});
  Mark("kestrune-mark floor-begin");
  const size_t renamed = FloorRename(Wide(floorRoot));
  Mark("kestrune-mark floor-end");
  AnswerYesSoon();
  Sleep(200);  // the answering thread's own requests come before the mark
  Mark("kestrune-mark run-begin");
  b.form.MnuKestruneClick();
  Mark("kestrune-mark run-end");
  AnswerYesSoon();
  Mark("kestrune-mark undo-begin");
  b.form.UndoLastRun();
  Mark("kestrune-mark undo-end");
  std::printf("trace: %zu renames of the floor; run: %s\n", renamed,
              b.form.StatusBar1.Text().c_str());
  RemoveTree(Wide(ours));
  RemoveTree(Wide(floorRoot));
}

}  // namespace

int main(int argc, char** argv) {
  std::string what = argc > 1 ? argv[1] : "all";
  int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  benchMinimized = argc > 3 && std::string(argv[3]) == "minimized";
  if (what == "scan" || what == "all") ScanBench(scale);
  if (what == "list" || what == "all") ListBench(scale);
  if (what == "run" || what == "all") RunBench(scale);
  if (what == "memory") MemoryBench(argc > 2 ? std::atoi(argv[2]) : 100000);
  if (what == "journal") JournalBench(argc > 2 ? std::atoi(argv[2]) : 1000000);
  if (what == "trace") TraceBench(argc > 2 ? std::atoi(argv[2]) : 20);
  return 0;
}
