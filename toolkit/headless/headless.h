// The headless platform of the toolkit, for host tests: it records what the program showed
// (status texts, dialogs, beeps, error boxes, repaints) in one ordered log and the task-bar
// button's progress in another, answers dialogs from a script, and lets a test click, press,
// paint and act while a dialog is open.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/dialogs.h"
#include "toolkit/core/form.h"
#include "toolkit/core/stringgrid.h"

namespace headless {

// One thing the user would have seen or heard, in order.
struct Event {
  enum Kind {
    Beep,          // a beep: text is the sound type MessageBeep would get, as "0xFFFF"
    Dialog,        // a message dialog: kind and text; result is the scripted answer
    OpenDialog,    // the file-open dialog: text is InitialDir, detail the preset FileName
    ErrorBox,      // the framework's error box: text, detail the caption
    Status,        // the status line was set: text
    StatusRefresh  // the status line was repainted at once: text
  };
  Kind kind;
  std::string text;
  std::string detail;
  toolkit::DialogKind dialogKind = toolkit::DialogKind::Information;
  // Dialog: the answer the program got (Cancel when none was scripted).
  toolkit::DialogResult result = toolkit::DialogResult::Cancel;
};

// Clears the log and the scripts.
void Reset();
const std::vector<Event>& Log();
void ClearLog();
// The log entries of one kind, texts only.
std::vector<std::string> Texts(Event::Kind kind);

// Scripted answers, used in order. A dialog with no scripted answer fails the test run
// (it records an ErrorBox-free Dialog event and returns Cancel, and UnansweredDialogs() counts it).
void AnswerDialog(toolkit::DialogResult result);
// The file name the open dialog returns; nullopt = the user cancels.
void AnswerOpenDialog(std::optional<std::string> fileName);
int UnansweredDialogs();
// Runs hook in every dialog (message dialog, error box or open dialog) opened from now on, while
// it is open, as a message its loop dispatched would run; null stops it.
void WhileDialogOpen(std::function<void()> hook);

// What the task-bar button showed, change by change: "indeterminate", "<done>/<total>",
// "error <done>/<total>" and "none".
const std::vector<std::string>& TaskbarStory();

// Client size the form gets when shown (the outer frame adds kFrameWidth/kFrameHeight).
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 46;  // caption + menu + borders

// Width of one byte of text in the grid's font (the "0" of ＭＳ ゴシック 13 px is 7 px).
void SetGridCharWidth(int px);

// Simulates a full repaint of the grid: DrawCell for every visible cell, header row first.
void PaintGrid(toolkit::StringGrid& grid);
// How many cells a peer was told changed since the last call, for checks that writes do not
// repaint the header.
int TakeCellRepaints(toolkit::StringGrid& grid);
// The same record, cell by cell in the order written; taking either empties it.
std::vector<toolkit::GridCoord> TakeChangedCells(toolkit::StringGrid& grid);
// Room for a record of that many cells, so that where a test takes up the address space the
// grid's own storage runs out first, as in the program, whose peer records nothing.
void ReserveChangedCells(toolkit::StringGrid& grid, size_t cells);
// How many times the whole grid was marked for repainting (layout or selection changes) since
// the last call.
int TakeFullRepaints(toolkit::StringGrid& grid);

// True once the form's native window was destroyed (the last step of a close).
bool WindowDestroyed(const toolkit::Form& form);

}  // namespace headless
