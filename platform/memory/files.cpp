// File-system services over the in-memory volume.
#include "platform/files.h"

#include <vector>

#include "platform/common/entry_time.h"
#include "platform/rename.h"
#include "platform/memory/volume_impl.h"
#include "platform/text.h"

namespace {

using memory::Node;
using Impl = memory::Volume::Impl;

// The name as the system's code-page listings show it, and the exact one where that does not
// convert back to it.
FileEntry EntryOf(const Node& node, const std::string& name) {
  FileEntry entry;
  entry.EntryName = ShownOf(name);
  std::string back;
  if (!ExactOf(entry.EntryName, back) || back != name) entry.ExactName = name;
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

// An open handle's renames: they follow the entry, not its path.
class MemoryMover : public EntryMover {
 public:
  MemoryMover(Impl& volume, Node& node, char drive) : volume_(volume), node_(node), drive_(drive) {}
  bool MoveTo(const std::string& to) override { return volume_.MoveNode(node_, drive_, to); }

 private:
  Impl& volume_;
  Node& node_;
  char drive_;
};

}  // namespace

void EnumerateEntries(const std::string& pattern, uint32_t filter,
                      const std::function<bool(const FileEntry&)>& visit) {
  Impl& volume = memory::Volume::Get().impl();
  OpenEnumeration open(volume);

  const std::string folderPath = ExactFolderPart(pattern);
  const std::string mask = pattern.substr(folderPath.size());
  const Node* folder = volume.Resolve(folderPath, true, true);
  if (folder == nullptr || !folder->IsFolder() || folder->unreadable || mask.empty()) return;

  // A copy of the order, so that a visit which changes the folder cannot upset the walk.
  std::vector<const Node*> entries;
  const bool everything = mask == "*" || mask == "*.*";
  if (everything) {
    entries.assign(folder->order.begin(), folder->order.end());
  } else if (mask.find_first_of("*?") != std::string::npos) {
    for (const Node* node : folder->order) {
      if (Impl::MatchesMask(node->name, mask)) entries.push_back(node);
    }
  } else if (const Node* node = Impl::Find(*folder, mask)) {
    entries.push_back(node);
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

namespace {

class MemoryRenameSystem : public RenameSystem {
 public:
  explicit MemoryRenameSystem(Impl& volume) : volume_(volume) {}
  std::unique_ptr<EntryMover> Open(const std::string& path) override {
    ++volume_.renameCalls;
    const memory::ParsedPath parsed = Impl::Parse(path);
    Node* node = volume_.Resolve(path, false, true);
    if (node == nullptr || node->parent == nullptr) return nullptr;
    return std::make_unique<MemoryMover>(volume_, *node, parsed.drive);
  }
  bool Exists(const std::string& path) override {
    return volume_.Resolve(path, false, true) != nullptr;
  }
  bool StoredNameIs(const std::string& path) override { return volume_.StoredNameIs(path); }

 private:
  Impl& volume_;
};

}  // namespace

std::unique_ptr<RenameSystem> NewRenameSystem() {
  return std::make_unique<MemoryRenameSystem>(memory::Volume::Get().impl());
}

struct AppendFile {
  std::string path;
};

AppendFile* OpenAppendFile(const std::string& path, bool replace, bool* inUse) {
  Impl& volume = memory::Volume::Get().impl();
  const Node* existing = volume.Resolve(path, false, true);
  const bool held = volume.openForAppend.count(Impl::Fold(path)) != 0;
  if (inUse != nullptr) *inUse = held;
  if (held || (existing != nullptr && existing->IsFolder())) return nullptr;
  // Creating or emptying the file is a change of its own; an existing file kept as it is, none.
  if ((replace || existing == nullptr) && !volume.PutFile(path, std::string(), true)) {
    return nullptr;
  }
  volume.openForAppend.insert(Impl::Fold(path));
  return new AppendFile{path};
}

bool AppendToFile(AppendFile* file, const std::string& data) {
  return file != nullptr && memory::Volume::Get().impl().PutFile(file->path, data, false);
}

void CloseAppendFile(AppendFile* file) {
  if (file == nullptr) return;
  memory::Volume::Get().impl().openForAppend.erase(Impl::Fold(file->path));
  delete file;
}

namespace {

// The file at path; null where there is none (or a folder). Its data is read in place.
const Node* FileAt(const std::string& path) {
  const Node* node = memory::Volume::Get().impl().Resolve(path, false, true);
  return node == nullptr || node->IsFolder() ? nullptr : node;
}

}  // namespace

bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& data) {
  data.clear();
  const Node* file = FileAt(path);
  if (file == nullptr) return false;
  const size_t size = file->data.size();
  data.assign(file->data, size > maxBytes ? size - static_cast<size_t>(maxBytes) : 0);
  return true;
}

struct InputFile {
  std::string path;
};

InputFile* OpenInputFile(const std::string& path) {
  return FileAt(path) == nullptr ? nullptr : new InputFile{path};
}

bool ReadInputFile(InputFile* file, uint64_t offset, size_t size, std::string& data) {
  data.clear();
  const Node* node = file == nullptr ? nullptr : FileAt(file->path);
  if (node == nullptr) return false;
  if (offset < node->data.size()) data.assign(node->data, static_cast<size_t>(offset), size);
  return true;
}

void CloseInputFile(InputFile* file) { delete file; }

std::string ExecutablePath() { return ShownOf(memory::Volume::Get().impl().executablePath); }
