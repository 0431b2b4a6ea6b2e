// The journal fuzz body: whatever a journal says, recovery moves only what a run of ours could
// have left under a temporary name.
#include <map>

#include "fuzz/fuzz_bodies.h"
#include "journal/lower_casing.h"
#include "journal/policy.h"
#include "journal/records.h"
#include "journal/recovery.h"
#include "journal/undo.h"
#include "platform/rename.h"
#include "platform/memory/memory_volume.h"
#include "platform/text.h"

namespace fuzz {

namespace {

const char kJournal[] = "C:\\app\\Kestrune.log";

struct Seen {
  uint64_t folder;
  std::string name;
  std::string path;
};

void Walk(const std::string& folder, std::map<uint64_t, Seen>& seen) {
  memory::Volume& volume = memory::Volume::Get();
  for (const std::string& name : volume.NamesIn(folder)) {
    const std::string path = folder + name;
    seen[volume.EntryId(path)] = {volume.EntryId(folder), name, path};
    std::string data;
    if (!volume.ReadFile(path, data)) Walk(path + "\\", seen);
  }
}

std::map<uint64_t, Seen> Everything() {
  std::map<uint64_t, Seen> seen;
  for (const char* root : {"C:\\f\\", "C:\\x\\"}) Walk(root, seen);
  return seen;
}

std::string CheckMoves(const std::map<uint64_t, Seen>& before,
                       const std::map<uint64_t, Seen>& after) {
  if (after.size() != before.size()) return "entries appeared or vanished";
  for (const auto& [id, was] : before) {
    const auto now = after.find(id);
    if (now == after.end()) return "an entry is gone: " + was.name;
    if (now->second.folder != was.folder) return "an entry changed folder: " + was.name;
    if (now->second.name == was.name) continue;
    if (!IsTemporaryName(was.name)) return "an entry without our marker moved: " + was.name;
  }
  return "";
}

}  // namespace

std::string ExerciseJournal(const uint8_t* data, size_t size) {
  memory::Volume& volume = memory::Volume::Get();
  volume.Reset();
  volume.SetCaseSensitiveNames(true);
  volume.SetIgnoresCaseOnlyRenames(true);
  // Names are exact. A journal of version 1 names 表 (0x95 0x5C) in the code page, one of version
  // 2 in UTF-8; 〜 has no code-page form here.
  for (const char* path :
       {"C:\\f\\a.txt", "C:\\f\\A.TXT", "C:\\f\\B.TXT", "C:\\f\\b.txt.~kestrune.tmp",
        "C:\\f\\~kestrune7.tmp", "C:\\f\\other.~kestrune.tmp", "C:\\f\\sub\\C.TXT",
        "C:\\f\\sub\\c.txt.~kestrune.tmp", "C:\\x\\~kestrune1.tmp", "C:\\x\\keep.txt",
        u8"C:\\f\\表\\D.TXT", u8"C:\\f\\表\\d.txt.~kestrune.tmp", u8"C:\\f\\〜\\E.TXT",
        u8"C:\\f\\〜\\e.txt.~kestrune.tmp"}) {
    volume.MakeFile(path);
  }
  volume.MakeFolder("C:\\app");
  volume.WriteFile(kJournal, std::string(reinterpret_cast<const char*>(data), size));
  const std::map<uint64_t, Seen> before = Everything();

  // What an undo offers: read, never acted on without the user's yes. Read and not acted on,
  // it must all lie inside the run's folder.
  {
    journal::Undo offered(kJournal);
    for (int i = 0; i < offered.Count(); ++i) {
      if (offered.Load(i) && offered.Folder().rfind(offered.RunFolder(), 0) != 0) {
        return "an undo offered a rename outside the run's folder";
      }
    }
  }
  const journal::RecoveryReport first = journal::Recover(kJournal);
  std::string wrong = CheckMoves(before, Everything());
  if (!wrong.empty()) return "recovery: " + wrong;
  // Done is done: a recovery that left nothing behind leaves nothing for the next one.
  if (first.unrecovered == 0 && journal::Recover(kJournal).recovered != 0) {
    return "a second recovery found more to move";
  }

  // A new run starts from the same journal: where it goes on at the journal's end, recovery acts
  // on the whole alike.
  volume.WriteFile(kJournal, std::string(reinterpret_cast<const char*>(data), size));
  {
    const journal::LowerCasingRun appended(kJournal, "C:\\f\\",
                                           journal::LowerCasingRun::EarlierRun(kJournal));
  }
  journal::Recover(kJournal);
  wrong = CheckMoves(before, Everything());
  if (!wrong.empty()) return "after a run: " + wrong;

  // The user says yes to whatever the undo offers: only case changes inside the folder it names.
  volume.WriteFile(kJournal, std::string(reinterpret_cast<const char*>(data), size));
  const std::map<uint64_t, Seen> beforeUndo = Everything();
  journal::Undo undo(kJournal);
  if (undo.Count() > 0 && undo.Begin() == journal::JournalState::Open) {
    for (int i = undo.Count() - 1; i >= 0; --i) {
      if (undo.Load(i)) undo.UndoLoaded();
    }
  }
  undo.End();
  for (const auto& [id, now] : Everything()) {
    const auto was = beforeUndo.find(id);
    if (was == beforeUndo.end() || was->second.folder != now.folder) {
      return "the undo made or moved an entry: " + now.name;
    }
    if (was->second.name == now.name) continue;
    if (now.path.rfind(undo.RunFolder(), 0) != 0 || undo.RunFolder().empty()) {
      return "the undo renamed outside the run's folder: " + was->second.path;
    }
    if (!IsCaseOnlyChange(was->second.name, now.name) && !IsTemporaryName(now.name)) {
      return "the undo made more than a change of case: " + was->second.path;
    }
  }
  return "";
}

}  // namespace fuzz
