// Exact and code-page text: the conversions, the exact names of listed entries and of paths the
// user gave in the code page.
#include "platform/files.h"
#include "platform/text.h"

// ASCII is the same text both ways, and most names are: only other text is converted.
bool ExactOf(const std::string& shown, std::string& exact) {
  if (!IsAscii(shown)) return ExactOfCodePageText(shown, exact);
  exact = shown;
  return true;
}

std::string ShownOf(const std::string& exact) {
  return IsAscii(exact) ? exact : CodePageTextOf(exact);
}

std::string ExactNameOf(const std::string& shown, const std::string& exact) {
  if (!exact.empty()) return exact;
  std::string converted;
  ExactOf(shown, converted);
  return converted;
}

std::string ExactNameOf(const FileEntry& entry) {
  return ExactNameOf(entry.EntryName, entry.ExactName);
}

std::string FaithfulExactOf(const std::string& shown) {
  std::string exact;
  if (!ExactOf(shown, exact) || ShownOf(exact) != shown) return std::string();
  return exact;
}
