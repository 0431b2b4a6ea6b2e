// Kestrune.exe end to end, out of process: a folder chosen through the real file-open dialog,
// the scan, the lower-casing run and its answers, Esc, the settings file across restarts.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "resources/layout.h"
#include "resources/texts.h"
#include "tests/e2e/driver.h"

namespace {

using e2e::Kestrune;
using e2e::Sandbox;

constexpr int kWait = 20000;

std::string ScreenshotFolder() {
  const char* dir = std::getenv("KESTRUNE_SCREENSHOTS");
  return dir ? std::string(dir) + "\\" : std::string();
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Single-byte letters only: the names these tests make are ASCII.
std::string LowerCaseOf(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
std::string UpperCaseOf(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

HWND ChildOfClass(HWND parent, const char* cls) { return e2e::ChildWindow(parent, cls); }

// Chooses folder (ending with '\') and waits until the scan has ended.
void ScanFolder(Kestrune& k, const std::string& folder) {
  ASSERT_TRUE(k.ChooseMenu(texts::kMenuFile, texts::kMenuSearchFolder));
  ASSERT_TRUE(k.ChooseFolder(folder + texts::kOpenDialogPresetName));
  HWND tree = ChildOfClass(k.Main(), WC_TREEVIEWA);
  ASSERT_NE(tree, nullptr);
  bool scanned = false;
  for (int waited = 0; waited < kWait && !scanned; waited += 50) {
    Sleep(50);
    scanned = SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0 && IsWindowEnabled(tree) &&
              k.StatusText().empty();
  }
  ASSERT_TRUE(scanned) << "status: " << k.StatusText();
}

// Answers the dialog with this caption and text once it shows. A box just answered may still
// stand under the same caption for a moment, so the text decides which box is the one.
void Answer(Kestrune& k, const char* caption, const std::string& text, const char* button) {
  std::string seen;
  for (int waited = 0; waited < kWait; waited += 50) {
    HWND dialog = k.WaitForTopLevel(caption, 50);
    seen = dialog != nullptr ? Kestrune::DialogMessage(dialog) : std::string("(none)");
    if (seen == text) {
      ASSERT_TRUE(Kestrune::ClickButton(dialog, button));
      return;
    }
    Sleep(50);
  }
  ADD_FAILURE() << "no dialog said: " << text << "\nlast seen: " << seen;
}

// Starts the run and answers the confirmation with the given button.
void StartRun(Kestrune& k, const char* button) {
  ASSERT_TRUE(k.ChooseMenu(texts::kMenuFile, texts::kMenuKestrune));
  Answer(k, texts::kCaptionConfirmation, texts::kConfirmRun, button);
}

std::set<std::string> Names(const std::string& folder) {
  auto v = e2e::NamesIn(folder);
  return std::set<std::string>(v.begin(), v.end());
}

void ExpectBounds(HWND window, int left, int top, int width, int height) {
  RECT r;
  ASSERT_TRUE(GetWindowRect(window, &r));
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

class E2E : public ::testing::Test {
 protected:
  Sandbox box;
  std::string data = box.Folder() + "DATA\\";
};

TEST_F(E2E, RunLowerCasesTheTreeOnDiskAndCountsWhatItCouldNotRename) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS"));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS\\SUB"));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS\\SUB\\DEEPER"));
  for (const char* f : {"README.TXT", "readme2.txt", "表ソA.TXT", "ＡＢＣ.TXT", "アイ.DAT",
                        "RO.TXT", "HIDDEN.TXT", "LOCKED.TXT"})
    ASSERT_TRUE(e2e::WriteFile(data + f, f));
  ASSERT_TRUE(e2e::WriteFile(data + "DOCS\\INDEX.HTML", "x"));
  ASSERT_TRUE(e2e::WriteFile(data + "DOCS\\SUB\\DEEPER\\LAST.C", "x"));
  SetFileAttributesA((data + "RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((data + "HIDDEN.TXT").c_str(), FILE_ATTRIBUTE_HIDDEN);
  // Held open without delete sharing: its rename must fail and be counted.
  HANDLE locked =
      CreateFileA((data + "LOCKED.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);

  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  StartRun(k, texts::kButtonYes);
  std::string done = std::string(texts::kRunCompleted) + texts::kRunFailuresPrefix + "1" +
                     texts::kRunFailuresSuffix;
  EXPECT_TRUE(k.WaitForStatus([&](const std::string& s) { return s == done; }, kWait))
      << k.StatusText();
  if (!ScreenshotFolder().empty()) {
    Sleep(500);  // the window repaints once the run lets messages through again
    k.SaveScreenshot(ScreenshotFolder() + "after-run.bmp");
  }
  CloseHandle(locked);

  EXPECT_EQ(Names(data),
            (std::set<std::string>{"readme.txt", "readme2.txt", "docs", "表ソa.txt", "ＡＢＣ.txt",
                                   "アイ.dat", "ro.txt", "HIDDEN.TXT", "LOCKED.TXT"}));
  EXPECT_EQ(Names(data + "docs\\"), (std::set<std::string>{"index.html", "sub"}));
  EXPECT_EQ(Names(data + "docs\\sub\\deeper\\"), (std::set<std::string>{"last.c"}));
  EXPECT_EQ(Names(data + "docs\\sub\\"), (std::set<std::string>{"deeper"}));
  EXPECT_TRUE(GetFileAttributesA((data + "ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
}

// Clicks at a point of a child window, as a mouse press and release there would.
void ClickAt(HWND hwnd, int x, int y) {
  PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(E2E, AScannedTreeAndASortedListingLookRight) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  for (const char* d : {"資料", "写真", "Projects", "表計算"})
    ASSERT_TRUE(e2e::MakeFolder(data + d));
  ASSERT_TRUE(e2e::MakeFolder(data + "Projects\\Kestrune"));
  ASSERT_TRUE(e2e::MakeFolder(data + "写真\\2026年"));
  for (const char* f :
       {"会議メモ.TXT", "README.md", "予算表.XLS", "ソース.CPP", "build.BAT", "写真一覧.HTML"})
    ASSERT_TRUE(e2e::WriteFile(data + f, std::string(std::strlen(f) * 37, 'x')));
  // A link to a folder outside the tree: listed like any entry, never a node of the tree.
  ASSERT_TRUE(e2e::MakeFolder(box.Folder() + "OUTSIDE"));
  ASSERT_TRUE(e2e::MakeFolder(box.Folder() + "OUTSIDE\\Elsewhere"));
  ASSERT_TRUE(e2e::MakeFolderLink(data + "LinkOut", box.Folder() + "OUTSIDE"));
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  HWND tree = ChildOfClass(k.Main(), WC_TREEVIEWA);
  HWND grid = ChildOfClass(k.Main(), "KestruneStringGrid");
  ASSERT_NE(grid, nullptr);
  auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  Sleep(300);
  int children = 0;
  for (LRESULT item =
           SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root));
       item != 0; item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item))
    ++children;
  EXPECT_EQ(children, 4);  // 資料, 写真, Projects, 表計算: no node for the link
  if (!ScreenshotFolder().empty()) {
    EXPECT_TRUE(k.SaveScreenshot(ScreenshotFolder() + "main-window.bmp"));
  }
  // The root's label, then the name header: list the search folder and sort it by name.
  ClickAt(tree, 60, 9);
  ASSERT_TRUE(k.WaitForStatus(
      [](const std::string& s) { return s.find(" Files  ") != std::string::npos; }, kWait));
  std::string expected = "11 Files  パス名「" + data + "」";
  EXPECT_EQ(k.StatusText(), expected);
  ClickAt(grid, 30, 10);
  Sleep(500);
  if (!ScreenshotFolder().empty()) {
    EXPECT_TRUE(k.SaveScreenshot(ScreenshotFolder() + "file-list.bmp"));
  }
}

TEST_F(E2E, AnsweringNoRenamesNothing) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::WriteFile(data + "UPPER.TXT", "x"));
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  StartRun(k, texts::kButtonNo);
  Sleep(500);
  EXPECT_EQ(k.StatusText(), "");
  EXPECT_EQ(Names(data), (std::set<std::string>{"UPPER.TXT"}));
}

// Folders DIR0.. each holding files FILE0.TXT.., for a run long enough to act during it.
void MakeWideTree(const std::string& data, int folders, int files) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  for (int d = 0; d < folders; ++d) {
    std::string folder = data + "DIR" + std::to_string(d) + "\\";
    ASSERT_TRUE(e2e::MakeFolder(folder));
    for (int f = 0; f < files; ++f)
      e2e::WriteFile(folder + "FILE" + std::to_string(f) + ".TXT", "");
  }
}

// Starts the program, scans folder and starts the run, answering Yes.
void StartRunOn(Kestrune& k, const std::string& folder) {
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, folder);
  StartRun(k, texts::kButtonYes);
}

// StartRunOn, then the run's end, completed.
void RunToItsEnd(Kestrune& k, const std::string& folder) {
  ASSERT_NO_FATAL_FAILURE(StartRunOn(k, folder));
  ASSERT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, kWait));
}

