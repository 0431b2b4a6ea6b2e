// Renames with a check of case-only changes and a two-step fallback through a temporary name
// that is only taken when the entry can surely get back out of it.
#include "platform/rename.h"

#include "platform/files.h"
#include "platform/text.h"

namespace {

constexpr int kNumberedAttempts = 100;
// Rounds of putting a stranded entry back (or forward) before it is reported.
constexpr int kPutBackRounds = 3;
// A name holds at most 255 UTF-16 units.
constexpr size_t kMaxNameUnits = 255;
constexpr char kMarker[] = ".~kestrune.tmp";
constexpr char kNumberedPrefix[] = "~kestrune";
constexpr char kNumberedSuffix[] = ".tmp";

// The volume a path lies on: "C:" or "\\server\share"; empty for other forms.
std::string VolumeOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return UpperCaseText(path.substr(0, 2), NoLeadByte);
  if (path.rfind("\\\\", 0) != 0) return std::string();
  size_t share = path.find('\\', 2);
  if (share == std::string::npos) return std::string();
  size_t end = path.find('\\', share + 1);
  return UpperCaseText(path.substr(0, end), NoLeadByte);
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

}  // namespace

bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath) {
  return oldPath != newPath && ExactLowerCase(oldPath) == ExactLowerCase(newPath);
}

std::string TemporaryNameFor(const std::string& newName) {
  if (newName.empty() || EndsInsideCharacter(newName) ||
      Utf16Units(newName) + sizeof kMarker - 1 > kMaxNameUnits) {
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
  return EndsInsideCharacter(newName) ? std::string() : newName;
}

bool IsTemporaryName(const std::string& name) {
  return !NewNameOfTemporary(name).empty() || IsNumberedTemporaryName(name);
}

RenameSession::RenameSession(RenameListener* listener)
    : RenameSession(NewRenameSystem(), listener) {}

RenameSession::RenameSession(std::unique_ptr<RenameSystem> system, RenameListener* listener)
    : system_(std::move(system)), listener_(listener) {}

RenameSession::~RenameSession() = default;

bool RenameSession::IgnoresCaseChanges(const std::string& path) const {
  const std::string volume = VolumeOf(path);
  return !volume.empty() && volumesIgnoringCase_.count(volume) != 0;
}

RenameOutcome RenameSession::ChangeCase(const std::string& oldPath, const std::string& newPath,
                                        bool twinned) {
  lastIgnored_ = false;
  if (!IsCaseOnlyChange(oldPath, newPath)) return RenameOutcome::NotRenamed;
  Attempts attempts(listener_);
  std::unique_ptr<EntryMover> entry;
  if (twinned || !IgnoresCaseChanges(newPath)) {
    if (!attempts.Begin(oldPath, std::string(), newPath)) return RenameOutcome::NotRenamed;
    entry = system_->Open(oldPath);
    if (!entry || !entry->MoveTo(newPath)) return attempts.End(RenameOutcome::NotRenamed);
    // The entry itself may answer a lookup of the new name, so only its stored name tells.
    if (system_->StoredNameIs(newPath)) return attempts.End(RenameOutcome::Renamed);
    attempts.End(RenameOutcome::NotRenamed);
    lastIgnored_ = true;
    const std::string volume = VolumeOf(newPath);
    if (!volume.empty()) volumesIgnoringCase_.insert(volume);
    if (twinned) return RenameOutcome::NotRenamed;
  } else {
    entry = system_->Open(oldPath);
    if (!entry) return RenameOutcome::NotRenamed;
  }
  return ThroughTemporaryName(*entry, oldPath, newPath);
}

RenameOutcome RenameSession::ThroughTemporaryName(EntryMover& entry, const std::string& oldPath,
                                                  const std::string& newPath) {
  const std::string folder = ExactFolderPart(newPath);
  const std::string derived = TemporaryNameFor(newPath.substr(folder.size()));
  // The derived name first; a numbered one does not tell the new name, so only a listener that
  // records it may have one. Asking whether a name is free would cost a lookup per rename; the
  // move itself refuses a name in use.
  const int attemptsAllowed =
      (derived.empty() ? 0 : 1) + (listener_ != nullptr ? kNumberedAttempts : 0);
  Attempts attempts(listener_);
  for (int attempt = 0; attempt < attemptsAllowed; ++attempt) {
    const std::string temporary =
        folder + (attempt == 0 && !derived.empty()
                      ? derived
                      : kNumberedPrefix + FormatInteger(++numberedNames_) + kNumberedSuffix);
    if (!attempts.Begin(oldPath, temporary, newPath)) return RenameOutcome::NotRenamed;
    if (!entry.MoveTo(temporary)) {
      attempts.End(RenameOutcome::NotRenamed);
      if (system_->Exists(temporary)) continue;  // taken: the next name
      return RenameOutcome::NotRenamed;
    }
    // A rename to a name no entry has creates that name as given: nothing left to check.
    if (entry.MoveTo(newPath)) return attempts.End(RenameOutcome::Renamed);
    for (int round = 0; round < kPutBackRounds; ++round) {
      if (entry.MoveTo(oldPath)) return attempts.End(RenameOutcome::NotRenamed);
      if (entry.MoveTo(newPath)) return attempts.End(RenameOutcome::Renamed);
    }
    return attempts.End(RenameOutcome::LeftUnderTemporaryName);
  }
  return RenameOutcome::NotRenamed;
}

bool RenameSession::Move(const std::string& from, const std::string& to) {
  Attempts attempts(listener_);
  if (!attempts.Begin(from, std::string(), to)) return false;
  const std::unique_ptr<EntryMover> entry = system_->Open(from);
  const bool moved = entry != nullptr && entry->MoveTo(to);
  attempts.End(moved ? RenameOutcome::Renamed : RenameOutcome::NotRenamed);
  return moved;
}

bool RenameEntry(const std::string& oldPath, const std::string& newPath) {
  RenameSession session;
  if (!IsCaseOnlyChange(oldPath, newPath)) return session.Move(oldPath, newPath);
  // Directly first: only where the volume ignored that is the folder looked at.
  if (session.ChangeCase(oldPath, newPath, true) == RenameOutcome::Renamed) return true;
  if (!session.LastChangeWasIgnored()) return false;
  const std::string folder = ExactFolderPart(newPath);
  const std::string oldName = oldPath.substr(ExactFolderPart(oldPath).size());
  const std::string newForm = CaseFoldedName(newPath.substr(folder.size()));
  for (const std::string& name : NamesMatching(newPath + "*")) {
    if (name != oldName && CaseFoldedName(name) == newForm) return false;
  }
  return session.ChangeCase(oldPath, newPath, false) == RenameOutcome::Renamed;
}

std::vector<std::string> NamesMatching(const std::string& pattern) {
  std::vector<std::string> names;
  const uint32_t everything = faReadOnly | faHidden | faSysFile | faVolumeID | faDirectory;
  EnumerateEntries(pattern, everything, [&names](const FileEntry& entry) {
    if (!IsDotEntry(entry.EntryName)) names.push_back(ExactNameOf(entry));
    return true;
  });
  return names;
}
