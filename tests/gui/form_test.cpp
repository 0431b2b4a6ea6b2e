// The main window with real peers: frame and client arrangement at the default layout, menu and
// status texts as the user reads them, the model following the frame, the edit field's click,
// the splitter drag, and the close sequence.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "resources/layout.h"
#include "resources/texts.h"
#include "tests/gui/gui_fixture.h"
#include "toolkit/core/application.h"
#include "toolkit/win32/application_window.h"
#include "toolkit/win32/fonts.h"

namespace {

using gui::ProgramWindow;

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(MainWindow, ShowsAtTheDefaultLayoutAppliedBeforeItBecameVisible) {
  ProgramWindow main;
  main.Create();
  HWND form = main.FormWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  main.Show();

  EXPECT_FALSE(main.visibleDuringShow);
  EXPECT_TRUE(IsWindowVisible(form));
  RECT frame;
  GetWindowRect(form, &frame);
  ExpectRect(frame, 50, 50, 550, 400);
  EXPECT_EQ(main.form.Bounds(), (toolkit::Rect{50, 50, 500, 350}));
  EXPECT_EQ(gui::TextOf(form), texts::kFormCaption);

  const RECT client = gui::ClientRectOf(form);
  const int w = client.right, h = client.bottom;
  EXPECT_EQ(main.form.ClientWidth(), w);
  EXPECT_EQ(main.form.ClientHeight(), h);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.panel1)), 0, 0, 200, h - 19);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.splitter)), 200, 0, 203, h - 19);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.status)), 0, h - 19, w, h);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.grid)), 203, 0, w, h - 19);
  // Inside the panel's 1-pixel bevel: Panel2 on top, the tree below it, the edit in Panel2.
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.panel2)), 1, 1, 199, 20);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.tree)), 1, 20, 199, h - 20);
  // As wide as Panel1's client area (bevel included), so Panel2 clips its last two pixels.
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.edit1)), 0, 0, 200, 20);
}

TEST(MainWindow, MenuReadsBackTheTextsOfTheFormResource) {
  ProgramWindow main;
  main.Create();
  HMENU bar = GetMenu(main.FormWindow());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  char text[256];
  GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, texts::kMenuFile);

  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(GetMenuItemCount(file), 5);
  const char* const expected[] = {texts::kMenuSearchFolder, nullptr, texts::kMenuKestrune, nullptr,
                                  texts::kMenuExit};
  for (int i = 0; i < 5; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(file, i, TRUE, &info);
    if (expected[i] == nullptr) {
      EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << "item " << i;
    } else {
      GetMenuStringA(file, i, text, sizeof text, MF_BYPOSITION);
      EXPECT_STREQ(text, expected[i]) << "item " << i;
    }
  }
}

TEST(MainWindow, MenuCommandsReachTheirItems) {
  ProgramWindow main;
  std::vector<std::string> clicked;
  main.searchFolder.OnClick = [&] { clicked.push_back("search"); };
  main.kestrune.OnClick = [&] { clicked.push_back("run"); };
  main.exit.OnClick = [&] { clicked.push_back("exit"); };
  main.Create();
  HMENU file = GetSubMenu(GetMenu(main.FormWindow()), 0);
  for (int position : {4, 0, 2}) {
    SendMessageA(main.FormWindow(), WM_COMMAND, GetMenuItemID(file, position), 0);
  }
  EXPECT_EQ(clicked, (std::vector<std::string>{"exit", "search", "run"}));
}

// Counts the WM_PAINT messages a window gets into the int its reference data points to.
LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR counter) {
  if (msg == WM_PAINT) ++*reinterpret_cast<int*>(counter);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST(MainWindow, StatusBarIsOneSimpleTextInTheStatusFont) {
  ProgramWindow main;
  main.Create();
  main.Show();
  HWND status = ProgramWindow::Of(main.status);
  char text[256] = {};
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, texts::kChooseSearchFolder);
  EXPECT_TRUE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0)),
            toolkit::win32::StatusFont());

  // A text waits for the next paint (a run sets one per folder), and reads back at once.
  int paints = 0;
  ASSERT_TRUE(SetWindowSubclass(status, CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
  main.status.SetText(texts::kScanAborted);
  main.status.SetText(texts::kChooseSearchFolder);
  main.status.SetText(texts::kScanAborted);
  EXPECT_EQ(paints, 0);
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, texts::kScanAborted);
  // A refresh paints at once: nothing of the bar is left to paint afterwards.
  main.status.Refresh();
  EXPECT_GE(paints, 1);
  EXPECT_FALSE(GetUpdateRect(status, nullptr, FALSE));
  RemoveWindowSubclass(status, CountPaints, 1);
}

