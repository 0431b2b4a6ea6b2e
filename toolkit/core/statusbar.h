// Status bar model: one line of text along the bottom, repainted with the next paint or at once.
#pragma once

#include <string>

#include "toolkit/core/control.h"

namespace toolkit {

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
