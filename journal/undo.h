// Undo of the last lower-casing run, from its journal: the renames that stand are reversed, the
// last first, each through the same safe rename and recorded like a run's, so that a death
// during the undo is put right at the next start like one during a run.
#pragma once

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <string>
#include <vector>

#include "journal/reader.h"
#include "journal/writer.h"
#include "platform/text.h"

namespace journal {

class Undo {
 public:
  // Reads the journal at journalPath (beside the program).
  explicit Undo(const std::string& journalPath);
  ~Undo();
  Undo(const Undo&) = delete;
  Undo& operator=(const Undo&) = delete;

  // False for a journal no run could have written: it offers nothing.
  bool Usable() const { return usable_; }
  // The run's search folder (exact), which the confirmation names.
  const std::string& RunFolder() const { return runFolder_; }
  // The renames of the last run that can still be undone; index 0 is the first the run made.
  int Count() const { return static_cast<int>(renames_.size()); }

  // Opens the journal to record the undo; nothing is undone unless it is Open.
  JournalState Begin();
  // Reads rename i back from the journal; false where it no longer reads as the run wrote it.
  // Then Folder() is the folder where its entry stands.
  bool Load(int i);
  std::string Folder() const { return ExactFolderPart(loaded_.newPath); }
  // Gives the entry of the loaded rename its old name back. False, and nothing touched, where it
  // is no longer under its new name, or another entry answers to its old one.
  bool UndoLoaded();
  // The journal could not be written any more: nothing more may be undone.
  bool JournalLost() const { return journal_ && journal_->Lost(); }
  // The undo is over, completed or stopped; what is left stays undoable. Only this marks the
  // journal finished: an Undo destroyed without it leaves the journal to recovery.
  void End();

 private:
  // The names of the loaded rename's folder, listed once when the undo comes to it.
  void ListFolder(const std::string& folder);

  std::string path_;
  bool usable_ = true;
  std::string runFolder_;
  bool codePage_ = false;  // the run's records are code-page text
  long long lastNumber_ = 0;
  int standing_ = 0;  // open plans whose entry still stands under its temporary name
  std::vector<StandingRename> renames_;
  InputFile* input_ = nullptr;
  std::unique_ptr<RecordReader> records_;
  std::unique_ptr<JournalWriter> journal_;
  std::unique_ptr<RenameSession> session_;
  Plan loaded_;
  long long loadedNumber_ = 0;
  std::string listedFolder_;
  std::unordered_set<std::string> listedNames_;
  std::unordered_map<std::string, int> listedForms_;  // how many names answer to each form
};

}  // namespace journal
