// Modal boxes with real windows, answered from a helper thread: the message dialogs and their
// keys, the disabling of the program's windows, the error box, and the file-open dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/texts.h"
#include "tests/gui/gui_fixture.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"
#include "toolkit/win32/message_dialog.h"

namespace {

using gui::ProgramWindow;
using toolkit::DialogKind;
using toolkit::DialogResult;
using toolkit::win32::MessageDialog;

HWND FindMessageDialog() {
  return gui::FindThreadWindow(gui::TestThread(), MessageDialog::kClassName);
}

// The focused control of a box, once the box has the focus (the box itself if it never gets it).
HWND FocusIn(HWND dialog) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 2000) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(gui::TestThread(), &info);
    if (info.hwndFocus != nullptr &&
        (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus))) {
      return info.hwndFocus;
    }
    Sleep(10);
  }
  return dialog;
}

// What the helper thread saw while a dialog was open.
struct Seen {
  std::string caption;
  std::vector<std::string> buttons;
  bool formEnabled = true;
  // Control ids, read while the box is up.
  int focusId = 0;
  int defaultId = 0;
  RECT dialog{};
  std::vector<RECT> buttonRects;
  RECT client{};
};

BOOL CALLBACK NoteButton(HWND child, LPARAM data) {
  auto* seen = reinterpret_cast<Seen*>(data);
  char cls[16] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") != 0) return TRUE;  // the message's static control
  seen->buttonRects.push_back(gui::RectInParent(child));
  if ((GetWindowLongA(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) {
    seen->defaultId = GetDlgCtrlID(child);
  }
  return TRUE;
}

class MessageDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.Create();
    main.Show();
    SetForegroundWindow(main.FormWindow());
    SetActiveWindow(main.FormWindow());
    gui::Pump(20);
  }

  // Shows a dialog of the kind and answers it with `answer` once it is up.
  DialogResult Run(DialogKind kind, const std::function<void(HWND)>& answer) {
    seen = Seen{};
    Driver driver(FindMessageDialog, [&](HWND dialog) {
      seen.caption = gui::TextOf(dialog);
      seen.buttons = gui::ChildTexts(dialog, "Button");
      seen.formEnabled = IsWindowEnabled(main.FormWindow()) != FALSE;
      seen.focusId = GetDlgCtrlID(FocusIn(dialog));
      GetWindowRect(dialog, &seen.dialog);
      GetClientRect(dialog, &seen.client);
      EnumChildWindows(dialog, NoteButton, reinterpret_cast<LPARAM>(&seen));
      answer(dialog);
    });
    const DialogResult result = toolkit::MessageDlg(kind, texts::kConfirmExit);
    found = driver.Join();
    return result;
  }

  using Driver = gui::Driver;
  ProgramWindow main;
  Seen seen;
  bool found = false;
};

TEST_F(MessageDialogTest, ConfirmationShowsItsCaptionAndButtonsWithTheProgramDisabled) {
  const DialogResult result = Run(DialogKind::Confirmation, [](HWND dialog) {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  ASSERT_TRUE(found);
  EXPECT_EQ(seen.caption, texts::kCaptionConfirmation);
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{texts::kButtonYes, texts::kButtonNo}));
  EXPECT_FALSE(seen.formEnabled);
  EXPECT_EQ(seen.focusId, IDYES);
  EXPECT_EQ(seen.defaultId, IDYES);
  EXPECT_EQ(result, DialogResult::Cancel);
  // Afterwards the program is enabled and active again.
  EXPECT_TRUE(IsWindowEnabled(main.FormWindow()));
  EXPECT_EQ(GetActiveWindow(), main.FormWindow());
  EXPECT_EQ(FindMessageDialog(), nullptr);
}

