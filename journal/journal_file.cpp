// The journal file and the disk.
#include "journal/journal_file.h"

#include "journal/policy.h"
#include "platform/rename.h"
#include "platform/text.h"

namespace journal {

int StandingPlans(const Contents& contents) {
  int standing = 0;
  for (const auto& [number, plan] : contents.open) {
    if (MayRecover(plan) && IsListedAs(plan.temporaryPath)) ++standing;
  }
  return standing;
}

bool IsListedAs(const std::string& path) {
  const std::string name = path.substr(ExactFolderPart(path).size());
  for (const std::string& listed : NamesMatching(path + "*")) {
    if (listed == name) return true;
  }
  return false;
}

bool SetAside(const std::string& path, std::string& asideAs) {
  const std::string folder = ExactFolderPart(path);
  std::string base = path.substr(folder.size());
  const size_t dot = base.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : base.substr(dot);
  base.resize(base.size() - extension.size());
  for (int n = 1; n <= 100; ++n) {
    asideAs =
        folder + base + ".unusable" + (n == 1 ? std::string() : "-" + FormatInteger(n)) + extension;
    if (RenameEntry(path, asideAs)) return true;
    if (!FolderExists(folder) || NamesMatching(asideAs).empty()) break;  // not for want of a name
  }
  asideAs.clear();
  return false;
}

}  // namespace journal
