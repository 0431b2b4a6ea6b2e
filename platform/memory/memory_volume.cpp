// The in-memory volume: a tree of nodes per drive with case-insensitive, case-preserving lookup,
// the fault switches and the scripted input that the memory services read.
#include <algorithm>
#include <climits>
#include <stdexcept>

#include "platform/common/verified_rename.h"
#include "platform/memory/volume_impl.h"
#include "platform/text.h"

namespace memory {

namespace {

constexpr int kMaxLinkDepth = 8;
constexpr char kDefaultExecutablePath[] = "C:\\app\\Kestrune.exe";

// Misuse of the test controls is a bug in the test; fail it loudly.
void Require(bool condition, const char* what, const std::string& path) {
  if (!condition) throw std::logic_error(std::string("memory::Volume: ") + what + ": " + path);
}

}  // namespace

// ---- Paths ----

ParsedPath Volume::Impl::Parse(const std::string& path) {
  ParsedPath parsed;
  if (path.size() < 2 || path[1] != ':') return parsed;
  const char letter = UpperCaseText(path.substr(0, 1))[0];
  if (letter < 'A' || letter > 'Z') return parsed;
  if (path.size() > 2 && path[2] != '\\') return parsed;  // drive-relative forms are not kept
  parsed.drive = letter;

  std::string part;
  auto endPart = [&parsed, &part] {
    if (part == "..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parsed.parts.push_back(part);
    }
    part.clear();
  };
  const size_t n = path.size();
  for (size_t i = 3; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(b) && i + 1 < n) {
      part += path[i];
      part += path[++i];
    } else if (b == '\\') {
      endPart();
    } else {
      part += path[i];
    }
  }
  endPart();
  parsed.valid = true;
  return parsed;
}

std::string Volume::Impl::Fold(const std::string& name) { return LowerCaseText(name); }

bool Volume::Impl::IsValidName(const std::string& name) {
  if (name.empty()) return false;
  const size_t n = name.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(b) && i + 1 < n) {
      ++i;
    } else if (b < 0x20 ||
               std::string("<>:\"/\\|?*").find(static_cast<char>(b)) != std::string::npos) {
      return false;
    }
  }
  return true;
}

Volume::Impl::Drive* Volume::Impl::FindDrive(char letter) {
  auto it = drives.find(letter);
  return it == drives.end() ? nullptr : &it->second;
}

Node* Volume::Impl::Resolve(const std::string& path, bool followFinalLink, bool requireReady) {
  const ParsedPath parsed = Parse(path);
  if (!parsed.valid) return nullptr;
  return Resolve(parsed, parsed.parts.size(), followFinalLink, requireReady);
}

Node* Volume::Impl::Resolve(const ParsedPath& parsed, size_t count, bool followFinalLink,
                            bool requireReady, int depth) {
  Drive* drive = FindDrive(parsed.drive);
  if (drive == nullptr || (requireReady && !drive->ready) || depth > kMaxLinkDepth) return nullptr;
  Node* node = drive->root.get();
  for (size_t i = 0; i < count; ++i) {
    if (!node->IsFolder()) return nullptr;
    auto it = node->children.find(Fold(parsed.parts[i]));
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
    if (node->IsLink() && (i + 1 < count || followFinalLink)) {
      const ParsedPath target = Parse(node->linkTarget);
      if (!target.valid) return nullptr;
      node = Resolve(target, target.parts.size(), true, requireReady, depth + 1);
      if (node == nullptr) return nullptr;
    }
  }
  return node;
}

Node& Volume::Impl::AddChild(Node& folder, const std::string& name) {
  auto child = std::make_unique<Node>();
  child->name = name;
  child->parent = &folder;
  Node& added = *child;
  folder.children.emplace(Fold(name), std::move(child));
  if (reverseOrder) {
    folder.order.push_front(&added);
  } else {
    folder.order.push_back(&added);
  }
  return added;
}

Node& Volume::Impl::MakeFolders(const ParsedPath& parsed, size_t count) {
  Drive& drive = drives[parsed.drive];
  if (!drive.root) {
    drive.root = std::make_unique<Node>();
    drive.root->name = std::string(1, parsed.drive) + ":";
  }
  Node* node = drive.root.get();
  for (size_t i = 0; i < count; ++i) {
    auto it = node->children.find(Fold(parsed.parts[i]));
    if (it == node->children.end()) {
      Require(IsValidName(parsed.parts[i]), "invalid name", parsed.parts[i]);
      node = &AddChild(*node, parsed.parts[i]);
      continue;
    }
    node = it->second.get();
    if (node->IsLink()) {
      const ParsedPath target = Parse(node->linkTarget);
      node = Resolve(target, target.parts.size(), true, false);
      Require(node != nullptr, "link to nowhere on the way", parsed.parts[i]);
    }
    Require(node->IsFolder(), "a file on the way", parsed.parts[i]);
  }
  return *node;
}

