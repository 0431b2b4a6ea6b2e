// The renames of a lower-casing run, recorded in the journal before they are made.
#include "journal/lower_casing.h"

#include <limits>
#include <map>

#include "journal/journal.h"
#include "platform/common/verified_rename.h"
#include "platform/text.h"

namespace journal {

namespace {

bool HasControlCharacter(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

}  // namespace

LowerCasingRun::LowerCasingRun(const std::string& journalPath) {
  if (journalPath.empty()) return;
  std::map<long long, Plan> carried;
  std::string tail;
  if (ReadFileTail(journalPath, kTailBytes, tail) && !TailShowsFinished(tail)) {
    std::string text;
    if (ReadFileTail(journalPath, std::numeric_limits<uint64_t>::max(), text)) {
      carried = Parse(text).open;
    }
  }
  file_.reset(OpenAppendFile(journalPath, true));
  if (!Write(HeaderRecord())) return;
  for (const auto& [number, plan] : carried) {
    // Only what recovery may act on, and only where an entry still carries the name.
    if (MayRecover(plan) && IsListedAs(plan.temporaryPath)) {
      Write(PlanRecord(++number_, plan));
      ++stranded_;  // still to be put right: the journal must not say finished
    }
  }
}

bool LowerCasingRun::Write(const std::string& record) {
  if (!file_) return false;
  if (AppendToFile(file_.get(), record)) return true;
  // A journal with a hole in it would mislead: the run goes on without one.
  file_.reset();
  return false;
}

void LowerCasingRun::BeginFolder(const std::string& folder, int count,
                                 const std::function<const std::string&(int)>& nameAt) {
  folder_ = folder;
  lowerForms_.clear();
  for (int i = 0; i < count; ++i) ++lowerForms_[LowerCaseText(nameAt(i))];
}

RenameOutcome LowerCasingRun::Rename(const std::string& from, const std::string& to,
                                     bool directOnly) {
  RenameOptions options;
  options.directOnly = directOnly;
  options.listener = this;
  const RenameOutcome outcome = SafeRename(folder_ + from, folder_ + to, options);
  if (outcome == RenameOutcome::LeftUnderTemporaryName) ++stranded_;
  return outcome;
}

LowerCasingRun::Result LowerCasingRun::LowerCase(const std::string& name, std::string& newName) {
  newName = name;
  Result result = Result::Unchanged;
  // An entry a run could not finish: the name it was meant to have, where no entry has it.
  const std::string told = NewNameOfTemporary(name);
  if (!told.empty()) {
    if (lowerForms_.count(LowerCaseText(told)) != 0 ||
        Rename(name, told, false) != RenameOutcome::Renamed) {
      return Result::Failed;
    }
    newName = told;
    result = Result::Renamed;
  }
  const std::string lower = LowerCaseText(newName);
  if (lower == newName) return result;
  // A name that shares its lower-case form with another entry is never moved to a temporary
  // name: where lookups ignore case, it could not get back out of it.
  if (Rename(newName, lower, lowerForms_[lower] > 1) != RenameOutcome::Renamed) {
    return Result::Failed;
  }
  newName = lower;
  return Result::Renamed;
}

bool LowerCasingRun::Attempting(const std::string& oldPath, const std::string& temporaryPath,
                                const std::string& newPath) {
  // A record that cannot be written faithfully is no record; a numbered temporary name says
  // nothing of the entry's names, so without its record it is not taken.
  const bool recordable = !HasControlCharacter(oldPath + temporaryPath + newPath);
  const bool written =
      recordable && Write(PlanRecord(++number_, {oldPath, temporaryPath, newPath}));
  if (!recordable) return false;
  const std::string folder = FolderPartOf(temporaryPath);
  return written || temporaryPath.empty() ||
         !NewNameOfTemporary(temporaryPath.substr(folder.size())).empty();
}

void LowerCasingRun::Attempted(RenameOutcome outcome) { Write(ResultRecord(number_, outcome)); }

void LowerCasingRun::End() {
  if (stranded_ == 0) Write(FinishedRecord());
  file_.reset();
}

}  // namespace journal
