// Undoing the last run.
#include "journal/undo.h"

#include "journal/journal_file.h"
#include "journal/records.h"
#include "platform/files.h"
#include "platform/rename.h"
#include "platform/text.h"

namespace journal {

Undo::Undo(const std::string& journalPath) : path_(journalPath) {
  Contents contents = ReadJournal(journalPath, Reading::Everything);
  usable_ = contents.usable;
  runFolder_ = contents.folder;
  codePage_ = contents.codePage;
  lastNumber_ = contents.lastNumber;
  standing_ = StandingPlans(contents);
  renames_ = std::move(contents.undoable);
}

// Not End(): an undo that ends by an exception, perhaps between the two steps of a rename, must
// leave the journal unfinished for the next start's recovery. The members close what is open.
Undo::~Undo() {
  records_.reset();
  CloseInputFile(input_);
}

JournalState Undo::Begin() {
  journal_ = std::make_unique<JournalWriter>(path_, false, lastNumber_);
  if (journal_->State() != JournalState::Open) return journal_->State();
  session_ = std::make_unique<RenameSession>(journal_.get());
  // An entry the run left under a temporary name keeps the journal unfinished, undo or not.
  journal_->Unfinished(standing_);
  journal_->Write(UndoRecord());
  return JournalState::Open;
}

bool Undo::Load(int i) {
  loadedNumber_ = 0;
  if (i < 0 || i >= Count()) return false;
  if (input_ == nullptr) {
    input_ = OpenInputFile(path_);
    if (input_ == nullptr) return false;
    records_ = std::make_unique<RecordReader>(input_);
  }
  if (!ReadStandingRename(*records_, renames_[static_cast<size_t>(i)], runFolder_, codePage_,
                          loaded_)) {
    return false;
  }
  loadedNumber_ = renames_[static_cast<size_t>(i)].number;
  return true;
}

void Undo::ListFolder(const std::string& folder) {
  if (folder == listedFolder_) return;
  listedFolder_ = folder;
  const std::vector<std::string> names = NamesMatching(folder + "*");
  listedNames_.clear();
  listedForms_.clear();
  for (const std::string& name : names) {
    listedNames_.insert(name);
    ++listedForms_[CaseFoldedName(name)];
  }
}

bool Undo::UndoLoaded() {
  if (loadedNumber_ == 0 || !session_) return false;
  const std::string folder = Folder();
  ListFolder(folder);
  const std::string newName = loaded_.newPath.substr(folder.size());
  const std::string oldName = loaded_.oldPath.substr(folder.size());
  // Only the entry the run renamed, under exactly the name the run gave it, and only while no
  // other entry answers to the old name.
  // The entry answers to its old name itself (the change is one of case).
  if (listedNames_.count(newName) == 0 || listedForms_[CaseFoldedName(oldName)] > 1) return false;
  journal_->UndoingNext(loadedNumber_);
  const RenameOutcome outcome = session_->ChangeCase(loaded_.newPath, loaded_.oldPath, false);
  if (outcome == RenameOutcome::Renamed) {
    listedNames_.erase(newName);
    listedNames_.insert(oldName);
  } else if (outcome == RenameOutcome::LeftUnderTemporaryName) {
    listedFolder_.clear();  // listed again when next needed
  }
  return outcome == RenameOutcome::Renamed;
}

void Undo::End() {
  if (journal_) journal_->End();
  journal_.reset();
  session_.reset();
  records_.reset();
  CloseInputFile(input_);
  input_ = nullptr;
}

}  // namespace journal
