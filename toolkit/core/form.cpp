// The main window model: its show and close sequences and its client area.
#include "toolkit/core/form.h"

#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"

namespace toolkit {

Form::Form(std::string name) : Control(std::move(name), nullptr) {}

void Form::SetCaption(const std::string& c) {
  caption_ = c;
  if (Peer() != nullptr) Peer()->TextChanged();
}

void Form::SetClientSize(int width, int height) {
  if (width == clientWidth_ && height == clientHeight_) return;
  clientWidth_ = width;
  clientHeight_ = height;
  Control::Resized();
}

void Form::Resized() {
  // The outer frame changed; the controls follow once the peer reports the new client size.
}

bool Form::Close() {
  if (closed_) return true;
  // OnClose or OnCloseQuery may ask to close again (a second command during the first).
  if (closing_) return false;
  closing_ = true;
  if (OnCloseQuery) {
    // A query that fails keeps the window open, as a refusal would.
    bool canClose = false;
    RunHandler([&] { canClose = OnCloseQuery(); });
    if (!canClose) {
      closing_ = false;
      return false;
    }
  }
  if (OnClose) RunHandler(OnClose);
  closed_ = true;
  closing_ = false;
  if (auto* peer = dynamic_cast<FormPeer*>(Peer())) peer->Destroy();
  return true;
}

void Form::FireShow() {
  if (shown_) return;
  shown_ = true;
  if (OnShow) RunHandler(OnShow);
}

bool Form::Shortcut(int key, unsigned shift) {
  bool taken = false;
  if (OnShortcut) RunHandler([&] { taken = OnShortcut(key, shift); });
  return taken;
}

void Form::DropFiles(const std::vector<std::string>& paths) {
  if (DialogOpen() || !OnDropFiles) return;
  RunHandler([&] { OnDropFiles(paths); });
}

void Form::DiscardQueuedDrops() {
  if (auto* peer = dynamic_cast<FormPeer*>(Peer())) peer->DiscardQueuedDrops();
}

}  // namespace toolkit