TEST_F(E2E, EscHeldDuringARunStopsItAndLeavesEveryEntryWholeInOneCaseOrTheOther) {
  constexpr int kFolders = 400, kFiles = 15;
  MakeWideTree(data, kFolders, kFiles);
  Kestrune k(box.ExePath());
  StartRunOn(k, data);
  // The program lets no message through while it renames, so its status line cannot be read
  // until it stops: watch the disk instead, and press Esc once a first folder has its new name.
  // Only the search folder is watched, which the run never renames: under Wine an enumeration
  // holds its folder without delete sharing, so that folder's own rename would fail meanwhile.
  bool renaming = false;
  for (int waited = 0; waited < kWait && !renaming; waited += 20) {
    Sleep(20);
    for (const std::string& name : e2e::NamesIn(data)) renaming |= StartsWith(name, "dir");
  }
  ASSERT_TRUE(renaming);
  e2e::KeyDown(VK_ESCAPE);
  bool stopped = k.WaitForStatus(
      [](const std::string& s) {
        return StartsWith(s, texts::kRunAborted) || StartsWith(s, texts::kRunCompleted);
      },
      kWait);
  e2e::KeyUp(VK_ESCAPE);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(k.StatusText(), texts::kRunAborted);

  // Every folder and file is there once, all of its name in the old case or all in the new
  // one: none lost, doubled or left at a temporary name.
  auto inCase = [](std::string s, bool upper) {
    for (char& c : s) {
      const int b = static_cast<unsigned char>(c);
      c = static_cast<char>(upper ? std::toupper(b) : std::tolower(b));
    }
    return s;
  };
  std::set<std::string> made, found;
  int lower = 0;
  auto tally = [&](const std::string& folder, const std::string& name) {
    EXPECT_TRUE(name == inCase(name, true) || name == inCase(name, false)) << folder << name;
    lower += name != inCase(name, true);
    EXPECT_TRUE(found.insert(inCase(folder + name, true)).second) << folder << name;
  };
  for (int d = 0; d < kFolders; ++d) {
    const std::string folder = "DIR" + std::to_string(d);
    made.insert(folder);
    for (int f = 0; f < kFiles; ++f) made.insert(folder + "\\FILE" + std::to_string(f) + ".TXT");
  }
  for (const std::string& dir : e2e::NamesIn(data)) {
    tally("", dir);
    for (const std::string& name : e2e::NamesIn(data + dir + "\\")) tally(dir + "\\", name);
  }
  EXPECT_TRUE(found == made) << found.size() << " entries found of " << made.size();
  EXPECT_GT(lower, 0);                              // it had begun
  EXPECT_LT(lower, static_cast<int>(made.size()));  // and stopped before the end
}

