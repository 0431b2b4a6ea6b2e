// Recovery at start-up: a journal that a run did not live to mark finished is replayed, so that
// no entry stays under a temporary name of ours.
#pragma once

#include <string>

namespace journal {

struct RecoveryReport {
  int recovered = 0;      // entries moved out of their temporary names
  int unrecovered = 0;    // entries still under them: neither name they may have is free
  bool unusable = false;  // the journal is none a run could have written: nothing was done
};

// Every entry the journal shows on its way through a temporary name, and still under it, is
// moved on to its new name where that name is free, else back to its old one. Only names that
// carry our temporary marker are ever moved, and only to a name in the same folder that differs
// from the old one in letter case alone. Dying at any point leaves a journal that the next
// call finishes. Nothing is done while another instance holds the journal.
RecoveryReport Recover(const std::string& journalPath);

}  // namespace journal
