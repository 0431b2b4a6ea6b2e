// Reading a journal: streamed line by line in bounded memory, into what recovery, a new run and
// an undo need of it; and the records an undo reads back one by one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "journal/records.h"
#include "platform/files.h"

namespace journal {

// A rename the last run made that stands and that no undo has reversed since: its number and
// where its record starts in the journal, from where the undo reads it again when it comes to
// it (a run of a million renames must not cost their paths in memory).
struct StandingRename {
  long long number;
  uint64_t offset;
};

// What a journal says. Lines that do not parse are passed over, and so is a last line without
// its line end (a write the process did not live to finish).
struct Contents {
  bool isJournal = false;  // the first line is the header
  // False for a file that no run of ours could have written (no header, a line longer than any
  // record, more open plans than a run leaves) or that could not be read to its end.
  bool usable = true;
  bool finished = false;  // the last record is "finished"
  // The last run's header is version 1's: its records' paths are code-page text.
  bool codePage = false;
  // The search folder of the last run, from the folder record after its header.
  std::string folder;
  // Renames that may have left their entry under its temporary name: recorded with one, and
  // neither ended with the entry under a name of its own nor recovered since. By number.
  std::map<long long, Plan> open;
  // The last run's case-only renames inside its folder that ended with the entry under its new
  // name (by their result, or by recovery) and that no undo has reversed, in the order made.
  std::vector<StandingRename> undoable;
  long long lastNumber = 0;  // the highest record number
};
// What a reader takes from a journal. Recovery and a run starting need only the open plans.
enum class Reading { OpenPlans, Everything };

// Takes a journal line by line, so that a journal of any length is read in bounded memory.
class Parser {
 public:
  explicit Parser(Reading reading) : reading_(reading) {}
  // One line, its line end removed; offset is where it starts in the journal.
  void Line(const std::string& line, uint64_t offset);
  void Unusable() { contents_.usable = false; }
  Contents Finish();

 private:
  // A rename recorded whose outcome is not known yet.
  struct Pending {
    Plan plan;  // kept only where it has a temporary path: recovery may need it
    uint64_t offset;
    // 0 a rename of the run, -1 one of an earlier run, else the number of the rename it undoes.
    long long undoes;
    bool undoable;  // a rename of the run that an undo could reverse
  };
  void Complete(long long number);
  Reading reading_;
  Contents contents_;
  bool first_ = true;
  bool afterHeader_ = false;
  long long undoing_ = 0;
  std::map<long long, Pending> pending_;
  std::vector<StandingRename> done_;
  std::vector<long long> undone_;
};

// The text of a journal, parsed; Parse and ReadJournal agree on every text.
Contents Parse(const std::string& text, Reading reading = Reading::Everything);
// The journal at path read in pieces; empty contents where there is none.
Contents ReadJournal(const std::string& path, Reading reading);

// True when there is a journal at path whose tail does not show it finished: only then has a
// reader anything to do with the rest of it.
bool MayBeUnfinished(const std::string& path);

// Lines of a journal read back by where they start, through a window of the file: an undo asks
// for its records last first, each a few hundred bytes before the one it asked for last.
class RecordReader {
 public:
  explicit RecordReader(InputFile* file) : file_(file) {}
  // The line starting at offset, without its end; false where none ends within a record's bound.
  bool LineAt(uint64_t offset, std::string& line);

 private:
  bool FromWindow(uint64_t offset, std::string& line) const;

  InputFile* file_;
  std::string window_;
  uint64_t windowStart_ = 0;
};

// The rename record of number `number` starting at offset, as an undo may act on it: false where
// the journal no longer shows it there, or it is no longer one the undo may reverse. codePage:
// the run's records are code-page text (Contents::codePage).
bool ReadStandingRename(RecordReader& reader, const StandingRename& rename,
                        const std::string& folder, bool codePage, Plan& plan);

}  // namespace journal
