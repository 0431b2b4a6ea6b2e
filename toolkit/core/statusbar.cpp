// Status bar model.
#include "toolkit/core/statusbar.h"

namespace toolkit {

StatusBar::StatusBar(std::string name, Control* parent) : Control(std::move(name), parent) {}

void StatusBar::SetText(const std::string& t) {
  text_ = t;
  if (Peer() != nullptr) {
    Peer()->TextChanged();
    Peer()->Invalidate();
  }
}

void StatusBar::Refresh() {
  if (Peer() != nullptr) Peer()->Update();
}

}  // namespace toolkit
