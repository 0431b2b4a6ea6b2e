// Start-up, the window's make-up, and leaving the program.
#include <gtest/gtest.h>

#include "Unit2/Unit2.h"
#include "resources/texts.h"
#include "tests/form/form_fixture.h"
#include "toolkit/core/application.h"

using headless::Event;
using toolkit::DialogResult;
using toolkit::Rect;

namespace {

class StartupTest : public FormTest {};

TEST_F(StartupTest, BeforeShowingTheWindowHasItsDesignLayoutAndNoState) {
  toolkit::Application::Get().CreateForm(Form());
  EXPECT_EQ(Form().Caption(), "Kestrune Ver.1.00");
  EXPECT_EQ(Form().Bounds(), (Rect{194, 103, 580, 468}));
  EXPECT_FALSE(State().FormShown);
  EXPECT_FALSE(State().TreeReady);
  EXPECT_FALSE(State().ListReady);
  EXPECT_FALSE(State().SortDescending);
  EXPECT_EQ(Form().StringGrid1.RowCount(), 5);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Form().StringGrid1.ColWidth(c), 64) << c;
  EXPECT_EQ(Form().TreeView1.Count(), 0);
  EXPECT_TRUE(headless::Log().empty());
}

TEST_F(StartupTest, ShowingAsksForAFolderAndAppliesTheDefaultLayout) {
  StartProgram();
  EXPECT_EQ(Status(), "検索フォルダを指定して下さい。");
  EXPECT_TRUE(State().FormShown);
  EXPECT_FALSE(State().TreeReady);
  EXPECT_FALSE(State().ListReady);
  const char* headers[] = {"ファイル名", "Bytes", "種類", "更新日時", "属性"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Form().StringGrid1.Cell(c, 0), headers[c]);

  // No settings file: the defaults.
  EXPECT_EQ(Form().Bounds(), (Rect{50, 50, 500, 350}));
  EXPECT_EQ(Form().Panel1.Width(), 200);
  const int widths[] = {120, 80, 50, 50, 50};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Form().StringGrid1.ColWidth(c), widths[c]) << c;
  // In the 492 x 304 client area of that frame: the status line 19 high at the bottom, the
  // folder side on the left above it, the 3-pixel splitter at its right edge, the grid filling
  // the rest; inside Panel1's 1-pixel bevel Panel2 (19 high) on top, the tree below it, and Edit1
  // as wide as Panel1's client area.
  EXPECT_EQ(Form().StatusBar1.Bounds(), (Rect{0, 285, 492, 19}));
  EXPECT_EQ(Form().Panel1.Bounds(), (Rect{0, 0, 200, 285}));
  EXPECT_EQ(Form().Splitter1.Bounds(), (Rect{200, 0, 3, 285}));
  EXPECT_EQ(Form().StringGrid1.Bounds(), (Rect{203, 0, 289, 285}));
  EXPECT_EQ(Form().Panel2.Bounds(), (Rect{1, 1, 198, 19}));
  EXPECT_EQ(Form().TreeView1.Bounds(), (Rect{1, 20, 198, 264}));
  EXPECT_EQ(Form().Edit1.Bounds(), (Rect{0, 0, 200, 20}));
  // A larger window: the grid and the tree take the room.
  Form().SetClientSize(600, 400);
  EXPECT_EQ(Form().StringGrid1.Bounds(), (Rect{203, 0, 397, 381}));
  EXPECT_EQ(Form().TreeView1.Bounds(), (Rect{1, 20, 198, 360}));
  EXPECT_EQ(Form().StatusBar1.Bounds(), (Rect{0, 381, 600, 19}));

  // Nothing is scanned until the user asks.
  EXPECT_EQ(Form().TreeView1.Count(), 0);
  EXPECT_EQ(Volume().Enumerations(), 0);
  EXPECT_TRUE(headless::Texts(Event::Beep).empty());
  EXPECT_TRUE(headless::Texts(Event::Dialog).empty());
}

TEST_F(StartupTest, FoldersComeFromTheExecutablePath) {
  StartProgram();  // the volume's executable is C:\app\Kestrune.exe
  EXPECT_EQ(ExeFolder, "C:\\app\\");
  EXPECT_EQ(State().SearchFolder, "C:\\");
  EXPECT_EQ(State().IniFileName, "C:\\app\\Kestrune.ini");

  // The first folder dialog opens at the drive's root, with the ideographic space preset.
  headless::AnswerOpenDialog(std::nullopt);
  Form().Edit1.Click();
  ASSERT_EQ(headless::Texts(Event::OpenDialog), (std::vector<std::string>{"C:\\"}));
  EXPECT_EQ(Form().OpenDialog1.Title, "検索フォルダ指定");
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::OpenDialog) {
      EXPECT_EQ(e.detail, "\x81\x40");
    }
  }
}

