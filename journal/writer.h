// Writes the journal as renames happen: told of every attempt before its first change and of its
// outcome after, through the rename's listener.
#pragma once

#include <string>

#include "journal/journal_file.h"
#include "platform/rename.h"

namespace journal {

// How a journal's opening went.
enum class JournalState {
  Open,        // records are written
  InUse,       // another Kestrune holds it: nothing may be renamed beside its run or undo
  Unwritable,  // it cannot be written (read-only, the name taken by a folder, no space, no path)
};

class JournalWriter : public RenameListener {
 public:
  // A new journal at path replacing the last one (header written), or the existing one appended
  // to, its records numbered on from lastNumber. An empty path: no journal.
  JournalWriter(const std::string& path, bool replace, long long lastNumber = 0);
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  JournalState State() const { return state_; }
  // A write failed since the journal was opened: it is closed, and no rename may follow, since
  // a journal with a hole in it would mislead.
  bool Lost() const { return lost_; }
  // False when it could not be written.
  bool Write(const std::string& record);
  long long NextNumber() { return ++number_; }
  // Said before the next attempt's record: that rename undoes the run's rename runNumber.
  void UndoingNext(long long runNumber) { undoing_ = runNumber; }
  // An entry is still under a temporary name, or an earlier run in the journal left one there.
  void Unfinished(int count = 1) { unfinished_ += count; }
  // Marks the journal finished, unless something is still to be put right, and closes it.
  void End();

  bool Attempting(const std::string& oldPath, const std::string& temporaryPath,
                  const std::string& newPath) override;
  void Attempted(RenameOutcome outcome) override;

 private:
  JournalFile file_;
  JournalState state_ = JournalState::Unwritable;
  bool lost_ = false;
  long long number_ = 0;
  long long undoing_ = 0;
  int unfinished_ = 0;
};

}  // namespace journal