TEST(MainWindow, ModelFollowsTheFrameWhenTheUserResizesIt) {
  ProgramWindow main;
  main.Create();
  main.Show();
  HWND form = main.FormWindow();
  SetWindowPos(form, nullptr, 80, 90, 640, 480, SWP_NOZORDER);
  EXPECT_EQ(main.form.Bounds(), (toolkit::Rect{80, 90, 640, 480}));
  const RECT client = gui::ClientRectOf(form);
  EXPECT_EQ(main.form.ClientWidth(), client.right);
  ExpectRect(gui::RectInParent(ProgramWindow::Of(main.grid)), 203, 0, client.right,
             client.bottom - 19);

  // A minimised window keeps the bounds it had, for the settings to save.
  ShowWindow(form, SW_MINIMIZE);
  gui::Pump(20);
  EXPECT_EQ(main.form.Bounds(), (toolkit::Rect{80, 90, 640, 480}));
  ShowWindow(form, SW_RESTORE);
  gui::Pump(20);
  EXPECT_EQ(main.form.Bounds(), (toolkit::Rect{80, 90, 640, 480}));
}

TEST(MainWindow, MinimizingLowersTheTaskBarButtonAndItsClickRestores) {
  ProgramWindow main;
  main.Create();
  main.Show();
  HWND form = main.FormWindow();
  HWND application = GetWindow(form, GW_OWNER);
  ASSERT_NE(application, nullptr);
  const toolkit::Rect bounds = main.form.Bounds();
  // The minimize box and the system menu send the main window SC_MINIMIZE; a click on the task
  // bar button sends the application window SC_MINIMIZE while the program is up, and SC_RESTORE
  // and the activation (WM_ACTIVATEAPP) while it is down.
  for (HWND minimized : {form, application}) {
    SendMessageA(minimized, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(gui::PumpUntil([&] { return IsIconic(application) && !IsWindowVisible(form); }));
    SendMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageA(application, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(gui::PumpUntil([&] {
      return !IsIconic(application) && IsWindowVisible(form) && !IsIconic(form) &&
             GetActiveWindow() == form;
    }));
    EXPECT_EQ(main.form.Bounds(), bounds);
  }
}

TEST(MainWindow, FormAndEditUseTheFormFontAndTheEditIsAReadOnlyNonTabStop) {
  ProgramWindow main;
  main.Create();
  HWND edit = ProgramWindow::Of(main.edit1);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, layout::kFormFontFace);
  EXPECT_EQ(font.lfHeight, -layout::kFormFontHeight);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  const LONG style = GetWindowLongA(edit, GWL_STYLE);
  EXPECT_NE(style & ES_READONLY, 0);
  EXPECT_EQ(style & WS_TABSTOP, 0);
  // Read-only, yet drawn on the window background.
  HDC dc = GetDC(edit);
  const LRESULT brush = SendMessageA(GetParent(edit), WM_CTLCOLORSTATIC,
                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
  ReleaseDC(edit, dc);

  main.edit1.SetText("C:\\work\\");
  EXPECT_EQ(gui::TextOf(edit), "C:\\work\\");
}

TEST(MainWindow, EditClickIsAPressAndReleaseInsideIt) {
  ProgramWindow main;
  int clicks = 0;
  main.edit1.OnClick = [&] { ++clicks; };
  main.Create();
  main.Show();
  HWND edit = ProgramWindow::Of(main.edit1);
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  // Released outside: no click.
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 400));
  EXPECT_EQ(clicks, 1);
  // A release without a press (the press went elsewhere): no click.
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
}

