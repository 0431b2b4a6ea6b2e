// Rename with a check of case-only changes and a two-step fallback through a temporary name.
#include "platform/common/verified_rename.h"

#include <mutex>
#include <set>

#include "platform/text.h"

namespace {

constexpr int kTemporaryNameAttempts = 100;

// The volume a path lies on: "C:" or "\\server\share"; empty for other forms.
std::string VolumeOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return UpperCaseText(path.substr(0, 2));
  if (path.rfind("\\\\", 0) != 0) return std::string();
  size_t share = path.find('\\', 2);
  if (share == std::string::npos) return std::string();
  size_t end = path.find('\\', share + 1);
  return UpperCaseText(path.substr(0, end));
}

// Volumes seen to ignore a case-only rename. A lower-casing run makes thousands of them on one
// volume; once one was ignored, the rest go straight to the two steps instead of paying for
// the futile rename and its check every time.
std::mutex ignoringMutex;
std::set<std::string> ignoringVolumes;

bool KnownToIgnore(const std::string& volume) {
  std::lock_guard<std::mutex> lock(ignoringMutex);
  return !volume.empty() && ignoringVolumes.count(volume) > 0;
}

void NoteIgnoring(const std::string& volume) {
  std::lock_guard<std::mutex> lock(ignoringMutex);
  if (!volume.empty()) ignoringVolumes.insert(volume);
}

}  // namespace

void ForgetVolumesIgnoringCaseOnlyRenames() {
  std::lock_guard<std::mutex> lock(ignoringMutex);
  ignoringVolumes.clear();
}

bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath) {
  return oldPath != newPath && LowerCaseText(oldPath) == LowerCaseText(newPath);
}

bool VerifiedRename(const std::string& oldPath, const std::string& newPath,
                    const RenameOperations& operations) {
  const bool caseOnly = IsCaseOnlyChange(oldPath, newPath);
  const std::string volume = caseOnly ? VolumeOf(newPath) : std::string();
  if (!caseOnly || !KnownToIgnore(volume)) {
    if (!operations.move(oldPath, newPath)) return false;
    if (!caseOnly || operations.storedNameIs(newPath)) return true;
    NoteIgnoring(volume);
  }

  const std::string folder = FolderPartOf(newPath);
  static unsigned serial = 0;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string temporary = folder + "~kestrune" + FormatInteger(++serial) + ".tmp";
    // Asking first would cost a lookup per rename; the move itself refuses a name in use.
    if (!operations.move(oldPath, temporary)) {
      if (operations.exists(temporary)) continue;  // taken: the next name
      return false;
    }
    // A rename to a name no entry has creates that name as given: nothing left to check.
    if (operations.move(temporary, newPath)) return true;
    operations.move(temporary, oldPath);
    return false;
  }
  return false;
}