TEST_F(E2E, TheWindowComesUpAtTheStoredBoundsAndABadValueShowsTheErrorBoxFirst) {
  {
    ASSERT_TRUE(e2e::WriteFile(box.Folder() + "Kestrune.ini",
                               "[Form]\r\nF1_X=120\r\nF1_Y=80\r\nF1_W=640\r\nF1_H=400\r\n"));
    Kestrune k(box.ExePath());
    ASSERT_TRUE(k.WaitForMain());
    // The task bar shows the application title, on the window that owns the main window.
    HWND application = GetWindow(k.Main(), GW_OWNER);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(Kestrune::WindowText(application), texts::kApplicationTitle);
    ExpectBounds(k.Main(), 120, 80, 640, 400);
    PostMessageA(k.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(k.Exited(kWait));
  }
  {
    ASSERT_TRUE(e2e::WriteFile(box.Folder() + "Kestrune.ini", "[Form]\r\nF1_X=abc\r\nF1_Y=80\r\n"));
    Kestrune k(box.ExePath());
    HWND box1 = k.WaitForTopLevel(texts::kApplicationTitle, kWait, "#32770");
    ASSERT_NE(box1, nullptr);
    EXPECT_EQ(Kestrune::DialogMessage(box1), "'abc' は整数ではありません.");
    ASSERT_TRUE(Kestrune::ClickButton(box1, "OK"));
    ASSERT_TRUE(k.WaitForMain());
    ExpectBounds(k.Main(), 194, 103, 580, 468);
  }
}

// Every name below folder (relative, '\'-joined), folders included.
void NamesBelow(const std::string& folder, const std::string& prefix, std::set<std::string>& out) {
  for (const std::string& name : e2e::NamesIn(folder)) {
    out.insert(prefix + name);
    if (GetFileAttributesA((folder + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      NamesBelow(folder + name + "\\", prefix + name + "\\", out);
    }
  }
}

std::string ContentOf(const std::string& path) {
  HANDLE h =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "(none)";
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0)
    content.append(buffer, read);
  CloseHandle(h);
  return content;
}

std::string JournalTail(const Sandbox& box) {
  const std::string journal = ContentOf(box.Folder() + "Kestrune.log");
  return journal.substr(journal.size() - std::min<size_t>(journal.size(), 10));
}

TEST_F(E2E, NamesThatDifferOnlyInCaseKeepTheirNamesAndAreCounted) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::WriteFile(data + "xt_MARK.h", "MARK"));
  ASSERT_TRUE(e2e::MakeCaseTwin(data + "xt_mark.h", false));
  ASSERT_TRUE(e2e::WriteFile(data + "README.TXT", "README"));
  ASSERT_TRUE(e2e::MakeCaseTwin(data + "Readme.txt", false));
  ASSERT_TRUE(e2e::MakeFolder(data + "Pod"));
  ASSERT_TRUE(e2e::WriteFile(data + "Pod\\A.PM", "A"));
  ASSERT_TRUE(e2e::MakeCaseTwin(data + "pod", true));
  ASSERT_TRUE(e2e::WriteFile(data + "pod\\B.PM", "B"));
  ASSERT_TRUE(e2e::MakeFolder(data + "SUB"));
  ASSERT_TRUE(e2e::WriteFile(data + "SUB\\X.TXT", "X"));

  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  StartRun(k, texts::kButtonYes);
  // xt_MARK.h, README.TXT, Readme.txt and Pod stay as they were.
  const std::string done = std::string(texts::kRunCompleted) + texts::kRunFailuresPrefix + "4" +
                           texts::kRunFailuresSuffix;
  EXPECT_TRUE(k.WaitForStatus([&](const std::string& s) { return s == done; }, kWait))
      << k.StatusText();
  std::set<std::string> names;
  NamesBelow(data, "", names);
  EXPECT_EQ(names,
            (std::set<std::string>{"xt_MARK.h", "xt_mark.h", "README.TXT", "Readme.txt", "Pod",
                                   "Pod\\a.pm", "pod", "pod\\b.pm", "sub", "sub\\x.txt"}));
  EXPECT_EQ(ContentOf(data + "xt_MARK.h"), "MARK");
  EXPECT_EQ(ContentOf(data + "README.TXT"), "README");
  EXPECT_EQ(ContentOf(data + "Pod\\a.pm"), "A");
  EXPECT_EQ(JournalTail(box), "finished\r\n");
}