TEST(MainWindow, SplitterDragAppliesOnReleaseAndCancelsWhenTheMouseIsTaken) {
  ProgramWindow main;
  main.Create();
  main.Show();
  HWND splitter = ProgramWindow::Of(main.splitter);
  EXPECT_EQ(GetClassLongPtrA(splitter, GCLP_HCURSOR),
            reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_SIZEWE)));

  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  EXPECT_TRUE(main.splitter.Dragging());
  EXPECT_EQ(GetCapture(), splitter);
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(51, 10));
  EXPECT_EQ(main.splitter.BarX(), 250);
  EXPECT_EQ(main.panel1.Width(), 200);  // nothing moves before the release
  SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(51, 10));
  EXPECT_FALSE(main.splitter.Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(main.panel1.Width(), 250);
  EXPECT_EQ(gui::RectInParent(ProgramWindow::Of(main.panel1)).right, 250);
  EXPECT_EQ(gui::RectInParent(ProgramWindow::Of(main.grid)).left, 253);

  // Another window taking the mouse mid-drag cancels it.
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-99, 10));
  SetCapture(main.FormWindow());
  ReleaseCapture();
  EXPECT_FALSE(main.splitter.Dragging());
  EXPECT_EQ(main.panel1.Width(), 250);

  // Esc while dragging cancels too.
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-99, 10));
  SendMessageA(splitter, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(main.splitter.Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(main.panel1.Width(), 250);

  // Dragged to the minimum or below, the panel collapses.
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-225, 10));
  SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(-225, 10));
  EXPECT_EQ(main.panel1.Width(), 0);
  EXPECT_EQ(gui::RectInParent(ProgramWindow::Of(main.grid)).left, 3);
}

TEST(MainWindow, SplitterDragShowsAHatchedBarOverTheNeighbours) {
  ProgramWindow main;
  main.Create();
  main.Show();
  HWND form = main.FormWindow();
  HWND splitter = ProgramWindow::Of(main.splitter);
  HDC dc = GetDC(form);
  // Two neighbouring pixels of the grid, where the bar will stand (x 250..252).
  const COLORREF before[2] = {GetPixel(dc, 250, 100), GetPixel(dc, 251, 100)};
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 100));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(51, 100));
  const COLORREF during[2] = {GetPixel(dc, 250, 100), GetPixel(dc, 251, 100)};
  // A checker: of two neighbours exactly one is inverted.
  EXPECT_NE((before[0] != during[0]), (before[1] != during[1]));
  SendMessageA(splitter, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(GetPixel(dc, 250, 100), before[0]);
  EXPECT_EQ(GetPixel(dc, 251, 100), before[1]);
  ReleaseDC(form, dc);
}

TEST(MainWindow, EscapeKeyCancelsASplitterDragWhereverTheFocusIs) {
  ProgramWindow main;
  main.Create();
  main.Show();
  SetForegroundWindow(main.FormWindow());
  SetFocus(ProgramWindow::Of(main.grid));
  gui::Pump(20);
  HWND splitter = ProgramWindow::Of(main.splitter);
  SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(81, 10));
  ASSERT_TRUE(main.splitter.Dragging());

  ASSERT_TRUE(gui::TypeKey(VK_ESCAPE));
  EXPECT_TRUE(gui::PumpUntil([&] { return !main.splitter.Dragging(); }, 2000));
  EXPECT_EQ(main.panel1.Width(), 200);
}

TEST(MainWindow, CloseRunsTheCloseSequenceAndEndsTheMessageLoop) {
  ProgramWindow main;
  bool allow = false;
  int closes = 0;
  main.form.OnCloseQuery = [&] { return allow; };
  main.form.OnClose = [&] { ++closes; };
  main.Create();
  main.Show();
  HWND form = main.FormWindow();

  SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(form));
  EXPECT_EQ(closes, 0);

  allow = true;
  const int quitsBefore = gui::QuitsSeen();
  SendMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(main.form.Closed());
  EXPECT_EQ(main.form.Peer(), nullptr);
  EXPECT_EQ(main.grid.Peer(), nullptr);
  gui::Pump(10);
  EXPECT_EQ(gui::QuitsSeen(), quitsBefore + 1);
}

