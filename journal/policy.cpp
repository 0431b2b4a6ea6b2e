// What a journal may make Kestrune do.
#include "journal/policy.h"

#include "journal/records.h"
#include "platform/files.h"
#include "platform/rename.h"
#include "platform/text.h"

namespace journal {

namespace {

// What a run renames: a case-only change within one folder, on paths it could have written.
bool IsRunCaseChange(const Plan& plan) {
  return IsRunPath(plan.oldPath) && IsRunPath(plan.newPath) &&
         IsCaseOnlyChange(plan.oldPath, plan.newPath) &&
         ExactFolderPart(plan.oldPath) == ExactFolderPart(plan.newPath);
}

}  // namespace

bool IsRunPath(const std::string& path) {
  if (!IsUtf8Text(path)) return false;
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  size_t start = 0;
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    start = 3;
  } else if (path.rfind("\\\\", 0) == 0) {
    start = 2;
  } else {
    return false;
  }
  // Every part a name: a path through "." or ".." could lead anywhere.
  for (size_t end; start < path.size(); start = end + 1) {
    end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part.empty() || IsDotEntry(part)) return false;
  }
  return true;
}

bool IsInside(const std::string& path, const std::string& folder) {
  return !folder.empty() && path.size() > folder.size() &&
         path.compare(0, folder.size(), folder) == 0;
}

bool IsUndoable(const Plan& plan, const std::string& folder) {
  return IsRunCaseChange(plan) && IsInside(plan.oldPath, folder);
}

bool MayRecover(const Plan& plan) {
  const std::string folder = ExactFolderPart(plan.temporaryPath);
  const std::string temporary = plan.temporaryPath.substr(folder.size());
  const std::string toldNewName = NewNameOfTemporary(temporary);
  // A change an undo could make, through a temporary name of ours in the same folder.
  return IsRunCaseChange(plan) && IsRunPath(plan.temporaryPath) && !folder.empty() &&
         ExactFolderPart(plan.oldPath) == folder && IsTemporaryName(temporary) &&
         (toldNewName.empty() || folder + toldNewName == plan.newPath);
}

}  // namespace journal
