// The in-memory volume: a tree of nodes per drive with case-insensitive, case-preserving lookup,
// the fault switches and the scripted input that the memory services read.
#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

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
  const char letter = UpperCaseText(path.substr(0, 1), NoLeadByte)[0];
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
  // Exact paths: no byte of a character beyond ASCII is a '\\'.
  for (size_t i = 3; i < n; ++i) {
    if (path[i] == '\\') {
      endPart();
    } else {
      part += path[i];
    }
  }
  endPart();
  parsed.valid = true;
  return parsed;
}

std::string Volume::Impl::Fold(const std::string& name) { return CaseFoldedName(name); }

bool Volume::Impl::IsValidName(const std::string& name) {
  if (name.empty() || !IsUtf8Text(name)) return false;
  // Every byte of a character beyond ASCII is 0x80 or more: none is one of these.
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string("<>:\"/\\|?*").find(c) != std::string::npos) {
      return false;
    }
  }
  return true;
}

bool Volume::Impl::MatchesMask(const std::string& name, const std::string& mask) {
  // Characters, not bytes: '?' takes a character whole.
  auto split = [](const std::string& text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
      const size_t length =
          std::max<size_t>(Utf8SequenceLength(static_cast<unsigned char>(text[i])), 1);
      characters.push_back(text.substr(i, length));
      i += length;
    }
    return characters;
  };
  const std::vector<std::string> n = split(Fold(name));
  const std::vector<std::string> m = split(Fold(mask));
  // Glob matching with one backtrack point for the last '*'.
  size_t i = 0, j = 0, star = std::string::npos, resume = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == "?" || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == "*") {
      star = j++;
      resume = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == "*") ++j;
  return j == m.size();
}

Node* Volume::Impl::Find(const Node& folder, const std::string& name) {
  auto exact = folder.children.find(name);
  if (exact != folder.children.end()) return exact->second.get();
  auto it = folder.folded.find(Fold(name));
  if (it == folder.folded.end() || it->second.empty()) return nullptr;
  Node* first = it->second.front();
  for (Node* candidate : it->second) {
    if (candidate->place < first->place) first = candidate;
  }
  return first;
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
    node = Find(*node, parsed.parts[i]);
    if (node == nullptr) return nullptr;
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
  child->id = ++nextId;
  Node& added = *child;
  Attach(folder, std::move(child), false);
  return added;
}

void Volume::Impl::Attach(Node& folder, std::unique_ptr<Node> node, bool keepPlace) {
  Node* raw = node.get();
  raw->parent = &folder;
  if (!keepPlace) raw->place = reverseOrder ? --folder.firstPlace : ++folder.lastPlace;
  folder.folded[Fold(raw->name)].push_back(raw);
  folder.children.emplace(raw->name, std::move(node));
  if (keepPlace) return;
  if (reverseOrder) {
    folder.order.push_front(raw);
  } else {
    folder.order.push_back(raw);
  }
}

std::unique_ptr<Node> Volume::Impl::Detach(Node& node) {
  Node& folder = *node.parent;
  auto owned = folder.children.extract(node.name);
  std::vector<Node*>& same = folder.folded[Fold(node.name)];
  same.erase(std::find(same.begin(), same.end(), &node));
  if (same.empty()) folder.folded.erase(Fold(node.name));
  return std::move(owned.mapped());
}

