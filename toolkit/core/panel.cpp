// Panel model.
#include "toolkit/core/panel.h"

namespace toolkit {

Panel::Panel(std::string name, Control* parent) : Control(std::move(name), parent) {
  SetBorderInset(1);
}

void Panel::SetBevel(Bevel b) {
  bevel_ = b;
  SetBorderInset(b == Bevel::None ? 0 : 1);
  Realign();
  if (Peer() != nullptr) Peer()->Invalidate();
}

}  // namespace toolkit
