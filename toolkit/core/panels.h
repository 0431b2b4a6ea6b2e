// Simple controls: panel, read-only edit field, splitter and single-text status bar.
#pragma once

#include <string>

#include "toolkit/core/control.h"

namespace toolkit {

enum class Bevel { None, Raised, Lowered };

class Panel : public Control {
 public:
  Panel(std::string name, Control* parent);
  Bevel bevel = Bevel::Raised;  // 1 pixel wide; sets the border inset
  void SetBevel(Bevel b);
};

class Edit : public Control {
 public:
  Edit(std::string name, Control* parent);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);
  bool readOnly = true;
  bool tabStop = false;

 private:
  std::string text_;
};

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

class StatusBarPeer : public ControlPeer {};

class StatusBar : public Control {
 public:
  StatusBar(std::string name, Control* parent);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);  // repaints with the next paint
  void Refresh();                      // repaints at once

 private:
  std::string text_;
};

}  // namespace toolkit
