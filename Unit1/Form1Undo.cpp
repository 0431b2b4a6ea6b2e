// Ctrl+Z: the last lower-casing run undone from its journal, after a restart too.
#include "Unit1/Form1.h"
#include "journal/undo.h"
#include "platform/input.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"

void TForm1::UndoLastRun() {
  // The scan lets messages through; the tree it builds is no place for renames meanwhile.
  if (scanning_ || !FormShown) return;
  journal::Undo undo(JournalPath());
  if (undo.Count() == 0) {
    toolkit::RefusalDlg(toolkit::DialogKind::Information, texts::kNothingToUndo);
    StatusBar1.SetText("");
    return;
  }
  // The close box and Esc count as No: undoing renames is not to be started by closing a box.
  if (toolkit::MessageDlg(toolkit::DialogKind::Confirmation,
                          texts::kConfirmUndoPrefix + FormatInteger(undo.Count()) +
                              texts::kConfirmUndoSuffix) != toolkit::DialogResult::Yes) {
    return;
  }

  bool completed = true;
  int failures = 0;
  std::string shownFolder;
  toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
  const toolkit::ProgressScope progressShown(progress);
  undo.Begin();
  // The last rename first: a folder gets its old name back after everything inside it. The
  // undo works from the journal, with or without a tree: its share is of the renames.
  for (int i = undo.Count() - 1; i >= 0; --i) {
    progress.SetProgress(undo.Count() - 1 - i, undo.Count());
    if (EscDown()) {
      completed = false;
      break;
    }
    const std::string folder = undo.FolderOf(i);
    if (folder != shownFolder) {
      ShowStatusNow(texts::kUndoPrefix + folder + texts::kRunSuffix);
      shownFolder = folder;
    }
    if (!undo.UndoOne(i)) ++failures;
  }
  undo.End();

  if (TreeReady) {
    TreeView1.Select(TreeView1.NodeAt(0));
    ListFolder(FolderPathOfNode(0));
  }
  ShowOutcome(completed, texts::kUndoCompleted, texts::kUndoAborted, failures);
  DiscardQueuedDrops();
}
