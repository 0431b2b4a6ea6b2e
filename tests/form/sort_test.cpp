// Sorting the listed rows by a pressed column header.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "platform/text.h"
#include "tests/exact_text.h"
#include "tests/form/form_fixture.h"
#include "tests/text_forms.h"

using toolkit::MouseButton;

namespace {

using Strings = std::vector<std::string>;
using Row = std::array<std::string, 5>;

class SortTest : public FormTest {
 protected:
  void ListFiles(const Strings& names) {
    // Sizes 10, 20, 30, ... in listing order, so that moved rows can be told apart.
    uint64_t size = 0;
    for (const std::string& name : names) Volume().MakeFile(Exact("C:\\s\\" + name), size += 10);
    StartProgram();
    ChooseFolder("C:\\s\\");
    ClickNode(0);
  }

  void PressAt(int x, int y, MouseButton button = MouseButton::Left) {
    Form().StringGrid1.MouseDown(button, toolkit::ssNone, x, y);
  }
  // The second press of a double click, which reaches the handler even on a column border.
  void SecondPressAt(int x, int y) {
    Form().StringGrid1.MouseDown(MouseButton::Left, toolkit::ssDouble, x, y);
  }

  void FillGrid(const std::vector<Row>& rows) {
    toolkit::StringGrid& grid = Form().StringGrid1;
    grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
      for (int c = 0; c < 5; ++c) grid.SetCell(c, static_cast<int>(r) + 1, rows[r][c]);
    }
  }

