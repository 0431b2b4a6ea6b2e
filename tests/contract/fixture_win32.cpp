// The contract fixture over the real file system: a fresh folder under the temporary folder
// per test, built and read with the wide Win32 functions. Under Wine a link folder is a Unix
// symbolic link (Wine 8's CreateSymbolicLinkW reports success and makes nothing).
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/text.h"
#include "tests/contract/fixture.h"

namespace {

// The fixture's paths are exact, as the services'.
std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
  return wide;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &utf8[0], length, nullptr, nullptr);
  return utf8;
}

// The fixture only ever sees absolute drive paths of its own making.
std::wstring Long(const std::string& path) { return L"\\\\?\\" + Wide(path); }

void Check(bool ok, const char* what, const std::string& path) {
  if (!ok) {
    throw std::runtime_error(std::string(what) + " failed (" + std::to_string(GetLastError()) +
                             "): " + path);
  }
}

// Paths are split in their wide form: in code-page bytes a '\' may be a trail byte.
std::wstring TrimSlash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring LongFolder(const std::string& path) { return TrimSlash(Long(path)); }

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // Never into a link: remove the link itself.
        if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
      } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

using UnixFileName = char*(CDECL*)(LPCWSTR);

// Wine's own export; null elsewhere.
UnixFileName WineUnixFileName() {
  return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
}

class Win32Fixture : public ContractFixture {
 public:
  ~Win32Fixture() override {
    for (HANDLE handle : heldOpen_) CloseHandle(handle);
    for (const auto& [link, unixLink] : unixLinks_) {
      RunUnix("/bin/rm -f \"" + unixLink + "\"");
      WaitUntil(link, false);
    }
    if (!root_.empty()) RemoveTree(LongFolder(root_));
  }

  std::string Root() override {
    if (!root_.empty()) return root_;
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    Check(length > 0 && length < MAX_PATH, "GetTempPathW", "");
    static int serial = 0;
    root_ = Utf8(temp) + "kestrune-contract-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial) + "\\";
    RemoveTree(LongFolder(root_));
    MakeFolder(root_, faDirectory);
    return root_;
  }