// ---- Rename ----

bool Volume::Impl::Move(const std::string& from, const std::string& to) {
  const ParsedPath source = Parse(from);
  const ParsedPath target = Parse(to);
  if (!source.valid || !target.valid || source.parts.empty() || target.parts.empty() ||
      source.drive != target.drive) {
    return false;
  }
  Node* node = Resolve(source, source.parts.size(), false, true);
  Node* folder = Resolve(target, target.parts.size() - 1, true, true);
  const std::string& newName = target.parts.back();
  if (node == nullptr || node->renameFails || folder == nullptr || !folder->IsFolder() ||
      !IsValidName(newName) || node->parent->writeProtected || folder->writeProtected) {
    return false;
  }

  const std::string key = Fold(newName);
  auto existing = folder->children.find(key);
  if (existing != folder->children.end()) {
    if (existing->second.get() != node) return false;  // never onto another entry
    if (!ignoresCaseOnlyRenames) node->name = newName;
    return true;
  }
  for (const Node* above = folder; above != nullptr; above = above->parent) {
    if (above == node) return false;  // a folder into its own subtree
  }

  Node* oldFolder = node->parent;
  auto handle = oldFolder->children.extract(Fold(node->name));
  handle.key() = key;
  node->name = newName;
  node->parent = folder;
  folder->children.insert(std::move(handle));
  if (folder != oldFolder) {
    oldFolder->order.erase(std::find(oldFolder->order.begin(), oldFolder->order.end(), node));
    if (reverseOrder) {
      folder->order.push_front(node);
    } else {
      folder->order.push_back(node);
    }
  }
  return true;
}

bool Volume::Impl::StoredNameIs(const std::string& path) {
  const ParsedPath parsed = Parse(path);
  if (!parsed.valid || parsed.parts.empty()) return false;
  const Node* node = Resolve(parsed, parsed.parts.size(), false, true);
  return node != nullptr && node->name == parsed.parts.back();
}

// ---- Volume ----

Volume::Volume() : impl_(new Impl) { Reset(); }

Volume& Volume::Get() {
  static Volume volume;
  return volume;
}

void Volume::Reset() {
  Impl& v = *impl_;
  ForgetVolumesIgnoringCaseOnlyRenames();
  if (v.activeWalks > 0) {
    for (auto& [letter, drive] : v.drives) v.retired.push_back(std::move(drive.root));
  } else {
    v.retired.clear();
  }
  v.drives.clear();
  ++v.generation;
  v.reverseOrder = false;
  v.ignoresCaseOnlyRenames = false;
  v.executablePath = kDefaultExecutablePath;
  v.dateSeparator = "/";
  v.timeSeparator = ":";
  v.escRanges.clear();
  v.onPump = nullptr;
  v.onEscPoll = nullptr;
  v.escPolls = v.pumpCalls = v.renameCalls = v.enumerations = v.openEnumerations = 0;
}

void Volume::SetDriveReady(char letter, bool ready) {
  const ParsedPath parsed = Impl::Parse(std::string(1, letter) + ":\\");
  Require(parsed.valid, "not a drive letter", std::string(1, letter));
  impl_->MakeFolders(parsed, 0);
  impl_->drives[parsed.drive].ready = ready;
}

void Volume::MakeFolder(const std::string& path, uint32_t attributes) {
  const ParsedPath parsed = Impl::Parse(path);
  Require(parsed.valid, "not a drive path", path);
  Node& folder = impl_->MakeFolders(parsed, parsed.parts.size());
  if (!parsed.parts.empty()) folder.attributes = attributes | faDirectory;
}

void Volume::MakeFile(const std::string& path, uint64_t size, LocalDateTime time,
                      uint32_t attributes) {
  const ParsedPath parsed = Impl::Parse(path);
  Require(parsed.valid && !parsed.parts.empty(), "not a file path", path);
  Require((attributes & faDirectory) == 0, "a file with the directory bit", path);
  Node& folder = impl_->MakeFolders(parsed, parsed.parts.size() - 1);
  const std::string& name = parsed.parts.back();
  Require(Impl::IsValidName(name), "invalid name", path);
  auto it = folder.children.find(Impl::Fold(name));
  Require(it == folder.children.end() || !it->second->IsFolder(), "a folder is in the way", path);
  Node& file = it == folder.children.end() ? impl_->AddChild(folder, name) : *it->second;
  file.size = size;
  file.time = time;
  file.attributes = attributes;
}

