// Shared pieces of the GUI tests: the main-window arrangement built from the models with real
// peers, a message pump, and a helper thread that finds a modal window and answers it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Unit1/Form1.h"
#include "tests/support/window_search.h"
#include "toolkit/core/menu.h"

namespace gui {

// Dispatches this thread's messages for about ms milliseconds. A WM_QUIT found on the way is
// counted (QuitsSeen) instead of ending anything.
void Pump(int ms = 30);
// Pumps until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 3000);
int QuitsSeen();

using testsupport::ClassOf;
using testsupport::TextOf;
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);
RECT ClientRectOf(HWND hwnd);

// The visible top-level window of a thread with the given class (and caption, if not null).
HWND FindThreadWindow(DWORD threadId, const char* className, const char* caption = nullptr);
// The texts of a window's children of one class, in z-order.
std::vector<std::string> ChildTexts(HWND parent, const char* className);

// The program's own main window (TForm1) with native peers, made as the program makes it
// (TForm1::ConfigureApplication first) beside the test program, whose folder holds no settings
// file or journal while it lives: it starts as a first start does and leaves nothing behind.
// The members name its controls as the tests read them. Show() runs the window's own FormShow.
struct ProgramWindow {
  ProgramWindow();
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  // Creates the native side; Show() then runs OnShow and shows the window.
  void Create();
  void Show();
  HWND FormWindow() const;
  static HWND Of(const toolkit::Control& control);

  TForm1 form1;
  toolkit::Form& form = form1;
  toolkit::Panel& panel1 = form1.Panel1;
  toolkit::Panel& panel2 = form1.Panel2;
  toolkit::Edit& edit1 = form1.Edit1;
  toolkit::TreeView& tree = form1.TreeView1;
  toolkit::Splitter& splitter = form1.Splitter1;
  toolkit::StringGrid& grid = form1.StringGrid1;
  toolkit::StatusBar& status = form1.StatusBar1;
  toolkit::MenuItem& searchFolder = form1.MnuSearchFolder;
  toolkit::MenuItem& kestrune = form1.MnuKestrune;
  toolkit::MenuItem& exit = form1.MnuExit;
  // Whether the window was visible when its OnShow ran.
  bool visibleDuringShow = true;
};

// Runs on a helper thread while the test thread sits in a modal loop: waits for the window that
// find() returns, then calls act() with it, then waits for the window to go. When nothing shows
// up, or the window stays, it posts WM_QUIT to the test thread, which ends any modal loop, so a
// stuck dialog fails the test instead of hanging it.
class Driver {
 public:
  Driver(std::function<HWND()> find, std::function<void(HWND)> act, int timeoutMs = 5000);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;
  // Waits for the helper to finish; true when it found the window and the window then closed.
  bool Join();

 private:
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

// The identifier of the thread that runs the tests (and owns every window).
DWORD TestThread();

// Posts a key press (down, char, up) to a window of the test thread, as the keyboard would.
void PostKey(HWND hwnd, UINT virtualKey, char character);
// Presses and releases a key through the system's input queue (to the window with the focus).
bool TypeKey(WORD virtualKey);

// Saves the screen area of a window as a BMP file of that name in the build's screenshot
// folder, for people to look at; false when that is not possible.
bool SaveScreenshot(HWND hwnd, const std::string& name);

}  // namespace gui
