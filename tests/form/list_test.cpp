// Listing a folder of the tree into the grid.
#include <gtest/gtest.h>

#include "resources/texts.h"
#include "tests/exact_text.h"
#include "tests/form/form_fixture.h"

using headless::Event;
using toolkit::DialogResult;

namespace {

using Strings = std::vector<std::string>;

class ListTest : public FormTest {
 protected:
  // Scans folder and clicks its root node.
  void ListRootOf(const std::string& folder) {
    ChooseFolder(folder);
    ClickNode(0);
  }
};

TEST_F(ListTest, EveryKindOfEntryShowsItsFiveCells) {
  const LocalDateTime t{2001, 3, 9, 7, 5, 42};
  Volume().MakeFile("C:\\d\\README.TXT", 1234);
  Volume().MakeFolder("C:\\d\\sub");
  Volume().MakeFolder("C:\\d\\arch", faDirectory | faArchive);
  Volume().MakeFile("C:\\d\\Makefile", 7);
  Volume().MakeFile("C:\\d\\a.b.C", 0);
  Volume().MakeFile("C:\\d\\.profile", 12);
  Volume().MakeFile("C:\\d\\trailing.", 1);
  Volume().MakeFile("C:\\d\\ro.dat", 5, {2010, 12, 31, 23, 59, 58}, faArchive | faReadOnly);
  Volume().MakeFile("C:\\d\\bare.bin", 3, t, 0);
  Volume().MakeFile("C:\\d\\big.iso", 5368709120ull);  // 5 GiB: more than 32 bits hold
  Volume().MakeFile("C:\\d\\old.txt", 1, {1975, 6, 1, 12, 30, 15});  // before the DOS range
  Volume().MakeFile("C:\\d\\late.txt", 1, {2110, 1, 2, 3, 4, 5});    // after it
  Volume().MakeFile("C:\\d\\odd.txt", 1, {2001, 3, 9, 7, 5, 43});    // DOS times keep even seconds
  Volume().MakeFile(Exact("C:\\d\\表示.Txt"), 100);                  // 表 is 0x95 0x5C
  Volume().MakeFile(Exact("C:\\d\\ソフト"), 100);                    // ソ is 0x83 0x5C
  Volume().MakeFile(u8"C:\\d\\CAFÉ〜.txt", 2);  // shown as the system's listings show it
  Volume().MakeFile("C:\\d\\hidden.txt", 1, t, faArchive | faHidden);
  Volume().MakeFile("C:\\d\\system.sys", 1, t, faArchive | faSysFile);
  Volume().MakeFolder("C:\\d\\secret", faDirectory | faHidden);
  Volume().MakeLink("C:\\d\\link", "C:\\d\\sub");
  StartProgram();
  ListRootOf("C:\\d\\");

  const std::string cafe = ShownOf(u8"CAFÉ〜.txt");
  EXPECT_EQ(cafe.substr(0, 4), "CAF?");
  EXPECT_EQ(Rows(), (Strings{
                        "README.TXT|      1234| .TXT|2001/03/09 07:05:42|A ",
                        "sub|<Folder>| |2001/03/09 07:05:42|D ",
                        "arch|<Folder>| |2001/03/09 07:05:42|A D ",
                        "Makefile|         7| |2001/03/09 07:05:42|A ",
                        "a.b.C|         0| .C|2001/03/09 07:05:42|A ",
                        ".profile|        12| .PROFILE|2001/03/09 07:05:42|A ",
                        "trailing.|         1| .|2001/03/09 07:05:42|A ",
                        "ro.dat|         5| .DAT|2010/12/31 23:59:58|A R ",
                        "bare.bin|         3| .BIN|2001/03/09 07:05:42|",
                        "big.iso|5368709120| .ISO|2001/03/09 07:05:42|A ",
                        "old.txt|         1| .TXT|1975/06/01 12:30:15|A ",
                        "late.txt|         1| .TXT|2110/01/02 03:04:05|A ",
                        "odd.txt|         1| .TXT|2001/03/09 07:05:42|A ",
                        "表示.Txt|       100| .TXT|2001/03/09 07:05:42|A ",
                        "ソフト|       100| |2001/03/09 07:05:42|A ",
                        cafe + "|         2| .TXT|2001/03/09 07:05:42|A ",
                        "link|<Folder>| |2001/03/09 07:05:42|D ",
                    }));
  EXPECT_EQ(Status(), "17 Files  パス名「C:\\d\\」");
  EXPECT_TRUE(State().ListReady);
}

TEST_F(ListTest, TheStatusLineSaysWhatIsListedAndThenHowMany) {
  for (int i = 0; i < 11; ++i) Volume().MakeFile("C:\\work\\f" + std::to_string(i) + ".txt");
  Volume().MakeFolder("C:\\work\\sub");
  StartProgram();
  ChooseFolder("C:\\work\\");
  const size_t before = headless::Log().size();
  ClickNode(0);
  Strings story;
  for (size_t i = before; i < headless::Log().size(); ++i) {
    const Event& e = headless::Log()[i];
    story.push_back((e.kind == Event::StatusRefresh ? "refresh " : "status ") + e.text);
  }
  EXPECT_EQ(story, (Strings{"status フォルダ「C:\\work\\」を検索中(ESC:中断)",
                            "refresh フォルダ「C:\\work\\」を検索中(ESC:中断)",
                            "status 12 Files  パス名「C:\\work\\」"}));
  // The same line written out byte by byte: two spaces before the two-byte text.
  EXPECT_EQ(Status(), "12 Files  " + Bytes({0x83, 0x70, 0x83, 0x58, 0x96, 0xbc, 0x81, 0x75}) +
                          "C:\\work\\" + Bytes({0x81, 0x76}));
}

TEST_F(ListTest, DatesUseTheUsersSeparators) {
  Volume().SetSeparators("-", ".");
  Volume().MakeFile("C:\\d\\a.txt", 1, {2024, 11, 5, 9, 8, 6});
  StartProgram();
  ListRootOf("C:\\d\\");
  EXPECT_EQ(Column(3), (Strings{"2024-11-05 09.08.06"}));
}

TEST_F(ListTest, SizesArePaddedToTheColumnWidthAtEightPixelsACharacter) {
  Volume().MakeFile("C:\\d\\small", 7);
  Volume().MakeFile("C:\\d\\large", 12345);
  StartProgram();
  ChooseFolder("C:\\d\\");

  ClickNode(0);  // the default 80 pixels: 10 characters
  EXPECT_EQ(Column(1), (Strings{"         7", "     12345"}));

  Form().StringGrid1.SetColWidth(1, 100);
  ClickNode(0);
  EXPECT_EQ(Column(1), (Strings{"           7", "       12345"}));

  Form().StringGrid1.SetColWidth(1, 24);  // 3 characters
  ClickNode(0);
  EXPECT_EQ(Column(1), (Strings{"  7", "12345"}));

  Form().StringGrid1.SetColWidth(1, 23);  // below 24: 3, not 2
  ClickNode(0);
  EXPECT_EQ(Column(1), (Strings{"  7", "12345"}));

  Form().StringGrid1.SetColWidth(1, 0);
  ClickNode(0);
  EXPECT_EQ(Column(1), (Strings{"  7", "12345"}));
}

TEST_F(ListTest, AListingReplacesTheOneBefore) {
  Volume().MakeFile("C:\\d\\one\\a");
  Volume().MakeFile("C:\\d\\one\\b");
  Volume().MakeFile("C:\\d\\one\\c");
  Volume().MakeFile("C:\\d\\two\\z");
  StartProgram();
  ChooseFolder("C:\\d\\");
  ClickNode(1);
  EXPECT_EQ(Column(0), (Strings{"a", "b", "c"}));
  ClickNode(2);
  EXPECT_EQ(Column(0), (Strings{"z"}));
  EXPECT_EQ(Form().StringGrid1.RowCount(), 2);
  EXPECT_EQ(Status(), "1 Files  パス名「C:\\d\\two\\」");
}

TEST_F(ListTest, AnEmptyOrUnreadableFolderLeavesOneEmptyRow) {
  Volume().MakeFolder("C:\\d\\empty");
  Volume().MakeFile("C:\\d\\locked\\x.txt");
  Volume().MakeFile("C:\\d\\only\\h.txt", 1, {2001, 3, 9, 7, 5, 42}, faHidden | faArchive);
  StartProgram();
  ChooseFolder("C:\\d\\");
  Volume().SetUnreadable("C:\\d\\locked");

  ClickNode(1);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_FALSE(State().ListReady);
  EXPECT_EQ(Status(), "0 Files  パス名「C:\\d\\empty\\」");

  ClickNode(2);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_FALSE(State().ListReady);
  EXPECT_EQ(Status(), "0 Files  パス名「C:\\d\\locked\\」");

  ClickNode(3);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_EQ(Status(), "0 Files  パス名「C:\\d\\only\\」");
}

// The listing polls Esc before every entry, "." and ".." included.
TEST_F(ListTest, EscKeepsTheRowsListedSoFar) {
  for (const char* name : {"f1", "f2", "f3", "f4", "f5"})
    Volume().MakeFile("C:\\d\\x\\" + std::string(name));
  StartProgram();
  ChooseFolder("C:\\d\\");
  const int base = Volume().EscPolls();
  Volume().EscDownAtPolls(base + 5, 1);  // ".", "..", f1, f2, then f3
  ClickNode(1);
  EXPECT_EQ(Column(0), (Strings{"f1", "f2"}));
  EXPECT_EQ(Volume().EscPolls(), base + 5);
  EXPECT_EQ(Status(), "検索を中断しました。");
  EXPECT_TRUE(State().ListReady);

  Volume().EscDownAtPolls(base + 6, 1);  // the very first poll of the next listing
  ClickNode(1);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_FALSE(State().ListReady);
  EXPECT_EQ(Status(), "検索を中断しました。");
}

TEST_F(ListTest, ClickingWithoutATreeIsRefused) {
  StartProgram();
  const size_t before = headless::Log().size();
  headless::AnswerDialog(DialogResult::Ok);
  Form().TreeView1.Click();
  ASSERT_EQ(headless::Log().size(), before + 3);
  const Event& beep = headless::Log()[before];
  const Event& dialog = headless::Log()[before + 1];
  const Event& status = headless::Log()[before + 2];
  EXPECT_EQ(beep.kind, Event::Beep);
  EXPECT_EQ(dialog.kind, Event::Dialog);
  EXPECT_EQ(dialog.dialogKind, toolkit::DialogKind::Error);
  EXPECT_EQ(dialog.text, "フォルダツリーが表示されていません。");
  EXPECT_EQ(status.kind, Event::Status);
  EXPECT_EQ(status.text, "検索フォルダを指定して下さい。");
  EXPECT_EQ(Volume().Enumerations(), 0);
}

TEST_F(ListTest, AClickWithNothingSelectedListsNothing) {
  Volume().MakeFile("C:\\d\\a.txt");
  StartProgram();
  ChooseFolder("C:\\d\\");
  const int enumerations = Volume().Enumerations();
  const size_t before = headless::Log().size();
  Form().TreeView1.Click();
  EXPECT_EQ(Volume().Enumerations(), enumerations);
  EXPECT_EQ(headless::Log().size(), before);
  EXPECT_FALSE(State().ListReady);
}

TEST_F(ListTest, AClickListsTheSelectedNodeWhereverItLands) {
  Volume().MakeFile("C:\\d\\sub\\deep\\in.txt");
  StartProgram();
  ChooseFolder("C:\\d\\");
  Form().TreeView1.Select(Form().TreeView1.NodeAt(2));
  Form().TreeView1.Click();  // e.g. on an expand button: the selection is what counts
  EXPECT_EQ(Column(0), (Strings{"in.txt"}));
  EXPECT_EQ(Status(), "1 Files  パス名「C:\\d\\sub\\deep\\」");
}

}  // namespace
