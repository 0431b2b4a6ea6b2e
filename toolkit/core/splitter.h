// Splitter model: a vertical bar whose drag resizes the left-aligned control beside it, and the
// clamp that keeps the control on its other side usable.
#pragma once

#include <string>

#include "toolkit/core/control.h"

namespace toolkit {

// A vertical splitter: dragging moves a bar; on release the control it resizes (the
// left-aligned sibling that ends where the splitter starts) takes the new width.
class Splitter : public Control {
 public:
  Splitter(std::string name, Control* parent);
  int minSize = 30;

  // The sibling it resizes, or null.
  Control* ResizeTarget() const;
  // The width the target would get for a bar at splitter-left x (parent coordinates):
  // clamped so the client control keeps minSize, and 0 when at or below minSize.
  int SizeForBar(int barX) const;

  // Drag protocol, coordinates relative to the parent's client area.
  void BeginDrag(int x);
  void DragTo(int x);
  void EndDrag();     // applies the width
  void CancelDrag();  // Esc or lost capture: nothing changes
  bool Dragging() const { return dragging_; }
  int BarX() const { return barX_; }  // left edge of the hatched bar while dragging

 private:
  bool dragging_ = false;
  int grabOffset_ = 0;
  int barX_ = 0;
};

}  // namespace toolkit
