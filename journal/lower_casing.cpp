// The renames of a lower-casing run, recorded in the journal before they are made.
#include "journal/lower_casing.h"

#include "journal/journal.h"
#include "platform/common/verified_rename.h"
#include "platform/text.h"

namespace journal {

LowerCasingRun::Earlier LowerCasingRun::EarlierRun(const std::string& journalPath) {
  if (!MayBeUnfinished(journalPath)) return {};
  const Contents contents = ReadJournal(journalPath, Reading::OpenPlans);
  return {StandingPlans(contents), contents.lastNumber};
}

LowerCasingRun::LowerCasingRun(const std::string& journalPath)
    : LowerCasingRun(journalPath, EarlierRun(journalPath)) {}

// A journal that still holds an entry's only record is never emptied, not even for the moment
// of writing that record again: the new run goes on at its end instead.
LowerCasingRun::LowerCasingRun(const std::string& journalPath, const Earlier& earlier)
    : journal_(journalPath, earlier.standing == 0, earlier.lastNumber) {
  if (earlier.standing == 0) return;
  journal_.Write(HeaderRecord());
  journal_.Unfinished(earlier.standing);
}

void LowerCasingRun::BeginFolder(const std::string& folder, int count,
                                 const std::function<const std::string&(int)>& nameAt) {
  folder_ = folder;
  foldedForms_.clear();
  for (int i = 0; i < count; ++i) ++foldedForms_[CaseFoldedName(nameAt(i))];
}

RenameOutcome LowerCasingRun::Rename(const std::string& from, const std::string& to,
                                     bool directOnly) {
  RenameOptions options;
  options.directOnly = directOnly;
  options.listener = &journal_;
  return SafeRename(folder_ + from, folder_ + to, options);
}

LowerCasingRun::Result LowerCasingRun::LowerCase(const std::string& name, std::string& newName) {
  newName = name;
  Result result = Result::Unchanged;
  // An entry a run could not finish: the name it was meant to have, where no entry has it.
  const std::string told = NewNameOfTemporary(name);
  if (!told.empty()) {
    if (foldedForms_.count(CaseFoldedName(told)) != 0 ||
        Rename(name, told, false) != RenameOutcome::Renamed) {
      return Result::Failed;
    }
    newName = told;
    result = Result::Renamed;
  }
  const std::string lower = LowerCaseText(newName);
  if (lower == newName) return result;
  // A name that answers to the same name as another entry is never moved to a temporary name:
  // where lookups ignore case, it could not get back out of it.
  if (Rename(newName, lower, foldedForms_[CaseFoldedName(lower)] > 1) != RenameOutcome::Renamed) {
    return Result::Failed;
  }
  newName = lower;
  return Result::Renamed;
}

void LowerCasingRun::End() { journal_.End(); }

}  // namespace journal
