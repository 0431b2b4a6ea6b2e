// The lower-casing run: every folder of the tree is listed in turn and each listed entry whose
// name has upper-case single-byte letters is renamed to its lower-case name, through the
// journal, which also lets the next start put right what a run that died left half done.
#include <new>
#include <vector>

#include "Unit1/Form1.h"
#include "Unit2/Unit2.h"
#include "journal/journal_file.h"
#include "journal/lower_casing.h"
#include "journal/records.h"
#include "journal/recovery.h"
#include "platform/input.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"

using toolkit::NodeId;

std::string TForm1::JournalPath() const {
  return ExeFolder.empty() ? std::string() : ExeFolder + journal::kFileName;
}

std::string TForm1::ExactJournalPath() const { return FaithfulExactOf(JournalPath()); }

void TForm1::ShowOutcome(bool completed, const char* done, const char* stopped, int failures) {
  std::string status = completed ? done : stopped;
  if (failures > 0) {
    status += texts::kRunFailuresPrefix + FormatInteger(failures) + texts::kRunFailuresSuffix;
  }
  ShowStatusNow(status);
}

void TForm1::RefuseJournalInUse() {
  toolkit::RefusalDlg(toolkit::DialogKind::Error,
                      texts::kJournalInUsePrefix + JournalPath() + texts::kJournalInUseSuffix);
  StatusBar1.SetText("");
}

void TForm1::TellJournalLost() {
  toolkit::FailureDlg(toolkit::DialogKind::Error,
                      texts::kJournalPrefix + JournalPath() + texts::kJournalLostSuffix);
}

void TForm1::SetAsideJournal() {
  std::string asideAs;
  if (!journal::SetAside(ExactJournalPath(), asideAs)) return;
  toolkit::FailureDlg(toolkit::DialogKind::Information,
                      texts::kJournalPrefix + JournalPath() + texts::kJournalSetAsideMiddle +
                          ShownOf(asideAs) + texts::kJournalSetAsideSuffix);
}

void TForm1::MnuKestruneClick() {
  if (!TreeReady) {
    RefuseNoFolderTree();
    return;
  }
  ShowStatusNow("");
  // Renaming a whole tree is not to be started by closing the box.
  if (toolkit::MessageDlg(toolkit::DialogKind::Confirmation, texts::kConfirmRun) !=
      toolkit::DialogResult::Yes) {
    return;
  }
  try {
    LowerCaseTree();
  } catch (const std::bad_alloc&) {
    // Memory ran out where the run could not stop by itself, perhaps between the two steps of a
    // rename: the journal is left unfinished, as by a death, and the next start puts back what
    // stands under a temporary name. The error box tells the rest.
    renaming_ = false;
    ShowStatusNow(texts::kRunOutOfMemory);
    DiscardQueuedDrops();
    throw;
  }
}

void TForm1::LowerCaseTree() {
  // A journal that a new run would replace but that no run wrote is kept for whoever made it.
  const std::string journalPath = ExactJournalPath();
  const journal::LowerCasingRun::Earlier earlier = journal::LowerCasingRun::EarlierRun(journalPath);
  if (!earlier.usable) SetAsideJournal();
  journal::LowerCasingRun run(journalPath, PathOfNode(TreeView1.NodeAt(0)), earlier);
  if (run.State() == journal::JournalState::InUse) {
    RefuseJournalInUse();
    return;
  }
  if (run.State() == journal::JournalState::Unwritable) {
    if (toolkit::MessageDlg(toolkit::DialogKind::Confirmation,
                            texts::kJournalPrefix + JournalPath() +
                                texts::kJournalUnwritableSuffix) != toolkit::DialogResult::Yes) {
      StatusBar1.SetText("");
      return;
    }
    // The journal still tells an earlier run: an undo of it now would be an undo of the wrong one.
    unjournaledRunMade_ = true;
  } else {
    unjournaledRunMade_ = false;
  }

  renaming_ = true;
  RunTally tally;
  const int nodeCount = TreeView1.Count();
  toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
  const toolkit::ProgressScope progressShown(progress);
  // Folders this run renamed, by node. The tree keeps the case it was scanned in and the status
  // line shows that; the disk is reached through the new names, which resolve whether or not
  // the volume's lookup ignores case, and never resolve to a sibling that differs only in case.
  std::unordered_map<NodeId, std::string> renamed;
  for (int n = 0; n < nodeCount && tally.completed; ++n) {
    progress.SetProgress(n, nodeCount);
    LowerCaseFolder(n, run, renamed, tally);
  }
  run.End();
  if (tally.journalLost) TellJournalLost();

  renaming_ = false;
  TreeView1.Select(TreeView1.NodeAt(0));
  ListFolder(PathOfNode(TreeView1.NodeAt(0)));

  ShowOutcome(tally.completed, texts::kRunCompleted,
              tally.outOfMemory ? texts::kRunOutOfMemory : texts::kRunAborted, tally.failures);
  DiscardQueuedDrops();
}

