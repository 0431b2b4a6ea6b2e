// The lower-casing run: every folder of the tree is listed in turn and each listed entry whose
// name has upper-case single-byte letters is renamed to its lower-case name.
#include "Unit1/Form1.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/dialogs.h"

namespace {

// A failed rename is counted, never fatal: the run goes on with the next row.
bool TryRename(const std::string& oldPath, const std::string& newPath) {
  try {
    return RenameEntry(oldPath, newPath);
  } catch (...) {
    return false;
  }
}

}  // namespace

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
  // Folders renamed while their parent was processed are reached later through the letter case
  // the tree kept; name lookup ignores case, so those paths still resolve.
  for (int n = 0; n < nodeCount; ++n) {
    const std::string folder = FolderPathOfNode(n);
    ListFolder(folder);
    // Esc seen by the listing stops the run too, after the rows it listed: going on would skip
    // the rest of this folder and still report the run as complete.
    if (!listingCompleted_) completed = false;
    ShowStatusNow(texts::kRunPrefix + folder + texts::kRunSuffix);
    const int rows = StringGrid1.RowCount();
    for (int r = 1; r < rows; ++r) {
      if (EscDown()) {
        completed = false;
        break;
      }
      const std::string& name = StringGrid1.Cell(0, r);
      const std::string lower = LowerCaseText(name);
      if (lower != name && !TryRename(folder + name, folder + lower)) ++failures;
    }
    if (!completed || EscDown()) {
      completed = false;
      break;
    }
  }

  TreeView1.Select(TreeView1.NodeAt(0));
  ListFolder(FolderPathOfNode(0));

  std::string status = completed ? texts::kRunCompleted : texts::kRunAborted;
  if (failures > 0) {
    status += texts::kRunFailuresPrefix + FormatInteger(failures) + texts::kRunFailuresSuffix;
  }
  ShowStatusNow(status);
}
