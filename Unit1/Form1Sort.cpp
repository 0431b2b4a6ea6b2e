// Header-click sorting. The order users have always seen is that of a selection sort over the
// upper-cased cell texts (ties stay put, but swaps carry rows past their equals); this file
// produces exactly that order in O(n log n), so large listings sort at once.
#include <algorithm>
#include <cstdint>
#include <new>
#include <numeric>
#include <string_view>
#include <vector>

#include "Unit1/Form1.h"
#include "platform/text.h"

namespace {

// The row of the first extreme rank among positions still in play: the smallest rank (or the
// largest, descending), the leftmost position among equals, as the selection sort's strict
// comparison picks it.
class ExtremeFinder {
 public:
  ExtremeFinder(const std::vector<int>& ranks, bool descending)
      : ranks_(ranks), descending_(descending) {
    size_ = 1;
    while (size_ < static_cast<int>(ranks_.size())) size_ *= 2;
    tree_.assign(2 * size_, kNone);
    for (int p = 0; p < static_cast<int>(ranks_.size()); ++p) tree_[size_ + p] = p;
    for (int k = size_ - 1; k >= 1; --k) tree_[k] = Better(tree_[2 * k], tree_[2 * k + 1]);
  }

  // Takes a position out of play.
  void Remove(int p) {
    tree_[size_ + p] = kNone;
    Recompute(p);
  }
  // The rank at a position changed.
  void Update(int p) { Recompute(p); }
  int Best() const { return tree_[1]; }

 private:
  static constexpr int kNone = -1;

  // a is left of b wherever they meet, so equal ranks keep a.
  int Better(int a, int b) const {
    if (a == kNone) return b;
    if (b == kNone) return a;
    const bool bWins = descending_ ? ranks_[b] > ranks_[a] : ranks_[b] < ranks_[a];
    return bWins ? b : a;
  }
  void Recompute(int p) {
    for (int k = (size_ + p) / 2; k >= 1; k /= 2) tree_[k] = Better(tree_[2 * k], tree_[2 * k + 1]);
  }

  const std::vector<int>& ranks_;
  bool descending_;
  int size_;
  std::vector<int> tree_;
};

// Dense ranks of the keys: equal keys share a rank, and rank order is the keys' byte order
// (string_view compares bytes as unsigned, a proper prefix first).
std::vector<int> RanksOf(const std::vector<std::string_view>& keys) {
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  std::vector<int> ranks(keys.size());
  int rank = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && keys[order[i]] != keys[order[i - 1]]) ++rank;
    ranks[order[i]] = rank;
  }
  return ranks;
}

}  // namespace

void TForm1::StringGrid1MouseDown(toolkit::MouseButton /*button*/, unsigned /*shift*/, int x,
                                  int y) {
  if (!ListReady) return;
  const int clicked = StringGrid1.HeaderColumnAt(x, y);
  if (clicked < 0) return;

  if (clicked == 4) {
    // Listing again restores the file system's order.
    ListSelectedFolder();
    return;
  }
  StringGrid1.SetVisible(false);
  try {
    SortRowsBy(clicked);
  } catch (const std::bad_alloc&) {
    // The keys of a few million rows may not fit beside them: the rows stay as they were, and
    // the grid does not stay hidden behind the error box.
    StringGrid1.SetVisible(true);
    throw;
  }
  StringGrid1.SetVisible(true);
  SortDescending = !SortDescending;
}

void TForm1::SortRowsBy(int col) {
  const int n = StringGrid1.RowCount() - 1;  // data rows 1..n
  if (n < 2) return;
  // Every key in one block: a string per row would cost an allocation each.
  std::string text;
  std::vector<size_t> ends(n);
  for (int r = 1; r <= n; ++r) {
    const std::string& cell = StringGrid1.Cell(col, r);
    AppendUpperCaseText(cell.data(), cell.size(), text);
    ends[r - 1] = text.size();
  }
  std::vector<std::string_view> keys(n);
  for (int p = 0; p < n; ++p) {
    const size_t begin = p == 0 ? 0 : ends[p - 1];
    keys[p] = std::string_view(text.data() + begin, ends[p] - begin);
  }
  // ranks[p] follows the row now at position p (row p + 1) through the swaps.
  std::vector<int> ranks = RanksOf(keys);

  // The swaps are made on row numbers, and the rows moved once at the end: swapping the cells
  // themselves would reach all over a large grid's memory once per row.
  std::vector<int> rowAt(n);
  std::iota(rowAt.begin(), rowAt.end(), 1);
  ExtremeFinder finder(ranks, SortDescending);
  for (int i = 0; i < n - 1; ++i) {
    finder.Remove(i);
    const int best = finder.Best();
    const bool better = SortDescending ? ranks[best] > ranks[i] : ranks[best] < ranks[i];
    if (!better) continue;
    std::swap(rowAt[i], rowAt[best]);
    std::swap(ranks[i], ranks[best]);
    finder.Update(best);
  }
  StringGrid1.PermuteRows(1, rowAt);
}
