// File-system services over the wide Win32 functions with long-path forms, so that neither the
// 260-character limit nor the code page's gaps bend a path.
#include "platform/files.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/entry_time.h"
#include "platform/rename.h"
#include "platform/win32/wide_path.h"

namespace {

// Name-surrogate reparse points (junctions, mount points, symbolic links) lead elsewhere. Wine
// reports a Unix symbolic link to a folder with the reparse bit and a zero tag.
bool IsLinkEntry(const WIN32_FIND_DATAW& found) {
  const DWORD tag = found.dwReserved0;
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (tag == 0 || (tag & 0x20000000u) != 0);
}

// FileTimeToLocalFileTime adds the bias in force now, the same for every entry; an enumeration
// takes it once rather than asking per entry.
class LocalBias {
 public:
  LocalBias() {
    FILETIME now;
    FILETIME local;
    GetSystemTimeAsFileTime(&now);
    known_ = FileTimeToLocalFileTime(&now, &local) != 0;
    bias_ = static_cast<int64_t>(ValueOf(local)) - static_cast<int64_t>(ValueOf(now));
  }

  LocalDateTime LocalTimeOf(const FILETIME& utc) const {
    const int64_t value = static_cast<int64_t>(ValueOf(utc));
    FILETIME local;
    if (known_ && value >= 0 && value + bias_ >= 0) {
      local.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(value + bias_));
      local.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(value + bias_) >> 32);
    } else if (!FileTimeToLocalFileTime(&utc, &local)) {
      return {};
    }
    SYSTEMTIME parts;
    if (!FileTimeToSystemTime(&local, &parts)) return {};
    return AsDeliveredTime(
        {parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond});
  }

 private:
  static uint64_t ValueOf(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  }
  bool known_ = false;
  int64_t bias_ = 0;
};

// A name as code-page bytes in one conversion: a name holds at most 255 UTF-16 units, each at
// most two bytes here.
std::string NameOf(const wchar_t* name) {
  char buffer[MAX_PATH * 2];
  const int length = static_cast<int>(wcslen(name));
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, length, buffer,
                                        sizeof buffer, nullptr, nullptr);
  if (bytes > 0 || length == 0)
    return std::string(buffer, static_cast<size_t>(bytes > 0 ? bytes : 0));
  return AnsiOf(name, static_cast<size_t>(length));
}

// True when the code-page name converts back to the stored one. Most names are ASCII, and
// those always do.
bool ShowsAsItself(const wchar_t* name, const std::string& shown) {
  const wchar_t* end = name;
  bool ascii = true;
  for (; *end != L'\0'; ++end) ascii = ascii && *end < 0x80;
  if (ascii) return true;
  wchar_t back[MAX_PATH];
  const int length =
      MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), back, MAX_PATH);
  return length == end - name && std::equal(name, end, back);
}

FileEntry EntryOf(const WIN32_FIND_DATAW& found, const LocalBias& bias) {
  FileEntry entry;
  entry.EntryName = NameOf(found.cFileName);
  if (!ShowsAsItself(found.cFileName, entry.EntryName)) {
    entry.ExactName = ExactOfWide(found.cFileName, wcslen(found.cFileName));
  }
  entry.EntrySize = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  entry.ModifiedTime = bias.LocalTimeOf(found.ftLastWriteTime);
  entry.Attributes = found.dwFileAttributes;
  entry.IsLink = IsLinkEntry(found);
  return entry;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

const std::wstring::size_type kNoSeparator = std::wstring::npos;

bool NameStoredAsGiven(const std::string& path) {
  std::wstring wide;
  if (!ExactLongPathOf(path, wide)) return false;
  const auto separator = wide.find_last_of(L'\\');
  if (separator == kNoSeparator || separator + 1 == wide.size()) return false;
  WIN32_FIND_DATAW found;
  FindHandle find(FindFirstFileW(wide.c_str(), &found));
  return find.get() != INVALID_HANDLE_VALUE &&
         wide.compare(separator + 1, kNoSeparator, found.cFileName) == 0;
}

// A rename through an open handle names its target in the system's own form.
std::wstring NtPathOf(const std::wstring& longPath) {
  return L"\\??\\" + longPath.substr(4);  // \\?\C:\… and \\?\UNC\… alike
}

class HandleMover : public EntryMover {
 public:
  explicit HandleMover(HANDLE handle) : handle_(handle) {}
  ~HandleMover() override { CloseHandle(handle_); }
  HandleMover(const HandleMover&) = delete;
  HandleMover& operator=(const HandleMover&) = delete;

  bool MoveTo(const std::string& to) override {
    std::wstring wide;
    if (!ExactLongPathOf(to, wide)) return false;
    const std::wstring target = NtPathOf(wide);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;  // never onto another entry
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), info->FileName);
    info->FileName[target.size()] = L'\0';
    return SetFileInformationByHandle(handle_, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != 0;
  }

 private:
  HANDLE handle_;
};

