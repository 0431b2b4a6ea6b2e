// Panel model: a container whose bevel sets the inset its aligned children lay out inside.
#pragma once

#include <string>

#include "toolkit/core/control.h"

namespace toolkit {

enum class Bevel { None, Raised, Lowered };

class Panel : public Control {
 public:
  Panel(std::string name, Control* parent);
  Bevel GetBevel() const { return bevel_; }
  // 1 pixel wide; sets the border inset, so the children realign.
  void SetBevel(Bevel b);

 private:
  Bevel bevel_ = Bevel::Raised;
};

}  // namespace toolkit