  std::vector<Row> GridRows() {
    std::vector<Row> rows;
    for (int r = 1; r < Form().StringGrid1.RowCount(); ++r) {
      Row row;
      for (int c = 0; c < 5; ++c) row[c] = Form().StringGrid1.Cell(c, r);
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(SortTest, NamesSortWithoutRegardToCaseThenTheOtherWayRound) {
  ListFiles({"b.txt", "A.txt", "c.TXT"});
  PressHeader(0);
  EXPECT_EQ(Column(0), (Strings{"A.txt", "b.txt", "c.TXT"}));
  EXPECT_TRUE(State().SortDescending);
  PressHeader(0);
  EXPECT_EQ(Column(0), (Strings{"c.TXT", "b.txt", "A.txt"}));
  EXPECT_FALSE(State().SortDescending);
  EXPECT_TRUE(Form().StringGrid1.Visible());
  // Whole rows moved: each size still stands beside its name.
  EXPECT_EQ(Column(1), (Strings{"        30", "        10", "        20"}));
}

TEST_F(SortTest, AShorterKeyThatIsAPrefixComesFirst) {
  ListFiles({"ABC", "AB", "ABD", "A"});
  PressHeader(0);
  EXPECT_EQ(Column(0), (Strings{"A", "AB", "ABC", "ABD"}));
}

TEST_F(SortTest, BytesCompareAsUnsignedValues) {
  // 0x82 0xA0 (あ) sorts after every single-byte letter.
  ListFiles({"\x82\xa0.txt", "z.txt", "\x83\x41.txt", "a.txt"});
  PressHeader(0);
  EXPECT_EQ(Column(0), (Strings{"a.txt", "z.txt", "\x82\xa0.txt", "\x83\x41.txt"}));
}

TEST_F(SortTest, EachPressSortsItsOwnColumnAndFlipsOneDirection) {
  Volume().MakeFile("C:\\s\\one.c", 300, {2001, 1, 1, 0, 0, 0});
  Volume().MakeFile("C:\\s\\two.a", 20, {1999, 1, 1, 0, 0, 0});
  Volume().MakeFile("C:\\s\\six.b", 1000, {2005, 1, 1, 0, 0, 0});
  StartProgram();
  ChooseFolder("C:\\s\\");
  ClickNode(0);
  PressHeader(1);  // ascending sizes: right-justified text sorts like the numbers
  EXPECT_EQ(Column(0), (Strings{"two.a", "one.c", "six.b"}));
  PressHeader(3);  // descending dates
  EXPECT_EQ(Column(0), (Strings{"six.b", "one.c", "two.a"}));
  PressHeader(2);  // ascending types
  EXPECT_EQ(Column(0), (Strings{"two.a", "six.b", "one.c"}));
  EXPECT_TRUE(State().SortDescending);
}

TEST_F(SortTest, TheAttributeHeaderListsAgainAndKeepsTheDirection) {
  ListFiles({"b", "c", "a"});
  PressHeader(0);
  ASSERT_EQ(Column(0), (Strings{"a", "b", "c"}));
  const int enumerations = Volume().Enumerations();
  PressHeader(4);
  EXPECT_EQ(Column(0), (Strings{"b", "c", "a"}));
  EXPECT_EQ(Volume().Enumerations(), enumerations + 1);
  EXPECT_TRUE(State().SortDescending);
  EXPECT_EQ(Status(), "3 Files  パス名「C:\\s\\」");
}

TEST_F(SortTest, PressesOutsideAHeaderCellDoNothing) {
  ListFiles({"b", "a"});
  const int rowHeight = Form().StringGrid1.RowHeight(0);
  SecondPressAt(60, rowHeight);          // the first pixel below the header
  SecondPressAt(0, 5);                   // the left boundary
  SecondPressAt(120, 5);                 // the boundary between columns 0 and 1
  SecondPressAt(120 + 80 + 150, 5);      // the right boundary of the last column
  SecondPressAt(120 + 80 + 150 + 1, 5);  // right of it
  EXPECT_EQ(Column(0), (Strings{"b", "a"}));
  EXPECT_FALSE(State().SortDescending);
  SecondPressAt(1, 5);
  EXPECT_EQ(Column(0), (Strings{"a", "b"}));
  SecondPressAt(121, 5);  // the first pixel of column 1: sizes, descending
  EXPECT_EQ(Column(0), (Strings{"a", "b"}));
  EXPECT_FALSE(State().SortDescending);
}

TEST_F(SortTest, NothingListedMeansNothingToSort) {
  Volume().MakeFolder("C:\\s\\empty");
  StartProgram();
  PressHeader(0);  // before any tree
  EXPECT_FALSE(State().SortDescending);
  ChooseFolder("C:\\s\\");
  ClickNode(1);
  PressHeader(0);
  PressHeader(4);
  EXPECT_FALSE(State().SortDescending);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
}

TEST_F(SortTest, AScrolledGridCountsColumnsFromTheFirstOneShown) {
  ListFiles({"x.b", "y.a"});
  Form().StringGrid1.SetLeftCol(2);
  PressAt(10, 5);  // inside column 2, the types
  EXPECT_EQ(Column(0), (Strings{"y.a", "x.b"}));
  PressAt(50 + 10, 5);       // column 3
  PressAt(50 + 50 + 10, 5);  // column 4: listed again
  EXPECT_EQ(Column(0), (Strings{"x.b", "y.a"}));
}

TEST_F(SortTest, AnyButtonSorts) {
  ListFiles({"b", "a"});
  PressAt(10, 5, MouseButton::Right);
  EXPECT_EQ(Column(0), (Strings{"a", "b"}));
}

TEST_F(SortTest, ASingleRowStillFlipsTheDirection) {
  ListFiles({"only"});
  PressHeader(0);
  EXPECT_TRUE(State().SortDescending);
  EXPECT_EQ(Column(0), (Strings{"only"}));
}

// The order users know: a selection sort that keeps the first of equal extremes and swaps rows.
void ReferenceSort(std::vector<Row>& rows, int col, bool descending) {
  auto less = [](const std::string& a, const std::string& b) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      const unsigned char x = a[i];
      const unsigned char y = b[i];
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  };
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    std::string best = UpperCaseText(rows[i][col]);
    size_t bestRow = 0;
    for (size_t j = i + 1; j < rows.size(); ++j) {
      const std::string k = UpperCaseText(rows[j][col]);
      if (descending ? less(best, k) : less(k, best)) {
        bestRow = j;
        best = k;
      }
    }
    if (bestRow > 0) std::swap(rows[i], rows[bestRow]);
  }
}

TEST_F(SortTest, TheFastSortGivesExactlyTheSelectionSortsOrder) {
  ListFiles({"only"});
  std::mt19937 random(1234);
  // Few distinct keys, so that ties are everywhere; case variants are ties too.
  const Strings pieces = {"a", "A", "b", "B", "\x82\xa0", "\x83\x41", "z", ""};
  for (int n : {0, 1, 2, 3, 5, 17, 100, 1000, 3000}) {
    for (bool descending : {false, true}) {
      const int col = static_cast<int>(random() % 4);
      std::vector<Row> rows(n);
      for (int r = 0; r < n; ++r) {
        for (int c = 0; c < 4; ++c) {
          for (int k = random() % 3; k > 0; --k) rows[r][c] += pieces[random() % pieces.size()];
        }
        rows[r][4] = std::to_string(r);  // makes every permutation visible
      }
      // The direction is the one the presses so far left; a press on what the grid holds turns it.
      if (State().SortDescending != descending) PressHeader(0);
      FillGrid(rows);
      PressHeader(col);
      ReferenceSort(rows, col, descending);
      ASSERT_EQ(GridRows(), rows) << "n=" << n << " col=" << col << " descending=" << descending;
      EXPECT_EQ(State().SortDescending, !descending);
    }
  }
}

}  // namespace