TEST_F(E2E, ARunKilledAtAnyMomentIsPutRightAtTheNextStart) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  constexpr int kFolders = 60, kFiles = 20;
  for (int d = 0; d < kFolders; ++d) {
    const std::string folder = data + "DIR" + std::to_string(d) + "\\";
    ASSERT_TRUE(e2e::MakeFolder(folder));
    for (int f = 0; f < kFiles; ++f)
      ASSERT_TRUE(e2e::WriteFile(folder + "FILE" + std::to_string(f) + ".TXT", "x"));
  }
  for (int f = 0; f < kFiles; ++f)
    ASSERT_TRUE(e2e::WriteFile(data + "FILE" + std::to_string(f) + ".TXT", "x"));
  // Three kills, each at a moment an entry stands under its temporary name: the program is
  // stopped at moments the clock picks until the disk shows one, then killed.
  for (int kill = 0; kill < 3; ++kill) {
    {
      Kestrune k(box.ExePath());
      ASSERT_TRUE(k.WaitForMain());
      ScanFolder(k, data);
      const size_t journalBefore = ContentOf(box.Folder() + "Kestrune.log").size();
      StartRun(k, texts::kButtonYes);
      bool caught = false;
      for (int attempt = 0; attempt < 2000 && !caught && !k.Exited(0); ++attempt) {
        Sleep(static_cast<DWORD>(GetTickCount() % 7));
        SuspendThread(k.MainThread());
        std::set<std::string> names;
        NamesBelow(data, "", names);
        for (const std::string& name : names) caught |= name.find("~kestrune") != std::string::npos;
        if (!caught) ResumeThread(k.MainThread());
      }
      ASSERT_TRUE(caught) << "the run ended before a kill could be placed; journal had "
                          << journalBefore << " bytes";
      TerminateProcess(k.Process(), 9);
      ASSERT_TRUE(k.Exited(kWait));
    }
    Kestrune k(box.ExePath());
    ASSERT_TRUE(k.WaitForMain());  // recovery runs before the window shows
    std::set<std::string> names;
    NamesBelow(data, "", names);
    ASSERT_EQ(names.size(), static_cast<size_t>(kFolders * (kFiles + 1) + kFiles));
    for (const std::string& path : names) {
      const std::string name = path.substr(path.find_last_of('\\') + 1);
      EXPECT_TRUE(name == UpperCaseOf(name) || name == LowerCaseOf(name)) << path;
      EXPECT_EQ(name.find("~kestrune"), std::string::npos) << path;
    }
    EXPECT_EQ(JournalTail(box), "finished\r\n");
    PostMessageA(k.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(k.Exited(kWait));
  }
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  StartRun(k, texts::kButtonYes);
  EXPECT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, 60000))
      << k.StatusText();
  std::set<std::string> names;
  NamesBelow(data, "", names);
  for (const std::string& name : names) EXPECT_EQ(name, LowerCaseOf(name));
}

// Ctrl+Z typed into the program's main window.
void PressCtrlZ(Kestrune& k) {
  SetForegroundWindow(k.Main());
  Sleep(100);
  e2e::KeyDown(VK_CONTROL);
  e2e::KeyDown('Z');
  e2e::KeyUp('Z');
  e2e::KeyUp(VK_CONTROL);
}

// Ctrl+Z after a restart: the confirmation names the run's folder and how many names it
// changed; Yes, and the undo's end, completed.
void UndoConfirmed(Kestrune& k, const std::string& folder, int count) {
  ASSERT_TRUE(k.WaitForMain());
  PressCtrlZ(k);
  HWND confirm = k.WaitForTopLevel(texts::kCaptionConfirmation, kWait);
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(Kestrune::DialogMessage(confirm),
            "「" + folder + "」で直前の小文字化処理が変更した名前（" + std::to_string(count) +
                "件）を元に戻します。よろしいですか？");
  ASSERT_TRUE(Kestrune::ClickButton(confirm, texts::kButtonYes));
  EXPECT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kUndoCompleted; }, kWait))
      << k.StatusText();
}

TEST_F(E2E, CtrlZAfterARestartUndoesTheLastRunOnDisk) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS"));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS\\SUB"));
  for (const char* f : {"README.TXT", "Mixed.Case", "lower.txt", "表ソA.TXT", "DOCS\\INDEX.HTML",
                        "DOCS\\SUB\\LAST.C"})
    ASSERT_TRUE(e2e::WriteFile(data + f, f));
  std::set<std::string> before;
  NamesBelow(data, "", before);
  {
    Kestrune k(box.ExePath());
    ASSERT_NO_FATAL_FAILURE(RunToItsEnd(k, data));
    PostMessageA(k.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(k.Exited(kWait));
  }
  std::set<std::string> afterRun;
  NamesBelow(data, "", afterRun);
  ASSERT_NE(afterRun, before);

  Kestrune k(box.ExePath());
  ASSERT_NO_FATAL_FAILURE(UndoConfirmed(k, data, 7));
  std::set<std::string> afterUndo;
  NamesBelow(data, "", afterUndo);
  EXPECT_EQ(afterUndo, before);
  EXPECT_EQ(ContentOf(data + "DOCS\\SUB\\LAST.C"), "DOCS\\SUB\\LAST.C");

  PressCtrlZ(k);
  HWND refusal = k.WaitForTopLevel(texts::kCaptionInformation, kWait);
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(Kestrune::DialogMessage(refusal), texts::kNothingToUndo);
  ASSERT_TRUE(Kestrune::ClickButton(refusal, texts::kButtonOk));
}

