// The main window and its settings file, as a user meets them: what a start makes of the file
// beside the executable, what a close leaves in it, and what the next start makes of that.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Unit1/Form1.h"
#include "platform/memory/memory_volume.h"
#include "resources/texts.h"
#include "tests/form_state.h"
#include "toolkit/core/application.h"
#include "toolkit/headless/headless.h"

namespace {

using headless::Event;
using toolkit::Rect;

constexpr char kIni[] = "C:\\app\\Kestrune.ini";  // beside C:\app\Kestrune.exe

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Volume().Reset();
    Volume().MakeFolder("C:\\app");
    headless::Reset();
    TForm1::ConfigureApplication();
  }

  void TearDown() override { EXPECT_EQ(headless::UnansweredDialogs(), 0); }

  memory::Volume& Volume() { return memory::Volume::Get(); }

  // A new start of the program on the same volume: a new window, created and shown.
  TForm1& Start() {
    form_ = std::make_unique<TForm1>();
    toolkit::Application::Get().CreateForm(*form_);
    toolkit::PlatformShowForm(*form_);
    return *form_;
  }

  void PutIni(const std::string& bytes) { ASSERT_TRUE(Volume().WriteFile(kIni, bytes)); }
  std::optional<std::string> Ini() {
    std::string bytes;
    if (!Volume().ReadFile(kIni, bytes)) return std::nullopt;
    return bytes;
  }

  // Where the first folder dialog opens.
  std::string FolderDialogStart(TForm1& form) {
    headless::ClearLog();
    headless::AnswerOpenDialog(std::nullopt);
    form.MnuSearchFolder.Click();
    const std::vector<std::string> dialogs = headless::Texts(Event::OpenDialog);
    return dialogs.empty() ? "<no dialog>" : dialogs.front();
  }

  std::vector<int> ColumnWidths(TForm1& form) {
    std::vector<int> widths;
    for (int c = 0; c < 5; ++c) widths.push_back(form.StringGrid1.ColWidth(c));
    return widths;
  }

  void ExpectDefaultLayout(TForm1& form) {
    EXPECT_EQ(form.Bounds(), (Rect{50, 50, 500, 350}));
    EXPECT_EQ(form.Panel1.Width(), 200);
    EXPECT_EQ(ColumnWidths(form), (std::vector<int>{120, 80, 50, 50, 50}));
  }

  std::unique_ptr<TForm1> form_;
};

TEST_F(SettingsFormTest, AFileWithOnlyTheFolderOpensTheDialogThereAndKeepsTheSizes) {
  PutIni("[Set]\r\nFLD1=D:\\data\\\r\n");
  TForm1& form = Start();
  ExpectDefaultLayout(form);
  EXPECT_EQ(FormStateOf::Read(form).SearchFolder, "D:\\data\\");
  EXPECT_EQ(FolderDialogStart(form), "D:\\data\\");
}

TEST_F(SettingsFormTest, StoredNumbersReplaceTheDefaultsOneByOne) {
  // Hexadecimal forms and a zero apply unchanged; an empty F1_W counts as absent.
  PutIni(
      "[Form]\r\nF1_X=$1F4\r\nF1_Y=0x1F4\r\nF1_W=\r\nF1_H=  400\r\n"
      "[Comp]\r\nF1_SG2=0\r\nF1_SG4=X10\r\n");
  TForm1& form = Start();
  EXPECT_EQ(form.Bounds(), (Rect{500, 500, 500, 400}));
  EXPECT_EQ(form.Panel1.Width(), 200);
  EXPECT_EQ(ColumnWidths(form), (std::vector<int>{120, 80, 0, 50, 16}));
  EXPECT_TRUE(headless::Texts(Event::ErrorBox).empty());
}

TEST_F(SettingsFormTest, ANumberIsReadThroughABufferOf22Bytes) {
  // 30 bytes on file: 21 that make a number, then more that would not. Only the 21 are read.
  const std::string x = std::string(18, '0') + "123" + "456789abc";
  const std::string y = std::string(18, '0') + "400" + " pixels";
  ASSERT_EQ(x.size(), 30u);
  PutIni("[Form]\r\nF1_X=" + x + "\r\nF1_Y=" + y + "\r\n");
  TForm1& form = Start();
  EXPECT_TRUE(headless::Texts(Event::ErrorBox).empty());
  EXPECT_EQ(form.Bounds().left, 123);
  EXPECT_EQ(form.Bounds().top, 400);
}

