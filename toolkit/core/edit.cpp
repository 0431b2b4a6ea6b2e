// Edit field model.
#include "toolkit/core/edit.h"

namespace toolkit {

Edit::Edit(std::string name, Control* parent, const EditCreateArgs& args)
    : Control(std::move(name), parent), args_(args) {}

void Edit::SetText(const std::string& t) {
  text_ = t;
  if (Peer() != nullptr) Peer()->TextChanged();
}

}  // namespace toolkit
