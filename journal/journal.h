// The run journal's records: one line each, code-page 932 text with tab-separated fields and
// CRLF endings, so that a person can read in any text editor what a run did, and recovery can
// find what a run that died left half done.
//
//   Kestrune journal<TAB>1                         the first line of every journal; later,
//                                                  a run appended to an unfinished journal
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
#include <utility>
#include <vector>

#include "platform/files.h"

namespace journal {

// The journal's file name, in the folder of the executable.
inline constexpr char kFileName[] = "Kestrune.log";

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
std::string PlanRecord(long long number, const Plan& plan);
std::string UndoingRecord(long long runNumber);
std::string UndoRecord();
std::string ResultRecord(long long number, RenameOutcome outcome);
std::string RecoveredRecord(long long number, bool toNewName);
std::string UnrecoveredRecord(long long number);
std::string FinishedRecord();

// What a journal's text says. Lines that do not parse are passed over, and so is a last line
// without its line end (a write the process did not live to finish).
struct Contents {
  bool isJournal = false;  // the first line is the header
  bool finished = false;   // the last record is "finished"
  // Renames that may have left their entry under its temporary name: recorded with one, and
  // neither ended with the entry under a name of its own nor recovered since. By number.
  std::map<long long, Plan> open;
  // The case-only renames of the run that ended with the entry under its new name (by their
  // result, or by recovery) and that no undo has reversed since, in the order they were made.
  std::vector<std::pair<long long, Plan>> undoable;
  long long lastNumber = 0;  // the highest record number
};
// What a reader takes from a journal. Recovery and a run starting need only the open plans; the
// undoable renames of a run of millions would cost more memory than the journal's text, at a
// start that must not fail.
enum class Reading { OpenPlans, Everything };
Contents Parse(const std::string& text, Reading reading = Reading::Everything);

// True when a journal's tail (its last kTailBytes bytes) shows it finished, which spares reading
// the whole of a long one. False does not say unfinished: Parse then decides.
bool TailShowsFinished(const std::string& tail);
constexpr uint64_t kTailBytes = 64;

// True when there is a journal at path whose tail does not show it finished: only then has a
// reader anything to do with the rest of it.
bool MayBeUnfinished(const std::string& path);
// The journal at path, read whole and parsed; empty contents where it cannot be read.
Contents ReadJournal(const std::string& path, Reading reading);

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

}  // namespace journal
