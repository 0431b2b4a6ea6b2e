// The status bar peer: a system status bar in simple mode, one text in the system status font.
#pragma once

#include "toolkit/core/statusbar.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class StatusBarWindow : public ChildPeer<StatusBarPeer> {
 public:
  StatusBarWindow(StatusBar& model, HWND parent);
  void TextChanged() override;

 private:
  StatusBar& status_;
};

}  // namespace toolkit::win32
