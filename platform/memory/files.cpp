// File-system services over the in-memory volume.
#include "platform/files.h"

#include <vector>

#include "platform/common/entry_time.h"
#include "platform/common/verified_rename.h"
#include "platform/memory/volume_impl.h"
#include "platform/text.h"

namespace {

using memory::Node;
using Impl = memory::Volume::Impl;

FileEntry EntryOf(const Node& node, const std::string& name) {
  FileEntry entry;
  entry.EntryName = name;
  entry.EntrySize = node.IsFolder() ? 0 : node.size;
  entry.ModifiedTime = AsDeliveredTime(node.time);
  entry.Attributes = node.attributes;
  entry.IsLink = node.IsLink();
  return entry;
}

// Keeps the open-enumeration count honest whichever way the walk ends.
class OpenEnumeration {
 public:
  explicit OpenEnumeration(Impl& volume) : volume_(volume), generation_(volume.generation) {
    ++volume_.enumerations;
    ++volume_.openEnumerations;
    ++volume_.activeWalks;
  }
  ~OpenEnumeration() {
    --volume_.activeWalks;
    if (volume_.generation == generation_) --volume_.openEnumerations;
  }
  OpenEnumeration(const OpenEnumeration&) = delete;
  OpenEnumeration& operator=(const OpenEnumeration&) = delete;

 private:
  Impl& volume_;
  int generation_;
};

}  // namespace

void EnumerateEntries(const std::string& pattern, uint32_t filter,
                      const std::function<bool(const FileEntry&)>& visit) {
  Impl& volume = memory::Volume::Get().impl();
  OpenEnumeration open(volume);

  const std::string folderPath = FolderPartOf(pattern);
  const std::string mask = pattern.substr(folderPath.size());
  const Node* folder = volume.Resolve(folderPath, true, true);
  if (folder == nullptr || !folder->IsFolder() || folder->unreadable || mask.empty()) return;

  // A copy of the order, so that a visit which changes the folder cannot upset the walk.
  std::vector<const Node*> entries;
  const bool everything = mask == "*" || mask == "*.*";
  if (everything) {
    entries.assign(folder->order.begin(), folder->order.end());
  } else {
    auto it = folder->children.find(Impl::Fold(mask));
    if (it != folder->children.end()) entries.push_back(it->second.get());
  }

  // Every folder but a drive root holds "." and "..", as on Windows.
  if (everything && folder->parent != nullptr) {
    const Node& above = folder->parent->parent != nullptr ? *folder->parent : *folder;
    for (const FileEntry& dots : {EntryOf(*folder, "."), EntryOf(above, "..")}) {
      FileEntry entry = dots;
      entry.Attributes = faDirectory;
      entry.IsLink = false;
      if (PassesFilter(entry.Attributes, filter) && !visit(entry)) return;
    }
  }
  for (const Node* node : entries) {
    if (!PassesFilter(node->attributes, filter)) continue;
    if (!visit(EntryOf(*node, node->name))) return;
  }
}

bool FolderExists(const std::string& path) {
  const Node* node = memory::Volume::Get().impl().Resolve(path, false, true);
  return node != nullptr && node->IsFolder();
}

bool RenameEntry(const std::string& oldPath, const std::string& newPath) {
  Impl& volume = memory::Volume::Get().impl();
  ++volume.renameCalls;
  RenameOperations operations;
  operations.move = [&volume](const std::string& from, const std::string& to) {
    return volume.Move(from, to);
  };
  operations.exists = [&volume](const std::string& path) {
    return volume.Resolve(path, false, true) != nullptr;
  };
  operations.storedNameIs = [&volume](const std::string& path) {
    return volume.StoredNameIs(path);
  };
  return VerifiedRename(oldPath, newPath, operations);
}

std::string ExecutablePath() { return memory::Volume::Get().impl().executablePath; }
