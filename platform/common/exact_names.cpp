// Exact names of listed entries and of paths the user gave in the code page.
#include "platform/files.h"
#include "platform/text.h"

std::string ExactNameOf(const FileEntry& entry) {
  if (!entry.ExactName.empty()) return entry.ExactName;
  std::string exact;
  ExactOf(entry.EntryName, exact);
  return exact;
}

std::string FaithfulExactOf(const std::string& shown) {
  std::string exact;
  if (!ExactOf(shown, exact) || ShownOf(exact) != shown) return std::string();
  return exact;
}
