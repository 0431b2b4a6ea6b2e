// The journal file and the disk: the open file a run or an undo writes, what of a journal still
// stands on the disk, and a journal no run could have written moved out of the way.
#pragma once

#include <memory>
#include <string>

#include "journal/reader.h"
#include "platform/files.h"

namespace journal {

// An open journal file, closed however its owner ends.
struct CloseAppendFileDeleter {
  void operator()(AppendFile* file) const { CloseAppendFile(file); }
};
using JournalFile = std::unique_ptr<AppendFile, CloseAppendFileDeleter>;

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
