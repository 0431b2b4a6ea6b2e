// The status bar peer: a system status bar in simple mode, one text in the system status font.
#pragma once

#include "toolkit/core/statusbar.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class StatusBarWindow : public ChildPeer<StatusBarPeer> {
 public:
  StatusBarWindow(StatusBar& model, HWND parent);
  void TextChanged() override;
  void Invalidate() override;
  void Update() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void PassText();

  StatusBar& status_;
  bool textPending_ = false;  // the model's text is not yet the bar's
  bool invalid_ = false;      // invalidated by the model since the last paint
};

}  // namespace toolkit::win32
