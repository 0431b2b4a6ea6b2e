// Inside of the in-memory volume, shared by the memory implementations of the services.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
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
  uint64_t id = 0;         // stable across renames and moves
  long long place = 0;     // position in the parent's enumeration order: smaller comes first
  // Owned by stored name; `folded` finds them whatever their letter case (several per key only
  // with case-sensitive names); `order` is what enumeration walks.
  std::unordered_map<std::string, std::unique_ptr<Node>> children;
  std::unordered_map<std::string, std::vector<Node*>> folded;
  std::deque<Node*> order;
  long long firstPlace = 0;
  long long lastPlace = 0;

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
  uint64_t nextId = 0;

  bool reverseOrder = false;
  bool ignoresCaseOnlyRenames = false;
  bool caseSensitiveNames = false;
  std::string executablePath;
  std::string dateSeparator;
  std::string timeSeparator;

  std::vector<std::pair<int, int>> escRanges;  // [first, last] poll numbers
  std::function<void(int)> onPump;
  std::function<void(int)> onEscPoll;

  uint32_t clock = 0;
  uint32_t clockStep = 0;

  int escPolls = 0;
  int pumpCalls = 0;
  int renameCalls = 0;
  int enumerations = 0;
  int openEnumerations = 0;

  // Changes made through the services (moves, file writes), and the one after which the
  // process is taken to die (0: never). Once dead, nothing changes any more.
  long long changes = 0;
  long long crashAfter = 0;
  long long outOfMemoryAfter = 0;
  bool dead = false;
  // Files held open for appending: a second opener is refused, as a share mode would.
  std::set<std::string> openForAppend;

  static ParsedPath Parse(const std::string& path);
  static std::string Fold(const std::string& name);
  static bool IsValidName(const std::string& name);
  // True when name matches mask ('*' any run, '?' one character), letter case ignored.
  static bool MatchesMask(const std::string& name, const std::string& mask);

  Drive* FindDrive(char letter);
  // The node a path names; intermediate links are followed, the final one only when asked.
  // With requireReady a drive marked not ready resolves nothing.
  Node* Resolve(const std::string& path, bool followFinalLink, bool requireReady);
  Node* Resolve(const ParsedPath& parsed, size_t count, bool followFinalLink, bool requireReady,
                int depth = 0);
  // A child by name: the exact stored name first, else the first in enumeration order whose
  // name differs only in letter case (Wine's lookup on a case-sensitive file system).
  static Node* Find(const Node& folder, const std::string& name);
  // The folder a path names, made with every missing folder above it (test setup).
  Node& MakeFolders(const ParsedPath& parsed, size_t count);
  Node& AddChild(Node& folder, const std::string& name);
  // Takes a child out of its folder (name maps and order) and hands over ownership.
  std::unique_ptr<Node> Detach(Node& node);
  // Puts a detached node into a folder under its current name, at the end (or the front).
  void Attach(Node& folder, std::unique_ptr<Node> node, bool keepPlace);

  // Counts one change made through the services; the crash, if one is due, comes after it.
  void Changed();
  // MoveFile without replace or copy: the raw operation under RenameEntry.
  bool Move(const std::string& from, const std::string& to);
  // The same for an entry already found (an open handle's rename), on its drive.
  bool MoveNode(Node& node, char drive, const std::string& to);
  bool StoredNameIs(const std::string& path);
  // Appends to (or, with replace, rewrites) a file, creating it; a change.
  bool PutFile(const std::string& path, const std::string& data, bool replace);
};

}  // namespace memory
