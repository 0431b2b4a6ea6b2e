// The journal writer.
#include "journal/writer.h"

#include "journal/policy.h"
#include "journal/records.h"
#include "platform/text.h"

namespace journal {

JournalWriter::JournalWriter(const std::string& path, bool replace, long long lastNumber)
    : number_(lastNumber) {
  if (path.empty()) return;
  bool inUse = false;
  file_.reset(OpenAppendFile(path, replace, &inUse));
  if (!file_) {
    state_ = inUse ? JournalState::InUse : JournalState::Unwritable;
    return;
  }
  state_ = JournalState::Open;
  if (replace) Write(HeaderRecord());
}

bool JournalWriter::Write(const std::string& record) {
  if (!file_) return false;
  if (AppendToFile(file_.get(), record)) return true;
  file_.reset();
  lost_ = true;
  return false;
}

void JournalWriter::End() {
  if (unfinished_ == 0) Write(FinishedRecord());
  file_.reset();
}

bool JournalWriter::Attempting(const std::string& oldPath, const std::string& temporaryPath,
                               const std::string& newPath) {
  if (lost_) return false;
  // A record that cannot be written faithfully is no record; a numbered temporary name says
  // nothing of the entry's names, so without its record it is not taken.
  if (!IsRunPath(oldPath) || !IsRunPath(newPath) ||
      (!temporaryPath.empty() && !IsRunPath(temporaryPath))) {
    return false;
  }
  const long long number = NextNumber();
  if (!file_) {
    return temporaryPath.empty() ||
           !NewNameOfTemporary(temporaryPath.substr(ExactFolderPart(temporaryPath).size())).empty();
  }
  // Every attempt of an undo says which rename of the run it undoes.
  return (undoing_ == 0 || Write(UndoingRecord(undoing_))) &&
         Write(PlanRecord(number, {oldPath, temporaryPath, newPath}));
}

void JournalWriter::Attempted(RenameOutcome outcome) {
  Write(ResultRecord(number_, outcome));
  if (outcome == RenameOutcome::LeftUnderTemporaryName) Unfinished();
}

}  // namespace journal