TEST_F(MessageDialogTest, BoxIsCentredWithItsButtonsCentredBelowTheText) {
  Run(DialogKind::Confirmation, [](HWND dialog) {
    gui::SaveScreenshot(dialog, "confirm.bmp");
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  ASSERT_TRUE(found);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(seen.dialog.left - (screenWidth - seen.dialog.right)), 1);
  EXPECT_LE(std::abs(seen.dialog.top - (screenHeight - seen.dialog.bottom)), 1);
  ASSERT_EQ(seen.buttonRects.size(), 2u);
  const RECT& yes = seen.buttonRects[0];
  const RECT& no = seen.buttonRects[1];
  EXPECT_EQ(yes.top, no.top);
  EXPECT_LT(yes.right, no.left);
  EXPECT_LE(std::abs(yes.left - (seen.client.right - no.right)), 1);
  // The text sits right of the 32x32 icon, so the box is wider than icon and buttons alone.
  EXPECT_GT(seen.client.right, 32 + (no.right - yes.left));
  EXPECT_LE(seen.client.right, screenWidth / 2 + 200);
}

TEST_F(MessageDialogTest, ConfirmationKeys) {
  struct Case {
    const char* name;
    std::function<void(HWND)> press;
    DialogResult expected;
  };
  const std::vector<Case> cases = {
      {"Y", [](HWND dialog) { gui::PostKey(FocusIn(dialog), 'Y', 'y'); }, DialogResult::Yes},
      {"N", [](HWND dialog) { gui::PostKey(FocusIn(dialog), 'N', 'n'); }, DialogResult::No},
      {"Esc", [](HWND dialog) { gui::PostKey(FocusIn(dialog), VK_ESCAPE, 0); }, DialogResult::No},
      {"Enter", [](HWND dialog) { gui::PostKey(FocusIn(dialog), VK_RETURN, 0); },
       DialogResult::Yes},
      {"Tab then Enter",
       [](HWND dialog) {
         HWND yes = FocusIn(dialog);
         gui::PostKey(yes, VK_TAB, 0);
         const DWORD start = GetTickCount();
         while (FocusIn(dialog) == yes && GetTickCount() - start < 2000) Sleep(10);
         gui::PostKey(FocusIn(dialog), VK_RETURN, 0);
       },
       DialogResult::No},
      {"No button", [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDNO), BM_CLICK, 0, 0); },
       DialogResult::No},
      {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
       DialogResult::Cancel},
  };
  for (const Case& c : cases) {
    found = false;
    EXPECT_EQ(Run(DialogKind::Confirmation, c.press), c.expected) << c.name;
    EXPECT_TRUE(found) << c.name;
    EXPECT_TRUE(IsWindowEnabled(main.FormWindow())) << c.name;
  }
}

TEST_F(MessageDialogTest, InformationAndErrorAnswerOkToEnterAndEscAndCancelToTheCloseBox) {
  for (DialogKind kind : {DialogKind::Information, DialogKind::Error}) {
    const char* caption =
        kind == DialogKind::Information ? texts::kCaptionInformation : texts::kCaptionError;
    EXPECT_EQ(Run(kind, [](HWND dialog) { gui::PostKey(FocusIn(dialog), VK_RETURN, 0); }),
              DialogResult::Ok);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_EQ(seen.buttons, std::vector<std::string>{texts::kButtonOk});
    EXPECT_EQ(Run(kind, [](HWND dialog) { gui::PostKey(FocusIn(dialog), VK_ESCAPE, 0); }),
              DialogResult::Ok);
    EXPECT_EQ(Run(kind, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }),
              DialogResult::Cancel);
    EXPECT_TRUE(found);
  }
}

TEST_F(MessageDialogTest, AQuitRequestEndsTheBoxAndStaysForTheOuterLoop) {
  const int quitsBefore = gui::QuitsSeen();
  const DialogResult result = Run(
      DialogKind::Confirmation, [](HWND) { PostThreadMessageA(gui::TestThread(), WM_QUIT, 7, 0); });
  EXPECT_EQ(result, DialogResult::Cancel);
  gui::Pump(10);
  EXPECT_EQ(gui::QuitsSeen(), quitsBefore + 1);
  EXPECT_TRUE(IsWindowEnabled(main.FormWindow()));
}