Node& Volume::Impl::MakeFolders(const ParsedPath& parsed, size_t count) {
  Drive& drive = drives[parsed.drive];
  if (!drive.root) {
    drive.root = std::make_unique<Node>();
    drive.root->name = std::string(1, parsed.drive) + ":";
  }
  Node* node = drive.root.get();
  for (size_t i = 0; i < count; ++i) {
    Node* found = caseSensitiveNames ? nullptr : Find(*node, parsed.parts[i]);
    if (caseSensitiveNames) {
      auto it = node->children.find(parsed.parts[i]);
      if (it != node->children.end()) found = it->second.get();
    }
    if (found == nullptr) {
      Require(IsValidName(parsed.parts[i]), "invalid name", parsed.parts[i]);
      node = &AddChild(*node, parsed.parts[i]);
      continue;
    }
    node = found;
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

void Volume::Impl::Changed() {
  ++changes;
  if (crashAfter != 0 && changes == crashAfter) {
    dead = true;
    throw Crash{};
  }
  if (outOfMemoryAfter != 0 && changes == outOfMemoryAfter) {
    outOfMemoryAfter = 0;
    throw std::bad_alloc();
  }
}

bool Volume::Impl::Move(const std::string& from, const std::string& to) {
  const ParsedPath source = Parse(from);
  if (dead || !source.valid || source.parts.empty()) return false;
  Node* node = Resolve(source, source.parts.size(), false, true);
  return node != nullptr && MoveNode(*node, source.drive, to);
}

bool Volume::Impl::MoveNode(Node& node, char drive, const std::string& to) {
  const ParsedPath target = Parse(to);
  if (dead || !target.valid || target.parts.empty() || target.drive != drive) return false;
  Node* folder = Resolve(target, target.parts.size() - 1, true, true);
  const std::string& newName = target.parts.back();
  if (node.renameFails || folder == nullptr || !folder->IsFolder() || !IsValidName(newName) ||
      node.parent == nullptr || node.parent->writeProtected || folder->writeProtected) {
    return false;
  }

  Node* existing = Find(*folder, newName);
  if (existing != nullptr) {
    if (existing != &node) return false;  // never onto another entry
    if (ignoresCaseOnlyRenames || node.name == newName) return true;
    // With case-sensitive names only the exact name counts as the entry itself.
    auto same = folder->folded.find(Fold(newName));
    if (caseSensitiveNames && same != folder->folded.end() && same->second.size() > 1) {
      return false;
    }
  }
  for (const Node* above = folder; above != nullptr; above = above->parent) {
    if (above == &node) return false;  // a folder into its own subtree
  }

  Node* oldFolder = node.parent;
  std::unique_ptr<Node> owned = Detach(node);
  node.name = newName;
  if (folder != oldFolder) {
    oldFolder->order.erase(std::find(oldFolder->order.begin(), oldFolder->order.end(), &node));
  }
  Attach(*folder, std::move(owned), folder == oldFolder);
  Changed();
  return true;
}

bool Volume::Impl::StoredNameIs(const std::string& path) {
  const ParsedPath parsed = Parse(path);
  if (!parsed.valid || parsed.parts.empty()) return false;
  const Node* node = Resolve(parsed, parsed.parts.size(), false, true);
  return node != nullptr && node->name == parsed.parts.back();
}

bool Volume::Impl::PutFile(const std::string& path, const std::string& data, bool replace) {
  const ParsedPath parsed = Parse(path);
  if (dead || !parsed.valid || parsed.parts.empty()) return false;
  Node* folder = Resolve(parsed, parsed.parts.size() - 1, true, true);
  const std::string& name = parsed.parts.back();
  if (folder == nullptr || !folder->IsFolder() || folder->writeProtected || !IsValidName(name)) {
    return false;
  }
  Node* file = Find(*folder, name);
  if (file == nullptr) {
    file = &AddChild(*folder, name);
    file->attributes = faArchive;
  } else if (file->IsFolder() || (file->attributes & faReadOnly) != 0) {
    return false;
  }
  if (replace) file->data.clear();
  file->data += data;
  file->size = file->data.size();
  Changed();
  return true;
}

// ---- Volume ----

Volume::Volume() : impl_(new Impl) { Reset(); }

Volume& Volume::Get() {
  static Volume volume;
  return volume;
}

void Volume::Reset() {
  Impl& v = *impl_;
  if (v.activeWalks > 0) {
    for (auto& [letter, drive] : v.drives) v.retired.push_back(std::move(drive.root));
  } else {
    v.retired.clear();
  }
  v.drives.clear();
  ++v.generation;
  v.reverseOrder = false;
  v.ignoresCaseOnlyRenames = false;
  v.caseSensitiveNames = false;
  v.changes = v.crashAfter = v.outOfMemoryAfter = 0;
  v.dead = false;
  v.openForAppend.clear();
  v.executablePath = kDefaultExecutablePath;
  v.dateSeparator = "/";
  v.timeSeparator = ":";
  v.escRanges.clear();
  v.onPump = nullptr;
  v.onEscPoll = nullptr;
  v.clock = 0;
  // A clock that runs ahead of every pause a test could mean: what waits for time never waits.
  v.clockStep = 1000;
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
  Node* found = nullptr;
  if (impl_->caseSensitiveNames) {
    auto it = folder.children.find(name);
    if (it != folder.children.end()) found = it->second.get();
  } else {
    found = Impl::Find(folder, name);
  }
  Require(found == nullptr || !found->IsFolder(), "a folder is in the way", path);
  Node& file = found == nullptr ? impl_->AddChild(folder, name) : *found;
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
  Require(Impl::Find(folder, name) == nullptr, "already exists", path);
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
  return impl_->PutFile(path, data, true);
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

void Volume::SetIgnoresCaseOnlyRenames(bool ignores) { impl_->ignoresCaseOnlyRenames = ignores; }

void Volume::SetCaseSensitiveNames(bool caseSensitive) {
  impl_->caseSensitiveNames = caseSensitive;
}

void Volume::CrashAfterChanges(long long change) {
  impl_->crashAfter = change;
  impl_->dead = false;
  impl_->openForAppend.clear();
}

void Volume::OutOfMemoryAfterChanges(long long change) { impl_->outOfMemoryAfter = change; }

long long Volume::Changes() const { return impl_->changes; }

uint64_t Volume::EntryId(const std::string& path) const {
  const Node* node = impl_->Resolve(path, false, false);
  return node == nullptr || node->parent == nullptr ? 0 : node->id;
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

void Volume::SetClockStep(uint32_t milliseconds) { impl_->clockStep = milliseconds; }

void Volume::OnPump(std::function<void(int call)> hook) { impl_->onPump = std::move(hook); }

void Volume::OnEscPoll(std::function<void(int poll)> hook) { impl_->onEscPoll = std::move(hook); }

int Volume::RenameCalls() const { return impl_->renameCalls; }

int Volume::Enumerations() const { return impl_->enumerations; }

int Volume::OpenEnumerations() const { return impl_->openEnumerations; }

}  // namespace memory
