// The main window: its controls as the form resource lays them out, the state the commands
// share, and every handler. The handlers live in one file per concern (Form1*.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/core/dialogs.h"
#include "toolkit/core/edit.h"
#include "toolkit/core/form.h"
#include "toolkit/core/menu.h"
#include "toolkit/core/panel.h"
#include "toolkit/core/splitter.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/stringgrid.h"
#include "toolkit/core/treeview.h"

namespace journal {
class LowerCasingRun;
class Undo;
}  // namespace journal
struct FileEntry;

class TForm1 : public toolkit::Form {
 public:
  TForm1();
  // What the toolkit shows on the program's behalf, set before the window is made: the
  // application title, the program icon, the dialogs' captions and buttons, the error box's
  // word for memory that ran out.
  static void ConfigureApplication();

  // Controls. Declaration order is creation order, which decides how aligned siblings stack:
  // Splitter1 comes after Panel1 so that it sits on Panel1's right.
  toolkit::MainMenu MainMenu1;
  toolkit::MenuItem File1;
  toolkit::MenuItem MnuSearchFolder;
  toolkit::MenuItem N1;
  toolkit::MenuItem MnuKestrune;
  toolkit::MenuItem N2;
  toolkit::MenuItem MnuExit;
  toolkit::Panel Panel1;
  toolkit::Panel Panel2;
  toolkit::Edit Edit1;
  toolkit::TreeView TreeView1;
  toolkit::Splitter Splitter1;
  toolkit::StringGrid StringGrid1;
  toolkit::StatusBar StatusBar1;
  toolkit::OpenDialog OpenDialog1;

  // Window.
  void FormCreate();
  void FormShow();
  void FormClose();
  void Panel1Resize();
  void MnuExitClick();
  void ApplyLayout();
  // Settings file (Form1Settings.cpp). LoadSettings replaces the defaults in Layout and
  // SearchFolder with what the file holds; a stored number that is not one throws toolkit::Error.
  void LoadSettings();
  void SaveSettings();

  // Folder tree.
  void MnuSearchFolderClick();
  // Items dropped on the window: the first, or the folder it is in, becomes the search folder.
  void FormDropFiles(const std::vector<std::string>& paths);
  // False when the search folder was refused (its drive not ready) and nothing changed.
  bool BuildFolderTree();
  // Adds the subfolders of folder (an exact path) as children of parent.
  void AddSubfolders(const std::string& folder, toolkit::NodeId parent);
  // The path of a node's folder as the tree shows it (code-page text).
  std::string FolderPathOfNode(int absoluteIndex);

  // Listing.
  void TreeView1Click();
  // Lists the folder at an exact path; the status line shows its code-page form.
  void ListFolder(const std::string& folder);
  void StringGrid1DrawCell(int col, int row, const toolkit::Rect& rect);

  // Sorting.
  void StringGrid1MouseDown(toolkit::MouseButton button, unsigned shift, int x, int y);

  // Lower-casing run, and the recovery at start-up of one that did not live to finish.
  void MnuKestruneClick();
  void RecoverInterruptedRun();
  // Undo of the last run, on Ctrl+Z (Form1Undo.cpp).
  void UndoLastRun();

  // True while BuildFolderTree runs (it lets window messages through).
  bool Scanning() const { return scanning_; }

 private:
  // Tests read this state through their one seam (tests/form_state.h); they write none of it.
  friend struct FormStateOf;

  // Gates and state shared by the commands.
  bool FormShown = false;
  bool TreeReady = false;
  bool ListReady = false;
  bool ScanAborted = false;
  bool SortDescending = false;
  std::string SearchFolder;
  std::string IniFileName;

  // The persisted layout, in pixels.
  struct LayoutSettings {
    int left, top, width, height, panelWidth;
    int columnWidths[5];
  } Layout{};

  bool FormCloseQuery();
  // The folder chosen (by the dialog or a drop) becomes the search folder and is scanned; when
  // it is refused, the search folder and Edit1 stay as they were.
  void ChangeSearchFolder(const std::string& folder);
  // Sets the status line and repaints it at once: long handlers let no paint through. During a
  // run or an undo the repaints are held to kRenamingPaintMs apart: painting each folder's line
  // would cost more than renaming a small folder; the final line is painted at once.
  void ShowStatusNow(const std::string& text);
  static constexpr uint32_t kRenamingPaintMs = 50;
  // The journal beside the program, as the window names it and exact; empty before the window
  // is shown.
  std::string JournalPath() const;
  std::string ExactJournalPath() const;
  // The final status line of a run or an undo: its outcome, and the failures if any.
  void ShowOutcome(bool completed, const char* done, const char* stopped, int failures);
  // The refusal every command needing a folder tree gives without one.
  void RefuseNoFolderTree();
  // The journal: held by another Kestrune (a refusal), no longer writable during a run or an
  // undo, or none a run could have written (moved aside, and the user told where).
  void RefuseJournalInUse();
  void TellJournalLost();
  void SetAsideJournal();
  // What a run has come to so far.
  struct RunTally {
    bool completed = true;
    bool outOfMemory = false;
    bool journalLost = false;
    int failures = 0;
  };
  // The run after its confirmation, and the undo after its: each ends by itself, stopped or not,
  // except where memory runs out (std::bad_alloc), which the command's handler reports.
  void LowerCaseTree();
  void UndoRenames(journal::Undo& undo);
  // The run's step for the folder of node n: listed, then every listed entry lower-cased.
  void LowerCaseFolder(int n, journal::LowerCasingRun& run,
                       std::unordered_map<toolkit::NodeId, std::string>& renamed, RunTally& tally);
  // Writes the five cells of a new last row for entry (text: a reused buffer).
  void AddListedRow(int row, const FileEntry& entry, int sizeDigits, const std::string& dateSep,
                    const std::string& timeSep, std::string& text);
  // True when the listed row is a folder.
  bool IsFolderRow(int row) const;
  // The listing of the folder of the selected node, if any is selected.
  void ListSelectedFolder();
  void SortRowsBy(int col);
  // The exact path of a node's folder, with some nodes' names replaced by exact ones (folders
  // renamed by a run).
  std::string PathOfNode(toolkit::NodeId node,
                         const std::unordered_map<toolkit::NodeId, std::string>& renamed = {});
  // Exact names: a node's and a listed row's. Each keeps its exact name beside its text only
  // where the text does not convert back to it.
  std::string ExactNameOfNode(toolkit::NodeId node) const;
  std::string ExactNameOfRow(int row) const;

  bool scanning_ = false;
  // False when Esc, or the end of memory, cut the last listing short.
  bool listingCompleted_ = true;
  bool listingOutOfMemory_ = false;
  // False when the last listing's folder could not be read (gone, renamed, or unreadable).
  bool listingReachedFolder_ = true;
  // A close arrived while a scan ran: it is carried out once the scan has unwound.
  bool closeAfterScan_ = false;
  // A run or an undo is going: the status line's repaints are held (ShowStatusNow).
  bool renaming_ = false;
  uint32_t lastStatusPaint_ = 0;
  bool statusPainted_ = false;
  // The last run went on without its journal: Ctrl+Z has nothing it may undo.
  bool unjournaledRunMade_ = false;
};