// Every name below folder (relative, '\\'-joined), folders included, in UTF-16.
void WideNamesBelow(const std::wstring& folder, const std::wstring& prefix,
                    std::set<std::wstring>& out) {
  for (const std::wstring& name : e2e::NamesInW(folder)) {
    out.insert(prefix + name);
    if (GetFileAttributesW((folder + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      WideNamesBelow(folder + name + L"\\", prefix + name + L"\\", out);
    }
  }
}

// Names with characters the code page lacks or shows as another, at three depths: both forms of
// 〜 and − (the system maps the code page's ～ and − to one of each), accents, Hangul, an emoji,
// two names that show alike. The run lowers exactly their ASCII capitals and counts no failure;
// after a restart Ctrl+Z gives every name back, byte for byte.
TEST_F(E2E, NamesTheCodePageLacksAreLowerCasedAndUndoneAfterARestart) {
  const std::wstring root = e2e::WideOf(data);
  const std::vector<std::wstring> folders = {L"CAFÉ〜", L"CAFÉ〜\\−ÜBER",
                                             L"CAFÉ〜\\−ÜBER\\－DEEP～"};
  const std::vector<std::wstring> files = {L"資料〜FINAL.TXT",
                                           L"資料～FINAL.TXT",
                                           L"CAFÈ.TXT",
                                           L"CAFÉ.TXT",
                                           L"CAFÉ〜\\한글 MEMO.TXT",
                                           L"CAFÉ〜\\−ÜBER\\\U0001F600.TXT",
                                           L"CAFÉ〜\\−ÜBER\\－DEEP～\\ＡＢＣ.TXT",
                                           L"CAFÉ〜\\−ÜBER\\－DEEP～\\README.TXT"};
  ASSERT_TRUE(e2e::MakeFolder(data));
  for (const std::wstring& folder : folders) ASSERT_TRUE(e2e::MakeFolderW(root + folder));
  for (const std::wstring& file : files) ASSERT_TRUE(e2e::WriteFileW(root + file, "x"));
  std::set<std::wstring> before;
  WideNamesBelow(root, L"", before);
  ASSERT_EQ(before.size(), folders.size() + files.size());
  {
    Kestrune k(box.ExePath());
    // To its end without a failure count in the status line.
    ASSERT_NO_FATAL_FAILURE(RunToItsEnd(k, data));
    PostMessageA(k.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(k.Exited(kWait));
  }
  std::set<std::wstring> lowered;
  for (std::wstring name : before) {
    for (wchar_t& c : name) c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    lowered.insert(name);
  }
  std::set<std::wstring> afterRun;
  WideNamesBelow(root, L"", afterRun);
  EXPECT_TRUE(afterRun == lowered);

  Kestrune k(box.ExePath());
  ASSERT_NO_FATAL_FAILURE(UndoConfirmed(k, data, 11));
  std::set<std::wstring> afterUndo;
  WideNamesBelow(root, L"", afterUndo);
  EXPECT_TRUE(afterUndo == before);
}

// ---- The journal ----

void MakeUpperTree(const std::string& data) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::MakeFolder(data + "SUB"));
  for (const char* f : {"README.TXT", "SUB\\INDEX.HTML"}) ASSERT_TRUE(e2e::WriteFile(data + f, f));
}

TEST_F(E2E, WithoutAWritableJournalARunAsksAgainAndCannotBeUndone) {
  MakeUpperTree(data);
  const std::string journal = box.Folder() + "Kestrune.log";
  ASSERT_TRUE(e2e::MakeFolder(journal));  // the journal's name taken by a folder
  const std::string again =
      std::string(texts::kJournalPrefix) + journal + texts::kJournalUnwritableSuffix;
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);
  StartRun(k, texts::kButtonYes);
  Answer(k, texts::kCaptionConfirmation, again, texts::kButtonNo);
  Sleep(300);
  EXPECT_EQ(k.StatusText(), "");
  EXPECT_EQ(Names(data), (std::set<std::string>{"README.TXT", "SUB"}));

  StartRun(k, texts::kButtonYes);
  Answer(k, texts::kCaptionConfirmation, again, texts::kButtonYes);
  EXPECT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, kWait))
      << k.StatusText();
  EXPECT_EQ(Names(data), (std::set<std::string>{"readme.txt", "sub"}));
  PressCtrlZ(k);
  Answer(k, texts::kCaptionInformation, texts::kNothingToUndo, texts::kButtonOk);
  EXPECT_EQ(Names(data), (std::set<std::string>{"readme.txt", "sub"}));
}

TEST_F(E2E, WhileAnotherKestruneHoldsTheJournalNothingIsRenamedOrRecovered) {
  MakeUpperTree(data);
  const std::string journal = box.Folder() + "Kestrune.log";
  {
    Kestrune k(box.ExePath());
    ASSERT_NO_FATAL_FAILURE(RunToItsEnd(k, data));
  }
  // Held as a running Kestrune holds it: for writing, readers welcome.
  HANDLE held = CreateFileA(journal.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string inUse =
      std::string(texts::kJournalInUsePrefix) + journal + texts::kJournalInUseSuffix;
  ASSERT_TRUE(e2e::WriteFile(data + "NEW.TXT", "new"));
  {
    Kestrune k(box.ExePath());
    ASSERT_TRUE(k.WaitForMain());
    ScanFolder(k, data);
    StartRun(k, texts::kButtonYes);
    Answer(k, texts::kCaptionError, inUse, texts::kButtonOk);
    PressCtrlZ(k);
    HWND confirm = k.WaitForTopLevel(texts::kCaptionConfirmation, kWait);
    ASSERT_NE(confirm, nullptr);
    ASSERT_TRUE(Kestrune::ClickButton(confirm, texts::kButtonYes));
    Answer(k, texts::kCaptionError, inUse, texts::kButtonOk);
    Sleep(300);
    EXPECT_EQ(k.StatusText(), "");
  }
  EXPECT_EQ(Names(data), (std::set<std::string>{"readme.txt", "sub", "NEW.TXT"}));

  // An entry a run that died left under a temporary name waits while the journal is held.
  const std::string plan =
      "rename\t1\t" + data + "X.TXT\t" + data + "x.txt.~kestrune.tmp\t" + data + "x.txt\r\n";
  CloseHandle(held);
  ASSERT_TRUE(e2e::WriteFile(journal, "Kestrune journal\t1\r\nfolder\t" + data + "\r\n" + plan));
  ASSERT_TRUE(e2e::WriteFile(data + "x.txt.~kestrune.tmp", "x"));
  held = CreateFileA(journal.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                     nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    Kestrune k(box.ExePath());
    ASSERT_TRUE(k.WaitForMain());
    EXPECT_TRUE(e2e::Exists(data + "x.txt.~kestrune.tmp"));
  }
  CloseHandle(held);
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  EXPECT_TRUE(e2e::Exists(data + "x.txt"));
  EXPECT_FALSE(e2e::Exists(data + "x.txt.~kestrune.tmp"));
}

TEST_F(E2E, AForgedJournalMovesNothingItsChecksRefuse) {
  MakeUpperTree(data);
  const std::string other = box.Folder() + "OTHER\\";
  ASSERT_TRUE(e2e::MakeFolder(other));
  for (const char* f : {"keep.txt", "c.txt.~kestrune.tmp"})
    ASSERT_TRUE(e2e::WriteFile(other + f, f));
  ASSERT_TRUE(e2e::WriteFile(data + "plain.txt", "plain"));
  const std::string journal = box.Folder() + "Kestrune.log";
  auto renamed = [](int n, const std::string& from, const std::string& to) {
    const std::string number = std::to_string(n);
    return "rename\t" + number + "\t" + from + "\t\t" + to + "\r\nresult\t" + number +
           "\trenamed\r\n";
  };
  const std::string through = data + "SUB\\..\\..\\OTHER\\";
  // Outside the run's folder, through "..", not a change of case, and one the undo may reverse.
  ASSERT_TRUE(e2e::WriteFile(journal, "Kestrune journal\t1\r\nfolder\t" + data + "\r\n" +
                                          renamed(1, other + "KEEP.TXT", other + "keep.txt") +
                                          renamed(2, through + "KEEP.TXT", through + "keep.txt") +
                                          renamed(3, data + "PLAIN.TXT", data + "plain.txt") +
                                          renamed(4, data + "Other.txt", data + "plain.txt") +
                                          "rename\t5\t" + through + "C.TXT\t" + through +
                                          "c.txt.~kestrune.tmp\t" + through + "c.txt\r\n"));
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  // Recovery passed over the record through "..": the user's own file keeps its name.
  EXPECT_EQ(Names(other), (std::set<std::string>{"keep.txt", "c.txt.~kestrune.tmp"}));
  PressCtrlZ(k);
  Answer(
      k, texts::kCaptionConfirmation,
      "「" + data + "」で直前の小文字化処理が変更した名前（1件）を元に戻します。よろしいですか？",
      texts::kButtonYes);
  EXPECT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kUndoCompleted; }, kWait))
      << k.StatusText();
  EXPECT_EQ(Names(other), (std::set<std::string>{"keep.txt", "c.txt.~kestrune.tmp"}));
  EXPECT_EQ(Names(data), (std::set<std::string>{"README.TXT", "SUB", "PLAIN.TXT"}));
}

