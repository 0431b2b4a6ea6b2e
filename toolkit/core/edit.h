// Edit field model: one line of text the program sets; the click is the model's event.
#pragma once

#include <string>

#include "toolkit/core/control.h"

namespace toolkit {

// How the native field is made; the system control takes these at creation and not after.
struct EditCreateArgs {
  bool readOnly = true;
  bool tabStop = false;
  // What a screen reader calls the field (code page), which has no label beside it to be
  // called by; empty: the system's own name.
  std::string accessibleName;
};

class Edit : public Control {
 public:
  Edit(std::string name, Control* parent, const EditCreateArgs& args = {});
  const EditCreateArgs& CreateArgs() const { return args_; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);

 private:
  const EditCreateArgs args_;
  std::string text_;
};

}  // namespace toolkit
