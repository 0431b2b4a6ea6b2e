// Text a control keeps with some of its many items (tree nodes, grid rows), out of sight, as a
// tree item's lParam or a grid's per-row object would: items without any cost nothing, and a
// control where none has any holds none.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>

namespace toolkit {

template <typename Key>
class ItemData {
 public:
  // Empty text drops the item's data.
  void Set(Key key, std::string text) {
    if (text.empty()) {
      byItem_.erase(key);
    } else {
      byItem_[key] = std::move(text);
    }
  }
  // Empty where the item has none.
  const std::string& Get(Key key) const {
    static const std::string none;
    if (byItem_.empty()) return none;
    const auto it = byItem_.find(key);
    return it == byItem_.end() ? none : it->second;
  }
  void Erase(Key key) { byItem_.erase(key); }
  void Clear() { byItem_.clear(); }
  bool Empty() const { return byItem_.empty(); }
  // Drops the data of every item from key on.
  void EraseFrom(Key key) {
    for (auto it = byItem_.begin(); it != byItem_.end();) {
      it = it->first >= key ? byItem_.erase(it) : std::next(it);
    }
  }
  // Moves each item's data to the item destination(key) names (the items were reordered). The
  // texts are copied, few as they are, so that memory running out leaves them where they were.
  template <typename Destination>
  void Move(Destination destination) {
    std::unordered_map<Key, std::string> moved;
    for (const auto& [key, text] : byItem_) moved[destination(key)] = text;
    byItem_.swap(moved);
  }

 private:
  std::unordered_map<Key, std::string> byItem_;
};

}  // namespace toolkit
