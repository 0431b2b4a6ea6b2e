// The main window test fixture.
#include "tests/form/form_fixture.h"

#include "resources/texts.h"
#include "toolkit/core/application.h"

void FormTest::SetUp() {
  memory::Volume::Get().Reset();
  // The program itself, in the folder its settings file goes to.
  memory::Volume::Get().MakeFile("C:\\app\\Kestrune.exe", 250000);
  headless::Reset();
  TForm1::ConfigureApplication();
  form_ = std::make_unique<TForm1>();
}

void FormTest::TearDown() {
  EXPECT_EQ(headless::UnansweredDialogs(), 0) << "a dialog appeared that the test did not expect";
  EXPECT_EQ(Volume().OpenEnumerations(), 0) << "an enumeration was left open";
}

void FormTest::NewProcess() {
  EXPECT_EQ(headless::UnansweredDialogs(), 0) << "a dialog appeared that the test did not expect";
  form_.reset();
  // The volume outlives the process that died on it; what the process held open, it does not.
  Volume().CrashAfterChanges(0);
  headless::Reset();
  form_ = std::make_unique<TForm1>();
}

void FormTest::StartProgram() {
  toolkit::Application::Get().CreateForm(Form());
  toolkit::PlatformShowForm(Form());
}

void FormTest::ChooseFolder(const std::string& folder) {
  headless::AnswerOpenDialog(folder + texts::kOpenDialogPresetName);
  Form().MnuSearchFolder.Click();
}

void FormTest::ClickNode(int absoluteIndex) {
  Form().TreeView1.Select(Form().TreeView1.NodeAt(absoluteIndex));
  Form().TreeView1.Click();
}

void FormTest::PressHeader(int col) {
  toolkit::StringGrid& grid = Form().StringGrid1;
  int left = 0;
  for (int c = grid.LeftCol(); c < col; ++c) left += grid.ColWidth(c) + grid.GridLineWidth();
  grid.MouseDown(toolkit::MouseButton::Left, toolkit::ssNone, left + grid.ColWidth(col) / 2,
                 grid.RowHeight(0) / 2);
}

std::vector<std::string> FormTest::TreeTexts() {
  std::vector<std::string> texts;
  for (int i = 0; i < Form().TreeView1.Count(); ++i) {
    texts.push_back(Form().TreeView1.Text(Form().TreeView1.NodeAt(i)));
  }
  return texts;
}

std::vector<std::string> FormTest::TreePaths() {
  std::vector<std::string> paths;
  for (int i = 0; i < Form().TreeView1.Count(); ++i) paths.push_back(Form().FolderPathOfNode(i));
  return paths;
}

std::vector<std::string> FormTest::Column(int col) {
  std::vector<std::string> cells;
  for (int r = 1; r < Form().StringGrid1.RowCount(); ++r) {
    cells.push_back(Form().StringGrid1.Cell(col, r));
  }
  return cells;
}

std::vector<std::string> FormTest::Rows() {
  std::vector<std::string> rows;
  for (int r = 1; r < Form().StringGrid1.RowCount(); ++r) {
    std::string row;
    for (int c = 0; c < Form().StringGrid1.ColCount(); ++c) {
      if (c > 0) row += '|';
      row += Form().StringGrid1.Cell(c, r);
    }
    rows.push_back(row);
  }
  return rows;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}
