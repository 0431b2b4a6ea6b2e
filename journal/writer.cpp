// The journal writer.
#include "journal/writer.h"

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

JournalWriter::JournalWriter(const std::string& path, bool replace, long long lastNumber)
    : number_(lastNumber) {
  if (path.empty()) return;
  file_.reset(OpenAppendFile(path, replace));
  if (replace) Write(HeaderRecord());
}

bool JournalWriter::Write(const std::string& record) {
  if (!file_) return false;
  if (AppendToFile(file_.get(), record)) return true;
  file_.reset();
  return false;
}

void JournalWriter::End() {
  if (unfinished_ == 0) Write(FinishedRecord());
  file_.reset();
}

bool JournalWriter::Attempting(const std::string& oldPath, const std::string& temporaryPath,
                               const std::string& newPath) {
  // A record that cannot be written faithfully is no record; a numbered temporary name says
  // nothing of the entry's names, so without its record it is not taken.
  if (HasControlCharacter(oldPath + temporaryPath + newPath)) return false;
  const long long number = NextNumber();
  // Every attempt of an undo says which rename of the run it undoes.
  const bool written = (undoing_ == 0 || Write(UndoingRecord(undoing_))) &&
                       Write(PlanRecord(number, {oldPath, temporaryPath, newPath}));
  return written || temporaryPath.empty() ||
         !NewNameOfTemporary(temporaryPath.substr(FolderPartOf(temporaryPath).size())).empty();
}

void JournalWriter::Attempted(RenameOutcome outcome) {
  Write(ResultRecord(number_, outcome));
  if (outcome == RenameOutcome::LeftUnderTemporaryName) Unfinished();
}

}  // namespace journal
