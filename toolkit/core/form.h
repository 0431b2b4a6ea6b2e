// The main window model: caption, outer bounds, client size, font, menu and the form events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/control.h"
#include "toolkit/core/menu.h"

namespace toolkit {

class FormPeer : public ControlPeer {
 public:
  // Destroys the native window; the message loop then ends.
  virtual void Destroy() = 0;
  // Throws away drops waiting in the window's queue.
  virtual void DiscardQueuedDrops() {}
};

class Form : public Control {
 public:
  explicit Form(std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  FontSpec font;
  MainMenu* menu = nullptr;
  // The window's own icon (resource id); 0: the program's (Application::IconId).
  int iconId = 0;

  int ClientWidth() const override { return clientWidth_; }
  int ClientHeight() const override { return clientHeight_; }
  // From the peer, whenever the native client area changes size: realigns the controls.
  void SetClientSize(int width, int height);

  std::function<void()> OnCreate;
  std::function<void()> OnShow;
  // Asked before any close; false keeps the window open.
  std::function<bool()> OnCloseQuery;
  std::function<void()> OnClose;
  // A key pressed while the form or any of its controls has the focus, before that control sees
  // it: true when the form took it. key is a virtual-key code ('A'..'Z' for letters).
  std::function<bool(int key, unsigned shift)> OnShortcut;
  // Files or folders dropped on the window (from Explorer), in the order the system gives them.
  // The window takes drops only if this is set when its native side is made.
  std::function<void(const std::vector<std::string>& paths)> OnDropFiles;

  // Every close path (command, close box, system menu) comes here: OnCloseQuery, then
  // OnClose, then the native window is destroyed. Returns true when the form closed.
  bool Close();
  bool Closed() const { return closed_; }
  bool Shown() const { return shown_; }
  // Fires OnShow once, just before the form first becomes visible.
  void FireShow();
  // From the peer: a key went down in the form. Runs OnShortcut under the error box; true when
  // the key was taken.
  bool Shortcut(int key, unsigned shift);
  // From the peer: items were dropped on the window. Ignored while a dialog is open (its message
  // loop still hands the window what is posted to it); OnDropFiles runs under the error box.
  void DropFiles(const std::vector<std::string>& paths);
  // A handler that lets no message through ends: the drops made meanwhile wait in the queue,
  // made while the program could take none, and are thrown away unseen.
  void DiscardQueuedDrops();

 protected:
  // The outer bounds changed: nothing to do until the client size follows.
  void Resized() override;

 private:
  std::string caption_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool closed_ = false;
  bool shown_ = false;
  bool closing_ = false;
};

}  // namespace toolkit
