// The rename every platform performs: never onto an existing entry, and a case-only change
// checked afterwards, because some volumes (FAT under Windows, any folder under Wine) report
// success for it and keep the old name.
#pragma once

#include <functional>
#include <string>

// What a platform offers the rename.
struct RenameOperations {
  // Renames or moves one entry; fails when the target exists. Never copies.
  std::function<bool(const std::string& from, const std::string& to)> move;
  // True iff path names an entry.
  std::function<bool(const std::string& path)> exists;
  // True iff the entry at path carries exactly the bytes of path's last component as its name.
  std::function<bool(const std::string& path)> storedNameIs;
};

// True when newPath differs from oldPath in the letter case of single-byte letters only.
bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath);

// Renames oldPath to newPath; a case-only change the volume ignored is made again through a
// free temporary name in the same folder (put back under the old name if the second step
// fails). Returns whether the entry now carries the new name.
// Once a volume was seen to ignore a case-only change, later ones on it go straight to the
// two steps.
bool VerifiedRename(const std::string& oldPath, const std::string& newPath,
                    const RenameOperations& operations);

// Forgets which volumes ignore case-only renames (for tests that change a volume's behaviour).
void ForgetVolumesIgnoringCaseOnlyRenames();
