// A shown main window on a fresh memory volume and headless toolkit, and the few steps a user
// takes, so that each test reads as a story of what the user did and saw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Unit1/Form1.h"
#include "platform/memory/memory_volume.h"
#include "tests/form_state.h"
#include "toolkit/core/application.h"
#include "toolkit/headless/headless.h"

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window (FormCreate) and shows it (FormShow, then the layout).
  void StartProgram();
  // The program ends, however it ended, and a new one will start over the same volume: a new
  // window (StartProgram shows it), nothing kept in memory.
  void NewProcess();

  TForm1& Form() { return *form_; }
  FormState State() { return FormStateOf::Read(*form_); }
  memory::Volume& Volume() { return memory::Volume::Get(); }

  // The user picks folder in the open dialog (by menu) and presses Open with the preset name.
  void ChooseFolder(const std::string& folder);
  // The user clicks the node at an absolute index of the folder tree.
  void ClickNode(int absoluteIndex);
  // The user presses the mouse in the header cell of a column (its middle).
  void PressHeader(int col);

  // Node texts by absolute index.
  std::vector<std::string> TreeTexts();
  // Paths of all nodes by absolute index.
  std::vector<std::string> TreePaths();
  // The cells of one column for data rows 1..last.
  std::vector<std::string> Column(int col);
  // All data rows, joined cell by cell with '|'.
  std::vector<std::string> Rows();

  std::string Status() { return Form().StatusBar1.Text(); }
  // Every status text set, in order.
  std::vector<std::string> StatusHistory() { return headless::Texts(headless::Event::Status); }

 private:
  std::unique_ptr<TForm1> form_;
};

// Shift-JIS bytes written out, for names whose bytes matter.
std::string Bytes(std::initializer_list<int> bytes);
