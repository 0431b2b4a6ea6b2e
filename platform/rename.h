// Renames that cannot lose a name. A rename session (a run, an undo, a recovery) owns what it
// learns on the way: which volumes ignore a change of letter case, the names the system gives
// the folders it renames in, the numbers of its numbered temporary names. Nothing is kept
// between sessions or shared between them. Paths and names here are exact (UTF-8).
#pragma once

#include <memory>
#include <set>
#include <string>

enum class RenameOutcome {
  Renamed,                 // the entry carries the new name
  NotRenamed,              // the entry carries its old name: nothing was changed
  LeftUnderTemporaryName,  // the entry is stranded under the temporary name it was told
};

// Hears what a rename is about to do before it does it, so that it can be recorded first.
class RenameListener {
 public:
  virtual ~RenameListener() = default;
  // Before an attempt's first change; temporaryPath is empty for a direct rename. False: the
  // attempt is not made.
  virtual bool Attempting(const std::string& oldPath, const std::string& temporaryPath,
                          const std::string& newPath) = 0;
  // After the attempt.
  virtual void Attempted(RenameOutcome outcome) = 0;
};

// True when newPath differs from oldPath in the letter case of ASCII letters only.
bool IsCaseOnlyChange(const std::string& oldPath, const std::string& newPath);

// The temporary name of an entry on its way to newName: the new name and a fixed marker, so that
// the name alone tells what the entry is to be called. Empty when that would pass the length a
// name may have.
std::string TemporaryNameFor(const std::string& newName);
// The new name an entry left under a TemporaryNameFor name stands for; empty for any other name.
std::string NewNameOfTemporary(const std::string& name);
// True for both kinds of temporary name: TemporaryNameFor's and the numbered fallback, whose
// meaning only a journal knows.
bool IsTemporaryName(const std::string& name);

// One entry held open for renaming: each move follows it, wherever the last one put it.
class EntryMover {
 public:
  virtual ~EntryMover() = default;
  // Gives the entry the path `to` (in the same folder); fails when an entry has that name.
  virtual bool MoveTo(const std::string& to) = 0;
};

// The system's side of a session's renames. It may keep what it learns (the names of folders)
// for as long as the session lives.
class RenameSystem {
 public:
  virtual ~RenameSystem() = default;
  // The entry at path held open for moves: the entry itself, never what a link leads to; null
  // when it cannot be opened so (missing, held without sharing, or a link the system cannot
  // take as itself).
  virtual std::unique_ptr<EntryMover> Open(const std::string& path) = 0;
  // True iff path names an entry.
  virtual bool Exists(const std::string& path) = 0;
  // True iff the entry at path carries exactly the bytes of path's last component as its name.
  virtual bool StoredNameIs(const std::string& path) = 0;
};
// The system of the platform in use.
std::unique_ptr<RenameSystem> NewRenameSystem();

class RenameSession {
 public:
  // Every attempt is told to listener (the journal) first; without one, only temporary names
  // that tell the new name are used.
  explicit RenameSession(RenameListener* listener = nullptr);
  RenameSession(std::unique_ptr<RenameSystem> system, RenameListener* listener);
  ~RenameSession();
  RenameSession(const RenameSession&) = delete;
  RenameSession& operator=(const RenameSession&) = delete;

  // Gives an entry its name in another letter case, checked; where the volume ignores such a
  // change, through a temporary name and back. twinned: the folder's listing, taken just
  // before, shows another entry answering to the new name; such an entry could leave a
  // temporary name neither forward nor back, so it only gets a direct rename. A second step
  // that fails is put back, retried, and only then reported as LeftUnderTemporaryName.
  RenameOutcome ChangeCase(const std::string& oldPath, const std::string& newPath, bool twinned);
  // Moves the entry at from to the free name `to` of its folder; never over another entry.
  bool Move(const std::string& from, const std::string& to);
  // True when the last ChangeCase found its direct rename ignored by the volume (and went no
  // further, or through a temporary name).
  bool LastChangeWasIgnored() const { return lastIgnored_; }

 private:
  bool IgnoresCaseChanges(const std::string& path) const;
  RenameOutcome ThroughTemporaryName(EntryMover& entry, const std::string& oldPath,
                                     const std::string& newPath);
  std::unique_ptr<RenameSystem> system_;
  RenameListener* listener_;
  // Volumes seen to ignore a case-only rename: a run makes thousands on one volume, and once one
  // was ignored the rest go straight to the two steps instead of paying for the futile one.
  std::set<std::string> volumesIgnoringCase_;
  unsigned numberedNames_ = 0;
  bool lastIgnored_ = false;
};

// One rename on its own, in a session of its own: a case-only change after a look at the folder
// for an entry answering to the new name, any other change a Move. True when it was made.
bool RenameEntry(const std::string& oldPath, const std::string& newPath);
