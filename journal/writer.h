// Writes the journal as renames happen: told of every attempt before its first change and of its
// outcome after, through the rename's listener.
#pragma once

#include <string>

#include "journal/journal.h"
#include "platform/files.h"

namespace journal {

class JournalWriter : public RenameListener {
 public:
  // A new journal at path replacing the last one (header written), or the existing one appended
  // to, its records numbered on from lastNumber. An empty path: no journal.
  JournalWriter(const std::string& path, bool replace, long long lastNumber = 0);
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  bool Open() const { return file_ != nullptr; }
  // False when it could not be written; the journal is closed from then on, since a journal
  // with a hole in it would mislead.
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
  long long number_ = 0;
  long long undoing_ = 0;
  int unfinished_ = 0;
};

}  // namespace journal
