// Replaying an unfinished journal.
#include "journal/recovery.h"

#include "journal/journal.h"
#include "platform/common/verified_rename.h"
#include "platform/files.h"
#include "platform/text.h"

namespace journal {

RecoveryReport Recover(const std::string& journalPath) {
  RecoveryReport report;
  if (!MayBeUnfinished(journalPath)) return report;
  // Held for writing while it works, so that a run started elsewhere cannot interleave.
  const JournalFile file(OpenAppendFile(journalPath, false));
  if (!file) return report;
  const Contents contents = ReadJournal(journalPath, Reading::OpenPlans);
  if (contents.finished) return report;
  for (const auto& [number, plan] : contents.open) {
    if (!contents.isJournal || !MayRecover(plan) || !IsListedAs(plan.temporaryPath)) continue;
    if (RenameEntry(plan.temporaryPath, plan.newPath)) {
      AppendToFile(file.get(), RecoveredRecord(number, true));
      ++report.recovered;
    } else if (RenameEntry(plan.temporaryPath, plan.oldPath)) {
      AppendToFile(file.get(), RecoveredRecord(number, false));
      ++report.recovered;
    } else {
      AppendToFile(file.get(), UnrecoveredRecord(number));
      ++report.unrecovered;
    }
  }
  if (contents.isJournal && report.unrecovered == 0) AppendToFile(file.get(), FinishedRecord());
  return report;
}

}  // namespace journal