TEST_F(StartupTest, AShareWithoutDriveLetterGivesABackslashDrive) {
  Volume().SetExecutablePath("\\\\server\\share\\app\\Kestrune.exe");
  StartProgram();
  EXPECT_EQ(State().SearchFolder, "\\:\\");
  EXPECT_EQ(State().IniFileName, "\\\\server\\share\\app\\Kestrune.ini");
  headless::AnswerOpenDialog(std::nullopt);
  Form().MnuSearchFolder.Click();
  EXPECT_EQ(headless::Texts(Event::OpenDialog), (std::vector<std::string>{"\\:\\"}));
}

TEST_F(StartupTest, MenuHoldsTheThreeCommandsBetweenSeparators) {
  StartProgram();
  ASSERT_EQ(Form().menu, &Form().MainMenu1);
  ASSERT_EQ(Form().MainMenu1.items.size(), 1u);
  const toolkit::MenuItem& file = *Form().MainMenu1.items[0];
  EXPECT_EQ(file.caption, "ファイル(&F)");
  std::vector<std::string> captions;
  for (const toolkit::MenuItem* item : file.items) captions.push_back(item->caption);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"検索フォルダ指定(&F)...", "-",
                                      "ファイル名の小文字化・開始(&S)...", "-", "終了(&X)"}));
  EXPECT_EQ(Form().MainMenu1.Find("MnuKestrune"), &Form().MnuKestrune);
}

TEST_F(StartupTest, ControlsSitWhereTheFormPutsThem) {
  StartProgram();
  TForm1& f = Form();
  const int clientW = f.ClientWidth();
  const int clientH = f.ClientHeight();
  ASSERT_GT(clientW, 0);
  // Status line along the bottom, full width.
  EXPECT_EQ(f.StatusBar1.Bounds(), (Rect{0, clientH - 19, clientW, 19}));
  // The folder side on the left above it, the splitter right of it, the grid in the rest.
  EXPECT_EQ(f.Panel1.Bounds(), (Rect{0, 0, 200, clientH - 19}));
  EXPECT_EQ(f.Splitter1.Bounds(), (Rect{200, 0, 3, clientH - 19}));
  EXPECT_EQ(f.StringGrid1.Bounds(), (Rect{203, 0, clientW - 203, clientH - 19}));
  EXPECT_EQ(f.Splitter1.ResizeTarget(), &f.Panel1);
  // Inside the folder side: the folder field's panel on top, the tree below it.
  EXPECT_EQ(f.Panel2.Height(), 19);
  EXPECT_EQ(f.Panel2.Top(), 1);
  EXPECT_EQ(f.TreeView1.Top(), 20);
  EXPECT_EQ(f.TreeView1.CreateArgs().indent, 19);
  EXPECT_EQ(f.TreeView1.Selected(), toolkit::kNoNode);
  EXPECT_EQ(f.Edit1.Bounds(), (Rect{0, 0, 200, 20}));
  EXPECT_TRUE(f.Edit1.CreateArgs().readOnly);
  EXPECT_FALSE(f.Edit1.CreateArgs().tabStop);
  EXPECT_EQ(f.Edit1.Text(), "");
  EXPECT_EQ(f.StringGrid1.ColCount(), 5);
  EXPECT_EQ(f.StringGrid1.RowHeight(0), 24);
  EXPECT_EQ(f.StringGrid1.GridLineWidth(), 0);
}

TEST_F(StartupTest, TheFolderFieldFollowsTheWidthOfTheFolderSide) {
  StartProgram();
  TForm1& f = Form();
  // Dragging the splitter 40 pixels to the right.
  f.Splitter1.BeginDrag(201);
  f.Splitter1.DragTo(241);
  f.Splitter1.EndDrag();
  EXPECT_EQ(f.Panel1.Width(), 240);
  EXPECT_EQ(f.Edit1.Width(), 240);
  EXPECT_EQ(f.StringGrid1.Left(), 243);
}

