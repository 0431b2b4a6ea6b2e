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
#include <string>
#include <vector>

#include "platform/rename.h"

namespace journal {

// The journal's file name, in the folder of the executable.
inline constexpr char kFileName[] = "Kestrune.log";

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

// Reading records back, a line (its line end removed) at a time.
enum class Header { None, Current, CodePage };
Header HeaderOf(const std::string& line);
std::vector<std::string> FieldsOf(const std::string& line);
// A record number, as the writer writes it: unsigned plain decimal.
bool ParseNumber(const std::string& text, long long& number);
// A path of a record as it stands in the journal, exact: false where a code-page one (codePage:
// the run's header is version 1's) has no exact form.
bool ExactPathOf(const std::string& field, bool codePage, std::string& path);
// A rename record: its number and plan.
bool ParsePlan(const std::vector<std::string>& fields, bool codePage, long long& number,
               Plan& plan);
bool IsFinished(const std::vector<std::string>& fields);

// True when a journal's tail (its last kTailBytes bytes) shows it finished, which spares reading
// the whole of a long one. False does not say unfinished: a reader then decides.
bool TailShowsFinished(const std::string& tail);
constexpr uint64_t kTailBytes = 64;

}  // namespace journal
