// Inside of the in-memory volume, shared by the memory implementations of the services.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/memory/memory_volume.h"

namespace memory {

struct Node {
  std::string name;  // as stored, case preserved
  uint32_t attributes = faDirectory;
  uint64_t size = 0;
  LocalDateTime time{2001, 3, 9, 7, 5, 42};
  std::string data;
  std::string linkTarget;  // set on a link folder only
  bool unreadable = false;
  bool writeProtected = false;
  bool renameFails = false;
  Node* parent = nullptr;  // null for a drive root
  // Keyed by the case-folded name; the order list is what enumeration walks.
  std::unordered_map<std::string, std::unique_ptr<Node>> children;
  std::deque<Node*> order;

  bool IsFolder() const { return (attributes & faDirectory) != 0; }
  bool IsLink() const { return !linkTarget.empty(); }
};

// A path taken apart: drive letter (upper case) and its components, "." and ".." resolved.
struct ParsedPath {
  bool valid = false;
  char drive = 0;
  std::vector<std::string> parts;
};

struct Volume::Impl {
  struct Drive {
    std::unique_ptr<Node> root;
    bool ready = true;
  };

  std::map<char, Drive> drives;
  // Trees dropped by a Reset while an enumeration was still walking them.
  std::vector<std::unique_ptr<Node>> retired;
  int activeWalks = 0;
  int generation = 0;

  bool reverseOrder = false;
  bool ignoresCaseOnlyRenames = false;
  std::string executablePath;
  std::string dateSeparator;
  std::string timeSeparator;

  std::vector<std::pair<int, int>> escRanges;  // [first, last] poll numbers
  std::function<void(int)> onPump;
  std::function<void(int)> onEscPoll;

  int escPolls = 0;
  int pumpCalls = 0;
  int renameCalls = 0;
  int enumerations = 0;
  int openEnumerations = 0;

  static ParsedPath Parse(const std::string& path);
  static std::string Fold(const std::string& name);
  static bool IsValidName(const std::string& name);

  Drive* FindDrive(char letter);
  // The node a path names; intermediate links are followed, the final one only when asked.
  // With requireReady a drive marked not ready resolves nothing.
  Node* Resolve(const std::string& path, bool followFinalLink, bool requireReady);
  Node* Resolve(const ParsedPath& parsed, size_t count, bool followFinalLink, bool requireReady,
                int depth = 0);
  // The folder a path names, made with every missing folder above it (test setup).
  Node& MakeFolders(const ParsedPath& parsed, size_t count);
  Node& AddChild(Node& folder, const std::string& name);

  // MoveFile without replace or copy: the raw operation under RenameEntry.
  bool Move(const std::string& from, const std::string& to);
  bool StoredNameIs(const std::string& path);
};

}  // namespace memory
