// The task-bar button's progress: its states and the thinning of share updates.
#include "toolkit/core/taskbar.h"

#include <algorithm>

namespace toolkit {

namespace {

constexpr uint64_t kSteps = 1000;

// The share in thousandths, rounded down, in integers: in floating point 1 of 1000 came out
// just below one thousandth on the x87 unit of the i686 target. done <= total; counts too
// large to multiply by a thousand (over 1.8e16) are halved together first.
uint64_t Thousandths(uint64_t done, uint64_t total) {
  while (total > UINT64_MAX / kSteps) {
    done /= 2;
    total /= 2;
  }
  return done * kSteps / total;
}

}  // namespace

void TaskbarProgress::SetIndeterminate() { Set(ProgressState::Indeterminate, 0, 1); }

void TaskbarProgress::SetProgress(uint64_t done, uint64_t total) {
  if (total == 0) done = total = 1;
  done = std::min(done, total);
  if (state_ == ProgressState::Normal && Thousandths(done, total) == Thousandths(done_, total_)) {
    // Kept without a word to the peer: the next visible move reports the exact counts.
    done_ = done;
    total_ = total;
    return;
  }
  Set(ProgressState::Normal, done, total);
}

void TaskbarProgress::Clear() { Set(ProgressState::None, 0, 1); }

void TaskbarProgress::SetPeer(TaskbarPeer* peer) {
  peer_ = peer;
  if (peer_ != nullptr) peer_->ProgressChanged();
}

void TaskbarProgress::Set(ProgressState state, uint64_t done, uint64_t total) {
  if (state == state_ && done == done_ && total == total_) return;
  state_ = state;
  done_ = done;
  total_ = total;
  if (peer_ != nullptr) peer_->ProgressChanged();
}

FailureShown::FailureShown(TaskbarProgress& progress)
    : progress_(progress), state_(progress.state_), done_(progress.done_), total_(progress.total_) {
  const bool shareShown = state_ == ProgressState::Normal || state_ == ProgressState::Error;
  progress_.Set(ProgressState::Error, shareShown ? done_ : 1, shareShown ? total_ : 1);
}

FailureShown::~FailureShown() { progress_.Set(state_, done_, total_); }

}  // namespace toolkit
