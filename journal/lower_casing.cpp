// The renames of a lower-casing run, recorded in the journal before they are made.
#include "journal/lower_casing.h"

#include "journal/journal_file.h"
#include "journal/reader.h"
#include "journal/records.h"
#include "platform/text.h"

namespace journal {

LowerCasingRun::Earlier LowerCasingRun::EarlierRun(const std::string& journalPath) {
  if (!MayBeUnfinished(journalPath)) return {};
  const Contents contents = ReadJournal(journalPath, Reading::OpenPlans);
  return {contents.usable, StandingPlans(contents), contents.lastNumber};
}

// A journal that still holds an entry's only record is never emptied, not even for the moment
// of writing that record again: the new run goes on at its end instead.
LowerCasingRun::LowerCasingRun(const std::string& journalPath, const std::string& searchFolder,
                               const Earlier& earlier)
    : journal_(journalPath, earlier.standing == 0, earlier.lastNumber), session_(&journal_) {
  if (earlier.standing != 0) {
    journal_.Write(HeaderRecord());
    journal_.Unfinished(earlier.standing);
  }
  journal_.Write(FolderRecord(searchFolder));
}

void LowerCasingRun::BeginFolder(const std::string& folder, int count,
                                 const std::function<const std::string&(int)>& nameAt) {
  folder_ = folder;
  foldedForms_.clear();
  for (int i = 0; i < count; ++i) ++foldedForms_[CaseFoldedName(nameAt(i))];
}

int LowerCasingRun::ListedAnswering(const std::string& name) const {
  const auto found = foldedForms_.find(CaseFoldedName(name));
  return found == foldedForms_.end() ? 0 : found->second;
}

LowerCasingRun::Result LowerCasingRun::LowerCase(const std::string& name, std::string& newName) {
  newName = name;
  Result result = Result::Unchanged;
  // An entry a run could not finish: the name it was meant to have, where no entry has it.
  const std::string told = NewNameOfTemporary(name);
  if (!told.empty()) {
    if (ListedAnswering(told) != 0 || !session_.Move(folder_ + name, folder_ + told)) {
      return Result::Failed;
    }
    newName = told;
    result = Result::Renamed;
  }
  const std::string lower = ExactLowerCase(newName);
  if (lower == newName) return result;
  // The entry itself is one of the listed names answering to its lower-case name; another one
  // means it may only be renamed directly: where lookups ignore case, it could not get back out
  // of a temporary name.
  const bool twinned = ListedAnswering(lower) > 1;
  if (session_.ChangeCase(folder_ + newName, folder_ + lower, twinned) != RenameOutcome::Renamed) {
    return Result::Failed;
  }
  newName = lower;
  return Result::Renamed;
}

void LowerCasingRun::End() { journal_.End(); }

}  // namespace journal