  void MakeFolder(const std::string& path, uint32_t attributes) override {
    const std::wstring wide = LongFolder(path);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
      MakeParents(wide);
      Check(CreateDirectoryW(wide.c_str(), nullptr), "CreateDirectoryW", path);
    }
    if (attributes != faDirectory) {
      Check(SetFileAttributesW(wide.c_str(), attributes & ~faDirectory), "SetFileAttributesW",
            path);
    }
  }

  void MakeFile(const std::string& path, uint64_t size, LocalDateTime time,
                uint32_t attributes) override {
    MakeParents(Long(path));
    HANDLE file = Create(path);
    if (size != 0) {
      LARGE_INTEGER end;
      end.QuadPart = static_cast<LONGLONG>(size);
      Check(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file), "SetEndOfFile",
            path);
    }
    const SYSTEMTIME local = {static_cast<WORD>(time.year),
                              static_cast<WORD>(time.month),
                              0,
                              static_cast<WORD>(time.day),
                              static_cast<WORD>(time.hour),
                              static_cast<WORD>(time.minute),
                              static_cast<WORD>(time.second),
                              0};
    FILETIME localTime;
    FILETIME utc;
    const bool timed = SystemTimeToFileTime(&local, &localTime) &&
                       LocalFileTimeToFileTime(&localTime, &utc) &&
                       SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
    Check(timed, "SetFileTime", path);
    Check(SetFileAttributesW(Long(path).c_str(),
                             attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes),
          "SetFileAttributesW", path);
  }

  void MakeFileWith(const std::string& path, const std::string& content) override {
    MakeParents(Long(path));
    HANDLE file = Create(path);
    DWORD written = 0;
    const bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    CloseHandle(file);
    Check(ok, "WriteFile", path);
  }

  bool MakeLink(const std::string& path, const std::string& target) override {
    const DWORD attributes = MakeAnyLink(path, target, SYMBOLIC_LINK_FLAG_DIRECTORY);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  bool MakeFileLink(const std::string& path, const std::string& target) override {
    return MakeAnyLink(path, target, 0) != INVALID_FILE_ATTRIBUTES;
  }

  // Wine enforces no ACLs and the tests run as root, but sharing holds: with the folder open
  // and shared with no one, listing it fails as on Windows.
  void MakeUnreadable(const std::string& folder) override {
    HANDLE handle = CreateFileW(LongFolder(folder).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    Check(handle != INVALID_HANDLE_VALUE, "CreateFileW", folder);
    heldOpen_.push_back(handle);
  }

  // Wine resolves a name it is given whatever its case, so the twin is made on the Unix side;
  // once there, its exact name opens it.
  bool MakeCaseTwin(const std::string& path, bool folder, const std::string& content) override {
    const std::string unixPath = UnixPathOf(Long(path));
    if (unixPath.empty()) return false;
    RunUnix((folder ? "/bin/mkdir \"" : "/usr/bin/touch \"") + unixPath + "\"");
    // A lookup would find the other entry at once: wait for the name to be listed.
    const std::string parent = FolderPartOf(path);
    const std::string name = path.substr(parent.size());
    for (int i = 0; i < 200; ++i) {
      const std::vector<std::string> names = NamesIn(parent);
      if (std::find(names.begin(), names.end(), name) != names.end()) break;
      Sleep(10);
    }
    if (folder) return (GetFileAttributesW(Long(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return written == content.size();
  }

  // A volume is what it is: a probe renamed in case only shows which it is.
  bool SetIgnoresCaseOnlyRenames(bool ignores) override {
    const std::string probe = Root() + "CASE.PROBE";
    MakeFileWith(probe, "");
    const bool moved =
        MoveFileExW(Long(probe).c_str(), Long(Root() + "case.probe").c_str(), 0) != 0;
    const std::vector<std::string> names = NamesIn(Root());
    const bool ignored =
        !moved || std::find(names.begin(), names.end(), "case.probe") == names.end();
    Check(DeleteFileW(Long(probe).c_str()), "DeleteFileW", probe);
    return ignored == ignores;
  }

  std::vector<std::string> NamesIn(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((LongFolder(folder) + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Utf8(name));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

  std::string ContentOf(const std::string& path) override {
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(no such file)";
    std::string content(4096, '\0');
    DWORD read = 0;
    ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
  }

  // FindFirstFile holds the folder open without FILE_SHARE_DELETE sharing; an exclusive open
  // then fails with a sharing violation.
  bool EnumerationOpenOn(const std::string& folder) override {
    HANDLE handle = CreateFileW(LongFolder(folder).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
      return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
  }

 private:
  void MakeParents(const std::wstring& longPath) {
    const size_t separator = longPath.find_last_of(L'\\');
    const std::wstring parent = longPath.substr(0, separator);
    if (parent.size() > 7 && GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
      MakeParents(parent);
      Check(CreateDirectoryW(parent.c_str(), nullptr), "CreateDirectoryW", Utf8(parent));
    }
  }

  HANDLE Create(const std::string& path) {
    const std::wstring wide = Long(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "CreateFileW", path);
    return file;
  }

  // The Unix path of an entry that need not exist yet (its folder must), in UTF-8; empty outside
  // Wine.
  static std::string UnixPathOf(const std::wstring& wide) {
    const UnixFileName unixName = WineUnixFileName();
    if (unixName == nullptr) return std::string();
    const size_t separator = wide.find_last_of(L'\\');
    char* unixFolder = unixName(wide.substr(0, separator).c_str());
    if (unixFolder == nullptr) return std::string();
    const std::wstring name = wide.substr(separator + 1);
    std::string utf8(name.size() * 4, '\0');
    utf8.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), &utf8[0],
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    const std::string unixPath = std::string(unixFolder) + "/" + utf8;
    HeapFree(GetProcessHeap(), 0, unixFolder);
    return unixPath;
  }

  // A link at path to target (a Unix link under Wine, where CreateSymbolicLinkW is a stub); the
  // attributes the link shows, INVALID_FILE_ATTRIBUTES where none could be made.
  DWORD MakeAnyLink(const std::string& path, const std::string& target, DWORD folderFlag) {
    const std::wstring link = LongFolder(path);
    const UnixFileName unixName = WineUnixFileName();
    if (unixName != nullptr) {
      MakeUnixLink(unixName, link, LongFolder(target));
    } else if (!CreateSymbolicLinkW(link.c_str(), LongFolder(target).c_str(),
                                    folderFlag | 0x2 /* unprivileged */)) {
      return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesW(link.c_str());
  }

  // Wine runs a Unix program named by its Unix path as a Unix process.
  void MakeUnixLink(UnixFileName unixName, const std::wstring& link, const std::wstring& target) {
    char* unixTarget = unixName(target.c_str());
    // The link's own name goes to the Unix side in UTF-8, as Wine names files there.
    const std::string unixLink = UnixPathOf(link);
    Check(unixTarget != nullptr && !unixLink.empty(), "wine_get_unix_file_name", Utf8(link));
    const std::string unixTargetPath = unixTarget;
    HeapFree(GetProcessHeap(), 0, unixTarget);
    RunUnix("/bin/ln -s \"" + unixTargetPath + "\" \"" + unixLink + "\"");
    WaitUntil(link, true);
    unixLinks_.emplace_back(link, unixLink);
  }

  // Wine runs a program named by its Unix path as a Unix process. The command is UTF-8.
  static void RunUnix(const std::string& command) {
    std::wstring commandLine(command.size() + 1, L'\0');
    commandLine.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()),
                            &commandLine[0], static_cast<int>(commandLine.size()))));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    Check(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process),
          "CreateProcessW", command);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  // The handle Wine gives for a Unix process does not wait for it: watch for the result.
  static void WaitUntil(const std::wstring& path, bool present) {
    for (int i = 0; i < 200; ++i) {
      if ((GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present) return;
      Sleep(10);
    }
  }

  // Wine's deletion functions leave these in place. Windows path, Unix path.
  std::vector<std::pair<std::wstring, std::string>> unixLinks_;
  std::vector<HANDLE> heldOpen_;  // folders made unreadable
  std::string root_;
};

}  // namespace

std::unique_ptr<ContractFixture> MakeContractFixture() { return std::make_unique<Win32Fixture>(); }
