// The end of a 32-bit process's address space (2 GB on Windows: a folder of a few million
// entries fills it): the grid can grow no more. Reached for real, with the address space taken
// up first, so it runs in the 32-bit builds only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "resources/texts.h"
#include "tests/form/form_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// Takes all the address space operator new can get, then gives about `left` bytes back: the
// last pieces taken, the smallest. Nothing is touched, so nothing is used but address space.
class AddressSpaceTaken {
 public:
  explicit AddressSpaceTaken(size_t left) {
    taken_.reserve(kMaxPieces);
    for (size_t size = size_t{1} << 28; size >= kSmallest; size /= 2) {
      while (taken_.size() < kMaxPieces) {
        char* piece = new (std::nothrow) char[size];
        if (piece == nullptr) break;
        taken_.push_back({piece, size});
      }
    }
    for (size_t given = 0; given < left && !taken_.empty(); taken_.pop_back()) {
      given += taken_.back().second;
      delete[] taken_.back().first;
    }
  }
  ~AddressSpaceTaken() {
    for (const auto& piece : taken_) delete[] piece.first;
  }
  AddressSpaceTaken(const AddressSpaceTaken&) = delete;
  AddressSpaceTaken& operator=(const AddressSpaceTaken&) = delete;

 private:
  static constexpr size_t kMaxPieces = 1 << 16;
  static constexpr size_t kSmallest = 64 << 10;
  std::vector<std::pair<char*, size_t>> taken_;
};

// Well below what 60,000 rows take (about 150 bytes each on 32 bits), their sort's keys, or
// the rows moved by the sort.
constexpr size_t kLeft = 2 << 20;
constexpr int kEntries = 60000;

// The first ten names have capitals to lower; the rest are lower case already, so that a run
// renames little.
std::string NameOf(int i) {
  char name[32];
  std::snprintf(name, sizeof name, i < 10 ? "FILE%06d.TXT" : "file%06d.txt", i);
  return name;
}

TEST_F(FormTest, WhereMemoryEndsTheListingStopsAtAWholeRowAndTheSortAndTheRunStopCleanly) {
  if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit process does not reach its address space's end";
  const std::string big = "C:\\big\\";
  for (int i = 0; i < kEntries; ++i) Volume().MakeFile(big + NameOf(i), i);
  StartProgram();
  ChooseFolder(big);

  // The first listing, into a grid that never held more than its empty row, ends at its last
  // whole row, as Esc would end it, and says why.
  headless::ReserveChangedCells(Form().StringGrid1, 20 * kEntries);
  {
    const AddressSpaceTaken taken(kLeft);
    ClickNode(0);
  }
  const Strings partial = Rows();
  EXPECT_EQ(Status(), texts::kListOutOfMemory);
  EXPECT_TRUE(headless::Texts(headless::Event::ErrorBox).empty());
  ClickNode(0);
  const Strings whole = Rows();
  ASSERT_EQ(whole.size(), static_cast<size_t>(kEntries));
  ASSERT_LT(partial.size(), whole.size());
  EXPECT_TRUE(std::equal(partial.begin(), partial.end(), whole.begin()))
      << "every row listed is whole and in its place";

  // A sort whose keys do not fit: the error box says so, and the grid is back, its rows as they
  // were.
  headless::ClearLog();
  {
    const AddressSpaceTaken taken(kLeft);
    PressHeader(0);
  }
  EXPECT_EQ(headless::Texts(headless::Event::ErrorBox), Strings{"メモリが不足しています."});
  EXPECT_TRUE(Form().StringGrid1.Visible());
  EXPECT_EQ(Rows(), whole);

  // A run that cannot list the whole folder renames what it listed and stops, and says why;
  // every entry is under its old name or its new one. With the memory back, a run finishes.
  {
    const AddressSpaceTaken taken(kLeft);
    headless::AnswerDialog(toolkit::DialogResult::Yes);
    Form().MnuKestrune.Click();
  }
  EXPECT_EQ(Status(), texts::kRunOutOfMemory);
  Strings names = Volume().NamesIn(big);
  ASSERT_EQ(names.size(), static_cast<size_t>(kEntries));
  std::sort(names.begin(), names.end());
  for (int i = 0; i < kEntries; ++i) {
    const std::string& name = NameOf(i);
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), name) ||
                std::binary_search(names.begin(), names.end(), ExactLowerCase(name)))
        << name;
  }
  headless::AnswerDialog(toolkit::DialogResult::Yes);
  Form().MnuKestrune.Click();
  EXPECT_EQ(Status(), texts::kRunCompleted);
  EXPECT_EQ(Rows().size(), whole.size());
  for (const std::string& name : Volume().NamesIn(big)) EXPECT_EQ(name, ExactLowerCase(name));
}

}  // namespace
