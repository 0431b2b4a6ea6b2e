// The run journal's records: one line each, UTF-8 text with tab-separated fields and CRLF
// endings, so that a person can read in any text editor what a run did, and recovery can find
// what a run that died left half done. Paths are exact (platform/text.h).
//
//   Kestrune journal<TAB>2                         the first line of every journal; later,
//                                                  a run appended to an unfinished journal
//                                                  ("Kestrune journal<TAB>1": a run of an earlier
//                                                  version, its paths in code page 932)
//   folder<TAB>path                                the run's search folder (after its header)
//   rename<TAB>n<TAB>old<TAB>temporary<TAB>new     about to rename (temporary empty: direct)
//   undoing<TAB>m                                  the next rename undoes rename m
//   result<TAB>n<TAB>renamed|unchanged|stranded    what became of rename n
//   recovered<TAB>n<TAB>new|old                    recovery moved rename n's entry there
//   unrecovered<TAB>n                              recovery could not move it
//   undo                                           an undo of the run begins (for the reader)
//   finished                                       nothing is left to put right
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/rename.h"

namespace journal {

// The journal's file name, in the folder of the executable.
inline constexpr char kFileName[] = "Kestrune.log";

// No record a run writes is longer: three paths of at most 32,767 characters, two bytes each.
constexpr size_t kMaxRecordBytes = 256 * 1024;
// Entries a journal may show under a temporary name. A run leaves one there only where every
// way out failed; past this many the file is not a journal a run wrote, and holding them all
// would cost a 32-bit program more memory than it can spare.
constexpr size_t kMaxOpenPlans = 100000;

// An open journal file, closed however its owner ends.
struct CloseAppendFileDeleter {
  void operator()(AppendFile* file) const { CloseAppendFile(file); }
};
using JournalFile = std::unique_ptr<AppendFile, CloseAppendFileDeleter>;

// One rename as recorded before it was attempted.
struct Plan {
  std::string oldPath;
  std::string temporaryPath;  // empty for a direct rename
  std::string newPath;
};

std::string HeaderRecord();
std::string FolderRecord(const std::string& searchFolder);
std::string PlanRecord(long long number, const Plan& plan);
std::string UndoingRecord(long long runNumber);
std::string UndoRecord();
std::string ResultRecord(long long number, RenameOutcome outcome);
std::string RecoveredRecord(long long number, bool toNewName);
std::string UnrecoveredRecord(long long number);
std::string FinishedRecord();

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

// True when a journal's tail (its last kTailBytes bytes) shows it finished, which spares reading
// the whole of a long one. False does not say unfinished: a reader then decides.
bool TailShowsFinished(const std::string& tail);
constexpr uint64_t kTailBytes = 64;

// True when there is a journal at path whose tail does not show it finished: only then has a
// reader anything to do with the rest of it.
bool MayBeUnfinished(const std::string& path);

// True for a path a run writes: UTF-8, absolute (a drive or a share), no control characters, no
// empty, "." or ".." part.
bool IsRunPath(const std::string& path);
// True when an undo may reverse the plan: a change of letter case of an entry inside folder (the
// run's search folder), within its own folder.
bool IsUndoable(const Plan& plan, const std::string& folder);
// True when the plan only ever asks to move an entry out of a temporary name of ours, to a name
// that differs from its old one in letter case only, within one folder. Nothing else in a
// journal is acted on without the user asking: the file may be damaged, or not ours.
bool MayRecover(const Plan& plan);

// True when an entry of path's folder carries exactly path's name now (a lookup could answer
// for another entry whose name differs only in case).
bool IsListedAs(const std::string& path);

// How many open plans of the contents still have their entry under the temporary name, where
// recovery may act on them: while there are any, the journal must not be marked finished.
int StandingPlans(const Contents& contents);

// Moves a journal no run could have written out of the way, under a free name beside it, so
// that runs and undos can go on. True when it was moved; asideAs is then its new path.
bool SetAside(const std::string& path, std::string& asideAs);

}  // namespace journal
