// The rename every platform performs: never onto an existing entry, a case-only change checked
// afterwards (some volumes, FAT under Windows and any folder under Wine, report success for it
// and keep the old name), and where it must go through a temporary name, never in a way that
// could leave the entry stranded there.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

// One entry held open for renaming: each move follows it, wherever the last one put it. Two steps
// through one handle cost the system two calls less than two separate renames.
class EntryMover {
 public:
  virtual ~EntryMover() = default;
  // Gives the entry the path `to` (in the same folder); fails when an entry has that name.
  virtual bool MoveTo(const std::string& to) = 0;
};

// What a platform offers the rename.
struct RenameOperations {
  // Renames or moves one entry; fails when the target exists. Never copies.
  std::function<bool(const std::string& from, const std::string& to)> move;
  // Opens the entry at path (a link itself, not what it leads to) for moves; null when it cannot
  // be opened so (it is missing, or held by another program that does not share it).
  std::function<std::unique_ptr<EntryMover>(const std::string& path)> open;
  // True iff path names an entry.
  std::function<bool(const std::string& path)> exists;
  // True iff the entry at path carries exactly the bytes of path's last component as its name.
  std::function<bool(const std::string& path)> storedNameIs;
  // The stored names of the entries of pattern's folder that match it (a folder path, a name and
  // '*'), hidden and system entries included, read from the folder now.
  std::function<std::vector<std::string>(const std::string& pattern)> namesMatching;
};

// True when newPath differs from oldPath in the letter case of single-byte letters only.
bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath);

// The temporary name of an entry on its way to newName: the new name and a fixed marker, so that
// the name alone tells what the entry is to be called. Empty when that would pass the length a
// name may have.
std::string TemporaryNameFor(const std::string& newName);
// The new name an entry left under a TemporaryNameFor name stands for; empty for any other name.
std::string NewNameOfTemporary(const std::string& name);
// True for both kinds of temporary name: TemporaryNameFor's and the numbered fallback, whose
// meaning only a journal knows.
bool IsTemporaryName(const std::string& name);

// Renames oldPath to newPath. A case-only change the volume ignored is made again through a
// temporary name, but only when no other entry of the folder answers to the new name: a lookup
// that ignores case would find that entry for the new name and the old one alike, and the entry
// could go neither forward nor back. A failed second step is undone, retried, and only then
// reported as LeftUnderTemporaryName. Once a volume was seen to ignore a case-only change, later
// ones on it go straight to the two steps.
RenameOutcome VerifiedRename(const std::string& oldPath, const std::string& newPath,
                             const RenameOperations& operations, const RenameOptions& options = {});

// The namesMatching of the platforms, over EnumerateEntries.
std::vector<std::string> NamesMatching(const std::string& pattern);

// Forgets which volumes ignore case-only renames (for tests that change a volume's behaviour).
void ForgetVolumesIgnoringCaseOnlyRenames();
