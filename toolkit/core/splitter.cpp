// Splitter model: where the bar may go and what its release does to the control it resizes.
#include "toolkit/core/splitter.h"

#include <algorithm>

namespace toolkit {

Splitter::Splitter(std::string name, Control* parent) : Control(std::move(name), parent) {}

Control* Splitter::ResizeTarget() const {
  if (Parent() == nullptr) return nullptr;
  for (Control* sibling : Parent()->Children()) {
    if (sibling != this && sibling->Visible() && sibling->GetAlign() == Align::Left &&
        sibling->Bounds().Right() == Left()) {
      return sibling;
    }
  }
  return nullptr;
}

int Splitter::SizeForBar(int barX) const {
  const Control* target = ResizeTarget();
  if (target == nullptr) return 0;
  const Control* parent = Parent();
  // Everything else that takes width beside the client control: the other left- and
  // right-aligned controls and the splitter itself.
  int taken = Width();
  for (const Control* sibling : parent->Children()) {
    if (sibling == this || sibling == target || !sibling->Visible()) continue;
    if (sibling->GetAlign() == Align::Left || sibling->GetAlign() == Align::Right) {
      taken += sibling->Width();
    }
  }
  const int inner = parent->ClientWidth() - 2 * parent->BorderInset();
  const int maxSize = inner - taken - minSize;
  int size = std::min(barX - target->Left(), maxSize);
  // Clamping first lets a window too narrow for both minimums collapse the panel rather than
  // squeeze the client control below its minimum.
  if (size <= minSize) size = 0;
  return size;
}

void Splitter::BeginDrag(int x) {
  dragging_ = true;
  grabOffset_ = x - Left();
  barX_ = Left();
}

void Splitter::DragTo(int x) {
  if (!dragging_) return;
  const int bar = x - grabOffset_;
  // The bar shows where the splitter will land, so it snaps to the clamped and collapsed sizes.
  const Control* target = ResizeTarget();
  barX_ = target != nullptr ? target->Left() + SizeForBar(bar) : bar;
}

void Splitter::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  Control* target = ResizeTarget();
  // The target is left-aligned, so its new width realigns the parent and the splitter follows.
  if (target != nullptr) target->SetWidth(SizeForBar(barX_));
}

void Splitter::CancelDrag() {
  dragging_ = false;
  barX_ = Left();
}

}  // namespace toolkit
