// Ctrl+Z: the last lower-casing run undone from its journal, after a restart too.
#include <new>

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
  journal::Undo undo(ExactJournalPath());
  if (!undo.Usable()) SetAsideJournal();
  // After a run the journal could not tell, what it tells is an earlier run: not to be undone.
  if (undo.Count() == 0 || unjournaledRunMade_) {
    toolkit::RefusalDlg(toolkit::DialogKind::Information, texts::kNothingToUndo);
    StatusBar1.SetText("");
    return;
  }
  // The close box and Esc count as No: undoing renames is not to be started by closing a box.
  if (toolkit::MessageDlg(toolkit::DialogKind::Confirmation,
                          texts::kConfirmUndoPrefix + ShownOf(undo.RunFolder()) +
                              texts::kConfirmUndoMiddle + FormatInteger(undo.Count()) +
                              texts::kConfirmUndoSuffix) != toolkit::DialogResult::Yes) {
    return;
  }
  try {
    UndoRenames(undo);
  } catch (const std::bad_alloc&) {
    // As in a run: the journal stays unfinished for the next start's recovery.
    renaming_ = false;
    ShowStatusNow(texts::kUndoOutOfMemory);
    DiscardQueuedDrops();
    throw;
  }
}

void TForm1::UndoRenames(journal::Undo& undo) {
  const journal::JournalState state = undo.Begin();
  if (state == journal::JournalState::InUse) {
    RefuseJournalInUse();
    return;
  }
  if (state == journal::JournalState::Unwritable) {
    toolkit::RefusalDlg(toolkit::DialogKind::Error, texts::kJournalPrefix + JournalPath() +
                                                        texts::kJournalUnwritableUndoSuffix);
    StatusBar1.SetText("");
    return;
  }

  renaming_ = true;
  bool completed = true;
  int failures = 0;
  std::string folder;
  toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
  const toolkit::ProgressScope progressShown(progress);
  // The last rename first: a folder gets its old name back after everything inside it. The
  // undo works from the journal, with or without a tree: its share is of the renames.
  for (int i = undo.Count() - 1; i >= 0; --i) {
    progress.SetProgress(undo.Count() - 1 - i, undo.Count());
    if (EscDown()) {
      completed = false;
      break;
    }
    if (!undo.Load(i)) {
      ++failures;
      continue;
    }
    if (undo.Folder() != folder) {
      folder = undo.Folder();
      ShowStatusNow(texts::kUndoPrefix + ShownOf(folder) + texts::kRunSuffix);
    }
    if (!undo.UndoLoaded()) ++failures;
    if (undo.JournalLost()) {
      completed = false;
      break;
    }
  }
  const bool lost = undo.JournalLost();
  undo.End();
  if (lost) TellJournalLost();

  renaming_ = false;
  if (TreeReady) {
    TreeView1.Select(TreeView1.NodeAt(0));
    ListFolder(PathOfNode(TreeView1.NodeAt(0)));
  }
  ShowOutcome(completed, texts::kUndoCompleted, texts::kUndoAborted, failures);
  DiscardQueuedDrops();
}