TEST_F(MessageDialogTest, HandlerErrorShowsTheErrorBoxUnderTheApplicationTitle) {
  main.edit1.OnClick = [] { throw toolkit::Error("'x1' は整数ではありません"); };
  std::vector<std::string> statics;
  Driver driver(
      [] { return gui::FindThreadWindow(gui::TestThread(), "#32770", texts::kApplicationTitle); },
      [&](HWND box) {
        statics = gui::ChildTexts(box, "Static");
        seen.formEnabled = IsWindowEnabled(main.FormWindow()) != FALSE;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
  HWND edit = ProgramWindow::Of(main.edit1);
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  ASSERT_TRUE(driver.Join());
  EXPECT_NE(std::find(statics.begin(), statics.end(), "'x1' は整数ではありません."), statics.end());
  EXPECT_FALSE(seen.formEnabled);
  // The program goes on.
  EXPECT_TRUE(IsWindow(main.FormWindow()));
  EXPECT_TRUE(IsWindowEnabled(main.FormWindow()));
}

class OpenDialogTest : public MessageDialogTest {
 protected:
  std::string TempFolder() const {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string folder = path;
    if (folder.back() != '\\') folder += '\\';
    return folder;
  }
};

HWND FindOpenDialog() {
  return gui::FindThreadWindow(gui::TestThread(), "#32770", texts::kOpenDialogTitle);
}

TEST_F(OpenDialogTest, OpenWithThePresetNameReturnsTheFolderShown) {
  toolkit::OpenDialog dialog;
  dialog.Title = texts::kOpenDialogTitle;
  dialog.InitialDir = TempFolder();
  dialog.FileName = texts::kOpenDialogPresetName;
  std::string typed;
  Driver driver(FindOpenDialog, [&](HWND box) {
    seen.formEnabled = IsWindowEnabled(main.FormWindow()) != FALSE;
    // The dialog shows its title before it has filled its name field; on a busy machine the
    // field comes later than the driver's settling pause.
    for (int waited = 0; waited < 3000 && typed.empty(); waited += 10) {
      typed = gui::TextOf(GetDlgItem(box, 0x47C));
      if (typed.empty()) Sleep(10);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(dialog.Execute());
  ASSERT_TRUE(driver.Join());
  EXPECT_EQ(typed, texts::kOpenDialogPresetName);
  EXPECT_FALSE(seen.formEnabled);
  EXPECT_EQ(dialog.FileName, TempFolder() + texts::kOpenDialogPresetName);
  EXPECT_TRUE(IsWindowEnabled(main.FormWindow()));
}

TEST_F(OpenDialogTest, ATypedPathNeedNotExist) {
  toolkit::OpenDialog dialog;
  dialog.Title = texts::kOpenDialogTitle;
  dialog.InitialDir = TempFolder();
  dialog.FileName = texts::kOpenDialogPresetName;
  const std::string wanted = TempFolder() + "no such folder\\x.txt";
  Driver driver(FindOpenDialog, [&](HWND box) {
    SendMessageA(GetDlgItem(box, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wanted.c_str()));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  const bool chosen = dialog.Execute();
  ASSERT_TRUE(driver.Join());
  EXPECT_TRUE(chosen);
  EXPECT_EQ(dialog.FileName, wanted);
}

TEST_F(OpenDialogTest, CancelLeavesTheNameAsItWas) {
  toolkit::OpenDialog dialog;
  dialog.Title = texts::kOpenDialogTitle;
  dialog.InitialDir = TempFolder();
  dialog.FileName = texts::kOpenDialogPresetName;
  Driver driver(FindOpenDialog, [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_FALSE(dialog.Execute());
  ASSERT_TRUE(driver.Join());
  EXPECT_EQ(dialog.FileName, texts::kOpenDialogPresetName);
  EXPECT_TRUE(IsWindowEnabled(main.FormWindow()));
}

}  // namespace
