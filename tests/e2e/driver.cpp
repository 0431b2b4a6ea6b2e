// Out-of-process driver for Kestrune.exe: finds its windows, sends what a user's input would
// send, and reads back texts (the status bar through memory in the program's own process).
#include "tests/e2e/driver.h"

#include <algorithm>

#include <commctrl.h>
#include <psapi.h>

#include <cctype>
#include <cstdlib>
#include <cstddef>
#include <cstring>

#include "tests/e2e/drop_request.h"
#include "tests/support/window_search.h"

namespace e2e {
namespace {

std::string FolderOfModule() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

struct ChildArgs {
  const char* className;
  const char* text;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
  auto* args = reinterpret_cast<ChildArgs*>(lp);
  char cls[64];
  GetClassNameA(hwnd, cls, sizeof cls);
  if (args->className && _stricmp(cls, args->className) != 0) return TRUE;
  if (args->text && Kestrune::WindowText(hwnd) != args->text) return TRUE;
  args->found = hwnd;
  return FALSE;
}

// The mnemonic letter of a menu caption ("...(&S)..." gives 's'), lower-cased.
char Mnemonic(const char* caption) {
  const char* amp = std::strchr(caption, '&');
  return amp && amp[1] ? static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1]))) : 0;
}

}  // namespace

HWND ChildWindow(HWND parent, const char* className, const char* text) {
  ChildArgs args{className, text, nullptr};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

Sandbox::Sandbox() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (int i = 0;; ++i) {
    folder_ = std::string(temp) + "kestrune-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(i) + "\\";
    if (CreateDirectoryA(folder_.c_str(), nullptr)) break;
  }
  // ctest names the program it built; by hand, the copy beside this test program serves.
  const char* built = std::getenv("KESTRUNE_EXE");
  std::string source = built ? built : FolderOfModule() + "Kestrune.exe";
  CopyFileA(source.c_str(), ExePath().c_str(), FALSE);
}

Sandbox::~Sandbox() { RemoveTree(folder_); }

Kestrune::Kestrune(const std::string& exePath) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exePath + "\"";
  std::string dir = exePath.substr(0, exePath.find_last_of('\\') + 1);
  CreateProcessA(exePath.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                 &pi_);
}

Kestrune::~Kestrune() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool Kestrune::WaitForMain(int timeoutMs) {
  main_ = WaitForTopLevel("Kestrune Ver.1.00", timeoutMs);
  if (main_) Sleep(150);  // let the new window settle before input arrives
  return main_ != nullptr;
}

bool Kestrune::Exited(int timeoutMs) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Kestrune::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

HWND Kestrune::WaitForTopLevel(const char* caption, int timeoutMs, const char* className) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    testsupport::WindowSearch search;
    search.className = className;
    search.caption = caption;
    search.processId = pi_.dwProcessId;
    EnumWindows(testsupport::MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(pi_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

std::string Kestrune::StatusText() const {
  HWND bar = ChildWindow(main_, STATUSCLASSNAMEA);
  if (!bar) return "<no status bar>";
  // A simple-mode status bar answers no WM_GETTEXT under Wine; SB_GETTEXTA writes into a
  // buffer that must live in the program's own address space.
  constexpr SIZE_T kSize = 4096;
  void* remote = VirtualAllocEx(pi_.hProcess, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return "<no memory>";
  // SB_GETTEXTLENGTHA counts characters under Wine, not bytes: read up to the terminating zero.
  std::string text;
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                          2000, &ignored)) {
    text.resize(kSize);
    SIZE_T read = 0;
    ReadProcessMemory(pi_.hProcess, remote, &text[0], text.size(), &read);
    text.resize(std::strlen(text.c_str()));
  }
  VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
  return text;
}

bool Kestrune::WaitForStatus(const std::function<bool(const std::string&)>& done, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    if (done(StatusText())) return true;
    Sleep(50);
  }
  return false;
}

bool Kestrune::ChooseMenu(const char* topCaption, const char* caption) {
  // Wine keeps a menu in its own process (GetMenuItemCount from here gives -1), so the
  // command goes as a user's keys would: Alt+mnemonic opens the menu, the item's letter picks it.
  char top = Mnemonic(topCaption), item = Mnemonic(caption);
  if (!top || !item) return false;
  if (!PostMessageA(main_, WM_SYSCOMMAND, SC_KEYMENU, top)) return false;
  Sleep(300);
  return PostMessageA(main_, WM_CHAR, item, 1) != 0;
}

