// Rename with a check of case-only changes and a two-step fallback through a temporary name.
#include "platform/common/verified_rename.h"

#include "platform/text.h"

namespace {

constexpr int kTemporaryNameAttempts = 100;

}  // namespace

bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath) {
  return oldPath != newPath && LowerCaseText(oldPath) == LowerCaseText(newPath);
}

bool VerifiedRename(const std::string& oldPath, const std::string& newPath,
                    const RenameOperations& operations) {
  if (!operations.move(oldPath, newPath)) return false;
  if (!IsCaseOnlyChange(oldPath, newPath) || operations.storedNameIs(newPath)) return true;

  const std::string folder = FolderPartOf(newPath);
  static unsigned serial = 0;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string temporary = folder + "~kestrune" + FormatInteger(++serial) + ".tmp";
    if (operations.exists(temporary)) continue;
    if (!operations.move(oldPath, temporary)) return false;
    if (operations.move(temporary, newPath)) return operations.storedNameIs(newPath);
    operations.move(temporary, oldPath);
    return false;
  }
  return false;
}