TEST_F(SettingsFormTest, ANumberCutToBlanksIsNotANumber) {
  // Quoted, so that the 21 spaces in front of the digits stay; the cut leaves only them.
  PutIni("[Comp]\r\nF1_P1=\"                     250\"\r\n");
  TForm1& form = Start();
  EXPECT_EQ(headless::Texts(Event::ErrorBox),
            std::vector<std::string>{"'                     ' は整数ではありません."});
  EXPECT_EQ(form.Panel1.Width(), 160) << "no layout applied";
}

TEST_F(SettingsFormTest, ABadNumberStopsTheLoadAndShowsTheDesignLayout) {
  PutIni(
      "[Form]\r\nF1_X=10\r\nF1_Y=abc\r\nF1_W=300\r\n[Comp]\r\nF1_P1=90\r\n"
      "[Set]\r\nFLD1=D:\\data\\\r\n");
  TForm1& form = Start();

  std::vector<Event> boxes;
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::ErrorBox) boxes.push_back(e);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "'abc' は整数ではありません.");
  EXPECT_EQ(boxes[0].detail, "Kestrune Ver.1.10");

  // What the show did before the settings stays; nothing after the bad key happened.
  EXPECT_TRUE(FormStateOf::Read(form).FormShown);
  EXPECT_EQ(form.StatusBar1.Text(), texts::kChooseSearchFolder);
  EXPECT_EQ(FormStateOf::Read(form).IniFileName, kIni);
  EXPECT_EQ(form.Bounds(), (Rect{194, 103, 580, 468}));
  EXPECT_EQ(form.Panel1.Width(), 160);
  EXPECT_EQ(ColumnWidths(form), (std::vector<int>{64, 64, 64, 64, 64}));
  EXPECT_EQ(FormStateOf::Read(form).SearchFolder, "C:\\") << "FLD1 comes after the bad key";
  EXPECT_EQ(FolderDialogStart(form), "C:\\");
}

TEST_F(SettingsFormTest, TheErrorQuotesTheValueAsRead) {
  // Read and quoted as stored: quotes off, cut to 21 bytes, two-byte text unchanged.
  PutIni("[Comp]\r\nF1_SG0='\x82\x50\x82\x4F\x82\x4F'\r\n");  // full-width 100
  Start();
  EXPECT_EQ(headless::Texts(Event::ErrorBox),
            std::vector<std::string>{"'１００' は整数ではありません."});
}

TEST_F(SettingsFormTest, ALongFolderIsCutTo511Bytes) {
  const std::string folder = "D:\\" + std::string(600, 'f') + "\\";
  PutIni("[Set]\r\nFLD1=" + folder + "\r\n");
  TForm1& form = Start();
  EXPECT_EQ(FormStateOf::Read(form).SearchFolder, folder.substr(0, 511));
}

TEST_F(SettingsFormTest, WithoutAFileTheDefaultsApplyAndTheFirstCloseWritesEveryKey) {
  TForm1& form = Start();
  ExpectDefaultLayout(form);
  EXPECT_EQ(FolderDialogStart(form), "C:\\");
  EXPECT_FALSE(Ini().has_value()) << "reading creates no file";
  form.Close();
  // In table order, each section as it first appears.
  EXPECT_EQ(Ini(),
            "[Form]\r\nF1_X=50\r\nF1_Y=50\r\nF1_W=500\r\nF1_H=350\r\n"
            "[Comp]\r\nF1_P1=200\r\nF1_SG0=120\r\nF1_SG1=80\r\nF1_SG2=50\r\nF1_SG3=50\r\n"
            "F1_SG4=50\r\n"
            "[Set]\r\nFLD1=C:\\\r\n");
}

