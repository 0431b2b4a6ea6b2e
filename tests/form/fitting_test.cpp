// Re-padding the sizes to the measured digit width whenever the size header is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "platform/text.h"
#include "resources/texts.h"
#include "tests/form/form_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class FittingTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Volume().MakeFile("C:\\f\\seven", 7);
    Volume().MakeFolder("C:\\f\\sub");
    Volume().MakeFile("C:\\f\\large", 12345);
    Volume().MakeFile("C:\\f\\huge", 5368709120ull);
    Volume().MakeFolder("C:\\f\\empty");
    StartProgram();
    // Count the draws of the size header, passing every draw on to the form.
    auto formDraw = Form().StringGrid1.OnDrawCell;
    Form().StringGrid1.OnDrawCell = [this, formDraw](int col, int row, const toolkit::Rect& r) {
      if (col == 1 && row == 0) ++headerDraws_;
      formDraw(col, row, r);
    };
    headless::SetGridCharWidth(7);  // the "0" of ＭＳ ゴシック at 13 pixels
    ChooseFolder("C:\\f\\");
    ClickNode(0);
  }

  void Paint() {
    headless::TakeChangedCells(Form().StringGrid1);
    headless::PaintGrid(Form().StringGrid1);
  }

  int headerDraws_ = 0;
};

TEST_F(FittingTest, APaintRepadsTheSizesToTheMeasuredDigit) {
  ASSERT_EQ(Column(1), (Strings{"         7", "<Folder>", "     12345", "5368709120", "<Folder>"}));
  Paint();
  // 80 pixels of 7-pixel digits: 11 characters, one more than the listing's estimate.
  EXPECT_EQ(Column(1),
            (Strings{"          7", "<Folder>", "      12345", " 5368709120", "<Folder>"}));
  EXPECT_EQ(headerDraws_, 1);
  // Only the size cells were written, so the header is not drawn again because of them.
  const std::vector<toolkit::GridCoord> written = headless::TakeChangedCells(Form().StringGrid1);
  EXPECT_EQ(written, (std::vector<toolkit::GridCoord>{{1, 1}, {1, 3}, {1, 4}}));
  // A second repaint finds every size fitted and writes nothing.
  Paint();
  EXPECT_EQ(headerDraws_, 2);
  EXPECT_TRUE(headless::TakeChangedCells(Form().StringGrid1).empty());
  EXPECT_EQ(Column(1)[0], "          7");
}

TEST_F(FittingTest, ANarrowColumnGetsThreeCharactersAndLongerNumbersWhole) {
  Form().StringGrid1.SetColWidth(1, 10);
  Paint();
  EXPECT_EQ(Column(1), (Strings{"  7", "<Folder>", "12345", "5368709120", "<Folder>"}));
  // Widening again brings the padding back.
  Form().StringGrid1.SetColWidth(1, 150);
  Paint();
  EXPECT_EQ(Column(1),
            (Strings{std::string(20, ' ') + "7", "<Folder>", std::string(16, ' ') + "12345",
                     std::string(11, ' ') + "5368709120", "<Folder>"}));
}

TEST_F(FittingTest, ATinyDigitCountsAsThreePixels) {
  headless::SetGridCharWidth(1);
  Form().StringGrid1.SetColWidth(1, 30);
  Paint();
  EXPECT_EQ(Column(1)[0], std::string(9, ' ') + "7");
}

TEST_F(FittingTest, SizeTextIsReadAsAnyIntegerTextAndOtherTextAsZero) {
  Form().StringGrid1.SetCell(1, 1, "7 bytes");
  Form().StringGrid1.SetCell(1, 3, "x1F");
  Paint();
  EXPECT_EQ(Column(1)[0], "          0");
  EXPECT_EQ(Column(1)[2], "         31");
}

TEST_F(FittingTest, EveryKindOfSizeTextIsFittedAsTheIntegerItReads) {
  // Texts the listing writes, and texts it never writes but a cell could hold, with the integer
  // each reads as: leading spaces, a sign and the hexadecimal forms are read; anything else,
  // trailing spaces and numbers beyond 64 bits included, reads as 0.
  const std::vector<std::pair<std::string, std::string>> reads = {
      {"7", "7"},
      {"  -5", "-5"},
      {"-0", "0"},
      {"007", "7"},
      {"+5", "5"},
      {" 12 ", "0"},
      {"$1F", "31"},
      {"0X10", "16"},
      {"x", "0"},
      {"0", "0"},
      {"   0", "0"},
      {"123456789012345678", "123456789012345678"},
      {"9223372036854775807", "9223372036854775807"},
      {"99999999999999999999", "0"},
      {"-9223372036854775808", "-9223372036854775808"},
      {"1234567890123456789012345", "0"}};
  Form().StringGrid1.SetRowCount(static_cast<int>(reads.size()) + 1);
  for (size_t i = 0; i < reads.size(); ++i) {
    Form().StringGrid1.SetCell(1, static_cast<int>(i) + 1, reads[i].first);
  }
  // 7-pixel digits: 80 pixels hold 11, 10 pixels three (the least), 200 pixels 28.
  for (const auto& [width, digits] : {std::pair{80, 11}, {10, 3}, {200, 28}}) {
    Form().StringGrid1.SetColWidth(1, width);
    Paint();
    for (size_t i = 0; i < reads.size(); ++i) {
      const std::string& value = reads[i].second;
      const size_t pad = value.size() < static_cast<size_t>(digits) ? digits - value.size() : 0;
      EXPECT_EQ(Column(1)[i], std::string(pad, ' ') + value)
          << "\"" << reads[i].first << "\" at " << width << " pixels";
    }
  }
}

TEST_F(FittingTest, NothingHappensWithoutAListing) {
  ClickNode(1);  // the empty folder: one empty row
  ASSERT_FALSE(State().ListReady);
  Paint();
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_TRUE(headless::TakeChangedCells(Form().StringGrid1).empty());

  // The gate alone decides, whatever the grid holds.
  Form().StringGrid1.SetCell(1, 1, "         7");
  Paint();
  EXPECT_EQ(Column(1)[0], "         7");
  EXPECT_TRUE(headless::TakeChangedCells(Form().StringGrid1).empty());
}

TEST_F(FittingTest, OtherCellsDoNothing) {
  const Strings before = Rows();
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 5; ++col) {
      if (col == 1 && row == 0) continue;
      Form().StringGrid1DrawCell(col, row, Form().StringGrid1.CellRect(col, row));
    }
  }
  EXPECT_EQ(Rows(), before);
}

}  // namespace
