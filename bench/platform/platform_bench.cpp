// Measures what the platform services add to a folder scan: the per-call cost of the throttled
// Esc poll and message pump against the raw calls, and a recursive walk through
// EnumerateEntries against a bare FindFirstFileW/FindNextFileW walk over the same large tree.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/input.h"

namespace {

constexpr int kTopFolders = 100;
constexpr int kSubFolders = 100;    // per top folder: 10,000 leaf folders
constexpr int kFilesPerLeaf = 10;   // 100,000 files
constexpr int kFlatFiles = 100000;  // one folder, where the per-entry cost shows
constexpr int kRepetitions = 5;

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double MicrosecondsPerCall(int calls, F&& call) {
  const double start = Seconds();
  for (int i = 0; i < calls; ++i) call();
  return (Seconds() - start) / calls * 1e6;
}

volatile int sink = 0;

void MeasureCalls() {
  std::printf("Per call (microseconds):\n");
  std::printf("  GetAsyncKeyState raw       %8.3f\n", MicrosecondsPerCall(200000, [] {
                sink = sink + ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0);
              }));
  std::printf("  EscDown (throttled)        %8.3f\n",
              MicrosecondsPerCall(2000000, [] { sink = sink + EscDown(); }));
  std::printf("  PeekMessage loop raw       %8.3f\n", MicrosecondsPerCall(20000, [] {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
              }));
  std::printf("  PumpMessages (throttled)   %8.3f\n", MicrosecondsPerCall(2000000, PumpMessages));
  double firstKey = 0;
  double firstPeek = 0;
  for (int i = 0; i < 5; ++i) {
    Sleep(200);
    firstKey += MicrosecondsPerCall(1, [] { sink = sink + GetAsyncKeyState(VK_ESCAPE); });
    firstPeek += MicrosecondsPerCall(1, [] {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    });
  }
  std::printf("  after 200 ms idle: GetAsyncKeyState %.1f, PeekMessage %.1f\n", firstKey / 5,
              firstPeek / 5);
}

std::string Ansi(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], length,
                      nullptr, nullptr);
  return ansi;
}

