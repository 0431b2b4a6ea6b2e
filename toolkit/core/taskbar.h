// The progress the program's task-bar button shows (Windows 7 and later): nothing, work of
// unknown length, the share of some work done, or the error state while a failure is on
// screen. The model keeps the state; its peer shows it where the system can, and nowhere else.
#pragma once

#include <cstdint>

namespace toolkit {

enum class ProgressState { None, Indeterminate, Normal, Error };

class TaskbarPeer {
 public:
  virtual ~TaskbarPeer() = default;
  // After every change of what the button should show.
  virtual void ProgressChanged() = 0;
};

class TaskbarProgress {
 public:
  ProgressState State() const { return state_; }
  // The share shown in Normal and Error: done of total (total is never 0).
  uint64_t Done() const { return done_; }
  uint64_t Total() const { return total_; }

  void SetIndeterminate();
  // done of total (done is capped at total; a total of 0 counts as all done). The peer hears
  // only of moves of a thousandth or more, so a long run costs the system a thousand updates
  // at most, however many steps it takes.
  void SetProgress(uint64_t done, uint64_t total);
  void Clear();

  TaskbarPeer* Peer() const { return peer_; }
  // The peer is told the current state at once.
  void SetPeer(TaskbarPeer* peer);

 private:
  friend class FailureShown;
  void Set(ProgressState state, uint64_t done, uint64_t total);

  ProgressState state_ = ProgressState::None;
  uint64_t done_ = 0;
  uint64_t total_ = 1;
  TaskbarPeer* peer_ = nullptr;
};

// While one lives, the button shows the error state: over the share shown, or all of the button
// when no share was. What was shown before comes back when it goes.
class FailureShown {
 public:
  explicit FailureShown(TaskbarProgress& progress);
  ~FailureShown();
  FailureShown(const FailureShown&) = delete;
  FailureShown& operator=(const FailureShown&) = delete;

 private:
  TaskbarProgress& progress_;
  ProgressState state_;
  uint64_t done_;
  uint64_t total_;
};

// Clears the progress when the work it was made for ends, however it ends (an error escaping
// a handler included: the error box then shows over a clear button).
class ProgressScope {
 public:
  explicit ProgressScope(TaskbarProgress& progress) : progress_(progress) {}
  ~ProgressScope() { progress_.Clear(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  TaskbarProgress& progress_;
};

}  // namespace toolkit