TEST(MainWindow, MessageLoopReturnsWhenTheWindowCloses) {
  ProgramWindow main;
  main.Create();
  main.Show();
  PostMessageA(main.FormWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(toolkit::PlatformMessageLoop(main.form), 0);
  EXPECT_TRUE(main.form.Closed());
}

TEST(MainWindow, CaptionShowsTheFormIconAndTheTaskBarTheProgramIcon) {
  ProgramWindow main;
  main.Create();
  HWND form = main.FormWindow();
  const auto small = SendMessageA(form, WM_GETICON, ICON_SMALL, 0);
  const auto big = SendMessageA(form, WM_GETICON, ICON_BIG, 0);
  ASSERT_NE(small, 0);
  ASSERT_NE(big, 0);
  EXPECT_NE(small, big);
  HICON formIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  EXPECT_EQ(reinterpret_cast<HICON>(small), formIcon);
}

TEST(MainWindow, PanelsHaveARaisedBevelAndTheEditTheWindowColour) {
  ProgramWindow main;
  main.Create();
  main.Show();
  const toolkit::NodeId root = main.tree.AddRoot("C:\\work\\");
  for (const char* name : {"資料", "src", "画像フォルダ"}) main.tree.AddChild(root, name);
  main.tree.AddChild(1, "old");
  main.edit1.SetText("C:\\work\\");
  main.grid.SetRowCount(4);
  const char* const rows[3][5] = {
      {"readme.txt", "      1234", " .TXT", "2001/03/09 07:05:42", "A "},
      {"資料", "<Folder>", " ", "2001/03/08 18:00:00", "D "},
      {"写真.JPG", "    204800", " .JPG", "2001/02/01 12:30:10", "A R "}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 5; ++c) main.grid.SetCell(c, r + 1, rows[r][c]);
  }
  TreeView_Expand(ProgramWindow::Of(main.tree), TreeView_GetRoot(ProgramWindow::Of(main.tree)),
                  TVE_EXPAND);
  main.status.SetText("3 Files  パス名「C:\\work\\」");
  gui::Pump(200);

  HWND panel = ProgramWindow::Of(main.panel1);
  HDC dc = GetDC(panel);
  EXPECT_EQ(GetPixel(dc, 0, 150), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, 199, 150), GetSysColor(COLOR_BTNSHADOW));
  ReleaseDC(panel, dc);
  HWND edit = ProgramWindow::Of(main.edit1);
  dc = GetDC(edit);
  const RECT client = gui::ClientRectOf(edit);
  EXPECT_EQ(GetPixel(dc, client.right - 3, client.bottom / 2), GetSysColor(COLOR_WINDOW));
  ReleaseDC(edit, dc);

  // A picture of the arrangement for people to look at (best effort).
  gui::SaveScreenshot(main.FormWindow(), "main.bmp");
}

TEST(TaskbarButton, TakesTheInterfaceWhenTheShellHasMadeTheButtonAndShowsEveryState) {
  ProgramWindow main;
  main.Create();
  main.Show();
  toolkit::win32::TaskbarButton& button = toolkit::win32::ApplicationWindow::Get().Taskbar();
  toolkit::TaskbarProgress& progress = toolkit::Application::Get().Taskbar();
  progress.SetIndeterminate();
  // The shell's word comes to the window that owns the button, as Explorer sends it (Wine's
  // shell sends none).
  HWND application = GetWindow(main.FormWindow(), GW_OWNER);
  ASSERT_NE(application, nullptr);
  ASSERT_NE(toolkit::win32::TaskbarButton::CreatedMessage(), 0u);
  SendMessageA(application, toolkit::win32::TaskbarButton::CreatedMessage(), 0, 0);
  EXPECT_TRUE(button.Showing());
  for (uint64_t done = 0; done <= 10; ++done) progress.SetProgress(done, 10);
  { toolkit::FailureShown failure(progress); }
  progress.Clear();
  EXPECT_EQ(progress.State(), toolkit::ProgressState::None);
}

}  // namespace