TEST_F(E2E, AJournalNoRunCouldHaveWrittenIsSetAsideAndTheProgramGoesOn) {
  MakeUpperTree(data);
  const std::string journal = box.Folder() + "Kestrune.log";
  // A header, then a line longer than any record a run writes, and no end.
  ASSERT_TRUE(e2e::WriteFile(
      journal, "Kestrune journal\t1\r\n" + std::string(300000, 'x') + "\r\nrename\t1\r\n"));
  // Told at start-up, before the window shows.
  Kestrune k(box.ExePath());
  const std::string aside = box.Folder() + "Kestrune.unusable.log";
  Answer(k, texts::kCaptionInformation,
         std::string(texts::kJournalPrefix) + journal + texts::kJournalSetAsideMiddle + aside +
             texts::kJournalSetAsideSuffix,
         texts::kButtonOk);
  ASSERT_TRUE(k.WaitForMain());
  EXPECT_TRUE(e2e::Exists(aside));
  ScanFolder(k, data);
  StartRun(k, texts::kButtonYes);
  EXPECT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, kWait))
      << k.StatusText();
  EXPECT_EQ(Names(data), (std::set<std::string>{"readme.txt", "sub"}));
  EXPECT_EQ(JournalTail(box), "finished\r\n");
}

// Waits until Edit1 shows folder and its scan has ended; how many children the root has then
// (the tree control gets them when the root is expanded).
int ScannedChildren(Kestrune& k, const std::string& folder) {
  HWND tree = ChildOfClass(k.Main(), WC_TREEVIEWA);
  HWND field = ChildOfClass(k.Main(), "Edit");
  for (int waited = 0; waited < kWait; waited += 50) {
    if (Kestrune::WindowText(field) == folder && SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0 &&
        IsWindowEnabled(tree) && k.StatusText().empty()) {
      break;
    }
    Sleep(50);
  }
  int children = 0;
  const auto root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, root);
  Sleep(300);
  for (auto item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, root); item != 0;
       item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
    ++children;
  }
  EXPECT_EQ(Kestrune::WindowText(field), folder);
  return children;
}

TEST_F(E2E, AFolderDroppedOnTheWindowIsScannedAsIfChosenAndAFileGivesItsFolder) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::MakeFolder(data + "資料"));
  ASSERT_TRUE(e2e::MakeFolder(data + "資料\\DEEP"));
  ASSERT_TRUE(e2e::MakeFolder(data + "OTHER"));
  ASSERT_TRUE(e2e::WriteFile(data + "NOTES.TXT", "x"));
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  // Two items at once: the first counts.
  ASSERT_TRUE(k.DropFiles({data + "資料", data + "OTHER"}));
  EXPECT_EQ(ScannedChildren(k, data + "資料\\"), 1);  // DEEP
  ASSERT_TRUE(k.DropFiles({data + "NOTES.TXT"}));
  EXPECT_EQ(ScannedChildren(k, data), 2);  // 資料 and OTHER
}

