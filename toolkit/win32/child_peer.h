// What every child window takes from its model: bounds, visibility, enabling and repaints.
#pragma once

#include <windows.h>

#include "toolkit/core/control.h"
#include "toolkit/win32/window.h"

namespace toolkit::win32 {

template <class PeerInterface>
class ChildPeer : public Window, public PeerInterface {
 public:
  void BoundsChanged() override {
    const Rect& b = model_.Bounds();
    if (Handle() != nullptr) MoveWindow(Handle(), b.left, b.top, b.width, b.height, TRUE);
  }
  void VisibleChanged() override {
    if (Handle() != nullptr) ShowWindow(Handle(), model_.Visible() ? SW_SHOWNA : SW_HIDE);
  }
  void EnabledChanged() override {
    if (Handle() != nullptr) EnableWindow(Handle(), model_.Enabled());
  }
  void Invalidate() override {
    if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
  }
  void Update() override {
    if (Handle() != nullptr) UpdateWindow(Handle());
  }

 protected:
  explicit ChildPeer(Control& model) : model_(model) {}
  // Child style bits that follow the model's state at creation.
  DWORD ChildStyle() const {
    return WS_CHILD | WS_CLIPSIBLINGS | (model_.Visible() ? WS_VISIBLE : 0) |
           (model_.Enabled() ? 0 : WS_DISABLED);
  }
  void Attach() { model_.SetPeer(this); }
  void Detached() override {
    if (model_.Peer() == this) model_.SetPeer(nullptr);
  }

  Control& model_;
};

}  // namespace toolkit::win32