TEST_F(SettingsFormTest, ClosingKeepsWhatElseTheFileHolds) {
  PutIni("; mine\r\n[Other]\r\nx=1\r\n[Form]\r\nF1_W=640\r\nnote=keep\r\n");
  TForm1& form = Start();
  EXPECT_EQ(form.Bounds().width, 640);
  form.Close();
  EXPECT_EQ(Ini(),
            "; mine\r\n[Other]\r\nx=1\r\n"
            "[Form]\r\nF1_W=640\r\nnote=keep\r\nF1_X=50\r\nF1_Y=50\r\nF1_H=350\r\n"
            "[Comp]\r\nF1_P1=200\r\nF1_SG0=120\r\nF1_SG1=80\r\nF1_SG2=50\r\nF1_SG3=50\r\n"
            "F1_SG4=50\r\n"
            "[Set]\r\nFLD1=C:\\\r\n");
}

TEST_F(SettingsFormTest, AMovedSplitterAndADraggedColumnSurviveARestart) {
  TForm1& first = Start();
  // Drag the splitter (at the right edge of the 200-pixel panel) 50 pixels to the right.
  const int splitterLeft = first.Splitter1.Left();
  first.Splitter1.BeginDrag(splitterLeft + 1);
  first.Splitter1.DragTo(splitterLeft + 51);
  first.Splitter1.EndDrag();
  ASSERT_EQ(first.Panel1.Width(), 250);
  // Drag the right border of column 0 (at x = 120 in the grid) to x = 150.
  toolkit::StringGrid& grid = first.StringGrid1;
  grid.MouseDown(toolkit::MouseButton::Left, toolkit::ssNone, 120, 5);
  grid.MouseMove(toolkit::ssNone, 150, 5);
  grid.MouseUp(toolkit::MouseButton::Left, toolkit::ssNone, 150, 5);
  ASSERT_EQ(grid.ColWidth(0), 150);
  first.SetBounds({7, 8, 600, 400});
  Volume().MakeFolder("E:\\photos");
  headless::AnswerOpenDialog(std::string("E:\\photos\\") + texts::kOpenDialogPresetName);
  first.MnuSearchFolder.Click();
  first.Close();

  TForm1& second = Start();
  EXPECT_EQ(second.Panel1.Width(), 250);
  EXPECT_EQ(ColumnWidths(second), (std::vector<int>{150, 80, 50, 50, 50}));
  EXPECT_EQ(second.Bounds(), (Rect{7, 8, 600, 400}));
  EXPECT_EQ(FormStateOf::Read(second).SearchFolder, "E:\\photos\\");
  EXPECT_TRUE(headless::Texts(Event::ErrorBox).empty());
}

TEST_F(SettingsFormTest, NegativeWidthsAreDrawnAsNoneAndWrittenBackAsRead) {
  // The stored values are the user's: only the grid's geometry reads them as zero.
  PutIni("[Comp]\r\nF1_P1=-50\r\nF1_SG0=-1\r\nF1_SG1=-2147483648\r\nF1_SG2=$FFFFFFFF\r\n");
  TForm1& form = Start();
  EXPECT_EQ(ColumnWidths(form), (std::vector<int>{-1, INT32_MIN, -1, 50, 50}));
  EXPECT_EQ(form.StringGrid1.CellRect(3, 0).left, 0) << "three columns drawn as none";
  EXPECT_EQ(form.StringGrid1.CellAt(0, 5).col, 3) << "x = 0 lies in the first column drawn";
  form.Close();
  EXPECT_EQ(Ini(),
            "[Comp]\r\nF1_P1=-50\r\nF1_SG0=-1\r\nF1_SG1=-2147483648\r\nF1_SG2=-1\r\n"
            "F1_SG3=50\r\nF1_SG4=50\r\n"
            "[Form]\r\nF1_X=50\r\nF1_Y=50\r\nF1_W=500\r\nF1_H=350\r\n"
            "[Set]\r\nFLD1=C:\\\r\n");
}

TEST_F(SettingsFormTest, AFolderThatCannotBeWrittenClosesSilently) {
  TForm1& form = Start();
  Volume().SetWriteProtected("C:\\app");
  headless::ClearLog();
  form.Close();
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(Ini().has_value());
  EXPECT_TRUE(headless::Log().empty());
}

}  // namespace
