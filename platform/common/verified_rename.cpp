// Rename with a check of case-only changes and a two-step fallback through a temporary name that
// is only taken when the entry can surely get back out of it.
#include "platform/common/verified_rename.h"

#include <mutex>
#include <set>

#include "platform/text.h"

namespace {

constexpr int kNumberedAttempts = 100;
// Rounds of putting a stranded entry back (or forward) before it is reported.
constexpr int kPutBackRounds = 3;
// A name holds at most 255 UTF-16 units; every code-page 932 character is one of them.
constexpr size_t kMaxNameCharacters = 255;
constexpr char kMarker[] = ".~kestrune.tmp";
constexpr char kNumberedPrefix[] = "~kestrune";
constexpr char kNumberedSuffix[] = ".tmp";

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

size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i, ++count) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return count;
}

// True when text ends inside a two-byte character: appending to it would change a character.
bool EndsWithLoneLeadByte(const std::string& text) {
  bool lone = false;
  for (size_t i = 0; i < text.size(); ++i) {
    lone = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 == text.size();
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return lone;
}

bool IsNumberedTemporaryName(const std::string& name) {
  const size_t prefix = sizeof kNumberedPrefix - 1;
  const size_t suffix = sizeof kNumberedSuffix - 1;
  if (name.size() <= prefix + suffix || name.compare(0, prefix, kNumberedPrefix) != 0 ||
      name.compare(name.size() - suffix, suffix, kNumberedSuffix) != 0) {
    return false;
  }
  for (size_t i = prefix; i < name.size() - suffix; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

// Tells the listener, if any, and carries out its veto.
class Attempts {
 public:
  explicit Attempts(RenameListener* listener) : listener_(listener) {}
  bool Begin(const std::string& oldPath, const std::string& temporary, const std::string& newPath) {
    return listener_ == nullptr || listener_->Attempting(oldPath, temporary, newPath);
  }
  RenameOutcome End(RenameOutcome outcome) {
    if (listener_ != nullptr) listener_->Attempted(outcome);
    return outcome;
  }

 private:
  RenameListener* listener_;
};

RenameOutcome ThroughTemporaryName(const std::string& oldPath, const std::string& newPath,
                                   const RenameOperations& operations,
                                   const RenameOptions& options) {
  const std::string folder = FolderPartOf(newPath);
  const std::string newName = newPath.substr(folder.size());
  const std::string oldName = oldPath.substr(FolderPartOf(oldPath).size());
  const std::string derived = TemporaryNameFor(newName);

  // Read from the folder now, not from any earlier listing: the folder may have changed.
  // Compared as the file system compares: full-width, Greek and Cyrillic letters have a case too.
  bool itself = false;
  bool derivedTaken = false;
  const std::string newForm = CaseFoldedName(newName);
  const std::string derivedForm = derived.empty() ? std::string() : CaseFoldedName(derived);
  for (const std::string& name : operations.namesMatching(folder + newName + "*")) {
    const std::string form = CaseFoldedName(name);
    if (form == newForm) {
      if (name != oldName) return RenameOutcome::NotRenamed;  // another entry answers to it
      itself = true;
    } else if (!derived.empty() && form == derivedForm) {
      derivedTaken = true;
    }
  }
  if (!itself) return RenameOutcome::NotRenamed;

  // The derived name first; a numbered one does not tell the new name, so only a listener that
  // records it may have one.
  const bool derivedUsable = !derived.empty() && !derivedTaken;
  const int attemptsAllowed =
      (derivedUsable ? 1 : 0) + (options.listener != nullptr ? kNumberedAttempts : 0);
  static unsigned serial = 0;
  Attempts attempts(options.listener);
  std::unique_ptr<EntryMover> entry;
  for (int attempt = 0; attempt < attemptsAllowed; ++attempt) {
    const std::string temporary =
        folder + (attempt == 0 && derivedUsable
                      ? derived
                      : kNumberedPrefix + FormatInteger(++serial) + kNumberedSuffix);
    if (!attempts.Begin(oldPath, temporary, newPath)) return RenameOutcome::NotRenamed;
    if (!entry) entry = operations.open(oldPath);
    // Asking first would cost a lookup per rename; the move itself refuses a name in use.
    if (!entry || !entry->MoveTo(temporary)) {
      attempts.End(RenameOutcome::NotRenamed);
      if (entry && operations.exists(temporary)) continue;  // taken: the next name
      return RenameOutcome::NotRenamed;
    }
    // A rename to a name no entry has creates that name as given: nothing left to check.
    if (entry->MoveTo(newPath)) return attempts.End(RenameOutcome::Renamed);
    for (int round = 0; round < kPutBackRounds; ++round) {
      if (entry->MoveTo(oldPath)) return attempts.End(RenameOutcome::NotRenamed);
      if (entry->MoveTo(newPath)) return attempts.End(RenameOutcome::Renamed);
    }
    return attempts.End(RenameOutcome::LeftUnderTemporaryName);
  }
  return RenameOutcome::NotRenamed;
}

}  // namespace

void ForgetVolumesIgnoringCaseOnlyRenames() {
  std::lock_guard<std::mutex> lock(ignoringMutex);
  ignoringVolumes.clear();
}

bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath) {
  return oldPath != newPath && LowerCaseText(oldPath) == LowerCaseText(newPath);
}

std::string TemporaryNameFor(const std::string& newName) {
  if (newName.empty() || EndsWithLoneLeadByte(newName) ||
      CharacterCount(newName) + sizeof kMarker - 1 > kMaxNameCharacters) {
    return std::string();
  }
  return newName + kMarker;
}

std::string NewNameOfTemporary(const std::string& name) {
  const size_t marker = sizeof kMarker - 1;
  if (name.size() <= marker || name.compare(name.size() - marker, marker, kMarker) != 0) {
    return std::string();
  }
  const std::string newName = name.substr(0, name.size() - marker);
  // Only what TemporaryNameFor makes: whole characters before the marker.
  return EndsWithLoneLeadByte(newName) ? std::string() : newName;
}

bool IsTemporaryName(const std::string& name) {
  return !NewNameOfTemporary(name).empty() || IsNumberedTemporaryName(name);
}

RenameOutcome VerifiedRename(const std::string& oldPath, const std::string& newPath,
                             const RenameOperations& operations, const RenameOptions& options) {
  const bool caseOnly = IsCaseOnlyChange(oldPath, newPath);
  const std::string volume = caseOnly ? VolumeOf(newPath) : std::string();
  if (!caseOnly || options.directOnly || !KnownToIgnore(volume)) {
    Attempts attempts(options.listener);
    if (!attempts.Begin(oldPath, std::string(), newPath)) return RenameOutcome::NotRenamed;
    if (!operations.move(oldPath, newPath)) return attempts.End(RenameOutcome::NotRenamed);
    // The entry itself may answer a lookup of the new name, so only its stored name tells.
    if (!caseOnly || operations.storedNameIs(newPath)) {
      return attempts.End(RenameOutcome::Renamed);
    }
    attempts.End(RenameOutcome::NotRenamed);
    if (options.directOnly) return RenameOutcome::NotRenamed;
    NoteIgnoring(volume);
  }
  return ThroughTemporaryName(oldPath, newPath, operations, options);
}

std::vector<std::string> NamesMatching(const std::string& pattern) {
  std::vector<std::string> names;
  const uint32_t everything = faReadOnly | faHidden | faSysFile | faVolumeID | faDirectory;
  EnumerateEntries(pattern, everything, [&names](const FileEntry& entry) {
    if (entry.EntryName != "." && entry.EntryName != "..") names.push_back(entry.EntryName);
    return true;
  });
  return names;
}