bool Kestrune::ClickButton(HWND dialog, const char* text) {
  HWND button = ChildWindow(dialog, "Button", text);
  return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool Kestrune::ChooseFolder(const std::string& path, int timeoutMs) {
  HWND dialog = WaitForTopLevel(nullptr, timeoutMs, "#32770");
  if (!dialog) return false;
  Sleep(200);
  HWND name = GetDlgItem(dialog, 0x47C);  // cmb13, the file-name combo box
  if (!name) return false;
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string Kestrune::WindowText(HWND hwnd) {
  char text[1024] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &n);
  return std::string(text, n);
}

std::string Kestrune::DialogMessage(HWND dialog) {
  std::string longest;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64];
    GetClassNameA(c, cls, sizeof cls);
    if (_stricmp(cls, "Button") == 0) continue;
    std::string t = WindowText(c);
    if (t.size() > longest.size()) longest = t;
  }
  return longest;
}

namespace {

// The address in another process of a function of a module loaded in both: the module's base
// there plus the function's offset here.
FARPROC RemoteFunction(HANDLE process, const char* moduleName, const char* function) {
  HMODULE local = GetModuleHandleA(moduleName);
  if (local == nullptr) local = LoadLibraryA(moduleName);
  if (local == nullptr) return nullptr;
  const auto address = reinterpret_cast<UINT_PTR>(GetProcAddress(local, function));
  char localPath[MAX_PATH];
  GetModuleFileNameA(local, localPath, MAX_PATH);
  HMODULE modules[512];
  DWORD bytes = 0;
  if (address == 0 || !EnumProcessModules(process, modules, sizeof modules, &bytes)) return nullptr;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
    char path[MAX_PATH];
    if (GetModuleFileNameExA(process, modules[i], path, MAX_PATH) &&
        _stricmp(path, localPath) == 0) {
      return reinterpret_cast<FARPROC>(reinterpret_cast<UINT_PTR>(modules[i]) + address -
                                       reinterpret_cast<UINT_PTR>(local));
    }
  }
  return nullptr;
}

// Runs function(argument) on a new thread of the process, with argument's bytes copied there;
// false when it could not, else the thread's exit code in exitCode.
bool RunRemote(HANDLE process, FARPROC function, const void* argument, size_t size,
               DWORD& exitCode) {
  if (function == nullptr) return false;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return false;
  bool ran = false;
  if (WriteProcessMemory(process, remote, argument, size, nullptr)) {
    HANDLE thread = CreateRemoteThread(
        process, nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(function)), remote, 0,
        nullptr);
    if (thread != nullptr) {
      ran = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 &&
            GetExitCodeThread(thread, &exitCode);
      CloseHandle(thread);
    }
  }
  // Only after the thread is done with it.
  if (ran) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return ran;
}

}  // namespace

bool Kestrune::DropFiles(const std::vector<std::string>& paths) {
  const std::string helper = FolderOfModule() + "kestrune_drop.dll";
  // LoadLibraryA's result, the module handle, is not 0 on success (cut to 32 bits or not).
  DWORD result = 0;
  if (!RunRemote(pi_.hProcess, RemoteFunction(pi_.hProcess, "kernel32.dll", "LoadLibraryA"),
                 helper.c_str(), helper.size() + 1, result) ||
      result == 0) {
    return false;
  }
  std::wstring names;
  for (const std::string& path : paths) {
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    names += wide + L'\0';
  }
  std::string request(reinterpret_cast<const char*>(&main_), sizeof main_);
  request.resize(offsetof(DropRequest, paths));
  request.append(reinterpret_cast<const char*>(names.c_str()), (names.size() + 1) * sizeof(WCHAR));
  // PostDrop returns 0 when it posted the drop.
  return RunRemote(pi_.hProcess, RemoteFunction(pi_.hProcess, helper.c_str(), "PostDrop"),
                   request.data(), request.size(), result) &&
         result == 0;
}

bool Kestrune::SaveScreenshot(const std::string& bmpPath) const {
  RECT r;
  if (!GetWindowRect(main_, &r)) return false;
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
  data.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  data.append(static_cast<const char*>(bits), size);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return WriteFile(bmpPath, data);
}

namespace {

// The hook's callback has no context of its own; one recorder lives at a time.
std::vector<WinEvents::Event>* recorded = nullptr;

}  // namespace

WinEvents::WinEvents(DWORD processId) {
  recorded = new std::vector<Event>;
  hook_ =
      SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Record, processId, 0, WINEVENT_OUTOFCONTEXT);
}

WinEvents::~WinEvents() {
  if (hook_ != nullptr) UnhookWinEvent(hook_);
  delete recorded;
  recorded = nullptr;
}

void CALLBACK WinEvents::Record(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child,
                                DWORD, DWORD) {
  if (recorded != nullptr) recorded->push_back({event, hwnd, object, child});
}

