// The main window peer: the frame, caption, icons, menu and the child peers of every control of
// the form, plus the platform's show and message-loop functions.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/core/form.h"
#include "toolkit/win32/window.h"

namespace toolkit::win32 {

class FormWindow : public Window, public FormPeer {
 public:
  static constexpr char kClassName[] = "KestruneForm";

  explicit FormWindow(Form& form);
  // The peer of a form whose native side exists, or null.
  static FormWindow* Of(const Form& form);

  // FormPeer.
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;
  void Invalidate() override;
  void Update() override;
  void Destroy() override;
  void DiscardQueuedDrops() override;

  // Puts the window at the model's bounds and shows it, OnShow first.
  void Show();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Detached() override;

 private:
  void CreateChildren(Control& parent, HWND parentWindow, HFONT font);
  HMENU BuildMenu();
  void AppendItems(HMENU menu, const std::vector<MenuItem*>& items);
  // The model follows the native frame (moves and sizes made by the user or the system).
  void FollowFrame();
  void SetIcons();
  HWND FirstTabStop() const;

  Form& form_;
  std::vector<std::unique_ptr<Window>> children_;
  std::vector<Control*> controls_;    // the models of children_, to detach them at the end
  std::vector<MenuItem*> menuItems_;  // by command id - kFirstCommand
  bool followingFrame_ = false;
  HWND lastFocus_ = nullptr;
  HICON smallIcon_ = nullptr;
  HICON bigIcon_ = nullptr;
};

// The native window showing a control of a form (tests look at it), or null.
HWND NativeHandle(const Control& control);

}  // namespace toolkit::win32