TEST_F(StartupTest, ExitAsksAndOnlyYesCloses) {
  StartProgram();
  headless::AnswerDialog(DialogResult::No);
  Form().MnuExit.Click();
  EXPECT_FALSE(Form().Closed());
  headless::AnswerDialog(DialogResult::Cancel);  // the box's own close box
  Form().MnuExit.Click();
  EXPECT_FALSE(Form().Closed());
  headless::AnswerDialog(DialogResult::Yes);
  Form().MnuExit.Click();
  EXPECT_TRUE(Form().Closed());

  std::vector<Event> dialogs;
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::Dialog) dialogs.push_back(e);
  }
  ASSERT_EQ(dialogs.size(), 3u);
  for (const Event& e : dialogs) {
    EXPECT_EQ(e.text, "終了します。よろしいですか？");
    EXPECT_EQ(e.dialogKind, toolkit::DialogKind::Confirmation);
  }
  // Asking is not a refusal: no beep, and the status line is untouched.
  EXPECT_TRUE(headless::Texts(Event::Beep).empty());
  EXPECT_EQ(Status(), "検索フォルダを指定して下さい。");
}

TEST_F(StartupTest, TheCloseBoxClosesWithoutAsking) {
  StartProgram();
  EXPECT_TRUE(Form().Close());
  EXPECT_TRUE(Form().Closed());
  EXPECT_TRUE(headless::Texts(Event::Dialog).empty());
}

TEST_F(StartupTest, StoredSettingsArriveBeforeTheLayoutIsApplied) {
  Volume().WriteFile("C:\\app\\Kestrune.ini",
                     "[Comp]\r\nF1_P1=250\r\nF1_SG1=100\r\n[Set]\r\nFLD1=D:\\data\\\r\n");
  StartProgram();
  EXPECT_EQ(Form().Bounds(), (Rect{50, 50, 500, 350}));
  EXPECT_EQ(Form().Panel1.Width(), 250);
  EXPECT_EQ(Form().Edit1.Width(), 250);
  EXPECT_EQ(Form().Splitter1.Left(), 250);
  EXPECT_EQ(Form().StringGrid1.ColWidth(1), 100);
  EXPECT_EQ(Form().StringGrid1.ColWidth(0), 120);
  EXPECT_EQ(State().SearchFolder, "D:\\data\\");
  headless::AnswerOpenDialog(std::nullopt);
  Form().Edit1.Click();
  EXPECT_EQ(headless::Texts(Event::OpenDialog), (std::vector<std::string>{"D:\\data\\"}));
}

TEST_F(StartupTest, ABadStoredNumberStopsTheShowWhereItStands) {
  Volume().WriteFile("C:\\app\\Kestrune.ini",
                     "[Form]\r\nF1_X=10\r\nF1_Y=abc\r\n[Set]\r\nFLD1=D:\\data\\\r\n");
  StartProgram();
  ASSERT_EQ(headless::Texts(Event::ErrorBox),
            (std::vector<std::string>{"'abc' は整数ではありません."}));
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::ErrorBox) {
      EXPECT_EQ(e.detail, "Kestrune Ver.1.10");
    }
  }
  // What came before the settings stays; nothing after the bad key happens.
  EXPECT_EQ(Status(), "検索フォルダを指定して下さい。");
  EXPECT_TRUE(State().FormShown);
  EXPECT_EQ(Form().StringGrid1.Cell(0, 0), "ファイル名");
  EXPECT_EQ(State().IniFileName, "C:\\app\\Kestrune.ini");
  EXPECT_EQ(State().SearchFolder, "C:\\");
  EXPECT_EQ(Form().Bounds(), (Rect{194, 103, 580, 468}));
  EXPECT_EQ(Form().Panel1.Width(), 160);
  EXPECT_EQ(Form().StringGrid1.ColWidth(1), 64);
  // The window is usable all the same.
  Volume().MakeFolder("C:\\work\\src");
  ChooseFolder("C:\\work\\");
  EXPECT_TRUE(State().TreeReady);
}

TEST_F(StartupTest, EveryCloseSavesTheLayoutAsItIsThen) {
  StartProgram();
  Form().Splitter1.BeginDrag(201);
  Form().Splitter1.DragTo(241);
  Form().Splitter1.EndDrag();
  Form().StringGrid1.SetColWidth(3, 77);
  EXPECT_TRUE(Form().Close());
  std::string ini;
  ASSERT_TRUE(Volume().ReadFile("C:\\app\\Kestrune.ini", ini));
  EXPECT_NE(ini.find("F1_P1=240"), std::string::npos) << ini;
  EXPECT_NE(ini.find("F1_SG3=77"), std::string::npos) << ini;
  EXPECT_NE(ini.find("FLD1=C:\\"), std::string::npos) << ini;
}

}  // namespace