TEST_F(E2E, ADropDuringARunIsIgnored) {
  constexpr int kFolders = 200, kFiles = 10;
  MakeWideTree(data, kFolders, kFiles);
  Kestrune k(box.ExePath());
  StartRunOn(k, data);
  // The run renames the search folder's entries first and then goes folder by folder: once
  // every folder has its new name, the files are still to come. (A folder is not listed before
  // its own rename: a listing holds it without delete sharing under Wine.)
  bool foldersDone = false;
  for (int waited = 0; waited < kWait && !foldersDone; waited += 10) {
    Sleep(10);
    int renamed = 0;
    for (const std::string& name : e2e::NamesIn(data)) renamed += StartsWith(name, "dir");
    foldersDone = renamed == kFolders;
  }
  ASSERT_TRUE(foldersDone);
  ASSERT_TRUE(k.DropFiles({data + "dir1"}));
  // The drop was made while the run went on: the last folder's files were not yet renamed.
  const std::vector<std::string> last =
      e2e::NamesIn(data + "dir" + std::to_string(kFolders - 1) + "\\");
  ASSERT_TRUE(std::any_of(last.begin(), last.end(),
                          [](const std::string& name) { return StartsWith(name, "FILE"); }));
  ASSERT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, kWait))
      << k.StatusText();
  // Thrown away when the run ended: no scan of the dropped folder follows.
  Sleep(1000);
  EXPECT_EQ(Kestrune::WindowText(ChildOfClass(k.Main(), "Edit")), data);
  EXPECT_EQ(k.StatusText(), texts::kRunCompleted);
}

// ---- What a screen reader hears ----

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using Accessible = std::unique_ptr<IAccessible, Releaser>;

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// Asked as a screen reader asks, from this process: the window's client object.
Accessible ClientObject(HWND hwnd) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return Accessible(object);
}

// A text property of an object's child, empty where it has none.
std::wstring TextOf(IAccessible* object, LONG child,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  const HRESULT hr = (object->*property)(Child(child), &text);
  std::wstring s = SUCCEEDED(hr) && text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return s;
}

std::wstring NameOf(IAccessible* object, LONG child) {
  return TextOf(object, child, &IAccessible::get_accName);
}

std::wstring ValueOf(IAccessible* object, LONG child) {
  return TextOf(object, child, &IAccessible::get_accValue);
}

LONG RoleOf(IAccessible* object, LONG child) {
  VARIANT role;
  VariantInit(&role);
  return SUCCEEDED(object->get_accRole(Child(child), &role)) && role.vt == VT_I4 ? role.lVal : -1;
}

LONG StateOf(IAccessible* object, LONG child) {
  VARIANT state;
  VariantInit(&state);
  return SUCCEEDED(object->get_accState(Child(child), &state)) && state.vt == VT_I4 ? state.lVal
                                                                                    : 0;
}

long ChildCountOf(IAccessible* object) {
  long count = -1;
  return SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
}

// A child that is an object of its own (a row of the table), or null.
Accessible ObjectOf(IDispatch* dispatch) {
  if (dispatch == nullptr) return nullptr;
  IAccessible* object = nullptr;
  dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  dispatch->Release();
  return Accessible(object);
}

Accessible ChildObject(IAccessible* object, LONG child) {
  IDispatch* dispatch = nullptr;
  return object->get_accChild(Child(child), &dispatch) == S_OK ? ObjectOf(dispatch) : nullptr;
}

// The focused cell's name, followed down from the table as a reader asks on a focus event.
std::wstring FocusedName(IAccessible* table) {
  VARIANT row;
  VariantInit(&row);
  if (table->get_accFocus(&row) != S_OK || row.vt != VT_DISPATCH) return L"(no focused row)";
  const Accessible rowObject = ObjectOf(row.pdispVal);
  VARIANT cell;
  VariantInit(&cell);
  if (!rowObject || rowObject->get_accFocus(&cell) != S_OK || cell.vt != VT_I4) {
    return L"(no focused cell)";
  }
  return NameOf(rowObject.get(), cell.lVal);
}

// The name an event names, asked back as a reader does on hearing it.
std::wstring NameFromEvent(const e2e::WinEvents::Event& e) {
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  if (FAILED(AccessibleObjectFromEvent(e.hwnd, static_cast<DWORD>(e.object),
                                       static_cast<DWORD>(e.child), &object, &child))) {
    return L"(no object)";
  }
  const Accessible held(object);
  return child.vt == VT_I4 ? NameOf(object, child.lVal) : L"(not a simple child)";
}

std::wstring Utf16Of(const char* codePageText) { return e2e::WideOf(codePageText); }

// For failure messages, which are UTF-8 in the log.
std::string Utf8Of(const std::wstring& text) {
  std::string utf8(text.size() * 4, '\0');
  utf8.resize(static_cast<size_t>(
      std::max(0, WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr))));
  return utf8;
}

// A cell as a reader hears it: its column's header, then its text.
std::wstring Said(const char* header, const std::wstring& text) {
  return Utf16Of(header) + L" " + text;
}

// The names of the table's data rows, in their order.
std::vector<std::wstring> RowNames(IAccessible* table) {
  std::vector<std::wstring> names;
  for (long r = 2; r <= ChildCountOf(table); ++r) {
    const Accessible row = ChildObject(table, r);
    names.push_back(row ? NameOf(row.get(), 1) : L"(no row)");
  }
  return names;
}

