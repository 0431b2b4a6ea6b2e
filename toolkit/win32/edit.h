// The read-only edit field peer: a system EDIT drawn on the window background, whose left click
// (press and release inside it) is the model's click.
#pragma once

#include "toolkit/core/edit.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class NamedClientObject;

class EditWindow : public ChildPeer<ControlPeer> {
 public:
  EditWindow(Edit& model, HWND parent, HFONT font);
  ~EditWindow() override;
  void TextChanged() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Edit& edit_;
  bool pressed_ = false;
  // Made on the first WM_GETOBJECT, where the field has a name of ours.
  NamedClientObject* accessible_ = nullptr;
};

}  // namespace toolkit::win32
