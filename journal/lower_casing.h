// One lower-casing run's renames, folder by folder: which entries may go through a temporary
// name, the journal that records every rename before it is made, and entries an earlier run
// left under a temporary name, finished on the way.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "journal/writer.h"
#include "platform/rename.h"

namespace journal {

class LowerCasingRun {
 public:
  // What a new run takes over from the journal it finds: of an unfinished one, how many entries
  // still stand under a temporary name it records, and its last record number; nothing of one
  // that shows it finished, and nothing of one no run could have written (usable false), which
  // the caller may set aside before the run replaces it.
  struct Earlier {
    bool usable = true;
    int standing = 0;
    long long lastNumber = 0;
  };
  static Earlier EarlierRun(const std::string& journalPath);
  // Starts the journal at journalPath for a run over searchFolder, replacing the last run's
  // (earlier: what EarlierRun found there); where an earlier run left an entry under a
  // temporary name that recovery could not move, its journal is kept and the run is appended to
  // it, so that recovery still knows the entry. What became of the journal is JournalState();
  // the caller decides whether the run goes on without one, which then uses only temporary names
  // that tell the new name.
  LowerCasingRun(const std::string& journalPath, const std::string& searchFolder,
                 const Earlier& earlier);

  LowerCasingRun(const LowerCasingRun&) = delete;
  LowerCasingRun& operator=(const LowerCasingRun&) = delete;

  JournalState State() const { return journal_.State(); }
  // The journal could not be written any more: no rename follows.
  bool JournalLost() const { return journal_.Lost(); }

  // The folder whose entries come next, as just listed: count exact names, nameAt(0..count-1).
  void BeginFolder(const std::string& folder, int count,
                   const std::function<const std::string&(int)>& nameAt);

  enum class Result { Unchanged, Renamed, Failed };
  // Renames one listed entry of the folder (its exact name) to its lower-case name, its ASCII
  // capitals lowered and nothing else; an entry left under a temporary name of ours is first
  // given the name that temporary name tells. newName is the entry's name afterwards.
  Result LowerCase(const std::string& name, std::string& newName);

  // The run is over, completed or stopped: the journal is marked finished, unless an entry was
  // left under a temporary name, which recovery then tries again at the next start.
  void End();

 private:
  // How many listed names of the folder answer to name, as the file system compares them.
  int ListedAnswering(const std::string& name) const;

  JournalWriter journal_;
  RenameSession session_;
  std::string folder_;
  std::unordered_map<std::string, int> foldedForms_;
};

}  // namespace journal
