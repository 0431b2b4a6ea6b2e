// The in-memory volume behind the memory implementation of the platform services: drive
// letters, '\' paths, case-insensitive lookup that preserves case, attributes, 64-bit sizes,
// times, a controllable enumeration order, injectable faults, a process death after any change,
// and scripted Esc and message pump. Names are stored as the system stores them, in Unicode (as
// UTF-8, the exact form every path here is given in), and shown through code page 932.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace memory {

// Thrown when the process is taken to die (CrashAfterChanges). Deliberately no std::exception:
// nothing in the program may catch and survive it.
struct Crash {};

class Volume {
 public:
  // The one volume the memory services work on.
  static Volume& Get();

  // Empties everything: no drives, no faults, no scripted input, counters zero,
  // the executable path "C:\app\Kestrune.exe" (drive C: created by the first Make*).
  void Reset();

  // A drive exists once anything is made on it; a drive can be marked not ready.
  void SetDriveReady(char letter, bool ready);

  // Make a folder (and every missing folder above it). attributes default to faDirectory.
  void MakeFolder(const std::string& path, uint32_t attributes = faDirectory);
  // Make a file (folders above made as needed). The content, if given, is its data.
  void MakeFile(const std::string& path, uint64_t size = 0,
                LocalDateTime time = {2001, 3, 9, 7, 5, 42}, uint32_t attributes = faArchive);
  // A link folder (attributes faDirectory | faReparsePoint) pointing at target.
  // Enumerating through it shows the target's entries.
  void MakeLink(const std::string& path, const std::string& target);

  bool Exists(const std::string& path) const;
  // Names of the entries of a folder as stored (case preserved), in enumeration order.
  std::vector<std::string> NamesIn(const std::string& folder) const;
  // File data (profile files); false if there is no such file.
  bool ReadFile(const std::string& path, std::string& data) const;
  bool WriteFile(const std::string& path, const std::string& data);

  // Enumeration order of new entries: insertion order (default) or reversed insertion order.
  void SetReverseOrder(bool reversed);

  // Faults.
  void SetUnreadable(const std::string& folder, bool unreadable = true);
  void SetRenameFails(const std::string& path, bool fails = true);  // old path of the rename
  void SetIgnoresCaseOnlyRenames(bool ignores);  // like FAT32/exFAT on Windows, or Wine
  // Names that differ only in letter case may stand side by side; a lookup takes the exact name,
  // else the first such name in enumeration order; a rename onto any of them is refused. This
  // is Wine over a Linux file system.
  void SetCaseSensitiveNames(bool caseSensitive);
  void SetExecutablePath(const std::string& path);
  // Nothing in a write-protected folder can be written or renamed, nor moved into it.
  void SetWriteProtected(const std::string& folder, bool protectedFolder = true);
  // What DateSeparator and TimeSeparator return; "/" and ":" after Reset.
  void SetSeparators(const std::string& date, const std::string& time);

  // Scripted input. Polls are numbered from 1 since the last Reset.
  // Esc held for polls first .. first + count - 1; each call adds to the script.
  void EscDownAtPolls(int first, int count = 1000000000);
  void ClearEsc();  // empties the script
  int EscPolls() const;
  int PumpCalls() const;
  // Called at every PumpMessages (a test's way to send a command in the middle of a scan).
  // How far MillisecondsNow moves at each reading (1000 after Reset; 0 stops the clock).
  void SetClockStep(uint32_t milliseconds);
  void OnPump(std::function<void(int call)> hook);
  // Called at every EscDown poll before the answer is decided.
  void OnEscPoll(std::function<void(int poll)> hook);

  // Process death: the change numbered `change` (moves and file writes made through the
  // services, counted from 1 since the last Reset) is made, then Crash is thrown, and from then
  // on nothing changes until the next call. 0 never dies; any call brings the process back.
  void CrashAfterChanges(long long change);
  // Memory that runs out: the change numbered `change` is made, then std::bad_alloc is thrown
  // once, and the process lives on. 0 never.
  void OutOfMemoryAfterChanges(long long change);
  long long Changes() const;
  // A number that stays with an entry through renames and moves; 0 when there is no entry.
  uint64_t EntryId(const std::string& path) const;

  // Counters for checks of work done.
  int RenameCalls() const;       // entries opened for a rename
  int Enumerations() const;      // EnumerateEntries calls
  int OpenEnumerations() const;  // enumerations begun and not closed (should be 0)

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  Volume();
  Impl* impl_;
};

}  // namespace memory
