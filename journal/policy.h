// What Kestrune may do on the word of a journal. A journal is a file beside the program that
// anything may have damaged or written: these rules are all that stands between its lines and
// people's files, and every reader and actor of the journal goes by them.
//
// - Recovery at start-up, which acts without asking, only ever moves an entry out of a
//   temporary name of ours, within its folder, to a name that differs from its old one in
//   letter case alone (MayRecover), and only inside the run's search folder.
// - An undo, which the user confirms, only changes the letter case of an entry inside the run's
//   search folder, within its own folder (IsUndoable).
// - Every path either acts on is one a run could have written (IsRunPath).
// - A file no run could have written is not read on (kMaxRecordBytes, kMaxOpenPlans): it is set
//   aside and the user told.
#pragma once

#include <cstddef>
#include <string>

namespace journal {

struct Plan;

// No record a run writes is longer: three paths of at most 32,767 characters, two bytes each.
constexpr size_t kMaxRecordBytes = 256 * 1024;
// Entries a journal may show under a temporary name. A run leaves one there only where every
// way out failed; past this many the file is not a journal a run wrote, and holding them all
// would cost a 32-bit program more memory than it can spare.
constexpr size_t kMaxOpenPlans = 100000;

// True for a path a run writes: UTF-8, absolute (a drive or a share), no control characters, no
// empty, "." or ".." part.
bool IsRunPath(const std::string& path);
// True when path lies inside folder (a folder path, ending with '\'), not folder itself.
bool IsInside(const std::string& path, const std::string& folder);
// True when an undo may reverse the plan: a change of letter case of an entry inside folder (the
// run's search folder), within its own folder.
bool IsUndoable(const Plan& plan, const std::string& folder);
// True when the plan only ever asks to move an entry out of a temporary name of ours, to a name
// that differs from its old one in letter case only, within one folder. Nothing else in a
// journal is acted on without the user asking: the file may be damaged, or not ours.
bool MayRecover(const Plan& plan);

}  // namespace journal
