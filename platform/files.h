// File-system services: enumeration with an attribute filter, folder test, the journal's
// files, the executable's own path; renames are in rename.h. Failures are results, never
// exceptions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// Paths given to and names given by these services are exact (UTF-8, platform/text.h), except
// EntryName and ExecutablePath, which are the code page's text the window shows.
struct FileEntry {
  std::string EntryName;  // long name, no folder part, in the code page as listings show it
  // The exact name where EntryName does not convert back to it (a character the code page
  // lacks, or one it shows as another); empty otherwise, which an ordinary name always is.
  std::string ExactName;
  uint64_t EntrySize = 0;  // the full 64-bit size
  LocalDateTime ModifiedTime;
  uint32_t Attributes = 0;
  // A link to elsewhere (junction, mount point, directory symbolic link): never descended into.
  bool IsLink = false;
};

// The entry's exact name: ExactName, or EntryName's exact form.
std::string ExactNameOf(const FileEntry& entry);

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

// The names of the entries of pattern's folder that match it (a folder path, a name and '*'),
// hidden and system entries included, "." and ".." left out, read from the folder now.
std::vector<std::string> NamesMatching(const std::string& pattern);

// "." and "..", which every folder but a drive root lists.
inline bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// A file written only at its end (the run journal). Each append reaches the operating system
// before the call returns, so a process that dies loses nothing appended; nothing is forced to
// the disk. While open, other programs may read it but not write it.
struct AppendFile;
// Opens path, creating it, and emptying it first when replace is set. Null when it cannot; then
// *inUse, if given, tells whether another program holds it for writing.
AppendFile* OpenAppendFile(const std::string& path, bool replace, bool* inUse = nullptr);
// True when all of data was appended.
bool AppendToFile(AppendFile* file, const std::string& data);
void CloseAppendFile(AppendFile* file);
// The last maxBytes bytes of a file (all of it when shorter). False when it cannot be read.
bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& data);

// A file read piece by piece, for files larger than memory should hold at once (the journal).
// Writers may go on appending while it is open.
struct InputFile;
// Null when it cannot be opened.
InputFile* OpenInputFile(const std::string& path);
// Up to size bytes from offset into data (fewer at the end, none past it). False on a failure.
bool ReadInputFile(InputFile* file, uint64_t offset, size_t size, std::string& data);
void CloseInputFile(InputFile* file);

// Full path of the running executable, in the code page.
std::string ExecutablePath();
