// The renames of a lower-casing run, recorded in the journal before they are made.
#include "journal/lower_casing.h"

#include <limits>
#include <map>

#include "journal/journal.h"
#include "platform/common/verified_rename.h"
#include "platform/text.h"

namespace journal {

namespace {

// The plans an earlier journal at path left open: entries it could not get out of their
// temporary names.
std::map<long long, Plan> OpenPlansOf(const std::string& path) {
  std::string text;
  if (path.empty() || !ReadFileTail(path, kTailBytes, text) || TailShowsFinished(text) ||
      !ReadFileTail(path, std::numeric_limits<uint64_t>::max(), text)) {
    return {};
  }
  return Parse(text).open;
}

}  // namespace

LowerCasingRun::LowerCasingRun(const std::string& journalPath)
    : LowerCasingRun(journalPath, OpenPlansOf(journalPath)) {}

// The old journal is read before the new one replaces it.
LowerCasingRun::LowerCasingRun(const std::string& journalPath,
                               const std::map<long long, Plan>& carried)
    : journal_(journalPath, true) {
  for (const auto& [number, plan] : carried) {
    // Only what recovery may act on, and only where an entry still carries the name.
    if (MayRecover(plan) && IsListedAs(plan.temporaryPath)) {
      journal_.Write(CarriedRecord(journal_.NextNumber(), plan));
      journal_.Unfinished();
    }
  }
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
