// Undoing the last run.
#include "journal/undo.h"

#include "platform/files.h"
#include "platform/text.h"

namespace journal {

Undo::Undo(const std::string& journalPath) : path_(journalPath) {
  Contents contents = ReadJournal(journalPath, Reading::Everything);
  lastNumber_ = contents.lastNumber;
  standing_ = StandingPlans(contents);
  renames_ = std::move(contents.undoable);
}

std::string Undo::FolderOf(int i) const {
  return FolderPartOf(renames_[static_cast<size_t>(i)].second.newPath);
}

void Undo::Begin() {
  journal_ = std::make_unique<JournalWriter>(path_, false, lastNumber_);
  // An entry the run left under a temporary name keeps the journal unfinished, undo or not.
  journal_->Unfinished(standing_);
  journal_->Write(UndoRecord());
}

bool Undo::UndoOne(int i) {
  const auto& [number, plan] = renames_[static_cast<size_t>(i)];
  // Only the entry the run renamed, under exactly the name the run gave it.
  if (!IsListedAs(plan.newPath)) return false;
  journal_->UndoingNext(number);
  RenameOptions options;
  options.listener = journal_.get();
  return SafeRename(plan.newPath, plan.oldPath, options) == RenameOutcome::Renamed;
}

void Undo::End() {
  if (journal_) journal_->End();
  journal_.reset();
}

}  // namespace journal