// The path of the entry an open handle is on, as the system names it: the handle's object name
// (an NT path). Asked once per rename: a buffer on the stack serves every usual path, the heap
// only a longer one. Of the system's ways to ask (this, FileNameInfo, GetFinalPathNameByHandleW),
// this is the cheapest under Wine, one server request against two, and every one of them names
// the target where Wine opened what a link leads to (docs/testing.md).
bool NameOfHandle(HANDLE handle, std::wstring& name) {
  alignas(
      OBJECT_NAME_INFORMATION) char small[sizeof(OBJECT_NAME_INFORMATION) + 1024 * sizeof(wchar_t)];
  auto* info = reinterpret_cast<OBJECT_NAME_INFORMATION*>(small);
  std::vector<char> large;
  ULONG needed = 0;
  NTSTATUS status = NtQueryObject(handle, ObjectNameInformation, info, sizeof small, &needed);
  if (status < 0 && needed > sizeof small) {
    large.resize(needed);
    info = reinterpret_cast<OBJECT_NAME_INFORMATION*>(large.data());
    status = NtQueryObject(handle, ObjectNameInformation, info, needed, &needed);
  }
  if (status < 0 || info->Name.Buffer == nullptr) return false;
  name.assign(info->Name.Buffer, info->Name.Length / sizeof(wchar_t));
  return true;
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The system of a rename session. It keeps the system's name of the last folder it opened an
// entry in: a run asks for the same folder entry after entry.
class Win32RenameSystem : public RenameSystem {
 public:
  std::unique_ptr<EntryMover> Open(const std::string& path) override {
    std::wstring wide;
    if (!ExactLongPathOf(path, wide)) return nullptr;
    // What MoveFileEx opens: delete access, everything shared, a link itself and not its target.
    HANDLE handle = CreateFileW(
        wide.c_str(), DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (!IsOnEntryItself(handle, wide)) {
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<HandleMover>(handle);
  }
  bool Exists(const std::string& path) override {
    std::wstring wide;
    return ExactLongPathOf(path, wide) &&
           GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  bool StoredNameIs(const std::string& path) override { return NameStoredAsGiven(path); }

 private:
  bool NameOfFolder(const std::wstring& folder, std::wstring& name) {
    if (folder != lastFolder_) {
      HANDLE handle =
          CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
      if (handle == INVALID_HANDLE_VALUE) return false;
      std::wstring opened;
      const bool named = NameOfHandle(handle, opened);
      CloseHandle(handle);
      if (!named) return false;
      lastFolder_ = folder;
      lastName_ = opened;
    }
    name = lastName_;
    return true;
  }

  // An open of a link that the system cannot take as itself (Wine opens what a Unix link leads
  // to, file or folder) gives a handle on another entry, perhaps in another folder: a move
  // through it would carry that entry here and put it in place of the link. Only a handle that
  // the system names as the entry of the folder it was opened in is moved.
  bool IsOnEntryItself(HANDLE handle, const std::wstring& path) {
    const auto separator = path.find_last_of(L'\\');
    std::wstring folder;
    std::wstring entry;
    if (separator == kNoSeparator || !NameOfFolder(path.substr(0, separator + 1), folder) ||
        !NameOfHandle(handle, entry)) {
      return false;
    }
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return SameNameIgnoringCase(entry, folder + path.substr(separator + 1));
  }

  std::wstring lastFolder_;
  std::wstring lastName_;
};

}  // namespace

void EnumerateEntries(const std::string& pattern, uint32_t filter,
                      const std::function<bool(const FileEntry&)>& visit) {
  std::wstring wide;
  if (!LongPathOf(pattern, wide)) return;
  // With the \\?\ prefix "*.*" would be matched literally against a dot; "*" means every name.
  const std::wstring dosEverything = L"\\*.*";
  if (wide.size() >= dosEverything.size() &&
      wide.compare(wide.size() - dosEverything.size(), kNoSeparator, dosEverything) == 0) {
    wide.resize(wide.size() - 2);
  }
  WIN32_FIND_DATAW found;
  FindHandle find(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (find.get() == INVALID_HANDLE_VALUE) return;
  const LocalBias bias;
  do {
    if (PassesFilter(found.dwFileAttributes, filter) && !visit(EntryOf(found, bias))) return;
  } while (FindNextFileW(find.get(), &found));
}

bool FolderExists(const std::string& path) {
  std::wstring wide;
  if (!ExactLongPathOf(path, wide)) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::unique_ptr<RenameSystem> NewRenameSystem() { return std::make_unique<Win32RenameSystem>(); }

struct AppendFile {
  HANDLE handle;
};

AppendFile* OpenAppendFile(const std::string& path, bool replace, bool* inUse) {
  if (inUse != nullptr) *inUse = false;
  std::wstring wide;
  if (!ExactLongPathOf(path, wide)) return nullptr;
  // Readers welcome, no second writer: two runs must not interleave their records. The sharing
  // is checked before CREATE_ALWAYS empties anything.
  HANDLE handle =
      CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  replace ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (inUse != nullptr) *inUse = GetLastError() == ERROR_SHARING_VIOLATION;
    return nullptr;
  }
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(handle, end, nullptr, FILE_END)) {
    CloseHandle(handle);
    return nullptr;
  }
  return new AppendFile{handle};
}

bool AppendToFile(AppendFile* file, const std::string& data) {
  if (file == nullptr) return false;
  DWORD written = 0;
  // No FlushFileBuffers: once WriteFile returns the system has the bytes, and a process that
  // dies cannot lose them; a flush per record would cost a disk write per rename.
  return WriteFile(file->handle, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

void CloseAppendFile(AppendFile* file) {
  if (file == nullptr) return;
  CloseHandle(file->handle);
  delete file;
}

struct InputFile {
  HANDLE handle;
};

InputFile* OpenInputFile(const std::string& path) {
  std::wstring wide;
  if (!ExactLongPathOf(path, wide)) return nullptr;
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return new InputFile{handle};
}

bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& data) {
  InputFile* file = OpenInputFile(path);
  if (file == nullptr) return false;
  LARGE_INTEGER size = {};
  const bool sized = GetFileSizeEx(file->handle, &size) != 0;
  const uint64_t total = sized ? static_cast<uint64_t>(size.QuadPart) : 0;
  const uint64_t wanted = total < maxBytes ? total : maxBytes;
  // A 32-bit program cannot hold more than its address space; refuse rather than wrap.
  const bool ok = sized && wanted <= static_cast<uint64_t>(SIZE_MAX / 2) &&
                  ReadInputFile(file, total - wanted, static_cast<size_t>(wanted), data) &&
                  data.size() == wanted;
  CloseInputFile(file);
  return ok;
}

bool ReadInputFile(InputFile* file, uint64_t offset, size_t size, std::string& data) {
  data.clear();
  if (file == nullptr) return false;
  data.resize(size);
  size_t done = 0;
  while (done < size) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset + done);
    at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
    DWORD read = 0;
    if (!ReadFile(file->handle, &data[done], chunk, &read, &at)) {
      if (GetLastError() != ERROR_HANDLE_EOF) return false;
      read = 0;
    }
    if (read == 0) break;
    done += read;
  }
  data.resize(done);
  return true;
}

void CloseInputFile(InputFile* file) {
  if (file == nullptr) return;
  CloseHandle(file->handle);
  delete file;
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
    if (length == 0) return std::string();
    if (length < size) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // truncated: the path is longer than the buffer
  }
  if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
    path.replace(0, 8, L"\\\\");
  } else if (path.compare(0, 4, L"\\\\?\\") == 0) {
    path.erase(0, 4);
  }
  return AnsiOf(path.data(), path.size());
}
