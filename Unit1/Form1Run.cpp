// The lower-casing run: every folder of the tree is listed in turn and each listed entry whose
// name has upper-case single-byte letters is renamed to its lower-case name, through the
// journal, which also lets the next start put right what a run that died left half done.
#include <unordered_map>

#include "Unit1/Form1.h"
#include "Unit2/Unit2.h"
#include "journal/journal.h"
#include "journal/lower_casing.h"
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

void TForm1::ShowOutcome(bool completed, const char* done, const char* stopped, int failures) {
  std::string status = completed ? done : stopped;
  if (failures > 0) {
    status += texts::kRunFailuresPrefix + FormatInteger(failures) + texts::kRunFailuresSuffix;
  }
  ShowStatusNow(status);
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

  bool completed = true;
  int failures = 0;
  const int nodeCount = TreeView1.Count();
  toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
  const toolkit::ProgressScope progressShown(progress);
  journal::LowerCasingRun run(JournalPath());
  // Folders this run renamed, by node. The tree keeps the case it was scanned in and the status
  // line shows that; the disk is reached through the new names, which resolve whether or not
  // the volume's lookup ignores case, and never resolve to a sibling that differs only in case.
  std::unordered_map<NodeId, std::string> renamed;
  for (int n = 0; n < nodeCount; ++n) {
    progress.SetProgress(n, nodeCount);
    const NodeId node = TreeView1.NodeAt(n);
    const std::string folder = FolderPathOfNode(n);
    const std::string path = PathOfNode(node, renamed);
    ListFolder(path);
    // Esc seen by the listing stops the run too, after the rows it listed: going on would skip
    // the rest of this folder and still report the run as complete.
    if (!listingCompleted_) completed = false;
    // A folder gone, renamed by someone else or unreadable: its entries were not lower-cased.
    if (!listingReachedFolder_) ++failures;
    ShowStatusNow(texts::kRunPrefix + folder + texts::kRunSuffix);
    const int rows = StringGrid1.RowCount();
    run.BeginFolder(path, rows - 1,
                    [this](int i) -> const std::string& { return StringGrid1.Cell(0, i + 1); });
    std::unordered_map<std::string, NodeId> children;
    for (int r = 1; r < rows; ++r) {
      if (EscDown()) {
        completed = false;
        break;
      }
      const std::string& name = StringGrid1.Cell(0, r);
      std::string newName;
      const journal::LowerCasingRun::Result result = run.LowerCase(name, newName);
      if (result == journal::LowerCasingRun::Result::Failed) ++failures;
      if (result != journal::LowerCasingRun::Result::Renamed ||
          StringGrid1.Cell(1, r) != texts::kFolderSize || !TreeView1.HasChildren(node)) {
        continue;
      }
      if (children.empty()) {
        for (NodeId c = TreeView1.FirstChild(node); c != toolkit::kNoNode;
             c = TreeView1.NextSibling(c)) {
          children.emplace(TreeView1.Text(c), c);
        }
      }
      const auto child = children.find(name);
      if (child != children.end()) renamed[child->second] = newName;
    }
    if (!completed || EscDown()) {
      completed = false;
      break;
    }
  }
  run.End();

  TreeView1.Select(TreeView1.NodeAt(0));
  ListFolder(FolderPathOfNode(0));

  ShowOutcome(completed, texts::kRunCompleted, texts::kRunAborted, failures);
  DiscardQueuedDrops();
}

void TForm1::RecoverInterruptedRun() {
  const std::string journalPath = JournalPath();
  if (journalPath.empty()) return;
  const journal::RecoveryReport report = journal::Recover(journalPath);
  if (report.unrecovered == 0) return;
  toolkit::FailureDlg(toolkit::DialogKind::Information,
                      texts::kUnrecoveredPrefix + FormatInteger(report.unrecovered) +
                          texts::kUnrecoveredMiddle + journalPath + texts::kUnrecoveredSuffix);
}
