// The base of every control model: a name, a parent, bounds, alignment, visibility, and the
// peer that shows it natively (win32) or records it (headless). Models never see an HWND.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace toolkit {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// A Shift-JIS font by face; an empty face is the system's default font for controls.
struct FontSpec {
  std::string face;  // code-page 932
  int height = 0;    // character height in pixels (a negative lfHeight)
  bool fixedPitch = false;
};

enum class Align { None, Top, Bottom, Left, Right, Client };
enum class MouseButton { Left, Right, Middle };
// Shift state bits of a mouse or key event.
enum ShiftState : unsigned { ssNone = 0, ssShift = 1, ssAlt = 2, ssCtrl = 4, ssDouble = 8 };

class Control;

// What a model tells its native side. Every call comes after the model's state has changed.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void TextChanged() {}
  // Repaint soon (with the next paint), or at once.
  virtual void Invalidate() {}
  virtual void Update() {}
};

class Control {
 public:
  Control(std::string name, Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }

  // Bounds relative to the parent's window origin (for the form: the screen, outer frame).
  const Rect& Bounds() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetBounds(const Rect& r);
  void SetWidth(int w);
  void SetHeight(int h);

  Align GetAlign() const { return align_; }
  void SetAlign(Align a);

  // Pixels kept free inside the edge, for bevels: aligned children lay out inside it.
  int BorderInset() const { return borderInset_; }
  void SetBorderInset(int px) { borderInset_ = px; }
  // Client area size (the form's comes from its frame; other controls: their bounds).
  virtual int ClientWidth() const { return bounds_.width; }
  virtual int ClientHeight() const { return bounds_.height; }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);

  // Lays out the aligned children inside the client area less the border inset:
  // top, bottom, left, right, then client, each group in creation order.
  void Realign();

  // Events, run through RunHandler so an error escaping them is reported and the program goes on.
  std::function<void()> OnResize;
  std::function<void()> OnClick;
  void Click();

  ControlPeer* Peer() const { return peer_; }
  void SetPeer(ControlPeer* p) { peer_ = p; }

 protected:
  // Called when the size changed (after the peer was told): realigns and fires OnResize.
  virtual void Resized();

 private:
  void AlignChildren();
  // SetBounds without asking the parent to realign: the parent's own placing of a child.
  bool ApplyBounds(const Rect& r);

  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  Rect bounds_;
  Align align_ = Align::None;
  int borderInset_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  ControlPeer* peer_ = nullptr;
  bool aligning_ = false;
  bool realignAgain_ = false;
};

}  // namespace toolkit
