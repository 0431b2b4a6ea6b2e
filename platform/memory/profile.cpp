// Profile files on the memory volume: the bytes are the volume's, the reading and the rewriting
// are the portable copy of the Win32 profile functions.
#include "platform/memory/profile_format.h"
#include "platform/memory/memory_volume.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

// The profile functions take code-page paths; the volume is addressed by exact ones.
std::string ExactPathOf(const char* shown) {
  std::string exact;
  ExactOf(shown, exact);
  return exact;
}

}  // namespace

uint32_t ProfileGetString(const char* section, const char* key, const char* deflt, char* buffer,
                          uint32_t size, const char* shownFileName) {
  const memory::Volume& volume = memory::Volume::Get();
  const std::string fileName = ExactPathOf(shownFileName);
  std::string bytes;
  if (!volume.ReadFile(fileName, bytes)) {
    // A missing file reads like an empty one; a file that cannot even be opened gives the
    // default by another path, which keeps its quotes.
    if (volume.Exists(fileName) || !volume.Exists(ExactFolderPart(fileName))) {
      return profile::GetDefault(deflt, buffer, size);
    }
    bytes.clear();
  }
  return profile::GetString(bytes, section, key, deflt, buffer, size);
}

bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* shownFileName) {
  memory::Volume& volume = memory::Volume::Get();
  const std::string fileName = ExactPathOf(shownFileName);
  std::string bytes;
  if (!volume.ReadFile(fileName, bytes)) bytes.clear();
  std::string newBytes;
  switch (profile::WriteString(bytes, section, key, value, newBytes)) {
    case profile::WriteOutcome::Unchanged:
      return true;
    case profile::WriteOutcome::Changed:
      return volume.WriteFile(fileName, newBytes);
    case profile::WriteOutcome::Unsupported:
      break;
  }
  return false;
}
