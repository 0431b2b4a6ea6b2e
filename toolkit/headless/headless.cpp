// The headless platform: recording peers, scripted dialogs and the one ordered log a test reads
// back as the story of what the user saw.
#include "toolkit/headless/headless.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <utility>

#include "toolkit/core/application.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/treeview.h"

namespace headless {

using toolkit::Control;

namespace {

class FormPeer : public toolkit::FormPeer {
 public:
  explicit FormPeer(toolkit::Form& form) : form_(form) {}
  // The native frame would report its new client area; here the frame is a fixed border.
  void BoundsChanged() override { ApplyClientSize(form_); }
  void Destroy() override { destroyed = true; }
  static void ApplyClientSize(toolkit::Form& form) {
    form.SetClientSize(std::max(0, form.Width() - kFrameWidth),
                       std::max(0, form.Height() - kFrameHeight));
  }
  bool destroyed = false;

 private:
  toolkit::Form& form_;
};

struct State {
  std::vector<Event> log;
  std::deque<toolkit::DialogResult> dialogAnswers;
  std::deque<std::optional<std::string>> openAnswers;
  int unanswered = 0;
  int gridCharWidth = 7;
  std::function<void()> whileDialogOpen;
  std::vector<std::string> taskbarStory;
  // Peers live as long as the test program: a control may outlive a Reset, and a peer never
  // touches its control after the control is gone. A control created at a dead one's address
  // gets a fresh peer when its form is created.
  std::map<const Control*, std::unique_ptr<toolkit::ControlPeer>> peers;
};

State& S() {
  static State state;
  return state;
}

void Record(Event::Kind kind, std::string text, std::string detail = std::string()) {
  Event e{kind, std::move(text), std::move(detail)};
  S().log.push_back(std::move(e));
}

class StatusBarPeer : public toolkit::StatusBarPeer {
 public:
  explicit StatusBarPeer(toolkit::StatusBar& bar) : bar_(bar) {}
  void TextChanged() override { Record(Event::Status, bar_.Text()); }
  void Update() override { Record(Event::StatusRefresh, bar_.Text()); }

