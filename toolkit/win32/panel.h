// The panel peer: a plain button-face container with a 1-pixel bevel and no caption.
#pragma once

#include "toolkit/core/panel.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class PanelWindow : public ChildPeer<ControlPeer> {
 public:
  static constexpr char kClassName[] = "KestrunePanel";
  PanelWindow(Panel& model, HWND parent);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  Panel& panel_;
};

}  // namespace toolkit::win32
