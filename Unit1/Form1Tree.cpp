// Choosing the search folder and scanning it, depth first, into the folder tree; and the path
// of a folder from its node.
#include <utility>
#include <vector>

#include "Unit1/Form1.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"

using toolkit::NodeId;

void TForm1::MnuSearchFolderClick() {
  // The scan lets messages through; a second scan would pull the tree from under the first.
  if (scanning_) return;
  if (!FormShown) return;
  ShowStatusNow("");

  OpenDialog1.InitialDir = SearchFolder;
  OpenDialog1.FileName = texts::kOpenDialogPresetName;
  if (!OpenDialog1.Execute()) return;
  ChangeSearchFolder(FolderPartOf(OpenDialog1.FileName));
}

void TForm1::FormDropFiles(const std::vector<std::string>& paths) {
  // Gated as the folder choice is: a drop during a scan would pull the tree from under it.
  if (scanning_ || !FormShown || paths.empty()) return;
  ShowStatusNow("");
  // Of several items the first counts. A folder is the folder; a file stands for its folder,
  // and so does an item gone since it was dropped.
  const std::string& path = paths.front();
  if (!FolderExists(FaithfulExactOf(path))) {
    ChangeSearchFolder(FolderPartOf(path));
  } else {
    // A drive's root comes with its '\' already.
    ChangeSearchFolder(FolderPartOf(path) == path ? path : path + '\\');
  }
}

void TForm1::ChangeSearchFolder(const std::string& folder) {
  const std::string treeFolder = SearchFolder;
  const std::string treeField = Edit1.Text();
  SearchFolder = folder;
  Edit1.SetText(SearchFolder);
  // Refused, the tree stays as it was, and so must the folder on show: a run would otherwise
  // rename a tree other than the folder the field names.
  if (!BuildFolderTree()) {
    SearchFolder = treeFolder;
    Edit1.SetText(treeField);
  }
}

bool TForm1::BuildFolderTree() {
  ShowStatusNow(texts::kScanning);
  // The search folder is the one path the user gives in the code page: it must name its folder
  // faithfully.
  const std::string exactFolder = FaithfulExactOf(SearchFolder);
  if (exactFolder.empty() || !FolderExists(exactFolder)) {
    toolkit::RefusalDlg(toolkit::DialogKind::Information, texts::kDriveNotReady);
    StatusBar1.SetText(texts::kChooseSearchFolder);
    return false;
  }

  ListReady = false;
  StringGrid1.SetRowCount(2);
  StringGrid1.ClearRow(1);
  TreeReady = false;
  ScanAborted = false;

  // Restores the scan state even if something throws out of the scan.
  struct ScanGuard {
    TForm1& form;
    toolkit::ProgressScope progressShown;
    explicit ScanGuard(TForm1& f) : form(f), progressShown(toolkit::Application::Get().Taskbar()) {
      form.scanning_ = true;
      form.TreeView1.SetEnabled(false);
      form.TreeView1.BeginUpdate();
      // How many folders a tree holds is known only once it is scanned.
      toolkit::Application::Get().Taskbar().SetIndeterminate();
    }
    ~ScanGuard() {
      form.TreeView1.EndUpdate();
      form.TreeView1.SetEnabled(true);
      form.scanning_ = false;
    }
  };
  {
    ScanGuard guard(*this);
    TreeView1.Clear();
    const NodeId root = TreeView1.AddRoot(SearchFolder);
    AddSubfolders(exactFolder, root);
    // Children go in right after their parent in pre-order, so walking the absolute indexes
    // upwards visits every folder depth first while the tree grows behind the walk. The exact
    // paths of the nodes down to the last one visited are kept: a node's parent is among them,
    // and each name is converted once, not once for every folder below it.
    std::vector<std::pair<NodeId, std::string>> pathsDown{{root, exactFolder}};
    for (int index = 1; index < TreeView1.Count(); ++index) {
      if (EscDown()) ScanAborted = true;
      if (ScanAborted) break;
      const NodeId node = TreeView1.NodeAt(index);
      while (pathsDown.back().first != TreeView1.Parent(node)) pathsDown.pop_back();
      pathsDown.emplace_back(node, pathsDown.back().second + ExactNameOfNode(node) + '\\');
      AddSubfolders(pathsDown.back().second, node);
    }
  }

  StatusBar1.SetText(ScanAborted ? texts::kScanAborted : "");
  if (TreeView1.Count() > 0) TreeReady = true;

  if (closeAfterScan_) {
    closeAfterScan_ = false;
    Close();
  }
  return true;
}

void TForm1::AddSubfolders(const std::string& folder, NodeId parent) {
  bool first = true;
  EnumerateEntries(folder + "*.*", kScanFilter, [&](const FileEntry& entry) {
    if (!first) {
      PumpMessages();
      if (EscDown()) ScanAborted = true;
      // Also set by a close that arrived through the pump.
      if (ScanAborted) return false;
    }
    first = false;
    // A link leads elsewhere, possibly back up the tree: never a node of it.
    if ((entry.Attributes & faDirectory) != 0 && !entry.IsLink && !IsDotEntry(entry.EntryName)) {
      const NodeId child = TreeView1.AddChild(parent, entry.EntryName);
      if (!entry.ExactName.empty()) TreeView1.SetData(child, entry.ExactName);
    }
    return true;
  });
}

namespace {

// The root's text is a whole path ending with '\'; every other node holds one bare name.
template <typename NameOf>
std::string PathAlongChain(const toolkit::TreeView& tree, NodeId node, NameOf nameOf) {
  std::vector<NodeId> chain;
  for (; node != toolkit::kNoNode; node = tree.Parent(node)) chain.push_back(node);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    path += nameOf(*it);
    if (it != chain.rbegin()) path += '\\';
  }
  return path;
}

}  // namespace

std::string TForm1::FolderPathOfNode(int absoluteIndex) {
  return PathAlongChain(TreeView1, TreeView1.NodeAt(absoluteIndex),
                        [this](NodeId node) -> const std::string& { return TreeView1.Text(node); });
}

std::string TForm1::PathOfNode(NodeId node,
                               const std::unordered_map<NodeId, std::string>& renamed) {
  return PathAlongChain(TreeView1, node, [this, &renamed](NodeId n) {
    const auto name = renamed.find(n);
    return name == renamed.end() ? ExactNameOfNode(n) : name->second;
  });
}

std::string TForm1::ExactNameOfNode(NodeId node) const {
  return ExactNameOf(TreeView1.Text(node), TreeView1.Data(node));
}

std::string TForm1::ExactNameOfRow(int row) const {
  return ExactNameOf(StringGrid1.Cell(0, row), StringGrid1.RowData(row));
}
