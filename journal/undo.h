// Undo of the last lower-casing run, from its journal: the renames that stand are reversed, the
// last first, each through the same safe rename and recorded like a run's, so that a death
// during the undo is put right at the next start like one during a run.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "journal/journal.h"
#include "journal/writer.h"

namespace journal {

class Undo {
 public:
  // Reads the journal at journalPath (beside the program).
  explicit Undo(const std::string& journalPath);

  // The renames of the last run that can still be undone; index 0 is the first the run made.
  int Count() const { return static_cast<int>(renames_.size()); }
  // The folder of rename i, where the entry stands.
  std::string FolderOf(int i) const;

  // Starts writing the undo into the journal.
  void Begin();
  // Gives the entry of rename i its old name back. False, and nothing touched, where it is no
  // longer under its new name, or another entry answers to its old one.
  bool UndoOne(int i);
  // The undo is over, completed or stopped; what is left stays undoable.
  void End();

 private:
  std::string path_;
  long long lastNumber_ = 0;
  int standing_ = 0;  // open plans whose entry still stands under its temporary name
  std::vector<std::pair<long long, Plan>> renames_;
  std::unique_ptr<JournalWriter> journal_;
};

}  // namespace journal