 private:
  toolkit::StatusBar& bar_;
};

class GridPeer : public toolkit::StringGridPeer {
 public:
  void CellChanged(int col, int row) override { changedCells.push_back({col, row}); }
  void LayoutChanged() override { ++fullRepaints; }
  void Invalidate() override { ++fullRepaints; }
  int TextWidth(const std::string& text) override {
    return S().gridCharWidth * static_cast<int>(text.size());
  }
  std::vector<toolkit::GridCoord> changedCells;
  int fullRepaints = 0;
};

class TaskbarPeer : public toolkit::TaskbarPeer {
 public:
  void ProgressChanged() override {
    const toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
    const std::string share =
        std::to_string(progress.Done()) + "/" + std::to_string(progress.Total());
    switch (progress.State()) {
      case toolkit::ProgressState::None:
        S().taskbarStory.push_back("none");
        break;
      case toolkit::ProgressState::Indeterminate:
        S().taskbarStory.push_back("indeterminate");
        break;
      case toolkit::ProgressState::Normal:
        S().taskbarStory.push_back(share);
        break;
      case toolkit::ProgressState::Error:
        S().taskbarStory.push_back("error " + share);
        break;
    }
  }
};

// The dialog is open: the test's hook runs as a message dispatched by its loop would.
void DialogOpened() {
  // A copy: the hook may set another.
  if (std::function<void()> hook = S().whileDialogOpen) hook();
}

class TreePeer : public toolkit::TreeViewPeer {};
class PlainPeer : public toolkit::ControlPeer {};

std::unique_ptr<toolkit::ControlPeer> MakePeer(Control& control) {
  if (auto* form = dynamic_cast<toolkit::Form*>(&control)) return std::make_unique<FormPeer>(*form);
  if (auto* bar = dynamic_cast<toolkit::StatusBar*>(&control)) {
    return std::make_unique<StatusBarPeer>(*bar);
  }
  if (dynamic_cast<toolkit::StringGrid*>(&control) != nullptr) return std::make_unique<GridPeer>();
  if (dynamic_cast<toolkit::TreeView*>(&control) != nullptr) return std::make_unique<TreePeer>();
  return std::make_unique<PlainPeer>();
}

void CreatePeersBelow(Control& control) {
  std::unique_ptr<toolkit::ControlPeer>& slot = S().peers[&control];
  slot = MakePeer(control);
  control.SetPeer(slot.get());
  for (Control* child : control.Children()) CreatePeersBelow(*child);
}

GridPeer* PeerOf(toolkit::StringGrid& grid) { return dynamic_cast<GridPeer*>(grid.Peer()); }

}  // namespace

void Reset() {
  State& s = S();
  s.log.clear();
  s.dialogAnswers.clear();
  s.openAnswers.clear();
  s.unanswered = 0;
  s.gridCharWidth = 7;
  s.whileDialogOpen = nullptr;
  toolkit::Application::Get().Taskbar().Clear();
  s.taskbarStory.clear();
}

const std::vector<Event>& Log() { return S().log; }

void ClearLog() { S().log.clear(); }

std::vector<std::string> Texts(Event::Kind kind) {
  std::vector<std::string> texts;
  for (const Event& e : S().log) {
    if (e.kind == kind) texts.push_back(e.text);
  }
  return texts;
}

void AnswerDialog(toolkit::DialogResult result) { S().dialogAnswers.push_back(result); }

void AnswerOpenDialog(std::optional<std::string> fileName) {
  S().openAnswers.push_back(std::move(fileName));
}

int UnansweredDialogs() { return S().unanswered; }

void WhileDialogOpen(std::function<void()> hook) { S().whileDialogOpen = std::move(hook); }

const std::vector<std::string>& TaskbarStory() { return S().taskbarStory; }

void SetGridCharWidth(int px) { S().gridCharWidth = px; }

void PaintGrid(toolkit::StringGrid& grid) {
  const int lastCol = grid.LastVisibleCol(grid.Width());
  const int lastRow = grid.LastVisibleRow(grid.Height());
  const auto paintRow = [&](int row) {
    for (int col = grid.LeftCol(); col <= lastCol; ++col) {
      grid.DrawCell(col, row, grid.CellRect(col, row));
    }
  };
  for (int row = 0; row < grid.FixedRows() && row <= lastRow; ++row) paintRow(row);
  for (int row = grid.TopRow(); row <= lastRow; ++row) paintRow(row);
}

int TakeCellRepaints(toolkit::StringGrid& grid) {
  return static_cast<int>(TakeChangedCells(grid).size());
}

std::vector<toolkit::GridCoord> TakeChangedCells(toolkit::StringGrid& grid) {
  GridPeer* peer = PeerOf(grid);
  if (peer == nullptr) return {};
  return std::exchange(peer->changedCells, {});
}

void ReserveChangedCells(toolkit::StringGrid& grid, size_t cells) {
  if (GridPeer* peer = PeerOf(grid)) peer->changedCells.reserve(cells);
}

int TakeFullRepaints(toolkit::StringGrid& grid) {
  GridPeer* peer = PeerOf(grid);
  return peer == nullptr ? 0 : std::exchange(peer->fullRepaints, 0);
}

bool WindowDestroyed(const toolkit::Form& form) {
  const auto* peer = dynamic_cast<const FormPeer*>(form.Peer());
  return peer != nullptr && peer->destroyed;
}

}  // namespace headless

namespace toolkit {

void PlatformCreatePeers(Form& form) {
  headless::CreatePeersBelow(form);
  static headless::TaskbarPeer taskbar;
  Application::Get().Taskbar().SetPeer(&taskbar);
}

void PlatformShowForm(Form& form) {
  headless::FormPeer::ApplyClientSize(form);
  form.FireShow();
}

int PlatformMessageLoop(Form& /*form*/) {
  // Tests drive the handlers themselves; there is nothing to wait for.
  return 0;
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
  DialogScope open;
  headless::Record(headless::Event::ErrorBox, text, caption);
  headless::DialogOpened();
}

DialogResult MessageDlg(DialogKind kind, const std::string& text) {
  DialogScope open;
  auto& s = headless::S();
  DialogResult result = DialogResult::Cancel;
  if (s.dialogAnswers.empty()) {
    ++s.unanswered;
  } else {
    result = s.dialogAnswers.front();
    s.dialogAnswers.pop_front();
  }
  headless::Event e{headless::Event::Dialog, text, std::string(), kind, result};
  s.log.push_back(std::move(e));
  headless::DialogOpened();
  return result;
}

void Beep(unsigned soundType) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", soundType);
  headless::Record(headless::Event::Beep, text);
}

bool OpenDialog::Execute() {
  DialogScope open;
  auto& s = headless::S();
  headless::Record(headless::Event::OpenDialog, InitialDir, FileName);
  headless::DialogOpened();
  if (s.openAnswers.empty()) {
    ++s.unanswered;
    return false;
  }
  std::optional<std::string> answer = std::move(s.openAnswers.front());
  s.openAnswers.pop_front();
  if (!answer) return false;
  FileName = std::move(*answer);
  return true;
}

}  // namespace toolkit
