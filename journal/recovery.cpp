// Replaying an unfinished journal.
#include "journal/recovery.h"

#include "journal/journal_file.h"
#include "journal/policy.h"
#include "journal/reader.h"
#include "journal/records.h"
#include "platform/files.h"
#include "platform/rename.h"

namespace journal {

RecoveryReport Recover(const std::string& journalPath) {
  RecoveryReport report;
  if (!MayBeUnfinished(journalPath)) return report;
  // Held for writing while it works, so that a run started elsewhere cannot interleave.
  const JournalFile file(OpenAppendFile(journalPath, false));
  if (!file) return report;
  const Contents contents = ReadJournal(journalPath, Reading::OpenPlans);
  report.unusable = !contents.usable;
  if (!contents.isJournal || contents.finished) return report;
  RenameSession session;
  for (const auto& [number, plan] : contents.open) {
    if (!MayRecover(plan) || !IsListedAs(plan.temporaryPath)) continue;
    std::string record;
    if (session.Move(plan.temporaryPath, plan.newPath)) {
      record = RecoveredRecord(number, true);
      ++report.recovered;
    } else if (session.Move(plan.temporaryPath, plan.oldPath)) {
      record = RecoveredRecord(number, false);
      ++report.recovered;
    } else {
      record = UnrecoveredRecord(number);
      ++report.unrecovered;
    }
    // A move whose record is lost is found done by the next start, which finishes the rest.
    if (!AppendToFile(file.get(), record)) return report;
  }
  if (report.unrecovered == 0) AppendToFile(file.get(), FinishedRecord());
  return report;
}

}  // namespace journal
