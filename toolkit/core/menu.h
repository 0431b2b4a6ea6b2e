// Menu models: a main menu of top-level items, each holding commands and separators.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

class MenuItem {
 public:
  MenuItem(std::string name, std::string caption)
      : name(std::move(name)), caption(std::move(caption)) {}
  std::string name;
  std::string caption;  // "-" marks a separator
  bool IsSeparator() const { return caption == "-"; }
  std::function<void()> OnClick;
  std::vector<MenuItem*> items;  // not owned
  // Runs OnClick through RunHandler.
  void Click();
};

class MainMenu {
 public:
  std::vector<MenuItem*> items;  // top-level menus, not owned
  // Depth-first search by name; null if none.
  MenuItem* Find(const std::string& name) const;
};

}  // namespace toolkit