void Volume::MakeLink(const std::string& path, const std::string& target) {
  const ParsedPath parsed = Impl::Parse(path);
  Require(parsed.valid && !parsed.parts.empty(), "not a link path", path);
  Require(Impl::Parse(target).valid, "not a drive path", target);
  Node& folder = impl_->MakeFolders(parsed, parsed.parts.size() - 1);
  const std::string& name = parsed.parts.back();
  Require(folder.children.count(Impl::Fold(name)) == 0, "already exists", path);
  Require(Impl::IsValidName(name), "invalid name", path);
  Node& link = impl_->AddChild(folder, name);
  link.attributes = faDirectory | faReparsePoint;
  link.linkTarget = target;
}

bool Volume::Exists(const std::string& path) const {
  return impl_->Resolve(path, false, false) != nullptr;
}

std::vector<std::string> Volume::NamesIn(const std::string& folder) const {
  std::vector<std::string> names;
  const Node* node = impl_->Resolve(folder, true, false);
  if (node == nullptr) return names;
  for (const Node* child : node->order) names.push_back(child->name);
  return names;
}

bool Volume::ReadFile(const std::string& path, std::string& data) const {
  const Node* node = impl_->Resolve(path, false, true);
  if (node == nullptr || node->IsFolder()) return false;
  data = node->data;
  return true;
}

bool Volume::WriteFile(const std::string& path, const std::string& data) {
  const ParsedPath parsed = Impl::Parse(path);
  if (!parsed.valid || parsed.parts.empty()) return false;
  Node* folder = impl_->Resolve(parsed, parsed.parts.size() - 1, true, true);
  const std::string& name = parsed.parts.back();
  if (folder == nullptr || !folder->IsFolder() || folder->writeProtected ||
      !Impl::IsValidName(name)) {
    return false;
  }
  auto it = folder->children.find(Impl::Fold(name));
  Node* file = nullptr;
  if (it == folder->children.end()) {
    file = &impl_->AddChild(*folder, name);
    file->attributes = faArchive;
  } else {
    file = it->second.get();
    if (file->IsFolder() || (file->attributes & faReadOnly) != 0) return false;
  }
  file->data = data;
  file->size = data.size();
  return true;
}

void Volume::SetReverseOrder(bool reversed) { impl_->reverseOrder = reversed; }

void Volume::SetUnreadable(const std::string& folder, bool unreadable) {
  Node* node = impl_->Resolve(folder, true, false);
  Require(node != nullptr && node->IsFolder(), "no such folder", folder);
  node->unreadable = unreadable;
}

void Volume::SetRenameFails(const std::string& path, bool fails) {
  Node* node = impl_->Resolve(path, false, false);
  Require(node != nullptr, "no such entry", path);
  node->renameFails = fails;
}

void Volume::SetIgnoresCaseOnlyRenames(bool ignores) {
  impl_->ignoresCaseOnlyRenames = ignores;
  ForgetVolumesIgnoringCaseOnlyRenames();
}

void Volume::SetExecutablePath(const std::string& path) { impl_->executablePath = path; }

void Volume::SetWriteProtected(const std::string& folder, bool protectedFolder) {
  Node* node = impl_->Resolve(folder, true, false);
  Require(node != nullptr && node->IsFolder(), "no such folder", folder);
  node->writeProtected = protectedFolder;
}

void Volume::SetSeparators(const std::string& date, const std::string& time) {
  impl_->dateSeparator = date;
  impl_->timeSeparator = time;
}

void Volume::EscDownAtPolls(int first, int count) {
  if (count <= 0) return;
  const long long last = static_cast<long long>(first) + count - 1;
  impl_->escRanges.emplace_back(first, static_cast<int>(std::min<long long>(last, INT_MAX)));
}

void Volume::ClearEsc() { impl_->escRanges.clear(); }

int Volume::EscPolls() const { return impl_->escPolls; }

int Volume::PumpCalls() const { return impl_->pumpCalls; }

void Volume::OnPump(std::function<void(int call)> hook) { impl_->onPump = std::move(hook); }

void Volume::OnEscPoll(std::function<void(int poll)> hook) { impl_->onEscPoll = std::move(hook); }

int Volume::RenameCalls() const { return impl_->renameCalls; }

int Volume::Enumerations() const { return impl_->enumerations; }

int Volume::OpenEnumerations() const { return impl_->openEnumerations; }

}  // namespace memory
