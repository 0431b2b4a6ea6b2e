// Menu commands and the lookup of an item by name.
#include "toolkit/core/menu.h"

#include "toolkit/core/application.h"

namespace toolkit {

void MenuItem::Click() {
  if (OnClick) RunHandler(OnClick);
}

namespace {

MenuItem* FindIn(const std::vector<MenuItem*>& items, const std::string& name) {
  for (MenuItem* item : items) {
    if (item->name == name) return item;
    if (MenuItem* found = FindIn(item->items, name)) return found;
  }
  return nullptr;
}

}  // namespace

MenuItem* MainMenu::Find(const std::string& name) const { return FindIn(items, name); }

}  // namespace toolkit
