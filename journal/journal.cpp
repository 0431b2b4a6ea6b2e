// Writing and reading the journal's records.
#include "journal/journal.h"

#include <algorithm>
#include <limits>
#include <set>
#include <vector>

#include "platform/common/verified_rename.h"
#include "platform/text.h"

namespace journal {

namespace {

constexpr char kHeader[] = "Kestrune journal\t1";
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

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// A record number: plain decimal digits, no sign, no leading zero, within range.
bool ParseNumber(const std::string& text, long long& number) {
  if (text.empty() || text.size() > 18 || (text[0] == '0' && text.size() > 1)) return false;
  number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

// A path as the run writes them: absolute (a drive or a share), no control characters.
bool IsAbsolutePath(const std::string& path) {
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  return drive || path.rfind("\\\\", 0) == 0;
}

// What an undo may reverse: a change of letter case within one folder, as the run makes them.
bool IsUndoable(const Plan& plan) {
  return IsAbsolutePath(plan.oldPath) && IsCaseOnlyChange(plan.oldPath, plan.newPath) &&
         FolderPartOf(plan.oldPath) == FolderPartOf(plan.newPath);
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

Contents Parse(const std::string& text, Reading reading) {
  Contents contents;
  // Renames recorded whose outcome is not known yet. What each is: 0 a rename of the run, -1
  // one of an earlier run, else the number of the run's rename it undoes.
  struct Pending {
    Plan plan;
    long long undoes;
  };
  std::map<long long, Pending> pending;
  std::vector<std::pair<long long, Plan>> done;
  std::set<long long> undone;
  long long undoing = 0;
  auto complete = [&](long long number) {
    const auto it = pending.find(number);
    if (it == pending.end()) return;
    if (reading == Reading::OpenPlans) {
      // Neither an undo's progress nor the run's renames matter to recovery.
    } else if (it->second.undoes > 0) {
      undone.insert(it->second.undoes);
    } else if (it->second.undoes == 0 && IsUndoable(it->second.plan)) {
      done.emplace_back(number, it->second.plan);
    }
    pending.erase(it);
  };

  size_t start = 0;
  bool first = true;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first || line == kHeader) {
      if (first && line != kHeader) return contents;
      first = false;
      contents.isJournal = true;
      // A run appended to an unfinished journal: only its own renames can be undone, and the
      // earlier ones' entries still wait for recovery.
      for (auto& [number, entry] : pending) entry.undoes = -1;
      done.clear();
      undone.clear();
      undoing = 0;
      contents.finished = false;
      continue;
    }
    const std::vector<std::string> fields = Split(line);
    const std::string& kind = fields[0];
    long long number = 0;
    const bool numbered = fields.size() >= 2 && ParseNumber(fields[1], number);
    if (kind == kFinished && fields.size() == 1) {
      contents.finished = true;
      continue;
    }
    if (!numbered) continue;
    contents.finished = false;
    contents.lastNumber = std::max(contents.lastNumber, number);
    if (kind == "rename" && fields.size() == 5) {
      pending[number] = {{fields[2], fields[3], fields[4]}, undoing};
      undoing = 0;
    } else if (kind == "undoing" && fields.size() == 2) {
      undoing = number;
    } else if (kind == "result" && fields.size() == 3) {
      if (fields[2] == "renamed") {
        complete(number);
      } else if (fields[2] != "stranded") {
        pending.erase(number);
      }
    } else if (kind == "recovered" && fields.size() == 3) {
      if (fields[2] == "new") {
        complete(number);
      } else {
        pending.erase(number);
      }
    }
  }
  for (const auto& [number, entry] : pending) {
    if (!entry.plan.temporaryPath.empty()) contents.open[number] = entry.plan;
  }
  for (auto& [number, plan] : done) {
    if (undone.count(number) == 0) contents.undoable.emplace_back(number, std::move(plan));
  }
  return contents;
}

bool MayBeUnfinished(const std::string& path) {
  std::string tail;
  return !path.empty() && ReadFileTail(path, kTailBytes, tail) && !TailShowsFinished(tail);
}

Contents ReadJournal(const std::string& path, Reading reading) {
  std::string text;
  if (path.empty() || !ReadFileTail(path, std::numeric_limits<uint64_t>::max(), text)) return {};
  return Parse(text, reading);
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

bool MayRecover(const Plan& plan) {
  const std::string folder = FolderPartOf(plan.temporaryPath);
  const std::string temporary = plan.temporaryPath.substr(folder.size());
  const std::string toldNewName = NewNameOfTemporary(temporary);
  // A change an undo could make, through a temporary name of ours in the same folder.
  return IsUndoable(plan) && IsAbsolutePath(plan.temporaryPath) && !folder.empty() &&
         FolderPartOf(plan.oldPath) == folder && IsTemporaryName(temporary) &&
         (toldNewName.empty() || folder + toldNewName == plan.newPath);
}

int StandingPlans(const Contents& contents) {
  int standing = 0;
  for (const auto& [number, plan] : contents.open) {
    if (MayRecover(plan) && IsListedAs(plan.temporaryPath)) ++standing;
  }
  return standing;
}

bool IsListedAs(const std::string& path) {
  const std::string name = path.substr(FolderPartOf(path).size());
  for (const std::string& listed : NamesMatching(path + "*")) {
    if (listed == name) return true;
  }
  return false;
}

}  // namespace journal