void WinEvents::Clear() {
  // What is queued to this thread already belongs to what came before.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  recorded->clear();
  seen_ = 0;
}

bool WinEvents::WaitFor(HWND hwnd, const std::function<bool(const Event&)>& done, int timeoutMs) {
  if (hook_ == nullptr) return false;
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    // done may ask the program, which may send more events meanwhile: index, not iterators.
    for (; seen_ < recorded->size(); ++seen_) {
      const Event e = (*recorded)[seen_];
      if (e.hwnd == hwnd && done(e)) {
        ++seen_;
        return true;
      }
    }
    const DWORD waited = GetTickCount() - start;
    if (waited >= static_cast<DWORD>(timeoutMs)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(50, timeoutMs - waited),
                              QS_ALLINPUT);
  }
}

void KeyDown(WORD vk) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  SendInput(1, &in, sizeof in);
}

void KeyUp(WORD vk) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

void HoldKey(WORD vk, int holdMs) {
  KeyDown(vk);
  Sleep(holdMs);
  KeyUp(vk);
}

bool MakeFolder(const std::string& path) { return MakeFolderW(WideOf(path)); }

bool WriteFile(const std::string& path, const std::string& data) {
  return WriteFileW(WideOf(path), data);
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::strcmp(fd.cFileName, ".") != 0 && std::strcmp(fd.cFileName, "..") != 0)
      names.push_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

namespace {

using UnixFileName = char*(CDECL*)(LPCWSTR);

UnixFileName WineUnixFileName() {
  return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
}

// The Unix name of an existing entry; empty outside Wine.
std::string UnixNameOf(const std::string& path) {
  const UnixFileName unixName = WineUnixFileName();
  if (unixName == nullptr) return std::string();
  std::wstring wide(path.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                                  static_cast<int>(wide.size())));
  char* name = unixName(wide.c_str());
  if (name == nullptr) return std::string();
  const std::string unixPath = name;
  HeapFree(GetProcessHeap(), 0, name);
  return unixPath;
}

// The Unix name of an entry whose folder exists (ASCII names only: the Unix side names files in
// UTF-8); empty outside Wine.
std::string UnixPathOf(const std::string& path) {
  const size_t separator = path.find_last_of('\\');
  const std::string folder = UnixNameOf(path.substr(0, separator));
  return folder.empty() ? folder : folder + "/" + path.substr(separator + 1);
}

// Starts a Unix program under Wine and waits until done() holds: the handle Wine gives for a
// Unix process does not wait for it.
bool RunUnix(std::string command, const std::function<bool()>& done) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int waited = 0; waited < 5000; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
  // Wine's CreateSymbolicLink creates nothing; there the link is a Unix symbolic link, made by
  // running /bin/ln as a Unix program on the Unix names of the two paths.
  const std::string unixLink = UnixPathOf(link);
  const std::string unixTarget = UnixNameOf(target);
  if (unixLink.empty() || unixTarget.empty()) {
    return CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2);
  }
  return RunUnix("/bin/ln -s \"" + unixTarget + "\" \"" + unixLink + "\"",
                 [&link] { return Exists(link); });
}

bool MakeCaseTwin(const std::string& path, bool folder) {
  const std::string unixPath = UnixPathOf(path);
  if (unixPath.empty()) return false;
  // A lookup of the twin's name would find the other entry at once: wait for it to be listed.
  const std::string parent = path.substr(0, path.find_last_of('\\') + 1);
  const std::string name = path.substr(parent.size());
  return RunUnix((folder ? "/bin/mkdir \"" : "/usr/bin/touch \"") + unixPath + "\"", [&] {
    const std::vector<std::string> names = NamesIn(parent);
    return std::find(names.begin(), names.end(), name) != names.end();
  });
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring WideOf(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<size_t>(
      std::max(0, MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      &wide[0], static_cast<int>(wide.size())))));
  return wide;
}

bool MakeFolderW(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

bool WriteFileW(const std::wstring& path, const std::string& data) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == data.size();
}

std::vector<std::wstring> NamesInW(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

namespace {

// In UTF-16, so that names the code page lacks go too.
void RemoveTreeW(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTreeW(full + L"\\");
      } else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // Wine removes no Unix symbolic link: the Unix side does (links here have ASCII names).
        const std::string ansi(full.begin(), full.end());
        if (!RemoveDirectoryW(full.c_str()) && !UnixNameOf(ansi).empty()) {
          RunUnix("/bin/rm -f \"" + UnixNameOf(ansi) + "\"", [&ansi] { return !Exists(ansi); });
        }
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  RemoveTreeW(WideOf(folder));
}

}  // namespace e2e