void TForm1::LowerCaseFolder(int n, journal::LowerCasingRun& run,
                             std::unordered_map<NodeId, std::string>& renamed, RunTally& tally) {
  const NodeId node = TreeView1.NodeAt(n);
  const std::string folder = FolderPathOfNode(n);
  const std::string path = PathOfNode(node, renamed);
  ListFolder(path);
  // Esc seen by the listing, or memory that ran out, stops the run too, after the rows it
  // listed: going on would skip the rest of this folder and still report the run as complete.
  if (!listingCompleted_) tally.completed = false;
  if (listingOutOfMemory_) tally.outOfMemory = true;
  // A folder gone, renamed by someone else or unreadable: its entries were not lower-cased.
  if (!listingReachedFolder_) ++tally.failures;
  ShowStatusNow(texts::kRunPrefix + folder + texts::kRunSuffix);
  const int rows = StringGrid1.RowCount();
  // The entries are renamed by their exact names; two that show alike are still two.
  std::vector<std::string> names;
  try {
    names.reserve(static_cast<size_t>(rows - 1));
    for (int r = 1; r < rows; ++r) names.push_back(ExactNameOfRow(r));
    run.BeginFolder(path, rows - 1, [&names](int i) -> const std::string& { return names[i]; });
  } catch (const std::bad_alloc&) {
    // Nothing of this folder was renamed yet.
    tally.outOfMemory = true;
    tally.completed = false;
    return;
  }
  std::unordered_map<std::string, NodeId> children;
  for (int r = 1; r < rows; ++r) {
    if (EscDown()) {
      tally.completed = false;
      return;
    }
    const std::string& name = names[static_cast<size_t>(r - 1)];
    std::string newName;
    const journal::LowerCasingRun::Result result = run.LowerCase(name, newName);
    if (result == journal::LowerCasingRun::Result::Failed) ++tally.failures;
    // Not one rename more once the journal cannot tell it.
    if (run.JournalLost()) {
      tally.journalLost = true;
      tally.completed = false;
      return;
    }
    if (result != journal::LowerCasingRun::Result::Renamed || !IsFolderRow(r) ||
        !TreeView1.HasChildren(node)) {
      continue;
    }
    if (children.empty()) {
      for (NodeId c = TreeView1.FirstChild(node); c != toolkit::kNoNode;
           c = TreeView1.NextSibling(c)) {
        children.emplace(ExactNameOfNode(c), c);
      }
    }
    const auto child = children.find(name);
    if (child != children.end()) renamed[child->second] = newName;
  }
  if (EscDown()) tally.completed = false;
}

void TForm1::RecoverInterruptedRun() {
  const std::string journalPath = JournalPath();
  if (journalPath.empty()) return;
  const journal::RecoveryReport report = journal::Recover(ExactJournalPath());
  if (report.unusable) SetAsideJournal();
  if (report.unrecovered == 0) return;
  toolkit::FailureDlg(toolkit::DialogKind::Information,
                      texts::kUnrecoveredPrefix + FormatInteger(report.unrecovered) +
                          texts::kUnrecoveredMiddle + journalPath + texts::kUnrecoveredSuffix);
}