// The file list, the folder field and what they tell as the user moves, read from another
// process through the system's accessibility interfaces (MSAA), as a screen reader reads them.
TEST_F(E2E, AScreenReaderReadsTheFileListAsATableAndHearsTheCurrentCellMove) {
  ASSERT_TRUE(e2e::MakeFolder(data));
  ASSERT_TRUE(e2e::MakeFolder(data + "DOCS"));
  ASSERT_TRUE(e2e::WriteFile(data + "README.TXT", "README"));
  ASSERT_TRUE(e2e::WriteFile(data + "資料.TXT", "x"));
  // Shown as "caf?.txt": a reader must say the name itself.
  ASSERT_TRUE(e2e::WriteFileW(e2e::WideOf(data) + L"caf\u00e9.txt", "x"));
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  struct ComEnd {
    ~ComEnd() { CoUninitialize(); }
  } comEnd;
  Kestrune k(box.ExePath());
  ASSERT_TRUE(k.WaitForMain());
  ScanFolder(k, data);

  // The folder field: read-only and no tab stop, yet named, and its text is its value.
  {
    const Accessible field = ClientObject(ChildOfClass(k.Main(), "Edit"));
    ASSERT_TRUE(field);
    EXPECT_TRUE(NameOf(field.get(), CHILDID_SELF) == Utf16Of(texts::kOpenDialogTitle));
    EXPECT_TRUE(ValueOf(field.get(), CHILDID_SELF) == e2e::WideOf(data));
    EXPECT_EQ(RoleOf(field.get(), CHILDID_SELF), ROLE_SYSTEM_TEXT);
    EXPECT_NE(StateOf(field.get(), CHILDID_SELF) & STATE_SYSTEM_READONLY, 0);
  }

  HWND grid = ChildOfClass(k.Main(), "KestruneStringGrid");
  ASSERT_NE(grid, nullptr);
  const Accessible table = ClientObject(grid);
  ASSERT_TRUE(table);
  EXPECT_EQ(RoleOf(table.get(), CHILDID_SELF), ROLE_SYSTEM_TABLE);
  e2e::WinEvents events(k.Pid());
  const auto reordered = [](const e2e::WinEvents::Event& e) {
    return e.event == EVENT_OBJECT_REORDER && e.object == OBJID_CLIENT;
  };

  // A listing: the rows changed, the header row and four entries.
  ClickAt(ChildOfClass(k.Main(), WC_TREEVIEWA), 60, 9);
  ASSERT_TRUE(events.WaitFor(grid, reordered, kWait));
  ASSERT_EQ(ChildCountOf(table.get()), 5);
  const char* const headers[] = {texts::kHeaderName, texts::kHeaderBytes, texts::kHeaderType,
                                 texts::kHeaderModified, texts::kHeaderAttributes};
  {
    const Accessible header = ChildObject(table.get(), 1);
    ASSERT_TRUE(header);
    EXPECT_EQ(RoleOf(header.get(), CHILDID_SELF), ROLE_SYSTEM_ROW);
    ASSERT_EQ(ChildCountOf(header.get()), 5);
    for (LONG c = 1; c <= 5; ++c) {
      EXPECT_EQ(RoleOf(header.get(), c), ROLE_SYSTEM_COLUMNHEADER) << c;
      EXPECT_TRUE(NameOf(header.get(), c) == Utf16Of(headers[c - 1])) << c;
    }
  }

  // A sort by name: the rows changed again, and are read in their new order.
  events.Clear();
  ClickAt(grid, 30, 10);
  ASSERT_TRUE(events.WaitFor(grid, reordered, kWait));
  const std::wstring cafe = Said(texts::kHeaderName, L"caf\u00e9.txt");
  const std::wstring docs = Said(texts::kHeaderName, L"DOCS");
  const std::wstring readme = Said(texts::kHeaderName, L"README.TXT");
  const std::wstring shiryo = Said(texts::kHeaderName, Utf16Of("資料.TXT"));
  EXPECT_TRUE(RowNames(table.get()) == (std::vector<std::wstring>{cafe, docs, readme, shiryo}));

  // A click, then keys: each move is told, and asking back gives the same cell. Sizes and types
  // are said without the spaces that pad them on screen.
  SetForegroundWindow(k.Main());
  struct Move {
    WORD key;  // 0: a click on the second data row's first cell
    std::wstring said;
  };
  // The click is on another cell than the current one, which taking the focus tells first.
  const Move moves[] = {{0, docs},
                        {VK_DOWN, readme},
                        {VK_RIGHT, Said(texts::kHeaderBytes, L"6")},
                        {VK_RIGHT, Said(texts::kHeaderType, L".TXT")},
                        {VK_END, Said(texts::kHeaderAttributes, L"A")},
                        {VK_HOME, readme},
                        {VK_NEXT, shiryo},
                        {VK_PRIOR, cafe}};
  for (const Move& move : moves) {
    events.Clear();
    if (move.key == 0) {
      ClickAt(grid, 10, 2 * layout::kGridRowHeight + 10);
    } else {
      PostMessageA(grid, WM_KEYDOWN, move.key, 1);
    }
    std::wstring heard;
    const bool told = events.WaitFor(
        grid,
        [&](const e2e::WinEvents::Event& e) {
          if (e.event != EVENT_OBJECT_FOCUS) return false;
          heard = NameFromEvent(e);
          return heard == move.said;
        },
        kWait);
    EXPECT_TRUE(told) << "key " << move.key << ": last heard " << Utf8Of(heard);
    const std::wstring focused = FocusedName(table.get());
    EXPECT_TRUE(focused == move.said) << "key " << move.key << ": " << Utf8Of(focused);
  }

  // The run's end lists the folder again: the rows changed, and say the new names.
  events.Clear();
  StartRun(k, texts::kButtonYes);
  ASSERT_TRUE(
      k.WaitForStatus([](const std::string& s) { return s == texts::kRunCompleted; }, kWait));
  ASSERT_TRUE(events.WaitFor(grid, reordered, kWait));
  std::vector<std::wstring> names = RowNames(table.get());
  std::sort(names.begin(), names.end());
  std::vector<std::wstring> lowered = {
      Said(texts::kHeaderName, L"caf\u00e9.txt"), Said(texts::kHeaderName, L"docs"),
      Said(texts::kHeaderName, L"readme.txt"), Said(texts::kHeaderName, Utf16Of("資料.txt"))};
  std::sort(lowered.begin(), lowered.end());
  EXPECT_TRUE(names == lowered);
}

}  // namespace