// Made once and kept: a second run reuses it.
bool MakeTree(const std::wstring& root) {
  const std::wstring done = root + L"\\complete";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  std::printf("Making the tree (once)...\n");
  const double start = Seconds();
  CreateDirectoryW(root.c_str(), nullptr);
  for (int top = 0; top < kTopFolders; ++top) {
    const std::wstring topPath = root + L"\\Top" + std::to_wstring(top);
    CreateDirectoryW(topPath.c_str(), nullptr);
    for (int sub = 0; sub < kSubFolders; ++sub) {
      const std::wstring subPath = topPath + L"\\Sub" + std::to_wstring(sub);
      if (!CreateDirectoryW(subPath.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
      }
      for (int file = 0; file < kFilesPerLeaf; ++file) {
        const std::wstring filePath = subPath + L"\\File" + std::to_wstring(file) + L".TXT";
        HANDLE handle =
            CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        CloseHandle(handle);
      }
    }
  }
  CloseHandle(CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::printf("  made in %.1f s\n", Seconds() - start);
  return true;
}

bool MakeFlatFolder(const std::wstring& flat) {
  const std::wstring done = flat + L"\\complete";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  std::printf("Making the flat folder (once)...\n");
  CreateDirectoryW(flat.c_str(), nullptr);
  for (int file = 0; file < kFlatFiles; ++file) {
    const std::wstring filePath = flat + L"\\Entry" + std::to_wstring(file) + L".DAT";
    HANDLE handle =
        CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
  }
  CloseHandle(CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return true;
}

struct Walked {
  long entries = 0;
  long folders = 0;
};

// The floor: nothing but the system's enumeration.
void BareWalk(const std::wstring& folder, Walked& walked) {
  ++walked.folders;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subfolders;
  do {
    ++walked.entries;
    const bool dots =
        found.cFileName[0] == L'.' &&
        (found.cFileName[1] == 0 || (found.cFileName[1] == L'.' && found.cFileName[2] == 0));
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots) {
      subfolders.push_back(folder + L"\\" + found.cFileName);
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  for (const std::wstring& subfolder : subfolders) BareWalk(subfolder, walked);
}

// The way the folder scan walks: the services, with an Esc poll and a pump per entry when asked.
void ServiceWalk(const std::string& folder, bool polls, Walked& walked) {
  ++walked.folders;
  std::vector<std::string> subfolders;
  EnumerateEntries(folder + "*.*", kListFilter, [&](const FileEntry& entry) {
    ++walked.entries;
    if (polls) {
      PumpMessages();
      if (EscDown()) return false;
    }
    if ((entry.Attributes & faDirectory) != 0 && entry.EntryName != "." &&
        entry.EntryName != "..") {
      subfolders.push_back(folder + entry.EntryName + "\\");
    }
    return true;
  });
  for (const std::string& subfolder : subfolders) ServiceWalk(subfolder, polls, walked);
}

// What the same walk would cost with unthrottled polls.
void RawPollWalk(const std::string& folder, Walked& walked) {
  ++walked.folders;
  std::vector<std::string> subfolders;
  EnumerateEntries(folder + "*.*", kListFilter, [&](const FileEntry& entry) {
    ++walked.entries;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) return false;
    if ((entry.Attributes & faDirectory) != 0 && entry.EntryName != "." &&
        entry.EntryName != "..") {
      subfolders.push_back(folder + entry.EntryName + "\\");
    }
    return true;
  });
  for (const std::string& subfolder : subfolders) RawPollWalk(subfolder, walked);
}

template <typename F>
double Timed(const char* what, F&& walk) {
  Walked walked;
  const double start = Seconds();
  walk(walked);
  const double seconds = Seconds() - start;
  std::printf("  %-34s %7.3f s  %ld folders  %ld entries  %.2f us/entry\n", what, seconds,
              walked.folders, walked.entries, seconds / walked.entries * 1e6);
  return seconds;
}

}  // namespace

int main() {
  MeasureCalls();

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(L"\\\\?\\") + temp + L"kestrune-bench-tree";
  const std::wstring flat = std::wstring(L"\\\\?\\") + temp + L"kestrune-bench-flat";
  if (!MakeTree(root) || !MakeFlatFolder(flat)) {
    std::printf("could not make the tree (%lu)\n", GetLastError());
    return 1;
  }
  const std::string ansiRoot = Ansi(root.substr(4)) + "\\";

  // Alternating repetitions; the machine is shared, so the best of each is compared.
  double bare = 1e9;
  double services = 1e9;
  double polled = 1e9;
  std::printf("Whole tree (the scan's shape: few entries per folder):\n");
  for (int repetition = 1; repetition <= kRepetitions; ++repetition) {
    bare = std::min(bare, Timed("bare FindFirstFileW walk", [&](Walked& w) { BareWalk(root, w); }));
    services = std::min(services, Timed("EnumerateEntries walk",
                                        [&](Walked& w) { ServiceWalk(ansiRoot, false, w); }));
    polled = std::min(polled, Timed("EnumerateEntries + Esc + pump",
                                    [&](Walked& w) { ServiceWalk(ansiRoot, true, w); }));
    if (repetition == 1) {
      Timed("EnumerateEntries + raw polls", [&](Walked& w) { RawPollWalk(ansiRoot, w); });
    }
  }
  std::printf("Best of %d, ratio to the bare walk: EnumerateEntries %.3f, with polls %.3f\n\n",
              kRepetitions, services / bare, polled / bare);

  const std::string ansiFlat = Ansi(flat.substr(4)) + "\\";
  bare = services = polled = 1e9;
  std::printf("One folder of %d files:\n", kFlatFiles);
  for (int repetition = 1; repetition <= kRepetitions; ++repetition) {
    bare = std::min(bare, Timed("bare FindFirstFileW walk", [&](Walked& w) { BareWalk(flat, w); }));
    services = std::min(services, Timed("EnumerateEntries walk",
                                        [&](Walked& w) { ServiceWalk(ansiFlat, false, w); }));
    polled = std::min(polled, Timed("EnumerateEntries + Esc + pump",
                                    [&](Walked& w) { ServiceWalk(ansiFlat, true, w); }));
    if (repetition == 1) {
      Timed("EnumerateEntries + raw polls", [&](Walked& w) { RawPollWalk(ansiFlat, w); });
    }
  }
  std::printf("Best of %d, ratio to the bare walk: EnumerateEntries %.3f, with polls %.3f\n",
              kRepetitions, services / bare, polled / bare);
  return 0;
}
