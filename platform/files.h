// File-system services: enumeration with an attribute filter, folder test, verified rename,
// the executable's own path. Failures are results, never exceptions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum : uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faReparsePoint = 0x400,
};

// Filters the program uses.
constexpr uint32_t kScanFilter = faReadOnly | faDirectory;              // 0x11
constexpr uint32_t kListFilter = faReadOnly | faDirectory | faArchive;  // 0x31

// A local calendar time. Inside the DOS range (1980..2107) seconds are even, as the
// DOS packing leaves them; outside it the true time is kept.
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const LocalDateTime& o) const {
    return year == o.year && month == o.month && day == o.day && hour == o.hour &&
           minute == o.minute && second == o.second;
  }
};

struct FileEntry {
  std::string EntryName;   // long name, no folder part
  uint64_t EntrySize = 0;  // the full 64-bit size
  LocalDateTime ModifiedTime;
  uint32_t Attributes = 0;
  // A link to elsewhere (junction, mount point, directory symbolic link): never descended into.
  bool IsLink = false;
};

// True when the entry passes the filter: none of the bits (~filter & 0x1E) set.
inline bool PassesFilter(uint32_t attributes, uint32_t filter) {
  return (attributes & (~filter & 0x1Eu)) == 0;
}

// Delivers the entries matching pattern (a folder path ending in '\' plus "*.*") that pass
// the filter, in file-system order, "." and ".." included. visit returns false to stop early.
// An unreadable folder delivers nothing. The enumeration is always closed.
void EnumerateEntries(const std::string& pattern, uint32_t filter,
                      const std::function<bool(const FileEntry&)>& visit);

// True iff the path exists and is a folder.
bool FolderExists(const std::string& path);

enum class RenameOutcome {
  Renamed,                 // the entry carries the new name
  NotRenamed,              // the entry carries its old name: nothing was changed
  LeftUnderTemporaryName,  // the entry is stranded under the temporary name it was told
};

// Hears what a rename is about to do before it does it, so that it can be recorded first.
class RenameListener {
 public:
  virtual ~RenameListener() = default;
  // Before an attempt's first change; temporaryPath is empty for a direct rename. False: the
  // attempt is not made.
  virtual bool Attempting(const std::string& oldPath, const std::string& temporaryPath,
                          const std::string& newPath) = 0;
  // After the attempt.
  virtual void Attempted(RenameOutcome outcome) = 0;
};

struct RenameOptions {
  // The entry shares its lower-case name with another entry of its folder: only a direct rename
  // is tried, never one through a temporary name.
  bool directOnly = false;
  // Told of every attempt. Without one, only temporary names that tell the new name are used.
  RenameListener* listener = nullptr;
};

// Renames without ever overwriting or copying; a case-only rename is verified and, where the
// volume ignored it, done through a temporary name. Returns the true outcome.
RenameOutcome SafeRename(const std::string& oldPath, const std::string& newPath,
                         const RenameOptions& options = {});
// SafeRename's outcome is Renamed.
bool RenameEntry(const std::string& oldPath, const std::string& newPath);

// A file written only at its end (the run journal). Each append reaches the operating system
// before the call returns, so a process that dies loses nothing appended; nothing is forced to
// the disk. While open, other programs may read it but not write it.
struct AppendFile;
// Opens path, creating it, and emptying it first when replace is set. Null when it cannot.
AppendFile* OpenAppendFile(const std::string& path, bool replace);
// True when all of data was appended.
bool AppendToFile(AppendFile* file, const std::string& data);
void CloseAppendFile(AppendFile* file);
// The last maxBytes bytes of a file (all of it when shorter). False when it cannot be read.
bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& data);

// Full path of the running executable.
std::string ExecutablePath();
