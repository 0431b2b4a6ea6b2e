// Control base: bounds, visibility and the VCL-style alignment of child controls.
#include "toolkit/core/control.h"

#include <algorithm>

#include "toolkit/core/application.h"

namespace toolkit {

Control::Control(std::string name, Control* parent) : name_(std::move(name)), parent_(parent) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

Control::~Control() {
  // Members of a form die in any order: neither side may keep a pointer to the dead one.
  for (Control* child : children_) child->parent_ = nullptr;
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void Control::SetBounds(const Rect& r) {
  // An aligned control moved or sized by the program makes room for itself among its siblings;
  // the parent then puts it back into its group, keeping the new width or height.
  if (ApplyBounds(r) && align_ != Align::None && visible_ && parent_ != nullptr) {
    parent_->Realign();
  }
}

bool Control::ApplyBounds(const Rect& r) {
  if (r == bounds_) return false;
  const bool resized = r.width != bounds_.width || r.height != bounds_.height;
  bounds_ = r;
  if (peer_ != nullptr) peer_->BoundsChanged();
  if (resized) Resized();
  return true;
}

void Control::SetWidth(int w) { SetBounds({bounds_.left, bounds_.top, w, bounds_.height}); }

void Control::SetHeight(int h) { SetBounds({bounds_.left, bounds_.top, bounds_.width, h}); }

void Control::SetAlign(Align a) {
  if (a == align_) return;
  align_ = a;
  if (parent_ != nullptr) parent_->Realign();
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (peer_ != nullptr) peer_->VisibleChanged();
  if (parent_ != nullptr && align_ != Align::None) parent_->Realign();
}

void Control::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  if (peer_ != nullptr) peer_->EnabledChanged();
}

void Control::Realign() {
  // A child's OnResize may ask its parent to realign while the parent is at it; the request is
  // remembered and served by one more pass instead of a nested one working on stale rects.
  if (aligning_) {
    realignAgain_ = true;
    return;
  }
  aligning_ = true;
  do {
    realignAgain_ = false;
    AlignChildren();
  } while (realignAgain_);
  aligning_ = false;
}

void Control::AlignChildren() {
  const int inset = borderInset_;
  int left = inset;
  int top = inset;
  int right = ClientWidth() - inset;
  int bottom = ClientHeight() - inset;
  const auto span = [](int from, int to) { return std::max(0, to - from); };

  static constexpr Align kOrder[] = {Align::Top, Align::Bottom, Align::Left, Align::Right,
                                     Align::Client};
  // A copy: a handler run by a child's resize could create or destroy controls.
  const std::vector<Control*> children = children_;
  for (Align group : kOrder) {
    for (Control* child : children) {
      if (!child->visible_ || child->align_ != group) continue;
      const int w = child->Width();
      const int h = child->Height();
      switch (group) {
        case Align::Top:
          child->ApplyBounds({left, top, span(left, right), h});
          top += h;
          break;
        case Align::Bottom:
          child->ApplyBounds({left, bottom - h, span(left, right), h});
          bottom -= h;
          break;
        case Align::Left:
          child->ApplyBounds({left, top, w, span(top, bottom)});
          left += w;
          break;
        case Align::Right:
          child->ApplyBounds({right - w, top, w, span(top, bottom)});
          right -= w;
          break;
        case Align::Client:
          child->ApplyBounds({left, top, span(left, right), span(top, bottom)});
          break;
        case Align::None:
          break;
      }
    }
  }
}

void Control::Click() {
  if (OnClick) RunHandler(OnClick);
}

void Control::Resized() {
  Realign();
  if (OnResize) RunHandler(OnResize);
}

}  // namespace toolkit
