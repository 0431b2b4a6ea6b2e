// Writing the journal's records, and reading one back.
#include "journal/records.h"

#include "platform/text.h"

namespace journal {

namespace {

constexpr char kHeader[] = "Kestrune journal\t2";
// Runs before exact names wrote their paths in code page 932; they are read on, converted.
constexpr char kCodePageHeader[] = "Kestrune journal\t1";
constexpr char kEnd[] = "\r\n";
constexpr char kFinished[] = "finished";

std::string Fields(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += '\t';
    line += field;
  }
  return line + kEnd;
}

const char* OutcomeWord(RenameOutcome outcome) {
  switch (outcome) {
    case RenameOutcome::Renamed:
      return "renamed";
    case RenameOutcome::NotRenamed:
      return "unchanged";
    case RenameOutcome::LeftUnderTemporaryName:
      break;
  }
  return "stranded";
}

}  // namespace

std::string HeaderRecord() { return std::string(kHeader) + kEnd; }

std::string PlanRecord(long long number, const Plan& plan) {
  return Fields({"rename", FormatInteger(number), plan.oldPath, plan.temporaryPath, plan.newPath});
}

std::string UndoingRecord(long long runNumber) {
  return Fields({"undoing", FormatInteger(runNumber)});
}

std::string UndoRecord() { return Fields({"undo"}); }

std::string ResultRecord(long long number, RenameOutcome outcome) {
  return Fields({"result", FormatInteger(number), OutcomeWord(outcome)});
}

std::string RecoveredRecord(long long number, bool toNewName) {
  return Fields({"recovered", FormatInteger(number), toNewName ? "new" : "old"});
}

std::string UnrecoveredRecord(long long number) {
  return Fields({"unrecovered", FormatInteger(number)});
}

std::string FinishedRecord() { return Fields({kFinished}); }

std::string FolderRecord(const std::string& searchFolder) {
  return Fields({"folder", searchFolder});
}

Header HeaderOf(const std::string& line) {
  if (line == kHeader) return Header::Current;
  if (line == kCodePageHeader) return Header::CodePage;
  return Header::None;
}

std::vector<std::string> FieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ParseNumber(const std::string& text, long long& number) {
  int64_t value = 0;
  if (!ParsePlainDecimal(text, false, value)) return false;
  number = value;
  return true;
}

bool ExactPathOf(const std::string& field, bool codePage, std::string& path) {
  if (!codePage) {
    path = field;
    return true;
  }
  return ExactOf(field, path);
}

bool ParsePlan(const std::vector<std::string>& fields, bool codePage, long long& number,
               Plan& plan) {
  return fields.size() == 5 && fields[0] == "rename" && ParseNumber(fields[1], number) &&
         ExactPathOf(fields[2], codePage, plan.oldPath) &&
         ExactPathOf(fields[3], codePage, plan.temporaryPath) &&
         ExactPathOf(fields[4], codePage, plan.newPath);
}

bool IsFinished(const std::vector<std::string>& fields) {
  return fields.size() == 1 && fields[0] == kFinished;
}

bool TailShowsFinished(const std::string& tail) {
  // As the reader does, a last line without its end is passed over. Where the tail is too short
  // to show the record whole with the line end before it, it shows nothing: the caller then
  // reads the whole journal.
  const std::string record = "\n" + FinishedRecord();
  const size_t end = tail.rfind('\n');
  return end != std::string::npos && end + 1 >= record.size() &&
         tail.compare(end + 1 - record.size(), record.size(), record) == 0;
}

}  // namespace journal
