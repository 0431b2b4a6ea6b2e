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

// Renames without ever overwriting or copying; a case-only rename is verified and, where the
// volume ignored it, done through a temporary name. Returns the true outcome.
bool RenameEntry(const std::string& oldPath, const std::string& newPath);

// Full path of the running executable.
std::string ExecutablePath();
