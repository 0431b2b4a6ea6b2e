// The splitter peer: a thin button-face strip with the horizontal-resize cursor. While it is
// dragged a hatched bar stands where the edge will go; release applies it, Esc cancels it.
#pragma once

#include "toolkit/core/splitter.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class SplitterWindow : public ChildPeer<ControlPeer> {
 public:
  static constexpr char kClassName[] = "KestruneSplitter";
  SplitterWindow(Splitter& model, HWND parent);
  ~SplitterWindow() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  int ParentX(LPARAM lParam) const;
  // Inverts the hatched bar at x on the parent, over its children (a second call erases it).
  void InvertBar(int x) const;
  void StopDragging(bool apply);
  // Esc goes to the window with the focus, not to us: a thread keyboard hook catches it.
  static LRESULT CALLBACK EscHook(int code, WPARAM wParam, LPARAM lParam);

  Splitter& splitter_;
  int barShownAt_ = -1;
  bool releasing_ = false;
  static SplitterWindow* dragging_;
  static HHOOK hook_;
};

}  // namespace toolkit::win32
